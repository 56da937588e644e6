// SPDX-License-Identifier: MIT
// corvanta-menu [--print [--amount N] | --chart FILE] [--base CODE] [--help]
//
// The rate menu: a status-area item whose menu shows the currencies chosen in the Corvanta
// settings with their rates per the chosen base currency and how they moved since the previous
// day; with --print those texts on standard output, with --chart the chart window as a PNG.
#include "base/EnvironmentLimits.h"
#include "base/Identity.h"
#include "desktop/SingleInstance.h"
#include "desktop/TerminationSignals.h"
#include "menu/ChartPicture.h"
#include "menu/MenuTranslations.h"
#include "menu/PrintRates.h"
#include "menu/RateMenu.h"
#include "menu/RateMenuContent.h"
#include "platform/Foundation/NSLog.h"
#include "platform/Foundation/NSURLHandle.h"

#include <QApplication>
#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace {

const char* const kUsage =
    "usage: corvanta-menu [--print [--amount N] | --chart FILE] [--base CODE] [--help]\n"
    "\n"
    "Shows the Corvanta rate menu in the desktop's status area while it is switched on in the\n"
    "settings: the chosen currencies with their rates per the base currency chosen in its\n"
    "\"Rates per\" submenu (the US dollar at first) and their change since the previous day, or,\n"
    "when the selection or the clipboard holds an amount, that many units of the base in each of\n"
    "them; \"Chart...\" draws the last weeks. It follows the settings as soon as they are left,\n"
    "and ends on Quit, SIGINT or SIGTERM. One runs per user and session: a second start says so\n"
    "and exits.\n"
    "\n"
    "  --print       fetch the rates once, print the menu's texts and exit\n"
    "  --amount N    with --print: convert N units of the base, as a selected amount would\n"
    "  --chart FILE  fetch the rates once, draw the chart window into FILE (PNG), print one\n"
    "                line per chart and exit\n"
    "  --base CODE   with --print or --chart: the rates per CODE (an ISO code the rate site\n"
    "                offers) instead of the stored base\n"
    "  --help        show this text\n"
    "\n"
    "The rates come from the site in CORVANTA_RATE_SITE, else the build's default.\n"
    "Exits 2 on a wrong argument or a base the rate site does not offer.\n";

struct Options {
    bool print = false;
    std::optional<std::string> amount;
    std::optional<std::string> chart;
    std::optional<std::string> base;
};

int usageError(const std::string& message) {
    std::cerr << "corvanta-menu: " << message << "\n\n" << kUsage;
    return 2;
}

// A fetch still running when the menu goes is cut short; one that still has not ended after
// this is left to the process's end rather than waited for.
constexpr std::chrono::seconds kExitPatience(1);

} // namespace

int main(int argc, char** argv) {
    const MenuTranslations translations;
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
        } else if (argument == "--chart") {
            if (i + 1 >= argc) return usageError("--chart needs a file");
            options.chart = argv[++i];
        } else if (argument == "--base") {
            if (i + 1 >= argc) return usageError("--base needs a currency code");
            options.base = argv[++i];
        } else {
            return usageError("unknown argument \"" + argument + "\"");
        }
    }
    if (options.amount && !options.print) return usageError("--amount goes with --print");
    if (options.print && options.chart) return usageError("--print and --chart go alone");
    if (options.base && !options.print && !options.chart)
        return usageError("--base goes with --print or --chart");
    NSURLHandle::setTimeoutCeiling(SecondsInEnvironment("CORVANTA_FETCH_TIMEOUT"));
    if (options.print) return PrintRates({options.amount, options.base}, std::cout, std::cerr);
    if (options.chart) {
        qputenv("QT_QPA_PLATFORM", "offscreen"); // a picture, on no display
        QApplication application(argc, argv);
        return DrawChartPicture(*options.chart, options.base, std::cout, std::cerr);
    }

    QApplication application(argc, argv);
    // Qt gives the status item the application's name as its title, which panels show.
    QApplication::setApplicationName(QStringLiteral("Corvanta"));
    QApplication::setQuitOnLastWindowClosed(false);
    // One item per user and session (--print and --chart above run apart from it).
    SingleInstance instance(QStringLiteral(CORVANTA_MENU_BUS_NAME),
                            QStringLiteral(CORVANTA_MENU_OBJECT_PATH));
    if (instance.claim() == SingleInstance::Claim::AlreadyRunning) {
        NSLogLine("corvanta-menu: already running");
        return 0;
    }
    int status = 0;
    {
        RateMenu menu;
        TerminationSignals termination([] { QCoreApplication::quit(); });
        status = application.exec();
        NSURLHandle::cancelRunningLoads();
        if (!menu.fetcher().waitUntilIdle(kExitPatience)) {
            std::fflush(nullptr);
            _exit(status);
        }
    }
    return status;
}
