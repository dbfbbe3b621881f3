#pragma once

#include <string>
#include <vector>

class QPainter;

namespace artwork {

struct PictureRow;
// Draws a picture of the table, filling the whole of it.
using Painter = void (*)(QPainter&, const PictureRow&);

// What a picture shows, where its painter alone does not say it.
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
    Painter paint;  // one painter serves every picture of its kind
    Motif motif;
    // The pressed, lit, green or opened form; for the TRIGGERED switch the LED-on look.
    bool active;
    const char* name;  // the id's name in the panel's code
    const char* role;

    // The application icon, kept with its transparency; every other picture is an opaque bitmap.
    bool isIcon() const;
};

// Every picture the panel uses, in contact-sheet order. Application icon rows share id 267 and
// differ by size.
const std::vector<PictureRow>& pictureTable();

const PictureRow* findPicture(int id);

// The header naming every picture id for the panel's code.
std::string pictureIdsHeader();

// Path of the generated file relative to the output folder: "bitmaps/<id>.bmp" or
// "icons/267-<size>.png".
std::string fileNameFor(const PictureRow& row, int scale = 1);

}  // namespace artwork
