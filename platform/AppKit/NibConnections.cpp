// SPDX-License-Identifier: MIT
#include "platform/AppKit/NibConnections.h"

void NibConnections::action(std::string selector, Action action) {
    actions_[std::move(selector)] = std::move(action);
}

const NibConnections::Action* NibConnections::findAction(const std::string& selector) const {
    auto found = actions_.find(selector);
    return found == actions_.end() ? nullptr : &found->second;
}
