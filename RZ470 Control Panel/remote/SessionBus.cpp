#include "SessionBus.h"

#include "BusService.h"

#include <cstdio>

void ServeOnSessionBus(ScriptCommands& commands, QObject* owner) {
    auto* service = new BusService(commands, QDBusConnection::sessionBus(), owner);
    const BusService::Outcome outcome = service->Start();
    if (outcome != BusService::Outcome::Serving) {
        std::fprintf(stderr, "%s\n", qPrintable(BusService::Explain(outcome)));
        delete service;
    }
}
