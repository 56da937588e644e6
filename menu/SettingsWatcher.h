// Listens for the pane's "Preferences Changed" on a thread of its own, which runs the
// notification centre's run loop, and forwards each one to the Qt main thread.
#pragma once

#include <QObject>
#include <functional>
#include <thread>

struct __CFRunLoop;

class SettingsWatcher {
public:
    // `onChanged` runs on `context`'s thread for each notification; `onUnavailable` once, there
    // too, when notifications cannot be received (no session bus).
    SettingsWatcher(QObject* context, std::function<void()> onChanged,
                    std::function<void()> onUnavailable);
    // Stops the run loop and waits for the thread.
    ~SettingsWatcher();
    SettingsWatcher(const SettingsWatcher&) = delete;
    SettingsWatcher& operator=(const SettingsWatcher&) = delete;

private:
    void run(std::function<void(__CFRunLoop*)> started);

    QObject* context_;
    std::function<void()> onChanged_;
    std::function<void()> onUnavailable_;
    __CFRunLoop* loop_ = nullptr;
    std::thread thread_;
};
