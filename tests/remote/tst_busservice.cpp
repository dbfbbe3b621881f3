// The panel on a private session bus, on the simulated unit: every method as a caller on another
// connection sees it, each refusal as its named error, and the events and property changes for
// a script, a click and a knob turned at the unit.
#include "BusService.h"
#include "MainScreenLayout.h"
#include "PrivateBus.h"
#include "ScriptCommands.h"
#include "SimulatedPanelTest.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

const QString kInterface = QStringLiteral("example.varnholt.Orvane1");
const QString kPath = QStringLiteral("/example/varnholt/Orvane");
const QString kErrorPrefix = kInterface + QStringLiteral(".Error.");

QVariant Channels(const QList<int>& channels) {
    return QVariant::fromValue(channels);
}

// What a channel's event carried.
struct ChannelEvent {
    int channel;
    bool on;
    int level;
    QString name;
    QString by;
};

}  // namespace

// Another program on the bus: calls the panel and records what it announces.
class BusCaller : public QObject {
    Q_OBJECT

public:
    explicit BusCaller(const QString& name)
        : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, name)) {
        bus_.connect(BusService::kName, kPath, kInterface, QStringLiteral("ChannelChanged"), this,
                     SLOT(channelChanged(int, bool, int, QString, QString)));
        bus_.connect(BusService::kName, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                     QStringLiteral("PropertiesChanged"), this,
                     SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    }
    ~BusCaller() override { QDBusConnection::disconnectFromBus(bus_.name()); }

    // The reply to a call, waited for while the panel's loop runs; an invalid message on timeout.
    QDBusMessage call(const QString& service, const QString& path, const QString& interface,
                      const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        QDBusPendingCall pending = bus_.asyncCall(message, 10000);
        const QDeadlineTimer deadline(15000);
        while (!pending.isFinished() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return pending.isFinished() ? pending.reply() : QDBusMessage();
    }
    QDBusMessage call(const QString& method, const QVariantList& arguments = {}) {
        return call(BusService::kName, kPath, kInterface, method, arguments);
    }

    QList<ChannelEvent> channelEvents;
    QList<QVariantMap> propertyChanges;

private slots:
    void channelChanged(int channel, bool on, int level, const QString& name, const QString& by) {
        channelEvents.append({channel, on, level, name, by});
    }
    void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&) {
        if (interface == kInterface) {
            propertyChanges.append(changed);
        }
    }

private:
    QDBusConnection bus_;
};

class BusServiceTest : public SimulatedPanelTest {
    Q_OBJECT

private:
    std::unique_ptr<BusCaller> caller_;
    ScriptCommands* commands_ = nullptr;
    int served_ = 0;

