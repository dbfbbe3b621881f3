#include "PrivateBus.h"

PrivateBus::PrivateBus() {
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                   QStringLiteral("--print-address=1"),
                   QStringLiteral("--address=unix:path=") + folder_.path() + QStringLiteral("/bus")});
    if (!daemon_.waitForStarted(10000)) {
        return;
    }
    while (!daemon_.canReadLine() && daemon_.waitForReadyRead(10000)) {
    }
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
}

PrivateBus::~PrivateBus() {
    daemon_.terminate();
    daemon_.waitForFinished(5000);
}
