// Keyboard and assistive-technology access to the painted panel, on the real dialog with the
// simulated unit: the accessible tree Qt hands to a screen reader, its actions and
// announcements, and the keyboard focus ring.
#include "KeyboardFocus.h"
#include "MainScreen.h"
#include "MainScreenLayout.h"
#include "PanelAccessibility.h"
#include "ScreenStates.h"
#include "SimulatedPanelTest.h"
#include "SurfaceChecks.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleEvent>
#include <QAccessibleValueInterface>
#include <QtTest>

#include <set>

namespace {

// In a Tab order: the favourites list, which shows its own focus.
constexpr int kWidget = -1;
// The grouping screen's first Tab stop with LED 1 opened: LED 1's panel.
constexpr int kGroupingFirstStop = 2;

// One announcement as the panel made it.
struct Announcement {
    QAccessible::Event type;
    QString name;
    QAccessible::State changed;  // of a state change
};

std::vector<int> Range(int first, int last) {
    std::vector<int> ids;
    for (int id = first; id <= last; ++id) {
        ids.push_back(id);
    }
    return ids;
}

std::vector<int> Joined(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> all;
    for (const std::vector<int>& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// The main screen's panels in turn: name, value, arrows, switch; id 6k + 4 is no button.
std::vector<int> MainPanels() {
    std::vector<int> ids;
    for (int k = 0; k < mainlayout::kPanelCount; ++k) {
        for (const int offset : {0, 1, 2, 3, 5}) {
            ids.push_back(MainScreen::kButtonsPerPanel * k + offset);
        }
    }
    return ids;
}

}  // namespace

class AccessibilityTest : public SimulatedPanelTest {
    Q_OBJECT

private:
    QAccessibleInterface* window() { return QAccessible::queryAccessibleInterface(&dialog()); }
    PanelAccessibility& access() { return dialog().accessibility(); }
    KeyboardFocus& keys() { return dialog().keyboardFocus(); }

    // The painted button or value of that name on the shown screen.
    QAccessibleInterface* button(const QString& name) {
        for (int i = 0; i < access().ChildCount(); ++i) {
            QAccessibleInterface* child = window()->child(i);
            if (child->text(QAccessible::Name) == name) {
                return child;
            }
        }
        return nullptr;
    }
    QStringList names() {
        QStringList all;
        for (int i = 0; i < access().ButtonCount(); ++i) {
            all << window()->child(i)->text(QAccessible::Name);
        }
        return all;
    }
    QAccessibleInterface* slider(int panel) {
        return QAccessible::queryAccessibleInterface(&dialog().slider(panel));
    }
    void listen(std::vector<Announcement>& told) {
        access().SetListener([&told](QAccessibleEvent& event) {
            QAccessibleInterface* source = event.accessibleInterface();
            Announcement announcement{
                event.type(), source != nullptr ? source->text(QAccessible::Name) : QString(), {}};
            if (event.type() == QAccessible::StateChanged) {
                announcement.changed = static_cast<QAccessibleStateChangeEvent&>(event).changedStates();
            }
            told.push_back(announcement);
        });
    }
    static bool heard(const std::vector<Announcement>& told, QAccessible::Event type, const QString& name) {
        return std::any_of(told.begin(), told.end(),
                           [&](const Announcement& a) { return a.type == type && a.name == name; });
    }
    // A poll long enough to read the status records and the intensities.
    void poll() {
        panel_->tick(20);
        QCoreApplication::processEvents();
    }
    void tab(int times = 1, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        for (int i = 0; i < times; ++i) {
            QTest::keyClick(&dialog(), modifiers & Qt::ShiftModifier ? Qt::Key_Backtab : Qt::Key_Tab,
                            modifiers);
        }
    }
    // Tab until the ring is on the button of that name.
    bool tabTo(const QString& name) {
        for (int i = 0; i <= access().ButtonCount(); ++i) {
            tab();
            const ButtonTable& table = dialog().router().ShownScreen().Buttons();
            if (AccessibleName(table.at(static_cast<size_t>(keys().FocusedButton()))) == name) {
                return true;
            }
        }
        return false;
    }
    QString status(const QString& key) {
        for (const QString& line : panel_->sim(QStringLiteral("status")).split(QLatin1Char('\n'))) {
            if (line.startsWith(key + QLatin1Char('='))) {
                return line.section(QLatin1Char('='), 1);
            }
        }
        return {};
    }

private slots:
    void mainScreenTree_data() {
        QTest::addColumn<QString>("setUp");  // a simulator command, then a poll
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("checked");

        const int button = QAccessible::Button;
        const int checkBox = QAccessible::CheckBox;
        QTest::newRow("LED 1 name field") << "" << 0 << "LED 1 name" << button << "UV 365" << false;
        QTest::newRow("LED 1 value box")
            << "" << 1 << "UV 365 intensity entry" << button << "50.0 %" << false;
        QTest::newRow("LED 1 up") << "" << 2 << "UV 365 intensity up" << button << "" << false;
        QTest::newRow("LED 1 down") << "" << 3 << "UV 365 intensity down" << button << "" << false;
        QTest::newRow("LED 1 switch, off") << "" << 4 << "LED 1 on" << checkBox << "" << false;
        QTest::newRow("LED 2 up") << "" << 7 << "Violet 405 intensity up" << button << "" << false;
        QTest::newRow("LED 3 switch, lit") << "led 3 on" << 14 << "LED 3 on" << checkBox << "" << true;
        QTest::newRow("knob turned") << "knob 2 373" << 6 << "Violet 405 intensity entry" << button
                                     << "37.3 %" << false;
        QTest::newRow("not fitted: no name, no value")
            << "channel-status 9 clear fitted" << 41 << "LED 9 intensity entry" << button << "" << false;
        QTest::newRow("EXIT first of the menu bar") << "" << 45 << "EXIT" << button << "" << false;
        QTest::newRow("DEMO LOOP left of GROUPING") << "" << 46 << "DEMO LOOP" << button << "" << false;
        QTest::newRow("GROUPING") << "" << 47 << "GROUPING" << button << "" << false;
        QTest::newRow("ALARMS last") << "" << 50 << "ALARMS" << button << "" << false;
    }

    void mainScreenTree() {
        QFETCH(QString, setUp);
        QFETCH(int, index);
        QFETCH(QString, name);
        QFETCH(int, role);
        QFETCH(QString, value);
        QFETCH(bool, checked);
        if (!setUp.isEmpty()) {
            simOk(setUp);
            poll();
        }
        QAccessibleInterface* panel = window();
        QVERIFY(panel != nullptr);
        QCOMPARE(panel->role(), QAccessible::Dialog);
        QCOMPARE(access().ButtonCount(), 51);
        QCOMPARE(access().ChildCount(), 51);
        QAccessibleInterface* child = panel->child(index);
        QVERIFY(child != nullptr && child->isValid());
        QCOMPARE(child->text(QAccessible::Name), name);
        QCOMPARE(int(child->role()), role);
        QCOMPARE(child->text(QAccessible::Value), value);
        QCOMPARE(bool(child->state().checkable), role == QAccessible::CheckBox);
        QCOMPARE(bool(child->state().checked), checked);
        QCOMPARE(child->parent(), panel);
        QCOMPARE(panel->indexOfChild(child), index);
        // The painted button where it is drawn.
        QCOMPARE(panel->childAt(child->rect().center().x(), child->rect().center().y()), child);
    }

    void valuesAreNumbersToo() {
        QAccessibleInterface* valueBox = button(QStringLiteral("UV 365 intensity entry"));
        QVERIFY(valueBox != nullptr && valueBox->valueInterface() != nullptr);
        QCOMPARE(valueBox->valueInterface()->currentValue().toDouble(), 50.0);
        QCOMPARE(button(QStringLiteral("UV 365 intensity up"))->valueInterface(), nullptr);
    }

    // The name field's action opens the text entry as the mouse's release does; the buttons and
    // the slider of the panel take the new name, and it is announced.
    void renamingAChannelRenamesItsButtonsAndSlider() {
        QCoreApplication::processEvents();
        std::vector<Announcement> told;
        listen(told);
        panel_->prompts.entries = {ScriptedPrompts::EntryAnswer{QStringLiteral("Purple"), true, false}};
        button(QStringLiteral("LED 2 name"))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        QCOMPARE(panel_->prompts.entriesShown.size(), 1);
        QCOMPARE(button(QStringLiteral("LED 2 name"))->text(QAccessible::Value), QStringLiteral("Purple"));
        QVERIFY(button(QStringLiteral("Purple intensity down")) != nullptr);
        QTRY_VERIFY(heard(told, QAccessible::NameChanged, QStringLiteral("Purple intensity up")));
        QCOMPARE(slider(1)->text(QAccessible::Name), QStringLiteral("Purple intensity"));
        access().SetListener({});
    }

    // The alarm tiles come first on the alarms screen, as read-only texts: the alarm, and where it
    // is raised or that it is clear, as value and description; then RETURN TO MAIN SCREEN.
    void alarmTilesAreReadWithTheirState_data() {
        QTest::addColumn<QStringList>("setUp");  // simulator commands, then a poll
        QTest::addColumn<QString>("tile");
        QTest::addColumn<QString>("state");
        QTest::newRow("nothing raised") << QStringList{} << "Max Temp Exceeded"
                                        << "clear";
        QTest::newRow("over temperature on two LEDs")
            << QStringList{"channel-status 3 set overtemp", "channel-status 5 set overtemp"}
            << "Max Temp Exceeded"
            << "raised on LED 3, LED 5";
        QTest::newRow("under temperature")
            << QStringList{"channel-status 9 set undertemp"} << "Min Temp Exceeded"
            << "raised on LED 9";
        QTest::newRow("current alarm") << QStringList{"channel-status 1 set current"} << "LED Module Fail"
                                       << "raised on LED 1";
        QTest::newRow("light guide out: the unit")
            << QStringList{"unit-status clear lightguide"} << "Light Guide Not Present"
            << "raised on the unit";
        QTest::newRow("NVM on an LED and on the unit")
            << QStringList{"channel-status 2 set nvm", "unit-status set nvm"} << "NVM Fail"
            << "raised on LED 2, the unit";
        QTest::newRow("performance") << QStringList{"unit-status set performance"} << "System Performance"
                                     << "raised on the unit";
        QTest::newRow("nothing lights Comms Error") << QStringList{"unit-status set alarm"} << "Comms Error"
                                                    << "clear";
    }

    void alarmTilesAreReadWithTheirState() {
        QFETCH(QStringList, setUp);
        QFETCH(QString, tile);
        QFETCH(QString, state);
        for (const QString& command : setUp) {
            simOk(command);
        }
        poll();
        dialog().router().ChangeScreen(screens::kAlarms);
        QAccessibleInterface* panel = window();
        QCOMPARE(access().TextCount(), 8);
        QCOMPARE(panel->child(8)->text(QAccessible::Name), QStringLiteral("RETURN TO MAIN SCREEN"));
        QAccessibleInterface* shown = button(tile);
        QVERIFY(shown != nullptr && shown->isValid());
        QCOMPARE(shown->role(), QAccessible::StaticText);
        QVERIFY(shown->state().readOnly);
        QCOMPARE(shown->text(QAccessible::Value), state);
        QCOMPARE(shown->text(QAccessible::Description), state);
        QCOMPARE(shown->parent(), panel);
        const int index = panel->indexOfChild(shown);
        QCOMPARE(panel->child(index), shown);
        // Found where it is drawn.
        QCOMPARE(panel->childAt(shown->rect().center().x(), shown->rect().center().y()), shown);
    }

    // A tile that changes while the screen shows is announced; the others are not.
    void alarmChangeIsAnnounced() {
        dialog().router().ChangeScreen(screens::kAlarms);
        QCoreApplication::processEvents();
        std::vector<Announcement> told;
        listen(told);
        simOk(QStringLiteral("channel-status 4 set overtemp"));
        poll();
        QVERIFY(heard(told, QAccessible::DescriptionChanged, QStringLiteral("Max Temp Exceeded")));
        QVERIFY(heard(told, QAccessible::ValueChanged, QStringLiteral("Max Temp Exceeded")));
        QVERIFY(!heard(told, QAccessible::DescriptionChanged, QStringLiteral("Min Temp Exceeded")));
        QCOMPARE(button(QStringLiteral("Max Temp Exceeded"))->text(QAccessible::Value),
                 QStringLiteral("raised on LED 4"));
        access().SetListener({});
    }

    // The maintenance values with their labels, as drawn: they follow the unit when the screen is
    // drawn again (here uncovered), and that change is announced.
    void maintenanceValuesAreReadAsShown() {
        simOk(QStringLiteral("channel-status 1 set overtemp"));
        poll();
        dialog().router().ChangeScreen(screens::kMaintenance);
        QCoreApplication::processEvents();
        QAccessibleInterface* panel = window();
        QCOMPARE(access().TextCount(), 3);
        QStringList labels;
        for (int i = 0; i < access().TextCount(); ++i) {
            labels << panel->child(i)->text(QAccessible::Name);
        }
        QCOMPARE(labels, (QStringList{"Errors", "Software Versions", "Serial Number"}));
        QCOMPARE(button(QStringLiteral("Serial Number"))->text(QAccessible::Value),
                 QStringLiteral("RZ251-K-00042"));
        QVERIFY(button(QStringLiteral("Software Versions"))->text(QAccessible::Value).startsWith("1.4.0/"));
        QCOMPARE(button(QStringLiteral("Errors"))->text(QAccessible::Description),
                 QStringLiteral("LED 365nm Over Temperature"));

        std::vector<Announcement> told;
        listen(told);
        simOk(QStringLiteral("channel-status 2 set nvm"));
        poll();
        // The screen still shows what it drew, and so does the tree.
        QCOMPARE(button(QStringLiteral("Errors"))->text(QAccessible::Value),
                 QStringLiteral("LED 365nm Over Temperature"));
        QVERIFY(!heard(told, QAccessible::DescriptionChanged, QStringLiteral("Errors")));
        dialog().router().WindowUncovered();
        QCoreApplication::processEvents();
        QCOMPARE(button(QStringLiteral("Errors"))->text(QAccessible::Value),
                 QStringLiteral("LED 365nm Over Temperature; LED 405nm NVM Error"));
        QVERIFY(heard(told, QAccessible::DescriptionChanged, QStringLiteral("Errors")));
        QVERIFY(!heard(told, QAccessible::DescriptionChanged, QStringLiteral("Serial Number")));
        access().SetListener({});
    }

    void slidersKeepTheirOwnInterfaceWithTheChannelsName() {
        QAccessibleInterface* panel = window();
        QStringList sliders;
        for (int i = access().ChildCount(); i < panel->childCount(); ++i) {
            QAccessibleInterface* child = panel->child(i);
            if (child->role() == QAccessible::Slider && !child->state().invisible) {
                QVERIFY(child->valueInterface() != nullptr);
                sliders << child->text(QAccessible::Name);
            }
        }
        QCOMPARE(sliders.size(), 9);
        QCOMPARE(sliders[0], QStringLiteral("UV 365 intensity"));
        QCOMPARE(sliders[1], QStringLiteral("Violet 405 intensity"));
        QCOMPARE(sliders[8], QStringLiteral("Red 635 intensity"));
    }

    void pressActionSwitchesTheSimulatedLed_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("press") << QAccessibleActionInterface::pressAction();
        QTest::newRow("toggle") << QAccessibleActionInterface::toggleAction();
    }

    void pressActionSwitchesTheSimulatedLed() {
        QFETCH(QString, action);
        QAccessibleInterface* led3 = button(QStringLiteral("LED 3 on"));
        QVERIFY(led3 != nullptr && led3->actionInterface() != nullptr);
        QVERIFY(led3->actionInterface()->actionNames().contains(action));
        led3->actionInterface()->doAction(action);
        // The action waits for the event loop, as a modal dialog it opens must not block the caller.
        QCOMPARE(status(QStringLiteral("unit0.channel3.on")), QStringLiteral("0"));
        QCoreApplication::processEvents();
        QCOMPARE(status(QStringLiteral("unit0.channel3.on")), QStringLiteral("1"));
        QVERIFY(panel_->callLines().filter(QStringLiteral("TurnONLEDs")).size() == 1);
        poll();
        QVERIFY(button(QStringLiteral("LED 3 on"))->state().checked);
    }

    void pressActionLeavesTheScreenAndTheTreeFollows() {
        QAccessibleInterface* grouping = button(QStringLiteral("GROUPING"));
        const QAccessible::Id oldId = QAccessible::uniqueId(grouping);
        grouping->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        QCOMPARE(dialog().router().ScreenState(), screens::kGroupingFirst);
        QCOMPARE(QAccessible::accessibleInterface(oldId), nullptr);
        QVERIFY(button(QStringLiteral("RETURN TO MAIN SCREEN")) != nullptr);
        QAccessibleInterface* field = button(QStringLiteral("UV 365 group number"));
        QVERIFY(field != nullptr);
        QCOMPARE(field->text(QAccessible::Value), QStringLiteral("0"));
        QAccessibleInterface* pelion = button(QStringLiteral("PELION Grouping"));
        QCOMPARE(pelion->role(), QAccessible::CheckBox);
        QVERIFY(!pelion->state().checked);

        pelion->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QCoreApplication::processEvents();
        QVERIFY(button(QStringLiteral("PELION Grouping"))->state().checked);
        button(QStringLiteral("UV 365 group number up"))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        QCOMPARE(button(QStringLiteral("UV 365 group number"))->text(QAccessible::Value),
                 QStringLiteral("1"));
        QCOMPARE(button(QStringLiteral("LED 1 UV 365"))->text(QAccessible::Value), QStringLiteral("group 1"));
    }

    void pressAskedOnAnotherScreenIsDropped() {
        QAccessibleInterface* led3 = button(QStringLiteral("LED 3 on"));
        led3->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        dialog().router().ChangeScreen(screens::kAlarms);
        QCoreApplication::processEvents();
        QCOMPARE(dialog().router().ScreenState(), screens::kAlarms);
        QCOMPARE(status(QStringLiteral("unit0.channel3.on")), QStringLiteral("0"));
    }

    // Every screen: the order Tab takes, each button found at its own centre (the keyboard and
    // the accessible action press there), and no two buttons of a screen with the same name.
    void tabOrderOnEachScreen_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<std::vector<int>>("stops");
        QTest::newRow("main: panels in turn, then the menu bar left to right")
            << screens::kMain
            << Joined({MainPanels(), {MainScreen::Exit, MainScreen::DemoLoop}, Range(57, 60)});
        QTest::newRow("grouping, LED 1 opened")
            << screens::kGroupingFirst
            << Joined({{2, 11, 14, 12, 13}, Range(3, 10), {17, 18, kWidget, 19}, {0, 1, 15, 16}});
        QTest::newRow("grouping, LED 9 opened")
            << screens::kGroupingLast
            << Joined({Range(2, 10), {11, 14, 12, 13}, {17, 18, kWidget, 19}, {0, 1, 15, 16}});
        QTest::newRow("trigger, LED 1 opened")
            << screens::kTriggerFirst
            << Joined({{2, 11, 16, 12, 13, 17, 14, 15}, Range(3, 10), {0, 1, 18, 19}});
        QTest::newRow("trigger, LED 5 opened")
            << screens::kTriggerFirst + 4
            << Joined({Range(2, 6), {11, 16, 12, 13, 17, 14, 15}, Range(7, 10), {0, 1, 18, 19}});
        QTest::newRow("alarms") << screens::kAlarms << std::vector<int>{0};
        QTest::newRow("maintenance") << screens::kMaintenance << std::vector<int>{0};
    }

