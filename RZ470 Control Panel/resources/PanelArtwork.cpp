#include "PanelArtwork.h"

#include <QDir>

QString PanelArtwork::bitmapPath(int id) {
    return QStringLiteral(":/bitmaps/%1.bmp").arg(id);
}

QIcon PanelArtwork::applicationIcon() {
    QIcon icon;
    const QDir icons(QStringLiteral(":/icons"));
    const QString pattern = QStringLiteral("%1-*.png").arg(kApplicationIconId);
    for (const QString& name : icons.entryList({pattern}, QDir::Files)) {
        icon.addFile(icons.filePath(name));
    }
    return icon;
}
