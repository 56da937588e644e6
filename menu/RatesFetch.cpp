// SPDX-License-Identifier: MIT
#include "menu/RatesFetch.h"

#include "platform/Foundation/NSURLHandle.h"
#include "rates/RateSite.h"
#include "settings/CorvantaSettings.h"

namespace {

struct HistoryAnswer {
    std::shared_ptr<const RateHistory> history;
    bool notOffered = false; // the site answered that it has no page for the base
};

HistoryAnswer fetchHistory(const std::string& base) {
    HistoryAnswer answer;
    const std::optional<std::string> path = RateHistoryPath(base);
    if (!path) {
        answer.notOffered = true; // not even a currency code
        return answer;
    }
    const std::optional<NSURL> url = RateSiteAddress(*path);
    if (!url) return answer;
    NSURLHandle handle = url->URLHandleUsingCache(false);
    const std::optional<std::string> json = handle.resourceData();
    answer.notOffered = handle.statusCode() == 404;
    if (json)
        if (std::optional<RateHistory> history = ParseRateHistory(*json);
            history && history->base == base)
            answer.history = std::make_shared<const RateHistory>(std::move(*history));
    return answer;
}

} // namespace

FetchedRates FetchRatesFor(const std::string& base, BaseFallback fallback) {
    FetchedRates fetched;
    fetched.base = base;
    HistoryAnswer history = fetchHistory(base);
    // The dollar's page is the one every rate site has, with or without a history.
    if (history.notOffered && base != kCorvantaDefaultBase) {
        fetched.askedBaseOffered = false;
        if (fallback == BaseFallback::None) return fetched;
        fetched.base = kCorvantaDefaultBase;
        history = fetchHistory(fetched.base);
    }
    fetched.history = std::move(history.history);
    fetched.rates = ExchangeRatesArray(fetched.base);
    return fetched;
}
