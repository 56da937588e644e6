// SPDX-License-Identifier: MIT
#include "menu/PrintRates.h"

#include "base/EscapedText.h"
#include "base/UserLanguages.h"
#include "menu/MenuLanguage.h"
#include "menu/RateMenuContent.h"
#include "menu/RatesFetch.h"
#include "platform/CoreFoundation/CFPreferences.h"
#include "settings/CorvantaSettings.h"

std::string NoSuchBaseMessage(const std::string& base) {
    return "corvanta-menu: the rate site offers no currency " + VisibleText(base);
}

int PrintRates(const PrintRequest& request, std::ostream& out, std::ostream& errors) {
    CFPreferencesAppSynchronize(CorvantaSettingsAppID());
    if (!CorvantaSettingsReadOn()) {
        out << MenuText(kRateMenuSwitchedOff) << '\n';
        return 0;
    }
    // A base asked for on the command line must be one the site has; a stored one that is not
    // counts as the dollar, as in the menu.
    const FetchedRates fetched =
        request.base ? FetchRatesFor(*request.base, BaseFallback::None)
                     : FetchRatesFor(CorvantaSettingsReadBase(), BaseFallback::ToDollar);
    if (!fetched.askedBaseOffered && request.base) {
        errors << NoSuchBaseMessage(*request.base) << '\n';
        return 2;
    }
    const CurrencyWords words(UserLocaleName());
    RateMenuState state;
    state.chosen = ChosenCurrencies(CorvantaSettingsReadCountries().value_or(""));
    state.rates = fetched.rates.get();
    state.fetchFailed = !fetched.rates;
    state.amount = request.amount;
    state.base = fetched.base;
    state.history = fetched.history.get();
    state.words = &words;
    const RateMenuContent content = RateMenuContentFor(state);
    out << content.header << '\n';
    for (const RateMenuLine& line : content.currencies)
        out << line.text << '\n';
    out.flush();
    return out ? 0 : 1;
}
