// The simulated unit as the panel and its tests see it: the exported contract, the semantics the
// panel relies on, the settings it keeps, its configuration, its control language and the
// rz470-sim tool talking to a loaded library.

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

#include "ControlSpool.h"
#include "SimLibrary.h"
#include "TestPaths.h"

namespace {

using Words = std::array<RZ470Word, 9>;
using Bytes = std::array<RZ470Byte, 9>;

constexpr RZ470Word kUnit = 0;
constexpr uint16_t kFactoryWavelengths[9] = {365, 405, 435, 470, 500, 525, 550, 580, 635};

// Everything a call could write into, patterned so that any write shows.
struct Outputs {
    rz470::ChannelRecord records[9];
    RZ470Word words[9];
    RZ470Word word;
    RZ470Byte bytes[16];
    char texts[9][rz470::kNameBufferSize];

    std::array<rz470::ChannelRecord*, 9> recordPointers() {
        std::array<rz470::ChannelRecord*, 9> p{};
        for (int i = 0; i < 9; ++i)
            p[i] = &records[i];
        return p;
    }
    std::array<RZ470Word*, 9> wordPointers() {
        std::array<RZ470Word*, 9> p{};
        for (int i = 0; i < 9; ++i)
            p[i] = &words[i];
        return p;
    }
    std::array<char*, 9> textPointers() {
        std::array<char*, 9> p{};
        for (int i = 0; i < 9; ++i)
            p[i] = texts[i];
        return p;
    }
};

Outputs patterned() {
    Outputs o;
    std::memset(static_cast<void*>(&o), 0xEE, sizeof o);
    return o;
}

bool untouched(const Outputs& o) {
    const Outputs pristine = patterned();
    return std::memcmp(&o, &pristine, sizeof o) == 0;
}

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

Bytes toBytes(const QByteArray& text) {
    Bytes b{};
    for (int i = 0; i < 9; ++i)
        b[i] = static_cast<RZ470Byte>(text.at(i));
    return b;
}

Words toWords(const QList<int>& values) {
    Words w{};
    for (int i = 0; i < 9; ++i)
        w[i] = static_cast<RZ470Word>(values.at(i));
    return w;
}

struct BadCall {
    const char* name;
    std::function<int(const SimApi&, Outputs&)> call;
};

// Calls that must be refused with 0, writing nothing and changing nothing.
const std::vector<BadCall>& badCalls() {
    static const RZ470Byte members[10] = {1, 2, 0, 0, 0, 0, 0, 0, 0, 0};
    static const RZ470Byte tooHigh[9] = {1, 10};
    static const RZ470Byte twice[9] = {3, 3};
    static const RZ470Byte steps[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 9};
    static const RZ470Byte stepTen[9] = {1, 10};
    static const RZ470Word minutes[10] = {5, 5, 5, 5, 5, 5, 5, 5, 5, 5};
    static const std::vector<BadCall> table = {
        {"GetUnitStatus, ninth record missing",
         [](const SimApi& a, Outputs& o) {
             auto r = o.recordPointers();
             r[8] = nullptr;
             return call9(a.GetUnitStatus, kUnit, r, &o.word);
         }},
        {"GetUnitStatus, unit status missing",
         [](const SimApi& a, Outputs& o) {
             return call9(a.GetUnitStatus, kUnit, o.recordPointers(), static_cast<RZ470Word*>(nullptr));
         }},
        {"GetUnitStatus, unknown index",
         [](const SimApi& a, Outputs& o) { return call9(a.GetUnitStatus, 3, o.recordPointers(), &o.word); }},
        {"GetLEDWaveLength, fifth pointer missing",
         [](const SimApi& a, Outputs& o) {
             auto w = o.wordPointers();
             w[4] = nullptr;
             return call9(a.GetLEDWaveLength, kUnit, w);
         }},
        {"GetIntensityLevel, first pointer missing",
         [](const SimApi& a, Outputs& o) {
             auto w = o.wordPointers();
             w[0] = nullptr;
             return call9(a.GetIntensityLevel, kUnit, w);
         }},
        {"GetLEDName, third buffer missing",
         [](const SimApi& a, Outputs& o) {
             auto t = o.textPointers();
             t[2] = nullptr;
             return call9(a.GetLEDName, kUnit, t);
         }},
        {"GetSoftwareVersion, third word missing",
         [](const SimApi& a, Outputs& o) {
             return a.GetSoftwareVersion(kUnit, &o.words[0], &o.words[1], nullptr);
         }},
        {"GetUnitSerialNumber, no pointer",
         [](const SimApi& a, Outputs&) { return a.GetUnitSerialNumber(kUnit, nullptr); }},
        {"GetUnitSerialNumber, unknown index",
         [](const SimApi& a, Outputs& o) { return a.GetUnitSerialNumber(3, &o.word); }},
        {"GetSerialIdentifier, empty-slot index 255",
         [](const SimApi& a, Outputs& o) { return a.GetSerialIdentifier(255, o.bytes); }},
        {"GetGroupingEnabled, no pointer",
         [](const SimApi& a, Outputs&) { return a.GetGroupingEnabled(kUnit, nullptr); }},
        {"GetGrouping, group 0",
         [](const SimApi& a, Outputs& o) { return a.GetGrouping(kUnit, 0, o.bytes, 9); }},
        {"GetGrouping, group 7",
         [](const SimApi& a, Outputs& o) { return a.GetGrouping(kUnit, 7, o.bytes, 9); }},
        {"GetGrouping, count 0",
         [](const SimApi& a, Outputs& o) { return a.GetGrouping(kUnit, 1, o.bytes, 0); }},
        {"GetGrouping, count 10",
         [](const SimApi& a, Outputs& o) { return a.GetGrouping(kUnit, 1, o.bytes, 10); }},
        {"GetGrouping, no buffer",
         [](const SimApi& a, Outputs&) { return a.GetGrouping(kUnit, 1, nullptr, 9); }},
        {"SetGrouping, group 0",
         [](const SimApi& a, Outputs&) { return a.SetGrouping(kUnit, 0, members, 9); }},
        {"SetGrouping, group 7",
         [](const SimApi& a, Outputs&) { return a.SetGrouping(kUnit, 7, members, 9); }},
        {"SetGrouping, LED 10",
         [](const SimApi& a, Outputs&) { return a.SetGrouping(kUnit, 1, tooHigh, 9); }},
        {"SetGrouping, LED listed twice",
         [](const SimApi& a, Outputs&) { return a.SetGrouping(kUnit, 1, twice, 9); }},
        {"SetGrouping, count 0",
         [](const SimApi& a, Outputs&) { return a.SetGrouping(kUnit, 1, members, 0); }},
        {"SetGrouping, count 10",
         [](const SimApi& a, Outputs&) { return a.SetGrouping(kUnit, 1, members, 10); }},
        {"SetGrouping, no list",
         [](const SimApi& a, Outputs&) { return a.SetGrouping(kUnit, 1, nullptr, 1); }},
        {"SetGroupingEnabled, mode 3",
         [](const SimApi& a, Outputs&) { return a.SetGroupingEnabled(kUnit, 3); }},
        {"GetTTLSequencing, count 0",
         [](const SimApi& a, Outputs& o) { return a.GetTTLSequencing(kUnit, o.bytes, 0); }},
        {"GetTTLSequencing, count 10",
         [](const SimApi& a, Outputs& o) { return a.GetTTLSequencing(kUnit, o.bytes, 10); }},
        {"GetTTLSequencing, no buffer",
         [](const SimApi& a, Outputs&) { return a.GetTTLSequencing(kUnit, nullptr, 9); }},
        {"SetTTLSequencing, step 10",
         [](const SimApi& a, Outputs&) { return a.SetTTLSequencing(kUnit, stepTen, 9); }},
        {"SetTTLSequencing, count 10",
         [](const SimApi& a, Outputs&) { return a.SetTTLSequencing(kUnit, steps, 10); }},
        {"SetTTLSequencing, no list",
         [](const SimApi& a, Outputs&) { return a.SetTTLSequencing(kUnit, nullptr, 9); }},
        {"GetTTLTimeout, count 0",
         [](const SimApi& a, Outputs& o) { return a.GetTTLTimeout(kUnit, o.words, 0); }},
        {"GetTTLTimeout, no buffer",
         [](const SimApi& a, Outputs&) { return a.GetTTLTimeout(kUnit, nullptr, 9); }},
        {"SetTTLTimeout, count 10",
         [](const SimApi& a, Outputs&) { return a.SetTTLTimeout(kUnit, minutes, 10); }},
        {"SetTTLTimeout, no list",
         [](const SimApi& a, Outputs&) { return a.SetTTLTimeout(kUnit, nullptr, 9); }},
        {"SetIntensityLevel, unknown index",
         [](const SimApi& a, Outputs&) {
             return call9(a.SetIntensityLevel, 3, Words{1, 2, 3, 4, 5, 6, 7, 8, 9});
         }},
        {"SetMinIntPercentage, 101 on one channel",
         [](const SimApi& a, Outputs&) {
             return call9(a.SetMinIntPercentage, kUnit, Words{0, 0, 0, 0, 101, 0, 0, 0, 0});
         }},
        {"TurnONLEDs, unknown index",
         [](const SimApi& a, Outputs&) {
             return call9(a.TurnONLEDs, 3, Bytes{1, 1, 1, 1, 1, 1, 1, 1, 1});
         }},
        {"GetWaveLengthRange, channel 0",
         [](const SimApi& a, Outputs& o) {
             return a.GetWaveLengthRange(kUnit, 0, &o.words[0], &o.words[1]);
         }},
        {"GetWaveLengthRange, channel 10",
         [](const SimApi& a, Outputs& o) {
             return a.GetWaveLengthRange(kUnit, 10, &o.words[0], &o.words[1]);
         }},
        {"SetWaveLengthRange, low above high",
         [](const SimApi& a, Outputs&) { return a.SetWaveLengthRange(kUnit, 1, 400, 300); }},
        {"SetDeviceName, no text", [](const SimApi& a, Outputs&) { return a.SetDeviceName(kUnit, nullptr); }},
        {"SetDeviceName, 20 characters",
         [](const SimApi& a, Outputs&) { return a.SetDeviceName(kUnit, "ABCDEFGHIJKLMNOPQRST"); }},
        {"GetDeviceName, no buffer",
         [](const SimApi& a, Outputs&) { return a.GetDeviceName(kUnit, nullptr); }},
        {"SetUnitSerialNumber without privilege",
         [](const SimApi& a, Outputs&) { return a.SetUnitSerialNumber(kUnit, 7); }},
    };
    return table;
}

}  // namespace

