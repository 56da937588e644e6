// The status item: its icon and tool tip while the menu is switched on, and the menu of rates
// it shows, kept up to date from the settings, the fetcher and the user's selection.
#pragma once

#include "menu/PrefsLauncher.h"
#include "menu/RateFetcher.h"
#include "menu/RateMenuContent.h"
#include "menu/SettingsWatcher.h"

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
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
    void fetchEnded(std::shared_ptr<const RateArray> rates);
    void aboutToShow();
    std::optional<std::string> selectedAmount() const;
    void rebuild();
    void copyFigure(const std::string& figure);
    void openSettings();

    QMenu menu_;
    QAction* header_ = nullptr;
    QAction* separator_ = nullptr;
    std::vector<QAction*> currencyActions_;
    QSystemTrayIcon item_;
    QTimer statusAreaCheck_;
    bool saidNoStatusArea_ = false;
    bool watcherAtStart_ = false; // a StatusNotifierWatcher was there when the menu started
    bool itemSettled_ = false;    // shown or hidden once after the first read of the settings

    bool on_ = true;
    std::vector<std::string> chosen_;
    std::shared_ptr<const RateArray> rates_;
    bool fetchFailed_ = false;
    bool loading_ = false;
    std::optional<std::chrono::steady_clock::time_point> lastFetchEnded_;
    std::optional<std::string> amount_;
    QString copied_; // what the menu last put on the clipboard, never taken for an amount

    PrefsLauncher prefs_;
    RateFetcher fetcher_;
    std::unique_ptr<SettingsWatcher> watcher_; // last: it calls into everything above
};
