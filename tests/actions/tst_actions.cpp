// The actions with no window: each takes its value, changes the unit and the store, and says
// what happened; every refusal leaves the unit and the store as they were.
#include "ChannelActions.h"
#include "FavouriteEdits.h"
#include "GroupingEdits.h"
#include "PanelSettings.h"
#include "ProfileStore.h"
#include "RZ470Sim.h"
#include "RecordingWaits.h"
#include "SettingsKeys.h"
#include "TestPaths.h"
#include "TriggerEdits.h"
#include "UnitSession.h"

#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(ActionOutcome)

namespace {

using Groups = std::array<uint8_t, 9>;

// The unit found and read once, as the panel has it after its title phase.
struct Bench {
    explicit Bench(const QString& iniFile)
        : store(iniFile),
          settings(store),
          session(waits, StoredChannelValues{[](uint16_t) { return QString(); },
                                             [](uint16_t) { return std::optional<uint16_t>(); }}),
          channels(session, settings),
          grouping(session),
          trigger(session, settings),
          favourites(settings, session.tables()) {}

    bool start() {
        if (session.Bind({testpaths::binDir()})) {
            return false;
        }
        simCommand = reinterpret_cast<RZ470Sim_Command_t>(dlsym(session.api().module, "RZ470Sim_Command"));
        if (simCommand == nullptr || sim(QStringLiteral("reset")) != QLatin1String("ok")) {
            return false;
        }
        session.table().Prepare();
        return true;
    }
    QString sim(const QString& command) const {
        return QString::fromUtf8(simCommand(command.toUtf8().constData()));
    }
    // Commands for the unit, then enough ticks for both reads to land.
    bool steer(const QStringList& commands) {
        for (const QString& command : commands) {
            if (sim(command) != QLatin1String("ok")) {
                return false;
            }
        }
        for (int tick = 0; tick < 11; ++tick) {
            session.Tick();
        }
        return true;
    }
    QStringList commandsSent() const {
        QStringList made;
        for (const QString& line : sim(QStringLiteral("log 2000")).split('\n', Qt::SkipEmptyParts)) {
            const QString name = line.section('(', 0, 0).trimmed();
            if (name.startsWith(QLatin1String("Set")) || name.startsWith(QLatin1String("Turn"))) {
                made << name;
            }
        }
        return made;
    }
    void clearLog() const { sim(QStringLiteral("log clear")); }

    RecordingWaits waits;
    ProfileStore store;
    PanelSettings settings;
    UnitSession session;
    ChannelActions channels;
    GroupingEdits grouping;
    TriggerEdits trigger;
    FavouriteEdits favourites;
    RZ470Sim_Command_t simCommand = nullptr;
};

}  // namespace

class ActionsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home_;
    std::unique_ptr<Bench> bench_;

    rz470::ChannelRecord& channel(int c) { return bench_->session.unit().channels[static_cast<size_t>(c)]; }
    int storedIntensity(int wavelength) {
        return bench_->store.readInt(settings::kIntensitiesSection,
                                     QStringLiteral("Intensity%1").arg(wavelength), -1);
    }
    QString storedName(int wavelength) {
        return bench_->store.readString(settings::kNamesSection, QStringLiteral("Name%1").arg(wavelength),
                                        QStringLiteral("<absent>"));
    }
    QString status() const { return bench_->sim(QStringLiteral("status")); }

