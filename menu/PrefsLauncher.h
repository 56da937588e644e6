// Starts the settings window, corvanta-prefs, for the menu's "Settings…", and never a second
// one while the one it started still runs.
#pragma once

#include <QString>

class PrefsLauncher {
public:
    PrefsLauncher() = default;
    ~PrefsLauncher();
    PrefsLauncher(const PrefsLauncher&) = delete;
    PrefsLauncher& operator=(const PrefsLauncher&) = delete;

    // corvanta-prefs beside this program, then in the build tree's host folder, then on PATH;
    // empty when there is none.
    static QString findPrefs();

    enum class Result { Started, AlreadyRunning, NotFound, FailedToStart };
    Result launch();
    bool isRunning() const;

private:
    // A pidfd of the started process: it stays valid, and readable once the process has ended,
    // whatever happens to the process id.
    int pidfd_ = -1;
};