class TestSimulator : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void exportsExactlyTheContract();
    void carriesVersionNote();
    void factoryUnit();
    void deviceActive_data();
    void deviceActive();
    void switching_data();
    void switching();
    void unfittedChannelStaysDark();
    void intensityLevels_data();
    void intensityLevels();
    void unitStatusWord_data();
    void unitStatusWord();
    void getUnitStatusLeavesPanelFields();
    void groupingRows_data();
    void groupingRows();
    void groupingMode_data();
    void groupingMode();
    void ttlTables();
    void refusedCallsChangeNothing_data();
    void refusedCallsChangeNothing();

    void savedSettingsComeBackOnReload();
    void savedSettingsReachAFreshProcess();
    void corruptStateFileIsIgnored_data();
    void corruptStateFileIsIgnored();
    void configuration_data();
    void configuration();

    void commands_data();
    void commands();
    void malformedCommandsChangeNothing_data();
    void malformedCommandsChangeNothing();
    void plugAndUnplugFollowCountAndActive();
    void knobChangesTheUnitsIntensity();
    void injectedFailures();
    void injectedDelay();
    void callLog();

    void toolTalksToLoadedLibrary_data();
    void toolTalksToLoadedLibrary();
    void toolWithoutPanel_data();
    void toolWithoutPanel();
    void fallbackFolderIsTheUsersAlone_data();
    void fallbackFolderIsTheUsersAlone();
    void spoolSkipsOnlyASettledUnchangedFolder();

private:
    struct ToolRun {
        int exitCode = -1;
        QString out;
        QString err;
    };
    ToolRun runTool(const QStringList& args, bool serve, const QString& home = QString());
    QString stateFile() const { return QDir(home_->path()).filePath(QStringLiteral("unit-42.state")); }
    std::array<uint16_t, 9> channelStatus();
    RZ470Word unitStatus();

    SimLibrary lib_;
    std::unique_ptr<QTemporaryDir> home_;
    std::unique_ptr<QTemporaryDir> loadHome_;
};

void TestSimulator::initTestCase() {
    // The first use of the library reads the environment: keep it off the user's state folder.
    loadHome_ = std::make_unique<QTemporaryDir>();
    qputenv("RZ470_SIM_HOME", loadHome_->path().toLocal8Bit());
    qunsetenv("RZ470_SIM_CONFIG");
    QString error;
    QVERIFY2(lib_.load(testpaths::inBinDir(QString::fromLatin1(rz470::kLibraryFileName)), error),
             qPrintable(error));
}

void TestSimulator::init() {
    home_ = std::make_unique<QTemporaryDir>();
    QVERIFY(home_->isValid());
    qputenv("RZ470_SIM_HOME", home_->path().toLocal8Bit());
    qunsetenv("RZ470_SIM_CONFIG");
    QCOMPARE(lib_.run(QStringLiteral("reset")), QStringLiteral("ok"));
}

std::array<uint16_t, 9> TestSimulator::channelStatus() {
    Outputs o = patterned();
    std::array<uint16_t, 9> status{};
    if (call9(lib_.api().GetUnitStatus, kUnit, o.recordPointers(), &o.word) == 0)
        return status;
    for (int c = 0; c < 9; ++c)
        status[c] = o.records[c].status;
    return status;
}

RZ470Word TestSimulator::unitStatus() {
    Outputs o = patterned();
    return call9(lib_.api().GetUnitStatus, kUnit, o.recordPointers(), &o.word) != 0 ? o.word : 0xEEEE;
}

