#include "host/PaneWindow.h"

#include <QCloseEvent>
#include <QVBoxLayout>

PaneWindow::PaneWindow(NSPreferencePane& pane, const QString& title) : pane_(pane) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    QWidget* view = pane.mainView();
    const QSize designed = view->size(); // the size the interface file gives the view
    layout->addWidget(view);             // the window adopts the view
    resize(designed.expandedTo(minimumSizeHint()));
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
