// SPDX-License-Identifier: MIT
// A line of text the user reads. Its text is always shown as plain text, never as markup.
#pragma once

#include "platform/AppKit/NSView.h"

#include <QLabel>
#include <string>
#include <string_view>

class NSTextField : public NSView {
    Q_OBJECT
public:
    using Widget = QLabel;
    static constexpr const char* className = "NSTextField";
    static NSTextField* adapt(QWidget* widget) { return NSView::adapt<NSTextField>(widget); }

    explicit NSTextField(QLabel* label);

    std::string stringValue() const;
    void setStringValue(std::string_view text);

private:
    QLabel* label_;
};
