// SPDX-License-Identifier: MIT
// One running instance per user and session, the freedesktop way: the first start owns a
// well-known name on the session bus and answers org.freedesktop.Application's Activate at an
// object there; a later start finds the name taken and asks that instance to come forward.
// Without a session bus every start runs on its own.
#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>
#include <chrono>
#include <functional>

class SingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    // Needs a QCoreApplication. Nothing is claimed until claim().
    SingleInstance(QString busName, QString objectPath);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    enum class Claim { First, AlreadyRunning, NoSessionBus };
    // Takes the name for this process; it is held until this object goes or the process ends.
    Claim claim();

    // As a later start: asks the running instance to come forward, passing on this start's
    // activation token; true once it has answered within `patience`.
    bool activateRunning(std::chrono::milliseconds patience) const;

    // What an Activate call does here (nothing without one). Called on the main thread.
    using ActivationHandler = std::function<void(const QVariantMap& platformData)>;
    void setActivationHandler(ActivationHandler handler) { handler_ = std::move(handler); }

public Q_SLOTS:
    // The method of org.freedesktop.Application that other processes call.
    Q_SCRIPTABLE void Activate(const QVariantMap& platformData);

private:
    QString busName_;
    QString objectPath_;
    bool registered_ = false;
    bool owned_ = false;
    ActivationHandler handler_;
};
