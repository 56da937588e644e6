// SPDX-License-Identifier: MIT
// Finding a pane bundle and making its principal class.
#pragma once

#include "platform/AppKit/NSPreferencePane.h"
#include "platform/CoreFoundation/CFRef.h"

#include <memory>
#include <optional>
#include <string>

// The bundle to open: `argument` when given, else the Corvanta pane found on the pane search
// path (PaneSearchPath.h), else the one beside this program (in the pane folder of its
// prefix's share folder, or in the build folder). Nothing when none exists.
std::optional<std::string> FindPaneBundle(const std::optional<std::string>& argument);

struct LoadedPane {
    CFRef<CFBundleRef> bundle;
    std::unique_ptr<NSPreferencePane> pane;
    std::string name; // the bundle's name, for the window title
};

// Opens the bundle at `path`, loads its library (which stays loaded until the process ends),
// makes its principal class and loads its main view. Null, with `error` saying what is wrong
// with the bundle, when any step fails.
std::optional<LoadedPane> LoadPaneBundle(const std::string& path, std::string& error);
