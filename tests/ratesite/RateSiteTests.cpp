// SPDX-License-Identifier: MIT
#include "tests/ratesite/RateSiteProcess.h"

#include "rates/RatePage.h"
#include "tests/support/Fixtures.h"
#include "tests/support/HistoryFeed.h"
#include "tests/support/LoopbackRateSite.h"
#include "tests/support/RunProgram.h"
#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <functional>
#include <netinet/in.h>
#include <regex>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const std::string kDaily = "feeds/eurofxref-2026-12-08.xml";

// One site run: a private cache, its log, and the feed it is pointed at.
class RateSiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        environment_.set("XDG_CACHE_HOME", folder_.path().c_str());
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
            environment_.set(name, nullptr);
    }

    std::unique_ptr<SiteProcess> start(const std::string& feedUrl) {
        auto site = std::make_unique<SiteProcess>(
            std::vector<std::string>{CORVANTA_RATE_SITE_PATH, "--port", "0", "--feed", feedUrl},
            folder_.path() / "site.log");
        address_ = site->address().value_or("");
        EXPECT_TRUE(address_.starts_with("http://127.0.0.1:")) << address_;
        return site;
    }

    fs::path cacheFile() const { return folder_.path() / "corvanta" / "eurofxref-daily.xml"; }
    fs::path validatorsFile() const {
        return folder_.path() / "corvanta" / "eurofxref-daily.validators";
    }
    void keepInCache(const std::string& document, const std::string& etag) {
        fs::create_directories(cacheFile().parent_path());
        std::ofstream(cacheFile()) << document;
        std::ofstream(validatorsFile()) << "ETag: " << etag << "\nLast-Modified: \n";
    }
    std::string log() const { return ReadFile(folder_.path() / "site.log"); }
    PageAnswer page() const { return RequestPage(address_); }

    TemporaryFolder folder_;
    ScopedEnvironment environment_;
    std::string address_;
};

std::string dateOnPage(const std::string& page) {
    std::smatch match;
    return std::regex_search(page, match, std::regex("Rates of (\\d{4}-\\d\\d-\\d\\d)"))
               ? match[1].str()
               : std::string();
}

// YYYY-MM-DD of the UTC day `offset` days from today.
std::string utcDay(int offset) {
    return DayText(TodayUtc() + std::chrono::days(offset));
}

// The daily fixture, dated `date`.
std::string feedOfDay(const std::string& date) {
    return std::regex_replace(ReadFixture(kDaily), std::regex("2026-12-08"), date);
}

} // namespace

TEST_F(RateSiteTest, ServesTheFeedsRatesAndKeepsThem) {
    FeedServer feed;
    feed.serve(ReadFixture(kDaily), "\"v1\"");
    auto site = start(feed.url());

    const PageAnswer answer = page();
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(answer.header("Content-Type"), "text/html; charset=utf-8");
    EXPECT_EQ(answer.header("Last-Modified"), "Tue, 08 Dec 2026 00:00:00 GMT");
    EXPECT_EQ(dateOnPage(answer.body), "2026-12-08");
    EXPECT_EQ(ParseRatePage(answer.body).size(), 29u);
    EXPECT_EQ(answer.body.find("snapshot"), std::string::npos);
    EXPECT_NE(log().find("serving the rates of 2026-12-08 from the feed"), std::string::npos)
        << log();

    EXPECT_EQ(ReadFile(cacheFile()), ReadFixture(kDaily));
    EXPECT_NE(ReadFile(validatorsFile()).find("ETag: \"v1\"\n"), std::string::npos);

    const PageAnswer head = RequestPage(address_, "HEAD");
    EXPECT_EQ(head.status, 200);
    EXPECT_TRUE(head.body.empty());
    const PageAnswer post = RequestPage(address_, "POST");
    EXPECT_EQ(post.status, 405);
    EXPECT_EQ(post.header("Allow"), "GET, HEAD");
    EXPECT_EQ(RequestPage(address_, "GET", "/d/XYZ/table.html").status, 404);
    EXPECT_EQ(RequestPage(address_, "GET", "/").status, 404);

    site->child().signal(SIGTERM);
    EXPECT_EQ(site->child().waitForExit(5s), 0);
}

