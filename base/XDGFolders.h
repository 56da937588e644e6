// SPDX-License-Identifier: MIT
// The user's base folders after the XDG rules, read from the environment on every call so a
// process (or a test) that changes it sees the change at once.
#pragma once

#include <optional>
#include <string>

// $HOME, else the account's home folder from the password database, else "/".
std::string XDGHomeFolder();
// $XDG_CONFIG_HOME, else ~/.config. A relative value is ignored, as the rules ask.
std::string XDGConfigHome();
// $XDG_DATA_HOME, else ~/.local/share. A relative value is ignored likewise.
std::string XDGDataHome();
// $XDG_CACHE_HOME, else ~/.cache. A relative value is ignored likewise.
std::string XDGCacheHome();
// $XDG_RUNTIME_DIR, the user's private folder for sockets, or nothing when it is unset or
// relative (there is no fallback: another folder would not be the user's alone).
std::optional<std::string> XDGRuntimeDir();
