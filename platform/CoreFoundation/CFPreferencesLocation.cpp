// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CFPreferencesLocation.h"

#include "base/Folders.h"
#include "base/XDGFolders.h"

namespace {

constexpr size_t kMaxAppIDLength = 200; // keeps "<id>.plist.lock" and temporaries under NAME_MAX

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
    return MakePrivateFolders(CFPreferencesFolderPath(), reason);
}
