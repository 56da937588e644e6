// SPDX-License-Identifier: MIT
#include "ratesite/RateSitePages.h"

#include "ratesite/HistoryDocument.h"
#include "ratesite/RatePageBuilder.h"
#include "ratesite/SiteCurrencies.h"

RateSitePages::RateSitePages(const ReferenceRates& rates, bool fromSnapshot,
                             const CurrencyNames& names) {
    const std::vector<SiteCurrency> offered = OfferedCurrencies(rates, names);
    for (const SiteCurrency& base : offered) {
        const std::string folder = "/d/" + base.code + "/";
        byPath_.emplace(folder + "table.html",
                        PreparePageResponse(BuildRatePage(rates, offered, base.code, fromSnapshot),
                                            rates.date));
        byPath_.emplace(
            folder + "history.json",
            PrepareHistoryResponse(BuildHistoryDocument(rates, offered, base.code), rates.date));
    }
}

const PreparedResponse* RateSitePages::find(std::string_view path) const {
    const auto found = byPath_.find(path);
    return found == byPath_.end() ? nullptr : &found->second;
}
