// SPDX-License-Identifier: MIT
// The parse works on the case-folded page, where the patterns match as plain bytes, and
// answers each question of the page-order scan from indexes built in one pass each, so that
// hostile pages (many unclosed cells, many distinct names) stay linear.
#include "rates/RatePage.h"

#include "platform/Foundation/CaseFoldedText.h"
#include "rates/FirstOccurrences.h"
#include "rates/RatePatterns.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace {

using namespace RatePatterns;

constexpr size_t kNone = CaseFoldedText::npos;

// Every start of a pattern in the folded page, to answer "the first one at or after".
class Occurrences {
public:
    Occurrences(const CaseFoldedText& text, std::string_view pattern)
        : length_(pattern.size()), starts_(text.findAll(CaseFoldedText::fold(pattern))) {}

    size_t length() const { return length_; }
    const std::vector<size_t>& starts() const { return starts_; }
    size_t firstAtOrAfter(size_t position) const {
        auto found = std::lower_bound(starts_.begin(), starts_.end(), position);
        return found == starts_.end() ? kNone : *found;
    }
    // The index of the occurrence starting exactly at `position`.
    size_t indexOf(size_t position) const {
        return static_cast<size_t>(std::lower_bound(starts_.begin(), starts_.end(), position) -
                                   starts_.begin());
    }

private:
    size_t length_;
    std::vector<size_t> starts_;
};

// Folded positions of a name: from the end of its cell's opening to the start of its closing.
struct NameCell {
    size_t begin;
    size_t end;
};

std::vector<NameCell> findNameCells(const CaseFoldedText& text) {
    const Occurrences openings(text, kNameOpening);
    const Occurrences closings(text, kNameClosing);
    const std::vector<size_t>& starts = openings.starts();
    std::vector<NameCell> cells;
    for (size_t i = 0; i < starts.size(); ++i) {
        const size_t begin = starts[i] + openings.length();
        const size_t closing = closings.firstAtOrAfter(begin);
        if (closing == kNone) break; // no later cell can be closed either
        if (i + 1 < starts.size() && starts[i + 1] < closing) continue;
        cells.push_back({begin, closing});
    }
    return cells;
}

// Where each name first stands framed: the text between consecutive frames is one token, so
// a framed name is a run of tokens, and all runs are looked up in one pass.
std::vector<size_t> findFirstFramedNames(const CaseFoldedText& text,
                                         const std::vector<NameCell>& cells) {
    const Occurrences frames(text, kNameFrame);
    const std::vector<size_t>& at = frames.starts();
    const std::string_view folded = text.folded();

    std::vector<Token> tokens;
    tokens.reserve(at.empty() ? 0 : at.size() - 1);
    std::unordered_map<std::string_view, Token> tokenNumbers;
    tokenNumbers.reserve(tokens.capacity());
    for (size_t i = 0; i + 1 < at.size(); ++i) {
        const std::string_view token = folded.substr(at[i], at[i + 1] - at[i]);
        auto [entry, added] =
            tokenNumbers.try_emplace(token, static_cast<Token>(tokenNumbers.size()));
        tokens.push_back(entry->second);
    }

    // The opening ends with a frame and the closing begins with one, so the name of a cell,
    // framed, runs from the first frame to the second.
    std::vector<std::pair<size_t, size_t>> windows;
    windows.reserve(cells.size());
    for (const NameCell& cell : cells)
        windows.push_back({frames.indexOf(cell.begin - frames.length()), frames.indexOf(cell.end)});
    std::vector<size_t> firsts = FirstOccurrences(tokens, windows);
    for (size_t& first : firsts)
        first = at[first];
    return firsts;
}

} // namespace

RateArray ParseRatePage(std::string_view page) {
    const CaseFoldedText text(page);
    const std::vector<NameCell> cells = findNameCells(text);
    const std::vector<size_t> framedAt = findFirstFramedNames(text, cells);
    const Occurrences rateOpenings(text, kRateOpening);
    const Occurrences rateClosings(text, kRateClosing);

    auto original = [&](size_t begin, size_t end) {
        const size_t from = text.originalOffset(begin);
        return page.substr(from, text.originalOffset(end) - from);
    };

    RateArray rates;
    rates.reserve(cells.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        RateEntry entry{std::string(original(cells[i].begin, cells[i].end)), {}};
        const size_t opening = rateOpenings.firstAtOrAfter(framedAt[i]);
        if (opening != kNone) {
            const size_t begin = opening + rateOpenings.length();
            const size_t closing = rateClosings.firstAtOrAfter(begin);
            if (closing != kNone) {
                const std::string_view rate = original(begin, closing);
                if (rate.size() <= kLongestRate) entry.rate = rate;
            }
        }
        rates.push_back(std::move(entry));
    }
    return rates;
}
