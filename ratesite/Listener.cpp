#include "ratesite/Listener.h"

#include "base/WholeNumber.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

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
    if (address.ss_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&address);
        inet_ntop(AF_INET6, &v6->sin6_addr, host, sizeof host);
        port = ntohs(v6->sin6_port);
        return "http://[" + std::string(host) + "]:" + std::to_string(port);
    }
    return {};
}
