#include "platform/CoreFoundation/CFPreferencesLocation.h"

#include "platform/CoreFoundation/XDGFolders.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr size_t kMaxAppIDLength = 200; // keeps "<id>.plist.lock" and temporaries under NAME_MAX

bool makeFolder(const std::string& path, std::string* reason) {
    if (mkdir(path.c_str(), 0700) == 0) return true;
    int error = errno;
    if (error == EEXIST) {
        struct stat info {};
        if (stat(path.c_str(), &info) != 0)
            error = errno; // a dangling or looping link, say
        else if (S_ISDIR(info.st_mode))
            return true;
        else
            error = ENOTDIR; // something else stands in the way
    }
    if (reason) *reason = "cannot create the folder " + path + ": " + std::strerror(error);
    return false;
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

bool CFPreferencesCreateFolder(std::string* reason) {
    const std::string config = XDGConfigHome();
    // Every missing folder of the path down to the configuration folder, as mkdir -p would.
    for (size_t slash = config.find('/', 1); slash != std::string::npos;
         slash = config.find('/', slash + 1)) {
        if (!makeFolder(config.substr(0, slash), reason)) return false;
    }
    return makeFolder(config, reason) && makeFolder(CFPreferencesFolderPath(), reason);
}
