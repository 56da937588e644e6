// SPDX-License-Identifier: MIT
// The AppKit stand-in: the preference pane base, its controls over Qt 6 Widgets and the loading
// of interface files.
#pragma once

#include "platform/AppKit/BusyCursor.h"
#include "platform/AppKit/InterfaceFile.h"
#include "platform/AppKit/NSButton.h"
#include "platform/AppKit/NSIndexSet.h"
#include "platform/AppKit/NSObjCRuntime.h"
#include "platform/AppKit/NSPreferencePane.h"
#include "platform/AppKit/NSPreferencePaneClasses.h"
#include "platform/AppKit/NSTableView.h"
#include "platform/AppKit/NSTextField.h"
#include "platform/AppKit/NSTextView.h"
#include "platform/AppKit/NSView.h"
#include "platform/AppKit/NibConnections.h"
