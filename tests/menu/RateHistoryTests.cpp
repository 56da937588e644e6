// SPDX-License-Identifier: MIT
#include "menu/JsonReader.h"
#include "menu/RateHistory.h"
#include "menu/Trend.h"

#include <gtest/gtest.h>

TEST(JsonReader, ReadsWellFormedJsonAndRefusesEverythingElse) {
    const std::optional<JsonValue> value =
        ParseJson(" {\"a\": [1, -2.5e3, null, true, false], \"b\": \"\\u00e9\\ud83d\\ude00\\n\"} ");
    ASSERT_TRUE(value);
    ASSERT_EQ(value->member("a")->items.size(), 5u);
    EXPECT_EQ(value->member("a")->items[1].text, "-2.5e3");
    EXPECT_EQ(value->member("a")->items[2].kind, JsonValue::Kind::Null);
    EXPECT_EQ(value->member("b")->text, "\xC3\xA9\xF0\x9F\x98\x80\n");
    const std::string deep(kMaxJsonDepth + 2, '[');
    for (const std::string& bad :
         {std::string(""), std::string("{"), std::string("[1,]"), std::string("[01]"),
          std::string("{\"a\" 1}"), std::string("[1] x"), std::string("\"a\nb\""),
          std::string("\"\\x\""), std::string("\"\\ud800\""), std::string("\"\xC0\xAF\""),
          std::string("\"\xED\xA0\x80\""), std::string("[.5]"), std::string("[1.]"),
          std::string("[-]"), std::string("nul"), std::string("[\"a\" \"b\"]"), deep})
        EXPECT_FALSE(ParseJson(bad)) << bad;
}

TEST(RateHistory, ReadsTheSitesDocumentAndRefusesAnyOtherShape) {
    const std::string good = "{\"base\": \"JPY\", \"source\": \"European Central Bank\",\n"
                             " \"days\": [\"2026-12-08\", \"2026-12-09\"],\n"
                             " \"names\": {\"EUR\": \"Euro\", \"USD\": \"US Dollar\"},\n"
                             " \"rates\": {\"EUR\": [0.0063, null], \"USD\": [0.0068, 6.8e-3]}}\n";
    const std::optional<RateHistory> history = ParseRateHistory(good);
    ASSERT_TRUE(history);
    EXPECT_EQ(history->base, "JPY");
    ASSERT_EQ(history->currencies.size(), 2u);
    EXPECT_EQ(history->byName("US Dollar")->code, "USD");
    EXPECT_EQ(history->byCode("EUR")->rates[1], std::nullopt);
    EXPECT_EQ(history->byCode("USD")->rates[1], "6.8e-3");
    const auto broken = [&good](const std::string& from, const std::string& to) {
        std::string document = good;
        return document.replace(document.find(from), from.size(), to);
    };
    for (const std::string& bad : {
             broken("\"JPY\"", "\"jpy\""),                   // not a code
             broken("[0.0063, null]", "[0.0063]"),           // a day short
             broken("[0.0063, null]", "[0.0063, -1]"),       // not a rate
             broken("[0.0063, null]", "[0, null]"),          // nor is zero
             broken("[0.0063, null]", "[\"0.0063\", null]"), // a text
             broken("\"EUR\": [", "\"JPY\": ["),             // the base itself
             broken("\"USD\": [", "\"EUR\": ["),             // a currency twice
             broken("\"days\": [", "\"days\": [1, "),        // a day that is no text
             std::string("[]"),
             std::string("not json"),
         })
        EXPECT_FALSE(ParseRateHistory(bad)) << bad;
}

TEST(Trend, IsTheChangeSinceTheLatestEarlierRateRoundedHalfAwayFromZero) {
    using Rates = std::vector<std::optional<std::string>>;
    struct Case {
        Rates rates;
        std::optional<std::string> trend;
    } cases[] = {
        {{"0.8898", "0.890869"}, "+0.12%"},
        {{"158.15", std::nullopt, "157.674833"}, "-0.30%"},
        {{"1", "1.00005"}, "+0.01%"}, // exactly half a hundredth: away from zero
        {{"1", "0.99995"}, "-0.01%"},
        {{"1", "1.0000499"}, "0.00%"}, // rounds to nothing: no sign
        {{"1", "0.9999501"}, "0.00%"},
        {{"2", "3"}, "+50.00%"},
        {{"1e-3", "1.5e-3"}, "+50.00%"},     // exponents as JSON writes them
        {{"1e-30", "1"}, std::nullopt},      // beyond any sense: no trend rather than overflow
        {{std::nullopt, "1"}, std::nullopt}, // no earlier day with a rate
        {{"1", std::nullopt}, std::nullopt}, // none on the newest day
        {{}, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<long long> hundredths = TrendSincePreviousDay(c.rates);
        EXPECT_EQ(hundredths ? std::optional<std::string>(TrendText(*hundredths)) : std::nullopt,
                  c.trend);
    }
    EXPECT_EQ(TrendText(-12345, ','), "-123,45%");
}
