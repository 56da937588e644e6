// SPDX-License-Identifier: MIT
// The site's listening socket: the one systemd passes by socket activation (LISTEN_FDS and
// LISTEN_PID name it; it is descriptor 3), else one of its own, on the user's socket in the
// user's runtime folder or on 127.0.0.1.
#pragma once

#include "base/FileDescriptor.h"

#include <optional>
#include <string>
#include <sys/types.h>

// The socket systemd passed to this process, made non-blocking, or nothing when there is none.
// The variables are removed, so that no child takes the socket for its own.
std::optional<FileDescriptor> ActivatedSocket(std::string& error);

// A new socket listening on 127.0.0.1:`port` (0: any free port), or nothing with `error` set.
std::optional<FileDescriptor> ListenOnLoopback(int port, std::string& error);

// A Unix socket of the user's own, listening at `path`, removed again when this goes (unless
// another has taken its place). Its folder is made private to the user (0700) and refused when
// another user owns it; a socket of an earlier site that is gone is replaced, one that still
// answers is not.
class UserSocketListener {
public:
    static std::optional<UserSocketListener> listen(const std::string& path, std::string& error);
    UserSocketListener(UserSocketListener&& other) noexcept;
    UserSocketListener& operator=(UserSocketListener&&) = delete;
    ~UserSocketListener();

    int fd() const { return fd_.get(); }

private:
    UserSocketListener(FileDescriptor fd, FileDescriptor lock, std::string path);

    FileDescriptor fd_;
    FileDescriptor lock_; // held while it listens, so that two sites cannot start at once
    std::string path_;    // empty once moved from
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

// "http://127.0.0.1:PORT" for a listening TCP socket, "unix:PATH" for a Unix one: the value
// CORVANTA_RATE_SITE takes for this site.
std::string AddressOf(int listener);
