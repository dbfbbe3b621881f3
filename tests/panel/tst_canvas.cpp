// The surface keeps its pictures packed and its texts shaped once: whatever it draws must match,
// pixel for pixel, what QPainter draws from the decoded picture or the plain text.
#include "Canvas.h"
#include "ComposedTexts.h"
#include "PackedPicture.h"
#include "PanelArtwork.h"
#include "PanelFont.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QtTest>

namespace {

constexpr QSize kSurface(1421, 423);
const QColor kText(140, 255, 140);

// The ids of the pictures, each of which also comes at scale 2.
QList<int> PictureIds() {
    QList<int> ids;
    for (const QString& name : QDir(QStringLiteral(":/bitmaps")).entryList(QDir::Files)) {
        ids << name.section(QLatin1Char('.'), 0, 0).toInt();
    }
    return ids;
}

QImage Decoded(int id, int scale = 1) {
    QImage image(PanelArtwork::bitmapPath(id, scale));
    image.setDevicePixelRatio(scale);
    return image;
}

QByteArray FileBytes(int id, int scale = 1) {
    QFile file(PanelArtwork::bitmapPath(id, scale));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

constexpr int kBackground = 131;

// The background picture under everything, so that a pixel written where nothing should be shows.
QImage Backdrop(int scale) {
    static QHash<int, QImage> made;
    if (!made.contains(scale)) {
        QImage image(kSurface * scale, QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.drawImage(QPoint(0, 0), Decoded(kBackground, scale));
        made.insert(scale, image);
    }
    return made.value(scale);
}

// What the surface showed when every picture was decoded afresh and drawn by QPainter.
QImage Reference(int id, QRect cut, int scale) {
    QImage expected = Backdrop(scale);
    QPainter painter(&expected);
    painter.drawImage(QPointF(cut.topLeft()), Decoded(id, scale),
                      QRectF(0, 0, cut.width() * scale, cut.height() * scale));
    return expected;
}

// What QPainter draws on the backdrop, to hold the canvas's pixels against.
struct Expected {
    Expected(int scale, const QFont& font) : image(Backdrop(scale)), painter(&image) {
        painter.setFont(font);
        painter.setPen(kText);
    }
    // Text with its cell's top-left at at, as the canvas places it.
    void text(QPoint at, const QString& text) {
        painter.drawText(at.x(), at.y() + painter.fontMetrics().ascent(), text);
    }
    const QImage& done() {
        painter.end();
        return image;
    }
    QImage image;
    QPainter painter;
};

// A canvas showing the background, with the damage reported after it collected.
struct TestCanvas {
    explicit TestCanvas(int scale = 1) : canvas(kSurface, scale) {
        canvas.setDamageHandler([this](const QRect& rect) { damaged << rect; });
        clear();
    }
    // The background again, and no damage reported.
    void clear() {
        canvas.drawBitmap(kBackground, 0, 0, kSurface.width(), kSurface.height());
        damaged.clear();
    }
    SurfaceCanvas canvas;
    QList<QRect> damaged;
};

}  // namespace

class CanvasTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(PanelFont::registerEmbeddedFont() >= 0);
        QVERIFY(PanelFont::substituteFaceName());
    }

    void everyPictureUnpacksToItsDecodedPixels() {
        const QList<int> ids = PictureIds();
        QVERIFY(ids.size() > 50);
        for (int scale : {1, 2}) {
            for (int id : ids) {
                const QString name = QStringLiteral("picture %1 at scale %2").arg(id).arg(scale);
                const QImage decoded = Decoded(id, scale).convertToFormat(QImage::Format_RGB32);
                QCOMPARE(decoded.size(), Decoded(id).size() * scale);
                const std::optional<PackedPicture> fromFile =
                    PackedPicture::FromBitmapFile(FileBytes(id, scale));
                QVERIFY2(fromFile, qPrintable(name + QStringLiteral(" not packed from its file")));
                QVERIFY2(fromFile->Unpack() == decoded, qPrintable(name));
                const std::optional<PackedPicture> fromImage = PackedPicture::Pack(decoded);
                QVERIFY(fromImage);
                QVERIFY2(fromImage->Unpack() == decoded, qPrintable(name));
            }
        }
    }

