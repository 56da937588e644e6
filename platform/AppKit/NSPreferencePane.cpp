#include "platform/AppKit/NSPreferencePane.h"

#include "platform/AppKit/InterfaceFile.h"

NSPreferencePane::NSPreferencePane(CFBundleRef bundle) : bundle_(bundle) {
    if (bundle_) CFRetain(bundle_);
}

NSPreferencePane::~NSPreferencePane() {
    // A window that adopted the view may have deleted it already; QPointer knows.
    delete mainView_.data();
    if (bundle_) CFRelease(bundle_);
}

QWidget* NSPreferencePane::loadMainView(std::string& error) {
    auto nibName = static_cast<CFStringRef>(
        CFBundleGetValueForInfoDictionaryKey(bundle_, CFSTR("NSMainNibFile")));
    if (!nibName) {
        error = CFBundleGetBundlePath(bundle_) + ": Info.plist names no NSMainNibFile";
        return nullptr;
    }
    // Like a nib name, the entry may leave out the file's extension.
    std::string file(CFStringGetUTF8(nibName));
    if (!file.ends_with(".ui")) file += ".ui";
    const std::string path = CFBundleGetResourcePath(bundle_, file);
    if (path.empty()) {
        error = CFBundleGetBundlePath(bundle_) + ": no interface file Resources/" + file;
        return nullptr;
    }
    NibConnections connections;
    connectInterface(connections);
    std::unique_ptr<QWidget> view = LoadInterfaceFile(path, connections, error);
    if (!view) return nullptr;
    delete mainView_.data();
    mainView_ = view.release();
    return mainView_;
}
