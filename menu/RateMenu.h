// SPDX-License-Identifier: MIT
// The status item: its icon and tool tip while the menu is switched on, and the menu of rates
// it shows, kept up to date from the settings, the fetcher and the user's selection: the rates
// per the chosen base currency with their trend, the "Rates per" choice of base, and the chart
// window.
#pragma once

#include "menu/CurrencyWords.h"
#include "menu/PrefsLauncher.h"
#include "menu/RateChartWindow.h"
#include "menu/RateFetcher.h"
#include "menu/RateMenuContent.h"
#include "menu/SettingsWatcher.h"

#include <QActionGroup>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class RateMenu : public QObject {
public:
    RateMenu();
    ~RateMenu() override;

    // Whether a fetch is running, for a clean exit.
    RateFetcher& fetcher() { return fetcher_; }
    // The menu as it stands, for pictures of it.
    QMenu& menu() { return menu_; }
    bool isLoading() const { return loading_; }

private:
    void readSettings();
    void showOrHideItem();
    void checkStatusArea();
    void fetchIfStale();
    void fetch();
    void fetchEnded(const FetchedRates& fetched);
    void aboutToShow();
    std::optional<std::string> selectedAmount() const;
    void rebuild();
    void rebuildBaseMenu();
    void chooseBase(const std::string& code);
    void openChart();
    void updateChart();
    void copyFigure(const std::string& figure);
    void openSettings();

    QMenu menu_;
    QAction* header_ = nullptr;
    QAction* separator_ = nullptr;
    std::vector<QAction*> currencyActions_;
    QMenu baseMenu_;
    QActionGroup baseChoices_{nullptr};
    QPointer<RateChartWindow> chart_; // while the chart window is open
    QSystemTrayIcon item_;
    QTimer statusAreaCheck_;
    bool saidNoStatusArea_ = false;
    bool watcherAtStart_ = false; // a StatusNotifierWatcher was there when the menu started
    bool itemSettled_ = false;    // shown or hidden once after the first read of the settings

    bool on_ = true;
    std::vector<std::string> chosen_;
    std::string base_ = "USD";  // as stored ("Base")
    std::string askedBase_;     // what the last fetch started asked for
    FetchedRates fetched_;      // the last fetch's result; its rates null before one ended
    const CurrencyWords words_; // in the user's language
    bool fetchFailed_ = false;
    bool loading_ = false;
    std::optional<std::chrono::steady_clock::time_point> lastFetchEnded_;
    std::optional<std::string> amount_;
    QString copied_; // what the menu last put on the clipboard, never taken for an amount

    std::atomic<bool> rereadPending_{false}; // a reread of the settings is queued

    PrefsLauncher prefs_;
    RateFetcher fetcher_;
    std::unique_ptr<SettingsWatcher> watcher_; // last: it calls into everything above
};
