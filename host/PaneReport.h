// SPDX-License-Identifier: MIT
// A text account of what a pane shows, one line per control that the pane drives: a switch's
// state, a table's row count and first rows, a text view's and a text field's text. Each line
// is labelled with the control's accessible name. Texts are escaped (QuotedText, VisibleText), so
// that whatever a page put in them reaches the terminal as text, never as a control.
#pragma once

#include <QWidget>
#include <string>

std::string DescribePane(const QWidget& view, int rowsShown = 5);
