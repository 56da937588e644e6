// SPDX-License-Identifier: MIT
// The status item's icon in a tray cell that is not square: drawn whole and round, from the
// icon theme's scalable icon as from the built-in one.
#include "menu/StatusItemIcon.h"

#include "base/Identity.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TestApplication.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The bounds of what `icon` paints into a transparent cell of `cell`'s size, as a tray does.
QRect PaintedBounds(const QIcon& icon, QSize cell) {
    QImage image(cell, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        icon.paint(&painter, QRect(QPoint(0, 0), cell));
    }
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// An icon theme with Corvanta's scalable icon in it, as the package installs it.
void InstallTheme(const fs::path& folder) {
    fs::create_directories(folder / "hicolor/scalable/apps");
    std::ofstream(folder / "hicolor/index.theme")
        << "[Icon Theme]\nName=hicolor\nDirectories=scalable/apps\n\n"
           "[scalable/apps]\nSize=64\nMinSize=8\nMaxSize=512\nType=Scalable\n";
    fs::copy_file(CORVANTA_ICON_SVG,
                  folder / "hicolor/scalable/apps" / (CORVANTA_APPLICATION_ID ".svg"));
}

} // namespace

TEST(StatusItemIcon, IsDrawnRoundInACellOfAnyShape) {
    TestApplication();
    TemporaryFolder themes;
    InstallTheme(themes.path());
    for (const bool themed : {false, true}) {
        QIcon::setThemeSearchPaths(themed ? QStringList{QString::fromStdString(themes.path())}
                                          : QStringList{});
        QIcon::setThemeName(QStringLiteral("hicolor"));
        ASSERT_EQ(QIcon::hasThemeIcon(QStringLiteral(CORVANTA_APPLICATION_ID)), themed);
        const QIcon icon = StatusItemIcon();
        for (const QSize cell : {QSize(22, 26), QSize(26, 22), QSize(24, 24), QSize(16, 40)}) {
            const QRect bounds = PaintedBounds(icon, cell);
            const int side = std::min(cell.width(), cell.height());
            EXPECT_NEAR(bounds.width(), side, 2)
                << themed << " " << cell.width() << "x" << cell.height();
            EXPECT_NEAR(bounds.height(), side, 2)
                << themed << " " << cell.width() << "x" << cell.height();
        }
    }
}
