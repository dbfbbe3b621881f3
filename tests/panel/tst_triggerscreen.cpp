// The trigger screen on the real dialog with the simulated unit: its nine variants, the timeout
// and sequence edits of the opened panel, what reaches the unit and the stored trigger data,
// checked in the window's pixels, the unit's state, the calls made and the profile.
#include "OpenedStripTest.h"
#include "PanelFont.h"
#include "SurfaceCanvas.h"
#include "SurfaceChecks.h"
#include "TriggerLayout.h"
#include "TriggerScreen.h"

#include <QFile>
#include <QtTest>

using namespace surfacechecks;

namespace {

constexpr QPoint kTriggerButton(950, 380);
const QColor kValue(132, 255, 132);
const QColor kCaption(189, 198, 198);
const QColor kHeading(187, 193, 196);
constexpr int kWavelengths[9] = {365, 405, 435, 470, 500, 525, 550, 580, 635};

QString nineValues(const std::array<uint16_t, 9>& values) {
    QStringList texts;
    for (uint16_t value : values) {
        texts << QString::number(value);
    }
    return texts.join(QLatin1Char(','));
}

}  // namespace

class TriggerScreenTest : public OpenedStripTest {
    Q_OBJECT

    static constexpr ValueRowAt kTimeoutRow = kUpperRow;
    static constexpr ValueRowAt kSequenceRow = kLowerRow;

private:
    // A fresh panel on a unit set up by the simulator configuration lines given.
    void restartWith(const QString& configLines) {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile config(dir.filePath(QStringLiteral("sim.conf")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(configLines.toUtf8());
        config.close();
        panel_.reset();
        // The simulator reads its configuration when the new panel resets it.
        qputenv("RZ470_SIM_CONFIG", config.fileName().toLocal8Bit());
        panel_ = std::make_unique<SimulatedPanel>();
        qunsetenv("RZ470_SIM_CONFIG");
        panel_->start();
        settle();
    }
    void restartOnVersion(int version) {
        restartWith(QStringLiteral("unit0.version=%1,0,0\n").arg(version));
        QCOMPARE(int(panel_->unit().firmwareVersion), version);
    }

    // The trigger screen from the main screen, which reads the unit, with LED k + 1 opened.
    void open(int k) { openStrip(kTriggerButton, 2, k); }
    int sends(const char* call) { return panel_->calls().count(QLatin1String(call)); }
    // TriggerData values present in the profile, by name.
    QStringList storedTriggerData() {
        QStringList names;
        for (int i = 0; i < 9; ++i) {
            for (const QString& name :
                 {QStringLiteral("Delay%1").arg(i), QStringLiteral("On%1").arg(kWavelengths[i])}) {
                if (panel_->profile().readInt(QStringLiteral("TriggerData"), name, -1) != -1) {
                    names << name;
                }
            }
        }
        return names;
    }
    QStringList delayNames() {
        QStringList names;
        for (int i = 0; i < 9; ++i) {
            names << QStringLiteral("Delay%1").arg(i);
        }
        return names;
    }
    // The opened panel's fields as a full paint draws them: the numbers were blanked and written
    // in place.
    void verifyOpenedFieldsAsFullPaint(int k) {
        const QRect fields(left(k, k) + 17, 111, 135, 124);
        const QImage afterEdit = surface().copy(fields);
        dialog().router().PaintScreen();
        QVERIFY(surface().copy(fields) == afterEdit);
    }

private slots:
    // Buttons found at a press; the release happens outside the window, so nothing runs.
    void buttonsOfEachVariant_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("id");
        using T = TriggerScreen;
        QTest::newRow("RETURN") << 0 << QPoint(100, 380) << int(T::ReturnToMain);
        QTest::newRow("GROUPING") << 0 << QPoint(800, 380) << int(T::Grouping);
        QTest::newRow("no TTL/Trigger here") << 0 << kTriggerButton << kNoButton;
        QTest::newRow("LED 1 opened") << 0 << QPoint(40, 50) << int(T::FirstPanel);
        QTest::newRow("opened name strip right edge") << 0 << QPoint(3 + 86, 50) << kNoButton;
        QTest::newRow("below the name strip") << 0 << QPoint(40, 83) << kNoButton;
        QTest::newRow("LED 2 closed") << 0 << QPoint(left(1, 0) + 40, 50) << int(T::FirstPanel) + 1;
        QTest::newRow("LED 9 closed") << 0 << QPoint(left(8, 0) + 85, 50) << int(T::FirstPanel) + 8;
        QTest::newRow("LED 9 closed, no wider strip") << 0 << QPoint(left(8, 0) + 88, 50) << kNoButton;
        QTest::newRow("CLEAR TRIGGER") << 0 << clearAt(0) << int(T::ClearTrigger);
        QTest::newRow("timeout down") << 0 << downAt(0, kTimeoutRow) << int(T::TimeoutDown);
        QTest::newRow("timeout up") << 0 << upAt(0, kTimeoutRow) << int(T::TimeoutUp);
        QTest::newRow("sequence down") << 0 << downAt(0, kSequenceRow) << int(T::SequenceDown);
        QTest::newRow("sequence up") << 0 << upAt(0, kSequenceRow) << int(T::SequenceUp);
        QTest::newRow("between the up arrows") << 0 << QPoint(3 + 300, 172) << kNoButton;
        QTest::newRow("timeout field") << 0 << fieldAt(0, kTimeoutRow) << int(T::TimeoutField);
        QTest::newRow("timeout field bottom edge") << 0 << QPoint(3 + 80, 161) << kNoButton;
        QTest::newRow("sequence field") << 0 << fieldAt(0, kSequenceRow) << int(T::SequenceField);
        QTest::newRow("sequence field left edge") << 0 << QPoint(3 + 17, 210) << kNoButton;
        QTest::newRow("MAINTENANCE") << 0 << QPoint(1100, 380) << int(T::Maintenance);
        QTest::newRow("ALARMS") << 0 << QPoint(1300, 380) << int(T::Alarms);
        QTest::newRow("LED 5 closed, LED 9 opened") << 8 << panelAt(4, 8) << int(T::FirstPanel) + 4;
        QTest::newRow("CLEAR TRIGGER, LED 9") << 8 << clearAt(8) << int(T::ClearTrigger);
        QTest::newRow("sequence up, LED 9") << 8 << upAt(8, kSequenceRow) << int(T::SequenceUp);
        QTest::newRow("timeout field, LED 5") << 4 << fieldAt(4, kTimeoutRow) << int(T::TimeoutField);
        QTest::newRow("sequence down, LED 5") << 4 << downAt(4, kSequenceRow) << int(T::SequenceDown);
    }

    void buttonsOfEachVariant() {
        QFETCH(int, k);
        QFETCH(QPoint, point);
        QFETCH(int, id);
        open(k);
        press(point);
        QCOMPARE(dialog().router().PressedButton(), id);
        release(QPoint(-20, -20));
        QCOMPARE(state(), 2 + k);
        QVERIFY(panel_->calls().isEmpty());
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
        using namespace triggerlayout;
        for (int i = 0; i < 9; ++i) {
            // Below the sequence numbers and the arrows nothing is written over the panels.
            const bool opened = i == k;
            QVERIFY2(showsPart(surface(), opened ? kOpenedPanelPicture : kClosedPanelPicture, left(i, k), 25,
                               QRect(0, 210, opened ? 359 : 89, 7)),
                     qPrintable(QString::number(i)));
        }
        const int xk = left(k, k);
        QVERIFY(showsColumns(surface(), 278, xk + 101, 41, 0, 60));  // its caption starts at + 63
        SurfaceCanvas expected(surface().size());
        expected.drawBitmap(278, xk + 101, 41, 246, 50);
        expected.drawText(PanelFont::withCellHeight(20), kCaption, xk + 164, 55,
                          QStringLiteral("CLEAR TRIGGER"));
        const QRect caption(xk + 160, 41, 187, 50);
        QVERIFY(surface().copy(caption) == expected.image().copy(caption));
        for (const int y : {111, 184}) {
            QVERIFY(shows(surface(), 182, xk + 160, y));
            QVERIFY(shows(surface(), 184, xk + 254, y));
        }
        // The status bar with its labels.
        QVERIFY(shows(surface(), 137, 433, 0));
        QVERIFY(!shows(surface(), 131, 0, 0));
    }

    // The menu bar and the instructions, texts exactly as written, over the bare background.
    void fixedPartsAsListed() {
        open(2);
        SurfaceCanvas expected(surface().size());
        expected.drawBitmap(131, 0, 0, 1450, 424);
        const QFont small = PanelFont::withCellHeight(16);
        const QFont medium = PanelFont::withCellHeight(20);
        expected.drawText(
            small, kHeading, 50, 250,
            QStringLiteral("Trigger sequence -  Enables control of the LEDs via a single TTL input"));
        expected.drawText(small, kHeading, 75, 265,
                          QStringLiteral("1. Assign a number to each of the LEDs, indicating the order in "
                                         "which they should be triggered."));
        expected.drawText(
            small, kHeading, 75, 280,
            QStringLiteral("2. 0=omitted from sequence, 1=turn on with first \u201chigh\u201d TTL, "
                           "2=turn on with second \u201chigh\u201d TTL, etc."));
        expected.drawText(small, kHeading, 75, 295,
                          QStringLiteral("3. Trigger the LEDs using the TTL1 input connection."));
        expected.drawText(
            small, kHeading, 75, 310,
            QStringLiteral("4. TTL Timeout \u2013 Reduces wear on system components by shutting off "
                           "drivers and fans after the set period of inactivity"));
        const struct {
            int picture, x, width, captionX;
            const char* caption;
        } menu[] = {{202, 17, 342, 95, "RETURN TO MAIN SCREEN"},
                    {132, 751, 142, 784, "GROUPING"},
                    {132, 1073, 142, 1088, "MAINTENANCE"},
                    {132, 1234, 142, 1275, "ALARMS"}};
        for (const auto& button : menu) {
            expected.drawBitmap(button.picture, button.x, 359, button.width, 51);
            expected.drawText(medium, kCaption, button.captionX, 374, QString::fromLatin1(button.caption));
        }
        const QRect below(0, 249, surface().width(), surface().height() - 249);
        QVERIFY(surface().copy(below) == expected.image().copy(below));
    }

    // Each panel shows the values the unit holds, in the opened panel with the unit " min" after
    // the timeout, and from LED 5 on a little higher.
    void valuesInTheirFields_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("timeoutText");
        QTest::addColumn<QPoint>("timeoutAt");
        QTest::addColumn<QPoint>("sequenceAt");
        // LED 2 holds timeout 30 and step 2, LED 4 65535 and 4, LED 5 0 and 5, LED 9 7 and 9.
        QTest::newRow("LED 2 opened") << 1 << 1 << "30 min" << QPoint(92 + 27, 121) << QPoint(92 + 27, 195);
        QTest::newRow("LED 2 closed, near its edge")
            << 2 << 1 << "30" << QPoint(92 + 11, 118) << QPoint(92 + 11, 191);
        QTest::newRow("LED 4 opened")
            << 3 << 3 << "65535 min" << QPoint(270 + 27, 121) << QPoint(270 + 27, 195);
        QTest::newRow("LED 4 closed") << 4 << 3 << "65535" << QPoint(270 + 13, 118) << QPoint(270 + 13, 191);
        QTest::newRow("LED 5 opened, raised")
            << 4 << 4 << "0 min" << QPoint(359 + 27, 118) << QPoint(359 + 27, 191);
        QTest::newRow("LED 9 opened, raised")
            << 8 << 8 << "7 min" << QPoint(715 + 27, 118) << QPoint(715 + 27, 191);
        QTest::newRow("LED 9 closed right of LED 5")
            << 4 << 8 << "7" << QPoint(985 + 13, 118) << QPoint(985 + 13, 191);
    }

