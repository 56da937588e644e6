// SPDX-License-Identifier: MIT
// The rate site's costs: reading a feed (the 90-day history against the daily document),
// building one base's page and history from parsed reference rates (every base once per new
// feed), and answering one request over loopback (connect, request, whole answer, close). The
// request's p50 and p99 over its iterations are counters, in microseconds; a request should
// take well under a millisecond. Reading the daily feed and the collation alone are baselines.
// The same request beside one client that floods the site (a whole request, then bytes
// without end, connecting again whenever it is dropped) against it with no such client:
// p50_vs_quiet is the ratio of their medians.
#include "ratesite/HistoryDocument.h"
#include "ratesite/Listener.h"
#include "ratesite/RateKeeper.h"
#include "ratesite/RatePageBuilder.h"
#include "ratesite/RatePageServer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <fstream>
#include <netinet/in.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

const ReferenceRates& snapshotRates() {
    static const ReferenceRates rates = *ReadReferenceRates(BundledSnapshot()).rates;
    return rates;
}

// The ECB's 90-day history of 2020-12-10: 64 days, 32 currencies.
const std::string& historyDocument() {
    static const std::string document = [] {
        std::ifstream in(CORVANTA_FIXTURES "/feeds/eurofxref-hist-90d-2020-12-10.xml");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    return document;
}

const ReferenceRates& historyRates() {
    static const ReferenceRates rates = *ReadReferenceRates(historyDocument()).rates;
    return rates;
}

const std::vector<SiteCurrency>& historyCurrencies() {
    static const std::vector<SiteCurrency> offered =
        OfferedCurrencies(historyRates(), CurrencyNames("en"));
    return offered;
}

void BM_ReadFeed(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadReferenceRates(BundledSnapshot()));
}
BENCHMARK(BM_ReadFeed);

void BM_ReadHistoryFeed(benchmark::State& state) {
    if (historyRates().days.size() != 64) state.SkipWithError("the history did not read");
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadReferenceRates(historyDocument()));
}
BENCHMARK(BM_ReadHistoryFeed);

void BM_BuildPage(benchmark::State& state) {
    const CurrencyNames names("en");
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildRatePage(snapshotRates(), "USD", false, names));
}
BENCHMARK(BM_BuildPage);

// One base's answers from the held history, as the site makes them for every base.
void BM_BuildHistoryBasePage(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildRatePage(historyRates(), historyCurrencies(), "JPY", false));
}
BENCHMARK(BM_BuildHistoryBasePage);

void BM_BuildHistoryDocument(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildHistoryDocument(historyRates(), historyCurrencies(), "JPY"));
}
BENCHMARK(BM_BuildHistoryDocument);

// Every answer of one held history: what a new document costs once.
void BM_BuildEveryAnswer(benchmark::State& state) {
    const CurrencyNames names("en");
    for (auto _ : state)
        benchmark::DoNotOptimize(RateSitePages(historyRates(), false, names));
}
BENCHMARK(BM_BuildEveryAnswer);

// The names alone: ICU's look-ups, which the page building cannot avoid.
void BM_CurrencyNames(benchmark::State& state) {
    const CurrencyNames names("en");
    for (auto _ : state)
        for (const ReferenceRate& rate : snapshotRates().rates)
            benchmark::DoNotOptimize(names.nameOf(rate.code));
}
BENCHMARK(BM_CurrencyNames);

// One GET of `path` over loopback until the site closes; the bytes it read.
size_t requestPage(int port, const std::string& path) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    size_t total = 0;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        char chunk[16384];
        for (ssize_t got; (got = recv(fd, chunk, sizeof chunk, 0)) > 0;)
            total += static_cast<size_t>(got);
    }
    close(fd);
    return total;
}

// The site serving every base's answers of the history from a thread of its own, on a free
// loopback port, until it goes.
class ServedSite {
public:
    ServedSite() {
        std::string error;
        listener_ = ListenOnLoopback(0, error);
        const std::string site = AddressOf(listener_->get());
        port_ = std::stoi(site.substr(site.rfind(':') + 1));
        store_.publish(
            std::make_shared<const RateSitePages>(historyRates(), false, CurrencyNames("en")));
        serving_ =
            std::thread([this] { RatePageServer(listener_->get(), store_).run(stop_.get(), {}); });
    }
    ~ServedSite() {
        const uint64_t one = 1;
        (void)!write(stop_.get(), &one, sizeof one);
        serving_.join();
    }
    int port() const { return port_; }
    size_t bytesOf(const std::string& path) { return store_.current()->find(path)->bytes.size(); }

private:
    std::optional<FileDescriptor> listener_;
    int port_ = 0;
    RatePageStore store_;
    const FileDescriptor stop_{eventfd(0, EFD_CLOEXEC)};
    std::thread serving_;
};

// Each iteration one request for `path`; the times in microseconds, sorted, with the p50 and
// p99 counters set.
std::vector<double> TimedRequests(benchmark::State& state, ServedSite& site,
                                  const std::string& path) {
    const size_t expected = site.bytesOf(path);
    std::vector<double> micros;
    micros.reserve(static_cast<size_t>(state.max_iterations));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (requestPage(site.port(), path) < expected) state.SkipWithError("short answer");
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
        state.counters["p50_us"] = micros[micros.size() / 2];
        state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
    }
    return micros;
}

// Requests for the JPY page or history (state.range(0): 0 or 1), every base's answers held.
void BM_PageRequest(benchmark::State& state) {
    ServedSite site;
    TimedRequests(state, site, state.range(0) ? "/d/JPY/history.json" : "/d/JPY/table.html");
}
BENCHMARK(BM_PageRequest)->Arg(0)->Arg(1)->Iterations(1000)->Unit(benchmark::kMicrosecond);

// A client that sends a whole request and then bytes without pause, connecting again each
// time the site drops it, until it goes.
class Flooder {
public:
    explicit Flooder(int port) : thread_([this, port] { flood(port); }) {}
    ~Flooder() {
        stop_ = true;
        thread_.join();
    }

private:
    void flood(int port) {
        const std::string request = "GET /d/JPY/table.html HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        const std::string filler(256 * 1024, 'x');
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(port));
        while (!stop_) {
            const FileDescriptor fd(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
            // Blocking sends keep the site's side full; the time-out only lets it see stop_.
            const timeval patience{0, 50 * 1000};
            setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
            bool open =
                connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                send(fd.get(), request.data(), request.size(), MSG_NOSIGNAL) >= 0;
            while (open && !stop_)
                open = send(fd.get(), filler.data(), filler.size(), MSG_NOSIGNAL) >= 0 ||
                       errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        }
    }

    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The table page's requests with no other client (state.range(0) 0) and beside a flooder (1).
void BM_PageRequestBesideFlood(benchmark::State& state) {
    static double quietMedian = 0;
    ServedSite site;
    std::optional<Flooder> flooder;
    if (state.range(0)) {
        flooder.emplace(site.port());
        std::this_thread::sleep_for(std::chrono::milliseconds(200)); // flooding by now
    }
    const std::vector<double> micros = TimedRequests(state, site, "/d/JPY/table.html");
    flooder.reset();
    if (micros.empty()) return;
    const double median = micros[micros.size() / 2];
    state.counters["max_us"] = micros.back();
    if (!state.range(0))
        quietMedian = median;
    else if (quietMedian > 0)
        state.counters["p50_vs_quiet"] = median / quietMedian;
}
BENCHMARK(BM_PageRequestBesideFlood)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(500)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
