// SPDX-License-Identifier: MIT
#include "ratesite/RatePageBuilder.h"

#include "rates/RatePatterns.h"

#include <charconv>
#include <cmath>

namespace {

std::string htmlEscaped(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

// A rate cell: the link whose text the rate source takes as the rate.
void appendRateCell(std::string& page, std::string_view anchor, double figure) {
    page += "<td align=\"right\"><font face=\"Verdana\" size=-1><a href=\"#";
    page += anchor;
    page += "\" ";
    page += RatePatterns::kRateOpening;
    page += SixDecimals(figure);
    page += RatePatterns::kRateClosing;
    page += "\n";
}

// One row in the markup the rate source reads (rates/RatePatterns.h): the name cell, then the
// units for one unit of the base, then the base's units for one unit.
void appendRow(std::string& page, const SiteCurrency& currency, const std::string& base,
               double perBase) {
    const std::string code = htmlEscaped(currency.code);
    page += "<tr bgcolor=\"#ffffff\">\n";
    page += RatePatterns::kNameOpening;
    page += htmlEscaped(currency.name);
    page += RatePatterns::kNameClosing;
    page += "\n";
    appendRateCell(page, code + "-per-" + base, perBase);
    appendRateCell(page, base + "-per-" + code, 1 / perBase);
    page += "</tr>\n";
}

// What the page says above its table: the day, where the rates come from, and for every base
// but the euro that they were converted. English, as the page's other words.
void appendCaption(std::string& page, const ReferenceRates& rates, std::string_view base,
                   bool fromSnapshot) {
    static const CurrencyNames english("en");
    page += "<html>\n<head><meta charset=\"utf-8\"><title>";
    page += htmlEscaped(english.nameOf(base));
    page += " exchange rates</title></head>\n<body>\n<p>Rates of ";
    page += htmlEscaped(rates.date);
    page += ": the euro foreign exchange reference rates of the European Central Bank";
    if (base != "EUR") {
        page += ", converted to ";
        page += htmlEscaped(english.pluralNameOf(base, "other"));
    }
    page += ". Source: European Central Bank. The reference rates are published for information "
            "purposes only.</p>\n";
    if (fromSnapshot)
        page += "<p>These rates come from a snapshot bundled with Corvanta, not from the "
                "feed: they are not today's.</p>\n";
}

} // namespace

bool RowFitsThePage(double perBase) {
    constexpr double kSmallest = 1e-6, kLargest = 1e12;
    for (const double figure : {perBase, 1 / perBase})
        if (!std::isfinite(figure) || figure < kSmallest || figure > kLargest ||
            SixDecimals(figure).size() > RatePatterns::kLongestRate)
            return false;
    return true;
}

std::string SixDecimals(double value) {
    char digits[400]; // room for the largest finite double in fixed notation
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6);
    return std::string(digits, result.ptr);
}

std::vector<const SiteCurrency*> PageCurrencies(const ReferenceRates& rates,
                                                const std::vector<SiteCurrency>& offered,
                                                std::string_view base) {
    std::vector<const SiteCurrency*> listed;
    for (const SiteCurrency& currency : offered) {
        if (currency.code == base) continue;
        const std::optional<double> perBase = CrossRate(rates.days.back(), currency.code, base);
        if (perBase && RowFitsThePage(*perBase)) listed.push_back(&currency);
    }
    return listed;
}

std::string BuildRatePage(const ReferenceRates& rates, const std::vector<SiteCurrency>& offered,
                          std::string_view base, bool fromSnapshot) {
    const std::string code = htmlEscaped(base);
    const ReferenceDay& newest = rates.days.back();
    std::string page;
    page.reserve(768 + offered.size() * 420);
    appendCaption(page, rates, base, fromSnapshot);
    page += "<table border=\"0\" cellpadding=\"2\" cellspacing=\"1\" width=\"100%\">\n"
            "<tr><th>Currency</th><th>Units for 1 " +
            code + "</th><th>" + code + " for 1 unit</th></tr>\n";
    for (const SiteCurrency* currency : PageCurrencies(rates, offered, base))
        appendRow(page, *currency, code, *CrossRate(newest, currency->code, base));
    page += "</table>\n</body>\n</html>\n";
    return page;
}

std::string BuildRatePage(const ReferenceRates& rates, std::string_view base, bool fromSnapshot,
                          const CurrencyNames& names) {
    return BuildRatePage(rates, OfferedCurrencies(rates, names), base, fromSnapshot);
}
