// SPDX-License-Identifier: MIT
#pragma once

// Error codes of FSWrite, after the File Manager's.
enum : short {
    noErr = 0,
    ioErr = -36,    // the write failed
    rfNumErr = -51, // not an open file
    paramErr = -50, // a null count or buffer, or a negative count
    dskFulErr = -34,
};

// Writes *count bytes of `buffer` at the current position of the open file `refNum`, a POSIX
// file descriptor. Short writes are retried until all is written or an error occurs; *count
// then holds the bytes actually written. Returns noErr or a negative error code.
short FSWrite(short refNum, long* count, const void* buffer);
