// SPDX-License-Identifier: MIT
#include "platform/Foundation/NSLog.h"

#include "platform/CoreFoundation/CFLog.h"

#include <cstdarg>
#include <cstdio>
#include <string>

void NSLogLine(std::string_view line) {
    CFLogLine(line);
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
