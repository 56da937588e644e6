// SPDX-License-Identifier: MIT
#include "rates/FirstOccurrences.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

// Small alphabets make windows that are suffixes and prefixes of one another, which is where
// failure and output links go wrong.
TEST(FirstOccurrences, AgreesWithABruteForceSearch) {
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        std::vector<Token> sequence(random() % 40);
        for (Token& t : sequence)
            t = random() % 3;
        std::vector<std::pair<size_t, size_t>> windows;
        for (int w = 0, count = int(random() % 8); w < count && !sequence.empty(); ++w) {
            const size_t begin = random() % sequence.size();
            windows.push_back({begin, begin + random() % (sequence.size() - begin + 1)});
        }
        const std::vector<size_t> firsts = FirstOccurrences(sequence, windows);
        ASSERT_EQ(firsts.size(), windows.size());
        for (size_t w = 0; w < windows.size(); ++w) {
            const auto [begin, end] = windows[w];
            const auto found = std::search(sequence.begin(), sequence.end(),
                                           sequence.begin() + begin, sequence.begin() + end);
            const size_t expected = begin == end ? begin : size_t(found - sequence.begin());
            ASSERT_EQ(firsts[w], expected) << "round " << round << " window " << w;
        }
    }
}
