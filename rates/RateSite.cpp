// SPDX-License-Identifier: MIT
#include "rates/RateSite.h"

#include "base/Identity.h"
#include "base/XDGFolders.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr std::string_view kSocketPrefix = "unix:";
// Over a socket the host names nothing; it only fills the request's Host header.
constexpr const char* kSocketSite = "http://localhost";

// CORVANTA_RATE_SITE, else the user's own site on its socket; nothing without either.
std::optional<std::string> rateSite() {
    const char* site = std::getenv("CORVANTA_RATE_SITE");
    if (site && *site) {
        std::string chosen = site;
        // "http://host/" must not request "//d/USD/table.html".
        while (!chosen.empty() && chosen.back() == '/')
            chosen.pop_back();
        return chosen;
    }
    const std::optional<std::string> runtime = XDGRuntimeDir();
    if (!runtime) return std::nullopt;
    return std::string(kSocketPrefix) + *runtime + "/" CORVANTA_RATE_SITE_SOCKET;
}

std::optional<std::string> basePath(std::string_view base, std::string_view file) {
    if (base.size() != 3 ||
        !std::all_of(base.begin(), base.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        return std::nullopt;
    return "/d/" + std::string(base) + "/" + std::string(file);
}

} // namespace

std::optional<NSURL> RateSiteAddress(std::string_view path) {
    const std::optional<std::string> chosen = rateSite();
    if (!chosen) return std::nullopt;
    if (chosen->starts_with(kSocketPrefix)) {
        const std::string socket = chosen->substr(kSocketPrefix.size());
        if (!socket.starts_with('/')) return std::nullopt;
        const auto url = NSURL::URLWithString(kSocketSite + std::string(path));
        return url ? std::optional<NSURL>(url->viaUnixSocket(socket)) : std::nullopt;
    }
    const std::string& site = *chosen;
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
