// The channel actions of the main screen, clicked at their painted places on the real dialog
// with the simulated unit: typed and stepped intensities, switching and its refusals, naming.
#include "ChannelActions.h"
#include "MainScreen.h"
#include "MainScreenLayout.h"
#include "SettingsKeys.h"
#include "SimulatedPanelTest.h"
#include "SurfaceChecks.h"

#include <QtTest>

Q_DECLARE_METATYPE(ScriptedPrompts::EntryAnswer)

using namespace surfacechecks;

namespace {

using Entry = ScriptedPrompts::EntryAnswer;

int panelX(int panel) {
    return mainlayout::PanelLeft(panel);
}

QPoint nameField(int panel) {
    return {panelX(panel) + 70, 50};
}
QPoint valueBox(int panel) {
    return {panelX(panel) + 40, 110};
}
QPoint upArrow(int panel) {
    return {panelX(panel) + 40, 170};
}
QPoint downArrow(int panel) {
    return {panelX(panel) + 40, 250};
}
QPoint switchAt(int panel) {
    return {panelX(panel) + 70, 310};
}

}  // namespace

class ChannelActionsTest : public SimulatedPanelTest {
    Q_OBJECT

private:
    rz470::ChannelRecord& channel(int c) { return panel_->unit().channels[static_cast<size_t>(c)]; }
    int storedIntensity(int wavelength) {
        return panel_->profile().readInt(settings::kIntensitiesSection,
                                         QStringLiteral("Intensity%1").arg(wavelength), -1);
    }
    QString storedName(int wavelength) {
        return panel_->profile().readString(settings::kNamesSection, QStringLiteral("Name%1").arg(wavelength),
                                            QStringLiteral("<absent>"));
    }
    QString lastLineOf(const QString& call) {
        const QStringList lines = panel_->callLines().filter(call + QLatin1Char('('));
        return lines.isEmpty() ? QString() : lines.last();
    }

private slots:
    void typedPercentageReachesTheUnitAndTheProfile() {
        panel_->prompts.entries = {Entry{QStringLiteral("37.3"), true, false}};
        click(valueBox(2));
        QCOMPARE(channel(2).intensity, uint16_t(373));
        QVERIFY2(status().contains(QStringLiteral("unit0.channel3.intensity=373")), qPrintable(status()));
        QCOMPARE(storedIntensity(435), 373);
        QCOMPARE(panel_->prompts.entriesShown.value(0).fieldText, QStringLiteral("50.0"));
    }

    // The entry shows the level it opened on; a script or the unit's knob may change it while
    // the entry is open. Cancel, or OK on what it showed, must not put the old level back.
    void cancelOrUnchangedOkLeavesALevelSetMeanwhile_data() {
        QTest::addColumn<Entry>("answer");
        QTest::addColumn<int>("level");
        QTest::newRow("Cancel") << Entry{std::nullopt, false, false} << 777;
        QTest::newRow("OK unchanged") << Entry{std::nullopt, true, false} << 777;
        QTest::newRow("the old level typed again") << Entry{QStringLiteral("20.0"), true, false} << 200;
    }

    void cancelOrUnchangedOkLeavesALevelSetMeanwhile() {
        QFETCH(Entry, answer);
        QFETCH(int, level);
        simOk(QStringLiteral("knob 3 200"));
        panel_->tick(10);
        panel_->prompts.entries = {answer};
        panel_->prompts.whileEntryOpen = [this](QDialog&) {
            simOk(QStringLiteral("knob 3 777"));
            panel_->tick(10);
            panel_->clearLog();
        };
        click(valueBox(2));
        panel_->prompts.whileEntryOpen = {};
        QCOMPARE(panel_->prompts.entriesShown.value(0).fieldText, QStringLiteral("20.0"));
        QCOMPARE(int(channel(2).intensity), level);
        QVERIFY2(status().contains(QStringLiteral("unit0.channel3.intensity=%1\n").arg(level)),
                 qPrintable(status()));
        QCOMPARE(panel_->calls().contains(QStringLiteral("SetIntensityLevel")), level != 777);
        QCOMPARE(storedIntensity(435), level);
    }

    void typedValueBelowTheMinimumIsIgnored() {
        const uint16_t before = channel(4).intensity;
        channel(4).minIntensityPercent = 5;
        panel_->prompts.entries = {Entry{QStringLiteral("4.9"), true, false}};
        click(valueBox(4));
        QCOMPARE(channel(4).intensity, before);
        QVERIFY(!panel_->calls().contains(QStringLiteral("SetIntensityLevel")));
    }

    void arrowsStepTheLevelAndSendIt() {
        click(upArrow(1));
        QCOMPARE(channel(1).intensity, uint16_t(505));
        QVERIFY(status().contains(QStringLiteral("unit0.channel2.intensity=505")));
        click(downArrow(1));
        click(downArrow(1));
        QCOMPARE(channel(1).intensity, uint16_t(495));
        QCOMPARE(storedIntensity(405), 495);
        QVERIFY(
            shows(dialog().router().surface().image(), 168, panelX(1), 143));  // grey again after the release
    }

