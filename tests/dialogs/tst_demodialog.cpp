// The demo-loop dialog in the real panel on the simulated unit: opened with DEMO LOOP, its
// controls, the loop on the unit with its time on a fake clock, the poll's alarm stop, leaving
// with the defaults, the settings file through the prompts' file dialogs, and the keys.
#include "CDemo.h"
#include "ColourButton.h"
#include "FakeDemoClock.h"
#include "FileSizeLimit.h"
#include "PanelArtwork.h"
#include "ScreenStates.h"
#include "SimulatedPanelTest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include <functional>

using Setup = std::function<void(CDemo&, SimulatedPanel&)>;
Q_DECLARE_METATYPE(Setup)

namespace {

const QColor kUnselected(170, 170, 170);
const QColor kSelected(221, 241, 185);
const QColor kLit(0, 200, 0);
const QByteArray kDefaultsFile("0,1,1,0,1,0,0,1,0,\r\n1,2,4,7,0,0,0,0,0,\r\n200,10,\r\n");

QImage Picture(int id) {
    return QImage(PanelArtwork::bitmapPath(id));
}

// The nine order boxes as one text, "…,1,2,,3,…".
QString OrderBoxes(const CDemo& demo) {
    QStringList texts;
    for (int i = 0; i < 9; ++i) {
        texts << demo.orderBox(i)->text();
    }
    return texts.join(QLatin1Char(','));
}

QString Ticked(const CDemo& demo) {
    QString ticks;
    for (int i = 0; i < 9; ++i) {
        ticks += demo.selectBox(i)->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    }
    return ticks;
}

void Type(QLineEdit* box, const QString& text) {
    box->setText(text);
}

}  // namespace

class DemoDialogTest : public SimulatedPanelTest {
    Q_OBJECT

private:
    CDemo& demo() { return dialog().demoLoop(); }

    // Each panel's loop runs on a clock of its own, and writes files into a folder of its own.
    void settle() override {
        SimulatedPanelTest::settle();
        clock_ = std::make_unique<FakeDemoClock>();
        clock_->fire = [this](int id) { demo().OnTimer(id); };
        demo().SetTimers(clock_.get());
        files_ = std::make_unique<QTemporaryDir>();
    }

    QString path(const QString& name) const { return files_->filePath(name); }

    // DEMO LOOP on the main screen; body plays the user while the dialog is up.
    void inDemoLoop(const std::function<void(CDemo&)>& body) {
        panel_->prompts.whileModal = [this, &body](QDialog&) { body(demo()); };
        QTest::mouseClick(&dialog(), Qt::LeftButton, {}, QPoint(600, 380));
        panel_->prompts.whileModal = {};
    }

    QStringList switchingCalls() {
        QStringList calls;
        for (const QString& line : panel_->callLines()) {
            if (line.startsWith(QLatin1String("TurnONLEDs")) ||
                line.startsWith(QLatin1String("TurnOFFLEDs"))) {
                calls << line.section(QLatin1String(" ->"), 0, 0);
            }
        }
        return calls;
    }

    bool ledOn(int channel) {
        return panel_->sim(QStringLiteral("status"))
            .contains(QStringLiteral("unit0.channel%1.on=1").arg(channel));
    }

    void startLoop(CDemo& demo) {
        QTest::mouseClick(demo.onOffButton(), Qt::LeftButton);
        QVERIFY(demo.sequence().running());
    }

