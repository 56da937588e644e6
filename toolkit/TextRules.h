// SPDX-License-Identifier: MIT
// The rules by which text reaches a CString256, for the toolkit's own files. The caller passes
// the current length where it already knows it, so building a text piece by piece does not
// measure it again for every piece.
#pragma once

#include <cstddef>
#include <cstring>

namespace text_rules {

constexpr std::size_t kCapacity = 255; // characters; the array holds one more for the terminator

// The replace rule: the first 255 characters of `s`; a null `s` gives the empty text. `s` may
// lie inside `dst` (self-assignment, a pointer into its own text): it is moved, not re-read.
inline void replace(char* dst, const char* s) {
    const std::size_t n = s ? strnlen(s, kCapacity) : 0;
    if (n) std::memmove(dst, s, n);
    dst[n] = '\0';
}

// The append rule: adds what fits of `s` behind the `length` characters of `dst`, up to 255;
// a null `s` adds nothing. `s` may point into `dst` itself. Returns the new length.
inline std::size_t appendAt(char* dst, std::size_t length, const char* s) {
    if (!s) return length;
    const std::size_t n = strnlen(s, kCapacity - length);
    std::memmove(dst + length, s, n);
    dst[length + n] = '\0';
    return length + n;
}

// The single-character rule: `c` is added only while the text holds at most 253 characters, so
// a text built one character at a time ends at 254; a zero `c` adds nothing.
inline std::size_t appendCharAt(char* dst, std::size_t length, char c) {
    if (c == '\0' || length + 1 >= kCapacity) return length;
    dst[length] = c;
    dst[length + 1] = '\0';
    return length + 1;
}

} // namespace text_rules
