// SPDX-License-Identifier: MIT
// The last good feed, kept in a folder of the user's cache ($XDG_CACHE_HOME/corvanta), with the
// validators its answer carried beside it, so that a new start has the rates at once and asks
// the feed only for a change.
#pragma once

#include "ratesite/FeedFetcher.h"

#include <optional>
#include <string>
#include <vector>

struct CachedFeed {
    std::string document;
    FeedValidators validators;
};

struct KeptFeedReading {
    std::optional<CachedFeed> feed;
    std::vector<std::string> passedOver; // why a file there was not read, for the log
};

class FeedCache {
public:
    explicit FeedCache(std::string folder) : folder_(std::move(folder)) {}

    // The kept feed, or nothing when there is none or it cannot be read whole. Only regular
    // files of a bounded size are read, never through a symbolic link and never blocking (a
    // FIFO put there); anything else is passed over, and said why. A missing file is not.
    KeptFeedReading read() const;
    // Replaces the kept feed, each file atomically (the document first, so that validators
    // never speak for a document that is not there). False when it could not.
    bool write(const CachedFeed& feed) const;

    std::string documentPath() const { return folder_ + "/eurofxref-daily.xml"; }
    std::string validatorsPath() const { return folder_ + "/eurofxref-daily.validators"; }

private:
    std::string folder_;
};
