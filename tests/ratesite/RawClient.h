// SPDX-License-Identifier: MIT
// A raw connection to a site on 127.0.0.1, for clients that misbehave.
#pragma once

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

class RawClient {
public:
    explicit RawClient(int port) : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(port));
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawClient() { close(fd_); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool connected() const { return connected_; }
    int fd() const { return fd_; }
    // False once the site has closed the connection (or it never opened).
    bool send(const std::string& bytes) {
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) >= 0;
    }
    // All the site sends until it closes, or what came within `patience`.
    std::string receiveAll(std::chrono::milliseconds patience) {
        timeval timeout{static_cast<time_t>(patience.count() / 1000),
                        static_cast<suseconds_t>(patience.count() % 1000 * 1000)};
        setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        std::string received;
        char chunk[4096];
        for (ssize_t got; (got = recv(fd_, chunk, sizeof chunk, 0)) > 0;)
            received.append(chunk, static_cast<size_t>(got));
        return received;
    }

private:
    int fd_;
    bool connected_ = false;
};
