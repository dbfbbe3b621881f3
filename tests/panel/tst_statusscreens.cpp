// The alarms and maintenance screens in the real dialog on the simulated unit: what they paint,
// the poll's redraw of the alarm tiles, and their one button.
#include "CRZ470ControlPanelDlg.h"
#include "PanelFont.h"
#include "ProductVersion.h"
#include "SimulatedPanelTest.h"
#include "SurfaceChecks.h"

#include <QExposeEvent>
#include <QPainter>
#include <QWindow>
#include <QtTest>

using namespace surfacechecks;

namespace {

constexpr QPoint kAlarmsButton(1300, 380);
constexpr QPoint kMaintenanceButton(1100, 380);
constexpr QPoint kReturnButton(100, 380);
const QColor kFrameText(105, 105, 105);

struct Sprite {
    int id, x, y;
};
struct Text {
    int cellHeight;
    int x, y;
    QString text;
};

// The background with the given pictures, then the given texts, drawn over it.
QImage Reference(QSize size, const QList<Sprite>& sprites, const QList<Text>& texts) {
    SurfaceCanvas canvas(size);
    canvas.drawBitmap(131, 0, 0, 1450, 424);
    for (const Sprite& sprite : sprites) {
        const QImage image = picture(sprite.id);
        canvas.drawBitmap(sprite.id, sprite.x, sprite.y, image.width(), image.height());
    }
    for (const Text& text : texts) {
        canvas.drawText(PanelFont::withCellHeight(text.cellHeight), kFrameText, text.x, text.y, text.text);
    }
    return canvas.image();
}

}  // namespace

class StatusScreensTest : public SimulatedPanelTest {
    Q_OBJECT

private:
    void compareArea(const QImage& expected, const QRect& area, const char* what) {
        QVERIFY2(surface().copy(area) == expected.copy(area), what);
    }

private slots:
    void alarmsScreenShowsEveryTileDimWithItsCaption() {
        click(kAlarmsButton);
        QCOMPARE(dialog().router().ScreenState(), 12);
        const QList<Sprite> tiles = {{152, 72, 50},  {154, 256, 50},  {148, 436, 50},  {150, 623, 50},
                                     {146, 72, 200}, {213, 256, 200}, {156, 436, 200}, {211, 623, 200}};
        for (const Sprite& tile : tiles) {
            QVERIFY2(shows(surface(), tile.id, tile.x, tile.y), qPrintable(QString::number(tile.id)));
        }
        const QImage expected = Reference(surface().size(), QList<Sprite>{{282, 5, 29}} + tiles,
                                          {{16, 62, 160, "Max Temp Exceeded"},
                                           {16, 246, 160, "Min Temp Exceeded"},
                                           {16, 438, 160, "LED Module Fail"},
                                           {16, 605, 160, "Light Guide Not Present"},
                                           {16, 82, 310, "Comms Error"},
                                           {16, 250, 310, "Watchdog Timeout"},
                                           {16, 460, 310, "NVM Fail"},
                                           {16, 612, 310, "System Performance"}});
        compareArea(expected, QRect(5, 29, 790, 312), "frame, tiles and captions");
        QVERIFY(showsColumns(surface(), 202, 17, 359, 0, 70));
        QVERIFY(shows(surface(), 137, 433, 0));  // the status bar: light guide inserted
    }

    void tileLightsWithinOneStatusRead_data() {
        QTest::addColumn<QString>("raise");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<int>("normal");
        QTest::addColumn<int>("lit");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("over temperature")
            << "channel-status 3 set overtemp"
            << "channel-status 3 clear overtemp" << 152 << 153 << QPoint(72, 50);
        QTest::newRow("under temperature")
            << "channel-status 9 set undertemp"
            << "channel-status 9 clear undertemp" << 154 << 155 << QPoint(256, 50);
        QTest::newRow("current alarm") << "channel-status 1 set current"
                                       << "channel-status 1 clear current" << 148 << 149 << QPoint(436, 50);
        QTest::newRow("light guide pulled") << "unit-status clear lightguide"
                                            << "unit-status set lightguide" << 150 << 151 << QPoint(623, 50);
        QTest::newRow("channel NVM error") << "channel-status 5 set nvm"
                                           << "channel-status 5 clear nvm" << 156 << 210 << QPoint(436, 200);
        QTest::newRow("unit NVM failure") << "unit-status set nvm"
                                          << "unit-status clear nvm" << 156 << 210 << QPoint(436, 200);
        QTest::newRow("system performance")
            << "unit-status set performance"
            << "unit-status clear performance" << 211 << 212 << QPoint(623, 200);
    }

    void tileLightsWithinOneStatusRead() {
        QFETCH(QString, raise);
        QFETCH(QString, lower);
        QFETCH(int, normal);
        QFETCH(int, lit);
        QFETCH(QPoint, place);
        click(kAlarmsButton);
        QVERIFY(shows(surface(), normal, place.x(), place.y()));
        const QImage before = surface();

        simOk(raise);
        panel_->tick(10);
        QVERIFY(shows(surface(), lit, place.x(), place.y()));
        // Nothing else of the screen changed but the status icons along the top.
        QImage withTileBack = surface();
        QPainter(&withTileBack).drawImage(place, before.copy(QRect(place, QSize(101, 107))));
        QVERIFY(withTileBack.copy(0, 20, 1421, 403) == before.copy(0, 20, 1421, 403));

        simOk(lower);
        panel_->tick(10);
        QVERIFY(shows(surface(), normal, place.x(), place.y()));
    }

