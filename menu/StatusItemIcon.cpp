// SPDX-License-Identifier: MIT
#include "menu/StatusItemIcon.h"

#include "base/Identity.h"

// The built-in icon is a resource of this static library: it must be pulled in by name.
static void initialiseMenuResources() {
    Q_INIT_RESOURCE(RateMenuResources);
}

QIcon StatusItemIcon() {
    initialiseMenuResources();
    const QIcon drawn = QIcon::fromTheme(QStringLiteral(CORVANTA_APPLICATION_ID),
                                         QIcon(QStringLiteral(":/corvanta/corvanta.svg")));
    QIcon square;
    // The sizes panels ask for, up to a large HiDPI tray.
    for (const int side : {16, 22, 24, 32, 48, 64, 128})
        square.addPixmap(drawn.pixmap(QSize(side, side)));
    return square;
}
