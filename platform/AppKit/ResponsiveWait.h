// SPDX-License-Identifier: MIT
// Blocking calls that keep the windows alive. A pane's fetch blocks its caller by design, up to
// the loader's time-out; run on the main thread without care, the windows would stop painting
// and the desktop would offer to kill the program as hung. Here the blocking work runs on a
// worker thread while the main thread spins an event loop that paints and answers the window
// system but takes no user input, so the pane still sees a call that returns only when the
// work is done and no click can reach it meanwhile.
#pragma once

#include <functional>

// Runs `work` and returns once it has returned (rethrowing what it threw). On the GUI thread of
// a QApplication it runs on a worker thread under the busy cursor, with the event loop spinning
// without user input; anywhere else it simply runs.
void RunWithoutBlockingWindows(const std::function<void()>& work);

// True while RunWithoutBlockingWindows waits on this (the GUI) thread.
bool IsWaitingWithoutBlockingWindows();

// Runs `action` from the event loop once no such wait is in progress: a close request or a stop
// signal that arrives during a wait must not reach the pane in the middle of its call.
void RunAfterWaiting(std::function<void()> action);

// Makes every URL load of this process wait with RunWithoutBlockingWindows.
void InstallResponsiveURLLoading();
