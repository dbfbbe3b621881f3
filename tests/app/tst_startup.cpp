// The real main dialog on the simulated unit: finding the unit, the full read, the poll rhythm,
// losing the unit and closing.
#include "RecordingRedraws.h"
#include "SettingsKeys.h"
#include "SimulatedPanel.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kNotCleared = QStringLiteral("Unabled to Clear Grouping! Exiting Application!");

// GetGroupingEnabled that reports mode 2 once and then fails, or always reports 2.
int g_groupingReads = 0;
int RZ470_CALL GroupingReadOnlyOnce(RZ470Word, RZ470Byte* mode) {
    if (g_groupingReads++ > 0) {
        return 0;
    }
    *mode = 2;
    return 1;
}

int RZ470_CALL GroupingReadAnswering(RZ470Word, RZ470Byte* mode) {
    *mode = 2;
    return 1;
}

// Both calls were made, and a before b.
void verifyCalledBefore(const QStringList& made, const char* a, const char* b) {
    const int first = made.indexOf(QLatin1String(a));
    const int second = made.indexOf(QLatin1String(b));
    QVERIFY2(first >= 0 && second >= 0 && first < second, qPrintable(made.join(' ')));
}

const QString kNotFound =
    QStringLiteral("ORVANE Device Not Found, please connect and power on and restart Control Panel.");
const QString kSaveQuestion = QStringLiteral("Would you like to save settings on exit?");
const QList<uint16_t> kWavelengths = {365, 405, 435, 470, 500, 525, 550, 580, 635};

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir simHome_;
    std::unique_ptr<SimulatedPanel> panel_;

    QString sim(const QString& command) { return panel_->sim(command); }
    void simOk(const QString& command) { QCOMPARE(sim(command), QStringLiteral("ok")); }
    QStringList calls() { return panel_->calls(); }
    void clearLog() { panel_->clearLog(); }

    void storeNames(int count) {
        for (int c = 0; c < count; ++c) {
            panel_->profile().writeString(settings::kNamesSection,
                                          settings::valueName(settings::kNameValue, kWavelengths[c]),
                                          QStringLiteral("Stored%1").arg(c + 1));
        }
    }

    CRZ470ControlPanelDlg& dialog() { return panel_->dialog(); }
    UnitSlot& unit() { return panel_->unit(); }

