// corvanta-menu [--print [--amount N]] [--help]
//
// The rate menu: a status-area item whose menu shows the currencies chosen in the Corvanta
// settings with their rates per US dollar, or, with --print, those texts on standard output.
#include "base/EnvironmentLimits.h"
#include "desktop/TerminationSignals.h"
#include "menu/PrintRates.h"
#include "menu/RateMenu.h"
#include "menu/RateMenuContent.h"
#include "platform/Foundation/NSURLHandle.h"

#include <QApplication>
#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace {

const char* const kUsage =
    "usage: corvanta-menu [--print [--amount N]] [--help]\n"
    "\n"
    "Shows the Corvanta rate menu in the desktop's status area while it is switched on in the\n"
    "settings: the chosen currencies with their rates per US dollar, or, when the selection\n"
    "or the clipboard holds an amount, that many US dollars in each of them. It follows the\n"
    "settings as soon as they are left, and ends on Quit, SIGINT or SIGTERM.\n"
    "\n"
    "  --print      fetch the rates once, print the menu's texts and exit\n"
    "  --amount N   with --print: convert N US dollars, as a selected amount would\n"
    "  --help       show this text\n"
    "\n"
    "The rates come from the site in CORVANTA_RATE_SITE, else the build's default.\n"
    "Exits 2 on a wrong argument.\n";

struct Options {
    bool print = false;
    std::optional<std::string> amount;
};

int usageError(const std::string& message) {
    std::cerr << "corvanta-menu: " << message << "\n\n" << kUsage;
    return 2;
}

// A fetch cannot be cancelled; one that is still running after the menu has gone is left to
// the process's end rather than waited for.
constexpr std::chrono::seconds kExitPatience(1);

} // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help") {
            std::cout << kUsage;
            return 0;
        }
        if (argument == "--print") {
            options.print = true;
        } else if (argument == "--amount") {
            if (i + 1 >= argc) return usageError("--amount needs a number");
            options.amount = AmountIn(argv[++i]);
            if (!options.amount) return usageError(std::string("not an amount: ") + argv[i]);
        } else {
            return usageError("unknown argument \"" + argument + "\"");
        }
    }
    if (options.amount && !options.print) return usageError("--amount goes with --print");
    NSURLHandle::setTimeoutCeiling(SecondsInEnvironment("CORVANTA_FETCH_TIMEOUT"));
    if (options.print) return PrintRates(options.amount, std::cout);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvanta-menu"));
    QApplication::setQuitOnLastWindowClosed(false);
    int status = 0;
    {
        RateMenu menu;
        TerminationSignals termination([] { QCoreApplication::quit(); });
        status = application.exec();
        if (!menu.fetcher().waitUntilIdle(kExitPatience)) {
            std::fflush(nullptr);
            _exit(status);
        }
    }
    return status;
}
