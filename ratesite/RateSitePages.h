// SPDX-License-Identifier: MIT
// Every answer the site gives for one held document, made once when the document arrives so
// that a request is only a look-up and a write: /d/<CODE>/table.html and /d/<CODE>/history.json
// for the euro and each currency of the newest day.
#pragma once

#include "rates/CurrencyNames.h"
#include "ratesite/PreparedResponse.h"
#include "ratesite/ReferenceRates.h"

#include <map>
#include <string>
#include <string_view>

class RateSitePages {
public:
    // `fromSnapshot` says on each page that these are the bundled rates.
    RateSitePages(const ReferenceRates& rates, bool fromSnapshot, const CurrencyNames& names);

    // The answer for a request's path (without its query), or null for a path the site does
    // not serve.
    const PreparedResponse* find(std::string_view path) const;

private:
    std::map<std::string, PreparedResponse, std::less<>> byPath_;
};
