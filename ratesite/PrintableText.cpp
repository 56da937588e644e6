#include "ratesite/PrintableText.h"

#include <cstdio>

std::string PrintableText(std::string_view text) {
    constexpr size_t kLongest = 40;
    std::string shown = "\"";
    for (size_t i = 0; i < text.size() && i < kLongest; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7f || c == '"' || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            shown += escaped;
        } else {
            shown += static_cast<char>(c);
        }
    }
    if (text.size() > kLongest) shown += "...";
    return shown + "\"";
}
