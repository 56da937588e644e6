#include "host/PaneWindow.h"

#include "platform/AppKit/BusyCursor.h"
#include "platform/AppKit/ResponsiveWait.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

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

    messageBar_ = new QLabel;
    messageBar_->setTextFormat(Qt::PlainText); // the reason may hold any file name
    messageBar_->setWordWrap(true);
    messageBar_->setMargin(8);
    messageBar_->setStyleSheet("background: #fff3cd; color: #664d03;");
    messageBar_->setAccessibleName(QCoreApplication::translate("Host", "Message"));
    messageBar_->hide();
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
    messageBar_->setText(text);
    messageBar_->show();
}

QString PaneWindow::message() const {
    return messageBar_->isHidden() ? QString() : messageBar_->text();
}

void PaneWindow::closeEvent(QCloseEvent* event) {
    // Never inside one of the pane's calls: the pane must not be left while it is being shown
    // or while it waits for a fetch.
    if (selecting_ || IsWaitingWithoutBlockingWindows()) {
        event->ignore();
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
