// SPDX-License-Identifier: MIT
// What a desktop panel gives the rate menu, for tests: an X display of its own (Xvfb) and a
// StatusNotifierWatcher on the session bus that records the items registering with it, plus a
// reader for an item's menu over com.canonical.dbusmenu.
#pragma once

#include "tests/support/XvfbDisplay.h"

#include <sdbus-c++/sdbus-c++.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// One entry of an item's menu as GetLayout describes it. Entries compare by what a user sees
// of them at the level they stand: label, enabled, separator.
struct DBusMenuEntry {
    DBusMenuEntry(std::string label = {}, bool enabled = true, bool separator = false)
        : label(std::move(label)), enabled(enabled), separator(separator) {}
    std::string label;
    bool enabled = true;
    bool separator = false;
    int32_t id = 0;
    bool checked = false;
    std::vector<DBusMenuEntry> children; // a submenu's entries
    bool operator==(const DBusMenuEntry& other) const {
        return label == other.label && enabled == other.enabled && separator == other.separator;
    }
};

// Stands in for the panel: owns org.kde.StatusNotifierWatcher and answers as a watcher with a
// host does.
class StatusNotifierWatcherStandIn {
public:
    static constexpr const char* kInterface = "org.kde.StatusNotifierWatcher";

    StatusNotifierWatcherStandIn()
        : connection_(sdbus::createSessionBusConnection("org.kde.StatusNotifierWatcher")),
          object_(sdbus::createObject(*connection_, "/StatusNotifierWatcher")) {
        object_->registerMethod("RegisterStatusNotifierItem")
            .onInterface(kInterface)
            .withInputParamNames("service")
            .implementedAs([this](const std::string& service) { record(service); });
        object_->registerMethod("RegisterStatusNotifierHost")
            .onInterface(kInterface)
            .withInputParamNames("service")
            .implementedAs([](const std::string&) {});
        object_->registerProperty("RegisteredStatusNotifierItems")
            .onInterface(kInterface)
            .withGetter([this] {
                std::lock_guard lock(mutex_);
                std::vector<std::string> services;
                for (const auto& item : items_)
                    services.push_back(item.service);
                return services;
            });
        object_->registerProperty("IsStatusNotifierHostRegistered")
            .onInterface(kInterface)
            .withGetter([] { return true; });
        object_->registerProperty("ProtocolVersion").onInterface(kInterface).withGetter([] {
            return int32_t(0);
        });
        object_->registerSignal("StatusNotifierItemRegistered")
            .onInterface(kInterface)
            .withParameters<std::string>();
        object_->registerSignal("StatusNotifierItemUnregistered")
            .onInterface(kInterface)
            .withParameters<std::string>();
        object_->registerSignal("StatusNotifierHostRegistered").onInterface(kInterface);
        object_->finishRegistration();
        connection_->enterEventLoopAsync();
    }
    ~StatusNotifierWatcherStandIn() { connection_->leaveEventLoop(); }

    struct Item {
        std::string service; // the bus name the item gave
        std::string sender;  // its unique connection name
    };

    // The `count`th registration (from 1), waiting for it at most `patience`.
    std::optional<Item> registration(size_t count, std::chrono::milliseconds patience) {
        std::unique_lock lock(mutex_);
        if (!registered_.wait_for(lock, patience, [&] { return items_.size() >= count; }))
            return std::nullopt;
        return items_[count - 1];
    }

private:
    void record(const std::string& service) {
        const sdbus::Message* call = object_->getCurrentlyProcessedMessage();
        Item item{service, call ? call->getSender() : std::string()};
        // An item may name itself by object path only; then its connection is the service.
        if (item.service.starts_with("/")) item.service = item.sender;
        {
            std::lock_guard lock(mutex_);
            items_.push_back(item);
        }
        registered_.notify_all();
        object_->emitSignal("StatusNotifierItemRegistered")
            .onInterface(kInterface)
            .withArguments(item.service);
    }

    std::unique_ptr<sdbus::IConnection> connection_;
    std::unique_ptr<sdbus::IObject> object_;
    std::mutex mutex_;
    std::condition_variable registered_;
    std::vector<Item> items_;
};

