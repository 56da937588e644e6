#include "platform/CoreFoundation/CFLog.h"

#include <cstdio>
#include <string>
#include <syslog.h>

void CFLogLine(std::string_view line) {
    const std::string text(line);
    syslog(LOG_USER | LOG_WARNING, "%s", text.c_str());
    std::fprintf(stderr, "%s\n", text.c_str());
}
