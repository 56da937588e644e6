// SPDX-License-Identifier: MIT
// corvanta-menu as a user meets it: --print against a loopback rate site, and the status item
// on a private Xvfb display and session bus, read through dbusmenu as a panel reads it.
#include "platform/CoreFoundation/CoreFoundation.h"
#include "settings/CorvantaSettings.h"
#include "tests/menu/StatusAreaStandIn.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/LoopbackRateSite.h"
#include "tests/support/RunProgram.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryConfigHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>
#include <tuple>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

namespace {

// What the pane does: write, synchronise, and (when leaving) post.
void storeSettings(CFBooleanRef on, const char* countries) {
    CFStringRef app = CorvantaSettingsAppID();
    CFPreferencesSetAppValue(CorvantaSettingsOnKey(), on, app);
    CFRef<CFStringRef> list(countries ? CFStringCreateWithUTF8(countries) : nullptr);
    CFPreferencesSetAppValue(CorvantaSettingsCountriesKey(), list.get(), app);
    ASSERT_TRUE(CFPreferencesAppSynchronize(app));
}

void leavePane(CFBooleanRef on, const char* countries) {
    storeSettings(on, countries);
    CorvantaSettingsPostChanged();
}

Lines printed(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), CORVANTA_MENU_PATH);
    ChildProgram menu(arguments);
    Lines lines;
    while (auto line = menu.readLine(20s))
        lines.push_back(*line);
    EXPECT_EQ(menu.waitForExit(5s), 0);
    return lines;
}

// The program's resident memory in kB, from /proc.
long residentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmRSS:")) return std::stol(line.substr(6));
    return -1;
}

const char* const kPage[] = {"Euro", "Japanese Yen", "British Pound"}; // rates 1.5, 2.5, 3.5

// A rate site that accepts the request and then sends nothing until it goes.
struct StallingRateSite : LoopbackServer {
    StallingRateSite() {
        routes().Get("/d/USD/table.html", [this](const httplib::Request&, httplib::Response&) {
            while (!stopping())
                std::this_thread::sleep_for(10ms);
        });
        start();
    }
};

} // namespace

TEST(CorvantaMenuPrint, PrintsTheHeaderAndEachChosenCurrencyOnce) {
    TemporaryConfigHome home;
    LoopbackRateSite site(RatePage({kPage[0], kPage[1], kPage[2]}));
    ScopedEnvironment environment;
    environment.set("CORVANTA_RATE_SITE", site.address().c_str());

    storeSettings(kCFBooleanTrue, " Japanese Yen,Euro,,Dollar,Euro ,");
    EXPECT_EQ(printed({"--print"}), (Lines{"Rates per US dollar:", "Japanese Yen: 2.5", "Euro: 1.5",
                                           "Dollar: not on the rate page"}));
    EXPECT_EQ(printed({"--print", "--amount", " 1,250.50 "}),
              (Lines{"1,250.50 US dollars in:", "Japanese Yen: 3126.25", "Euro: 1875.75",
                     "Dollar: not on the rate page"}));

    storeSettings(nullptr, nullptr); // missing: on, and nothing chosen
    EXPECT_EQ(printed({"--print"}), (Lines{"Rates per US dollar:", "No currencies chosen"}));
    storeSettings(kCFBooleanFalse, "Euro,");
    EXPECT_EQ(printed({"--print"}), (Lines{"The rate menu is switched off."}));
}

TEST(CorvantaMenuPrint, APageCannotWriteIntoTheTerminal) {
    TemporaryConfigHome home;
    LoopbackRateSite site(RatePageOf({{"Euro", "1.0\nInjected line: 999.99"},
                                      {"Yen", "\x1b]0;owned\x07"},
                                      {"Pound\x1b[2J", "2.5"}}));
    ScopedEnvironment environment;
    environment.set("CORVANTA_RATE_SITE", site.address().c_str());
    storeSettings(kCFBooleanTrue, "Euro,Yen,Pound\x1b[2J,");
    EXPECT_EQ(printed({"--print"}), (Lines{"Rates per US dollar:", "Euro: no rate", "Yen: no rate",
                                           "Pound\xE2\x90\x9B[2J: 2.5"}));
}

