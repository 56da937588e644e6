// SPDX-License-Identifier: MIT
// The site under load it must survive, and the ways it is started: by systemd's socket
// activation, and as the site the pane reads.
#include "tests/ratesite/RateSiteProcess.h"
#include "tests/ratesite/RawClient.h"

#include "rates/RatePage.h"
#include "tests/support/Fixtures.h"
#include "tests/support/LoopbackRateSite.h"
#include "tests/support/RunProgram.h"
#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

int portOf(const std::string& address) {
    return std::stoi(address.substr(address.rfind(':') + 1));
}

class RateSiteServingTest : public ::testing::Test {
protected:
    void SetUp() override {
        environment_.set("XDG_CACHE_HOME", folder_.path().c_str());
        feed_.serve(ReadFixture("feeds/eurofxref-2026-12-08.xml"));
    }
    fs::path logFile() const { return folder_.path() / "site.log"; }

    TemporaryFolder folder_;
    ScopedEnvironment environment_;
    FeedServer feed_;
};

} // namespace

TEST_F(RateSiteServingTest, SlowAndHostileClientsDoNotStallTheOthers) {
    SiteProcess site({CORVANTA_RATE_SITE_PATH, "--port", "0", "--feed", feed_.url()}, logFile());
    const std::string address = site.address().value_or("");
    const int port = portOf(address);

    // More half-sent requests than the site keeps connections open for.
    std::vector<std::unique_ptr<RawClient>> idle;
    for (int i = 0; i < 100; ++i) {
        idle.push_back(std::make_unique<RawClient>(port));
        idle.back()->send("GET /d/USD/table.html HTTP/1.1\r\nHost: x\r\n");
    }
    const PageAnswer answer = RequestPage(address);
    EXPECT_EQ(answer.status, 200);
    EXPECT_LT(answer.took, 1s);

    RawClient huge(port);
    huge.send("GET /d/USD/table.html HTTP/1.1\r\nX-Padding: " + std::string(9000, 'x'));
    EXPECT_TRUE(huge.receiveAll(3s).starts_with("HTTP/1.1 431 "));

    RawClient nonsense(port);
    nonsense.send("\x16\x03\x01 not http\r\n\r\n");
    EXPECT_TRUE(nonsense.receiveAll(3s).starts_with("HTTP/1.1 400 "));

    // A client that never finishes is let go at its deadline.
    RawClient slow(port);
    ASSERT_TRUE(slow.connected());
    slow.send("GET /d/USD/tab");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(slow.receiveAll(10s), "");
    EXPECT_LT(std::chrono::steady_clock::now() - started, 8s);
}

TEST_F(RateSiteServingTest, ServesTheSocketSystemdPassesAndLeavesWhenIdle) {
    const int port = portOf(UnreachableRateSite());
    const std::string site = "http://127.0.0.1:" + std::to_string(port);
    // systemd-socket-activate starts the program with only what -E passes.
    SiteProcess activated(
        {"/usr/bin/systemd-socket-activate", "-l", "127.0.0.1:" + std::to_string(port), "-E",
         "XDG_CACHE_HOME=" + folder_.path().string(), "-E", "CORVANTA_RATE_SITE_IDLE_SECONDS=5",
         "-E", "CORVANTA_FETCH_TIMEOUT=5", CORVANTA_RATE_SITE_PATH, "--feed", feed_.url()},
        logFile());
    // It waits for the first connection before it starts the site. That connection's client
    // is already waiting: it gets the kept rates at once, however slow the feed is.
    feed_.stallFor(3s);
    PageAnswer answer;
    for (int tries = 0; tries < 50 && answer.status == 0; ++tries) {
        answer = RequestPage(site);
        if (answer.status == 0) std::this_thread::sleep_for(100ms);
    }
    EXPECT_EQ(answer.status, 200) << ReadFile(logFile());
    EXPECT_LT(answer.took, 2s);
    EXPECT_NE(answer.body.find("Rates of 2026-10-02"), std::string::npos); // the snapshot's
    EXPECT_EQ(activated.address(10s), site);

    // Meanwhile the feed is asked in the background; its rates are kept, then served (the
    // cache file may appear a moment before the pages change).
    const fs::path cached = folder_.path() / "corvanta" / "eurofxref-daily.xml";
    for (int tries = 0; tries < 200; ++tries) {
        answer = RequestPage(site);
        if (answer.body.find("Rates of 2026-12-08") != std::string::npos) break;
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_TRUE(fs::exists(cached)) << ReadFile(logFile());
    EXPECT_NE(answer.body.find("Rates of 2026-12-08"), std::string::npos) << ReadFile(logFile());
    EXPECT_EQ(ParseRatePage(answer.body).size(), 29u);
    EXPECT_EQ(feed_.requests(), 1);
    EXPECT_EQ(activated.child().waitForExit(15s), 0) << ReadFile(logFile());
}

#ifdef CORVANTA_PREFS_PATH
TEST_F(RateSiteServingTest, ThePaneListsEveryCurrencyOfTheFeed) {
    SiteProcess site({CORVANTA_RATE_SITE_PATH, "--port", "0", "--feed", feed_.url()}, logFile());
    const std::string address = site.address().value_or("");
    const RateArray rows = ParseRatePage(RequestPage(address).body);
    ASSERT_EQ(rows.size(), 29u);

    const fs::path picture = folder_.path() / "pane.png";
    environment_.set("CORVANTA_RATE_SITE", address.c_str());
    environment_.set("XDG_CONFIG_HOME", folder_.path().c_str());
    const ProgramRun run =
        RunProgram({CORVANTA_PREFS_PATH, "--screenshot", picture.string(), CORVANTA_PANE_BUNDLE});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    std::string expected = "Available currencies: 29 rows: ";
    for (size_t i = 0; i < 5; ++i)
        expected += rows[i].country + ", ";
    expected += "...\n";
    EXPECT_NE(run.output.find(expected), std::string::npos) << expected << "\n" << run.output;
    EXPECT_NE(run.output.find("Australian Dollar, Brazilian Real, British Pound"),
              std::string::npos)
        << run.output;
}
#endif
