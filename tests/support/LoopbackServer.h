// An HTTP server on a free loopback port for the length of a test. Routes are added to
// `routes()` before `start()`.
#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
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
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
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
