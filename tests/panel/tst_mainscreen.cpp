// The painted main screen and the click dispatch of every screen, on the real dialog with the
// simulated unit: presses and releases at painted coordinates, checked in the window's pixels.
#include "MainScreen.h"
#include "MainScreenLayout.h"
#include "ScreenStates.h"
#include "SimulatedPanelTest.h"
#include "SurfaceChecks.h"

#include <QtTest>

using namespace surfacechecks;

namespace {

constexpr int kSwitchY = 283;

}  // namespace

class MainScreenTest : public SimulatedPanelTest {
    Q_OBJECT

private:
    void press(int x, int y) { QTest::mousePress(&dialog(), Qt::LeftButton, {}, QPoint(x, y)); }
    void release(int x, int y) { QTest::mouseRelease(&dialog(), Qt::LeftButton, {}, QPoint(x, y)); }
    void click(int x, int y) {
        press(x, y);
        release(x, y);
    }

private slots:
    void findsButtonsStrictlyInsideTheirEdges_data() {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("id");
        QTest::newRow("name field") << QPoint(10, 50) << 0;
        QTest::newRow("edge name/value y=85") << QPoint(10, 85) << kNoButton;
        QTest::newRow("value box") << QPoint(10, 86) << 1;
        QTest::newRow("edge between panels x=159") << QPoint(159, 50) << kNoButton;
        QTest::newRow("panel 1 name") << QPoint(160, 50) << 6;
        QTest::newRow("panel 8 switch") << QPoint(3 + 156 * 8 + 10, 300) << 53;
        QTest::newRow("panel 8 down arrow") << QPoint(3 + 156 * 8 + 10, 250) << 51;
        QTest::newRow("slider column hits nothing") << QPoint(120, 200) << kNoButton;
        QTest::newRow("between panels and menu y=348") << QPoint(400, 348) << kNoButton;
        QTest::newRow("EXIT") << QPoint(100, 380) << 56;
        QTest::newRow("GROUPING") << QPoint(800, 380) << 57;
        QTest::newRow("TTL/Trigger") << QPoint(950, 380) << 58;
        QTest::newRow("MAINTENANCE") << QPoint(1100, 380) << 59;
        QTest::newRow("ALARMS") << QPoint(1300, 380) << 60;
        QTest::newRow("DEMO LOOP") << QPoint(600, 380) << 61;
        QTest::newRow("ALARMS right edge") << QPoint(1376, 380) << kNoButton;
    }

    void findsButtonsStrictlyInsideTheirEdges() {
        QFETCH(QPoint, point);
        QFETCH(int, id);
        QCOMPARE(dialog().router().mainScreen().Buttons().size(), size_t(62));
        QCOMPARE(FindButton(dialog().router().mainScreen().Buttons(), point.x(), point.y()), id);
    }

    void mainScreenShowsEveryPanelElement() {
        for (int k = 0; k < 9; ++k) {
            const int x0 = mainlayout::PanelLeft(k);
            QVERIFY2(shows(surface(), 168, x0, 143), qPrintable(QString::number(k)));
            QVERIFY(shows(surface(), 166, x0, 213));
            QVERIFY(shows(surface(), 232, x0 + 92, 85));
            QVERIFY(shows(surface(), 231, x0 + 92, 263));
            QVERIFY(shows(surface(), 164, x0, kSwitchY));
            // A fitted channel's name and value are written over their fields.
            QVERIFY(!shows(surface(), 163, x0, 25));
            QVERIFY(!shows(surface(), 143, x0, 85));
        }
        QVERIFY(shows(surface(), 137, 433, 0));  // light guide inserted: lit bulb
        QVERIFY(shows(surface(), 140, 20, 0));   // knob not locked: dim padlock
    }

    void unfittedChannelShowsEmptyFields() {
        simOk(QStringLiteral("channel-status 3 clear fitted"));
        panel_->tick(10);
        dialog().router().PaintScreen();
        const int x0 = mainlayout::PanelLeft(2);
        QVERIFY(shows(surface(), 163, x0, 25));
        QVERIFY(shows(surface(), 143, x0, 85));
        QVERIFY(shows(surface(), 164, x0, kSwitchY));
    }

    void upArrowIsGreenWhileHeld() {
        const int x0 = mainlayout::PanelLeft(4);
        press(x0 + 40, 170);
        QVERIFY(shows(surface(), 169, x0, 143));
        release(x0 + 40, 170);
        QVERIFY(shows(surface(), 168, x0, 143));
        QCOMPARE(dialog().router().PressedButton(), kNoButton);
    }

