// The favourite groupings on the real dialog with the simulated unit: the list under "Favorite
// Groupings" and its Load/Save button, checked in the combo box, the stored values, the answers
// asked for and the calls made.
#include "FavouriteGroupings.h"
#include "GroupingAndTrigger.h"
#include "GroupingLayout.h"
#include "PanelSettings.h"
#include "SettingsKeys.h"
#include "SimulatedPanelTest.h"
#include "SurfaceChecks.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QtTest>

#include <optional>

using namespace surfacechecks;

namespace {

using Groups = std::array<uint8_t, 9>;
using Option = Prompts::FavouriteOption;

constexpr QPoint kGroupingButton(800, 380);
constexpr QPoint kLoadSave(1140, 265);
const QString kAbsent = QStringLiteral("<absent>");
const QString kSameName =
    QStringLiteral("The same name was found in the list, Please select a different name and try again ");
const QString kListFull = QStringLiteral(
    "There are 10 combination settings already, please delete one or just modify one exist setting value "
    "then "
    "try again, ");

struct Stored {
    int slot;
    QString name;
    Groups groups;
    int mode;
};

const Groups kPresent{1, 1, 2, 0, 0, 0, 0, 0, 3};
const Groups kOther{0, 0, 0, 0, 4, 0, 0, 0, 0};

// A second panel's favourites on the same settings file, with a cache of its own as another
// process has: its store opens the file under a second name.
struct OtherPanel {
    OtherPanel(const QString& file, const QString& link)
        : linked(QFile::link(file, link)),
          store(link),
          settings(store),
          favourites(window, settings, prompts, tables) {}

    void save(const QString& name) {
        favourites.RefreshFavourites();
        auto& combo = static_cast<QComboBox&>(favourites.widget());
        combo.lineEdit()->selectAll();
        QTest::keyClicks(combo.lineEdit(), name);
        favourites.FavouriteOptions();
    }
    void act(const QString& name, Prompts::FavouriteOption option) {
        favourites.RefreshFavourites();
        auto& combo = static_cast<QComboBox&>(favourites.widget());
        combo.setCurrentIndex(combo.findText(name));
        emit combo.activated(combo.currentIndex());
        prompts.options = {option};
        favourites.FavouriteOptions();
    }

    bool linked;
    ProfileStore store;
    PanelSettings settings;
    ScriptedPrompts prompts;
    GroupingAndTrigger tables;
    QWidget window;
    FavouriteGroupings favourites;
};

}  // namespace

Q_DECLARE_METATYPE(Groups)
Q_DECLARE_METATYPE(Prompts::FavouriteOption)
Q_DECLARE_METATYPE(QList<Stored>)

class FavouritesTest : public SimulatedPanelTest {
    Q_OBJECT

private:
    QComboBox& combo() { return *dialog().findChild<QComboBox*>(); }

    void store(const QList<Stored>& favourites) {
        for (const Stored& f : favourites) {
            dialog().settings().SetFavourite(f.slot, {f.name, PanelSettings::PackGroups(f.groups), f.mode});
        }
    }
    // The grouping screen with the grouping and mode given, the log and the prompts empty.
    void open(const Groups& groups = kPresent, uint8_t mode = 1) {
        tables().ledGroup = groups;
        tables().groupingMode = mode;
        click(kGroupingButton);
        QCOMPARE(dialog().router().ScreenState(), 15);
        panel_->clearLog();
    }
    QStringList items() {
        QStringList texts;
        for (int i = 0; i < combo().count(); ++i) {
            texts << combo().itemText(i);
        }
        return texts;
    }
    // As the user does it: into the text field, replacing what it shows.
    void type(const QString& text) {
        combo().lineEdit()->selectAll();
        QTest::keyClick(combo().lineEdit(), Qt::Key_Backspace);
        QTest::keyClicks(combo().lineEdit(), text);
    }
    // A key pressed while the list box has the focus: the window system gives it to the box, not
    // to its text field, whose focus the box takes.
    void press(Qt::Key key) {
        QCOMPARE(combo().lineEdit()->focusProxy(), &combo());
        QTest::keyClick(&combo(), key);
    }
    // As the list does when the user picks an item.
    void choose(int item) {
        combo().setCurrentIndex(item);
        emit combo().activated(item);
    }
    // As the file holds it now.
    QString storedName(int slot) {
        panel_->profile().reload();
        return panel_->profile().readString(settings::kFavouritesSection, QStringLiteral("Name%1").arg(slot),
                                            kAbsent);
    }
    int storedInt(const char* pattern, int slot) {
        panel_->profile().reload();
        return panel_->profile().readInt(settings::kFavouritesSection, settings::valueName(pattern, slot),
                                         -99);
    }
    int groupingSends() { return panel_->calls().count(QStringLiteral("SetGrouping")); }

private slots:
    void noFavourites() {
        open();
        QCOMPARE(items(), QStringList{"Not Selected"});
        QCOMPARE(combo().currentIndex(), 0);
        QVERIFY(combo().isEditable());
        click(kLoadSave);
        QCOMPARE(panel_->prompts.optionsAsked, 0);
        QVERIFY(panel_->prompts.shown.isEmpty());
        QCOMPARE(storedName(1), kAbsent);
    }

