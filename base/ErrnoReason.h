// SPDX-License-Identifier: MIT
// The one shape of a failure's reason: what failed, then the C library's text for errno.
#pragma once

#include <cerrno>
#include <cstring>
#include <string>

// Fills `reason`, if given, with "<what>: <strerror(errno)>" and gives false. Call it at once,
// before anything else can change errno.
inline bool FailWithErrno(std::string* reason, const std::string& what) {
    const int error = errno;
    if (reason) *reason = what + ": " + std::strerror(error);
    return false;
}
