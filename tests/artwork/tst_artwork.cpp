#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QtEndian>
#include <QtTest>
#include <algorithm>
#include <vector>

#include "PanelArtwork.h"
#include "PanelFont.h"
#include "PictureTable.h"
#include "SliderScale.h"

namespace {
// The fields of a bitmap file's headers that say how its pixels are stored.
struct BitmapHeader {
    bool valid = false;
    qint32 width = 0;
    qint32 height = 0;
    quint16 bitsPerPixel = 0;
    quint32 compression = 0;
};

BitmapHeader readBitmapHeader(const QString& path) {
    QFile file(path);
    BitmapHeader header;
    if (!file.open(QIODevice::ReadOnly)) {
        return header;
    }
    const QByteArray bytes = file.read(34);
    if (bytes.size() < 34 || !bytes.startsWith("BM")) {
        return header;
    }
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    header.valid = true;
    header.width = qFromLittleEndian<qint32>(data + 18);
    header.height = qFromLittleEndian<qint32>(data + 22);
    header.bitsPerPixel = qFromLittleEndian<quint16>(data + 28);
    header.compression = qFromLittleEndian<quint32>(data + 30);
    return header;
}

QImage bitmap(int id) {
    return QImage(PanelArtwork::bitmapPath(id));
}

struct ExpectedPicture {
    int id;
    int width;
    int height;
    const char* role;
};

// Every picture the panel draws, by id, with the size the panel copies it at.
const std::vector<ExpectedPicture>& expectedPictures() {
    static const std::vector<ExpectedPicture> pictures = {
        {131, 1450, 424, "background"},
        {132, 142, 51, "menu button"},
        {133, 142, 51, "menu button pressed"},
        {271, 166, 64, "EXIT button"},
        {202, 342, 51, "wide button"},
        {170, 342, 51, "wide button pressed"},
        {134, 31, 18, "bell dim"},
        {135, 31, 18, "bell lit"},
        {136, 31, 18, "bulb dim"},
        {137, 31, 18, "bulb lit"},
        {138, 31, 18, "LED dim"},
        {139, 31, 18, "LED lit"},
        {140, 31, 18, "padlock dim"},
        {141, 31, 18, "padlock lit"},
        {163, 156, 60, "name field"},
        {143, 92, 58, "value box"},
        {168, 92, 70, "up arrow grey"},
        {169, 92, 70, "up arrow green"},
        {166, 92, 70, "down arrow grey"},
        {167, 92, 70, "down arrow green"},
        {232, 64, 20, "scale top"},
        {231, 64, 20, "scale bottom"},
        {164, 156, 60, "switch unlit"},
        {165, 156, 60, "switch ON lit"},
        {129, 156, 60, "TRIGGERED light"},
        {178, 156, 60, "TRIGGERED dark"},
        {144, 64, 158, "LED slider track"},
        {145, 59, 26, "LED slider knob"},
        {225, 53, 281, "system slider track"},
        {226, 53, 27, "system slider knob"},
        {281, 89, 144, "grouping panel closed"},
        {280, 359, 149, "grouping panel opened"},
        {273, 89, 217, "trigger panel closed"},
        {274, 359, 223, "trigger panel opened"},
        {278, 246, 50, "CLEAR button"},
        {182, 87, 49, "step down"},
        {183, 87, 49, "step down pressed"},
        {184, 87, 49, "step up"},
        {185, 87, 49, "step up pressed"},
        {200, 132, 46, "number field opened"},
        {284, 72, 45, "number field closed"},
        {173, 153, 67, "mode switch dark"},
        {174, 153, 67, "mode switch ON lit"},
        {282, 790, 312, "alarms frame"},
        {152, 101, 107, "Max Temp"},
        {153, 101, 107, "Max Temp lit"},
        {154, 101, 107, "Min Temp"},
        {155, 101, 107, "Min Temp lit"},
        {148, 101, 107, "LED Module Fail"},
        {149, 101, 107, "LED Module Fail lit"},
        {150, 101, 107, "Light Guide Not Present"},
        {151, 101, 107, "Light Guide Not Present lit"},
        {146, 101, 107, "Comms Error"},
        {147, 101, 107, "Comms Error lit"},
        {213, 101, 107, "Watchdog Timeout"},
        {214, 101, 107, "Watchdog Timeout lit"},
        {156, 101, 107, "NVM Fail"},
        {210, 101, 107, "NVM Fail lit"},
        {211, 101, 107, "System Performance"},
        {212, 101, 107, "System Performance lit"},
        {199, 408, 312, "maintenance frame"},
        {230, 370, 162, "error list frame"},
        {221, 144, 45, "value frame"},
        {223, 403, 203, "warning popup"},
        {130, 800, 480, "title picture"},
    };
    return pictures;
}
}  // namespace

