#include "BusFigures.h"

#include "BusService.h"
#include "CRZ470ControlPanelDlg.h"
#include "PrivateBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QThread>

#include <memory>

namespace {

const QString kEchoName = QStringLiteral("example.varnholt.BenchEcho");
const QString kEchoPath = QStringLiteral("/echo");

// The least a method call on the bus costs: its argument straight back.
class EchoObject : public QObject {
    Q_OBJECT

public slots:
    double Echo(double value) { return value; }
};

// Nanoseconds per blocking call of message, over calls calls; -1 when one fails, with its error in
// failure.
double PerCall(QDBusConnection& bus, QDBusMessage message, int calls, bool alternate, QString& failure) {
    QElapsedTimer timer;
    timer.start();
    for (int call = 0; call < calls; ++call) {
        if (alternate) {
            // Each level differs from the last, so each one is sent to the unit.
            QVariantList arguments = message.arguments();
            arguments.last() = call % 2 ? 40.1 : 40.0;
            message.setArguments(arguments);
        }
        const QDBusMessage reply = bus.call(message);
        if (reply.type() != QDBusMessage::ReplyMessage) {
            failure = message.member() + QStringLiteral(": ") + reply.errorName() + QStringLiteral(" ") +
                      reply.errorMessage();
            return -1;
        }
    }
    return static_cast<double>(timer.nsecsElapsed()) / calls;
}

}  // namespace

namespace bench {

BusRoundTrips MeasureBusRoundTrips(CRZ470ControlPanelDlg& dialog, int runs, int callsPerRun) {
    BusRoundTrips result;
    PrivateBus bus;
    if (!bus.running()) {
        result.failure = QStringLiteral("dbus-daemon did not start");
        return result;
    }
    QDBusConnection panelSide = QDBusConnection::connectToBus(bus.address(), QStringLiteral("bench-panel"));
    QDBusConnection echoSide = QDBusConnection::connectToBus(bus.address(), QStringLiteral("bench-echo"));
    {
        BusService service(dialog.scriptCommands(), panelSide);
        EchoObject echo;
        const bool echoServed = echoSide.registerObject(kEchoPath, &echo, QDBusConnection::ExportAllSlots) &&
                                echoSide.registerService(kEchoName);
        if (service.Start() != BusService::Outcome::Serving || !echoServed) {
            result.failure = QStringLiteral("the bus did not take the panel or the echo");
        } else {
            // The caller blocks on each reply in a thread of its own while this one serves.
            std::unique_ptr<QThread> caller(QThread::create([&] {
                QDBusConnection client =
                    QDBusConnection::connectToBus(bus.address(), QStringLiteral("bench-client"));
                QDBusMessage setLevel = QDBusMessage::createMethodCall(
                    BusService::kName, QStringLiteral("/example/varnholt/Orvane"),
                    QStringLiteral("example.varnholt.Orvane1"), QStringLiteral("SetLevel"));
                setLevel.setArguments({QVariant::fromValue(QList<int>{3}), 40.0});
                QDBusMessage read = QDBusMessage::createMethodCall(
                    BusService::kName, QStringLiteral("/example/varnholt/Orvane"),
                    QStringLiteral("example.varnholt.Orvane1"), QStringLiteral("GetChannel"));
                read.setArguments({3});
                QDBusMessage echoCall =
                    QDBusMessage::createMethodCall(kEchoName, kEchoPath, {}, QStringLiteral("Echo"));
                echoCall.setArguments({40.0});
                for (int run = 0; run < runs; ++run) {
                    result.setLevelNs.push_back(PerCall(client, setLevel, callsPerRun, true, result.failure));
                    result.readNs.push_back(PerCall(client, read, callsPerRun, false, result.failure));
                    result.echoNs.push_back(PerCall(client, echoCall, callsPerRun, false, result.failure));
                }
                QDBusConnection::disconnectFromBus(QStringLiteral("bench-client"));
            }));
            caller->start();
            while (!caller->isFinished()) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            }
            caller->wait();
        }
        echoSide.unregisterObject(kEchoPath);
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("bench-panel"));
    QDBusConnection::disconnectFromBus(QStringLiteral("bench-echo"));
    return result;
}

}  // namespace bench

#include "BusFigures.moc"
