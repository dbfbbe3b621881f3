#include "CDemo.h"
#include "CRZ470ControlPanelDlg.h"
#include "MainScreenLayout.h"
#include "MenuButtons.h"
#include "ProfileStore.h"
#include "RecordingWaits.h"
#include "ScriptedPrompts.h"
#include "SimulatedPanel.h"

#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

namespace {

QStringList g_calls;

int RZ470_CALL recordSetGroupingEnabled(RZ470Word dev, RZ470Byte mode) {
    g_calls << QStringLiteral("SetGroupingEnabled(%1,%2)").arg(dev).arg(mode);
    return 1;
}

int RZ470_CALL recordSaveUserSettings(RZ470Word dev) {
    g_calls << QStringLiteral("SaveUserSettings(%1)").arg(dev);
    return 1;
}

const QString kSaveQuestion = QStringLiteral("Would you like to save settings on exit?");
const QString kNotFound =
    QStringLiteral("ORVANE Device Not Found, please connect and power on and restart Control Panel.");

QPoint Centre(const layout::Place& place, int dx = 0) {
    return {place.x + dx + place.width / 2, place.y + place.height / 2};
}

// Where the user opens a dialog on the main screen, and what the test answers in it.
enum class Opened { LevelEntry, NameEntry, DemoLoop };

// One Escape event as the platform hands it to a window.
struct EscapeKey {
    QEvent::Type type;
    bool repeat;
    ulong time;
};

}  // namespace

Q_DECLARE_METATYPE(Opened)
Q_DECLARE_METATYPE(QList<EscapeKey>)

class DialogLifecycleTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QTemporaryDir simHome_;
    RecordingWaits waits_;
    ScriptedPrompts prompts_;
    std::unique_ptr<ProfileStore> profile_;

    std::unique_ptr<CRZ470ControlPanelDlg> makeDialog(const QString& libraryDir,
                                                      const QString& fontFile = PanelFont::kResourcePath) {
        return std::make_unique<CRZ470ControlPanelDlg>(
            PanelServices{waits_, prompts_, *profile_, {libraryDir}, false, fontFile});
    }

    static QString completeLibraryDir() {
        return QDir(QStringLiteral(RZ470_TEST_LIBS_DIR)).filePath(QStringLiteral("complete"));
    }

    // A dialog bound to the always-failing stand-in library, with the close calls recorded.
    std::unique_ptr<CRZ470ControlPanelDlg> makeBoundDialog() {
        auto dialog = makeDialog(completeLibraryDir());
        dialog->InitDialog();
        dialog->session().api().SetGroupingEnabled = recordSetGroupingEnabled;
        dialog->session().api().SaveUserSettings = recordSaveUserSettings;
        dialog->show();
        return dialog;
    }

