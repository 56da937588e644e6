// SPDX-License-Identifier: MIT
#include "platform/AppKit/AppKit.h"
#include "tests/support/TestApplication.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const kView = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <widget class="QWidget" name="view">
  <layout class="QVBoxLayout" name="layout">
   <item><widget class="QCheckBox" name="m_switch">
    <property name="text"><string>Switch</string></property>
    <property name="action" stdset="0"><string>switchClicked:</string></property>
   </widget></item>
   <item><widget class="QLabel" name="m_label"/></item>
   <item><widget class="QPlainTextEdit" name="m_text"/></item>
   <item><widget class="QTableView" name="m_table">
    <property name="selectionMode"><enum>QAbstractItemView::ExtendedSelection</enum></property>
    <property name="selectionBehavior"><enum>QAbstractItemView::SelectRows</enum></property>
    <property name="columnIdentifiers" stdset="0">
     <stringlist><string>Names</string><string>Other</string></stringlist>
    </property>
    <property name="columnTitles" stdset="0"><stringlist><string>Names</string></stringlist></property>
    <property name="dataSource" stdset="0"><string>owner</string></property>
   </widget></item>
   <item><widget class="QPushButton" name="addButton">
    <property name="text"><string>Add</string></property>
    <property name="action" stdset="0">%ACTION%</property>
   </widget></item>
  </layout>
 </widget>
</ui>
)";

// Writes the test view into a file of its own, with the add button's action as given.
std::string writeView(const std::string& action = "<string>addClicked:</string>") {
    static int count = 0;
    fs::path path = fs::temp_directory_path() / ("corvanta-appkit-" + std::to_string(getpid()) +
                                                 "-" + std::to_string(++count) + ".ui");
    std::string text = kView;
    text.replace(text.find("%ACTION%"), 8, action);
    std::ofstream(path) << text;
    return path.string();
}

struct Owner : NSTableViewDataSource {
    NSButton* m_switch = nullptr;
    NSTextField* m_label = nullptr;
    NSTextView* m_text = nullptr;
    NSTableView* m_table = nullptr;
    std::vector<std::string> rows;
    std::vector<std::pair<std::string, NSView*>> sent;

    NibConnections connections() {
        NibConnections nib;
        nib.outlet("m_switch", m_switch);
        nib.outlet("m_label", m_label);
        nib.outlet("m_text", m_text);
        nib.outlet("m_table", m_table);
        nib.action("switchClicked:",
                   [this](NSView* sender) { sent.emplace_back("switch", sender); });
        nib.action("addClicked:", [this](NSView* sender) { sent.emplace_back("add", sender); });
        nib.dataSource(this);
        return nib;
    }
    NSInteger numberOfRowsInTableView(NSTableView*) override {
        return static_cast<NSInteger>(rows.size());
    }
    std::optional<std::string> tableView(NSTableView*, NSTableColumn* column,
                                         NSInteger row) override {
        if (column->identifier() != "Names") return std::nullopt;
        return rows.at(static_cast<std::size_t>(row));
    }
};

class AppKit : public ::testing::Test {
protected:
    void SetUp() override { TestApplication(); }

    std::unique_ptr<QWidget> load(Owner& owner, const std::string& path, std::string& error) {
        auto view = LoadInterfaceFile(path, owner.connections(), error);
        fs::remove(path);
        return view;
    }

    QString cell(int row, int column) {
        auto* table = static_cast<QTableView*>(owner.m_table->widget());
        return table->model()->index(row, column).data().toString();
    }

    Owner owner;
    std::string error;
};

} // namespace

TEST_F(AppKit, BindsOutletsActionsAndTheDataSource) {
    auto view = load(owner, writeView(), error);
    ASSERT_TRUE(view) << error;
    ASSERT_TRUE(owner.m_switch && owner.m_label && owner.m_text && owner.m_table);

    view->findChild<QPushButton*>("addButton")->click();
    owner.m_switch->button()->click();
    ASSERT_EQ(owner.sent.size(), 2u);
    EXPECT_EQ(owner.sent[0].first, "add");
    EXPECT_EQ(owner.sent[0].second->widget()->objectName(), "addButton");
    EXPECT_EQ(owner.sent[1], std::make_pair(std::string("switch"), (NSView*)owner.m_switch));
    EXPECT_EQ(owner.m_switch->state(), NSControlStateValueOn);

    ASSERT_EQ(owner.m_table->tableColumns().size(), 2u);
    EXPECT_EQ(owner.m_table->tableColumns()[0]->identifier(), "Names");
    EXPECT_EQ(owner.m_table->tableColumns()[1]->title(), "Other"); // no title: the identifier
}