    void otherFilesAreNotPackedFromTheirBytes_data() {
        QTest::addColumn<QByteArray>("file");
        const QByteArray bitmap = FileBytes(163);
        QTest::addRow("empty") << QByteArray();
        QTest::addRow("headers cut short") << bitmap.left(40);
        QTest::addRow("pixels cut short") << bitmap.left(bitmap.size() - 1);
        QByteArray notBitmap = bitmap;
        notBitmap[0] = 'X';
        QTest::addRow("no BM signature") << notBitmap;
        QByteArray compressed = bitmap;
        compressed[30] = 1;
        QTest::addRow("compressed") << compressed;
        QByteArray eightBits = bitmap;
        eightBits[28] = 8;
        QTest::addRow("8 bits per pixel") << eightBits;
        QByteArray pixelsOutside = bitmap;
        pixelsOutside[13] = char(0x7F);
        QTest::addRow("pixel offset beyond the file") << pixelsOutside;
        QByteArray noWidth = bitmap;
        for (int i = 18; i < 22; ++i) {
            noWidth[i] = 0;
        }
        QTest::addRow("no width") << noWidth;
    }

    void otherFilesAreNotPackedFromTheirBytes() {
        QFETCH(QByteArray, file);
        QVERIFY(!PackedPicture::FromBitmapFile(file));
    }

    void topDownBitmapPacksTheRightWayUp() {
        // The same pixels stored top row first, as a negative height says.
        QByteArray bitmap = FileBytes(163);
        const QImage decoded = Decoded(163).convertToFormat(QImage::Format_RGB32);
        const int width = decoded.width();
        const int height = decoded.height();
        const qsizetype stride = (width * 3 + 3) / 4 * 4;
        const qsizetype pixelsAt = qFromLittleEndian<quint32>(bitmap.constData() + 10);
        QByteArray flipped = bitmap;
        for (int y = 0; y < height; ++y) {
            flipped.replace(pixelsAt + y * stride, stride,
                            bitmap.mid(pixelsAt + (height - 1 - y) * stride, stride));
        }
        qToLittleEndian<qint32>(-height, flipped.data() + 22);
        const std::optional<PackedPicture> packed = PackedPicture::FromBitmapFile(flipped);
        QVERIFY(packed);
        QVERIFY(packed->Unpack() == decoded);
    }

    void picturesDrawAsQPainterDrewThem_data() {
        QTest::addColumn<int>("scale");
        QTest::addColumn<QRect>("cut");
        for (int scale : {1, 2}) {
            // The id is drawn with its own size where the cut says -1.
            const QList<QPair<const char*, QRect>> cuts = {
                {"whole", QRect(100, 50, -1, -1)},
                {"narrower and lower than the picture", QRect(100, 50, 30, 12)},
                {"wider and taller than the picture", QRect(100, 50, 2000, 900)},
                {"no width or height: to the picture's edges", QRect(100, 50, 0, 0)},
                {"over the left and top edges", QRect(-17, -9, -1, -1)},
                {"over the right and bottom edges", QRect(1400, 410, -1, -1)},
                {"wholly outside", QRect(1500, 500, -1, -1)},
            };
            for (const auto& [name, cut] : cuts) {
                QTest::addRow("scale %d: %s", scale, name) << scale << cut;
            }
        }
    }

