// SPDX-License-Identifier: MIT
#include "platform/AppKit/NSPreferencePane.h"

#include "platform/AppKit/InterfaceFile.h"
#include "platform/CoreFoundation/CFRef.h"

NSPreferencePane::NSPreferencePane(CFBundleRef bundle) : bundle_(bundle) {
    if (bundle_) CFRetain(bundle_);
}

NSPreferencePane::~NSPreferencePane() {
    // A window that adopted the view may have deleted it already; QPointer knows.
    delete mainView_.data();
    if (bundle_) CFRelease(bundle_);
}

QWidget* NSPreferencePane::loadMainView(std::string& error) {
    std::optional<std::string> nibName = CFBundleGetInfoString(bundle_, CFSTR("NSMainNibFile"));
    if (!nibName) {
        error = CFBundleGetBundlePath(bundle_) + ": Info.plist names no NSMainNibFile";
        return nullptr;
    }
    // Like a nib name, the entry may leave out the file's extension.
    std::string file = *nibName;
    if (!file.ends_with(".ui")) file += ".ui";
    const std::string path = CFBundleGetResourcePath(bundle_, file);
    if (path.empty()) {
        error = CFBundleGetBundlePath(bundle_) + ": no interface file Resources/" + file;
        return nullptr;
    }
    NibConnections connections;
    connectInterface(connections);
    // The interface file is written in English; the bundle's LocalizedStrings table gives the
    // texts in the user's language.
    auto translate = [bundle = bundle_](const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        CFRef<CFStringRef> key(CFStringCreateWithUTF8(std::string_view(utf8.data(), utf8.size())));
        if (!key) return text;
        CFRef<CFStringRef> shown(
            CFBundleCopyLocalizedString(bundle, key.get(), key.get(), CFSTR("LocalizedStrings")));
        return shown ? QString::fromUtf8(CFStringGetUTF8(shown.get())) : text;
    };
    std::unique_ptr<QWidget> view = LoadInterfaceFile(path, connections, error, translate);
    if (!view) return nullptr;
    delete mainView_.data();
    mainView_ = view.release();
    return mainView_;
}
