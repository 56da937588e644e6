// SPDX-License-Identifier: MIT
// The one QApplication of a test program, made on first use. Tests never open a real display:
// Qt always draws off screen here.
#pragma once

#include <QApplication>
#include <cstdlib>

inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "corvanta-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new QApplication(argc, argv);
    }();
    return *application;
}
