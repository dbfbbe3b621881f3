// The command layer on the started panel and the simulated unit: every read and act, the
// refusals a click meets, the demo loop and "Allow scripting", who each event names, and the
// screen drawing a scripted change at once.
#include "CDemo.h"
#include "MainScreenLayout.h"
#include "PanelSettings.h"
#include "ScriptCommands.h"
#include "ScreenStates.h"
#include "ScriptedPanelTest.h"
#include "SettingsKeys.h"
#include "SurfaceChecks.h"
#include "WindowMenu.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

#include <functional>

using Act = std::function<ScriptReply(ScriptCommands&)>;
Q_DECLARE_METATYPE(Act)

namespace {

// A ChannelChanged as "3 on=1 level=455 name=DAPI by=script".
QString Describe(const QList<QVariant>& event) {
    return QStringLiteral("%1 on=%2 level=%3 name=%4 by=%5")
        .arg(event[0].toInt())
        .arg(event[1].toBool() ? 1 : 0)
        .arg(event[2].toInt())
        .arg(event[3].toString(), event[4].toString());
}

QStringList Described(const QSignalSpy& spy) {
    QStringList lines;
    for (const QList<QVariant>& event : spy) {
        lines << Describe(event);
    }
    return lines;
}

}  // namespace

class ScriptCommandsTest : public ScriptedPanelTest {
    Q_OBJECT

private:
    QStringList unitCommandsSent() {
        QStringList sent;
        for (const QString& name : panel_->calls()) {
            if (name.startsWith(QLatin1String("Set")) || name.startsWith(QLatin1String("Turn"))) {
                sent << name;
            }
        }
        return sent;
    }

private slots:
    void statusReadsTheUnitAsThePanelHoldsIt() {
        const QJsonObject status = commands().Status();
        QCOMPARE(status.value("connected").toBool(), true);
        QCOMPARE(status.value("model").toString(), simField("identifier"));
        QVERIFY(status.value("serial").toString().endsWith(QStringLiteral("00042")));
        QCOMPARE(status.value("versions").toObject().value("unit").toString(), QStringLiteral("1.4.0"));
        QCOMPARE(status.value("lightGuide").toBool(), true);
        QCOMPARE(status.value("knobLock").toBool(), false);
        QCOMPARE(status.value("scriptingAllowed").toBool(), true);
        QCOMPARE(status.value("demoLoop").toBool(), false);
        const QJsonArray channels = status.value("channels").toArray();
        QCOMPARE(channels.size(), 9);
        for (int c = 1; c <= 9; ++c) {
            const QJsonObject channel = channels[c - 1].toObject();
            const QString key = QStringLiteral("channel%1.").arg(c);
            QCOMPARE(channel.value("channel").toInt(), c);
            QCOMPARE(QString::number(channel.value("wavelength").toInt()), simField(key + "wavelength"));
            QCOMPARE(QString::number(channel.value("level").toInt()), simField(key + "intensity"));
            QCOMPARE(channel.value("on").toBool(), simField(key + "on") == QLatin1String("1"));
            QCOMPARE(channel.value("name").toString(), simField(key + "name"));
            QCOMPARE(commands().Channel(c).value.toObject(), channel);
        }
    }

    void readsOfTablesFavouritesAndErrors() {
        simOk("knob 2 0");
        QCOMPARE(commands().Grouping().value("groups").toArray().size(), 9);
        QCOMPARE(commands().Trigger().value("timeouts").toArray().size(), 9);
        QCOMPARE(commands().Trigger().value("sequence").toArray().size(), 9);

        QVERIFY(commands().Favourites().isEmpty());
        dialog().settings().SetFavourite(3, FavouriteGrouping{QStringLiteral("Four blues"), 0, 1});
        QCOMPARE(commands().Favourites(), QStringList{QStringLiteral("Four blues")});

        QVERIFY(commands().Errors().isEmpty());
        simOk("channel-status 2 set overtemp");
        readBack();
        QVERIFY(!commands().Errors().isEmpty());
        QCOMPARE(commands().Channel(2).value.toObject().value("alarm").toInt(), 0x80);
    }