    void switchSendsASingleFlag() {
        click(switchAt(3));
        QVERIFY2(lastLineOf(QStringLiteral("TurnONLEDs")).contains(QStringLiteral("0,0,0,1,0,0,0,0,0")),
                 qPrintable(lastLineOf(QStringLiteral("TurnONLEDs"))));
        panel_->tick(10);
        QVERIFY(channel(3).status & rz470::ChannelStatus::LedOn);
        QVERIFY(shows(dialog().router().surface().image(), 165, panelX(3), 283));

        click(switchAt(3));
        QVERIFY2(lastLineOf(QStringLiteral("TurnOFFLEDs")).contains(QStringLiteral("1,1,1,0,1,1,1,1,1")),
                 qPrintable(lastLineOf(QStringLiteral("TurnOFFLEDs"))));
        panel_->tick(10);
        QVERIFY(shows(dialog().router().surface().image(), 164, panelX(3), 283));
    }

    // An alarm or the light guide out refuses switching on with its popup; switching off always
    // goes to the unit.
    void switchRefusalsAndOffAlwaysGoes_data() {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<int>("popup");  // -1: none
        QTest::addColumn<QString>("sent");
        QTest::addColumn<int>("shownAfter");  // the switch shows the LED's real state again
        QTest::newRow("triggered") << QStringList{"triggered 6 1"} << -1 << "" << 129;
        QTest::newRow("not fitted") << QStringList{"channel-status 6 clear fitted"} << -1 << "" << 164;
        QTest::newRow("NVM alarm, LED off") << QStringList{"channel-status 6 set nvm"} << 0 << "" << 164;
        QTest::newRow("light guide out, LED off")
            << QStringList{"unit-status clear lightguide"} << 1 << "" << 164;
        QTest::newRow("NVM alarm (0x63 with the LED on)")
            << QStringList{"led 6 on", "channel-status 6 set nvm"} << -1 << "TurnOFFLEDs" << 164;
        QTest::newRow("over-temperature, LED on")
            << QStringList{"led 6 on", "channel-status 6 set overtemp"} << -1 << "TurnOFFLEDs" << 164;
        QTest::newRow("light guide out, LED on")
            << QStringList{"led 6 on", "unit-status clear lightguide"} << -1 << "TurnOFFLEDs" << 164;
    }

    void switchRefusalsAndOffAlwaysGoes() {
        QFETCH(QStringList, commands);
        QFETCH(int, popup);
        QFETCH(QString, sent);
        QFETCH(int, shownAfter);
        for (const QString& command : commands) {
            simOk(command);
        }
        panel_->tick(10);
        const bool wasOn = (channel(5).status & rz470::ChannelStatus::LedOn) != 0;
        QCOMPARE(wasOn, commands.contains(QStringLiteral("led 6 on")));
        panel_->clearLog();

        // While a popup is up, the switch shows the state the LED is in, not the one refused.
        int shownUnderPopup = -1;
        panel_->prompts.whileError = [&](uint8_t) {
            for (const int picture : {164, 165, 129, 178}) {
                if (shows(dialog().router().surface().image(), picture, panelX(5), 283)) {
                    shownUnderPopup = picture;
                }
            }
        };
        click(switchAt(5));
        panel_->prompts.whileError = {};
        const QStringList made = panel_->calls();
        QVERIFY(!made.contains(QStringLiteral("TurnONLEDs")));
        QCOMPARE(made.contains(QStringLiteral("TurnOFFLEDs")), !sent.isEmpty());
        QCOMPARE(panel_->prompts.errors, popup < 0 ? QList<uint8_t>{} : QList<uint8_t>{uint8_t(popup)});
        if (popup >= 0) {
            QCOMPARE(shownUnderPopup, wasOn ? 165 : 164);
        }
        if (popup == 0) {
            QCOMPARE(channel(5).status & ~rz470::ChannelStatus::LedOn, 0);
        }
        // No status change follows for the poll to redraw, so the refusal itself must.
        panel_->tick(20);
        QVERIFY(shows(dialog().router().surface().image(), shownAfter, panelX(5), 283));
        QCOMPARE(status().contains(QStringLiteral("unit0.channel6.on=1\n")), wasOn && sent.isEmpty());
    }

    void typedTopOfTheRangeIsFullScale() {
        panel_->prompts.entries = {Entry{QStringLiteral("100.1"), true, false}};
        click(valueBox(2));
        QCOMPARE(channel(2).intensity, uint16_t(1000));
        QVERIFY2(status().contains(QStringLiteral("unit0.channel3.intensity=1000")), qPrintable(status()));
        QCOMPARE(storedIntensity(435), 1000);
        QVERIFY(!panel_->callLines().filter(QStringLiteral("SetIntensityLevel(")).join(' ').contains("1001"));
    }

