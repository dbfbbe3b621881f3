#include "Preview.h"

#include <QPainter>

#include "ArtworkStyle.h"
#include "PicturePainter.h"

namespace artwork {

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

}  // namespace artwork
