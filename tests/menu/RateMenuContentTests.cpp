// SPDX-License-Identifier: MIT
#include "menu/DecimalNumber.h"
#include "menu/FetchSchedule.h"
#include "menu/RateMenuContent.h"
#include "tests/menu/MenuLines.h"

#include <gtest/gtest.h>

namespace {

std::optional<std::string> times(const std::string& amount, const std::string& rate) {
    const auto a = ParseDecimalNumber(amount);
    const auto r = ParseDecimalNumber(rate);
    if (!a || !r) return "<not a number>";
    return MultiplyToTwoDecimals(*a, *r);
}

const RateArray kRates{{"Euro", "0.9205"},  {"Japanese Yen", "144.06"}, {"Euro", "9.99"},
                       {"Bad Rate", "n/a"}, {"Grouped", "1,297.30"},    {"euro", "0.5"}};

} // namespace

TEST(ChosenCurrencies, SplitsAtCommasTrimsSkipsEmptyPartsAndKeepsEachNameOnceAtItsFirstPlace) {
    EXPECT_EQ(ChosenCurrencies("Euro,Japanese Yen,"), (Lines{"Euro", "Japanese Yen"}));
    EXPECT_EQ(ChosenCurrencies(" Euro , \tJapanese Yen\r\n,,Euro, ,euro"),
              (Lines{"Euro", "Japanese Yen", "euro"}));
    EXPECT_EQ(ChosenCurrencies("Yen,Euro,Yen"), (Lines{"Yen", "Euro"}));
    EXPECT_EQ(ChosenCurrencies("Euro"), (Lines{"Euro"}));
    EXPECT_TRUE(ChosenCurrencies("").empty());
    EXPECT_TRUE(ChosenCurrencies(" , ,,").empty());
}

TEST(DecimalNumber, ReadsDigitsWithOptionalGroupingAndDecimalPointOnly) {
    for (const char* good : {"125", "1,250.50", " 99.9 ", "0.5", "0", "007", "1,234,567.891",
                             "\t12\n", "123,456", "1234567.5", "10,125", "100,000"})
        EXPECT_TRUE(ParseDecimalNumber(good)) << good;
    for (const char* bad :
         {"",    "  ",  "1,25", "12,3456", "1234,567", ",123",  "1,",      "1.",
          ".5",  "-1",  "+1",   "1e3",     "1 000",    "1.2.3", "1.234,5", "1,234.5,6",
          "abc", "12a", "$5",   "5 USD",   "1,,234",   "0,125", "00,125",  "000,125.5"})
        EXPECT_FALSE(ParseDecimalNumber(bad)) << bad;
    EXPECT_EQ(TrimBlanks("  a b \n"), "a b");
    EXPECT_EQ(AmountIn(" 1,250.50\n"), "1,250.50");
    EXPECT_EQ(AmountIn("12 apples"), std::nullopt);
}

TEST(DecimalNumber, MultipliesExactlyAndRoundsHalfAwayFromZeroToTwoDecimals) {
    EXPECT_EQ(times("0.5", "0.9205"), "0.46");         // 0.46025: binary floating point says 0.46
    EXPECT_EQ(times("1,250.50", "0.9205"), "1151.09"); // 1151.085025
    EXPECT_EQ(times("125", "144.06"), "18007.50");
    EXPECT_EQ(times("3", "4"), "12.00");
    EXPECT_EQ(times("0", "0.9205"), "0.00");
    EXPECT_EQ(times("1", "2.345"), "2.35"); // exactly half rounds up
    EXPECT_EQ(times("1", "2.3449"), "2.34");
    EXPECT_EQ(times("0.005", "1"), "0.01");
    EXPECT_EQ(times("0.004999", "1"), "0.00");
    EXPECT_EQ(times("1.10", "1.0000"), "1.10");
    EXPECT_EQ(times("1,000,000", "15512.000000"), "15512000000.00");
    // Tiny and long-written numbers stay exact instead of overflowing.
    EXPECT_EQ(times("0.0000000000000000000000000000000000000000001", "1"), "0.00");
    EXPECT_EQ(times("1.00000000000000000000000000000000000000000000", "2.5"), "2.50");
    // Too large to hold exactly: no figure rather than a wrong one.
    EXPECT_EQ(times("99999999999999999999", "99999999999999999999"), std::nullopt);
    EXPECT_EQ(times("3402823669209384634633746074317682114", "100"), std::nullopt);
    EXPECT_EQ(times("1" + std::string(40, '0'), "1"), "<not a number>");
}

