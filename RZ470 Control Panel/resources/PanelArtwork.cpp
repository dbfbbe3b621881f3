#include "PanelArtwork.h"

#include <QDir>

QString PanelArtwork::bitmapPath(int id) {
    return QStringLiteral(":/bitmaps/%1.bmp").arg(id);
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