    void channelsOutsideOneToNineAreUsage_data() {
        QTest::addColumn<Act>("act");
        QTest::newRow("channel 0") << Act([](ScriptCommands& c) { return c.Channel(0); });
        QTest::newRow("channel 10") << Act([](ScriptCommands& c) { return c.Channel(10); });
        QTest::newRow("on 0") << Act([](ScriptCommands& c) { return c.Switch({0}, true); });
        QTest::newRow("on nothing") << Act([](ScriptCommands& c) { return c.Switch({}, true); });
        QTest::newRow("off 3 10") << Act([](ScriptCommands& c) { return c.Switch({3, 10}, false); });
        QTest::newRow("level -1 %") << Act([](ScriptCommands& c) { return c.SetLevel({3}, -1); });
        QTest::newRow("level nan") << Act([](ScriptCommands& c) { return c.SetLevel({3}, std::nan("")); });
        QTest::newRow("name too long") << Act([](ScriptCommands& c) { return c.Rename(3, "ninechars"); });
        QTest::newRow("grouping mode 3") << Act([](ScriptCommands& c) { return c.SetGroupingMode(3); });
        QTest::newRow("group 7") << Act([](ScriptCommands& c) { return c.SetGroup(3, 7); });
        QTest::newRow("timeout -1") << Act([](ScriptCommands& c) { return c.SetTimeout(3, -1); });
        QTest::newRow("timeout 65536") << Act([](ScriptCommands& c) { return c.SetTimeout(3, 65536); });
        QTest::newRow("sequence 10") << Act([](ScriptCommands& c) { return c.SetSequence(3, 10); });
        QTest::newRow("load no name") << Act([](ScriptCommands& c) { return c.LoadFavourite(QString()); });
    }

    void channelsOutsideOneToNineAreUsage() {
        QFETCH(Act, act);
        const ScriptReply reply = act(commands());
        QVERIFY(!reply.ok);
        QCOMPARE(reply.kind, scripterrors::kUsage);
        QVERIFY(unitCommandsSent().isEmpty());
    }

    void actsReachTheUnit_data() {
        QTest::addColumn<Act>("act");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::newRow("on 3") << Act([](ScriptCommands& c) { return c.Switch({3}, true); }) << "channel3.on"
                              << "1";
        QTest::newRow("on 2 7") << Act([](ScriptCommands& c) {
            return c.Switch({2, 7}, true);
        }) << "channel7.on"
                                << "1";
        QTest::newRow("level 3 45.5")
            << Act([](ScriptCommands& c) { return c.SetLevel({3}, 45.5); }) << "channel3.intensity"
            << "455";
        QTest::newRow("level 1 9 0") << Act([](ScriptCommands& c) {
            return c.SetLevel({1, 9}, 0);
        }) << "channel9.intensity"
                                     << "0";
        QTest::newRow("level 100.1 is full scale")
            << Act([](ScriptCommands& c) { return c.SetLevel({6}, 100.1); }) << "channel6.intensity"
            << "1000";
        QTest::newRow("grouping mode 2, group 3 4") << Act([](ScriptCommands& c) {
            c.SetGroupingMode(2);
            return c.SetGroup(3, 4);
        }) << "group4"
                                                    << "3,0,0,0,0,0,0,0,0";
        QTest::newRow("timeout 3 12")
            << Act([](ScriptCommands& c) { return c.SetTimeout(3, 12); }) << "ttlTimeout"
            << "0,0,12,0,0,0,0,0,0";
        QTest::newRow("sequence 5 2")
            << Act([](ScriptCommands& c) { return c.SetSequence(5, 2); }) << "ttlSequence"
            << "0,0,0,0,2,0,0,0,0";
    }

    void actsReachTheUnit() {
        QFETCH(Act, act);
        QFETCH(QString, field);
        QFETCH(QString, value);
        const ScriptReply reply = act(commands());
        QVERIFY2(reply.ok, qPrintable(reply.message));
        QCOMPARE(simField(field), value);
    }

