#include "PanelArtwork.h"

#include <QDir>
#include <QIconEngine>
#include <QImage>
#include <QMap>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <iterator>

QString PanelArtwork::bitmapPath(int id, int scale) {
    return scale == 1 ? QStringLiteral(":/bitmaps/%1.bmp").arg(id)
                      : QStringLiteral(":/bitmaps/%1x/%2.bmp").arg(scale).arg(id);
}

QString PanelArtwork::packedPath(int id, int scale) {
    return scale == 1 ? QStringLiteral(":/bitmaps/%1.packed").arg(id)
                      : QStringLiteral(":/bitmaps/%1x/%2.packed").arg(scale).arg(id);
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

namespace {

// The application icon, read from its files only when a size of it is asked for and not kept: the
// window system takes it once, the About box one size. Each request is answered by an icon of
// the one file Qt would have chosen for it, so the pictures come out as from an icon of all files.
class ApplicationIconEngine : public QIconEngine {
public:
    explicit ApplicationIconEngine(QMap<int, QString> files) : files_(std::move(files)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    // The window system asks for every size: each is read from its one file, and a file smaller
    // than asked for is given as it is, not enlarged (a pixmap may be smaller than asked for).
    // QIcon passes the size in device pixels already.
    QPixmap scaledPixmap(const QSize& pixels, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        if (mode != QIcon::Normal) {
            return QIcon(FileFor(pixels).value()).pixmap(pixels / scale, scale, mode, state);
        }
        QImage image(FileFor(pixels).value());
        if (image.width() > pixels.width() || image.height() > pixels.height()) {
            image = image.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        return QPixmap::fromImage(std::move(image));
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = FileFor(size).key();
        return QSize(side, side).boundedTo(size);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        QIcon(FileFor(rect.size() * painter->device()->devicePixelRatio()).value())
            .paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const int side : files_.keys()) {
            sizes.append(QSize(side, side));
        }
        return sizes;
    }
    QIconEngine* clone() const override { return new ApplicationIconEngine(files_); }
    QString key() const override { return QStringLiteral("rz470-application-icon"); }

private:
    // The smallest square file at least as large as size, else the largest.
    QMap<int, QString>::const_iterator FileFor(const QSize& size) const {
        const int wanted = std::max(size.width(), size.height());
        auto file = files_.lowerBound(wanted);
        return file == files_.end() ? std::prev(files_.end()) : file;
    }

    QMap<int, QString> files_;  // by side in pixels
};

}  // namespace

QIcon PanelArtwork::applicationIcon() {
    QMap<int, QString> files;
    const QDir icons(QStringLiteral(":/icons"));
    // Matched by hand: a wildcard filter would bring in the regular-expression engine for this alone.
    const QString prefix = QStringLiteral("%1-").arg(kApplicationIconId);
    for (const QString& name : icons.entryList(QDir::Files)) {
        if (name.startsWith(prefix) && name.endsWith(QLatin1String(".png"))) {
            const int side = name.mid(prefix.size()).section(QLatin1Char('.'), 0, 0).toInt();
            if (side > 0) {
                files.insert(side, icons.filePath(name));
            }
        }
    }
    if (files.isEmpty()) {
        return QIcon();
    }
    return QIcon(new ApplicationIconEngine(std::move(files)));
}
