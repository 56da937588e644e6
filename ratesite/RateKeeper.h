// SPDX-License-Identifier: MIT
// Keeps the site's rates: reads the cache (or the bundled snapshot) at start, asks the feed
// when the rates are older than the latest expected publication, and publishes a new page
// whenever good rates arrive. A feed that is refused or out of reach changes nothing but one
// log line.
#pragma once

#include "rates/CurrencyNames.h"
#include "ratesite/FeedCache.h"
#include "ratesite/RatePageStore.h"
#include "ratesite/ReferenceRates.h"

#include <atomic>
#include <chrono>
#include <optional>
#include <string>

class RateKeeper {
public:
    using Clock = std::chrono::system_clock;
    enum class Origin { Snapshot, Cache, Feed };

    struct Settings {
        std::string feedUrl;
        std::string cacheFolder;
        std::chrono::seconds retryInterval{15 * 60}; // between two attempts at the feed
        std::optional<std::chrono::milliseconds> fetchTimeoutCeiling; // shortens the feed's
    };

    RateKeeper(Settings settings, const CurrencyNames& names, RatePageStore& store);

    // Reads the cache and the snapshot, and publishes the page of the newer (the cache's when
    // they are of the same day).
    void loadKept();
    // Asks the feed when the rates are out of date and no attempt was made within the retry
    // interval. Returns at once otherwise. `cancel` stops a running transfer.
    void refreshIfDue(Clock::time_point now, const std::atomic<bool>& cancel);

    // "the rates of 2026-10-02 from the bundled snapshot", for the log.
    std::string describe() const;
    Origin origin() const { return origin_; }

private:
    void attempt(const std::atomic<bool>& cancel);
    // Takes the document when it reads as good rates; logs why not otherwise.
    bool take(const std::string& document, Origin origin, const std::string& from);
    void publish();

    Settings settings_;
    const CurrencyNames& names_;
    RatePageStore& store_;
    FeedCache cache_;
    ReferenceRates rates_;
    Origin origin_ = Origin::Snapshot;
    FeedValidators validators_; // of the document held, when it came from the feed
    // On the steady clock, so that setting the system clock cannot hold the next attempt back.
    std::optional<std::chrono::steady_clock::time_point> lastAttempt_;
};

// The reference rates bundled with the program, for a first start without the network.
std::string_view BundledSnapshot();
