// SPDX-License-Identifier: MIT
#include "host/PaneWindow.h"

#include "host/ActionButton.h"
#include "host/MessageBar.h"
#include "platform/AppKit/BusyCursor.h"
#include "platform/AppKit/ResponsiveWait.h"
#include "platform/Foundation/NSURLHandle.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The action of the pane's button that fetches the rate page again.
constexpr const char* kReloadAction = "reloadButtonClicked:";

QWidget* makeBusyPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addStretch();
    auto* label = new QLabel(QCoreApplication::translate("Host", "Loading the exchange rates…"));
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    auto* progress = new QProgressBar;
    progress->setRange(0, 0); // no figures to show: an indeterminate bar
    progress->setTextVisible(false);
    progress->setAccessibleName(QCoreApplication::translate("Host", "Loading"));
    layout->addWidget(progress);
    layout->addStretch();
    return page;
}

} // namespace

PaneWindow::PaneWindow(NSPreferencePane& pane, const QString& title) : pane_(pane) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    messageBar_ = new MessageBar;
    layout->addWidget(messageBar_);

    QWidget* view = pane.mainView();
    const QSize designed = view->size(); // the size the interface file gives the view
    pages_ = new QStackedWidget;
    busyPage_ = makeBusyPage();
    pages_->addWidget(busyPage_);
    pages_->addWidget(view); // the window adopts the view
    layout->addWidget(pages_);
    resize(designed.expandedTo(minimumSizeHint()));
    // Size limits settled before the window exists, not pushed to it once it is shown.
    layout->activate();
}

void PaneWindow::select() {
    pages_->setCurrentWidget(busyPage_);
    selecting_ = true;
    {
        BusyCursor busy; // until willSelect returns, also where the pane does not wait through us
        pane_.willSelect();
    }
    selecting_ = false;
    selected_ = true;
    pages_->setCurrentWidget(pane_.mainView());
    // A close request that came while the pane was busy is acted on now, from the event loop.
    if (closeRequested_) QTimer::singleShot(0, this, [this] { close(); });
}

void PaneWindow::unselect() {
    if (!selected_) return;
    selected_ = false;
    pane_.didUnselect();
}

void PaneWindow::showMessage(const QString& text) {
    showingLoadFailure_ = false;
    messageBar_->showMessage(text);
}

void PaneWindow::showLoadFailure(const QString& reason) {
    const QString text =
        QCoreApplication::translate("Host", "The exchange rates could not be loaded: %1")
            .arg(reason);
    std::function<void()> retry;
    if (QPointer<QAbstractButton> reload =
            FindButtonSendingAction(*pane_.mainView(), kReloadAction))
        retry = [reload] {
            if (reload) reload->click();
        };
    showingLoadFailure_ = true;
    messageBar_->showMessage(text, std::move(retry));
}

void PaneWindow::loadSucceeded() {
    if (!showingLoadFailure_) return; // a failed save stays told
    showingLoadFailure_ = false;
    messageBar_->clear();
}

QString PaneWindow::message() const {
    return messageBar_->text();
}

void PaneWindow::bringToFront(const QVariantMap& platformData) {
    // Qt's Wayland platform takes the focus with the token of the start that asked for it.
    if (const QString token = platformData.value(QStringLiteral("activation-token")).toString();
        !token.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void PaneWindow::closeEvent(QCloseEvent* event) {
    // Never inside one of the pane's calls: the pane must not be left while it is being shown
    // or while it waits for a fetch; the fetch is cut short instead.
    if (selecting_ || IsWaitingWithoutBlockingWindows()) {
        event->ignore();
        // The fetch it waits for ends at once (as a timed-out one), so the call returns now
        // rather than when the site gives up.
        NSURLHandle::cancelRunningLoads();
        if (!selecting_) RunAfterWaiting([this] { close(); });
        closeRequested_ = true;
        return;
    }
    const QString before = message();
    unselect();
    // The user closed the window and the settings could not be saved as the pane was left:
    // the window stays this once, so that the reason is read rather than lost with it.
    if (event->spontaneous() && !message().isEmpty() && message() != before) {
        event->ignore();
        return;
    }
    event->accept();
}
