// The demo loop's rules without a window: the order check, the time boxes, the order boxes, the
// settings file and stored defaults, the steps on a fake clock and the alarm that stops them.
#include "DemoAlarmStop.h"
#include "DemoLoopSequence.h"
#include "DemoLoopSettings.h"
#include "DialogUnits.h"
#include "FakeDemoClock.h"
#include "PanelSettings.h"

#include <QtTest>

using Flags = std::array<uint8_t, 9>;
using Texts = DemoLoopSettings::OrderTexts;
Q_DECLARE_METATYPE(DemoLoopSettings::Verdict)
Q_DECLARE_METATYPE(Flags)
Q_DECLARE_METATYPE(Texts)
Q_DECLARE_METATYPE(demoalarm::StartBlock)

namespace {

// Order boxes from "1,,2,,…": one entry per position, empty between commas.
Texts Boxes(const QString& list) {
    Texts texts;
    const QStringList parts = list.split(QLatin1Char(','));
    for (int i = 0; i < parts.size() && i < 9; ++i) {
        texts[static_cast<size_t>(i)] = parts[i];
    }
    return texts;
}

Flags Numbers(std::initializer_list<int> values) {
    Flags flags{};
    size_t i = 0;
    for (const int v : values) {
        flags[i++] = static_cast<uint8_t>(v);
    }
    return flags;
}

const Flags kDefaultSelection = Numbers({0, 1, 1, 0, 1, 0, 0, 1, 0});
const Flags kDefaultOrder = Numbers({1, 2, 4, 7, 0, 0, 0, 0, 0});

// The loop's output on the fake clock's time line: "10 on 1", "210 off", tiles kept apart.
class RecordingOutput : public DemoLoopOutput {
public:
    explicit RecordingOutput(const FakeDemoClock& clock) : clock_(clock) {}
    void SwitchOn(int position) override {
        events << QStringLiteral("%1 on %2").arg(clock_.now()).arg(position);
    }
    void SwitchAllOff() override { events << QStringLiteral("%1 off").arg(clock_.now()); }
    void ShowTile(int position, Tile tile) override { tiles[static_cast<size_t>(position)] = tile; }

    QStringList events;
    std::array<Tile, 9> tiles{};

private:
    const FakeDemoClock& clock_;
};

// A sequence over the settings given, on a fake clock, with what it switches and shows recorded.
struct RecordedLoop {
    explicit RecordedLoop(const DemoLoopSettings& settings)
        : output(clock), sequence(settings, clock, output) {
        clock.fire = [this](int id) { sequence.OnTimer(id); };
    }
    FakeDemoClock clock;
    RecordingOutput output;
    DemoLoopSequence sequence;
};

}  // namespace

