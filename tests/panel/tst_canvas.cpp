// The surface keeps its pictures packed and its texts shaped once: whatever it draws must match,
// pixel for pixel, what QPainter draws from the decoded picture or the plain text.
#include "CoverageBlend.h"
#include "LedName.h"
#include "PackedPicture.h"
#include "PanelArtwork.h"
#include "PanelFont.h"
#include "SurfaceCanvas.h"
#include "TextMask.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QResource>
#include <QTextLayout>
#include <QtEndian>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>
#include <random>

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

// Picture id as the image reader decodes it, once per test run.
QImage Decoded(int id, int scale = 1) {
    static QHash<QPair<int, int>, QImage> decoded;
    const QPair<int, int> key(id, scale);
    if (!decoded.contains(key)) {
        QImage image(PanelArtwork::bitmapPath(id, scale));
        image.setDevicePixelRatio(scale);
        decoded.insert(key, image);
    }
    return decoded.value(key);
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

// Layout pixels around what a drawing may reach where a stray write would still be caught.
constexpr int kWatchedMargin = 8;

// A part of the surface's pixels, cut around a drawing and kept as it was before it.
struct Part {
    Part(const QImage& image, const QRect& area) : scale(static_cast<int>(image.devicePixelRatio())) {
        place = QRect(area.topLeft() * scale, area.size() * scale).intersected(image.rect());
        pixels = image.copy(place);
    }
    // The same part of image now.
    QImage of(const QImage& image) const { return image.copy(place); }
    // The part with what draw paints there; QPainter draws on the part alone.
    QImage drawnBy(const std::function<void(QPainter&)>& draw) const {
        if (pixels.isNull()) {
            return pixels;  // wholly outside the surface
        }
        QImage drawn = pixels;
        drawn.setDevicePixelRatio(scale);
        QPainter painter(&drawn);
        painter.translate(-QPointF(place.topLeft()) / scale);
        draw(painter);
        painter.end();
        drawn.setDevicePixelRatio(1);
        return drawn;
    }
    // The layout pixels that differ in now from the part as it was, as one rectangle.
    QRect changedIn(const QImage& now) const {
        QRect changed;
        for (int y = 0; y < pixels.height(); ++y) {
            const auto* was = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
            const auto* is = reinterpret_cast<const QRgb*>(now.constScanLine(y));
            for (int x = 0; x < pixels.width(); ++x) {
                if (is[x] != was[x]) {
                    changed |= QRect((place.x() + x) / scale, (place.y() + y) / scale, 1, 1);
                }
            }
        }
        return changed;
    }

    int scale;
    QRect place;  // device pixels
    QImage pixels;
};

// Whether the rectangles reported as damaged cover changed.
bool Covers(const QList<QRect>& damaged, const QRect& changed) {
    QRect all;
    for (const QRect& rect : damaged) {
        all |= rect;
    }
    return changed.isEmpty() || all.contains(changed);
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
    // The pixels drawn so far; the painter goes on drawing on them.
    const QImage& current() { return image; }
    QImage image;
    QPainter painter;
};

// One canvas per scale, shared by the cases, with the damage reported since it showed the
// background again.
struct TestCanvas {
    explicit TestCanvas(int scale) : canvas(kSurface, scale) {
        canvas.setDamageHandler([this](const QRect& rect) { damaged << rect; });
    }
    // The background again, and no damage reported.
    void clear() {
        canvas.drawBitmap(kBackground, 0, 0, kSurface.width(), kSurface.height());
        damaged.clear();
    }
    SurfaceCanvas canvas;
    QList<QRect> damaged;
};

TestCanvas& Cleared(int scale) {
    static std::map<int, std::unique_ptr<TestCanvas>> canvases;
    std::unique_ptr<TestCanvas>& canvas = canvases[scale];
    if (!canvas) {
        canvas = std::make_unique<TestCanvas>(scale);
    }
    canvas->clear();
    return *canvas;
}

}  // namespace

class CanvasTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(PanelFont::registerEmbeddedFont() >= 0);
        QVERIFY(PanelFont::substituteFaceName());
    }

    // A name is kept only in characters the panel can draw as written.
    void theFaceDrawsEveryCharacterANameCanHold() {
        const QFont font = PanelFont::withCellHeight(PanelFont::kMediumCell);
        QCOMPARE(QFontInfo(font).family(), PanelFont::registeredFamily());
        const QFontMetrics metrics(font);
        for (char32_t c = 0; c <= 0x10FFFF; ++c) {
            if (LedName::IsNameCharacter(c)) {
                QVERIFY2(c <= 0xFF && metrics.inFontUcs4(c), qPrintable(QString::number(uint(c), 16)));
            }
        }
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
                // What the panel draws from: the file the build packed.
                const std::optional<PackedPicture> built = PackedPicture::FromPackedFile(
                    QResource(PanelArtwork::packedPath(id, scale)).uncompressedData());
                QVERIFY2(built, qPrintable(name + QStringLiteral(" has no packed file")));
                QVERIFY2(built->Unpack() == decoded, qPrintable(name));
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

    void damagedPackedFilesAreRefused_data() {
        QTest::addColumn<QByteArray>("file");
        const QByteArray packed = PackedPicture::FromBitmapFile(FileBytes(163))->Serialize();
        const auto withWord = [&packed](qsizetype at, quint32 word) {
            QByteArray changed = packed;
            qToLittleEndian<quint32>(word, changed.data() + at);
            return changed;
        };
        constexpr qsizetype kFirstRowStart = 16;
        const qsizetype height = qFromLittleEndian<quint32>(packed.constData() + 8);
        const qsizetype firstRun = kFirstRowStart + height * 4;
        QTest::addRow("empty") << QByteArray();
        QTest::addRow("a bitmap") << FileBytes(163);
        QTest::addRow("cut short") << packed.left(packed.size() - 4);
        QTest::addRow("a word too many") << packed + QByteArray(4, '\0');
        QTest::addRow("no width") << withWord(4, 0);
        QTest::addRow("wider than its runs")
            << withWord(4, qFromLittleEndian<quint32>(packed.constData() + 4) + 1);
        QTest::addRow("huge height") << withWord(8, 0x7FFFFFFF);
        QTest::addRow("run count past the file") << withWord(12, 0xFFFFFFFF);
        QTest::addRow("row starting past the runs") << withWord(kFirstRowStart, 0x00FFFFFF);
        QTest::addRow("run of no pixels") << withWord(firstRun, 1);
        QTest::addRow("run longer than the row") << withWord(firstRun, 0xFFFFFFF1);
    }

    void damagedPackedFilesAreRefused() {
        QFETCH(QByteArray, file);
        QVERIFY(!PackedPicture::FromPackedFile(file));
    }

    void picturesDrawAsQPainterDrewThem_data() {
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("id");
        QTest::addColumn<QRect>("cut");
        // One picture per way of packing: small ones keep plain rows, larger ones runs of one
        // colour among literal runs, and the background shares its equal rows.
        const QList<QPair<const char*, int>> pictures = {
            {"plain rows", 134}, {"runs", 230}, {"the background", kBackground}};
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
        for (int scale : {1, 2}) {
            for (const auto& [pictureName, id] : pictures) {
                for (const auto& [cutName, cut] : cuts) {
                    QTest::addRow("scale %d, %s: %s", scale, pictureName, cutName) << scale << id << cut;
                }
            }
        }
    }

    void picturesDrawAsQPainterDrewThem() {
        QFETCH(int, scale);
        QFETCH(int, id);
        QFETCH(QRect, cut);
        const QImage decoded = Decoded(id, scale);
        const QSize size = decoded.deviceIndependentSize().toSize();
        const QRect place(cut.topLeft(), QSize(cut.width() < 0 ? size.width() : cut.width(),
                                               cut.height() < 0 ? size.height() : cut.height()));
        // Where QPainter draws: the place, cut to the picture.
        const QRect drawn(
            place.topLeft(),
            QSize(place.width() > 0 ? std::min(place.width(), size.width()) : size.width(),
                  place.height() > 0 ? std::min(place.height(), size.height()) : size.height()));
        TestCanvas& surface = Cleared(scale);
        // Twice: decoded and kept at the first use (unless an earlier case used it), drawn from
        // what was kept at the second.
        for (int round = 0; round < 2; ++round) {
            const Part before(surface.canvas.image(), drawn.adjusted(-kWatchedMargin, -kWatchedMargin,
                                                                     kWatchedMargin, kWatchedMargin));
            surface.damaged.clear();
            QVERIFY(surface.canvas.drawBitmap(id, place.x(), place.y(), place.width(), place.height()));
            const QImage after = before.of(surface.canvas.image());
            const QString what = QStringLiteral("round %1").arg(round + 1);
            QVERIFY2(after == before.drawnBy([&](QPainter& painter) {
                painter.drawImage(QPointF(place.topLeft()), decoded,
                                  QRectF(0, 0, place.width() * scale, place.height() * scale));
            }),
                     qPrintable(what));
            // The window repaints what is reported, and nothing of a picture is left out.
            QVERIFY2(Covers(surface.damaged, before.changedIn(after)), qPrintable(what));
            QVERIFY2(Covers(surface.damaged, drawn.intersected(QRect(QPoint(0, 0), kSurface))),
                     qPrintable(what));
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
            {QStringLiteral("jig (fj) Qy_"), QPoint(400, 200)},
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
        // All that QPainter may ink, and the cell.
        const QRect inked = metrics.boundingRect(text).translated(at.x(), at.y() + metrics.ascent()) |
                            QRect(at.x(), at.y(), metrics.horizontalAdvance(text) + 1, metrics.height());

        // Over and over, each time over the last, from the shape kept and later from its mask:
        // the edges blend again.
        TestCanvas& surface = Cleared(scale);
        for (int round = 0; round < 4; ++round) {
            const Part before(surface.canvas.image(), inked.adjusted(-kWatchedMargin, -kWatchedMargin,
                                                                     kWatchedMargin, kWatchedMargin));
            surface.damaged.clear();
            surface.canvas.drawText(font, kText, at.x(), at.y(), text);
            const QImage after = before.of(surface.canvas.image());
            const QString what = QStringLiteral("round %1").arg(round + 1);
            QVERIFY2(after == before.drawnBy([&](QPainter& painter) {
                painter.setFont(font);
                painter.setPen(kText);
                painter.drawText(at.x(), at.y() + metrics.ascent(), text);
            }),
                     qPrintable(what));
            // The window repaints what is reported: every pixel the glyphs touched.
            QVERIFY2(Covers(surface.damaged, before.changedIn(after)), qPrintable(what));
        }
    }

    // A text cut to its box, as a long name is in its field: the pixels inside are the painter's,
    // the mask's the same once it takes over, and none outside the box changes.
    void textsCutToTheirBoxDrawAsQPainterDrewThem_data() {
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRect>("box");
        struct Case {
            const char* name;
            QString text;
            QPoint at;
            QRect box;
        };
        const QList<Case> cases = {
            {"a long name cut at its field's right edge",
             QStringLiteral("WWWWWWWWWWWWWWWWWWWW"),
             {20, 45},
             {3, 25, 156, 60}},
            {"cut through a glyph on the left", QStringLiteral("Indigo 435"), {100, 100}, {117, 90, 200, 40}},
            {"accents cut at the top",
             QStringLiteral("\u00c5ngstr\u00f6m \u00c4 \u00e9 \u00ff"),
             {200, 200},
             {190, 205, 300, 40}},
            {"tails cut at the bottom", QStringLiteral("jig (fj) Qy_"), {400, 200}, {390, 190, 300, 24}},
            {"a box one pixel wide", QStringLiteral("Blue 470"), {600, 60}, {615, 50, 1, 40}},
            {"a box wider than the text", QStringLiteral("Red 635"), {800, 60}, {700, 40, 400, 80}},
            {"a box beside the text", QStringLiteral("Lime 550"), {900, 60}, {1100, 40, 100, 80}},
            {"a box past the surface's edge",
             QStringLiteral("past the edge"),
             {1360, 400},
             {1380, 395, 100, 40}},
            {"a tab, laid out by the painter", QStringLiteral("tab\there"), {60, 300}, {70, 290, 40, 40}},
        };
        for (int scale : {1, 2}) {
            for (const Case& c : cases) {
                QTest::addRow("scale %d, %s", scale, c.name) << scale << c.text << c.at << c.box;
            }
        }
    }

    void textsCutToTheirBoxDrawAsQPainterDrewThem() {
        QFETCH(int, scale);
        QFETCH(QString, text);
        QFETCH(QPoint, at);
        QFETCH(QRect, box);
        const QFont font = PanelFont::withCellHeight(PanelFont::kLargeCell);
        const QFontMetrics metrics(font);
        const QRect inked = metrics.boundingRect(text).translated(at.x(), at.y() + metrics.ascent()) |
                            QRect(at.x(), at.y(), metrics.horizontalAdvance(text) + 1, metrics.height());
        TestCanvas& surface = Cleared(scale);
        // Over and over: through the painter first, from the mask later.
        for (int round = 0; round < 4; ++round) {
            const Part before(
                surface.canvas.image(),
                (inked | box).adjusted(-kWatchedMargin, -kWatchedMargin, kWatchedMargin, kWatchedMargin));
            surface.damaged.clear();
            surface.canvas.drawText(font, kText, at.x(), at.y(), text, box);
            const QImage after = before.of(surface.canvas.image());
            const QString what = QStringLiteral("round %1").arg(round + 1);
            QVERIFY2(after == before.drawnBy([&](QPainter& painter) {
                painter.setClipRect(box);
                painter.setFont(font);
                painter.setPen(kText);
                painter.drawText(at.x(), at.y() + metrics.ascent(), text);
            }),
                     qPrintable(what));
            const QRect changed = before.changedIn(after);
            QVERIFY2(box.contains(changed) || changed.isEmpty(), qPrintable(what));
            QVERIFY2(Covers(surface.damaged, changed), qPrintable(what));
        }
    }

    void textMasksBlendAsThePainterDoes_data() {
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("cell");
        for (int scale : {1, 2}) {
            for (int cell : {PanelFont::kSmallCell, PanelFont::kLargeCell}) {
                QTest::addRow("scale %d, %d px cell", scale, cell) << scale << cell;
            }
        }
    }

    void textMasksBlendAsThePainterDoes() {
        // The surface draws texts from masks only where they blend as the painter does here, and
        // falls back to the painter otherwise: a mask that blends wrong would pass every pixel
        // test above while every text goes the slow way.
        QFETCH(int, scale);
        QFETCH(int, cell);
        const QFont font = PanelFont::withCellHeight(cell);
        for (const QString& text :
             {QStringLiteral("Grouping LEDs together enables:"), QStringLiteral("Ångström Ä é ÿ"),
              QStringLiteral("jig (fj) Qy_ 100.0%")}) {
            QTextLayout layout(text, font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            const QList<QGlyphRun> glyphs = layout.glyphRuns();
            QRectF inked;
            for (const QGlyphRun& run : glyphs) {
                inked |= run.boundingRect();
            }
            const QRect reach = inked.toAlignedRect().adjusted(-1, -1, 1, 1);
            QVERIFY2(TextMask::DrawsLikePainter(glyphs, QPointF(0, 0), reach, scale), qPrintable(text));
        }
    }

    void everyBlendVariantGivesTheSamePixels() {
        // Each length from empty past two of the widest steps, so every step and tail is taken,
        // at coverages that favour the ends (0 and 255 take their own paths in places).
        std::mt19937 random(470);
        const auto coverageOf = [&random] {
            const uint32_t pick = random() % 4;
            return uint8_t(pick == 0 ? 0 : pick == 1 ? 255 : random() & 0xFF);
        };
        const std::vector<coverage_blend::Variant> variants = coverage_blend::Variants();
        for (int count = 0; count <= 20; ++count) {
            for (int round = 0; round < 50; ++round) {
                const uint32_t colour = random() | 0xFF000000u;
                std::vector<uint32_t> pixels(size_t(count) + 1);
                std::vector<uint8_t> coverage(size_t(count) + 1);
                for (int i = 0; i <= count; ++i) {
                    pixels[size_t(i)] = random() | 0xFF000000u;
                    coverage[size_t(i)] = coverageOf();
                }
                std::vector<uint32_t> expected = pixels;
                for (int i = 0; i < count; ++i) {
                    expected[size_t(i)] =
                        coverage_blend::Pixel(pixels[size_t(i)], colour, coverage[size_t(i)]);
                }
                for (const coverage_blend::Variant& variant : variants) {
                    // The pixel past the end stays as it was.
                    std::vector<uint32_t> blended = pixels;
                    variant.blend(blended.data(), coverage.data(), count, colour);
                    QVERIFY2(
                        blended == expected,
                        qPrintable(
                            QStringLiteral("%1, %2 pixels").arg(QLatin1String(variant.name)).arg(count)));
                }
            }
        }
    }

    void manyDifferentTextsStillDrawRight() {
        // More texts than the surface keeps shaped: it forgets some, and draws them again right.
        const QFont font = PanelFont::withCellHeight(PanelFont::kLargeCell);
        TestCanvas& surface = Cleared(1);
        Expected expected(1, font);
        for (int round = 0; round < 4; ++round) {
            for (int level = 0; level <= 1000; level += 2) {
                const QString text = QString::asprintf("%.01f%%", level / 10.0);
                const QPoint at((level % 30) * 40, (level / 30) * 12);
                surface.canvas.drawText(font, kText, at.x(), at.y(), text);
                expected.text(at, text);
            }
        }
        QVERIFY(surface.canvas.image() == expected.current());
    }

    void picturesAndTextsInTurnLandInOrder_data() {
        QTest::addColumn<int>("scale");
        QTest::newRow("scale 1") << 1;
        QTest::newRow("scale 2") << 2;
    }

    void picturesAndTextsInTurnLandInOrder() {
        // Texts go through a painter kept open while pictures are copied into the same pixels; a
        // field drawn over a text hides it, and a copy taken in between keeps what it showed.
        QFETCH(int, scale);
        const QFont font = PanelFont::withCellHeight(PanelFont::kLargeCell);
        const QRect field(300, 90, 156, 60);
        TestCanvas& surface = Cleared(scale);
        Expected expected(scale, font);
        QImage taken;
        for (int value = 0; value < 3; ++value) {
            surface.canvas.drawBitmap(163, field.x(), field.y(), field.width(), field.height());
            surface.canvas.drawText(font, kText, field.x() + 4, field.y() + 2, QString::number(value));
            if (value == 1) {
                taken = surface.canvas.image();
            }
        }
        const QImage field163 = Decoded(163, scale);
        for (int value : {1, 2}) {
            expected.painter.drawImage(field.topLeft(), field163);
            expected.text(field.topLeft() + QPoint(4, 2), QString::number(value));
            QVERIFY((value == 1 ? taken : surface.canvas.image()) == expected.current());
        }
    }
};

QTEST_MAIN(CanvasTest)
#include "tst_canvas.moc"