TEST_F(AppKit, LoadErrorsNameWhatIsWrongAndBindNothing) {
    auto view = load(owner, writeView("<string>unknownClicked:</string>"), error);
    EXPECT_FALSE(view);
    EXPECT_NE(error.find("unknownClicked:"), std::string::npos) << error;
    EXPECT_EQ(owner.m_switch, nullptr);

    NibConnections missing = owner.connections();
    NSButton* absent = nullptr;
    missing.outlet("m_absent", absent);
    std::string path = writeView();
    EXPECT_FALSE(LoadInterfaceFile(path, missing, error));
    EXPECT_NE(error.find("m_absent"), std::string::npos) << error;

    NibConnections wrongKind;
    NSButton* label = nullptr;
    wrongKind.outlet("m_label", label);
    EXPECT_FALSE(LoadInterfaceFile(path, wrongKind, error));
    EXPECT_NE(error.find("QLabel"), std::string::npos) << error;
    fs::remove(path);

    EXPECT_FALSE(LoadInterfaceFile("/nonexistent/view.ui", owner.connections(), error));
    EXPECT_NE(error.find("/nonexistent/view.ui"), std::string::npos) << error;
}

TEST_F(AppKit, TableAsksForRowsOnlyOnReloadAndShowsForeignColumnsEmpty) {
    auto view = load(owner, writeView(), error);
    ASSERT_TRUE(view) << error;
    owner.rows = {"Euro", "<b>Yen</b>", "Euro"};
    EXPECT_EQ(owner.m_table->numberOfRows(), 0); // not yet reloaded
    owner.m_table->reloadData();
    EXPECT_EQ(owner.m_table->numberOfRows(), 3);
    EXPECT_EQ(cell(1, 0), "<b>Yen</b>");
    EXPECT_EQ(cell(1, 1), "");

    auto* table = static_cast<QTableView*>(owner.m_table->widget());
    table->selectRow(2);
    table->selectionModel()->select(table->model()->index(0, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    NSIndexSet selected = owner.m_table->selectedRowIndexes();
    EXPECT_EQ(selected.firstIndex(), 0u);
    EXPECT_EQ(selected.indexGreaterThanIndex(0), 2u);
    EXPECT_EQ(selected.indexGreaterThanIndex(2), NSNotFound);

    owner.rows.clear();
    owner.m_table->reloadData();
    EXPECT_EQ(owner.m_table->numberOfRows(), 0);
    EXPECT_EQ(owner.m_table->selectedRowIndexes().firstIndex(), NSNotFound);
}

TEST_F(AppKit, TextKeepsItsCharactersAndShowsMarkupAsText) {
    auto view = load(owner, writeView(), error);
    ASSERT_TRUE(view) << error;
    NSTextStorage storage = owner.m_text->textStorage();
    storage.setString("Euro,\nYen\u00a0A,");
    storage.appendString("Real,");
    EXPECT_EQ(storage.string(), "Euro,\nYen\u00a0A,Real,");
    storage.setString("");
    EXPECT_EQ(storage.string(), "");

    // The editor's own line breaks must not change what was put in: a stored list or a name
    // from the rate page comes back as it was, until the user edits the text.
    storage.setString("Euro,\r\nYen,\rReal\u2029Zone,");
    EXPECT_EQ(storage.string(), "Euro,\r\nYen,\rReal\u2029Zone,");
    storage.appendString("Won\r\n,");
    EXPECT_EQ(storage.string(), "Euro,\r\nYen,\rReal\u2029Zone,Won\r\n,");
    QTextCursor cursor(static_cast<QPlainTextEdit*>(owner.m_text->widget())->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText("Typed,");
    EXPECT_EQ(storage.string(), "Euro,\nYen,\nReal\nZone,Won\n,Typed,");

    owner.m_label->setStringValue("<i>Corvanta</i> 1.0");
    EXPECT_EQ(owner.m_label->stringValue(), "<i>Corvanta</i> 1.0");
    EXPECT_EQ(static_cast<QLabel*>(owner.m_label->widget())->textFormat(), Qt::PlainText);
}

TEST_F(AppKit, SwitchStates) {
    auto view = load(owner, writeView(), error);
    ASSERT_TRUE(view) << error;
    owner.m_switch->setState(NSControlStateValueMixed);
    EXPECT_EQ(owner.m_switch->state(), NSControlStateValueMixed);
    owner.m_switch->setState(7);
    EXPECT_EQ(owner.m_switch->state(), NSControlStateValueOn);
    owner.m_switch->setState(NSControlStateValueOff);
    EXPECT_EQ(owner.m_switch->state(), NSControlStateValueOff);
}

TEST_F(AppKit, TranslatesTheTextsAUserReads) {
    const std::string path = writeView();
    auto view = LoadInterfaceFile(path, owner.connections(), error, [](const QString& text) {
        return text == "Switch" ? QString("Schalter") : text == "Names" ? QString("Namen") : text;
    });
    fs::remove(path);
    ASSERT_TRUE(view) << error;
    EXPECT_EQ(owner.m_switch->title(), "Schalter");
    EXPECT_EQ(owner.m_table->tableColumns()[0]->title(), "Namen");
    EXPECT_EQ(owner.m_table->tableColumns()[0]->identifier(), "Names"); // identifiers stay
}
