// SPDX-License-Identifier: MIT
// The set-up every http(s) download of ours shares over libcurl, so that each one keeps the
// same limits: only http and https (redirects included), a bounded number of redirects,
// connect and whole-transfer time-outs, no signals, every content encoding curl can decode,
// and a cap on the (decoded) body it keeps. Private to the stand-in and the rate site: it is
// not installed, since curl's header comes with it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include <curl/curl.h>

struct CurlEasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

struct CurlSlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlHeaderList = std::unique_ptr<curl_slist, CurlSlistDeleter>;

// Where a transfer's body goes; a body that would pass `limit` stops the transfer.
struct CurlBody {
    explicit CurlBody(size_t limit) : limit(limit) {}
    std::string bytes;
    size_t limit;
    bool overflowed = false;
};

struct CurlLimits {
    std::chrono::milliseconds connect;
    std::chrono::milliseconds transfer; // the whole transfer, name look-up included
    long maxRedirects;
};

// `limits` with neither time-out longer than `ceiling`, when there is one: how a program's
// "may only shorten" setting reaches a transfer.
CurlLimits CurlLimitsWithin(CurlLimits limits, std::optional<std::chrono::milliseconds> ceiling);

// A transfer over a Unix socket of the user's own instead of TCP: the address's host is then
// only its Host header. The connection is refused unless the process at the socket's other end
// runs as this user (`refused` says so afterwards).
struct CurlUnixSocket {
    explicit CurlUnixSocket(std::string path) : path(std::move(path)) {}
    std::string path;
    int fd = -1; // the connection's, while curl holds it
    bool refused = false;
};

// A handle ready to GET `address` into `body` (and through `unixSocket`, when given; both must
// outlive the transfer), or null when curl cannot make one.
CurlEasy CurlNewTransfer(const std::string& address, const CurlLimits& limits, CurlBody& body,
                         CurlUnixSocket* unixSocket = nullptr);

// Runs one easy handle through a multi handle of its own, so that another thread can end it at
// once (curl_multi_wakeup) instead of waiting for its time-out.
class CurlCancellableTransfer {
public:
    explicit CurlCancellableTransfer(CURL* easy);
    ~CurlCancellableTransfer();
    CurlCancellableTransfer(const CurlCancellableTransfer&) = delete;
    CurlCancellableTransfer& operator=(const CurlCancellableTransfer&) = delete;

    // What curl_easy_perform would give; CURLE_OPERATION_TIMEDOUT once cancelled, as if the
    // time-out had come early.
    CURLcode perform();
    // From any thread, before or during perform(); perform() returns within a moment.
    void cancel();
    bool cancelled() const { return cancelled_; }

private:
    CURL* easy_;
    CURLM* multi_;
    std::atomic<bool> cancelled_{false};
};
