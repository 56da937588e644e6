#include "ratesite/ReferenceRates.h"

#include "rates/RatePatterns.h"
#include "ratesite/PrintableText.h"
#include "ratesite/RatePageBuilder.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <memory>

#include <expat.h>

namespace {

// Element names as the namespace-aware parser reports them: "URI NAME".
constexpr std::string_view kEnvelope = "http://www.gesmes.org/xml/2002-08-01 Envelope";
constexpr std::string_view kCube = "http://www.ecb.int/vocabulary/2002-08-01/eurofxref Cube";

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

// Both figures the page shows for a currency, units per dollar and dollars per unit, must be
// ordinary numbers whose six-decimal text the rate source takes.
bool isShowable(double perDollar) {
    constexpr double kSmallest = 1e-6, kLargest = 1e12;
    for (const double figure : {perDollar, 1 / perDollar})
        if (!std::isfinite(figure) || figure < kSmallest || figure > kLargest ||
            SixDecimals(figure).size() > RatePatterns::kLongestRate)
            return false;
    return true;
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
        if (const char* time = attribute(attributes, "time"); time && !dateSeen_) {
            dateSeen_ = true;
            date_ = time;
            datedCubeDepth_ = depth_;
            insideDatedCube_ = true;
            return;
        }
        // Only the first dated Cube counts; a feed of several days gives its newest first.
        if (insideDatedCube_ && depth_ == datedCubeDepth_ + 1) entry(attributes);
    }

    void endElement() {
        if (insideDatedCube_ && depth_ == datedCubeDepth_) insideDatedCube_ = false;
        --depth_;
    }

    // Entities could expand without bound or reach outside; the feed needs none.
    void refuseEntities() {
        declaresEntities_ = true;
        XML_StopParser(parser_, XML_FALSE);
    }

    ReferenceRatesReading finish(bool wellFormed) {
        ReferenceRatesReading reading;
        reading.skipped = std::move(skipped_);
        if (declaresEntities_)
            reading.refusal = "it declares entities";
        else if (!wellFormed)
            reading.refusal = "it is not well-formed XML (line " +
                              std::to_string(XML_GetCurrentLineNumber(parser_)) + ": " +
                              XML_ErrorString(XML_GetErrorCode(parser_)) + ")";
        else if (!isEnvelope_ || !sawCube_)
            reading.refusal = "it is not the reference-rate document";
        else if (!dateSeen_ || !isDate(date_))
            reading.refusal = "it has no date (YYYY-MM-DD)";
        else if (conflictingDollar_)
            reading.refusal = "it lists the US dollar twice with different rates";
        else if (!rates_.perEuro("USD"))
            reading.refusal = "it has no US dollar rate";
        else if (!isShowable(*rates_.perEuro("USD")))
            reading.refusal = "its US dollar rate " + shortest(*rates_.perEuro("USD")) +
                              " gives the euro a rate out of range";
        else {
            leaveOutUnshowable(reading.skipped);
            rates_.date = date_;
            reading.rates = std::move(rates_);
        }
        return reading;
    }

private:
    void entry(const XML_Char** attributes) {
        const char* code = attribute(attributes, "currency");
        const char* rate = attribute(attributes, "rate");
        if (!code || !isCurrencyCode(code)) {
            skipped_.push_back("currency code " + PrintableText(code ? code : "(none)") +
                               " is not three capital letters");
            return;
        }
        const std::optional<double> value = rate ? plainPositiveDecimal(rate) : std::nullopt;
        if (!value) {
            skipped_.push_back(std::string(code) + ": rate " +
                               PrintableText(rate ? rate : "(none)") +
                               " is not a plain positive decimal");
            return;
        }
        if (const std::optional<double> listed = rates_.perEuro(code)) {
            // The whole page is reckoned from the dollar: two of them leave no right page.
            if (std::string_view(code) == "USD" && *listed != *value) conflictingDollar_ = true;
            skipped_.push_back(std::string(code) + ": listed again; the first rate is kept");
            return;
        }
        rates_.rates.push_back({code, *value});
    }

    // Which figures are out of range depends on the dollar, which may come last in the feed.
    void leaveOutUnshowable(std::vector<std::string>& skipped) {
        const double dollarsPerEuro = *rates_.perEuro("USD");
        std::erase_if(rates_.rates, [&](const ReferenceRate& rate) {
            if (rate.code == "USD" || isShowable(rate.perEuro / dollarsPerEuro)) return false;
            skipped.push_back(rate.code + ": rate " + shortest(rate.perEuro) +
                              " is out of range against the US dollar");
            return true;
        });
    }

    XML_Parser parser_;
    int depth_ = 0;
    int datedCubeDepth_ = 0;
    bool insideDatedCube_ = false;
    bool isEnvelope_ = false;
    bool sawCube_ = false;
    bool dateSeen_ = false;
    bool declaresEntities_ = false;
    bool conflictingDollar_ = false;
    std::string date_;
    ReferenceRates rates_;
    std::vector<std::string> skipped_;
};

} // namespace

std::optional<double> ReferenceRates::perEuro(std::string_view code) const {
    for (const ReferenceRate& rate : rates)
        if (rate.code == code) return rate.perEuro;
    return std::nullopt;
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
