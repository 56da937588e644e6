// SPDX-License-Identifier: MIT
// First occurrences of many token sequences in one long token sequence, in one pass
// (Aho-Corasick over token numbers), so that looking up many keys stays linear.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

using Token = std::uint32_t;

// For each window [begin, end) of `sequence`, the first index at which the same tokens stand
// in `sequence`; a window always occurs at its own place, so the answer is at most `begin`.
// Empty windows answer their own `begin`.
std::vector<size_t> FirstOccurrences(const std::vector<Token>& sequence,
                                     const std::vector<std::pair<size_t, size_t>>& windows);
