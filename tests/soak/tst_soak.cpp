// The real panel on the simulated unit for many poll ticks on a fake clock, while the unit and
// the user do everything they can: a second unit comes and goes, calls fail or are slow, status
// bits rise and fall, the knob turns, LEDs switch at the unit, and the user clicks through every
// screen, its entries and the demo loop. Afterwards the panel still runs, every stored setting
// reads back from the file as last written, and the unit holds what the panel last sent. The
// sanitized pass runs it too, which covers crashes and leaks.
//
// RZ470_SOAK_TICKS sets the number of ticks (the regular run takes kDefaultTicks; the full soak
// is 100000) and RZ470_SOAK_SEED the random seed.
#include "CDemo.h"
#include "CMainSliderCtrl.h"
#include "ColourButton.h"
#include "FakeDemoClock.h"
#include "MainScreen.h"
#include "MenuButtons.h"
#include "ScreenStates.h"
#include "SimulatedPanelTest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSet>
#include <QSettings>
#include <QtTest>

namespace {

constexpr int kDefaultTicks = 20000;
constexpr quint32 kDefaultSeed = 470;

int FromEnvironment(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

// Entry points whose calls the soak makes fail or slow now and then: every one the panel makes
// while it runs.
const QStringList kFaultyEntries = {
    QStringLiteral("UpdateData"),          QStringLiteral("GetNumDevicesConnected"),
    QStringLiteral("DeviceActive"),        QStringLiteral("Connect"),
    QStringLiteral("GetUnitSerialNumber"), QStringLiteral("GetSerialIdentifier"),
    QStringLiteral("GetUnitStatus"),       QStringLiteral("GetIntensityLevel"),
    QStringLiteral("SetIntensityLevel"),   QStringLiteral("TurnONLEDs"),
    QStringLiteral("TurnOFFLEDs"),         QStringLiteral("SetGrouping"),
    QStringLiteral("GetGrouping"),         QStringLiteral("GetLEDName"),
};

const QStringList kChannelBits = {QStringLiteral("nvm"),      QStringLiteral("undertemp"),
                                  QStringLiteral("mismatch"), QStringLiteral("current"),
                                  QStringLiteral("fitted"),   QStringLiteral("present"),
                                  QStringLiteral("overtemp")};
const QStringList kUnitBits = {QStringLiteral("alarm"), QStringLiteral("lightguide"),
                               QStringLiteral("knoblock"), QStringLiteral("nvm"),
                               QStringLiteral("performance")};

QPoint Centre(const MenuButton& button) {
    return button.button.place.region().centre();
}

// "unit0.channel3.intensity=500" and the like, as a map.
QHash<QString, QString> StatusFields(const QString& status) {
    QHash<QString, QString> fields;
    for (const QString& line : status.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        fields.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1));
    }
    return fields;
}

}  // namespace

class SoakTest : public SimulatedPanelTest {
    Q_OBJECT

public:
    SoakTest() {
        // The panel syncs every stored value to disk; in memory the soak times the panel alone.
        if (QFileInfo(QStringLiteral("/dev/shm")).isWritable()) {
            qputenv("TMPDIR", "/dev/shm");
        }
    }

private:
    QRandomGenerator random_;
    std::unique_ptr<FakeDemoClock> clock_;
    QTemporaryDir files_;
    QSet<int> screensVisited_;
    int demoLoopsRun_ = 0;
    int simCommandsRefused_ = 0;
    int slowTicksLeft_ = 0;

    bool chance(int oneIn) { return random_.bounded(oneIn) == 0; }
    int pick(int count) { return static_cast<int>(random_.bounded(count)); }

    void settle() override {
        SimulatedPanelTest::settle();
        clock_ = std::make_unique<FakeDemoClock>();
        clock_->fire = [this](int id) { dialog().demoLoop().OnTimer(id); };
        dialog().demoLoop().SetTimers(clock_.get());
    }

    void sim(const QString& command) {
        if (panel_->sim(command).startsWith(QLatin1String("error"))) {
            ++simCommandsRefused_;  // a locked knob, say: the unit refuses as it would
        }
    }

