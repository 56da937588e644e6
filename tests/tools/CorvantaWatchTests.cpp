// SPDX-License-Identifier: MIT
#include "base/Identity.h"
#include "platform/CoreFoundation/CoreFoundation.h"
#include "settings/CorvantaSettings.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/ForkedProcess.h"
#include "tests/support/TemporaryConfigHome.h"
#include "tools/SettingsLine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

CFStringRef app() {
    return CorvantaSettingsAppID();
}

void postPreferencesChanged(CFStringRef object) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDistributedCenter(),
                                         CorvantaSettingsChangedName(), object, nullptr, true);
}

} // namespace

TEST(SettingsLine, PrintsBothKeysWithNullForMissingOrWrongTypes) {
    EXPECT_EQ(SettingsLine(kCFBooleanTrue, CFSTR("Euro,")), R"({"On":true,"Countries":"Euro,"})");
    EXPECT_EQ(SettingsLine(nullptr, nullptr), R"({"On":null,"Countries":null})");
    EXPECT_EQ(SettingsLine(CFSTR("true"), kCFBooleanFalse), R"({"On":null,"Countries":null})");
    EXPECT_EQ(SettingsLine(kCFBooleanFalse, CFSTR("a\"b\\c\n\x01 Złoty,")),
              R"({"On":false,"Countries":"a\"b\\c\n\u0001 Złoty,"})");
}

TEST(CorvantaWatch, HelpExplainsTheOutputAndOptions) {
    ChildProgram watch({CORVANTA_WATCH_PATH, "--help"});
    std::string text;
    while (auto line = watch.readLine(5s))
        text += *line + "\n";
    EXPECT_EQ(watch.waitForExit(5s), 0);
    for (const char* expected :
         {"--once", CORVANTA_CHANGED_NOTIFICATION, CORVANTA_CHANGED_OBJECT, R"({"On":true,)"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;

    ChildProgram wrong({CORVANTA_WATCH_PATH, "--bogus"});
    EXPECT_EQ(wrong.waitForExit(5s), 2);
}

TEST(CorvantaWatch, PrintsTheSettingsAndAgainWhenThePanePosts) {
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "no private session bus";
    TemporaryConfigHome home;
    CFPreferencesSetAppValue(CorvantaSettingsOnKey(), kCFBooleanFalse, app());
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));

    ChildProgram watch({CORVANTA_WATCH_PATH, "--once"});
    EXPECT_EQ(watch.readLine(5s), R"({"On":false,"Countries":null})");

    // What the pane does when the user leaves it.
    CFPreferencesSetAppValue(CorvantaSettingsOnKey(), kCFBooleanTrue, app());
    CFPreferencesSetAppValue(CorvantaSettingsCountriesKey(), CFSTR("Euro,Yen,"), app());
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    postPreferencesChanged(CFSTR("some.other.pane")); // not the pane's notification: ignored
    postPreferencesChanged(CorvantaSettingsChangedObject());

    EXPECT_EQ(watch.readLine(5s), R"({"On":true,"Countries":"Euro,Yen,"})");
    EXPECT_EQ(watch.waitForExit(5s), 0) << "--once ends after the first notification";
}

TEST(CorvantaWatch, HearsAPosterThatExitsRightAfterPosting) {
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "no private session bus";
    TemporaryConfigHome home;
    ChildProgram watch({CORVANTA_WATCH_PATH, "--once"});
    ASSERT_TRUE(watch.readLine(5s));
    // _exit skips every destructor, so the post itself must have sent the signal on its way.
    ForkedProcess pane([] {
        CFPreferencesSetAppValue(CorvantaSettingsCountriesKey(), CFSTR("Euro,"), app());
        CFPreferencesAppSynchronize(app());
        postPreferencesChanged(CorvantaSettingsChangedObject());
        return true;
    });
    ASSERT_TRUE(pane.succeeded());
    EXPECT_EQ(watch.readLine(5s), R"({"On":null,"Countries":"Euro,"})");
}

TEST(CorvantaWatch, PrintsNullForValuesOfTheWrongType) {
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "no private session bus";
    TemporaryConfigHome home;
    CFPreferencesSetAppValue(CorvantaSettingsOnKey(), CFSTR("yes"), app());
    CFPreferencesSetAppValue(CorvantaSettingsCountriesKey(), kCFBooleanTrue, app());
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));

    ChildProgram watch({CORVANTA_WATCH_PATH});
    EXPECT_EQ(watch.readLine(5s), R"({"On":null,"Countries":null})");
    postPreferencesChanged(CorvantaSettingsChangedObject());
    EXPECT_EQ(watch.readLine(5s), R"({"On":null,"Countries":null})");
    EXPECT_FALSE(watch.waitForExit(200ms)) << "without --once it keeps listening";
}

namespace {

// A session bus of the test's own at `socketPath`, ready once it has printed its address.
std::unique_ptr<ChildProgram> startBus(const std::string& socketPath) {
    auto bus = std::make_unique<ChildProgram>(
        std::vector<std::string>{"/usr/bin/dbus-daemon", "--session", "--nofork", "--print-address",
                                 "--address=unix:path=" + socketPath});
    return bus->readLine(5s) ? std::move(bus) : nullptr;
}

// 0 when a post made after the bus restarted reached a listener on the new bus.
int postAcrossABusRestart(const std::string& socketPath) {
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + socketPath).c_str(), 1);
    auto bus = startBus(socketPath);
    if (!bus) return 3;
    postPreferencesChanged(CorvantaSettingsChangedObject()); // connects
    bus.reset(); // the bus goes away, and our connection with it
    unlink(socketPath.c_str());
    bus = startBus(socketPath);
    if (!bus) return 4;

    TemporaryConfigHome home;
    ChildProgram watch({CORVANTA_WATCH_PATH, "--once"});
    if (!watch.readLine(5s)) return 5;
    postPreferencesChanged(CorvantaSettingsChangedObject());
    return watch.readLine(5s) ? 0 : 6;
}

// Runs in a fresh copy of the test program, so that its centre has no connection yet.
[[noreturn]] void checkPostAcrossABusRestart() {
    alarm(20);
    const std::string socketPath = "/tmp/corvanta-restarted-bus-" + std::to_string(getpid());
    const int result = postAcrossABusRestart(socketPath);
    unlink(socketPath.c_str());
    std::exit(result);
}

} // namespace

TEST(CorvantaWatchDeathTest, APostAfterTheBusRestartedStillArrives) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(checkPostAcrossABusRestart(), testing::ExitedWithCode(0), "");
}
