// SPDX-License-Identifier: MIT
#include "menu/RateMenu.h"

#include "base/EscapedText.h"
#include "base/UserLanguages.h"
#include "menu/FetchSchedule.h"
#include "menu/MenuLanguage.h"
#include "menu/StatusAreaRestart.h"
#include "menu/StatusItemIcon.h"
#include "platform/CoreFoundation/CFPreferences.h"
#include "platform/Foundation/NSLog.h"
#include "settings/CorvantaSettings.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace {

// How often the item looks for a status area while there is none.
constexpr std::chrono::seconds kStatusAreaPoll(3);

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

// One of the menu's fixed texts in its language.
QString fixedText(const char* english) {
    return qText(MenuText(english));
}

// A menu entry's label: "&" marks a mnemonic in Qt, so a name's own "&" is doubled to show as
// itself. The text is escaped already (RateMenuContent, VisibleText).
QString label(const std::string& text) {
    return qText(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

RateMenu::RateMenu()
    : words_(UserLocaleName()),
      fetcher_(this, [this](const FetchedRates& fetched) { fetchEnded(fetched); }) {
    header_ = menu_.addAction(QString());
    header_->setEnabled(false);
    separator_ = menu_.addSeparator();
    baseMenu_.setTitle(fixedText("Rates per"));
    menu_.addMenu(&baseMenu_);
    baseChoices_.setExclusive(true);
    connect(menu_.addAction(fixedText("Chart…")), &QAction::triggered, this, &RateMenu::openChart);
    connect(menu_.addAction(fixedText("Refresh")), &QAction::triggered, this, &RateMenu::fetch);
    connect(menu_.addAction(fixedText("Settings…")), &QAction::triggered, this,
            &RateMenu::openSettings);
    connect(menu_.addAction(fixedText("Quit")), &QAction::triggered, qApp, &QCoreApplication::quit);
    connect(&menu_, &QMenu::aboutToShow, this, &RateMenu::aboutToShow);

    item_.setIcon(StatusItemIcon());
    item_.setToolTip(fixedText("Corvanta exchange rates"));
    item_.setContextMenu(&menu_);
    // Panels that send a plain click rather than asking for the menu get the menu too.
    connect(&item_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) menu_.popup(QCursor::pos());
            });
    watcherAtStart_ = StatusNotifierWatcherPresent();
    statusAreaCheck_.setInterval(kStatusAreaPoll);
    connect(&statusAreaCheck_, &QTimer::timeout, this, &RateMenu::checkStatusArea);

    // The watcher calls on its own thread; the menu is worked on the main thread only.
    watcher_ = std::make_unique<SettingsWatcher>(
        [this] {
            // However many arrive while a reread waits, one reread follows: a flood of
            // notifications must not flood the main thread's queue.
            if (rereadPending_.exchange(true)) return;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    rereadPending_ = false; // from here a new notification asks again
                    readSettings();
                },
                Qt::QueuedConnection);
        },
        [] {
            NSLogLine("corvanta-menu: no D-Bus session bus: changes made in the settings reach "
                      "the menu only when it opens");
        });
    // Read once the watcher listens, so that a change saved while it started is not missed.
    readSettings();
}

RateMenu::~RateMenu() {
    delete chart_.data();
}

void RateMenu::readSettings() {
    CFPreferencesAppSynchronize(CorvantaSettingsAppID());
    const bool wasOn = on_;
    on_ = CorvantaSettingsReadOn();
    chosen_ = ChosenCurrencies(CorvantaSettingsReadCountries().value_or(""));
    base_ = CorvantaSettingsReadBase();
    rebuild();
    updateChart();
    // Only on a change: asking whether there is a status area is a call to the panel, which
    // must not be made while the panel waits for the menu to open.
    if (!itemSettled_ || on_ != wasOn) showOrHideItem();
    itemSettled_ = true;
    if (on_) fetchIfStale();
}

void RateMenu::showOrHideItem() {
    if (!on_) {
        statusAreaCheck_.stop();
        item_.hide();
        return;
    }
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        if (!saidNoStatusArea_)
            NSLogLine("corvanta-menu: no status area (system tray) on this desktop yet; the item "
                      "shows as soon as one appears");
        saidNoStatusArea_ = true;
        statusAreaCheck_.start();
    } else {
        statusAreaCheck_.stop();
    }
    item_.show();
}

void RateMenu::checkStatusArea() {
    if (!on_) return;
    if (!watcherAtStart_ && StatusNotifierWatcherPresent()) {
        RestartForStatusArea();
        watcherAtStart_ = true; // the restart failed; the X11 tray may still come
    }
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    statusAreaCheck_.stop();
    // Shown again, so that the item registers with the status area that has just appeared.
    item_.hide();
    item_.show();
}

