#include "platform/CoreFoundation/CoreFoundation.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/ForkedProcess.h"
#include "tests/support/TemporaryConfigHome.h"
#include "tools/SettingsLine.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace std::chrono_literals;

namespace {

CFStringRef app() {
    return CFSTR("com.brenwick.Corvanta");
}

void postPreferencesChanged(CFStringRef object) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDistributedCenter(),
                                         CFSTR("Preferences Changed"), object, nullptr, true);
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
         {"--once", "Preferences Changed", "com.brenwick.preference.Corvanta", R"({"On":true,)"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;

    ChildProgram wrong({CORVANTA_WATCH_PATH, "--bogus"});
    EXPECT_EQ(wrong.waitForExit(5s), 2);
}

TEST(CorvantaWatch, PrintsTheSettingsAndAgainWhenThePanePosts) {
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "no private session bus";
    TemporaryConfigHome home;
    CFPreferencesSetAppValue(CFSTR("On"), kCFBooleanFalse, app());
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));

    ChildProgram watch({CORVANTA_WATCH_PATH, "--once"});
    EXPECT_EQ(watch.readLine(5s), R"({"On":false,"Countries":null})");

    // What the pane does when the user leaves it.
    CFPreferencesSetAppValue(CFSTR("On"), kCFBooleanTrue, app());
    CFPreferencesSetAppValue(CFSTR("Countries"), CFSTR("Euro,Yen,"), app());
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    postPreferencesChanged(CFSTR("some.other.pane")); // not the pane's notification: ignored
    postPreferencesChanged(CFSTR("com.brenwick.preference.Corvanta"));

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
        CFPreferencesSetAppValue(CFSTR("Countries"), CFSTR("Euro,"), app());
        CFPreferencesAppSynchronize(app());
        postPreferencesChanged(CFSTR("com.brenwick.preference.Corvanta"));
        return true;
    });
    ASSERT_TRUE(pane.succeeded());
    EXPECT_EQ(watch.readLine(5s), R"({"On":null,"Countries":"Euro,"})");
}

TEST(CorvantaWatch, PrintsNullForValuesOfTheWrongType) {
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "no private session bus";
    TemporaryConfigHome home;
    CFPreferencesSetAppValue(CFSTR("On"), CFSTR("yes"), app());
    CFPreferencesSetAppValue(CFSTR("Countries"), kCFBooleanTrue, app());
    ASSERT_TRUE(CFPreferencesAppSynchronize(app()));

    ChildProgram watch({CORVANTA_WATCH_PATH});
    EXPECT_EQ(watch.readLine(5s), R"({"On":null,"Countries":null})");
    postPreferencesChanged(CFSTR("com.brenwick.preference.Corvanta"));
    EXPECT_EQ(watch.readLine(5s), R"({"On":null,"Countries":null})");
    EXPECT_FALSE(watch.waitForExit(200ms)) << "without --once it keeps listening";
}
