// SPDX-License-Identifier: MIT
#include "platform/Foundation/CaseFoldedText.h"

#include <algorithm>

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace {

constexpr unsigned char kASCIILimit = 0x80;

// Folds `text` into `out`, calling `onShift(foldedEnd, originalEnd)` after each character whose
// byte length changed.
template <class OnShift> void foldInto(std::string_view text, std::string& out, OnShift onShift) {
    out.clear();
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t length = text.size();
    size_t i = 0;
    while (i < length) {
        // The fast path: runs of ASCII fold by lower-casing.
        const size_t run = i;
        while (i < length && bytes[i] < kASCIILimit)
            ++i;
        if (i > run) {
            const size_t at = out.size();
            out.append(text.data() + run, i - run);
            for (size_t k = at; k < out.size(); ++k)
                if (out[k] >= 'A' && out[k] <= 'Z')
                    out[k] = static_cast<char>(out[k] + ('a' - 'A'));
        }
        if (i >= length) break;
        // One character at most four bytes long; offsets stay size_t for any text length.
        const int32_t available = static_cast<int32_t>(std::min<size_t>(length - i, 4));
        int32_t used = 0;
        UChar32 c;
        U8_NEXT(bytes + i, used, available, c);
        const size_t start = i;
        i += static_cast<size_t>(used);
        if (c < 0) {
            // Bytes that are not UTF-8 stay as they are.
            out.append(text.data() + start, i - start);
            continue;
        }
        char encoded[U8_MAX_LENGTH];
        int32_t n = 0;
        U8_APPEND_UNSAFE(encoded, n, u_foldCase(c, U_FOLD_CASE_DEFAULT)); // valid, fits
        out.append(encoded, static_cast<size_t>(n));
        if (static_cast<size_t>(n) != i - start) onShift(out.size(), i);
    }
}

} // namespace

CaseFoldedText::CaseFoldedText(std::string_view original) {
    foldInto(original, folded_, [this](size_t foldedEnd, size_t originalEnd) {
        shifts_.push_back({foldedEnd, static_cast<std::ptrdiff_t>(originalEnd) -
                                          static_cast<std::ptrdiff_t>(foldedEnd)});
    });
}

std::string CaseFoldedText::fold(std::string_view text) {
    std::string out;
    foldInto(text, out, [](size_t, size_t) {});
    return out;
}

size_t CaseFoldedText::originalOffset(size_t foldedOffset) const {
    auto after = std::upper_bound(shifts_.begin(), shifts_.end(), foldedOffset,
                                  [](size_t offset, const Shift& s) { return offset < s.folded; });
    if (after == shifts_.begin()) return foldedOffset;
    return static_cast<size_t>(static_cast<std::ptrdiff_t>(foldedOffset) + std::prev(after)->shift);
}

size_t CaseFoldedText::find(std::string_view pattern, size_t from) const {
    // Not memmem: sanitizers check its whole haystack on each call, which makes findAll
    // quadratic under them.
    if (pattern.empty()) return npos;
    return std::string_view(folded_).find(pattern, from);
}

size_t CaseFoldedText::findLast(std::string_view pattern, size_t end) const {
    if (pattern.empty()) return npos;
    end = std::min(end, folded_.size());
    if (pattern.size() > end) return npos;
    return std::string_view(folded_).substr(0, end).rfind(pattern);
}

std::vector<size_t> CaseFoldedText::findAll(std::string_view pattern) const {
    std::vector<size_t> starts;
    for (size_t at = find(pattern); at != npos; at = find(pattern, at + 1))
        starts.push_back(at);
    return starts;
}
