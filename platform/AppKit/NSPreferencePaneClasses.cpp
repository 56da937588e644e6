// SPDX-License-Identifier: MIT
#include "platform/AppKit/NSPreferencePaneClasses.h"

#include <map>

namespace {

std::map<std::string, NSPreferencePaneFactory>& registeredClasses() {
    static std::map<std::string, NSPreferencePaneFactory> classes;
    return classes;
}

} // namespace

void NSPreferencePaneRegisterClass(const std::string& name, NSPreferencePaneFactory factory) {
    registeredClasses()[name] = factory;
}

void NSPreferencePaneUnregisterClass(const std::string& name) {
    registeredClasses().erase(name);
}

std::unique_ptr<NSPreferencePane> NSPreferencePaneMakeInstance(const std::string& name,
                                                               CFBundleRef bundle) {
    auto found = registeredClasses().find(name);
    if (found == registeredClasses().end()) return nullptr;
    return found->second(bundle);
}
