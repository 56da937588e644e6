// SPDX-License-Identifier: MIT
// corvanta-menu-screenshot FILE COUNTRIES: stores the menu as switched on with the Countries
// list COUNTRIES, opens the rate menu as the status item would, once its fetch has ended, and
// writes a picture of it to FILE (PNG). For the README's picture; run it through
// scripts/menu-screenshot, which gives it a display, settings and a rate site of its own.
#include "menu/RateMenu.h"
#include "platform/CoreFoundation/CoreFoundation.h"
#include "settings/CorvantaSettings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: corvanta-menu-screenshot FILE COUNTRIES\n";
        return 2;
    }
    CFRef<CFStringRef> countries(CFStringCreateWithUTF8(argv[2]));
    if (!countries) {
        std::cerr << "corvanta-menu-screenshot: COUNTRIES is not UTF-8\n";
        return 2;
    }
    CFPreferencesSetAppValue(CorvantaSettingsOnKey(), kCFBooleanTrue, CorvantaSettingsAppID());
    CFPreferencesSetAppValue(CorvantaSettingsCountriesKey(), countries.get(),
                             CorvantaSettingsAppID());
    if (!CFPreferencesAppSynchronize(CorvantaSettingsAppID())) return 1;
    QApplication application(argc, argv);
    RateMenu item;
    QElapsedTimer waited;
    waited.start();
    while (item.isLoading() && waited.elapsed() < 30'000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    QMenu& menu = item.menu();
    menu.popup(QPoint(8, 8));
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!menu.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::cerr << "corvanta-menu-screenshot: cannot write " << argv[1] << "\n";
        return 1;
    }
    menu.hide();
    return 0;
}
