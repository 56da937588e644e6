// SPDX-License-Identifier: MIT
#include "platform/Foundation/NSURL.h"

#include <memory>

#include <curl/curl.h>

namespace {

struct URLDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlTextDeleter {
    void operator()(char* text) const { curl_free(text); }
};
using CurlText = std::unique_ptr<char, CurlTextDeleter>;

std::optional<std::string> part(CURLU* url, CURLUPart which) {
    char* text = nullptr;
    if (curl_url_get(url, which, &text, 0) != CURLUE_OK || !text) return std::nullopt;
    return std::string(CurlText(text).get());
}

} // namespace

NSURL::NSURL(std::string absolute, std::string scheme, std::string host)
    : absolute_(std::move(absolute)), scheme_(std::move(scheme)), host_(std::move(host)) {}

std::optional<NSURL> NSURL::URLWithString(std::string_view text) {
    // Terminated copy: curl reads C strings, and a zero byte inside must not cut the address.
    if (text.find('\0') != std::string_view::npos) return std::nullopt;
    const std::unique_ptr<CURLU, URLDeleter> url(curl_url());
    if (!url) return std::nullopt;
    const std::string terminated(text);
    // Only absolute addresses with a scheme libcurl knows; no guessing of a missing scheme.
    if (curl_url_set(url.get(), CURLUPART_URL, terminated.c_str(), 0) != CURLUE_OK)
        return std::nullopt;
    auto absolute = part(url.get(), CURLUPART_URL);
    auto scheme = part(url.get(), CURLUPART_SCHEME);
    auto host = part(url.get(), CURLUPART_HOST);
    if (!absolute || !scheme) return std::nullopt;
    return NSURL(std::move(*absolute), std::move(*scheme), host.value_or(""));
}

NSURL NSURL::viaUnixSocket(std::string path) const {
    NSURL through = *this;
    through.unixSocket_ = std::move(path);
    return through;
}

NSURLHandle NSURL::URLHandleUsingCache(bool) const {
    return NSURLHandle(absolute_, unixSocket_);
}
