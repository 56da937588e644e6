// SPDX-License-Identifier: MIT
// Starts the settings window, corvanta-prefs, for the menu's "Settings…". It starts one every
// time: corvanta-prefs runs once per user and session, so a start while a window is open brings
// that window to the front (also one the menu did not start, or one that was minimised).
#pragma once

#include <QString>

class PrefsLauncher {
public:
    // corvanta-prefs beside this program, then in the build tree's host folder, then on PATH;
    // empty when there is none.
    static QString findPrefs();

    enum class Result { Started, NotFound, FailedToStart };
    Result launch();
};
