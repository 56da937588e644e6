// SPDX-License-Identifier: MIT
#include "toolkit/NSStringExtensions.h"

#include <gtest/gtest.h>

#include <chrono>

using NSStringExtensions::runScript;

TEST(RunScript, GivesTheResultAsText) {
    EXPECT_EQ(runScript("'Swiss franc'"), "Swiss franc");
    EXPECT_EQ(runScript("return ('rate'):upper()"), "RATE");
    EXPECT_EQ(runScript("1.5 * 2"), "3.0");
    EXPECT_EQ(runScript("7"), "7");
    EXPECT_EQ(runScript("''"), "");
    EXPECT_EQ(runScript(std::string_view("'a\0b'", 5)), std::string("a\0b", 3));
}

TEST(RunScript, UsesOnlyTheFirstItemOfAList) {
    EXPECT_EQ(runScript("{'first', 'second'}"), "first");
    EXPECT_EQ(runScript("{12, 'second'}"), "12");
    EXPECT_EQ(runScript("{}"), std::nullopt);
    // A first item without a text form gives nothing, whatever follows.
    EXPECT_EQ(runScript("{{'nested'}, 'second'}"), std::nullopt);
    EXPECT_EQ(runScript("{true, 'second'}"), std::nullopt);
}

TEST(RunScript, EveryFailureIsNil) {
    const std::string source = "this is not a script";
    EXPECT_EQ(runScript(source), std::nullopt);
    EXPECT_EQ(source, "this is not a script");
    EXPECT_EQ(runScript(""), std::nullopt);
    EXPECT_EQ(runScript("local x = 1"), std::nullopt);
    EXPECT_EQ(runScript("error('no')"), std::nullopt);
    EXPECT_EQ(runScript("{a = 1}"), std::nullopt);
    EXPECT_EQ(runScript("nil"), std::nullopt);
    EXPECT_EQ(runScript("'\\xC3'"), std::nullopt);
    EXPECT_EQ(runScript("return '\xC3'"), std::nullopt);
    EXPECT_EQ(runScript("string.rep('x', 1 << 40)"), std::nullopt);
}

// An endless script must come back, with nothing, instead of hanging its caller.
TEST(RunScript, EndlessScriptsComeBack) {
    EXPECT_EQ(runScript("while true do end"), std::nullopt);
}

// Work inside library calls escapes the instruction budget; the wall-clock bound still holds.
TEST(RunScript, ScriptsBusyInsideLibraryCallsComeBack) {
    for (const char* source : {"string.find(string.rep('a',24), string.rep('a*',12)..'b')",
                               "for i=1,300 do local s=string.rep('x',3e7) end"}) {
        SCOPED_TRACE(source);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(runScript(source), std::nullopt);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
}