    std::unique_ptr<FakeDemoClock> clock_;
    std::unique_ptr<QTemporaryDir> files_;

private slots:
    void opensWithDefaultsAndTheChannelNames() {
        inDemoLoop([](CDemo& demo) {
            QVERIFY(demo.isVisible());
            QCOMPARE(demo.windowTitle(), QStringLiteral("Demo Loop Setting"));
            QCOMPARE(demo.size(), demo.units().Size(425, 187));
            QCOMPARE(Ticked(demo), QStringLiteral("011010010"));
            QCOMPARE(OrderBoxes(demo), QStringLiteral(",1,2,,3,,,4,"));
            QCOMPARE(demo.onTimeBox()->text(), QStringLiteral("200"));
            QCOMPARE(demo.offTimeBox()->text(), QStringLiteral("10"));
            QCOMPARE(demo.tile(0)->text(), QStringLiteral("UV 365"));
            QCOMPARE(demo.tile(8)->text(), QStringLiteral("Red 635"));
            QCOMPARE(demo.tile(0)->faceColour(), kUnselected);
            QCOMPARE(demo.tile(1)->faceColour(), kSelected);
            for (int i = 0; i < 9; ++i) {
                const bool hd = i >= 3 && i <= 6;
                QCOMPARE(demo.label(i)->faceColour() == QColor(255, 255, 0), hd);
            }
            QCOMPARE(demo.warningLabel()->faceColour(), QColor(255, 255, 0));
            QCOMPARE(demo.mainScreenButton()->faceColour(), QColor(75, 75, 75));
            QCOMPARE(demo.resetButton()->textColour(), QColor(160, 160, 160));
            QCOMPARE(demo.onOffButton()->picture(), Picture(CDemo::kStoppedPicture));
            QCOMPARE(demo.userSettingList()->currentIndex(), -1);
            QVERIFY(!demo.sequence().running());
        });
        QCOMPARE(panel_->prompts.modalsShown, QStringList{QStringLiteral("Demo Loop Setting")});
        QCOMPARE(dialog().router().ScreenState(), screens::kMain);
    }

    void runsTheLoopOnTheUnit() {
        inDemoLoop([this](CDemo& demo) {
            startLoop(demo);
            QCOMPARE(demo.onOffButton()->picture(), Picture(CDemo::kRunningPicture));
            QVERIFY(!demo.selectBox(0)->isEnabled());
            QVERIFY(!demo.orderBox(0)->isEnabled());
            QVERIFY(!demo.onTimeBox()->isEnabled());
            QVERIFY(!demo.userSettingList()->isEnabled());
            QVERIFY(!demo.resetButton()->isEnabled());
            QTest::mouseClick(demo.resetButton(), Qt::LeftButton);
            QCOMPARE(Ticked(demo), QStringLiteral("011010010"));
            QVERIFY(switchingCalls().isEmpty());

            clock_->advance(10);
            QVERIFY(ledOn(2));
            QCOMPARE(demo.tile(1)->faceColour(), kLit);
            clock_->advance(200);
            QVERIFY(!ledOn(2));
            QCOMPARE(demo.tile(1)->faceColour(), kSelected);
            clock_->advance(430);
            QVERIFY(ledOn(8));

            QCOMPARE(switchingCalls(), (QStringList{
                                           "TurnONLEDs(0, {0,1,0,0,0,0,0,0,0})",
                                           "TurnOFFLEDs(0, {0,0,0,0,0,0,0,0,0})",
                                           "TurnONLEDs(0, {0,0,1,0,0,0,0,0,0})",
                                           "TurnOFFLEDs(0, {0,0,0,0,0,0,0,0,0})",
                                           "TurnONLEDs(0, {0,0,0,0,1,0,0,0,0})",
                                           "TurnOFFLEDs(0, {0,0,0,0,0,0,0,0,0})",
                                           "TurnONLEDs(0, {0,0,0,0,0,0,0,1,0})",
                                       }));

            panel_->clearLog();
            QTest::mouseClick(demo.onOffButton(), Qt::LeftButton);
            QVERIFY(!demo.sequence().running());
            QVERIFY(!ledOn(8));
            QCOMPARE(switchingCalls(), (QStringList{"TurnOFFLEDs(0, {0,0,0,0,0,0,0,0,0})",
                                                    "TurnOFFLEDs(0, {0,0,0,0,0,0,0,0,0})"}));
            QCOMPARE(demo.onOffButton()->picture(), Picture(CDemo::kStoppedPicture));
            QVERIFY(demo.selectBox(0)->isEnabled());
            QVERIFY(demo.onTimeBox()->isEnabled());
            QVERIFY(demo.resetButton()->isEnabled());
            QCOMPARE(demo.tile(7)->faceColour(), kSelected);
            clock_->advance(1000);
            QVERIFY(switchingCalls().size() == 2);
        });
    }

    // Without a test clock the dialog's own timers run the loop.
    void windowTimersRunTheLoop() {
        inDemoLoop([this](CDemo& demo) {
            demo.SetTimers(nullptr);
            startLoop(demo);
            QTRY_VERIFY_WITH_TIMEOUT(ledOn(3), 5000);
            QTest::mouseClick(demo.onOffButton(), Qt::LeftButton);
            panel_->clearLog();
            QTest::qWait(300);
            QVERIFY(switchingCalls().isEmpty());
        });
    }

