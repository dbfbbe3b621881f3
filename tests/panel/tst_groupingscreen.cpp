// The grouping screen on the real dialog with the simulated unit: its nine variants, the edits of
// the opened panel, the mode switches and what reaches the unit, checked in the window's pixels,
// the unit's state and the calls made.
#include "GroupingLayout.h"
#include "GroupingScreen.h"
#include "OpenedStripTest.h"
#include "SurfaceChecks.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QWindow>
#include <QtTest>

using namespace surfacechecks;

namespace {

using Groups = std::array<uint8_t, 9>;

constexpr QPoint kGroupingButton(800, 380);
constexpr QPoint kPelion(1150, 130);
constexpr QPoint kZephra(1150, 200);
constexpr QPoint kLoadSave(1140, 265);
const QString kWarning =
    QStringLiteral("Some setting values exceed the limit in the selected mode, please change them. ");

}  // namespace

Q_DECLARE_METATYPE(Groups)

class GroupingScreenTest : public OpenedStripTest {
    Q_OBJECT

private:
    QComboBox& combo() { return *dialog().findChild<QComboBox*>(); }

    // The grouping screen with LED k + 1 opened, the grouping and mode given, the log empty.
    void open(int k, const Groups& groups = {}, uint8_t mode = 0) {
        tables().ledGroup = groups;
        tables().groupingMode = mode;
        openStrip(kGroupingButton, 15, k);
        panel_->prompts.shown.clear();
    }
    int groupingSends() { return panel_->calls().count(QStringLiteral("SetGrouping")); }
    // The opened field as a full paint draws it: the number was blanked and written in place.
    void verifyOpenedFieldAsFullPaint(int k) {
        const QRect field(left(k, k) + 17, 111, 135, 50);
        const QImage afterEdit = surface().copy(field);
        dialog().router().PaintScreen();
        QVERIFY(surface().copy(field) == afterEdit);
    }

private slots:
    // Buttons found at a press; the release happens outside the window, so nothing runs.
    void buttonsOfEachVariant_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("id");
        using G = GroupingScreen;
        QTest::newRow("RETURN") << 0 << QPoint(100, 380) << int(G::ReturnToMain);
        QTest::newRow("TTL/Trigger") << 0 << QPoint(950, 380) << int(G::Trigger);
        QTest::newRow("LED 1 opened") << 0 << QPoint(40, 50) << int(G::FirstPanel);
        QTest::newRow("opened name strip right edge") << 0 << QPoint(3 + 86, 50) << kNoButton;
        QTest::newRow("below the name strip") << 0 << QPoint(40, 83) << kNoButton;
        QTest::newRow("LED 2 closed") << 0 << QPoint(left(1, 0) + 40, 50) << int(G::FirstPanel) + 1;
        QTest::newRow("closed name strip right edge") << 0 << QPoint(left(1, 0) + 86, 50) << kNoButton;
        QTest::newRow("LED 9 closed, its whole width")
            << 0 << QPoint(left(8, 0) + 88, 50) << int(G::FirstPanel) + 8;
        QTest::newRow("LED 9 closed, right edge") << 0 << QPoint(left(8, 0) + 89, 50) << kNoButton;
        QTest::newRow("CLEAR GROUPING") << 0 << clearAt(0) << int(G::ClearGrouping);
        QTest::newRow("down arrow") << 0 << downAt(0) << int(G::DownArrow);
        QTest::newRow("up arrow") << 0 << upAt(0) << int(G::UpArrow);
        QTest::newRow("number field") << 0 << fieldAt(0) << int(G::NumberField);
        QTest::newRow("number field left edge") << 0 << QPoint(3 + 17, 135) << kNoButton;
        QTest::newRow("MAINTENANCE") << 0 << QPoint(1100, 380) << int(G::Maintenance);
        QTest::newRow("ALARMS") << 0 << QPoint(1300, 380) << int(G::Alarms);
        QTest::newRow("PELION switch") << 0 << kPelion << int(G::PelionSwitch);
        QTest::newRow("edge between the switches") << 0 << QPoint(1150, 165) << kNoButton;
        QTest::newRow("ZEPHRA switch") << 0 << kZephra << int(G::ZephraSwitch);
        QTest::newRow("Load/Save") << 0 << kLoadSave << int(G::LoadSave);
        QTest::newRow("Load/Save left edge") << 0 << QPoint(1076, 265) << kNoButton;
        QTest::newRow("LED 9 opened") << 8 << QPoint(left(8, 8) + 85, 50) << int(G::FirstPanel) + 8;
        QTest::newRow("LED 9 opened, no wider strip") << 8 << QPoint(left(8, 8) + 88, 50) << kNoButton;
        QTest::newRow("LED 8 closed") << 8 << QPoint(left(7, 8) + 40, 50) << int(G::FirstPanel) + 7;
        QTest::newRow("CLEAR GROUPING, LED 9") << 8 << clearAt(8) << int(G::ClearGrouping);
        QTest::newRow("up arrow, LED 9") << 8 << upAt(8) << int(G::UpArrow);
        QTest::newRow("number field, LED 5") << 4 << fieldAt(4) << int(G::NumberField);
    }

    void buttonsOfEachVariant() {
        QFETCH(int, k);
        QFETCH(QPoint, point);
        QFETCH(int, id);
        open(k);
        press(point);
        QCOMPARE(dialog().router().PressedButton(), id);
        release(QPoint(-20, -20));
        QCOMPARE(state(), 15 + k);
        QCOMPARE(groupingSends(), 0);
    }

    void stripShowsTheOpenedPanel_data() {
        QTest::addColumn<int>("k");
        QTest::newRow("LED 1") << 0;
        QTest::newRow("LED 5") << 4;
        QTest::newRow("LED 9") << 8;
    }

    void stripShowsTheOpenedPanel() {
        QFETCH(int, k);
        open(k);
        using namespace groupinglayout;
        for (int i = 0; i < 9; ++i) {
            // Below the number fields nothing is written over the panels; the switches overlap LED
            // 9's right edge.
            const bool opened = i == k;
            QVERIFY2(showsPart(surface(), opened ? kOpenedPanelPicture : kClosedPanelPicture, left(i, k), 25,
                               QRect(0, 137, opened ? 280 : 86, 7)),
                     qPrintable(QString::number(i)));
        }
        const int xk = left(k, k);
        QVERIFY(showsColumns(surface(), 278, xk + 101, 41, 0, 55));  // its caption starts at + 58
        QVERIFY(!shows(surface(), 278, xk + 101, 41));
        QVERIFY(shows(surface(), 182, xk + 160, 111));
        QVERIFY(shows(surface(), 184, xk + 254, 111));
        QVERIFY(shows(surface(), kSwitchDark, kPelionSwitch.x, kPelionSwitch.y));
        QVERIFY(shows(surface(), kSwitchDark, kZephraSwitch.x, kZephraSwitch.y));
        QVERIFY(showsColumns(surface(), 132, groupinglayout::kLoadSave.place.x,
                             groupinglayout::kLoadSave.place.y, 0, 30));
        QVERIFY(showsColumns(surface(), 202, 17, 359, 0, 70));
        // The status icons without their labels.
        QVERIFY(shows(surface(), 137, 433, 0));
        QVERIFY(!combo().isHidden());
        QCOMPARE(combo().currentText(), QStringLiteral("Not Selected"));
    }

    // With the favourites list open, X11 hands a press anywhere to the list, which closes; a press
    // on the panel's own buttons is the panel's press too, and its release then acts once.
    void clickThatClosesTheListActsOnThePanel_data() {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("typed");
        QTest::newRow("group number up") << upAt(0) << QString();
        QTest::newRow("Load/Save after typing a name") << kLoadSave << QStringLiteral("Typed");
    }

    void clickThatClosesTheListActsOnThePanel() {
        QFETCH(QPoint, at);
        QFETCH(QString, typed);
        open(0, {}, 1);
        QVERIFY(QTest::qWaitForWindowExposed(&dialog()));
        if (!typed.isEmpty()) {
            combo().lineEdit()->selectAll();
            QTest::keyClicks(combo().lineEdit(), typed);
        }
        combo().showPopup();
        QWidget* list = combo().view()->window();
        QTRY_VERIFY(list->isVisible());
        QWindow* listWindow = list->windowHandle();
        QTest::mousePress(listWindow, Qt::LeftButton, {},
                          listWindow->mapFromGlobal(dialog().mapToGlobal(at)));
        QVERIFY(!list->isVisible());
        QTest::mouseRelease(dialog().windowHandle(), Qt::LeftButton, {}, at);
        QCOMPARE(tables().ledGroup[0], typed.isEmpty() ? 1 : 0);
        QCOMPARE(dialog().settings().Favourite(1).name, typed);
        // The panel let go of the mouse: the next click is an ordinary one.
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
        click(upAt(0));
        QCOMPARE(tables().ledGroup[0], typed.isEmpty() ? 2 : 1);
    }

    // A long stored name is cut to its panel's name strip: it never runs over the opened panel's
    // CLEAR button or the next panel's name, on the grouping and the trigger screen alike.
    void longNamesStayInTheirBoxes_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("panel");
        QTest::newRow("grouping, LED 1 opened: over CLEAR GROUPING") << 15 << 0;
        QTest::newRow("grouping, LED 1 opened: LED 3 over LED 4") << 15 << 2;
        QTest::newRow("grouping, LED 5 opened: LED 4 over the opened panel") << 19 << 3;
        QTest::newRow("grouping, LED 9 opened: over its CLEAR GROUPING") << 23 << 8;
        QTest::newRow("grouping, LED 1 opened: LED 9 past the strip") << 15 << 8;
        QTest::newRow("trigger, LED 1 opened: over CLEAR TRIGGER") << 2 << 0;
        QTest::newRow("trigger, LED 6 opened: LED 8 over LED 9") << 7 << 7;
    }

    void longNamesStayInTheirBoxes() {
        QFETCH(int, state);
        QFETCH(int, panel);
        const int k = state >= 15 ? state - 15 : state - 2;
        dialog().router().ChangeScreen(state);
        const QImage normal = surface().copy();
        char* name = panel_->unit().channels[static_cast<size_t>(panel)].name;
        qstrncpy(name, QByteArray(49, 'W').constData(), 50);
        dialog().router().PaintScreen();
        const QImage longName = surface();

        const layout::Place box = openedstrip::NameBox(panel, k);
        const QRect inside(box.x, box.y, box.width, box.height);
        // The box ends where what stands beside the name begins.
        const int besideName = panel == k ? left(k, k) + openedstrip::kClearButton.place.x
                                          : left(panel + 1, k) + openedstrip::NameDx(left(panel + 1, k));
        QVERIFY(inside.right() <= besideName);
        QRect changed;
        for (int y = 0; y < normal.height(); ++y) {
            for (int x = 0; x < normal.width(); ++x) {
                if (normal.pixel(x, y) != longName.pixel(x, y)) {
                    changed |= QRect(x, y, 1, 1);
                }
            }
        }
        QVERIFY(!changed.isEmpty());
        QVERIFY2(inside.contains(changed), qPrintable(QStringLiteral("changed %1,%2 %3x%4")
                                                          .arg(changed.x())
                                                          .arg(changed.y())
                                                          .arg(changed.width())
                                                          .arg(changed.height())));
    }

    // A channel that is not fitted shows neither name nor number, but opens and edits.
    void unfittedChannelShowsNothingButEdits() {
        simOk(QStringLiteral("channel-status 2 clear fitted"));
        panel_->tick(10);
        open(0, {}, 1);
        QVERIFY(shows(surface(), groupinglayout::kClosedPanelPicture, left(1, 0), 25));
        QVERIFY(!shows(surface(), groupinglayout::kClosedPanelPicture, left(2, 0), 25));

        click(panelAt(1, 0));
        QCOMPARE(state(), 16);
        click(upAt(1));
        QCOMPARE(tables().ledGroup[1], uint8_t(1));
        QCOMPARE(groupingSends(), 12);
        QVERIFY(panel_->sim(QStringLiteral("status")).contains(QStringLiteral("unit0.group1=2,0,")));
        QVERIFY(shows(surface(), 200, left(1, 1) + 20, 113));
    }

    void arrowsAndClearWithinTheMode_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("group");
        QTest::addColumn<bool>("sent");
        QTest::newRow("off: up does nothing") << 0 << 0 << "up" << 0 << false;
        QTest::newRow("off: down from 0 sends nothing") << 0 << 0 << "down" << 0 << false;
        QTest::newRow("off: down from 2") << 0 << 2 << "down" << 1 << true;
        QTest::newRow("off: clear") << 0 << 2 << "clear" << 0 << true;
        QTest::newRow("PELION: up to 4") << 1 << 3 << "up" << 4 << true;
        QTest::newRow("PELION: 4 is the top") << 1 << 4 << "up" << 4 << false;
        QTest::newRow("PELION: 6 left from ZEPHRA, up") << 1 << 6 << "up" << 6 << false;
        QTest::newRow("PELION: 6 left from ZEPHRA, down") << 1 << 6 << "down" << 5 << true;
        QTest::newRow("ZEPHRA: up to 6") << 2 << 5 << "up" << 6 << true;
        QTest::newRow("ZEPHRA: 6 is the top") << 2 << 6 << "up" << 6 << false;
        QTest::newRow("ZEPHRA: clear") << 2 << 6 << "clear" << 0 << true;
    }

    void arrowsAndClearWithinTheMode() {
        QFETCH(int, mode);
        QFETCH(int, start);
        QFETCH(QString, button);
        QFETCH(int, group);
        QFETCH(bool, sent);
        const int k = 3;
        Groups groups{};
        groups[k] = uint8_t(start);
        open(k, groups, uint8_t(mode));
        click(button == QLatin1String("up")     ? upAt(k)
              : button == QLatin1String("down") ? downAt(k)
                                                : clearAt(k));
        QCOMPARE(int(tables().ledGroup[k]), group);
        QCOMPARE(groupingSends(), sent ? 12 : 0);
        QCOMPARE(state(), 15 + k);
        verifyOpenedFieldAsFullPaint(k);
    }

    void numberFieldWithinTheMode_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("typed");  // empty: cancelled
        QTest::addColumn<int>("group");
        QTest::addColumn<bool>("sent");
        QTest::newRow("off: 0") << 0 << 0 << "0" << 0 << true;
        QTest::newRow("off: 1 dropped") << 0 << 0 << "1" << 0 << false;
        QTest::newRow("PELION: 4") << 1 << 0 << "4" << 4 << true;
        QTest::newRow("PELION: 5 dropped") << 1 << 2 << "5" << 2 << false;
        QTest::newRow("ZEPHRA: 6") << 2 << 0 << "6" << 6 << true;
        QTest::newRow("ZEPHRA: 9 dropped") << 2 << 3 << "9" << 3 << false;
        QTest::newRow("ZEPHRA: 65535 dropped") << 2 << 3 << "65535" << 3 << false;
        // The number shown may be out of date by then: Cancel sends nothing.
        QTest::newRow("cancelled: nothing sent") << 2 << 3 << "" << 3 << false;
        QTest::newRow("cancelled over the limit: dropped") << 1 << 6 << "" << 6 << false;
    }

    void numberFieldWithinTheMode() {
        QFETCH(int, mode);
        QFETCH(int, start);
        QFETCH(QString, typed);
        QFETCH(int, group);
        QFETCH(bool, sent);
        const int k = 6;
        Groups groups{};
        groups[k] = uint8_t(start);
        open(k, groups, uint8_t(mode));
        if (typed.isEmpty()) {
            panel_->prompts.entries.append({std::nullopt, false, false});
        } else {
            panel_->prompts.entries.append({typed, true, false});
        }
        click(fieldAt(k));
        QCOMPARE(panel_->prompts.entriesShown.size(), 1);
        QCOMPARE(panel_->prompts.entriesShown[0].fieldText, QString::number(start));
        QCOMPARE(int(tables().ledGroup[k]), group);
        QCOMPARE(groupingSends(), sent ? 12 : 0);
        QVERIFY(panel_->prompts.shown.isEmpty());
        verifyOpenedFieldAsFullPaint(k);
    }

    void switches_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<Groups>("groups");
        QTest::addColumn<QPoint>("pressed");
        QTest::addColumn<int>("newMode");
        QTest::addColumn<Groups>("newGroups");
        QTest::addColumn<bool>("warned");
        const Groups ledThreeInSix{0, 0, 6, 0, 0, 0, 0, 0, 0};
        const Groups mixed{1, 4, 0, 2, 0, 0, 0, 3, 0};
        QTest::newRow("off, PELION") << 0 << mixed << kPelion << 1 << mixed << false;
        QTest::newRow("off, ZEPHRA") << 0 << mixed << kZephra << 2 << mixed << false;
        QTest::newRow("ZEPHRA to PELION with a 6: warned, kept")
            << 2 << ledThreeInSix << kPelion << 1 << ledThreeInSix << true;
        QTest::newRow("PELION to ZEPHRA never warns") << 1 << mixed << kZephra << 2 << mixed << false;
        QTest::newRow("lit PELION: off and empty") << 1 << mixed << kPelion << 0 << Groups{} << false;
        QTest::newRow("lit ZEPHRA: off and empty") << 2 << ledThreeInSix << kZephra << 0 << Groups{} << false;
    }

    void switches() {
        QFETCH(int, mode);
        QFETCH(Groups, groups);
        QFETCH(QPoint, pressed);
        QFETCH(int, newMode);
        QFETCH(Groups, newGroups);
        QFETCH(bool, warned);
        open(0, groups, uint8_t(mode));
        const QImage before = surface();
        press(pressed);
        // No pressed look: both switches as the present mode has them.
        QVERIFY(surface() == before);
        release(pressed);

        QCOMPARE(int(tables().groupingMode), newMode);
        QCOMPARE(tables().ledGroup, newGroups);
        using namespace groupinglayout;
        QVERIFY(shows(surface(), newMode == 1 ? kSwitchLit : kSwitchDark, kPelionSwitch.x, kPelionSwitch.y));
        QVERIFY(shows(surface(), newMode == 2 ? kSwitchLit : kSwitchDark, kZephraSwitch.x, kZephraSwitch.y));
        if (warned) {
            QCOMPARE(panel_->prompts.shown.size(), 1);
            QCOMPARE(panel_->prompts.shown[0].text, kWarning);
            QCOMPARE(panel_->prompts.shown[0].title, QStringLiteral("Warning and Action"));
            QCOMPARE(panel_->prompts.shown[0].buttons, Prompts::Buttons::Ok);
        } else {
            QVERIFY(panel_->prompts.shown.isEmpty());
        }
        // Only turning grouping off sends, and then every group goes empty.
        const bool turnedOff = newMode == 0;
        QCOMPARE(groupingSends(), turnedOff ? 12 : 0);
        if (turnedOff) {
            const QString status = panel_->sim(QStringLiteral("status"));
            for (int group = 1; group <= 6; ++group) {
                QVERIFY(status.contains(QStringLiteral("unit0.group%1=0,0,0,0,0,0,0,0,0").arg(group)));
            }
        }
    }

    // What the unit reports after the edits is what the screen shows.
    void editsReachTheUnit() {
        open(0, {0, 0, 0, 2, 0, 0, 2, 0, 0}, 1);
        click(upAt(0));
        click(upAt(0));
        const QString status = panel_->sim(QStringLiteral("status"));
        QVERIFY2(status.contains(QStringLiteral("unit0.group2=1,4,7,0,0,0,0,0,0")), qPrintable(status));
        QVERIFY(status.contains(QStringLiteral("unit0.group1=0,0,0,0,0,0,0,0,0")));
        // The unit's grouping stays off while the panel is connected.
        QVERIFY(status.contains(QStringLiteral("unit0.groupingMode=0")));
    }

    void absentUnitTakesNothing() {
        open(2, {}, 2);
        combo().lineEdit()->setText(QStringLiteral("typed"));
        simOk(QStringLiteral("unplug 0"));
        panel_->clearLog();
        click(upAt(2));
        click(upAt(2));
        QCOMPARE(tables().ledGroup[2], uint8_t(2));
        QCOMPARE(groupingSends(), 0);
        // Nothing was sent, so the list was not rebuilt.
        QCOMPARE(combo().currentText(), QStringLiteral("typed"));
        verifyOpenedFieldAsFullPaint(2);
    }

    void pressedLooks_data() {
        addButtonLookColumns();
        QTest::newRow("RETURN TO MAIN SCREEN")
            << ButtonLook::Pressed(QPoint(100, 380), 170, QPoint(17, 359), ButtonLook::kCaption);
        QTest::newRow("TTL/Trigger") << ButtonLook::Pressed(QPoint(950, 380), 133, QPoint(912, 359));
        QTest::newRow("MAINTENANCE") << ButtonLook::Pressed(QPoint(1100, 380), 133, QPoint(1073, 359),
                                                            ButtonLook::kCaption);
        QTest::newRow("ALARMS") << ButtonLook::Pressed(QPoint(1300, 380), 133, QPoint(1234, 359));
        QTest::newRow("CLEAR GROUPING")
            << ButtonLook::Pressed(clearAt(0), 278, QPoint(104, 41)).ReleasedTo(278, ButtonLook::kCaption);
        QTest::newRow("Load/Save") << ButtonLook::Pressed(kLoadSave, 133, QPoint(1075, 240),
                                                          ButtonLook::kCaption)
                                          .ReleasedTo(132, ButtonLook::kCaption);
        QTest::newRow("down arrow") << ButtonLook::Pressed(downAt(0), 183, QPoint(163, 111)).ReleasedTo(182);
        QTest::newRow("number field")
            << ButtonLook::Pressed(fieldAt(0), 200, QPoint(23, 113)).ReleasedTo(200, ButtonLook::kCaption);
        QTest::newRow("a closed panel hides its texts")
            << ButtonLook::Pressed(panelAt(5, 0), 281, QPoint(left(5, 0), 25));
    }

    void pressedLooks() {
        open(0);
        checkButtonLooksOfRow();
    }

    void navigation_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("state");
        QTest::newRow("RETURN") << 3 << QPoint(100, 380) << 1;
        QTest::newRow("TTL/Trigger keeps LED 4 opened") << 3 << QPoint(950, 380) << 5;
        QTest::newRow("TTL/Trigger keeps LED 9 opened") << 8 << QPoint(950, 380) << 10;
        QTest::newRow("MAINTENANCE") << 3 << QPoint(1100, 380) << 13;
        QTest::newRow("ALARMS") << 3 << QPoint(1300, 380) << 12;
        QTest::newRow("LED 1 from LED 4") << 3 << panelAt(0, 3) << 15;
        QTest::newRow("LED 9 from LED 4") << 3 << panelAt(8, 3) << 23;
        QTest::newRow("its own panel: painted again") << 3 << panelAt(3, 3) << 18;
    }

    // The combo box shows on the grouping screens only.
    void navigation() {
        QFETCH(int, k);
        QFETCH(QPoint, point);
        QFETCH(int, state);
        open(k);
        click(point);
        QCOMPARE(this->state(), state);
        const bool grouping = state >= 15;
        QCOMPARE(combo().isHidden(), !grouping);
        QCOMPARE(panel_->calls().contains(QStringLiteral("GetGrouping")), false);
        if (grouping) {
            // The panel's picture covers its texts while pressed; the paint puts them back.
            QVERIFY(!shows(surface(), groupinglayout::kOpenedPanelPicture, left(state - 15, state - 15), 25));
        }
    }
};

QTEST_MAIN(GroupingScreenTest)
#include "tst_groupingscreen.moc"
