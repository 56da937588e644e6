#include "platform/Foundation/NSURLHandle.h"

#include "platform/Foundation/EscapedText.h"
#include "platform/Foundation/NSLog.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <mutex>

#include <curl/curl.h>

namespace {

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using CurlEasy = std::unique_ptr<CURL, EasyDeleter>;

std::mutex waitHookMutex;
NSURLHandle::WaitHook waitHook; // guarded by waitHookMutex

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The environment may only shorten a time-out.
long timeoutMilliseconds(double limitSeconds) {
    double seconds = limitSeconds;
    if (const char* text = std::getenv("CORVANTA_FETCH_TIMEOUT")) {
        char* end = nullptr;
        const double wanted = std::strtod(text, &end);
        if (end != text && *end == '\0' && std::isfinite(wanted) && wanted > 0)
            seconds = std::min(seconds, wanted);
    }
    return std::max(1L, static_cast<long>(seconds * 1000));
}

struct Body {
    std::string bytes;
    bool overflowed = false;
};

// Refuses the chunk that would take the body past the cap; curl then aborts the transfer.
// (CURLOPT_MAXFILESIZE alone does not stop a body without a length in this curl.)
size_t appendChunk(char* data, size_t size, size_t count, void* userdata) {
    auto* body = static_cast<Body*>(userdata);
    const size_t n = size * count;
    if (n > NSURLHandle::kMaxBodyBytes - body->bytes.size()) {
        body->overflowed = true;
        return 0;
    }
    body->bytes.append(data, n);
    return n;
}

} // namespace

void NSURLHandle::setWaitHook(WaitHook hook) {
    std::lock_guard lock(waitHookMutex);
    waitHook = std::move(hook);
}

std::optional<std::string> NSURLHandle::resourceData() {
    std::optional<std::string> data = load();
    // A line of our own beside the caller's messages, which know only that the load failed.
    if (!data) NSLogLine("NSURLHandle: " + QuotedText(address_) + ": " + failureReason_);
    return data;
}

std::optional<std::string> NSURLHandle::load() {
    failureReason_.clear();
    initialiseCurlOnce();
    const CurlEasy easy(curl_easy_init());
    if (!easy) {
        failureReason_ = "the transfer could not be set up";
        return std::nullopt;
    }
    Body body;
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, address_.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, timeoutMilliseconds(kConnectTimeoutSeconds));
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, timeoutMilliseconds(kTransferTimeoutSeconds));
    // No signals: we may run on any thread; the threaded resolver keeps look-ups timed.
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    // Refuses a declared length over the cap before any byte arrives.
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxBodyBytes));
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, appendChunk);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &body);
    // Every content encoding this libcurl decodes (gzip, deflate, ...); the body cap applies to
    // the decoded bytes, so a small compressed body cannot unpack past it.
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "");

    CURLcode result = CURLE_OK;
    const auto transfer = [&result, e] { result = curl_easy_perform(e); };
    WaitHook hook;
    {
        std::lock_guard lock(waitHookMutex);
        hook = waitHook;
    }
    if (hook)
        hook(transfer);
    else
        transfer();
    if (result != CURLE_OK) {
        failureReason_ = body.overflowed ? "the body is larger than 8 MiB"
                                         : std::string(curl_easy_strerror(result));
        return std::nullopt;
    }
    long status = 0;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
        failureReason_ = "the server answered with status " + std::to_string(status);
        return std::nullopt;
    }
    return std::move(body.bytes);
}
