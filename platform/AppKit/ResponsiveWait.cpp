// SPDX-License-Identifier: MIT
#include "platform/AppKit/ResponsiveWait.h"

#include "platform/AppKit/BusyCursor.h"
#include "platform/Foundation/NSURLHandle.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <exception>
#include <thread>

namespace {

int waitDepth = 0; // GUI thread only

// Drops the user's input to every widget while it lives. The event loop of the wait already
// leaves the window system's input queued; this also stops input that reaches Qt by other
// ways (posted or synthesised events), and what was queued is not acted on once the pane is
// free again, as the user saw a busy window when giving it.
class UserInputBlocker : public QObject {
public:
    UserInputBlocker() { QCoreApplication::instance()->installEventFilter(this); }
    ~UserInputBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TabletMove:
            return true;
        default:
            return false;
        }
    }
};

bool onGuiThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return qobject_cast<const QApplication*>(application) &&
           QThread::currentThread() == application->thread();
}

} // namespace

void RunWithoutBlockingWindows(const std::function<void()>& work) {
    if (!onGuiThread()) {
        work();
        return;
    }
    // Counted before the busy cursor, whose own event processing must already see the wait.
    struct Depth {
        Depth() { ++waitDepth; }
        ~Depth() { --waitDepth; }
    } depth;
    BusyCursor busy;
    UserInputBlocker noInput;
    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued, so it takes effect once the loop runs, however soon the work ends.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    // The window system's input held back during the wait reaches Qt now, while the blocker
    // still drops it: a click given to the busy window must not act once the pane is free.
    QCoreApplication::processEvents();
    if (failure) std::rethrow_exception(failure);
}

bool IsWaitingWithoutBlockingWindows() {
    return onGuiThread() && waitDepth > 0;
}

void RunAfterWaiting(std::function<void()> action) {
    if (!IsWaitingWithoutBlockingWindows()) {
        action();
        return;
    }
    // Looked at again from the event loop: only the wait's own loop runs events until it ends.
    QTimer::singleShot(20, QCoreApplication::instance(), [action = std::move(action)]() mutable {
        RunAfterWaiting(std::move(action));
    });
}

void InstallResponsiveURLLoading() {
    NSURLHandle::setWaitHook(RunWithoutBlockingWindows);
}
