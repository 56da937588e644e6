// A rate site on 127.0.0.1 for tests: serves a page at /d/USD/table.html from a thread of its
// own, on a free port, until it goes.
#pragma once

#include <httplib.h>

#include <arpa/inet.h>
#include <mutex>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

class LoopbackRateSite {
public:
    explicit LoopbackRateSite(std::string page) : page_(std::move(page)) {
        server_.Get("/d/USD/table.html", [this](const httplib::Request&, httplib::Response& r) {
            std::lock_guard lock(mutex_);
            r.set_content(page_, "text/html; charset=utf-8");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        // Bound and listening already: a request made before the thread runs waits for it.
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~LoopbackRateSite() {
        server_.stop();
        thread_.join();
    }
    LoopbackRateSite(const LoopbackRateSite&) = delete;
    LoopbackRateSite& operator=(const LoopbackRateSite&) = delete;

    // The value for CORVANTA_RATE_SITE.
    std::string address() const { return "http://127.0.0.1:" + std::to_string(port_); }
    void setPage(std::string page) {
        std::lock_guard lock(mutex_);
        page_ = std::move(page);
    }

private:
    httplib::Server server_;
    std::mutex mutex_;
    std::string page_;
    int port_ = 0;
    std::thread thread_;
};

// A loopback address where nothing listens, for a site that is down.
inline std::string UnreachableRateSite() {
    // A port the system has just handed out and taken back: connections to it are refused.
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

// A rate page in the markup the rate source reads, one row per name.
inline std::string RatePage(std::initializer_list<const char*> names) {
    std::string page = "<html><body><table>\n";
    int rate = 1;
    for (const char* name : names) {
        page += "<tr><td><font face=\"Verdana\" size=-1>&nbsp;&nbsp;";
        page += name;
        page += "&nbsp;&nbsp;</font></td>\n<td><font face=\"Verdana\" size=-1>"
                "<a href=\"/graph\" class=\"menu\">";
        page += std::to_string(rate++) + ".5";
        page += "</a>&nbsp;</font></td></tr>\n";
    }
    return page + "</table></body></html>\n";
}
