// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CoreFoundation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;

namespace {

// A notification of the tests' own, and its sender.
const CFStringRef kChanged = CFSTR("Sample Changed");
const CFStringRef kSender = CFSTR("com.example.sender");

struct Seen {
    std::vector<std::string> names;
    std::vector<std::string> objects;
    bool stopAfterFirst = false;
};

void record(CFNotificationCenterRef center, void* observer, CFNotificationName name,
            const void* object, CFDictionaryRef userInfo) {
    auto* seen = static_cast<Seen*>(observer);
    EXPECT_EQ(center, CFNotificationCenterGetDistributedCenter());
    EXPECT_EQ(userInfo, nullptr);
    seen->names.emplace_back(CFStringGetUTF8(name));
    seen->objects.emplace_back(object ? CFStringGetUTF8(static_cast<CFStringRef>(object))
                                      : "<none>");
    if (seen->stopAfterFirst) CFRunLoopStop(CFRunLoopGetCurrent());
}

// Tests that need the bus run under scripts/run-tests, which gives them a private session.
#define REQUIRE_SESSION_BUS()                                                                      \
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "no private session bus"

void post(CFStringRef name, CFStringRef object) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDistributedCenter(), name, object,
                                         nullptr, true);
}

// Runs the loop until `count` notifications came or five seconds passed.
void runUntil(const Seen& seen, size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (seen.names.size() < count && std::chrono::steady_clock::now() < deadline)
        CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.5, true);
}

} // namespace

TEST(CFNotificationCenter, ObserversGetTheNotificationsTheirFilterNames) {
    REQUIRE_SESSION_BUS();
    auto* center = CFNotificationCenterGetDistributedCenter();
    Seen exact, anyName, anyObject;
    CFNotificationCenterAddObserver(center, &exact, record, kChanged, kSender,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    CFNotificationCenterAddObserver(center, &anyName, record, nullptr, kSender,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    CFNotificationCenterAddObserver(center, &anyObject, record, kChanged, nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);

    post(kChanged, CFSTR("some.other.sender"));
    post(CFSTR("Something Else"), kSender);
    post(kChanged, nullptr);
    post(kChanged, kSender);
    runUntil(exact, 1);
    runUntil(anyObject, 3);
    EXPECT_EQ(exact.names, std::vector<std::string>{"Sample Changed"});
    EXPECT_EQ(anyName.names, (std::vector<std::string>{"Something Else", "Sample Changed"}));
    EXPECT_EQ(anyObject.objects,
              (std::vector<std::string>{"some.other.sender", "<none>", "com.example.sender"}));

    // Removed observers are not called again; once none is left the loop has nothing to wait for.
    CFNotificationCenterRemoveObserver(center, &exact, kChanged, nullptr);
    CFNotificationCenterRemoveEveryObserver(center, &anyName);
    post(kChanged, kSender);
    runUntil(anyObject, 4);
    EXPECT_EQ(exact.names.size(), 1u);
    EXPECT_EQ(anyName.names.size(), 2u);
    EXPECT_EQ(anyObject.names.size(), 4u);
    CFNotificationCenterRemoveEveryObserver(center, &anyObject);
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 5.0, false), kCFRunLoopRunFinished);
}

TEST(CFNotificationCenter, TheRunLoopTimesOutAndStopsWhenAskedTo) {
    REQUIRE_SESSION_BUS();
    auto* center = CFNotificationCenterGetDistributedCenter();
    Seen seen;
    seen.stopAfterFirst = true;
    CFNotificationCenterAddObserver(center, &seen, record, CFSTR("Stop Now"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.1, false), kCFRunLoopRunTimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    post(CFSTR("Stop Now"), nullptr);
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 5.0, false), kCFRunLoopRunStopped);
    EXPECT_EQ(seen.names.size(), 1u);
    CFNotificationCenterRemoveEveryObserver(center, &seen);
}

// A listener's run loop on one thread, posts from another: the post reads the bus socket the
// loop sleeps on, and must still wake it for what it read.
TEST(CFNotificationCenter, APostOnAnotherThreadWakesTheListeningLoop) {
    REQUIRE_SESSION_BUS();
    auto* center = CFNotificationCenterGetDistributedCenter();
    Seen seen;
    CFNotificationCenterAddObserver(center, &seen, record, CFSTR("Across Threads"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    std::atomic<bool> delivered{false};
    std::chrono::steady_clock::duration took{};
    std::thread listener([&] {
        const auto start = std::chrono::steady_clock::now();
        while (seen.names.size() < 3 && std::chrono::steady_clock::now() - start < 10s)
            CFRunLoopRunInMode(kCFRunLoopDefaultMode, 30.0, true);
        took = std::chrono::steady_clock::now() - start;
        delivered = seen.names.size() == 3;
    });
    std::this_thread::sleep_for(100ms); // the loop is asleep on the bus by now
    for (int i = 0; i < 3; ++i) {
        post(CFSTR("Across Threads"), nullptr);
        std::this_thread::sleep_for(50ms);
    }
    listener.join();
    EXPECT_TRUE(delivered);
    EXPECT_LT(took, 3s);
    CFNotificationCenterRemoveEveryObserver(center, &seen);
}

// A unix socket at a fresh path, listening when `listening`, else already closed.
std::string fakeBusAddress(bool listening) {
    const std::string path = "/tmp/corvanta-fake-bus-" + std::to_string(getpid());
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    unlink(path.c_str());
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) std::exit(3);
    if (listening)
        listen(fd, 4); // and never accepts nor answers
    else
        close(fd);
    return "unix:path=" + path;
}

// Posts, then tries to listen, and exits 0 when both gave up at once and cleanly. An alarm kills
// the process if they block.
[[noreturn]] void postAndListenWithBusAt(const std::string& address) {
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    alarm(8);
    post(kChanged, kSender);
    CFNotificationCenterAddObserver(CFNotificationCenterGetDistributedCenter(), nullptr, record,
                                    nullptr, nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    const SInt32 result = CFRunLoopRunInMode(kCFRunLoopDefaultMode, 5.0, false);
    unlink(address.substr(std::string("unix:path=").size()).c_str());
    std::exit(result == kCFRunLoopRunFinished ? 0 : 4);
}

// Each death test runs in a fresh copy of the program, so no earlier connection is reused.
TEST(CFNotificationCenterDeathTest, WithoutASessionBusAPostLogsAndReturns) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(postAndListenWithBusAt(fakeBusAddress(false)), testing::ExitedWithCode(0),
                "no D-Bus session bus, \"Sample Changed\" not posted");
}

TEST(CFNotificationCenterDeathTest, ABusThatNeverAnswersHoldsAPostUpOnlyBriefly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(postAndListenWithBusAt(fakeBusAddress(true)), testing::ExitedWithCode(0),
                "not posted: the session bus does not answer");
}
