// SPDX-License-Identifier: MIT
// STRSTR against glibc's strcasestr on 255-character texts.
#include "toolkit/CString256.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

// 255 characters of ordinary mixed-case prose; with `needle` its last characters.
std::string haystack(const std::string& needle) {
    std::string text;
    while (text.size() < 255)
        text += "The Quick brown fox jumps over the lazy dog, Kindly. ";
    text.resize(255 - needle.size());
    return text + needle;
}

const char* const kPattern = "kilimanjaro";

void SearchFoundLate(benchmark::State& state, const char* (*search)(const char*, const char*)) {
    const std::string text = haystack("KiliManjaro");
    for (auto _ : state) {
        const char* found = search(text.c_str(), kPattern);
        benchmark::DoNotOptimize(found);
    }
}

void SearchNotFound(benchmark::State& state, const char* (*search)(const char*, const char*)) {
    const std::string text = haystack("");
    for (auto _ : state) {
        const char* found = search(text.c_str(), kPattern);
        benchmark::DoNotOptimize(found);
    }
}

const char* ourSTRSTR(const char* text, const char* pattern) {
    return STRSTR(text, pattern);
}

const char* glibcStrcasestr(const char* text, const char* pattern) {
    return strcasestr(text, pattern);
}

BENCHMARK_CAPTURE(SearchFoundLate, STRSTR, ourSTRSTR);
BENCHMARK_CAPTURE(SearchFoundLate, strcasestr, glibcStrcasestr);
BENCHMARK_CAPTURE(SearchNotFound, STRSTR, ourSTRSTR);
BENCHMARK_CAPTURE(SearchNotFound, strcasestr, glibcStrcasestr);

} // namespace

BENCHMARK_MAIN();
