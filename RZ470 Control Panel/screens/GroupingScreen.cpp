#include "GroupingScreen.h"

#include "FavouriteGroupings.h"
#include "GroupingLayout.h"
#include "MenuButtons.h"
#include "PanelPainter.h"
#include "PanelStyle.h"
#include "Prompts.h"
#include "ScreenNavigation.h"
#include "ScreenStates.h"
#include "UnitSession.h"

#include <QString>

using namespace groupinglayout;

namespace {

constexpr StripLook kGroupingStrip{kClosedPanelPicture, kClosedPanelHeight,      kOpenedPanelPicture,
                                   kOpenedPanelHeight,  screens::kGroupingFirst, true};

using layout::Face;
using layout::Tone;

// The places of the fixed texts: right of the switches, the instructions below the strip, the
// favourites' caption and the heading above the switches.
constexpr layout::Place kSwitchCaptions{1226, 98, 195, 200};
constexpr layout::Place kInstructions{0, 170, 860, 175};
constexpr layout::Place kFavouritesCaption{860, 225, 212, 30};
constexpr layout::Place kHeadingPlace{1072, 25, 153, 73};

// The texts after the switches, in drawing order.
constexpr layout::BoxedText kFixedTexts[] = {
    {{{1228, 115}, "PELION Grouping", Face::Large, Tone::Caption}, kSwitchCaptions},
    {{{1228, 182}, "ZEPHRA Grouping", Face::Large, Tone::Caption}, kSwitchCaptions},
    {{{1228, 253}, "Load/Save", Face::Large, Tone::Caption}, kSwitchCaptions},
    {{{50, 175}, "Grouping LEDs together enables:", Face::Small, Tone::Heading}, kInstructions},
    {{{60, 190}, "- Simultaneous on/off control of several LEDs via USB", Face::Small, Tone::Heading},
     kInstructions},
    {{{60, 205},
      "- Compatibility with 4-channel Kynex PELION1 device drivers (*Selecting this option when ZEPHRA is "
      "selected clears all entries)",
      Face::Small,
      Tone::Heading},
     kInstructions},
    {{{60, 220},
      "- Compatibility with 6-channel Kynex ZEPHRA device drivers (*Turning this option off clears all "
      "entries)",
      Face::Small,
      Tone::Heading},
     kInstructions},
    {{{20, 242}, "PELION Grouping", Face::Medium, Tone::Caption}, kInstructions},
    {{{60, 260},
      "1. Assign LEDs to Groups 1 - 4.  Use 0 to omit an LED. (Group numbers will correspond to LED/Channel# "
      "in Kynex PELION1 drivers.)",
      Face::Small,
      Tone::Heading},
     kInstructions},
    {{{60, 275}, "2. Click \u201cPELION ON\u201d to enable grouping. ", Face::Small, Tone::Heading},
     kInstructions},
    {{{20, 292}, "ZEPHRA Grouping", Face::Medium, Tone::Caption}, kInstructions},
    {{{60, 310},
      "1. Assign LEDs to Groups 1 - 6.  Use 0 to omit an LED. (Group numbers will correspond to LED/Channel# "
      "in Kynex ZEPHRA drivers.)",
      Face::Small,
      Tone::Heading},
     kInstructions},
    {{{60, 325}, "2. Click \u201cZEPHRA ON\u201d to enable grouping. ", Face::Small, Tone::Heading},
     kInstructions},
    {{{865, 230}, "Favorite Groupings", Face::Medium, Tone::Caption}, kFavouritesCaption},
};
constexpr layout::BoxedText kHeading{{{1105, 70}, "GROUPING", Face::Large, Tone::Heading}, kHeadingPlace};

ButtonRow SwitchRow(const layout::Place& place, const char* name, std::function<bool()> lit,
                    std::function<void()> action) {
    ButtonRow row;
    row.access.role = ButtonAccess::Role::Toggle;
    row.access.name = [name] { return QString::fromLatin1(name); };
    row.access.checked = std::move(lit);
    row.place = place;
    row.region = row.place.region();
    row.normalPicture = kSwitchDark;
    row.pressedPicture = kSwitchDark;
    // Its look is the present mode's, pressed or not; the mode change redraws it.
    row.keepOnRelease = true;
    row.action = std::move(action);
    return row;
}

}  // namespace

