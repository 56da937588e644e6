#include "menu/PrefsLauncher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

bool isExecutable(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

} // namespace

PrefsLauncher::~PrefsLauncher() {
    if (pidfd_ >= 0) close(pidfd_);
}

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

bool PrefsLauncher::isRunning() const {
    if (pidfd_ < 0) return false;
    pollfd fd{pidfd_, POLLIN, 0};
    return poll(&fd, 1, 0) == 0;
}

PrefsLauncher::Result PrefsLauncher::launch() {
    if (isRunning()) return Result::AlreadyRunning;
    const QString program = findPrefs();
    if (program.isEmpty()) return Result::NotFound;
    // Detached, so that quitting the menu leaves an open settings window alone.
    qint64 pid = 0;
    if (!QProcess::startDetached(program, {}, QString(), &pid) || pid <= 0)
        return Result::FailedToStart;
    if (pidfd_ >= 0) close(pidfd_);
    // A process that has already ended has no pidfd, and needs none.
    pidfd_ = static_cast<int>(syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
    return Result::Started;
}
