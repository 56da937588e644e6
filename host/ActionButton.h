// SPDX-License-Identifier: MIT
// The pane's controls are bound to its actions by the selector text each one carries (the
// dynamic property "action" of the interface file); the host finds a pane's button by it.
#pragma once

#include <QAbstractButton>
#include <string_view>

// The first button below `view` that sends `selector` ("reloadButtonClicked:"), or null.
QAbstractButton* FindButtonSendingAction(const QWidget& view, std::string_view selector);
