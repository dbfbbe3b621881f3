#pragma once

#include "PictureIds.h"

#include <QIcon>
#include <QImage>
#include <QString>

// Where the generated pictures live in the resources. Every picture is a 24-bit bitmap at
// ":/bitmaps/<id>.bmp", drawn at build time by tools/artwork, and again with twice the pixels each
// way at ":/bitmaps/2x/<id>.bmp"; an id without a picture has no file. Each has a ".packed" file
// beside it.
class PanelArtwork {
public:
    static constexpr int kApplicationIconId = pictures::kAppIcon;
    // The device pixel ratios the pictures are drawn at.
    static constexpr int kLargestScale = 2;

    // The picture at scale 1 or 2.
    static QString bitmapPath(int id, int scale = 1);
    // The same picture packed into runs by the build (PackedPicture's file), beside each opaque
    // bitmap.
    static QString packedPath(int id, int scale = 1);
    // The scale of pictures to draw on a screen of the given device pixel ratio: the next whole
    // ratio there are pictures for, so a fractional screen gets the larger pictures, reduced.
    static int pictureScale(qreal devicePixelRatio);
    // Picture id for a screen of that device pixel ratio, marked with its scale so that QPainter
    // draws it at its size in logical pixels; the one at scale 1 where there is no larger one.
    // A null image when there is no such picture.
    static QImage picture(int id, qreal devicePixelRatio);

    // The application icon in every generated size.
    static QIcon applicationIcon();
};
