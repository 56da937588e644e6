// SPDX-License-Identifier: MIT
// Runs FetchRatesFor off the main thread, one fetch at a time, and hands the result to a
// callback on the main thread, so the status item keeps answering the panel while a slow rate
// site is loading.
#pragma once

#include "menu/RatesFetch.h"

#include <QObject>
#include <chrono>
#include <functional>
#include <memory>

class RateFetcher {
public:
    using Callback = std::function<void(const FetchedRates& fetched)>;

    // `callback` runs on `context`'s thread (the main one), never after this is gone.
    RateFetcher(QObject* context, Callback callback);
    ~RateFetcher();
    RateFetcher(const RateFetcher&) = delete;
    RateFetcher& operator=(const RateFetcher&) = delete;

    // Starts a fetch of `base`'s rates (the dollar's where the site lacks it); false, doing
    // nothing, while one is running.
    bool start(const std::string& base);
    bool isRunning() const;
    // Waits at most `patience` for a running fetch to end; false when it still runs.
    bool waitUntilIdle(std::chrono::milliseconds patience);

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};
