// SPDX-License-Identifier: MIT
#include "platform/AppKit/NSTextField.h"

NSTextField::NSTextField(QLabel* label) : NSView(label), label_(label) {
    // The label would otherwise guess whether its text is markup.
    label_->setTextFormat(Qt::PlainText);
}

std::string NSTextField::stringValue() const {
    return label_->text().toStdString();
}

void NSTextField::setStringValue(std::string_view text) {
    label_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}
