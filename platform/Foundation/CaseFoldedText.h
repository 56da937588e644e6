// SPDX-License-Identifier: MIT
// A UTF-8 text with every character replaced by its Unicode simple case folding, so that
// case-insensitive searches become plain byte searches. Folding can change a character's byte
// length (KELVIN SIGN, three bytes, folds to "k"), so positions in the folded text are mapped
// back to byte offsets in the original.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CaseFoldedText {
public:
    static constexpr size_t npos = std::string_view::npos;

    explicit CaseFoldedText(std::string_view original);

    // The folded form of `text`, as used for patterns.
    static std::string fold(std::string_view text);

    std::string_view folded() const { return folded_; }
    // The byte offset in the original text of a character boundary of the folded text.
    size_t originalOffset(size_t foldedOffset) const;

    // First start at or after `from` of the folded `pattern`, or npos.
    size_t find(std::string_view foldedPattern, size_t from = 0) const;
    // Start of the last occurrence that ends at or before `end`, or npos.
    size_t findLast(std::string_view foldedPattern, size_t end = npos) const;
    // Every start of the folded `pattern`, overlapping ones included, in order.
    std::vector<size_t> findAll(std::string_view foldedPattern) const;

private:
    // Where a character changed its byte length: from `folded` on, folded offsets differ
    // from original ones by `shift` (original minus folded).
    struct Shift {
        size_t folded;
        std::ptrdiff_t shift;
    };

    std::string folded_;
    std::vector<Shift> shifts_;
};
