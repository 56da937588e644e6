// SPDX-License-Identifier: MIT
// Comparing and searching CString256 texts: the eight matchers, the prefix and suffix tests,
// STRSTR and STRNCMP, and the adapters that give the matchers one function shape.
#include "toolkit/CString256.h"

#include "toolkit/SearchFolding.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

// Bytes go to <cctype> as unsigned values only: a signed char above 0x7F would be negative.

// The matchers' folding: tolower, for ASCII only, so that no two different bytes of 0x80 and
// above compare equal, whatever the locale.
struct SameIgnoringCase {
    bool operator()(char a, char b) const { return fold(a) == fold(b); }
    static int fold(char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x80 ? std::tolower(byte) : byte;
    }
};

struct SameByte {
    bool operator()(char a, char b) const { return a == b; }
};

// 1.0 when both texts are non-empty and equal pair by pair.
template <class Same> float exactScore(const char* s, const char* o, Same same) {
    while (*s && *o && same(*s, *o)) {
        ++s;
        ++o;
        if (!*s && !*o) return 1.0f;
    }
    return 0.0f;
}

// 1.0 when `o` is non-empty and occurs in `s` as a contiguous run.
template <class Same> float partialScore(const char* s, const char* o, Same same) {
    if (!*o) return 0.0f;
    for (; *s; ++s) {
        const char* a = s;
        const char* b = o;
        while (*a && *b && same(*a, *b)) {
            ++a;
            ++b;
        }
        if (!*b) return 1.0f;
    }
    return 0.0f;
}

// Each character of `o` takes its earliest match in `s` after the previous match, without
// backtracking; the score is 2 * count / (lenS + lenO).
template <class Same> float approximateScore(const char* s, const char* o, Same same) {
    const char* resume = s;
    int count = 0;
    for (const char* ch = o; *ch && *resume; ++ch) {
        for (const char* x = resume; *x; ++x) {
            if (same(*x, *ch)) {
                resume = x + 1;
                ++count;
                break;
            }
        }
    }
    const int lenS = static_cast<int>(std::strlen(s));
    const int lenO = static_cast<int>(std::strlen(o));
    // Two empty texts have no character in common: 0.0, as for the exact matchers, not 0/0.
    if (lenS + lenO == 0) return 0.0f;
    const int unmatched = std::abs(lenS - count) + std::abs(lenO - count);
    return static_cast<float>(1.0 - static_cast<double>(unmatched) / (lenS + lenO));
}

// The pieces must occur in order, each sought after the end of the one before.
template <class Find>
float wildcardScore(const char* subject, CList<CString256>& pieces, Find find) {
    const char* from = subject;
    pieces.cursor = pieces.head;
    while (elem<CString256>* piece = pieces.step()) {
        const char* found = find(from, piece->data.text);
        if (!found) return 0.0f;
        from = found + std::strlen(piece->data.text);
    }
    return 1.0f;
}

const char* findCase(const char* text, const char* piece) {
    return std::strstr(text, piece);
}

const char* findNocase(const char* text, const char* piece) {
    return STRSTR(text, piece);
}

int compareStart(const char* text, const char* start, size_t n, unsigned char ignoreCase) {
    return ignoreCase ? STRNCMP(text, start, static_cast<int>(n)) : std::strncmp(text, start, n);
}

} // namespace

void CString256::match_case_exact(const CString256& other, float* score) const {
    *score = exactScore(text, other.text, SameByte());
}

void CString256::match_nocase_exact(const CString256& other, float* score) const {
    *score = exactScore(text, other.text, SameIgnoringCase());
}

void CString256::match_case_partial(const CString256& other, float* score) const {
    *score = partialScore(text, other.text, SameByte());
}

void CString256::match_nocase_partial(const CString256& other, float* score) const {
    *score = partialScore(text, other.text, SameIgnoringCase());
}

void CString256::match_case_approximate(const CString256& other, float* score) const {
    *score = approximateScore(text, other.text, SameByte());
}

void CString256::match_nocase_approximate(const CString256& other, float* score) const {
    *score = approximateScore(text, other.text, SameIgnoringCase());
}

void CString256::match_wildcard_case(CList<CString256>& pieces, float* score) const {
    *score = wildcardScore(text, pieces, findCase);
}

void CString256::match_wildcard_nocase(CList<CString256>& pieces, float* score) const {
    *score = wildcardScore(text, pieces, findNocase);
}

