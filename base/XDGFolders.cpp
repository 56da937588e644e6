// SPDX-License-Identifier: MIT
#include "base/XDGFolders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace {

std::string absoluteFolderOr(const char* variable, const char* underHome) {
    if (const char* value = std::getenv(variable); value && value[0] == '/') return value;
    return XDGHomeFolder() + underHome;
}

} // namespace

std::string XDGHomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* user = getpwuid(getuid()); user && user->pw_dir) return user->pw_dir;
    return "/";
}

std::string XDGConfigHome() {
    return absoluteFolderOr("XDG_CONFIG_HOME", "/.config");
}

std::string XDGDataHome() {
    return absoluteFolderOr("XDG_DATA_HOME", "/.local/share");
}

std::string XDGCacheHome() {
    return absoluteFolderOr("XDG_CACHE_HOME", "/.cache");
}

std::optional<std::string> XDGRuntimeDir() {
    if (const char* value = std::getenv("XDG_RUNTIME_DIR"); value && value[0] == '/') return value;
    return std::nullopt;
}
