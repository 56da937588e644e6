#include "rates/ExchangeRates.h"

#include "base/Identity.h"
#include "platform/Foundation/NSLog.h"
#include "platform/Foundation/NSURL.h"
#include "rates/RatePage.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace {

constexpr std::string_view kRatePagePath = "/d/USD/table.html";

std::string rateSite() {
    const char* site = std::getenv("CORVANTA_RATE_SITE");
    std::string chosen = site && *site ? site : CORVANTA_DEFAULT_RATE_SITE;
    // "http://host/" must not request "//d/USD/table.html".
    while (!chosen.empty() && chosen.back() == '/')
        chosen.pop_back();
    return chosen;
}

// The page address on the configured site, or nothing when the site is not an http or https
// address with a host. A query or fragment would swallow the path appended to it.
std::optional<NSURL> ratePageURL() {
    const std::string site = rateSite();
    if (site.find_first_of("?#") != std::string::npos) return std::nullopt;
    const auto siteURL = NSURL::URLWithString(site);
    if (!siteURL || (siteURL->scheme() != "http" && siteURL->scheme() != "https") ||
        siteURL->host().empty())
        return std::nullopt;
    return NSURL::URLWithString(site + std::string(kRatePagePath));
}

} // namespace

std::unique_ptr<RateArray> ExchangeRatesArray() {
    NSLog("Corvanta: Loading exchange rates...");
    const std::optional<NSURL> url = ratePageURL();
    if (!url) return nullptr;
    const std::optional<std::string> data = url->URLHandleUsingCache(false).resourceData();
    if (!data) {
        NSLog("Corvanta: The exchange rates could not be loaded. This could be due to a network "
              "problem.");
        return nullptr;
    }
    return ExchangeRatesFromLoadedPage(*data);
}

std::unique_ptr<RateArray> ExchangeRatesFromLoadedPage(std::string_view data,
                                                       const PageDecoder& decode) {
    NSLog("Corvanta: The exchange rates were successfully loaded.");
    const std::optional<std::string> page = decode(data);
    if (!page) {
        NSLog("Corvanta: The exchange rates data could not be converted into a string.");
        return nullptr;
    }
    auto rates = std::make_unique<RateArray>(ParseRatePage(*page));
    NSLogLine("Corvanta: The exchange rates are: " + DescribeRateArray(*rates));
    return rates;
}
