// SPDX-License-Identifier: MIT
// The message bar's "Try Again" and how it finds the pane's button to press.
#include "host/ActionButton.h"
#include "host/MessageBar.h"
#include "tests/support/TestApplication.h"

#include <gtest/gtest.h>

#include <QPushButton>

TEST(MessageBar, TryAgainPressesThePanesButtonThatSendsTheAction) {
    TestApplication();
    QWidget view;
    auto* apply = new QPushButton(&view);
    apply->setProperty("action", "applyButtonClicked:");
    auto* reload = new QPushButton(&view);
    reload->setProperty("action", "reloadButtonClicked:");
    int reloads = 0;
    QObject::connect(reload, &QPushButton::clicked, [&reloads] { ++reloads; });
    EXPECT_EQ(FindButtonSendingAction(view, "reloadButtonClicked:"), reload);
    EXPECT_EQ(FindButtonSendingAction(view, "reloadButton"), nullptr);

    MessageBar bar;
    EXPECT_EQ(bar.text(), "");
    bar.showMessage("could not be loaded", [reload] { reload->click(); });
    EXPECT_EQ(bar.text(), "could not be loaded");
    EXPECT_FALSE(bar.tryAgainButton()->isHidden());
    bar.tryAgainButton()->click();
    EXPECT_EQ(reloads, 0) << "not inside the click";
    QCoreApplication::processEvents();
    EXPECT_EQ(reloads, 1);

    // A message the user can do nothing about has no button, and an old retry is gone.
    bar.showMessage("could not be saved");
    EXPECT_TRUE(bar.tryAgainButton()->isHidden());
    bar.tryAgainButton()->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(reloads, 1);
    bar.clear();
    EXPECT_EQ(bar.text(), "");
}
