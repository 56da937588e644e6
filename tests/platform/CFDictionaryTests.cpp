// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CoreFoundation.h"

#include <gtest/gtest.h>

namespace {

CFRef<CFStringRef> text(const char* utf8) {
    return CFRef<CFStringRef>(CFStringCreateWithUTF8(utf8));
}

CFRef<CFMutableDictionaryRef> typeDictionary() {
    return CFRef<CFMutableDictionaryRef>(CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
}

} // namespace

TEST(CFDictionary, MatchesKeysByTextAndHoldsWhatItStores) {
    CFRef<CFStringRef> key = text("EUR");
    CFRef<CFStringRef> sameText = text("EUR");
    CFRef<CFStringRef> euro = text("Euro");
    CFRef<CFStringRef> other = text("Euro (new)");
    {
        CFRef<CFMutableDictionaryRef> dictionary = typeDictionary();
        ASSERT_TRUE(dictionary);
        EXPECT_EQ(CFGetTypeID(dictionary.get()), CFDictionaryGetTypeID());
        EXPECT_EQ(CFDictionaryGetValue(dictionary.get(), key.get()), nullptr);

        CFDictionarySetValue(dictionary.get(), key.get(), euro.get());
        EXPECT_EQ(CFGetRetainCount(key.get()), 2);
        EXPECT_EQ(CFGetRetainCount(euro.get()), 2);
        EXPECT_EQ(CFDictionaryGetValue(dictionary.get(), sameText.get()), euro.get());
        EXPECT_EQ(CFDictionaryGetValue(dictionary.get(), CFSTR("EUR")), euro.get());
        EXPECT_EQ(CFDictionaryGetValue(dictionary.get(), CFSTR("USD")), nullptr);

        // An equal key replaces the value but keeps the key first stored.
        CFDictionarySetValue(dictionary.get(), sameText.get(), other.get());
        EXPECT_EQ(CFDictionaryGetCount(dictionary.get()), 1);
        EXPECT_EQ(CFDictionaryGetValue(dictionary.get(), key.get()), other.get());
        EXPECT_EQ(CFGetRetainCount(euro.get()), 1);
        EXPECT_EQ(CFGetRetainCount(sameText.get()), 1);
        EXPECT_EQ(CFGetRetainCount(key.get()), 2);

        // Storing the value already held must not free it on the way.
        CFDictionarySetValue(dictionary.get(), key.get(), other.get());
        EXPECT_EQ(CFGetRetainCount(other.get()), 2);
        EXPECT_EQ(CFStringGetUTF8(
                      static_cast<CFStringRef>(CFDictionaryGetValue(dictionary.get(), key.get()))),
                  "Euro (new)");

        CFDictionarySetValue(dictionary.get(), nullptr, euro.get());
        CFDictionarySetValue(dictionary.get(), CFSTR("USD"), nullptr);
        EXPECT_EQ(CFDictionaryGetCount(dictionary.get()), 1);
    }
    // The dictionary gave back every reference it took.
    EXPECT_EQ(CFGetRetainCount(key.get()), 1);
    EXPECT_EQ(CFGetRetainCount(other.get()), 1);
}

TEST(CFDictionary, WithoutCallBacksHoldsPlainPointers) {
    CFRef<CFMutableDictionaryRef> dictionary(
        CFDictionaryCreateMutable(kCFAllocatorDefault, 0, nullptr, nullptr));
    ASSERT_TRUE(dictionary);
    CFRef<CFStringRef> a = text("same");
    CFRef<CFStringRef> b = text("same");
    int one = 1;
    CFDictionarySetValue(dictionary.get(), a.get(), &one);
    EXPECT_EQ(CFGetRetainCount(a.get()), 1);
    EXPECT_EQ(CFDictionaryGetValue(dictionary.get(), a.get()), &one);
    EXPECT_EQ(CFDictionaryGetValue(dictionary.get(), b.get()), nullptr);

    EXPECT_EQ(CFDictionaryCreateMutable(kCFAllocatorDefault, -1, nullptr, nullptr), nullptr);
    EXPECT_EQ(CFDictionaryGetValue(nullptr, a.get()), nullptr);
    EXPECT_EQ(CFDictionaryGetCount(nullptr), 0);
}
