// SPDX-License-Identifier: MIT
#include "toolkit/CString256.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace {

using Matcher = void (CString256::*)(const CString256&, float*) const;

float score(Matcher matcher, const char* subject, const char* other) {
    float result = -1.0f;
    (CString256(subject).*matcher)(CString256(other), &result);
    return result;
}

float wildcard(bool ignoreCase, const char* subject, CList<CString256>& pieces) {
    float result = -1.0f;
    if (ignoreCase)
        CString256(subject).match_wildcard_nocase(pieces, &result);
    else
        CString256(subject).match_wildcard_case(pieces, &result);
    return result;
}

void fill(CList<CString256>& list, std::initializer_list<const char*> texts) {
    list.clear();
    for (const char* text : texts) {
        CString256 s(text);
        list.append(s);
    }
}

} // namespace

TEST(MatchExact, ScoresOneOnlyForEqualNonEmptyTexts) {
    EXPECT_EQ(score(&CString256::match_case_exact, "abc", "abc"), 1.0f);
    EXPECT_EQ(score(&CString256::match_case_exact, "abc", "ABC"), 0.0f);
    EXPECT_EQ(score(&CString256::match_nocase_exact, "abc", "ABC"), 1.0f);
    EXPECT_EQ(score(&CString256::match_case_exact, "abc", "ab"), 0.0f);
    EXPECT_EQ(score(&CString256::match_case_exact, "ab", "abc"), 0.0f);
    EXPECT_EQ(score(&CString256::match_case_exact, "", ""), 0.0f);
    EXPECT_EQ(score(&CString256::match_nocase_exact, "", ""), 0.0f);
}

TEST(MatchPartial, ScoresOneWhenTheOtherOccursInTheSubject) {
    EXPECT_EQ(score(&CString256::match_case_partial, "hello", "ell"), 1.0f);
    EXPECT_EQ(score(&CString256::match_case_partial, "hello", "LL"), 0.0f);
    EXPECT_EQ(score(&CString256::match_nocase_partial, "hello", "LL"), 1.0f);
    EXPECT_EQ(score(&CString256::match_case_partial, "hello", "lo"), 1.0f);
    EXPECT_EQ(score(&CString256::match_case_partial, "hello", "lol"), 0.0f);
    EXPECT_EQ(score(&CString256::match_case_partial, "hello", ""), 0.0f);
    EXPECT_EQ(score(&CString256::match_case_partial, "", "a"), 0.0f);
    EXPECT_EQ(score(&CString256::match_case_partial, "hell", "hello"), 0.0f);
}

TEST(MatchApproximate, CountsGreedilyInOrder) {
    EXPECT_EQ(score(&CString256::match_case_approximate, "same", "same"), 1.0f);
    EXPECT_EQ(score(&CString256::match_case_approximate, "abc", "axc"), 2.0f / 3.0f);
    EXPECT_EQ(score(&CString256::match_case_approximate, "abc", "cab"), 1.0f / 3.0f);
    EXPECT_EQ(score(&CString256::match_case_approximate, "cab", "abc"), 2.0f / 3.0f);
    EXPECT_EQ(score(&CString256::match_case_approximate, "abcdef", "ace"), 2.0f / 3.0f);
    EXPECT_EQ(score(&CString256::match_case_approximate, "abc", ""), 0.0f);
    EXPECT_EQ(score(&CString256::match_case_approximate, "", "abc"), 0.0f);
    EXPECT_EQ(score(&CString256::match_nocase_approximate, "ABC", "abc"), 1.0f);
    EXPECT_EQ(score(&CString256::match_case_approximate, "ABC", "abc"), 0.0f);
}

TEST(MatchApproximate, ScoresTwoEmptyTextsAsZeroNotNaN) {
    const float caseScore = score(&CString256::match_case_approximate, "", "");
    const float nocaseScore = score(&CString256::match_nocase_approximate, "", "");
    EXPECT_FALSE(std::isnan(caseScore));
    EXPECT_EQ(caseScore, 0.0f);
    EXPECT_EQ(nocaseScore, 0.0f);
}

