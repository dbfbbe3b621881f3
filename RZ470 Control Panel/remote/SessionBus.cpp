#include "SessionBus.h"

#include "BusService.h"

#include <QCoreApplication>

#include <cstdio>

void ServeOnSessionBus(ScriptCommands& commands, QObject* owner) {
    auto* service = new BusService(commands, QDBusConnection::sessionBus(), owner);
    const BusService::Outcome outcome = service->Start();
    if (outcome != BusService::Outcome::Serving) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                     qPrintable(BusService::Explain(outcome)));
        delete service;
    }
}