GroupingScreen::GroupingScreen(ScreenContext& context)
    : OpenedLedStripScreen(context, kGroupingStrip),
      edits_(context.session),
      favourites_(std::make_unique<FavouriteGroupings>(context.window, context.settings, context.prompts,
                                                       context.session.tables())) {
    BuildButtons();
}

GroupingScreen::~GroupingScreen() = default;

GroupingAndTrigger& GroupingScreen::tables() {
    return ctx_.session.tables();
}

uint8_t GroupingScreen::OpenedGroup() {
    return tables().ledGroup[OpenedChannel()];
}

void GroupingScreen::BuildButtons() {
    using namespace menubuttons;
    const auto toScreen = [this](int state) { return [this, state] { ctx_.router.ChangeScreen(state); }; };
    buttons_.push_back(MenuRow({&kReturnToMain, true, toScreen(screens::kMain)}));
    buttons_.push_back(MenuRow({&kTrigger, false, toScreen(screens::kTriggerFirst + OpenedLed())}));
    AddPanelRows();
    buttons_.push_back(ClearRow("CLEAR GROUPING", kClearCaptionDx, [this] { ClearGroup(); }));
    buttons_.push_back(ForOpenedChannel(ArrowRow(openedstrip::kDownArrow, kGroupRow, [this] { StepDown(); }),
                                        " group number down"));
    buttons_.push_back(ForOpenedChannel(ArrowRow(openedstrip::kUpArrow, kGroupRow, [this] { StepUp(); }),
                                        " group number up"));
    ButtonRow field = ForOpenedChannel(FieldRow(kGroupRow, [this] { EnterGroupNumber(); }), " group number");
    field.access.value = [this] { return QString::number(OpenedGroup()); };
    buttons_.push_back(std::move(field));
    buttons_.push_back(MenuRow({&kMaintenance, true, toScreen(screens::kMaintenance)}));
    buttons_.push_back(MenuRow({&kAlarms, false, toScreen(screens::kAlarms)}));
    buttons_.push_back(SwitchRow(
        kPelionSwitch, "PELION Grouping", [this] { return tables().groupingMode == 1; },
        [this] { SwitchGroupingMode(0); }));
    buttons_.push_back(SwitchRow(
        kZephraSwitch, "ZEPHRA Grouping", [this] { return tables().groupingMode == 2; },
        [this] { SwitchGroupingMode(1); }));

    ButtonRow loadSave;
    loadSave.place = kLoadSave.place.movedBy(kLoadSavePressedDx);
    loadSave.region = kLoadSave.place.region();
    loadSave.normalPicture = kLoadSave.picture;
    loadSave.pressedPicture = kLoadSave.pressedPicture;
    loadSave.caption = kLoadSaveCaption;
    loadSave.captionWhenPressed = true;
    loadSave.captionOnRelease = true;
    loadSave.action = [this] { FavouriteOptions(); };
    buttons_.push_back(std::move(loadSave));
}

std::vector<int> GroupingScreen::OpenedControls() const {
    return {ClearGrouping, NumberField, DownArrow, UpArrow};
}

QString GroupingScreen::PanelValue(int panel) {
    return QStringLiteral("group %1").arg(tables().ledGroup[ChannelAt(panel)]);
}

std::vector<Screen::FocusWidget> GroupingScreen::FocusWidgets() const {
    return {{&favourites_->widget(), LoadSave}};
}