    void valuesInTheirFields() {
        QFETCH(int, k);
        QFETCH(int, panel);
        QFETCH(QString, timeoutText);
        QFETCH(QPoint, timeoutAt);
        QFETCH(QPoint, sequenceAt);
        restartWith(
            QStringLiteral("unit0.ttlTimeout=5,30,5,65535,0,5,5,5,7\n"
                           "unit0.ttlSequence=1,2,3,4,5,6,7,8,9\n"));
        open(k);
        const bool opened = panel == k;
        const int picture = opened ? triggerlayout::kOpenedPanelPicture : triggerlayout::kClosedPanelPicture;
        SurfaceCanvas expected(surface().size());
        expected.drawBitmap(picture, left(panel, k), 25, opened ? 359 : 89, opened ? 223 : 217);
        const QFont large = PanelFont::withCellHeight(24);
        expected.drawText(large, kValue, timeoutAt.x(), timeoutAt.y(), timeoutText);
        expected.drawText(large, kValue, sequenceAt.x(), sequenceAt.y(), QString::number(panel + 1));
        // The field pictures' places, where nothing else is written.
        const QList<QRect> fields =
            opened ? QList<QRect>{{left(panel, k) + 20, 113, 132, 46}, {left(panel, k) + 20, 187, 132, 46}}
                   : QList<QRect>{{left(panel, k) + openedstrip::ClosedBlankDx(left(panel, k)), 108, 72, 45},
                                  {left(panel, k) + openedstrip::ClosedBlankDx(left(panel, k)), 181, 72, 45}};
        for (const QRect& field : fields) {
            QVERIFY(surface().copy(field) == expected.image().copy(field));
        }
    }

