// SPDX-License-Identifier: MIT
// The exchange-rate site the rate source reads: the one in CORVANTA_RATE_SITE (scheme, host,
// optional port), else the build's default, where corvanta-rate-site listens.
#pragma once

#include "platform/Foundation/NSURL.h"

#include <optional>
#include <string>
#include <string_view>

// The address of `path` ("/d/USD/table.html") on the site, or nothing when the site is not an
// http or https address with a host (a query or fragment would swallow the path).
std::optional<NSURL> RateSiteAddress(std::string_view path);

// The paths of a base currency's page and history, for a code of three capital letters;
// nothing for any other text, so that no code can lead elsewhere on the site.
std::optional<std::string> RatePagePath(std::string_view base);
std::optional<std::string> RateHistoryPath(std::string_view base);
