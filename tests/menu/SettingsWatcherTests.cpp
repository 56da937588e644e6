// SPDX-License-Identifier: MIT
#include "menu/SettingsWatcher.h"
#include "platform/CoreFoundation/CoreFoundation.h"
#include "settings/CorvantaSettings.h"
#include "tests/support/ForkedProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Counts the watcher's calls, which come from its own thread.
class Calls {
public:
    std::function<void()> changed() {
        return [this] { bump(changed_); };
    }
    std::function<void()> unavailable() {
        return [this] { bump(unavailable_); };
    }
    // Waits at most five seconds for `count` calls of the given kind.
    bool waitForChanged(int count) { return waitFor(changed_, count); }
    bool waitForUnavailable() { return waitFor(unavailable_, 1); }
    int unavailableCount() {
        std::lock_guard lock(mutex_);
        return unavailable_;
    }

private:
    void bump(int& counter) {
        std::lock_guard lock(mutex_);
        ++counter;
        seen_.notify_all();
    }
    bool waitFor(const int& counter, int count) {
        std::unique_lock lock(mutex_);
        return seen_.wait_for(lock, 5s, [&] { return counter >= count; });
    }

    std::mutex mutex_;
    std::condition_variable seen_;
    int changed_ = 0;
    int unavailable_ = 0;
};

void postSettingsChanged() {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDistributedCenter(),
                                         CorvantaSettingsChangedName(),
                                         CorvantaSettingsChangedObject(), nullptr, true);
}

// With a bus address that leads nowhere, builds and destroys watchers: one at once, one after
// its thread has given up. Exits 0 when each said once that it hears nothing, and all ended.
[[noreturn]] void watchWithoutABus() {
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/corvanta-no-bus", 1);
    alarm(20);
    {
        SettingsWatcher gone(nullptr, [] {});
    }
    Calls calls;
    {
        SettingsWatcher watcher(calls.changed(), calls.unavailable());
        if (!calls.waitForUnavailable()) std::exit(3);
        // By now its thread has ended, and with it the thread's run loop.
        std::this_thread::sleep_for(100ms);
    }
    std::exit(calls.unavailableCount() == 1 ? 0 : 4);
}

// Another program, as the pane is: connected to the bus already, it posts "Preferences
// Changed" each time the test asks, so that its post is out the moment the watcher exists.
class PostingPeer {
public:
    PostingPeer() {
        if (pipe(ask_) != 0) ask_[0] = ask_[1] = -1;
        peer_.emplace([this] {
            close(ask_[1]);
            CFNotificationCenterPostNotification(CFNotificationCenterGetDistributedCenter(),
                                                 CFSTR("Corvanta Test Warm-up"), nullptr, nullptr,
                                                 true);
            char request;
            while (read(ask_[0], &request, 1) == 1)
                postSettingsChanged();
            return true;
        });
        close(ask_[0]);
    }
    ~PostingPeer() {
        if (ask_[1] >= 0) close(ask_[1]);
    }
    PostingPeer(const PostingPeer&) = delete;
    PostingPeer& operator=(const PostingPeer&) = delete;

    bool post() { return write(ask_[1], "p", 1) == 1; }

private:
    int ask_[2];
    std::optional<ForkedProcess> peer_;
};

} // namespace

// A fresh copy of the program, so that no earlier connection to the test's bus is reused. Run
// under the sanitizers, this also shows the watcher never touches its ended thread's loop.
TEST(SettingsWatcherDeathTest, WithoutASessionBusItSaysSoOnceAndStillEndsCleanly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(watchWithoutABus(), testing::ExitedWithCode(0), "");
}

TEST(SettingsWatcher, HearsAChangePostedTheMomentItIsBuilt) {
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "no private session bus";
    PostingPeer pane;
    // Time for the peer to connect, which a pane running already has done long ago.
    std::this_thread::sleep_for(200ms);
    Calls calls;
    {
        SettingsWatcher watcher(calls.changed(), calls.unavailable());
        ASSERT_TRUE(pane.post());
        EXPECT_TRUE(calls.waitForChanged(1));
        ASSERT_TRUE(pane.post());
        EXPECT_TRUE(calls.waitForChanged(2));
    }
    EXPECT_EQ(calls.unavailableCount(), 0);
}
