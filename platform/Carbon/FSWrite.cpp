// SPDX-License-Identifier: MIT
#include "platform/Carbon/FSWrite.h"

#include <cerrno>
#include <unistd.h>

short FSWrite(short refNum, long* count, const void* buffer) {
    if (!count) return paramErr;
    const long wanted = *count;
    *count = 0;
    if (wanted < 0 || (wanted > 0 && !buffer)) return paramErr;

    const char* bytes = static_cast<const char*>(buffer);
    long written = 0;
    while (written < wanted) {
        ssize_t n = ::write(refNum, bytes + written, static_cast<size_t>(wanted - written));
        if (n < 0) {
            if (errno == EINTR) continue;
            *count = written;
            if (errno == EBADF) return rfNumErr;
            if (errno == ENOSPC || errno == EDQUOT) return dskFulErr;
            return ioErr;
        }
        written += n;
    }
    *count = written;
    return noErr;
}