    void picturesDrawAsQPainterDrewThem() {
        QFETCH(int, scale);
        QFETCH(QRect, cut);
        TestCanvas surface(scale);
        for (int id : PictureIds()) {
            const QSize size = Decoded(id).size();
            const QRect place(cut.topLeft(), QSize(cut.width() < 0 ? size.width() : cut.width(),
                                                   cut.height() < 0 ? size.height() : cut.height()));
            surface.clear();
            // Twice: decoded and kept at the first, drawn from what was kept at the second.
            for (int round = 0; round < 2; ++round) {
                QVERIFY(surface.canvas.drawBitmap(id, place.x(), place.y(), place.width(), place.height()));
                QVERIFY2(surface.canvas.image() == Reference(id, place, scale),
                         qPrintable(QStringLiteral("picture %1, round %2").arg(id).arg(round + 1)));
            }
            QCOMPARE(surface.damaged, QList<QRect>({place, place}));
        }
    }

    void textsDrawAsQPainterDrewThem_data() {
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("cell");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("at");
        const QList<QPair<QString, QPoint>> texts = {
            {QStringLiteral("UV 365"), QPoint(23, 45)},
            {QStringLiteral("100.0%"), QPoint(17, 105)},
            {QStringLiteral("Light Guide Inserted"), QPoint(473, 1)},
            {QStringLiteral("TTL/Trigger"), QPoint(940, 373)},
            {QStringLiteral("RETURN TO MAIN SCREEN"), QPoint(95, 373)},
            {QStringLiteral("Ångström Ä é ÿ"), QPoint(200, 200)},
            {QStringLiteral("  spaced  out  "), QPoint(3, 300)},
            {QStringLiteral("WAVE"), QPoint(-5, -3)},
            {QStringLiteral("past the edge"), QPoint(1390, 410)},
            {QString(), QPoint(50, 50)},
            {QStringLiteral("tab\there"), QPoint(60, 60)},
            {QStringLiteral("line\nbreak"), QPoint(60, 90)},
        };
        for (int scale : {1, 2}) {
            for (int cell : {PanelFont::kSmallCell, PanelFont::kMediumCell, PanelFont::kLargeCell}) {
                for (const auto& [text, at] : texts) {
                    const QString shown = QString(text)
                                              .replace(QLatin1Char('\n'), QLatin1String("\\n"))
                                              .replace(QLatin1Char('\t'), QLatin1String("\\t"));
                    QTest::addRow("scale %d, %d px cell: \"%s\"", scale, cell, qPrintable(shown))
                        << scale << cell << text << at;
                }
            }
        }
    }

    void textsDrawAsQPainterDrewThem() {
        QFETCH(int, scale);
        QFETCH(int, cell);
        QFETCH(QString, text);
        QFETCH(QPoint, at);
        const QFont font = PanelFont::withCellHeight(cell);
        const QFontMetrics metrics(font);

        // Twice, the second time over the first, from the shape kept: the edges blend again.
        QImage expected = Backdrop(scale);
        QPainter painter(&expected);
        painter.setFont(font);
        painter.setPen(kText);
        TestCanvas surface(scale);
        for (int round = 0; round < 2; ++round) {
            painter.drawText(at.x(), at.y() + metrics.ascent(), text);
            surface.canvas.drawText(font, kText, at.x(), at.y(), text);
            QVERIFY2(surface.canvas.image() == expected,
                     qPrintable(QStringLiteral("round %1").arg(round + 1)));
        }
        const QRect cellRect(at.x(), at.y(), metrics.horizontalAdvance(text) + 1, metrics.height());
        QCOMPARE(surface.damaged, QList<QRect>({cellRect, cellRect}));
    }

