// The site's listening socket: one of its own on 127.0.0.1, or the one systemd passes by socket
// activation (LISTEN_FDS and LISTEN_PID name it; it is descriptor 3).
#pragma once

#include "base/FileDescriptor.h"

#include <optional>
#include <string>

// The socket systemd passed to this process, made non-blocking, or nothing when there is none.
// The variables are removed, so that no child takes the socket for its own.
std::optional<FileDescriptor> ActivatedSocket(std::string& error);

// A new socket listening on 127.0.0.1:`port` (0: any free port), or nothing with `error` set.
std::optional<FileDescriptor> ListenOnLoopback(int port, std::string& error);

// "http://127.0.0.1:PORT" for a listening socket.
std::string AddressOf(int listener);
