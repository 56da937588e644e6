// SPDX-License-Identifier: MIT
#include "pane/CorvantaPrefPane.h"

#include "base/Identity.h"
#include "pane/ListableNames.h"
#include "settings/CorvantaSettings.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/LoopbackRateSite.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryConfigHome.h"
#include "tests/support/TestApplication.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

using namespace std::chrono_literals;

namespace {

CFStringRef app() {
    return CorvantaSettingsAppID();
}

class CorvantaPane : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        environment.set("CORVANTA_RATE_SITE", site.address().c_str());
        ASSERT_TRUE(bundle) << CORVANTA_PANE_BUNDLE;
        pane = std::make_unique<CorvantaPrefPane>(bundle.get());
        std::string error;
        ASSERT_TRUE(pane->loadMainView(error)) << error;
        pane->mainViewDidLoad();
    }

    template <class Widget> Widget* widget(const char* name) {
        auto* found = pane->mainView()->findChild<Widget*>(name);
        EXPECT_TRUE(found) << name;
        return found;
    }
    QCheckBox* onSwitch() { return widget<QCheckBox>("m_onButton"); }
    QPlainTextEdit* list() { return widget<QPlainTextEdit>("m_countries"); }
    QTableView* table() { return widget<QTableView>("m_currenciesAvailableTable"); }
    void click(const char* button) { widget<QPushButton>(button)->click(); }

    std::vector<std::string> rows() {
        std::vector<std::string> names;
        QAbstractItemModel* model = table()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            names.push_back(model->index(row, 0).data().toString().toStdString());
        return names;
    }
    void select(std::initializer_list<int> rowsToSelect) {
        table()->clearSelection();
        for (int row : rowsToSelect)
            table()->selectionModel()->select(table()->model()->index(row, 0),
                                              QItemSelectionModel::Select |
                                                  QItemSelectionModel::Rows);
    }

    // What another process would read now.
    CFRef<CFPropertyListRef> stored(const char* key) {
        CFPreferencesAppSynchronize(app());
        CFRef<CFStringRef> cfKey(CFStringCreateWithUTF8(key));
        return CFRef<CFPropertyListRef>(CFPreferencesCopyAppValue(cfKey.get(), app()));
    }
    std::optional<std::string> storedList() {
        CFRef<CFPropertyListRef> value = stored("Countries");
        if (!value || CFGetTypeID(value.get()) != CFStringGetTypeID()) return std::nullopt;
        return std::string(CFStringGetUTF8(static_cast<CFStringRef>(value.get())));
    }
    std::optional<bool> storedOn() {
        CFRef<CFPropertyListRef> value = stored("On");
        if (!value || CFGetTypeID(value.get()) != CFBooleanGetTypeID()) return std::nullopt;
        return CFBooleanGetValue(static_cast<CFBooleanRef>(value.get()));
    }
    void store(const char* key, CFPropertyListRef value) {
        CFRef<CFStringRef> cfKey(CFStringCreateWithUTF8(key));
        CFPreferencesSetAppValue(cfKey.get(), value, app());
        ASSERT_TRUE(CFPreferencesAppSynchronize(app()));
    }

    ScopedEnvironment environment;
    TemporaryConfigHome home;
    LoopbackRateSite site{RatePage({"Euro", "Japanese Yen", "Euro", "<b>Swiss Franc</b>"})};
    CFRef<CFBundleRef> bundle{CFBundleCreateWithPath(CORVANTA_PANE_BUNDLE)};
    std::unique_ptr<CorvantaPrefPane> pane;
};

} // namespace

TEST_F(CorvantaPane, FirstShowingWithNoStoredSettings) {
    list()->setPlainText("left by the interface file");
    pane->willSelect();
    EXPECT_EQ(onSwitch()->checkState(), Qt::Checked);
    // Every name in page order, duplicates and markup included, as plain text.
    EXPECT_EQ(rows(),
              (std::vector<std::string>{"Euro", "Japanese Yen", "Euro", "<b>Swiss Franc</b>"}));
    EXPECT_EQ(list()->toPlainText(), "left by the interface file");
    EXPECT_EQ(widget<QLabel>("m_versionInfoField")->text(), "Corvanta " CORVANTA_VERSION);
    EXPECT_EQ(widget<QLabel>("m_versionInfoField")->textFormat(), Qt::PlainText);
    EXPECT_FALSE(storedOn()); // showing writes nothing
}

