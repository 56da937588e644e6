// SPDX-License-Identifier: MIT
// corvanta-menu --print and --chart per base currency, against the real rate site serving the
// ECB's 90-day history of 2020-12-10 (moved to recent days).
#include "base/Identity.h"
#include "platform/CoreFoundation/CoreFoundation.h"
#include "settings/CorvantaSettings.h"
#include "tests/ratesite/RateSiteProcess.h"
#include "tests/support/HistoryFeed.h"
#include "tests/support/ProgramLines.h"
#include "tests/support/RunProgram.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryConfigHome.h"

#include <gtest/gtest.h>

namespace {

class MenuPerBase : public ::testing::Test {
protected:
    void SetUp() override {
        environment_.set("XDG_CACHE_HOME", cache_.path().c_str());
        environment_.setLocale({});
        feed_.serve(Redated(HistoryFeed(), TodayUtc()));
        std::vector<std::string> arguments{CORVANTA_RATE_SITE_PATH, "--feed", feed_.url()};
        if (!onTheUsersOwnSocket()) arguments.insert(arguments.end(), {"--port", "0"});
        std::filesystem::permissions(runtime_.path(), std::filesystem::perms::owner_all);
        environment_.set("XDG_RUNTIME_DIR", runtime_.path().c_str());
        site_ = std::make_unique<SiteProcess>(arguments, cache_.path() / "site.log");
        const std::string address = site_->address().value_or("");
        if (onTheUsersOwnSocket()) {
            // Where the site listens by default, and where the menu looks when told nothing.
            ASSERT_EQ(address, "unix:" + (runtime_.path() / CORVANTA_RATE_SITE_SOCKET).string())
                << site_->log();
            environment_.set("CORVANTA_RATE_SITE", nullptr);
        } else {
            ASSERT_TRUE(address.starts_with("http://127.0.0.1:")) << site_->log();
            environment_.set("CORVANTA_RATE_SITE", address.c_str());
        }
        CFPreferencesSetAppValue(CorvantaSettingsCountriesKey(),
                                 CFSTR("Euro,British Pound,Japanese Yen,US Dollar,"),
                                 CorvantaSettingsAppID());
        ASSERT_TRUE(CFPreferencesAppSynchronize(CorvantaSettingsAppID()));
    }

    virtual bool onTheUsersOwnSocket() const { return false; }

    ProgramRun menu(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), CORVANTA_MENU_PATH);
        return RunProgram(arguments);
    }

    TemporaryConfigHome home_;
    TemporaryFolder cache_, runtime_;
    ScopedEnvironment environment_;
    FeedServer feed_;
    std::unique_ptr<SiteProcess> site_;
};

// The same, with nothing configured: the site on its socket in the user's runtime folder.
class MenuOnTheUsersOwnSite : public MenuPerBase {
protected:
    bool onTheUsersOwnSocket() const override { return true; }
};

} // namespace

TEST_F(MenuOnTheUsersOwnSite, PrintsTheRatesFromTheSiteOnItsSocket) {
    const ProgramRun run = menu({"--print", "--base", "EUR"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(ProgramLines(run.output).front(), "Rates per euro:") << run.output;
    EXPECT_EQ(ProgramLines(run.output).size(), 4u) << run.output;
}

TEST_F(MenuPerBase, PrintsTheRatesPerEachBaseWithTheirTrend) {
    // 2020-12-10 against 2020-12-09: USD 1.2115 / 1.2109, GBP 0.911 / 0.9, JPY 126.53 / 126.05.
    struct Case {
        Lines arguments, expected;
    } cases[] = {
        {{"--print"},
         {"Rates per US dollar:", "Euro: 0.825423 (-0.05%)", "British Pound: 0.751960 (+1.17%)",
          "Japanese Yen: 104.440776 (+0.33%)"}},
        {{"--print", "--base", "EUR"},
         {"Rates per euro:", "British Pound: 0.911000 (+1.22%)",
          "Japanese Yen: 126.530000 (+0.38%)", "US Dollar: 1.211500 (+0.05%)"}},
        {{"--print", "--base", "GBP", "--amount", "125"},
         {"125 British pounds in:", "Euro: 137.21", "Japanese Yen: 17361.42", "US Dollar: 166.23"}},
    };
    for (const Case& c : cases) {
        const ProgramRun run = menu(c.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.output;
        EXPECT_EQ(ProgramLines(run.output), c.expected) << c.arguments.back();
    }
}

TEST_F(MenuPerBase, AStoredBaseTheSiteLacksCountsAsTheDollarAndAGivenOneIsAnError) {
    CFPreferencesSetAppValue(CorvantaSettingsBaseKey(), CFSTR("XYZ"), CorvantaSettingsAppID());
    ASSERT_TRUE(CFPreferencesAppSynchronize(CorvantaSettingsAppID()));
    EXPECT_EQ(ProgramLines(menu({"--print"}).output).front(), "Rates per US dollar:");
    for (const char* base : {"XYZ", "eur", "EURO", ""}) {
        const ProgramRun run = menu({"--print", "--base", base});
        EXPECT_EQ(run.exitCode, 2) << base;
        EXPECT_EQ(ProgramLines(run.output),
                  Lines{"corvanta-menu: the rate site offers no currency " + std::string(base)});
    }
    CFPreferencesSetAppValue(CorvantaSettingsBaseKey(), CFSTR("JPY"), CorvantaSettingsAppID());
    ASSERT_TRUE(CFPreferencesAppSynchronize(CorvantaSettingsAppID()));
    EXPECT_EQ(ProgramLines(menu({"--print"}).output).front(), "Rates per Japanese yen:");
}

TEST_F(MenuPerBase, DrawsTheChartOfEveryChosenCurrency) {
    const std::string picture = (cache_.path() / "chart.png").string();
    const ProgramRun run = menu({"--chart", picture, "--base", "EUR"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string first = DayText(TodayUtc() - std::chrono::days(87));
    const std::string last = DayText(TodayUtc());
    EXPECT_EQ(ProgramLines(run.output),
              (Lines{"British Pound: " + first + " 0.921900 .. " + last + " 0.911000 (64 days)",
                     "Japanese Yen: " + first + " 125.820000 .. " + last + " 126.530000 (64 days)",
                     "US Dollar: " + first + " 1.187600 .. " + last + " 1.211500 (64 days)"}));
    EXPECT_EQ(ReadFile(picture).substr(1, 3), "PNG");
    EXPECT_EQ(menu({"--chart", picture, "--base", "XYZ"}).exitCode, 2);
}
