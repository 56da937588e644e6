// SPDX-License-Identifier: MIT
#include "host/MessageBar.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

MessageBar::MessageBar() {
    setObjectName(QStringLiteral("messageBar"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(
        QStringLiteral("#messageBar { background: #fff3cd; } QLabel { color: #664d03; }"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    label_ = new QLabel;
    label_->setTextFormat(Qt::PlainText); // the reason may hold any file name or address
    label_->setWordWrap(true);
    label_->setAccessibleName(QCoreApplication::translate("Host", "Message"));
    layout->addWidget(label_, 1);
    tryAgain_ = new QPushButton(QCoreApplication::translate("Host", "Try Again"));
    layout->addWidget(tryAgain_);
    // Queued: what it calls may wait for a fetch, which must not happen inside the click.
    connect(tryAgain_, &QPushButton::clicked, this, [this] {
        if (retry_) QMetaObject::invokeMethod(this, retry_, Qt::QueuedConnection);
    });
    hide();
}

void MessageBar::showMessage(const QString& text, std::function<void()> retry) {
    label_->setText(text);
    retry_ = std::move(retry);
    tryAgain_->setVisible(static_cast<bool>(retry_));
    show();
}

void MessageBar::clear() {
    retry_ = {};
    label_->clear();
    hide();
}

QString MessageBar::text() const {
    return isHidden() ? QString() : label_->text();
}
