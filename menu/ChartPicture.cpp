// SPDX-License-Identifier: MIT
#include "menu/ChartPicture.h"

#include "base/UserLanguages.h"
#include "menu/PrintRates.h"
#include "menu/RateChartWindow.h"
#include "menu/RateMenuContent.h"
#include "menu/RatesFetch.h"
#include "platform/CoreFoundation/CFPreferences.h"
#include "settings/CorvantaSettings.h"

#include <QApplication>
#include <QPixmap>

int DrawChartPicture(const std::string& file, const std::optional<std::string>& base,
                     std::ostream& out, std::ostream& errors) {
    CFPreferencesAppSynchronize(CorvantaSettingsAppID());
    const FetchedRates fetched =
        base ? FetchRatesFor(*base, BaseFallback::None)
             : FetchRatesFor(CorvantaSettingsReadBase(), BaseFallback::ToDollar);
    if (!fetched.askedBaseOffered && base) {
        errors << NoSuchBaseMessage(*base) << '\n';
        return 2;
    }
    const CurrencyWords words(UserLocaleName());
    const std::vector<std::string> chosen =
        ChosenCurrencies(CorvantaSettingsReadCountries().value_or(""));
    const RateChartData data =
        fetched.history ? ChartDataFor(chosen, *fetched.history) : RateChartData{};

    RateChartWindow window;
    window.setData(data, QString::fromStdString(ChartTitle(fetched.base, words)),
                   QString::fromStdString(ChartEmptyText(fetched.history != nullptr)));
    window.show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    const bool saved = window.grab().save(QString::fromStdString(file), "PNG");
    for (const RateChartSeries& series : data.series)
        out << ChartSummaryLine(series, data.days) << '\n';
    if (data.series.empty()) out << ChartEmptyText(fetched.history != nullptr) << '\n';
    if (!saved) {
        errors << "corvanta-menu: " << file << ": the picture could not be written\n";
        return 1;
    }
    return out ? 0 : 1;
}