TEST_F(CorvantaPane, ShowsStoredSettingsOnceAndIgnoresValuesOfTheWrongType) {
    store("On", kCFBooleanFalse);
    store("Countries", CFSTR("Euro,Japanese Yen,"));
    for (int showing = 0; showing < 2; ++showing) {
        pane->willSelect();
        EXPECT_EQ(onSwitch()->checkState(), Qt::Unchecked);
        EXPECT_EQ(list()->toPlainText(), "Euro,Japanese Yen,"); // replaced, never doubled
        pane->didUnselect();
    }
    EXPECT_EQ(storedList(), "Euro,Japanese Yen,");

    store("On", CFSTR("yes"));
    store("Countries", kCFBooleanTrue);
    list()->setPlainText("kept");
    pane->willSelect();
    EXPECT_EQ(onSwitch()->checkState(), Qt::Checked);
    EXPECT_EQ(list()->toPlainText(), "kept");
}

TEST_F(CorvantaPane, AStoredListComesBackUnchangedAfterShowingAndLeaving) {
    // Line breaks of another system's kind must not be rewritten by the text view.
    store("Countries", CFSTR("Euro,\r\nJapanese Yen,\r"));
    pane->willSelect();
    pane->didUnselect();
    EXPECT_EQ(storedList(), "Euro,\r\nJapanese Yen,\r");
}

TEST_F(CorvantaPane, AddPutsACommaAfterEveryNameAndStoresTheList) {
    pane->willSelect();
    select({3, 1});
    click("addSelectedButton");
    EXPECT_EQ(list()->toPlainText(), "Japanese Yen,<b>Swiss Franc</b>,");
    EXPECT_EQ(storedList(), "Japanese Yen,<b>Swiss Franc</b>,");

    select({1}); // already listed: added again, after no second comma
    click("addSelectedButton");
    EXPECT_EQ(storedList(), "Japanese Yen,<b>Swiss Franc</b>,Japanese Yen,");

    list()->setPlainText("Dong");
    select({});
    click("addSelectedButton"); // nothing selected: the comma still closes the list
    EXPECT_EQ(storedList(), "Dong,");
}

TEST_F(CorvantaPane, ClearStoresTheEmptyListAndApplyStoresTheText) {
    store("Countries", CFSTR("Euro,"));
    pane->willSelect();
    click("clearButton");
    EXPECT_EQ(list()->toPlainText(), "");
    EXPECT_EQ(storedList(), ""); // the empty string, not a missing key

    list()->setPlainText("Euro, Yen\nReal");
    click("applyButton");
    EXPECT_EQ(storedList(), "Euro, Yen\nReal");
}

TEST_F(CorvantaPane, TheSwitchStoresItsStateAtOnceAndMixedCountsAsOn) {
    pane->willSelect();
    onSwitch()->click();
    EXPECT_EQ(storedOn(), false);
    onSwitch()->setCheckState(Qt::PartiallyChecked);
    pane->onButtonClicked(nullptr);
    EXPECT_EQ(storedOn(), true);
}

TEST_F(CorvantaPane, AFailedFetchLeavesTheTableEmptyUntilAReloadSucceeds) {
    environment.set("CORVANTA_RATE_SITE", UnreachableRateSite().c_str());
    store("Countries", CFSTR("Euro,"));
    pane->willSelect();
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(gRatesArray, nullptr);
    EXPECT_EQ(list()->toPlainText(), "Euro,"); // the rest of willSelect still happens
    click("reloadButton");
    EXPECT_TRUE(rows().empty());

    environment.set("CORVANTA_RATE_SITE", site.address().c_str());
    click("reloadButton");
    EXPECT_EQ(rows().size(), 4u);
    site.setPage(RatePage({"Krone"}));
    click("reloadButton");
    EXPECT_EQ(rows(), std::vector<std::string>{"Krone"});
}

