// SPDX-License-Identifier: MIT
#include "platform/AppKit/BusyCursor.h"

#include <QApplication>

BusyCursor::BusyCursor() : active_(qobject_cast<QApplication*>(QCoreApplication::instance())) {
    if (!active_) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The window system only sees the new cursor once the queued requests are sent, and the
    // main thread is about to block: let Qt send them now, without taking the user's input or
    // acting on other sources (a stop request must wait until the pane is done).
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::ExcludeSocketNotifiers);
}

BusyCursor::~BusyCursor() {
    if (active_) QApplication::restoreOverrideCursor();
}
