// SPDX-License-Identifier: MIT
// How deeply the arrays and dictionaries of a property list nest, read from its bytes before
// libplist parses them: libplist builds a deep tree without trouble but frees and copies it
// recursively, so a file nested a few hundred thousand levels deep would overflow the stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Deeper than any real settings or bundle file; shallow enough for every recursive walk.
constexpr std::size_t kMaxPropertyListNesting = 256;
// The nodes a binary list may unfold into when parsed, each shared object counted every time it
// is referred to; far more than a settings or bundle file holds.
constexpr std::uint64_t kMaxPropertyListNodes = 1'000'000;

// True when the XML or binary property list in `data` nests its containers at most `maxDepth`
// levels deep. Works without recursion. A binary list whose structure cannot be followed (an
// object reference out of range, a reference cycle, a truncated table, a dictionary key that
// is not a text or holds a zero character, on which libplist aborts) or that would unfold into
// more than kMaxPropertyListNodes nodes counts as too deep, so it is never handed to the parser.
bool PropertyListNestingWithin(std::string_view data,
                               std::size_t maxDepth = kMaxPropertyListNesting);
