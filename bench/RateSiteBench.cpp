// The rate site's two costs: building the page from parsed reference rates (once per new feed)
// and answering one page request over loopback (connect, request, whole answer, close). The
// request's p50 and p99 over its iterations are counters, in microseconds; a request should
// take well under a millisecond. Reading the feed and the collation alone are the baselines.
#include "ratesite/Listener.h"
#include "ratesite/RateKeeper.h"
#include "ratesite/RatePageBuilder.h"
#include "ratesite/RatePageServer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
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

void BM_ReadFeed(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadReferenceRates(BundledSnapshot()));
}
BENCHMARK(BM_ReadFeed);

void BM_BuildPage(benchmark::State& state) {
    const CurrencyNames names("en");
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildRatePage(snapshotRates(), false, names));
}
BENCHMARK(BM_BuildPage);

// The names alone: ICU's look-ups, which the page building cannot avoid.
void BM_CurrencyNames(benchmark::State& state) {
    const CurrencyNames names("en");
    for (auto _ : state)
        for (const ReferenceRate& rate : snapshotRates().rates)
            benchmark::DoNotOptimize(names.nameOf(rate.code));
}
BENCHMARK(BM_CurrencyNames);

// One GET over loopback until the site closes; the page bytes it read.
size_t requestPage(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    size_t total = 0;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        static const std::string request =
            "GET /d/USD/table.html HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        char chunk[16384];
        for (ssize_t got; (got = recv(fd, chunk, sizeof chunk, 0)) > 0;)
            total += static_cast<size_t>(got);
    }
    close(fd);
    return total;
}

void BM_PageRequest(benchmark::State& state) {
    std::string error;
    std::optional<FileDescriptor> listener = ListenOnLoopback(0, error);
    const std::string site = AddressOf(listener->get());
    const int port = std::stoi(site.substr(site.rfind(':') + 1));
    RatePageStore store;
    const std::string page = BuildRatePage(snapshotRates(), false, CurrencyNames("en"));
    store.publish(
        std::make_shared<const PreparedResponse>(PreparePageResponse(page, "2026-10-02")));
    const FileDescriptor stop(eventfd(0, EFD_CLOEXEC));
    std::thread serving([&] { RatePageServer(listener->get(), store).run(stop.get(), {}); });

    std::vector<double> micros;
    micros.reserve(static_cast<size_t>(state.max_iterations));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (requestPage(port) < page.size()) state.SkipWithError("short answer");
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    const uint64_t one = 1;
    (void)!write(stop.get(), &one, sizeof one);
    serving.join();

    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
        state.counters["p50_us"] = micros[micros.size() / 2];
        state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
    }
}
BENCHMARK(BM_PageRequest)->Iterations(1000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
