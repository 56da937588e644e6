// SPDX-License-Identifier: MIT
#include "platform/AppKit/NSTableView.h"

#include "base/EscapedText.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStringList>

// Presents the data source to Qt's view. The row count is the one read at the last reload, so
// the view never asks for a row the data source has not announced.
class NSTableView::Model : public QAbstractTableModel {
public:
    explicit Model(NSTableView& owner) : QAbstractTableModel(owner.table_), owner_(owner) {}

    void reload() {
        beginResetModel();
        rows_ = owner_.dataSource_
                    ? std::max<NSInteger>(0, owner_.dataSource_->numberOfRowsInTableView(&owner_))
                    : 0;
        endResetModel();
    }
    NSInteger rows() const { return rows_; }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_);
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(owner_.columns_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !owner_.dataSource_ || !index.isValid() ||
            index.row() >= rows_ || index.column() >= columnCount({}))
            return {};
        std::optional<std::string> text = owner_.dataSource_->tableView(
            &owner_, owner_.columns_[index.column()].get(), index.row());
        if (!text) return {};
        // Shown, never obeyed: a control or a direction override in the text would otherwise
        // act on what the user reads.
        return QString::fromStdString(VisibleText(*text));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
            section >= columnCount({}))
            return QAbstractTableModel::headerData(section, orientation, role);
        return QString::fromStdString(owner_.columns_[section]->title());
    }

private:
    NSTableView& owner_;
    NSInteger rows_ = 0;
};

NSTableView::NSTableView(QTableView* table)
    : NSView(table), table_(table), model_(new Model(*this)) {
    const QStringList identifiers = table->property("columnIdentifiers").toStringList();
    const QStringList titles = table->property("columnTitles").toStringList();
    for (qsizetype i = 0; i < identifiers.size(); ++i) {
        const QString& title = i < titles.size() ? titles[i] : identifiers[i];
        columns_.push_back(
            std::make_unique<NSTableColumn>(identifiers[i].toStdString(), title.toStdString()));
    }
    // The view draws cells with its default delegate, which shows text as plain text.
    table_->setModel(model_);
}

void NSTableView::setDataSource(NSTableViewDataSource* dataSource) {
    dataSource_ = dataSource;
    model_->reload();
}

void NSTableView::reloadData() {
    model_->reload();
}

NSInteger NSTableView::numberOfRows() const {
    return model_->rows();
}

NSIndexSet NSTableView::selectedRowIndexes() const {
    NSIndexSet rows;
    if (QItemSelectionModel* selection = table_->selectionModel())
        for (const QModelIndex& index : selection->selectedIndexes())
            rows.addIndex(static_cast<NSUInteger>(index.row()));
    return rows;
}
