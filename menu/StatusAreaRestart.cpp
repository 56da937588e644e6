#include "menu/StatusAreaRestart.h"

#include "platform/Foundation/NSLog.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

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
    execv("/proc/self/exe", argv.data());
    NSLog("corvanta-menu: cannot start again: %s", std::strerror(errno));
}