class DemoLoopTest : public QObject {
    Q_OBJECT

private slots:
    void validate_data() {
        QTest::addColumn<Flags>("selected");
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<int>("onTime");
        QTest::addColumn<int>("offTime");
        QTest::addColumn<DemoLoopSettings::Verdict>("verdict");
        QTest::addColumn<int>("count");
        QTest::addColumn<Flags>("order");

        using V = DemoLoopSettings::Verdict;
        const Flags ch2ch3 = Numbers({0, 1, 1});
        const Flags unchanged = kDefaultOrder;  // an invalid order keeps the loop as it was
        QTest::newRow("defaults") << kDefaultSelection << ",1,2,,3,,,4," << 200 << 10 << V::Valid << 4
                                  << kDefaultOrder;
        QTest::newRow("numbered in reverse")
            << ch2ch3 << ",2,1,,,,,," << 200 << 10 << V::Valid << 2 << Numbers({2, 1});
        QTest::newRow("selected box empty")
            << ch2ch3 << ",1,,,,,,," << 200 << 10 << V::InvalidOrder << 0 << unchanged;
        QTest::newRow("step 0") << ch2ch3 << ",0,1,,,,,," << 200 << 10 << V::InvalidOrder << 0 << unchanged;
        QTest::newRow("step 10") << ch2ch3 << ",10,1,,,,,," << 200 << 10 << V::InvalidOrder << 0 << unchanged;
        QTest::newRow("two 2s") << Numbers({0, 1, 1, 1}) << ",1,2,2,,,,," << 200 << 10 << V::InvalidOrder << 0
                                << unchanged;
        QTest::newRow("step beyond the count")
            << ch2ch3 << ",1,3,,,,,," << 200 << 10 << V::InvalidOrder << 0 << unchanged;
        QTest::newRow("not a number")
            << ch2ch3 << ",1,x,,,,,," << 200 << 10 << V::InvalidOrder << 0 << unchanged;
        QTest::newRow("number then text")
            << ch2ch3 << ",1,2x,,,,,," << 200 << 10 << V::InvalidOrder << 0 << unchanged;
        QTest::newRow("unselected box holds a number")
            << ch2ch3 << "3,1,2,,,,,," << 200 << 10 << V::InvalidOrder << 0 << unchanged;
        // CH1's index 0 is also a free slot's mark, so CH3 may take its step.
        QTest::newRow("CH1 and CH3 both 1, CH2 2")
            << Numbers({1, 1, 1}) << "1,2,1,,,,,," << 200 << 10 << V::Valid << 3 << Numbers({2, 1, 0});
        QTest::newRow("blanks around a step")
            << ch2ch3 << ", 2 ,1,,,,,," << 200 << 10 << V::Valid << 2 << Numbers({2, 1});
        QTest::newRow("all nine") << Numbers({1, 1, 1, 1, 1, 1, 1, 1, 1}) << "9,8,7,6,5,4,3,2,1" << 2000
                                  << 100 << V::Valid << 9 << Numbers({8, 7, 6, 5, 4, 3, 2, 1, 0});
        QTest::newRow("nothing selected") << Flags{} << ",,,,,,,," << 200 << 10 << V::Valid << 0 << Flags{};

        // The HD rule is checked after the order was taken.
        const Flags ch4ch6 = Numbers({0, 0, 0, 1, 0, 1});
        const Flags hdOrder = Numbers({3, 5});
        QTest::newRow("HD on 1999") << ch4ch6 << ",,,1,,2,,," << 1999 << 100 << V::HdTimesTooShort << 2
                                    << hdOrder;
        QTest::newRow("HD off 99") << ch4ch6 << ",,,1,,2,,," << 2000 << 99 << V::HdTimesTooShort << 2
                                   << hdOrder;
        QTest::newRow("HD 2000 and 100") << ch4ch6 << ",,,1,,2,,," << 2000 << 100 << V::Valid << 2 << hdOrder;
        QTest::newRow("one HD, short times") << Numbers({0, 0, 0, 1, 1}) << ",,,1,2,,,," << 200 << 10
                                             << V::HdTimesTooShort << 2 << Numbers({3, 4});
        QTest::newRow("one HD alone")
            << Numbers({1, 0, 0, 1}) << "1,,,2,,,,," << 200 << 10 << V::Valid << 2 << Numbers({0, 3});
    }

    void validate() {
        QFETCH(Flags, selected);
        QFETCH(QString, boxes);
        QFETCH(int, onTime);
        QFETCH(int, offTime);
        QFETCH(DemoLoopSettings::Verdict, verdict);
        QFETCH(int, count);
        QFETCH(Flags, order);

        DemoLoopSettings settings;
        settings.m_selected = selected;
        settings.m_onTime = static_cast<uint16_t>(onTime);
        settings.m_offTime = static_cast<uint16_t>(offTime);
        QCOMPARE(settings.Validate(Boxes(boxes)), verdict);
        QCOMPARE(int(settings.m_loopCount), count);
        QCOMPARE(settings.m_loopOrder, order);
    }