class TestArtwork : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void picture_data();
    void picture();
    void pictureScaleForScreens_data();
    void pictureScaleForScreens();
    void tableHoldsExactlyThePanelsPictures();
    void idWithoutPictureDoesNotLoad_data();
    void idWithoutPictureDoesNotLoad();
    void pairedPicturesDiffer_data();
    void pairedPicturesDiffer();
    void blankFieldMatchesItsPanel_data();
    void blankFieldMatchesItsPanel();
    void statusIconsBlendIntoStatusStrip_data();
    void statusIconsBlendIntoStatusStrip();
    void sliderScaleOnSharedRows_data();
    void sliderScaleOnSharedRows();
    void applicationIconHasSeveralSizes();
    void applicationIconPixmapsAreNeverEnlarged_data();
    void applicationIconPixmapsAreNeverEnlarged();
    void embeddedFontRegistersOnce();
    void faceNameMapsOntoEmbeddedFont();
    void panelFontCellHeights_data();
    void panelFontCellHeights();
};

void TestArtwork::initTestCase() {
    QVERIFY(PanelFont::registerEmbeddedFont() >= 0);
    QVERIFY(PanelFont::substituteFaceName());
}

void TestArtwork::picture_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QSize>("size");
    for (const ExpectedPicture& picture : expectedPictures()) {
        QTest::addRow("%d %s", picture.id, picture.role)
            << picture.id << QSize(picture.width, picture.height);
    }
}

void TestArtwork::picture() {
    QFETCH(int, id);
    QFETCH(QSize, size);
    const QString path = PanelArtwork::bitmapPath(id);

    const BitmapHeader header = readBitmapHeader(path);
    QVERIFY2(header.valid, qPrintable(path + QStringLiteral(" is not a bitmap resource")));
    QCOMPARE(header.bitsPerPixel, quint16(24));
    QCOMPARE(header.compression, quint32(0));
    QCOMPARE(QSize(header.width, qAbs(header.height)), size);

    const QImage image(path);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), size);
    QVERIFY(!image.hasAlphaChannel());

    const artwork::PictureRow* row = artwork::findPicture(id);
    QVERIFY(row);
    QCOMPARE(QSize(row->width, row->height), size);

    // The same picture for screens of pixel ratio 2: twice the pixels each way, and not merely
    // the small one enlarged.
    const QString doubledPath = PanelArtwork::bitmapPath(id, 2);
    const BitmapHeader doubled = readBitmapHeader(doubledPath);
    QVERIFY2(doubled.valid, qPrintable(doubledPath + QStringLiteral(" is not a bitmap resource")));
    QCOMPARE(doubled.bitsPerPixel, quint16(24));
    QCOMPARE(doubled.compression, quint32(0));
    QCOMPARE(QSize(doubled.width, qAbs(doubled.height)), size * 2);
    const QImage large(doubledPath);
    QVERIFY2(image.convertToFormat(QImage::Format_RGB32).scaled(size * 2) !=
                 large.convertToFormat(QImage::Format_RGB32),
             "the 2x picture is the small one enlarged");
}

