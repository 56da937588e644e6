// SPDX-License-Identifier: MIT
#include "toolkit/CString256.h"

#include "platform/Carbon/Carbon.h"
#include "platform/CoreFoundation/CFRef.h"
#include "platform/CoreFoundation/CFString.h"
#include "toolkit/TextRules.h"

#include <cctype>
#include <cstring>
#include <new>
#include <string_view>

namespace {

using text_rules::kCapacity;

void appendText(char* dst, const char* s) {
    text_rules::appendAt(dst, std::strlen(dst), s);
}

// A platform text in Mac OS Roman into `out` (256 bytes). The conversion fails as a whole when
// the text does not fit; such a text is cut to its first 255 characters instead, as every other
// source is. A character without a Mac OS Roman byte still gives the empty text.
void convertPlatformString(const __CFString* s, char* out) {
    if (CFStringGetCString(s, out, kCapacity + 1, kCFStringEncodingMacRoman)) return;
    const std::string_view utf8 = CFStringGetUTF8(s);
    // Mac OS Roman spends one byte per character, so 255 characters is exactly what fits.
    size_t end = 0;
    for (size_t characters = 0; end < utf8.size() && characters < kCapacity; ++characters) {
        ++end;
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
            ++end;
    }
    if (end == utf8.size()) return; // it was short enough: a character had no byte
    CFRef<CFStringRef> head(CFStringCreateWithUTF8(utf8.substr(0, end)));
    if (head) CFStringGetCString(head.get(), out, kCapacity + 1, kCFStringEncodingMacRoman);
}

} // namespace

CString256* CString256::nfree = nullptr;

CString256::CString256(const char* s) {
    text_rules::replace(text, s);
}

CString256::CString256(unsigned char* p) {
    CopyPascalStringToC(p, text);
}

CString256::CString256(const unsigned char* p) {
    CopyPascalStringToC(p, text);
}

CString256::CString256(const CString256& other) {
    text_rules::replace(text, other.text);
}

CString256& CString256::operator=(const char* s) {
    text_rules::replace(text, s);
    return *this;
}

CString256& CString256::operator=(unsigned char* p) {
    CopyPascalStringToC(p, text);
    return *this;
}

CString256& CString256::operator=(const __CFString* s) {
    convertPlatformString(s, text);
    return *this;
}

CString256& CString256::operator=(const CString256& other) {
    text_rules::replace(text, other.text);
    return *this;
}

CString256& CString256::operator=(char** h) {
    const long size = GetHandleSize(h);
    const long n = size < 256 ? size : static_cast<long>(kCapacity);
    if (n > 0) std::memmove(text, *h, static_cast<size_t>(n));
    text[n > 0 ? n : 0] = '\0';
    return *this;
}

CString256& CString256::operator=(long n) {
    char digits[31];
    itoa(digits, sizeof digits, n);
    text_rules::replace(text, digits);
    return *this;
}

CString256& CString256::operator+=(const char* s) {
    appendText(text, s);
    return *this;
}

CString256& CString256::operator+=(char c) {
    text_rules::appendCharAt(text, std::strlen(text), c);
    return *this;
}

CString256& CString256::operator+=(CString256 other) {
    appendText(text, other.text);
    return *this;
}

CString256& CString256::operator+=(unsigned char* p) {
    char scratch[256];
    CopyPascalStringToC(p, scratch);
    appendText(text, scratch);
    return *this;
}

CString256& CString256::operator+=(long n) {
    char digits[31];
    itoa(digits, sizeof digits, n);
    appendText(text, digits);
    return *this;
}

CString256& CString256::operator+=(const __CFString* s) {
    CString256 converted;
    convertPlatformString(s, converted.text);
    return *this += converted;
}

char& CString256::operator[](int i) {
    return text[i];
}

void CString256::print(char* buf) {
    std::strcat(buf, text);
    const size_t end = std::strlen(buf);
    buf[end] = '\n';
    buf[end + 1] = '\0';
}

void CString256::print(short refNum) {
    char scratch[258];
    scratch[0] = '\0';
    print(scratch);
    long count = static_cast<long>(std::strlen(scratch));
    FSWrite(refNum, &count, scratch);
}

void CString256::to_lower() {
    const size_t len = std::strlen(text);
    for (size_t i = 0; i < len; ++i)
        text[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
}

void CString256::filter_to_alnum_or_punct() {
    char* p = text;
    while (*p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (std::isalnum(c) || std::ispunct(c)) {
            ++p;
        } else {
            std::memmove(p, p + 1, std::strlen(p)); // the rest, terminator included
        }
    }
}

void CString256::change_suffix(const char* suffix) {
    char scratch[256];
    std::memcpy(scratch, text, std::strlen(text) + 1);
    if (char* dot = std::strrchr(scratch, '.')) *dot = '\0';
    text_rules::replace(text, scratch);
    appendText(text, ".");
    appendText(text, suffix);
}

void reverse(char* s) {
    if (!s) return;
    size_t len = std::strlen(s);
    if (len < 2) return;
    for (size_t i = 0, j = len - 1; j > i; ++i, --j)
        switchIt(s, static_cast<int>(i), static_cast<int>(j));
}

void switchIt(char* s, int i, int j) {
    const char c = s[i];
    s[i] = s[j];
    s[j] = c;
}

void itoa(char* buf, short len, long n) {
    if (len <= 0) return; // no room even for the terminator
    const bool negative = n < 0;
    unsigned long m =
        negative ? 0UL - static_cast<unsigned long>(n) : static_cast<unsigned long>(n);
    int i = 0;
    while (i < len - 1) {
        buf[i++] = static_cast<char>('0' + m % 10);
        m /= 10;
        if (m == 0) break;
    }
    // The sign only when it still fits before the terminator: never write past buf[len - 1].
    if (negative && i < len - 1) buf[i++] = '-';
    buf[i] = '\0';
    reverse(buf);
}

namespace {

// The decimal text of `magnitude`, led by '-' when `negative`, in a new array the caller
// frees with delete[]; null when the allocation fails.
char* allocateDecimal(unsigned long magnitude, bool negative) {
    int digits = 1;
    for (unsigned long m = magnitude / 10; m != 0; m /= 10)
        ++digits;
    char* out = new (std::nothrow) char[digits + 2];
    if (!out) return nullptr;
    int i = 0;
    do {
        out[i++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) out[i++] = '-';
    out[i] = '\0';
    reverse(out);
    return out;
}

} // namespace

char* itoa(unsigned long n) {
    return allocateDecimal(n, false);
}

char* itoa(long n) {
    const unsigned long magnitude =
        n < 0 ? 0UL - static_cast<unsigned long>(n) : static_cast<unsigned long>(n);
    return allocateDecimal(magnitude, n < 0);
}

char* itoa(short n) {
    const unsigned short magnitude =
        n < 0 ? static_cast<unsigned short>(0U - static_cast<unsigned short>(n))
              : static_cast<unsigned short>(n);
    return allocateDecimal(magnitude, n < 0);
}
