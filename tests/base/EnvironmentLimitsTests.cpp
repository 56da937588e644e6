// SPDX-License-Identifier: MIT
#include "base/EnvironmentLimits.h"

#include "base/WholeNumber.h"
#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace std::chrono_literals;

TEST(EnvironmentLimits, OnlyAPlainNumberOfSecondsShortensALimit) {
    struct Case {
        const char* value;
        std::chrono::milliseconds shortened; // of a 10 s limit
    } cases[] = {
        {nullptr, 10s}, {"", 10s},    {"5", 5s},
        {"0.5", 500ms}, {"20", 10s},  {"0", 0ms},
        {"soon", 10s},  {"-1", 10s},  {"1e3", 10s},
        {" 2", 10s},    {"2 ", 10s},  {"1.2.3", 10s},
        {".", 10s},     {"inf", 10s}, {"nan", 10s},
        {"1,5", 10s},   {"+3", 10s},  {"99999999999999999999", 10s},
    };
    ScopedEnvironment environment;
    for (const Case& c : cases) {
        environment.set("CORVANTA_TEST_LIMIT", c.value);
        EXPECT_EQ(ShortenedByEnvironment("CORVANTA_TEST_LIMIT", 10s), c.shortened)
            << (c.value ? c.value : "(unset)");
    }
}

TEST(EnvironmentLimits, ReadsTheSameInALocaleWithADecimalComma) {
    const char* before = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = before ? before : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale here";
    ScopedEnvironment environment;
    environment.set("CORVANTA_TEST_LIMIT", "0.5");
    EXPECT_EQ(SecondsInEnvironment("CORVANTA_TEST_LIMIT"), 500ms);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(WholeNumber, IsAllOfTheText) {
    EXPECT_EQ(WholeNumber("12"), 12);
    EXPECT_EQ(WholeNumber("-3"), -3);
    for (const char* text : {"", "12x", " 12", "12 ", "1.5", "99999999999999999999"})
        EXPECT_EQ(WholeNumber(text), std::nullopt) << text;
}
