// SPDX-License-Identifier: MIT
// Builds a view from a Qt Designer interface file (.ui) and connects it to its owner, as a nib
// would: a widget named like an outlet is bound to it, a button with the dynamic property
// "action" sends that selector to the owner when clicked, and a table whose property
// "dataSource" is "owner" gets the owner's data source.
#pragma once

#include "platform/AppKit/NibConnections.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

// Gives the text to show for a text of the interface file (the user's language, say).
using InterfaceTextTranslator = std::function<QString(const QString&)>;

// The loaded view, or null with `error` saying why: the file cannot be read or parsed, an outlet
// has no widget of its name or a widget of the wrong kind, or a control names an action the
// owner does not answer. Nothing is bound unless everything is. With `translate`, the widgets'
// titles, tool tips, accessible names and table column titles are passed through it first.
std::unique_ptr<QWidget> LoadInterfaceFile(const std::string& path,
                                           const NibConnections& connections, std::string& error,
                                           const InterfaceTextTranslator& translate = {});
