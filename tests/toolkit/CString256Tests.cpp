// SPDX-License-Identifier: MIT
#include "toolkit/CString256.h"

#include "platform/Carbon/Carbon.h"
#include "platform/CoreFoundation/CFRef.h"
#include "platform/CoreFoundation/CFString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

std::string repeated(size_t n, char c = 'x') {
    return std::string(n, c);
}

} // namespace

TEST(CString256Replace, CutsToTheFirst255CharactersAndTreatsNullAsEmpty) {
    const std::string long300 = repeated(255, 'a') + repeated(45, 'b');
    CString256 s(long300.c_str());
    EXPECT_EQ(std::string(s.text), repeated(255, 'a'));

    s = "short";
    EXPECT_STREQ(s.text, "short");
    s = static_cast<const char*>(nullptr);
    EXPECT_STREQ(s.text, "");
    CString256 fromNull(static_cast<const char*>(nullptr));
    EXPECT_STREQ(fromNull.text, "");

    CString256 copy(CString256("copied"));
    EXPECT_STREQ(copy.text, "copied");
}

TEST(CString256Replace, KeepsTheTextWhenTheSourceIsItsOwnText) {
    CString256 s("report.txt");
    CString256& same = s;
    s = same;
    EXPECT_STREQ(s.text, "report.txt");
    s = s.text;
    EXPECT_STREQ(s.text, "report.txt");
    s = s.text + 7; // a pointer into its own text
    EXPECT_STREQ(s.text, "txt");
}

TEST(CString256Append, FillsUpTo255AndNoFurther) {
    CString256 s(repeated(254).c_str());
    s += "abc";
    ASSERT_EQ(std::strlen(s.text), 255u);
    EXPECT_EQ(s.text[254], 'a');

    s += "more";
    s += CString256("more");
    s += 12L;
    EXPECT_EQ(std::string(s.text), repeated(254) + "a");

    CString256 t("abc");
    t += static_cast<const char*>(nullptr);
    EXPECT_STREQ(t.text, "abc");
    t += 12L;
    EXPECT_STREQ(t.text, "abc12");
    t += -3L;
    EXPECT_STREQ(t.text, "abc12-3");
    t += CString256("!");
    EXPECT_STREQ(t.text, "abc12-3!");
}

TEST(CString256Append, AppendsItsOwnText) {
    CString256 s("abc");
    s += s.text;
    EXPECT_STREQ(s.text, "abcabc");
    s += s;
    EXPECT_STREQ(s.text, "abcabcabcabc");

    CString256 big(repeated(200).c_str());
    big += big.text;
    EXPECT_EQ(std::string(big.text), repeated(255));
}

TEST(CString256Append, SingleCharactersStopAt254) {
    CString256 s;
    for (int i = 0; i < 300; ++i)
        s += 'c';
    EXPECT_EQ(std::string(s.text), repeated(254, 'c'));

    CString256 t("ab");
    t += '\0';
    EXPECT_STREQ(t.text, "ab");
    t += static_cast<char>(0xE9); // a byte above 0x7F is a character like any other
    EXPECT_STREQ(t.text, "ab\xE9");
}

TEST(CString256Pascal, ConvertsTheCountedCharacters) {
    unsigned char pascal[] = "\x03"
                             "abcdef";
    CString256 s(pascal);
    EXPECT_STREQ(s.text, "abc");
    const unsigned char* constPascal = pascal;
    CString256 t(constPascal);
    EXPECT_STREQ(t.text, "abc");

    unsigned char full[256];
    full[0] = 255;
    std::memset(full + 1, 'p', 255);
    s = full;
    EXPECT_EQ(std::string(s.text), repeated(255, 'p'));

    s = "0123456789";
    s += full; // a scratch copy first, then cut by the append rule
    EXPECT_EQ(std::string(s.text), "0123456789" + repeated(245, 'p'));
}