TEST(MatchNocase, NeverFoldsBytesAbove0x7F) {
    // 0xC0 and 0xE0 are upper and lower A grave in Latin-1; the matchers keep them apart.
    EXPECT_EQ(score(&CString256::match_nocase_exact, "\xC0", "\xE0"), 0.0f);
    EXPECT_EQ(score(&CString256::match_nocase_partial, "x\xC0y", "\xE0"), 0.0f);
    EXPECT_EQ(score(&CString256::match_nocase_approximate, "\xC0", "\xE0"), 0.0f);
    EXPECT_EQ(score(&CString256::match_nocase_exact, "\xC9t\xC9", "\xC9T\xC9"), 1.0f);
}

TEST(MatchWildcard, FindsThePiecesInOrderWithoutOverlap) {
    CList<CString256> pieces;
    fill(pieces, {"b", "e"});
    EXPECT_EQ(wildcard(false, "abcdef", pieces), 1.0f);
    EXPECT_EQ(pieces.cursor, nullptr);
    fill(pieces, {"e", "b"});
    EXPECT_EQ(wildcard(false, "abcdef", pieces), 0.0f);
    fill(pieces, {"ab", "ba"});
    EXPECT_EQ(wildcard(false, "aba", pieces), 0.0f);
    fill(pieces, {"B", "E"});
    EXPECT_EQ(wildcard(false, "abcdef", pieces), 0.0f);
    EXPECT_EQ(wildcard(true, "abcdef", pieces), 1.0f);
    fill(pieces, {"", "a", ""});
    EXPECT_EQ(wildcard(false, "a", pieces), 1.0f);
}

TEST(MatchWildcard, AnEmptyListMatchesEverySubject) {
    CList<CString256> pieces;
    EXPECT_EQ(wildcard(false, "anything", pieces), 1.0f);
    EXPECT_EQ(wildcard(false, "", pieces), 1.0f);
    EXPECT_EQ(wildcard(true, "", pieces), 1.0f);
    fill(pieces, {"x"});
    EXPECT_EQ(wildcard(false, "", pieces), 0.0f);
}

TEST(MatchWildcard, LeavesTheCursorPastTheMissingPiece) {
    CList<CString256> pieces;
    fill(pieces, {"a", "missing", "c"});
    EXPECT_EQ(wildcard(true, "abc", pieces), 0.0f);
    EXPECT_EQ(pieces.cursor, pieces.tail);
    fill(pieces, {"a", "b", "missing"});
    EXPECT_EQ(wildcard(false, "abc", pieces), 0.0f);
    EXPECT_EQ(pieces.cursor, nullptr);
}

TEST(Strstr, FindsTheFirstOccurrenceIgnoringCase) {
    const char* hello = "Hello";
    EXPECT_EQ(STRSTR(hello, "LL"), hello + 2);
    EXPECT_EQ(STRSTR(hello, ""), hello);
    const char* empty = "";
    EXPECT_EQ(STRSTR(empty, ""), empty);
    EXPECT_EQ(STRSTR("", "a"), nullptr);
    EXPECT_EQ(STRSTR(hello, "hellos"), nullptr);
    EXPECT_EQ(STRSTR(hello, "xyz"), nullptr);
    const char* again = "aaAB";
    EXPECT_EQ(STRSTR(again, "ab"), again + 2); // after two false starts
    const char* tail = "xyzABC";
    EXPECT_EQ(STRSTR(tail, "abc"), tail + 3);
    const char* high = "\xE9\xC9";
    EXPECT_EQ(STRSTR(high, "\xC9"), high + 1);
}

TEST(Strncmp, ComparesFoldedButAnswersWithTheStoredBytes) {
    EXPECT_EQ(STRNCMP("a", "B", 1), 31);
    EXPECT_EQ(STRNCMP("Apple", "APRICOT", 2), 0);
    EXPECT_EQ(STRNCMP("Apple", "APRICOT", 3), 30);
    EXPECT_EQ(STRNCMP(nullptr, nullptr, 0), 0); // a count of 0 reads nothing
    EXPECT_EQ(STRNCMP("same", "SAME", 10), 0);
    EXPECT_EQ(STRNCMP("abc", "ABD", -1), 'c' - 'D');
    EXPECT_EQ(STRNCMP("abc", "ABC", -1), 0);
    EXPECT_EQ(STRNCMP("ab", "abc", 3), -'c');
    EXPECT_GT(STRNCMP("\xFF", "a", 1), 0); // bytes are unsigned: 0xFF sorts last
}