TEST(CorvantaMenuPrint, SaysSoWhenTheRatesCannotBeLoaded) {
    TemporaryConfigHome home;
    ScopedEnvironment environment;
    environment.set("CORVANTA_RATE_SITE", UnreachableRateSite().c_str());
    storeSettings(kCFBooleanTrue, "Euro,Yen,");
    EXPECT_EQ(printed({"--print"}),
              (Lines{"The exchange rates could not be loaded.", "Euro: no rate", "Yen: no rate"}));
}

TEST(CorvantaMenuPrint, RefusesWrongArgumentsWithTheUsage) {
    for (const Lines& arguments :
         {Lines{"--bogus"}, Lines{"--print", "--amount"}, Lines{"--print", "--amount", "12 apples"},
          Lines{"--amount", "5"}, Lines{"print"}, Lines{"--base", "EUR"},
          Lines{"--print", "--chart", "x.png"}, Lines{"--print", "--base"}}) {
        std::vector<std::string> command{CORVANTA_MENU_PATH};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const ProgramRun run = RunProgram(command);
        EXPECT_EQ(run.exitCode, 2) << arguments.front();
        EXPECT_NE(run.output.find("usage: corvanta-menu [--print [--amount N] | --chart FILE] "
                                  "[--base CODE] [--help]"),
                  std::string::npos);
    }
    const ProgramRun help = RunProgram({CORVANTA_MENU_PATH, "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("--amount N"), std::string::npos);
}

// The menu on a display with a panel standing in: a fresh Xvfb, a watcher on the session bus
// of the test run, the settings in a temporary folder.
class CorvantaMenuInStatusArea : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string unusable = UseDisplayWithSessionBus(display, environment);
        if (!unusable.empty()) GTEST_SKIP() << unusable;
    }

    // Starts the menu and waits until it has registered with the panel.
    void startMenu() {
        menu = std::make_unique<ChildProgram>(std::vector<std::string>{CORVANTA_MENU_PATH});
        auto item = watcher->registration(1, 15s);
        ASSERT_TRUE(item) << "the menu did not register with the StatusNotifierWatcher";
        reader = std::make_unique<StatusItemReader>(item->service);
    }

    // The menu's entries once `ready` holds for them, or the last ones after `patience`.
    template <class Predicate>
    std::vector<DBusMenuEntry> menuWhen(Predicate ready, std::chrono::milliseconds patience) {
        const auto deadline = Clock::now() + patience;
        std::vector<DBusMenuEntry> entries = reader->menu();
        while (!ready(entries) && Clock::now() < deadline) {
            std::this_thread::sleep_for(20ms);
            entries = reader->menu();
        }
        return entries;
    }
    static auto headerIs(const std::string& text) {
        return [text](const std::vector<DBusMenuEntry>& entries) {
            return !entries.empty() && entries.front().label == text;
        };
    }

    TemporaryConfigHome home;
    XvfbDisplay display;
    ScopedEnvironment environment;
    std::unique_ptr<StatusNotifierWatcherStandIn> watcher =
        std::make_unique<StatusNotifierWatcherStandIn>();
    std::unique_ptr<ChildProgram> menu;
    std::unique_ptr<StatusItemReader> reader;
};

TEST_F(CorvantaMenuInStatusArea, ShowsTheRatesAndFollowsThePaneWithinASecond) {
    LoopbackRateSite site(RatePage({kPage[0], kPage[1], kPage[2]}));
    environment.set("CORVANTA_RATE_SITE", site.address().c_str());
    storeSettings(kCFBooleanTrue, "Euro,Dollar,");
    startMenu();
    if (HasFatalFailure()) return;

    const std::vector<DBusMenuEntry> tail{{"", true, true},           {"Rates per", true, false},
                                          {"Chart…", true, false},    {"Refresh", true, false},
                                          {"Settings…", true, false}, {"Quit", true, false}};
    std::vector<DBusMenuEntry> expected{{"Rates per US dollar:", false, false},
                                        {"Euro: 1.5", true, false},
                                        {"Dollar: not on the rate page", false, false}};
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(menuWhen(headerIs("Rates per US dollar:"), 10s), expected);
    EXPECT_EQ(reader->title(), "Corvanta");
    EXPECT_EQ(reader->toolTipTitle(), "Corvanta exchange rates");
    EXPECT_EQ(reader->status(), "Active");
    std::this_thread::sleep_for(1s);
    std::cout << "resident memory of the idle menu: " << residentKilobytes(menu->pid()) << " kB\n";

    // The user chooses other currencies in the pane and leaves it.
    const auto left = Clock::now();
    leavePane(kCFBooleanTrue, "British Pound,Japanese Yen,British Pound,");
    expected = {{"Rates per US dollar:", false, false},
                {"British Pound: 3.5", true, false},
                {"Japanese Yen: 2.5", true, false}};
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(menuWhen([&](const auto& entries) { return entries == expected; }, 1s), expected);
    std::cout << "menu followed the pane after "
              << std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - left).count()
              << " ms\n";

    // Switched off: the item leaves the status area; switched on, it comes back.
    leavePane(kCFBooleanFalse, "Euro,");
    const auto deadline = Clock::now() + 1s;
    bool gone = false;
    while (!gone && Clock::now() < deadline) {
        gone = !reader->serviceHasOwner();
        if (!gone) std::this_thread::sleep_for(20ms);
    }
    EXPECT_TRUE(gone) << "the item still answers after On was switched off";
    leavePane(kCFBooleanTrue, "Euro,");
    auto again = watcher->registration(2, 2s);
    ASSERT_TRUE(again) << "the item did not come back when On was switched on";
    reader = std::make_unique<StatusItemReader>(again->service);
    EXPECT_EQ(menuWhen(headerIs("Rates per US dollar:"), 2s).at(1).label, "Euro: 1.5");

    menu->signal(SIGTERM);
    EXPECT_EQ(menu->waitForExit(5s), 0);
}

