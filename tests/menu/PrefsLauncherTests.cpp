// SPDX-License-Identifier: MIT
#include "menu/PrefsLauncher.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// A folder with a stand-in corvanta-prefs that counts its starts and runs for `seconds`.
struct FakePrefs {
    explicit FakePrefs(const char* seconds) {
        std::ofstream script(folder / "corvanta-prefs");
        script << "#!/bin/sh\necho started >> '" << (folder / "starts").string()
               << "'\nexec /bin/sleep " << seconds << "\n";
        script.close();
        fs::permissions(folder / "corvanta-prefs", fs::perms::owner_all);
    }
    int starts() const {
        std::ifstream in(folder / "starts");
        int lines = 0;
        for (std::string line; std::getline(in, line);)
            ++lines;
        return lines;
    }
    TemporaryFolder home;
    const fs::path& folder = home.path();
};

template <class Predicate> bool eventually(Predicate condition) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!condition() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    return condition();
}

} // namespace

// corvanta-prefs brings an open window to the front itself, so the menu starts it on every
// "Settings…", also while one it started still runs.
TEST(PrefsLauncher, StartsTheSettingsEveryTime) {
    // Beside this test program there is no corvanta-prefs, so the one on PATH is found.
    FakePrefs prefs("3");
    ScopedEnvironment environment;
    environment.set("PATH", prefs.folder.c_str());
    PrefsLauncher launcher;
    EXPECT_EQ(PrefsLauncher::findPrefs().toStdString(), (prefs.folder / "corvanta-prefs").string());

    EXPECT_EQ(launcher.launch(), PrefsLauncher::Result::Started);
    EXPECT_TRUE(eventually([&] { return prefs.starts() == 1; }));
    EXPECT_EQ(launcher.launch(), PrefsLauncher::Result::Started);
    EXPECT_TRUE(eventually([&] { return prefs.starts() == 2; }));

    environment.set("PATH", "/nonexistent");
    PrefsLauncher nowhere;
    EXPECT_EQ(nowhere.launch(), PrefsLauncher::Result::NotFound);
}
