#include "platform/CoreFoundation/CFPreferencesLocation.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kMaxAppIDLength = 200; // keeps "<id>.plist.lock" and temporaries under NAME_MAX

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* user = getpwuid(getuid()); user && user->pw_dir) return user->pw_dir;
    return "/";
}

// Relative values are ignored, as the XDG base directory rules ask.
std::string configFolder() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return config;
    return homeFolder() + "/.config";
}

bool makeFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) == 0) return true;
    if (errno != EEXIST) return false;
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::string CFPreferencesFolderPath() {
    return configFolder() + "/preferences";
}

std::optional<std::string> CFPreferencesFilePath(std::string_view appID) {
    if (appID.empty() || appID.size() > kMaxAppIDLength || appID.front() == '.' ||
        appID.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos)
        return std::nullopt;
    return CFPreferencesFolderPath() + "/" + std::string(appID) + ".plist";
}

bool CFPreferencesCreateFolder() {
    const std::string config = configFolder();
    // Every missing folder of the path down to the configuration folder, as mkdir -p would.
    for (size_t slash = config.find('/', 1); slash != std::string::npos;
         slash = config.find('/', slash + 1)) {
        if (!makeFolder(config.substr(0, slash))) return false;
    }
    return makeFolder(config) && makeFolder(CFPreferencesFolderPath());
}