    void arrowsAtTheEndsOfTheRange_data() {
        QTest::addColumn<int>("minimumPercent");
        QTest::addColumn<QString>("knob");  // the level set at the unit first
        QTest::addColumn<QPoint>("arrowOffset");
        QTest::addColumn<int>("expected");
        QTest::newRow("up from 0 with no minimum") << 0 << "0" << QPoint(40, 170) << 5;
        QTest::newRow("down from m+3 lands on m") << 5 << "53" << QPoint(40, 250) << 50;
        QTest::newRow("up from 998 stops at 100 %") << 5 << "998" << QPoint(40, 170) << 1000;
    }

    void arrowsAtTheEndsOfTheRange() {
        QFETCH(int, minimumPercent);
        QFETCH(QString, knob);
        QFETCH(QPoint, arrowOffset);
        QFETCH(int, expected);
        simOk(QStringLiteral("knob 8 ") + knob);
        panel_->tick(10);
        channel(7).minIntensityPercent = static_cast<uint16_t>(minimumPercent);
        click(QPoint(panelX(7), 0) + arrowOffset);
        QCOMPARE(int(channel(7).intensity), expected);
        QVERIFY2(status().contains(QStringLiteral("unit0.channel8.intensity=%1").arg(expected)),
                 qPrintable(status()));
    }

    void renamingCutsToEightAndStoresByWavelength() {
        panel_->prompts.entries = {Entry{QStringLiteral("ABCDEFGHIJ"), true, false}};
        click(nameField(1));
        QCOMPARE(QByteArray(channel(1).name), QByteArray("ABCDEFGH"));
        QCOMPARE(storedName(405), QStringLiteral("ABCDEFGH"));
    }

    void wavelengthAsName() {
        panel_->prompts.entries = {Entry{std::nullopt, true, true}};
        click(nameField(1));
        QCOMPARE(QByteArray(channel(1).name), QByteArray("405nm"));
        QCOMPARE(storedName(405), QStringLiteral("405nm"));
        QCOMPARE(
            panel_->prompts.entriesShown.value(0).caption,
            QStringLiteral("WaveLength Range: %1-%2nm").arg(channel(1).rangeLow).arg(channel(1).rangeHigh));
    }

    // A name changed while the entry is open (by a script) stays after Cancel or an unchanged
    // OK; an unchanged long name is not cut to eight either.
    void cancelOrUnchangedOkLeavesTheName_data() {
        QTest::addColumn<QString>("opening");  // empty: the unit's own "Violet 405"
        QTest::addColumn<Entry>("answer");
        QTest::addColumn<bool>("renamedMeanwhile");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Cancel") << "Violet" << Entry{std::nullopt, false, false} << true
                                << QByteArray("Script") << "Script";
        QTest::newRow("OK unchanged")
            << "Violet" << Entry{std::nullopt, true, false} << true << QByteArray("Script") << "Script";
        QTest::newRow("OK unchanged on a long unit name")
            << "" << Entry{std::nullopt, true, false} << false << QByteArray("Violet 405") << "<absent>";
        QTest::newRow("typed") << "Violet" << Entry{QStringLiteral("Mine"), true, false} << true
                               << QByteArray("Mine") << "Mine";
    }

    void cancelOrUnchangedOkLeavesTheName() {
        QFETCH(QString, opening);
        QFETCH(Entry, answer);
        QFETCH(bool, renamedMeanwhile);
        QFETCH(QByteArray, name);
        QFETCH(QString, stored);
        ChannelActions actions(dialog().session(), dialog().settings());
        if (!opening.isEmpty()) {
            QVERIFY(actions.Rename(1, opening).changed());
        }
        panel_->prompts.entries = {answer};
        if (renamedMeanwhile) {
            panel_->prompts.whileEntryOpen = [&actions](QDialog&) { actions.Rename(1, QStringLiteral("Script")); };
        }
        click(nameField(1));
        panel_->prompts.whileEntryOpen = {};
        QCOMPARE(panel_->prompts.entriesShown.value(0).fieldText,
                 opening.isEmpty() ? QStringLiteral("Violet 405") : opening);
        QCOMPARE(QByteArray(channel(1).name), name);
        QCOMPARE(storedName(405), stored);
    }

    void longUnitNameSurvivesACancelledRename() {
        simOk(QStringLiteral("name 2 AVeryLongName123"));
        std::strcpy(channel(2).name, "AVeryLongName123");
        click(nameField(2));
        QCOMPARE(QByteArray(channel(2).name), QByteArray("AVeryLongName123"));
    }

    void unfittedChannelIsRenamedButNotDrawn() {
        simOk(QStringLiteral("channel-status 9 clear fitted"));
        panel_->tick(10);
        dialog().router().PaintScreen();
        const QImage before = dialog().router().surface().image().copy(panelX(8), 25, 156, 60);
        panel_->prompts.entries = {Entry{QStringLiteral("Hidden"), true, false}};
        click(nameField(8));
        QCOMPARE(storedName(635), QStringLiteral("Hidden"));
        QCOMPARE(dialog().router().surface().image().copy(panelX(8), 25, 156, 60), before);
    }
};

QTEST_MAIN(ChannelActionsTest)
#include "tst_channelactions.moc"
