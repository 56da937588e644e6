// SPDX-License-Identifier: MIT
// The base of every control adapter: a small object that lives as a child of the Qt widget it
// adapts, so it goes when the widget goes, and that the interface-file loader finds again.
#pragma once

#include <QObject>
#include <QWidget>

class NSView : public QObject {
    Q_OBJECT
public:
    QWidget* widget() const { return widget_; }

protected:
    explicit NSView(QWidget* widget);

    // The adapter of type Adapter for `widget`: the one it already has, else a new one when the
    // widget is a Adapter::Widget, else null.
    template <class Adapter> static Adapter* adapt(QWidget* widget) {
        if (!widget) return nullptr;
        if (auto* existing = widget->findChild<Adapter*>(QString(), Qt::FindDirectChildrenOnly))
            return existing;
        auto* typed = qobject_cast<typename Adapter::Widget*>(widget);
        return typed ? new Adapter(typed) : nullptr;
    }

private:
    QWidget* widget_;
};
