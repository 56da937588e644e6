// SPDX-License-Identifier: MIT
// What the pane only logs, told in its window while this lives: a save of the settings that
// failed, and a fetch that failed, with the reason the URL loader logged for it. A fetch that
// succeeds takes its earlier failure off the window.
#pragma once

class PaneWindow;

class FailureNotices {
public:
    explicit FailureNotices(PaneWindow& window);
    ~FailureNotices();
    FailureNotices(const FailureNotices&) = delete;
    FailureNotices& operator=(const FailureNotices&) = delete;
};
