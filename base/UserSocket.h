// SPDX-License-Identifier: MIT
// Unix sockets that belong to the user alone, so that no other local user can answer in their
// place: the socket lies in a folder of the user's that nobody else may enter, and the process
// at its other end runs as the user.
#pragma once

#include <string>

// Why the folder `folder` cannot hold a socket of the user's own, or "" when it can: it is a
// folder (not a link), owned by this process's user, with no permission for group or others.
std::string UserSocketFolderProblem(const std::string& folder);

// Why `path` is not a socket of the user's own to connect to, or "" when it is: a socket owned
// by this process's user in a folder that passes UserSocketFolderProblem.
std::string UserSocketProblem(const std::string& path);

// Whether the process at the other end of the connected Unix socket `fd` runs as this
// process's user (SO_PEERCRED).
bool PeerIsThisUser(int fd);
