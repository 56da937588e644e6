// SPDX-License-Identifier: MIT
#include "ratesite/ReferenceRates.h"

#include "tests/support/Fixtures.h"
#include "tests/support/HistoryFeed.h"

#include <gtest/gtest.h>

namespace {

ReferenceRatesReading readFixture(const std::string& name) {
    return ReadReferenceRates(ReadFixture("feeds/" + name));
}

// A one-day feed of `entries`, each "CODE RATE".
std::string feedOf(const std::string& date, const std::vector<std::string>& entries) {
    std::string feed = "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
                       "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\"><Cube>"
                       "<Cube time=\"" +
                       date + "\">";
    for (const std::string& entry : entries)
        feed += "<Cube currency=\"" + entry.substr(0, 3) + "\" rate=\"" + entry.substr(4) + "\"/>";
    return feed + "</Cube></Cube></gesmes:Envelope>";
}

} // namespace

TEST(ReferenceRates, ReadsTheDailyFeedInItsOrder) {
    const ReferenceRatesReading reading = readFixture("eurofxref-2026-12-08.xml");
    ASSERT_TRUE(reading.rates) << reading.refusal;
    EXPECT_TRUE(reading.skipped.empty());
    EXPECT_EQ(reading.rates->date, "2026-12-08");
    ASSERT_EQ(reading.rates->rates.size(), 29u);
    EXPECT_EQ(reading.rates->rates[0].code, "USD");
    EXPECT_DOUBLE_EQ(reading.rates->rates[0].perEuro, 1.0852);
    EXPECT_EQ(reading.rates->perEuro("IDR"), 20149.32);
    EXPECT_EQ(reading.rates->rates.back().code, "ZAR");
}

TEST(ReferenceRates, SkipsEachBadEntryOnceAndKeepsTheFirstOfADuplicate) {
    const ReferenceRatesReading reading = readFixture("bad-entries.xml");
    ASSERT_TRUE(reading.rates) << reading.refusal;
    std::vector<std::string> codes;
    for (const ReferenceRate& rate : reading.rates->rates)
        codes.push_back(rate.code);
    EXPECT_EQ(codes, (std::vector<std::string>{"USD", "JPY", "ISK"}));
    EXPECT_EQ(reading.rates->perEuro("JPY"), 150.0);
    const std::vector<std::string> skipped = {
        "CHF: rate \"0\" is not a plain positive decimal",
        "SEK: rate \"-1\" is not a plain positive decimal",
        "NOK: rate \"abc\" is not a plain positive decimal",
        "DKK: rate \"1e999\" is not a plain positive decimal",
        "PLN: rate \" 4.25\" is not a plain positive decimal",
        "HUF: rate \"(none)\" is not a plain positive decimal",
        "currency code \"gbp\" is not three capital letters",
        "currency code \"ISKR\" is not three capital letters",
        "JPY: listed again; the first rate is kept",
    };
    EXPECT_EQ(reading.skipped, skipped);
}

TEST(ReferenceRates, RefusesADocumentThatIsNotGoodReferenceRates) {
    const std::string notXml = "not a feed \x01\xff at all";
    const std::string tooLarge(5 * 1024 * 1024, 'x');
    struct Case {
        std::string name, document, refusal;
    } cases[] = {
        {"garbage", notXml, "it is not well-formed XML (line 1: syntax error)"},
        {"empty", "", "it is not well-formed XML (line 1: no element found)"},
        {"5 MiB", tooLarge, "it is larger than 1 MiB"},
        {"truncated", ReadFixture("feeds/truncated.xml"), "it is not well-formed XML"},
        {"maintenance page", ReadFixture("feeds/maintenance.html"),
         "it is not the reference-rate document"},
        {"other document", ReadFixture("feeds/other-document.xml"),
         "it is not the reference-rate document"},
        {"no date", ReadFixture("feeds/no-date.xml"), "it has no date (YYYY-MM-DD)"},
        {"bad date", ReadFixture("feeds/bad-date.xml"), "it has no date (YYYY-MM-DD)"},
        {"no dollar", ReadFixture("feeds/no-usd.xml"), "it has no US dollar rate"},
        {"external entity", ReadFixture("feeds/external-entity.xml"), "it declares entities"},
        {"entity expansion", ReadFixture("feeds/entity-expansion.xml"), "it declares entities"},
    };
    for (const Case& c : cases) {
        const ReferenceRatesReading reading = ReadReferenceRates(c.document);
        EXPECT_FALSE(reading.rates) << c.name;
        EXPECT_EQ(reading.refusal.substr(0, c.refusal.size()), c.refusal) << c.name;
    }
}