private slots:
    void initTestCase() {
        QVERIFY(simHome_.isValid());
        SimulatedPanel::isolateSimulator(simHome_.path());
    }

    void init() {
        g_calls.clear();
        prompts_ = ScriptedPrompts();
        profile_ = std::make_unique<ProfileStore>(dir_.filePath(QStringLiteral("profile.ini")));
    }

    void missingLibraryEndsWithOneMessageAndNoSaveQuestion() {
        QTemporaryDir empty;
        auto dialog = makeDialog(empty.path());
        dialog->InitDialog();
        QVERIFY(dialog->hasEnded());
        QCOMPARE(prompts_.texts(), QStringList{QStringLiteral("Unable to obtain DLL version information!")});
        QCOMPARE(prompts_.shown[0].title, QStringLiteral("RZ470.DLL Module load failure"));
        QCOMPARE(prompts_.shown[0].buttons, Prompts::Buttons::Ok);
        QVERIFY(!dialog->session().api().isBound());
    }

    // The font message runs its own loop; were the poll timer running by then, its ticks could
    // find the unit and end the title phase before the title window is even shown.
    void aFontFailureIsReportedBeforeThePollStarts() {
        auto dialog = makeDialog(completeLibraryDir(), dir_.filePath(QStringLiteral("missing.ttf")));
        bool pollingWhileShown = true;
        prompts_.whileShown = [&](const ScriptedPrompts::Shown&) {
            pollingWhileShown = dialog->isPollTimerRunning();
        };
        dialog->InitDialog();

        QCOMPARE(prompts_.texts(), QStringList{QStringLiteral("Unable to load Font!")});
        QCOMPARE(prompts_.shown[0].title, QStringLiteral("Error"));
        QVERIFY(!pollingWhileShown);
        QVERIFY(dialog->isPollTimerRunning());
        QVERIFY(dialog->titleWindow().isVisible());
        QVERIFY(!dialog->hasEnded());
        dialog->reject();
    }

    void closingAsksToSaveAndRestoresGrouping_data() {
        QTest::addColumn<int>("groupingMode");
        QTest::addColumn<Prompts::Answer>("answer");
        QTest::addColumn<QStringList>("expectedCalls");

        QTest::newRow("mode 0, No") << 0 << Prompts::Answer::No << QStringList{};
        QTest::newRow("mode 0, Yes") << 0 << Prompts::Answer::Yes << QStringList{"SaveUserSettings(255)"};
        QTest::newRow("mode 2, No") << 2 << Prompts::Answer::No << QStringList{"SetGroupingEnabled(255,2)"};
        QTest::newRow("mode 1, Yes") << 1 << Prompts::Answer::Yes
                                     << QStringList{"SetGroupingEnabled(255,1)", "SaveUserSettings(255)"};
    }

    void closingAsksToSaveAndRestoresGrouping() {
        QFETCH(int, groupingMode);
        QFETCH(Prompts::Answer, answer);
        QFETCH(QStringList, expectedCalls);

        auto dialog = makeBoundDialog();
        dialog->session().tables().groupingMode = static_cast<uint8_t>(groupingMode);
        prompts_.answers = {answer};
        dialog->close();

        QVERIFY(dialog->hasEnded());
        QCOMPARE(prompts_.texts(), QStringList{kSaveQuestion});
        QCOMPARE(prompts_.shown[0].title, QStringLiteral("Save Settings?"));
        QCOMPARE(prompts_.shown[0].buttons, Prompts::Buttons::YesNo);
        QCOMPARE(prompts_.shown[0].icon, Prompts::Icon::Question);
        QCOMPARE(g_calls, expectedCalls);
    }

    void closeMessageRunsOnce() {
        auto dialog = makeBoundDialog();
        dialog->SendCloseMessage();
        dialog->SendCloseMessage();
        dialog->close();
        QCOMPARE(prompts_.texts(), QStringList{kSaveQuestion});
    }

    // Escape is Cancel, which closes as EXIT does: the unit's grouping first, then the question.
    void returnDoesNothingAndEscapeClosesAsExitDoes() {
        auto dialog = makeBoundDialog();
        dialog->session().tables().groupingMode = 2;
        QTest::keyClick(dialog.get(), Qt::Key_Return);
        QTest::keyClick(dialog.get(), Qt::Key_Enter);
        QVERIFY(!dialog->hasEnded());
        QVERIFY(dialog->isVisible());
        QVERIFY(prompts_.shown.isEmpty());

        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QVERIFY(dialog->hasEnded());
        QCOMPARE(prompts_.texts(), QStringList{kSaveQuestion});
        QCOMPARE(g_calls, QStringList{"SetGroupingEnabled(255,2)"});
    }

    void onlyAFreshEscapeEndsThePanel_data() {
        QTest::addColumn<QList<EscapeKey>>("keys");
        QTest::addColumn<bool>("ends");
        const QEvent::Type press = QEvent::KeyPress;
        const QEvent::Type release = QEvent::KeyRelease;
        QTest::newRow("a fresh press") << QList<EscapeKey>{{press, false, 100}} << true;
        QTest::newRow("a repeat of a key held in a dialog") << QList<EscapeKey>{{press, true, 0}} << false;
        QTest::newRow("a repeat Qt did not mark: release and press of one time")
            << QList<EscapeKey>{{release, false, 200}, {press, false, 200}} << false;
        QTest::newRow("released, then pressed afresh")
            << QList<EscapeKey>{{release, false, 300}, {press, false, 340}} << true;
    }

    // Escape as the platform hands it to the window. A key left held from a closed entry (or by a
    // tool that pressed it and never let go) repeats here: that never ends the panel.
    void onlyAFreshEscapeEndsThePanel() {
        QFETCH(QList<EscapeKey>, keys);
        QFETCH(bool, ends);
        auto dialog = makeBoundDialog();
        dialog->session().tables().groupingMode = 2;
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        for (const EscapeKey& key : keys) {
            QKeyEvent event(key.type, Qt::Key_Escape, Qt::NoModifier, QString(), key.repeat);
            event.setTimestamp(key.time);
            QGuiApplication::sendEvent(dialog->windowHandle(), &event);
        }
        QCOMPARE(dialog->hasEnded(), ends);
        QCOMPARE(prompts_.texts(), ends ? QStringList{kSaveQuestion} : QStringList{});
        QCOMPARE(g_calls, ends ? QStringList{"SetGroupingEnabled(255,2)"} : QStringList{});
        if (!ends) {
            dialog->done(QDialog::Rejected);
        }
    }

    // A folder where the settings file should be: the user is told once, naming the file, after
    // the action that wrote; the panel goes on with the values set.
    void settingsThatCannotBeSavedAreToldOnce() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("profile.ini"));
        QVERIFY(QDir().mkdir(file));
        profile_ = std::make_unique<ProfileStore>(file);
        auto dialog = makeBoundDialog();

        dialog->settings().SetChannelName(405, QStringLiteral("DAPI"));
        dialog->settings().SetChannelIntensity(405, 500);
        QVERIFY(prompts_.shown.isEmpty());
        QTRY_COMPARE(prompts_.shown.size(), 1);
        dialog->settings().SetChannelName(405, QStringLiteral("GFP"));
        QTest::qWait(20);

        QCOMPARE(prompts_.shown.size(), 1);
        QVERIFY2(prompts_.shown[0].text.contains(file), qPrintable(prompts_.shown[0].text));
        QCOMPARE(prompts_.shown[0].title, QStringLiteral("Settings Not Saved"));
        QCOMPARE(prompts_.shown[0].buttons, Prompts::Buttons::Ok);
        QVERIFY(!dialog->hasEnded());
        QCOMPARE(dialog->settings().ChannelName(405), QStringLiteral("GFP"));
        QCOMPARE(dialog->settings().ChannelIntensity(405), std::optional<uint16_t>(500));
        dialog->done(QDialog::Rejected);
    }

    void aLostUnitClosesTheOpenDialogUnappliedBeforeItsMessage_data() {
        QTest::addColumn<Opened>("opened");
        QTest::newRow("LED 3's level entry, 100 typed") << Opened::LevelEntry;
        QTest::newRow("LED 1's name entry, a name typed") << Opened::NameEntry;
        QTest::newRow("the demo loop") << Opened::DemoLoop;
    }

    // The unit goes while the user has a dialog open: it closes before the message, what the user
    // typed in it is neither sent nor stored, and the run ends after the save question.
    void aLostUnitClosesTheOpenDialogUnappliedBeforeItsMessage() {
        QFETCH(Opened, opened);
        SimulatedPanel panel;
        panel.start();
        panel.tick(20);
        ScriptedPrompts& prompts = panel.prompts;
        PanelSettings& settings = panel.dialog().settings();
        std::optional<uint16_t> levelBefore;

        bool openAtMessage = true;
        prompts.whileShown = [&](const ScriptedPrompts::Shown& shown) {
            if (shown.text == kNotFound) {
                openAtMessage = !prompts.open.isEmpty() || panel.dialog().demoLoop().isVisible();
            }
        };
        const auto loseTheUnit = [&](QDialog&) {
            levelBefore = settings.ChannelIntensity(435);
            panel.clearLog();
            QCOMPARE(panel.sim(QStringLiteral("unplug 0")), QStringLiteral("ok"));
            panel.tick();
        };
        prompts.whileEntryOpen = loseTheUnit;
        prompts.whileModal = loseTheUnit;
        prompts.entries = {
            {opened == Opened::LevelEntry ? QStringLiteral("100") : QStringLiteral("Lost"), true, false}};
        prompts.answers = {Prompts::Answer::Ok, Prompts::Answer::No};
        const QPoint at =
            opened == Opened::LevelEntry  ? Centre(mainlayout::kValueBox.place, mainlayout::PanelLeft(2))
            : opened == Opened::NameEntry ? Centre(mainlayout::kNameField.place, mainlayout::PanelLeft(0))
                                          : Centre(menubuttons::kDemoLoop.button.place);
        QTest::mouseClick(&panel.dialog(), Qt::LeftButton, {}, at);

        QVERIFY(!openAtMessage);
        QCOMPARE(prompts.texts(), (QStringList{kNotFound, kSaveQuestion}));
        QVERIFY(panel.dialog().hasEnded());
        QCOMPARE(prompts.askedAfterEnd, 0);
        QVERIFY(levelBefore != std::optional<uint16_t>(1000));
        QCOMPARE(settings.ChannelIntensity(435), levelBefore);
        QVERIFY(settings.ChannelName(365) != QLatin1String("Lost"));
        for (const QString& call : panel.calls()) {
            QVERIFY2(!call.startsWith(QLatin1String("Set")) && !call.startsWith(QLatin1String("Turn")),
                     qPrintable(call));
        }
    }

    // The window closed from outside while an entry is open (its close box, the session ending):
    // the entry goes with it, and what the user then typed there reaches neither unit nor file.
    void aPanelClosedUnderAnOpenEntryTakesNothingFromIt() {
        SimulatedPanel panel;
        panel.start();
        panel.tick(20);
        ScriptedPrompts& prompts = panel.prompts;
        std::optional<uint16_t> levelBefore;
        prompts.whileEntryOpen = [&](QDialog&) {
            levelBefore = panel.dialog().settings().ChannelIntensity(435);
            panel.clearLog();
            panel.dialog().close();
        };
        prompts.entries = {{QStringLiteral("100"), true, false}};
        QTest::mouseClick(&panel.dialog(), Qt::LeftButton, {},
                          Centre(mainlayout::kValueBox.place, mainlayout::PanelLeft(2)));

        QVERIFY(panel.dialog().hasEnded());
        QCOMPARE(prompts.texts(), QStringList{kSaveQuestion});
        QCOMPARE(prompts.closedWhileOpen, QStringList{QStringLiteral("Entry")});
        QCOMPARE(panel.dialog().settings().ChannelIntensity(435), levelBefore);
        QCOMPARE(panel.calls(), QStringList{});
    }

    void windowHasTheFixedClientSizeAndCaption() {
        auto dialog = makeBoundDialog();
        QCOMPARE(dialog->size(), QSize(1421, 423));
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Kynex ORVANE/RZ470 Control Panel"));
        dialog->reject();
    }
};

QTEST_MAIN(DialogLifecycleTest)
#include "tst_dialoglifecycle.moc"
