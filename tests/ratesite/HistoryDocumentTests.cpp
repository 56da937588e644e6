// SPDX-License-Identifier: MIT
#include "ratesite/HistoryDocument.h"

#include "rates/RatePage.h"
#include "ratesite/RatePageBuilder.h"
#include "ratesite/RateSitePages.h"
#include "tests/support/HistoryFeed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>

namespace {

ReferenceRates read(const std::string& feed) {
    ReferenceRatesReading reading = ReadReferenceRates(feed);
    EXPECT_TRUE(reading.rates) << reading.refusal;
    return reading.rates ? std::move(*reading.rates) : ReferenceRates{};
}

// The numbers (NaN for null) of `code` in the document's "rates".
std::vector<double> ratesOf(const std::string& json, const std::string& code) {
    const size_t rates = json.find("\"rates\": {");
    const size_t start = json.find("\"" + code + "\": [", rates);
    if (rates == std::string::npos || start == std::string::npos) return {};
    std::vector<double> values;
    const char* at = json.c_str() + json.find('[', start) + 1;
    while (*at != ']') {
        if (std::string_view(at).starts_with("null")) {
            values.push_back(NAN);
            at += 4;
        } else {
            char* end = nullptr;
            values.push_back(std::strtod(at, &end));
            at = end;
        }
        if (*at == ',') at += 2;
    }
    return values;
}

// Ten significant digits: the document's figures agree with the feed's to one part in 10^9.
void expectClose(double shown, double expected) {
    EXPECT_NEAR(shown, expected, expected * 1e-9);
}

double feedRate(const ReferenceDay& day, const std::string& code) {
    return code == "EUR" ? 1.0 : *day.perEuro(code);
}

} // namespace

TEST(RatePage, TheDollarPageIsTheOneThePaneHasAlwaysRead) {
    const ReferenceRates rates = read(ReadFixture("feeds/eurofxref-2026-12-08.xml"));
    for (const char* locale : {"en", "de_DE"})
        EXPECT_EQ(BuildRatePage(rates, "USD", false, CurrencyNames(locale)),
                  ReadFixture("pages/usd-2026-12-08-" + std::string(locale) + ".html"))
            << locale;
}

TEST(RatePage, EveryBaseListsTheCrossRatesOfTheOthers) {
    const ReferenceRates rates = read(HistoryFeed());
    const CurrencyNames names("en");
    const std::vector<SiteCurrency> offered = OfferedCurrencies(rates, names);
    ASSERT_EQ(offered.size(), 33u); // 32 and the euro
    std::map<std::string, std::string> codeOf;
    for (const SiteCurrency& currency : offered)
        codeOf[currency.name] = currency.code;
    struct Case {
        std::string base, caption;
    } cases[] = {
        {"EUR", "<title>Euro exchange rates</title>"},
        {"JPY", "<title>Japanese Yen exchange rates</title>"},
        {"GBP", "converted to British pounds. Source: European Central Bank."},
    };
    for (const Case& c : cases) {
        const std::string page = BuildRatePage(rates, offered, c.base, false);
        EXPECT_NE(page.find(c.caption), std::string::npos) << page;
        EXPECT_NE(page.find("<th>Units for 1 " + c.base + "</th>"), std::string::npos);
        const RateArray rows = ParseRatePage(page);
        ASSERT_EQ(rows.size(), 32u) << c.base;
        for (const RateEntry& row : rows) {
            const std::string code = codeOf[row.country];
            EXPECT_NE(code, c.base);
            EXPECT_EQ(row.rate, SixDecimals(feedRate(rates.days.back(), code) /
                                            feedRate(rates.days.back(), c.base)))
                << c.base << " " << row.country;
        }
    }
    EXPECT_EQ(BuildRatePage(rates, offered, "EUR", false).find("converted"), std::string::npos);
}

TEST(HistoryDocument, OneRatePerDayPerBaseWithGapsLeftOpen) {
    // GBP has no rate on 2020-12-09, the yen (the base below) none on 2020-12-08.
    const ReferenceRates rates =
        read(WithoutEntry(WithoutEntry(HistoryFeed(), "2020-12-09", "GBP"), "2020-12-08", "JPY"));
    const std::vector<SiteCurrency> offered = OfferedCurrencies(rates, CurrencyNames("en"));
    const std::string json = BuildHistoryDocument(rates, offered, "JPY");
    EXPECT_TRUE(json.starts_with("{\"base\": \"JPY\", \"source\": \"European Central Bank\",\n"
                                 " \"days\": [\"2020-09-14\", \"2020-09-15\", "))
        << json.substr(0, 200);
    EXPECT_NE(json.find(", \"2020-12-10\"],\n \"names\": {\"AUD\": \"Australian Dollar\", "),
              std::string::npos);
    EXPECT_NE(json.find("\"EUR\": \"Euro\""), std::string::npos);
    EXPECT_EQ(json.find("\"JPY\": "), std::string::npos) << "the base is left out";

    const std::vector<double> pounds = ratesOf(json, "GBP");
    ASSERT_EQ(pounds.size(), 64u);
    expectClose(pounds[63], 0.911 / 126.53);
    EXPECT_TRUE(std::isnan(pounds[62])); // GBP's own gap
    EXPECT_TRUE(std::isnan(pounds[61])); // the base's gap
    expectClose(pounds[60], feedRate(rates.days[60], "GBP") / feedRate(rates.days[60], "JPY"));
    const std::vector<double> euros = ratesOf(json, "EUR");
    ASSERT_EQ(euros.size(), 64u);
    expectClose(euros[0], 1 / feedRate(rates.days[0], "JPY"));
}

TEST(HistoryDocument, ACurrencyTheNewestDayLacksIsNotOffered) {
    const ReferenceRates rates = read(WithoutEntry(HistoryFeed(), "2020-12-10", "RUB"));
    const RateSitePages pages(rates, false, CurrencyNames("en"));
    EXPECT_EQ(pages.find("/d/RUB/table.html"), nullptr);
    EXPECT_EQ(pages.find("/d/RUB/history.json"), nullptr);
    const PreparedResponse* history = pages.find("/d/USD/history.json");
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->bytes.find("RUB"), std::string::npos);
    EXPECT_NE(history->bytes.find("\r\nContent-Type: application/json; charset=utf-8\r\n"),
              std::string::npos);
    EXPECT_NE(pages.find("/d/HRK/history.json"), nullptr);
    EXPECT_EQ(pages.find("/d/usd/table.html"), nullptr);
}

TEST(HistoryDocument, ADailyFeedIsAHistoryOfOneDay) {
    const ReferenceRates rates = read(ReadFixture("feeds/eurofxref-2026-12-08.xml"));
    const std::string json =
        BuildHistoryDocument(rates, OfferedCurrencies(rates, CurrencyNames("en")), "EUR");
    EXPECT_NE(json.find("\"days\": [\"2026-12-08\"],"), std::string::npos) << json;
    EXPECT_EQ(ratesOf(json, "USD"), std::vector<double>{1.0852});
}
