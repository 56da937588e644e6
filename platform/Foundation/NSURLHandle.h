// SPDX-License-Identifier: MIT
// Synchronous loading of an http or https address over libcurl, with the limits a settings
// pane needs so that a bad server cannot block it or fill its memory:
//   connect 10 s, whole transfer 30 s (name look-up included), at most 5 redirects, only http
//   and https (redirects included), a 2xx status, a body of at most 8 MiB.
// A program may lower both time-outs for every load it makes (setTimeoutCeiling).
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

class NSURLHandle {
public:
    static constexpr size_t kMaxBodyBytes = 8 * 1024 * 1024;
    static constexpr long kMaxRedirects = 5;
    static constexpr std::chrono::seconds kConnectTimeout{10};
    static constexpr std::chrono::seconds kTransferTimeout{30};

    // `unixSocket`, our addition: the socket to reach the address's site through (see
    // NSURL::viaUnixSocket); it must be a socket of the user's own, its peer running as them.
    explicit NSURLHandle(std::string address, std::optional<std::string> unixSocket = std::nullopt)
        : address_(std::move(address)), unixSocket_(std::move(unixSocket)) {}

    // Loads the address afresh and gives the body bytes, decoded from any content encoding, or
    // nothing when the load failed; a failure is logged with its reason. Returns only when the
    // transfer has ended, whatever wait hook is installed.
    std::optional<std::string> resourceData();
    // Why the last load failed, for diagnostics; empty after a success.
    const std::string& failureReason() const { return failureReason_; }
    // Our addition: the HTTP status of the last load's answer (404 for a page the site does not
    // have), or 0 when no answer came.
    long statusCode() const { return statusCode_; }

    // Our addition: how a load waits for its transfer. The hook is called on the loading thread
    // with the transfer to run and must return only after the transfer has returned; it may run
    // it on another thread meanwhile, so that a GUI keeps painting. Without a hook (the
    // default, or after an empty one is set) the transfer runs on the loading thread.
    using WaitHook = std::function<void(const std::function<void()>& transfer)>;
    static void setWaitHook(WaitHook hook);

    // Our addition: no time-out of a load in this process is longer than `ceiling` (none: the
    // limits above). Programs set it from CORVANTA_FETCH_TIMEOUT; it only ever shortens.
    static void setTimeoutCeiling(std::optional<std::chrono::milliseconds> ceiling);

    // Our addition: ends every load now running in this process at once, from any thread; each
    // fails as if its time-out had come (and is logged so). For a program that is asked to
    // stop while it waits for a slow site. Loads started later run as usual.
    static void cancelRunningLoads();

    // Our addition: told of every load's end on the loading thread, with its address and, for a
    // failed load, the reason that was logged (empty after a success). A program uses it to
    // show the user what its pane only logs. None by default; an empty one removes it.
    using LoadObserver =
        std::function<void(const std::string& address, const std::string& failureReason)>;
    static void setLoadObserver(LoadObserver observer);

private:
    std::optional<std::string> load();

    std::string address_;
    std::optional<std::string> unixSocket_;
    std::string failureReason_;
    long statusCode_ = 0;
};
