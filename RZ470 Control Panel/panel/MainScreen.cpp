#include "MainScreen.h"

#include "GroupingState.h"
#include "MenuButtons.h"
#include "PanelPainter.h"
#include "PanelStyle.h"
#include "ProfileStore.h"
#include "SettingsKeys.h"
#include "StatusBar.h"
#include "UnitTable.h"

namespace {

using namespace menubuttons;

constexpr int kPanelCount = rz470::kChannelCount;
constexpr int kPanelStride = 156;

// Panel 0's rows; panel k adds 156·k to left, right and x. Row 4 carries no button.
const HitRegion kPanelZeroRows[MainScreen::kButtonsPerPanel] = {
    {3, 25, 159, 85, 3, 25, 156, 60, 163, 163, false},    // name field
    {3, 85, 95, 143, 3, 85, 92, 58, 143, 143, false},     // value box
    {3, 143, 95, 213, 3, 143, 92, 70, 168, 169, false},   // up arrow
    {3, 213, 95, 283, 3, 213, 92, 70, 166, 167, false},   // down arrow
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, false},                // none
    {3, 283, 159, 343, 3, 283, 156, 60, 164, 165, true},  // switch: its owner redraws it
};
constexpr HitRegion kNoRegion{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, false};

// Menu buttons by id from Exit on, which is also the order the menu bar is drawn in.
const MenuButton* const kMenuById[] = {&kExit, &kGrouping, &kTrigger, &kMaintenance, &kAlarms, &kDemoLoop};

struct PanelPicture {
    int id, dx, y, width, height;
};
const PanelPicture kPanelPictures[] = {
    {163, 0, 25, 156, 60},   // name field
    {143, 0, 85, 92, 58},    // value box
    {168, 0, 143, 92, 70},   // up arrow
    {166, 0, 213, 92, 70},   // down arrow
    {232, 92, 85, 64, 20},   // scale top
    {231, 92, 263, 64, 20},  // scale bottom
};
constexpr int kNamePicture = 163;
constexpr int kValuePicture = 143;
constexpr int kNameTextDx = 20, kNameTextY = 45;
constexpr int kValueTextDx = 14, kValueTextY = 105;
constexpr int kSwitchY = 283, kSwitchWidth = 156, kSwitchHeight = 60;
constexpr int kSwitchOff = 164, kSwitchOn = 165, kTriggeredOff = 129, kTriggeredOn = 178;

ButtonTable MakeMainTable() {
    ButtonTable table;
    for (int k = 0; k < kPanelCount; ++k) {
        for (HitRegion row : kPanelZeroRows) {
            if (row.right != 0) {
                const auto shift = static_cast<uint16_t>(kPanelStride * k);
                row.left = static_cast<uint16_t>(row.left + shift);
                row.right = static_cast<uint16_t>(row.right + shift);
                row.x = static_cast<uint16_t>(row.x + shift);
            }
            table.push_back(row);
        }
    }
    table.push_back(kNoRegion);  // 54
    table.push_back(kNoRegion);  // 55
    for (const MenuButton* button : kMenuById) {
        table.push_back(button->region());
    }
    return table;
}

const MenuButton* MenuFor(int id) {
    if (id < MainScreen::Exit || id > MainScreen::DemoLoop) {
        return nullptr;
    }
    return kMenuById[id - MainScreen::Exit];
}

}  // namespace

MainScreen::MainScreen(ScreenContext& context)
    : Screen(context), buttons_(MakeMainTable()), actions_(context, *this) {}

QString MainScreen::IntensityText(uint16_t intensity) {
    // Rounded through single precision, as the unit's own display does.
    const float percent = static_cast<float>(intensity / 10.0);
    return QString::asprintf("%.01f%%", static_cast<double>(percent));
}

bool MainScreen::IsFitted(int panel) const {
    return (ctx_.table.channelAtPanel(panel).status & rz470::ChannelStatus::Fitted) != 0;
}

void MainScreen::Paint() {
    DrawMenuBar();
    DrawChannelPanels();
    ctx_.statusBar.DrawStatusBar(ctx_.table.unit().unitStatus);
}

void MainScreen::DrawMenuBar() {
    for (const MenuButton* button : kMenuById) {
        DrawMenuButton(ctx_.painter, *button, false, true);
    }
}

void MainScreen::DrawChannelPanels() {
    for (int k = 0; k < kPanelCount; ++k) {
        const int x0 = PanelLeft(k);
        for (const PanelPicture& picture : kPanelPictures) {
            ctx_.painter.DrawBitmap(picture.id, x0 + picture.dx, picture.y, picture.width, picture.height);
        }
        const rz470::ChannelRecord& record = ctx_.table.channelAtPanel(k);
        DrawSwitch(k, (record.status & rz470::ChannelStatus::LedOn) != 0);
        if (IsFitted(k)) {
            ctx_.painter.DrawLabel(ctx_.painter.fonts().large, panelstyle::kValue, x0 + kValueTextDx,
                                   kValueTextY, IntensityText(record.intensity));
        }
        DrawChannelName(k);
    }
    ctx_.host.ShowLedSliders();
}