void TestSimulator::exportsExactlyTheContract() {
    const QString path = testpaths::inBinDir(QString::fromLatin1(rz470::kLibraryFileName));
    void* handle = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    QVERIFY(handle != nullptr);
    QSet<QString> expected;
    for (const char* name : rz470::kEntryPointNames) {
        QVERIFY2(dlsym(handle, name) != nullptr, name);
        expected.insert(QString::fromLatin1(name));
    }
    expected.insert(QStringLiteral("RZ470Sim_Command"));
    dlclose(handle);

    QString error;
    const QStringList exported = definedDynamicSymbols(path, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QSet<QString> actual(exported.begin(), exported.end());
    QCOMPARE(actual - expected, QSet<QString>());
    QCOMPARE(expected - actual, QSet<QString>());
}

void TestSimulator::carriesVersionNote() {
    const quint32 version =
        noteFileVersion(testpaths::inBinDir(QString::fromLatin1(rz470::kLibraryFileName)));
    QCOMPARE(version, quint32(1 << 16 | 2));
}

void TestSimulator::factoryUnit() {
    const SimApi& api = lib_.api();
    QCOMPARE(int(api.GetNumDevicesConnected()), 1);
    QCOMPARE(api.Connect(kUnit), 1);

    RZ470Word serial = 0;
    RZ470Byte letter = 0;
    RZ470Word version[3] = {};
    QCOMPARE(api.GetUnitSerialNumber(kUnit, &serial), 1);
    QCOMPARE(api.GetSerialIdentifier(kUnit, &letter), 1);
    QCOMPARE(api.GetSoftwareVersion(kUnit, &version[0], &version[1], &version[2]), 1);
    QCOMPARE(serial, RZ470Word(42));
    QCOMPARE(letter, RZ470Byte('B'));
    QCOMPARE(version[0], RZ470Word(140));
    QCOMPARE(version[1], RZ470Word(0));
    QCOMPARE(version[2], RZ470Word(0));

    Outputs o = patterned();
    QCOMPARE(call9(api.GetLEDWaveLength, kUnit, o.wordPointers()), 1);
    for (int c = 0; c < 9; ++c)
        QCOMPARE(o.words[c], kFactoryWavelengths[c]);
    QCOMPARE(call9(api.GetLEDType, kUnit, o.wordPointers()), 1);
    for (int c = 0; c < 9; ++c)
        QCOMPARE(o.words[c],
                 RZ470Word(c >= 3 && c <= 6 ? rz470::LedType::HighPower : rz470::LedType::StandardPower));
    QCOMPARE(call9(api.GetMinIntPercentage, kUnit, o.wordPointers()), 1);
    const QSet<RZ470Word> minimums(std::begin(o.words), std::end(o.words));
    QCOMPARE(minimums, (QSet<RZ470Word>{0, 5}));
    QCOMPARE(call9(api.GetIntensityLevel, kUnit, o.wordPointers()), 1);
    for (RZ470Word level : o.words)
        QVERIFY(level <= rz470::kMaxIntensity);

    QCOMPARE(call9(api.GetLEDName, kUnit, o.textPointers()), 1);
    for (const auto& name : o.texts) {
        const size_t length = strnlen(name, sizeof name);
        QVERIFY2(length >= 1 && length <= 19, name);
    }

    for (uint16_t status : channelStatus())
        QCOMPARE(status, uint16_t(rz470::ChannelStatus::Fitted | rz470::ChannelStatus::Present));
    QCOMPARE(unitStatus(), RZ470Word(rz470::UnitStatus::LightGuideInserted));
    RZ470Byte mode = 0xEE;
    QCOMPARE(api.GetGroupingEnabled(kUnit, &mode), 1);
    QCOMPARE(mode, RZ470Byte(0));
}

void TestSimulator::deviceActive_data() {
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("active");
    QTest::newRow("plugged unit") << QStringList() << 0 << 1;
    QTest::newRow("index nobody answers to") << QStringList() << 1 << 0;
    QTest::newRow("highest scanned index") << QStringList() << 49 << 0;
    QTest::newRow("empty-slot marker 255") << QStringList() << 255 << 0;
    QTest::newRow("unplugged unit") << QStringList{"unplug 0"} << 0 << 0;
    QTest::newRow("second unit plugged") << QStringList{"plug 1"} << 1 << 1;
}

void TestSimulator::deviceActive() {
    QFETCH(QStringList, setup);
    QFETCH(int, index);
    QFETCH(int, active);
    for (const QString& command : setup)
        QCOMPARE(lib_.run(command), QStringLiteral("ok"));
    QCOMPARE(lib_.api().DeviceActive(static_cast<RZ470Word>(index)), active);
    QCOMPARE(lib_.api().DataReady(static_cast<RZ470Word>(index)), active);
}

void TestSimulator::switching_data() {
    QTest::addColumn<QByteArray>("initiallyOn");
    QTest::addColumn<bool>("turnOn");
    QTest::addColumn<QByteArray>("flags");
    QTest::addColumn<QByteArray>("expectedOn");
    QTest::newRow("on: 1 switches on")
        << QByteArray("000000000") << true << bytes({1, 0, 0, 1, 0, 0, 0, 0, 1}) << QByteArray("100100001");
    QTest::newRow("on: 0 leaves a lit LED lit")
        << QByteArray("010000000") << true << bytes({0, 0, 0, 0, 0, 0, 0, 0, 0}) << QByteArray("010000000");
    QTest::newRow("on: other values leave it")
        << QByteArray("000000000") << true << bytes({2, 255, 0, 0, 0, 0, 0, 0, 0}) << QByteArray("000000000");
    QTest::newRow("off: 0 switches off")
        << QByteArray("111111111") << false << bytes({0, 1, 1, 1, 1, 1, 1, 1, 0}) << QByteArray("011111110");
    QTest::newRow("off: 1 leaves a dark LED dark")
        << QByteArray("000000000") << false << bytes({1, 1, 1, 1, 1, 1, 1, 1, 1}) << QByteArray("000000000");
    QTest::newRow("off: other values leave it")
        << QByteArray("110000000") << false << bytes({2, 255, 1, 1, 1, 1, 1, 1, 1})
        << QByteArray("110000000");
}

void TestSimulator::switching() {
    QFETCH(QByteArray, initiallyOn);
    QFETCH(bool, turnOn);
    QFETCH(QByteArray, flags);
    QFETCH(QByteArray, expectedOn);
    for (int c = 0; c < 9; ++c) {
        if (initiallyOn.at(c) == '1')
            QCOMPARE(lib_.run(QStringLiteral("led %1 on").arg(c + 1)), QStringLiteral("ok"));
    }
    const auto call = turnOn ? lib_.api().TurnONLEDs : lib_.api().TurnOFFLEDs;
    QCOMPARE(call9(call, kUnit, toBytes(flags)), 1);

    QByteArray lit;
    for (uint16_t status : channelStatus())
        lit += (status & rz470::ChannelStatus::LedOn) ? '1' : '0';
    QCOMPARE(lit, expectedOn);
    const bool anyOn = expectedOn.contains('1');
    QCOMPARE(bool(unitStatus() & rz470::UnitStatus::LedOn), anyOn);
    QCOMPARE(lib_.status().value(QStringLiteral("unit0.channel1.on")),
             QString(QChar::fromLatin1(expectedOn.at(0))));
}

void TestSimulator::unfittedChannelStaysDark() {
    QCOMPARE(lib_.run(QStringLiteral("channel-status 2 clear fitted")), QStringLiteral("ok"));
    QCOMPARE(call9(lib_.api().TurnONLEDs, kUnit, Bytes{1, 1, 0, 0, 0, 0, 0, 0, 0}), 1);
    const auto status = channelStatus();
    QVERIFY(status[0] & rz470::ChannelStatus::LedOn);
    QCOMPARE(status[1], uint16_t(rz470::ChannelStatus::Present));
}

void TestSimulator::intensityLevels_data() {
    QTest::addColumn<QList<int>>("levels");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("all off") << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0} << true;
    QTest::newRow("all full") << QList<int>{1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000} << true;
    QTest::newRow("mixed") << QList<int>{0, 1, 50, 499, 500, 501, 999, 1000, 123} << true;
    QTest::newRow("one just above full") << QList<int>{10, 20, 30, 40, 1001, 60, 70, 80, 90} << false;
    QTest::newRow("largest word") << QList<int>{10, 20, 30, 40, 50, 60, 70, 80, 65535} << false;
}

void TestSimulator::intensityLevels() {
    QFETCH(QList<int>, levels);
    QFETCH(bool, accepted);
    const Words before{11, 22, 33, 44, 55, 66, 77, 88, 99};
    QCOMPARE(call9(lib_.api().SetIntensityLevel, kUnit, before), 1);

    QCOMPARE(call9(lib_.api().SetIntensityLevel, kUnit, toWords(levels)), accepted ? 1 : 0);
    Outputs o = patterned();
    QCOMPARE(call9(lib_.api().GetIntensityLevel, kUnit, o.wordPointers()), 1);
    const Words expected = accepted ? toWords(levels) : before;
    for (int c = 0; c < 9; ++c)
        QCOMPARE(o.words[c], expected[c]);
}

void TestSimulator::unitStatusWord_data() {
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<int>("expected");
    QTest::newRow("factory: light guide only") << QStringList() << 0x0002;
    QTest::newRow("an LED on") << QStringList{"led 5 on"} << 0x000A;
    QTest::newRow("LED on then off again") << QStringList{"led 5 on", "led 5 off"} << 0x0002;
    QTest::newRow("channel over temperature") << QStringList{"channel-status 3 set overtemp"} << 0x0003;
    QTest::newRow("channel current alarm") << QStringList{"channel-status 9 set current"} << 0x0003;
    QTest::newRow("channel alarm cleared")
        << QStringList{"channel-status 3 set nvm", "channel-status 3 clear nvm"} << 0x0002;
    QTest::newRow("missing LED is no alarm") << QStringList{"channel-status 3 clear present"} << 0x0002;
    QTest::newRow("unit NVM failure") << QStringList{"unit-status set nvm"} << 0x0403;
    QTest::newRow("system performance alarm") << QStringList{"unit-status set 0x1000"} << 0x1003;
    QTest::newRow("knob locked is no alarm") << QStringList{"unit-status set knoblock"} << 0x0042;
    QTest::newRow("light guide pulled") << QStringList{"unit-status clear lightguide"} << 0x0000;
}

void TestSimulator::unitStatusWord() {
    QFETCH(QStringList, commands);
    QFETCH(int, expected);
    for (const QString& command : commands)
        QCOMPARE(lib_.run(command), QStringLiteral("ok"));
    QCOMPARE(int(unitStatus()), expected);
    QCOMPARE(lib_.status().value(QStringLiteral("unit0.unitStatus")).toInt(nullptr, 16), expected);
}

