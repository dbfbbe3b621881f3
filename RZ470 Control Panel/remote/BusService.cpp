#include "BusService.h"

#include "BusObject.h"
#include "OrvaneAdaptor.h"

#include <QDBusConnectionInterface>

const QString BusService::kName = QStringLiteral("example.varnholt.Orvane");

BusService::BusService(ScriptCommands& commands, const QDBusConnection& bus, QObject* parent)
    : QObject(parent), bus_(bus), object_(new BusObject(commands, bus, this)) {
    new Orvane1Adaptor(object_);
}

BusService::~BusService() {
    if (serving_) {
        bus_.unregisterObject(BusObject::kPath);
        bus_.unregisterService(kName);
    }
}

BusService::Outcome BusService::Start() {
    if (!bus_.isConnected() || !bus_.interface()) {
        return Outcome::NoBus;
    }
    if (!bus_.registerObject(BusObject::kPath, object_)) {
        return Outcome::NameTaken;
    }
    // Never queue for the name: a second holder would be a second owner of the unit.
    const auto reply = bus_.interface()->registerService(kName, QDBusConnectionInterface::DontQueueService,
                                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus_.unregisterObject(BusObject::kPath);
        return Outcome::NameTaken;
    }
    serving_ = true;
    return Outcome::Serving;
}

QString BusService::Explain(Outcome outcome) {
    switch (outcome) {
        case Outcome::NoBus:
            return QStringLiteral(
                "no session bus: scripting over D-Bus is off; the local socket still serves");
        case Outcome::NameTaken:
            return QStringLiteral(
                       "%1 is taken on the session bus: scripting over D-Bus is off; the local "
                       "socket still serves")
                .arg(kName);
        case Outcome::Serving:
            break;
    }
    return {};
}
