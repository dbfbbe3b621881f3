#pragma once

#include <QIcon>
#include <QString>

// Where the generated pictures live in the resources. Every picture is a 24-bit bitmap at
// ":/bitmaps/<id>.bmp", drawn at build time by tools/artwork; an id without a picture has no file.
class PanelArtwork {
public:
    static constexpr int kApplicationIconId = 267;

    static QString bitmapPath(int id);

    // The application icon in every generated size.
    static QIcon applicationIcon();
};