    // What the unit and its surroundings do on their own.
    void unitEvent() {
        const int channel = 1 + pick(9);
        switch (pick(9)) {
            case 0:
                sim(QStringLiteral("%1 1").arg(chance(2) ? QStringLiteral("plug")
                                                         : QStringLiteral("unplug")));
                break;
            case 1:
                sim(QStringLiteral("fail %1 %2")
                        .arg(kFaultyEntries[pick(kFaultyEntries.size())])
                        .arg(1 + pick(3)));
                break;
            case 2:
                // Slow calls are real sleeps: short, and over after a few ticks.
                sim(QStringLiteral("delay %1 1").arg(kFaultyEntries[pick(kFaultyEntries.size())]));
                slowTicksLeft_ = 5;
                break;
            case 3:
                sim(QStringLiteral("channel-status %1 %2 %3")
                        .arg(channel)
                        .arg(chance(2) ? QStringLiteral("set") : QStringLiteral("clear"))
                        .arg(kChannelBits[pick(kChannelBits.size())]));
                break;
            case 4:
                sim(QStringLiteral("unit-status %1 %2")
                        .arg(chance(2) ? QStringLiteral("set") : QStringLiteral("clear"))
                        .arg(kUnitBits[pick(kUnitBits.size())]));
                break;
            case 5:
            case 6:
                sim(QStringLiteral("knob %1 %2").arg(channel).arg(pick(1001)));
                break;
            case 7:
                sim(QStringLiteral("led %1 %2")
                        .arg(channel)
                        .arg(chance(2) ? QStringLiteral("on") : QStringLiteral("off")));
                break;
            case 8:
                sim(QStringLiteral("name %1 %2").arg(channel).arg(QStringLiteral("Soak %1").arg(pick(1000))));
                break;
        }
    }

    // Answers for whatever the next click may ask: entries, options, questions, files.
    void scriptAnswers() {
        ScriptedPrompts& prompts = panel_->prompts;
        static const QStringList kTyped = {QStringLiteral("0"),    QStringLiteral("5"),
                                           QStringLiteral("37.3"), QStringLiteral("100.1"),
                                           QStringLiteral("4"),    QStringLiteral("abc"),
                                           QStringLiteral(""),     QStringLiteral("12345678901234567890"),
                                           QStringLiteral("DAPI"), QStringLiteral("Grün ☀ long name")};
        while (prompts.entries.size() < 2) {
            prompts.entries.append({kTyped[pick(kTyped.size())], !chance(4), chance(8)});
        }
        while (prompts.options.size() < 2) {
            prompts.options.append(static_cast<Prompts::FavouriteOption>(200 + pick(4)));
        }
        while (prompts.answers.size() < 2) {
            prompts.answers.append(chance(2) ? Prompts::Answer::Yes : Prompts::Answer::No);
        }
        while (prompts.filePaths.size() < 2) {
            prompts.filePaths.append(chance(3) ? QString() : files_.filePath(QStringLiteral("demo.txt")));
        }
    }