TEST(Strstr, FollowsAChangeOfTheThreadsLocale) {
    const char* text = "Hello World";
    EXPECT_EQ(STRSTR(text, "WORLD"), text + 6);
    locale_t utf8 = newlocale(LC_ALL_MASK, "C.UTF-8", static_cast<locale_t>(0));
    ASSERT_NE(utf8, static_cast<locale_t>(0));
    const locale_t previous = uselocale(utf8);
    EXPECT_EQ(STRSTR(text, "WORLD"), text + 6);
    EXPECT_EQ(STRSTR(text, "\xC9"), nullptr);
    EXPECT_EQ(STRNCMP("hello", "HELLO", 5), 0);
    uselocale(previous);
    freelocale(utf8);
    EXPECT_EQ(STRSTR(text, "o w"), text + 4);
}

TEST(PrefixSuffix, ChoosesTheComparisonByTheFlag) {
    CString256 report("report.TXT");
    EXPECT_TRUE(report.endsWith(".txt", 1));
    EXPECT_TRUE(report.endsWith(".txt", 2));
    EXPECT_FALSE(report.endsWith(".txt", 0));
    EXPECT_TRUE(report.endsWith(".TXT"));
    EXPECT_TRUE(report.endsWith_nocase(".Txt"));
    EXPECT_TRUE(report.beginsWith("rep"));
    EXPECT_FALSE(report.beginsWith("REP"));
    EXPECT_TRUE(report.beginsWith_nocase("REP"));

    CString256 prefix("RePoRt");
    EXPECT_FALSE(report.beginsWith(&prefix, 0));
    EXPECT_TRUE(report.beginsWith(&prefix, 1));
    EXPECT_TRUE(report.beginsWith_nocase(prefix));
    CString256 suffix("T.txt");
    EXPECT_TRUE(report.endsWith(&suffix, 1));
    EXPECT_TRUE(report.endsWith_nocase(suffix));
}

TEST(PrefixSuffix, EmptyIsAlwaysThereAndLongerNever) {
    CString256 s("abc");
    EXPECT_TRUE(s.beginsWith(""));
    EXPECT_TRUE(s.endsWith(""));
    EXPECT_TRUE(CString256().endsWith_nocase(""));
    EXPECT_FALSE(s.endsWith("xabc", 1));
    EXPECT_FALSE(s.beginsWith("abcd", 1));
    EXPECT_FALSE(CString256().endsWith("a"));
}

TEST(Adapters, CopyTheOtherAtMost255Characters) {
    const std::string long300(300, 'q');
    CString256 subject(long300.c_str());
    float result = -1.0f;
    matcher_case_exact_256(&subject, const_cast<char*>(long300.c_str()), &result);
    EXPECT_EQ(result, 1.0f);
}

TEST(Adapters, MatchGivesWhatTheMatcherGivesDirectly) {
    CString256 subject("Hello World");
    CString256 other("LO w");
    float direct = -1.0f;
    float viaMatch = -1.0f;
    subject.match_nocase_partial(other, &direct);
    subject.match(matcher_nocase_partial_256, &other, &viaMatch);
    EXPECT_EQ(viaMatch, direct);
    EXPECT_EQ(viaMatch, 1.0f);

    const struct {
        void (*adapter)(void*, void*, float*);
        Matcher matcher;
    } cases[] = {
        {matcher_case_exact_256, &CString256::match_case_exact},
        {matcher_nocase_exact_256, &CString256::match_nocase_exact},
        {matcher_case_partial_256, &CString256::match_case_partial},
        {matcher_case_approximate_256, &CString256::match_case_approximate},
        {matcher_nocase_approximate_256, &CString256::match_nocase_approximate},
    };
    for (const auto& c : cases) {
        (subject.*c.matcher)(other, &direct);
        subject.match(c.adapter, &other, &viaMatch);
        EXPECT_EQ(viaMatch, direct);
    }

    CList<CString256> pieces;
    fill(pieces, {"hello", "WORLD"});
    subject.match_wildcard_nocase(pieces, &direct);
    subject.match(match_wildcard_nocase_256, &pieces, &viaMatch);
    EXPECT_EQ(viaMatch, direct);
    EXPECT_EQ(viaMatch, 1.0f);
    subject.match(match_wildcard_case_256, &pieces, &viaMatch);
    EXPECT_EQ(viaMatch, 0.0f);
}
