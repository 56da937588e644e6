// SPDX-License-Identifier: MIT
#include "base/UserSocket.h"

#include "base/Folders.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

std::string UserSocketFolderProblem(const std::string& folder) {
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0) return folder + ": " + std::strerror(errno);
    if (!S_ISDIR(info.st_mode)) return folder + " is not a folder";
    if (info.st_uid != geteuid()) return folder + " belongs to another user";
    if (info.st_mode & (S_IRWXG | S_IRWXO)) return folder + " is open to other users";
    return {};
}

std::string UserSocketProblem(const std::string& path) {
    if (std::string problem = UserSocketFolderProblem(FolderOf(path)); !problem.empty())
        return problem;
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return path + ": " + std::strerror(errno);
    if (!S_ISSOCK(info.st_mode)) return path + " is not a socket";
    if (info.st_uid != geteuid()) return path + " belongs to another user";
    return {};
}

bool PeerIsThisUser(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && length == sizeof peer &&
           peer.uid == geteuid();
}
