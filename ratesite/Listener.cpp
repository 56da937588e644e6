// SPDX-License-Identifier: MIT
#include "ratesite/Listener.h"

#include "base/Folders.h"
#include "base/UserSocket.h"
#include "base/WholeNumber.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kFirstPassedDescriptor = 3; // SD_LISTEN_FDS_START

std::optional<long> variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? WholeNumber(value) : std::nullopt;
}

bool makeNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 &&
           fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

} // namespace

std::optional<FileDescriptor> ActivatedSocket(std::string& error) {
    const std::optional<long> pid = variable("LISTEN_PID");
    const std::optional<long> count = variable("LISTEN_FDS");
    unsetenv("LISTEN_PID");
    unsetenv("LISTEN_FDS");
    unsetenv("LISTEN_FDNAMES");
    if (!pid || !count || *pid != getpid() || *count < 1) return std::nullopt;
    if (*count > 1) error = "systemd passed more than one socket; serving the first";
    int type = 0;
    socklen_t length = sizeof type;
    if (getsockopt(kFirstPassedDescriptor, SOL_SOCKET, SO_TYPE, &type, &length) != 0 ||
        type != SOCK_STREAM || !makeNonBlocking(kFirstPassedDescriptor)) {
        error = "the socket systemd passed is not a stream socket";
        return std::nullopt;
    }
    return FileDescriptor(kFirstPassedDescriptor);
}

std::optional<FileDescriptor> ListenOnLoopback(int port, std::string& error) {
    FileDescriptor fd(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const int reuse = 1;
    if (!fd || setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse) != 0 ||
        bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd.get(), SOMAXCONN) != 0) {
        error = "cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return fd;
}

namespace {

bool addressOf(const std::string& path, sockaddr_un& address) {
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Whether a site answers at `path`: a socket that refuses is one left by a site that is gone.
bool socketAnswers(const sockaddr_un& address) {
    const FileDescriptor probe(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    return probe &&
           connect(probe.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

} // namespace

std::optional<UserSocketListener> UserSocketListener::listen(const std::string& path,
                                                             std::string& error) {
    const std::string folder = FolderOf(path);
    sockaddr_un address{};
    if (!addressOf(path, address)) {
        error = "the socket path " + path + " is too long";
        return std::nullopt;
    }
    struct stat info {};
    // Made private if it is new; tightened if it is the user's and open to others.
    if (!MakePrivateFolders(folder, &error)) return std::nullopt;
    if (lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid())
        chmod(folder.c_str(), 0700);
    if (error = UserSocketFolderProblem(folder); !error.empty()) return std::nullopt;

    FileDescriptor lock(
        open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0600));
    if (!lock || flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
        error = "another rate site starts or listens at " + path;
        return std::nullopt;
    }
    if (lstat(path.c_str(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode) || info.st_uid != geteuid()) {
            error = path + " is in the way: not a socket of this user's";
            return std::nullopt;
        }
        if (socketAnswers(address)) {
            error = "another rate site listens at " + path;
            return std::nullopt;
        }
        unlink(path.c_str());
    }
    FileDescriptor fd(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    const mode_t mask = umask(0177); // the socket itself 0600 from the start
    const bool bound =
        fd && bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    umask(mask);
    if (!bound || ::listen(fd.get(), SOMAXCONN) != 0) {
        error = "cannot listen at " + path + ": " + std::strerror(errno);
        if (bound) unlink(path.c_str());
        return std::nullopt;
    }
    return UserSocketListener(std::move(fd), std::move(lock), path);
}

UserSocketListener::UserSocketListener(FileDescriptor fd, FileDescriptor lock, std::string path)
    : fd_(std::move(fd)), lock_(std::move(lock)), path_(std::move(path)) {
    struct stat info {};
    if (lstat(path_.c_str(), &info) == 0) {
        device_ = info.st_dev;
        inode_ = info.st_ino;
    }
}

UserSocketListener::UserSocketListener(UserSocketListener&& other) noexcept
    : fd_(std::move(other.fd_)), lock_(std::move(other.lock_)),
      path_(std::exchange(other.path_, {})), device_(other.device_), inode_(other.inode_) {}

UserSocketListener::~UserSocketListener() {
    if (path_.empty()) return;
    // Only the socket this site made: never one another site has put there since.
    struct stat info {};
    if (lstat(path_.c_str(), &info) == 0 && info.st_dev == device_ && info.st_ino == inode_)
        unlink(path_.c_str());
}

std::string AddressOf(int listener) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) return {};
    char host[INET6_ADDRSTRLEN] = {};
    int port = 0;
    if (address.ss_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(&address);
        inet_ntop(AF_INET, &v4->sin_addr, host, sizeof host);
        port = ntohs(v4->sin_port);
        return "http://" + std::string(host) + ":" + std::to_string(port);
    }
    if (address.ss_family == AF_UNIX) {
        const auto* local = reinterpret_cast<const sockaddr_un*>(&address);
        return "unix:" + std::string(local->sun_path);
    }
    if (address.ss_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&address);
        inet_ntop(AF_INET6, &v6->sin6_addr, host, sizeof host);
        port = ntohs(v6->sin6_port);
        return "http://[" + std::string(host) + "]:" + std::to_string(port);
    }
    return {};
}