TEST(RateMenuContent, ShowsEachChosenCurrencyWithThePagesRateText) {
    const RateMenuContent content =
        RateMenuContentFor({{"Japanese Yen", "Euro", "Bad Rate", "Dollar", "EURO"},
                            &kRates,
                            false,
                            false,
                            std::nullopt});
    EXPECT_EQ(
        MenuLines(content),
        (Lines{"Rates per US dollar:", "Japanese Yen: 144.06", "Euro: 0.9205", "Bad Rate: no rate",
               "Dollar: not on the rate page", "EURO: not on the rate page"}));
    EXPECT_TRUE(content.currencies[0].enabled);
    EXPECT_EQ(content.currencies[1].figure, "0.9205") << "the first row of a name counts";
    EXPECT_FALSE(content.currencies[3].enabled);
}

TEST(RateMenuContent, ConvertsASelectedAmountAndGivesNoRateForRatesThatAreNotNumbers) {
    const RateMenuContent content = RateMenuContentFor(
        {{"Euro", "Bad Rate", "Grouped", "Dollar"}, &kRates, false, false, "1,250.50"});
    EXPECT_EQ(MenuLines(content),
              (Lines{"1,250.50 US dollars in:", "Euro: 1151.09", "Bad Rate: no rate",
                     "Grouped: 1622273.65", "Dollar: not on the rate page"}));
    EXPECT_EQ(content.currencies[0].figure, "1151.09");
    EXPECT_TRUE(content.currencies[0].enabled);
    EXPECT_FALSE(content.currencies[1].enabled);
}

TEST(RateMenuContent, SaysWhileLoadingAndAfterAFailedFetch) {
    EXPECT_EQ(MenuLines(RateMenuContentFor({{"Euro"}, nullptr, false, true, std::nullopt})),
              (Lines{"Loading…", "Euro"}));
    EXPECT_EQ(MenuLines(RateMenuContentFor({{"Euro"}, &kRates, false, true, "2"})),
              (Lines{"Loading…", "Euro: 1.84"}))
        << "a refresh shows the last rates until it ends";
    const RateMenuContent failed = RateMenuContentFor({{"Euro", "Yen"}, nullptr, true, false, "2"});
    EXPECT_EQ(MenuLines(failed),
              (Lines{"The exchange rates could not be loaded.", "Euro: no rate", "Yen: no rate"}));
    EXPECT_FALSE(failed.currencies[0].enabled);
    EXPECT_EQ(MenuLines(RateMenuContentFor({{"Euro"}, nullptr, true, true, std::nullopt})),
              (Lines{"Loading…", "Euro: no rate"}));
}

TEST(FetchSchedule, OpeningFetchesRatesGoneStaleAndRetriesAFailedFetchSoon) {
    using namespace std::chrono_literals;
    const auto now = std::chrono::steady_clock::now();
    EXPECT_TRUE(FetchIsDue(std::nullopt, false, now));
    EXPECT_FALSE(FetchIsDue(now - 14min, false, now));
    EXPECT_TRUE(FetchIsDue(now - 16min, false, now));
    // A failed fetch is not left for a quarter of an hour, nor repeated on every opening.
    EXPECT_FALSE(FetchIsDue(now - 10s, true, now));
    EXPECT_TRUE(FetchIsDue(now - 31s, true, now));
}

TEST(RateMenuContent, SaysWhenNoCurrencyIsChosen) {
    const RateArray empty;
    for (const RateArray* rates : {&kRates, &empty}) {
        const RateMenuContent content = RateMenuContentFor({{}, rates, false, false, "5"});
        EXPECT_EQ(MenuLines(content), (Lines{"5 US dollars in:", "No currencies chosen"}));
        EXPECT_FALSE(content.currencies[0].enabled);
    }
}

TEST(RateMenuContent, NamesTheBaseInTheHeaderAndLeavesItsOwnNameOut) {
    const RateArray perEuro{{"US Dollar", "1.1642"}, {"Japanese Yen", "157.674833"}};
    struct Case {
        std::string base;
        std::optional<std::string> amount;
        std::string header;
    } cases[] = {
        {"USD", std::nullopt, "Rates per US dollar:"},
        {"EUR", std::nullopt, "Rates per euro:"},
        {"GBP", std::nullopt, "Rates per British pound:"},
        {"EUR", "125", "125 euros in:"},
        {"EUR", "1", "1 euro in:"},
        {"JPY", "1,250.50", "1,250.50 Japanese yen in:"},
        {"USD", "1.00", "1.00 US dollars in:"},
    };
    for (const Case& c : cases) {
        RateMenuState state{{"Euro", "US Dollar"}, &perEuro, false, false, c.amount};
        state.base = c.base;
        const Lines lines = MenuLines(RateMenuContentFor(state));
        EXPECT_EQ(lines.front(), c.header);
        // The base's own name has no row on its page: it is left out, not "not on the page".
        for (const char* name : {"Euro", "US Dollar"})
            EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                    [&](const std::string& line) {
                                        return line.starts_with(std::string(name) + ":");
                                    }),
                      c.base == (std::string(name) == "Euro" ? "EUR" : "USD") ? 0 : 1)
                << c.base << " " << name;
    }
}