    void timeBoxes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("onTime");
        QTest::addColumn<int>("offTime");
        QTest::newRow("5") << "5" << 10 << 5;
        QTest::newRow("-3") << "-3" << 10 << 0;
        // Beyond 16 bits a time stops at 65535 rather than wrapping to a short one.
        QTest::newRow("70000 stops at 65535") << "70000" << 0xFFFF << 0xFFFF;
        QTest::newRow("65535") << "65535" << 0xFFFF << 0xFFFF;
        QTest::newRow("65545 is not 9") << "65545" << 0xFFFF << 0xFFFF;
        QTest::newRow("empty") << "" << 10 << 0;
        QTest::newRow("0") << "0" << 10 << 0;
        QTest::newRow("2000") << "2000" << 2000 << 2000;
        QTest::newRow("leading number") << " 250ms" << 250 << 250;
        QTest::newRow("no number") << "abc" << 10 << 0;
        QTest::newRow("beyond 32 bits saturates") << "99999999999" << 0xFFFF << 0xFFFF;
        QTest::newRow("65536 is not 0") << "65536" << 0xFFFF << 0xFFFF;
        QTest::newRow("beyond 32 bits below 0") << "-99999999999" << 10 << 0;
    }

    void timeBoxes() {
        QFETCH(QString, text);
        QFETCH(int, onTime);
        QFETCH(int, offTime);
        QCOMPARE(int(DemoLoopSettings::OnTimeFromText(text)), onTime);
        QCOMPARE(int(DemoLoopSettings::OffTimeFromText(text)), offTime);
    }

    void orderBoxTexts_data() {
        QTest::addColumn<Flags>("selected");
        QTest::addColumn<Flags>("order");
        QTest::addColumn<QString>("boxes");
        QTest::newRow("defaults") << kDefaultSelection << kDefaultOrder << ",1,2,,3,,,4,";
        QTest::newRow("slot 0 is CH1 when it is selected")
            << Numbers({1, 1}) << Numbers({1, 0}) << "2,1,,,,,,,";
        QTest::newRow("slot 0 is nothing when CH1 is not")
            << Numbers({0, 1, 1}) << Numbers({0, 2}) << ",,2,,,,,,";
        QTest::newRow("slot beyond the positions skipped")
            << Numbers({0, 1, 1}) << Numbers({200, 1}) << ",2,,,,,,,";
        QTest::newRow("only as many steps as selected") << Numbers({0, 1}) << Numbers({1, 5}) << ",1,,,,,,,";
    }

    void orderBoxTexts() {
        QFETCH(Flags, selected);
        QFETCH(Flags, order);
        QFETCH(QString, boxes);
        DemoLoopSettings settings;
        settings.m_selected = selected;
        settings.m_loopOrder = order;
        QCOMPARE(settings.OrderBoxTexts(), Boxes(boxes));
    }

    void savedFileOfTheDefaults() {
        DemoLoopSettings settings;
        QCOMPARE(settings.FileText(), QByteArray("0,1,1,0,1,0,0,1,0,\r\n1,2,4,7,0,0,0,0,0,\r\n200,10,\r\n"));
        // All nine slots are written, whatever the loop's length.
        settings.m_loopOrder = Numbers({8, 7, 6, 5, 4, 3, 2, 1, 0});
        QVERIFY(settings.FileText().contains("\r\n8,7,6,5,4,3,2,1,0,\r\n"));
    }

    void readFile_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Flags>("selected");
        QTest::addColumn<Flags>("order");
        QTest::addColumn<int>("onTime");
        QTest::addColumn<int>("offTime");

        // Rows start from settings that differ from every file value.
        const Flags all = Numbers({1, 1, 1, 1, 1, 1, 1, 1, 1});
        const Flags nines = Numbers({9, 9, 9, 9, 9, 9, 9, 9, 9});
        QTest::newRow("saved defaults")
            << QByteArray("0,1,1,0,1,0,0,1,0,\r\n1,2,4,7,0,0,0,0,0,\r\n200,10,\r\n") << kDefaultSelection
            << kDefaultOrder << 200 << 10;
        QTest::newRow("line feeds only") << QByteArray("0,1,1,0,1,0,0,1,0,\n1,2,4,7,0,0,0,0,0,\n200,10,\n")
                                         << kDefaultSelection << kDefaultOrder << 200 << 10;
        QTest::newRow("no trailing commas or line end")
            << QByteArray("0,1,1,0,1,0,0,1,0\n1,2,4,7,0,0,0,0,0\n200,10") << kDefaultSelection
            << kDefaultOrder << 200 << 10;
        QTest::newRow("empty file") << QByteArray() << all << nines << 1234 << 567;
        QTest::newRow("first line only")
            << QByteArray("0,0,0,0,0,0,0,0,0,\r\n") << Flags{} << nines << 1234 << 567;
        QTest::newRow("short lines change their first entries")
            << QByteArray("0,0,0\n3\n300\n") << Numbers({0, 0, 0, 1, 1, 1, 1, 1, 1})
            << Numbers({3, 9, 9, 9, 9, 9, 9, 9, 9}) << 300 << 567;
        QTest::newRow("text first changes nothing")
            << QByteArray("x0,0,0\nabc\n,5,5\n") << all << nines << 1234 << 567;
        QTest::newRow("reading stops at the first stranger")
            << QByteArray("0,0;0,0\n1,2 ,3\n100,x\n") << Numbers({0, 0, 1, 1, 1, 1, 1, 1, 1})
            << Numbers({1, 2, 9, 9, 9, 9, 9, 9, 9}) << 100 << 567;
        QTest::newRow("order and times keep their low bits")
            << QByteArray("1,1,1,1,1,1,1,1,1,\n257,-1,0,0,0,0,0,0,0,\n70000,-1,\n") << all
            << Numbers({1, 255, 0, 0, 0, 0, 0, 0, 0}) << 4464 << 0xFFFF;
        QTest::newRow("a NUL ends its line") << QByteArray("0,0,0,0\0,0,0,0,0\n", 17)
                                             << Numbers({0, 0, 0, 0, 1, 1, 1, 1, 1}) << nines << 1234 << 567;
        // A line longer than the line buffer is still one line: its excess is dropped, and the
        // lines after it stay in their places.
        QTest::newRow("long first line")
            << (QByteArray("0,0,") + QByteArray(95, ' ') + QByteArray("7,6\n50,60,\n"))
            << Numbers({0, 0, 1, 1, 1, 1, 1, 1, 1}) << Numbers({50, 60, 9, 9, 9, 9, 9, 9, 9}) << 1234 << 567;
        QTest::newRow("long order line")
            << (QByteArray("0,0,0,0,0,0,0,0,1,\r\n8,") + QByteArray(200, ' ') +
                QByteArray("3,4,\r\n300,40,\r\n"))
            << Numbers({0, 0, 0, 0, 0, 0, 0, 0, 1}) << Numbers({8, 9, 9, 9, 9, 9, 9, 9, 9}) << 300 << 40;
        QTest::newRow("99 characters and the line end")
            << (QByteArray("0,0,") + QByteArray(95, ' ') + QByteArray("\n5,\n100,20,\n"))
            << Numbers({0, 0, 1, 1, 1, 1, 1, 1, 1}) << Numbers({5, 9, 9, 9, 9, 9, 9, 9, 9}) << 100 << 20;
        QTest::newRow("number beyond 32 bits")
            << QByteArray("99999999999,0\n") << all << nines << 1234 << 567;
        QTest::newRow("binary") << QByteArray("\xff\xfe\x01\x02\r\r\n\x80", 8) << all << nines << 1234 << 567;
    }

    void readFile() {
        QFETCH(QByteArray, file);
        QFETCH(Flags, selected);
        QFETCH(Flags, order);
        QFETCH(int, onTime);
        QFETCH(int, offTime);

        DemoLoopSettings settings;
        settings.m_selected = Numbers({1, 1, 1, 1, 1, 1, 1, 1, 1});
        settings.m_loopOrder = Numbers({9, 9, 9, 9, 9, 9, 9, 9, 9});
        settings.m_onTime = 1234;
        settings.m_offTime = 567;
        settings.ReadFileText(file);
        QCOMPARE(settings.m_selected, selected);
        QCOMPARE(settings.m_loopOrder, order);
        QCOMPARE(int(settings.m_onTime), onTime);
        QCOMPARE(int(settings.m_offTime), offTime);
    }

    void storedDefaults_data() {
        QTest::addColumn<QVector<int>>("selection");
        QTest::addColumn<QVector<int>>("order");
        QTest::addColumn<QVector<int>>("times");
        QTest::addColumn<Flags>("selected");
        QTest::addColumn<Flags>("loopOrder");
        QTest::addColumn<int>("onTime");
        QTest::addColumn<int>("offTime");
        QTest::newRow("nothing stored keeps the defaults")
            << QVector<int>{} << QVector<int>{} << QVector<int>{} << kDefaultSelection << kDefaultOrder << 200
            << 10;
        QTest::newRow("full lists") << QVector<int>{1, 0, 0, 0, 0, 0, 0, 0, 2}
                                    << QVector<int>{0, 8, 0, 0, 0, 0, 0, 0, 0} << QVector<int>{3000, 150}
                                    << Numbers({1, 0, 0, 0, 0, 0, 0, 0, 1}) << Numbers({0, 8}) << 3000 << 150;
        QTest::newRow("short lists") << QVector<int>{1, 1} << QVector<int>{5} << QVector<int>{500}
                                     << Numbers({1, 1, 1, 0, 1, 0, 0, 1, 0}) << Numbers({5, 2, 4, 7}) << 500
                                     << 10;
    }

    void storedDefaults() {
        QFETCH(QVector<int>, selection);
        QFETCH(QVector<int>, order);
        QFETCH(QVector<int>, times);
        QFETCH(Flags, selected);
        QFETCH(Flags, loopOrder);
        QFETCH(int, onTime);
        QFETCH(int, offTime);

        DemoLoopSettings settings;
        settings.ApplyStored({std::vector<int>(selection.begin(), selection.end()),
                              std::vector<int>(order.begin(), order.end()),
                              std::vector<int>(times.begin(), times.end())});
        QCOMPARE(settings.m_selected, selected);
        QCOMPARE(settings.m_loopOrder, loopOrder);
        QCOMPARE(int(settings.m_onTime), onTime);
        QCOMPARE(int(settings.m_offTime), offTime);
    }

    void steps_data() {
        QTest::addColumn<Flags>("selected");
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<int>("offTime");
        QTest::addColumn<QStringList>("events");
        // Defaults: positions 1, 2, 4, 7 for 200 ms each.
        QTest::newRow("with an off phase")
            << kDefaultSelection << ",1,2,,3,,,4," << 10
            << QStringList{"10 on 1", "210 off",  "220 on 2", "420 off",  "430 on 4",
                           "630 off", "640 on 7", "840 off",  "850 on 1", "1050 off"};
        QTest::newRow("without an off phase")
            << kDefaultSelection << ",1,2,,3,,,4," << 0
            << QStringList{"10 on 1", "210 on 2", "410 on 4", "610 on 7", "810 on 1", "1010 on 2"};
        QTest::newRow("CH1 and CH3 both 1, CH2 2: CH3, CH2, CH1")
            << Numbers({1, 1, 1}) << "1,2,1,,,,,," << 10
            << QStringList{"10 on 2", "210 off",  "220 on 1", "420 off",  "430 on 0",
                           "630 off", "640 on 2", "840 off",  "850 on 1", "1050 off"};
    }

    void steps() {
        QFETCH(Flags, selected);
        QFETCH(QString, boxes);
        QFETCH(int, offTime);
        QFETCH(QStringList, events);

        DemoLoopSettings settings;
        settings.m_selected = selected;
        settings.m_offTime = static_cast<uint16_t>(offTime);
        QCOMPARE(settings.Validate(Boxes(boxes)), DemoLoopSettings::Verdict::Valid);
        RecordedLoop loop(settings);

        loop.sequence.Start();
        QVERIFY(loop.sequence.running());
        loop.clock.advance(1055);
        QCOMPARE(loop.output.events, events);
    }

    void tilesFollowTheLitPosition() {
        DemoLoopSettings settings;
        QCOMPARE(settings.Validate(Boxes(",1,2,,3,,,4,")), DemoLoopSettings::Verdict::Valid);
        RecordedLoop loop(settings);
        using Tile = DemoLoopOutput::Tile;

        loop.sequence.Start();
        loop.clock.advance(10);
        QCOMPARE(loop.output.tiles[1], Tile::Lit);
        loop.clock.advance(200);  // the on time is over: back to its selection
        QCOMPARE(loop.output.tiles[1], Tile::Selected);
        QVERIFY(loop.clock.isRunning(DemoLoopTimers::kOffTimer));
        QVERIFY(!loop.clock.isRunning(DemoLoopTimers::kOnTimer));
        loop.clock.advance(10);
        QCOMPARE(loop.output.tiles[2], Tile::Lit);
        QCOMPARE(loop.clock.period(DemoLoopTimers::kOnTimer), 200);
    }

    void stopEndsEverything() {
        DemoLoopSettings settings;
        QCOMPARE(settings.Validate(Boxes(",1,2,,3,,,4,")), DemoLoopSettings::Verdict::Valid);
        RecordedLoop loop(settings);

        loop.sequence.Start();
        loop.clock.advance(100);
        loop.sequence.Stop();
        QVERIFY(!loop.sequence.running());
        QVERIFY(!loop.clock.isRunning(DemoLoopTimers::kOnTimer));
        QVERIFY(!loop.clock.isRunning(DemoLoopTimers::kOffTimer));
        QCOMPARE(loop.output.events, (QStringList{"10 on 1", "100 off", "100 off"}));
        for (int i = 0; i < 9; ++i) {
            QCOMPARE(loop.output.tiles[static_cast<size_t>(i)], settings.IsSelected(i)
                                                                    ? DemoLoopOutput::Tile::Selected
                                                                    : DemoLoopOutput::Tile::Unselected);
        }
        loop.clock.advance(1000);
        QCOMPARE(loop.output.events.size(), 3);
    }

    // A loop whose length drops under the current step (the order was cleared while it ran)
    // wraps to its start instead of running past the nine slots.
    void shortenedLoopStaysInsideTheSlots() {
        DemoLoopSettings settings;
        settings.m_offTime = 0;
        QCOMPARE(settings.Validate(Boxes(",1,2,,3,,,4,")), DemoLoopSettings::Verdict::Valid);
        RecordedLoop loop(settings);
        loop.sequence.Start();
        loop.clock.advance(410);
        QCOMPARE(loop.sequence.step(), 2);
        settings.m_loopCount = 0;
        settings.m_loopOrder.fill(200);
        loop.clock.advance(5000);
        QCOMPARE(loop.sequence.step(), 0);
        QCOMPARE(loop.output.events.last(), QStringLiteral("410 on 4"));
    }

    // What stops a running loop, and what keeps it from starting.
    void alarmStop_data() {
        QTest::addColumn<int>("unitStatus");
        QTest::addColumn<int>("alarmChannel");  // -1: none
        QTest::addColumn<int>("channelStatus");
        QTest::addColumn<int>("positions");
        QTest::addColumn<bool>("stops");
        QTest::addColumn<demoalarm::StartBlock>("start");

        using B = demoalarm::StartBlock;
        constexpr int kAlarm = 0x01;
        constexpr int kGuide = 0x02;
        QTest::newRow("no unit alarm") << kGuide << 1 << 0x10 << 0x002 << false << B::ChannelAlarm;
        QTest::newRow("light guide out") << kAlarm << -1 << 0 << 0x1FF << true << B::LightGuideOut;
        QTest::newRow("light guide out, no unit alarm") << 0 << -1 << 0 << 0x1FF << true << B::LightGuideOut;
        QTest::newRow("alarm, no channel says why") << (kAlarm | kGuide) << -1 << 0 << 0 << false << B::None;
        QTest::newRow("NVM on a looped one")
            << (kAlarm | kGuide) << 1 << 0x02 << 0x002 << true << B::ChannelAlarm;
        QTest::newRow("under-temperature")
            << (kAlarm | kGuide) << 2 << 0x04 << 0x004 << true << B::ChannelAlarm;
        QTest::newRow("type mismatch") << (kAlarm | kGuide) << 4 << 0x08 << 0x010 << true << B::ChannelAlarm;
        QTest::newRow("current") << (kAlarm | kGuide) << 7 << 0x10 << 0x080 << true << B::ChannelAlarm;
        QTest::newRow("over-temperature")
            << (kAlarm | kGuide) << 7 << 0x80 << 0x080 << true << B::ChannelAlarm;
        QTest::newRow("alarm on one not looped")
            << (kAlarm | kGuide) << 0 << 0x10 << 0x001 << false << B::None;
        QTest::newRow("LED on, fitted, present are no alarm")
            << (kAlarm | kGuide) << 1 << 0x61 << 0 << false << B::None;
    }

    void alarmStop() {
        QFETCH(int, unitStatus);
        QFETCH(int, alarmChannel);
        QFETCH(int, channelStatus);
        QFETCH(int, positions);
        QFETCH(bool, stops);
        QFETCH(demoalarm::StartBlock, start);

        std::array<uint16_t, 9> status{};
        status.fill(0x60);  // fitted and present
        if (alarmChannel >= 0) {
            status[static_cast<size_t>(alarmChannel)] = static_cast<uint16_t>(0x60 | channelStatus);
        }
        const auto unit = static_cast<uint16_t>(unitStatus);
        if (unitStatus & 0x01) {
            QCOMPARE(int(demoalarm::AlarmPositions(unit, status)), positions);
        }
        QCOMPARE(demoalarm::StopsLoop(unit, status, kDefaultSelection), stops);
        QCOMPARE(demoalarm::BlocksStart(unit, status, kDefaultSelection), start);
    }

    void dialogUnits_data() {
        QTest::addColumn<QRect>("units");
        QTest::addColumn<QRect>("pixels");
        // The common 8-point shell font's base units, 6 by 13.
        QTest::newRow("demo dialog") << QRect(0, 0, 425, 187) << QRect(0, 0, 638, 304);
        QTest::newRow("ON/OFF fits its picture") << QRect(309, 135, 108, 37) << QRect(464, 219, 162, 61);
        QTest::newRow("tile") << QRect(22, 34, 41, 16) << QRect(33, 55, 62, 26);
        QTest::newRow("About OK") << QRect(161, 41, 50, 14) << QRect(242, 67, 75, 22);
    }

    void dialogUnits() {
        QFETCH(QRect, units);
        QFETCH(QRect, pixels);
        const DialogUnits scale(6, 13);
        QCOMPARE(scale.Rect(units.x(), units.y(), units.width(), units.height()), pixels);
    }
};

QTEST_GUILESS_MAIN(DemoLoopTest)
#include "tst_demoloop.moc"
