// SPDX-License-Identifier: MIT
// The base of a settings pane. The host makes the pane with its bundle, loads its main view from
// the bundle's interface file (NSMainNibFile), then calls mainViewDidLoad once and any number of
// willSelect / didUnselect pairs.
#pragma once

#include "platform/AppKit/NibConnections.h"
#include "platform/CoreFoundation/CFBundle.h"

#include <QPointer>
#include <QWidget>
#include <string>

class NSPreferencePane {
public:
    explicit NSPreferencePane(CFBundleRef bundle);
    virtual ~NSPreferencePane();
    NSPreferencePane(const NSPreferencePane&) = delete;
    NSPreferencePane& operator=(const NSPreferencePane&) = delete;

    // The pane's own bundle; it stays loaded for the life of the process.
    CFBundleRef bundle() const { return bundle_; }

    // Builds the main view from the bundle's interface file and binds the pane's outlets and
    // actions. Null, with `error` set, when the file is missing or does not fit the pane. The
    // pane owns the view until a window adopts it.
    QWidget* loadMainView(std::string& error);
    QWidget* mainView() const { return mainView_; }

    virtual void mainViewDidLoad() {}
    virtual void willSelect() {}
    virtual void didUnselect() {}

protected:
    // Names the outlets, actions and data source that the interface file connects to.
    virtual void connectInterface(NibConnections&) {}

private:
    CFBundleRef bundle_;
    QPointer<QWidget> mainView_;
};