void RateMenu::fetchIfStale() {
    if (loading_) return;
    // Another base was chosen elsewhere, or the rates are old.
    if (base_ != askedBase_ ||
        FetchIsDue(lastFetchEnded_, fetchFailed_, std::chrono::steady_clock::now()))
        fetch();
}

void RateMenu::fetch() {
    if (!fetcher_.start(base_)) return; // the running fetch ends soon; fetchEnded looks again
    askedBase_ = base_;
    loading_ = true;
    rebuild();
}

void RateMenu::fetchEnded(const FetchedRates& fetched) {
    loading_ = false;
    fetchFailed_ = !fetched.rates;
    fetched_ = fetched;
    lastFetchEnded_ = std::chrono::steady_clock::now();
    rebuild();
    rebuildBaseMenu();
    updateChart();
    // The base changed while this fetch ran: its rates are the next ones to fetch.
    if (base_ != askedBase_) fetch();
}

void RateMenu::aboutToShow() {
    amount_ = selectedAmount();
    // Read again here too, so the menu is right even when no notification could arrive.
    readSettings();
}

std::optional<std::string> RateMenu::selectedAmount() const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection())
        if (auto amount = AmountIn(clipboard->text(QClipboard::Selection).toStdString()))
            return amount;
    // A rate the menu copied itself is a figure to paste elsewhere, not a new amount.
    const QString text = clipboard->text(QClipboard::Clipboard);
    if (text == copied_) return std::nullopt;
    return AmountIn(text.toStdString());
}

void RateMenu::rebuild() {
    RateMenuState state{chosen_, fetched_.rates.get(), fetchFailed_, loading_, amount_};
    state.base = fetched_.rates ? fetched_.base : base_;
    state.history = fetched_.history.get();
    state.words = &words_;
    const RateMenuContent content = RateMenuContentFor(state);
    header_->setText(label(content.header));
    for (QAction* action : currencyActions_)
        delete action;
    currencyActions_.clear();
    for (const RateMenuLine& line : content.currencies) {
        auto* action = new QAction(label(line.text), &menu_);
        action->setEnabled(line.enabled);
        connect(action, &QAction::triggered, this,
                [this, figure = line.figure] { copyFigure(figure); });
        menu_.insertAction(separator_, action);
        currencyActions_.push_back(action);
    }
}

void RateMenu::rebuildBaseMenu() {
    for (QAction* action : baseChoices_.actions())
        delete action;
    // Every currency the site offers: the history's and its base, sorted as the site's page.
    struct Choice {
        std::string code, name;
    };
    const std::string current = fetched_.base;
    std::vector<Choice> choices{{current, words_.displayName(current)}};
    if (fetched_.history)
        for (const HistoryCurrency& currency : fetched_.history->currencies)
            choices.push_back({currency.code, currency.name});
    std::stable_sort(choices.begin(), choices.end(), [this](const Choice& a, const Choice& b) {
        return words_.before(a.name, b.name);
    });
    for (const Choice& choice : choices) {
        QAction* action = baseMenu_.addAction(label(VisibleText(choice.name)));
        action->setCheckable(true);
        action->setChecked(choice.code == current);
        action->setActionGroup(&baseChoices_);
        connect(action, &QAction::triggered, this,
                [this, code = choice.code] { chooseBase(code); });
    }
}

void RateMenu::chooseBase(const std::string& code) {
    CorvantaSettingsWriteBase(code); // a failed save is logged; the menu follows the choice
    base_ = code;
    fetch();
}

void RateMenu::openChart() {
    if (chart_) {
        chart_->showNormal();
        chart_->raise();
        chart_->activateWindow();
        return;
    }
    chart_ = new RateChartWindow;
    chart_->setAttribute(Qt::WA_DeleteOnClose);
    updateChart();
    chart_->show();
}

void RateMenu::updateChart() {
    if (!chart_) return;
    const RateHistory* history = fetched_.history.get();
    const RateChartData data = history ? ChartDataFor(chosen_, *history) : RateChartData{};
    chart_->setData(data, qText(ChartTitle(history ? history->base : base_, words_)),
                    qText(ChartEmptyText(history)));
}

void RateMenu::copyFigure(const std::string& figure) {
    copied_ = qText(figure);
    QGuiApplication::clipboard()->setText(copied_);
}

void RateMenu::openSettings() {
    switch (prefs_.launch()) {
    case PrefsLauncher::Result::Started:
        return;
    case PrefsLauncher::Result::NotFound:
        NSLogLine("corvanta-menu: corvanta-prefs is not installed beside the menu or on PATH");
        break;
    case PrefsLauncher::Result::FailedToStart:
        NSLogLine("corvanta-menu: corvanta-prefs could not be started");
        break;
    }
    item_.showMessage(QStringLiteral("Corvanta"), fixedText("The settings could not be opened."),
                      QSystemTrayIcon::Warning);
}