void TestArtwork::pictureScaleForScreens_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<int>("scale");
    QTest::newRow("1") << 1.0 << 1;
    QTest::newRow("1.25 takes the larger pictures, reduced") << 1.25 << 2;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("2") << 2.0 << 2;
    QTest::newRow("3 has no larger pictures than 2") << 3.0 << 2;
    QTest::newRow("below 1") << 0.5 << 1;
}

void TestArtwork::pictureScaleForScreens() {
    QFETCH(qreal, ratio);
    QFETCH(int, scale);
    QCOMPARE(PanelArtwork::pictureScale(ratio), scale);
}

// A picture added to the generator's table but not listed above would go untested.
void TestArtwork::tableHoldsExactlyThePanelsPictures() {
    QList<int> drawn;
    for (const artwork::PictureRow& row : artwork::pictureTable()) {
        if (!row.isIcon()) {
            drawn.append(row.id);
        }
    }
    QList<int> listed;
    for (const ExpectedPicture& picture : expectedPictures()) {
        listed.append(picture.id);
    }
    std::sort(drawn.begin(), drawn.end());
    std::sort(listed.begin(), listed.end());
    QCOMPARE(drawn, listed);
}

void TestArtwork::idWithoutPictureDoesNotLoad_data() {
    QTest::addColumn<int>("id");
    QTest::newRow("zero") << 0;
    QTest::newRow("application icon is not a bitmap") << 267;
    QTest::newRow("unused 11") << 11;
    QTest::newRow("between pictures 157") << 157;
    QTest::newRow("unknown 999") << 999;
}

void TestArtwork::idWithoutPictureDoesNotLoad() {
    QFETCH(int, id);
    QVERIFY(!QFile::exists(PanelArtwork::bitmapPath(id)));
    QVERIFY(bitmap(id).isNull());
}

void TestArtwork::pairedPicturesDiffer_data() {
    QTest::addColumn<int>("normal");
    QTest::addColumn<int>("other");
    const struct {
        int normal;
        int other;
        const char* role;
    } pairs[] = {
        {132, 133, "menu button"},
        {202, 170, "wide button"},
        {168, 169, "up arrow"},
        {166, 167, "down arrow"},
        {182, 183, "step down"},
        {184, 185, "step up"},
        {164, 165, "switch"},
        {129, 178, "TRIGGERED"},
        {173, 174, "mode switch"},
        {134, 135, "bell"},
        {136, 137, "bulb"},
        {138, 139, "LED"},
        {140, 141, "padlock"},
        {152, 153, "Max Temp"},
        {154, 155, "Min Temp"},
        {148, 149, "LED Module Fail"},
        {150, 151, "Light Guide"},
        {146, 147, "Comms Error"},
        {213, 214, "Watchdog"},
        {156, 210, "NVM Fail"},
        {211, 212, "System Performance"},
        {281, 280, "grouping panel"},
        {273, 274, "trigger panel"},
        {168, 166, "arrow direction"},
        {182, 184, "step direction"},
        {152, 154, "temperature tiles"},
        {232, 231, "scale ends"},
    };
    for (const auto& pair : pairs) {
        QTest::addRow("%s %d/%d", pair.role, pair.normal, pair.other) << pair.normal << pair.other;
    }
}

void TestArtwork::pairedPicturesDiffer() {
    QFETCH(int, normal);
    QFETCH(int, other);
    const QImage first = bitmap(normal);
    const QImage second = bitmap(other);
    QVERIFY(!first.isNull() && !second.isNull());
    QVERIFY(first != second);
}