TEST(RateMenuContent, EachRateLineEndsWithItsTrendAndAmountsCarryNone) {
    const RateArray perDollar{{"Euro", "0.890869"},
                              {"Japanese Yen", "157.674833"},
                              {"Swiss Franc", "0.80"},
                              {"Swedish Krona", "9.5"}};
    RateHistory history;
    history.base = "USD";
    history.days = {"2026-12-07", "2026-12-08", "2026-12-09"};
    history.currencies = {
        {"EUR", "Euro", {"0.9", "0.8898", "0.890869"}},
        {"JPY", "Japanese Yen", {"158.15", std::nullopt, "157.674833"}}, // a gap
        {"CHF", "Swiss Franc", {std::nullopt, std::nullopt, "0.80"}},    // no earlier day
        {"SEK", "Swedish Krona", {"9.5", "9.50", "9.5"}},
    };
    RateMenuState state{{"Euro", "Japanese Yen", "Swiss Franc", "Swedish Krona"},
                        &perDollar,
                        false,
                        false,
                        std::nullopt};
    state.history = &history;
    EXPECT_EQ(MenuLines(RateMenuContentFor(state)),
              (Lines{"Rates per US dollar:", "Euro: 0.890869 (+0.12%)",
                     "Japanese Yen: 157.674833 (-0.30%)", "Swiss Franc: 0.80",
                     "Swedish Krona: 9.5 (0.00%)"}));
    EXPECT_EQ(RateMenuContentFor(state).currencies[0].figure, "0.890869");
    state.amount = "10";
    EXPECT_EQ(MenuLines(RateMenuContentFor(state))[1], "Euro: 8.91");
}

TEST(RateMenuContent, APageCanNeitherWriteIntoTheTerminalNorOntoTheClipboard) {
    const std::string tooLong(33, '1');
    const RateArray page{{"Newline", "1.0\nInjected line: 999.99"},
                         {"Title", "\x1b]0;owned\x07"},
                         {"Negative", "-1.5"},
                         {"Exponent", "1e5"},
                         {"Blanks", "  8.5  "},
                         {"Huge", std::string(300, '9')},
                         {"Long", tooLong},
                         {"Zero", "0.000"},
                         {"Kuwaiti Dinar", "n/a"},
                         {"Grouped", "1,297.30"},
                         {"Longest", std::string(32, '1')},
                         {"A&B", "2.5"},
                         {"Es\x1b"
                          "cape",
                          "3"}};
    RateMenuState state{{"Newline", "Title", "Negative", "Exponent", "Blanks", "Huge", "Long",
                         "Zero", "Kuwaiti Dinar", "Grouped", "Longest", "A&B",
                         "Es\x1b"
                         "cape"},
                        &page,
                        false,
                        false,
                        std::nullopt};
    const RateMenuContent content = RateMenuContentFor(state);
    EXPECT_EQ(MenuLines(content),
              (Lines{"Rates per US dollar:", "Newline: no rate", "Title: no rate",
                     "Negative: no rate", "Exponent: no rate", "Blanks: no rate", "Huge: no rate",
                     "Long: no rate", "Zero: no rate", "Kuwaiti Dinar: no rate",
                     "Grouped: 1,297.30", "Longest: " + std::string(32, '1'), "A&B: 2.5",
                     "Es\xE2\x90\x9B"
                     "cape: 3"}));
    for (const RateMenuLine& line : content.currencies) {
        EXPECT_EQ(line.enabled, !line.text.ends_with(": no rate")) << line.text;
        EXPECT_EQ(line.figure.find_first_of("\n\x1b "), std::string::npos);
    }
    EXPECT_EQ(content.currencies[9].figure, "1,297.30");
}

TEST(RateMenuContent, AnAmountTooLargeForExactArithmeticSaysSo) {
    const RateArray page{{"Euro", "0.9205"}, {"Bad", "n/a"}};
    const std::string nines(38, '9');
    const RateMenuContent content =
        RateMenuContentFor({{"Euro", "Bad"}, &page, false, false, nines});
    EXPECT_EQ(MenuLines(content),
              (Lines{nines + " US dollars in:", "Euro: the amount is too large", "Bad: no rate"}));
    EXPECT_FALSE(content.currencies[0].enabled);
}
