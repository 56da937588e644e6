// SPDX-License-Identifier: MIT
// A table of rows drawn from a data source, with named columns. Like the desktop's table it asks
// its data source for the number of rows only when told to reload, and it shows every cell as
// plain text.
#pragma once

#include "platform/AppKit/NSIndexSet.h"
#include "platform/AppKit/NSObjCRuntime.h"
#include "platform/AppKit/NSView.h"

#include <QTableView>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class NSTableView;

class NSTableColumn {
public:
    NSTableColumn(std::string identifier, std::string title)
        : identifier_(std::move(identifier)), title_(std::move(title)) {}

    const std::string& identifier() const { return identifier_; }
    const std::string& title() const { return title_; }

private:
    std::string identifier_;
    std::string title_;
};

class NSTableViewDataSource {
public:
    virtual ~NSTableViewDataSource() = default;
    virtual NSInteger numberOfRowsInTableView(NSTableView* tableView) = 0;
    // The text of one cell, or nothing to leave it empty.
    virtual std::optional<std::string> tableView(NSTableView* tableView, NSTableColumn* column,
                                                 NSInteger row) = 0;
};

class NSTableView : public NSView {
    Q_OBJECT
public:
    using Widget = QTableView;
    static constexpr const char* className = "NSTableView";
    static NSTableView* adapt(QWidget* widget) { return NSView::adapt<NSTableView>(widget); }

    // The columns come from the widget's dynamic property "columnIdentifiers" (a string list),
    // titled by "columnTitles" where it gives a title, else by their identifiers.
    explicit NSTableView(QTableView* table);

    void setDataSource(NSTableViewDataSource* dataSource);
    NSTableViewDataSource* dataSource() const { return dataSource_; }

    const std::vector<std::unique_ptr<NSTableColumn>>& tableColumns() const { return columns_; }

    // Asks the data source again for the number of rows and every cell.
    void reloadData();
    NSInteger numberOfRows() const;
    NSIndexSet selectedRowIndexes() const;

private:
    class Model;
    friend class Model;

    QTableView* table_;
    NSTableViewDataSource* dataSource_ = nullptr;
    std::vector<std::unique_ptr<NSTableColumn>> columns_;
    Model* model_; // a child of the Qt view, made after this adapter and so deleted after it
};