// Blanking a number field redraws it with the blank picture: it must look like the panel's own
// field, or a seam would show after every edit.
void TestArtwork::blankFieldMatchesItsPanel_data() {
    QTest::addColumn<int>("blank");
    QTest::addColumn<int>("panel");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("grouping closed") << 284 << 281 << QPoint(8, 83);
    QTest::newRow("trigger closed timeout") << 284 << 273 << QPoint(8, 83);
    QTest::newRow("trigger closed sequence") << 284 << 273 << QPoint(8, 156);
    QTest::newRow("grouping opened") << 200 << 280 << QPoint(20, 88);
    QTest::newRow("trigger opened timeout") << 200 << 274 << QPoint(20, 88);
    QTest::newRow("trigger opened sequence") << 200 << 274 << QPoint(20, 162);
}

void TestArtwork::blankFieldMatchesItsPanel() {
    QFETCH(int, blank);
    QFETCH(int, panel);
    QFETCH(QPoint, at);
    const QImage field = bitmap(blank);
    const QImage panelImage = bitmap(panel);
    QVERIFY(!field.isNull() && !panelImage.isNull());
    QCOMPARE(panelImage.copy(QRect(at, field.size())), field);
}

// Icons are copied onto the status strip without transparency, so their ground is the strip's.
void TestArtwork::statusIconsBlendIntoStatusStrip_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("x");
    for (int id : {140, 141}) {
        QTest::addRow("padlock %d", id) << id << 20;
    }
    for (int id : {136, 137}) {
        QTest::addRow("bulb %d", id) << id << 433;
    }
    for (int id : {134, 135}) {
        QTest::addRow("bell %d", id) << id << 846;
    }
    for (int id : {138, 139}) {
        QTest::addRow("LED %d", id) << id << 1259;
    }
}

void TestArtwork::statusIconsBlendIntoStatusStrip() {
    QFETCH(int, id);
    QFETCH(int, x);
    const QImage icon = bitmap(id);
    const QImage background = bitmap(131);
    for (const QPoint corner : {QPoint(0, 0), QPoint(30, 0), QPoint(0, 17), QPoint(30, 17)}) {
        QCOMPARE(icon.pixel(corner), background.pixel(corner + QPoint(x, 0)));
    }
}

// The slider moves its knob by the scale's rows, so the pictures have to draw them there.
void TestArtwork::sliderScaleOnSharedRows_data() {
    QTest::addColumn<int>("track");
    QTest::addColumn<int>("knob");
    QTest::newRow("LED slider") << 144 << 145;
    QTest::newRow("unit-setting slider") << 225 << 226;
}

