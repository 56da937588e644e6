// SPDX-License-Identifier: MIT
// Making a pane's principal class by the name its bundle gives (NSPrincipalClass). A pane
// library registers its classes when it is loaded, with one static NSPreferencePaneClass.
#pragma once

#include "platform/AppKit/NSPreferencePane.h"

#include <memory>
#include <string>

using NSPreferencePaneFactory = std::unique_ptr<NSPreferencePane> (*)(CFBundleRef bundle);

void NSPreferencePaneRegisterClass(const std::string& name, NSPreferencePaneFactory factory);
void NSPreferencePaneUnregisterClass(const std::string& name);
// A new instance of the class registered under `name`, or null when there is none.
std::unique_ptr<NSPreferencePane> NSPreferencePaneMakeInstance(const std::string& name,
                                                               CFBundleRef bundle);

// Registers Pane under `name` for as long as it lives:
//   static const NSPreferencePaneClass<CorvantaPrefPane> registration("CorvantaPrefPane");
template <class Pane> class NSPreferencePaneClass {
public:
    explicit NSPreferencePaneClass(std::string name) : name_(std::move(name)) {
        NSPreferencePaneRegisterClass(name_, [](CFBundleRef bundle) {
            return std::unique_ptr<NSPreferencePane>(std::make_unique<Pane>(bundle));
        });
    }
    ~NSPreferencePaneClass() { NSPreferencePaneUnregisterClass(name_); }
    NSPreferencePaneClass(const NSPreferencePaneClass&) = delete;
    NSPreferencePaneClass& operator=(const NSPreferencePaneClass&) = delete;

private:
    std::string name_;
};
