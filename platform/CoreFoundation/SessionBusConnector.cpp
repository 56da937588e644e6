// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/SessionBusConnector.h"

#include <condition_variable>
#include <mutex>
#include <sdbus-c++/sdbus-c++.h>
#include <thread>
#include <unistd.h>

// Shared between the helper thread and the callers waiting for it.
struct SessionBusConnector::Attempt {
    const pid_t pid = getpid(); // a child of fork() has no helper thread to wait for
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::unique_ptr<sdbus::IConnection> connection;
    std::string error;
};

namespace {
// A bus that has answered the greeting but not a call (such as adding a match) gives up here.
constexpr uint64_t kMethodCallTimeoutMicroseconds = 2'000'000;
} // namespace

std::unique_ptr<sdbus::IConnection>
SessionBusConnector::connect(std::chrono::steady_clock::time_point deadline, std::string& error) {
    if (inFlight_ && inFlight_->pid != getpid()) {
        // Its helper thread stayed behind in the parent, and a connection it made belongs to the
        // parent: neither may be touched here, not even to free them.
        new std::shared_ptr<Attempt>(std::move(inFlight_));
    }
    // Waiting again for an attempt that has already outlasted one caller's patience would only
    // stall each caller in turn; it is taken if it has finished, and otherwise left running.
    if (inFlight_) deadline = std::chrono::steady_clock::now();
    if (!inFlight_) {
        inFlight_ = std::make_shared<Attempt>();
        std::thread([attempt = inFlight_] {
            std::unique_ptr<sdbus::IConnection> connection;
            std::string failure;
            try {
                connection = sdbus::createSessionBusConnection();
                connection->setMethodCallTimeout(kMethodCallTimeoutMicroseconds);
            } catch (const sdbus::Error& e) {
                connection.reset();
                failure = e.what();
            }
            std::lock_guard lock(attempt->mutex);
            attempt->connection = std::move(connection);
            attempt->error = std::move(failure);
            attempt->done = true;
            attempt->finished.notify_all();
        }).detach();
    }

    std::unique_lock lock(inFlight_->mutex);
    if (!inFlight_->finished.wait_until(lock, deadline, [&] { return inFlight_->done; })) {
        error = "the session bus does not answer";
        return nullptr;
    }
    auto connection = std::move(inFlight_->connection);
    error = std::move(inFlight_->error);
    lock.unlock();
    inFlight_.reset();
    return connection;
}