    void tabOrderOnEachScreen() {
        QFETCH(int, state);
        QFETCH(std::vector<int>, stops);
        std::vector<int> order = stops;
        order.erase(std::remove(order.begin(), order.end(), kWidget), order.end());
        dialog().router().ChangeScreen(state);
        QCOMPARE(dialog().router().ShownScreen().ReadingOrder(), order);

        std::vector<int> visited;
        for (size_t i = 0; i < stops.size(); ++i) {
            tab();
            const bool onWidget = keys().FocusedButton() == kNoButton && dialog().focusWidget() != &dialog();
            visited.push_back(onWidget ? kWidget : keys().FocusedButton());
        }
        QCOMPARE(visited, stops);
        tab();
        QCOMPARE(keys().FocusedButton(), order.front());  // round the end
        tab(1, Qt::ShiftModifier);
        QCOMPARE(keys().FocusedButton(), order.back());

        const ButtonTable& table = dialog().router().ShownScreen().Buttons();
        std::set<QString> seen;
        for (const int id : order) {
            const QPoint centre = table[static_cast<size_t>(id)].region.centre();
            QCOMPARE(FindButton(table, centre.x(), centre.y()), id);
            const QString name = AccessibleName(table[static_cast<size_t>(id)]);
            QVERIFY2(!name.isEmpty() && seen.insert(name).second, qPrintable(name));
        }
    }

