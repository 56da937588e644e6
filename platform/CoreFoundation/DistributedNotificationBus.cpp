// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/DistributedNotificationBus.h"

#include "platform/CoreFoundation/CFLog.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <poll.h>
#include <sdbus-c++/sdbus-c++.h>
#include <unistd.h>

namespace {

const char* const kObjectPath = "/com/brenwick/DistributedNotificationCenter";
const char* const kInterface = "com.brenwick.DistributedNotificationCenter";
const char* const kSignal = "Notification";
const char* const kMatchRule = "type='signal',"
                               "path='/com/brenwick/DistributedNotificationCenter',"
                               "interface='com.brenwick.DistributedNotificationCenter',"
                               "member='Notification'";

// A post, or the start of listening, waits this long at most for the bus: to connect, and for
// the signal to leave the process.
constexpr std::chrono::milliseconds kBusPatience(2000);
// A listener that never runs its loop keeps no more than this many notifications.
constexpr size_t kMaxQueued = 1024;

using UserInfo = std::map<std::string, sdbus::Variant>;

// Milliseconds for poll(2): the smaller of what is left and what sd-bus asks for.
int pollTimeout(std::chrono::nanoseconds left, const sdbus::IConnection::PollData& data) {
    auto wait = std::chrono::ceil<std::chrono::milliseconds>(left);
    if (auto busWait = data.getRelativeTimeout())
        wait = std::min(wait, std::chrono::ceil<std::chrono::milliseconds>(*busWait));
    return static_cast<int>(std::clamp<long long>(wait.count(), 0, 60'000));
}

} // namespace

DistributedNotificationBus& DistributedNotificationBus::shared() {
    // Never destroyed: observers may be called during exit, and the connection flushes itself
    // on every post anyway.
    static auto* bus = new DistributedNotificationBus();
    return *bus;
}

DistributedNotificationBus::~DistributedNotificationBus() = default;

void DistributedNotificationBus::forgetParentsConnectionLocked() {
    if (!connection_ || connectedPid_ == getpid()) return;
    // A child of fork() shares its parent's socket and must not touch its connection, not even
    // to close it; it opens one of its own when it needs one.
    (void)match_.release();
    (void)emitter_.release();
    (void)connection_.release();
}

bool DistributedNotificationBus::connectLocked(std::string_view purpose,
                                               std::chrono::steady_clock::time_point deadline) {
    forgetParentsConnectionLocked();
    if (connection_) return true;
    connectedPid_ = getpid();
    std::string error;
    try {
        connection_ = connector_.connect(deadline, error);
        if (connection_) emitter_ = sdbus::createObject(*connection_, kObjectPath);
    } catch (const sdbus::Error& e) {
        error = e.what();
    }
    if (emitter_) return true;
    CFLogLine("CFNotificationCenter: no D-Bus session bus, " + std::string(purpose) + ": " + error);
    disconnectLocked();
    return false;
}

void DistributedNotificationBus::disconnectLocked() {
    match_.reset();
    emitter_.reset();
    connection_.reset();
}

bool DistributedNotificationBus::post(std::string_view name, std::string_view object) {
    std::lock_guard lock(mutex_);
    const auto deadline = std::chrono::steady_clock::now() + kBusPatience;
    std::string notPosted;
    notPosted.append("\"").append(name).append("\" not posted");
    // A connection kept from earlier may have died with a restarted bus: then one more try on a
    // fresh one, so the notification is not lost.
    for (bool retry = connection_ != nullptr;; retry = false) {
        if (!connectLocked(notPosted, deadline)) return false;
        try {
            emitLocked(name, object, deadline);
            return true;
        } catch (const sdbus::Error& error) {
            disconnectLocked();
            if (!retry) {
                CFLogLine("CFNotificationCenter: " + notPosted + ": " + error.what());
                return false;
            }
        }
    }
}

void DistributedNotificationBus::emitLocked(std::string_view name, std::string_view object,
                                            std::chrono::steady_clock::time_point deadline) {
    emitter_->emitSignal(kSignal)
        .onInterface(kInterface)
        .withArguments(std::string(name), std::string(object), UserInfo{});
    // The signal may still sit in the connection's queue; push it out, within the limit.
    for (;;) {
        readPendingLocked();
        const auto data = connection_->getEventLoopPollData();
        const auto left = deadline - std::chrono::steady_clock::now();
        if (!(data.events & POLLOUT) || left <= std::chrono::nanoseconds::zero()) return;
        pollfd fd{data.fd, data.events, 0};
        poll(&fd, 1, pollTimeout(left, data));
    }
}

bool DistributedNotificationBus::listen() {
    std::lock_guard lock(mutex_);
    forgetParentsConnectionLocked();
    if (match_) return true;
    if (!connectLocked("cannot listen for notifications",
                       std::chrono::steady_clock::now() + kBusPatience))
        return false;
    try {
        // Runs inside processPendingRequest, which is only called with mutex_ held.
        match_ = connection_->addMatch(kMatchRule, [this](sdbus::Message& message) {
            ReceivedNotification notification;
            UserInfo userInfo;
            try {
                message >> notification.name >> notification.object >> userInfo;
            } catch (const sdbus::Error&) {
                return; // a signal of the wrong shape is not ours to deliver
            }
            if (received_.size() == kMaxQueued) received_.pop_front();
            received_.push_back(std::move(notification));
        });
        return true;
    } catch (const sdbus::Error& error) {
        CFLogLine(std::string("CFNotificationCenter: cannot listen for notifications: ") +
                  error.what());
        disconnectLocked();
        return false;
    }
}

bool DistributedNotificationBus::isListening() {
    std::lock_guard lock(mutex_);
    forgetParentsConnectionLocked();
    return match_ != nullptr;
}

void DistributedNotificationBus::readPendingLocked() {
    const size_t before = received_.size();
    while (connection_->processPendingRequest()) {
    }
    // Whoever reads the socket (a post, say) may take notifications meant for a run loop that
    // sleeps on it in another thread; that loop would not wake for them, so it is woken here.
    if (received_.size() > before)
        for (const int sleeper : sleepers_) {
            const std::uint64_t one = 1;
            if (write(sleeper, &one, sizeof one) < 0) {
                // The counter is full, so a wake-up is pending already.
            }
        }
}

void DistributedNotificationBus::waitForTraffic(std::chrono::nanoseconds timeout, int wakeFd) {
    std::unique_lock lock(mutex_);
    forgetParentsConnectionLocked();
    if (!connection_) return;
    try {
        readPendingLocked();
        if (!received_.empty()) return;
        const auto data = connection_->getEventLoopPollData();
        pollfd fds[2] = {{data.fd, data.events, 0}, {wakeFd, POLLIN, 0}};
        // Not holding the lock while asleep, so that other threads may post meanwhile.
        if (wakeFd >= 0) sleepers_.push_back(wakeFd);
        lock.unlock();
        poll(fds, wakeFd >= 0 ? 2 : 1, pollTimeout(timeout, data));
        lock.lock();
        if (wakeFd >= 0) sleepers_.erase(std::find(sleepers_.begin(), sleepers_.end(), wakeFd));
        if (connection_) readPendingLocked();
    } catch (const sdbus::Error& error) {
        CFLogLine(std::string("CFNotificationCenter: lost the session bus: ") + error.what());
        disconnectLocked();
    }
}

std::deque<ReceivedNotification> DistributedNotificationBus::takeReceived() {
    std::lock_guard lock(mutex_);
    return std::exchange(received_, {});
}