void TestSimulator::getUnitStatusLeavesPanelFields() {
    QCOMPARE(lib_.run(QStringLiteral("knob 4 321")), QStringLiteral("ok"));
    QCOMPARE(lib_.run(QStringLiteral("triggered 5 1")), QStringLiteral("ok"));
    QCOMPARE(lib_.run(QStringLiteral("led 2 on")), QStringLiteral("ok"));
    Outputs o = patterned();
    for (int c = 0; c < 9; ++c) {
        std::snprintf(o.records[c].name, sizeof o.records[c].name, "panel %d", c);
        o.records[c].locked = 7;
        o.records[c].intensity = 1000;
    }
    const Outputs before = o;

    QCOMPARE(call9(lib_.api().GetUnitStatus, kUnit, o.recordPointers(), &o.word), 1);
    for (int c = 0; c < 9; ++c) {
        const rz470::ChannelRecord& r = o.records[c];
        const rz470::ChannelRecord& b = before.records[c];
        // The panel's own fields and those read by their own calls stay as they were.
        QCOMPARE(std::memcmp(r.name, b.name, sizeof r.name), 0);
        QCOMPARE(r.locked, b.locked);
        QCOMPARE(r.intensity, b.intensity);
        QCOMPARE(r.hours, b.hours);
        QCOMPARE(r.wavelength, b.wavelength);
        QCOMPARE(r.ledType, b.ledType);
        QCOMPARE(r.minIntensityPercent, b.minIntensityPercent);
        // The library's fields are filled.
        QCOMPARE(r.status & 0x60, 0x60);
        QCOMPARE(bool(r.status & rz470::ChannelStatus::LedOn), c == 1);
        QCOMPARE(int(r.triggered), c == 4 ? 1 : 0);
        QVERIFY(r.rangeLow < kFactoryWavelengths[c] && kFactoryWavelengths[c] < r.rangeHigh);
        QVERIFY(r.fwhm > 0);
        QVERIFY(r.temperature > 0 && r.temperature < r.cutoffTemperature);
        QVERIFY(std::memchr(r.mfgDate, '\0', sizeof r.mfgDate) != nullptr);
        QCOMPARE(int(r.reserved4 | r.reserved8 | r.reserved10 | r.reserved12), 0);
    }
    QCOMPARE(o.word, RZ470Word(0x000A));
}

void TestSimulator::groupingRows_data() {
    QTest::addColumn<QStringList>("calls");  // "group:members", the count being the members given
    QTest::addColumn<QStringList>("rows");
    const QString empty = QStringLiteral("0,0,0,0,0,0,0,0,0");
    QStringList panelSend;
    for (int g = 1; g <= 6; ++g)
        panelSend << QStringLiteral("%1:0").arg(g)
                  << (g == 2 ? QStringLiteral("2:1,4,7,0,0,0,0,0,0")
                             : QStringLiteral("%1:0,0,0,0,0,0,0,0,0").arg(g));
    QTest::newRow("the panel's send of LEDs 1 4 7 in group 2")
        << panelSend << QStringList{empty, "1,4,7,0,0,0,0,0,0", empty, empty, empty, empty};
    QTest::newRow("short list") << QStringList{"3:2,5"}
                                << QStringList{empty, empty, "2,5,0,0,0,0,0,0,0", empty, empty, empty};
    QTest::newRow("entries after the ending 0 ignored")
        << QStringList{"1:4,0,6"} << QStringList{"4,0,0,0,0,0,0,0,0", empty, empty, empty, empty, empty};
    QTest::newRow("{0} clears a group")
        << QStringList{"6:9,8,7", "6:0"} << QStringList{empty, empty, empty, empty, empty, empty};
    QTest::newRow("an LED in two groups is kept in both")
        << QStringList{"1:2,5", "3:5"}
        << QStringList{"2,5,0,0,0,0,0,0,0", empty, "5,0,0,0,0,0,0,0,0", empty, empty, empty};
    QTest::newRow("a row replaces the whole group")
        << QStringList{"4:1,2,3,4,5,6,7,8,9", "4:9"}
        << QStringList{empty, empty, empty, "9,0,0,0,0,0,0,0,0", empty, empty};
}

void TestSimulator::groupingRows() {
    QFETCH(QStringList, calls);
    QFETCH(QStringList, rows);
    for (const QString& call : calls) {
        const QStringList parts = call.split(QLatin1Char(':'));
        QByteArray members;
        for (const QString& m : parts[1].split(QLatin1Char(',')))
            members.append(static_cast<char>(m.toInt()));
        QCOMPARE(lib_.api().SetGrouping(kUnit, static_cast<RZ470Byte>(parts[0].toInt()),
                                        reinterpret_cast<const RZ470Byte*>(members.constData()),
                                        static_cast<RZ470Byte>(members.size())),
                 1);
    }
    const auto status = lib_.status();
    for (int g = 1; g <= 6; ++g) {
        RZ470Byte row[9];
        std::memset(row, 0xEE, sizeof row);
        QCOMPARE(lib_.api().GetGrouping(kUnit, static_cast<RZ470Byte>(g), row, 9), 1);
        QStringList read;
        for (RZ470Byte b : row)
            read << QString::number(b);
        QCOMPARE(read.join(QLatin1Char(',')), rows[g - 1]);
        QCOMPARE(status.value(QStringLiteral("unit0.group%1").arg(g)), rows[g - 1]);
    }
    // A shorter read fills only what it asks for.
    RZ470Byte partial[9];
    std::memset(partial, 0xEE, sizeof partial);
    QCOMPARE(lib_.api().GetGrouping(kUnit, 1, partial, 2), 1);
    QCOMPARE(partial[2], RZ470Byte(0xEE));
}

void TestSimulator::groupingMode_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("off") << 0 << true;
    QTest::newRow("4-channel compatibility") << 1 << true;
    QTest::newRow("6-channel compatibility") << 2 << true;
    QTest::newRow("3") << 3 << false;
    QTest::newRow("255") << 255 << false;
}

void TestSimulator::groupingMode() {
    QFETCH(int, mode);
    QFETCH(bool, accepted);
    QCOMPARE(lib_.api().SetGroupingEnabled(kUnit, 1), 1);
    QCOMPARE(lib_.api().SetGroupingEnabled(kUnit, static_cast<RZ470Byte>(mode)), accepted ? 1 : 0);
    RZ470Byte read = 0xEE;
    QCOMPARE(lib_.api().GetGroupingEnabled(kUnit, &read), 1);
    QCOMPARE(int(read), accepted ? mode : 1);
}

void TestSimulator::ttlTables() {
    const RZ470Byte steps[9] = {1, 0, 2, 9, 3, 0, 4, 5, 6};
    const RZ470Word minutes[9] = {0, 5, 6, 30, 120, 0, 65535, 5, 7};
    QCOMPARE(lib_.api().SetTTLSequencing(kUnit, steps, 9), 1);
    QCOMPARE(lib_.api().SetTTLTimeout(kUnit, minutes, 9), 1);

    Outputs o = patterned();
    QCOMPARE(lib_.api().GetTTLSequencing(kUnit, o.bytes, 9), 1);
    QCOMPARE(lib_.api().GetTTLTimeout(kUnit, o.words, 9), 1);
    QCOMPARE(std::memcmp(o.bytes, steps, sizeof steps), 0);
    QCOMPARE(std::memcmp(o.words, minutes, sizeof minutes), 0);
    const auto status = lib_.status();
    QCOMPARE(status.value(QStringLiteral("unit0.ttlSequence")), QStringLiteral("1,0,2,9,3,0,4,5,6"));
    QCOMPARE(status.value(QStringLiteral("unit0.ttlTimeout")), QStringLiteral("0,5,6,30,120,0,65535,5,7"));

    // Fewer entries touch only those, in both directions.
    const RZ470Byte firstTwo[2] = {7, 8};
    QCOMPARE(lib_.api().SetTTLSequencing(kUnit, firstTwo, 2), 1);
    Outputs p = patterned();
    QCOMPARE(lib_.api().GetTTLSequencing(kUnit, p.bytes, 3), 1);
    QCOMPARE(int(p.bytes[0]), 7);
    QCOMPARE(int(p.bytes[1]), 8);
    QCOMPARE(int(p.bytes[2]), 2);
    QCOMPARE(p.bytes[3], RZ470Byte(0xEE));
}

void TestSimulator::refusedCallsChangeNothing_data() {
    QTest::addColumn<int>("row");
    for (size_t i = 0; i < badCalls().size(); ++i)
        QTest::newRow(badCalls()[i].name) << static_cast<int>(i);
}

void TestSimulator::refusedCallsChangeNothing() {
    QFETCH(int, row);
    // Settings outside the status listing show in the saved file.
    QCOMPARE(lib_.api().SaveUserSettings(kUnit), 1);
    QFile saved(stateFile());
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray settingsBefore = saved.readAll();
    saved.close();
    const auto statusBefore = lib_.status();

    Outputs o = patterned();
    QCOMPARE(badCalls()[static_cast<size_t>(row)].call(lib_.api(), o), 0);
    QVERIFY(untouched(o));
    QCOMPARE(lib_.status(), statusBefore);
    QCOMPARE(lib_.api().SaveUserSettings(kUnit), 1);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), settingsBefore);
}