TEST_F(CorvantaPane, OnlyTheCurrenciesColumnShowsNames) {
    pane->willSelect();
    NSTableColumn other("Other", "Other"), lowerCase("currencies", "currencies"),
        currencies("Currencies", "Currencies");
    EXPECT_EQ(pane->tableView(nullptr, &other, 0), std::nullopt);
    EXPECT_EQ(pane->tableView(nullptr, &lowerCase, 0), std::nullopt);
    EXPECT_EQ(pane->tableView(nullptr, &currencies, 1), "Japanese Yen");
}

TEST_F(CorvantaPane, LeavingStoresBothKeysAndTellsTheMenuPlugIn) {
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "no private session bus";
    pane->willSelect();
    ChildProgram watch({CORVANTA_WATCH_PATH, "--once"});
    EXPECT_EQ(watch.readLine(5s), R"({"On":null,"Countries":null})");

    onSwitch()->setCheckState(Qt::Unchecked);
    list()->setPlainText("Euro,");
    pane->didUnselect(); // nothing was stored before: leaving writes both keys, then posts
    EXPECT_EQ(watch.readLine(5s), R"({"On":false,"Countries":"Euro,"})");
    EXPECT_EQ(watch.waitForExit(5s), 0);
}

namespace {

// Names a hostile page can carry that the Countries list cannot hold.
const std::string kUnlistableNames[] = {
    std::string("Zero\0Byte", 9), "Dollar, US", "Tab\tName", "Escape\x1b[2J", "C1\xc2\x85Name",
};

} // namespace

TEST_F(CorvantaPane, NamesTheListCannotHoldAreNotOfferedAndTheLogSaysWhich) {
    site.setPage(RatePage({"Euro", kUnlistableNames[0], kUnlistableNames[1], kUnlistableNames[2],
                           kUnlistableNames[3], kUnlistableNames[4], "Yen"}));
    testing::internal::CaptureStderr();
    pane->willSelect();
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(rows(), (std::vector<std::string>{"Euro", "Yen"}));
    ASSERT_NE(gRatesArray, nullptr);
    EXPECT_EQ(gRatesArray->size(), 7u) << "the rate array keeps the page's entries";
    const std::size_t line = log.find("CorvantaPrefPane: 5 currency names left out");
    ASSERT_NE(line, std::string::npos) << log;
    EXPECT_EQ(log.find("left out", line + 50), std::string::npos) << "once per fetch";
    EXPECT_NE(log.find("\"Zero\\u0000Byte\", \"Dollar, US\""), std::string::npos) << log;

    select({0, 1});
    click("addSelectedButton");
    EXPECT_EQ(storedList(), "Euro,Yen,") << "every save still succeeds";
}

// A page of many unlistable names must not make one huge log line either.
TEST(ListableNames, TheLineOfNamesLeftOutStaysBounded) {
    const std::vector<std::string> many(100000, std::string("\x01", 1));
    const std::string line = LeftOutNamesLine(many);
    EXPECT_LE(line.size(), kMaxLeftOutLine + 32);
    EXPECT_TRUE(line.starts_with("CorvantaPrefPane: 100000 currency names left out")) << line;
    EXPECT_TRUE(line.ends_with(" more")) << line.substr(line.size() - 40);
}

TEST_F(CorvantaPane, ControlsAndDirectionOverridesShowAsPlaceholdersButAreStoredAsSpelled) {
    const std::string reversed = "\xe2\x80\xae"
                                 "oruE"; // U+202E, then "Euro" backwards
    site.setPage(RatePage({reversed, "Krone"}));
    pane->willSelect();
    EXPECT_EQ(rows(), (std::vector<std::string>{"<U+202E>oruE", "Krone"}));
    select({0});
    click("addSelectedButton");
    EXPECT_EQ(storedList(), reversed + ",");
}
