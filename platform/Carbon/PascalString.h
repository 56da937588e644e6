// SPDX-License-Identifier: MIT
#pragma once

// Copies the Pascal string `src` (a length byte, then that many characters) into `dst` as a
// terminated C string. `dst` must hold at least src[0] + 1 bytes; 256 always suffice.
// `src` and `dst` may be the same buffer.
void CopyPascalStringToC(const unsigned char* src, char* dst);