void TestSimulator::savedSettingsComeBackOnReload() {
    const SimApi& api = lib_.api();
    const auto factory = lib_.status();
    const RZ470Byte row[9] = {1, 4, 7};
    const RZ470Byte steps[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const RZ470Word minutes[9] = {5, 6, 7, 8, 9, 10, 11, 12, 0};
    QCOMPARE(call9(api.SetIntensityLevel, kUnit, Words{10, 20, 30, 40, 50, 60, 70, 80, 90}), 1);
    QCOMPARE(api.SetGroupingEnabled(kUnit, 2), 1);
    QCOMPARE(api.SetGrouping(kUnit, 2, row, 9), 1);
    QCOMPARE(api.SetTTLSequencing(kUnit, steps, 9), 1);
    QCOMPARE(api.SetTTLTimeout(kUnit, minutes, 9), 1);
    QCOMPARE(call9(api.SetMinIntPercentage, kUnit, Words{1, 2, 3, 4, 5, 6, 7, 8, 9}), 1);
    QCOMPARE(api.SetDeviceName(kUnit, "Bench 3"), 1);
    QCOMPARE(lib_.run(QStringLiteral("name 3 Deep Indigo")), QStringLiteral("ok"));
    QCOMPARE(api.SaveUserSettings(kUnit), 1);
    const auto saved = lib_.status();
    QVERIFY(QFile::exists(stateFile()));

    // Changed after the save: gone after a reload.
    const RZ470Byte clear[1] = {0};
    QCOMPARE(call9(api.SetIntensityLevel, kUnit, Words{999, 999, 999, 999, 999, 999, 999, 999, 999}), 1);
    QCOMPARE(api.SetGroupingEnabled(kUnit, 0), 1);
    QCOMPARE(api.SetGrouping(kUnit, 2, clear, 1), 1);
    QCOMPARE(lib_.run(QStringLiteral("name 3 Other")), QStringLiteral("ok"));
    QCOMPARE(api.SetDeviceName(kUnit, "Changed"), 1);

    QCOMPARE(lib_.run(QStringLiteral("reload")), QStringLiteral("ok"));
    QCOMPARE(lib_.status(), saved);
    char name[20] = {};
    QCOMPARE(api.GetDeviceName(kUnit, name), 1);
    QCOMPARE(QString::fromLatin1(name), QStringLiteral("Bench 3"));

    // reset ignores the saved settings and leaves them for the next reload.
    QCOMPARE(lib_.run(QStringLiteral("reset")), QStringLiteral("ok"));
    QCOMPARE(lib_.status(), factory);
    QCOMPARE(lib_.run(QStringLiteral("reload")), QStringLiteral("ok"));
    QCOMPARE(lib_.status(), saved);
}

void TestSimulator::savedSettingsReachAFreshProcess() {
    QCOMPARE(call9(lib_.api().SetIntensityLevel, kUnit, Words{5, 15, 25, 35, 45, 55, 65, 75, 85}), 1);
    QCOMPARE(lib_.api().SetGroupingEnabled(kUnit, 1), 1);
    QCOMPARE(lib_.api().SaveUserSettings(kUnit), 1);

    QProcess probe;
    probe.start(
        testpaths::inBinDir(QStringLiteral("sim_probe")),
        {testpaths::inBinDir(QString::fromLatin1(rz470::kLibraryFileName)), QStringLiteral("status")});
    QVERIFY(probe.waitForFinished(5000));
    QCOMPARE(probe.exitCode(), 0);
    QMap<QString, QString> fresh;
    for (const QString& line : QString::fromUtf8(probe.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            fresh.insert(line.left(equals), line.mid(equals + 1));
    }
    QCOMPARE(fresh.value(QStringLiteral("unit0.channel9.intensity")), QStringLiteral("85"));
    QCOMPARE(fresh, lib_.status());
}

void TestSimulator::corruptStateFileIsIgnored_data() {
    QTest::addColumn<QString>("damage");
    QTest::newRow("truncated") << "truncated";
    QTest::newRow("a value edited by hand") << "edited";
    QTest::newRow("garbage") << "garbage";
    QTest::newRow("empty") << "empty";
    QTest::newRow("far too large") << "oversized";
}

void TestSimulator::corruptStateFileIsIgnored() {
    QFETCH(QString, damage);
    const auto factory = lib_.status();
    QCOMPARE(call9(lib_.api().SetIntensityLevel, kUnit, Words{10, 20, 30, 40, 50, 60, 70, 80, 90}), 1);
    QCOMPARE(lib_.api().SaveUserSettings(kUnit), 1);

    QFile file(stateFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray content = file.readAll();
    file.close();
    if (damage == QLatin1String("truncated"))
        content.truncate(content.size() / 2);
    else if (damage == QLatin1String("edited"))
        content.replace("channel1.intensity=10\n", "channel1.intensity=11\n");
    else if (damage == QLatin1String("garbage"))
        content = QByteArray(
            "\x7f"
            "ELF\0\0\xff\xfe=====\n\n",
            16);
    else if (damage == QLatin1String("empty"))
        content.clear();
    else
        content += QByteArray(70 * 1024, '#');
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();

    QCOMPARE(lib_.run(QStringLiteral("reload")), QStringLiteral("ok"));
    QCOMPARE(lib_.status(), factory);
    // The unit saves over the broken file.
    QCOMPARE(lib_.api().SaveUserSettings(kUnit), 1);
    QCOMPARE(lib_.run(QStringLiteral("reload")), QStringLiteral("ok"));
    QCOMPARE(lib_.status(), factory);
}

void TestSimulator::configuration_data() {
    QTest::addColumn<QString>("config");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QList<int>>("active");
    QTest::addColumn<QList<int>>("inactive");
    QTest::newRow("no unit plugged") << "units=0\n"
                                     << QStringList{"count=0", "plugged="} << QList<int>{}
                                     << QList<int>{0, 1};
    QTest::newRow("two units")
        << "units=2\nunit1.serial=77\nunit1.identifier=C\nunit1.version=119,2,3\n"
        << QStringList{"count=2",         "plugged=0,1",        "unit0.serial=42",
                       "unit1.serial=77", "unit1.identifier=C", "unit1.version=119,2,3"}
        << QList<int>{0, 1} << QList<int>{2};
    QTest::newRow("unit at another index")
        << "# comment\n\n  unit0.index = 7  \n"
        << QStringList{"count=1", "unit0.index=7"} << QList<int>{7} << QList<int>{0};
    QTest::newRow("a unit's number taken by another's index")
        << "units=2\nunit0.index=1\n"
        << QStringList{"unit0.index=1", "unit1.index=0"} << QList<int>{0, 1} << QList<int>{};
    QTest::newRow("channel table overrides")
        << "unit0.channel9.wavelength=660\nunit0.channel9.name=Deep Red\nunit0.channel9.status=0x20\n"
           "unit0.channel1.type=4\nunit0.channel1.intensity=250\nunit0.groupingMode=2\n"
        << QStringList{"unit0.channel9.wavelength=660", "unit0.channel9.name=Deep Red",
                       "unit0.channel9.status=0x0020",  "unit0.channel1.type=4",
                       "unit0.channel1.intensity=250",  "unit0.groupingMode=2"}
        << QList<int>{0} << QList<int>{};
    QTest::newRow("unusable lines skipped, the rest applied")
        << "units=99\nunit0.serial=abc\nunit0.channel10.wavelength=1\nnonsense\nunit0.channel1.intensity="
           "1001\n"
           "unit0.channel1.status=0x61\nunit12.serial=5\nunit0.on=1\nunit0.channel2.name="
           "ABCDEFGHIJKLMNOPQRST\n"
           "unit0.channel2.intensity=250\n"
        << QStringList{"count=1",
                       "unit0.serial=42",
                       "unit0.channel1.intensity=500",
                       "unit0.channel1.status=0x0060",
                       "unit0.channel2.name=Violet 405",
                       "unit0.channel2.intensity=250"}
        << QList<int>{0} << QList<int>{};
    QTest::newRow("two units on one index fall back to their numbers")
        << "units=2\nunit0.index=3\nunit1.index=3\n"
        << QStringList{"unit0.index=0", "unit1.index=1"} << QList<int>{0, 1} << QList<int>{};
    QTest::newRow("missing file") << QString() << QStringList{"count=1", "unit0.serial=42"} << QList<int>{0}
                                  << QList<int>{1};
}

void TestSimulator::configuration() {
    QFETCH(QString, config);
    QFETCH(QStringList, expected);
    QFETCH(QList<int>, active);
    QFETCH(QList<int>, inactive);
    const QString path = QDir(home_->path()).filePath(QStringLiteral("sim.conf"));
    if (!config.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(config.toUtf8());
    }
    qputenv("RZ470_SIM_CONFIG", path.toLocal8Bit());
    QCOMPARE(lib_.run(QStringLiteral("reset")), QStringLiteral("ok"));

    const auto status = lib_.status();
    for (const QString& pair : expected) {
        const int equals = pair.indexOf(QLatin1Char('='));
        QCOMPARE(status.value(pair.left(equals), QStringLiteral("<missing>")), pair.mid(equals + 1));
    }
    QCOMPARE(int(lib_.api().GetNumDevicesConnected()), status.value(QStringLiteral("count")).toInt());
    for (int index : active)
        QCOMPARE(lib_.api().DeviceActive(static_cast<RZ470Word>(index)), 1);
    for (int index : inactive)
        QCOMPARE(lib_.api().DeviceActive(static_cast<RZ470Word>(index)), 0);
}

void TestSimulator::commands_data() {
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("plug a second unit")
        << QStringList{"plug 1"} << QStringList{"count=2", "plugged=0,1", "unit1.serial=43"};
    QTest::newRow("unplug the unit") << QStringList{"unplug 0"} << QStringList{"count=0", "plugged="};
    QTest::newRow("plugging twice is harmless") << QStringList{"plug 0", "plug 0"} << QStringList{"count=1"};
    QTest::newRow("knob") << QStringList{"knob 3 750"} << QStringList{"unit0.channel3.intensity=750"};
    QTest::newRow("knob on another unit")
        << QStringList{"plug 1", "unit 1 knob 2 10"}
        << QStringList{"unit1.channel2.intensity=10", "unit0.channel2.intensity=500"};
    QTest::newRow("LED on by the unit")
        << QStringList{"led 5 on"}
        << QStringList{"unit0.channel5.on=1", "unit0.channel5.status=0x0061", "unit0.unitStatus=0x000A"};
    QTest::newRow("name with spaces")
        << QStringList{"name 2   Deep Violet  "} << QStringList{"unit0.channel2.name=Deep Violet"};
    QTest::newRow("channel bit by name")
        << QStringList{"channel-status 4 set current"}
        << QStringList{"unit0.channel4.status=0x0070", "unit0.unitStatus=0x0003"};
    QTest::newRow("channel bits by number")
        << QStringList{"channel-status 4 set 0x86"} << QStringList{"unit0.channel4.status=0x00E6"};
    QTest::newRow("pulling the LED switches it off")
        << QStringList{"led 4 on", "channel-status 4 clear present"}
        << QStringList{"unit0.channel4.on=0", "unit0.channel4.status=0x0020"};
    QTest::newRow("unit bit") << QStringList{"unit-status set knoblock"}
                              << QStringList{"unit0.unitStatus=0x0042"};
    QTest::newRow("triggered") << QStringList{"triggered 6 1"} << QStringList{"unit0.channel6.triggered=1"};
    QTest::newRow("armed faults are listed") << QStringList{"fail GetUnitStatus 3", "delay UpdateData 20"}
                                             << QStringList{"fail.GetUnitStatus=3", "delay.UpdateData=20"};
    QTest::newRow("fail 0 disarms") << QStringList{"fail GetUnitStatus 3", "fail GetUnitStatus 0"}
                                    << QStringList{"fail.GetUnitStatus=<missing>"};
    QTest::newRow("reset") << QStringList{"knob 1 0", "plug 2", "fail Connect 1", "reset"}
                           << QStringList{"unit0.channel1.intensity=500", "count=1",
                                          "fail.Connect=<missing>"};
}

void TestSimulator::commands() {
    QFETCH(QStringList, commands);
    QFETCH(QStringList, expected);
    for (const QString& command : commands)
        QCOMPARE(lib_.run(command), QStringLiteral("ok"));
    const auto status = lib_.status();
    for (const QString& pair : expected) {
        const int equals = pair.indexOf(QLatin1Char('='));
        QCOMPARE(status.value(pair.left(equals), QStringLiteral("<missing>")), pair.mid(equals + 1));
    }
}

void TestSimulator::malformedCommandsChangeNothing_data() {
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("reason");
    const QStringList none;
    QTest::newRow("empty") << none << ""
                           << "empty command";
    QTest::newRow("blank") << none << "  \t "
                           << "empty command";
    QTest::newRow("unknown word") << none << "frobnicate 1"
                                  << "unknown command 'frobnicate'";
    QTest::newRow("case matters") << none << "STATUS"
                                  << "unknown command";
    QTest::newRow("knob without arguments") << none << "knob"
                                            << "usage: [unit <n>] knob";
    QTest::newRow("knob channel 0") << none << "knob 0 500"
                                    << "knob <channel 1..9>";
    QTest::newRow("knob channel 10") << none << "knob 10 500"
                                     << "knob <channel 1..9>";
    QTest::newRow("knob above full") << none << "knob 3 1001"
                                     << "intensity 0..1000";
    QTest::newRow("knob negative") << none << "knob 3 -1"
                                   << "intensity 0..1000";
    QTest::newRow("knob trailing junk") << none << "knob 3 5x"
                                        << "intensity 0..1000";
    QTest::newRow("knob extra argument") << none << "knob 3 500 7"
                                         << "usage:";
    QTest::newRow("knob while locked") << QStringList{"unit-status set knoblock"} << "knob 3 500"
                                       << "locked";
    QTest::newRow("led unknown state") << none << "led 3 dim"
                                       << "on|off";
    QTest::newRow("led on an unfitted channel") << QStringList{"channel-status 2 clear fitted"} << "led 2 on"
                                                << "no fitted";
    QTest::newRow("plug unit 10") << none << "plug 10"
                                  << "unit must be 0..9";
    QTest::newRow("unplug a word") << none << "unplug x"
                                   << "unit must be 0..9";
    QTest::newRow("unit prefix out of range") << none << "unit 10 knob 1 1"
                                              << "unit number 0..9";
    QTest::newRow("unit prefix alone") << none << "unit 0"
                                       << "needs a command";
    QTest::newRow("unit prefix without command") << none << "unit 1 "
                                                 << "needs a command";
    QTest::newRow("unit prefix on a global command") << none << "unit 0 status"
                                                     << "does not take a unit";
    QTest::newRow("channel status bit 0") << none << "channel-status 3 set 0x01"
                                          << "bit 0 follows the LED";
    QTest::newRow("channel status verb") << none << "channel-status 3 toggle fitted"
                                         << "set|clear";
    QTest::newRow("channel status bit name") << none << "channel-status 3 set bogus"
                                             << "mask must be";
    QTest::newRow("channel status above 16 bits") << none << "channel-status 3 set 0x10000"
                                                  << "mask must be";
    QTest::newRow("unit status empty mask") << none << "unit-status set 0"
                                            << "mask must be";
    QTest::newRow("unit status channel bit name") << none << "unit-status set overtemp"
                                                  << "mask must be";
    QTest::newRow("triggered 2") << none << "triggered 3 2"
                                 << "0|1";
    QTest::newRow("name too long") << none << "name 3 ABCDEFGHIJKLMNOPQRST"
                                   << "1..19";
    QTest::newRow("name control character") << none
                                            << "name 3 A\x01"
                                               "B"
                                            << "printable";
    QTest::newRow("fail unknown call") << none << "fail NoSuchCall 1"
                                       << "unknown entry point 'NoSuchCall'";
    QTest::newRow("fail wrong case") << none << "fail getunitstatus 1"
                                     << "unknown entry point";
    QTest::newRow("fail negative") << none << "fail GetUnitStatus -1"
                                   << "count must be";
    QTest::newRow("fail too many") << none << "fail GetUnitStatus 1000001"
                                   << "count must be";
    QTest::newRow("delay too long") << none << "delay UpdateData 10001"
                                    << "milliseconds must be";
    QTest::newRow("log count too large") << none << "log 2001"
                                         << "usage: log";
    QTest::newRow("log clear with extra") << none << "log clear now"
                                          << "usage: log";
    QTest::newRow("status with argument") << none << "status all"
                                          << "usage: status";
    QTest::newRow("overlong") << none << QString(5000, QLatin1Char('x')) << "longer than 4096";
}

void TestSimulator::malformedCommandsChangeNothing() {
    QFETCH(QStringList, setup);
    QFETCH(QString, command);
    QFETCH(QString, reason);
    for (const QString& s : setup)
        QCOMPARE(lib_.run(s), QStringLiteral("ok"));
    const auto before = lib_.status();
    const QString reply = lib_.run(command);
    QVERIFY2(reply.startsWith(QLatin1String("error: ")), qPrintable(reply));
    QVERIFY2(reply.contains(reason), qPrintable(reply));
    QCOMPARE(lib_.status(), before);
}

void TestSimulator::plugAndUnplugFollowCountAndActive() {
    const SimApi& api = lib_.api();
    QCOMPARE(lib_.run(QStringLiteral("led 1 on")), QStringLiteral("ok"));
    QCOMPARE(lib_.run(QStringLiteral("plug 1")), QStringLiteral("ok"));
    QCOMPARE(int(api.GetNumDevicesConnected()), 2);
    QCOMPARE(api.DeviceActive(1), 1);
    RZ470Word serial = 0;
    QCOMPARE(api.GetUnitSerialNumber(1, &serial), 1);
    QCOMPARE(serial, RZ470Word(43));

    QCOMPARE(lib_.run(QStringLiteral("unplug 0")), QStringLiteral("ok"));
    QCOMPARE(int(api.GetNumDevicesConnected()), 1);
    QCOMPARE(api.DeviceActive(0), 0);
    QCOMPARE(api.Connect(0), 0);
    QCOMPARE(api.DeviceActive(1), 1);

    // A unit plugged back in comes up dark.
    QCOMPARE(lib_.run(QStringLiteral("plug 0")), QStringLiteral("ok"));
    QCOMPARE(api.Connect(0), 1);
    QCOMPARE(unitStatus() & rz470::UnitStatus::LedOn, 0);
}

void TestSimulator::knobChangesTheUnitsIntensity() {
    QCOMPARE(call9(lib_.api().SetIntensityLevel, kUnit, Words{100, 100, 100, 100, 100, 100, 100, 100, 100}),
             1);
    QCOMPARE(lib_.run(QStringLiteral("knob 7 640")), QStringLiteral("ok"));
    Outputs o = patterned();
    QCOMPARE(call9(lib_.api().GetIntensityLevel, kUnit, o.wordPointers()), 1);
    for (int c = 0; c < 9; ++c)
        QCOMPARE(o.words[c], RZ470Word(c == 6 ? 640 : 100));
}

void TestSimulator::injectedFailures() {
    const SimApi& api = lib_.api();
    QCOMPARE(lib_.run(QStringLiteral("fail GetSerialIdentifier 2")), QStringLiteral("ok"));
    RZ470Byte letter = 0xEE;
    QCOMPARE(api.GetSerialIdentifier(kUnit, &letter), 0);
    QCOMPARE(api.GetSerialIdentifier(kUnit, &letter), 0);
    QCOMPARE(letter, RZ470Byte(0xEE));
    QCOMPARE(api.GetSerialIdentifier(kUnit, &letter), 1);
    QCOMPARE(letter, RZ470Byte('B'));
    // Only the named call is affected; a failing setter changes nothing.
    QCOMPARE(lib_.run(QStringLiteral("fail SetIntensityLevel 1")), QStringLiteral("ok"));
    QCOMPARE(call9(api.SetIntensityLevel, kUnit, Words{1, 1, 1, 1, 1, 1, 1, 1, 1}), 0);
    QCOMPARE(lib_.status().value(QStringLiteral("unit0.channel1.intensity")), QStringLiteral("500"));
    QCOMPARE(api.DeviceActive(kUnit), 1);
    QVERIFY(
        lib_.run(QStringLiteral("log")).contains(QLatin1String("GetSerialIdentifier(0, &) -> 0 (injected)")));
}

void TestSimulator::injectedDelay() {
    QCOMPARE(lib_.run(QStringLiteral("delay DeviceActive 120")), QStringLiteral("ok"));
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(lib_.api().DeviceActive(kUnit), 1);
    QVERIFY(timer.elapsed() >= 120);
    QCOMPARE(lib_.run(QStringLiteral("delay DeviceActive 0")), QStringLiteral("ok"));
    timer.restart();
    QCOMPARE(lib_.api().DeviceActive(kUnit), 1);
    QVERIFY(timer.elapsed() < 100);
}

void TestSimulator::callLog() {
    const SimApi& api = lib_.api();
    QCOMPARE(lib_.run(QStringLiteral("log")), QString());
    const RZ470Byte row[9] = {1, 4, 7};
    QCOMPARE(call9(api.SetIntensityLevel, kUnit, Words{1, 2, 3, 4, 5, 6, 7, 8, 9}), 1);
    QCOMPARE(api.SetGrouping(kUnit, 2, row, 9), 1);
    QCOMPARE(api.DeviceActive(255), 0);
    QCOMPARE(lib_.run(QStringLiteral("log")).split(QLatin1Char('\n')),
             (QStringList{"SetIntensityLevel(0, {1,2,3,4,5,6,7,8,9}) -> 1",
                          "SetGrouping(0, 2, {1,4,7,0,0,0,0,0,0}, 9) -> 1", "DeviceActive(255) -> 0"}));
    QCOMPARE(lib_.run(QStringLiteral("log 1")), QStringLiteral("DeviceActive(255) -> 0"));
    QCOMPARE(lib_.run(QStringLiteral("log clear")), QStringLiteral("ok"));
    QCOMPARE(lib_.run(QStringLiteral("log")), QString());
}

TestSimulator::ToolRun TestSimulator::runTool(const QStringList& args, bool serve, const QString& home) {
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("RZ470_SIM_HOME"), home.isEmpty() ? home_->path() : home);
    tool.setProcessEnvironment(environment);
    tool.start(testpaths::inBinDir(QStringLiteral("rz470-sim")), args);
    ToolRun run;
    if (!tool.waitForStarted(3000))
        return run;
    QElapsedTimer timer;
    timer.start();
    // The panel's poll, as the library sees it.
    while (!tool.waitForFinished(5) && timer.elapsed() < 8000) {
        if (serve)
            lib_.api().UpdateData();
    }
    run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.out = QString::fromUtf8(tool.readAllStandardOutput());
    run.err = QString::fromUtf8(tool.readAllStandardError());
    return run;
}

void TestSimulator::toolTalksToLoadedLibrary_data() {
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("status") << QStringList() << QStringList{"status"} << 0
                            << "unit0.channel9.wavelength=635\n"
                            << "" << QStringList();
    QTest::newRow("command as several words")
        << QStringList() << QStringList{"knob", "2", "333"} << 0 << "ok\n"
        << "" << QStringList{"unit0.channel2.intensity=333"};
    QTest::newRow("command as one word") << QStringList() << QStringList{"unplug 0"} << 0 << "ok\n"
                                         << "" << QStringList{"count=0"};
    QTest::newRow("refused command") << QStringList() << QStringList{"knob", "2", "5000"} << 1 << ""
                                     << "error: " << QStringList{"unit0.channel2.intensity=500"};
    QTest::newRow("unknown command") << QStringList() << QStringList{"frobnicate"} << 1 << ""
                                     << "error: unknown command 'frobnicate'" << QStringList();
    QTest::newRow("answered while UpdateData is made to fail")
        << QStringList{"fail UpdateData 1000"} << QStringList{"status"} << 0 << "count=1"
        << "" << QStringList();
    QTest::newRow("timeout option") << QStringList() << QStringList{"--timeout-ms", "4000", "led", "1", "on"}
                                    << 0 << "ok"
                                    << "" << QStringList{"unit0.channel1.on=1"};
}

void TestSimulator::toolTalksToLoadedLibrary() {
    QFETCH(QStringList, setup);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QStringList, expected);
    for (const QString& command : setup)
        QCOMPARE(lib_.run(command), QStringLiteral("ok"));
    const ToolRun run = runTool(args, true);
    QVERIFY2(run.out.contains(out), qPrintable(run.out));
    QVERIFY2(run.err.contains(err), qPrintable(run.err));
    QCOMPARE(run.exitCode, exitCode);
    const auto status = lib_.status();
    for (const QString& pair : expected) {
        const int equals = pair.indexOf(QLatin1Char('='));
        QCOMPARE(status.value(pair.left(equals)), pair.mid(equals + 1));
    }
}

void TestSimulator::toolWithoutPanel_data() {
    QTest::addColumn<bool>("emptyHome");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("err");
    QTest::newRow("nobody polls") << false << QStringList{"--timeout-ms", "300", "knob", "1", "7"} << 2
                                  << "no panel answered within 300 ms";
    QTest::newRow("no control folder")
        << true << QStringList{"status"} << 2 << "no panel has used the simulated library";
    QTest::newRow("no command") << false << QStringList() << 3 << "usage: rz470-sim";
    QTest::newRow("timeout 0") << false << QStringList{"--timeout-ms", "0", "status"} << 3
                               << "--timeout-ms expects";
    QTest::newRow("timeout not a number")
        << false << QStringList{"--timeout-ms", "soon", "status"} << 3 << "--timeout-ms expects";
}

void TestSimulator::toolWithoutPanel() {
    QFETCH(bool, emptyHome);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, err);
    QTemporaryDir empty;
    const ToolRun run = runTool(args, false, emptyHome ? empty.path() : QString());
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(err), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    // A request nobody answered is taken back: a later poll does not run it.
    lib_.api().UpdateData();
    QCOMPARE(lib_.status().value(QStringLiteral("unit0.channel1.intensity")), QStringLiteral("500"));
}

