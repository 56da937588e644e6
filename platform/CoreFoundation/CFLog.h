// SPDX-License-Identifier: MIT
// One line of diagnostics: to the system log (syslog, facility user) and to standard error.
// The stand-ins' own messages and NSLog both end here.
#pragma once

#include <string_view>

void CFLogLine(std::string_view line);
