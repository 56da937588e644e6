// SPDX-License-Identifier: MIT
#include "host/PaneReport.h"

#include "base/EscapedText.h"
#include "platform/AppKit/AppKit.h"

#include <sstream>

namespace {

std::string labelOf(const NSView& control) {
    const QWidget* widget = control.widget();
    QString label = widget->accessibleName();
    if (label.isEmpty()) label = widget->objectName();
    return label.toStdString();
}

std::string stateText(NSControlStateValue state) {
    return state == NSControlStateValueOff     ? "off"
           : state == NSControlStateValueMixed ? "mixed"
                                               : "on";
}

std::string firstRows(const NSTableView& table, int rowsShown) {
    const QAbstractItemModel* model = static_cast<const QTableView*>(table.widget())->model();
    std::string rows;
    const int count = std::min(model->rowCount(), rowsShown);
    for (int row = 0; row < count; ++row) {
        if (row) rows += ", ";
        rows += VisibleText(model->index(row, 0).data().toString().toStdString());
    }
    if (model->rowCount() > count) rows += ", ...";
    return rows;
}

} // namespace

std::string DescribePane(const QWidget& view, int rowsShown) {
    std::ostringstream out;
    for (const NSView* control : view.findChildren<NSView*>()) {
        if (auto* button = qobject_cast<const NSButton*>(control)) {
            if (button->button()->isCheckable())
                out << labelOf(*button) << ": " << stateText(button->state()) << "\n";
        } else if (auto* table = qobject_cast<const NSTableView*>(control)) {
            out << labelOf(*table) << ": " << table->numberOfRows() << " rows";
            if (table->numberOfRows() > 0) out << ": " << firstRows(*table, rowsShown);
            out << "\n";
        } else if (auto* text = qobject_cast<const NSTextView*>(control)) {
            out << labelOf(*text) << ": " << QuotedText(text->textStorage().string()) << "\n";
        } else if (auto* field = qobject_cast<const NSTextField*>(control)) {
            out << labelOf(*field) << ": " << QuotedText(field->stringValue()) << "\n";
        }
    }
    return out.str();
}
