// SPDX-License-Identifier: MIT
#include "toolkit/NSStringExtensions.h"

#include <gtest/gtest.h>

using NSStringExtensions::extractBetweenPattern;
using NSStringExtensions::reverseExtractBetweenPattern;

TEST(NSStringExtensions, ForwardTakesTheFirstPairAndReverseTheNearest) {
    EXPECT_EQ(extractBetweenPattern("(1(2)3)", "(", ")"), "1(2");
    EXPECT_EQ(reverseExtractBetweenPattern("(1(2)3)", "(", ")"), "2");
    EXPECT_EQ(extractBetweenPattern("a<b>x</b>y<b>z</b>", "<B>", "</B>"), "x");
    EXPECT_EQ(reverseExtractBetweenPattern("a<b>x</b>y<b>z</b>", "<B>", "</B>"), "x");
}

TEST(NSStringExtensions, MissingOrMisorderedPatternsGiveNothing) {
    EXPECT_EQ(extractBetweenPattern("", "(", ")"), std::nullopt);
    EXPECT_EQ(extractBetweenPattern("no brackets", "(", ")"), std::nullopt);
    EXPECT_EQ(extractBetweenPattern("(open only", "(", ")"), std::nullopt);
    EXPECT_EQ(extractBetweenPattern(")(", "(", ")"), std::nullopt);
    EXPECT_EQ(reverseExtractBetweenPattern(")(", "(", ")"), std::nullopt);
    EXPECT_EQ(reverseExtractBetweenPattern("close only)", "(", ")"), std::nullopt);
    // Touching patterns enclose the empty text, which is not "nothing".
    EXPECT_EQ(extractBetweenPattern("x()y", "(", ")"), "");
    EXPECT_EQ(reverseExtractBetweenPattern("x()y", "(", ")"), "");
}

TEST(NSStringExtensions, ClosingMayNotOverlapTheOpening) {
    // "aba": the closing "ab" starts inside the opening "ba" only; the next one is taken.
    EXPECT_EQ(extractBetweenPattern("xaba-ab", "aba", "ab"), "-");
    EXPECT_EQ(reverseExtractBetweenPattern("abab", "ab", "ba"), std::nullopt);
}

TEST(NSStringExtensions, IgnoresCaseBeyondASCIIAndKeepsTheTextAsWritten) {
    EXPECT_EQ(extractBetweenPattern("<ÉTÉ>Été</été>", "<été>", "</ÉTÉ>"), "Été");
    // KELVIN SIGN (three bytes) matches "k": offsets stay right around it.
    EXPECT_EQ(extractBetweenPattern("\xE2\x84\xAA[mid]\xE2\x84\xAA", "k[", "]k"), "mid");
    EXPECT_EQ(reverseExtractBetweenPattern("[\xC3\xA9]x\xC3\x89!", "[", "]X\xC3\xA9!"), "\xC3\xA9");
}