    void shiftTabFirstGoesToTheLastButton() {
        tab(1, Qt::ShiftModifier);
        QCOMPARE(keys().FocusedButton(), int(MainScreen::Alarms));
    }

    void spacePressesAndReleasesTheFocusedButton() {
        QVERIFY(tabTo(QStringLiteral("LED 3 on")));
        const int x0 = mainlayout::PanelLeft(2);
        QTest::keyPress(&dialog(), Qt::Key_Space);
        // Held: the switch shows the state asked for, and nothing is sent yet.
        QVERIFY(surfacechecks::shows(surface(), mainlayout::kSwitch.pressedPicture, x0,
                                     mainlayout::kSwitch.place.y));
        QVERIFY(button(QStringLiteral("LED 3 on"))->state().pressed);
        QVERIFY(panel_->callLines().filter(QStringLiteral("TurnONLEDs")).isEmpty());
        QTest::keyRelease(&dialog(), Qt::Key_Space);
        QCOMPARE(status(QStringLiteral("unit0.channel3.on")), QStringLiteral("1"));
        QVERIFY(!button(QStringLiteral("LED 3 on"))->state().pressed);
    }

    void spaceOnAMenuButtonMovesTheRingToTheNewScreen() {
        QVERIFY(tabTo(QStringLiteral("MAINTENANCE")));
        QTest::keyClick(&dialog(), Qt::Key_Space);
        QCOMPARE(dialog().router().ScreenState(), screens::kMaintenance);
        QCOMPARE(keys().FocusedButton(), 0);
        QTest::keyClick(&dialog(), Qt::Key_Space);
        QCOMPARE(dialog().router().ScreenState(), screens::kMain);
    }