TEST(ReferenceRates, TakesOnlyTheNewestDayOfAFeedOfSeveral) {
    const std::string feed =
        "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
        "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\"><Cube>"
        "<Cube time=\"2026-12-08\"><Cube currency=\"USD\" rate=\"1.1\"/></Cube>"
        "<Cube time=\"2026-12-07\"><Cube currency=\"USD\" rate=\"1.2\"/>"
        "<Cube currency=\"JPY\" rate=\"170\"/></Cube></Cube></gesmes:Envelope>";
    const ReferenceRatesReading reading = ReadReferenceRates(feed);
    ASSERT_TRUE(reading.rates) << reading.refusal;
    EXPECT_EQ(reading.rates->date, "2026-12-08");
    ASSERT_EQ(reading.rates->rates.size(), 1u);
    EXPECT_EQ(reading.rates->perEuro("USD"), 1.1);
}

TEST(ReferenceRates, TakesOnlyDatesOfTheCalendar) {
    for (const char* date :
         {"2026-02-31", "2026-02-29", "2026-04-31", "2026-13-01", "2026-00-10"}) {
        const ReferenceRatesReading reading = ReadReferenceRates(feedOf(date, {"USD 1.1"}));
        EXPECT_FALSE(reading.rates) << date;
        EXPECT_EQ(reading.refusal, "it has no date (YYYY-MM-DD)") << date;
    }
    for (const char* date : {"2028-02-29", "2026-12-31"})
        EXPECT_TRUE(ReadReferenceRates(feedOf(date, {"USD 1.1"})).rates) << date;
}

TEST(ReferenceRates, LeavesOutRatesThePageCouldNotShow) {
    const std::string tiny = "0." + std::string(309, '0') + "1";
    const ReferenceRatesReading reading = ReadReferenceRates(
        feedOf("2026-12-08", {"JPY 150", "AAA " + tiny, "BBB 0.0000001", "CCC 20000000000000",
                              "DDD 1" + std::string(300, '0'), "IDR 20149.32", "USD 2"}));
    ASSERT_TRUE(reading.rates) << reading.refusal;
    std::vector<std::string> codes;
    for (const ReferenceRate& rate : reading.rates->rates)
        codes.push_back(rate.code);
    EXPECT_EQ(codes, (std::vector<std::string>{"JPY", "IDR", "USD"}));
    EXPECT_EQ(reading.skipped, (std::vector<std::string>{
                                   "AAA: rate 1e-310 is out of range against the US dollar",
                                   "BBB: rate 1e-07 is out of range against the US dollar",
                                   "CCC: rate 2e+13 is out of range against the US dollar",
                                   "DDD: rate 1e+300 is out of range against the US dollar",
                               }));

    // The euro's own row is reckoned from the dollar alone.
    const ReferenceRatesReading extremeDollar =
        ReadReferenceRates(feedOf("2026-12-08", {"USD 0.0000000001", "JPY 150"}));
    EXPECT_FALSE(extremeDollar.rates);
    EXPECT_EQ(extremeDollar.refusal, "its US dollar rate 1e-10 gives the euro a rate out of range");
}

TEST(ReferenceRates, RefusesTwoDifferentDollarRates) {
    const ReferenceRatesReading differing =
        ReadReferenceRates(feedOf("2026-12-08", {"USD 1.1", "JPY 150", "USD 1.2"}));
    EXPECT_FALSE(differing.rates);
    EXPECT_EQ(differing.refusal, "it lists the US dollar twice with different rates");

    // The same rate twice is only a repetition.
    const ReferenceRatesReading repeated =
        ReadReferenceRates(feedOf("2026-12-08", {"USD 1.1", "USD 1.10"}));
    ASSERT_TRUE(repeated.rates) << repeated.refusal;
    EXPECT_EQ(repeated.skipped,
              (std::vector<std::string>{"USD: listed again; the first rate is kept"}));
}

