// SPDX-License-Identifier: MIT
#include "base/Identity.h"
#include "settings/CorvantaSettings.h"
#include "tests/host/TestPaneBundle.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/LoopbackRateSite.h"
#include "tests/support/RunProgram.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryConfigHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

ProgramRun screenshot(const std::string& bundle, const std::string& picture) {
    return RunProgram({CORVANTA_PREFS_PATH, "--screenshot", picture, bundle});
}

std::string picturePath() {
    return (fs::temp_directory_path() / ("corvanta-host-" + std::to_string(getpid()) + ".png"))
        .string();
}

} // namespace

TEST(Host, RunsTheLifeCycleOffScreenAndSavesThePicture) {
    TestBundle bundle(kTestPaneInfo, true, true);
    const std::string picture = picturePath();
    ProgramRun run = screenshot(bundle.path(), picture);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("mainViewDidLoad\nwillSelect\nField: \"selected\"\ndidUnselect\n"),
              std::string::npos)
        << run.output;
    std::ifstream png(picture, std::ios::binary);
    char magic[4] = {};
    png.read(magic, 4);
    EXPECT_EQ(std::string(magic + 1, 3), "PNG");
    fs::remove(picture);
}

TEST(Host, ABundleThatCannotBeLoadedIsAClearError) {
    struct Case {
        std::string info;
        bool library, view;
        std::string message;
    } cases[] = {
        {kTestPaneInfo, false, true, "cannot load the pane's library"},
        {"<key>NSPrincipalClass</key><string>Missing</string>", true, true, "no class Missing"},
        {"<key>NSPrincipalClass</key><string>TestPane</string>", true, true, "no NSMainNibFile"},
        {kTestPaneInfo, true, false, "no interface file Resources/Test.ui"},
    };
    for (const Case& c : cases) {
        TestBundle bundle(c.info, c.library, c.view);
        ProgramRun run = screenshot(bundle.path(), picturePath());
        EXPECT_EQ(run.exitCode, 1) << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("willSelect"), std::string::npos) << run.output;
    }
    ProgramRun run = screenshot("/nonexistent/Test.prefPane", picturePath());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("/nonexistent/Test.prefPane: not a pane bundle"), std::string::npos)
        << run.output;
}

TEST(Host, FindsTheCorvantaPaneOnThePanePath) {
    TestBundle bundle(std::string(kTestPaneInfo) + "<key>CFBundleIdentifier</key>"
                                                   "<string>" CORVANTA_PANE_BUNDLE_ID "</string>",
                      true, true);
    ScopedEnvironment environment;
    environment.set("CORVANTA_PANE_PATH", bundle.folder().c_str());
    const std::string picture = picturePath();
    ProgramRun run = RunProgram({CORVANTA_PREFS_PATH, "--screenshot", picture});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("willSelect"), std::string::npos) << run.output;
    fs::remove(picture);
}

TEST(Host, LeavesThePaneOnSigterm) {
    TestBundle bundle(kTestPaneInfo, true, true);
    ScopedEnvironment environment;
    environment.set("QT_QPA_PLATFORM", "offscreen"); // "shown", but on no real display
    ChildProgram host({CORVANTA_PREFS_PATH, bundle.path()});
    EXPECT_EQ(host.readLine(10s), "mainViewDidLoad");
    EXPECT_EQ(host.readLine(10s), "willSelect");
    host.signal(SIGTERM);
    EXPECT_EQ(host.readLine(10s), "didUnselect");
    EXPECT_EQ(host.waitForExit(10s), 0);
}

TEST(Host, ShowsTheCorvantaPaneFilledFromTheRateSite) {
    TemporaryConfigHome home;
    LoopbackRateSite site(RatePage({"Euro", "Japanese Yen"}));
    ScopedEnvironment environment;
    environment.set("CORVANTA_RATE_SITE", site.address().c_str());
    const std::string picture = picturePath();
    ProgramRun run = screenshot(CORVANTA_PANE_BUNDLE, picture);

    EXPECT_EQ(run.exitCode, 0) << run.output;
    for (const char* shown :
         {"Show exchange rates in the menu: on\n",
          "Available currencies: 2 rows: Euro, Japanese Yen\n", "Currencies in the menu: \"\"\n",
          "Version: \"Corvanta " CORVANTA_VERSION "\"\n"})
        EXPECT_NE(run.output.find(shown), std::string::npos) << shown << "\n" << run.output;
    EXPECT_TRUE(fs::exists(picture));
    // Leaving the pane stored its settings.
    EXPECT_TRUE(
        fs::exists(home.preferencesFile(std::string(CFStringGetUTF8(CorvantaSettingsAppID())))));
    fs::remove(picture);
}

