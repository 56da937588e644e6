// SPDX-License-Identifier: MIT
#include "host/PaneSearchPath.h"

#include "base/Identity.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TestBundles.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(PaneSearchPath, ThePaneVariableThenTheUsersThenTheSystemsDataFolders) {
    ScopedEnvironment environment;
    environment.set("CORVANTA_PANE_PATH", "/one::/two");
    environment.set("XDG_DATA_HOME", "/home/me/data");
    environment.set("XDG_DATA_DIRS", "/a:/b");
    const std::string panes = "/" CORVANTA_PANE_FOLDER;
    EXPECT_EQ(PaneSearchPath(), (std::vector<std::string>{"/one", "/two", "/home/me/data" + panes,
                                                          "/a" + panes, "/b" + panes}));
    environment.set("CORVANTA_PANE_PATH", nullptr);
    environment.set("XDG_DATA_DIRS", nullptr);
    EXPECT_EQ(PaneSearchPath(),
              (std::vector<std::string>{"/home/me/data" + panes, "/usr/local/share" + panes,
                                        "/usr/share" + panes}));
}

TEST(PaneSearchPath, FindsABundleByItsIdentifierInTheFirstFolderThatHoldsIt) {
    const fs::path first = test_bundles::freshFolder("corvanta-panes-first-");
    const fs::path second = test_bundles::freshFolder("corvanta-panes-second-");
    test_bundles::makeBundle(first, "Other", "com.example.other");
    const fs::path wanted = test_bundles::makeBundle(second, "Wanted", "com.example.wanted");
    test_bundles::makeBundle(second, "Again", "com.example.other");
    ScopedEnvironment environment;
    environment.set("CORVANTA_PANE_PATH",
                    ("/nonexistent:" + first.string() + ":" + second.string()).c_str());
    environment.set("XDG_DATA_HOME", "/nonexistent");
    environment.set("XDG_DATA_DIRS", "/nonexistent");
    EXPECT_EQ(FindPaneOnSearchPath("com.example.wanted"), fs::canonical(wanted).string());
    EXPECT_EQ(FindPaneOnSearchPath("com.example.missing"), std::nullopt);
    EXPECT_EQ(FindPaneOnSearchPath("com.example.other"),
              fs::canonical(first / "Other.prefPane").string());
    fs::remove_all(first);
    fs::remove_all(second);
}