TEST(CString256PlatformString, ConvertsToMacRomanAndCutsLongTexts) {
    CString256 s("old");
    s = CFSTR("Z\u00fcrich");
    EXPECT_STREQ(s.text, "Z\x9Frich"); // u with diaeresis is 0x9F in Mac OS Roman
    s += CFSTR(" \u00e9t\u00e9");
    EXPECT_STREQ(s.text, "Z\x9Frich \x8Et\x8E");

    const std::string long300 = repeated(250) + repeated(50, 'y');
    CFRef<CFStringRef> longText(CFStringCreateWithUTF8(long300));
    s = longText.get();
    EXPECT_EQ(std::string(s.text), long300.substr(0, 255));

    // 255 characters of which the last needs two UTF-8 bytes still fit exactly.
    const std::string accented = repeated(254) + "\u00fc" + "tail";
    CFRef<CFStringRef> accentedText(CFStringCreateWithUTF8(accented));
    s = accentedText.get();
    EXPECT_EQ(std::string(s.text), repeated(254) + "\x9F");

    s = "abc";
    s += longText.get();
    EXPECT_EQ(std::string(s.text), "abc" + repeated(250) + "yy");
}

TEST(CString256PlatformString, GivesTheEmptyTextForCharactersMacRomanLacks) {
    CString256 s("old");
    s = CFSTR("\u65e5\u672c");
    EXPECT_STREQ(s.text, "");
    s = "keep";
    s += CFSTR("\u65e5\u672c");
    EXPECT_STREQ(s.text, "keep");
}

TEST(CString256Handle, CopiesAtMost255BytesAsTheyAre) {
    Handle h = NewHandle(300);
    ASSERT_NE(h, nullptr);
    std::memset(*h, 'h', 300);
    CString256 s;
    s = h;
    EXPECT_EQ(std::string(s.text), repeated(255, 'h'));

    (*h)[2] = '\0';
    s = h;
    EXPECT_STREQ(s.text, "hh");
    DisposeHandle(h);

    Handle exact = NewHandle(5);
    std::memcpy(*exact, "12345", 5);
    s = exact;
    EXPECT_STREQ(s.text, "12345");
    DisposeHandle(exact);

    Handle empty = NewHandle(0);
    s = "was here";
    s = empty;
    EXPECT_STREQ(s.text, "");
    DisposeHandle(empty);
}

TEST(CString256Numbers, AssignsDecimalText) {
    CString256 s("old");
    s = 0L;
    EXPECT_STREQ(s.text, "0");
    s = -7L;
    EXPECT_STREQ(s.text, "-7");
    s = LONG_MIN;
    EXPECT_STREQ(s.text, std::to_string(LONG_MIN).c_str());
    s = LONG_MAX;
    EXPECT_STREQ(s.text, std::to_string(LONG_MAX).c_str());
}

TEST(Itoa, AllocatesTheTextOfEveryValueIncludingTheMostNegative) {
    const auto check = [](char* text, const std::string& expected) {
        std::unique_ptr<char[]> owned(text);
        ASSERT_NE(owned, nullptr);
        EXPECT_EQ(std::string(owned.get()), expected);
    };
    check(itoa(static_cast<short>(-32768)), "-32768");
    check(itoa(static_cast<short>(32767)), "32767");
    check(itoa(static_cast<short>(0)), "0");
    check(itoa(-2147483648L), "-2147483648");
    check(itoa(LONG_MIN), std::to_string(LONG_MIN));
    check(itoa(-1L), "-1");
    check(itoa(ULONG_MAX), std::to_string(ULONG_MAX));
    check(itoa(10UL), "10");
}

TEST(Itoa, NeverWritesPastTheCallersBuffer) {
    char buf[16];
    const auto write = [&buf](short len, long n) {
        std::memset(buf, '#', sizeof buf);
        itoa(buf, len, n);
        for (size_t i = static_cast<size_t>(len); i < sizeof buf; ++i)
            EXPECT_EQ(buf[i], '#') << "byte " << i << " written for len " << len;
        return std::string(buf);
    };
    EXPECT_EQ(write(12, -2147483648L), "-2147483648");
    EXPECT_EQ(write(4, 12345), "345"); // the least significant digits that fit
    EXPECT_EQ(write(4, -123), "123");  // the sign had no room left
    EXPECT_EQ(write(5, -123), "-123");
    EXPECT_EQ(write(2, -5), "5");
    EXPECT_EQ(write(1, 9), "");
    EXPECT_EQ(write(3, 0), "0");
}

