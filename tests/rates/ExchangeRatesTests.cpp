// SPDX-License-Identifier: MIT
// The whole fetch against a rate site on loopback: results and log lines for every way it
// can end.
#include "rates/ExchangeRates.h"

#include "platform/Foundation/NSURLHandle.h"
#include "rates/RatePage.h"
#include "tests/support/Fixtures.h"
#include "tests/support/LogCapture.h"
#include "tests/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using Lines = std::vector<std::string>;

const std::string L1 = "Corvanta: Loading exchange rates...";
const std::string L2 =
    "Corvanta: The exchange rates could not be loaded. This could be due to a network problem.";
const std::string L3 = "Corvanta: The exchange rates were successfully loaded.";
const std::string L4 = "Corvanta: The exchange rates data could not be converted into a string.";
const std::string L5 = "Corvanta: The exchange rates are: ";

const char* const kPagePath = "/d/USD/table.html";

// A rate site serving `page` (or `status`) at the page path, and pointing the fetch at it.
class RateSite : public testing::Test {
protected:
    void serve(std::string page, int status = 200) {
        page_ = std::move(page);
        status_ = status;
        server_.routes().Get(kPagePath, [this](const httplib::Request&, httplib::Response& res) {
            res.status = status_;
            res.set_content(page_, "text/html");
        });
        server_.start();
        setenv("CORVANTA_RATE_SITE", server_.site().c_str(), 1);
    }
    void TearDown() override {
        unsetenv("CORVANTA_RATE_SITE");
        NSURLHandle::setTimeoutCeiling(std::nullopt);
    }

    // Runs the fetch, returning its result and the "Corvanta: " log lines it wrote; the
    // loader's own lines go to otherLines_.
    std::unique_ptr<RateArray> fetch(Lines& lines) {
        LogCapture log;
        auto rates = ExchangeRatesArray();
        lines.clear();
        otherLines_.clear();
        for (std::string& line : log.lines())
            (line.starts_with("Corvanta: ") ? lines : otherLines_).push_back(std::move(line));
        return rates;
    }
    Lines otherLines_;

    LoopbackServer server_;
    std::string page_;
    int status_ = 200;
};

} // namespace

TEST_F(RateSite, LoadsAndParsesTheRealisticPage) {
    serve(ReadFixture("realistic-50.html"));
    Lines lines;
    auto rates = fetch(lines);
    ASSERT_NE(rates, nullptr);
    ASSERT_EQ(rates->size(), 50u);
    EXPECT_EQ(rates->front().country, "Argentine Peso");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], L1);
    EXPECT_EQ(lines[1], L3);
    EXPECT_EQ(lines[2], L5 + DescribeRateArray(*rates));
}

TEST_F(RateSite, DecodesMacOSRomanPages) {
    serve(ReadFixture("macroman-accented.html"));
    Lines lines;
    auto rates = fetch(lines);
    ASSERT_NE(rates, nullptr);
    ASSERT_EQ(rates->size(), 10u);
    EXPECT_EQ((*rates)[1], (RateEntry{"Réal brésilien", "5.4312"}));
    EXPECT_EQ((*rates)[3].country, "Dirham des Émirats arabes unis");
    EXPECT_EQ((*rates)[5].country, "Króna féroïenne");
}

TEST_F(RateSite, PageWithoutNameCellsGivesAnEmptyArrayAndStillLogsIt) {
    serve("<html><body>Down for maintenance</body></html>");
    Lines lines;
    auto rates = fetch(lines);
    ASSERT_NE(rates, nullptr);
    EXPECT_TRUE(rates->empty());
    EXPECT_EQ(lines, (Lines{L1, L3, L5 + "()"}));
}

TEST_F(RateSite, EmptyBodyIsAPageWithoutCurrencies) {
    serve("");
    Lines lines;
    auto rates = fetch(lines);
    ASSERT_NE(rates, nullptr);
    EXPECT_EQ(lines, (Lines{L1, L3, L5 + "()"}));
}

TEST_F(RateSite, BadPagesGiveAnArrayOrNullWithTheRightLines) {
    const std::string opening = "<td><font face=\"Verdana\" size=-1>&nbsp;&nbsp;";
    std::string openings;
    while (openings.size() + opening.size() <= 8 * 1024 * 1024)
        openings += opening;
    std::string binary(4096, '\0');
    for (size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 131 + 7);
    struct Case {
        const char* name;
        std::string page;
        bool loads;
    };
    const Case cases[] = {
        {"8 MiB of openings", openings, true},
        {"one byte over the cap", std::string(8 * 1024 * 1024 + 1, 'x'), false},
        {"binary", binary, true},
        {"zero bytes", std::string(1000, '\0'), true},
        {"truncated mid-pattern", opening + "Euro&nbsp;&nb", true},
    };
    LoopbackServer server;
    const Case* current = nullptr;
    server.routes().Get(kPagePath, [&current](const httplib::Request&, httplib::Response& res) {
        res.set_content(current->page, "text/html");
    });
    server.start();
    setenv("CORVANTA_RATE_SITE", server.site().c_str(), 1);
    for (const Case& c : cases) {
        current = &c;
        Lines lines;
        auto rates = fetch(lines);
        if (c.loads) {
            ASSERT_NE(rates, nullptr) << c.name;
            EXPECT_TRUE(rates->empty()) << c.name;
            EXPECT_EQ(lines, (Lines{L1, L3, L5 + "()"})) << c.name;
        } else {
            EXPECT_EQ(rates, nullptr) << c.name;
            EXPECT_EQ(lines, (Lines{L1, L2})) << c.name;
        }
    }
}

