// SPDX-License-Identifier: MIT
// Listens for the pane's "Preferences Changed" on a thread of its own, which runs the
// notification centre's run loop. Free of Qt: the caller decides where its calls go.
#pragma once

#include <functional>
#include <future>
#include <mutex>
#include <thread>

struct __CFRunLoop;

class SettingsWatcher {
public:
    // Both run on the watcher's thread: `onChanged` for each notification, `onUnavailable` once
    // when notifications cannot be received (no session bus, or the bus went away). Returns
    // once the watcher listens, so that no change made afterwards goes unnoticed.
    SettingsWatcher(std::function<void()> onChanged, std::function<void()> onUnavailable);
    // Stops the run loop, if it still runs, and waits for the thread.
    ~SettingsWatcher();
    SettingsWatcher(const SettingsWatcher&) = delete;
    SettingsWatcher& operator=(const SettingsWatcher&) = delete;

private:
    void run(std::promise<void>& listening);

    std::function<void()> onChanged_;
    std::function<void()> onUnavailable_;
    // The thread's run loop while it runs; null once it has ended, since the loop belongs to
    // the thread and goes with it.
    std::mutex loopMutex_;
    __CFRunLoop* loop_ = nullptr;
    std::thread thread_;
};
