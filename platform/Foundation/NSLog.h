// SPDX-License-Identifier: MIT
// NSLog: one line to the system log (syslog, facility user) and the same line to standard error.
#pragma once

#include <string_view>

// printf-style; a trailing newline is added.
void NSLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The line as it stands, for texts that are already formatted.
void NSLogLine(std::string_view line);