// With neither HOME nor XDG_STATE_HOME set, the simulator falls back to /tmp/rz470-sim-<uid>, a
// name anyone may take first. Tried as another user (needs root), with a command planted in the
// folder's spool: the folder is used only when it is that user's, a real folder and mode 0700.
void TestSimulator::fallbackFolderIsTheUsersAlone_data() {
    QTest::addColumn<QString>("kind");  // absent, folder or link
    QTest::addColumn<bool>("usersOwn");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("refusal");  // part of the message; empty: the folder is used
    QTest::newRow("absent: made private") << "absent" << true << 0 << "";
    QTest::newRow("the user's, private") << "folder" << true << 0700 << "";
    QTest::newRow("another user's, open to all") << "folder" << false << 0777 << "belongs to user 0";
    QTest::newRow("another user's, private") << "folder" << false << 0700 << "belongs to user 0";
    QTest::newRow("the user's, open to all") << "folder" << true << 0777 << "others may use it (mode 0777)";
    QTest::newRow("the user's, open to the group") << "folder" << true << 0770 << "(mode 0770)";
    QTest::newRow("a link to the user's private folder") << "link" << true << 0700 << "not a folder";
}

void TestSimulator::fallbackFolderIsTheUsersAlone() {
    QFETCH(QString, kind);
    QFETCH(bool, usersOwn);
    QFETCH(int, mode);
    QFETCH(QString, refusal);
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (geteuid() != 0 || setpriv.isEmpty())
        QSKIP("becoming another user needs root and setpriv");
    constexpr uid_t kUser = 65534;
    const QString folder = QStringLiteral("/tmp/rz470-sim-%1").arg(kUser);
    const auto removeFolder = [&folder] {
        if (QFileInfo(folder).isSymLink())
            QFile::remove(folder);
        else
            QDir(folder).removeRecursively();
    };
    removeFolder();
    const auto cleanup = qScopeGuard(removeFolder);

    // The planted command turns channel 1 down to 7; the spool is open to all, as an intruder
    // would leave it.
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString made =
        kind == QLatin1String("link") ? elsewhere.filePath(QStringLiteral("target")) : folder;
    if (kind != QLatin1String("absent")) {
        QVERIFY(::chmod(QFile::encodeName(elsewhere.path()).constData(), 0755) == 0);
        QVERIFY(QDir().mkpath(made + QStringLiteral("/spool")));
        QFile planted(made + QStringLiteral("/spool/planted.req"));
        QVERIFY(planted.open(QIODevice::WriteOnly));
        planted.write("knob 1 7\n");
        planted.close();
        const uid_t owner = usersOwn ? kUser : 0;
        for (const QString& path : {made, made + QStringLiteral("/spool"), planted.fileName()})
            QVERIFY(::chown(QFile::encodeName(path).constData(), owner, owner) == 0);
        QVERIFY(::chmod(QFile::encodeName(made + QStringLiteral("/spool")).constData(), 0777) == 0);
        QVERIFY(::chmod(QFile::encodeName(made).constData(), static_cast<mode_t>(mode)) == 0);
        if (kind == QLatin1String("link"))
            QVERIFY(QFile::link(made, folder));
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_STATE_HOME", "RZ470_SIM_HOME", "RZ470_SIM_CONFIG"})
        environment.remove(QString::fromLatin1(name));
    const QStringList asUser{QStringLiteral("--reuid=%1").arg(kUser), QStringLiteral("--regid=%1").arg(kUser),
                             QStringLiteral("--clear-groups")};
    const auto runAsUser = [&](const QStringList& command) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QStringLiteral("/"));
        process.start(setpriv, asUser + command);
        process.waitForFinished(10000);
        ToolRun run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    };

    // A panel's library polls: the unit answers either way, the planted command runs only from
    // a folder that is the user's alone.
    const ToolRun library = runAsUser({testpaths::inBinDir(QStringLiteral("sim_probe")),
                                       testpaths::inBinDir(QString::fromLatin1(rz470::kLibraryFileName)),
                                       QStringLiteral("--update-data"), QStringLiteral("status")});
    QCOMPARE(library.exitCode, 0);
    QVERIFY2(library.out.contains(QStringLiteral("UpdateData -> 1")), qPrintable(library.out));
    const bool used = refusal.isEmpty();
    const QString planted =
        QStringLiteral("unit0.channel1.intensity=%1").arg(used && kind != QLatin1String("absent") ? 7 : 500);
    QVERIFY2(library.out.contains(planted), qPrintable(library.out));
    if (used) {
        QVERIFY2(!library.err.contains(QStringLiteral("refusing")), qPrintable(library.err));
        struct stat info {};
        QVERIFY(::lstat(QFile::encodeName(folder).constData(), &info) == 0);
        QVERIFY(S_ISDIR(info.st_mode));
        QCOMPARE(info.st_uid, kUser);
        QCOMPARE(info.st_mode & 07777, mode_t(0700));
    } else {
        QVERIFY2(library.err.contains(QStringLiteral("refusing the folder ") + folder),
                 qPrintable(library.err));
        QVERIFY2(library.err.contains(refusal), qPrintable(library.err));
    }

    // The tool refuses such a folder too: whoever owns it could answer in the panel's place.
    const ToolRun tool =
        runAsUser({testpaths::inBinDir(QStringLiteral("rz470-sim")), QStringLiteral("--timeout-ms"),
                   QStringLiteral("200"), QStringLiteral("status")});
    QCOMPARE(tool.out, QString());
    if (used) {
        QCOMPARE(tool.exitCode, 2);  // nobody polls
    } else {
        QCOMPARE(tool.exitCode, 4);
        QVERIFY2(tool.err.contains(refusal), qPrintable(tool.err));
    }
}

