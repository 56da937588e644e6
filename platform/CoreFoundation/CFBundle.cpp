// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CFBundle.h"

#include "platform/CoreFoundation/CFRef.h"
#include "platform/CoreFoundation/CFRuntime.h"
#include "platform/CoreFoundation/PropertyListFile.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>

namespace fs = std::filesystem;

struct __CFBundle final : __CFObject {
    CFTypeID typeID() const override { return CFBundleGetTypeID(); }

    std::string path;
    std::map<std::string, CFRef<CFStringRef>> infoStrings;
};

namespace {

struct LoadedBundles {
    std::mutex mutex;
    std::map<std::string, CFBundleRef> byPath; // each holds one reference for the process
};

LoadedBundles& loadedBundles() {
    static auto* loaded = new LoadedBundles(); // never destroyed: bundles stay loaded
    return *loaded;
}

std::string canonicalFolder(std::string_view path) {
    std::error_code error;
    fs::path canonical = fs::weakly_canonical(fs::path(path), error);
    return error ? std::string(path) : canonical.string();
}

// Reads Contents/Info.plist; only its texts are kept, as the stand-in models nothing else.
CFBundleRef openBundle(const std::string& folder) {
    PlistPtr info = ReadPropertyListDictionary(folder + "/Contents/Info.plist");
    if (!info) return nullptr;
    auto* bundle = new __CFBundle();
    bundle->path = folder;
    for (const auto& [key, text] : PlistDictionaryStrings(info.get())) {
        CFRef<CFStringRef> string(CFStringCreateWithUTF8(text));
        if (string) bundle->infoStrings.emplace(key, std::move(string));
    }
    return bundle;
}

bool hasIdentifier(CFBundleRef bundle, CFStringRef bundleID) {
    CFStringRef id = CFBundleGetIdentifier(bundle);
    return id && CFEqual(id, bundleID);
}

} // namespace

CFTypeID CFBundleGetTypeID() {
    static const CFTypeID id = CFRuntimeRegisterType("CFBundle");
    return id;
}

CFBundleRef CFBundleCreateWithPath(std::string_view path) {
    const std::string folder = canonicalFolder(path);
    LoadedBundles& loaded = loadedBundles();
    std::lock_guard lock(loaded.mutex);
    auto found = loaded.byPath.find(folder);
    if (found != loaded.byPath.end()) {
        CFRetain(found->second);
        return found->second;
    }
    CFBundleRef bundle = openBundle(folder);
    if (!bundle) return nullptr;
    loaded.byPath.emplace(folder, bundle);
    CFRetain(bundle); // one for the caller, one for the loaded list
    return bundle;
}

CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID) {
    if (!bundleID) return nullptr;
    LoadedBundles& loaded = loadedBundles();
    std::lock_guard lock(loaded.mutex);
    for (const auto& [path, bundle] : loaded.byPath)
        if (hasIdentifier(bundle, bundleID)) return bundle;
    return nullptr;
}

CFStringRef CFBundleGetIdentifier(CFBundleRef bundle) {
    return static_cast<CFStringRef>(
        CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFBundleIdentifier")));
}

CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key) {
    if (!bundle || !key) return nullptr;
    auto found = bundle->infoStrings.find(std::string(CFStringGetUTF8(key)));
    return found == bundle->infoStrings.end() ? nullptr : found->second.get();
}

std::string CFBundleGetBundlePath(CFBundleRef bundle) {
    return bundle ? bundle->path : "";
}

std::string CFBundleGetResourcesPath(CFBundleRef bundle) {
    return bundle ? bundle->path + "/Contents/Resources" : "";
}

std::optional<std::string> CFBundleGetInfoString(CFBundleRef bundle, CFStringRef key) {
    CFTypeRef value = CFBundleGetValueForInfoDictionaryKey(bundle, key);
    if (!value || CFGetTypeID(value) != CFStringGetTypeID()) return std::nullopt;
    return std::string(CFStringGetUTF8(static_cast<CFStringRef>(value)));
}

std::string CFBundleGetExecutablePath(CFBundleRef bundle) {
    const std::optional<std::string> name =
        CFBundleGetInfoString(bundle, CFSTR("CFBundleExecutable"));
    return name ? bundle->path + "/Contents/Linux/" + *name : "";
}

std::string CFBundleGetResourcePath(CFBundleRef bundle, std::string_view name) {
    if (!bundle || name.empty()) return "";
    std::string path = CFBundleGetResourcesPath(bundle) + "/" + std::string(name);
    std::error_code error;
    return fs::is_regular_file(path, error) ? path : "";
}
