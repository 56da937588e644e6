// SPDX-License-Identifier: MIT
// The Corvanta settings pane: the on/off switch of the rate menu, the currencies the rate site
// publishes, and the list of currencies the menu shows, kept in the preferences it shares with
// the menu plug-in.
#pragma once

#include "platform/AppKit/AppKit.h"
#include "platform/CoreFoundation/CoreFoundation.h"
#include "rates/ExchangeRates.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// The rates of the last fetch, or null before the first one and after a failed one. Only
// loadCurrencies touches it.
extern std::unique_ptr<RateArray> gRatesArray;

class CorvantaPrefPane : public NSPreferencePane, public NSTableViewDataSource {
public:
    explicit CorvantaPrefPane(CFBundleRef bundle);

    void mainViewDidLoad() override;
    void willSelect() override;
    void didUnselect() override;

    // Fetches the rate page again (blocking) and shows its currency names in the table.
    void loadCurrencies();

    void onButtonClicked(NSView* sender);
    void addSelectedButtonClicked(NSView* sender);
    void clearButtonClicked(NSView* sender);
    void applyButtonClicked(NSView* sender);
    void reloadButtonClicked(NSView* sender);

    NSInteger numberOfRowsInTableView(NSTableView* tableView) override;
    std::optional<std::string> tableView(NSTableView* tableView, NSTableColumn* column,
                                         NSInteger row) override;

protected:
    void connectInterface(NibConnections& connections) override;

private:
    void writeOn();
    void writeCountries();
    void showVersion();

    CFStringRef m_appID = nullptr;
    std::vector<std::string> m_currencies;
    NSTextField* m_versionInfoField = nullptr;
    NSButton* m_onButton = nullptr;
    NSTextView* m_countries = nullptr;
    NSTableView* m_currenciesAvailableTable = nullptr;
};
