// SPDX-License-Identifier: MIT
// What the rate site's program tests share: a feed server on loopback serving what a test puts
// up, the site as a child process with its log captured, a private cache folder, and a page
// request with a time limit.
#pragma once

#include "tests/support/ChildProgram.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TemporaryFolder.h"

#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

using namespace std::chrono_literals;

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The ECB feed's stand-in: answers /eurofxref-daily.xml with the document of the moment, with
// an ETag, 304 when the request names that ETag, after an optional stall.
class FeedServer {
public:
    FeedServer() {
        server_.routes().Get("/eurofxref-daily.xml", [this](const httplib::Request& request,
                                                            httplib::Response& response) {
            std::unique_lock lock(mutex_);
            ++requests_;
            ifNoneMatch_ = request.get_header_value("If-None-Match");
            const auto stall = stall_;
            lock.unlock();
            for (auto waited = 0ms; waited < stall && !server_.stopping(); waited += 10ms)
                std::this_thread::sleep_for(10ms);
            lock.lock();
            response.status = status_;
            if (!etag_.empty()) response.set_header("ETag", etag_);
            if (!etag_.empty() && ifNoneMatch_ == etag_) {
                response.status = 304;
                return;
            }
            response.set_content(document_, "text/xml");
        });
        server_.start();
    }

    void serve(std::string document, std::string etag = "", int status = 200) {
        std::lock_guard lock(mutex_);
        document_ = std::move(document);
        etag_ = std::move(etag);
        status_ = status;
    }
    void stallFor(std::chrono::milliseconds stall) {
        std::lock_guard lock(mutex_);
        stall_ = stall;
    }
    int requests() {
        std::lock_guard lock(mutex_);
        return requests_;
    }
    std::string lastIfNoneMatch() {
        std::lock_guard lock(mutex_);
        return ifNoneMatch_;
    }
    std::string url() const { return server_.url("/eurofxref-daily.xml"); }

private:
    std::mutex mutex_;
    std::string document_, etag_, ifNoneMatch_;
    int status_ = 200;
    int requests_ = 0;
    std::chrono::milliseconds stall_{0};
    LoopbackServer server_; // last, so it stops before the rest goes
};

// The site as a child process; its standard error goes to a file the test can read.
class SiteProcess {
public:
    explicit SiteProcess(std::vector<std::string> arguments, const std::filesystem::path& log)
        : log_(log), child_(wrapped(std::move(arguments), log)) {}

    // The first line: the address, once it accepts connections.
    std::optional<std::string> address(std::chrono::milliseconds patience = 40s) {
        return child_.readLine(patience);
    }
    std::string log() const { return ReadFile(log_); }
    ChildProgram& child() { return child_; }

private:
    static std::vector<std::string> wrapped(std::vector<std::string> arguments,
                                            const std::filesystem::path& log) {
        std::vector<std::string> shell = {"/bin/sh", "-c", "exec \"$0\" \"$@\" 2>>\"$LOG_FILE\""};
        setenv("LOG_FILE", log.c_str(), 1);
        shell.insert(shell.end(), arguments.begin(), arguments.end());
        return shell;
    }

    std::filesystem::path log_;
    ChildProgram child_;
};

struct PageAnswer {
    int status = 0;
    std::string body;
    httplib::Headers headers;
    std::chrono::milliseconds took{0};

    std::string header(const std::string& name) const {
        const auto found = headers.find(name);
        return found == headers.end() ? std::string() : found->second;
    }
};

inline PageAnswer RequestPage(const std::string& site, const std::string& method = "GET",
                              const std::string& path = "/d/USD/table.html") {
    httplib::Client client(site);
    client.set_connection_timeout(5s);
    client.set_read_timeout(5s);
    const auto start = std::chrono::steady_clock::now();
    httplib::Request request;
    request.method = method;
    request.path = path;
    const httplib::Result result = client.send(request);
    PageAnswer answer;
    answer.took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    if (result) {
        answer.status = result->status;
        answer.body = result->body;
        answer.headers = result->headers;
    }
    return answer;
}

inline int CountOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}