    void levelsOfSeveralChannelsGoInOneSend() {
        QVERIFY(commands().SetLevel({1, 4, 8}, 30).ok);
        QCOMPARE(unitCommandsSent(), QStringList{QStringLiteral("SetIntensityLevel")});
        for (const char* field : {"channel1.intensity", "channel4.intensity", "channel8.intensity"}) {
            QCOMPARE(simField(field), QStringLiteral("300"));
        }
        // Stored as a typed level is, by wavelength.
        QCOMPARE(dialog().settings().ChannelIntensity(simField("channel4.wavelength").toUShort()),
                 std::optional<uint16_t>(300));
    }

    void offThenOnAgainBeforeTheReadStillSwitchesOn() {
        QVERIFY(commands().Switch({3}, true).ok);
        readBack();
        QVERIFY(commands().Switch({3}, false).ok);
        QVERIFY(commands().Switch({3}, true).ok);
        readBack();
        QCOMPARE(simField("channel3.on"), QStringLiteral("1"));
    }

    // Both transports rename through here: a name is kept as written or refused before anything
    // is stored, never mangled after an ok.
    void namesAreKeptAsWrittenOrRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("refusal");

        const QString control =
            QStringLiteral("a name cannot hold control, line-break or text-direction characters (%1)");
        QTest::newRow("Latin-1") << QString::fromUtf8("Gr\xC3\xBCn \xC2\xB5") << QString();
        QTest::newRow("forged protocol lines") << "a\nok\nb" << control.arg("U+000A");
        QTest::newRow("escape sequence") << "\x1b[2J" << control.arg("U+001B");
        QTest::newRow("CR") << "a\rb" << control.arg("U+000D");
        QTest::newRow("BEL") << "a\a" << control.arg("U+0007");
        QTest::newRow("DEL") << "a\x7f" << control.arg("U+007F");
        QTest::newRow("tab") << "a\tb" << control.arg("U+0009");
        QTest::newRow("NEL") << "a" + QString(QChar(0x85)) << control.arg("U+0085");
        QTest::newRow("line separator") << "a" + QString(QChar(0x2028)) << control.arg("U+2028");
        QTest::newRow("right-to-left override") << QString(QChar(0x202E)) + "abc" << control.arg("U+202E");
        QTest::newRow("Greek, never ?mega") << QString::fromUtf8("\xCE\xA9mega")
                                            << QString::fromUtf8(
                                                   "a name can hold only Latin-1 characters, "
                                                   "not \"\xCE\xA9\" (U+03A9)");
        // Refused for what it holds before its length is looked at.
        QTest::newRow("long with a newline") << "abcdefghij\n" << control.arg("U+000A");
    }

    void namesAreKeptAsWrittenOrRefused() {
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        const uint16_t wavelength = simField("channel3.wavelength").toUShort();
        const QString before = commands().Channel(3).value.toObject().value("name").toString();
        QSignalSpy events(&commands(), &ScriptCommands::ChannelChanged);

        const ScriptReply reply = commands().Rename(3, name);
        if (refusal.isEmpty()) {
            QVERIFY(reply.ok);
            QCOMPARE(commands().Channel(3).value.toObject().value("name").toString(), name);
            QCOMPARE(dialog().settings().ChannelName(wavelength), name);
            return;
        }
        QCOMPARE(reply.kind, scripterrors::kUsage);
        QCOMPARE(reply.message, refusal);
        QCOMPARE(commands().Channel(3).value.toObject().value("name").toString(), before);
        QCOMPARE(dialog().settings().ChannelName(wavelength), QString());
        QCOMPARE(events.count(), 0);
    }

    void allOffAndRenameAndLoad() {
        QVERIFY(commands().Switch({2, 5}, true).ok);
        readBack();
        QVERIFY(commands().AllOff().ok);
        QCOMPARE(simField("channel2.on"), QStringLiteral("0"));
        QCOMPARE(simField("channel5.on"), QStringLiteral("0"));

        QVERIFY(commands().Rename(3, QStringLiteral("DAPI")).ok);
        QCOMPARE(commands().Channel(3).value.toObject().value("name").toString(), QStringLiteral("DAPI"));
        QCOMPARE(dialog().settings().ChannelName(simField("channel3.wavelength").toUShort()),
                 QStringLiteral("DAPI"));

        std::array<uint8_t, 9> groups{1, 1, 2, 0, 0, 0, 0, 0, 4};
        dialog().settings().SetFavourite(
            2, FavouriteGrouping{QStringLiteral("Pairs"), PanelSettings::PackGroups(groups), 1});
        const ScriptReply missing = commands().LoadFavourite(QStringLiteral("Nothing"));
        QCOMPARE(missing.kind, scripterrors::kNotFound);
        QVERIFY(commands().LoadFavourite(QStringLiteral("Pairs")).ok);
        QCOMPARE(commands().Grouping().value("mode").toInt(), 1);
        QCOMPARE(simField("group1"), QStringLiteral("1,2,0,0,0,0,0,0,0"));
        QCOMPARE(simField("group4"), QStringLiteral("9,0,0,0,0,0,0,0,0"));
        // Grouping off, as choosing the mode in force again turns it off on the screen.
        QVERIFY(commands().SetGroupingMode(0).ok);
        QCOMPARE(commands().Grouping().value("mode").toInt(), 0);
        QCOMPARE(simField("group1"), QStringLiteral("0,0,0,0,0,0,0,0,0"));
    }

    void refusalsOfAClick_data() {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<Act>("act");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        const Act on3 = [](ScriptCommands& c) { return c.Switch({3}, true); };
        QTest::newRow("light guide out") << QStringList{"unit-status clear lightguide"} << on3 << "refused"
                                         << "Light Guide not inserted";
        QTest::newRow("alarm") << QStringList{"channel-status 3 set current"} << on3 << "refused"
                               << "AlarmActive on LED, Proceed to maintenance screen";
        QTest::newRow("triggered") << QStringList{"triggered 3 1"} << on3 << "refused"
                                   << "LED 3 is triggered";
        QTest::newRow("not fitted") << QStringList{"channel-status 3 clear fitted"} << on3 << "refused"
                                    << "LED 3 is not fitted";
        QTest::newRow("level of a channel not fitted")
            << QStringList{"channel-status 3 clear fitted"} << Act([](ScriptCommands& c) {
                   return c.SetLevel({2, 3}, 20);
               })
            << "refused"
            << "LED 3 is not fitted";
        QTest::newRow("level below the minimum")
            << QStringList{} << Act([](ScriptCommands& c) { return c.SetLevel({4}, 2); }) << "refused"
            << "LED 4 takes 0 or 5.0 to 100.0 %";
        QTest::newRow("group above the mode's limit")
            << QStringList{} << Act([](ScriptCommands& c) { return c.SetGroup(3, 1); }) << "refused"
            << "grouping mode 0 takes groups 0 to 0";
        QTest::newRow("second of two refused stops there")
            << QStringList{"triggered 7 1"} << Act([](ScriptCommands& c) {
                   return c.Switch({7, 8}, true);
               })
            << "refused"
            << "LED 7 is triggered";
    }

    void refusalsOfAClick() {
        QFETCH(QStringList, setup);
        QFETCH(Act, act);
        QFETCH(QString, kind);
        QFETCH(QString, message);
        for (const QString& command : setup) {
            simOk(command);
        }
        readBack();
        panel_->clearLog();
        const ScriptReply reply = act(commands());
        QVERIFY(!reply.ok);
        QCOMPARE(reply.kind, kind);
        QCOMPARE(reply.message, message);
        QVERIFY(unitCommandsSent().isEmpty());
        // Never a dialog or a popup for a script.
        QVERIFY(panel_->prompts.modalsShown.isEmpty());
        QVERIFY(panel_->prompts.shown.isEmpty());
        QVERIFY(panel_->prompts.errors.isEmpty());
    }

    void aUnitThatDoesNotAnswerIsAbsent() {
        simOk("fail DeviceActive 1000");
        const ScriptReply reply = commands().Switch({3}, true);
        QCOMPARE(reply.kind, scripterrors::kAbsent);
        QVERIFY(commands().Status().value("connected").toBool());
        simOk("fail DeviceActive 0");
    }

    void demoLoopAndScriptingOffRefuseActsButNotReads_data() {
        QTest::addColumn<bool>("demoLoop");
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("demo loop runs") << true << true << "busy"
                                        << "busy: demo loop";
        QTest::newRow("scripting off") << false << false << "off"
                                       << "scripting is off";
        QTest::newRow("both: off first") << true << false << "off"
                                         << "scripting is off";
    }

    void demoLoopAndScriptingOffRefuseActsButNotReads() {
        QFETCH(bool, demoLoop);
        QFETCH(bool, allowed);
        QFETCH(QString, kind);
        QFETCH(QString, message);
        dialog().demoLoop().sequence().m_running = demoLoop ? 1 : 0;
        commands().SetScriptingAllowed(allowed);
        panel_->tick();
        QCOMPARE(commands().Status().value("demoLoop").toBool(), demoLoop);
        QCOMPARE(commands().Status().value("scriptingAllowed").toBool(), allowed);
        const std::vector<Act> acts{
            [](ScriptCommands& c) { return c.Switch({3}, true); },
            [](ScriptCommands& c) { return c.SetLevel({3}, 10); },
            [](ScriptCommands& c) { return c.AllOff(); },
            [](ScriptCommands& c) { return c.Rename(3, "x"); },
            [](ScriptCommands& c) { return c.SetGroupingMode(1); },
            [](ScriptCommands& c) { return c.SetGroup(3, 0); },
            [](ScriptCommands& c) { return c.LoadFavourite("x"); },
            [](ScriptCommands& c) { return c.SetTimeout(3, 5); },
            [](ScriptCommands& c) { return c.SetSequence(3, 1); },
        };
        for (const Act& act : acts) {
            const ScriptReply reply = act(commands());
            QCOMPARE(reply.kind, kind);
            QCOMPARE(reply.message, message);
        }
        QVERIFY(unitCommandsSent().isEmpty());
        QVERIFY(commands().Channel(3).ok);
        dialog().demoLoop().sequence().m_running = 0;
    }

    void allowScriptingIsAWindowMenuItemStoredInTheSettings() {
        QMenu* menu = dialog().windowMenu().popupMenu();
        QVERIFY(menu != nullptr);
        QAction* item = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text() == QLatin1String(WindowMenu::kAllowScriptingText)) {
                item = action;
            }
        }
        QVERIFY(item != nullptr);
        QVERIFY(item->isCheckable());
        QVERIFY(item->isChecked());  // by default
        QSignalSpy changed(&commands(), &ScriptCommands::ScriptingAllowedChanged);
        item->trigger();
        QVERIFY(!commands().scriptingAllowed());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(panel_->profile().readInt(settings::kScriptingSection, settings::kAllowScriptingValue, -1),
                 0);
        emit menu->aboutToShow();
        QVERIFY(!item->isChecked());
        QCOMPARE(commands().Switch({3}, true).kind, scripterrors::kOff);
        dialog().windowMenu().HandleSystemCommand(WindowMenu::kAllowScripting);
        QVERIFY(commands().scriptingAllowed());
        QVERIFY(item->isChecked());
        QCOMPARE(panel_->profile().readInt(settings::kScriptingSection, settings::kAllowScriptingValue, -1),
                 1);
    }

    void eventsNameWhoChangedTheChannel() {
        QSignalSpy events(&commands(), &ScriptCommands::ChannelChanged);
        const QString name3 = simField("channel3.name");

        // A script's level shows at once; its switch with the read that brings it back.
        QVERIFY(commands().SetLevel({3}, 45.5).ok);
        QVERIFY(commands().Switch({3}, true).ok);
        readBack();
        // A click on the panel: LED 5's switch, then LED 5's up arrow.
        const int x5 = mainlayout::PanelLeft(4);
        click(QPoint(x5 + 70, 310));
        readBack();
        click(QPoint(x5 + 40, 170));
        readBack();
        // A knob turned at the unit.
        simOk("knob 6 700");
        readBack();
        const QString name5 = simField("channel5.name");
        const QString name6 = simField("channel6.name");
        QCOMPARE(Described(events), (QStringList{"3 on=0 level=455 name=" + name3 + " by=script",
                                                 "3 on=1 level=455 name=" + name3 + " by=script",
                                                 "5 on=1 level=500 name=" + name5 + " by=panel",
                                                 "5 on=1 level=505 name=" + name5 + " by=panel",
                                                 "6 on=0 level=700 name=" + name6 + " by=unit"}));
    }

    void alarmEventsAndTheUnitsOwn() {
        QSignalSpy alarms(&commands(), &ScriptCommands::AlarmChanged);
        simOk("channel-status 4 set overtemp");
        readBack();
        simOk("channel-status 4 clear overtemp");
        simOk("unit-status set alarm");
        readBack();
        // A channel's alarm raises the unit's own; the unit's stays while it is set there.
        QCOMPARE(alarms.size(), 3);
        QCOMPARE(alarms[0], (QList<QVariant>{4, true, 0x80u}));
        QCOMPARE(alarms[1], (QList<QVariant>{0, true, 0x1u}));
        QCOMPARE(alarms[2], (QList<QVariant>{4, false, 0u}));
    }

    void aScriptedChangeIsOnScreenAtOnce() {
        QVERIFY(screenIsCurrent());
        const QImage before = surface().copy();
        QVERIFY(commands().SetLevel({3, 5}, 45.5).ok);
        QVERIFY(commands().Rename(3, QStringLiteral("DAPI")).ok);
        QVERIFY(surface() != before);
        QVERIFY(screenIsCurrent());
        QCOMPARE(dialog().slider(2).value(), 1000 - 455);
        QCOMPARE(dialog().slider(4).value(), 1000 - 455);

        // The switch shows the state asked for, as a released click does, before the unit is read.
        const QImage off = surface().copy();
        QVERIFY(commands().Switch({3}, true).ok);
        const int x3 = mainlayout::PanelLeft(2);
        const QRect switchBox(x3, 283, 140, 50);
        QVERIFY(surface().copy(switchBox) != off.copy(switchBox));
        readBack();
        QVERIFY(screenIsCurrent());
    }

    void aScriptedTableChangeIsOnTheScreenShowingIt_data() {
        QTest::addColumn<int>("mode");  // grouping mode set first
        QTest::addColumn<int>("screen");
        QTest::addColumn<Act>("act");
        QTest::newRow("grouping mode") << 0 << screens::kGroupingFirst
                                       << Act([](ScriptCommands& c) { return c.SetGroupingMode(1); });
        QTest::newRow("group of the opened LED")
            << 1 << screens::kGroupingFirst << Act([](ScriptCommands& c) { return c.SetGroup(1, 3); });
        QTest::newRow("group of another LED")
            << 1 << screens::kGroupingFirst + 2 << Act([](ScriptCommands& c) { return c.SetGroup(6, 2); });
        QTest::newRow("timeout") << 0 << screens::kTriggerFirst + 4
                                 << Act([](ScriptCommands& c) { return c.SetTimeout(5, 7); });
        QTest::newRow("sequence step")
            << 0 << screens::kTriggerFirst << Act([](ScriptCommands& c) { return c.SetSequence(8, 2); });
    }

    void aScriptedTableChangeIsOnTheScreenShowingIt() {
        QFETCH(int, mode);
        QFETCH(int, screen);
        QFETCH(Act, act);
        QVERIFY(commands().SetGroupingMode(mode).ok);
        dialog().router().ChangeScreen(screen);
        const QImage before = surface().copy();
        const ScriptReply reply = act(commands());
        QVERIFY2(reply.ok, qPrintable(reply.message));
        QVERIFY(surface() != before);
        QVERIFY(screenIsCurrent());
    }

    // The tick that finds the unit gone keeps its message up until someone clicks: meanwhile every
    // request is answered at once, and nothing shows a LED lit that nobody can see any more.
    void whileTheLostUnitIsToldEveryRequestIsAnsweredAtOnce() {
        QVERIFY(commands().Switch({3}, true).ok);
        readBack();
        QCOMPARE(simField("channel3.on"), QStringLiteral("1"));
        bool asked = false;
        bool queued = false;
        bool queuedRan = false;
        bool ranAtOnce = false;
        QList<ScriptReply> acts;
        QJsonObject status;
        ScriptReply channel;
        bool switchShownOff = false;
        bool screenCurrent = false;
        // A command that came just before, waiting for the tick to end, is answered too.
        connect(&dialog().session(), &UnitSession::TickStarting, this, [&] {
            if (!queued) {
                queued = true;
                QVERIFY(commands().RunWhenIdle([&queuedRan] { queuedRan = true; }));
            }
        });
        panel_->prompts.whileShown = [&](const ScriptedPrompts::Shown& shown) {
            if (asked || !shown.title.contains(QLatin1String("Not Found"))) {
                return;
            }
            asked = true;
            QVERIFY(dialog().session().inTick());
            QTRY_VERIFY(queuedRan);  // within the message box's own loop
            QVERIFY(commands().RunWhenIdle([&ranAtOnce] { ranAtOnce = true; }));
            acts << commands().Switch({3}, false) << commands().SetLevel({3}, 50) << commands().AllOff()
                 << commands().Rename(3, QStringLiteral("Gone")) << commands().SetGroup(3, 1);
            status = commands().Status();
            channel = commands().Channel(3);
            const int x0 = mainlayout::PanelLeft(2);
            switchShownOff =
                surfacechecks::shows(surface(), mainlayout::kSwitch.picture, x0, mainlayout::kSwitch.place.y);
            screenCurrent = screenIsCurrent();
        };
        simOk("unplug 0");
        panel_->tick();
        QVERIFY(asked);
        QVERIFY(queuedRan);
        QVERIFY(ranAtOnce);
        for (const ScriptReply& reply : acts) {
            QCOMPARE(reply.kind, scripterrors::kAbsent);
            QCOMPARE(reply.message, QStringLiteral("no unit answers"));
        }
        QCOMPARE(status.value("connected").toBool(), false);
        for (const QJsonValue& each : status.value("channels").toArray()) {
            QVERIFY(!each.toObject().value("on").toBool());
        }
        QCOMPARE(channel.kind, scripterrors::kAbsent);
        QVERIFY(switchShownOff);
        QVERIFY(screenCurrent);
    }

    void aCommandInsideATickWaitsForItsEnd() {
        QStringList order;
        bool ranInside = false;
        bool refusedInside = false;
        bool queued = false;
        connect(&dialog().session(), &UnitSession::ValuesRead, this, [&] {
            if (queued) {
                return;
            }
            queued = true;
            refusedInside = commands().SetLevel({3}, 10).kind == scripterrors::kBusy;
            for (int i = 1; i <= 3; ++i) {
                QVERIFY(commands().RunWhenIdle([&, i] {
                    ranInside = ranInside || dialog().session().inTick();
                    order << QString::number(i);
                    commands().SetLevel({3}, 10.0 * i);
                }));
            }
        });
        panel_->tick(11);
        QVERIFY(order.isEmpty());  // no tick ended with an event loop in between
        QTRY_COMPARE(order, (QStringList{"1", "2", "3"}));
        QVERIFY(refusedInside);
        QVERIFY(!ranInside);
        QCOMPARE(simField("channel3.intensity"), QStringLiteral("300"));
    }
};

QTEST_MAIN(ScriptCommandsTest)
#include "tst_scriptcommands.moc"
