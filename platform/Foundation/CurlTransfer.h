// The set-up every http(s) download of ours shares over libcurl, so that each one keeps the
// same limits: only http and https (redirects included), a bounded number of redirects,
// connect and whole-transfer time-outs, no signals, every content encoding curl can decode,
// and a cap on the (decoded) body it keeps.
// CORVANTA_FETCH_TIMEOUT (seconds, fractions allowed) shortens both time-outs, never lengthens.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

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
    double connectSeconds;
    double transferSeconds;
    long maxRedirects;
};

// A handle ready to GET `address` into `body` (which must outlive the transfer), or null when
// curl cannot make one.
CurlEasy CurlNewTransfer(const std::string& address, const CurlLimits& limits, CurlBody& body);

// The time-out in milliseconds for `limitSeconds`, shortened by CORVANTA_FETCH_TIMEOUT.
long CurlTimeoutMilliseconds(double limitSeconds);