    void manyDifferentTextsStillDrawRight() {
        // More texts than the surface keeps shaped: it forgets some, and draws them again right.
        const QFont font = PanelFont::withCellHeight(PanelFont::kLargeCell);
        TestCanvas surface;
        Expected expected(1, font);
        for (int round = 0; round < 2; ++round) {
            for (int level = 0; level <= 1000; level += 2) {
                const QString text = QString::asprintf("%.01f%%", level / 10.0);
                const QPoint at((level % 30) * 40, (level / 30) * 12);
                surface.canvas.drawText(font, kText, at.x(), at.y(), text);
                expected.text(at, text);
            }
        }
        QVERIFY(surface.canvas.image() == expected.done());
    }
    void repaintedPartsMatchTheWhole_data() {
        QTest::addColumn<int>("scale");
        QTest::addColumn<QRect>("area");
        for (int scale : {1, 2}) {
            QTest::addRow("scale %d: the whole window", scale) << scale << QRect(QPoint(0, 0), kSurface);
            QTest::addRow("scale %d: across band edges", scale) << scale << QRect(37, 30, 500, 130);
            QTest::addRow("scale %d: one row", scale) << scale << QRect(0, 47, 1421, 1);
            QTest::addRow("scale %d: past the bottom right", scale) << scale << QRect(1400, 400, 100, 100);
        }
    }

