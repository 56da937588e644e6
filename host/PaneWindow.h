// The window that shows a pane's main view. Closing it tells the pane it has been left.
#pragma once

#include "platform/AppKit/NSPreferencePane.h"

#include <QWidget>

class PaneWindow : public QWidget {
public:
    PaneWindow(NSPreferencePane& pane, const QString& title);

    // Calls didUnselect, once however often the window is closed.
    void unselect();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    NSPreferencePane& pane_;
    bool selected_ = true;
};
