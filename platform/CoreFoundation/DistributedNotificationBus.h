// SPDX-License-Identifier: MIT
// The session-bus side of the distributed notification centre: broadcasts a notification as a
// D-Bus signal, and collects the signals other processes (and this one) broadcast. Connects
// lazily and again after a failure, so a bus that appears later is still found.
#pragma once

#include "platform/CoreFoundation/SessionBusConnector.h"

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace sdbus {
class IConnection;
class IObject;
} // namespace sdbus

struct ReceivedNotification {
    std::string name;
    std::string object; // empty when the poster gave none
};

class DistributedNotificationBus {
public:
    static DistributedNotificationBus& shared();

    // Broadcasts the signal and waits (briefly, never unboundedly) until it has left. With no
    // session bus, logs one line and returns false; never throws.
    bool post(std::string_view name, std::string_view object);
    // Subscribes to every process's notifications. False, after one log line, with no bus.
    bool listen();
    bool isListening();
    // Waits at most `timeout` for bus traffic or for `wakeFd` (an eventfd) to become readable,
    // and reads what came. Another thread that reads notifications off the bus meanwhile
    // signals `wakeFd`.
    void waitForTraffic(std::chrono::nanoseconds timeout, int wakeFd);
    // The notifications received so far, oldest first, and forgets them.
    std::deque<ReceivedNotification> takeReceived();

    ~DistributedNotificationBus();

private:
    DistributedNotificationBus() = default;
    bool connectLocked(std::string_view purpose, std::chrono::steady_clock::time_point deadline);
    void disconnectLocked();
    void forgetParentsConnectionLocked();
    // Sends the signal and pushes it out of the process; throws sdbus::Error on failure.
    void emitLocked(std::string_view name, std::string_view object,
                    std::chrono::steady_clock::time_point deadline);
    void readPendingLocked();

    std::mutex mutex_;
    SessionBusConnector connector_;
    std::unique_ptr<sdbus::IConnection> connection_;
    std::unique_ptr<sdbus::IObject> emitter_;
    std::unique_ptr<void, std::function<void(void*)>> match_;
    std::deque<ReceivedNotification> received_;
    // The wake-up eventfds of the run loops asleep in waitForTraffic.
    std::vector<int> sleepers_;
    int connectedPid_ = 0;
};
