// SPDX-License-Identifier: MIT
// corvanta-rate-site [--port N] [--feed URL] [--help]
//
// The local rate site: serves /d/<CODE>/table.html on 127.0.0.1 in the markup the rate source
// reads, and /d/<CODE>/history.json, built from the ECB's euro reference rates of the last 90
// days. See RateKeeper for where the rates
// come from and RatePageServer for how requests are answered.
#include "base/EnvironmentLimits.h"
#include "base/Identity.h"
#include "base/UserLanguages.h"
#include "base/WholeNumber.h"
#include "base/XDGFolders.h"
#include "platform/Foundation/NSLog.h"
#include "rates/CurrencyNames.h"
#include "ratesite/Listener.h"
#include "ratesite/RateKeeper.h"
#include "ratesite/RatePageServer.h"
#include "ratesite/RefreshWorker.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <sys/signalfd.h>
#include <variant>

namespace {

constexpr const char* kDefaultFeed =
    "https://www.ecb.europa.eu/stats/eurofxref/eurofxref-hist-90d.xml";
constexpr std::chrono::seconds kIdleLimit{5 * 60}; // when started by socket activation
constexpr std::chrono::seconds kCheckEvery{60};

// The usage text, with the build's socket in it.
std::string usage() {
    return "usage: corvanta-rate-site [--port N] [--feed URL] [--help]\n"
           "Serves the rate pages /d/CODE/table.html (/d/USD/ for the settings) and their\n"
           "histories /d/CODE/history.json, built from the European Central Bank's euro\n"
           "reference rates of the last 90 days, on the user's own socket\n"
           "$XDG_RUNTIME_DIR/" CORVANTA_RATE_SITE_SOCKET ", and prints the site's address first.\n"
           "  --port N    listen on 127.0.0.1:N instead (0: any free port)\n"
           "  --feed URL  fetch the reference rates from URL (http or https; a daily or a\n"
           "              history document; default the ECB's 90-day history)\n"
           "  --help      print this and exit\n"
           "Started by systemd socket activation, it serves the socket it is given and\n"
           "exits after five minutes without a request. The last good feed is kept in\n"
           "$XDG_CACHE_HOME/corvanta; without it and without the feed, a bundled\n"
           "snapshot of the rates is served.\n";
}

struct Options {
    std::optional<int> port; // TCP on loopback; else the user's socket
    std::string feed = kDefaultFeed;
};

// Options, or an exit code: 0 after --help, 2 after a usage error.
std::variant<Options, int> parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help") {
            std::fputs(usage().c_str(), stdout);
            return 0;
        }
        const bool hasValue = i + 1 < argc;
        if (argument == "--port" && hasValue) {
            const std::optional<long> port = WholeNumber(argv[++i]);
            if (!port || *port < 0 || *port > 65535) {
                std::fprintf(stderr, "corvanta-rate-site: not a port: %s\n", argv[i]);
                return 2;
            }
            options.port = static_cast<int>(*port);
        } else if (argument == "--feed" && hasValue) {
            options.feed = argv[++i];
            if (!options.feed.starts_with("http://") && !options.feed.starts_with("https://")) {
                std::fprintf(stderr, "corvanta-rate-site: not an http or https address: %s\n",
                             argv[i]);
                return 2;
            }
        } else {
            std::fputs(usage().c_str(), stderr);
            return 2;
        }
    }
    return options;
}

// The user's own socket in the runtime folder, where the pane and the menu look by default.
std::optional<UserSocketListener> listenOnUserSocket(std::string& error) {
    const std::optional<std::string> runtime = XDGRuntimeDir();
    if (!runtime) {
        error = "XDG_RUNTIME_DIR is not set, so there is no folder of the user's own for the "
                "site's socket; give --port N to listen on 127.0.0.1 instead";
        return std::nullopt;
    }
    return UserSocketListener::listen(*runtime + "/" CORVANTA_RATE_SITE_SOCKET, error);
}

std::atomic<bool> stopRequested{false};

void stopEarly(int) {
    stopRequested = true;
}

} // namespace

int main(int argc, char** argv) {
    const auto parsed = parseOptions(argc, argv);
    if (const int* exitCode = std::get_if<int>(&parsed)) return *exitCode;
    const Options& options = std::get<Options>(parsed);

    std::signal(SIGPIPE, SIG_IGN);
    // Until the site serves, a stop request only cuts the first fetch short.
    struct sigaction early {};
    early.sa_handler = stopEarly;
    early.sa_flags = SA_RESTART;
    sigaction(SIGINT, &early, nullptr);
    sigaction(SIGTERM, &early, nullptr);

    std::string error;
    std::optional<FileDescriptor> socket = ActivatedSocket(error);
    const bool activated = socket.has_value();
    if (!error.empty()) NSLog("corvanta-rate-site: %s", error.c_str());
    error.clear();
    if (!socket && options.port) socket = ListenOnLoopback(*options.port, error);
    const std::optional<UserSocketListener> userSocket =
        socket || options.port ? std::nullopt : listenOnUserSocket(error);
    if (!socket && !userSocket) {
        std::fprintf(stderr, "corvanta-rate-site: %s\n", error.c_str());
        return 1;
    }
    const int listener = socket ? socket->get() : userSocket->fd();

    const CurrencyNames names(UserLocaleName());
    RatePageStore store;
    // Hidden settings for tests, which may only shorten these spans.
    const auto retry =
        ShortenedByEnvironment("CORVANTA_RATE_SITE_RETRY_SECONDS", std::chrono::minutes(15));
    RateKeeper keeper({options.feed, XDGCacheHome() + "/corvanta",
                       std::chrono::duration_cast<std::chrono::seconds>(retry),
                       SecondsInEnvironment("CORVANTA_FETCH_TIMEOUT")},
                      names, store);
    keeper.loadKept();
    // Socket activation means a client is already waiting, on a time-out of its own: it gets
    // the kept rates at once, and the feed is asked in the background. Started by hand, the
    // site first tries for today's rates, so that what it prints is served fresh.
    if (!activated) keeper.refreshIfDue(RateKeeper::Clock::now(), stopRequested);

    // From here SIGINT and SIGTERM arrive on a descriptor the server watches. They are blocked
    // before the refresh thread starts, so that it leaves them to the server too.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    if (stopRequested) return 0;
    const FileDescriptor stop(signalfd(-1, &stopSignals, SFD_CLOEXEC | SFD_NONBLOCK));
    if (!stop) {
        std::fprintf(stderr, "corvanta-rate-site: cannot watch for signals\n");
        return 1;
    }
    NSLog("corvanta-rate-site: serving %s", keeper.describe().c_str());

    std::printf("%s\n", AddressOf(listener).c_str());
    std::fflush(stdout);

    const RefreshWorker worker(keeper, std::min(retry, std::chrono::milliseconds(kCheckEvery)),
                               activated ? RefreshWorker::FirstCheck::AtOnce
                                         : RefreshWorker::FirstCheck::AfterInterval);
    RatePageServer server(listener, store);
    std::optional<std::chrono::milliseconds> idle;
    if (activated) idle = ShortenedByEnvironment("CORVANTA_RATE_SITE_IDLE_SECONDS", kIdleLimit);
    server.run(stop.get(), idle);
    return 0;
}
