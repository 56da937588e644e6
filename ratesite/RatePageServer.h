// SPDX-License-Identifier: MIT
// The site's HTTP side: one thread, non-blocking sockets and poll(2). Every request is bounded
// in size and time and answered from a response prepared in advance, and each turn of the loop
// reads a bounded number of bytes from each connection and accepts a bounded number of new
// ones, so a slow or hostile client holds one connection slot for a few seconds at most and
// never the others.
#pragma once

#include "base/FileDescriptor.h"
#include "ratesite/RatePageStore.h"

#include <chrono>
#include <optional>
#include <vector>

class RatePageServer {
public:
    struct Limits {
        size_t requestBytes = 8 * 1024;                 // request line and headers
        std::chrono::milliseconds connectionTime{5000}; // from accept to the last byte
        size_t connections = 64;                        // open at once
        size_t drainBytes = 64 * 1024; // read and dropped after the answer before it closes
    };

    RatePageServer(int listener, const RatePageStore& store, Limits limits);
    RatePageServer(int listener, const RatePageStore& store)
        : RatePageServer(listener, store, Limits{}) {}
    ~RatePageServer();
    RatePageServer(const RatePageServer&) = delete;
    RatePageServer& operator=(const RatePageServer&) = delete;

    // Serves until `stop` is readable (a signalfd, an eventfd, a pipe) or, with `idleLimit`,
    // until that long has passed without a request and no connection is open.
    void run(int stop, std::optional<std::chrono::milliseconds> idleLimit);

private:
    using Clock = std::chrono::steady_clock;
    struct Connection;

    void acceptAll(Clock::time_point now);
    // Closes the connection that can best give up its slot; false when every one is needed.
    bool makeRoom();
    void pauseAccepting(Clock::time_point now, int error);
    void readFrom(Connection& connection);
    void answer(Connection& connection);
    void writeTo(Connection& connection);
    void drain(Connection& connection);

    int listener_;
    const RatePageStore& store_;
    Limits limits_;
    std::vector<Connection> connections_;
    Clock::time_point lastRequest_;
    std::optional<Clock::time_point> acceptPausedUntil_; // out of descriptors: left till then
    bool descriptorShortageLogged_ = false;
};
