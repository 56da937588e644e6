// Runs ExchangeRatesArray off the main thread, one fetch at a time, and hands the result to a
// callback on the main thread, so the status item keeps answering the panel while a slow rate
// site is loading.
#pragma once

#include "rates/ExchangeRates.h"

#include <QObject>
#include <chrono>
#include <functional>
#include <memory>

class RateFetcher {
public:
    // Null on a failed fetch.
    using Callback = std::function<void(std::shared_ptr<const RateArray> rates)>;

    // `callback` runs on `context`'s thread (the main one), never after this is gone.
    RateFetcher(QObject* context, Callback callback);
    ~RateFetcher();
    RateFetcher(const RateFetcher&) = delete;
    RateFetcher& operator=(const RateFetcher&) = delete;

    // Starts a fetch; false, doing nothing, while one is running.
    bool start();
    bool isRunning() const;
    // Waits at most `patience` for a running fetch to end; false when it still runs.
    bool waitUntilIdle(std::chrono::milliseconds patience);

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};
