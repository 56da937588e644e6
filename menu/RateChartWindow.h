// SPDX-License-Identifier: MIT
// The chart window: one small chart per chosen currency ("small multiples"), each with its own
// vertical scale and all on one date axis (the dates under the last chart only), titled with
// the currency's name and newest rate, the line open over days without a rate. Hovering a
// chart shows the day and that day's rate.
#pragma once

#include "menu/RateChartData.h"

#include <QWidget>

class QLabel;
class QVBoxLayout;

class RateChartWindow : public QWidget {
public:
    RateChartWindow();

    // Draws `data` under the window title `title`, in place of what it showed; `emptyText`
    // stands alone when there is nothing to draw.
    void setData(const RateChartData& data, const QString& title, const QString& emptyText);
    int chartCount() const;

private:
    QVBoxLayout* charts_;
    QLabel* empty_;
};