    void switchKeepsTheRequestedLookUntilThePollRedrawsIt() {
        const int x0 = mainlayout::PanelLeft(1);
        press(x0 + 70, 310);
        QVERIFY(shows(surface(), 165, x0, kSwitchY));  // asks for ON
        release(x0 + 70, 310);
        QVERIFY(shows(surface(), 165, x0, kSwitchY));  // kept: the switch's owner redraws it

        // Only a change the poll sees redraws it.
        simOk(QStringLiteral("led 2 on"));
        panel_->tick(10);
        QVERIFY(shows(surface(), 165, x0, kSwitchY));
        simOk(QStringLiteral("led 2 off"));
        panel_->tick(10);
        QVERIFY(shows(surface(), 164, x0, kSwitchY));
    }

    void triggeredSwitchHasItsOwnLooks() {
        simOk(QStringLiteral("triggered 1 1"));
        simOk(QStringLiteral("led 1 on"));
        panel_->tick(10);
        QVERIFY(shows(surface(), 178, 3, kSwitchY));
        press(70, 310);
        QVERIFY(shows(surface(), 129, 3, kSwitchY));
    }

    void channelSwitchedOnAtTheUnitShowsWithinOneStatusRead() {
        simOk(QStringLiteral("led 6 on"));
        panel_->tick(10);
        QVERIFY(shows(surface(), 165, mainlayout::PanelLeft(5), kSwitchY));
        QVERIFY(shows(surface(), 139, 1259, 0));  // LED on icon lit
    }

    void menuCaptionsOnPressedPictures() {
        press(950, 380);  // TTL/Trigger: caption written again at x = 940
        QVERIFY(showsColumns(surface(), 133, 912, 359, 0, 20));
        QVERIFY(!shows(surface(), 133, 912, 359));
        release(5, 5);
        QCOMPARE(dialog().router().ScreenState(), 2);

        QTest::mouseClick(&dialog(), Qt::LeftButton, {}, QPoint(100, 380));  // RETURN TO MAIN SCREEN
        QCOMPARE(dialog().router().ScreenState(), 1);
        press(800, 380);  // GROUPING: the pressed picture alone
        QVERIFY(shows(surface(), 133, 751, 359));
    }

    void releaseElsewhereStillRunsThePressedButton() {
        press(1300, 380);
        release(700, 200);
        QCOMPARE(dialog().router().ScreenState(), 12);
    }

    void releaseOutsideTheWindowRunsNothing_data() {
        QTest::addColumn<QPoint>("button");
        QTest::addColumn<int>("pressedPicture");
        QTest::addColumn<QPoint>("picturePlace");
        QTest::addColumn<QPoint>("outside");
        const int x0 = mainlayout::PanelLeft(2);
        QTest::newRow("up arrow, off the right edge")
            << QPoint(x0 + 40, 170) << 169 << QPoint(x0, 143) << QPoint(1500, 170);
        QTest::newRow("switch, below the window")
            << QPoint(x0 + 70, 310) << 165 << QPoint(x0, kSwitchY) << QPoint(x0 + 70, 500);
        QTest::newRow("ALARMS, left of the window")
            << QPoint(1300, 380) << 133 << QPoint(1234, 359) << QPoint(-20, 380);
    }

    // The release is not the window's: the button stays pressed and its action does not run.
    void releaseOutsideTheWindowRunsNothing() {
        QFETCH(QPoint, button);
        QFETCH(int, pressedPicture);
        QFETCH(QPoint, picturePlace);
        QFETCH(QPoint, outside);
        const uint16_t level = panel_->unit().channels[2].intensity;
        press(button.x(), button.y());
        panel_->clearLog();
        release(outside.x(), outside.y());

        QCOMPARE(dialog().router().ScreenState(), 1);
        QCOMPARE(panel_->unit().channels[2].intensity, level);
        QVERIFY2(panel_->calls().isEmpty(), qPrintable(panel_->calls().join(' ')));
        QVERIFY(shows(surface(), pressedPicture, picturePlace.x(), picturePlace.y()));
    }

    void emptyAreaDoesNothing() {
        const QImage before = surface();
        click(400, 348);
        QCOMPARE(dialog().router().ScreenState(), 1);
        QCOMPARE(dialog().router().PressedButton(), kNoButton);
        QVERIFY(surface() == before);
    }

    void menuButtonsLeadToEachScreenAndBack_data() {
        QTest::addColumn<QPoint>("button");
        QTest::addColumn<int>("state");
        QTest::newRow("GROUPING") << QPoint(800, 380) << 15;
        QTest::newRow("TTL/Trigger") << QPoint(950, 380) << 2;
        QTest::newRow("MAINTENANCE") << QPoint(1100, 380) << 13;
        QTest::newRow("ALARMS") << QPoint(1300, 380) << 12;
    }

    void menuButtonsLeadToEachScreenAndBack() {
        QFETCH(QPoint, button);
        QFETCH(int, state);
        click(button.x(), button.y());
        QCOMPARE(dialog().router().ScreenState(), state);
        QVERIFY(showsColumns(surface(), 202, 17, 359, 0, 70));  // its caption starts further right
        click(100, 380);  // RETURN TO MAIN SCREEN sits where EXIT is on the main screen
        QCOMPARE(dialog().router().ScreenState(), 1);
        QVERIFY(shows(surface(), 168, 3, 143));
    }

