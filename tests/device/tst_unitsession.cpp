// The unit session on the simulated unit with no window: the poll rhythm and its reports, the
// commands and their one guard, the close-time restore.
#include "RZ470Sim.h"
#include "RecordingWaits.h"
#include "TestPaths.h"
#include "UnitSession.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>

class UnitSessionTest : public QObject {
    Q_OBJECT

    // The unit's own intensity read, with channel 2's level made junk while asked.
    static inline RZ470_GetIntensityLevel_t realGetIntensityLevel_ = nullptr;
    static inline bool junkForChannel2_ = false;
    static int RZ470_CALL ReportsJunkForChannel2(RZ470Word dev, RZ470Word* l1, RZ470Word* l2, RZ470Word* l3,
                                                 RZ470Word* l4, RZ470Word* l5, RZ470Word* l6, RZ470Word* l7,
                                                 RZ470Word* l8, RZ470Word* l9) {
        const int result = realGetIntensityLevel_(dev, l1, l2, l3, l4, l5, l6, l7, l8, l9);
        if (result != 0 && junkForChannel2_) {
            *l2 = 1200;
        }
        return result;
    }

private:
    QTemporaryDir simHome_;
    RecordingWaits waits_;
    QHash<uint16_t, QString> storedNames_;
    QHash<uint16_t, uint16_t> storedLevels_;
    std::unique_ptr<UnitSession> session_;
    RZ470Sim_Command_t simCommand_ = nullptr;

    QString sim(const QString& command) {
        return QString::fromUtf8(simCommand_(command.toUtf8().constData()));
    }
    void simOk(const QString& command) { QCOMPARE(sim(command), QStringLiteral("ok")); }
    QStringList callLines() {
        return sim(QStringLiteral("log 2000")).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QStringList calls() {
        QStringList names;
        for (const QString& line : callLines()) {
            names << line.section(QLatin1Char('('), 0, 0).trimmed();
        }
        return names;
    }
    void clearLog() { sim(QStringLiteral("log clear")); }

    // The calls a command made, the reads of DeviceActive left out.
    QStringList commandCalls() {
        QStringList made = calls();
        made.removeAll(QStringLiteral("DeviceActive"));
        return made;
    }

private slots:
    void initTestCase() {
        QVERIFY(simHome_.isValid());
        qputenv("RZ470_SIM_HOME", simHome_.path().toUtf8());
    }

    void init() {
        storedNames_.clear();
        storedLevels_.clear();
        waits_.waits.clear();
        session_ = std::make_unique<UnitSession>(
            waits_, StoredChannelValues{[this](uint16_t w) { return storedNames_.value(w); },
                                        [this](uint16_t w) -> std::optional<uint16_t> {
                                            if (!storedLevels_.contains(w)) {
                                                return std::nullopt;
                                            }
                                            return storedLevels_.value(w);
                                        }});
        QCOMPARE(session_->Bind({testpaths::binDir()}), std::nullopt);
        simCommand_ = reinterpret_cast<RZ470Sim_Command_t>(dlsym(session_->api().module, "RZ470Sim_Command"));
        QVERIFY(simCommand_ != nullptr);
        simOk(QStringLiteral("reset"));
        session_->table().Prepare();
        clearLog();
    }

    void cleanup() { session_.reset(); }

    void theFirstTickFindsReadsAndEndsTheTitlePhase() {
        storedNames_.insert(405, QStringLiteral("DAPI"));
        storedLevels_.insert(365, 373);
        QSignalSpy titleEnded(session_.get(), &UnitSession::TitlePhaseEnded);
        QSignalSpy notFound(session_.get(), &UnitSession::UnitNotFound);
        session_->Tick();

        QCOMPARE(session_->unit().deviceIndex, uint16_t(0));
        QCOMPARE(QByteArray(session_->unit().channels[1].name), QByteArray("DAPI"));
        QCOMPARE(session_->unit().channels[0].intensity, uint16_t(373));
        QVERIFY(sim(QStringLiteral("status")).contains(QStringLiteral("unit0.channel1.intensity=373")));
        QCOMPARE(titleEnded.count(), 1);
        QCOMPARE(notFound.count(), 0);
        QCOMPARE(session_->pollCountdown(), uint16_t(9));
        QVERIFY(calls().contains(QStringLiteral("GetTTLTimeout")));
    }

    // A stored name edited by hand to hold what the panel cannot keep counts as none, and so does a
    // unit's name with control bytes: neither reaches the screen or a script.
    void namesThePanelCannotKeepCountAsNone_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("unitName");
        QTest::addColumn<QByteArray>("name");

        QTest::newRow("stored Latin-1 kept")
            << QString::fromUtf8("Gr\xC3\xBCn") << "Violet 405" << QByteArray("Gr\xFCn");
        QTest::newRow("stored lines") << "a\nok\nb"
                                      << "Violet 405" << QByteArray("Violet 405");
        QTest::newRow("stored escape sequence") << "\x1b[2J"
                                                << "Violet 405" << QByteArray("Violet 405");
        QTest::newRow("stored right-to-left override") << QString(QChar(0x202E)) + "abc"
                                                       << "Violet 405" << QByteArray("Violet 405");
        QTest::newRow("stored Greek, never ?mega")
            << QString::fromUtf8("\xCE\xA9mega") << "Violet 405" << QByteArray("Violet 405");
        // The unit's name is 8-bit text: the UTF-8 of NEL brings the C1 byte 0x85.
        QTest::newRow("unit name with NEL") << ""
                                            << QString::fromUtf8(
                                                   "a\xC2\x85"
                                                   "b")
                                            << QByteArray();
        QTest::newRow("unit name in UTF-8 bytes kept")
            << "" << QString::fromUtf8("\xCE\xA9") << QByteArray("\xCE\xA9");
    }

