// SPDX-License-Identifier: MIT
// The thread that keeps the rates fresh: every `checkEvery` it lets the keeper decide whether
// to ask the feed, so page requests never wait for the network.
#pragma once

#include "ratesite/RateKeeper.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class RefreshWorker {
public:
    enum class FirstCheck { AfterInterval, AtOnce };
    RefreshWorker(RateKeeper& keeper, std::chrono::milliseconds checkEvery,
                  FirstCheck first = FirstCheck::AfterInterval);
    // Stops a transfer under way and waits for the thread.
    ~RefreshWorker();
    RefreshWorker(const RefreshWorker&) = delete;
    RefreshWorker& operator=(const RefreshWorker&) = delete;

private:
    void loop();

    RateKeeper& keeper_;
    std::chrono::milliseconds checkEvery_;
    bool checkAtOnce_;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_; // last: it starts once the rest is ready
};