    void alarmStopsTheLoop_data() {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<bool>("stops");
        QTest::newRow("current alarm on looped CH2") << QStringList{"channel-status 2 set current"} << true;
        QTest::newRow("over-temperature on looped CH8")
            << QStringList{"channel-status 8 set overtemp"} << true;
        QTest::newRow("alarm on CH1, not looped") << QStringList{"channel-status 1 set current"} << false;
        QTest::newRow("light guide out with the alarm")
            << QStringList{"unit-status clear lightguide", "unit-status set alarm"} << true;
        // The unit need not raise its alarm bit for the light guide: out, no LED may be lit.
        QTest::newRow("light guide out alone") << QStringList{"unit-status clear lightguide"} << true;
    }

    void alarmStopsTheLoop() {
        QFETCH(QStringList, commands);
        QFETCH(bool, stops);
        inDemoLoop([&](CDemo& demo) {
            startLoop(demo);
            clock_->advance(10);
            for (const QString& command : commands) {
                QCOMPARE(panel_->sim(command), QStringLiteral("ok"));
            }
            panel_->tick(10);
            QCOMPARE(demo.sequence().running(), !stops);
            QCOMPARE(demo.onOffButton()->picture(),
                     Picture(stops ? CDemo::kStoppedPicture : CDemo::kRunningPicture));
            if (stops) {
                QVERIFY(!ledOn(2));
                // Stopped for good: no step lights an LED any more.
                panel_->clearLog();
                clock_->advance(2000);
                QVERIFY(switchingCalls().isEmpty());
            }
        });
    }

    // Whatever empties the selection of a running loop leaves it switching CH1 through its
    // emptied order: an alarm there stops it all the same.
    void alarmOnAChannelTheLoopSwitchesStopsIt() {
        inDemoLoop([this](CDemo& demo) {
            startLoop(demo);
            demo.ResetSettings();
            clock_->advance(10);
            QVERIFY(ledOn(1));
            simOk(QStringLiteral("channel-status 1 set overtemp"));
            panel_->tick(10);
            QVERIFY(!demo.sequence().running());
            QVERIFY(!ledOn(1));
        });
    }

    // The unit lost while the loop runs: no word more to it, the dialog closes without its
    // questions, and the panel ends after its own.
    void unitLostWhileRunningEndsThePanel() {
        bool closedBeforeTheMessage = false;
        panel_->prompts.whileShown = [this, &closedBeforeTheMessage](const ScriptedPrompts::Shown& shown) {
            if (shown.title == QLatin1String("ORVANE Not Found!")) {
                closedBeforeTheMessage = !demo().isVisible();
            }
        };
        inDemoLoop([this](CDemo& demo) {
            startLoop(demo);
            clock_->advance(10);
            simOk(QStringLiteral("unplug 0"));
            panel_->clearLog();
            panel_->tick(3);
            QVERIFY(!demo.isVisible());
            QCOMPARE(demo.result(), int(QDialog::Rejected));
            QVERIFY(!demo.sequence().running());
            QVERIFY(demo.resetButton()->isEnabled());
            clock_->advance(1000);
        });
        panel_->prompts.whileShown = {};
        QVERIFY(closedBeforeTheMessage);
        QVERIFY(dialog().hasEnded());
        QCOMPARE(
            panel_->prompts.texts(),
            (QStringList{"ORVANE Device Not Found, please connect and power on and restart Control Panel.",
                         "Would you like to save settings on exit?"}));
        QVERIFY(switchingCalls().isEmpty());
        QVERIFY(panel_->waits.waits.isEmpty());
    }

    void alarmWhileTheDialogIsClosedChangesNothing() {
        inDemoLoop([this](CDemo& demo) {
            startLoop(demo);
            demo.hide();
            QCOMPARE(panel_->sim(QStringLiteral("channel-status 2 set current")), QStringLiteral("ok"));
            panel_->tick(10);
            QVERIFY(demo.sequence().running());
        });
    }

