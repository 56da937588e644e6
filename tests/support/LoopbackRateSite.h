// SPDX-License-Identifier: MIT
// A rate site on 127.0.0.1 for tests: serves a page, which a test may change, at
// /d/USD/table.html on a free port until it goes, and whatever else a test puts up below /d/.
#pragma once

#include "tests/support/LoopbackServer.h"

#include <arpa/inet.h>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>
#include <vector>

class LoopbackRateSite {
public:
    explicit LoopbackRateSite(std::string page) {
        files_["/d/USD/table.html"] = std::move(page);
        server_.routes().Get(
            "/d/.*", [this](const httplib::Request& request, httplib::Response& response) {
                std::lock_guard lock(mutex_);
                const auto found = files_.find(request.path);
                if (found == files_.end()) {
                    response.status = 404;
                    return;
                }
                response.set_content(found->second, request.path.ends_with(".json")
                                                        ? "application/json; charset=utf-8"
                                                        : "text/html; charset=utf-8");
            });
        server_.start();
    }

    // The value for CORVANTA_RATE_SITE.
    std::string address() const { return server_.site(); }
    void setPage(std::string page) { serve("/d/USD/table.html", std::move(page)); }
    // Serves `body` at `path` ("/d/EUR/history.json") from now on.
    void serve(const std::string& path, std::string body) {
        std::lock_guard lock(mutex_);
        files_[path] = std::move(body);
    }

private:
    std::mutex mutex_;
    std::map<std::string, std::string> files_;
    LoopbackServer server_; // last, so it stops before the page goes
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

// A rate page in the markup the rate source reads, one row per name with its rate text.
inline std::string RatePageOf(const std::vector<std::pair<std::string, std::string>>& rows) {
    std::string page = "<html><body><table>\n";
    for (const auto& [name, rate] : rows) {
        page += "<tr><td><font face=\"Verdana\" size=-1>&nbsp;&nbsp;";
        page += name;
        page += "&nbsp;&nbsp;</font></td>\n<td><font face=\"Verdana\" size=-1>"
                "<a href=\"/graph\" class=\"menu\">";
        page += rate;
        page += "</a>&nbsp;</font></td></tr>\n";
    }
    return page + "</table></body></html>\n";
}

// The same with the rates 1.5, 2.5, 3.5, ... in page order.
inline std::string RatePage(std::initializer_list<std::string> names) {
    std::vector<std::pair<std::string, std::string>> rows;
    int rate = 1;
    for (const std::string& name : names)
        rows.emplace_back(name, std::to_string(rate++) + ".5");
    return RatePageOf(rows);
}
