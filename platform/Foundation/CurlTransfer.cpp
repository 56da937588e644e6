#include "platform/Foundation/CurlTransfer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <mutex>

namespace {

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Refuses the chunk that would take the body past the cap; curl then aborts the transfer.
// (CURLOPT_MAXFILESIZE alone does not stop a body without a length in this curl.)
size_t appendChunk(char* data, size_t size, size_t count, void* userdata) {
    auto* body = static_cast<CurlBody*>(userdata);
    const size_t n = size * count;
    if (n > body->limit - body->bytes.size()) {
        body->overflowed = true;
        return 0;
    }
    body->bytes.append(data, n);
    return n;
}

} // namespace

// The environment may only shorten a time-out.
long CurlTimeoutMilliseconds(double limitSeconds) {
    double seconds = limitSeconds;
    if (const char* text = std::getenv("CORVANTA_FETCH_TIMEOUT")) {
        char* end = nullptr;
        const double wanted = std::strtod(text, &end);
        if (end != text && *end == '\0' && std::isfinite(wanted) && wanted > 0)
            seconds = std::min(seconds, wanted);
    }
    return std::max(1L, static_cast<long>(seconds * 1000));
}

CurlEasy CurlNewTransfer(const std::string& address, const CurlLimits& limits, CurlBody& body) {
    initialiseCurlOnce();
    CurlEasy easy(curl_easy_init());
    if (!easy) return easy;
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, address.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, limits.maxRedirects);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, CurlTimeoutMilliseconds(limits.connectSeconds));
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, CurlTimeoutMilliseconds(limits.transferSeconds));
    // No signals: we may run on any thread; the threaded resolver keeps look-ups timed.
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    // Refuses a declared length over the cap before any byte arrives.
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(body.limit));
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, appendChunk);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &body);
    // Every content encoding this libcurl decodes (gzip, deflate, ...); the body cap applies to
    // the decoded bytes, so a small compressed body cannot unpack past it.
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "");
    return easy;
}