    void alarmRaisedElsewhereShowsWhenTheScreenOpens() {
        click(QPoint(800, 380));  // grouping: a channel's change is not taken there
        simOk(QStringLiteral("channel-status 4 set overtemp"));
        panel_->tick(10);
        click(QPoint(1300, 380));  // ALARMS from the grouping screen's menu bar
        QCOMPARE(dialog().router().ScreenState(), 12);
        QVERIFY(shows(surface(), 153, 72, 50));
        QVERIFY(shows(surface(), 135, 846, 0));  // the bell
    }

    void returnButtonShowsItsCaptionWhilePressed_data() {
        QTest::addColumn<QPoint>("menuButton");
        QTest::newRow("alarms") << kAlarmsButton;
        QTest::newRow("maintenance") << kMaintenanceButton;
    }

    void returnButtonShowsItsCaptionWhilePressed() {
        QFETCH(QPoint, menuButton);
        click(menuButton);
        const int state = dialog().router().ScreenState();
        click(QPoint(400, 348));  // no button: nothing happens
        QCOMPARE(dialog().router().ScreenState(), state);

        QTest::mousePress(&dialog(), Qt::LeftButton, {}, kReturnButton);
        QVERIFY(showsColumns(surface(), 170, 17, 359, 0, 70));
        QVERIFY(!shows(surface(), 170, 17, 359));  // the caption is written over it
        QTest::mouseRelease(&dialog(), Qt::LeftButton, {}, QPoint(700, 200));
        QCOMPARE(dialog().router().ScreenState(), 1);
    }

    void maintenanceScreenShowsVersionsSerialAndErrors() {
        simOk(QStringLiteral("channel-status 1 set overtemp"));
        simOk(QStringLiteral("channel-status 1 set current"));
        simOk(QStringLiteral("channel-status 2 clear present"));
        panel_->tick(10);
        click(kMaintenanceButton);
        QCOMPARE(dialog().router().ScreenState(), 13);

        const QString version =
            QStringLiteral("1.4.0/") + ReadProductVersion(QStringLiteral("ProductVersion"));
        const QImage expected =
            Reference(surface().size(), {{199, 5, 29}, {230, 24, 65}, {221, 24, 265}, {221, 224, 265}},
                      {{24, 20, 239, "Software Versions"},
                       {24, 231, 239, "Serial Number"},
                       {24, 28, 39, "Errors"},
                       {16, 60, 278, version},
                       {16, 257, 278, "RZ251-K-00042"},
                       {16, 50, 80, "LED 365nm Over Temperature"},
                       {16, 50, 100, "LED 365nm Current Alarm"},
                       {16, 50, 120, "LED 405nm Not Present"}});
        compareArea(expected, QRect(24, 65, 370, 162), "error list");
        compareArea(expected, QRect(24, 265, 144, 45), "version");
        compareArea(expected, QRect(224, 265, 144, 45), "serial number");
        compareArea(expected, QRect(5, 29, 408, 312), "frames and captions");
        QVERIFY(showsColumns(surface(), 202, 17, 359, 0, 70));
        QVERIFY(shows(surface(), 135, 846, 0));  // the status bar: alarm
    }

    // The texts are those of the moment of painting; the poll redraws only the icons.
    void maintenanceTextsWaitForTheNextPaint() {
        click(kMaintenanceButton);
        const QImage before = surface();
        simOk(QStringLiteral("channel-status 6 set nvm"));
        panel_->tick(10);
        QVERIFY(shows(surface(), 135, 846, 0));
        QVERIFY(surface().copy(0, 20, 1421, 403) == before.copy(0, 20, 1421, 403));

        click(kReturnButton);
        click(kMaintenanceButton);
        QVERIFY(surface().copy(24, 65, 370, 162) != before.copy(24, 65, 370, 162));
    }

    void maintenanceTextsShowTheUnitWhenTheWindowComesBack_data() {
        QTest::addColumn<bool>("restored");
        QTest::newRow("uncovered") << false;
        QTest::newRow("restored from minimised") << true;
    }

    // The surface keeps the texts drawn at the last paint; when the window system shows the window
    // again, they are those of the unit now.
    void maintenanceTextsShowTheUnitWhenTheWindowComesBack() {
        QFETCH(bool, restored);
        click(kMaintenanceButton);
        const QImage before = surface();
        simOk(QStringLiteral("channel-status 6 set nvm"));
        simOk(QStringLiteral("channel-status 2 clear present"));
        panel_->tick(10);
        QVERIFY(surface().copy(24, 65, 370, 162) == before.copy(24, 65, 370, 162));

        if (restored) {
            dialog().setWindowState(dialog().windowState() | Qt::WindowMinimized);
            dialog().setWindowState(dialog().windowState() & ~Qt::WindowMinimized);
        } else {
            QVERIFY(QTest::qWaitForWindowExposed(&dialog()));
            QWindow* window = dialog().windowHandle();
            QExposeEvent uncovered(QRegion(0, 0, 200, 200));
            QCoreApplication::sendEvent(window, &uncovered);
        }
        const QImage shown = surface();
        QVERIFY(shown.copy(24, 65, 370, 162) != before.copy(24, 65, 370, 162));

        // As a fresh paint of the screen draws it.
        click(kReturnButton);
        click(kMaintenanceButton);
        compareArea(shown, QRect(5, 29, 408, 312), "the maintenance frames");
    }
};

QTEST_MAIN(StatusScreensTest)
#include "tst_statusscreens.moc"
