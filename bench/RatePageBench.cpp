// SPDX-License-Identifier: MIT
// Parse throughput of rate pages: the realistic page, large well-formed pages, and hostile
// pages at doubling sizes (time should about double with them). The baselines are what the
// standard library takes for the plainest related work on the same bytes: one case-sensitive
// pass of std::string_view::find per pattern, and the literal algorithm on the small page.
#include "rates/RatePage.h"
#include "rates/RatePatterns.h"
#include "rates/ReferenceRatePageParse.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

namespace {

const std::string kOpen = "<td><font face=\"Verdana\" size=-1>&nbsp;&nbsp;";
const std::string kClose = "&nbsp;&nbsp;</font></td>";

std::string readFixture(const char* name) {
    std::ifstream in(std::string(CORVANTA_FIXTURES) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

const std::string& realisticPage() {
    static const std::string page = readFixture("realistic-50.html");
    return page;
}

// A well-formed page of `rows` currencies, each row about 1 KiB with padding markup.
std::string currencyPage(int rows) {
    std::string page = "<html><body><table>\n";
    const std::string padding(900, ' ');
    for (int i = 0; i < rows; ++i)
        page += "<tr>" + kOpen + "Currency " + std::to_string(i) + kClose +
                "<td><a href=\"/g\" class=\"menu\">" + std::to_string(1.0 + i / 7.0) +
                "</a>&nbsp;</font></td>" + padding + "</tr>\n";
    return page + "</table></body></html>\n";
}

std::string repeatedTo(size_t size, const std::string& unit) {
    std::string page;
    while (page.size() + unit.size() <= size)
        page += unit;
    return page;
}

std::string hostilePage(int kind, size_t size) {
    switch (kind) {
    case 0: // name cell openings, never closed
        return repeatedTo(size, kOpen);
    case 1: // openings, then a single closing at the very end
        return repeatedTo(size, kOpen) + kClose;
    case 2: // zero bytes
        return std::string(size, '\0');
    case 3: { // many distinct names that themselves hold frames
        std::string page;
        for (int i = 0; page.size() < size; ++i)
            page += kOpen + "N" + std::to_string(i) + "&nbsp;&nbsp;x" + kClose;
        return page;
    }
    default: // many names, then one long rate they all share
        std::string page;
        for (int i = 0; page.size() < size / 2; ++i)
            page += kOpen + "N" + std::to_string(i) + kClose;
        return page + "class=\"menu\">" + std::string(size / 2, '7') + "</a>&nbsp;</font></td>";
    }
}
const char* const kHostileNames[] = {"openings", "openings+closing", "zeros", "distinct names",
                                     "shared long rate"};

void parse(benchmark::State& state, const std::string& page) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseRatePage(page));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void BM_ParseRealisticPage(benchmark::State& state) {
    parse(state, realisticPage());
}

void BM_LiteralAlgorithmRealisticPage(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ReferenceParseRatePage(realisticPage()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * realisticPage().size()));
}

void BM_StdFindPatternsRealisticPage(benchmark::State& state) {
    using namespace RatePatterns;
    const std::string_view page = realisticPage();
    for (auto _ : state) {
        size_t hits = 0;
        for (std::string_view pattern :
             {kNameOpening, kNameClosing, kNameFrame, kRateOpening, kRateClosing})
            for (size_t at = page.find(pattern); at != page.npos; at = page.find(pattern, at + 1))
                ++hits;
        benchmark::DoNotOptimize(hits);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void BM_ParseCurrencies(benchmark::State& state) {
    const std::string page = currencyPage(static_cast<int>(state.range(0)));
    state.SetLabel(std::to_string(page.size() / 1024) + " KiB");
    parse(state, page);
}

void BM_ParseHostile(benchmark::State& state) {
    const std::string page =
        hostilePage(static_cast<int>(state.range(0)), static_cast<size_t>(state.range(1)) << 20);
    state.SetLabel(kHostileNames[state.range(0)]);
    parse(state, page);
}

} // namespace

BENCHMARK(BM_ParseRealisticPage);
BENCHMARK(BM_StdFindPatternsRealisticPage);
BENCHMARK(BM_LiteralAlgorithmRealisticPage);
BENCHMARK(BM_ParseCurrencies)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseHostile)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {4, 8}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

BENCHMARK_MAIN();
