#include "platform/CoreFoundation/CFLog.h"

#include <cerrno>
#include <string>

#include <syslog.h>
#include <unistd.h>

namespace {

// Writes all of `bytes`, one write where it fits, so that lines of concurrent writers do not
// interleave; gives up quietly when standard error is gone.
void writeToStandardError(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(STDERR_FILENO, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
}

} // namespace

void CFLogLine(std::string_view line) {
    const std::string text(line);
    // syslog() drops the message silently when no daemon listens on /dev/log.
    syslog(LOG_USER | LOG_NOTICE, "%s", text.c_str());
    writeToStandardError(text + "\n");
}
