// SPDX-License-Identifier: MIT
#include "toolkit/SearchFolding.h"

#include <cctype>

const SearchFolding& SearchFolding::current() {
    // One per thread: a locale is a per-thread setting, and the toolkit takes no locks.
    // glibc hands out the toupper table of the thread's locale; a new locale brings a new
    // table, which is when the sets of bytes that fold alike are worked out again.
    thread_local SearchFolding folding;
    const std::int32_t* upper = *__ctype_toupper_loc();
    if (upper != folding.upper_) folding.build(upper);
    return folding;
}

void SearchFolding::build(const std::int32_t* upper) {
    upper_ = upper;
    bool placed[256] = {};
    int at = 0;
    // The zero byte folds to itself only and never takes part in a set.
    alike_[0] = &sets_[at];
    sets_[at++] = '\0';
    for (int c = 1; c < 256; ++c) {
        if (placed[c]) continue;
        const char* set = &sets_[at];
        for (int b = c; b < 256; ++b) {
            if (!placed[b] && upper[b] == upper[c]) {
                placed[b] = true;
                alike_[b] = set;
                sets_[at++] = static_cast<char>(b);
            }
        }
        sets_[at++] = '\0';
    }
}