void CString256::match(void (*matcher)(void*, void*, float*), void* other, float* score) {
    matcher(this, other, score);
}

bool CString256::beginsWith(const char* prefix, unsigned char ignoreCase) const {
    return compareStart(text, prefix, std::strlen(prefix), ignoreCase) == 0;
}

bool CString256::beginsWith(const CString256* prefix, unsigned char ignoreCase) const {
    return beginsWith(prefix->text, ignoreCase);
}

bool CString256::endsWith(const char* suffix, unsigned char ignoreCase) const {
    const size_t n = std::strlen(suffix);
    const size_t m = std::strlen(text);
    return m >= n && compareStart(text + (m - n), suffix, n, ignoreCase) == 0;
}

bool CString256::endsWith(const CString256* suffix, unsigned char ignoreCase) const {
    return endsWith(suffix->text, ignoreCase);
}

bool CString256::beginsWith_nocase(const CString256& prefix) const {
    return beginsWith(&prefix, 1);
}

bool CString256::beginsWith_nocase(const char* prefix) const {
    return beginsWith(prefix, 1);
}

bool CString256::endsWith_nocase(const CString256& suffix) const {
    return endsWith(&suffix, 1);
}

bool CString256::endsWith_nocase(const char* suffix) const {
    return endsWith(suffix, 1);
}

char* STRSTR(const char* text, const char* pattern) {
    if (!*pattern) return const_cast<char*>(text);
    const SearchFolding& folding = SearchFolding::current();
    // Only a position whose character folds like the pattern's first is tried; strcspn skips
    // to the next such position.
    const char* firstAlike = folding.foldingAlike(*pattern);
    for (text += std::strcspn(text, firstAlike); *text; text += std::strcspn(text, firstAlike)) {
        const char* t = text + 1;
        const char* p = pattern + 1;
        while (*p && *t && folding.fold(*t) == folding.fold(*p)) {
            ++t;
            ++p;
        }
        if (!*p) return const_cast<char*>(text);
        ++text;
    }
    return nullptr;
}

int STRNCMP(const char* a, const char* b, int count) {
    const SearchFolding& folding = SearchFolding::current();
    // A negative count places no bound: the loop ends at a difference or at the terminators.
    for (int i = 0; i != count; ++i) {
        if (folding.fold(a[i]) != folding.fold(b[i])) // the bytes as stored decide the sign
            return static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
        if (a[i] == '\0') return 0;
    }
    return 0;
}

namespace {

// The adapters read a void* to a CString256 as its text, which is the class's first field.
const char* textOf(void* string) {
    return static_cast<const char*>(string);
}

template <void (CString256::*Matcher)(const CString256&, float*) const>
void onCopyOfOther(void* subject, void* other, float* score) {
    const CString256 copy(textOf(other));
    (static_cast<CString256*>(subject)->*Matcher)(copy, score);
}

template <void (CString256::*Matcher)(CList<CString256>&, float*) const>
void onCopyOfSubject(void* subject, void* pieces, float* score) {
    const CString256 copy(textOf(subject));
    (copy.*Matcher)(*static_cast<CList<CString256>*>(pieces), score);
}

} // namespace

void match_wildcard_case_256(void* subject, void* other, float* score) {
    onCopyOfSubject<&CString256::match_wildcard_case>(subject, other, score);
}

void match_wildcard_nocase_256(void* subject, void* other, float* score) {
    onCopyOfSubject<&CString256::match_wildcard_nocase>(subject, other, score);
}

void matcher_case_exact_256(void* subject, void* other, float* score) {
    onCopyOfOther<&CString256::match_case_exact>(subject, other, score);
}

void matcher_nocase_exact_256(void* subject, void* other, float* score) {
    onCopyOfOther<&CString256::match_nocase_exact>(subject, other, score);
}

void matcher_case_partial_256(void* subject, void* other, float* score) {
    onCopyOfOther<&CString256::match_case_partial>(subject, other, score);
}

void matcher_nocase_partial_256(void* subject, void* other, float* score) {
    onCopyOfOther<&CString256::match_nocase_partial>(subject, other, score);
}

void matcher_case_approximate_256(void* subject, void* other, float* score) {
    onCopyOfOther<&CString256::match_case_approximate>(subject, other, score);
}

void matcher_nocase_approximate_256(void* subject, void* other, float* score) {
    onCopyOfOther<&CString256::match_nocase_approximate>(subject, other, score);
}
