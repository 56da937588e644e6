// SPDX-License-Identifier: MIT
// The exchange-rate site the rate source reads: the one in CORVANTA_RATE_SITE, either an http
// or https address ("http://127.0.0.1:8080") or a Unix socket ("unix:/run/user/1000/x.socket");
// else the user's own corvanta-rate-site, on its socket in the user's runtime folder
// ($XDG_RUNTIME_DIR/CORVANTA_RATE_SITE_SOCKET). Over a socket the site must be the user's:
// another user's socket, or one in a folder others can reach, is never asked.
#pragma once

#include "platform/Foundation/NSURL.h"

#include <optional>
#include <string>
#include <string_view>

// The address of `path` ("/d/USD/table.html") on the site, or nothing when the site is not an
// http or https address with a host (a query or fragment would swallow the path), nor a socket
// with an absolute path, nor (with no CORVANTA_RATE_SITE) is there a runtime folder.
std::optional<NSURL> RateSiteAddress(std::string_view path);

// The paths of a base currency's page and history, for a code of three capital letters;
// nothing for any other text, so that no code can lead elsewhere on the site.
std::optional<std::string> RatePagePath(std::string_view base);
std::optional<std::string> RateHistoryPath(std::string_view base);
