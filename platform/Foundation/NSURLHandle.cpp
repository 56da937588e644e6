#include "platform/Foundation/NSURLHandle.h"

#include "platform/Foundation/CurlTransfer.h"

std::optional<std::string> NSURLHandle::resourceData() {
    failureReason_.clear();
    CurlBody body(kMaxBodyBytes);
    const CurlEasy easy = CurlNewTransfer(
        address_, {kConnectTimeoutSeconds, kTransferTimeoutSeconds, kMaxRedirects}, body);
    if (!easy) {
        failureReason_ = "the transfer could not be set up";
        return std::nullopt;
    }
    CURL* e = easy.get();
    const CURLcode result = curl_easy_perform(e);
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
