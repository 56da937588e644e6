// SPDX-License-Identifier: MIT
// The case folding of STRSTR and STRNCMP: each byte, taken as unsigned, goes through toupper
// of the calling thread's current locale. Besides folding one byte it answers which bytes fold
// alike, so a search can jump from one candidate to the next with strcspn.
#pragma once

#include <cstdint>

class SearchFolding {
public:
    // The folding of the current locale; rebuilt when the thread's locale has changed.
    static const SearchFolding& current();

    int fold(char c) const { return upper_[static_cast<unsigned char>(c)]; }

    // The non-zero bytes that fold like `c`, `c` among them, as a terminated set for strcspn.
    const char* foldingAlike(char c) const { return alike_[static_cast<unsigned char>(c)]; }

private:
    void build(const std::int32_t* upper);

    const std::int32_t* upper_ = nullptr; // the locale's toupper table, indexed by byte
    const char* alike_[256] = {};
    char sets_[512] = {}; // every set of bytes that fold alike, each ended by a zero byte
};
