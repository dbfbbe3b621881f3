// What the main screen shows of a channel after the unit was asked for something it did not do:
// a switch the unit did not follow, a level the panel could not read. Real dialog, simulated
// unit, checked in the window's pixels.
#include "MainScreenLayout.h"
#include "SettingsKeys.h"
#include "SimulatedPanelTest.h"
#include "SurfaceChecks.h"

#include <QtTest>

using namespace surfacechecks;

namespace {

constexpr int kSwitchY = 283;
constexpr int kSwitchOff = 164;
constexpr int kSwitchOn = 165;
constexpr int kEmptyValueBox = 143;

QPoint switchAt(int panel) {
    return {mainlayout::PanelLeft(panel) + 70, 310};
}

}  // namespace

class ShownStateTest : public SimulatedPanelTest {
    Q_OBJECT

private:
    int storedIntensity(int wavelength) {
        return panel_->profile().readInt(settings::kIntensitiesSection,
                                         QStringLiteral("Intensity%1").arg(wavelength), -1);
    }

private slots:
    // After a status read each switch shows the unit's LED-on bit, also when the unit did not
    // carry out the switch command: the pressed look asked for a state that never came.
    void switchShowsTheUnitAfterAStatusRead_data() {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<int>("panel");
        QTest::addColumn<bool>("on");  // what the unit has after the press
        QTest::newRow("off, refused by the unit")
            << QStringList{"led 3 on", "fail TurnOFFLEDs 1"} << 2 << true;
        QTest::newRow("on, LED not present") << QStringList{"channel-status 2 clear present"} << 1 << false;
        QTest::newRow("on, refused by the unit") << QStringList{"fail TurnONLEDs 1"} << 4 << false;
        QTest::newRow("off, carried out") << QStringList{"led 3 on"} << 2 << false;
        QTest::newRow("on, carried out") << QStringList() << 5 << true;
    }

    void switchShowsTheUnitAfterAStatusRead() {
        QFETCH(QStringList, setup);
        QFETCH(int, panel);
        QFETCH(bool, on);
        for (const QString& command : setup) {
            simOk(command);
        }
        panel_->tick(10);
        const int x0 = mainlayout::PanelLeft(panel);
        const bool wasOn = shows(surface(), kSwitchOn, x0, kSwitchY);

        click(switchAt(panel));
        QVERIFY(shows(surface(), wasOn ? kSwitchOff : kSwitchOn, x0, kSwitchY));  // the state asked for
        QVERIFY(status().contains(QStringLiteral("unit0.channel%1.on=%2").arg(panel + 1).arg(on ? 1 : 0)));

        panel_->tick(10);
        QVERIFY(shows(surface(), on ? kSwitchOn : kSwitchOff, x0, kSwitchY));
        // It stays so: later reads find nothing to change.
        panel_->tick(20);
        QVERIFY(shows(surface(), on ? kSwitchOn : kSwitchOff, x0, kSwitchY));
    }

    // A level the panel could not read is shown as no level, with the slider at the bottom, and
    // is not stored; the first read that works brings the unit's level to the screen and the store.
    void unreadLevelIsNeitherShownNorStored() {
        panel_.reset();
        panel_ = std::make_unique<SimulatedPanel>();
        simOk(QStringLiteral("fail GetIntensityLevel 1000"));
        panel_->start();
        panel_->tick(10);
        QVERIFY(!status().contains(QStringLiteral("intensity=1000")));
        for (int k = 0; k < 9; ++k) {
            QVERIFY2(shows(surface(), kEmptyValueBox, mainlayout::PanelLeft(k), 85),
                     qPrintable(QString::number(k)));
            QCOMPARE(dialog().slider(k).value(), 1000);
        }
        QCOMPARE(storedIntensity(365), -1);

        simOk(QStringLiteral("fail GetIntensityLevel 0"));
        panel_->tick(10);
        for (int k = 0; k < 9; ++k) {
            QVERIFY(!shows(surface(), kEmptyValueBox, mainlayout::PanelLeft(k), 85));
            QCOMPARE(dialog().slider(k).value(), 500);
        }
        QCOMPARE(storedIntensity(365), 500);
        QVERIFY(status().contains(QStringLiteral("unit0.channel1.intensity=500")));
    }
};

QTEST_MAIN(ShownStateTest)
#include "tst_shownstate.moc"
