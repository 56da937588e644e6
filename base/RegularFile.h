// SPDX-License-Identifier: MIT
// Reading a small file that someone else may have tampered with: never blocking in open (a
// FIFO put at the path), never reading a device or a huge file, and saying why a file was
// passed over.
#pragma once

#include <cstddef>
#include <string>

struct RegularFileReading {
    enum class State {
        Missing,    // nothing at the path (or a file stands where a folder should)
        Read,       // `bytes` holds the whole file
        Unreadable, // something is there but was not read; `reason` says why
    };
    State state = State::Missing;
    std::string bytes;
    std::string reason;
};

enum class FollowLinks { Yes, No };

// Reads the regular file at `path` whole when it holds at most `maxBytes`. Anything else there
// (a folder, a FIFO, a device, a larger file, with FollowLinks::No a symbolic link) is
// Unreadable, as is a file the C library cannot open or read.
RegularFileReading ReadRegularFile(const std::string& path, std::size_t maxBytes,
                                   FollowLinks links = FollowLinks::Yes);

// "16 MiB", "4 KiB", "100 bytes": a size as the reasons above state it.
std::string DescribeSize(std::size_t bytes);
