#include "PictureTable.h"

#include "KindPainters.h"

#include <set>

namespace artwork {

const std::vector<PictureRow>& pictureTable() {
    // clang-format off
    static const std::vector<PictureRow> table = {
        {131, 1450, 424, paintBackground,       Motif::None,        false, "Background",           "background: status strip, panel area, menu strip"},
        {132,  142,  51, paintMenuButton,       Motif::None,        false, "MenuButton",           "menu button, normal"},
        {133,  142,  51, paintMenuButton,       Motif::None,        true,  "MenuButtonPressed",    "menu button, pressed"},
        {271,  166,  64, paintExitButton,       Motif::None,        false, "ExitButton",           "EXIT button with emblem"},
        {202,  342,  51, paintWideButton,       Motif::None,        false, "ReturnButton",         "RETURN TO MAIN SCREEN button, normal"},
        {170,  342,  51, paintWideButton,       Motif::None,        true,  "ReturnButtonPressed",  "RETURN TO MAIN SCREEN button, pressed"},
        {134,   31,  18, paintStatusIcon,       Motif::Bell,        false, "BellDim",              "alarm bell, dim"},
        {135,   31,  18, paintStatusIcon,       Motif::Bell,        true,  "BellLit",              "alarm bell, lit"},
        {136,   31,  18, paintStatusIcon,       Motif::Bulb,        false, "BulbDim",              "light guide bulb, dim"},
        {137,   31,  18, paintStatusIcon,       Motif::Bulb,        true,  "BulbLit",              "light guide bulb, lit"},
        {138,   31,  18, paintStatusIcon,       Motif::Led,         false, "LedOnDim",             "LED on, dim"},
        {139,   31,  18, paintStatusIcon,       Motif::Led,         true,  "LedOnLit",             "LED on, lit"},
        {140,   31,  18, paintStatusIcon,       Motif::Padlock,     false, "PadlockDim",           "knob lock padlock, dim"},
        {141,   31,  18, paintStatusIcon,       Motif::Padlock,     true,  "PadlockLit",           "knob lock padlock, lit"},
        {163,  156,  60, paintNameField,        Motif::None,        false, "NameField",            "channel name field"},
        {143,   92,  58, paintValueBox,         Motif::None,        false, "ValueBox",             "intensity value box"},
        {168,   92,  70, paintChannelArrow,     Motif::Up,          false, "UpArrow",              "intensity up arrow, grey"},
        {169,   92,  70, paintChannelArrow,     Motif::Up,          true,  "UpArrowPressed",       "intensity up arrow, green"},
        {166,   92,  70, paintChannelArrow,     Motif::Down,        false, "DownArrow",            "intensity down arrow, grey"},
        {167,   92,  70, paintChannelArrow,     Motif::Down,        true,  "DownArrowPressed",     "intensity down arrow, green"},
        {232,   64,  20, paintScaleLabel,       Motif::ScaleTop,    false, "ScaleTop",             "scale top, 100"},
        {231,   64,  20, paintScaleLabel,       Motif::ScaleBottom, false, "ScaleBottom",          "scale bottom, 0"},
        {164,  156,  60, paintChannelSwitch,    Motif::None,        false, "SwitchOff",            "ON/OFF switch, both halves unlit"},
        {165,  156,  60, paintChannelSwitch,    Motif::None,        true,  "SwitchOn",             "ON/OFF switch, ON lit"},
        {129,  156,  60, paintTriggeredSwitch,  Motif::None,        false, "TriggeredOff",         "TRIGGERED, light (LED off)"},
        {178,  156,  60, paintTriggeredSwitch,  Motif::None,        true,  "TriggeredOn",          "TRIGGERED, dark (LED on)"},
        {144,   64, 158, paintSliderTrack,      Motif::None,        false, "LedSliderTrack",       "LED slider track"},
        {145,   59,  26, paintSliderKnob,       Motif::None,        false, "LedSliderKnob",        "LED slider knob"},
        {225,   53, 281, paintSliderTrack,      Motif::None,        false, "SystemSliderTrack",    "system slider track"},
        {226,   53,  27, paintSliderKnob,       Motif::None,        false, "SystemSliderKnob",     "system slider knob"},
        {281,   89, 144, paintGroupingPanel,    Motif::None,        false, "GroupingPanelClosed",  "grouping panel, closed"},
        {280,  359, 149, paintGroupingPanel,    Motif::None,        true,  "GroupingPanelOpened",  "grouping panel, opened"},
        {273,   89, 217, paintTriggerPanel,     Motif::None,        false, "TriggerPanelClosed",   "trigger panel, closed"},
        {274,  359, 223, paintTriggerPanel,     Motif::None,        true,  "TriggerPanelOpened",   "trigger panel, opened"},
        {278,  246,  50, paintClearButton,      Motif::None,        false, "ClearButton",          "CLEAR button face"},
        {182,   87,  49, paintStepArrow,        Motif::Down,        false, "StepDown",             "down arrow, normal"},
        {183,   87,  49, paintStepArrow,        Motif::Down,        true,  "StepDownPressed",      "down arrow, pressed"},
        {184,   87,  49, paintStepArrow,        Motif::Up,          false, "StepUp",               "up arrow, normal"},
        {185,   87,  49, paintStepArrow,        Motif::Up,          true,  "StepUpPressed",        "up arrow, pressed"},
        {200,  132,  46, paintNumberField,      Motif::None,        false, "OpenedNumberField",    "number field of an opened panel"},
        {284,   72,  45, paintNumberField,      Motif::None,        false, "ClosedNumberField",    "number field of a closed panel"},
        {173,  153,  67, paintModeSwitch,       Motif::None,        false, "ModeSwitchDark",       "mode switch, both halves dark"},
        {174,  153,  67, paintModeSwitch,       Motif::None,        true,  "ModeSwitchLit",        "mode switch, ON lit"},
        {282,  790, 312, paintAlarmFrame,       Motif::None,        false, "AlarmFrame",           "alarms frame"},
        {152,  101, 107, paintAlarmTile,        Motif::MaxTemp,     false, "MaxTempTile",          "Max Temp Exceeded, normal"},
        {153,  101, 107, paintAlarmTile,        Motif::MaxTemp,     true,  "MaxTempTileLit",       "Max Temp Exceeded, lit"},
        {154,  101, 107, paintAlarmTile,        Motif::MinTemp,     false, "MinTempTile",          "Min Temp Exceeded, normal"},
        {155,  101, 107, paintAlarmTile,        Motif::MinTemp,     true,  "MinTempTileLit",       "Min Temp Exceeded, lit"},
        {148,  101, 107, paintAlarmTile,        Motif::ModuleFail,  false, "ModuleFailTile",       "LED Module Fail, normal"},
        {149,  101, 107, paintAlarmTile,        Motif::ModuleFail,  true,  "ModuleFailTileLit",    "LED Module Fail, lit"},
        {150,  101, 107, paintAlarmTile,        Motif::LightGuide,  false, "LightGuideTile",       "Light Guide Not Present, normal"},
        {151,  101, 107, paintAlarmTile,        Motif::LightGuide,  true,  "LightGuideTileLit",    "Light Guide Not Present, lit"},
        {146,  101, 107, paintAlarmTile,        Motif::Comms,       false, "CommsTile",            "Comms Error, normal"},
        {147,  101, 107, paintAlarmTile,        Motif::Comms,       true,  "CommsTileLit",         "Comms Error, lit"},
        {213,  101, 107, paintAlarmTile,        Motif::Watchdog,    false, "WatchdogTile",         "Watchdog Timeout, normal"},
        {214,  101, 107, paintAlarmTile,        Motif::Watchdog,    true,  "WatchdogTileLit",      "Watchdog Timeout, lit"},
        {156,  101, 107, paintAlarmTile,        Motif::Nvm,         false, "NvmTile",              "NVM Fail, normal"},
        {210,  101, 107, paintAlarmTile,        Motif::Nvm,         true,  "NvmTileLit",           "NVM Fail, lit"},
        {211,  101, 107, paintAlarmTile,        Motif::Performance, false, "PerformanceTile",      "System Performance, normal"},
        {212,  101, 107, paintAlarmTile,        Motif::Performance, true,  "PerformanceTileLit",   "System Performance, lit"},
        {199,  408, 312, paintMaintenanceFrame, Motif::None,        false, "MaintenanceFrame",     "maintenance frame"},
        {230,  370, 162, paintErrorListFrame,   Motif::None,        false, "ErrorListFrame",       "error list frame"},
        {221,  144,  45, paintValueFrame,       Motif::None,        false, "ValueFrame",           "maintenance value frame"},
        {223,  403, 203, paintWarningPopup,     Motif::None,        false, "WarningPopup",         "warning popup with OK button"},
        {130,  800, 480, paintTitlePicture,     Motif::None,        false, "TitlePicture",         "title picture, family logo"},
        {267,   16,  16, paintAppIcon,          Motif::None,        false, "AppIcon",              "application icon"},
        {267,   24,  24, paintAppIcon,          Motif::None,        false, "AppIcon",              "application icon"},
        {267,   32,  32, paintAppIcon,          Motif::None,        false, "AppIcon",              "application icon"},
        {267,   48,  48, paintAppIcon,          Motif::None,        false, "AppIcon",              "application icon"},
        {267,   64,  64, paintAppIcon,          Motif::None,        false, "AppIcon",              "application icon"},
        {267,  128, 128, paintAppIcon,          Motif::None,        false, "AppIcon",              "application icon"},
        {267,  256, 256, paintAppIcon,          Motif::None,        false, "AppIcon",              "application icon"},
    };
    // clang-format on
    return table;
}

bool PictureRow::isIcon() const {
    return paint == paintAppIcon;
}

const PictureRow* findPicture(int id) {
    for (const PictureRow& row : pictureTable()) {
        if (row.id == id && !row.isIcon()) {
            return &row;
        }
    }
    return nullptr;
}

std::string pictureIdsHeader() {
    std::string text =
        "#pragma once\n\n"
        "// Written by rz470-artwork from its picture table at build time.\n"
        "namespace pictures {\n\n";
    std::set<int> named;
    for (const PictureRow& row : pictureTable()) {
        // The icon's sizes share one id.
        if (named.insert(row.id).second) {
            text += "constexpr int k" + std::string(row.name) + " = " + std::to_string(row.id) + ";  // " +
                    row.role + "\n";
        }
    }
    return text + "\n}  // namespace pictures\n";
}

std::string fileNameFor(const PictureRow& row, int scale) {
    if (row.isIcon()) {
        return "icons/" + std::to_string(row.id) + "-" + std::to_string(row.width) + ".png";
    }
    // The larger pictures in a folder of their own, so that the embedded data of each scale lies
    // together and reading one scale's pictures brings none of the other's into memory.
    const std::string folder = scale == 1 ? "bitmaps/" : "bitmaps/" + std::to_string(scale) + "x/";
    return folder + std::to_string(row.id) + ".bmp";
}

}  // namespace artwork