    void repaintedPartsMatchTheWhole() {
        // The window repaints a part a band at a time; texts and pictures cross the bands.
        QFETCH(int, scale);
        QFETCH(QRect, area);
        TestCanvas surface(scale);
        const QFont font = PanelFont::withCellHeight(PanelFont::kLargeCell);
        surface.canvas.drawBitmap(129, 20, 20, -1, -1);
        surface.canvas.drawText(font, kText, 40, 40, QStringLiteral("Violet 405"));
        surface.canvas.drawText(font, kText, -5, -3, QStringLiteral("WAVE"));
        surface.canvas.drawBitmap(163, 300, 90, -1, -1);
        surface.canvas.drawText(font, kText, 310, 92, QStringLiteral("100.0%"));
        surface.canvas.drawText(font, kText, 1390, 410, QStringLiteral("past the edge"));

        const QColor untouched(Qt::magenta);
        QImage window(kSurface * scale, QImage::Format_RGB32);
        window.setDevicePixelRatio(scale);
        window.fill(untouched);
        QPainter painter(&window);
        surface.canvas.PaintOnto(painter, area);
        painter.end();

        const QImage& whole = surface.canvas.image();
        const QRect shown(area.topLeft() * scale, area.size() * scale);
        for (int y = 0; y < window.height(); ++y) {
            for (int x = 0; x < window.width(); ++x) {
                const QRgb expected = shown.contains(x, y) ? whole.pixel(x, y) : untouched.rgb();
                if (window.pixel(x, y) != expected) {
                    QFAIL(qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
                }
            }
        }
    }

    void aFieldRedrawnOverAndOverKeepsOnlyWhatShows_data() {
        QTest::addColumn<int>("scale");
        QTest::newRow("scale 1") << 1;
        QTest::newRow("scale 2") << 2;
    }

    void aFieldRedrawnOverAndOverKeepsOnlyWhatShows() {
        // As the poll redraws a value: its field, then its text, thousands of times.
        QFETCH(int, scale);
        const QFont font = PanelFont::withCellHeight(PanelFont::kLargeCell);
        const QRect field(300, 90, Decoded(163).width(), Decoded(163).height());
        TestCanvas surface(scale);
        for (int value = 0; value < 3000; ++value) {
            surface.canvas.drawBitmap(163, field.x(), field.y(), field.width(), field.height());
            surface.canvas.drawText(font, kText, field.x() + 4, field.y() + 2, QString::number(value));
        }
        Expected expected(scale, font);
        expected.painter.drawImage(field.topLeft(), Decoded(163, scale));
        expected.text(field.topLeft() + QPoint(4, 2), QStringLiteral("2999"));
        QCOMPARE(surface.canvas.keptDrawings(), size_t(3));
        QVERIFY(surface.canvas.image() == expected.done());
    }

    void aPictureDropsOnlyWhatItWhollyCovers_data() { aFieldRedrawnOverAndOverKeepsOnlyWhatShows_data(); }

    void aPictureDropsOnlyWhatItWhollyCovers() {
        // A picture one pixel wide just past another's right edge stays when that one is drawn again.
        QFETCH(int, scale);
        const QSize size = Decoded(129).size();
        const QPoint beside(100 + size.width(), 50);
        TestCanvas surface(scale);
        surface.canvas.drawBitmap(129, 100, 50, -1, -1);
        surface.canvas.drawBitmap(163, beside.x(), beside.y(), 1, 1);
        surface.canvas.drawBitmap(129, 100, 50, -1, -1);
        QImage expected = Backdrop(scale);
        QPainter painter(&expected);
        painter.drawImage(QPoint(100, 50), Decoded(129, scale));
        painter.drawImage(QPointF(beside), Decoded(163, scale), QRectF(0, 0, scale, scale));
        painter.end();
        QCOMPARE(surface.canvas.keptDrawings(), size_t(3));
        QVERIFY(surface.canvas.image() == expected);
    }

    void textsNeverCoveredAreMergedAndStillDrawRight() {
        // Texts over texts are never covered: past the most kept, they are merged into one picture.
        const QFont font = PanelFont::withCellHeight(PanelFont::kMediumCell);
        TestCanvas surface;
        Expected expected(1, font);
        const int texts = 2 * static_cast<int>(SurfaceCanvas::kMostKeptDrawings) + 7;
        for (int i = 0; i < texts; ++i) {
            const QPoint at((i % 40) * 35, (i % 23) * 18);
            surface.canvas.drawText(font, kText, at.x(), at.y(), QStringLiteral("on%1").arg(i % 5));
            expected.text(at, QStringLiteral("on%1").arg(i % 5));
        }
        QVERIFY(surface.canvas.keptDrawings() <= SurfaceCanvas::kMostKeptDrawings);
        QVERIFY(surface.canvas.image() == expected.done());
    }
    void composedTextsStayWithinTheirBytes() {
        // Pictures of 40 KB each, kept as plain rows; keys told apart by their offset alone.
        QImage noise(100, 100, QImage::Format_RGB32);
        for (int y = 0; y < noise.height(); ++y) {
            for (int x = 0; x < noise.width(); ++x) {
                noise.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * y) % 256, (x + 3 * y) % 256));
            }
        }
        const PackedPicture pixels = *PackedPicture::Pack(noise);
        const size_t each = pixels.byteSize();
        const size_t fit = ComposedTexts::kMostBytes / each;
        QVERIFY(fit >= 4);
        const auto key = [](int i) { return ComposedTexts::Key{nullptr, QPoint(i, 0), {}}; };
        ComposedTexts texts;

        texts.NextPass();
        for (size_t i = 0; i < fit; ++i) {
            QVERIFY(texts.HasRoomFor(each));
            QVERIFY(texts.Add(key(int(i)), pixels, nullptr));
        }
        // Every byte used by this repaint: nothing goes, nothing more comes.
        QVERIFY(!texts.HasRoomFor(each));
        QVERIFY(!texts.Add(key(int(fit)), pixels, nullptr));
        QCOMPARE(texts.size(), fit);

        // The next repaint uses two; the one after it may drop all that neither used.
        texts.NextPass();
        QVERIFY(texts.Find(key(0)));
        QVERIFY(texts.Find(key(1)));
        QVERIFY(!texts.HasRoomFor(each));
        texts.NextPass();
        QVERIFY(texts.HasRoomFor(each));
        QCOMPARE(texts.size(), size_t(2));
        QVERIFY(texts.Find(key(0)) && texts.Find(key(1)) && !texts.Find(key(2)));
        QCOMPARE(texts.bytes(), 2 * each);

        // Kept again under the same key, the bytes are counted once.
        QVERIFY(texts.Add(key(0), pixels, nullptr));
        QCOMPARE(texts.bytes(), 2 * each);
    }
};

QTEST_MAIN(CanvasTest)
#include "tst_canvas.moc"
