#include "CError.h"
#include "PanelFont.h"

#include <QtTest>

namespace {

// What the popup paints over its picture: the pixels that differ from the bare picture.
struct Painted {
    QImage shown;
    QImage background;

    bool differs(int x, int y) const { return shown.pixel(x, y) != background.pixel(x, y); }
};

Painted paint(uint8_t code) {
    CError popup;
    popup.m_messageCode = code;
    Painted painted;
    painted.shown = popup.grab().toImage().convertToFormat(QImage::Format_RGB32);
    painted.background = QImage(QStringLiteral(":/bitmaps/%1.bmp").arg(CError::kPictureId))
                             .convertToFormat(QImage::Format_RGB32);
    return painted;
}

}  // namespace

class ErrorPopupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(PanelFont::registerEmbeddedFont() >= 0);
        QVERIFY(PanelFont::substituteFaceName());
        const QImage background(QStringLiteral(":/bitmaps/%1.bmp").arg(CError::kPictureId));
        QCOMPARE(background.size(), QSize(CError::kWidth, CError::kHeight));
    }

    void isFramelessModalPictureSizedPopup() {
        CError popup;
        QVERIFY(popup.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(popup.isModal());
        QCOMPARE(popup.size(), QSize(403, 203));
    }

    // Lines given by the top left of their text cells. The lines of code 0 are 25 pixels apart,
    // so a line's own rows are the first 25 of its cell.
    void writesTheWarningOfItsCode_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QList<QPoint>>("lines");

        QTest::newRow("0: alarm, three lines") << 0 << QList<QPoint>{{85, 35}, {66, 60}, {160, 85}};
        QTest::newRow("1: light guide, one line") << 1 << QList<QPoint>{{60, 35}};
        QTest::newRow("7: picture alone") << 7 << QList<QPoint>{};
        QTest::newRow("255: picture alone") << 255 << QList<QPoint>{};
    }

    void writesTheWarningOfItsCode() {
        QFETCH(int, code);
        QFETCH(QList<QPoint>, lines);

        const Painted painted = paint(static_cast<uint8_t>(code));
        QCOMPARE(painted.shown.size(), painted.background.size());

        const auto inSomeCell = [&lines](int x, int y) {
            for (const QPoint& line : lines) {
                // A glyph may start a pixel before the cell's left edge.
                if (x >= line.x() - 1 && y >= line.y() && y < line.y() + CError::kFontCellHeight) {
                    return true;
                }
            }
            return false;
        };
        for (int y = 0; y < painted.shown.height(); ++y) {
            for (int x = 0; x < painted.shown.width(); ++x) {
                if (!painted.differs(x, y)) {
                    continue;
                }
                QVERIFY2(inSomeCell(x, y), qPrintable(QStringLiteral("painted at (%1, %2)").arg(x).arg(y)));
                // White text, antialiased: never darker than the picture beneath.
                const QColor shown(painted.shown.pixel(x, y));
                const QColor under(painted.background.pixel(x, y));
                QVERIFY(shown.red() >= under.red() && shown.green() >= under.green() &&
                        shown.blue() >= under.blue());
            }
        }

        for (const QPoint& line : lines) {
            int leftmost = -1;
            bool white = false;
            for (int y = line.y(); y < line.y() + 25; ++y) {
                for (int x = 0; x < painted.shown.width(); ++x) {
                    if (painted.differs(x, y)) {
                        leftmost = leftmost < 0 ? x : qMin(leftmost, x);
                        white = white || painted.shown.pixel(x, y) == qRgb(255, 255, 255);
                    }
                }
            }
            QVERIFY2(
                white,
                qPrintable(
                    QStringLiteral("no white text in the line at (%1, %2)").arg(line.x()).arg(line.y())));
            QVERIFY2(leftmost >= line.x() - 1 && leftmost <= line.x() + 4,
                     qPrintable(QStringLiteral("line at (%1, %2) starts at x %3")
                                    .arg(line.x())
                                    .arg(line.y())
                                    .arg(leftmost)));
        }
    }

    void closesOnlyOnThePaintedOk_data() {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("closes");

        QTest::newRow("top left corner") << QPoint(137, 145) << Qt::LeftButton << true;
        QTest::newRow("bottom right corner") << QPoint(267, 187) << Qt::LeftButton << true;
        QTest::newRow("middle") << QPoint(200, 166) << Qt::LeftButton << true;
        QTest::newRow("left of it") << QPoint(136, 160) << Qt::LeftButton << false;
        QTest::newRow("above it") << QPoint(200, 144) << Qt::LeftButton << false;
        QTest::newRow("right of it") << QPoint(268, 160) << Qt::LeftButton << false;
        QTest::newRow("below it") << QPoint(200, 188) << Qt::LeftButton << false;
        QTest::newRow("right button on it") << QPoint(200, 166) << Qt::RightButton << false;
    }

    void closesOnlyOnThePaintedOk() {
        QFETCH(QPoint, point);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, closes);

        CError popup;
        popup.open();
        QTest::mouseClick(&popup, button, {}, point);
        QCOMPARE(popup.isVisible(), !closes);
    }

    void keys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("closes");

        QTest::newRow("Return") << int(Qt::Key_Return) << true;
        QTest::newRow("Enter") << int(Qt::Key_Enter) << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << true;
        QTest::newRow("Space") << int(Qt::Key_Space) << false;
        QTest::newRow("letter") << int(Qt::Key_A) << false;
    }

    void keys() {
        QFETCH(int, key);
        QFETCH(bool, closes);

        CError popup;
        popup.open();
        QTest::keyClick(&popup, Qt::Key(key));
        QCOMPARE(popup.isVisible(), !closes);
    }

    // The popup is reused: each showing writes the code it was given.
    void reusedPopupShowsTheNewCode() {
        CError popup;
        popup.m_messageCode = 0;
        popup.open();
        QTest::keyClick(&popup, Qt::Key_Escape);
        popup.m_messageCode = 1;
        popup.open();
        const QImage shown = popup.grab().toImage();
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32), paint(1).shown);
        popup.reject();
    }
};

QTEST_MAIN(ErrorPopupTest)
#include "tst_errorpopup.moc"
