// SPDX-License-Identifier: MIT
// A button or check box. A check box's state is 1 when checked, 0 when not, and -1 (mixed) when
// it is partly checked; a push button is always 0.
#pragma once

#include "platform/AppKit/NSObjCRuntime.h"
#include "platform/AppKit/NSView.h"

#include <QAbstractButton>

class NSButton : public NSView {
    Q_OBJECT
public:
    using Widget = QAbstractButton;
    static constexpr const char* className = "NSButton";
    static NSButton* adapt(QWidget* widget) { return NSView::adapt<NSButton>(widget); }

    explicit NSButton(QAbstractButton* button);

    NSControlStateValue state() const;
    // 0 clears the check box, -1 makes it mixed, any other value checks it.
    void setState(NSControlStateValue state);
    std::string title() const;
    QAbstractButton* button() const { return button_; }

private:
    QAbstractButton* button_;
};
