// SPDX-License-Identifier: MIT
// Where the host looks for a pane it is not given by path. The bundle stand-in only opens the
// bundle it is handed; finding one is the host's business.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The folders searched, in order: each entry of CORVANTA_PANE_PATH (colon-separated), then the
// pane folder (CORVANTA_PANE_FOLDER) under $XDG_DATA_HOME, then under each of $XDG_DATA_DIRS
// (/usr/local/share:/usr/share when unset).
std::vector<std::string> PaneSearchPath();

// The path of the first bundle (Name.prefPane) on the search path whose CFBundleIdentifier is
// `identifier`, or nothing. The bundles it looks into stay open, as every opened bundle does.
std::optional<std::string> FindPaneOnSearchPath(std::string_view identifier);
