// SPDX-License-Identifier: MIT
// The server loop in this process, with limits small enough to reach: clients that flood, hold
// every slot, or send requests at the edges of what HTTP allows.
#include "ratesite/RatePageServer.h"

#include "ratesite/Listener.h"
#include "ratesite/RateKeeper.h"
#include "tests/ratesite/RawClient.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
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
    // The CPU time its thread has taken.
    std::chrono::nanoseconds cpuTime() {
        clockid_t clock{};
        timespec spent{};
        pthread_getcpuclockid(thread_.native_handle(), &clock);
        clock_gettime(clock, &spent);
        return std::chrono::seconds(spent.tv_sec) + std::chrono::nanoseconds(spent.tv_nsec);
    }

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
        const std::string filler(256 * 1024, 'x');
        while (!stop_) {
            RawClient client(port);
            ++connections_;
            const auto opened = Clock::now();
            // Blocking sends keep the site's side full; the time-out only lets it see stop_.
            const timeval patience{0, 50 * 1000};
            setsockopt(client.fd(), SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
            bool open = client.send(opening);
            while (open && !stop_) {
                longest_ = std::max(longest_.load(), Clock::now() - opened);
                open = ::send(client.fd(), filler.data(), filler.size(), MSG_NOSIGNAL) >= 0 ||
                       errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
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
    // A deadline longer than the flood, so that only the bound on what is drained can end
    // the flooder's connections.
    RatePageServer::Limits limits;
    limits.connectionTime = 30s;
    for (const Case& c : cases) {
        const ServedSite site(limits);
        const Flooder flooder(site.port(), c.opening);
        const auto started = Clock::now();
        Clock::duration slowest{};
        while (Clock::now() - started < 3s) {
            const Answer answer = exchange(site.port(), kGet);
            EXPECT_TRUE(answer.bytes.starts_with("HTTP/1.1 200 ")) << c.name;
            slowest = std::max(slowest, answer.took);
            std::this_thread::sleep_for(50ms);
        }
        // Meant to be well under 100 ms; generous for a busy machine.
        EXPECT_LT(slowest, 1s) << c.name;
        EXPECT_LT(flooder.longestConnection(), 2s) << c.name;
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

namespace {

// Takes every descriptor this process may still open (under a soft limit lowered to 256, so
// that there are few), and gives them back when it goes.
class DescriptorsUsedUp {
public:
    DescriptorsUsedUp() {
        getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = std::min<rlim_t>(saved_.rlim_cur, 256);
        setrlimit(RLIMIT_NOFILE, &lowered);
        for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
            taken_.emplace_back(fd);
    }
    ~DescriptorsUsedUp() {
        taken_.clear();
        setrlimit(RLIMIT_NOFILE, &saved_);
    }

private:
    rlimit saved_{};
    std::vector<FileDescriptor> taken_;
};

} // namespace

TEST(RatePageServerTest, OutOfDescriptorsItWaitsInsteadOfSpinning) {
    LogCapture log;
    ServedSite site(RatePageServer::Limits{});
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(site.port()));
    const FileDescriptor client(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    {
        const DescriptorsUsedUp usedUp;
        // Waits in the listener's queue: the site cannot accept it.
        ASSERT_EQ(connect(client.get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        const auto spentBefore = site.cpuTime();
        std::this_thread::sleep_for(1s);
        // Spinning on accept would take most of that second.
        EXPECT_LT(site.cpuTime() - spentBefore, 250ms);
    }
    // With descriptors free again, the waiting client is served.
    ASSERT_EQ(send(client.get(), kGet.data(), kGet.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(kGet.size()));
    pollfd readable{client.get(), POLLIN, 0};
    ASSERT_EQ(poll(&readable, 1, 5000), 1);
    char status[13] = {};
    EXPECT_EQ(recv(client.get(), status, 12, MSG_WAITALL), 12);
    EXPECT_STREQ(status, "HTTP/1.1 200");
    const std::vector<std::string> lines = log.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line.find("cannot accept connections: Too many open "
                                                 "files; waiting for one to close") !=
                                       std::string::npos;
                            }),
              1);
}
