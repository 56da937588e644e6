// SPDX-License-Identifier: MIT
// An HTTP server on a free loopback port for the length of a test. Routes are added to
// `routes()` before `start()`.
#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

class LoopbackServer {
public:
    LoopbackServer() = default;
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;
    ~LoopbackServer() {
        stopping_ = true;
        if (thread_.joinable()) {
            server_.stop();
            thread_.join();
        }
    }

    httplib::Server& routes() { return server_; }

    // Binds and listens before returning, so requests made right after are queued.
    void start() {
        port_ = server_.bind_to_any_port("127.0.0.1");
        if (port_ <= 0) throw std::runtime_error("no free loopback port");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!server_.is_running()) {
            if (std::chrono::steady_clock::now() > deadline)
                throw std::runtime_error("the loopback server did not start");
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    int port() const { return port_; }
    std::string site() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::string url(const std::string& path) const { return site() + path; }

    // Handlers that wait or stream without end check this to let the server shut down.
    bool stopping() const { return stopping_; }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
};