TEST(Host, TheSummaryPrintsHostileTextsEscaped) {
    TemporaryConfigHome home;
    const std::string stored = "\x1b]0;owned\x07,\x1b[2J,";
    fs::create_directories(home.preferencesFolder());
    std::ofstream(home.preferencesFile(CORVANTA_APPLICATION_ID))
        << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Countries</key><string>"
        << stored << "</string></dict></plist>";
    LoopbackRateSite site(RatePage({"\xe2\x80\xae"
                                    "oruE",
                                    "C1\xc2\x9b"
                                    "2J",
                                    "Yen"}));
    ScopedEnvironment environment;
    environment.set("CORVANTA_RATE_SITE", site.address().c_str());
    const std::string picture = picturePath();
    ProgramRun run = screenshot(CORVANTA_PANE_BUNDLE, picture);
    fs::remove(picture);

    EXPECT_EQ(run.exitCode, 0) << run.output;
    for (const char* control : {"\x1b", "\x07", "\xe2\x80\xae", "\xc2\x9b"})
        EXPECT_EQ(run.output.find(control), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Currencies in the menu: \"\\u001b]0;owned\\u0007,\\u001b[2J,\""),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Available currencies: 2 rows: <U+202E>oruE, Yen"), std::string::npos)
        << run.output;
}

TEST(Host, AFailedSaveIsToldInTheWindowAndTheSummary) {
    TemporaryConfigHome home;
    const fs::path blocked = home.path() / "config-is-a-file";
    std::ofstream(blocked) << "in the way";
    LoopbackRateSite site(RatePage({"Euro"}));
    ScopedEnvironment environment;
    environment.set("CORVANTA_RATE_SITE", site.address().c_str());
    environment.set("XDG_CONFIG_HOME", blocked.c_str());
    const std::string picture = picturePath();
    ProgramRun run = screenshot(CORVANTA_PANE_BUNDLE, picture);
    fs::remove(picture);

    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Message: \"The settings could not be saved: cannot create the "
                              "folder " +
                              blocked.string() + ": Not a directory\""),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("CFPreferences: the preferences of " CORVANTA_APPLICATION_ID
                              " could not be synchronised"),
              std::string::npos)
        << run.output;
}

// The pane only logs a failed fetch; the host tells it above the pane, with the reason the URL
// loader gave, and the summary says the same.
TEST(Host, AFailedFetchIsToldInTheWindowAndTheSummary) {
    TemporaryConfigHome home;
    LoopbackServer failing;
    failing.routes().Get("/d/USD/table.html", [&](const httplib::Request&, httplib::Response& res) {
        res.status = 500;
    });
    failing.routes().Get("/stalled/d/USD/table.html",
                         [&](const httplib::Request&, httplib::Response& res) {
                             for (int i = 0; i < 500 && !failing.stopping(); ++i)
                                 std::this_thread::sleep_for(10ms);
                             res.set_content("late", "text/html");
                         });
    failing.start();
    const struct {
        std::string site;
        const char* reason;
    } cases[] = {
        {UnreachableRateSite(), "Couldn't connect to server"},
        {failing.url("/stalled"), "Timeout was reached"},
        {failing.site(), "the server answered with status 500"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.site);
        ScopedEnvironment environment;
        environment.set("CORVANTA_RATE_SITE", c.site.c_str());
        environment.set("CORVANTA_FETCH_TIMEOUT", "1");
        const std::string picture = picturePath();
        ProgramRun run = screenshot(CORVANTA_PANE_BUNDLE, picture);
        fs::remove(picture);
        EXPECT_EQ(run.exitCode, 0) << run.output;
        EXPECT_NE(run.output.find("Available currencies: 0 rows\n"), std::string::npos)
            << run.output;
        EXPECT_NE(
            run.output.find(std::string("Message: \"The exchange rates could not be loaded: ") +
                            c.reason + "\"\n"),
            std::string::npos)
            << run.output;
    }
    // A fetch that works shows no message.
    LoopbackRateSite site(RatePage({"Euro"}));
    ScopedEnvironment environment;
    environment.set("CORVANTA_RATE_SITE", site.address().c_str());
    const std::string picture = picturePath();
    ProgramRun run = screenshot(CORVANTA_PANE_BUNDLE, picture);
    fs::remove(picture);
    EXPECT_EQ(run.output.find("Message:"), std::string::npos) << run.output;
}