TEST_F(RateSiteTest, StartsFromTheCacheAndAsksTheFeedOnlyForAChange) {
    keepInCache(ReadFixture(kDaily), "\"v1\"");
    FeedServer feed;
    feed.serve("never sent", "\"v1\"");
    auto site = start(feed.url());
    EXPECT_EQ(feed.requests(), 1);
    EXPECT_EQ(feed.lastIfNoneMatch(), "\"v1\"");
    EXPECT_EQ(dateOnPage(page().body), "2026-12-08");
    EXPECT_NE(log().find("serving the rates of 2026-12-08 from the cache"), std::string::npos);

    // Up-to-date rates in the cache: the feed is not asked at all.
    site.reset();
    // Today's rates cannot be older than the latest publication: nothing is fetched for them.
    keepInCache(feedOfDay(utcDay(0)), "\"v2\"");
    site = start(feed.url());
    EXPECT_EQ(dateOnPage(page().body), utcDay(0));
    EXPECT_EQ(feed.requests(), 1);
}

TEST_F(RateSiteTest, ABadFeedChangesNothingButOneLogLine) {
    const std::string kept = ReadFixture(kDaily);
    struct Case {
        std::string name, document;
        int status;
        std::string reason;
    } cases[] = {
        {"garbage", "\x89PNG\r\n\x1a\n binary", 200, "it is not well-formed XML"},
        {"truncated", ReadFixture("feeds/truncated.xml"), 200, "it is not well-formed XML"},
        {"maintenance page", ReadFixture("feeds/maintenance.html"), 200,
         "it is not the reference-rate document"},
        {"no dollar", ReadFixture("feeds/no-usd.xml"), 200, "it has no US dollar rate"},
        {"no date", ReadFixture("feeds/no-date.xml"), 200, "it has no date"},
        {"entities", ReadFixture("feeds/external-entity.xml"), 200, "it declares entities"},
        {"5 MiB", std::string(5 * 1024 * 1024, '<'), 200, "the answer is larger than 1 MiB"},
        {"server error", ReadFixture(kDaily), 503, "the server answered with status 503"},
    };
    FeedServer feed;
    for (const Case& c : cases) {
        keepInCache(kept, "\"old\"");
        std::filesystem::remove(folder_.path() / "site.log");
        feed.serve(c.document, "\"new\"", c.status);
        auto site = start(feed.url());
        const PageAnswer answer = page();
        EXPECT_EQ(answer.status, 200) << c.name;
        EXPECT_EQ(dateOnPage(answer.body), "2026-12-08") << c.name;
        EXPECT_EQ(ParseRatePage(answer.body).size(), 29u) << c.name;
        EXPECT_EQ(ReadFile(cacheFile()), kept) << c.name;
        const std::string lines = log();
        EXPECT_EQ(CountOf(lines, c.reason), 1) << c.name << "\n" << lines;
        EXPECT_EQ(CountOf(lines, "\n"), 2) << c.name << "\n" << lines; // and "serving ..."
    }
}

TEST_F(RateSiteTest, RefusesADateStillToComeOrOlderThanTheRatesHeld) {
    FeedServer feed;
    feed.serve(ReadFixture(kDaily), "\"new\"");
    // Kept by an earlier run: it would pass for up to date and hold every fetch back.
    keepInCache(feedOfDay(utcDay(2)), "\"future\"");
    auto site = start(feed.url());
    EXPECT_EQ(dateOnPage(page().body), "2026-12-08");
    EXPECT_EQ(feed.requests(), 1);
    EXPECT_EQ(feed.lastIfNoneMatch(), "");
    EXPECT_EQ(CountOf(log(), "its date " + utcDay(2) + " is after tomorrow"), 1) << log();

    // Tomorrow may already be the publisher's today; after it, nothing is.
    for (const int offset : {2, 400}) {
        site.reset();
        std::filesystem::remove(folder_.path() / "site.log");
        keepInCache(ReadFixture(kDaily), "\"old\"");
        feed.serve(feedOfDay(utcDay(offset)), "\"new\"");
        site = start(feed.url());
        EXPECT_EQ(dateOnPage(page().body), "2026-12-08") << offset;
        EXPECT_EQ(ReadFile(cacheFile()), ReadFixture(kDaily)) << offset;
        EXPECT_EQ(CountOf(log(), "is after tomorrow; still serving the rates of 2026-12-08"), 1)
            << log();
    }

    site.reset();
    std::filesystem::remove(folder_.path() / "site.log");
    feed.serve(feedOfDay("2026-12-07"), "\"new\"");
    site = start(feed.url());
    EXPECT_EQ(dateOnPage(page().body), "2026-12-08");
    EXPECT_EQ(ReadFile(cacheFile()), ReadFixture(kDaily));
    EXPECT_EQ(CountOf(log(), "its date 2026-12-07 is older than the rates held"), 1) << log();

    site.reset();
    feed.serve(feedOfDay(utcDay(1)), "\"new\"");
    site = start(feed.url());
    EXPECT_EQ(dateOnPage(page().body), utcDay(1));
}

