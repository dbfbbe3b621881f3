#include "IntensitySteps.h"

#include <QtTest>

using namespace intensitysteps;

class IntensityStepsTest : public QObject {
    Q_OBJECT

private slots:
    void arrows_data() {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("up");
        QTest::addColumn<int>("down");
        QTest::newRow("m=50 from 0") << 50 << 0 << 50 << 0;
        QTest::newRow("m=50 from 50") << 50 << 50 << 55 << 0;
        QTest::newRow("m=50 from 55") << 50 << 55 << 60 << 50;
        QTest::newRow("m=50 from 995") << 50 << 995 << 1000 << 990;
        QTest::newRow("m=50 from 1000") << 50 << 1000 << 1000 << 995;
        QTest::newRow("m=50 from 998 stops at full scale") << 50 << 998 << 1000 << 993;
        QTest::newRow("m=50 below minimum (slider)") << 50 << 30 << 35 << 30;
        QTest::newRow("m=50 from 51 lands on the minimum") << 50 << 51 << 56 << 50;
        QTest::newRow("m=50 from 54 lands on the minimum") << 50 << 54 << 59 << 50;
        QTest::newRow("m=0 from 0 steps off zero") << 0 << 0 << 5 << 0;
        QTest::newRow("m=0 from 3 never below zero") << 0 << 3 << 8 << 0;
        QTest::newRow("m=0 from 5") << 0 << 5 << 10 << 0;
        QTest::newRow("m=1000 from 0") << 1000 << 0 << 1000 << 0;
    }

    void arrows() {
        QFETCH(int, minimum);
        QFETCH(int, from);
        QFETCH(int, up);
        QFETCH(int, down);
        QCOMPARE(int(StepUp(uint16_t(from), uint16_t(minimum))), up);
        QCOMPARE(int(StepDown(uint16_t(from), uint16_t(minimum))), down);
    }

    void typedValues_data() {
        QTest::addColumn<float>("entered");  // as the number entry hands it back: typed + 0.05
        QTest::addColumn<int>("tenths");
        QTest::addColumn<int>("level");  // -1: not taken
        QTest::newRow("4.9 below minimum") << 4.95f << 49 << -1;
        QTest::newRow("5") << 5.05f << 50 << 50;
        QTest::newRow("0") << 0.05f << 0 << 0;
        QTest::newRow("100") << 100.05f << 1000 << 1000;
        QTest::newRow("100.1 taken as full scale") << 100.15f << 1001 << 1000;
        QTest::newRow("100.2") << 100.25f << 1002 << -1;
        QTest::newRow("37.3") << 37.35f << 373 << 373;
        QTest::newRow("cancelled on 333") << 33.3f << 333 << 333;
    }

    void typedValues() {
        QFETCH(float, entered);
        QFETCH(int, tenths);
        QFETCH(int, level);
        const std::optional<uint16_t> converted = TenthsFromPercent(entered);
        QVERIFY(converted.has_value());
        QCOMPARE(int(*converted), tenths);
        const std::optional<uint16_t> taken = TypedLevel(entered, 50);
        QCOMPARE(taken.has_value() ? int(*taken) : -1, level);
    }

    void hugeEntriesDoNotWrapIntoALevel() {
        QVERIFY(!TenthsFromPercent(6553.65f).has_value());  // would wrap to 0
        QVERIFY(!TenthsFromPercent(-1.0f).has_value());
        QVERIFY(!TenthsFromPercent(std::numeric_limits<float>::quiet_NaN()).has_value());
        QCOMPARE(int(*TenthsFromPercent(6553.5f)), 65535);
    }

    void minimumLevelStaysWithinFullScale() {
        QCOMPARE(int(MinimumLevel(5)), 50);
        QCOMPARE(int(MinimumLevel(0)), 0);
        QCOMPARE(int(MinimumLevel(65535)), 1000);
    }
};

QTEST_GUILESS_MAIN(IntensityStepsTest)
#include "tst_intensitysteps.moc"