    // Qt moves the focus off a slider that the main screen hides; that is no Tab.
    void leavingAFocusedSliderShowsNoRing() {
        dialog().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog()));
        dialog().slider(2).setFocus();
        QCOMPARE(QApplication::focusWidget(), &dialog().slider(2));
        QTest::mouseClick(&dialog(), Qt::LeftButton, {}, QPoint(800, 380));
        QCOMPARE(dialog().router().ScreenState(), screens::kGroupingFirst);
        QVERIFY(!keys().IsRingShown());
        tab();
        QCOMPARE(keys().FocusedButton(), int(kGroupingFirstStop));
    }

    void spaceDoesNothingBeforeTheKeyboardIsUsed() {
        QTest::keyClick(&dialog(), Qt::Key_Space);
        QCOMPARE(keys().FocusedButton(), kNoButton);
        QCOMPARE(dialog().router().HeldButton(), kNoButton);
        QVERIFY(panel_->calls().filter(QStringLiteral("TurnONLEDs")).isEmpty());
    }

    void returnNeverClosesAndEscapeStillEnds() {
        QVERIFY(tabTo(QStringLiteral("EXIT")));
        QTest::keyClick(&dialog(), Qt::Key_Return);
        QTest::keyClick(&dialog(), Qt::Key_Enter);
        QVERIFY(!dialog().hasEnded());
        QCOMPARE(dialog().router().ScreenState(), screens::kMain);
        QTest::keyClick(&dialog(), Qt::Key_Escape);
        QVERIFY(dialog().hasEnded());
    }

    // The ring is drawn on the window over the surface's pixels, and only once Tab was used.
    void ringIsDrawnOverTheSurfaceOnlyAfterTab() {
        const QRect nameField(mainlayout::PanelLeft(0), mainlayout::kNameField.place.y,
                              mainlayout::kNameField.place.width, mainlayout::kNameField.place.height);
        const QImage before = surface().copy(nameField);
        QCOMPARE(dialog().grab().toImage().convertToFormat(QImage::Format_RGB32).copy(nameField), before);

        tab();
        QCOMPARE(keys().RingRect(), nameField);
        QCOMPARE(surface().copy(nameField), before);
        const QImage shown = dialog().grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.pixel(nameField.left() + 1, nameField.center().y()), qRgb(255, 214, 0));
        QCOMPARE(shown.pixel(nameField.center()), before.pixel(nameField.center() - nameField.topLeft()));
        // Nothing outside the button changes.
        const QRect valueBox = nameField.translated(0, nameField.height());
        QCOMPARE(shown.copy(valueBox.adjusted(0, 0, -64, 0)),
                 surface().copy(valueBox.adjusted(0, 0, -64, 0)));
    }

    // What the poll redraws and what the keyboard does is announced once control is back in
    // the event loop; what did not change is not.
    void changesAreAnnounced() {
        QCoreApplication::processEvents();
        std::vector<Announcement> told;
        listen(told);
        simOk(QStringLiteral("knob 2 373"));
        simOk(QStringLiteral("led 3 on"));
        poll();
        QVERIFY(heard(told, QAccessible::ValueChanged, QStringLiteral("Violet 405 intensity entry")));
        QVERIFY(heard(told, QAccessible::StateChanged, QStringLiteral("LED 3 on")));
        QVERIFY(!heard(told, QAccessible::ValueChanged, QStringLiteral("UV 365 intensity entry")));
        QVERIFY(!heard(told, QAccessible::StateChanged, QStringLiteral("LED 2 on")));

        told.clear();
        tab();
        QCoreApplication::processEvents();
        QVERIFY(heard(told, QAccessible::Focus, QStringLiteral("LED 1 name")));

        told.clear();
        dialog().router().ChangeScreen(screens::kAlarms);
        QCoreApplication::processEvents();
        QVERIFY(heard(told, QAccessible::ObjectReorder, dialog().windowTitle()));
        QVERIFY(heard(told, QAccessible::Focus, QStringLiteral("RETURN TO MAIN SCREEN")));
        access().SetListener({});
    }

    // A new favourite grouping from the keyboard alone: the list takes the name, Load/Save saves it.
    void favouriteSavedFromTheKeyboard() {
        dialog().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog()));
        QVERIFY(tabTo(QStringLiteral("GROUPING")));
        QTest::keyClick(&dialog(), Qt::Key_Space);
        QCOMPARE(dialog().router().ScreenState(), screens::kGroupingFirst);
        QVERIFY(tabTo(QStringLiteral("ZEPHRA Grouping")));
        tab();
        QWidget* list = QApplication::focusWidget();
        QVERIFY(list != nullptr && list != &dialog());
        QVERIFY(!keys().IsRingShown());
        QTest::keyClicks(list, QStringLiteral("Keys"));
        QTest::keyClick(list, Qt::Key_Tab);
        QCOMPARE(AccessibleName(dialog().router().ShownScreen().Buttons().at(keys().FocusedButton())),
                 QStringLiteral("Load/Save"));
        QCOMPARE(QApplication::focusWidget(), &dialog());
        QTest::keyClick(&dialog(), Qt::Key_Space);
        QCOMPARE(dialog().settings().Favourite(1).name, QStringLiteral("Keys"));
    }

    void focusedButtonIsTheWindowsFocusChild() {
        dialog().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog()));
        QVERIFY(tabTo(QStringLiteral("Violet 405 intensity up")));
        QAccessibleInterface* focused = window()->focusChild();
        QVERIFY(focused != nullptr);
        QCOMPARE(focused->text(QAccessible::Name), QStringLiteral("Violet 405 intensity up"));
        QVERIFY(focused->state().focused);
        QVERIFY(!button(QStringLiteral("Violet 405 intensity down"))->state().focused);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