TEST_F(RateSite, ErrorStatusIsAFailedLoad) {
    for (int status : {404, 500, 301}) {
        LoopbackServer server;
        server.routes().Get(kPagePath, [status](const httplib::Request&, httplib::Response& res) {
            res.status = status;
            res.set_content(ReadFixture("realistic-50.html"), "text/html");
        });
        server.start();
        setenv("CORVANTA_RATE_SITE", server.site().c_str(), 1);
        Lines lines;
        EXPECT_EQ(fetch(lines), nullptr) << status;
        EXPECT_EQ(lines, (Lines{L1, L2})) << status;
        ASSERT_EQ(otherLines_.size(), 1u) << "the reason, on a line of the loader's own";
        EXPECT_NE(otherLines_[0].find("status " + std::to_string(status)), std::string::npos)
            << otherLines_[0];
    }
}

TEST_F(RateSite, UnreachableSiteIsAFailedLoad) {
    // A port that was free a moment ago: nothing listens there.
    int port;
    {
        LoopbackServer probe;
        probe.start();
        port = probe.port();
    }
    setenv("CORVANTA_RATE_SITE", ("http://127.0.0.1:" + std::to_string(port)).c_str(), 1);
    Lines lines;
    EXPECT_EQ(fetch(lines), nullptr);
    EXPECT_EQ(lines, (Lines{L1, L2}));
}

TEST_F(RateSite, StalledSiteTimesOut) {
    NSURLHandle::setTimeoutCeiling(std::chrono::seconds(1));
    server_.routes().Get(kPagePath, [this](const httplib::Request&, httplib::Response& res) {
        for (int i = 0; i < 300 && !server_.stopping(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        res.set_content("late", "text/html");
    });
    server_.start();
    setenv("CORVANTA_RATE_SITE", server_.site().c_str(), 1);
    const auto start = std::chrono::steady_clock::now();
    Lines lines;
    EXPECT_EQ(fetch(lines), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(lines, (Lines{L1, L2}));
}

TEST_F(RateSite, SiteThatCannotFormAnAddressLogsOnlyTheFirstLine) {
    for (const char* site :
         {"ftp://127.0.0.1:21", "file://", "not an address", "127.0.0.1:8080", "http://",
          "http://exa mple.com", "http://127.0.0.1:8080/?page=", "http://127.0.0.1:8080#top"}) {
        setenv("CORVANTA_RATE_SITE", site, 1);
        Lines lines;
        EXPECT_EQ(fetch(lines), nullptr) << site;
        EXPECT_EQ(lines, (Lines{L1})) << site;
    }
}

TEST_F(RateSite, SiteWithTrailingSlashStillReachesThePage) {
    serve(ReadFixture("edge-cases.html"));
    setenv("CORVANTA_RATE_SITE", (server_.site() + "/").c_str(), 1);
    Lines lines;
    auto rates = fetch(lines);
    ASSERT_NE(rates, nullptr);
    EXPECT_EQ(rates->size(), 9u);
}

TEST(ExchangeRatesFromLoadedPage, UndecodableDataLogsTheConversionFailure) {
    LogCapture log;
    auto rates = ExchangeRatesFromLoadedPage(
        "\xff\xfe", [](std::string_view) -> std::optional<std::string> { return std::nullopt; });
    EXPECT_EQ(rates, nullptr);
    EXPECT_EQ(log.lines(), (Lines{L3, L4}));
}

TEST(DecodeRatePage, PrefersUTF8AndFallsBackToMacOSRoman) {
    EXPECT_EQ(DecodeRatePage("R\xC3\xA9"
                             "al"),
              "Réal");
    EXPECT_EQ(DecodeRatePage("R\x8E"
                             "al"),
              "Réal"); // Mac OS Roman é
    EXPECT_EQ(DecodeRatePage("\xED\xA0\x80"),
              "\xC3\x8C\xE2\x80\xA0\xC3\x84"); // surrogate: not UTF-8
    EXPECT_EQ(DecodeRatePage(std::string("a\0b", 3)), std::string("a\0b", 3));
}
