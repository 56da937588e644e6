// SPDX-License-Identifier: MIT
#include "platform/AppKit/NSView.h"

NSView::NSView(QWidget* widget) : QObject(widget), widget_(widget) {}