TEST_F(RateSiteTest, LogsEachBadEntryOnceAndServesTheRest) {
    FeedServer feed;
    feed.serve(ReadFixture("feeds/bad-entries.xml"));
    auto site = start(feed.url());
    const RateArray rows = ParseRatePage(page().body);
    ASSERT_EQ(rows.size(), 3u);                                    // euro, Icelandic króna, yen
    EXPECT_EQ(rows[2], (RateEntry{"Japanese Yen", "120.000000"})); // 150 / 1.25, the first
    const std::string lines = log();
    EXPECT_EQ(CountOf(lines, "left out an entry"), 9) << lines;
    EXPECT_EQ(CountOf(lines, "DKK: rate \"1e999\""), 1) << lines;
}

TEST_F(RateSiteTest, FallsBackToTheBundledSnapshot) {
    // A cache that does not parse is ignored; the feed is down.
    fs::create_directories(cacheFile().parent_path());
    std::ofstream(cacheFile()) << "<gesmes:Envelope";
    auto site = start(UnreachableRateSite() + "/eurofxref-daily.xml");
    const PageAnswer answer = page();
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(dateOnPage(answer.body), "2026-10-02");
    EXPECT_NE(answer.body.find("snapshot bundled with Corvanta"), std::string::npos);
    EXPECT_EQ(ParseRatePage(answer.body).size(), 29u);
    const std::string lines = log();
    EXPECT_NE(lines.find("refused " + cacheFile().string()), std::string::npos) << lines;
    EXPECT_NE(lines.find("serving the rates of 2026-10-02 from the bundled snapshot"),
              std::string::npos)
        << lines;
}

TEST_F(RateSiteTest, PassesOverACacheThatIsNotASmallRegularFileAndSaysWhy) {
    const fs::path folder = cacheFile().parent_path();
    const fs::path good = folder_.path() / "good.xml";
    std::ofstream(good) << ReadFixture(kDaily);
    struct Case {
        std::string name;
        std::function<void()> put; // what stands in the cache folder
        std::string date, logged;
    } cases[] = {
        // Opening it to read would wait for a writer, for ever.
        {"a FIFO", [&] { mkfifo(cacheFile().c_str(), 0600); }, "2026-10-02",
         cacheFile().string() + " is not a regular file of at most 1 MiB"},
        {"a folder", [&] { fs::create_directory(cacheFile()); }, "2026-10-02",
         cacheFile().string() + " is not a regular file of at most 1 MiB"},
        {"a link to /dev/zero", [&] { fs::create_symlink("/dev/zero", cacheFile()); }, "2026-10-02",
         "cannot open " + cacheFile().string()},
        {"a link to a good feed", [&] { fs::create_symlink(good, cacheFile()); }, "2026-10-02",
         "cannot open " + cacheFile().string()},
        {"a file over 1 MiB",
         [&] { std::ofstream(cacheFile()) << std::string(1024 * 1024 + 1, ' '); }, "2026-10-02",
         cacheFile().string() + " is not a regular file of at most 1 MiB"},
        {"a FIFO for the validators",
         [&] {
             fs::copy_file(good, cacheFile());
             mkfifo(validatorsFile().c_str(), 0600);
         },
         "2026-12-08", validatorsFile().string() + " is not a regular file of at most 4 KiB"},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        std::filesystem::remove(folder_.path() / "site.log");
        c.put();
        auto site = start(UnreachableRateSite() + "/eurofxref-daily.xml");
        EXPECT_EQ(dateOnPage(page().body), c.date) << c.name;
        EXPECT_EQ(CountOf(log(), "passed over the cache: " + c.logged), 1) << c.name << log();
    }
}

TEST_F(RateSiteTest, ServesTheSnapshotWhenTheCacheIsOlder) {
    keepInCache(feedOfDay("2020-01-02"), "\"stale\"");
    FeedServer feed;
    feed.serve("", "", 503);
    auto site = start(feed.url());
    EXPECT_EQ(dateOnPage(page().body), "2026-10-02");
    // The snapshot's rates are not the feed's: its validators are not sent.
    EXPECT_EQ(feed.lastIfNoneMatch(), "");
    EXPECT_EQ(CountOf(log(), "refused " + cacheFile().string() +
                                 ": its date 2020-01-02 is older than the rates held"),
              1)
        << log();
}