void GroupingScreen::Enter() {
    OpenedLedStripScreen::Enter();
    favourites_->Show();
}

void GroupingScreen::Leave() {
    favourites_->Hide();
}

void GroupingScreen::Paint() {
    PaintGroupingEditor();
    PaintGroupingScreen();
    // The icons only: this screen has no status bar labels.
    DrawStatusIcons();
    PaintGroupingValues(false);
}

void GroupingScreen::PaintGroupingEditor() {
    DrawStrip();
    DrawRows(ClearGrouping, UpArrow);
}

void GroupingScreen::PaintGroupingScreen() {
    DrawRows(ReturnToMain, Trigger);
    DrawRows(Maintenance, Alarms);

    PanelPainter& painter = ctx_.painter;
    panelstyle::DrawText(painter, kHeading);
    DrawModeSwitches();
    ButtonRow loadSave = buttons_[LoadSave];
    loadSave.place = kLoadSave.place;
    DrawButtonRow(painter, loadSave, false, true);
    for (const layout::BoxedText& text : kFixedTexts) {
        panelstyle::DrawText(painter, text);
    }
    favourites_->RefreshFavourites();
}

void GroupingScreen::PaintGroupingValues(bool valuesOnly) {
    for (int i = 0; i < rz470::kChannelCount; ++i) {
        if (!IsFitted(i)) {
            continue;
        }
        if (!valuesOnly) {
            DrawName(i);
        }
        DrawValue(i, kGroupRow, QString::number(tables().ledGroup[ChannelAt(i)]), valuesOnly);
    }
}

void GroupingScreen::DrawModeSwitches() {
    const uint8_t mode = tables().groupingMode;
    for (const auto& [place, lit] :
         {std::pair{kPelionSwitch, mode == 1}, std::pair{kZephraSwitch, mode == 2}}) {
        ctx_.painter.DrawBitmap(lit ? kSwitchLit : kSwitchDark, place.x, place.y, place.width, place.height);
    }
}

void GroupingScreen::DrawPressed(int id) {
    if (id == PelionSwitch || id == ZephraSwitch) {
        DrawModeSwitches();
        return;
    }
    Screen::DrawPressed(id);
}

void GroupingScreen::ShowEdit(const ActionResult& result) {
    if (result.outcome == ActionOutcome::Done) {
        favourites_->RefreshFavourites();
    }
    PaintGroupingValues(true);
}

void GroupingScreen::ClearGroup() {
    ShowEdit(edits_.ClearGroup(OpenedChannel()));
}

void GroupingScreen::StepDown() {
    ShowEdit(edits_.StepGroupDown(OpenedChannel()));
}

void GroupingScreen::StepUp() {
    ShowEdit(edits_.StepGroupUp(OpenedChannel()));
}

void GroupingScreen::EnterGroupNumber() {
    const std::optional<int> group = EnteredNumber(OpenedGroup());
    if (!group) {
        PaintGroupingValues(true);
        return;
    }
    // A number above the mode's limit is dropped unannounced.
    ShowEdit(edits_.SetGroup(OpenedChannel(), static_cast<unsigned>(*group)));
}

void GroupingScreen::SwitchGroupingMode(int toggle) {
    const auto mode = static_cast<uint8_t>(toggle + 1);
    // Only turning grouping off empties the groups and sends them.
    const bool turnsOff = tables().groupingMode == mode;
    const ActionResult result = edits_.SwitchMode(mode);
    if (turnsOff) {
        ShowEdit(result);
    }
    DrawModeSwitches();
    if (!result.message.isEmpty()) {
        ctx_.prompts.message(result.message, result.title);
    }
}

void GroupingScreen::FavouriteOptions() {
    if (!favourites_->FavouriteOptions()) {
        return;
    }
    // A loaded favourite is shown and sent as it is, whatever its mode allows.
    edits_.SendLoaded();
    PaintGroupingValues(true);
    DrawModeSwitches();
}
