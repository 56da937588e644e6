// SPDX-License-Identifier: MIT
// The window that shows a pane's main view. It appears at once in a busy state (a progress
// indication while the pane's first willSelect runs), carries a message bar for what the user
// must know, and tells the pane it has been left when it is closed.
#pragma once

#include "platform/AppKit/NSPreferencePane.h"

#include <QVariantMap>
#include <QWidget>

class MessageBar;
class QStackedWidget;

class PaneWindow : public QWidget {
public:
    PaneWindow(NSPreferencePane& pane, const QString& title);

    // Calls willSelect, showing the busy state until it returns; the window keeps painting
    // meanwhile when the pane's waits go through RunWithoutBlockingWindows.
    void select();
    // Calls didUnselect, once however often the window is closed.
    void unselect();

    // Shows `text` in the message bar above the pane (no dialog: nothing waits for the user).
    void showMessage(const QString& text);
    // Says in the message bar that the exchange rates could not be loaded and why, with a
    // "Try Again" button that does what the pane's reload button does; a later load that
    // succeeds takes it away.
    void showLoadFailure(const QString& reason);
    void loadSucceeded();
    QString message() const;

    // Shows the window unminimised in front of the others with the focus, for a second start
    // of the host (`platformData` as org.freedesktop.Application's Activate gives it).
    void bringToFront(const QVariantMap& platformData);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    NSPreferencePane& pane_;
    QStackedWidget* pages_;
    QWidget* busyPage_;
    MessageBar* messageBar_;
    bool showingLoadFailure_ = false;
    bool selected_ = false;
    bool selecting_ = false;
    bool closeRequested_ = false;
};