    // A click the user might make on the screen shown; the window is never closed.
    void userAction() {
        scriptAnswers();
        screensVisited_.insert(dialog().router().ScreenState());
        const bool onMain = dialog().router().ScreenState() == screens::kMain;
        switch (pick(onMain ? 6 : 3)) {
            case 0:
                if (!onMain) {
                    click(Centre(menubuttons::kReturnToMain));
                    break;
                }
                [[fallthrough]];
            case 3: {
                static const MenuButton* const kMenu[] = {&menubuttons::kGrouping, &menubuttons::kTrigger,
                                                          &menubuttons::kMaintenance, &menubuttons::kAlarms};
                click(Centre(*kMenu[pick(4)]));
                break;
            }
            case 4:
                if (chance(10)) {
                    runDemoLoop();
                    break;
                }
                [[fallthrough]];
            case 5: {
                CMainSliderCtrl& slider = dialog().slider(pick(9));
                if (slider.isVisible()) {
                    const int x = pick(slider.width());  // one at a time: the seed's order holds
                    const int y = pick(slider.height());
                    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(x, y));
                }
                break;
            }
            default: {
                // Anywhere on the window but EXIT.
                const int x = pick(dialog().width());
                QPoint at(x, pick(dialog().height()));
                if (onMain && menubuttons::kExit.button.place.region().contains(at.x(), at.y())) {
                    at = Centre(menubuttons::kAlarms);
                }
                click(at);
                break;
            }
        }
    }

    // DEMO LOOP: the user plays with the dialog while the poll goes on, then leaves it.
    void runDemoLoop() {
        ++demoLoopsRun_;
        panel_->prompts.whileModal = [this](QDialog&) {
            CDemo& demo = dialog().demoLoop();
            for (int step = 0; step < 12; ++step) {
                switch (pick(6)) {
                    case 0:
                        QTest::mouseClick(demo.onOffButton(), Qt::LeftButton);
                        break;
                    case 1:
                        demo.selectBox(pick(9))->click();
                        break;
                    case 2:
                        QTest::mouseClick(demo.resetButton(), Qt::LeftButton);
                        break;
                    case 3:
                        demo.userSettingList()->setCurrentIndex(pick(demo.userSettingList()->count()));
                        break;
                    default:
                        clock_->advance(pick(3000));
                        panel_->tick(1 + pick(10));
                        break;
                }
            }
            QTest::mouseClick(demo.mainScreenButton(), Qt::LeftButton);
        };
        click(Centre(menubuttons::kDemoLoop));
        panel_->prompts.whileModal = {};
    }

    void disarmDelays() {
        for (const QString& entry : kFaultyEntries) {
            panel_->sim(QStringLiteral("delay %1 0").arg(entry));
        }
    }

    void disarmFaults() {
        disarmDelays();
        for (const QString& entry : kFaultyEntries) {
            panel_->sim(QStringLiteral("fail %1 0").arg(entry));
        }
    }

    // Every value as the panel last wrote it (a store on the panel's file shares its cache) is
    // what a copy of the file, read afresh as at the next start, holds once the store's write
    // interval is over.
    void checkStoredSettings() {
        QTest::qWait(ProfileStore::kWriteIntervalMs + 100);
        const QString copy = files_.filePath(QStringLiteral("profile-copy.ini"));
        QFile::remove(copy);
        QVERIFY(QFile::copy(panel_->profile().location(), copy));
        QStringList written = QSettings(panel_->profile().location(), QSettings::IniFormat).allKeys();
        QStringList onDisk = QSettings(copy, QSettings::IniFormat).allKeys();
        written.sort();
        onDisk.sort();
        QCOMPARE(onDisk, written);
        QVERIFY2(!written.isEmpty(), "the panel stored nothing in the whole soak");
        for (const QString& key : written) {
            const QString section = key.section(QLatin1Char('/'), 0, 0);
            const QString name = key.section(QLatin1Char('/'), 1);
            const QString onDisk = ProfileStore(copy).readString(section, name, QStringLiteral("<none>"));
            QCOMPARE(onDisk, panel_->profile().readString(section, name, QStringLiteral("<none>")));
        }
    }

    // The unit as the panel left it at the start: every channel fitted and present, no alarm.
    void healUnit() {
        disarmFaults();
        for (int channel = 1; channel <= 9; ++channel) {
            QCOMPARE(panel_->sim(QStringLiteral("channel-status %1 set 0x60").arg(channel)),
                     QStringLiteral("ok"));
            QCOMPARE(panel_->sim(QStringLiteral("channel-status %1 clear 0x9E").arg(channel)),
                     QStringLiteral("ok"));
        }
        QCOMPARE(panel_->sim(QStringLiteral("unit-status clear 0x1441")), QStringLiteral("ok"));
    }

    // The panel's last levels and group rows, sent by the user's own clicks, are what the unit holds.
    void checkUnitHoldsWhatWasSent() {
        const ButtonTable& mainButtons = dialog().router().mainScreen().Buttons();
        const auto upArrow = std::find_if(mainButtons.begin(), mainButtons.end(),
                                          [](const ButtonRow& row) { return row.normalPicture == 168; });
        QVERIFY(upArrow != mainButtons.end());
        panel_->clearLog();
        click(upArrow->region.centre());
        // CLEAR GROUPING of LED 1 on the grouping screen sends the grouping.
        click(Centre(menubuttons::kGrouping));
        QCOMPARE(dialog().router().ScreenState(), screens::kGroupingFirst);
        click({3 + 101 + 246 / 2, 41 + 50 / 2});
        click(Centre(menubuttons::kReturnToMain));
        panel_->tick(12);

        const QStringList calls = panel_->callLines();
        const auto lastSent = [&calls](const QString& start) {
            QString sent;
            for (const QString& line : calls) {
                if (line.startsWith(start)) {
                    sent = line.section(QLatin1Char('{'), 1).section(QLatin1Char('}'), 0, 0);
                }
            }
            return sent;
        };
        const QHash<QString, QString> status = StatusFields(panel_->sim(QStringLiteral("status")));
        const QStringList levels = lastSent(QStringLiteral("SetIntensityLevel(0, {")).split(QLatin1Char(','));
        QCOMPARE(levels.size(), 9);
        for (int c = 0; c < 9; ++c) {
            QCOMPARE(status.value(QStringLiteral("unit0.channel%1.intensity").arg(c + 1)), levels[c]);
            QCOMPARE(levels[c].toInt(), int(panel_->unit().channels[static_cast<size_t>(c)].intensity));
        }
        for (int group = 1; group <= 6; ++group) {
            const QString row = lastSent(QStringLiteral("SetGrouping(0, %1, {").arg(group));
            QCOMPARE(row.split(QLatin1Char(',')).size(), 9);
            QCOMPARE(status.value(QStringLiteral("unit0.group%1").arg(group)), row);
        }
        // The panel keeps the unit's own grouping off while it runs.
        QCOMPARE(status.value(QStringLiteral("unit0.groupingMode")), QStringLiteral("0"));
    }

