// SPDX-License-Identifier: MIT
#include "platform/AppKit/NSButton.h"

#include <QCheckBox>

NSButton::NSButton(QAbstractButton* button) : NSView(button), button_(button) {}

NSControlStateValue NSButton::state() const {
    if (auto* box = qobject_cast<QCheckBox*>(button_)) {
        switch (box->checkState()) {
        case Qt::Unchecked:
            return NSControlStateValueOff;
        case Qt::PartiallyChecked:
            return NSControlStateValueMixed;
        case Qt::Checked:
            return NSControlStateValueOn;
        }
    }
    return button_->isChecked() ? NSControlStateValueOn : NSControlStateValueOff;
}

void NSButton::setState(NSControlStateValue state) {
    if (auto* box = qobject_cast<QCheckBox*>(button_)) {
        // Qt makes the box tri-state when it is given the partial state.
        box->setCheckState(state == NSControlStateValueOff     ? Qt::Unchecked
                           : state == NSControlStateValueMixed ? Qt::PartiallyChecked
                                                               : Qt::Checked);
        return;
    }
    if (button_->isCheckable()) button_->setChecked(state != NSControlStateValueOff);
}

std::string NSButton::title() const {
    return button_->text().toStdString();
}