// Reads a StatusNotifierItem and its dbusmenu as a panel does.
class StatusItemReader {
public:
    explicit StatusItemReader(std::string service)
        : connection_(sdbus::createSessionBusConnection()), service_(std::move(service)) {}

    std::string status() { return itemProperty("Status").get<std::string>(); }
    std::string title() { return itemProperty("Title").get<std::string>(); }
    std::string toolTipTitle() {
        using Pixmap = sdbus::Struct<int32_t, int32_t, std::vector<uint8_t>>;
        using ToolTip = sdbus::Struct<std::string, std::vector<Pixmap>, std::string, std::string>;
        return std::get<2>(itemProperty("ToolTip").get<ToolTip>());
    }

    // The top level of the menu, as GetLayout(0, -1, []) gives it.
    std::vector<DBusMenuEntry> menu() {
        auto proxy = sdbus::createProxy(*connection_, service_, menuPath());
        uint32_t revision = 0;
        Layout layout;
        proxy->callMethod("GetLayout")
            .onInterface("com.canonical.dbusmenu")
            .withTimeout(std::chrono::seconds(5))
            .withArguments(int32_t(0), int32_t(-1), std::vector<std::string>{})
            .storeResultsTo(revision, layout);
        return entriesOf(layout);
    }

    // Clicks the entry `id`, as a panel does when the user chooses it.
    void click(int32_t id) {
        auto proxy = sdbus::createProxy(*connection_, service_, menuPath());
        proxy->callMethod("Event")
            .onInterface("com.canonical.dbusmenu")
            .withTimeout(std::chrono::seconds(5))
            .withArguments(id, std::string("clicked"), sdbus::Variant(int32_t(0)), uint32_t(0));
    }

    // Tells the item its menu is about to open, as a panel does before showing it.
    void aboutToShow() {
        auto proxy = sdbus::createProxy(*connection_, service_, menuPath());
        bool needUpdate = false;
        proxy->callMethod("AboutToShow")
            .onInterface("com.canonical.dbusmenu")
            .withTimeout(std::chrono::seconds(5))
            .withArguments(int32_t(0))
            .storeResultsTo(needUpdate);
    }

    bool serviceHasOwner() {
        auto bus =
            sdbus::createProxy(*connection_, "org.freedesktop.DBus", "/org/freedesktop/DBus");
        bool owned = false;
        bus->callMethod("NameHasOwner")
            .onInterface("org.freedesktop.DBus")
            .withArguments(service_)
            .storeResultsTo(owned);
        return owned;
    }

private:
    using Layout =
        sdbus::Struct<int32_t, std::map<std::string, sdbus::Variant>, std::vector<sdbus::Variant>>;

    static std::vector<DBusMenuEntry> entriesOf(const Layout& layout) {
        std::vector<DBusMenuEntry> entries;
        for (const sdbus::Variant& child : std::get<2>(layout)) {
            const Layout node = child.get<Layout>();
            const auto& properties = std::get<1>(node);
            DBusMenuEntry entry;
            entry.id = std::get<0>(node);
            if (auto it = properties.find("visible");
                it != properties.end() && !it->second.get<bool>())
                continue;
            if (auto it = properties.find("label"); it != properties.end())
                entry.label = it->second.get<std::string>();
            if (auto it = properties.find("enabled"); it != properties.end())
                entry.enabled = it->second.get<bool>();
            if (auto it = properties.find("type"); it != properties.end())
                entry.separator = it->second.get<std::string>() == "separator";
            if (auto it = properties.find("toggle-state"); it != properties.end())
                entry.checked = it->second.get<int32_t>() == 1;
            entry.children = entriesOf(node);
            entries.push_back(entry);
        }
        return entries;
    }

    const std::string& menuPath() {
        if (menuPath_.empty()) menuPath_ = itemProperty("Menu").get<sdbus::ObjectPath>();
        return menuPath_;
    }

    sdbus::Variant itemProperty(const std::string& name) {
        auto proxy = sdbus::createProxy(*connection_, service_, "/StatusNotifierItem");
        return proxy->getProperty(name).onInterface("org.kde.StatusNotifierItem");
    }

    std::unique_ptr<sdbus::IConnection> connection_;
    std::string service_;
    std::string menuPath_;
};
