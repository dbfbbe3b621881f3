#pragma once

#include "PanelLayout.h"
#include "PictureIds.h"

// Where everything of the maintenance screen stands. The painters and the tests read it.
namespace maintenancelayout {

// The screen's frame, the error list's frame and the frames of the two values.
constexpr layout::Picture kFrames[] = {
    {pictures::kMaintenanceFrame, {5, 29, 408, 312}},
    {pictures::kErrorListFrame, {24, 65, 370, 162}},
    {pictures::kValueFrame, {24, 265, 144, 45}},
    {pictures::kValueFrame, {224, 265, 144, 45}},
};

// Each caption over its frame, cut to the screen frame's part above that frame.
constexpr layout::BoxedText kCaptions[] = {
    {{{20, 239}, "Software Versions", layout::Face::Large, layout::Tone::FrameText}, {5, 229, 205, 36}},
    {{{231, 239}, "Serial Number", layout::Face::Large, layout::Tone::FrameText}, {210, 229, 203, 36}},
    {{{28, 39}, "Errors", layout::Face::Large, layout::Tone::FrameText}, {5, 29, 408, 36}},
};

// The two values, each in its frame.
constexpr layout::Point kVersionText{60, 278};
constexpr layout::Place kVersionBox = kFrames[2].place;
constexpr layout::Point kSerialText{257, 278};
constexpr layout::Place kSerialBox = kFrames[3].place;
constexpr layout::Place kErrorListBox = kFrames[1].place;

// The error list: one line every 20 pixels; the frame has room down to the line at y = 200.
constexpr int kErrorLineX = 50;
constexpr int kFirstErrorLineY = 80;
constexpr int kErrorLineStep = 20;
constexpr int kLastErrorLineY = 200;
constexpr int kMaxErrorLines = (kLastErrorLineY - kFirstErrorLineY) / kErrorLineStep + 1;

}  // namespace maintenancelayout