    void listSelectsTheFavouriteInForce_data() {
        QTest::addColumn<QList<Stored>>("favourites");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("selected");
        QTest::newRow("same groups and mode")
            << QList<Stored>{{3, "Alpha", kPresent, 1}} << QStringList{"Not Selected", "Alpha"} << "Alpha";
        QTest::newRow("same groups, other mode") << QList<Stored>{{3, "Alpha", kPresent, 2}}
                                                 << QStringList{"Not Selected", "Alpha"} << "Not Selected";
        QTest::newRow("other groups, same mode") << QList<Stored>{{3, "Alpha", kOther, 1}}
                                                 << QStringList{"Not Selected", "Alpha"} << "Not Selected";
        QTest::newRow("two equal: the lower slot wins, listed in slot order")
            << QList<Stored>{{5, "High", kPresent, 1}, {2, "Low", kPresent, 1}, {1, "Other", kOther, 1}}
            << QStringList{"Not Selected", "Other", "Low", "High"} << "Low";
    }

    void listSelectsTheFavouriteInForce() {
        QFETCH(QList<Stored>, favourites);
        QFETCH(QStringList, listed);
        QFETCH(QString, selected);
        store(favourites);
        open();
        QCOMPARE(items(), listed);
        QCOMPARE(combo().currentText(), selected);
    }

