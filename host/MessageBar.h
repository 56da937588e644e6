// SPDX-License-Identifier: MIT
// The bar above the pane that tells the user what they must know without a dialog (nothing
// waits for them): a line of plain text and, where the user can do something about it, a
// "Try Again" button.
#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

class MessageBar : public QWidget {
public:
    MessageBar();

    // Shows `text`; with `retry`, also the "Try Again" button, which calls it.
    void showMessage(const QString& text, std::function<void()> retry = {});
    void clear();
    // The text shown, or empty while the bar is hidden.
    QString text() const;
    QPushButton* tryAgainButton() const { return tryAgain_; }

private:
    QLabel* label_;
    QPushButton* tryAgain_;
    std::function<void()> retry_;
};