    void triggerAndGroupingScreensLeadToEachOther() {
        click(950, 380);  // TTL/Trigger: LED 1 opened
        QVERIFY(panel_->calls().contains("GetTTLSequencing"));
        click(800, 380);  // GROUPING with the same LED opened
        QCOMPARE(dialog().router().ScreenState(), 15);
        click(950, 380);  // back to TTL/Trigger, nothing read
        QCOMPARE(dialog().router().ScreenState(), 2);
        click(1100, 380);
        QCOMPARE(dialog().router().ScreenState(), 13);
    }

    void exitRunsTheCloseHandling() {
        click(100, 380);
        QVERIFY(dialog().hasEnded());
        QCOMPARE(panel_->prompts.texts(), QStringList{"Would you like to save settings on exit?"});
    }

    void unitStatusChangeRedrawsIconsWithoutLabelsOnAnotherScreen() {
        click(800, 380);  // the grouping screen has no status bar
        QCOMPARE(dialog().router().ScreenState(), 15);
        const QImage labelsBefore = surface().copy(60, 0, 120, 20);
        simOk(QStringLiteral("unit-status set knoblock"));
        panel_->tick(10);
        QVERIFY(shows(surface(), 141, 20, 0));
        QVERIFY(surface().copy(60, 0, 120, 20) == labelsBefore);
    }

    void unchangedPollDrawsNothing_data() {
        QTest::addColumn<int>("state");
        QTest::newRow("main") << int(screens::kMain);
        QTest::newRow("grouping, LED 1 opened") << int(screens::kGroupingFirst);
        QTest::newRow("trigger, LED 1 opened") << int(screens::kTriggerFirst);
        QTest::newRow("alarms") << int(screens::kAlarms);
        QTest::newRow("maintenance") << int(screens::kMaintenance);
    }

    void unchangedPollDrawsNothing() {
        QFETCH(int, state);
        dialog().router().ChangeScreen(state);
        QList<QRect> drawn;
        dialog().router().surface().setDamageHandler([&drawn](const QRect& rect) { drawn << rect; });
        panel_->tick(3 * UnitSession::kCountdownAfterRead);
        QCOMPARE(drawn, QList<QRect>());
    }

    void switchedLedRedrawsItsSwitchAndTheIconsOnly() {
        QList<QRect> drawn;
        dialog().router().surface().setDamageHandler([&drawn](const QRect& rect) { drawn << rect; });
        simOk(QStringLiteral("led 3 on"));
        panel_->tick(UnitSession::kCountdownAfterRead);
        // The switch of panel 3, then the four status icons, as the LED-on bit came with it.
        QCOMPARE(drawn,
                 QList<QRect>({QRect(mainlayout::PanelLeft(2), kSwitchY, 156, 60), QRect(433, 0, 31, 18),
                               QRect(20, 0, 31, 18), QRect(846, 0, 31, 18), QRect(1259, 0, 31, 18)}));
        QVERIFY(shows(surface(), 165, mainlayout::PanelLeft(2), kSwitchY));
    }

    // A long name from a hand-edited store is written into its own field alone when the field is
    // drawn again (here by a click on it, answered with Cancel): the next panels stay as they were.
    void longStoredNameStaysInItsField() {
        qstrncpy(panel_->unit().channels[2].name, QByteArray(49, 'W').constData(), 50);
        dialog().router().PaintScreen();
        const QImage before = surface().copy();
        panel_->prompts.entries = {ScriptedPrompts::EntryAnswer{std::nullopt, false, false}};
        click(mainlayout::PanelLeft(2) + 40, 50);
        QCOMPARE(panel_->prompts.entriesShown.size(), 1);
        const QRect field(mainlayout::PanelLeft(2), mainlayout::kNameField.place.y,
                          mainlayout::kNameField.place.width, mainlayout::kNameField.place.height);
        const QRect rest(field.right() + 1, 0, surface().width() - field.right() - 1, surface().height());
        QVERIFY(surface().copy(rest) == before.copy(rest));
    }

    void unknownPictureChangesNothing() {
        SurfaceCanvas canvas(QSize(20, 20));
        QVERIFY(canvas.drawBitmap(131, 0, 0, 20, 20));
        const QImage drawn = canvas.image();
        QVERIFY(drawn == picture(131).copy(0, 0, 20, 20));
        QVERIFY(!canvas.drawBitmap(4242, 0, 0, 20, 20));
        QVERIFY(canvas.image() == drawn);
    }
};

QTEST_MAIN(MainScreenTest)
#include "tst_mainscreen.moc"
