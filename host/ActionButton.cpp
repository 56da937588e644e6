// SPDX-License-Identifier: MIT
#include "host/ActionButton.h"

QAbstractButton* FindButtonSendingAction(const QWidget& view, std::string_view selector) {
    const QString wanted =
        QString::fromUtf8(selector.data(), static_cast<qsizetype>(selector.size()));
    for (QAbstractButton* button : view.findChildren<QAbstractButton*>())
        if (button->property("action").toString() == wanted) return button;
    return nullptr;
}
