// SPDX-License-Identifier: MIT
#include "ratesite/FeedFetcher.h"

#include "platform/Foundation/CurlTransfer.h"
#include "ratesite/ReferenceRates.h"

#include <algorithm>
#include <strings.h>

namespace {

constexpr CurlLimits kFeedLimits{std::chrono::seconds(10), std::chrono::seconds(30), 5};
// A validator longer than this is not one a server means; it is not kept.
constexpr size_t kLongestValidator = 256;

// The value of "Name: value" when the line is that header, without spaces and line ends.
// A value with control characters is refused: it goes back out in a request header.
bool headerValue(std::string_view line, std::string_view name, std::string& value) {
    if (line.size() <= name.size() || line[name.size()] != ':' ||
        strncasecmp(line.data(), name.data(), name.size()) != 0)
        return false;
    std::string_view rest = line.substr(name.size() + 1);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
        rest.remove_prefix(1);
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == '\n' || rest.back() == ' '))
        rest.remove_suffix(1);
    const bool clean = std::none_of(rest.begin(), rest.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    });
    value = clean && rest.size() <= kLongestValidator ? std::string(rest) : std::string();
    return true;
}

size_t readHeader(char* data, size_t size, size_t count, void* userdata) {
    auto* validators = static_cast<FeedValidators*>(userdata);
    const std::string_view line(data, size * count);
    // Each answer of a redirect chain starts with its status line; only the last one counts.
    if (line.starts_with("HTTP/")) *validators = {};
    headerValue(line, "ETag", validators->etag) ||
        headerValue(line, "Last-Modified", validators->lastModified);
    return size * count;
}

int checkCancel(void* userdata, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(userdata)->load() ? 1 : 0;
}

} // namespace

FeedAnswer FetchFeed(const std::string& url, const FeedValidators& known,
                     const std::atomic<bool>& cancel,
                     std::optional<std::chrono::milliseconds> timeoutCeiling) {
    FeedAnswer answer;
    CurlBody body(kMaxFeedBytes);
    const CurlEasy easy = CurlNewTransfer(url, CurlLimitsWithin(kFeedLimits, timeoutCeiling), body);
    if (!easy) {
        answer.failure = "the transfer could not be set up";
        return answer;
    }
    CURL* e = easy.get();
    CurlHeaderList headers;
    for (const auto& [name, value] : {std::pair{"If-None-Match: ", &known.etag},
                                      std::pair{"If-Modified-Since: ", &known.lastModified}})
        if (!value->empty())
            // The list keeps its head; on failure it is unchanged (and the header not sent).
            if (curl_slist* longer = curl_slist_append(headers.get(), (name + *value).c_str()))
                headers.release(), headers.reset(longer);
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, readHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &answer.validators);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, checkCancel);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &cancel);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);

    const CURLcode result = curl_easy_perform(e);
    if (result != CURLE_OK) {
        const bool tooLarge = body.overflowed || result == CURLE_FILESIZE_EXCEEDED;
        answer.failure = tooLarge                              ? "the answer is larger than 1 MiB"
                         : result == CURLE_ABORTED_BY_CALLBACK ? "the site is stopping"
                                                               : curl_easy_strerror(result);
        return answer;
    }
    long status = 0;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
    if (status == 304) {
        answer.kind = FeedAnswer::Kind::NotModified;
    } else if (status >= 200 && status <= 299) {
        answer.kind = FeedAnswer::Kind::Body;
        answer.body = std::move(body.bytes);
    } else {
        answer.failure = "the server answered with status " + std::to_string(status);
    }
    return answer;
}
