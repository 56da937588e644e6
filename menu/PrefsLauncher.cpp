// SPDX-License-Identifier: MIT
#include "menu/PrefsLauncher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

bool isExecutable(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

} // namespace

QString PrefsLauncher::findPrefs() {
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!self.isEmpty()) {
        const QDir folder = QFileInfo(self).dir();
        for (const QString& candidate : {folder.filePath(QStringLiteral("corvanta-prefs")),
                                         folder.filePath(QStringLiteral("../host/corvanta-prefs"))})
            if (isExecutable(candidate)) return QFileInfo(candidate).canonicalFilePath();
    }
    return QStandardPaths::findExecutable(QStringLiteral("corvanta-prefs"));
}

PrefsLauncher::Result PrefsLauncher::launch() {
    const QString program = findPrefs();
    if (program.isEmpty()) return Result::NotFound;
    // Detached, so that quitting the menu leaves an open settings window alone.
    if (!QProcess::startDetached(program, {})) return Result::FailedToStart;
    return Result::Started;
}