private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("RZ470_SIM_HOME", home_.path().toUtf8());
    }
    void init() {
        QFile::remove(home_.filePath(QStringLiteral("panel.conf")));
        bench_ = std::make_unique<Bench>(home_.filePath(QStringLiteral("panel.conf")));
        QVERIFY(bench_->start());
        QVERIFY(bench_->steer({}));
        bench_->clearLog();
    }
    void cleanup() { bench_.reset(); }

    // The switch of panel 6 (channel 5) and everything that stops it, in the order they are asked.
    // An alarm or the light guide out refuses switching on only: switching off always goes.
    void switching_data() {
        QTest::addColumn<QStringList>("before");  // steered and read first
        QTest::addColumn<QStringList>("after");   // steered after the read, not read
        QTest::addColumn<QString>("ask");         // toggle, as the switch does; on or off, as a script
        QTest::addColumn<ActionOutcome>("outcome");
        QTest::addColumn<int>("popup");  // -1: none
        QTest::addColumn<QString>("sent");
        const QStringList lit{"led 6 on"};
        QTest::newRow("off to on") << QStringList{} << QStringList{} << "toggle" << ActionOutcome::Done << -1
                                   << "TurnONLEDs";
        QTest::newRow("on to off") << lit << QStringList{} << "toggle" << ActionOutcome::Done << -1
                                   << "TurnOFFLEDs";
        QTest::newRow("triggered") << QStringList{"triggered 6 1"} << QStringList{} << "toggle"
                                   << ActionOutcome::Triggered << -1 << "";
        QTest::newRow("not fitted") << QStringList{"channel-status 6 clear fitted"} << QStringList{}
                                    << "toggle" << ActionOutcome::NotFitted << -1 << "";
        QTest::newRow("alarm: on refused")
            << QStringList{"channel-status 6 set nvm"} << QStringList{} << "toggle"
            << ActionOutcome::AlarmActive << int(WarningPopup::AlarmActive) << "";
        QTest::newRow("alarm: off goes")
            << (lit + QStringList{"channel-status 6 set overtemp"}) << QStringList{} << "toggle"
            << ActionOutcome::Done << -1 << "TurnOFFLEDs";
        QTest::newRow("light guide out: on refused")
            << QStringList{"unit-status clear lightguide"} << QStringList{} << "toggle"
            << ActionOutcome::LightGuideOut << int(WarningPopup::LightGuideOut) << "";
        QTest::newRow("light guide out: off goes")
            << (lit + QStringList{"unit-status clear lightguide"}) << QStringList{} << "toggle"
            << ActionOutcome::Done << -1 << "TurnOFFLEDs";
        // Not yet read: the panel still sees the LED off, and the script's off goes all the same.
        QTest::newRow("script off, alarm and light guide out")
            << QStringList{"channel-status 6 set current", "unit-status clear lightguide"} << lit << "off"
            << ActionOutcome::Done << -1 << "TurnOFFLEDs";
        QTest::newRow("script on, alarm")
            << QStringList{"channel-status 6 set undertemp"} << QStringList{} << "on"
            << ActionOutcome::AlarmActive << int(WarningPopup::AlarmActive) << "";
        QTest::newRow("script on, light guide out")
            << QStringList{"unit-status clear lightguide"} << QStringList{} << "on"
            << ActionOutcome::LightGuideOut << int(WarningPopup::LightGuideOut) << "";
        QTest::newRow("unit absent") << QStringList{} << QStringList{"unplug 0"} << "toggle"
                                     << ActionOutcome::UnitAbsent << -1 << "";
    }
    void switching() {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(QString, ask);
        QFETCH(ActionOutcome, outcome);
        QFETCH(int, popup);
        QFETCH(QString, sent);
        QVERIFY(bench_->steer(before));
        for (const QString& command : after) {
            QCOMPARE(bench_->sim(command), QStringLiteral("ok"));
        }
        bench_->clearLog();

        ChannelActions& actions = bench_->channels;
        const ActionResult result = ask == QLatin1String("toggle")
                                        ? actions.ToggleSwitch(5)
                                        : actions.Switch(5, ask == QLatin1String("on"));
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(result.popup ? int(*result.popup) : -1, popup);
        QCOMPARE(bench_->commandsSent(), sent.isEmpty() ? QStringList{} : QStringList{sent});
        if (sent == QLatin1String("TurnOFFLEDs")) {
            QVERIFY2(status().contains(QStringLiteral("unit0.channel6.on=0\n")), qPrintable(status()));
        }
        if (outcome == ActionOutcome::AlarmActive) {
            // The alarm bits go until the unit reports them again.
            QCOMPARE(channel(5).status & ~rz470::ChannelStatus::LedOn, 0);
        }
    }

    // Every way of setting a level on panel 3 (channel 2, 435 nm, at 50.0 % from the unit).
    void levels_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("panel");
        QTest::addColumn<double>("value");  // percent typed, or level shown
        QTest::addColumn<int>("minimumPercent");
        QTest::addColumn<bool>("unplugged");
        QTest::addColumn<ActionOutcome>("outcome");
        QTest::addColumn<int>("level");   // held by the panel afterwards
        QTest::addColumn<int>("atUnit");  // the unit's level afterwards
        QTest::addColumn<int>("stored");  // -1: nothing stored
        QTest::newRow("typed") << "typed" << 2 << 37.3 << 0 << false << ActionOutcome::Done << 373 << 373
                               << 373;
        QTest::newRow("typed, the level it had")
            << "typed" << 2 << 50.0 << 0 << false << ActionOutcome::Done << 500 << 500 << 500;
        QTest::newRow("typed 100.1 is full scale")
            << "typed" << 2 << 100.1 << 0 << false << ActionOutcome::Done << 1000 << 1000 << 1000;
        QTest::newRow("typed above 100.1")
            << "typed" << 2 << 100.2 << 0 << false << ActionOutcome::OutOfRange << 500 << 500 << -1;
        QTest::newRow("typed below the minimum")
            << "typed" << 2 << 4.9 << 5 << false << ActionOutcome::OutOfRange << 500 << 500 << -1;
        QTest::newRow("typed 0 under a minimum")
            << "typed" << 2 << 0.0 << 5 << false << ActionOutcome::Done << 0 << 0 << 0;
        QTest::newRow("typed, unit absent")
            << "typed" << 2 << 37.3 << 0 << true << ActionOutcome::UnitAbsent << 373 << 500 << 373;
        QTest::newRow("typed, no such panel")
            << "typed" << 9 << 37.3 << 0 << false << ActionOutcome::OutOfRange << 500 << 500 << -1;
        QTest::newRow("slid") << "shown" << 2 << 640.0 << 0 << false << ActionOutcome::Done << 640 << 640
                              << 640;
        QTest::newRow("slid to the level shown")
            << "shown" << 2 << 500.0 << 0 << false << ActionOutcome::Unchanged << 500 << 500 << -1;
        QTest::newRow("slid past full scale")
            << "shown" << 2 << 1001.0 << 0 << false << ActionOutcome::OutOfRange << 500 << 500 << -1;
        QTest::newRow("slid, no such panel")
            << "shown" << -1 << 640.0 << 0 << false << ActionOutcome::OutOfRange << 500 << 500 << -1;
        QTest::newRow("up") << "up" << 2 << 0.0 << 0 << false << ActionOutcome::Done << 505 << 505 << 505;
        QTest::newRow("down") << "down" << 2 << 0.0 << 0 << false << ActionOutcome::Done << 495 << 495 << 495;
        QTest::newRow("down from the minimum to 0")
            << "down" << 2 << 0.0 << 50 << false << ActionOutcome::Done << 0 << 0 << 0;
        QTest::newRow("up, unit absent")
            << "up" << 2 << 0.0 << 0 << true << ActionOutcome::UnitAbsent << 505 << 500 << 505;
        QTest::newRow("down, no such panel")
            << "down" << 9 << 0.0 << 0 << false << ActionOutcome::OutOfRange << 500 << 500 << -1;
    }
    void levels() {
        QFETCH(QString, action);
        QFETCH(int, panel);
        QFETCH(double, value);
        QFETCH(int, minimumPercent);
        QFETCH(bool, unplugged);
        QFETCH(ActionOutcome, outcome);
        QFETCH(int, level);
        QFETCH(int, atUnit);
        QFETCH(int, stored);
        QCOMPARE(channel(2).intensity, uint16_t(500));
        channel(2).minIntensityPercent = static_cast<uint16_t>(minimumPercent);
        // As the main screen last drew it.
        bench_->session.table().shownAtPanel(2).intensity = 500;
        if (unplugged) {
            QCOMPARE(bench_->sim(QStringLiteral("unplug 0")), QStringLiteral("ok"));
        }
        bench_->clearLog();

        ChannelActions& actions = bench_->channels;
        const ActionResult result =
            action == QLatin1String("typed")   ? actions.SetTypedLevel(panel, float(value))
            : action == QLatin1String("shown") ? actions.SetShownLevel(panel, static_cast<uint16_t>(value))
            : action == QLatin1String("up")    ? actions.StepUp(panel)
                                               : actions.StepDown(panel);
        QCOMPARE(result.outcome, outcome);
        QVERIFY(!result.tells());
        QCOMPARE(int(channel(2).intensity), level);
        if (unplugged) {
            QCOMPARE(bench_->sim(QStringLiteral("plug 0")), QStringLiteral("ok"));
        }
        QVERIFY2(status().contains(QStringLiteral("unit0.channel3.intensity=%1\n").arg(atUnit)),
                 qPrintable(status()));
        QCOMPARE(bench_->commandsSent().contains(QStringLiteral("SetIntensityLevel")),
                 outcome == ActionOutcome::Done);
        QCOMPARE(storedIntensity(435), stored);
    }

    // A channel that is not fitted shows no level, so none of it is stored; it is still sent.
    void anUnfittedChannelsLevelIsSentButNotStored() {
        QVERIFY(bench_->steer({QStringLiteral("channel-status 3 clear fitted")}));
        bench_->clearLog();
        QCOMPARE(bench_->channels.StepUp(2).outcome, ActionOutcome::Done);
        QVERIFY(bench_->commandsSent().contains(QStringLiteral("SetIntensityLevel")));
        QCOMPARE(storedIntensity(435), -1);
    }

    // While another channel's level is unknown nothing can go, as the unit takes all nine at
    // once; the level set is held, and stored as it is now known.
    void aLevelSetWhileAnotherIsUnknownIsHeldNotSent() {
        bench_->session.unit().levelUnknown[0] = true;
        bench_->session.unit().levelUnknown[2] = true;
        bench_->clearLog();
        QCOMPARE(bench_->channels.SetTypedLevel(2, 37.3f).outcome, ActionOutcome::UnitAbsent);
        QCOMPARE(channel(2).intensity, uint16_t(373));
        QVERIFY(!bench_->session.unit().levelUnknown[2]);
        QVERIFY(bench_->commandsSent().isEmpty());
        QCOMPARE(storedIntensity(435), 373);
    }

    void renaming_data() {
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("name");
        QTest::addColumn<ActionOutcome>("outcome");
        QTest::addColumn<QByteArray>("held");
        QTest::addColumn<QString>("stored");
        QTest::newRow("eight letters")
            << 1 << "ABCDEFGH" << ActionOutcome::Done << QByteArray("ABCDEFGH") << "ABCDEFGH";
        // Kept as written or not at all: never "?max".
        QTest::newRow("outside Latin-1: the old name kept and stored again")
            << 1 << QString::fromUtf8("\u03bbmax") << ActionOutcome::OutOfRange << QByteArray("405nm") << "405nm";
        QTest::newRow("line breaks: the old name kept and stored again")
            << 1 << "a\nok\nb" << ActionOutcome::OutOfRange << QByteArray("405nm") << "405nm";
        QTest::newRow("too long: the old name kept and stored again")
            << 1 << "AVeryLongName123" << ActionOutcome::OutOfRange << QByteArray("405nm") << "405nm";
        QTest::newRow("no such panel")
            << 9 << "ABC" << ActionOutcome::OutOfRange << QByteArray("405nm") << "<absent>";
    }
    void renaming() {
        QFETCH(int, panel);
        QFETCH(QString, name);
        QFETCH(ActionOutcome, outcome);
        QFETCH(QByteArray, held);
        QFETCH(QString, stored);
        std::strcpy(channel(1).name, "405nm");
        QCOMPARE(bench_->channels.Rename(panel, name).outcome, outcome);
        QCOMPARE(QByteArray(channel(1).name), held);
        QCOMPARE(storedName(405), stored);
    }

    // The opened channel is channel 3; the grouping mode starts at PELION (groups 1..4).
    void groupEdits_data() {
        QTest::addColumn<std::function<ActionResult(GroupingEdits&)>>("edit");
        QTest::addColumn<int>("startGroup");
        QTest::addColumn<bool>("unplugged");
        QTest::addColumn<ActionOutcome>("outcome");
        QTest::addColumn<int>("group");
        using Edit = std::function<ActionResult(GroupingEdits&)>;
        QTest::newRow("typed") << Edit([](GroupingEdits& e) { return e.SetGroup(3, 4); }) << 1 << false
                               << ActionOutcome::Done << 4;
        QTest::newRow("typed above the mode's limit")
            << Edit([](GroupingEdits& e) { return e.SetGroup(3, 5); }) << 1 << false
            << ActionOutcome::OutOfRange << 1;
        QTest::newRow("no such channel") << Edit([](GroupingEdits& e) { return e.SetGroup(9, 1); }) << 1
                                         << false << ActionOutcome::OutOfRange << 1;
        QTest::newRow("up") << Edit([](GroupingEdits& e) { return e.StepGroupUp(3); }) << 1 << false
                            << ActionOutcome::Done << 2;
        QTest::newRow("up at the limit") << Edit([](GroupingEdits& e) { return e.StepGroupUp(3); }) << 4
                                         << false << ActionOutcome::Unchanged << 4;
        QTest::newRow("down at 0") << Edit([](GroupingEdits& e) { return e.StepGroupDown(3); }) << 0 << false
                                   << ActionOutcome::Unchanged << 0;
        QTest::newRow("cleared") << Edit([](GroupingEdits& e) { return e.ClearGroup(3); }) << 3 << false
                                 << ActionOutcome::Done << 0;
        QTest::newRow("cleared, unit absent") << Edit([](GroupingEdits& e) { return e.ClearGroup(3); }) << 3
                                              << true << ActionOutcome::UnitAbsent << 0;
    }
    void groupEdits() {
        QFETCH(std::function<ActionResult(GroupingEdits&)>, edit);
        QFETCH(int, startGroup);
        QFETCH(bool, unplugged);
        QFETCH(ActionOutcome, outcome);
        QFETCH(int, group);
        GroupingAndTrigger& tables = bench_->session.tables();
        tables.groupingMode = 1;
        tables.ledGroup[3] = static_cast<uint8_t>(startGroup);
        if (unplugged) {
            QCOMPARE(bench_->sim(QStringLiteral("unplug 0")), QStringLiteral("ok"));
        }
        bench_->clearLog();
        const ActionResult result = edit(bench_->grouping);
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(int(tables.ledGroup[3]), group);
        QCOMPARE(bench_->commandsSent().contains(QStringLiteral("SetGrouping")),
                 outcome == ActionOutcome::Done);
    }

    void modeSwitches_data() {
        QTest::addColumn<int>("startMode");
        QTest::addColumn<Groups>("startGroups");
        QTest::addColumn<int>("switched");
        QTest::addColumn<int>("mode");
        QTest::addColumn<Groups>("groups");
        QTest::addColumn<bool>("sent");
        QTest::addColumn<bool>("warned");
        const Groups six{1, 6, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("on") << 0 << Groups{} << 2 << 2 << Groups{} << false << false;
        QTest::newRow("on with a group over its limit") << 2 << six << 1 << 1 << six << false << true;
        QTest::newRow("the lit one off, groups emptied") << 2 << six << 2 << 0 << Groups{} << true << false;
        QTest::newRow("a mode there is none of") << 1 << six << 3 << 1 << six << false << false;
    }
    void modeSwitches() {
        QFETCH(int, startMode);
        QFETCH(Groups, startGroups);
        QFETCH(int, switched);
        QFETCH(int, mode);
        QFETCH(Groups, groups);
        QFETCH(bool, sent);
        QFETCH(bool, warned);
        GroupingAndTrigger& tables = bench_->session.tables();
        tables.groupingMode = static_cast<uint8_t>(startMode);
        tables.ledGroup = startGroups;
        bench_->clearLog();
        const ActionResult result = bench_->grouping.SwitchMode(static_cast<uint8_t>(switched));
        QCOMPARE(int(tables.groupingMode), mode);
        QCOMPARE(tables.ledGroup, groups);
        QCOMPARE(bench_->commandsSent().contains(QStringLiteral("SetGrouping")), sent);
        QCOMPARE(result.message, warned ? QString::fromLatin1(GroupingEdits::kExceedsLimitText) : QString());
        QCOMPARE(result.title, warned ? QStringLiteral("Warning and Action") : QString());
    }

    // Channel 4 starts at a 10-minute timeout and sequence step 9 on a unit of version 120.
    void triggerEdits_data() {
        QTest::addColumn<std::function<ActionResult(TriggerEdits&)>>("edit");
        QTest::addColumn<int>("version");
        QTest::addColumn<ActionOutcome>("outcome");
        QTest::addColumn<int>("timeout");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<bool>("stored");
        using Edit = std::function<ActionResult(TriggerEdits&)>;
        QTest::newRow("timeout typed, sent but not stored")
            << Edit([](TriggerEdits& e) { return e.SetTimeout(4, 0); }) << 120 << ActionOutcome::Done << 0
            << 9 << "SetTTLTimeout" << false;
        QTest::newRow("timeout up") << Edit([](TriggerEdits& e) { return e.StepTimeoutUp(4); }) << 120
                                    << ActionOutcome::Done << 11 << 9 << "SetTTLTimeout" << true;
        QTest::newRow("timeout down") << Edit([](TriggerEdits& e) { return e.StepTimeoutDown(4); }) << 120
                                      << ActionOutcome::Done << 9 << 9 << "SetTTLTimeout" << true;
        QTest::newRow("sequence typed past 9") << Edit([](TriggerEdits& e) { return e.SetSequence(4, 10); })
                                               << 120 << ActionOutcome::OutOfRange << 10 << 9 << "" << false;
        QTest::newRow("sequence up at 9") << Edit([](TriggerEdits& e) { return e.StepSequenceUp(4); }) << 120
                                          << ActionOutcome::Unchanged << 10 << 9 << "" << false;
        QTest::newRow("sequence down") << Edit([](TriggerEdits& e) { return e.StepSequenceDown(4); }) << 120
                                       << ActionOutcome::Done << 10 << 8 << "SetTTLSequencing" << true;
        QTest::newRow("sequence cleared") << Edit([](TriggerEdits& e) { return e.ClearSequence(4); }) << 120
                                          << ActionOutcome::Done << 10 << 0 << "SetTTLSequencing" << true;
        QTest::newRow("no such channel") << Edit([](TriggerEdits& e) { return e.ClearSequence(9); }) << 120
                                         << ActionOutcome::OutOfRange << 10 << 9 << "" << false;
    }
    void triggerEdits() {
        QFETCH(std::function<ActionResult(TriggerEdits&)>, edit);
        QFETCH(int, version);
        QFETCH(ActionOutcome, outcome);
        QFETCH(int, timeout);
        QFETCH(int, step);
        QFETCH(QString, sent);
        QFETCH(bool, stored);
        GroupingAndTrigger& tables = bench_->session.tables();
        tables.ttlTimeout[4] = 10;
        tables.triggerSequence[4] = 9;
        bench_->session.unit().firmwareVersion = static_cast<uint16_t>(version);
        bench_->clearLog();
        QCOMPARE(edit(bench_->trigger).outcome, outcome);
        QCOMPARE(int(tables.ttlTimeout[4]), timeout);
        QCOMPARE(int(tables.triggerSequence[4]), step);
        QCOMPARE(bench_->commandsSent(), sent.isEmpty() ? QStringList{} : QStringList{sent});
        const auto written = [this](const char* pattern, int index) {
            return bench_->store.readInt(settings::kTriggerSection, settings::valueName(pattern, index),
                                         -1) != -1;
        };
        QCOMPARE(written(settings::kDelayValue, 4) || written(settings::kOnValue, 365), stored);
    }

    // The arrows keep a timeout at 0 or at 5 and above; a unit before version 120 gets no 0 from them.
    void timeoutArrowsAtTheirEnds_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("up");
        QTest::addColumn<ActionOutcome>("outcome");
        QTest::addColumn<int>("timeout");
        QTest::newRow("5 down to off") << 120 << 5 << false << ActionOutcome::Done << 0;
        QTest::newRow("5 stays before version 120") << 119 << 5 << false << ActionOutcome::Unchanged << 5;
        QTest::newRow("off up to 5") << 119 << 0 << true << ActionOutcome::Done << 5;
        QTest::newRow("the longest stays") << 120 << 65535 << true << ActionOutcome::Unchanged << 65535;
    }
    void timeoutArrowsAtTheirEnds() {
        QFETCH(int, version);
        QFETCH(int, start);
        QFETCH(bool, up);
        QFETCH(ActionOutcome, outcome);
        QFETCH(int, timeout);
        bench_->session.tables().ttlTimeout[0] = static_cast<uint16_t>(start);
        bench_->session.unit().firmwareVersion = static_cast<uint16_t>(version);
        const ActionResult result =
            up ? bench_->trigger.StepTimeoutUp(0) : bench_->trigger.StepTimeoutDown(0);
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(int(bench_->session.tables().ttlTimeout[0]), timeout);
    }

    void savingANewFavourite_data() {
        QTest::addColumn<int>("usedSlots");  // slots 1..n hold "F1".."Fn"
        QTest::addColumn<QString>("name");
        QTest::addColumn<ActionOutcome>("outcome");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("slot");
        QTest::newRow("into the first free slot") << 3 << "New" << ActionOutcome::Done << "" << 4;
        QTest::newRow("a name taken")
            << 3 << "F2" << ActionOutcome::NameTaken << FavouriteEdits::kSameNameText << 0;
        QTest::newRow("an empty name")
            << 3 << "" << ActionOutcome::NameTaken << FavouriteEdits::kSameNameText << 0;
        QTest::newRow("every slot used")
            << 10 << "New" << ActionOutcome::ListFull << FavouriteEdits::kListFullText << 0;
    }
    void savingANewFavourite() {
        QFETCH(int, usedSlots);
        QFETCH(QString, name);
        QFETCH(ActionOutcome, outcome);
        QFETCH(QString, message);
        QFETCH(int, slot);
        for (int used = 1; used <= usedSlots; ++used) {
            bench_->settings.SetFavourite(used, {QStringLiteral("F%1").arg(used), 0, 1});
        }
        bench_->session.tables().ledGroup = {1, 1, 2, 0, 0, 0, 0, 0, 3};
        bench_->session.tables().groupingMode = 1;
        int savedIn = 0;
        const ActionResult result = bench_->favourites.SaveNew(name, &savedIn);
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(result.message, message);
        QCOMPARE(result.title, message.isEmpty() ? QString() : QStringLiteral("Action"));
        QCOMPARE(savedIn, slot);
        if (slot != 0) {
            const FavouriteGrouping saved = bench_->settings.Favourite(slot);
            QCOMPARE(saved.name, name);
            QCOMPARE(PanelSettings::UnpackGroups(saved.packedGroups), bench_->session.tables().ledGroup);
            QCOMPARE(saved.mode, 1);
        }
    }

    // Slot 2 holds "Two"; slot 5 is free.
    void editsOfAFavourite_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<ActionOutcome>("outcome");
        QTest::newRow("loaded") << 2 << "load" << ActionOutcome::Done;
        QTest::newRow("saved over") << 2 << "save" << ActionOutcome::Done;
        QTest::newRow("deleted") << 2 << "delete" << ActionOutcome::Done;
        QTest::newRow("a free slot loaded") << 5 << "load" << ActionOutcome::NotListed;
        QTest::newRow("a free slot saved over") << 5 << "save" << ActionOutcome::NotListed;
        QTest::newRow("no such slot deleted") << 11 << "delete" << ActionOutcome::NotListed;
    }
    void editsOfAFavourite() {
        QFETCH(int, slot);
        QFETCH(QString, edit);
        QFETCH(ActionOutcome, outcome);
        const Groups stored{0, 0, 0, 0, 4, 0, 0, 0, 0};
        const Groups present{1, 1, 2, 0, 0, 0, 0, 0, 3};
        bench_->settings.SetFavourite(2, {QStringLiteral("Two"), PanelSettings::PackGroups(stored), 2});
        GroupingAndTrigger& tables = bench_->session.tables();
        tables.ledGroup = present;
        tables.groupingMode = 1;
        FavouriteEdits& favourites = bench_->favourites;
        const ActionResult result = edit == QLatin1String("load")   ? favourites.Load(slot)
                                    : edit == QLatin1String("save") ? favourites.SaveOver(slot)
                                                                    : favourites.Delete(slot);
        QCOMPARE(result.outcome, outcome);
        const bool done = outcome == ActionOutcome::Done;
        QCOMPARE(tables.ledGroup, done && edit == QLatin1String("load") ? stored : present);
        const FavouriteGrouping two = bench_->settings.Favourite(2);
        QCOMPARE(two.name, done && edit == QLatin1String("delete") ? QString() : QStringLiteral("Two"));
        if (done && edit == QLatin1String("save")) {
            QCOMPARE(PanelSettings::UnpackGroups(two.packedGroups), present);
            QCOMPARE(two.mode, 1);
        }
        QVERIFY(bench_->settings.Favourite(5).isFree());
    }

    void theSlotHoldingAFavouriteNow() {
        bench_->settings.SetFavourite(2, {QStringLiteral("Two"), 0, 1});
        bench_->settings.SetFavourite(7, {QStringLiteral("Seven"), 0, 1});
        QCOMPARE(bench_->favourites.SlotHolding(QStringLiteral("Seven"), 7), 7);
        QCOMPARE(bench_->favourites.SlotHolding(QStringLiteral("Seven"), 2), 7);
        QCOMPARE(bench_->favourites.SlotHolding(QStringLiteral("Gone"), 2), 0);
        QCOMPARE(bench_->favourites.SlotHolding(QString(), 3), 0);
    }
};

QTEST_GUILESS_MAIN(ActionsTest)
#include "tst_actions.moc"