private slots:
    void initTestCase() {
        QVERIFY(simHome_.isValid());
        SimulatedPanel::isolateSimulator(simHome_.path());
    }

    void init() { panel_ = std::make_unique<SimulatedPanel>(); }
    void cleanup() { panel_.reset(); }

    void oneUnitAtStartIsFoundAndReadInOneTick() {
        QVERIFY(dialog().titleWindow().isVisible());
        dialog().OnTimer();

        QCOMPARE(unit().deviceIndex, uint16_t(0));
        QCOMPARE(unit().serialNumber, uint16_t(42));
        QCOMPARE(unit().serialIdentifier, uint8_t('B'));
        QCOMPARE(unit().firmwareVersion, uint16_t(140));
        QCOMPARE(unit().channels[1].wavelength, uint16_t(405));
        QVERIFY(unit().channels[0].name[0] != '\0');
        QCOMPARE(dialog().session().table().knownDeviceCount, uint16_t(1));
        // Set to 10 by the read, then counted down by the same tick's poll.
        QCOMPARE(dialog().session().pollCountdown(), uint16_t(9));
        QCOMPARE(dialog().session().splashCountdown(), uint16_t(0));
        QVERIFY(!dialog().titleWindow().isVisible());
        QVERIFY(!dialog().isMinimized());
        // Nine retried reads (the levels among them), each waiting 50 ms before its first attempt.
        QCOMPARE(panel_->waits.waits, QList<int>(9, 50));
        QVERIFY(panel_->prompts.shown.isEmpty());

        const QStringList made = calls();
        QVERIFY(made.contains("Connect"));
        verifyCalledBefore(made, "GetSoftwareVersion", "GetGroupingEnabled");
        verifyCalledBefore(made, "GetMinIntPercentage", "GetLEDName");
        verifyCalledBefore(made, "SetIntensityLevel", "GetTTLTimeout");
    }

    // A unit plugged while the panel runs gets a slot of its own and is only polled: the unit in
    // slot 0 keeps the grouping mode the panel cleared, the levels it has now and the window.
    void aUnitPluggedLaterLeavesTheUnitAlone() {
        QVERIFY(dialog().session().api().SetGroupingEnabled(0, 2) != 0);
        panel_->profile().writeInt(settings::kIntensitiesSection, QStringLiteral("Intensity365"), 373);
        dialog().OnTimer();
        dialog().OnTimer();
        QCOMPARE(dialog().session().tables().groupingMode, uint8_t(2));
        simOk(QStringLiteral("knob 1 600"));
        clearLog();
        panel_->waits.waits.clear();

        simOk(QStringLiteral("plug 1"));
        dialog().OnTimer();
        const UnitTable& table = dialog().session().table();
        QCOMPARE(table.knownDeviceCount, uint16_t(2));
        QCOMPARE(table.unitSlots[0].deviceIndex, uint16_t(0));
        QCOMPARE(table.unitSlots[1].deviceIndex, uint16_t(1));
        QVERIFY(table.unitSlots[2].isEmpty());
        const QStringList made = calls();
        QVERIFY2(!made.contains("GetSoftwareVersion") && !made.contains("SetIntensityLevel") &&
                     !made.contains("SetGroupingEnabled"),
                 qPrintable(made.join(' ')));
        QVERIFY(panel_->waits.waits.isEmpty());
        QCOMPARE(dialog().session().tables().groupingMode, uint8_t(2));
        QCOMPARE(dialog().session().splashCountdown(), uint16_t(0));
        QVERIFY(sim(QStringLiteral("status")).contains(QStringLiteral("unit0.channel1.intensity=600")));

        simOk(QStringLiteral("unplug 1"));
        dialog().OnTimer();
        QVERIFY(table.unitSlots[1].isEmpty());
        QVERIFY(panel_->prompts.shown.isEmpty());

        panel_->prompts.answers = {Prompts::Answer::Yes};
        dialog().close();
        uint8_t onUnit = 0;
        dialog().session().api().GetGroupingEnabled(0, &onUnit);
        QCOMPARE(onUnit, uint8_t(2));
    }

    void slowConnectWaitsBeforeTheSerialRead_data() {
        QTest::addColumn<int>("failures");
        QTest::addColumn<QList<int>>("expectedWaits");
        QTest::newRow("first attempt") << 0 << QList<int>{};
        QTest::newRow("fifth retry") << 5 << QList<int>(5, 100);
        QTest::newRow("sixth retry") << 6 << (QList<int>(6, 100) << 5000);
    }

    void slowConnectWaitsBeforeTheSerialRead() {
        QFETCH(int, failures);
        QFETCH(QList<int>, expectedWaits);
        simOk(QStringLiteral("fail Connect %1").arg(failures));
        dialog().OnTimer();
        QCOMPARE(panel_->waits.waits.mid(0, expectedWaits.size()), expectedWaits);
        // The retried reads of the full read follow, at 50 ms each.
        QCOMPARE(panel_->waits.waits.mid(expectedWaits.size()), QList<int>(9, 50));
        QCOMPARE(unit().serialNumber, uint16_t(42));
    }

    void failedIdentityEmptiesTheSlotAndRetriesNextTick() {
        simOk(QStringLiteral("fail GetSerialIdentifier 10"));
        dialog().OnTimer();
        QVERIFY(unit().isEmpty());
        QCOMPARE(dialog().session().table().knownDeviceCount, uint16_t(0));
        QVERIFY(!calls().contains("GetSoftwareVersion"));

        dialog().OnTimer();
        QCOMPARE(unit().deviceIndex, uint16_t(0));
        QCOMPARE(unit().serialIdentifier, uint8_t('B'));
        QCOMPARE(dialog().session().table().knownDeviceCount, uint16_t(1));
    }

    void countDroppingWithTheUnitStillThereEmptiesOnlyTheOtherSlot() {
        simOk(QStringLiteral("plug 1"));
        dialog().OnTimer();
        QCOMPARE(dialog().session().table().knownDeviceCount, uint16_t(2));
        QVERIFY(!dialog().session().table().unitSlots[1].isEmpty());

        simOk(QStringLiteral("unplug 1"));
        dialog().OnTimer();
        QVERIFY(dialog().session().table().unitSlots[1].isEmpty());
        QCOMPARE(unit().deviceIndex, uint16_t(0));
        QVERIFY(panel_->prompts.shown.isEmpty());
        QVERIFY(!dialog().hasEnded());
    }

    void losingTheUnitStopsThePollAndCloses() {
        dialog().OnTimer();
        simOk(QStringLiteral("unplug 0"));
        dialog().OnTimer();
        QCOMPARE(panel_->prompts.texts(), (QStringList{kNotFound, kSaveQuestion}));
        QCOMPARE(panel_->prompts.shown[0].title, QStringLiteral("ORVANE Not Found!"));
        QVERIFY(!dialog().isPollTimerRunning());
        QVERIFY(dialog().hasEnded());
    }

    void noUnitForTwoHundredTicksEndsTheRun() {
        simOk(QStringLiteral("unplug 0"));
        for (int tick = 1; tick < 200; ++tick) {
            dialog().OnTimer();
        }
        QVERIFY(panel_->prompts.shown.isEmpty());
        QVERIFY(dialog().titleWindow().isVisible());

        dialog().OnTimer();
        QVERIFY(!dialog().titleWindow().isVisible());
        QCOMPARE(panel_->prompts.texts().value(0), kNotFound);
        QVERIFY(dialog().hasEnded());
    }

    void storedNamesWinAndTheUnitIsAskedOnlyWhenOneIsMissing_data() {
        QTest::addColumn<int>("storedCount");
        QTest::addColumn<bool>("unitAsked");
        QTest::newRow("all nine stored") << 9 << false;
        QTest::newRow("eight stored") << 8 << true;
        QTest::newRow("none stored") << 0 << true;
    }

    void storedNamesWinAndTheUnitIsAskedOnlyWhenOneIsMissing() {
        QFETCH(int, storedCount);
        QFETCH(bool, unitAsked);
        storeNames(storedCount);
        simOk(QStringLiteral("name 9 UnitNine"));
        dialog().OnTimer();

        QCOMPARE(calls().contains("GetLEDName"), unitAsked);
        for (int c = 0; c < storedCount; ++c) {
            QCOMPARE(QByteArray(unit().channels[c].name), QStringLiteral("Stored%1").arg(c + 1).toLatin1());
        }
        if (storedCount < 9) {
            QCOMPARE(QByteArray(unit().channels[8].name), QByteArray("UnitNine"));
        }
    }

    void storedIntensitiesReplaceTheUnitsAndAreSentBack() {
        simOk(QStringLiteral("knob 1 250"));
        simOk(QStringLiteral("knob 2 260"));
        simOk(QStringLiteral("knob 3 270"));
        simOk(QStringLiteral("knob 4 280"));
        clearLog();
        panel_->profile().writeInt(settings::kIntensitiesSection, QStringLiteral("Intensity365"), 373);
        panel_->profile().writeInt(settings::kIntensitiesSection, QStringLiteral("Intensity405"),
                                   settings::kIntensityAbsent);
        panel_->profile().writeInt(settings::kIntensitiesSection, QStringLiteral("Intensity435"), 0);
        panel_->profile().writeInt(settings::kIntensitiesSection, QStringLiteral("Intensity470"),
                                   5000);  // not a level
        dialog().OnTimer();

        QCOMPARE(unit().channels[0].intensity, uint16_t(373));
        QCOMPARE(unit().channels[1].intensity, uint16_t(260));  // 65535 counts as absent
        QCOMPARE(unit().channels[2].intensity, uint16_t(0));
        QCOMPARE(unit().channels[3].intensity, uint16_t(280));
        const QString status = sim(QStringLiteral("status"));
        QVERIFY2(status.contains(QStringLiteral("unit0.channel1.intensity=373")), qPrintable(status));
        QVERIFY(status.contains(QStringLiteral("unit0.channel2.intensity=260")));
    }

    void groupingReadAtStartIsClearedAndRestoredAtClose() {
        QVERIFY(dialog().session().api().SetGroupingEnabled(0, 1) != 0);
        clearLog();
        dialog().OnTimer();
        QCOMPARE(dialog().session().tables().groupingMode, uint8_t(1));
        uint8_t onUnit = 9;
        dialog().session().api().GetGroupingEnabled(0, &onUnit);
        QCOMPARE(onUnit, uint8_t(0));

        clearLog();
        panel_->prompts.answers = {Prompts::Answer::No};
        dialog().close();
        QCOMPARE(calls(), QStringList{"SetGroupingEnabled"});
        dialog().session().api().GetGroupingEnabled(0, &onUnit);
        QCOMPARE(onUnit, uint8_t(1));
    }

    void groupingTheUnitKeepsEndsTheRun_data() {
        QTest::addColumn<bool>("checkAnswers");
        QTest::newRow("clear refused, check says grouped") << true;
        QTest::newRow("clear refused, check never answers") << false;
    }

    // Once the message has closed the panel nothing more is read, sent, shown, drawn or stored.
    void groupingTheUnitKeepsEndsTheRun() {
        QFETCH(bool, checkAnswers);
        QVERIFY(dialog().session().api().SetGroupingEnabled(0, 2) != 0);
        simOk(QStringLiteral("fail SetGroupingEnabled 20"));
        // The mode read answers; the check that follows answers only when the row says so.
        g_groupingReads = 0;
        dialog().session().api().GetGroupingEnabled =
            checkAnswers ? GroupingReadAnswering : GroupingReadOnlyOnce;
        const QImage before = dialog().router().surface().image();
        dialog().OnTimer();

        QCOMPARE(panel_->prompts.texts(), (QStringList{kNotCleared, kSaveQuestion}));
        QCOMPARE(panel_->prompts.shown.value(0).title, QStringLiteral("Error"));
        QVERIFY(dialog().hasEnded());
        QCOMPARE(dialog().session().tables().groupingMode, uint8_t(2));
        const QStringList made = calls();
        QVERIFY2(!made.contains("GetLEDHours") && !made.contains("SetIntensityLevel") &&
                     !made.contains("GetTTLTimeout"),
                 qPrintable(made.join(' ')));
        QVERIFY(!dialog().isVisible());
        QVERIFY(dialog().titleWindow().isHidden());
        QVERIFY(dialog().router().surface().image() == before);
        for (uint16_t wavelength : kWavelengths) {
            QCOMPARE(panel_->profile().readInt(settings::kIntensitiesSection,
                                               settings::valueName(settings::kIntensityValue, wavelength),
                                               settings::kIntensityAbsent),
                     settings::kIntensityAbsent);
        }
    }

    void statusAndIntensitiesAreReadInTheirRhythm() {
        dialog().OnTimer();
        QList<int> statusTicks;
        QList<int> intensityTicks;
        for (int tick = 1; tick <= 30; ++tick) {
            clearLog();
            dialog().OnTimer();
            const QStringList made = calls();
            if (made.contains("GetUnitStatus")) {
                statusTicks << tick;
            }
            if (made.contains("GetIntensityLevel")) {
                intensityTicks << tick;
            }
        }
        QCOMPARE(statusTicks, (QList<int>{10, 20, 30}));
        QCOMPARE(intensityTicks, (QList<int>{5, 15, 25}));
    }

    void changesAreRedrawnOnceOnTheMainScreen() {
        RecordingRedraws redraws;
        dialog().router().SetRedraws(redraws);
        dialog().OnTimer();
        for (int tick = 0; tick < 10; ++tick) {
            dialog().OnTimer();
        }
        redraws.calls.clear();

        simOk(QStringLiteral("led 3 on"));
        simOk(QStringLiteral("knob 5 420"));
        for (int tick = 0; tick < 10; ++tick) {
            dialog().OnTimer();
        }
        QVERIFY2(redraws.calls.contains("DrawSwitch(2,1)"), qPrintable(redraws.calls.join(' ')));
        QVERIFY(redraws.calls.contains("ShowAndSaveIntensity(4,0)"));
        QVERIFY(redraws.calls.contains("DrawStatusIcons()"));  // an LED is on now

        redraws.calls.clear();
        for (int tick = 0; tick < 20; ++tick) {
            dialog().OnTimer();
        }
        QVERIFY(redraws.calls.isEmpty());
    }

    void intensitiesAboveFullScaleAreNotShown() {
        RecordingRedraws redraws;
        dialog().router().SetRedraws(redraws);
        dialog().OnTimer();
        unit().shownChannels[0].intensity = 500;
        unit().channels[0].intensity = 1001;
        dialog().router().DetectChanges();
        QVERIFY(!redraws.calls.contains("ShowAndSaveIntensity(0,0)"));
        QCOMPARE(unit().shownChannels[0].intensity, uint16_t(500));
    }

    void theSaveQuestionDecidesWhetherTheUnitSaves_data() {
        QTest::addColumn<Prompts::Answer>("answer");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Yes") << Prompts::Answer::Yes << true;
        QTest::newRow("No") << Prompts::Answer::No << false;
    }

    void theSaveQuestionDecidesWhetherTheUnitSaves() {
        QFETCH(Prompts::Answer, answer);
        QFETCH(bool, saved);
        dialog().OnTimer();
        clearLog();
        panel_->prompts.answers = {answer};
        dialog().close();
        QCOMPARE(calls().contains("SaveUserSettings"), saved);
        QCOMPARE(panel_->prompts.texts(), QStringList{kSaveQuestion});
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
