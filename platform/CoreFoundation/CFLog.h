// One line of diagnostics for the stand-ins: to the system log and to standard error.
#pragma once

#include <string_view>

void CFLogLine(std::string_view line);
