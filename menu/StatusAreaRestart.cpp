// SPDX-License-Identifier: MIT
#include "menu/StatusAreaRestart.h"

#include "platform/Foundation/NSLog.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The program's own file, by its real path: the kernel names a process (/proc/PID/comm, what
// pgrep and top show) after the file it was started from, so starting "/proc/self/exe" would
// rename the menu "exe". A file replaced by an upgrade reads "PATH (deleted)"; the new file at
// PATH is then the one to start.
std::string ProgramFile() {
    char target[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", target, sizeof target - 1);
    if (length <= 0) return "/proc/self/exe";
    std::string path(target, static_cast<size_t>(length));
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
    return access(path.c_str(), X_OK) == 0 ? path : "/proc/self/exe";
}

} // namespace

bool StatusNotifierWatcherPresent() {
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
}

void RestartForStatusArea() {
    NSLogLine("corvanta-menu: a status area has appeared; starting again to show the item");
    std::vector<std::string> arguments;
    for (const QString& argument : QCoreApplication::arguments())
        arguments.push_back(argument.toStdString());
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::fflush(nullptr);
    // The same argv[0] as at the start, so the restarted menu reads as the one started.
    execv(ProgramFile().c_str(), argv.data());
    NSLog("corvanta-menu: cannot start again: %s", std::strerror(errno));
}
