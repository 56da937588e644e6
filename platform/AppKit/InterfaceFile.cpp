// SPDX-License-Identifier: MIT
#include "platform/AppKit/InterfaceFile.h"

#include "platform/AppKit/BusyCursor.h"
#include "platform/AppKit/NSButton.h"
#include "platform/AppKit/NSTableView.h"

#include <QFile>
#include <QUiLoader>

namespace {

QWidget* findWidget(QWidget* root, const std::string& name) {
    const QString qname = QString::fromStdString(name);
    if (root->objectName() == qname) return root;
    return root->findChild<QWidget*>(qname);
}

std::string describe(const QWidget* widget) {
    std::string text;
    text.append("\"").append(widget->objectName().toStdString()).append("\" (");
    return text.append(widget->metaObject()->className()).append(")");
}

// Everything the file asks for, checked before any of it is bound.
struct Bindings {
    std::vector<std::pair<const NibConnections::Outlet*, NSView*>> outlets;
    std::vector<std::pair<NSButton*, NibConnections::Action>> actions;
    std::vector<NSTableView*> tables;
};

bool resolve(QWidget* root, const NibConnections& connections, const std::string& file,
             Bindings& bindings, std::string& error) {
    for (const NibConnections::Outlet& outlet : connections.outlets()) {
        QWidget* widget = findWidget(root, outlet.name);
        if (!widget) {
            error =
                file + ": no widget named \"" + outlet.name + "\" for the outlet " + outlet.name;
            return false;
        }
        NSView* view = outlet.adapt(widget);
        if (!view) {
            error = file + ": the widget " + describe(widget) + " cannot be the " +
                    outlet.className + " outlet " + outlet.name;
            return false;
        }
        bindings.outlets.emplace_back(&outlet, view);
    }

    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        const QVariant action = widget->property("action");
        if (action.isValid()) {
            const std::string selector = action.toString().toStdString();
            const NibConnections::Action* target = connections.findAction(selector);
            if (!target) {
                error = file + ": the widget " + describe(widget) + " sends the unknown action \"" +
                        selector + "\"";
                return false;
            }
            NSButton* button = NSButton::adapt(widget);
            if (!button) {
                error = file + ": the widget " + describe(widget) + " cannot send the action \"" +
                        selector + "\"";
                return false;
            }
            bindings.actions.emplace_back(button, *target);
        }
        const QVariant source = widget->property("dataSource");
        if (source.isValid()) {
            NSTableView* table = NSTableView::adapt(widget);
            if (!table || source.toString() != QLatin1String("owner") ||
                !connections.dataSource()) {
                error = file + ": the widget " + describe(widget) +
                        " asks for a data source the owner does not give";
                return false;
            }
            bindings.tables.push_back(table);
        }
    }
    return true;
}

// The texts a user reads or hears; a view's own data (a label an outlet fills) is not among
// them, as it is set later by its owner.
void translateTexts(QWidget* root, const InterfaceTextTranslator& translate) {
    static const char* const kTextProperties[] = {"text",
                                                  "title",
                                                  "toolTip",
                                                  "accessibleName",
                                                  "accessibleDescription",
                                                  "placeholderText",
                                                  "windowTitle"};
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        for (const char* name : kTextProperties) {
            const QVariant value = widget->property(name);
            if (value.typeId() == QMetaType::QString && !value.toString().isEmpty())
                widget->setProperty(name, translate(value.toString()));
        }
        const QVariant titles = widget->property("columnTitles");
        if (titles.isValid()) {
            QStringList translated = titles.toStringList();
            for (QString& title : translated)
                title = translate(title);
            widget->setProperty("columnTitles", translated);
        }
    }
}

void bind(const Bindings& bindings, const NibConnections& connections) {
    for (const auto& [outlet, view] : bindings.outlets)
        outlet->assign(view);
    for (const auto& [button, action] : bindings.actions)
        QObject::connect(button->button(), &QAbstractButton::clicked, button,
                         [button, action = action] {
                             BusyCursor busy; // an action may block, as a fetch does
                             action(button);
                         });
    for (NSTableView* table : bindings.tables)
        table->setDataSource(connections.dataSource());
}

} // namespace

std::unique_ptr<QWidget> LoadInterfaceFile(const std::string& path,
                                           const NibConnections& connections, std::string& error,
                                           const InterfaceTextTranslator& translate) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + ": cannot be opened: " + file.errorString().toStdString();
        return nullptr;
    }
    QUiLoader loader;
    std::unique_ptr<QWidget> view(loader.load(&file));
    if (!view) {
        error = path + ": not a usable interface file: " + loader.errorString().toStdString();
        return nullptr;
    }
    if (translate) translateTexts(view.get(), translate);
    Bindings bindings;
    if (!resolve(view.get(), connections, path, bindings, error)) return nullptr;
    bind(bindings, connections);
    return view;
}
