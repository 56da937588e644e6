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
