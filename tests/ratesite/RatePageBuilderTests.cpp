// SPDX-License-Identifier: MIT
#include "ratesite/RatePageBuilder.h"

#include "rates/RatePage.h"
#include "ratesite/PreparedResponse.h"
#include "ratesite/PublicationSchedule.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

namespace {

ReferenceRates dailyFeed() {
    return *ReadReferenceRates(ReadFixture("feeds/eurofxref-2026-12-08.xml")).rates;
}

std::chrono::system_clock::time_point utc(int y, unsigned m, unsigned d, int hour, int minute) {
    using namespace std::chrono;
    return sys_days(year(y) / month(m) / day(d)) + hours(hour) + minutes(minute);
}

} // namespace

TEST(RatePage, ListsEveryCurrencyOnceInTheMarkupTheRateSourceReads) {
    const ReferenceRates rates = dailyFeed();
    const std::string page = BuildRatePage(rates, "USD", false, CurrencyNames("en"));
    const RateArray rows = ParseRatePage(page);
    ASSERT_EQ(rows.size(), 29u); // 28 without the dollar, and the euro
    std::vector<std::string> names;
    for (const RateEntry& row : rows)
        names.push_back(row.country);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end())) << page;
    EXPECT_EQ(names.front(), "Australian Dollar");
    EXPECT_EQ(std::count(names.begin(), names.end(), "US Dollar"), 0);

    const auto rateOf = [&rows](const std::string& name) {
        for (const RateEntry& row : rows)
            if (row.country == name) return row.rate;
        return std::string("missing " + name);
    };
    EXPECT_EQ(rateOf("Euro"), "0.921489");           // 1 / 1.0852
    EXPECT_EQ(rateOf("Japanese Yen"), "166.854036"); // 181.07 / 1.0852
    EXPECT_EQ(rateOf("Indonesian Rupiah"), "18567.379285");
    EXPECT_EQ(rateOf("Icelandic Króna"), "126.244010");
    // The second link of a row: dollars for one unit.
    EXPECT_NE(page.find("class=\"menu\">166.854036</a>&nbsp;</font></td>\n"
                        "<td align=\"right\"><font face=\"Verdana\" size=-1>"
                        "<a href=\"#USD-per-JPY\" class=\"menu\">0.005993</a>&nbsp;</font></td>"),
              std::string::npos);
}

TEST(RatePage, SaysTheDateTheSourceAndWhetherItIsTheSnapshot) {
    const ReferenceRates rates = dailyFeed();
    const CurrencyNames names("en");
    const std::string fresh = BuildRatePage(rates, "USD", false, names);
    EXPECT_NE(fresh.find("Rates of 2026-12-08: the euro foreign exchange reference rates of the "
                         "European Central Bank, converted to US dollars."),
              std::string::npos);
    EXPECT_EQ(fresh.find("snapshot"), std::string::npos);
    EXPECT_NE(BuildRatePage(rates, "USD", true, names).find("snapshot bundled with Corvanta"),
              std::string::npos);
}

TEST(RatePage, NamesAndSortsInTheUsersLanguage) {
    const std::string page = BuildRatePage(dailyFeed(), "USD", false, CurrencyNames("de_DE"));
    const RateArray rows = ParseRatePage(page);
    ASSERT_EQ(rows.size(), 29u);
    std::vector<std::string> names;
    for (const RateEntry& row : rows)
        names.push_back(row.country);
    // German collation puts "Ä" with "A", before "B"; byte order would put it last.
    const auto australian = std::find(names.begin(), names.end(), "Australischer Dollar");
    const auto brazilian = std::find(names.begin(), names.end(), "Brasilianischer Real");
    ASSERT_NE(australian, names.end()) << page;
    ASSERT_NE(brazilian, names.end()) << page;
    EXPECT_LT(australian, brazilian);
    EXPECT_NE(std::find(names.begin(), names.end(), "Euro"), names.end());
}

TEST(RatePage, TheResponseCarriesTheRatesDayAndTheHeadOnly) {
    const PreparedResponse response = PreparePageResponse("<html></html>", "2026-10-02");
    const std::string_view head = response.forMethod(true);
    EXPECT_TRUE(head.starts_with("HTTP/1.1 200 OK\r\n"));
    EXPECT_NE(head.find("\r\nContent-Type: text/html; charset=utf-8\r\n"), std::string::npos);
    EXPECT_NE(head.find("\r\nContent-Length: 13\r\n"), std::string::npos);
    EXPECT_NE(head.find("\r\nLast-Modified: Fri, 02 Oct 2026 00:00:00 GMT\r\n"), std::string::npos);
    EXPECT_TRUE(head.ends_with("\r\n\r\n"));
    EXPECT_EQ(response.forMethod(false).substr(head.size()), "<html></html>");
    EXPECT_EQ(HttpDateOfDay("2026-02-30"), "");
}

TEST(PublicationSchedule, ExpectsWorkingDaysAtFourInFrankfurt) {
    struct Case {
        std::chrono::system_clock::time_point now;
        const char* expected;
    } cases[] = {
        {utc(2026, 12, 9, 14, 59), "2026-12-08"}, // Wednesday 15:59 CET
        {utc(2026, 12, 9, 15, 0), "2026-12-09"},  // Wednesday 16:00 CET
        {utc(2026, 12, 7, 8, 0), "2026-12-04"},   // Monday morning: Friday's
        {utc(2026, 12, 13, 20, 0), "2026-12-11"}, // Sunday
        {utc(2026, 7, 1, 14, 0), "2026-07-01"},   // summer time: 16:00 CEST is 14:00 UTC
        {utc(2026, 7, 1, 13, 59), "2026-06-30"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LatestExpectedPublication(c.now), c.expected);
}
