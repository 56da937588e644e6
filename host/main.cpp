// SPDX-License-Identifier: MIT
// corvanta-prefs [--screenshot FILE] [BUNDLE]
//
// The settings host: loads a pane bundle, shows its view in a window and drives its life cycle
// (mainViewDidLoad, willSelect, and didUnselect when the window is closed or the program is
// told to stop). With --screenshot it does the same off screen, writes the pane as a PNG,
// prints what the pane shows and leaves it.
#include "base/EnvironmentLimits.h"
#include "base/EscapedText.h"
#include "base/Identity.h"
#include "desktop/SingleInstance.h"
#include "desktop/TerminationSignals.h"
#include "desktop/Translations.h"
#include "host/CloseDuringWaits.h"
#include "host/FailureNotices.h"
#include "host/PaneBundle.h"
#include "host/PaneReport.h"
#include "host/PaneWindow.h"
#include "platform/Foundation/NSURLHandle.h"

#include <QApplication>
#include <cstdlib>
#include <iostream>

namespace {

struct Options {
    std::optional<std::string> screenshot;
    std::optional<std::string> bundle;
};

const char* const kUsage =
    "usage: corvanta-prefs [--screenshot FILE] [BUNDLE]\n"
    "\n"
    "Shows a settings pane in a window: by default the Corvanta pane, looked for in\n"
    "CORVANTA_PANE_PATH, then under " CORVANTA_PANE_FOLDER " in the user's and the system's data\n"
    "folders, then beside this program (its prefix's share/" CORVANTA_PANE_FOLDER ", or the build\n"
    "folder).\n"
    "Closing the window, or SIGINT or SIGTERM, leaves the pane (a fetch it waits for is cut\n"
    "short). While a settings window is open, another start brings it to the front and exits.\n"
    "  --screenshot FILE  show the pane off screen, write it to FILE as a PNG, print what it\n"
    "                     shows, leave it and exit\n"
    "Exits 1 when the pane cannot be loaded.\n";

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help") {
            std::cout << kUsage;
            std::exit(0);
        }
        if (argument == "--screenshot" && i + 1 < argc)
            options.screenshot = argv[++i];
        else if (argument.starts_with("-") || options.bundle)
            return std::nullopt;
        else
            options.bundle = argument;
    }
    return options;
}

bool haveDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* value = std::getenv(name); value && *value) return true;
    return false;
}

// How long a second start waits for the open window to say it came forward.
constexpr std::chrono::milliseconds kActivatePatience(1500);

int fail(const std::string& message) {
    std::cerr << "corvanta-prefs: " << message << "\n";
    return 1;
}

// Shows the pane as it would be on screen, saves it and says what it shows.
int takeScreenshot(PaneWindow& window, const QWidget& view, const std::string& file) {
    window.show();
    QCoreApplication::processEvents();
    const bool saved = window.grab().save(QString::fromStdString(file), "PNG");
    std::cout << DescribePane(view);
    window.unselect();
    // Last, so that it also tells of a failure while the pane was being left.
    if (const QString message = window.message(); !message.isEmpty())
        std::cout << "Message: " << QuotedText(message.toStdString()) << "\n";
    if (!saved) return fail(file + ": the picture could not be written");
    std::cout << "Screenshot: " << file << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::cerr << kUsage;
        return 2;
    }
    if (options->screenshot)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    else if (!haveDisplay())
        return fail("no display to show the pane on; use --screenshot FILE");

    PrepareCloseDuringWaits();
    QApplication application(argc, argv);
    const Translations translations("host"); // the window's texts and Qt's standard ones

    // One settings window per user and session; a picture is drawn apart from it.
    SingleInstance instance(QStringLiteral(CORVANTA_PREFS_BUS_NAME),
                            QStringLiteral(CORVANTA_PREFS_OBJECT_PATH));
    if (!options->screenshot && instance.claim() == SingleInstance::Claim::AlreadyRunning) {
        if (instance.activateRunning(kActivatePatience)) return 0;
        return fail("a settings window is open already but does not answer");
    }

    const std::optional<std::string> path = FindPaneBundle(options->bundle);
    if (!path) return fail("no Corvanta.prefPane found; give the bundle's path");
    std::string error;
    std::optional<LoadedPane> loaded = LoadPaneBundle(*path, error);
    if (!loaded) return fail(error);
    NSPreferencePane& pane = *loaded->pane;
    QWidget& view = *pane.mainView();

    PaneWindow window(pane, QString::fromStdString(loaded->name));
    instance.setActivationHandler(
        [&window](const QVariantMap& platformData) { window.bringToFront(platformData); });
    // The pane ignores what its synchronisations give back and only logs a failed fetch; the
    // user still learns of both.
    FailureNotices notices(window);
    // The pane's fetches wait with the window still painting and answering the desktop, and
    // a close request cuts them short.
    InstallCloseDuringWaits();
    NSURLHandle::setTimeoutCeiling(SecondsInEnvironment("CORVANTA_FETCH_TIMEOUT"));
    // From here on a stop request leaves the pane properly; it is acted on by the event loop.
    TerminationSignals stopRequests([&window] { window.close(); });
    pane.mainViewDidLoad();
    window.show(); // at once, busy until willSelect (which fetches the rate page) returns
    window.select();
    const int status = options->screenshot ? takeScreenshot(window, view, *options->screenshot)
                                           : application.exec();
    return status;
}
