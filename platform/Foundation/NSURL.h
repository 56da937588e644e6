// SPDX-License-Identifier: MIT
// A parsed absolute address. Parsing is libcurl's, so what we accept here the loader accepts.
#pragma once

#include "platform/Foundation/NSURLHandle.h"

#include <optional>
#include <string>
#include <string_view>

class NSURL {
public:
    // The address of `text`, or nothing when it is not a valid absolute address.
    static std::optional<NSURL> URLWithString(std::string_view text);

    // The address in its normalised form, as it will be requested.
    const std::string& absoluteString() const { return absolute_; }
    // Lower case, without "://".
    const std::string& scheme() const { return scheme_; }
    const std::string& host() const { return host_; }

    // Our addition: this address reached over the Unix socket at `path` instead of TCP (its
    // host then only names the site in the request), for a site that must be the user's own.
    NSURL viaUnixSocket(std::string path) const;
    const std::optional<std::string>& unixSocket() const { return unixSocket_; }

    // A handle that loads this address. With `useCache` false every load goes to the server;
    // we keep no cache, so the flag changes nothing.
    NSURLHandle URLHandleUsingCache(bool useCache) const;

private:
    NSURL(std::string absolute, std::string scheme, std::string host);

    std::string absolute_;
    std::string scheme_;
    std::string host_;
    std::optional<std::string> unixSocket_;
};
