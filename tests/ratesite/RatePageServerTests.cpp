// SPDX-License-Identifier: MIT
// The server loop in this process, with limits small enough to reach: clients that flood, hold
// every slot, or send requests at the edges of what HTTP allows.
#include "ratesite/RatePageServer.h"

#include "ratesite/Listener.h"
#include "ratesite/RateKeeper.h"
#include "tests/ratesite/RawClient.h"

#include <gtest/gtest.h>

#include <atomic>
#include <poll.h>
#include <sys/eventfd.h>
#include <thread>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kGet = "GET /d/USD/table.html HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";

// A server on a free loopback port, serving the bundled snapshot's pages from its own thread.
class ServedSite {
public:
    explicit ServedSite(RatePageServer::Limits limits) {
        std::string error;
        listener_ = std::move(ListenOnLoopback(0, error).value());
        const std::string address = AddressOf(listener_.get());
        port_ = std::stoi(address.substr(address.rfind(':') + 1));
        store_.publish(std::make_shared<const RateSitePages>(
            *ReadReferenceRates(BundledSnapshot()).rates, true, CurrencyNames("en")));
        thread_ = std::thread([this, limits] {
            RatePageServer(listener_.get(), store_, limits).run(stop_.get(), {});
        });
    }
    ~ServedSite() {
        const uint64_t one = 1;
        (void)!write(stop_.get(), &one, sizeof one);
        thread_.join();
    }

    int port() const { return port_; }

private:
    FileDescriptor listener_;
    FileDescriptor stop_{eventfd(0, EFD_CLOEXEC)};
    RatePageStore store_;
    int port_ = 0;
    std::thread thread_;
};

struct Answer {
    std::string bytes;
    Clock::duration took{};
};

Answer exchange(int port, const std::string& request) {
    const auto start = Clock::now();
    RawClient client(port);
    client.send(request);
    std::string bytes = client.receiveAll(5s);
    return {std::move(bytes), Clock::now() - start};
}

// One client that sends `opening` and then bytes without pause, and connects again each time
// the site drops it, until it goes.
class Flooder {
public:
    Flooder(int port, std::string opening)
        : thread_([this, port, opening = std::move(opening)] { flood(port, opening); }) {}
    ~Flooder() {
        stop_ = true;
        thread_.join();
    }

    // The longest any of its connections lived so far (the one still open included).
    Clock::duration longestConnection() const { return longest_.load(); }
    int connections() const { return connections_.load(); }

private:
    void flood(int port, const std::string& opening) {
        const std::string filler(64 * 1024, 'x');
        while (!stop_) {
            RawClient client(port);
            ++connections_;
            const auto opened = Clock::now();
            bool open = client.send(opening);
            while (open && !stop_) {
                longest_ = std::max(longest_.load(), Clock::now() - opened);
                pollfd writable{client.fd(), POLLOUT, 0};
                if (poll(&writable, 1, 20) != 1) continue;
                open = ::send(client.fd(), filler.data(), filler.size(),
                              MSG_NOSIGNAL | MSG_DONTWAIT) >= 0 ||
                       errno == EAGAIN;
            }
        }
    }

    std::atomic<bool> stop_{false};
    std::atomic<Clock::duration> longest_{};
    std::atomic<int> connections_{0};
    std::thread thread_;
};

} // namespace

