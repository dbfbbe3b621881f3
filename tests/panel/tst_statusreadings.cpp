// What the alarms and maintenance screens make of the unit's records, without a window: which
// tiles light, the version and serial texts, and the error list.
#include "AlarmsScreen.h"
#include "MaintenanceTexts.h"
#include "ProductVersion.h"
#include "UnitTable.h"

#include <QtTest>

namespace {

namespace cs = rz470::ChannelStatus;
namespace us = rz470::UnitStatus;

// Status words by record index 0..9.
using ChannelStatuses = QMap<int, int>;

constexpr uint16_t kHealthy = cs::Fitted | cs::Present;
constexpr uint16_t kWavelengths[] = {365, 405, 435, 470, 500, 525, 550, 580, 635};

// A unit with nine healthy channels at the simulated unit's wavelengths, the given records
// replaced by the given status words.
UnitSlot Unit(const ChannelStatuses& statuses, uint16_t unitStatus = us::LightGuideInserted) {
    UnitSlot unit;
    unit.deviceIndex = 0;
    unit.unitStatus = unitStatus;
    for (int k = 0; k < rz470::kChannelCount; ++k) {
        unit.channels[static_cast<size_t>(k)].status = kHealthy;
        unit.channels[static_cast<size_t>(k)].wavelength = kWavelengths[k];
    }
    for (auto it = statuses.begin(); it != statuses.end(); ++it) {
        unit.channels[static_cast<size_t>(it.key())].status = static_cast<uint16_t>(it.value());
    }
    return unit;
}

QStringList LitTiles(const UnitSlot& unit) {
    QStringList lit;
    for (const alarmslayout::Tile& tile : alarmslayout::kTiles) {
        if (AlarmsScreen::IsLit(tile, unit)) {
            lit << QString::fromLatin1(tile.caption.text);
        }
    }
    return lit;
}

}  // namespace

