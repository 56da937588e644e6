// corvanta-menu-screenshot FILE: opens the rate menu as the status item would, once its fetch
// has ended, and writes a picture of it to FILE (PNG). For the README's picture; run it through
// scripts/menu-screenshot, which gives it a display, settings and a rate site of its own.
#include "menu/RateMenu.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: corvanta-menu-screenshot FILE\n";
        return 2;
    }
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