void MainScreen::DrawChannelName(int panel) {
    if (!IsFitted(panel)) {
        return;
    }
    const int x0 = PanelLeft(panel);
    const rz470::ChannelRecord& record = ctx_.table.channelAtPanel(panel);
    ctx_.painter.DrawBitmap(kNamePicture, x0, 25, 156, 60);
    // The name is not clipped: a long one runs over the next panel until that is drawn again.
    const QByteArray name(record.name, static_cast<int>(qstrnlen(record.name, sizeof record.name)));
    ctx_.painter.DrawLabel(ctx_.painter.fonts().large, panelstyle::kValue, x0 + kNameTextDx, kNameTextY,
                           QString::fromLatin1(name));
}

void MainScreen::DrawSwitch(int panel, bool on) {
    const bool triggered = ctx_.table.channelAtPanel(panel).triggered != 0;
    const int picture = triggered ? (on ? kTriggeredOn : kTriggeredOff) : (on ? kSwitchOn : kSwitchOff);
    ctx_.painter.DrawBitmap(picture, PanelLeft(panel), kSwitchY, kSwitchWidth, kSwitchHeight);
}

void MainScreen::ShowAndSaveIntensity(int panel, bool fromSlider) {
    rz470::ChannelRecord& record = ctx_.table.channelAtPanel(panel);
    if (!fromSlider) {
        ctx_.host.SetSliderPosition(panel, rz470::kMaxIntensity - record.intensity);
    }
    const int x0 = PanelLeft(panel);
    ctx_.painter.DrawBitmap(kValuePicture, x0, 85, 92, 58);
    if (!IsFitted(panel)) {
        return;
    }
    ctx_.painter.DrawLabel(ctx_.painter.fonts().large, panelstyle::kValue, x0 + kValueTextDx, kValueTextY,
                           IntensityText(record.intensity));
    ctx_.profile.writeInt(settings::kIntensitiesSection,
                          settings::valueName(settings::kIntensityValue, record.wavelength),
                          record.intensity);
}

void MainScreen::DrawPressed(int id) {
    const int panel = id / kButtonsPerPanel;
    if (id < Exit && id % kButtonsPerPanel == Switch) {
        // The pressed switch shows the state the click asks for.
        const rz470::ChannelRecord& record = ctx_.table.channelAtPanel(panel);
        const bool on = (record.status & rz470::ChannelStatus::LedOn) != 0;
        const int picture =
            record.triggered != 0 ? (on ? kTriggeredOff : kTriggeredOn) : (on ? kSwitchOff : kSwitchOn);
        ctx_.painter.DrawBitmap(picture, PanelLeft(panel), kSwitchY, kSwitchWidth, kSwitchHeight);
        return;
    }
    if (const MenuButton* button = MenuFor(id)) {
        // GROUPING and ALARMS show their pressed picture without caption.
        DrawMenuButton(ctx_.painter, *button, true, id != Grouping && id != Alarms);
        return;
    }
    Screen::DrawPressed(id);
}

void MainScreen::Release(int id) {
    if (id != kNoButton) {
        const HitRegion& region = buttons_[static_cast<size_t>(id)];
        if (!region.keepOnRelease) {
            DrawRegion(region, false);
        }
        if (id < Exit) {
            const int panel = id / kButtonsPerPanel;
            if (id % kButtonsPerPanel == ValueBox) {
                ShowAndSaveIntensity(panel, true);
            } else if (id % kButtonsPerPanel == NameField) {
                DrawChannelName(panel);
            }
        }
    }
    HandleMainClick(id);
}

void MainScreen::HandleMainClick(int id) {
    // The menu buttons that leave the main screen, and where they lead.
    struct ScreenLink {
        int id;
        int screen;
    };
    static constexpr ScreenLink kScreenLinks[] = {{Grouping, screens::kGroupingFirst},
                                                  {Trigger, screens::kTriggerFirst},
                                                  {Maintenance, screens::kMaintenance},
                                                  {Alarms, screens::kAlarms}};
    for (const ScreenLink& link : kScreenLinks) {
        if (link.id == id) {
            // The trigger screen shows what the unit holds now.
            if (id == Trigger) {
                ReadGroupingAndTrigger(ctx_.api, ctx_.table.unit().deviceIndex, ctx_.grouping);
            }
            ctx_.host.HideLedSliders();
            ctx_.host.ChangeScreen(link.screen);
            return;
        }
    }
    if (id == Exit) {
        ctx_.host.SendCloseMessage();
    } else if (id == DemoLoop) {
        ctx_.host.RunDemoLoop();
    } else if (id >= 0 && id < Exit) {
        HandleChannelClick(id / kButtonsPerPanel, id % kButtonsPerPanel);
    }
}

void MainScreen::HandleChannelClick(int panel, int button) {
    switch (button) {
        case NameField:
            actions_.RenameChannel(panel);
            break;
        case ValueBox:
            actions_.TypeIntensity(panel);
            break;
        case UpArrow:
            actions_.StepUp(panel);
            break;
        case DownArrow:
            actions_.StepDown(panel);
            break;
        case Switch:
            actions_.ToggleSwitch(panel);
            break;
        default:
            break;
    }
}