TEST(Reverse, ReversesInPlaceAndIgnoresNull) {
    const auto reversed = [](std::string text) {
        reverse(text.data());
        return text;
    };
    EXPECT_EQ(reversed("abcd"), "dcba");
    EXPECT_EQ(reversed("abc"), "cba");
    EXPECT_EQ(reversed("a"), "a");
    EXPECT_EQ(reversed(""), "");
    reverse(nullptr);

    char even[] = "abcd";
    switchIt(even, 0, 3);
    EXPECT_STREQ(even, "dbca");
}

TEST(CString256Print, AppendsALineToABuffer) {
    char buf[600] = "first\n";
    CString256("second").print(buf);
    EXPECT_STREQ(buf, "first\nsecond\n");
    CString256 full(repeated(255).c_str());
    full.print(buf);
    EXPECT_EQ(std::string(buf), "first\nsecond\n" + repeated(255) + "\n");
}

TEST(CString256Print, WritesTheTextAndALineFeedToAFile) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    CString256().print(static_cast<short>(fds[1]));
    CString256("abc").print(static_cast<short>(fds[1]));
    CString256(repeated(255).c_str()).print(static_cast<short>(fds[1]));
    close(fds[1]);
    std::string written;
    char chunk[512];
    for (ssize_t n; (n = read(fds[0], chunk, sizeof chunk)) > 0;)
        written.append(chunk, static_cast<size_t>(n));
    close(fds[0]);
    EXPECT_EQ(written, "\nabc\n" + repeated(255) + "\n");
}

TEST(CString256Edit, LowersOnlyAsciiLetters) {
    CString256 s("ABC xyz \xC9\xDC-Q");
    s.to_lower();
    EXPECT_STREQ(s.text, "abc xyz \xC9\xDC-q");
}

TEST(CString256Edit, KeepsOnlyAlphanumericsAndPunctuation) {
    CString256 s("a b\tc!");
    s.filter_to_alnum_or_punct();
    EXPECT_STREQ(s.text, "abc!");

    CString256 spaces("     ");
    spaces.filter_to_alnum_or_punct();
    EXPECT_STREQ(spaces.text, "");

    // Runs of removed characters next to each other, and bytes above 0x7F.
    CString256 mixed("\t\tx  \xE9\xFF\x01y\n");
    mixed.filter_to_alnum_or_punct();
    EXPECT_STREQ(mixed.text, "xy");
}

TEST(CString256Edit, ChangesTheSuffixAfterTheLastDot) {
    const auto changed = [](const char* text, const char* suffix) {
        CString256 s(text);
        s.change_suffix(suffix);
        return std::string(s.text);
    };
    EXPECT_EQ(changed("report", "txt"), "report.txt");
    EXPECT_EQ(changed("a.b.c", "d"), "a.b.d");
    EXPECT_EQ(changed(".profile", "x"), ".x");
    EXPECT_EQ(changed("dir.d/file", "txt"), "dir.txt");
    EXPECT_EQ(changed("report.txt", nullptr), "report.");
    EXPECT_EQ(changed(repeated(255).c_str(), "txt"), repeated(255));
    EXPECT_EQ(changed(repeated(252).c_str(), "txt"), repeated(252) + ".tx");
}

TEST(CString256Edit, IndexesCharacters) {
    CString256 s("cat");
    s[0] = 'b';
    EXPECT_STREQ(s.text, "bat");
    EXPECT_EQ(s[2], 't');
}

TEST(CString256Pool, HandsBackTheObjectFreedLast) {
    CString256* first = new CString256("one");
    CString256* second = new CString256("two");
    EXPECT_NE(first, second);
    EXPECT_STREQ(second->text, "two");
    delete second;
    CString256* again = new CString256("three");
    EXPECT_EQ(again, second);
    EXPECT_STREQ(again->text, "three");
    delete again;
    delete first;
    EXPECT_EQ(CString256::nfree, first);
}
