#include "ratesite/RatePageBuilder.h"

#include "rates/RatePatterns.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace {

struct Row {
    std::string name;
    std::string code;
    double perDollar;
};

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

std::vector<Row> rowsOf(const ReferenceRates& rates, const CurrencyNames& names) {
    const double dollarsPerEuro = *rates.perEuro("USD");
    std::vector<Row> rows;
    rows.reserve(rates.rates.size());
    rows.push_back({names.nameOf("EUR"), "EUR", 1 / dollarsPerEuro});
    for (const ReferenceRate& rate : rates.rates)
        if (rate.code != "USD" && rate.code != "EUR")
            rows.push_back({names.nameOf(rate.code), rate.code, rate.perEuro / dollarsPerEuro});
    std::sort(rows.begin(), rows.end(), [&names](const Row& a, const Row& b) {
        if (names.before(a.name, b.name)) return true;
        if (names.before(b.name, a.name)) return false;
        return a.code < b.code;
    });
    return rows;
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
// units for one dollar, then the dollars for one unit.
void appendRow(std::string& page, const Row& row) {
    const std::string code = htmlEscaped(row.code);
    page += "<tr bgcolor=\"#ffffff\">\n";
    page += RatePatterns::kNameOpening;
    page += htmlEscaped(row.name);
    page += RatePatterns::kNameClosing;
    page += "\n";
    appendRateCell(page, code + "-per-USD", row.perDollar);
    appendRateCell(page, "USD-per-" + code, 1 / row.perDollar);
    page += "</tr>\n";
}

} // namespace

std::string SixDecimals(double value) {
    char digits[400]; // room for the largest finite double in fixed notation
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6);
    return std::string(digits, result.ptr);
}

std::string BuildRatePage(const ReferenceRates& rates, bool fromSnapshot,
                          const CurrencyNames& names) {
    const std::vector<Row> rows = rowsOf(rates, names);
    std::string page;
    page.reserve(512 + rows.size() * 420);
    page += "<html>\n<head><meta charset=\"utf-8\"><title>US Dollar exchange rates</title>"
            "</head>\n<body>\n<p>Rates of ";
    page += htmlEscaped(rates.date);
    page += ": the euro foreign exchange reference rates of the European Central Bank, "
            "converted to US dollars. Source: European Central Bank. The reference rates are "
            "published for information purposes only.</p>\n";
    if (fromSnapshot)
        page += "<p>These rates come from a snapshot bundled with Corvanta, not from the "
                "feed: they are not today's.</p>\n";
    page += "<table border=\"0\" cellpadding=\"2\" cellspacing=\"1\" width=\"100%\">\n"
            "<tr><th>Currency</th><th>Units for 1 USD</th><th>USD for 1 unit</th></tr>\n";
    for (const Row& row : rows)
        appendRow(page, row);
    page += "</table>\n</body>\n</html>\n";
    return page;
}