void TestSimulator::spoolSkipsOnlyASettledUnchangedFolder() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QByteArray path = QFile::encodeName(folder.path());
    const ControlSpool spool(path.toStdString());
    ControlSpool::Seen seen;
    int answered = 0;
    const auto answer = [&answered](std::string_view) {
        ++answered;
        return std::string("ok");
    };
    // The folder's time, set to seconds before now; a change within one tick of its coarse clock
    // leaves the time as it was, which setting it back afterwards reproduces.
    const auto setFolderTime = [&path](timespec time) {
        const timespec times[2] = {time, time};
        return utimensat(AT_FDCWD, path.constData(), times, 0) == 0;
    };
    const auto secondsAgo = [](time_t seconds) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        now.tv_sec -= seconds;
        return now;
    };
    // Lists the folder as of time, then drops a request in the same tick of the folder's clock and
    // polls again; the answers given.
    const auto requestInSameTick = [&](timespec time, const QString& id) {
        const int before = answered;
        QFile request(folder.filePath(id + QStringLiteral(".req")));
        if (!setFolderTime(time)) {
            return -1;
        }
        spool.serve(answer, seen);
        if (!request.open(QIODevice::WriteOnly) || request.write("status") != 6 || !setFolderTime(time)) {
            return -1;
        }
        request.close();
        spool.serve(answer, seen);
        return answered - before;
    };

    // Listed just after a change: the request is still answered at the next poll.
    QCOMPARE(requestInSameTick(secondsAgo(0), QStringLiteral("same-instant")), 1);
    QVERIFY(QFile::remove(folder.filePath(QStringLiteral("same-instant.rep"))));
    // Listed well after its last change: not listed again until it changes.
    QCOMPARE(requestInSameTick(secondsAgo(10), QStringLiteral("later")), 0);
    QVERIFY(setFolderTime(secondsAgo(0)));
    spool.serve(answer, seen);
    QCOMPARE(answered, 2);
}

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
