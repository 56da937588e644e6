// SPDX-License-Identifier: MIT
// A multi-line plain-text view. Its text storage reads and changes the whole text as it stands,
// line breaks and non-breaking spaces included.
#pragma once

#include "platform/AppKit/NSView.h"

#include <QPlainTextEdit>
#include <string>
#include <string_view>

// The text behind a text view: read it, replace it, add to its end.
class NSTextStorage {
public:
    explicit NSTextStorage(QPlainTextEdit* editor) : editor_(editor) {}

    std::string string() const;
    void setString(std::string_view text);
    void appendString(std::string_view text);

private:
    QPlainTextEdit* editor_;
};

class NSTextView : public NSView {
    Q_OBJECT
public:
    using Widget = QPlainTextEdit;
    static constexpr const char* className = "NSTextView";
    static NSTextView* adapt(QWidget* widget) { return NSView::adapt<NSTextView>(widget); }

    explicit NSTextView(QPlainTextEdit* editor);

    NSTextStorage textStorage() const { return NSTextStorage(editor_); }

private:
    QPlainTextEdit* editor_;
};
