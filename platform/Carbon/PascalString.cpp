// SPDX-License-Identifier: MIT
#include "platform/Carbon/PascalString.h"

#include <cstring>

void CopyPascalStringToC(const unsigned char* src, char* dst) {
    const size_t length = src[0];
    // memmove, since converting a Pascal string in place is a classic use.
    std::memmove(dst, src + 1, length);
    dst[length] = '\0';
}
