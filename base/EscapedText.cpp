// SPDX-License-Identifier: MIT
#include "base/EscapedText.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isControlCharacter(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool isControl(char32_t c) {
    return isControlCharacter(c) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) ||
           c == 0x200E || c == 0x200F || c == 0x061C || c == 0x2028 || c == 0x2029;
}

// The code point starting at `at`, and how many bytes it takes; an invalid sequence gives
// U+FFFD for its first byte.
char32_t decodeAt(std::string_view text, std::size_t at, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    length = 1;
    if (lead < 0x80) return lead;
    std::size_t count = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        count = 2, c = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        count = 3, c = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        count = 4, c = lead & 0x07, smallest = 0x10000;
    } else {
        return kReplacement;
    }
    if (text.size() - at < count) return kReplacement;
    for (std::size_t i = 1; i < count; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return kReplacement;
        c = c << 6 | (byte(i) & 0x3F);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
    length = count;
    return c;
}

void appendUTF8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendCode(std::string& out, const char* format, char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, format, static_cast<unsigned>(c));
    out += code;
}

enum class Style { quoted, visible };

// Walks the text once; `style` says what a control (and, quoted, a quote or backslash)
// becomes.
std::string escape(std::string_view text, Style style) {
    std::string out;
    out.reserve(text.size() + 2);
    if (style == Style::quoted) out += '"';
    for (std::size_t at = 0, length = 0; at < text.size(); at += length) {
        const char32_t c = decodeAt(text, at, length);
        if (style == Style::quoted) {
            switch (c) {
            case '"':
                out += "\\\"";
                continue;
            case '\\':
                out += "\\\\";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\r':
                out += "\\r";
                continue;
            case '\t':
                out += "\\t";
                continue;
            default:
                if (isControl(c))
                    appendCode(out, "\\u%04x", c);
                else
                    appendUTF8(out, c);
                continue;
            }
        }
        if (c < 0x20)
            appendUTF8(out, 0x2400 + c);
        else if (c == 0x7F)
            appendUTF8(out, 0x2421);
        else if (isControl(c))
            appendCode(out, "<U+%04X>", c);
        else
            appendUTF8(out, c);
    }
    if (style == Style::quoted) out += '"';
    return out;
}

} // namespace

std::string QuotedText(std::string_view utf8) {
    return escape(utf8, Style::quoted);
}

std::string VisibleText(std::string_view utf8) {
    return escape(utf8, Style::visible);
}

bool ContainsControlCharacter(std::string_view utf8) {
    for (std::size_t at = 0, length = 0; at < utf8.size(); at += length)
        if (isControlCharacter(decodeAt(utf8, at, length))) return true;
    return false;
}
