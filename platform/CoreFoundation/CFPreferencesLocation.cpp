#include "platform/CoreFoundation/CFPreferencesLocation.h"

#include "platform/CoreFoundation/XDGFolders.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

constexpr size_t kMaxAppIDLength = 200; // keeps "<id>.plist.lock" and temporaries under NAME_MAX

bool makeFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) == 0) return true;
    if (errno != EEXIST) return false;
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::string CFPreferencesFolderPath() {
    return XDGConfigHome() + "/preferences";
}

std::optional<std::string> CFPreferencesFilePath(std::string_view appID) {
    if (appID.empty() || appID.size() > kMaxAppIDLength || appID.front() == '.' ||
        appID.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos)
        return std::nullopt;
    return CFPreferencesFolderPath() + "/" + std::string(appID) + ".plist";
}

bool CFPreferencesCreateFolder() {
    const std::string config = XDGConfigHome();
    // Every missing folder of the path down to the configuration folder, as mkdir -p would.
    for (size_t slash = config.find('/', 1); slash != std::string::npos;
         slash = config.find('/', slash + 1)) {
        if (!makeFolder(config.substr(0, slash))) return false;
    }
    return makeFolder(config) && makeFolder(CFPreferencesFolderPath());
}
