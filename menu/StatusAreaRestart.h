// SPDX-License-Identifier: MIT
// Qt decides once, when it first makes a status item, whether to use the StatusNotifierItem
// protocol (a watcher is on the session bus) or the X11 tray; a panel that starts after the
// menu would never see the item. The menu then starts itself afresh, so that Qt decides again.
#pragma once

// Whether a panel's org.kde.StatusNotifierWatcher is on the session bus.
bool StatusNotifierWatcherPresent();

// Replaces this process with a fresh start of the same program and arguments. Returns only
// when that fails, after saying so on standard error.
void RestartForStatusArea();
