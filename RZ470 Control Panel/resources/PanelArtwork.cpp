#include "PanelArtwork.h"

#include <QDir>

#include <algorithm>
#include <cmath>

QString PanelArtwork::bitmapPath(int id, int scale) {
    return scale == 1 ? QStringLiteral(":/bitmaps/%1.bmp").arg(id)
                      : QStringLiteral(":/bitmaps/%1x/%2.bmp").arg(scale).arg(id);
}

QImage PanelArtwork::picture(int id, qreal devicePixelRatio) {
    const int scale = pictureScale(devicePixelRatio);
    QImage image(bitmapPath(id, scale));
    if (image.isNull() && scale != 1) {
        return QImage(bitmapPath(id));
    }
    image.setDevicePixelRatio(scale);
    return image;
}

int PanelArtwork::pictureScale(qreal devicePixelRatio) {
    return std::clamp(static_cast<int>(std::ceil(devicePixelRatio - 0.01)), 1, kLargestScale);
}

QIcon PanelArtwork::applicationIcon() {
    QIcon icon;
    const QDir icons(QStringLiteral(":/icons"));
    // Matched by hand: a wildcard filter would bring in the regular-expression engine for this alone.
    const QString prefix = QStringLiteral("%1-").arg(kApplicationIconId);
    for (const QString& name : icons.entryList(QDir::Files)) {
        if (name.startsWith(prefix) && name.endsWith(QLatin1String(".png"))) {
            icon.addFile(icons.filePath(name));
        }
    }
    return icon;
}
