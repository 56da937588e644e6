// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CFLog.h"

#include "platform/Carbon/FSWrite.h"

#include <string>

#include <syslog.h>
#include <unistd.h>

void CFLogLine(std::string_view line) {
    std::string text(line);
    // syslog() drops the message silently when no daemon listens on /dev/log.
    syslog(LOG_USER | LOG_NOTICE, "%s", text.c_str());
    // One write of the whole line where it fits, so lines of concurrent writers do not
    // interleave; a standard error that is gone is no reason to fail.
    text += '\n';
    long count = static_cast<long>(text.size());
    FSWrite(STDERR_FILENO, &count, text.data());
}
