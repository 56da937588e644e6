#include "host/PaneWindow.h"

#include <QCloseEvent>
#include <QVBoxLayout>

PaneWindow::PaneWindow(NSPreferencePane& pane, const QString& title) : pane_(pane) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pane.mainView()); // the window adopts the view
}

void PaneWindow::unselect() {
    if (!selected_) return;
    selected_ = false;
    pane_.didUnselect();
}

void PaneWindow::closeEvent(QCloseEvent* event) {
    unselect();
    event->accept();
}
