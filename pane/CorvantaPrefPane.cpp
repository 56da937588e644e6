// SPDX-License-Identifier: MIT
#include "pane/CorvantaPrefPane.h"

#include "pane/ListableNames.h"
#include "platform/Foundation/NSLog.h"
#include "settings/CorvantaSettings.h"

std::unique_ptr<RateArray> gRatesArray;

namespace {

// The host makes the pane by the name in Info.plist's NSPrincipalClass.
const NSPreferencePaneClass<CorvantaPrefPane> registration("CorvantaPrefPane");

} // namespace

CorvantaPrefPane::CorvantaPrefPane(CFBundleRef bundle) : NSPreferencePane(bundle) {}

void CorvantaPrefPane::connectInterface(NibConnections& nib) {
    nib.outlet("m_versionInfoField", m_versionInfoField);
    nib.outlet("m_onButton", m_onButton);
    nib.outlet("m_countries", m_countries);
    nib.outlet("m_currenciesAvailableTable", m_currenciesAvailableTable);
    nib.action("onButtonClicked:", this, &CorvantaPrefPane::onButtonClicked);
    nib.action("addSelectedButtonClicked:", this, &CorvantaPrefPane::addSelectedButtonClicked);
    nib.action("clearButtonClicked:", this, &CorvantaPrefPane::clearButtonClicked);
    nib.action("applyButtonClicked:", this, &CorvantaPrefPane::applyButtonClicked);
    nib.action("reloadButtonClicked:", this, &CorvantaPrefPane::reloadButtonClicked);
    nib.dataSource(this);
}

void CorvantaPrefPane::mainViewDidLoad() {
    m_appID = CorvantaSettingsAppID();
    m_currencies.clear();
    m_currencies.reserve(200);
}

void CorvantaPrefPane::willSelect() {
    CFPreferencesAppSynchronize(m_appID);

    m_onButton->setState(CorvantaSettingsReadOn() ? NSControlStateValueOn : NSControlStateValueOff);

    loadCurrencies();

    // The stored list replaces the view's text: appending it would double the list on every
    // showing after the first, and leaving would then store the doubled list.
    if (const std::optional<std::string> countries = CorvantaSettingsReadCountries())
        m_countries->textStorage().setString(*countries);

    showVersion();
}

void CorvantaPrefPane::didUnselect() {
    writeOn();
    writeCountries();
    CFPreferencesAppSynchronize(m_appID);
    CorvantaSettingsPostChanged();
}

void CorvantaPrefPane::loadCurrencies() {
    gRatesArray.reset();
    m_currencies.clear();
    gRatesArray = ExchangeRatesArray();
    if (gRatesArray) {
        // Only names the Countries list can hold: a page must not make a save fail or split
        // a name in two.
        ListableNames listable = ListableCurrencyNames(*gRatesArray);
        m_currencies = std::move(listable.names);
        if (!listable.leftOut.empty()) NSLogLine(LeftOutNamesLine(listable.leftOut));
    }
    m_currenciesAvailableTable->reloadData();
}

void CorvantaPrefPane::onButtonClicked(NSView*) {
    writeOn();
    CFPreferencesAppSynchronize(m_appID);
}

void CorvantaPrefPane::addSelectedButtonClicked(NSView*) {
    const NSIndexSet selection = m_currenciesAvailableTable->selectedRowIndexes();
    std::string list = m_countries->textStorage().string();
    if (!list.empty() && !list.ends_with(',')) list += ',';
    for (NSUInteger row = selection.firstIndex(); row != NSNotFound;
         row = selection.indexGreaterThanIndex(row)) {
        if (row >= m_currencies.size()) continue;
        list += m_currencies[row];
        list += ',';
    }
    m_countries->textStorage().setString(list);
    writeCountries();
    CFPreferencesAppSynchronize(m_appID);
}

void CorvantaPrefPane::clearButtonClicked(NSView*) {
    m_countries->textStorage().setString("");
    writeCountries();
    CFPreferencesAppSynchronize(m_appID);
}

void CorvantaPrefPane::applyButtonClicked(NSView*) {
    writeCountries();
    CFPreferencesAppSynchronize(m_appID);
}

void CorvantaPrefPane::reloadButtonClicked(NSView*) {
    loadCurrencies();
}

NSInteger CorvantaPrefPane::numberOfRowsInTableView(NSTableView*) {
    return static_cast<NSInteger>(m_currencies.size());
}

std::optional<std::string> CorvantaPrefPane::tableView(NSTableView*, NSTableColumn* column,
                                                       NSInteger row) {
    if (!column || column->identifier() != "Currencies") return std::nullopt;
    if (row < 0 || static_cast<std::size_t>(row) >= m_currencies.size()) return std::nullopt;
    return m_currencies[static_cast<std::size_t>(row)];
}

void CorvantaPrefPane::writeOn() {
    CFPreferencesSetAppValue(
        CorvantaSettingsOnKey(),
        m_onButton->state() != NSControlStateValueOff ? kCFBooleanTrue : kCFBooleanFalse, m_appID);
}

void CorvantaPrefPane::writeCountries() {
    // The view's text is always valid UTF-8; were it not, writing nothing keeps the stored list
    // rather than removing it.
    CFRef<CFStringRef> list(CFStringCreateWithUTF8(m_countries->textStorage().string()));
    if (list) CFPreferencesSetAppValue(CorvantaSettingsCountriesKey(), list.get(), m_appID);
}

void CorvantaPrefPane::showVersion() {
    // "Name Version"; with one of the two missing, the one the bundle has.
    const std::optional<std::string> name = CFBundleGetInfoString(bundle(), CFSTR("CFBundleName"));
    const std::optional<std::string> version =
        CFBundleGetInfoString(bundle(), CFSTR("CFBundleShortVersionString"));
    std::string line = name.value_or("");
    if (name && version) line += ' ';
    line += version.value_or("");
    m_versionInfoField->setStringValue(line);
}