// A history document as the rate site writes it: two days, each currency's two rates.
std::string historyOf(const std::string& base,
                      std::vector<std::tuple<std::string, std::string, std::string>> rates) {
    std::string names, values;
    for (const auto& [code, name, days] : rates) {
        names += std::string(names.empty() ? "" : ", ") + "\"" + code + "\": \"" + name + "\"";
        values += std::string(values.empty() ? "" : ", ") + "\"" + code + "\": [" + days + "]";
    }
    return "{\"base\": \"" + base + "\", \"days\": [\"2026-12-08\", \"2026-12-09\"], \"names\": {" +
           names + "}, \"rates\": {" + values + "}}";
}

TEST_F(CorvantaMenuInStatusArea, ChangesItsBaseFromTheRatesPerSubmenu) {
    LoopbackRateSite site(RatePage({"Euro", "Japanese Yen"})); // per dollar: 1.5, 2.5
    site.serve("/d/USD/history.json", historyOf("USD", {{"EUR", "Euro", "1.4, 1.5"},
                                                        {"JPY", "Japanese Yen", "2.5, 2.5"}}));
    site.serve("/d/EUR/table.html", RatePage({"Japanese Yen", "US Dollar"})); // 1.5, 2.5
    site.serve("/d/EUR/history.json", historyOf("EUR", {{"JPY", "Japanese Yen", "1.5, 1.5"},
                                                        {"USD", "US Dollar", "2.0, 2.5"}}));
    environment.set("CORVANTA_RATE_SITE", site.address().c_str());
    storeSettings(kCFBooleanTrue, "Euro,Japanese Yen,US Dollar,");
    startMenu();
    if (HasFatalFailure()) return;

    // The header, Euro, Japanese Yen (US Dollar is the base: left out), a separator, the submenu.
    std::vector<DBusMenuEntry> entries = menuWhen(
        [](const auto& all) {
            return all.size() > 4 && all[0].label == "Rates per US dollar:" &&
                   all[4].children.size() == 3;
        },
        10s);
    ASSERT_GT(entries.size(), 4u);
    EXPECT_EQ(entries[0].label, "Rates per US dollar:");
    EXPECT_EQ(entries[1].label, "Euro: 1.5 (+7.14%)");
    EXPECT_EQ(entries[2].label, "Japanese Yen: 2.5 (0.00%)");
    EXPECT_EQ(entries[4].label, "Rates per");
    // Every currency the site offers, sorted by name, the current base checked.
    const std::vector<DBusMenuEntry>& bases = entries[4].children;
    ASSERT_EQ(bases.size(), 3u) << "no submenu";
    EXPECT_EQ(bases[0].label, "Euro");
    EXPECT_EQ(bases[1].label, "Japanese Yen");
    EXPECT_EQ(bases[2].label, "US Dollar");
    EXPECT_TRUE(bases[2].checked);
    EXPECT_FALSE(bases[0].checked);

    reader->click(bases[0].id);
    entries = menuWhen(headerIs("Rates per euro:"), 5s);
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ(entries[0].label, "Rates per euro:");
    EXPECT_EQ(entries[1].label, "Japanese Yen: 1.5 (0.00%)");
    EXPECT_EQ(entries[2].label, "US Dollar: 2.5 (+25.00%)");
    CFPreferencesAppSynchronize(CorvantaSettingsAppID());
    EXPECT_EQ(CorvantaSettingsReadBase(), "EUR") << "the choice is stored";

    // A base stored elsewhere (another instance, a script) is followed when the menu opens.
    CFPreferencesSetAppValue(CorvantaSettingsBaseKey(), CFSTR("USD"), CorvantaSettingsAppID());
    ASSERT_TRUE(CFPreferencesAppSynchronize(CorvantaSettingsAppID()));
    reader->aboutToShow();
    EXPECT_EQ(menuWhen(headerIs("Rates per US dollar:"), 5s).at(0).label, "Rates per US dollar:");
}

