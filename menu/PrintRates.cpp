#include "menu/PrintRates.h"

#include "menu/RateMenuContent.h"
#include "platform/CoreFoundation/CFPreferences.h"
#include "settings/CorvantaSettings.h"

int PrintRates(const std::optional<std::string>& amount, std::ostream& out) {
    CFPreferencesAppSynchronize(CorvantaSettingsAppID());
    if (!CorvantaSettingsReadOn()) {
        out << kRateMenuSwitchedOff << '\n';
        return 0;
    }
    RateMenuState state;
    state.chosen = ChosenCurrencies(CorvantaSettingsReadCountries().value_or(""));
    const std::unique_ptr<RateArray> rates = ExchangeRatesArray();
    state.rates = rates.get();
    state.fetchFailed = !rates;
    state.amount = amount;
    const RateMenuContent content = RateMenuContentFor(state);
    out << content.header << '\n';
    for (const RateMenuLine& line : content.currencies)
        out << line.text << '\n';
    out.flush();
    return out ? 0 : 1;
}
