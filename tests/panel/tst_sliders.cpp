// The nine intensity sliders inside the real dialog with the simulated unit: what reaches the
// unit on a press and a release, and what the panel shows and stores.
#include "CBitWnd.h"
#include "MainScreen.h"
#include "MainScreenLayout.h"
#include "SettingsKeys.h"
#include "SimulatedPanelTest.h"

#include <QtTest>

namespace {
constexpr int kBandX = 44;  // inside the band that takes presses
}

class SlidersTest : public SimulatedPanelTest {
    Q_OBJECT

private:
    CMainSliderCtrl& slider(int k) { return dialog().slider(k); }
    int setIntensityCalls() { return panel_->calls().count(QStringLiteral("SetIntensityLevel")); }

private slots:
    void slidersStandBesideTheirPanelsOnTheMainScreenOnly() {
        for (int k = 0; k < 9; ++k) {
            QVERIFY(slider(k).isVisible());
            QCOMPARE(slider(k).pos(), QPoint(mainlayout::PanelLeft(k) + 92, 104));
            QCOMPARE(slider(k).value(), 1000 - panel_->unit().channels[static_cast<size_t>(k)].intensity);
        }
        for (int i = 9; i < 12; ++i) {
            QVERIFY(!slider(i).isVisible());
        }
        QTest::mouseClick(&dialog(), Qt::LeftButton, {}, QPoint(1300, 380));  // ALARMS
        QVERIFY(!slider(0).isVisible());
        QTest::mouseClick(&dialog(), Qt::LeftButton, {}, QPoint(100, 380));  // back
        QVERIFY(slider(8).isVisible());
    }

    // A level of 0 equals what a shown copy held before anything was drawn: it must still set its
    // slider at start, or the first touch of the knob sends almost full power.
    void aStoredLevelOfZeroStartsWithItsSliderAtTheBottom() {
        panel_.reset();
        panel_ = std::make_unique<SimulatedPanel>();
        panel_->profile().writeInt(settings::kIntensitiesSection, QStringLiteral("Intensity470"), 0);
        panel_->start();
        panel_->tick(20);
        for (int k = 0; k < 9; ++k) {
            QCOMPARE(slider(k).value(), 1000 - panel_->unit().channels[static_cast<size_t>(k)].intensity);
        }
        QCOMPARE(slider(3).value(), 1000);

        // The knob moved 5 px up from where it stands.
        CBitWnd* knob = slider(3).findChild<CBitWnd*>();
        QVERIFY(knob != nullptr);
        const QPoint grip = knob->mapTo(&slider(3), knob->rect().center());
        panel_->clearLog();
        QTest::mousePress(&slider(3), Qt::LeftButton, {}, grip);
        QMouseEvent move(QEvent::MouseMove, QPointF(grip - QPoint(0, 5)),
                         slider(3).mapToGlobal(QPointF(grip - QPoint(0, 5))), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&slider(3), &move);
        QTest::mouseRelease(&slider(3), Qt::LeftButton, {}, grip - QPoint(0, 5));
        QVERIFY2(panel_->unit().channels[3].intensity < 100,
                 qPrintable(QString::number(panel_->unit().channels[3].intensity)));
    }

    void trackClickSendsOnceAtThePress_data() {
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("intensity");
        QTest::addColumn<QString>("text");
        QTest::newRow("top") << 4 << 1000 << "100.0%";
        QTest::newRow("bottom") << 150 << 0 << "0.0%";
    }

    void trackClickSendsOnceAtThePress() {
        QFETCH(int, y);
        QFETCH(int, intensity);
        QTest::mousePress(&slider(2), Qt::LeftButton, {}, QPoint(kBandX, y));
        QCOMPARE(setIntensityCalls(), 1);
        QTest::mouseRelease(&slider(2), Qt::LeftButton, {}, QPoint(kBandX, y));
        QCOMPARE(setIntensityCalls(), 1);

        QCOMPARE(int(panel_->unit().channels[2].intensity), intensity);
        QVERIFY(status().contains(QStringLiteral("unit0.channel3.intensity=%1").arg(intensity)));
        QCOMPARE(panel_->profile().readInt(settings::kIntensitiesSection, QStringLiteral("Intensity435"), -1),
                 intensity);
    }

    void knobPressedAndReleasedInPlaceSendsNothing() {
        CBitWnd* knob = slider(4).findChild<CBitWnd*>();
        QVERIFY(knob != nullptr);
        const QPoint centre = knob->rect().center();
        QTest::mousePress(knob, Qt::LeftButton, {}, centre);
        QTest::mouseRelease(knob, Qt::LeftButton, {}, centre);
        QCOMPARE(setIntensityCalls(), 0);
        QCOMPARE(panel_->unit().channels[4].intensity, uint16_t(500));
    }

    void dragSendsAtPressAndReleaseOnly() {
        QTest::mousePress(&slider(0), Qt::LeftButton, {}, QPoint(kBandX, 79));
        const int atPress = setIntensityCalls();
        for (int y = 80; y <= 120; y += 10) {
            QMouseEvent move(QEvent::MouseMove, QPointF(kBandX, y), slider(0).mapToGlobal(QPointF(kBandX, y)),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&slider(0), &move);
        }
        QCOMPARE(setIntensityCalls(), atPress);
        QTest::mouseRelease(&slider(0), Qt::LeftButton, {}, QPoint(kBandX, 120));
        QCOMPARE(setIntensityCalls(), atPress + 1);
        QVERIFY(panel_->unit().channels[0].intensity < 500);
    }

    void knobControlChangesMoveTheSlider() {
        QVERIFY(panel_->sim(QStringLiteral("knob 7 800")) == QStringLiteral("ok"));
        panel_->tick(10);
        QCOMPARE(slider(6).value(), 200);
    }
};

QTEST_MAIN(SlidersTest)
#include "tst_sliders.moc"