TEST_F(RateSiteTest, AStalledFeedCostsNoMoreThanTheTimeOut) {
    environment_.set("CORVANTA_FETCH_TIMEOUT", "1");
    FeedServer feed;
    feed.serve(ReadFixture(kDaily));
    feed.stallFor(20s);
    const auto started = std::chrono::steady_clock::now();
    auto site = start(feed.url());
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    EXPECT_EQ(dateOnPage(page().body), "2026-10-02");
    EXPECT_NE(log().find("could not fetch the feed"), std::string::npos) << log();
    site.reset();

    // Told to stop while its first fetch still waits, it stops at once.
    environment_.set("CORVANTA_FETCH_TIMEOUT", "20");
    SiteProcess waiting({CORVANTA_RATE_SITE_PATH, "--port", "0", "--feed", feed.url()},
                        folder_.path() / "site.log");
    for (int tries = 0; tries < 500 && feed.requests() < 2; ++tries)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(feed.requests(), 2);
    waiting.child().signal(SIGINT);
    EXPECT_EQ(waiting.child().waitForExit(3s), 0);
}

TEST_F(RateSiteTest, ExplainsItsUsageAndRefusesBadArguments) {
    const ProgramRun help = RunProgram({CORVANTA_RATE_SITE_PATH, "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.starts_with("usage: corvanta-rate-site [--port N] [--feed URL]"));
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        {{"--port", "http"}, "not a port: http"},
        {{"--port", "65536"}, "not a port: 65536"},
        {{"--feed", "file:///etc/passwd"}, "not an http or https address: file:///etc/passwd"},
        {{"--feed"}, "usage:"},
        {{"--verbose"}, "usage:"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {CORVANTA_RATE_SITE_PATH};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const ProgramRun run = RunProgram(arguments);
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    }
}

TEST_F(RateSiteTest, RefreshesInTheBackgroundWhileRequestsGoOn) {
    environment_.set("CORVANTA_RATE_SITE_RETRY_SECONDS", "1");
    FeedServer feed;
    feed.serve("", "", 503);
    auto site = start(feed.url());
    EXPECT_EQ(dateOnPage(page().body), "2026-10-02");

    // The next attempt takes two seconds; requests meanwhile are answered from the snapshot.
    feed.stallFor(2s);
    feed.serve(ReadFixture(kDaily));
    std::chrono::milliseconds slowest{0};
    std::string date;
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (date != "2026-12-08" && std::chrono::steady_clock::now() < deadline) {
        const PageAnswer answer = page();
        slowest = std::max(slowest, answer.took);
        date = dateOnPage(answer.body);
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_EQ(date, "2026-12-08");
    EXPECT_GE(feed.requests(), 2);
    EXPECT_LT(slowest, 1s);
    EXPECT_EQ(ReadFile(cacheFile()), ReadFixture(kDaily));
}

TEST_F(RateSiteTest, ServesEveryBaseOfAHistoryFeedAndNothingElse) {
    FeedServer feed;
    // Recent days, so that they are newer than the snapshot; HRK gone from the newest day.
    const std::string newest = utcDay(0);
    feed.serve(WithoutEntry(Redated(HistoryFeed(), TodayUtc()), newest, "HRK"));
    const auto site = start(feed.url());
    struct Case {
        std::string path;
        int status;
        std::string contentType, part;
    } cases[] = {
        {"/d/USD/table.html", 200, "text/html; charset=utf-8", "<title>US Dollar exchange"},
        {"/d/EUR/table.html", 200, "text/html; charset=utf-8", "Rates of " + newest},
        {"/d/JPY/history.json", 200, "application/json; charset=utf-8", "{\"base\": \"JPY\""},
        {"/d/EUR/history.json?x=1", 200, "application/json; charset=utf-8", newest + "\"],"},
        {"/d/HRK/table.html", 404, "text/plain; charset=utf-8", ""},
        {"/d/HRK/history.json", 404, "text/plain; charset=utf-8", ""},
        {"/d/XYZ/table.html", 404, "text/plain; charset=utf-8", ""},
        {"/d/jpy/history.json", 404, "text/plain; charset=utf-8", ""},
    };
    for (const Case& c : cases) {
        const PageAnswer answer = RequestPage(address_, "GET", c.path);
        EXPECT_EQ(answer.status, c.status) << c.path;
        EXPECT_EQ(answer.header("Content-Type"), c.contentType) << c.path;
        EXPECT_NE(answer.body.find(c.part), std::string::npos)
            << c.path << answer.body.substr(0, 300);
    }
    EXPECT_EQ(RequestPage(address_, "GET", "/d/EUR/table.html").body.find("HRK"),
              std::string::npos);
}
