// SPDX-License-Identifier: MIT
// Splitting a 255-character text of 40 tokens into a list and joining it again, with
// CString256 and CList against std::string and std::vector<std::string>.
#include "toolkit/CString256.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

// 40 tokens between runs of one or two delimiters, padded to 255 characters.
std::string fortyTokens() {
    std::string text = "tok0";
    for (int i = 1; i < 40; ++i)
        text += (i % 3 ? "," : ", ") + ("tok" + std::to_string(i));
    text.resize(255, 'z');
    return text;
}

void ParseFlattenCString256(benchmark::State& state) {
    const CString256 text(fortyTokens().c_str());
    CString256 joined;
    for (auto _ : state) {
        CList<CString256> list;
        text.parse_into_list(", ", list);
        joined.flatten_list(',', list);
        benchmark::DoNotOptimize(joined.text);
    }
}
BENCHMARK(ParseFlattenCString256);

// The same work as plain standard C++ would do it: tokens into a vector, joined into a string.
void ParseFlattenStdString(benchmark::State& state) {
    const std::string text = fortyTokens();
    const std::string delimiters = ", ";
    for (auto _ : state) {
        std::vector<std::string> tokens;
        for (size_t start = text.find_first_not_of(delimiters); start != std::string::npos;) {
            const size_t end = text.find_first_of(delimiters, start);
            tokens.push_back(text.substr(start, end - start));
            start = text.find_first_not_of(delimiters, end);
        }
        std::string joined;
        for (size_t i = 0; i < tokens.size(); ++i) {
            if (i > 0) joined += ',';
            joined += tokens[i];
        }
        benchmark::DoNotOptimize(joined.data());
    }
}
BENCHMARK(ParseFlattenStdString);

} // namespace

BENCHMARK_MAIN();