private slots:
    void soak() {
        const int ticks = FromEnvironment("RZ470_SOAK_TICKS", kDefaultTicks);
        const auto seed = static_cast<quint32>(FromEnvironment("RZ470_SOAK_SEED", kDefaultSeed));
        random_.seed(seed);
        qInfo("%d ticks, seed %u", ticks, seed);

        for (int tick = 0; tick < ticks; ++tick) {
            panel_->tick();
            if (chance(25)) {
                unitEvent();
            }
            if (chance(20)) {
                userAction();
            }
            if (slowTicksLeft_ > 0 && --slowTicksLeft_ == 0) {
                disarmDelays();
            }
            if (chance(400)) {
                disarmFaults();
            }
            QVERIFY2(!dialog().hasEnded(),
                     qPrintable(QStringLiteral("the panel ended at tick %1").arg(tick)));
        }

        healUnit();
        panel_->sim(QStringLiteral("plug 1"));
        dialog().router().ChangeScreen(screens::kMain);
        panel_->tick(40);
        QVERIFY(!dialog().hasEnded());
        QVERIFY(panel_->unit().deviceIndex == 0);

        checkStoredSettings();
        checkUnitHoldsWhatWasSent();

        // Every screen had its share of clicks.
        if (ticks >= kDefaultTicks) {
            for (const int state : {screens::kMain, screens::kAlarms, screens::kMaintenance}) {
                QVERIFY2(screensVisited_.contains(state), qPrintable(QString::number(state)));
            }
            QVERIFY(std::any_of(screensVisited_.begin(), screensVisited_.end(), [](int s) {
                return s >= screens::kGroupingFirst && s <= screens::kGroupingLast;
            }));
            QVERIFY(std::any_of(screensVisited_.begin(), screensVisited_.end(), [](int s) {
                return s >= screens::kTriggerFirst && s <= screens::kTriggerLast;
            }));
            QVERIFY(demoLoopsRun_ > 0);
        }
        qInfo("screens visited: %d, demo loops: %d, unit commands refused: %d", int(screensVisited_.size()),
              demoLoopsRun_, simCommandsRefused_);
    }
};

QTEST_MAIN(SoakTest)
#include "tst_soak.moc"
