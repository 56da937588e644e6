// SPDX-License-Identifier: MIT
// The wait that keeps windows alive while a blocking fetch runs.
#include "platform/AppKit/ResponsiveWait.h"
#include "platform/Foundation/NSURL.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TestApplication.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <chrono>

using namespace std::chrono_literals;

namespace {

class PaintCounter : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

class StalledSite : public testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        server_.routes().Get("/stalled", [this](const httplib::Request&, httplib::Response& res) {
            for (int i = 0; i < 500 && !server_.stopping(); ++i)
                std::this_thread::sleep_for(10ms);
            res.set_content("late", "text/plain");
        });
        server_.start();
        NSURLHandle::setTimeoutCeiling(1s);
        InstallResponsiveURLLoading();
    }
    void TearDown() override {
        NSURLHandle::setWaitHook({});
        NSURLHandle::setTimeoutCeiling(std::nullopt);
    }

    std::optional<std::string> loadStalledPage() {
        return NSURL::URLWithString(server_.url("/stalled"))
            ->URLHandleUsingCache(false)
            .resourceData();
    }

    LoopbackServer server_;
};

} // namespace

TEST_F(StalledSite, TheWindowKeepsPaintingWhileAFetchWaits) {
    PaintCounter window;
    window.resize(200, 100);
    window.show();
    QTimer repaint;
    QObject::connect(&repaint, &QTimer::timeout, &window, [&window] { window.update(); });
    repaint.start(20);
    QCoreApplication::processEvents();
    const int before = window.paints;

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(loadStalledPage()) << "the fetch still ends with its time-out";
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 900ms) << "the call blocks its caller until the fetch has ended";
    EXPECT_GE(window.paints - before, 10) << "about 50 repaints asked for in a second";
}

TEST_F(StalledSite, NoUserInputAndNoDeferredActionRunsDuringTheWait) {
    QPushButton button("Reload");
    button.resize(100, 40);
    button.show();
    QCoreApplication::processEvents();
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] { ++clicks; });
    bool deferredRan = false;
    bool ranDuringWait = false;
    QTimer::singleShot(100, [&] {
        const QPointF centre(50, 20);
        QCoreApplication::postEvent(
            &button, new QMouseEvent(QEvent::MouseButtonPress, centre, button.mapToGlobal(centre),
                                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(
            &button, new QMouseEvent(QEvent::MouseButtonRelease, centre, button.mapToGlobal(centre),
                                     Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        EXPECT_TRUE(IsWaitingWithoutBlockingWindows());
        RunAfterWaiting([&] {
            deferredRan = true;
            ranDuringWait = IsWaitingWithoutBlockingWindows();
        });
    });
    EXPECT_FALSE(loadStalledPage());
    EXPECT_FALSE(deferredRan) << "not from within the call";
    EXPECT_FALSE(IsWaitingWithoutBlockingWindows());
    for (int i = 0; i < 50 && !deferredRan; ++i) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_TRUE(deferredRan);
    EXPECT_FALSE(ranDuringWait);
    EXPECT_EQ(clicks, 0) << "a click given to the busy window never reaches it";
}
