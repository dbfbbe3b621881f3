#include "PictureTable.h"

namespace artwork {

const std::vector<PictureRow>& pictureTable() {
    // clang-format off
    static const std::vector<PictureRow> table = {
        {131, 1450, 424, Kind::Background,       Motif::None,        false, "background: status strip, panel area, menu strip"},
        {132,  142,  51, Kind::MenuButton,       Motif::None,        false, "menu button, normal"},
        {133,  142,  51, Kind::MenuButton,       Motif::None,        true,  "menu button, pressed"},
        {271,  166,  64, Kind::ExitButton,       Motif::None,        false, "EXIT button with emblem"},
        {202,  342,  51, Kind::WideButton,       Motif::None,        false, "RETURN TO MAIN SCREEN button, normal"},
        {170,  342,  51, Kind::WideButton,       Motif::None,        true,  "RETURN TO MAIN SCREEN button, pressed"},
        {134,   31,  18, Kind::StatusIcon,       Motif::Bell,        false, "alarm bell, dim"},
        {135,   31,  18, Kind::StatusIcon,       Motif::Bell,        true,  "alarm bell, lit"},
        {136,   31,  18, Kind::StatusIcon,       Motif::Bulb,        false, "light guide bulb, dim"},
        {137,   31,  18, Kind::StatusIcon,       Motif::Bulb,        true,  "light guide bulb, lit"},
        {138,   31,  18, Kind::StatusIcon,       Motif::Led,         false, "LED on, dim"},
        {139,   31,  18, Kind::StatusIcon,       Motif::Led,         true,  "LED on, lit"},
        {140,   31,  18, Kind::StatusIcon,       Motif::Padlock,     false, "knob lock padlock, dim"},
        {141,   31,  18, Kind::StatusIcon,       Motif::Padlock,     true,  "knob lock padlock, lit"},
        {163,  156,  60, Kind::NameField,        Motif::None,        false, "channel name field"},
        {143,   92,  58, Kind::ValueBox,         Motif::None,        false, "intensity value box"},
        {168,   92,  70, Kind::ChannelArrow,     Motif::Up,          false, "intensity up arrow, grey"},
        {169,   92,  70, Kind::ChannelArrow,     Motif::Up,          true,  "intensity up arrow, green"},
        {166,   92,  70, Kind::ChannelArrow,     Motif::Down,        false, "intensity down arrow, grey"},
        {167,   92,  70, Kind::ChannelArrow,     Motif::Down,        true,  "intensity down arrow, green"},
        {232,   64,  20, Kind::ScaleLabel,       Motif::ScaleTop,    false, "scale top, 100"},
        {231,   64,  20, Kind::ScaleLabel,       Motif::ScaleBottom, false, "scale bottom, 0"},
        {164,  156,  60, Kind::ChannelSwitch,    Motif::None,        false, "ON/OFF switch, both halves unlit"},
        {165,  156,  60, Kind::ChannelSwitch,    Motif::None,        true,  "ON/OFF switch, ON lit"},
        {129,  156,  60, Kind::TriggeredSwitch,  Motif::None,        false, "TRIGGERED, light (LED off)"},
        {178,  156,  60, Kind::TriggeredSwitch,  Motif::None,        true,  "TRIGGERED, dark (LED on)"},
        {144,   64, 158, Kind::SliderTrack,      Motif::None,        false, "LED slider track"},
        {145,   59,  26, Kind::SliderKnob,       Motif::None,        false, "LED slider knob"},
        {225,   53, 281, Kind::SliderTrack,      Motif::None,        false, "system slider track"},
        {226,   53,  27, Kind::SliderKnob,       Motif::None,        false, "system slider knob"},
        {281,   89, 144, Kind::GroupingPanel,    Motif::None,        false, "grouping panel, closed"},
        {280,  359, 149, Kind::GroupingPanel,    Motif::None,        true,  "grouping panel, opened"},
        {273,   89, 217, Kind::TriggerPanel,     Motif::None,        false, "trigger panel, closed"},
        {274,  359, 223, Kind::TriggerPanel,     Motif::None,        true,  "trigger panel, opened"},
        {278,  246,  50, Kind::ClearButton,      Motif::None,        false, "CLEAR button face"},
        {182,   87,  49, Kind::StepArrow,        Motif::Down,        false, "down arrow, normal"},
        {183,   87,  49, Kind::StepArrow,        Motif::Down,        true,  "down arrow, pressed"},
        {184,   87,  49, Kind::StepArrow,        Motif::Up,          false, "up arrow, normal"},
        {185,   87,  49, Kind::StepArrow,        Motif::Up,          true,  "up arrow, pressed"},
        {200,  132,  46, Kind::NumberField,      Motif::None,        false, "number field of an opened panel"},
        {284,   72,  45, Kind::NumberField,      Motif::None,        false, "number field of a closed panel"},
        {173,  153,  67, Kind::ModeSwitch,       Motif::None,        false, "mode switch, both halves dark"},
        {174,  153,  67, Kind::ModeSwitch,       Motif::None,        true,  "mode switch, ON lit"},
        {282,  790, 312, Kind::AlarmFrame,       Motif::None,        false, "alarms frame"},
        {152,  101, 107, Kind::AlarmTile,        Motif::MaxTemp,     false, "Max Temp Exceeded, normal"},
        {153,  101, 107, Kind::AlarmTile,        Motif::MaxTemp,     true,  "Max Temp Exceeded, lit"},
        {154,  101, 107, Kind::AlarmTile,        Motif::MinTemp,     false, "Min Temp Exceeded, normal"},
        {155,  101, 107, Kind::AlarmTile,        Motif::MinTemp,     true,  "Min Temp Exceeded, lit"},
        {148,  101, 107, Kind::AlarmTile,        Motif::ModuleFail,  false, "LED Module Fail, normal"},
        {149,  101, 107, Kind::AlarmTile,        Motif::ModuleFail,  true,  "LED Module Fail, lit"},
        {150,  101, 107, Kind::AlarmTile,        Motif::LightGuide,  false, "Light Guide Not Present, normal"},
        {151,  101, 107, Kind::AlarmTile,        Motif::LightGuide,  true,  "Light Guide Not Present, lit"},
        {146,  101, 107, Kind::AlarmTile,        Motif::Comms,       false, "Comms Error, normal"},
        {147,  101, 107, Kind::AlarmTile,        Motif::Comms,       true,  "Comms Error, lit"},
        {213,  101, 107, Kind::AlarmTile,        Motif::Watchdog,    false, "Watchdog Timeout, normal"},
        {214,  101, 107, Kind::AlarmTile,        Motif::Watchdog,    true,  "Watchdog Timeout, lit"},
        {156,  101, 107, Kind::AlarmTile,        Motif::Nvm,         false, "NVM Fail, normal"},
        {210,  101, 107, Kind::AlarmTile,        Motif::Nvm,         true,  "NVM Fail, lit"},
        {211,  101, 107, Kind::AlarmTile,        Motif::Performance, false, "System Performance, normal"},
        {212,  101, 107, Kind::AlarmTile,        Motif::Performance, true,  "System Performance, lit"},
        {199,  408, 312, Kind::MaintenanceFrame, Motif::None,        false, "maintenance frame"},
        {230,  370, 162, Kind::ErrorListFrame,   Motif::None,        false, "error list frame"},
        {221,  144,  45, Kind::ValueFrame,       Motif::None,        false, "maintenance value frame"},
        {223,  403, 203, Kind::WarningPopup,     Motif::None,        false, "warning popup with OK button"},
        {130,  800, 480, Kind::TitlePicture,     Motif::None,        false, "title picture, family logo"},
        {267,   16,  16, Kind::AppIcon,          Motif::None,        false, "application icon"},
        {267,   24,  24, Kind::AppIcon,          Motif::None,        false, "application icon"},
        {267,   32,  32, Kind::AppIcon,          Motif::None,        false, "application icon"},
        {267,   48,  48, Kind::AppIcon,          Motif::None,        false, "application icon"},
        {267,   64,  64, Kind::AppIcon,          Motif::None,        false, "application icon"},
        {267,  128, 128, Kind::AppIcon,          Motif::None,        false, "application icon"},
        {267,  256, 256, Kind::AppIcon,          Motif::None,        false, "application icon"},
    };
    // clang-format on
    return table;
}

const PictureRow* findPicture(int id) {
    for (const PictureRow& row : pictureTable()) {
        if (row.id == id && row.kind != Kind::AppIcon) {
            return &row;
        }
    }
    return nullptr;
}

std::string fileNameFor(const PictureRow& row, int scale) {
    if (row.kind == Kind::AppIcon) {
        return "icons/" + std::to_string(row.id) + "-" + std::to_string(row.width) + ".png";
    }
    // The larger pictures in a folder of their own, so that the embedded data of each scale lies
    // together and reading one scale's pictures brings none of the other's into memory.
    const std::string folder = scale == 1 ? "bitmaps/" : "bitmaps/" + std::to_string(scale) + "x/";
    return folder + std::to_string(row.id) + ".bmp";
}

}  // namespace artwork