TEST_F(CorvantaMenuInStatusArea, AFloodOfNotificationsLeavesItAnsweringAndSmall) {
    LoopbackRateSite site(RatePage({"Euro", "A&B"}));
    environment.set("CORVANTA_RATE_SITE", site.address().c_str());
    storeSettings(kCFBooleanTrue, "A&B,Euro,");
    startMenu();
    if (HasFatalFailure()) return;
    // A name's "&" shows as itself, not as a mnemonic. dbusmenu marks a mnemonic with "_",
    // which the panel does not show: "A_&B" reads "A&B" ("A_B", as before, read "AB").
    ASSERT_EQ(menuWhen(headerIs("Rates per US dollar:"), 10s).at(1).label, "A_&B: 2.5");
    const long before = residentKilobytes(menu->pid());

    constexpr int kNotifications = 100'000;
    std::atomic<bool> posted{false};
    std::thread flood([&] {
        for (int i = 0; i < kNotifications; ++i)
            CorvantaSettingsPostChanged();
        posted = true;
    });
    std::chrono::milliseconds slowest{0};
    const auto until = Clock::now() + 60s;
    bool settled = false;
    while (!settled && Clock::now() < until) {
        const bool done = posted; // one more answer after the last post
        const auto start = Clock::now();
        try {
            reader->menu();
        } catch (const std::exception&) { // no answer within its time-out
        }
        slowest = std::max(
            slowest, std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start));
        settled = done;
        std::this_thread::sleep_for(50ms);
    }
    flood.join();
    std::this_thread::sleep_for(2s); // what was still queued is handled
    const long after = residentKilobytes(menu->pid());
    std::cout << kNotifications << " notifications: slowest GetLayout " << slowest.count()
              << " ms, resident memory " << before << " kB before, " << after << " kB after\n";
    EXPECT_LT(slowest, 2s);
    EXPECT_LT(after - before, 20'000) << "kB grown";
    EXPECT_EQ(reader->menu().at(1).label, "A_&B: 2.5");
}

TEST_F(CorvantaMenuInStatusArea, ConvertsTheSelectedAmountWhenTheMenuOpens) {
    LoopbackRateSite site(RatePage({kPage[0], kPage[1]}));
    environment.set("CORVANTA_RATE_SITE", site.address().c_str());
    storeSettings(kCFBooleanTrue, "Japanese Yen,Euro,");
    startMenu();
    if (HasFatalFailure()) return;
    ASSERT_EQ(menuWhen(headerIs("Rates per US dollar:"), 10s).at(1).label, "Japanese Yen: 2.5");

    ChildProgram selection({SELECTION_OWNER_PATH, " 1,250.50 "});
    ASSERT_EQ(selection.readLine(10s), "ready");
    reader->aboutToShow();
    const std::vector<DBusMenuEntry> entries = menuWhen(headerIs("1,250.50 US dollars in:"), 2s);
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ(entries[0].label, "1,250.50 US dollars in:");
    EXPECT_EQ(entries[1].label, "Japanese Yen: 3126.25");
    EXPECT_EQ(entries[2].label, "Euro: 1875.75");
}