class StatusReadingsTest : public QObject {
    Q_OBJECT

private slots:
    void alarmTiles_data() {
        QTest::addColumn<ChannelStatuses>("statuses");
        QTest::addColumn<int>("unitStatus");
        QTest::addColumn<QStringList>("lit");
        const ChannelStatuses healthy;
        QTest::newRow("healthy unit") << healthy << int(us::LightGuideInserted) << QStringList{};
        QTest::newRow("light guide out, nothing else")
            << healthy << 0 << QStringList{"Light Guide Not Present"};
        QTest::newRow("cleared records")
            << ChannelStatuses{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}} << 0
            << QStringList{"Light Guide Not Present"};
        QTest::newRow("unit bit 10 with healthy channels")
            << healthy << int(us::LightGuideInserted | us::NvmFailure) << QStringList{"NVM Fail"};
        QTest::newRow("NVM error on channel 5") << ChannelStatuses{{4, kHealthy | cs::NvmError}}
                                                << int(us::LightGuideInserted) << QStringList{"NVM Fail"};
        QTest::newRow("both temperatures on one channel")
            << ChannelStatuses{{2, kHealthy | cs::OverTemperature | cs::UnderTemperature}}
            << int(us::LightGuideInserted) << QStringList{"Max Temp Exceeded", "Min Temp Exceeded"};
        QTest::newRow("current alarm on channel 9")
            << ChannelStatuses{{8, kHealthy | cs::CurrentAlarm}} << int(us::LightGuideInserted)
            << QStringList{"LED Module Fail"};
        QTest::newRow("system performance") << healthy << int(us::LightGuideInserted | us::PerformanceAlarm)
                                            << QStringList{"System Performance"};
        QTest::newRow("alarm, LED on and knob lock light no tile")
            << ChannelStatuses{{0, kHealthy | cs::LedOn}}
            << int(us::AlarmActive | us::LightGuideInserted | us::LedOn | us::KnobLocked) << QStringList{};
        QTest::newRow("type mismatch has no tile") << ChannelStatuses{{1, kHealthy | cs::TypeMismatch}}
                                                   << int(us::LightGuideInserted) << QStringList{};
        QTest::newRow("the unused tenth record counts for nothing")
            << ChannelStatuses{{9, 0xFF}} << int(us::LightGuideInserted) << QStringList{};
        QTest::newRow("every bit: Comms and Watchdog stay dim")
            << ChannelStatuses{{0, 0xFFFF}} << 0xFFFD
            << QStringList{"Max Temp Exceeded",       "Min Temp Exceeded", "LED Module Fail",
                           "Light Guide Not Present", "NVM Fail",          "System Performance"};
    }

    void alarmTiles() {
        QFETCH(ChannelStatuses, statuses);
        QFETCH(int, unitStatus);
        QFETCH(QStringList, lit);
        QCOMPARE(LitTiles(Unit(statuses, static_cast<uint16_t>(unitStatus))), lit);
    }

    void versionText_data() {
        QTest::addColumn<int>("firmware");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("text");
        QTest::newRow("140") << 140 << "1.1.1.0"
                             << "1.4.0/1.1.1.0";
        QTest::newRow("119") << 119 << "1.1.1.0"
                             << "1.1.9/1.1.1.0";
        QTest::newRow("no unit data") << 0 << "1.1.1.0"
                                      << "0.0.0/1.1.1.0";
        QTest::newRow("largest") << 65535 << "2.0"
                                 << "655.3.5/2.0";
        QTest::newRow("no panel version") << 140 << ""
                                          << "1.4.0/";
    }

    void versionText() {
        QFETCH(int, firmware);
        QFETCH(QString, panel);
        QFETCH(QString, text);
        QCOMPARE(maintenancetexts::VersionText(static_cast<uint16_t>(firmware), panel), text);
    }

    // The panel's half of the version line is the build's project version, from one place.
    void panelVersionIsTheBuildsVersion() {
        QCOMPARE(ReadProductVersion(QStringLiteral("ProductVersion")), QStringLiteral(RZ470_PROJECT_VERSION));
    }

    void serialText_data() {
        QTest::addColumn<int>("identifier");
        QTest::addColumn<int>("serial");
        QTest::addColumn<int>("present");  // channels 1..present have an LED
        QTest::addColumn<QString>("text");
        QTest::newRow("A 65535") << int('A') << 65535 << 9 << "RZ210-65535";
        QTest::newRow("A 0") << int('A') << 0 << 9 << "RZ210-00000";
        QTest::newRow("B, three LEDs") << int('B') << 42 << 3 << "RZ231-K-00042";
        QTest::newRow("B, four LEDs") << int('B') << 42 << 4 << "RZ251-K-00042";
        QTest::newRow("B, two LEDs") << int('B') << 42 << 2 << "RZ251-K-00042";
        QTest::newRow("B, nine LEDs") << int('B') << 42 << 9 << "RZ251-K-00042";
        QTest::newRow("H") << int('H') << 7 << 3 << "RZ510-Q-00007";
        QTest::newRow("I") << int('I') << 12345 << 9 << "RZ520-Q-12345";
        QTest::newRow("J") << int('J') << 1 << 9 << "RZ530-Q-00001";
        QTest::newRow("K") << int('K') << 99 << 9 << "RZ540-Q-00099";
        QTest::newRow("T") << int('T') << 500 << 9 << "RZ210-P-00500";
        QTest::newRow("Z") << int('Z') << 42 << 9 << "Undefined Type";
        QTest::newRow("lower-case a") << int('a') << 42 << 9 << "Undefined Type";
        QTest::newRow("no unit data") << 0 << 0 << 0 << "Undefined Type";
    }

    void serialText() {
        QFETCH(int, identifier);
        QFETCH(int, serial);
        QFETCH(int, present);
        QFETCH(QString, text);
        ChannelStatuses statuses;
        for (int k = present; k < rz470::kChannelCount; ++k) {
            statuses[k] = cs::Fitted;
        }
        UnitSlot unit = Unit(statuses);
        unit.serialIdentifier = static_cast<uint8_t>(identifier);
        unit.serialNumber = static_cast<uint16_t>(serial);
        QCOMPARE(maintenancetexts::SerialText(unit), text);
    }

    void errorLines_data() {
        QTest::addColumn<ChannelStatuses>("statuses");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("healthy") << ChannelStatuses{} << QStringList{};
        QTest::newRow("LED on is no error") << ChannelStatuses{{3, kHealthy | cs::LedOn}} << QStringList{};
        QTest::newRow("channel 1 hot and in current alarm, channel 2 absent")
            << ChannelStatuses{{0, kHealthy | cs::OverTemperature | cs::CurrentAlarm}, {1, cs::Fitted}}
            << QStringList{"LED 365nm Over Temperature", "LED 365nm Current Alarm", "LED 405nm Not Present"};
        QTest::newRow("every condition of one channel, in order")
            << ChannelStatuses{{5, cs::Fitted | cs::AlarmMask}}
            << QStringList{"LED 525nm Over Temperature", "LED 525nm Current Alarm",
                           "LED 525nm NVM Error",        "LED 525nm Under Temperature Error",
                           "LED 525nm Type MisMatch",    "LED 525nm Not Present"};
        QTest::newRow("present but not fitted")
            << ChannelStatuses{{8, cs::Present}} << QStringList{"LED 635nm Not Present"};
        QTest::newRow("later channels after earlier ones")
            << ChannelStatuses{{6, kHealthy | cs::NvmError}, {2, kHealthy | cs::UnderTemperature}}
            << QStringList{"LED 435nm Under Temperature Error", "LED 550nm NVM Error"};
        QTest::newRow("nine channels absent: the last two omitted")
            << ChannelStatuses{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}}
            << QStringList{"LED 365nm Not Present", "LED 405nm Not Present", "LED 435nm Not Present",
                           "LED 470nm Not Present", "LED 500nm Not Present", "LED 525nm Not Present",
                           "LED 550nm Not Present"};
        QTest::newRow("cut inside a channel")
            << ChannelStatuses{{0, cs::Fitted | cs::AlarmMask}, {1, cs::Fitted | cs::AlarmMask}}
            << QStringList{"LED 365nm Over Temperature", "LED 365nm Current Alarm",
                           "LED 365nm NVM Error",        "LED 365nm Under Temperature Error",
                           "LED 365nm Type MisMatch",    "LED 365nm Not Present",
                           "LED 405nm Over Temperature"};
    }

    void errorLines() {
        QFETCH(ChannelStatuses, statuses);
        QFETCH(QStringList, lines);
        QCOMPARE(maintenancetexts::ErrorLines(Unit(statuses)), lines);
    }

    void clearedRecordsGiveSevenNotPresentLinesAtZeroNanometres() {
        const UnitSlot cleared;
        QCOMPARE(maintenancetexts::ErrorLines(cleared),
                 QStringList(7, QStringLiteral("LED 0nm Not Present")));
    }
};

QTEST_GUILESS_MAIN(StatusReadingsTest)
#include "tst_statusreadings.moc"
