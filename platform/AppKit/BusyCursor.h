// SPDX-License-Identifier: MIT
// Shows the busy cursor over the application's windows for as long as it lives: the host and
// the action dispatch hold one while the pane blocks the main thread (a page fetch, for one).
#pragma once

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool active_;
};
