// SPDX-License-Identifier: MIT
// corvanta-watch: stands in for the menu plug-in's side of the settings contract. Prints the
// settings as the plug-in reads them, then again each time the pane says they changed.

#include "base/Identity.h"
#include "platform/CoreFoundation/CoreFoundation.h"
#include "settings/CorvantaSettings.h"
#include "tools/SettingsLine.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const kUsage =
    "usage: corvanta-watch [--once] [--help]\n"
    "\n"
    "Prints the Corvanta settings (application id " CORVANTA_APPLICATION_ID ") as the menu\n"
    "plug-in reads them: one JSON object per line, such as\n"
    "  {\"On\":true,\"Countries\":\"Euro,\"}\n"
    "with null for a key that is missing or of another type. The first line comes at once;\n"
    "then, each time the notification \"" CORVANTA_CHANGED_NOTIFICATION "\" with the object\n"
    "\"" CORVANTA_CHANGED_OBJECT "\" arrives on the D-Bus session bus, it synchronises the\n"
    "preferences and prints them again.\n"
    "\n"
    "  --once   exit after the first notification\n"
    "  --help   show this text\n"
    "\n"
    "Without --once it runs until it is interrupted. Exits 0 after --once, 1 when it cannot\n"
    "listen for notifications (no session bus), 2 on a wrong argument.\n";

void printSettings() {
    CFStringRef app = CorvantaSettingsAppID();
    CFPreferencesAppSynchronize(app);
    CFRef<CFPropertyListRef> on(CFPreferencesCopyAppValue(CorvantaSettingsOnKey(), app));
    CFRef<CFPropertyListRef> countries(
        CFPreferencesCopyAppValue(CorvantaSettingsCountriesKey(), app));
    std::printf("%s\n", SettingsLine(on.get(), countries.get()).c_str());
    std::fflush(stdout);
}

struct Options {
    bool once = false;
};

void preferencesChanged(CFNotificationCenterRef, void* observer, CFNotificationName, const void*,
                        CFDictionaryRef) {
    printSettings();
    if (static_cast<const Options*>(observer)->once) CFRunLoopStop(CFRunLoopGetCurrent());
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--once") == 0) {
            options.once = true;
        } else if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "corvanta-watch: unknown argument \"%s\"\n\n%s", argv[i], kUsage);
            return 2;
        }
    }

    // Listen before the first line goes out, so nothing posted after it can be missed.
    CFNotificationCenterAddObserver(CFNotificationCenterGetDistributedCenter(), &options,
                                    preferencesChanged, CorvantaSettingsChangedName(),
                                    CorvantaSettingsChangedObject(),
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    printSettings();
    for (;;) {
        const SInt32 result = CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0e10, false);
        if (result == kCFRunLoopRunStopped) return 0;
        if (result == kCFRunLoopRunFinished) {
            std::fputs("corvanta-watch: cannot listen: no D-Bus session bus\n", stderr);
            return 1;
        }
    }
}
