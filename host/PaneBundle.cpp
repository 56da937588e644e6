// SPDX-License-Identifier: MIT
#include "host/PaneBundle.h"

#include "base/Identity.h"
#include "host/PaneSearchPath.h"
#include "platform/AppKit/NSPreferencePaneClasses.h"

#include <dlfcn.h>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Where the pane stands relative to this program: installed, in the data folder of the same
// prefix; in the build folder, beside the host's own folder. Relative, so that neither an
// installed copy nor a moved prefix depends on where it was built.
std::optional<std::string> paneBesideProgram() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) return std::nullopt;
    const fs::path prefix = program.parent_path().parent_path();
    for (const fs::path& candidate :
         {prefix / "share" / CORVANTA_PANE_FOLDER / CORVANTA_PANE_BUNDLE_NAME,
          prefix / CORVANTA_PANE_BUNDLE_NAME})
        if (fs::is_directory(candidate, error)) return candidate.string();
    return std::nullopt;
}

} // namespace

std::optional<std::string> FindPaneBundle(const std::optional<std::string>& argument) {
    if (argument) return argument;
    if (auto found = FindPaneOnSearchPath(CORVANTA_PANE_BUNDLE_ID)) return found;
    return paneBesideProgram();
}

std::optional<LoadedPane> LoadPaneBundle(const std::string& path, std::string& error) {
    LoadedPane loaded;
    loaded.bundle = CFRef<CFBundleRef>(CFBundleCreateWithPath(path));
    if (!loaded.bundle) {
        error = path + ": not a pane bundle (no readable Contents/Info.plist)";
        return std::nullopt;
    }
    CFBundleRef bundle = loaded.bundle.get();
    loaded.name = CFBundleGetInfoString(bundle, CFSTR("CFBundleName"))
                      .value_or(std::filesystem::path(path).stem().string());

    const std::string library = CFBundleGetExecutablePath(bundle);
    if (library.empty()) {
        error = path + ": Info.plist names no CFBundleExecutable";
        return std::nullopt;
    }
    // Bound at once, so a missing symbol is reported here rather than on first use. The handle
    // is never closed: the pane's code must stay for as long as its objects may run.
    if (!dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        error = path + ": cannot load the pane's library: " + dlerror();
        return std::nullopt;
    }

    const std::optional<std::string> className =
        CFBundleGetInfoString(bundle, CFSTR("NSPrincipalClass"));
    if (!className) {
        error = path + ": Info.plist names no NSPrincipalClass";
        return std::nullopt;
    }
    loaded.pane = NSPreferencePaneMakeInstance(*className, bundle);
    if (!loaded.pane) {
        error = path + ": the pane's library has no class " + *className;
        return std::nullopt;
    }
    if (!loaded.pane->loadMainView(error)) return std::nullopt;
    return loaded;
}
