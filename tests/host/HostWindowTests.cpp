// SPDX-License-Identifier: MIT
// corvanta-prefs on a display of its own (Xvfb, no window manager) and a private session bus:
// how it ends when asked to during a fetch, and that a second start brings the first forward.
#include "base/Identity.h"
#include "tests/host/TestPaneBundle.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/RunProgram.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryConfigHome.h"
#include "tests/support/X11Windows.h"
#include "tests/support/XvfbDisplay.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <iostream>
#include <thread>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

template <class Predicate>
bool eventually(Predicate condition, std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    while (!condition() && Clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    return condition();
}

class HostOnDisplay : public testing::Test {
protected:
    void SetUp() override {
        const std::string unusable = UseDisplayWithSessionBus(display, environment);
        if (!unusable.empty()) GTEST_SKIP() << unusable;
        windows = std::make_unique<X11Windows>(display.name());
        ASSERT_TRUE(windows->connected());
    }

    // The one window titled `title` once it is on screen.
    xcb_window_t windowWhenShown(const std::string& title) {
        eventually([&] { return !windows->shown(title).empty(); }, 15s);
        const std::vector<xcb_window_t> shown = windows->shown(title);
        return shown.size() == 1 ? shown.front() : XCB_NONE;
    }

    TemporaryConfigHome home;
    XvfbDisplay display;
    ScopedEnvironment environment;
    std::unique_ptr<X11Windows> windows;
};

} // namespace

// A site that takes the request and answers nothing for far longer than the bound below: a
// stop request cuts the fetch short, the pane is left as always (its settings stored), and the
// process is gone within a second of the request.
TEST_F(HostOnDisplay, AStopRequestDuringAStalledFetchEndsTheHostAtOnce) {
    std::atomic<bool> asked = false;
    LoopbackServer stalled;
    stalled.routes().Get("/d/USD/table.html", [&](const httplib::Request&, httplib::Response&) {
        asked = true;
        for (int i = 0; i < 2000 && !stalled.stopping(); ++i)
            std::this_thread::sleep_for(10ms);
    });
    stalled.start();
    environment.set("CORVANTA_RATE_SITE", stalled.site().c_str());
    environment.set("CORVANTA_FETCH_TIMEOUT", "20");

    for (const char* request : {"close", "SIGTERM"}) {
        SCOPED_TRACE(request);
        std::filesystem::remove(home.preferencesFile(CORVANTA_APPLICATION_ID));
        asked = false;
        ChildProgram host({CORVANTA_PREFS_PATH, CORVANTA_PANE_BUNDLE});
        const xcb_window_t window = windowWhenShown("Corvanta");
        ASSERT_NE(window, XCB_NONE);
        ASSERT_TRUE(eventually([&] { return asked.load(); }, 15s));
        std::this_thread::sleep_for(300ms); // well inside the wait
        const auto requested = Clock::now();
        if (request == std::string("close"))
            windows->requestClose(window);
        else
            host.signal(SIGTERM);
        EXPECT_EQ(host.waitForExit(10s), 0);
        const auto took =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - requested);
        std::cout << request << " during the fetch to exit: " << took.count() << " ms\n";
        EXPECT_LT(took, 1s);
        EXPECT_TRUE(std::filesystem::exists(home.preferencesFile(CORVANTA_APPLICATION_ID)))
            << "the pane was left";
        EXPECT_TRUE(windows->shown("Corvanta").empty());
    }
}

// One settings window per user and session: a second start brings the first back from being
// minimised, gives it the focus and exits at once; a picture is still drawn on its own.
TEST_F(HostOnDisplay, ASecondStartBringsTheFirstWindowForwardAndExits) {
    TestBundle bundle(kTestPaneInfo, true, true);
    ChildProgram first({CORVANTA_PREFS_PATH, bundle.path()});
    ASSERT_EQ(first.readLine(15s), "mainViewDidLoad");
    ASSERT_EQ(first.readLine(15s), "willSelect");
    const xcb_window_t window = windowWhenShown("Test");
    ASSERT_NE(window, XCB_NONE);
    windows->minimise(window);
    ASSERT_TRUE(eventually([&] { return !windows->isViewable(window); }, 5s));
    std::this_thread::sleep_for(500ms); // the host has seen its new state

    const auto started = Clock::now();
    const ProgramRun second = RunProgram({CORVANTA_PREFS_PATH, bundle.path()});
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
    std::cout << "second start to exit: " << took.count() << " ms\n";
    EXPECT_EQ(second.exitCode, 0) << second.output;
    EXPECT_LT(took, 2s);
    EXPECT_EQ(second.output.find("willSelect"), std::string::npos) << "no second pane";

    EXPECT_TRUE(eventually([&] { return windows->isViewable(window); }, 5s));
    EXPECT_TRUE(eventually([&] { return windows->focus() == window; }, 5s));
    EXPECT_EQ(windows->named("Test").size(), 1u);

    const std::string picture = (std::filesystem::temp_directory_path() /
                                 ("corvanta-host-" + std::to_string(getpid()) + ".png"))
                                    .string();
    const ProgramRun drawn =
        RunProgram({CORVANTA_PREFS_PATH, "--screenshot", picture, bundle.path()});
    std::filesystem::remove(picture);
    EXPECT_EQ(drawn.exitCode, 0) << drawn.output;
    EXPECT_NE(drawn.output.find("willSelect"), std::string::npos) << drawn.output;

    first.signal(SIGTERM);
    EXPECT_EQ(first.readLine(10s), "didUnselect");
    EXPECT_EQ(first.waitForExit(10s), 0);
}
