// SPDX-License-Identifier: MIT
// What the localized text cache saves over a table look-up, and what one script run costs.
#include "base/Identity.h"
#include "platform/CoreFoundation/CoreFoundation.h"
#include "toolkit/LocalizedString.h"
#include "toolkit/NSStringExtensions.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A pane bundle with a small English table, loaded once for the process.
CFBundleRef paneBundle() {
    static CFBundleRef bundle = [] {
        static const fs::path folder =
            fs::temp_directory_path() / ("corvanta-bench-" + std::to_string(getpid()));
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(folder, ignored);
        });
        fs::path path = folder / "Corvanta.prefPane";
        fs::create_directories(path / "Contents/Resources/en.lproj");
        std::ofstream(path / "Contents/Info.plist")
            << "<plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
               "<string>" CORVANTA_PANE_BUNDLE_ID "</string></dict></plist>";
        std::ofstream table(path / "Contents/Resources/en.lproj/LocalizedStrings.strings");
        table << "<plist version=\"1.0\"><dict>";
        for (int i = 0; i < 50; ++i)
            table << "<key>Text " << i << "</key><string>Translated " << i << "</string>";
        table << "</dict></plist>";
        table.close();
        setenv("LANG", "en_US.UTF-8", 1);
        return CFBundleCreateWithPath(path.string());
    }();
    return bundle;
}

void LocalizedStringCacheHit(benchmark::State& state) {
    paneBundle();
    LocalizedString("Text 7");
    for (auto _ : state)
        benchmark::DoNotOptimize(LocalizedString("Text 7"));
}
BENCHMARK(LocalizedStringCacheHit);

void BundleTableLookUp(benchmark::State& state) {
    CFBundleRef bundle = paneBundle();
    for (auto _ : state) {
        CFRef<CFStringRef> text(CFBundleCopyLocalizedString(bundle, CFSTR("Text 7"), nullptr,
                                                            CFSTR("LocalizedStrings")));
        benchmark::DoNotOptimize(text.get());
    }
}
BENCHMARK(BundleTableLookUp);

void RunScriptExpression(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(NSStringExtensions::runScript("'a' .. 1"));
}
BENCHMARK(RunScriptExpression);

} // namespace

BENCHMARK_MAIN();
