// SPDX-License-Identifier: MIT
#include "base/EscapedText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Hostile texts a rate page can carry, each with what the log, JSON and terminal see (quoted)
// and what a table shows (visible).
struct HostileText {
    const char* name;
    std::string text;
    std::string quoted;
    std::string visible;
};

const HostileText kHostileTexts[] = {
    {"terminal title (OSC ... BEL)", "\x1b]0;owned\x07", "\"\\u001b]0;owned\\u0007\"",
     "\xe2\x90\x9b]0;owned\xe2\x90\x87"},
    {"clear screen (CSI 2J)", "\x1b[2J", "\"\\u001b[2J\"", "\xe2\x90\x9b[2J"},
    {"C1 control CSI (U+009B)",
     "a\xc2\x9b"
     "2Jb",
     "\"a\\u009b2Jb\"", "a<U+009B>2Jb"},
    {"right-to-left override (U+202E)",
     "\xe2\x80\xae"
     "oruE",
     "\"\\u202eoruE\"", "<U+202E>oruE"},
    {"first strong isolate (U+2068)", "x\xe2\x81\xa8y", "\"x\\u2068y\"", "x<U+2068>y"},
    {"left-to-right embedding (U+202A)", "\xe2\x80\xaa", "\"\\u202a\"", "<U+202A>"},
    {"pop directional isolate (U+2069)", "\xe2\x81\xa9", "\"\\u2069\"", "<U+2069>"},
    {"line separator (U+2028)",
     "a\xe2\x80\xa8"
     "b",
     "\"a\\u2028b\"", "a<U+2028>b"},
    {"DEL and a line feed", "\x7f\n", "\"\\u007f\\n\"", "\xe2\x90\xa1\xe2\x90\x8a"},
    {"a byte that is not UTF-8", "a\xff", "\"a\xef\xbf\xbd\"", "a\xef\xbf\xbd"},
};

} // namespace

TEST(EscapedText, NoHostileControlReachesTheReader) {
    for (const HostileText& hostile : kHostileTexts) {
        SCOPED_TRACE(hostile.name);
        EXPECT_EQ(QuotedText(hostile.text), hostile.quoted);
        EXPECT_EQ(VisibleText(hostile.text), hostile.visible);
    }
}

TEST(EscapedText, OrdinaryTextIsKeptAndOnlyQuotesAndBackslashesAreEscaped) {
    const std::string text = "Euro \xe2\x82\xac, Yen \xc2\xa5, Z\xc5\x82oty, \xf0\x9f\x92\xb6";
    EXPECT_EQ(QuotedText(text), "\"" + text + "\"");
    EXPECT_EQ(VisibleText(text), text);
    EXPECT_EQ(QuotedText("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(VisibleText("a\"b\\c"), "a\"b\\c");
    EXPECT_EQ(QuotedText(""), "\"\"");
}
