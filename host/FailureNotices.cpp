// SPDX-License-Identifier: MIT
#include "host/FailureNotices.h"

#include "host/PaneWindow.h"
#include "platform/CoreFoundation/CFPreferences.h"
#include "platform/Foundation/NSURLHandle.h"

#include <QCoreApplication>

FailureNotices::FailureNotices(PaneWindow& window) {
    // The observers may be called on any thread; the window is told on its own.
    CFPreferencesSetFailureObserver([&window](const std::string&, const std::string& reason) {
        const QString text =
            QCoreApplication::translate("Host", "The settings could not be saved: %1")
                .arg(QString::fromStdString(reason));
        QMetaObject::invokeMethod(&window, [&window, text] { window.showMessage(text); });
    });
    NSURLHandle::setLoadObserver([&window](const std::string&, const std::string& failureReason) {
        const QString reason = QString::fromStdString(failureReason);
        QMetaObject::invokeMethod(&window, [&window, reason] {
            if (reason.isEmpty())
                window.loadSucceeded();
            else
                window.showLoadFailure(reason);
        });
    });
}

FailureNotices::~FailureNotices() {
    NSURLHandle::setLoadObserver({});
    CFPreferencesSetFailureObserver({});
}