    void typedNames_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<QString>("message");  // empty: saved
        QTest::newRow("a name in use") << "Beta" << false << kSameName;
        QTest::newRow("a name in use, Enter selects its item") << "Beta" << true << kSameName;
        QTest::newRow("the name in other case") << "beta" << false << QString();
        QTest::newRow("the name in other case, Enter") << "beta" << true << QString();
        QTest::newRow("empty") << "" << false << kSameName;
    }

    // A typed name is saved into the first free slot unless a stored name equals it exactly.
    void typedNames() {
        QFETCH(QString, typed);
        QFETCH(bool, enter);
        QFETCH(QString, message);
        store({{1, "Beta", kOther, 2}, {3, "Alpha", kOther, 0}});
        open();
        type(typed);
        if (enter) {
            press(Qt::Key_Return);
        }
        click(kLoadSave);
        QCOMPARE(panel_->prompts.optionsAsked, 0);
        if (!message.isEmpty()) {
            QCOMPARE(panel_->prompts.texts(), QStringList{message});
            QCOMPARE(panel_->prompts.shown[0].title, QStringLiteral("Action"));
            QCOMPARE(storedName(2), kAbsent);
            return;
        }
        QVERIFY(panel_->prompts.shown.isEmpty());
        QCOMPARE(storedName(2), typed);
        QCOMPARE(storedInt(settings::kFavouriteGroupsValue, 2), int(PanelSettings::PackGroups(kPresent)));
        QCOMPARE(storedInt(settings::kFavouriteModeValue, 2), 1);
        QCOMPARE(items(), (QStringList{"Not Selected", "Beta", "Alpha", typed}));
        QCOMPARE(combo().currentIndex(), 3);
        QCOMPARE(groupingSends(), 0);
    }

    void tenFavouritesLeaveNoRoom() {
        for (int slot = 1; slot <= 10; ++slot) {
            store({{slot, QStringLiteral("F%1").arg(slot), kOther, 0}});
        }
        open();
        type(QStringLiteral("Eleven"));
        click(kLoadSave);
        QCOMPARE(panel_->prompts.texts(), QStringList{kListFull});
        QCOMPARE(panel_->prompts.shown[0].title, QStringLiteral("Action"));
        QCOMPARE(combo().count(), 11);
        for (int slot = 1; slot <= 10; ++slot) {
            QCOMPARE(storedName(slot), QStringLiteral("F%1").arg(slot));
        }
    }

    // Until the next rebuild a new favourite is listed last, whatever its slot.
    void aNewFavouriteTakesTheFirstFreeSlot() {
        store({{1, "One", kOther, 0}, {2, "Two", kOther, 0}});
        open();
        choose(1);
        panel_->prompts.options = {Option::Delete};
        click(kLoadSave);
        type(QStringLiteral("Three"));
        click(kLoadSave);
        QCOMPARE(storedName(1), QStringLiteral("Three"));
        QCOMPARE(items(), (QStringList{"Not Selected", "Two", "Three"}));
        QCOMPARE(combo().currentText(), QStringLiteral("Three"));
        dialog().router().PaintScreen();
        QCOMPARE(items(), (QStringList{"Not Selected", "Three", "Two"}));
        QCOMPARE(combo().currentText(), QStringLiteral("Three"));
    }

    void deletingKeepsTheListAndItsSlotsTogether_data() {
        QTest::addColumn<int>("deleted");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<Groups>("secondItemGroups");
        QTest::newRow("the middle item") << 2 << QStringList{"Not Selected", "A", "C"} << Groups{0, 0, 3};
        QTest::newRow("the last item") << 3 << QStringList{"Not Selected", "A", "B"} << Groups{0, 2};
    }

    void deletingKeepsTheListAndItsSlotsTogether() {
        QFETCH(int, deleted);
        QFETCH(QStringList, listed);
        QFETCH(Groups, secondItemGroups);
        store({{1, "A", {1}, 0}, {2, "B", {0, 2}, 0}, {4, "C", {0, 0, 3}, 0}});
        open();
        choose(deleted);
        panel_->prompts.options = {Option::Delete};
        click(kLoadSave);
        QCOMPARE(items(), listed);
        QCOMPARE(combo().currentIndex(), 0);
        // The values stay, emptied.
        const int slot = deleted == 2 ? 2 : 4;
        QCOMPARE(storedName(slot), QString());
        QCOMPARE(storedInt(settings::kFavouriteGroupsValue, slot), 0);
        QCOMPARE(storedInt(settings::kFavouriteModeValue, slot), 0);

        // The item after the deleted one loads its own slot.
        choose(2);
        panel_->prompts.options = {Option::Load};
        click(kLoadSave);
        QCOMPARE(tables().ledGroup, secondItemGroups);
    }

    void savingOverKeepsNameAndPlace() {
        store({{1, "A", kOther, 1}, {2, "B", kOther, 2}, {3, "C", kOther, 0}});
        open(kPresent, 1);
        choose(2);
        panel_->prompts.options = {Option::Save};
        click(kLoadSave);
        QCOMPARE(panel_->prompts.optionsAsked, 1);
        QCOMPARE(storedName(2), QStringLiteral("B"));
        QCOMPARE(storedInt(settings::kFavouriteGroupsValue, 2), int(PanelSettings::PackGroups(kPresent)));
        QCOMPARE(storedInt(settings::kFavouriteModeValue, 2), 1);
        QCOMPARE(items(), (QStringList{"Not Selected", "A", "B", "C"}));
        QCOMPARE(combo().currentIndex(), 2);
        QCOMPARE(groupingSends(), 0);
        dialog().router().PaintScreen();
        QCOMPARE(combo().currentText(), QStringLiteral("B"));
    }

    void cancelDoesNothing() {
        store({{1, "A", kOther, 2}});
        open();
        choose(1);
        click(kLoadSave);
        QCOMPARE(panel_->prompts.optionsAsked, 1);
        QCOMPARE(tables().ledGroup, kPresent);
        QCOMPARE(storedInt(settings::kFavouriteGroupsValue, 1), int(PanelSettings::PackGroups(kOther)));
        QCOMPARE(groupingSends(), 0);
    }

    void loading_data() {
        QTest::addColumn<bool>("unitThere");
        QTest::newRow("unit there") << true;
        QTest::newRow("unit away") << false;
    }

    // Groups and mode come back, are shown and go out as twelve calls even without the unit, with
    // no warning although PELION was on.
    void loading() {
        QFETCH(bool, unitThere);
        const Groups zephra{5, 6, 0, 0, 0, 0, 0, 0, 5};
        store({{4, "Z", zephra, 2}});
        open(kPresent, 1);
        choose(1);
        if (!unitThere) {
            simOk(QStringLiteral("unplug 0"));
        }
        panel_->clearLog();
        panel_->prompts.options = {Option::Load};
        click(kLoadSave);

        QCOMPARE(tables().ledGroup, zephra);
        QCOMPARE(int(tables().groupingMode), 2);
        QVERIFY(panel_->prompts.shown.isEmpty());
        QCOMPARE(groupingSends(), 12);
        using namespace groupinglayout;
        QVERIFY(shows(dialog().router().surface().image(), kSwitchDark, kPelionSwitch.x, kPelionSwitch.y));
        QVERIFY(shows(dialog().router().surface().image(), kSwitchLit, kZephraSwitch.x, kZephraSwitch.y));
        const QString status = panel_->sim(QStringLiteral("status"));
        if (unitThere) {
            QVERIFY2(status.contains(QStringLiteral("unit0.group5=1,9,0,0,0,0,0,0,0")), qPrintable(status));
            QVERIFY(status.contains(QStringLiteral("unit0.group6=2,0,0,0,0,0,0,0,0")));
        }
        // The values were painted as a full paint paints them.
        const QRect fields(0, 100, 1070, 60);
        const QImage loaded = dialog().router().surface().image().copy(fields);
        dialog().router().PaintScreen();
        QVERIFY(dialog().router().surface().image().copy(fields) == loaded);
    }

    // A 7, which names no group, loads as no group, and a mode outside 0..2 as off; the favourite
    // then counts as in force.
    void handEditedFavouriteLoads() {
        ProfileStore& profile = panel_->profile();
        profile.writeString(settings::kFavouritesSection, QStringLiteral("Name1"), QStringLiteral("Edited"));
        profile.writeInt(settings::kFavouritesSection, QStringLiteral("Value1"),
                         int(07300000007u | (1u << 31)));
        profile.writeInt(settings::kFavouritesSection, QStringLiteral("Mode1"), 5);
        open(kPresent, 1);
        QCOMPARE(combo().currentIndex(), 0);
        choose(1);
        panel_->prompts.options = {Option::Load};
        click(kLoadSave);
        QCOMPARE(tables().ledGroup, (Groups{0, 3}));
        QCOMPARE(int(tables().groupingMode), 0);
        QCOMPARE(groupingSends(), 12);
        QVERIFY(panel_->sim(QStringLiteral("status")).contains(QStringLiteral("unit0.group3=2,0,")));
        dialog().router().PaintScreen();
        QCOMPARE(combo().currentText(), QStringLiteral("Edited"));
    }

    // Every send rebuilds the list: what was typed is gone, and Load/Save then does nothing.
    void typedTextIsLostAtASend() {
        open(kPresent, 1);
        type(QStringLiteral("Delta"));
        click(QPoint(openedstrip::PanelLeft(0, 0) + 200, 135));  // down arrow
        QCOMPARE(groupingSends(), 12);
        QCOMPARE(combo().currentText(), QStringLiteral("Not Selected"));
        click(kLoadSave);
        QCOMPARE(storedName(1), kAbsent);
        QVERIFY(panel_->prompts.shown.isEmpty());
        QCOMPARE(panel_->prompts.optionsAsked, 0);
    }

    void anItemPickedAfterTypingIsChosen() {
        store({{1, "A", kOther, 0}});
        open();
        type(QStringLiteral("xyz"));
        choose(1);
        click(kLoadSave);
        QCOMPARE(panel_->prompts.optionsAsked, 1);
        QCOMPARE(storedName(2), kAbsent);
    }

    // Whatever was typed, an item picked from the list is that favourite, even when it bears the
    // typed name.
    void anItemPickedFromTheListIsChosenWhateverWasTyped_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("inOpenList");
        QTest::newRow("its own name, Enter in the open list") << "Beta" << true;
        QTest::newRow("another name, Enter in the open list") << "xyz" << true;
        QTest::newRow("its own name, picked") << "Beta" << false;
    }

    void anItemPickedFromTheListIsChosenWhateverWasTyped() {
        QFETCH(QString, typed);
        QFETCH(bool, inOpenList);
        store({{1, "Alpha", kOther, 0}, {2, "Beta", kOther, 2}});
        open();
        type(typed);
        if (inOpenList) {
            combo().showPopup();
            QAbstractItemView* view = combo().view();
            view->setCurrentIndex(view->model()->index(2, 0));
            QTest::keyClick(view, Qt::Key_Return);
            QTRY_VERIFY(!view->isVisible());
        } else {
            choose(2);
        }
        QCOMPARE(combo().currentText(), QStringLiteral("Beta"));

        panel_->prompts.options = {Option::Load};
        click(kLoadSave);
        QCOMPARE(panel_->prompts.optionsAsked, 1);
        QVERIFY2(panel_->prompts.shown.isEmpty(), qPrintable(panel_->prompts.texts().join('|')));
        QCOMPARE(int(tables().groupingMode), 2);
    }

    // Save over a favourite writes its groups and mode; its name stays as stored, even one the
    // panel would have written otherwise.
    void savingOverLeavesAHandEditedNameAlone_data() {
        QTest::addColumn<QByteArray>("storedName");  // as it stands in the file
        QTest::newRow("with a comma, unquoted") << QByteArray("a, b");
        QTest::newRow("over 1024 characters") << QByteArray(1500, 'n');
    }

    void savingOverLeavesAHandEditedNameAlone() {
        QFETCH(QByteArray, storedName);
        const QString file = panel_->profile().location();
        {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write("[Grp%20Combinations]\nName1=" + storedName + "\nValue1=0\nMode1=0\n");
        }
        panel_->profile().reload();
        open(kPresent, 1);
        QCOMPARE(items().size(), 2);
        choose(1);
        panel_->prompts.options = {Option::Save};
        click(kLoadSave);

        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray contents = in.readAll();
        QVERIFY2(contents.contains("\nName1=" + storedName + "\n"), contents.left(200).constData());
        QCOMPARE(storedInt(settings::kFavouriteGroupsValue, 1), int(PanelSettings::PackGroups(kPresent)));
        QCOMPARE(storedInt(settings::kFavouriteModeValue, 1), 1);
    }

    // Two panels on one settings file: each chooses a slot and deletes as the file holds them
    // when it acts, not as its list showed them.
    void twoPanelsOnOneFileKeepEachOthersFavourites() {
        QTemporaryDir linkDir;
        OtherPanel other(panel_->profile().location(), linkDir.filePath(QStringLiteral("same.ini")));
        QVERIFY(other.linked);
        open();
        other.favourites.RefreshFavourites();

        type(QStringLiteral("Alpha"));
        click(kLoadSave);
        other.tables.ledGroup = kOther;
        // Its list, built before Alpha was saved, shows slot 1 free.
        auto& otherCombo = static_cast<QComboBox&>(other.favourites.widget());
        otherCombo.lineEdit()->selectAll();
        QTest::keyClicks(otherCombo.lineEdit(), QStringLiteral("Beta"));
        other.favourites.FavouriteOptions();
        QCOMPARE(storedName(1), QStringLiteral("Alpha"));
        QCOMPARE(storedName(2), QStringLiteral("Beta"));

        choose(1);
        panel_->prompts.options = {Option::Delete};
        click(kLoadSave);
        QCOMPARE(storedName(1), QString());
        QCOMPARE(storedName(2), QStringLiteral("Beta"));
        QCOMPARE(storedInt(settings::kFavouriteGroupsValue, 2), int(PanelSettings::PackGroups(kOther)));
        QCOMPARE(items(), (QStringList{"Not Selected", "Beta"}));
        QCOMPARE(combo().currentIndex(), 0);
    }

    void aListGoneStaleActsOnNoOtherFavourite_data() {
        QTest::addColumn<Option>("option");
        QTest::newRow("Save") << Option::Save;
        QTest::newRow("Load") << Option::Load;
        QTest::newRow("Delete") << Option::Delete;
    }

    // Alpha's slot now holds the other panel's Beta: this panel's list still shows Alpha there.
    void aListGoneStaleActsOnNoOtherFavourite() {
        QFETCH(Option, option);
        QTemporaryDir linkDir;
        OtherPanel other(panel_->profile().location(), linkDir.filePath(QStringLiteral("same.ini")));
        QVERIFY(other.linked);
        store({{1, "Alpha", kPresent, 1}});
        open(kPresent, 1);
        other.act(QStringLiteral("Alpha"), Option::Delete);
        other.tables.ledGroup = kOther;
        other.tables.groupingMode = 2;
        other.save(QStringLiteral("Beta"));
        QCOMPARE(other.store.readString(settings::kFavouritesSection, QStringLiteral("Name1"), {}),
                 QStringLiteral("Beta"));

        choose(1);
        panel_->prompts.options = {option};
        click(kLoadSave);
        QCOMPARE(storedName(1), QStringLiteral("Beta"));
        QCOMPARE(storedInt(settings::kFavouriteGroupsValue, 1), int(PanelSettings::PackGroups(kOther)));
        QCOMPARE(storedInt(settings::kFavouriteModeValue, 1), 2);
        QCOMPARE(tables().ledGroup, kPresent);
        QCOMPARE(groupingSends(), 0);
        QCOMPARE(items(), (QStringList{"Not Selected", "Beta"}));
    }

    // Escape first drops the typed name; a second Escape closes the panel as EXIT does.
    void escapeInTheListDropsTheTypedNameThenCloses() {
        store({{1, "Alpha", kPresent, 2}});
        open(kPresent, 2);
        QCOMPARE(combo().currentText(), QStringLiteral("Alpha"));
        combo().lineEdit()->setFocus();
        type(QStringLiteral("Gamma"));
        press(Qt::Key_Escape);
        QVERIFY(!dialog().hasEnded());
        QCOMPARE(combo().currentText(), QStringLiteral("Alpha"));
        QVERIFY(panel_->prompts.shown.isEmpty());
        // What shows is the chosen favourite again, not a name to save.
        panel_->prompts.options = {Option::Cancel};
        click(kLoadSave);
        QCOMPARE(panel_->prompts.optionsAsked, 1);
        QCOMPARE(storedName(2), kAbsent);

        panel_->clearLog();
        press(Qt::Key_Escape);
        QVERIFY(dialog().hasEnded());
        QCOMPARE(panel_->prompts.texts(),
                 QStringList{QStringLiteral("Would you like to save settings on exit?")});
        QVERIFY2(panel_->callLines().join(' ').contains(QStringLiteral("SetGroupingEnabled(0, 2)")),
                 qPrintable(panel_->callLines().join(' ')));
    }

    void listShowsOnlyOnTheGroupingScreen() {
        QVERIFY(combo().isHidden());
        open();
        QVERIFY(!combo().isHidden());
        QCOMPARE(combo().parentWidget(), &dialog());
        click(QPoint(100, 380));
        QVERIFY(combo().isHidden());
    }
};

QTEST_MAIN(FavouritesTest)
#include "tst_favourites.moc"
