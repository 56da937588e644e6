// SPDX-License-Identifier: MIT
// What an owner (the pane) offers its interface file: the outlets it wants bound, by field
// name, the actions it answers, by selector text, and the data source of its tables.
#pragma once

#include "platform/AppKit/NSView.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class NSTableViewDataSource;

class NibConnections {
public:
    using Action = std::function<void(NSView* sender)>;

    struct Outlet {
        std::string name;
        const char* className;
        std::function<NSView*(QWidget*)> adapt; // null when the widget is of the wrong kind
        std::function<void(NSView*)> assign;
    };

    // The widget named `name` is bound to `field` when the file loads.
    template <class Control> void outlet(std::string name, Control*& field) {
        outlets_.push_back({std::move(name), Control::className,
                            [](QWidget* widget) -> NSView* { return Control::adapt(widget); },
                            [&field](NSView* view) { field = static_cast<Control*>(view); }});
    }

    void action(std::string selector, Action action);
    template <class Owner>
    void action(std::string selector, Owner* owner, void (Owner::*method)(NSView*)) {
        action(std::move(selector), [owner, method](NSView* sender) { (owner->*method)(sender); });
    }

    // Tables whose property "dataSource" is "owner" get this data source.
    void dataSource(NSTableViewDataSource* source) { dataSource_ = source; }

    const std::vector<Outlet>& outlets() const { return outlets_; }
    const Action* findAction(const std::string& selector) const;
    NSTableViewDataSource* dataSource() const { return dataSource_; }

private:
    std::vector<Outlet> outlets_;
    std::map<std::string, Action> actions_;
    NSTableViewDataSource* dataSource_ = nullptr;
};