TEST(ReferenceRates, ReadsAHistoryOldestFirstWithItsNewestDayAsTheRates) {
    const ReferenceRatesReading reading = ReadReferenceRates(HistoryFeed());
    ASSERT_TRUE(reading.rates) << reading.refusal;
    EXPECT_TRUE(reading.skipped.empty());
    const ReferenceRates& rates = *reading.rates;
    EXPECT_EQ(rates.date, "2020-12-10");
    ASSERT_EQ(rates.days.size(), 64u);
    EXPECT_EQ(rates.days.front().date, "2020-09-14");
    EXPECT_EQ(rates.days.back().date, "2020-12-10");
    EXPECT_EQ(rates.rates.size(), 32u);
    EXPECT_EQ(rates.perEuro("USD"), 1.2115);
    EXPECT_EQ(rates.days.back().perEuro("JPY"), 126.53);
    EXPECT_EQ(rates.days.front().perEuro("USD"), 1.1876);
}

TEST(ReferenceRates, OlderDaysAreSortedKeptOnceAndKeepTheirGoodEntries) {
    // Listed as the ECB never would: out of order, a day twice, bad entries, a currency the
    // newest day lacks.
    const std::string feed =
        "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
        "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\"><Cube>"
        "<Cube time=\"2026-12-07\"><Cube currency=\"USD\" rate=\"1.2\"/>"
        "<Cube currency=\"JPY\" rate=\"abc\"/><Cube currency=\"HRK\" rate=\"7.5\"/></Cube>"
        "<Cube time=\"2026-12-08\"><Cube currency=\"USD\" rate=\"1.1\"/>"
        "<Cube currency=\"JPY\" rate=\"150\"/></Cube>"
        "<Cube time=\"2026-12-04\"><Cube currency=\"JPY\" rate=\"160\"/></Cube>"
        "<Cube time=\"2026-12-07\"><Cube currency=\"USD\" rate=\"9\"/></Cube>"
        "<Cube time=\"2026-13-01\"><Cube currency=\"USD\" rate=\"9\"/></Cube>"
        "</Cube></gesmes:Envelope>";
    const ReferenceRatesReading reading = ReadReferenceRates(feed);
    ASSERT_TRUE(reading.rates) << reading.refusal;
    const ReferenceRates& rates = *reading.rates;
    EXPECT_EQ(rates.date, "2026-12-08");
    ASSERT_EQ(rates.days.size(), 3u);
    EXPECT_EQ(rates.days[0].date, "2026-12-04");
    EXPECT_EQ(rates.days[0].perEuro("USD"), std::nullopt); // a gap
    EXPECT_EQ(rates.days[0].perEuro("JPY"), 160.0);
    EXPECT_EQ(rates.days[1].date, "2026-12-07");
    EXPECT_EQ(rates.days[1].perEuro("USD"), 1.2); // the first listing of the day
    EXPECT_EQ(rates.days[1].perEuro("HRK"), std::nullopt);
    EXPECT_EQ(reading.skipped, (std::vector<std::string>{
                                   "2026-12-07: JPY: rate \"abc\" is not a plain positive decimal",
                                   "2026-12-07: HRK: not among the newest day's rates; not offered",
                                   "2026-12-07: listed again; the first listing is kept",
                                   "a day dated \"2026-13-01\" is left out: it is not a date "
                                   "(YYYY-MM-DD)",
                               }));
}

TEST(ReferenceRates, TheNewestDayOfAHistoryMustHaveAGoodDollarRate) {
    const std::string history = HistoryFeed();
    const ReferenceRatesReading noDollar =
        ReadReferenceRates(WithoutEntry(history, "2020-12-10", "USD"));
    EXPECT_FALSE(noDollar.rates);
    EXPECT_EQ(noDollar.refusal, "it has no US dollar rate");
    // An older day without the dollar is only a gap.
    EXPECT_TRUE(ReadReferenceRates(WithoutEntry(history, "2020-12-09", "USD")).rates);
}