    void namesThePanelCannotKeepCountAsNone() {
        QFETCH(QString, stored);
        QFETCH(QString, unitName);
        QFETCH(QByteArray, name);
        storedNames_.insert(405, stored);
        simOk(QStringLiteral("name 2 ") + unitName);
        session_->Tick();
        QCOMPARE(QByteArray(session_->unit().channels[1].name), name);
    }

    void statusAndIntensityReadsAreReported() {
        session_->Tick();
        QSignalSpy read(session_.get(), &UnitSession::ValuesRead);
        QList<int> readTicks;
        for (int tick = 1; tick <= 20; ++tick) {
            const int before = read.count();
            session_->Tick();
            if (read.count() > before) {
                readTicks << tick;
            }
        }
        QCOMPARE(readTicks, (QList<int>{5, 10, 15, 20}));
    }

    // The demo loop stops on an alarm of the unit the panel shows; it is told once per change of
    // the status word, after the redraws of the same read, and not about another unit.
    void unitStatusChangesAreReportedOnceForTheUnitShown_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("reports");
        QTest::newRow("the unit shown") << QStringLiteral("unit-status set alarm") << 1;
        QTest::newRow("a second unit") << QStringLiteral("unit 1 unit-status set alarm") << 0;
    }

    void unitStatusChangesAreReportedOnceForTheUnitShown() {
        QFETCH(QString, command);
        QFETCH(int, reports);
        session_->Tick();
        simOk(QStringLiteral("plug 1"));
        for (int tick = 0; tick < 20; ++tick) {
            session_->Tick();
        }
        QStringList told;
        connect(session_.get(), &UnitSession::ValuesRead, this, [&told] { told << QStringLiteral("read"); });
        connect(session_.get(), &UnitSession::UnitStatusChanged, this,
                [&told] { told << QStringLiteral("status"); });
        simOk(command);
        for (int tick = 0; tick < 30; ++tick) {
            session_->Tick();
        }
        QCOMPARE(told.count(QStringLiteral("status")), reports);
        if (reports > 0) {
            QCOMPARE(told.at(told.indexOf(QStringLiteral("status")) - 1), QStringLiteral("read"));
            QVERIFY((session_->unit().unitStatus & rz470::UnitStatus::AlarmActive) != 0);
        }
    }

    // With a second unit connected each unit still gets both reads in the same rhythm; a count
    // stepped once per unit left the unit in slot 0 with only one kind of read.
    void everyUnitGetsBothReadsWithTwoConnected() {
        session_->Tick();
        simOk(QStringLiteral("plug 1"));
        session_->Tick();
        QCOMPARE(session_->table().unitSlots[1].deviceIndex, uint16_t(1));
        clearLog();
        QSignalSpy read(session_.get(), &UnitSession::ValuesRead);
        for (int tick = 0; tick < 20; ++tick) {
            session_->Tick();
        }
        const QStringList lines = callLines();
        for (const QString& read : {QStringLiteral("GetUnitStatus"), QStringLiteral("GetIntensityLevel")}) {
            for (const int dev : {0, 1}) {
                QCOMPARE(
                    lines.filter(QRegularExpression(QStringLiteral("^%1\\(%2,").arg(read).arg(dev))).size(),
                    2);
            }
        }
        QCOMPARE(read.count(), 8);
    }

    void noUnitForTwoHundredTicksIsReported() {
        simOk(QStringLiteral("unplug 0"));
        QSignalSpy notFound(session_.get(), &UnitSession::UnitNotFound);
        for (int tick = 0; tick < 199; ++tick) {
            session_->Tick();
        }
        QCOMPARE(notFound.count(), 0);
        session_->Tick();
        QCOMPARE(notFound.count(), 1);
    }

    void aStoppedSessionCallsNothing() {
        session_->Tick();
        session_->Stop();
        clearLog();
        for (int tick = 0; tick < 20; ++tick) {
            session_->Tick();
        }
        QVERIFY(calls().isEmpty());
    }

    // A message box opened by a tick runs a loop that keeps ticking; those ticks must not run.
    void aTickInsideATickDoesNothing() {
        int nestedCalls = -1;
        connect(session_.get(), &UnitSession::TitlePhaseEnded, this, [&] {
            clearLog();
            session_->Tick();
            nestedCalls = static_cast<int>(calls().size());
        });
        session_->Tick();
        QCOMPARE(nestedCalls, 0);
    }

    void commands_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("switch LED 4 on") << "on 3" << QStringList{"TurnONLEDs(0, {0,0,0,1,0,0,0,0,0})"};
        QTest::newRow("switch LED 1 off") << "off 0" << QStringList{"TurnOFFLEDs(0, {0,1,1,1,1,1,1,1,1})"};
        QTest::newRow("channel outside 0..8") << "on 9" << QStringList{};
        QTest::newRow("intensities") << "levels"
                                     << QStringList{
                                            "SetIntensityLevel(0, {500,500,500,500,500,500,500,500,500})"};
    }

    // Every command goes out only while the unit reports itself active.
    void commands() {
        QFETCH(QString, command);
        QFETCH(QStringList, expected);
        session_->Tick();
        for (auto& record : session_->unit().channels) {
            record.intensity = 500;
        }
        const auto run = [&] {
            clearLog();
            if (command == QLatin1String("levels")) {
                session_->SendIntensities();
            } else {
                session_->SwitchChannel(command.section(' ', 1).toUInt(),
                                        command.startsWith(QLatin1String("on")));
            }
            QStringList lines = callLines();
            lines.removeIf(
                [](const QString& line) { return line.startsWith(QLatin1String("DeviceActive")); });
            return lines;
        };
        const QStringList sent = run();
        QCOMPARE(sent.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            QVERIFY2(sent[i].startsWith(expected[i]), qPrintable(sent[i]));
        }

        simOk(QStringLiteral("unplug 0"));
        QVERIFY(run().isEmpty());
    }

    // A level reported above full scale is junk, never a reason to drive an LED to 100 %: it is
    // unknown, as after a failed read. Nothing goes while it is; the first read that gives a real
    // one sends the nine, with what the user set meanwhile and what the unit's knob set.
    void aLevelReportedAboveFullScaleIsUnknown_data() {
        QTest::addColumn<bool>("fromStart");  // junk already at the full read, or first at a poll
        QTest::newRow("at the full read") << true;
        QTest::newRow("at a poll") << false;
    }

    void aLevelReportedAboveFullScaleIsUnknown() {
        QFETCH(bool, fromStart);
        DeviceApi& api = session_->api();
        realGetIntensityLevel_ = api.GetIntensityLevel;
        api.GetIntensityLevel = &ReportsJunkForChannel2;
        const auto levelsSent = [this] { return callLines().filter(QStringLiteral("SetIntensityLevel(")); };
        junkForChannel2_ = fromStart;
        session_->Tick();
        if (!fromStart) {
            QCOMPARE(levelsSent().size(), 1);
            junkForChannel2_ = true;
        }
        for (int tick = 0; tick < 10; ++tick) {
            session_->Tick();
        }
        QVERIFY(session_->unit().levelUnknown[1]);
        QCOMPARE(session_->unit().channels[1].intensity, uint16_t(0));
        clearLog();
        QVERIFY(!session_->SendIntensities());
        session_->unit().holdLevel(0, 250);  // the user's change meanwhile
        QVERIFY(!session_->SendIntensities());
        simOk(QStringLiteral("knob 9 640"));
        for (int tick = 0; tick < 10; ++tick) {
            session_->Tick();
        }
        QVERIFY(levelsSent().isEmpty());
        QVERIFY(sim(QStringLiteral("status")).contains(QStringLiteral("unit0.channel2.intensity=500\n")));

        junkForChannel2_ = false;
        for (int tick = 0; tick < 10; ++tick) {
            session_->Tick();
        }
        QVERIFY(!session_->unit().anyLevelUnknown());
        QCOMPARE(levelsSent().size(), 1);
        QVERIFY2(levelsSent().first().startsWith(
                     QStringLiteral("SetIntensityLevel(0, {250,500,500,500,500,500,500,500,640})")),
                 qPrintable(levelsSent().first()));
        api.GetIntensityLevel = realGetIntensityLevel_;
    }

    // A level above full scale that reaches the sending is never sent, nor made full scale.
    void aLevelAboveFullScaleIsNeverSent() {
        session_->Tick();
        session_->unit().channels[1].intensity = 1200;
        clearLog();
        session_->SendIntensities();
        QVERIFY(callLines().filter(QStringLiteral("SetIntensityLevel(")).isEmpty());
        QVERIFY(sim(QStringLiteral("status")).contains(QStringLiteral("unit0.channel2.intensity=500\n")));
    }

    // A level read that keeps failing at start leaves those levels unknown. The unit takes all
    // nine at once, so nothing goes until an intensity read works; then the levels the panel
    // holds go with those the unit reported. Before, the prepared full scale went to every LED.
    void levelsUnknownAtStartWaitForARead_data() {
        QTest::addColumn<int>("failures");    // GetIntensityLevel calls failing from the start
        QTest::addColumn<int>("stored365");   // level stored for channel 1; 0: none
        QTest::addColumn<int>("sentOnTick");  // 0: at the full read; else the poll tick that sends
        QTest::addColumn<QString>("levels");  // the levels then sent
        const QString unitLevels = QStringLiteral("{500,500,500,500,500,500,500,500,500}");
        QTest::newRow("one failure, retried") << 1 << 0 << 0 << unitLevels;
        QTest::newRow("nineteen failures, retried") << 19 << 0 << 0 << unitLevels;
        QTest::newRow("never read at start, nothing stored") << 20 << 0 << 5 << unitLevels;
        QTest::newRow("never read at start, one level stored")
            << 20 << 373 << 5 << QStringLiteral("{373,500,500,500,500,500,500,500,500}");
        QTest::newRow("the first poll fails too") << 21 << 0 << 15 << unitLevels;
        QTest::newRow("all stored: known without the unit")
            << 20 << -1 << 0 << QStringLiteral("{10,20,30,40,50,60,70,80,90}");
    }

    void levelsUnknownAtStartWaitForARead() {
        QFETCH(int, failures);
        QFETCH(int, stored365);
        QFETCH(int, sentOnTick);
        QFETCH(QString, levels);
        if (stored365 > 0) {
            storedLevels_.insert(365, static_cast<uint16_t>(stored365));
        } else if (stored365 < 0) {
            const uint16_t wavelengths[] = {365, 405, 435, 470, 500, 525, 550, 580, 635};
            for (uint16_t c = 0; c < 9; ++c) {
                storedLevels_.insert(wavelengths[c], static_cast<uint16_t>(10 * (c + 1)));
            }
        }
        const auto levelsSent = [this] {
            QStringList sent;
            for (const QString& line : callLines().filter(QStringLiteral("SetIntensityLevel("))) {
                sent << line.section(QStringLiteral(", "), 1).section(QLatin1Char(')'), 0, 0);
            }
            return sent;
        };
        simOk(QStringLiteral("fail GetIntensityLevel %1").arg(failures));
        session_->Tick();
        if (sentOnTick == 0) {
            QCOMPARE(levelsSent(), QStringList{levels});
            QVERIFY(!session_->unit().anyLevelUnknown());
            return;
        }
        QCOMPARE(levelsSent(), QStringList());
        QVERIFY(session_->unit().levelUnknown[1]);
        QCOMPARE(session_->unit().channels[1].intensity, uint16_t(0));  // no made-up level
        // A change the user makes meanwhile does not go either.
        session_->SendIntensities();
        QCOMPARE(levelsSent(), QStringList());

        for (int tick = 1; tick <= 20; ++tick) {
            session_->Tick();
            if (!levelsSent().isEmpty()) {
                QCOMPARE(tick, sentOnTick);
                break;
            }
        }
        QCOMPARE(levelsSent(), QStringList{levels});
        QVERIFY(!session_->unit().anyLevelUnknown());
        QCOMPARE(session_->unit().channels[1].intensity, uint16_t(500));
    }

    void readingTheTablesNeedsTheUnit() {
        session_->Tick();
        clearLog();
        session_->ReadGroupingAndTrigger();
        QCOMPARE(commandCalls().count(QStringLiteral("GetGrouping")), 6);
        simOk(QStringLiteral("unplug 0"));
        clearLog();
        session_->ReadGroupingAndTrigger();
        QVERIFY(commandCalls().isEmpty());
    }

    void applyUnitSetting_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expectedStatus");
        QTest::newRow("grouping") << int(UnitSetting::Grouping) << "unit0.group2=2,9,0,0,0,0,0,0,0";
        QTest::newRow("TTL timeouts")
            << int(UnitSetting::TtlTimeouts) << "unit0.ttlTimeout=7,0,0,0,0,0,0,0,0";
        QTest::newRow("trigger sequence")
            << int(UnitSetting::TriggerSequence) << "unit0.ttlSequence=3,0,0,0,0,0,0,0,0";
    }

    // Each kind reaches the unit only while it is active; the grouping goes as member lists
    // built from the channels' group numbers, each list emptied first.
    void applyUnitSetting() {
        QFETCH(int, kind);
        QFETCH(QString, expectedStatus);
        session_->Tick();
        GroupingAndTrigger& tables = session_->tables();
        tables.ledGroup = {0, 2, 0, 0, 0, 0, 0, 0, 2};
        tables.ttlTimeout[0] = 7;
        tables.triggerSequence[0] = 3;
        clearLog();
        QVERIFY(session_->ApplyUnitSetting(UnitSetting(kind)));
        QVERIFY2(sim(QStringLiteral("status")).contains(expectedStatus),
                 qPrintable(sim(QStringLiteral("status"))));
        if (UnitSetting(kind) == UnitSetting::Grouping) {
            QCOMPARE(commandCalls().count(QStringLiteral("SetGrouping")), 12);
            QCOMPARE(tables.groupMembers[2][0], uint8_t(2));
            QCOMPARE(tables.groupMembers[2][1], uint8_t(9));
        }

        simOk(QStringLiteral("unplug 0"));
        clearLog();
        QVERIFY(!session_->ApplyUnitSetting(UnitSetting(kind)));
        QVERIFY(commandCalls().isEmpty());
    }

    // Six groups in order, each emptied by a one-entry list before its nine-entry row; a group
    // number no row has joins none.
    void groupingGoesAsSixEmptiedRows() {
        session_->Tick();
        session_->tables().ledGroup = {2, 0, 0, 2, 0, 0, 2, 0, 7};
        clearLog();
        QVERIFY(session_->ApplyUnitSetting(UnitSetting::Grouping));
        QStringList sent = callLines().filter(QStringLiteral("SetGrouping("));
        QStringList expected;
        for (int group = 1; group <= 6; ++group) {
            expected << QStringLiteral("SetGrouping(0, %1, {0}, 1)").arg(group)
                     << QStringLiteral("SetGrouping(0, %1, {%2}, 9)")
                            .arg(group)
                            .arg(group == 2 ? QStringLiteral("1,4,7,0,0,0,0,0,0")
                                            : QStringLiteral("0,0,0,0,0,0,0,0,0"));
        }
        QCOMPARE(sent.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            QVERIFY2(sent[i].startsWith(expected[i]),
                     qPrintable(sent[i] + QStringLiteral(" / ") + expected[i]));
        }
        QVERIFY(sim(QStringLiteral("status")).contains(QStringLiteral("unit0.group2=1,4,7,0,0,0,0,0,0")));
    }

    void groupingSentUnaskedReachesTheLibraryWithoutTheUnit() {
        session_->Tick();
        session_->tables().ledGroup = {1, 0, 0, 0, 0, 0, 0, 0, 0};
        simOk(QStringLiteral("unplug 0"));
        clearLog();
        session_->SendGroupingUnasked();
        QCOMPARE(calls(), QStringList(12, QStringLiteral("SetGrouping")));
    }

    void readRowsGiveEachLedItsGroup_data() {
        QTest::addColumn<QList<QList<int>>>("rows");  // groups 1..6
        QTest::addColumn<QList<int>>("groups");
        QTest::newRow("{2,5} and {5}: the higher group wins")
            << QList<QList<int>>{{2, 5}, {}, {5}, {}, {}, {}} << QList<int>{0, 1, 0, 0, 3, 0, 0, 0, 0};
        QTest::newRow("a row ends at its first 0")
            << QList<QList<int>>{{3, 0, 4}, {}, {}, {}, {}, {}} << QList<int>{0, 0, 1, 0, 0, 0, 0, 0, 0};
        QTest::newRow("LED numbers outside 1..9 ignored")
            << QList<QList<int>>{{}, {10, 255, 4}, {}, {}, {}, {9}} << QList<int>{0, 0, 0, 2, 0, 0, 0, 0, 6};
    }

    void readRowsGiveEachLedItsGroup() {
        QFETCH(QList<QList<int>>, rows);
        QFETCH(QList<int>, groups);
        GroupingAndTrigger tables;
        tables.ledGroup.fill(5);
        for (int group = 1; group <= 6; ++group) {
            const QList<int>& row = rows[group - 1];
            for (int i = 0; i < row.size(); ++i) {
                tables.groupMembers[size_t(group)][size_t(i)] = uint8_t(row[i]);
            }
        }
        tables.DeriveLedGroups();
        QCOMPARE(QList<int>(tables.ledGroup.begin(), tables.ledGroup.end()), groups);
    }

    // The same through the unit: its rows read back.
    void readingTheUnitsRows() {
        session_->Tick();
        const uint8_t first[9] = {2, 5};
        const uint8_t third[9] = {5};
        QVERIFY(session_->api().SetGrouping(0, 1, first, 9) != 0);
        QVERIFY(session_->api().SetGrouping(0, 3, third, 9) != 0);
        session_->ReadGroupingAndTrigger();
        const std::array<uint8_t, 9> expected = {0, 1, 0, 0, 3, 0, 0, 0, 0};
        QCOMPARE(session_->tables().ledGroup, expected);
    }

    void modeLimits_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("group");
        QTest::addColumn<bool>("exceeds");
        QTest::newRow("off, group 0") << 0 << 0 << false;
        QTest::newRow("off, group 1") << 0 << 1 << true;
        QTest::newRow("PELION, group 4") << 1 << 4 << false;
        QTest::newRow("PELION, group 5") << 1 << 5 << true;
        QTest::newRow("ZEPHRA, group 6") << 2 << 6 << false;
        QTest::newRow("ZEPHRA, group 7") << 2 << 7 << true;
        QTest::newRow("a mode the unit made up") << 9 << 1 << true;
    }

    void modeLimits() {
        QFETCH(int, mode);
        QFETCH(int, group);
        QFETCH(bool, exceeds);
        GroupingAndTrigger tables;
        tables.groupingMode = uint8_t(mode);
        tables.ledGroup[8] = uint8_t(group);
        QCOMPARE(tables.ExceedsMode(), exceeds);
    }

    void closingRestoresTheGroupingBeforeTheQuestion_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("save");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("mode 0, No") << 0 << false << QStringList{};
        QTest::newRow("mode 0, Yes") << 0 << true << QStringList{"SaveUserSettings"};
        QTest::newRow("mode 2, No") << 2 << false << QStringList{"SetGroupingEnabled"};
        QTest::newRow("mode 1, Yes") << 1 << true << QStringList{"SetGroupingEnabled", "SaveUserSettings"};
    }

    void closingRestoresTheGroupingBeforeTheQuestion() {
        QFETCH(int, mode);
        QFETCH(bool, save);
        QFETCH(QStringList, expected);
        session_->Tick();
        session_->tables().groupingMode = static_cast<uint8_t>(mode);
        clearLog();
        QStringList whenAsked;
        session_->RestoreGroupingAndOfferSave([&] {
            whenAsked = calls();
            return save;
        });
        QCOMPARE(calls(), expected);
        QCOMPARE(whenAsked, expected.mid(0, mode != 0 ? 1 : 0));
    }
};

QTEST_GUILESS_MAIN(UnitSessionTest)
#include "tst_unitsession.moc"
