#include "platform/Foundation/NSLog.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
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

void NSLogLine(std::string_view line) {
    const std::string text(line);
    // syslog() drops the message silently when no daemon listens on /dev/log.
    syslog(LOG_USER | LOG_NOTICE, "%s", text.c_str());
    writeToStandardError(text + "\n");
}

void NSLog(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int needed = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string line(needed > 0 ? static_cast<size_t>(needed) : 0, '\0');
    if (needed > 0) std::vsnprintf(line.data(), line.size() + 1, format, args);
    va_end(args);
    NSLogLine(line);
}
