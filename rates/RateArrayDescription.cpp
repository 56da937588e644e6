#include "rates/RatePage.h"

#include <cstdio>

namespace {

// Quoted, with quotes, backslashes and control characters escaped, so that whatever the page
// holds the rendering stays on one line and cannot pass for another log line.
void appendQuoted(std::string& out, std::string_view text) {
    out.push_back('"');
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\U%04x", static_cast<unsigned char>(c));
                out += escaped;
            } else {
                out.push_back(c);
            }
        }
    }
    out.push_back('"');
}

} // namespace

std::string DescribeRateArray(const RateArray& rates) {
    std::string out = "(";
    for (size_t i = 0; i < rates.size(); ++i) {
        out += i == 0 ? "{country = " : ", {country = ";
        appendQuoted(out, rates[i].country);
        out += "; rate = ";
        appendQuoted(out, rates[i].rate);
        out += ";}";
    }
    out += ")";
    return out;
}
