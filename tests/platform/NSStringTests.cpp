// SPDX-License-Identifier: MIT
#include "platform/Foundation/NSString.h"

#include <gtest/gtest.h>

namespace {
constexpr auto kNoCase = NSCaseInsensitiveSearch;
constexpr auto kNoCaseBackwards = NSCaseInsensitiveSearch | NSBackwardsSearch;
const NSRange kNotFound{NSNotFound, 0};
} // namespace

TEST(NSStringDecoding, UTF8IsStrictAndMacOSRomanTakesAnyByte) {
    EXPECT_EQ(NSString::initWithData("caf\xC3\xA9", NSUTF8StringEncoding), "café");
    for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF"})
        EXPECT_EQ(NSString::initWithData(bad, NSUTF8StringEncoding), std::nullopt);
    EXPECT_EQ(NSString::initWithData("caf\x8E", NSMacOSRomanStringEncoding), "café");
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.push_back(static_cast<char>(b));
    EXPECT_TRUE(NSString::initWithData(everyByte, NSMacOSRomanStringEncoding));
    EXPECT_EQ(NSString::initWithData("x", 12345), std::nullopt);
}

TEST(NSStringSearch, FindsFirstAndLastOccurrenceWithoutRegardToCase) {
    const std::string text = "Euro, EURO, euro";
    EXPECT_EQ(NSString::rangeOfString(text, "eUrO", kNoCase), NSMakeRange(0, 4));
    EXPECT_EQ(NSString::rangeOfString(text, "eUrO", kNoCaseBackwards), NSMakeRange(12, 4));
    EXPECT_EQ(NSString::rangeOfString(text, "euro", 0), NSMakeRange(12, 4));
    EXPECT_EQ(NSString::rangeOfString(text, "EURO", NSBackwardsSearch), NSMakeRange(6, 4));
    EXPECT_EQ(NSString::rangeOfString(text, "yen", kNoCase), kNotFound);
    EXPECT_EQ(NSString::rangeOfString(text, "", kNoCase), kNotFound);
    EXPECT_EQ(NSString::rangeOfString("", "a", kNoCase), kNotFound);
}

TEST(NSStringSearch, StaysWithinTheRange) {
    const std::string text = "ab ab ab";
    EXPECT_EQ(NSString::rangeOfString(text, "AB", kNoCase, NSMakeRange(1, 7)), NSMakeRange(3, 2));
    // Backwards: the occurrence must lie wholly in the range.
    EXPECT_EQ(NSString::rangeOfString(text, "AB", kNoCaseBackwards, NSMakeRange(0, 7)),
              NSMakeRange(3, 2));
    EXPECT_EQ(NSString::rangeOfString(text, "ab", kNoCase, NSMakeRange(7, 1)), kNotFound);
    // A range past the end is cut to the text, not read beyond it.
    EXPECT_EQ(NSString::rangeOfString(text, "ab", kNoCase, NSMakeRange(6, 100)), NSMakeRange(6, 2));
    EXPECT_EQ(NSString::rangeOfString(text, "ab", kNoCase, NSMakeRange(100, 1)), kNotFound);
}

TEST(NSStringSearch, FoldsEachCodePointAndReportsByteOffsetsOfTheOriginal) {
    // Greek sigma in its three forms folds to one; ÉCU in either case.
    EXPECT_EQ(NSString::rangeOfString("ΟΔΟΣ", "οδος", kNoCase), NSMakeRange(0, 8));
    EXPECT_EQ(NSString::rangeOfString("ὁδός", "ΌΣ", kNoCase), NSMakeRange(5, 4));
    EXPECT_EQ(NSString::rangeOfString("x écu", "ÉCU", kNoCase), NSMakeRange(2, 4));
    // KELVIN SIGN is three bytes but folds to "k"; LONG S is two bytes and folds to "s".
    const std::string kelvin = "\xE2\x84\xAA";
    EXPECT_EQ(NSString::rangeOfString("a" + kelvin + "ina", "KINA", kNoCase), NSMakeRange(1, 6));
    EXPECT_EQ(NSString::rangeOfString(kelvin + "\xC5\xBF" + "x", "X", kNoCase), NSMakeRange(5, 1));
    EXPECT_EQ(NSString::rangeOfString(kelvin + "k" + kelvin, "k", kNoCaseBackwards),
              NSMakeRange(4, 3));
    // Full folding would match "ß" with "ss"; simple folding does not.
    EXPECT_EQ(NSString::rangeOfString("Straße", "STRASSE", kNoCase), kNotFound);
}

TEST(NSStringSearch, InvalidBytesAreSearchedAsThemselves) {
    const std::string text("\xFF\xC3"
                           "A\0a",
                           5);
    EXPECT_EQ(NSString::rangeOfString(text, "a", kNoCase), NSMakeRange(2, 1));
    EXPECT_EQ(NSString::rangeOfString(text, std::string("\0A", 2), kNoCase), NSMakeRange(3, 2));
}
