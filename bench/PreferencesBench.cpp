// SPDX-License-Identifier: MIT
// The cost of a preferences synchronisation, with and without a pending write, against the
// bare libplist and file-system work it rests on; and proof that a read between
// synchronisations stays in memory.
#include "base/AtomicFile.h"
#include "platform/CoreFoundation/CFPreferencesFile.h"
#include "platform/CoreFoundation/CoreFoundation.h"
#include "settings/CorvantaSettings.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

CFStringRef app() {
    return CorvantaSettingsAppID();
}

// The two keys the pane keeps, written once.
void storeTwoKeys() {
    CFPreferencesSetAppValue(CorvantaSettingsOnKey(), kCFBooleanTrue, app());
    CFPreferencesSetAppValue(CorvantaSettingsCountriesKey(),
                             CFSTR("Euro,Japanese Yen,British Pound,"), app());
    CFPreferencesAppSynchronize(app());
}

std::string preferencesFile() {
    return std::string(std::getenv("XDG_CONFIG_HOME")) + "/preferences/" +
           std::string(CFStringGetUTF8(CorvantaSettingsAppID())) + ".plist";
}

void SynchronizeWithOnePendingWrite(benchmark::State& state) {
    storeTwoKeys();
    bool on = false;
    for (auto _ : state) {
        CFPreferencesSetAppValue(CorvantaSettingsOnKey(), on ? kCFBooleanTrue : kCFBooleanFalse,
                                 app());
        on = !on;
        if (!CFPreferencesAppSynchronize(app())) state.SkipWithError("synchronize failed");
    }
}

// What the write rests on: the same dictionary as XML, written to a temporary file, flushed,
// renamed into place, the folder flushed; no lock, no reread, no merge.
void BareAtomicPlistWrite(benchmark::State& state) {
    storeTwoKeys();
    const std::string path = preferencesFile() + ".bare";
    PlistPtr dictionary(plist_new_dict());
    plist_dict_set_item(dictionary.get(), "On", plist_new_bool(1));
    plist_dict_set_item(dictionary.get(), "Countries",
                        plist_new_string("Euro,Japanese Yen,British Pound,"));
    for (auto _ : state) {
        if (!WriteFileAtomically(path, CFPropertyListNodeXml(dictionary.get())))
            state.SkipWithError("write failed");
    }
}

void SynchronizeWithNothingPending(benchmark::State& state) {
    storeTwoKeys();
    for (auto _ : state)
        benchmark::DoNotOptimize(CFPreferencesAppSynchronize(app()));
}

// What a read-only synchronisation rests on: reading the file and parsing it.
void BarePlistRead(benchmark::State& state) {
    storeTwoKeys();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadPropertyListDictionary(preferencesFile()));
}

void CopyWithNothingPending(benchmark::State& state) {
    storeTwoKeys();
    CFRelease(CFPreferencesCopyAppValue(CorvantaSettingsOnKey(), app()));
    const long readsBefore = CFPreferencesFileReadCount();
    for (auto _ : state) {
        CFPropertyListRef value = CFPreferencesCopyAppValue(CorvantaSettingsCountriesKey(), app());
        benchmark::DoNotOptimize(value);
        CFRelease(value);
    }
    state.counters["file_reads"] = static_cast<double>(CFPreferencesFileReadCount() - readsBefore);
}

} // namespace

BENCHMARK(SynchronizeWithOnePendingWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareAtomicPlistWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(SynchronizeWithNothingPending)->Unit(benchmark::kMicrosecond);
BENCHMARK(BarePlistRead)->Unit(benchmark::kMicrosecond);
BENCHMARK(CopyWithNothingPending);

// Works in a folder of its own, so the real user's settings are never touched.
int main(int argc, char** argv) {
    std::string folder = (std::filesystem::temp_directory_path() / "corvanta-bench.XXXXXX");
    if (!mkdtemp(folder.data())) return 1;
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
