// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CoreFoundation.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(CFString, ConstantsAreSharedAndNeverFreed) {
    CFStringRef a = CFSTR("Preferences Changed");
    CFStringRef b = CFSTR("Preferences Changed");
    EXPECT_EQ(a, b);
    CFRelease(a); // a constant ignores releases
    CFRelease(a);
    EXPECT_EQ(CFStringGetUTF8(b), "Preferences Changed");
    EXPECT_EQ(CFGetTypeID(a), CFStringGetTypeID());
}

TEST(CFString, CountsReferencesAndComparesByText) {
    CFStringRef s = CFStringCreateWithCString(kCFAllocatorDefault, "Euro", kCFStringEncodingUTF8);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(CFGetRetainCount(s), 1);
    CFStringRef copy = CFStringCreateCopy(kCFAllocatorDefault, s);
    EXPECT_EQ(CFGetRetainCount(s), 2);
    EXPECT_TRUE(CFEqual(s, CFSTR("Euro")));
    EXPECT_EQ(CFHash(s), CFHash(CFSTR("Euro")));
    EXPECT_FALSE(CFEqual(s, CFSTR("euro")));
    CFRelease(copy);
    CFRelease(s);
}

TEST(CFString, RejectsBytesThatAreNotValidUTF8) {
    const char* bad[] = {"\xff", "abc\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80"};
    for (const char* b : bad)
        EXPECT_EQ(CFStringCreateWithCString(kCFAllocatorDefault, b, kCFStringEncodingUTF8), nullptr)
            << "bytes: " << b;
    EXPECT_EQ(CFStringCreateWithCString(kCFAllocatorDefault, nullptr, kCFStringEncodingUTF8),
              nullptr);
    CFRef<CFStringRef> empty(
        CFStringCreateWithCString(kCFAllocatorDefault, "", kCFStringEncodingUTF8));
    ASSERT_TRUE(empty);
    EXPECT_EQ(CFStringGetLength(empty.get()), 0);
}

TEST(CFString, ConvertsMacRomanBothWays) {
    // 0x8E is e-acute and 0xA5 the bullet in Mac OS Roman.
    CFRef<CFStringRef> s(
        CFStringCreateWithCString(kCFAllocatorDefault, "caf\x8e \xa5", kCFStringEncodingMacRoman));
    ASSERT_TRUE(s);
    EXPECT_EQ(CFStringGetUTF8(s.get()), "caf\xc3\xa9 \xe2\x80\xa2");
    char buffer[16];
    ASSERT_TRUE(CFStringGetCString(s.get(), buffer, sizeof buffer, kCFStringEncodingMacRoman));
    EXPECT_STREQ(buffer, "caf\x8e \xa5");
}

TEST(CFString, GetCStringNeverOverrunsAndFailsCleanly) {
    CFRef<CFStringRef> s(
        CFStringCreateWithCString(kCFAllocatorDefault, "abcdef", kCFStringEncodingUTF8));
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_FALSE(CFStringGetCString(s.get(), buffer, 6,
                                    kCFStringEncodingMacRoman)); // no room for the terminator
    EXPECT_EQ(buffer[6], '#');
    EXPECT_STREQ(buffer, "");
    EXPECT_FALSE(CFStringGetCString(s.get(), buffer, 6, kCFStringEncodingUTF8));
    EXPECT_EQ(buffer[6], '#');
    EXPECT_TRUE(CFStringGetCString(s.get(), buffer, 7, kCFStringEncodingUTF8));
    EXPECT_STREQ(buffer, "abcdef");

    // The euro sign has a Mac OS Roman byte; a Cyrillic letter has none.
    CFRef<CFStringRef> cyrillic(CFStringCreateWithUTF8("\xd0\x96"));
    EXPECT_FALSE(
        CFStringGetCString(cyrillic.get(), buffer, sizeof buffer, kCFStringEncodingMacRoman));
    EXPECT_STREQ(buffer, "");
}
