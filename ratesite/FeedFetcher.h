// SPDX-License-Identifier: MIT
// One conditional GET of the reference-rate feed over libcurl: http and https only, 10 s to
// connect, 30 s in all, a body of at most 1 MiB, 2xx (or 304) only.
#pragma once

#include <atomic>
#include <chrono>
#include <optional>
#include <string>

// What the feed's last good answer said about its version, sent back to ask for a change only.
struct FeedValidators {
    std::string etag;
    std::string lastModified;
};

struct FeedAnswer {
    enum class Kind { Body, NotModified, Failed };
    Kind kind = Kind::Failed;
    std::string body;          // with Body
    FeedValidators validators; // with Body: those of this answer
    std::string failure;       // with Failed: why
};

// Asks `url` for the feed. A `cancel` that turns true stops a running transfer; a
// `timeoutCeiling` shortens both time-outs.
FeedAnswer FetchFeed(const std::string& url, const FeedValidators& known,
                     const std::atomic<bool>& cancel,
                     std::optional<std::chrono::milliseconds> timeoutCeiling = std::nullopt);