void TestArtwork::sliderScaleOnSharedRows() {
    QFETCH(int, track);
    QFETCH(int, knob);
    const QImage trackImage = bitmap(track);
    const QImage knobImage = bitmap(knob);
    QVERIFY(!trackImage.isNull() && !knobImage.isNull());

    // A mark is a run of light pixels across the dark plate; minor marks are one row, major two.
    QList<int> expectedMarks;
    const int middle = (SliderScale::kMarkCount - 1) / 2;
    for (int mark = 0; mark < SliderScale::kMarkCount; ++mark) {
        const int row = SliderScale::MarkRow(trackImage.height(), mark);
        expectedMarks << row;
        if (mark % middle == 0) {
            expectedMarks << row + 1;
        }
    }
    QList<int> markRows;
    for (int y = 0; y < trackImage.height(); ++y) {
        int run = 0;
        int longest = 0;
        for (int x = 0; x < trackImage.width(); ++x) {
            run = qGray(trackImage.pixel(x, y)) > 80 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        if (longest >= 7) {
            markRows << y;
        }
    }
    QCOMPARE(markRows, expectedMarks);

    QList<int> indexRows;
    for (int y = 0; y < knobImage.height(); ++y) {
        const QColor colour = knobImage.pixelColor(knobImage.width() / 2, y);
        if (colour.green() > colour.red() + 100 && colour.green() > colour.blue() + 100) {
            indexRows << y;
        }
    }
    QCOMPARE(indexRows, (QList<int>{SliderScale::kKnobIndexRow, SliderScale::kKnobIndexRow + 1}));
}

void TestArtwork::applicationIconHasSeveralSizes() {
    const QIcon icon = PanelArtwork::applicationIcon();
    QVERIFY(!icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (const QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(256, 256)}) {
        QVERIFY2(sizes.contains(size), qPrintable(QStringLiteral("no %1 px icon").arg(size.width())));
    }
}

void TestArtwork::applicationIconPixmapsAreNeverEnlarged_data() {
    QTest::addColumn<QSize>("asked");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<qreal>("pixelRatio");
    QTest::newRow("a size it has") << QSize(32, 32) << 1.0 << QSize(32, 32) << 1.0;
    QTest::newRow("between two sizes: the larger, made smaller")
        << QSize(20, 20) << 1.0 << QSize(20, 20) << 1.0;
    QTest::newRow("larger than the largest: the largest as it is")
        << QSize(512, 512) << 1.0 << QSize(256, 256) << 1.0;
    QTest::newRow("at ratio 2: twice the pixels") << QSize(16, 16) << 2.0 << QSize(32, 32) << 2.0;
    // Qt gives a pixmap smaller than asked for the ratio it makes up.
    QTest::newRow("at ratio 2, past the largest") << QSize(256, 256) << 2.0 << QSize(256, 256) << 1.0;
}

void TestArtwork::applicationIconPixmapsAreNeverEnlarged() {
    QFETCH(QSize, asked);
    QFETCH(qreal, ratio);
    QFETCH(QSize, pixels);
    QFETCH(qreal, pixelRatio);
    const QPixmap pixmap = PanelArtwork::applicationIcon().pixmap(asked, ratio);
    QCOMPARE(pixmap.size(), pixels);
    QCOMPARE(pixmap.devicePixelRatio(), pixelRatio);
}

void TestArtwork::embeddedFontRegistersOnce() {
    const int id = PanelFont::registerEmbeddedFont();
    QVERIFY(id >= 0);
    QCOMPARE(PanelFont::registeredFamily(), QStringLiteral("PT Sans"));
    QCOMPARE(PanelFont::registerEmbeddedFont(), id);
}

void TestArtwork::faceNameMapsOntoEmbeddedFont() {
    QFont font(QString::fromLatin1(PanelFont::kFaceName));
    font.setBold(true);
    QCOMPARE(QFontInfo(font).family(), PanelFont::registeredFamily());
    QVERIFY(QFontInfo(font).bold());
}

void TestArtwork::panelFontCellHeights_data() {
    QTest::addColumn<QFont>("font");
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("expected");
    const PanelFont::Fonts fonts = PanelFont::createPanelFonts();
    // PT Sans Bold has no pixel size with a 16 px cell: 12 px gives 15, 13 px gives 17.
    QTest::newRow("FontSmall") << fonts.small << int(PanelFont::kSmallCell) << 15;
    QTest::newRow("FontMedium") << fonts.medium << int(PanelFont::kMediumCell) << 20;
    QTest::newRow("FontLarge") << fonts.large << int(PanelFont::kLargeCell) << 24;
    // Nor for 30, the error popup's font: 23 px gives 29, 24 px gives 31.
    QTest::newRow("error popup") << PanelFont::withCellHeight(30) << 30 << 29;
}

void TestArtwork::panelFontCellHeights() {
    QFETCH(QFont, font);
    QFETCH(int, cell);
    QFETCH(int, expected);
    QCOMPARE(QFontInfo(font).family(), PanelFont::registeredFamily());
    QCOMPARE(font.weight(), QFont::Bold);
    const QFontMetrics metrics(font);
    QCOMPARE(metrics.ascent() + metrics.descent(), expected);

    // The largest size that fits: one pixel more would overflow the cell.
    font.setPixelSize(font.pixelSize() + 1);
    const QFontMetrics larger(font);
    QVERIFY(larger.ascent() + larger.descent() > cell);
}

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
