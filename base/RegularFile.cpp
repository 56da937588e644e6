// SPDX-License-Identifier: MIT
#include "base/RegularFile.h"

#include "base/ErrnoReason.h"
#include "base/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// At most `maxBytes` + 1, so that a file which grew past the limit while it was read shows it.
bool readAll(int fd, std::size_t maxBytes, std::string& out) {
    char buffer[16384];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        out.append(buffer, static_cast<size_t>(got));
        if (out.size() > maxBytes) return true;
    }
}

} // namespace

std::string DescribeSize(std::size_t bytes) {
    constexpr std::size_t kKiB = 1024, kMiB = 1024 * 1024;
    if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
    if (bytes >= kKiB && bytes % kKiB == 0) return std::to_string(bytes / kKiB) + " KiB";
    return std::to_string(bytes) + " bytes";
}

RegularFileReading ReadRegularFile(const std::string& path, std::size_t maxBytes,
                                   FollowLinks links) {
    using State = RegularFileReading::State;
    RegularFileReading reading;
    const auto unreadable = [&reading](const std::string& what) {
        FailWithErrno(&reading.reason, what);
        reading.state = State::Unreadable;
        reading.bytes.clear();
        return reading;
    };
    int flags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK; // a FIFO must not hang the open
    if (links == FollowLinks::No) flags |= O_NOFOLLOW;
    FileDescriptor fd(open(path.c_str(), flags));
    if (!fd) {
        if (errno == ENOENT || errno == ENOTDIR) return reading;
        return unreadable("cannot open " + path);
    }
    const auto notAFile = [&] {
        reading.state = State::Unreadable;
        reading.reason = path + " is not a regular file of at most " + DescribeSize(maxBytes);
        reading.bytes.clear();
        return reading;
    };
    struct stat info {};
    if (fstat(fd.get(), &info) != 0) return unreadable("cannot read " + path);
    // Looked at before reading, so that a device or a huge file costs nothing; the size is
    // checked again after, for a file that grows while it is read.
    if (!S_ISREG(info.st_mode) || static_cast<std::size_t>(info.st_size) > maxBytes)
        return notAFile();
    if (!readAll(fd.get(), maxBytes, reading.bytes)) return unreadable("cannot read " + path);
    if (reading.bytes.size() > maxBytes) return notAFile();
    reading.state = State::Read;
    return reading;
}