    // Puts the started panel's command layer on the bus, with a caller on a connection of its
    // own. The service goes with the panel.
    void serve() {
        ++served_;
        commands_ = &dialog().scriptCommands();
        auto* service = new BusService(*commands_,
                                       QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                                     QStringLiteral("panel%1").arg(served_)),
                                       &dialog());
        QCOMPARE(service->Start(), BusService::Outcome::Serving);
        // The command layer learns of the unit with the next read, as in the running panel.
        for (int ticks = 0; ticks < 50 && !commands_->Status().value(QStringLiteral("connected")).toBool();
             ++ticks) {
            panel_->tick();
        }
        QVERIFY(commands_->Status().value(QStringLiteral("connected")).toBool());
        QCoreApplication::processEvents();
        caller_ = std::make_unique<BusCaller>(QStringLiteral("caller%1").arg(served_));
    }

    // The level of channel c in tenths as the simulated unit holds it.
    int unitLevel(int c) {
        const QRegularExpression key(QStringLiteral("unit0\\.channel%1\\.intensity=(\\d+)").arg(c));
        const auto match = key.match(status());
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }

    static QList<int> levelsIn(const QVariantMap& change) {
        return qdbus_cast<QList<int>>(change.value(QStringLiteral("Levels")));
    }

    // The methods, properties and signals an introspection text names, as "kind name".
    static QStringList members(const QString& xml) {
        const QRegularExpression member(
            QStringLiteral("<(method|property|signal)\\b[^>]*\\bname=\"(\\w+)\""));
        QStringList found;
        for (const auto& match : member.globalMatch(xml)) {
            found.append(match.captured(1) + QLatin1Char(' ') + match.captured(2));
        }
        return found;
    }

    bool waitForChannelEvent(int channel, const QString& by) {
        const QDeadlineTimer deadline(5000);
        while (!deadline.hasExpired()) {
            for (const ChannelEvent& event : std::as_const(caller_->channelEvents)) {
                if (event.channel == channel && event.by == by) {
                    return true;
                }
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return false;
    }

private slots:
    void theAdaptorOffersEveryMemberOfTheContract() {
        serve();
        const QDBusMessage reply =
            caller_->call(BusService::kName, kPath, QStringLiteral("org.freedesktop.DBus.Introspectable"),
                          QStringLiteral("Introspect"));
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QFile contract(QStringLiteral(RZ470_BUS_CONTRACT));
        QVERIFY(contract.open(QIODevice::ReadOnly));
        const QStringList promised = members(QString::fromUtf8(contract.readAll()));
        QVERIFY(!promised.isEmpty());
        const QStringList offered = members(reply.arguments().value(0).toString());
        for (const QString& member : promised) {
            QVERIFY2(offered.contains(member), qPrintable(member));
        }
    }

    void everyMethodAnswersAsTheContractSays_data() {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("signature");
        QTest::newRow("GetStatus") << "GetStatus" << QVariantList{} << "a{sv}";
        QTest::newRow("GetChannel") << "GetChannel" << QVariantList{3} << "a{sv}";
        QTest::newRow("GetGrouping") << "GetGrouping" << QVariantList{} << "a{sv}";
        QTest::newRow("GetTrigger") << "GetTrigger" << QVariantList{} << "a{sv}";
        QTest::newRow("GetFavourites") << "GetFavourites" << QVariantList{} << "as";
        QTest::newRow("GetErrors") << "GetErrors" << QVariantList{} << "as";
        QTest::newRow("SwitchOn") << "SwitchOn" << QVariantList{Channels({3, 5})} << "";
        QTest::newRow("SwitchOff") << "SwitchOff" << QVariantList{Channels({3})} << "";
        QTest::newRow("SetLevel") << "SetLevel" << QVariantList{Channels({3}), 45.5} << "";
        QTest::newRow("AllOff") << "AllOff" << QVariantList{} << "";
        QTest::newRow("Rename") << "Rename" << QVariantList{3, QStringLiteral("DAPI")} << "";
        QTest::newRow("SetGroupingMode") << "SetGroupingMode" << QVariantList{1} << "";
        QTest::newRow("SetGroup") << "SetGroup" << QVariantList{3, 0} << "";
        QTest::newRow("SetTimeout") << "SetTimeout" << QVariantList{3, 5} << "";
        QTest::newRow("SetSequence") << "SetSequence" << QVariantList{3, 1} << "";
    }

    void everyMethodAnswersAsTheContractSays() {
        QFETCH(QString, method);
        QFETCH(QVariantList, arguments);
        QFETCH(QString, signature);
        serve();
        const QDBusMessage reply = caller_->call(method, arguments);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage,
                 qPrintable(reply.errorName() + ": " + reply.errorMessage()));
        QCOMPARE(reply.signature(), signature);
    }

    void actsReachTheUnitAndReadsShowThem() {
        serve();
        QCOMPARE(caller_->call(QStringLiteral("SetLevel"), {Channels({3}), 45.5}).type(),
                 QDBusMessage::ReplyMessage);
        panel_->tick(5);
        QCOMPARE(unitLevel(3), 455);
        const QDBusMessage read = caller_->call(QStringLiteral("GetChannel"), {3});
        const QVariantMap channel = qdbus_cast<QVariantMap>(read.arguments().value(0));
        QCOMPARE(channel.value(QStringLiteral("level")).toInt(), 455);
        QCOMPARE(caller_->call(QStringLiteral("Rename"), {3, QStringLiteral("DAPI")}).type(),
                 QDBusMessage::ReplyMessage);
        const QVariantMap renamed =
            qdbus_cast<QVariantMap>(caller_->call(QStringLiteral("GetChannel"), {3}).arguments().value(0));
        QCOMPARE(renamed.value(QStringLiteral("name")).toString(), QStringLiteral("DAPI"));
    }

    void refusalsComeBackAsNamedErrorsWithThePanelsText_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("text");
        QTest::newRow("channel out of range") << ""
                                              << "GetChannel" << QVariantList{10} << "Usage"
                                              << "";
        QTest::newRow("more channels than there are")
            << ""
            << "SwitchOn" << QVariantList{Channels({1, 2, 3, 4, 5, 6, 7, 8, 9, 1})} << "Usage"
            << "name at most 9 channels";
        QTest::newRow("no channel named") << ""
                                          << "SwitchOn" << QVariantList{Channels({})} << "Usage"
                                          << "";
        QTest::newRow("negative level") << ""
                                        << "SetLevel" << QVariantList{Channels({3}), -5.0} << "Usage"
                                        << "a level is a percentage";
        QTest::newRow("level above 100 %") << ""
                                           << "SetLevel" << QVariantList{Channels({3}), 150.0} << "Refused"
                                           << "";
        QTest::newRow("group outside the mode") << ""
                                                << "SetGroup" << QVariantList{3, 2} << "Refused"
                                                << "";
        QTest::newRow("name forging protocol lines")
            << ""
            << "Rename" << QVariantList{3, QStringLiteral("a\nok\nb")} << "Usage"
            << "a name cannot hold control, line-break or text-direction characters (U+000A)";
        QTest::newRow("name outside Latin-1")
            << ""
            << "Rename" << QVariantList{3, QString::fromUtf8("\xCE\xA9mega")} << "Usage"
            << QString::fromUtf8("a name can hold only Latin-1 characters, not \"\xCE\xA9\" (U+03A9)");
        QTest::newRow("grouping mode 3") << ""
                                         << "SetGroupingMode" << QVariantList{3} << "Usage"
                                         << "";
        QTest::newRow("scripting off") << "scripting off"
                                       << "SwitchOn" << QVariantList{Channels({3})} << "ScriptingOff"
                                       << "scripting is off";
        QTest::newRow("demo loop") << "demo loop"
                                   << "SetLevel" << QVariantList{Channels({3}), 10.0} << "Busy"
                                   << "busy: demo loop";
        QTest::newRow("no unit") << "unplug 0"
                                 << "SwitchOn" << QVariantList{Channels({3})} << "UnitAbsent"
                                 << "";
        QTest::newRow("light guide out") << "unit-status clear lightguide"
                                         << "SwitchOn" << QVariantList{Channels({3})} << "Refused"
                                         << "";
        QTest::newRow("no such favourite")
            << ""
            << "LoadFavourite" << QVariantList{QStringLiteral("none")} << "NotFound"
            << "";
    }

    void refusalsComeBackAsNamedErrorsWithThePanelsText() {
        QFETCH(QString, setup);
        QFETCH(QString, method);
        QFETCH(QVariantList, arguments);
        QFETCH(QString, error);
        QFETCH(QString, text);
        serve();
        if (setup == QLatin1String("scripting off")) {
            commands_->SetScriptingAllowed(false);
        } else if (setup == QLatin1String("demo loop")) {
            commands_->SetDemoLoopQuery([] { return true; });
            panel_->tick(2);
        } else if (!setup.isEmpty()) {
            simOk(setup);
            panel_->tick(20);
        }
        panel_->clearLog();
        const QDBusMessage reply = caller_->call(method, arguments);
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), kErrorPrefix + error);
        QVERIFY(!reply.errorMessage().isEmpty());
        if (!text.isEmpty()) {
            QCOMPARE(reply.errorMessage(), text);
        }
        // A refused act sends nothing to the unit.
        QVERIFY2(
            panel_->calls().filter(QRegularExpression(QStringLiteral("^(TurnO|SetIntensity)"))).isEmpty(),
            qPrintable(panel_->calls().join(QLatin1Char(' '))));
        if (setup == QLatin1String("scripting off")) {
            // Reads still answer.
            QCOMPARE(caller_->call(QStringLiteral("GetStatus")).type(), QDBusMessage::ReplyMessage);
        }
    }

    void aScriptedLevelAnnouncesTheLevelsAlone() {
        serve();
        caller_->call(QStringLiteral("SetLevel"), {Channels({3}), 12.3});
        panel_->tick(5);
        QTRY_VERIFY(!caller_->propertyChanges.isEmpty());
        const QVariantMap change = caller_->propertyChanges.last();
        QCOMPARE(change.keys(), QStringList{QStringLiteral("Levels")});
        QCOMPARE(levelsIn(change).value(2), 123);
        // Nothing new, nothing announced.
        const auto announced = caller_->propertyChanges.size();
        panel_->tick(10);
        QTest::qWait(50);
        QCOMPARE(caller_->propertyChanges.size(), announced);
    }

    void aKnobTurnAtTheUnitIsAnnouncedAsTheUnits() {
        serve();
        simOk(QStringLiteral("knob 3 750"));
        panel_->tick(10);
        QVERIFY(waitForChannelEvent(3, QStringLiteral("unit")));
        QTRY_VERIFY(!caller_->propertyChanges.isEmpty());
        QCOMPARE(levelsIn(caller_->propertyChanges.last()).value(2), 750);
        QCOMPARE(caller_->channelEvents.last().level, 750);
    }

    void aClickOnThePanelIsAnnouncedAsThePanels() {
        serve();
        const int panelOfLed3 = 2;
        click(QPoint(mainlayout::PanelLeft(panelOfLed3) + 70, 310));
        panel_->tick(10);
        QVERIFY(waitForChannelEvent(3, QStringLiteral("panel")));
        QTRY_VERIFY(!caller_->propertyChanges.isEmpty());
        QVERIFY(caller_->propertyChanges.last().contains(QStringLiteral("On")));
    }

    void anotherClientsCommandReachesThisOne() {
        serve();
        BusCaller other(QStringLiteral("other%1").arg(served_));
        QCOMPARE(other.call(QStringLiteral("SwitchOn"), {Channels({3})}).type(), QDBusMessage::ReplyMessage);
        panel_->tick(10);
        QVERIFY(waitForChannelEvent(3, QStringLiteral("script")));
        const ChannelEvent& event = caller_->channelEvents.last();
        QVERIFY(event.on);
    }

    void noBusLeavesThePanelRunning() {
        const QDBusConnection none = QDBusConnection::connectToBus(
            QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("none"));
        ScriptCommands commands(dialog().session(), dialog().settings());
        BusService service(commands, none);
        QCOMPARE(service.Start(), BusService::Outcome::NoBus);
        QVERIFY(BusService::Explain(BusService::Outcome::NoBus).startsWith(QLatin1String("no session bus")));
        panel_->tick(3);
        QDBusConnection::disconnectFromBus(QStringLiteral("none"));
    }

    void aSecondServiceDoesNotTakeTheName() {
        serve();
        ScriptCommands commands(dialog().session(), dialog().settings());
        BusService second(
            commands, QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("second")));
        QCOMPARE(second.Start(), BusService::Outcome::NameTaken);
        QCOMPARE(caller_->call(QStringLiteral("GetStatus")).type(), QDBusMessage::ReplyMessage);
        QDBusConnection::disconnectFromBus(QStringLiteral("second"));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    PrivateBus bus;
    if (!bus.running()) {
        qCritical("dbus-daemon did not start");
        return 1;
    }
    BusServiceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_busservice.moc"