    void leavingWhileRunningDoesNothing() {
        inDemoLoop([this](CDemo& demo) {
            startLoop(demo);
            QTest::mouseClick(demo.mainScreenButton(), Qt::LeftButton);
            demo.close();
            QVERIFY(demo.isVisible());
            QVERIFY(demo.sequence().running());
            QVERIFY(panel_->prompts.shown.isEmpty());
            QVERIFY(panel_->waits.waits.isEmpty());
        });
    }

    void mainScreenKeepsTheDefaultsForTheNextRun() {
        panel_->prompts.answers = {Prompts::Answer::Yes};
        inDemoLoop([this](CDemo& demo) {
            QTest::mouseClick(demo.resetButton(), Qt::LeftButton);
            QCOMPARE(Ticked(demo), QStringLiteral("000000000"));
            QCOMPARE(demo.tile(1)->faceColour(), kUnselected);
            for (const int i : {0, 8}) {
                QTest::mouseClick(demo.selectBox(i), Qt::LeftButton, {}, QPoint(5, 5));
            }
            Type(demo.orderBox(0), QStringLiteral("2"));
            Type(demo.orderBox(8), QStringLiteral("1"));
            Type(demo.onTimeBox(), QStringLiteral("3000"));
            demo.OnOnTimeKillFocus();
            Type(demo.offTimeBox(), QStringLiteral("50"));
            demo.OnOffTimeKillFocus();
            panel_->clearLog();
            QTest::mouseClick(demo.mainScreenButton(), Qt::LeftButton);
            QVERIFY(!demo.isVisible());
            QCOMPARE(demo.result(), int(QDialog::Accepted));
        });
        QCOMPARE(panel_->prompts.texts(), QStringList{CDemo::kSaveDefaultsText});
        QCOMPARE(panel_->prompts.shown.first().title, QStringLiteral("Action"));
        QCOMPARE(panel_->prompts.shown.first().buttons, Prompts::Buttons::YesNo);
        QCOMPARE(panel_->waits.waits, QList<int>{200});
        QCOMPARE(switchingCalls(), QStringList{"TurnOFFLEDs(0, {0,0,0,0,0,0,0,0,0})"});
        ProfileStore& profile = panel_->profile();
        QCOMPARE(profile.readString("Demo Loop", "Selection", {}), QStringLiteral("1,0,0,0,0,0,0,0,1"));
        QCOMPARE(profile.readString("Demo Loop", "Order", {}), QStringLiteral("8,0,0,0,0,0,0,0,0"));
        QCOMPARE(profile.readString("Demo Loop", "On and Off Time", {}), QStringLiteral("3000,50"));

        // A later run reads them at its first opening.
        PanelSettings settings(profile);
        CDemo nextRun(dialog().session(), settings, panel_->prompts, panel_->waits);
        nextRun.show();
        QCOMPARE(Ticked(nextRun), QStringLiteral("100000001"));
        QCOMPARE(OrderBoxes(nextRun), QStringLiteral("2,,,,,,,,1"));
        QCOMPARE(nextRun.onTimeBox()->text(), QStringLiteral("3000"));
        QCOMPARE(nextRun.offTimeBox()->text(), QStringLiteral("50"));
        nextRun.hide();
    }

    void leavingWithoutValidSettingsKeepsTheStoredOnes_data() {
        QTest::addColumn<Prompts::Answer>("answer");
        QTest::addColumn<QString>("orderOfCh2");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("No") << Prompts::Answer::No << "1" << QStringList{CDemo::kSaveDefaultsText};
        QTest::newRow("Yes, order invalid")
            << Prompts::Answer::Yes << "" << QStringList{CDemo::kSaveDefaultsText, CDemo::kInvalidOrderText};
    }

    void leavingWithoutValidSettingsKeepsTheStoredOnes() {
        QFETCH(Prompts::Answer, answer);
        QFETCH(QString, orderOfCh2);
        QFETCH(QStringList, messages);
        panel_->prompts.answers = {answer};
        inDemoLoop([&](CDemo& demo) {
            Type(demo.orderBox(1), orderOfCh2);
            demo.close();
            QVERIFY(!demo.isVisible());
            QCOMPARE(demo.result(), int(QDialog::Rejected));
        });
        QCOMPARE(panel_->prompts.texts(), messages);
        QCOMPARE(panel_->profile().readString("Demo Loop", "Selection", QStringLiteral("absent")),
                 QStringLiteral("absent"));
        QCOMPARE(panel_->waits.waits, QList<int>{200});
    }

