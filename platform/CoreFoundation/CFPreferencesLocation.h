// SPDX-License-Identifier: MIT
// Where an application's preferences live: one property list per application id in
// ${XDG_CONFIG_HOME:-$HOME/.config}/preferences/. The environment is read on every call, so a
// process (or a test) that changes XDG_CONFIG_HOME gets the new place at once.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The folder holding every application's preference file.
std::string CFPreferencesFolderPath();

// The file for `appID`, or nothing when the id cannot name a file of that folder (empty, with a
// "/" or a zero byte, starting with ".", or too long).
std::optional<std::string> CFPreferencesFilePath(std::string_view appID);

// Makes the folder, and the configuration folder above it, with mode 0700 where they are
// missing. False when that fails (for instance because a file stands in the way); `reason`,
// if given, then says why.
bool CFPreferencesCreateFolder(std::string* reason = nullptr);
