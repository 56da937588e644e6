#include "ratesite/ReferenceRates.h"

#include "ratesite/PrintableText.h"

#include <algorithm>
#include <charconv>
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

// YYYY-MM-DD with a month and a day that can exist.
bool isDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!isDigit(text[i])) return false;
    const int month = (text[5] - '0') * 10 + (text[6] - '0');
    const int day = (text[8] - '0') * 10 + (text[9] - '0');
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
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
        else if (!rates_.perEuro("USD"))
            reading.refusal = "it has no US dollar rate";
        else {
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
        if (rates_.perEuro(code)) {
            skipped_.push_back(std::string(code) + ": listed again; the first rate is kept");
            return;
        }
        rates_.rates.push_back({code, *value});
    }

    XML_Parser parser_;
    int depth_ = 0;
    int datedCubeDepth_ = 0;
    bool insideDatedCube_ = false;
    bool isEnvelope_ = false;
    bool sawCube_ = false;
    bool dateSeen_ = false;
    bool declaresEntities_ = false;
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