    void refusalsToStart_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("popup");  // the main screen's warning popup shown; -1: none
        QTest::newRow("order box emptied")
            << Setup([](CDemo& demo, SimulatedPanel&) { demo.orderBox(1)->clear(); })
            << CDemo::kInvalidOrderText << "Error" << -1;
        QTest::newRow("two HD channels at 200/10") << Setup([](CDemo& demo, SimulatedPanel&) {
            QTest::mouseClick(demo.selectBox(3), Qt::LeftButton, {}, QPoint(5, 5));
            Type(demo.orderBox(3), QStringLiteral("5"));
        }) << CDemo::kHdTimesText << "Error" << -1;
        // The box never gives 0; a settings file or a stored value still can.
        QTest::newRow("on time 0") << Setup([](CDemo& demo, SimulatedPanel&) {
            demo.settings().ReadFileText("0,1,1,0,1,0,0,1,0,\n1,2,4,7,0,0,0,0,0,\n65536,10,\n");
        }) << CDemo::kNoOnTimeText << "Action"
                                   << -1;
        // Nothing to loop over: the first step would light CH1, which nobody chose.
        QTest::newRow("nothing selected") << Setup([](CDemo& demo, SimulatedPanel&) { demo.ResetSettings(); })
                                          << CDemo::kInvalidOrderText << "Error" << -1;
        QTest::newRow("a looped channel at 0 %") << Setup([](CDemo&, SimulatedPanel& panel) {
            panel.sim(QStringLiteral("knob 3 0"));
            panel.tick(10);
        }) << CDemo::kNoIntensityText << "Action" << -1;
        QTest::newRow("unit not answering")
            << Setup([](CDemo&, SimulatedPanel& panel) { panel.sim(QStringLiteral("unplug 0")); })
            << QString() << QString() << -1;
        // As the main screen refuses to switch an LED on.
        QTest::newRow("light guide out") << Setup([](CDemo&, SimulatedPanel& panel) {
            panel.sim(QStringLiteral("unit-status clear lightguide"));
            panel.tick(10);
        }) << QString() << QString() << int(CError::LightGuideOut);
        QTest::newRow("an alarm on a looped channel") << Setup([](CDemo&, SimulatedPanel& panel) {
            panel.sim(QStringLiteral("channel-status 5 set overtemp"));
            panel.tick(10);
        }) << QString() << QString() << int(CError::AlarmActive);
    }

    void refusalsToStart() {
        QFETCH(Setup, setup);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(int, popup);
        inDemoLoop([&](CDemo& demo) {
            setup(demo, *panel_);
            panel_->prompts.shown.clear();
            panel_->clearLog();
            QTest::mouseClick(demo.onOffButton(), Qt::LeftButton);
            QVERIFY(!demo.sequence().running());
            QCOMPARE(panel_->prompts.errors, popup < 0 ? QList<uint8_t>{} : QList<uint8_t>{uint8_t(popup)});
            QCOMPARE(demo.onOffButton()->picture(), Picture(CDemo::kStoppedPicture));
            QCOMPARE(panel_->prompts.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
            if (!message.isEmpty()) {
                QCOMPARE(panel_->prompts.shown.first().title, title);
            }
            clock_->advance(1000);
            QVERIFY(switchingCalls().isEmpty());
        });
    }

    void tickingAChannelAtZeroWarnsAndKeepsTheTick() {
        panel_->sim(QStringLiteral("knob 1 0"));
        panel_->tick(10);
        inDemoLoop([this](CDemo& demo) {
            QTest::mouseClick(demo.selectBox(0), Qt::LeftButton, {}, QPoint(5, 5));
            QCOMPARE(panel_->prompts.texts(), QStringList{CDemo::kNoIntensityText});
            QCOMPARE(panel_->prompts.shown.first().title, QStringLiteral("Action"));
            QVERIFY(demo.selectBox(0)->isChecked());
            QCOMPARE(demo.tile(0)->faceColour(), kSelected);

            Type(demo.orderBox(1), QStringLiteral("7"));
            QTest::mouseClick(demo.selectBox(1), Qt::LeftButton, {}, QPoint(5, 5));
            QCOMPARE(demo.tile(1)->faceColour(), kUnselected);
            QCOMPARE(demo.orderBox(1)->text(), QString());
        });
    }

    void savesTheSettingsFile_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("no suffix") << "demo"
                                   << "demo.txt";
        QTest::newRow(".txt anywhere counts") << "demo.txt.old"
                                              << "demo.txt.old";
        QTest::newRow("upper case is not .txt") << "DEMO.TXT"
                                                << "DEMO.TXT.txt";
    }

    void savesTheSettingsFile() {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        panel_->prompts.filePaths = {path(chosen)};
        inDemoLoop([](CDemo& demo) { emit demo.userSettingList()->activated(CDemo::kSave); });
        QCOMPARE(panel_->prompts.fileFilters, QStringList{CDemo::kSaveFilter});
        QFile file(path(written));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), kDefaultsFile);
        QVERIFY(panel_->prompts.shown.isEmpty());
    }

    void savingFailsOrIsRefused_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<int>("fileDialogs");
        QTest::addColumn<QStringList>("messages");
        const Setup none = [](CDemo&, SimulatedPanel&) {};
        QTest::newRow("folder missing")
            << none << QStringList{"missing/demo.txt"} << 1 << QStringList{CDemo::kSaveFailedText};
        QTest::newRow("cancelled") << none << QStringList{} << 1 << QStringList{};
        QTest::newRow("invalid order asks for no file")
            << Setup([](CDemo& demo, SimulatedPanel&) { demo.orderBox(1)->setText(QStringLiteral("9")); })
            << QStringList{"demo.txt"} << 0 << QStringList{CDemo::kInvalidOrderText};
    }

    void savingFailsOrIsRefused() {
        QFETCH(Setup, setup);
        QFETCH(QStringList, paths);
        QFETCH(int, fileDialogs);
        QFETCH(QStringList, messages);
        for (const QString& entry : paths) {
            panel_->prompts.filePaths << path(entry);
        }
        inDemoLoop([&](CDemo& demo) {
            setup(demo, *panel_);
            demo.OnUserSetting(CDemo::kSave);
        });
        QCOMPARE(panel_->prompts.fileFilters.size(), fileDialogs);
        QCOMPARE(panel_->prompts.texts(), messages);
        if (!messages.isEmpty() && messages.first() == QLatin1String(CDemo::kSaveFailedText)) {
            QCOMPARE(panel_->prompts.shown.first().title, QStringLiteral("Info"));
            QCOMPARE(panel_->prompts.shown.first().buttons, Prompts::Buttons::YesNo);
        }
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("demo.txt"))));
    }

    // A write that runs out of room (the file size limit stands in for a full disk) is told, and
    // the file saved before stays whole.
    void aFailedSaveKeepsTheOldFile() {
        const QByteArray old("1,0,0,0,0,0,0,0,1,\r\n8,0,0,0,0,0,0,0,0,\r\n3000,100,\r\n");
        QFile file(path(QStringLiteral("demo.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
        file.close();
        panel_->prompts.filePaths = {file.fileName()};
        {
            const FileSizeLimit full(8);
            inDemoLoop([](CDemo& demo) { emit demo.userSettingList()->activated(CDemo::kSave); });
        }
        QCOMPARE(panel_->prompts.texts(), QStringList{CDemo::kSaveFailedText});
        QCOMPARE(panel_->prompts.shown.first().title, QStringLiteral("Info"));
        QCOMPARE(panel_->prompts.shown.first().buttons, Prompts::Buttons::YesNo);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
        QCOMPARE(QDir(files_->path()).entryList(QDir::Files), QStringList{"demo.txt"});
    }

    void readsTheSettingsFile_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("ticked");
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<QString>("times");
        QTest::newRow("CH9 then CH1")
            << QByteArray("1,0,0,0,0,0,0,0,1,\r\n8,0,0,0,0,0,0,0,0,\r\n3000,100,\r\n") << "100000001"
            << "2,,,,,,,,1"
            << "3000/100";
        // The file is not checked: CH8's box keeps its step and step 1 goes where the order held
        // before says, unselected or not.
        QTest::newRow("selection only") << QByteArray("0,0,0,0,0,0,0,1,0,\r\n") << "000000010"
                                        << ",1,,,,,,4,"
                                        << "200/10";
        QTest::newRow("text") << QByteArray("hello\nworld\n") << "011010010"
                              << ",1,2,,3,,,4,"
                              << "200/10";
        // Only the start is read; the rest of a large file is never looked at.
        QTest::newRow("large file, one endless line") << QByteArray(4 << 20, '1') << "011010010"
                                                      << ",1,2,,3,,,4,"
                                                      << "200/10";
    }

    void readsTheSettingsFile() {
        QFETCH(QByteArray, content);
        QFETCH(QString, ticked);
        QFETCH(QString, boxes);
        QFETCH(QString, times);
        QFile file(path(QStringLiteral("read.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        panel_->prompts.filePaths = {file.fileName()};
        inDemoLoop([&](CDemo& demo) {
            emit demo.userSettingList()->activated(CDemo::kRead);
            QCOMPARE(Ticked(demo), ticked);
            QCOMPARE(OrderBoxes(demo), boxes);
            QCOMPARE(demo.onTimeBox()->text() + QLatin1Char('/') + demo.offTimeBox()->text(), times);
            for (int i = 0; i < 9; ++i) {
                QCOMPARE(demo.tile(i)->faceColour(), ticked[i] == QLatin1Char('1') ? kSelected : kUnselected);
            }
        });
        QCOMPARE(panel_->prompts.fileFilters, QStringList{CDemo::kOpenFilters});
        QVERIFY(panel_->prompts.shown.isEmpty());
    }

    void unreadableFilesChangeNothing_data() {
        QTest::addColumn<QString>("chosen");
        QTest::newRow("cancelled") << QString();
        QTest::newRow("missing") << "missing.txt";
        QTest::newRow("a folder") << ".";
        QTest::newRow("a device that never ends") << "/dev/zero";
    }

    void unreadableFilesChangeNothing() {
        QFETCH(QString, chosen);
        if (!chosen.isEmpty()) {
            panel_->prompts.filePaths = {chosen.startsWith('/') ? chosen : path(chosen)};
        }
        inDemoLoop([](CDemo& demo) {
            demo.ReadDemoFile();
            QCOMPARE(Ticked(demo), QStringLiteral("011010010"));
            QCOMPARE(OrderBoxes(demo), QStringLiteral(",1,2,,3,,,4,"));
            QCOMPARE(demo.onTimeBox()->text(), QStringLiteral("200"));
        });
    }

    void keys() {
        inDemoLoop([this](CDemo& demo) {
            demo.activateWindow();
            QApplication::setActiveWindow(&demo);

            QTest::keyClick(&demo, Qt::Key_Escape);
            QVERIFY(demo.isVisible());
            QVERIFY(panel_->prompts.shown.isEmpty());

            demo.onTimeBox()->setFocus();
            QTest::keyClick(demo.onTimeBox(), Qt::Key_Return);
            QVERIFY(demo.isVisible());
            QCOMPARE(demo.focusWidget(), demo.offTimeBox());

            QTest::keyClick(demo.offTimeBox(), Qt::Key_Enter);
            QCOMPARE(demo.focusWidget(), demo.selectBox(0));

            demo.mainScreenButton()->setFocus();
            QTest::keyClick(demo.mainScreenButton(), Qt::Key_Return);
            QVERIFY(demo.isVisible());
            QCOMPARE(demo.focusWidget(), demo.selectBox(0));
            QVERIFY(panel_->prompts.shown.isEmpty());
        });
    }

    // The settings stay in memory between openings; every opening starts stopped.
    void settingsSurviveBetweenOpenings() {
        inDemoLoop([](CDemo& demo) {
            demo.ResetSettings();
            QTest::mouseClick(demo.selectBox(5), Qt::LeftButton, {}, QPoint(5, 5));
            demo.orderBox(5)->setText(QStringLiteral("1"));
            // The order is taken when the loop starts.
            demo.ToggleDemoLoop();
            demo.ToggleDemoLoop();
            demo.LeaveDemoLoop(QDialog::Accepted);
        });
        inDemoLoop([](CDemo& demo) {
            QCOMPARE(Ticked(demo), QStringLiteral("000001000"));
            QCOMPARE(OrderBoxes(demo), QStringLiteral(",,,,,1,,,"));
        });
    }
};

QTEST_MAIN(DemoDialogTest)
#include "tst_demodialog.moc"
