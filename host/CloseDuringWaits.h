// SPDX-License-Identifier: MIT
// Lets the window's close request through while a pane's call waits for a fetch, so that the
// wait can be cut short. Qt's X11 platform counts the window manager's close request as user
// input, and the wait's event loop, which takes no user input, would hold it back until the
// fetch has ended, up to its time-out. During every wait this takes the window system's events
// in from time to time with all input dropped: the close request reaches the window, and no
// click or key does.
#pragma once

// Before the QApplication is made: Qt's X11 platform hands a held-back request over only when
// new window-system events arrive under the GLib event loop, and at every look under its own.
void PrepareCloseDuringWaits();
// Makes every URL load of this process wait so (as InstallResponsiveURLLoading does, and more).
void InstallCloseDuringWaits();