TEST(RatePageServerTest, AClientThatSendsWithoutEndHoldsUpNoOther) {
    struct Case {
        const char* name;
        std::string opening;
    } cases[] = {
        {"a whole request, then bytes", kGet},
        {"an oversized header, then bytes", "GET /d/USD/table.html HTTP/1.1\r\nX-Padding: "},
    };
    RatePageServer::Limits limits;
    limits.connectionTime = 2s;
    for (const Case& c : cases) {
        const ServedSite site(limits);
        const Flooder flooder(site.port(), c.opening);
        const auto started = Clock::now();
        Clock::duration slowest{};
        // Longer than a connection may live, so that one the site keeps shows.
        while (Clock::now() - started < limits.connectionTime + 2s) {
            const Answer answer = exchange(site.port(), kGet);
            EXPECT_TRUE(answer.bytes.starts_with("HTTP/1.1 200 ")) << c.name;
            slowest = std::max(slowest, answer.took);
            std::this_thread::sleep_for(50ms);
        }
        // Meant to be well under 100 ms; generous for a busy machine.
        EXPECT_LT(slowest, 1s) << c.name;
        EXPECT_LT(flooder.longestConnection(), limits.connectionTime + 1s) << c.name;
        EXPECT_GT(flooder.connections(), 1) << c.name;
    }
}

TEST(RatePageServerTest, WhenEverySlotIsTakenTheClientThatSentLeastMakesRoom) {
    RatePageServer::Limits limits;
    limits.connections = 4;
    const ServedSite site(limits);
    std::vector<std::unique_ptr<RawClient>> slowloris;
    const auto holdASlot = [&] {
        slowloris.push_back(std::make_unique<RawClient>(site.port()));
        slowloris.back()->send("GET /d/US");
        std::this_thread::sleep_for(20ms); // accepted in this order
    };
    for (int i = 0; i < 3; ++i)
        holdASlot();
    // A real client on a slow link: its request line is whole, its headers still coming.
    RawClient sending(site.port());
    sending.send("GET /d/USD/table.html HTTP/1.1\r\nHost: 127.0.0.1\r\n");
    std::this_thread::sleep_for(200ms);
    // The slowloris reconnects, again and again: it only ever pushes out its own connections.
    for (int i = 0; i < 8; ++i)
        holdASlot();
    sending.send("\r\n");
    EXPECT_TRUE(sending.receiveAll(5s).starts_with("HTTP/1.1 200 "));
    EXPECT_TRUE(exchange(site.port(), kGet).bytes.starts_with("HTTP/1.1 200 "));
}

namespace {

// A GET of the USD page `size` bytes long, its headers padded.
std::string requestOfSize(size_t size) {
    const std::string start = "GET /d/USD/table.html HTTP/1.1\r\nX-Padding: ";
    return start + std::string(size - start.size() - 4, 'x') + "\r\n\r\n";
}

} // namespace

TEST(RatePageServerTest, AnswersRequestLinesAsHttpOneDoes) {
    struct Case {
        const char* name;
        std::string request, status;
    } cases[] = {
        {"origin form", kGet, "200"},
        {"absolute form", "GET http://127.0.0.1:27315/d/USD/table.html HTTP/1.1\r\n\r\n", "200"},
        {"absolute form, any case, with a query",
         "GET HTTPS://localhost/d/USD/table.html?x=/y HTTP/1.0\r\n\r\n", "200"},
        {"absolute form naming only the host", "GET http://127.0.0.1:27315 HTTP/1.1\r\n\r\n",
         "404"},
        {"junk after the version", "GET /d/USD/table.html HTTP/1.1junk\r\n\r\n", "400"},
        {"no minor version", "GET /d/USD/table.html HTTP/1.\r\n\r\n", "400"},
        {"another major version", "GET /d/USD/table.html HTTP/2.0\r\n\r\n", "400"},
        {"two spaces", "GET  /d/USD/table.html HTTP/1.1\r\n\r\n", "400"},
        {"a request exactly as long as allowed", requestOfSize(8 * 1024), "200"},
        {"one byte longer", requestOfSize(8 * 1024 + 1), "431"},
        {"a whole request of 10 KiB", requestOfSize(10 * 1024), "431"},
    };
    const ServedSite site(RatePageServer::Limits{});
    for (const Case& c : cases) {
        const std::string answer = exchange(site.port(), c.request).bytes;
        EXPECT_TRUE(answer.starts_with("HTTP/1.1 " + c.status + " "))
            << c.name << ": " << answer.substr(0, answer.find('\r'));
    }
}
