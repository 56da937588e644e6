// SPDX-License-Identifier: MIT
#include "host/PaneSearchPath.h"

#include "base/Identity.h"
#include "base/XDGFolders.h"
#include "platform/CoreFoundation/CFBundle.h"
#include "platform/CoreFoundation/CFRef.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

std::vector<std::string> PaneSearchPath() {
    std::vector<std::string> folders;
    auto addList = [&folders](const char* list, const std::string& suffix) {
        if (!list) return;
        std::stringstream entries(list);
        std::string entry;
        while (std::getline(entries, entry, ':'))
            if (!entry.empty()) folders.push_back(entry + suffix);
    };
    const std::string paneFolder = "/" CORVANTA_PANE_FOLDER;
    addList(std::getenv("CORVANTA_PANE_PATH"), "");
    folders.push_back(XDGDataHome() + paneFolder);
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    addList(dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share", paneFolder);
    return folders;
}

std::optional<std::string> FindPaneOnSearchPath(std::string_view identifier) {
    for (const std::string& folder : PaneSearchPath()) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            if (entry.path().extension() != ".prefPane") continue;
            CFRef<CFBundleRef> bundle(CFBundleCreateWithPath(entry.path().string()));
            if (!bundle) continue;
            const std::optional<std::string> id =
                CFBundleGetInfoString(bundle.get(), CFSTR("CFBundleIdentifier"));
            if (id == identifier) return CFBundleGetBundlePath(bundle.get());
        }
    }
    return std::nullopt;
}
