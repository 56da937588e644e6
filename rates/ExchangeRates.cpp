// SPDX-License-Identifier: MIT
#include "rates/ExchangeRates.h"

#include "platform/Foundation/NSLog.h"
#include "rates/RatePage.h"
#include "rates/RateSite.h"

#include <optional>
#include <string>

std::unique_ptr<RateArray> ExchangeRatesArray() {
    return ExchangeRatesArray("USD");
}

std::unique_ptr<RateArray> ExchangeRatesArray(std::string_view base) {
    NSLog("Corvanta: Loading exchange rates...");
    const std::optional<std::string> path = RatePagePath(base);
    const std::optional<NSURL> url = path ? RateSiteAddress(*path) : std::nullopt;
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
