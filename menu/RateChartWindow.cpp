// SPDX-License-Identifier: MIT
#include "menu/RateChartWindow.h"

#include "menu/MenuLanguage.h"

#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace {

// Each day at local noon: the date axis labels in local time, and noon keeps every point on its
// own day whatever the time zone or a change of summer time does.
QDateTime noonOf(const std::string& day) {
    return QDateTime(QDate::fromString(QString::fromStdString(day), Qt::ISODate), QTime(12, 0));
}

// One currency's chart. Its plot area has fixed margins, so that the charts' date axes line up
// whatever width each one's rate labels take.
class CurrencyChartView : public QChartView {
public:
    CurrencyChartView(const RateChartSeries& series, const std::vector<std::string>& days,
                      bool showDates, const QColor& colour)
        : QChartView(new QChart), series_(series), days_(days), showDates_(showDates) {
        QChart* chart = this->chart();
        chart->legend()->hide();
        chart->setMargins({0, 0, 0, 0});
        chart->setBackgroundRoundness(0);
        // The title is rich text: the name is escaped, the gap kept.
        QString title = QString::fromStdString(series.name).toHtmlEscaped();
        if (series.newest) title += "&nbsp;&nbsp;" + QString::fromStdString(*series.newest);
        chart->setTitle(title);

        auto* dates = new QDateTimeAxis;
        dates->setRange(noonOf(days.front()), noonOf(days.back()));
        dates->setFormat(QStringLiteral("d MMM"));
        dates->setTickCount(std::clamp(static_cast<int>(days.size()), 2, 8));
        dates->setLabelsVisible(showDates);
        auto* values = new QValueAxis;
        values->setTickCount(3);
        values->setLabelFormat(QStringLiteral("%.5g"));
        chart->addAxis(dates, Qt::AlignBottom);
        chart->addAxis(values, Qt::AlignLeft);

        double lowest = 0, highest = 0;
        bool any = false;
        QLineSeries* segment = nullptr;
        for (std::size_t i = 0; i < series.rates.size() && i < days.size(); ++i) {
            if (!series.rates[i]) {
                segment = nullptr; // a gap: the next rate starts a new stretch of line
                continue;
            }
            const double rate = *series.rates[i];
            lowest = any ? std::min(lowest, rate) : rate;
            highest = any ? std::max(highest, rate) : rate;
            any = true;
            if (!segment) {
                segment = new QLineSeries;
                segment->setColor(colour);
                chart->addSeries(segment);
                segment->attachAxis(dates);
                segment->attachAxis(values);
                segments_.push_back(segment);
            }
            segment->append(static_cast<qreal>(noonOf(days[i]).toMSecsSinceEpoch()), rate);
        }
        for (QLineSeries* stretch : segments_)
            if (stretch->count() == 1) { // a day alone would draw no line: a dot then
                stretch->setPointsVisible(true);
                stretch->setMarkerSize(5);
            }
        const double pad =
            any && highest > lowest ? (highest - lowest) * 0.08 : highest * 0.01 + 1e-9;
        values->setRange(lowest - pad, highest + pad);
        setRenderHint(QPainter::Antialiasing);
        setMouseTracking(true);
        viewport()->setMouseTracking(true);
        setMinimumHeight(showDates ? 130 : 110);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QChartView::resizeEvent(event);
        constexpr qreal kLeft = 64, kRight = 16, kTop = 28;
        const qreal bottom = showDates_ ? 28 : 8;
        const QSizeF size = chart()->size();
        chart()->setPlotArea(
            QRectF(kLeft, kTop, size.width() - kLeft - kRight, size.height() - kTop - bottom));
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        QChartView::mouseMoveEvent(event);
        const QPointF inChart = chart()->mapFromScene(mapToScene(event->position().toPoint()));
        if (segments_.empty() || !chart()->plotArea().contains(inChart)) {
            QToolTip::hideText();
            return;
        }
        const double at = chart()->mapToValue(inChart, segments_.front()).x();
        const QDate hovered = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(at)).date();
        // The day under the pointer, or the latest earlier one the history holds (weekends
        // have no rates).
        std::optional<std::size_t> shown;
        for (std::size_t i = 0; i < days_.size(); ++i)
            if (noonOf(days_[i]).date() <= hovered) shown = i;
        if (!shown) {
            QToolTip::hideText();
            return;
        }
        const std::optional<double>& rate = series_.rates[*shown];
        QToolTip::showText(event->globalPosition().toPoint(),
                           QString::fromStdString(MenuText(
                               "%1: %2", days_[*shown],
                               rate ? WithDecimalPoint(ChartRateText(*rate), MenuNumberForm())
                                    : MenuText("no rate"))),
                           this);
    }

private:
    RateChartSeries series_;
    std::vector<std::string> days_;
    bool showDates_;
    std::vector<QLineSeries*> segments_;
};

} // namespace

RateChartWindow::RateChartWindow() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    empty_ = new QLabel;
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setTextFormat(Qt::PlainText);
    layout->addWidget(empty_);
    charts_ = new QVBoxLayout;
    charts_->setSpacing(0);
    layout->addLayout(charts_);
    resize(640, 600);
}

void RateChartWindow::setData(const RateChartData& data, const QString& title,
                              const QString& emptyText) {
    setWindowTitle(title);
    while (QLayoutItem* item = charts_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const bool nothing = data.series.empty() || data.days.empty();
    empty_->setText(emptyText);
    empty_->setVisible(nothing);
    if (nothing) return;
    static const QColor kColours[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28),
                                      QColor(0x2c, 0xa0, 0x2c), QColor(0x94, 0x67, 0xbd),
                                      QColor(0xff, 0x7f, 0x0e), QColor(0x8c, 0x56, 0x4b)};
    for (std::size_t i = 0; i < data.series.size(); ++i) {
        const bool last = i + 1 == data.series.size();
        auto* view = new CurrencyChartView(data.series[i], data.days, last,
                                           kColours[i % std::size(kColours)]);
        charts_->addWidget(view, last ? 13 : 11);
    }
}

int RateChartWindow::chartCount() const {
    return charts_->count();
}
