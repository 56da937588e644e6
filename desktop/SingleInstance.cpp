// SPDX-License-Identifier: MIT
#include "desktop/SingleInstance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QThread>
#include <unistd.h>

namespace {

// After a restart in place (exec), the name may still belong to this process's former bus
// connection until the bus has seen it close: that is no other instance, so wait for it.
bool heldByOurFormerSelf(QDBusConnectionInterface& bus, const QString& name) {
    const QDBusReply<uint> owner = bus.servicePid(name);
    return owner.isValid() && owner.value() == static_cast<uint>(getpid());
}

} // namespace

SingleInstance::SingleInstance(QString busName, QString objectPath)
    : busName_(std::move(busName)), objectPath_(std::move(objectPath)) {}

SingleInstance::~SingleInstance() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (owned_) bus.unregisterService(busName_);
    if (registered_) bus.unregisterObject(objectPath_);
}

SingleInstance::Claim SingleInstance::claim() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusConnectionInterface* names = bus.isConnected() ? bus.interface() : nullptr;
    if (!names) return Claim::NoSessionBus;
    // The object first, so that a start racing this one can activate us once it sees the name.
    registered_ = bus.registerObject(objectPath_, this, QDBusConnection::ExportScriptableSlots);
    for (int attempt = 0; attempt < 50; ++attempt) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
            names->registerService(busName_, QDBusConnectionInterface::DontQueueService,
                                   QDBusConnectionInterface::DontAllowReplacement);
        if (!reply.isValid()) return Claim::NoSessionBus;
        if (reply.value() == QDBusConnectionInterface::ServiceRegistered) {
            owned_ = true;
            return Claim::First;
        }
        if (!heldByOurFormerSelf(*names, busName_)) return Claim::AlreadyRunning;
        QThread::msleep(40);
    }
    return Claim::AlreadyRunning;
}

bool SingleInstance::activateRunning(std::chrono::milliseconds patience) const {
    QDBusMessage call = QDBusMessage::createMethodCall(
        busName_, objectPath_, QStringLiteral("org.freedesktop.Application"),
        QStringLiteral("Activate"));
    // What lets the running instance take the focus on a desktop that guards it.
    QVariantMap platformData;
    if (const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN"); !token.isEmpty())
        platformData.insert(QStringLiteral("activation-token"), token);
    if (const QString id = qEnvironmentVariable("DESKTOP_STARTUP_ID"); !id.isEmpty())
        platformData.insert(QStringLiteral("desktop-startup-id"), id);
    call << platformData;
    const QDBusMessage reply =
        QDBusConnection::sessionBus().call(call, QDBus::Block, static_cast<int>(patience.count()));
    return reply.type() == QDBusMessage::ReplyMessage;
}

void SingleInstance::Activate(const QVariantMap& platformData) {
    if (handler_) handler_(platformData);
}
