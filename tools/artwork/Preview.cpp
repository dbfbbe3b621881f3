#include "Preview.h"

#include <QHash>
#include <QPainter>

#include "ArtworkStyle.h"
#include "MainScreenLayout.h"
#include "OpenedLedStrip.h"
#include "PanelFont.h"
#include "PicturePainter.h"
#include "SliderScale.h"

namespace artwork {

namespace {
const QColor kLabel(189, 198, 198);
const QColor kHeading(187, 193, 196);
const QColor kValue(132, 255, 132);
const QColor kStatusLabel(132, 132, 132);
const QColor kFrameText(105, 105, 105);

enum class Face { Small, Medium, Large, Popup };

struct Text {
    Face face;
    QColor colour;
    int x;
    int y;
    QString text;
};

struct Sprite {
    int id;
    int x;
    int y;
};

QImage picture(int id) {
    static QHash<int, QImage> cache;
    auto it = cache.find(id);
    if (it == cache.end()) {
        const PictureRow* row = findPicture(id);
        it = cache.insert(id, row ? renderPicture(*row) : QImage());
    }
    return *it;
}

QFont fontFor(Face face) {
    static const PanelFont::Fonts fonts = PanelFont::createPanelFonts();
    switch (face) {
        case Face::Small:
            return fonts.small;
        case Face::Medium:
            return fonts.medium;
        case Face::Large:
            return fonts.large;
        case Face::Popup:
            return PanelFont::withCellHeight(30);
    }
    return fonts.small;
}

// Mimics the panel's drawing: pictures copied at their own size, texts from their top-left
// corner with a transparent background.
class MockCanvas {
public:
    explicit MockCanvas(QSize size) : image_(size, QImage::Format_RGB32) {
        image_.fill(Qt::black);
        painter_.begin(&image_);
        painter_.setRenderHint(QPainter::TextAntialiasing);
    }
    void draw(const Sprite& sprite) { painter_.drawImage(sprite.x, sprite.y, picture(sprite.id)); }
    void draw(const Text& text) {
        painter_.setFont(fontFor(text.face));
        painter_.setPen(text.colour);
        painter_.drawText(QRect(text.x, text.y, 2000, 200), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          text.text);
    }
    // Draws part of a picture only, as a child window clips it.
    void drawClipped(const Sprite& sprite, const QRect& clip) {
        painter_.save();
        painter_.setClipRect(clip);
        draw(sprite);
        painter_.restore();
    }
    QImage finish() {
        painter_.end();
        return image_;
    }

private:
    QImage image_;
    QPainter painter_;
};

const QStringList kChannelNames = {"385nm", "430nm", "475nm", "505nm", "525nm",
                                   "575nm", "630nm", "660nm", "740nm"};

void statusBar(MockCanvas& canvas, bool withLabels) {
    canvas.draw(Sprite{140, 20, 0});
    canvas.draw(Sprite{137, 433, 0});
    canvas.draw(Sprite{135, 846, 0});
    canvas.draw(Sprite{139, 1259, 0});
    if (withLabels) {
        canvas.draw(Text{Face::Small, kStatusLabel, 60, 1, "RotaKNOB Locked"});
        canvas.draw(Text{Face::Small, kStatusLabel, 473, 1, "Light Guide Inserted"});
        canvas.draw(Text{Face::Small, kStatusLabel, 886, 1, "Alarm"});
        canvas.draw(Text{Face::Small, kStatusLabel, 1300, 1, "LED on"});
    }
}

void returnButton(MockCanvas& canvas) {
    canvas.draw(Sprite{202, 17, 359});
    canvas.draw(Text{Face::Medium, kLabel, 95, 374, "RETURN TO MAIN SCREEN"});
}

void menuButton(MockCanvas& canvas, int x, int captionX, const QString& caption, bool pressed = false) {
    canvas.draw(Sprite{pressed ? 133 : 132, x, 359});
    canvas.draw(Text{Face::Medium, kLabel, captionX, 374, caption});
}

QImage mainScreen() {
    MockCanvas canvas(QSize(1421, 423));
    canvas.draw(Sprite{131, 0, 0});
    canvas.draw(Sprite{271, 7, 353});
    canvas.draw(Text{Face::Medium, kLabel, 95, 374, "EXIT"});
    menuButton(canvas, 751, 784, "GROUPING");
    menuButton(canvas, 912, 940, "TTL/Trigger", true);
    menuButton(canvas, 1073, 1088, "MAINTENANCE");
    menuButton(canvas, 1234, 1275, "ALARMS");
    menuButton(canvas, 590, 620, "DEMO LOOP");

    using namespace mainlayout;
    const auto place = [&canvas](int left, const Element& element, int id) {
        canvas.draw(Sprite{id, left + element.box.dx, element.box.y});
    };
    const auto write = [&canvas](int left, const TextPlace& at, const QString& text) {
        canvas.draw(Text{Face::Large, kValue, left + at.dx, at.y, text});
    };
    const int intensities[kPanelCount] = {1000, 1001, 333, 5, 0, 750, 1000, 500, 120};
    for (int k = 0; k < kPanelCount; ++k) {
        const int left = PanelLeft(k);
        const bool fitted = k != 7;
        place(left, kNameField, kNameField.picture);
        place(left, kValueBox, kValueBox.picture);
        place(left, kUpArrow, k == 2 ? kUpArrow.pressedPicture : kUpArrow.picture);
        place(left, kDownArrow, kDownArrow.picture);
        place(left, kScaleTop, kScaleTop.picture);
        place(left, kScaleBottom, kScaleBottom.picture);
        const int switchId = k == 5   ? kTriggeredOnPicture
                             : k == 6 ? kTriggeredOffPicture
                                      : (k % 3 == 1 ? kSwitch.picture : kSwitch.pressedPicture);
        place(left, kSwitch, switchId);
        if (fitted) {
            write(left, kValueText, QString::asprintf("%.01f%%", double(float(intensities[k] / 10.0))));
            write(left, kNameText, kChannelNames[k]);
        }
        const int trackId = 144;
        const QRect track(QPoint(left + kSliderPlace.dx, kSliderPlace.y), picture(trackId).size());
        canvas.draw(Sprite{trackId, track.x(), track.y()});
        const int position = 1000 - qBound(0, intensities[k], 1000);
        const int indexRow = SliderScale::RowAt(track.height(), position, 1000);
        canvas.drawClipped(Sprite{145, track.x(), track.y() + indexRow - SliderScale::kKnobIndexRow}, track);
    }
    statusBar(canvas, true);
    return canvas.finish();
}

QImage groupingScreen() {
    const int k = 1;
    MockCanvas canvas(QSize(1421, 423));
    canvas.draw(Sprite{131, 0, 0});
    const int groups[9] = {1, 2, 2, 0, 3, 4, 0, 1, 0};
    for (int i = 0; i < 9; ++i) {
        canvas.draw(Sprite{i == k ? 280 : 281, openedstrip::PanelLeft(i, k), openedstrip::kTop});
    }
    const int xk = openedstrip::PanelLeft(k, k);
    canvas.draw(Sprite{278, xk + 101, 41});
    canvas.draw(Text{Face::Medium, kLabel, xk + 159, 55, "CLEAR GROUPING"});
    canvas.draw(Sprite{182, xk + 160, 111});
    canvas.draw(Sprite{185, xk + 254, 111});

    returnButton(canvas);
    menuButton(canvas, 912, 940, "TTL/Trigger");
    menuButton(canvas, 1073, 1088, "MAINTENANCE");
    menuButton(canvas, 1234, 1275, "ALARMS");
    const QList<Text> texts = {
        {Face::Large, kHeading, 1105, 70, "GROUPING"},
        {Face::Large, kLabel, 1228, 115, "PELION Grouping"},
        {Face::Large, kLabel, 1228, 182, "ZEPHRA Grouping"},
        {Face::Large, kLabel, 1228, 253, "Load/Save"},
        {Face::Small, kHeading, 50, 175, "Grouping LEDs together enables:"},
        {Face::Small, kHeading, 60, 190, "- Simultaneous on/off control of several LEDs via USB"},
        {Face::Small, kHeading, 60, 205,
         "- Compatibility with 4-channel Kynex PELION1 device drivers (*Selecting this option when ZEPHRA is "
         "selected clears all entries)"},
        {Face::Small, kHeading, 60, 220,
         "- Compatibility with 6-channel Kynex ZEPHRA device drivers (*Turning this option off clears all "
         "entries)"},
        {Face::Medium, kLabel, 20, 242, "PELION Grouping"},
        {Face::Small, kHeading, 60, 260,
         "1. Assign LEDs to Groups 1 - 4.  Use 0 to omit an LED. (Group numbers will correspond to "
         "LED/Channel# in "
         "Kynex PELION1 drivers.)"},
        {Face::Small, kHeading, 60, 275,
         QString::fromUtf8("2. Click \u201cPELION ON\u201d to enable grouping. ")},
        {Face::Medium, kLabel, 20, 292, "ZEPHRA Grouping"},
        {Face::Small, kHeading, 60, 310,
         "1. Assign LEDs to Groups 1 - 6.  Use 0 to omit an LED. (Group numbers will correspond to "
         "LED/Channel# in "
         "Kynex ZEPHRA drivers.)"},
        {Face::Small, kHeading, 60, 325,
         QString::fromUtf8("2. Click \u201cZEPHRA ON\u201d to enable grouping. ")},
        {Face::Medium, kLabel, 865, 230, "Favorite Groupings"},
    };
    canvas.draw(Sprite{174, 1072, 98});
    canvas.draw(Sprite{173, 1072, 165});
    canvas.draw(Sprite{132, 1076, 240});
    canvas.draw(Text{Face::Medium, kHeading, 1109, 255, "Load/Save"});
    for (const Text& text : texts) {
        canvas.draw(text);
    }
    statusBar(canvas, false);
    for (int i = 0; i < 9; ++i) {
        const int x = openedstrip::PanelLeft(i, k);
        canvas.draw(Text{Face::Large, kValue, x + openedstrip::NameDx(x), 43, kChannelNames[i].left(3)});
        if (i == k) {
            canvas.draw(Text{Face::Large, kValue, x + 27, 121, QString::number(groups[i])});
        } else {
            canvas.draw(Text{Face::Large, kValue, x + openedstrip::ClosedNumberDx(x), 118,
                             QString::number(groups[i])});
        }
    }
    return canvas.finish();
}

QImage triggerScreen() {
    const int k = 4;
    MockCanvas canvas(QSize(1421, 423));
    canvas.draw(Sprite{131, 0, 0});
    for (int i = 0; i < 9; ++i) {
        canvas.draw(Sprite{i == k ? 274 : 273, openedstrip::PanelLeft(i, k), openedstrip::kTop});
    }
    const int xk = openedstrip::PanelLeft(k, k);
    canvas.draw(Sprite{278, xk + 101, 41});
    canvas.draw(Text{Face::Medium, kLabel, xk + 164, 55, "CLEAR TRIGGER"});
    canvas.draw(Sprite{182, xk + 160, 111});
    canvas.draw(Sprite{184, xk + 254, 111});
    canvas.draw(Sprite{183, xk + 160, 184});
    canvas.draw(Sprite{184, xk + 254, 184});
    returnButton(canvas);
    menuButton(canvas, 751, 784, "GROUPING");
    menuButton(canvas, 1073, 1088, "MAINTENANCE");
    menuButton(canvas, 1234, 1275, "ALARMS");
    const QList<Text> texts = {
        {Face::Small, kHeading, 50, 250,
         "Trigger sequence -  Enables control of the LEDs via a single TTL input"},
        {Face::Small, kHeading, 75, 265,
         "1. Assign a number to each of the LEDs, indicating the order in which they should be triggered."},
        {Face::Small, kHeading, 75, 280,
         QString::fromUtf8(
             "2. 0=omitted from sequence, 1=turn on with first \u201chigh\u201d TTL, 2=turn on with "
             "second \u201chigh\u201d TTL, etc.")},
        {Face::Small, kHeading, 75, 295, "3. Trigger the LEDs using the TTL1 input connection."},
        {Face::Small, kHeading, 75, 310,
         QString::fromUtf8(
             "4. TTL Timeout \u2013 Reduces wear on system components by shutting off drivers and fans "
             "after the set period of inactivity")},
    };
    for (const Text& text : texts) {
        canvas.draw(text);
    }
    statusBar(canvas, true);
    const int timeouts[9] = {0, 30, 5, 120, 65535, 7, 0, 15, 60};
    for (int i = 0; i < 9; ++i) {
        const int x = openedstrip::PanelLeft(i, k);
        canvas.draw(Text{Face::Large, kValue, x + openedstrip::NameDx(x), 43, kChannelNames[i].left(3)});
        if (i == k) {
            canvas.draw(Text{Face::Large, kValue, x + 27, 118, QStringLiteral("%1 min").arg(timeouts[i])});
            canvas.draw(Text{Face::Large, kValue, x + 27, 191, QString::number(i)});
        } else {
            canvas.draw(Text{Face::Large, kValue, x + openedstrip::ClosedNumberDx(x), 118,
                             QString::number(timeouts[i])});
            canvas.draw(
                Text{Face::Large, kValue, x + openedstrip::ClosedNumberDx(x), 191, QString::number(i)});
        }
    }
    return canvas.finish();
}

QImage alarmsScreen() {
    MockCanvas canvas(QSize(1421, 423));
    canvas.draw(Sprite{131, 0, 0});
    canvas.draw(Sprite{282, 5, 29});
    struct Tile {
        int id;
        int x;
        int y;
        int captionX;
        const char* caption;
    };
    const Tile tiles[] = {
        {153, 72, 50, 62, "Max Temp Exceeded"}, {154, 256, 50, 246, "Min Temp Exceeded"},
        {148, 436, 50, 438, "LED Module Fail"}, {151, 623, 50, 605, "Light Guide Not Present"},
        {146, 72, 200, 82, "Comms Error"},      {213, 256, 200, 250, "Watchdog Timeout"},
        {210, 436, 200, 460, "NVM Fail"},       {211, 623, 200, 612, "System Performance"},
    };
    for (const Tile& tile : tiles) {
        canvas.draw(Sprite{tile.id, tile.x, tile.y});
        canvas.draw(Text{Face::Small, kFrameText, tile.captionX, tile.y + 110, tile.caption});
    }
    returnButton(canvas);
    statusBar(canvas, true);
    return canvas.finish();
}

QImage maintenanceScreen() {
    MockCanvas canvas(QSize(1421, 423));
    canvas.draw(Sprite{131, 0, 0});
    canvas.draw(Sprite{199, 5, 29});
    canvas.draw(Sprite{230, 24, 65});
    canvas.draw(Sprite{221, 24, 265});
    canvas.draw(Sprite{221, 224, 265});
    canvas.draw(Text{Face::Large, kFrameText, 20, 239, "Software Versions"});
    canvas.draw(Text{Face::Large, kFrameText, 231, 239, "Serial Number"});
    canvas.draw(Text{Face::Large, kFrameText, 28, 39, "Errors"});
    returnButton(canvas);
    statusBar(canvas, true);
    canvas.draw(Text{Face::Small, kFrameText, 60, 278, "1.4.0/1.1.1.0"});
    canvas.draw(Text{Face::Small, kFrameText, 257, 278, "RZ231-K-00042"});
    const QStringList errors = {"LED 385nm Over Temperature", "LED 385nm Current Alarm",
                                "LED 430nm NVM Error",        "LED 475nm Under Temperature Error",
                                "LED 505nm Type MisMatch",    "LED 525nm Not Present",
                                "LED 575nm Not Present"};
    for (int line = 0; line < errors.size(); ++line) {
        canvas.draw(Text{Face::Small, kFrameText, 50, 80 + 20 * line, errors[line]});
    }
    return canvas.finish();
}

QImage warningPopup() {
    MockCanvas canvas(QSize(403, 203));
    canvas.draw(Sprite{223, 0, 0});
    canvas.draw(Text{Face::Popup, Qt::white, 85, 35, "AlarmActive on LED,"});
    canvas.draw(Text{Face::Popup, Qt::white, 66, 60, "Proceed to maintenance"});
    canvas.draw(Text{Face::Popup, Qt::white, 160, 85, "screen"});
    return canvas.finish();
}

struct Mock {
    const char* name;
    QImage (*compose)();
};

const Mock kMocks[] = {
    {"main", mainScreen},     {"grouping", groupingScreen},       {"trigger", triggerScreen},
    {"alarms", alarmsScreen}, {"maintenance", maintenanceScreen}, {"warning", warningPopup},
};
}  // namespace

QImage contactSheet() {
    const int sheetWidth = 1600;
    const int margin = 16;
    const int captionHeight = 48;
    const int minimumCellWidth = 150;
    QList<QPair<const PictureRow*, QImage>> entries;
    for (const PictureRow& row : pictureTable()) {
        entries.append({&row, renderPicture(row)});
    }

    // Flow the pictures into rows, then draw onto a sheet of the height that needs.
    struct Placed {
        int index;
        QPoint at;
    };
    QList<Placed> placed;
    int x = margin;
    int y = margin;
    int rowHeight = 0;
    for (int i = 0; i < entries.size(); ++i) {
        const QSize size = entries[i].second.size();
        const int cellWidth = qMax(size.width(), minimumCellWidth);
        if (x + cellWidth > sheetWidth - margin && x > margin) {
            x = margin;
            y += rowHeight + margin;
            rowHeight = 0;
        }
        placed.append({i, QPoint(x, y)});
        x += cellWidth + margin;
        rowHeight = qMax(rowHeight, size.height() + captionHeight);
    }

    QImage sheet(sheetWidth, y + rowHeight + margin, QImage::Format_RGB32);
    sheet.fill(QColor(128, 134, 139));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const Placed& item : placed) {
        const PictureRow& row = *entries[item.index].first;
        const QImage& image = entries[item.index].second;
        painter.setPen(Qt::black);
        painter.drawRect(QRect(item.at - QPoint(1, 1), image.size() + QSize(1, 1)));
        painter.drawImage(item.at, image);
        painter.setPen(Qt::white);
        painter.setFont(letteringFont(14));
        const QPoint captionAt = item.at + QPoint(0, image.height() + 4);
        const int captionWidth = qMax(image.width(), minimumCellWidth);
        painter.drawText(QRect(captionAt, QSize(captionWidth, 16)), Qt::AlignLeft,
                         QStringLiteral("%1   %2 \u00d7 %3").arg(row.id).arg(row.width).arg(row.height));
        painter.setPen(QColor(235, 238, 240));
        painter.setFont(letteringFont(11));
        painter.drawText(QRect(captionAt + QPoint(0, 17), QSize(captionWidth, 28)),
                         Qt::AlignLeft | Qt::TextWordWrap, QString::fromLatin1(row.role));
    }
    painter.end();
    return sheet;
}

QStringList mockScreenNames() {
    QStringList names;
    for (const Mock& mock : kMocks) {
        names << QString::fromLatin1(mock.name);
    }
    return names;
}

QImage mockScreen(const QString& name) {
    for (const Mock& mock : kMocks) {
        if (name == QLatin1String(mock.name)) {
            return mock.compose();
        }
    }
    return QImage();
}

}  // namespace artwork