    void timeoutArrows_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("timeout");
        QTest::addColumn<bool>("sent");
        QTest::newRow("6 down: 5") << 140 << 6 << false << 5 << true;
        QTest::newRow("5 down on version 119: stays") << 119 << 5 << false << 5 << false;
        QTest::newRow("5 down on version 120: off") << 120 << 5 << false << 0 << true;
        QTest::newRow("typed 3 down on version 119: stays") << 119 << 3 << false << 3 << false;
        QTest::newRow("typed 3 down on version 140: off") << 140 << 3 << false << 0 << true;
        QTest::newRow("0 up: 5") << 140 << 0 << true << 5 << true;
        QTest::newRow("typed 3 up: 4") << 119 << 3 << true << 4 << true;
        QTest::newRow("65534 up: 65535") << 140 << 65534 << true << 65535 << true;
        QTest::newRow("65535 up: stays, never off") << 140 << 65535 << true << 65535 << false;
    }

    void timeoutArrows() {
        QFETCH(int, version);
        QFETCH(int, start);
        QFETCH(bool, up);
        QFETCH(int, timeout);
        QFETCH(bool, sent);
        if (version != 140) {
            restartOnVersion(version);
        }
        const int k = 2;
        open(k);
        tables().ttlTimeout = {10, 11, uint16_t(start), 13, 14, 15, 16, 17, 18};
        // onValue is the library's word; the stored record follows each channel's wavelength.
        panel_->unit().channels[k].onValue = 1234;
        click(up ? upAt(k, kTimeoutRow) : downAt(k, kTimeoutRow));

        QCOMPARE(int(tables().ttlTimeout[k]), timeout);
        QCOMPARE(sends("SetTTLTimeout"), sent ? 1 : 0);
        QCOMPARE(panel_->calls().size(), sent ? 2 : 0);  // DeviceActive, then the send
        if (sent) {
            QVERIFY(status().contains(
                QStringLiteral("unit0.ttlTimeout=%1").arg(nineValues(tables().ttlTimeout))));
            QStringList ons;
            for (int wavelength : kWavelengths) {
                ons << QStringLiteral("On%1").arg(wavelength);
            }
            QCOMPARE(storedTriggerData(), ons);
            QCOMPARE(panel_->profile().readInt(QStringLiteral("TriggerData"), QStringLiteral("On435"), -1),
                     1234);
            QCOMPARE(panel_->profile().readInt(QStringLiteral("TriggerData"), QStringLiteral("On470"), -1),
                     0);
        } else {
            QVERIFY(storedTriggerData().isEmpty());
        }
        verifyOpenedFieldsAsFullPaint(k);
    }

    void timeoutField_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("typed");  // empty: cancelled
        QTest::addColumn<int>("timeout");
        QTest::newRow("0 on version 119") << 119 << "0" << 0;
        QTest::newRow("3, below the arrows' 5") << 140 << "3" << 3;
        QTest::newRow("65535") << 140 << "65535" << 65535;
        // The timeout shown may be out of date by then: Cancel sends nothing.
        QTest::newRow("cancelled: nothing sent") << 140 << "" << 42;
    }

    // The field takes any timeout and sends it at once, but records nothing.
    void timeoutField() {
        QFETCH(int, version);
        QFETCH(QString, typed);
        QFETCH(int, timeout);
        if (version != 140) {
            restartOnVersion(version);
        }
        const int k = 5;
        open(k);
        tables().ttlTimeout[k] = 42;
        if (typed.isEmpty()) {
            panel_->prompts.entries.append({std::nullopt, false, false});
        } else {
            panel_->prompts.entries.append({typed, true, false});
        }
        click(fieldAt(k, kTimeoutRow));
        QCOMPARE(panel_->prompts.entriesShown.size(), 1);
        QCOMPARE(panel_->prompts.entriesShown[0].fieldText, QStringLiteral("42"));
        QCOMPARE(int(tables().ttlTimeout[k]), timeout);
        QCOMPARE(sends("SetTTLTimeout"), typed.isEmpty() ? 0 : 1);
        if (!typed.isEmpty()) {
            QVERIFY(status().contains(
                QStringLiteral("unit0.ttlTimeout=%1").arg(nineValues(tables().ttlTimeout))));
        }
        QVERIFY(storedTriggerData().isEmpty());
        QVERIFY(panel_->prompts.shown.isEmpty());
        verifyOpenedFieldsAsFullPaint(k);
    }

    void sequenceEdits_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("edit");  // up, down, clear, or typed into the field
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("sent");
        QTest::addColumn<bool>("recorded");
        QTest::newRow("4 up") << 4 << "up" << 5 << true << true;
        QTest::newRow("9 up: stays") << 9 << "up" << 9 << false << false;
        QTest::newRow("4 down") << 4 << "down" << 3 << true << true;
        QTest::newRow("0 down: stays") << 0 << "down" << 0 << false << false;
        QTest::newRow("CLEAR TRIGGER from 3") << 3 << "clear" << 0 << true << true;
        QTest::newRow("CLEAR TRIGGER at 0: sent all the same") << 0 << "clear" << 0 << true << true;
        QTest::newRow("typed 7: sent, not recorded") << 3 << "7" << 7 << true << false;
        QTest::newRow("typed 9") << 3 << "9" << 9 << true << false;
        QTest::newRow("typed 10: dropped") << 3 << "10" << 3 << false << false;
        QTest::newRow("typed 65535: dropped") << 3 << "65535" << 3 << false << false;
    }

    void sequenceEdits() {
        QFETCH(int, start);
        QFETCH(QString, edit);
        QFETCH(int, step);
        QFETCH(bool, sent);
        QFETCH(bool, recorded);
        const int k = 6;
        open(k);
        tables().triggerSequence = {1, 2, 0, 0, 9, 0, uint8_t(start), 3, 0};
        const std::array<uint8_t, 9> before = tables().triggerSequence;
        if (edit == QLatin1String("up")) {
            click(upAt(k, kSequenceRow));
        } else if (edit == QLatin1String("down")) {
            click(downAt(k, kSequenceRow));
        } else if (edit == QLatin1String("clear")) {
            click(clearAt(k));
        } else {
            panel_->prompts.entries.append({edit, true, false});
            click(fieldAt(k, kSequenceRow));
            QCOMPARE(panel_->prompts.entriesShown[0].fieldText, QString::number(start));
        }

        std::array<uint8_t, 9> expected = before;
        expected[k] = uint8_t(step);
        QCOMPARE(tables().triggerSequence, expected);
        QCOMPARE(sends("SetTTLSequencing"), sent ? 1 : 0);
        const std::array<uint16_t, 9> wide{expected[0], expected[1], expected[2], expected[3], expected[4],
                                           expected[5], expected[6], expected[7], expected[8]};
        QCOMPARE(status().contains(QStringLiteral("unit0.ttlSequence=%1\n").arg(nineValues(wide))), sent);
        if (recorded) {
            QCOMPARE(storedTriggerData(), delayNames());
            for (int i = 0; i < 9; ++i) {
                QCOMPARE(panel_->profile().readInt(QStringLiteral("TriggerData"),
                                                   QStringLiteral("Delay%1").arg(i), -1),
                         int(expected[size_t(i)]));
            }
        } else {
            QVERIFY(storedTriggerData().isEmpty());
        }
        QVERIFY(panel_->prompts.shown.isEmpty());
        verifyOpenedFieldsAsFullPaint(k);
    }

    // While the unit is away the edits change the screen only; the next edit of a kind that
    // reaches it sends all nine values of that kind.
    void absentUnitTakesNothing() {
        const int k = 1;
        open(k);
        simOk(QStringLiteral("unplug 0"));
        panel_->clearLog();
        click(upAt(k, kTimeoutRow));
        click(upAt(k, kSequenceRow));
        click(clearAt(k));
        click(upAt(k, kSequenceRow));
        panel_->prompts.entries.append({QStringLiteral("3"), true, false});
        click(fieldAt(k, kTimeoutRow));
        QCOMPARE(int(tables().ttlTimeout[k]), 3);
        QCOMPARE(int(tables().triggerSequence[k]), 1);
        QCOMPARE(sends("SetTTLTimeout") + sends("SetTTLSequencing"), 0);
        QVERIFY(storedTriggerData().isEmpty());
        verifyOpenedFieldsAsFullPaint(k);

        click(panelAt(4, k));
        QCOMPARE(state(), 6);
        tables().ttlTimeout[4] = 20;
        simOk(QStringLiteral("plug 0"));
        click(upAt(4, kTimeoutRow));
        QCOMPARE(sends("SetTTLTimeout"), 1);
        QVERIFY(
            status().contains(QStringLiteral("unit0.ttlTimeout=%1").arg(nineValues(tables().ttlTimeout))));
        QCOMPARE(int(tables().ttlTimeout[k]), 3);
        QCOMPARE(int(tables().ttlTimeout[4]), 21);
    }

    // A channel that is not fitted shows neither name nor numbers, but opens and edits.
    void unfittedChannelShowsNothingButEdits() {
        simOk(QStringLiteral("channel-status 2 clear fitted"));
        panel_->tick(10);
        open(0);
        QVERIFY(shows(surface(), triggerlayout::kClosedPanelPicture, left(1, 0), 25));
        QVERIFY(!shows(surface(), triggerlayout::kClosedPanelPicture, left(2, 0), 25));
        click(panelAt(1, 0));
        QCOMPARE(state(), 3);
        // Left of the CLEAR TRIGGER button and the arrows: the name strip and the two fields.
        const QRect nameAndFields(0, 0, 100, 223);
        QVERIFY(showsPart(surface(), triggerlayout::kOpenedPanelPicture, left(1, 1), 25, nameAndFields));
        click(upAt(1, kSequenceRow));
        QCOMPARE(int(tables().triggerSequence[1]), 1);
        QCOMPARE(sends("SetTTLSequencing"), 1);
        QVERIFY(showsPart(surface(), triggerlayout::kOpenedPanelPicture, left(1, 1), 25, nameAndFields));
    }

    void pressedLooks_data() {
        addButtonLookColumns();
        const int x = left(0, 0);
        QTest::newRow("RETURN TO MAIN SCREEN")
            << ButtonLook::Pressed(QPoint(100, 380), 170, QPoint(17, 359), ButtonLook::kCaption);
        QTest::newRow("GROUPING") << ButtonLook::Pressed(QPoint(800, 380), 133, QPoint(751, 359));
        QTest::newRow("MAINTENANCE") << ButtonLook::Pressed(QPoint(1100, 380), 133, QPoint(1073, 359),
                                                            ButtonLook::kCaption);
        QTest::newRow("ALARMS") << ButtonLook::Pressed(QPoint(1300, 380), 133, QPoint(1234, 359));
        QTest::newRow("CLEAR TRIGGER") << ButtonLook::Pressed(clearAt(0), 278, QPoint(x + 101, 41))
                                              .ReleasedTo(278, ButtonLook::kCaption);
        QTest::newRow("timeout down")
            << ButtonLook::Pressed(downAt(0, kTimeoutRow), 183, QPoint(x + 160, 111)).ReleasedTo(182);
        QTest::newRow("timeout up")
            << ButtonLook::Pressed(upAt(0, kTimeoutRow), 185, QPoint(x + 254, 111)).ReleasedTo(184);
        QTest::newRow("sequence down")
            << ButtonLook::Pressed(downAt(0, kSequenceRow), 183, QPoint(x + 160, 184)).ReleasedTo(182);
        QTest::newRow("sequence up")
            << ButtonLook::Pressed(upAt(0, kSequenceRow), 185, QPoint(x + 254, 184)).ReleasedTo(184);
        QTest::newRow("timeout field")
            << ButtonLook::Pressed(fieldAt(0, kTimeoutRow), 200, QPoint(x + 20, 113))
                   .ReleasedTo(200, ButtonLook::kCaption);
        QTest::newRow("sequence field")
            << ButtonLook::Pressed(fieldAt(0, kSequenceRow), 200, QPoint(x + 20, 187))
                   .ReleasedTo(200, ButtonLook::kCaption);
        QTest::newRow("a closed panel hides its texts")
            << ButtonLook::Pressed(panelAt(5, 0), 273, QPoint(left(5, 0), 25));
    }

    void pressedLooks() {
        open(0);
        tables().triggerSequence[0] = 3;  // not at a limit: each arrow changes the value
        checkButtonLooksOfRow();
    }

    void navigation_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("state");
        QTest::newRow("RETURN") << 3 << QPoint(100, 380) << 1;
        QTest::newRow("GROUPING keeps LED 4 opened") << 3 << QPoint(800, 380) << 18;
        QTest::newRow("GROUPING keeps LED 9 opened") << 8 << QPoint(800, 380) << 23;
        QTest::newRow("MAINTENANCE") << 3 << QPoint(1100, 380) << 13;
        QTest::newRow("ALARMS") << 3 << QPoint(1300, 380) << 12;
        QTest::newRow("LED 1 from LED 4") << 3 << panelAt(0, 3) << 2;
        QTest::newRow("LED 9 from LED 4") << 3 << panelAt(8, 3) << 10;
        QTest::newRow("its own panel: painted again") << 3 << panelAt(3, 3) << 5;
    }

    // Leaving or changing the opened LED reads nothing from the unit.
    void navigation() {
        QFETCH(int, k);
        QFETCH(QPoint, point);
        QFETCH(int, state);
        open(k);
        click(point);
        QCOMPARE(this->state(), state);
        QVERIFY(!panel_->calls().contains(QStringLiteral("GetTTLTimeout")));
        if (state >= 2 && state <= 10) {
            // The panel's picture covers its texts while pressed; the paint puts them back.
            QVERIFY(!shows(surface(), triggerlayout::kOpenedPanelPicture, left(state - 2, state - 2), 25));
        }
    }

    // The main screen's TTL/Trigger reads both tables from the unit before the screen shows.
    void enteringFromTheMainScreenReadsTheUnit() {
        restartWith(
            QStringLiteral("unit0.ttlTimeout=5,30,5,5,5,5,5,5,6\nunit0.ttlSequence=0,2,0,0,0,0,0,0,1\n"));
        tables().ttlTimeout = {};
        tables().triggerSequence = {};
        click(kTriggerButton);
        QCOMPARE(state(), 2);
        QCOMPARE(tables().ttlTimeout, (std::array<uint16_t, 9>{5, 30, 5, 5, 5, 5, 5, 5, 6}));
        QCOMPARE(tables().triggerSequence, (std::array<uint8_t, 9>{0, 2, 0, 0, 0, 0, 0, 0, 1}));
        QVERIFY(panel_->calls().contains(QStringLiteral("GetTTLSequencing")));
    }
};

QTEST_MAIN(TriggerScreenTest)
#include "tst_triggerscreen.moc"
