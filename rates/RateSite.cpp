// SPDX-License-Identifier: MIT
#include "rates/RateSite.h"

#include "base/Identity.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::string rateSite() {
    const char* site = std::getenv("CORVANTA_RATE_SITE");
    std::string chosen = site && *site ? site : CORVANTA_DEFAULT_RATE_SITE;
    // "http://host/" must not request "//d/USD/table.html".
    while (!chosen.empty() && chosen.back() == '/')
        chosen.pop_back();
    return chosen;
}

std::optional<std::string> basePath(std::string_view base, std::string_view file) {
    if (base.size() != 3 ||
        !std::all_of(base.begin(), base.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        return std::nullopt;
    return "/d/" + std::string(base) + "/" + std::string(file);
}

} // namespace

std::optional<NSURL> RateSiteAddress(std::string_view path) {
    const std::string site = rateSite();
    if (site.find_first_of("?#") != std::string::npos) return std::nullopt;
    const auto siteURL = NSURL::URLWithString(site);
    if (!siteURL || (siteURL->scheme() != "http" && siteURL->scheme() != "https") ||
        siteURL->host().empty())
        return std::nullopt;
    return NSURL::URLWithString(site + std::string(path));
}

std::optional<std::string> RatePagePath(std::string_view base) {
    return basePath(base, "table.html");
}

std::optional<std::string> RateHistoryPath(std::string_view base) {
    return basePath(base, "history.json");
}
