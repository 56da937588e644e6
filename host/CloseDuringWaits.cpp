// SPDX-License-Identifier: MIT
#include "host/CloseDuringWaits.h"

#include "platform/AppKit/ResponsiveWait.h"
#include "platform/Foundation/NSURLHandle.h"

#include <QCoreApplication>
#include <QInputEvent>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <optional>

namespace {

// How long a close request may wait to be seen.
constexpr std::chrono::milliseconds kLookInterval(50);

// Drops the user's input (mouse, keys, wheel, touch, tablet, context menus) while it lives.
class InputDropper : public QObject {
public:
    InputDropper() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputDropper() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return dynamic_cast<QInputEvent*>(event) != nullptr;
    }
};

void takeWindowSystemEvents() {
    InputDropper noInput;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool onMainThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

} // namespace

void PrepareCloseDuringWaits() {
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
}

void InstallCloseDuringWaits() {
    NSURLHandle::setWaitHook([](const std::function<void()>& transfer) {
        std::optional<QTimer> look;
        if (onMainThread()) {
            look.emplace();
            look->setInterval(kLookInterval);
            QObject::connect(&*look, &QTimer::timeout, takeWindowSystemEvents);
            look->start();
        }
        RunWithoutBlockingWindows(transfer);
    });
}
