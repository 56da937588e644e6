// SPDX-License-Identifier: MIT
// CString256 against its standard counterparts: the pool against the global allocator for
// objects of the same size, and assigning and appending texts against std::string.
#include "toolkit/CString256.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

std::string sampleText(size_t length) {
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += static_cast<char>('a' + i % 26);
    return text;
}

void PoolNewDelete(benchmark::State& state) {
    delete new CString256; // the block is taken outside the timing
    for (auto _ : state) {
        CString256* s = new CString256;
        benchmark::DoNotOptimize(s);
        delete s;
    }
}
BENCHMARK(PoolNewDelete);

void GlobalNewDelete(benchmark::State& state) {
    for (auto _ : state) {
        void* p = ::operator new(sizeof(CString256));
        benchmark::DoNotOptimize(p);
        ::operator delete(p, sizeof(CString256));
    }
}
BENCHMARK(GlobalNewDelete);

constexpr int kBatch = 200;

void PoolNewDeleteBatch(benchmark::State& state) {
    std::vector<CString256*> objects(kBatch);
    for (auto _ : state) {
        for (auto& s : objects)
            s = new CString256;
        benchmark::DoNotOptimize(objects.data());
        for (auto* s : objects)
            delete s;
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(PoolNewDeleteBatch);

void GlobalNewDeleteBatch(benchmark::State& state) {
    std::vector<void*> objects(kBatch);
    for (auto _ : state) {
        for (auto& p : objects)
            p = ::operator new(sizeof(CString256));
        benchmark::DoNotOptimize(objects.data());
        for (void* p : objects)
            ::operator delete(p, sizeof(CString256));
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(GlobalNewDeleteBatch);

void AssignCString256(benchmark::State& state) {
    const std::string source = sampleText(static_cast<size_t>(state.range(0)));
    CString256 s;
    for (auto _ : state) {
        s = source.c_str();
        benchmark::DoNotOptimize(s.text);
    }
}
BENCHMARK(AssignCString256)->Arg(16)->Arg(64)->Arg(255);

void AssignStdString(benchmark::State& state) {
    const std::string source = sampleText(static_cast<size_t>(state.range(0)));
    std::string s;
    for (auto _ : state) {
        s = source.c_str();
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(AssignStdString)->Arg(16)->Arg(64)->Arg(255);

// Builds a text of the given length from pieces of 16 characters (the last one shorter).
std::vector<std::string> pieces(size_t length) {
    const std::string text = sampleText(length);
    std::vector<std::string> out;
    for (size_t at = 0; at < length; at += 16)
        out.push_back(text.substr(at, 16));
    return out;
}

void AppendCString256(benchmark::State& state) {
    const auto parts = pieces(static_cast<size_t>(state.range(0)));
    CString256 s;
    for (auto _ : state) {
        s = "";
        for (const auto& part : parts)
            s += part.c_str();
        benchmark::DoNotOptimize(s.text);
    }
}
BENCHMARK(AppendCString256)->Arg(16)->Arg(64)->Arg(255);

void AppendStdString(benchmark::State& state) {
    const auto parts = pieces(static_cast<size_t>(state.range(0)));
    std::string s;
    for (auto _ : state) {
        s.clear();
        for (const auto& part : parts)
            s += part.c_str();
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(AppendStdString)->Arg(16)->Arg(64)->Arg(255);

} // namespace

BENCHMARK_MAIN();
