#pragma once

#include <string>
#include <vector>

namespace artwork {

// How a picture is drawn; one painter per kind.
enum class Kind {
    Background,
    MenuButton,
    ExitButton,
    WideButton,
    StatusIcon,
    NameField,
    ValueBox,
    ChannelArrow,
    ScaleLabel,
    ChannelSwitch,
    TriggeredSwitch,
    SliderTrack,
    SliderKnob,
    GroupingPanel,
    TriggerPanel,
    ClearButton,
    StepArrow,
    NumberField,
    ModeSwitch,
    AlarmFrame,
    AlarmTile,
    MaintenanceFrame,
    ErrorListFrame,
    ValueFrame,
    WarningPopup,
    TitlePicture,
    AppIcon,
};

// What a picture of its kind shows, where the kind alone does not say it.
enum class Motif {
    None,
    Up,
    Down,
    Bell,
    Bulb,
    Led,
    Padlock,
    ScaleTop,
    ScaleBottom,
    MaxTemp,
    MinTemp,
    ModuleFail,
    LightGuide,
    Comms,
    Watchdog,
    Nvm,
    Performance,
};

struct PictureRow {
    int id;
    int width;
    int height;
    Kind kind;
    Motif motif;
    // The pressed, lit, green or opened form; for the TRIGGERED switch the LED-on look.
    bool active;
    const char* role;
};

// Every picture the panel uses, in contact-sheet order. Application icon rows share id 267 and
// differ by size.
const std::vector<PictureRow>& pictureTable();

const PictureRow* findPicture(int id);

// Path of the generated file relative to the output folder: "bitmaps/<id>.bmp" or
// "icons/267-<size>.png".
std::string fileNameFor(const PictureRow& row, int scale = 1);

}  // namespace artwork
