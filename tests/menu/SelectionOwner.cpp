// SPDX-License-Identifier: MIT
// selection-owner TEXT: holds TEXT as the X primary selection, as a user who has just selected
// an amount does, and says "ready" once it owns it. Runs until it is killed.
#include <QClipboard>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    QGuiApplication application(argc, argv);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection()) return 1;
    clipboard->setText(QString::fromLocal8Bit(argv[1]), QClipboard::Selection);
    std::puts("ready");
    std::fflush(stdout);
    return application.exec();
}
