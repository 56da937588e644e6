// SPDX-License-Identifier: MIT
#include "ratesite/ReferenceRates.h"

#include "ratesite/PrintableText.h"
#include "ratesite/RatePageBuilder.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <memory>
#include <set>

#include <expat.h>

namespace {

// Element names as the namespace-aware parser reports them: "URI NAME".
constexpr std::string_view kEnvelope = "http://www.gesmes.org/xml/2002-08-01 Envelope";
constexpr std::string_view kCube = "http://www.ecb.int/vocabulary/2002-08-01/eurofxref Cube";
constexpr size_t kMostSkippedLines = 100;

struct ParserDeleter {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
using Parser = std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserDeleter>;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isCurrencyCode(std::string_view code) {
    return code.size() == 3 &&
           std::all_of(code.begin(), code.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// A plain decimal, digits with an optional fraction: no sign, exponent, spaces or "inf".
std::optional<double> plainPositiveDecimal(std::string_view text) {
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view("0") : text.substr(point + 1);
    if (whole.empty() || fraction.empty() || !std::all_of(whole.begin(), whole.end(), isDigit) ||
        !std::all_of(fraction.begin(), fraction.end(), isDigit))
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        value <= 0)
        return std::nullopt;
    return value;
}

// YYYY-MM-DD naming a day of the calendar: no 2026-02-31, no 29 February outside leap years.
bool isDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!isDigit(text[i])) return false;
    const auto number = [text](size_t from, size_t length) {
        int value = 0;
        for (size_t i = from; i < from + length; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    const std::chrono::year_month_day day{std::chrono::year(number(0, 4)),
                                          std::chrono::month(static_cast<unsigned>(number(5, 2))),
                                          std::chrono::day(static_cast<unsigned>(number(8, 2)))};
    return day.ok();
}

// "1e-30", for a log line about a figure six decimals would show as zero.
std::string shortest(double value) {
    char digits[32];
    return std::string(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

const char* attribute(const XML_Char** attributes, std::string_view name) {
    for (; attributes[0]; attributes += 2)
        if (name == attributes[0]) return attributes[1];
    return nullptr;
}

// A day as the feed lists it, before the document as a whole is judged.
struct ListedDay {
    std::string date;
    std::vector<ReferenceRate> rates;
    std::vector<std::string> skipped;
    bool conflictingDollar = false;
};

std::optional<double> rateOf(const std::vector<ReferenceRate>& rates, std::string_view code) {
    for (const ReferenceRate& rate : rates)
        if (rate.code == code) return rate.perEuro;
    return std::nullopt;
}

class FeedReader {
public:
    explicit FeedReader(XML_Parser parser) : parser_(parser) {}

    void startElement(std::string_view name, const XML_Char** attributes) {
        ++depth_;
        if (depth_ == 1) {
            isEnvelope_ = name == kEnvelope;
            return;
        }
        if (!isEnvelope_ || name != kCube) return;
        sawCube_ = true;
        if (dayDepth_ == 0) {
            if (const char* time = attribute(attributes, "time")) {
                listed_.push_back({time, {}, {}, false});
                dayDepth_ = depth_;
            }
            return;
        }
        if (depth_ == dayDepth_ + 1) entry(listed_.back(), attributes);
    }

    void endElement() {
        if (depth_ == dayDepth_) dayDepth_ = 0;
        --depth_;
    }

    // Entities could expand without bound or reach outside; the feed needs none.
    void refuseEntities() {
        declaresEntities_ = true;
        XML_StopParser(parser_, XML_FALSE);
    }

    ReferenceRatesReading finish(bool wellFormed) {
        ReferenceRatesReading reading;
        if (declaresEntities_)
            reading.refusal = "it declares entities";
        else if (!wellFormed)
            reading.refusal = "it is not well-formed XML (line " +
                              std::to_string(XML_GetCurrentLineNumber(parser_)) + ": " +
                              XML_ErrorString(XML_GetErrorCode(parser_)) + ")";
        else if (!isEnvelope_ || !sawCube_)
            reading.refusal = "it is not the reference-rate document";
        if (!reading.refusal.empty()) return reading;

        std::vector<ListedDay> days = keptDays(reading.skipped);
        if (days.empty()) {
            reading.refusal = "it has no date (YYYY-MM-DD)";
            return reading;
        }
        ListedDay& newest = days.back();
        const std::optional<double> dollar = rateOf(newest.rates, "USD");
        if (newest.conflictingDollar)
            reading.refusal = "it lists the US dollar twice with different rates";
        else if (!dollar)
            reading.refusal = "it has no US dollar rate";
        else if (!RowFitsThePage(*dollar))
            reading.refusal =
                "its US dollar rate " + shortest(*dollar) + " gives the euro a rate out of range";
        if (!reading.refusal.empty()) return reading;

        // The newest day's lines first and as they are; older days' lines name their day.
        std::vector<std::string> skipped = std::move(newest.skipped);
        leaveOutUnshowable(newest.rates, *dollar, skipped);
        std::set<std::string_view> offered;
        for (const ReferenceRate& rate : newest.rates)
            offered.insert(rate.code);
        for (size_t i = 0; i + 1 < days.size(); ++i) {
            leaveOutUnoffered(days[i], offered);
            for (const std::string& line : days[i].skipped)
                skipped.push_back(days[i].date + ": " + line);
        }
        skipped.insert(skipped.end(), reading.skipped.begin(), reading.skipped.end());
        reading.skipped = std::move(skipped);
        // Each line goes to the log: a hostile document of many bad entries must not flood it.
        if (reading.skipped.size() > kMostSkippedLines) {
            const size_t more = reading.skipped.size() - kMostSkippedLines;
            reading.skipped.resize(kMostSkippedLines);
            reading.skipped.push_back("... and " + std::to_string(more) +
                                      " more entries or days left out");
        }

        ReferenceRates rates;
        rates.date = newest.date;
        rates.rates = newest.rates;
        for (ListedDay& day : days)
            rates.days.push_back({std::move(day.date), std::move(day.rates)});
        reading.rates = std::move(rates);
        return reading;
    }

private:
    void entry(ListedDay& day, const XML_Char** attributes) {
        const char* code = attribute(attributes, "currency");
        const char* rate = attribute(attributes, "rate");
        if (!code || !isCurrencyCode(code)) {
            day.skipped.push_back("currency code " + PrintableText(code ? code : "(none)") +
                                  " is not three capital letters");
            return;
        }
        const std::optional<double> value = rate ? plainPositiveDecimal(rate) : std::nullopt;
        if (!value) {
            day.skipped.push_back(std::string(code) + ": rate " +
                                  PrintableText(rate ? rate : "(none)") +
                                  " is not a plain positive decimal");
            return;
        }
        if (const std::optional<double> listed = rateOf(day.rates, code)) {
            // The whole page is reckoned from the dollar: two of them leave no right page.
            if (std::string_view(code) == "USD" && *listed != *value) day.conflictingDollar = true;
            day.skipped.push_back(std::string(code) + ": listed again; the first rate is kept");
            return;
        }
        day.rates.push_back({code, *value});
    }

    // The days with a date of the calendar, each date once (its first listing), oldest first.
    std::vector<ListedDay> keptDays(std::vector<std::string>& skipped) {
        std::vector<ListedDay> days;
        std::set<std::string> dates; // a large hostile feed must not cost a quadratic search
        for (ListedDay& day : listed_) {
            if (!isDate(day.date))
                skipped.push_back("a day dated " + PrintableText(day.date) +
                                  " is left out: it is not a date (YYYY-MM-DD)");
            else if (!dates.insert(day.date).second)
                skipped.push_back(day.date + ": listed again; the first listing is kept");
            else
                days.push_back(std::move(day));
        }
        std::stable_sort(days.begin(), days.end(),
                         [](const ListedDay& a, const ListedDay& b) { return a.date < b.date; });
        return days;
    }

    // Which figures are out of range depends on the dollar, which may come last in the feed.
    static void leaveOutUnshowable(std::vector<ReferenceRate>& rates, double dollarsPerEuro,
                                   std::vector<std::string>& skipped) {
        std::erase_if(rates, [&](const ReferenceRate& rate) {
            if (rate.code == "USD" || RowFitsThePage(rate.perEuro / dollarsPerEuro)) return false;
            skipped.push_back(rate.code + ": rate " + shortest(rate.perEuro) +
                              " is out of range against the US dollar");
            return true;
        });
    }

    // A currency the newest day lacks is not offered, so its older rates are of no use.
    static void leaveOutUnoffered(ListedDay& day, const std::set<std::string_view>& offered) {
        std::erase_if(day.rates, [&](const ReferenceRate& rate) {
            if (offered.count(rate.code)) return false;
            day.skipped.push_back(rate.code + ": not among the newest day's rates; not offered");
            return true;
        });
    }

    XML_Parser parser_;
    int depth_ = 0;
    int dayDepth_ = 0; // of the dated Cube being read; 0 outside one
    bool isEnvelope_ = false;
    bool sawCube_ = false;
    bool declaresEntities_ = false;
    std::vector<ListedDay> listed_;
};

} // namespace

std::optional<double> ReferenceDay::perEuro(std::string_view code) const {
    return rateOf(rates, code);
}

std::optional<double> ReferenceRates::perEuro(std::string_view code) const {
    return rateOf(rates, code);
}

ReferenceRatesReading ReadReferenceRates(std::string_view document) {
    if (document.size() > kMaxFeedBytes) {
        ReferenceRatesReading refused;
        refused.refusal = "it is larger than 1 MiB";
        return refused;
    }
    const Parser parser(XML_ParserCreateNS(nullptr, ' '));
    if (!parser) {
        ReferenceRatesReading refused;
        refused.refusal = "no memory to read it";
        return refused;
    }
    FeedReader reader(parser.get());
    XML_SetUserData(parser.get(), &reader);
    XML_SetElementHandler(
        parser.get(),
        [](void* self, const XML_Char* name, const XML_Char** attributes) {
            static_cast<FeedReader*>(self)->startElement(name, attributes);
        },
        [](void* self, const XML_Char*) { static_cast<FeedReader*>(self)->endElement(); });
    XML_SetEntityDeclHandler(
        parser.get(),
        [](void* self, const XML_Char*, int, const XML_Char*, int, const XML_Char*, const XML_Char*,
           const XML_Char*, const XML_Char*) { static_cast<FeedReader*>(self)->refuseEntities(); });
    // Never read an external DTD or parameter entities.
    XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
    const bool wellFormed = XML_Parse(parser.get(), document.data(),
                                      static_cast<int>(document.size()), XML_TRUE) == XML_STATUS_OK;
    return reader.finish(wellFormed);
}
