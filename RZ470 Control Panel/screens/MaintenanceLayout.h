#pragma once

// Where everything of the maintenance screen stands. The painters and the tests read it; plain
// C++, so the build-time tools can too.
namespace maintenancelayout {

struct Picture {
    int id, x, y, width, height;
};

struct Label {
    const char* text;
    int x, y;
};

struct TextPlace {
    int x, y;
};

// The screen's frame, the error list's frame and the frames of the two values.
constexpr Picture kFrames[] = {
    {199, 5, 29, 408, 312},
    {230, 24, 65, 370, 162},
    {221, 24, 265, 144, 45},
    {221, 224, 265, 144, 45},
};

// Written in the large face.
constexpr Label kCaptions[] = {
    {"Software Versions", 20, 239},
    {"Serial Number", 231, 239},
    {"Errors", 28, 39},
};

constexpr TextPlace kVersionText{60, 278};
constexpr TextPlace kSerialText{257, 278};

// The error list: one line every 20 pixels; the frame has room down to the line at y = 200.
constexpr int kErrorLineX = 50;
constexpr int kFirstErrorLineY = 80;
constexpr int kErrorLineStep = 20;
constexpr int kLastErrorLineY = 200;
constexpr int kMaxErrorLines = (kLastErrorLineY - kFirstErrorLineY) / kErrorLineStep + 1;

}  // namespace maintenancelayout