TEST_F(CorvantaMenuInStatusArea, ShowsTheItemWhenAStatusAreaAppearsLater) {
    watcher.reset();
    LoopbackRateSite site(RatePage({kPage[0]}));
    environment.set("CORVANTA_RATE_SITE", site.address().c_str());
    storeSettings(kCFBooleanTrue, "Euro,");
    menu = std::make_unique<ChildProgram>(std::vector<std::string>{CORVANTA_MENU_PATH});
    std::this_thread::sleep_for(1s);
    watcher = std::make_unique<StatusNotifierWatcherStandIn>();
    auto item = watcher->registration(1, 10s);
    ASSERT_TRUE(item) << "the menu did not register with a watcher that came later";
    reader = std::make_unique<StatusItemReader>(item->service);
    EXPECT_EQ(menuWhen(headerIs("Rates per US dollar:"), 5s).at(1).label, "Euro: 1.5");
    // It started itself afresh to be seen, and still goes by its own name.
    const std::string proc = "/proc/" + std::to_string(menu->pid());
    std::string comm, firstArgument;
    std::getline(std::ifstream(proc + "/comm"), comm);
    std::getline(std::ifstream(proc + "/cmdline"), firstArgument, '\0');
    EXPECT_EQ(comm, std::filesystem::path(CORVANTA_MENU_PATH).filename().string().substr(0, 15));
    EXPECT_EQ(firstArgument, CORVANTA_MENU_PATH);
}

TEST_F(CorvantaMenuInStatusArea, AnswersThePanelWhileTheRateSiteStalls) {
    StallingRateSite stalling;
    environment.set("CORVANTA_RATE_SITE", stalling.site().c_str());
    environment.set("CORVANTA_FETCH_TIMEOUT", "3");
    storeSettings(kCFBooleanTrue, "Euro,");
    startMenu();
    if (HasFatalFailure()) return;

    // For the whole time-out every GetLayout is answered at once, and says it is loading.
    std::chrono::microseconds slowest{0};
    int calls = 0;
    std::vector<DBusMenuEntry> entries;
    const auto giveUp = Clock::now() + 10s;
    do {
        const auto start = Clock::now();
        if (calls % 5 == 0) reader->aboutToShow();
        entries = reader->menu();
        slowest = std::max(
            slowest, std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start));
        ++calls;
        ASSERT_GE(entries.size(), 2u);
        if (entries[0].label != "Loading…") break;
        std::this_thread::sleep_for(50ms);
    } while (Clock::now() < giveUp);
    std::cout << "slowest of " << calls
              << " GetLayout calls during a stalled fetch: " << slowest.count() / 1000.0 << " ms\n";
    RecordProperty("SlowestGetLayoutMicroseconds", std::to_string(slowest.count()));
    EXPECT_LT(slowest, 100ms);
    EXPECT_GT(calls, 20);
    EXPECT_EQ(entries[0].label, "The exchange rates could not be loaded.");
    EXPECT_EQ(entries[1].label, "Euro: no rate");
}

TEST_F(CorvantaMenuInStatusArea, EndsAtOnceOnSigtermWhileAFetchHangs) {
    StallingRateSite stalling;
    environment.set("CORVANTA_RATE_SITE", stalling.site().c_str());
    environment.set("CORVANTA_FETCH_TIMEOUT", "20");
    startMenu();
    if (HasFatalFailure()) return;
    ASSERT_EQ(reader->menu().at(0).label, "Loading…");
    const auto asked = Clock::now();
    menu->signal(SIGTERM);
    EXPECT_EQ(menu->waitForExit(5s), 0);
    EXPECT_LT(Clock::now() - asked, 3s);
}

// One item per user and session: a second start says so and leaves the first alone, while
// --print still runs beside it.
TEST_F(CorvantaMenuInStatusArea, ASecondStartLeavesOneItemAndExits) {
    LoopbackRateSite site(RatePage({kPage[0]}));
    environment.set("CORVANTA_RATE_SITE", site.address().c_str());
    storeSettings(kCFBooleanTrue, "Euro,");
    startMenu();
    if (HasFatalFailure()) return;

    const auto started = Clock::now();
    const ProgramRun second = RunProgram({CORVANTA_MENU_PATH});
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
    std::cout << "second start to exit: " << took.count() << " ms\n";
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_NE(second.output.find("corvanta-menu: already running\n"), std::string::npos)
        << second.output;
    EXPECT_LT(took, 2s);
    EXPECT_FALSE(watcher->registration(2, 1s)) << "a second item registered";
    EXPECT_EQ(menuWhen(headerIs("Rates per US dollar:"), 10s).at(1).label, "Euro: 1.5");

    const ProgramRun printed = RunProgram({CORVANTA_MENU_PATH, "--print"});
    EXPECT_EQ(printed.exitCode, 0);
    EXPECT_NE(printed.output.find("Euro: 1.5"), std::string::npos) << printed.output;
}
