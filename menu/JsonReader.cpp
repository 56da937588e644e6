// SPDX-License-Identifier: MIT
#include "menu/JsonReader.h"

namespace {

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<JsonValue> document() {
        JsonValue value;
        if (!read(value, 0)) return std::nullopt;
        skipSpace();
        if (at_ != text_.size()) return std::nullopt;
        return value;
    }

private:
    bool read(JsonValue& value, std::size_t depth) {
        skipSpace();
        if (at_ >= text_.size() || depth > kMaxJsonDepth) return false;
        switch (text_[at_]) {
        case '{':
            value.kind = JsonValue::Kind::Object;
            return readObject(value, depth);
        case '[':
            value.kind = JsonValue::Kind::Array;
            return readArray(value, depth);
        case '"':
            value.kind = JsonValue::Kind::String;
            return readString(value.text);
        case 't':
            value.kind = JsonValue::Kind::Boolean;
            value.boolean = true;
            return word("true");
        case 'f':
            value.kind = JsonValue::Kind::Boolean;
            return word("false");
        case 'n':
            return word("null");
        default:
            value.kind = JsonValue::Kind::Number;
            return readNumber(value.text);
        }
    }

    bool readObject(JsonValue& value, std::size_t depth) {
        ++at_;
        skipSpace();
        if (take('}')) return true;
        do {
            skipSpace();
            std::string name;
            if (!readString(name)) return false;
            skipSpace();
            if (!take(':')) return false;
            JsonValue member;
            if (!read(member, depth + 1)) return false;
            value.members.emplace_back(std::move(name), std::move(member));
            skipSpace();
        } while (take(','));
        return take('}');
    }

    bool readArray(JsonValue& value, std::size_t depth) {
        ++at_;
        skipSpace();
        if (take(']')) return true;
        do {
            JsonValue item;
            if (!read(item, depth + 1)) return false;
            value.items.push_back(std::move(item));
            skipSpace();
        } while (take(','));
        return take(']');
    }

    // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    bool readNumber(std::string& number) {
        const std::size_t start = at_;
        take('-');
        if (take('0')) {
        } else if (!digits()) {
            return false;
        }
        if (take('.') && !digits()) return false;
        if (take('e') || take('E')) {
            if (!take('+')) take('-');
            if (!digits()) return false;
        }
        number.assign(text_.substr(start, at_ - start));
        return true;
    }

    bool readString(std::string& out) {
        if (!take('"')) return false;
        while (at_ < text_.size()) {
            const unsigned char c = static_cast<unsigned char>(text_[at_]);
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c < 0x20) return false; // controls must be escaped
            if (c == '\\') {
                if (!readEscape(out)) return false;
            } else if (!copyUtf8Character(out)) {
                return false;
            }
        }
        return false;
    }

    bool readEscape(std::string& out) {
        if (++at_ >= text_.size()) return false;
        const char c = text_[at_++];
        switch (c) {
        case '"':
        case '\\':
        case '/':
            out += c;
            return true;
        case 'b':
            out += '\b';
            return true;
        case 'f':
            out += '\f';
            return true;
        case 'n':
            out += '\n';
            return true;
        case 'r':
            out += '\r';
            return true;
        case 't':
            out += '\t';
            return true;
        case 'u':
            break;
        default:
            return false;
        }
        std::optional<char32_t> unit = hex4();
        if (!unit) return false;
        char32_t code = *unit;
        if (code >= 0xD800 && code <= 0xDBFF) { // a high surrogate needs its low one
            if (!take('\\') || !take('u')) return false;
            const std::optional<char32_t> low = hex4();
            if (!low || *low < 0xDC00 || *low > 0xDFFF) return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (*low - 0xDC00);
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            return false;
        }
        appendUtf8(out, code);
        return true;
    }

    std::optional<char32_t> hex4() {
        if (at_ + 4 > text_.size()) return std::nullopt;
        char32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            value <<= 4;
            if (c >= '0' && c <= '9')
                value |= static_cast<char32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                value |= static_cast<char32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                value |= static_cast<char32_t>(c - 'A' + 10);
            else
                return std::nullopt;
        }
        return value;
    }

    static void appendUtf8(std::string& out, char32_t code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    // One character as it stands, checked to be well-formed UTF-8 (no overlong form, no
    // surrogate, nothing past U+10FFFF).
    bool copyUtf8Character(std::string& out) {
        const auto byte = [this](std::size_t i) {
            return static_cast<unsigned char>(text_[at_ + i]);
        };
        const unsigned char lead = byte(0);
        std::size_t length = 0;
        char32_t code = 0, smallest = 0;
        if (lead < 0x80)
            length = 1, code = lead;
        else if ((lead & 0xE0) == 0xC0)
            length = 2, code = lead & 0x1F, smallest = 0x80;
        else if ((lead & 0xF0) == 0xE0)
            length = 3, code = lead & 0x0F, smallest = 0x800;
        else if ((lead & 0xF8) == 0xF0)
            length = 4, code = lead & 0x07, smallest = 0x10000;
        else
            return false;
        if (at_ + length > text_.size()) return false;
        for (std::size_t i = 1; i < length; ++i) {
            if ((byte(i) & 0xC0) != 0x80) return false;
            code = (code << 6) | (byte(i) & 0x3F);
        }
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        out.append(text_.substr(at_, length));
        at_ += length;
        return true;
    }

    bool digits() {
        const std::size_t start = at_;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9')
            ++at_;
        return at_ > start;
    }

    bool word(std::string_view expected) {
        if (text_.substr(at_, expected.size()) != expected) return false;
        at_ += expected.size();
        return true;
    }

    bool take(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    void skipSpace() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace

const JsonValue* JsonValue::member(std::string_view name) const {
    for (const auto& [key, value] : members)
        if (key == name) return &value;
    return nullptr;
}

std::optional<JsonValue> ParseJson(std::string_view text) {
    return Reader(text).document();
}
