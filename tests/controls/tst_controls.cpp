// The picture slider and the bitmap window: strips and frames, the frame rules, forwarding, the
// slider's geometry, presses, drags and notifications.
#include "CBitImage.h"
#include "CBitWnd.h"
#include "CMainSliderCtrl.h"
#include "PanelArtwork.h"
#include "SliderGeometry.h"
#include "SliderScale.h"
#include "SliderSetup.h"

#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>

#include <algorithm>
#include <cmath>

Q_DECLARE_METATYPE(SliderRect)

char* toString(const SliderRect& rect) {
    return QTest::toString(
        QStringLiteral("(%1, %2)-(%3, %4)").arg(rect.left).arg(rect.top).arg(rect.right).arg(rect.bottom));
}

namespace {

const QColor kLeading(200, 0, 0);
const QColor kTrailing(0, 0, 200);
const QColor kKnob(0, 200, 0);

QImage Solid(QSize size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QColor FrameColour(int frame) {
    return QColor(40 + 60 * frame, 255 - 60 * frame, 90);
}

// A strip whose frame k is filled with FrameColour(k).
QImage Strip(QSize frame, int count, bool vertical) {
    const QSize whole = vertical ? QSize(frame.width(), frame.height() * count)
                                 : QSize(frame.width() * count, frame.height());
    QImage image(whole, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int k = 0; k < count; ++k) {
        const QPoint origin = vertical ? QPoint(0, k * frame.height()) : QPoint(k * frame.width(), 0);
        painter.fillRect(QRect(origin, frame), FrameColour(k));
    }
    return image;
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(pos), QPointF(target->mapTo(target->window(), pos)),
                      QPointF(target->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void Press(QWidget* target, QPoint pos) {
    SendMouse(target, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
}

void Move(QWidget* target, QPoint pos, Qt::MouseButtons buttons = Qt::LeftButton) {
    SendMouse(target, QEvent::MouseMove, pos, Qt::NoButton, buttons);
}

void Release(QWidget* target, QPoint pos) {
    SendMouse(target, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

// Stands in for the main dialog: records the slider notifications, with the position the slider
// had when each arrived, and whatever pointer, key and wheel input reaches it.
class RecordingParent : public QWidget {
public:
    struct Notification {
        int code;
        int position;
    };
    struct MouseInput {
        QEvent::Type type;
        QPoint pos;
        Qt::MouseButtons buttons;
    };

    const CMainSliderCtrl* watched = nullptr;
    QList<Notification> notifications;
    QList<MouseInput> mouse;
    int keys = 0;

    void watch(CMainSliderCtrl* slider) {
        watched = slider;
        QObject::connect(slider, &CMainSliderCtrl::SliderChanged, this, [this](int code) {
            notifications.append({code, watched->value()});
        });
    }

protected:
    void mousePressEvent(QMouseEvent* event) override { record(event); }
    void mouseMoveEvent(QMouseEvent* event) override { record(event); }
    void mouseReleaseEvent(QMouseEvent* event) override { record(event); }
    void keyPressEvent(QKeyEvent*) override { ++keys; }

private:
    void record(QMouseEvent* event) {
        mouse.append({event->type(), event->position().toPoint(), event->buttons()});
    }
};

// An LED slider as the dialog sets it up, drawn from plain colours: track 64 × 158 (leading red,
// trailing blue), knob 59 × 26, shift -14, code 3, range 0..1000.
struct SliderRig {
    RecordingParent parent;
    CMainSliderCtrl* slider = new CMainSliderCtrl(&parent);

    explicit SliderRig(int position) {
        parent.watch(slider);
        slider->SetThumbBitmap(CBitImage(Solid(QSize(59, 26), kKnob)));
        slider->SetTrackBitmaps(CBitImage(Solid(QSize(64, 158), kTrailing)),
                                CBitImage(Solid(QSize(64, 158), kLeading)));
        slider->SetThumbShift(-14);
        slider->SetNotifyCode(3);
        slider->setRange(0, 1000);
        slider->setValue(position);
    }
};

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT

private slots:
    // Bitmap strip and bitmap window.
    void strip_data();
    void strip();
    void stripAtScale2_data();
    void stripAtScale2();
    void missingPictureGivesEmptyStrip_data();
    void missingPictureGivesEmptyStrip();
    void windowDrawsItsFrame_data();
    void windowDrawsItsFrame();
    void frameRules_data();
    void frameRules();
    void command_data();
    void command();
    void forwardsInParentCoordinates_data();
    void forwardsInParentCoordinates();

    // Slider geometry.
    void geometry_data();
    void geometry();
    void pressBand_data();
    void pressBand();
    void knobCentredOnThumb_data();
    void knobCentredOnThumb();

    // The slider.
    void press_data();
    void press();
    void drag_data();
    void drag();
    void dragThroughKnob();
    void dragInShownWindow();
    void wheelAndKeys_data();
    void wheelAndKeys();
    void drawing_data();
    void drawing();
    void knobOnItsMark_data();
    void knobOnItsMark();
    void secondThumbBitmapChangesNothing();
    void configuredFromTable_data();
    void configuredFromTable();
};

void ControlsTest::strip_data() {
    QTest::addColumn<QImage>("image");
    QTest::addColumn<int>("frameWidth");
    QTest::addColumn<int>("frameHeight");
    QTest::addColumn<int>("frames");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("probe");
    QTest::addColumn<QRect>("source");

    const QImage knob = Solid(QSize(59, 26), Qt::gray);
    QTest::newRow("horizontal 177x26 by 59")
        << Solid(QSize(177, 26), Qt::gray) << 59 << 0 << 3 << false << 2 << QRect(118, 0, 59, 26);
    QTest::newRow("vertical 20x60 by 20")
        << Solid(QSize(20, 60), Qt::gray) << 0 << 20 << 3 << true << 1 << QRect(0, 20, 20, 20);
    QTest::newRow("one frame as wide as the picture")
        << knob << 59 << 26 << 1 << false << 0 << QRect(0, 0, 59, 26);
    QTest::newRow("no frame past the last") << knob << 59 << 26 << 1 << false << 1 << QRect();
    QTest::newRow("no negative frame") << knob << 59 << 26 << 1 << false << -1 << QRect();
    QTest::newRow("sizes 0 take the whole picture")
        << knob << 0 << 0 << 1 << false << 0 << QRect(0, 0, 59, 26);
    QTest::newRow("negative sizes take the whole picture")
        << knob << -4 << -1 << 1 << false << 0 << QRect(0, 0, 59, 26);
    QTest::newRow("square strip stands side by side")
        << Solid(QSize(60, 60), Qt::gray) << 20 << 0 << 3 << false << 2 << QRect(40, 0, 20, 60);
    QTest::newRow("leftover columns make no frame")
        << Solid(QSize(130, 26), Qt::gray) << 59 << 0 << 2 << false << 2 << QRect();
    QTest::newRow("frame wider than the picture")
        << Solid(QSize(53, 27), Qt::gray) << 59 << 27 << 0 << false << 0 << QRect();
    QTest::newRow("empty picture, given frame size") << QImage() << 59 << 26 << 0 << false << 0 << QRect();
    QTest::newRow("empty picture, whole-picture frame") << QImage() << 0 << 0 << 0 << false << 0 << QRect();
}

void ControlsTest::strip() {
    QFETCH(QImage, image);
    QFETCH(int, frameWidth);
    QFETCH(int, frameHeight);
    QFETCH(int, frames);
    QFETCH(bool, vertical);
    QFETCH(int, probe);
    QFETCH(QRect, source);

    const CBitImage strip(image, frameWidth, frameHeight);
    QCOMPARE(strip.frameCount(), frames);
    QCOMPARE(strip.isVertical(), vertical);
    QCOMPARE(strip.frameSource(probe), source);
}

void ControlsTest::stripAtScale2_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QSize>("frameSize");
    QTest::newRow("channel knob") << 145 << QSize(59, 26);
    QTest::newRow("channel track") << 144 << QSize();
    QTest::newRow("unit-setting knob") << 226 << QSize(53, 27);
}

// At scale 2 a strip keeps its geometry in logical pixels and draws the picture made for that
// scale, not the small one enlarged.
void ControlsTest::stripAtScale2() {
    QFETCH(int, id);
    QFETCH(QSize, frameSize);
    const CBitImage small(id, frameSize.width(), frameSize.height());
    const CBitImage large(id, frameSize.width(), frameSize.height(), 2);
    QVERIFY(small.frameCount() > 0);
    QCOMPARE(large.size(), small.size());
    QCOMPARE(large.image().size(), small.size() * 2);
    QCOMPARE(large.frameCount(), small.frameCount());
    const QRect first = large.frameSource(0);
    QCOMPARE(first, small.frameSource(0));
    QCOMPARE(large.pixels(first), QRectF(first.topLeft() * 2, first.size() * 2));

    // A window shows the first frame until hovered or pressed.
    RecordingParent parent;
    auto* window = new CBitWnd(&parent);
    window->SetImage(large);
    window->setGeometry(first);
    QImage shot(first.size() * 2, QImage::Format_RGB32);
    shot.setDevicePixelRatio(2);
    shot.fill(Qt::black);
    window->render(&shot, QPoint(), QRegion(), QWidget::RenderFlags());
    const QImage expected = QImage(PanelArtwork::bitmapPath(id, 2))
                                .convertToFormat(QImage::Format_RGB32)
                                .copy(QRect(QPoint(0, 0), first.size() * 2));
    QImage drawn = shot;
    drawn.setDevicePixelRatio(1);
    QVERIFY(drawn == expected);
}

void ControlsTest::missingPictureGivesEmptyStrip_data() {
    QTest::addColumn<bool>("given");

    QTest::newRow("picture that cannot be loaded") << true;
    QTest::newRow("window never given an image") << false;
}

void ControlsTest::missingPictureGivesEmptyStrip() {
    QFETCH(bool, given);
    const CBitImage strip(9999, 59, 26);
    QCOMPARE(strip.frameCount(), 0);

    RecordingParent parent;
    parent.resize(80, 40);
    auto* window = new CBitWnd(&parent);
    if (given) {
        window->SetImage(strip);
    }
    window->setGeometry(0, 0, 59, 26);
    Move(window, QPoint(3, 3), Qt::NoButton);
    Press(window, QPoint(3, 3));
    QCOMPARE(window->frame(), 0);
    QImage shot(59, 26, QImage::Format_RGB32);
    shot.fill(Qt::white);
    window->render(&shot, QPoint(), QRegion(), QWidget::RenderFlags());
    QCOMPARE(shot.pixelColor(10, 10), QColor(Qt::white));
}

void ControlsTest::windowDrawsItsFrame_data() {
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("press");
    QTest::addColumn<int>("frame");

    QTest::newRow("horizontal, untouched") << false << false << 0;
    QTest::newRow("horizontal, pressed") << false << true << 2;
    QTest::newRow("vertical, hovered") << true << false << 1;
    QTest::newRow("vertical, pressed") << true << true << 2;
}

void ControlsTest::windowDrawsItsFrame() {
    QFETCH(bool, vertical);
    QFETCH(bool, press);
    QFETCH(int, frame);

    const QSize frameSize = vertical ? QSize(20, 20) : QSize(59, 26);
    RecordingParent parent;
    parent.resize(100, 100);
    auto* window = new CBitWnd(&parent);
    window->SetImage(CBitImage(Strip(frameSize, 3, vertical), vertical ? 0 : 59, vertical ? 20 : 0));
    window->setGeometry(QRect(QPoint(5, 5), frameSize));
    if (frame == 1) {
        Move(window, QPoint(1, 1), Qt::NoButton);
    }
    if (press) {
        Press(window, QPoint(1, 1));
    }
    QCOMPARE(window->frame(), frame);

    QImage shot(frameSize, QImage::Format_RGB32);
    shot.fill(Qt::black);
    window->render(&shot, QPoint(), QRegion(), QWidget::RenderFlags());
    QCOMPARE(shot.pixelColor(0, 0), FrameColour(frame));
    QCOMPARE(shot.pixelColor(frameSize.width() - 1, frameSize.height() - 1), FrameColour(frame));
}

void ControlsTest::frameRules_data() {
    QTest::addColumn<int>("frames");
    QTest::addColumn<bool>("toggle");
    // H hover (a plain movement), L leave, P press, R release; each followed by the frame shown.
    QTest::addColumn<QString>("script");

    QTest::newRow("three frames") << 3 << false << "H1 P2 H2 R1 L0 H1";
    QTest::newRow("three frames, toggle") << 3 << true << "H1 P2 R2 L2 H2 P0 R1 L0";
    QTest::newRow("two frames") << 2 << false << "H1 P0 R1 L0";
    QTest::newRow("two frames, toggle: latched shows the last frame") << 2 << true << "P0 R0 H1 L1 P0 R1";
    QTest::newRow("one frame") << 1 << false << "H0 P0 R0 L0";
    QTest::newRow("one frame, toggle") << 1 << true << "P0 H0 R0 L0 P0 R0";
}

void ControlsTest::frameRules() {
    QFETCH(int, frames);
    QFETCH(bool, toggle);
    QFETCH(QString, script);

    RecordingParent parent;
    parent.resize(200, 100);
    auto* window = new CBitWnd(&parent);
    window->SetImage(CBitImage(Strip(QSize(59, 26), frames, false), 59, 26));
    window->setGeometry(0, 0, 59, 26);
    window->m_toggle = toggle;

    for (const QString& step : script.split(QLatin1Char(' '))) {
        const QPoint inside(10, 10);
        switch (step.at(0).toLatin1()) {
            case 'H':
                Move(window, inside, Qt::NoButton);
                break;
            case 'L': {
                QEvent leave(QEvent::Leave);
                QCoreApplication::sendEvent(window, &leave);
                break;
            }
            case 'P':
                Press(window, inside);
                break;
            case 'R':
                Release(window, inside);
                break;
        }
        QVERIFY2(window->frame() == step.mid(1).toInt(),
                 qPrintable(QStringLiteral("after %1 the frame is %2").arg(step).arg(window->frame())));
    }
}

void ControlsTest::command_data() {
    QTest::addColumn<bool>("notifyOnPress");
    QTest::addColumn<int>("afterPress");

    QTest::newRow("on release") << false << 0;
    QTest::newRow("on press") << true << 1;
}

void ControlsTest::command() {
    QFETCH(bool, notifyOnPress);
    QFETCH(int, afterPress);

    RecordingParent parent;
    auto* window = new CBitWnd(&parent);
    window->SetImage(CBitImage(Strip(QSize(59, 26), 3, false), 59));
    window->setGeometry(0, 0, 59, 26);
    window->m_notifyOnPress = notifyOnPress;
    QSignalSpy commands(window, &CBitWnd::command);

    Press(window, QPoint(4, 4));
    QCOMPARE(commands.count(), afterPress);
    Release(window, QPoint(4, 4));
    QCOMPARE(commands.count(), 1);
}

void ControlsTest::forwardsInParentCoordinates_data() {
    QTest::addColumn<bool>("forward");

    QTest::newRow("forwarding") << true;
    QTest::newRow("not forwarding") << false;
}

void ControlsTest::forwardsInParentCoordinates() {
    QFETCH(bool, forward);

    RecordingParent parent;
    parent.setGeometry(300, 200, 200, 200);
    auto* window = new CBitWnd(&parent);
    window->SetImage(CBitImage(Solid(QSize(30, 30), Qt::gray)));
    window->setGeometry(10, 100, 30, 30);
    window->m_forwardMouse = forward;
    parent.show();

    Press(window, QPoint(5, 7));
    Move(window, QPoint(6, 9));
    Release(window, QPoint(6, 9));

    if (!forward) {
        QVERIFY(parent.mouse.isEmpty());
        return;
    }
    QCOMPARE(parent.mouse.size(), 3);
    QCOMPARE(parent.mouse[0].type, QEvent::MouseButtonPress);
    QCOMPARE(parent.mouse[0].pos, QPoint(15, 107));
    QCOMPARE(parent.mouse[0].buttons, Qt::MouseButtons(Qt::LeftButton));
    QCOMPARE(parent.mouse[1].type, QEvent::MouseMove);
    QCOMPARE(parent.mouse[1].pos, QPoint(16, 109));
    QCOMPARE(parent.mouse[1].buttons, Qt::MouseButtons(Qt::LeftButton));
    QCOMPARE(parent.mouse[2].type, QEvent::MouseButtonRelease);
    QCOMPARE(parent.mouse[2].pos, QPoint(16, 109));
}

void ControlsTest::geometry_data() {
    QTest::addColumn<QSize>("control");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("position");
    QTest::addColumn<SliderRect>("thumb");
    QTest::addColumn<SliderRect>("channel");

    const QSize led(64, 158);
    const SliderRect ledChannel{18, 8, 22, 150};
    // The thumb's centre travels over the scale's marks, rows 12..142 of the LED track, while presses
    // map onto the channel.
    QTest::newRow("LED track, top") << led << 0 << 1000 << 0 << SliderRect{10, 7, 31, 18} << ledChannel;
    QTest::newRow("LED track, middle") << led << 0 << 1000 << 500 << SliderRect{10, 72, 31, 83} << ledChannel;
    QTest::newRow("LED track, rounds to the nearest pixel")
        << led << 0 << 1000 << 507 << SliderRect{10, 73, 31, 84} << ledChannel;
    QTest::newRow("LED track, bottom")
        << led << 0 << 1000 << 1000 << SliderRect{10, 137, 31, 148} << ledChannel;
    QTest::newRow("unit track, 0..255")
        << QSize(53, 281) << 0 << 255 << 128 << SliderRect{10, 134, 31, 145} << SliderRect{18, 8, 22, 273};
    QTest::newRow("unit track, offset range")
        << QSize(53, 281) << 100 << 200 << 100 << SliderRect{10, 7, 31, 18} << SliderRect{18, 8, 22, 273};
    QTest::newRow("empty range stays at the top")
        << led << 5 << 5 << 5 << SliderRect{10, 7, 31, 18} << ledChannel;
    QTest::newRow("too short for a channel")
        << QSize(64, 10) << 0 << 1000 << 1000 << SliderRect{10, 7, 31, 18} << SliderRect{18, 8, 22, 8};
}

void ControlsTest::geometry() {
    QFETCH(QSize, control);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, position);
    QFETCH(SliderRect, thumb);
    QFETCH(SliderRect, channel);

    const SliderGeometry geometry = SliderGeometry::At(control, minimum, maximum, position);
    QCOMPARE(geometry.channel, channel);
    QCOMPARE(geometry.thumb, thumb);
    if (channel.bottom > channel.top) {
        QVERIFY(geometry.thumb.top >= 0 && geometry.thumb.bottom <= control.height());
    }
}

void ControlsTest::pressBand_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("on the thumb") << 20 << false;
    QTest::newRow("thumb's right edge, x = 31") << 31 << false;
    QTest::newRow("first column right of it, x = 32") << 32 << true;
    QTest::newRow("last column of the band, x = 56") << 56 << true;
    QTest::newRow("past the band, x = 57") << 57 << false;
}

void ControlsTest::pressBand() {
    QFETCH(int, x);
    QFETCH(bool, accepted);

    const SliderRect thumb{10, 60, 31, 80};
    QCOMPARE(SliderGeometry::AcceptsPress(thumb, x), accepted);
}

void ControlsTest::knobCentredOnThumb_data() {
    QTest::addColumn<QSize>("track");
    QTest::addColumn<QSize>("knob");
    QTest::addColumn<int>("shift");

    QTest::newRow("LED slider") << QSize(64, 158) << QSize(59, 26) << -14;
    QTest::newRow("unit-setting slider") << QSize(53, 281) << QSize(53, 27) << -15;
}

void ControlsTest::knobCentredOnThumb() {
    QFETCH(QSize, track);
    QFETCH(QSize, knob);
    QFETCH(int, shift);

    // The knob is what the user drags, so it has to stay on the pointer, which the thumb follows.
    for (const int position : {0, 333, 1000}) {
        const SliderRect thumb = SliderGeometry::At(track, 0, 1000, position).thumb;
        const QRect rect = SliderGeometry::KnobRect(thumb, knob, 0, shift);
        const double knobCentre = rect.top() + rect.height() / 2.0;
        const double thumbCentre = (thumb.top + thumb.bottom) / 2.0;
        QVERIFY2(std::abs(knobCentre - thumbCentre) <= 1.0,
                 qPrintable(QStringLiteral("position %1: knob centre %2, thumb centre %3")
                                .arg(position)
                                .arg(knobCentre)
                                .arg(thumbCentre)));
    }
}

void ControlsTest::press_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("dragging");

    // Position 500 puts the thumb at y 72..83 and the knob at y 65..90, x 0..58.
    QTest::newRow("above the channel: minimum") << 1000 << QPoint(40, 4) << 0 << true;
    QTest::newRow("middle of the channel") << 0 << QPoint(40, 79) << 500 << true;
    QTest::newRow("bottom of the channel") << 0 << QPoint(40, 150) << 1000 << true;
    QTest::newRow("below the channel: maximum") << 0 << QPoint(40, 157) << 1000 << true;
    QTest::newRow("level with the thumb's top") << 500 << QPoint(40, 72) << 500 << true;
    QTest::newRow("level with the thumb's bottom") << 500 << QPoint(40, 83) << 500 << true;
    QTest::newRow("just above the thumb") << 500 << QPoint(40, 71) << 443 << true;
    QTest::newRow("just below the thumb") << 500 << QPoint(40, 84) << 535 << true;
    QTest::newRow("band's left edge, x = 32") << 0 << QPoint(32, 79) << 500 << true;
    QTest::newRow("band's right edge, x = 56") << 0 << QPoint(56, 79) << 500 << true;
    QTest::newRow("x = 31 pages down") << 0 << QPoint(31, 79) << 200 << false;
    QTest::newRow("x = 57 pages down") << 0 << QPoint(57, 79) << 200 << false;
    QTest::newRow("pages up toward the pointer") << 1000 << QPoint(5, 20) << 800 << false;
    QTest::newRow("paging stops at the range") << 100 << QPoint(5, 2) << 0 << false;
    QTest::newRow("on the knob outside the band") << 500 << QPoint(5, 79) << 500 << false;
    QTest::newRow("on the knob above the thumb") << 500 << QPoint(5, 70) << 500 << false;
    QTest::newRow("on the knob below the thumb, past the band") << 500 << QPoint(58, 90) << 500 << false;
    QTest::newRow("level with the thumb beside the knob") << 500 << QPoint(60, 79) << 500 << false;
}

void ControlsTest::press() {
    QFETCH(int, start);
    QFETCH(QPoint, point);
    QFETCH(int, position);
    QFETCH(bool, dragging);

    SliderRig rig(start);
    Press(rig.slider, point);
    QCOMPARE(rig.slider->value(), position);
    QCOMPARE(rig.slider->isDragging(), dragging);
    // Sent at once, with the position already final.
    QCOMPARE(rig.parent.notifications.size(), 1);
    QCOMPARE(rig.parent.notifications[0].code, 3);
    QCOMPARE(rig.parent.notifications[0].position, position);

    Release(rig.slider, point);
    QCOMPARE(rig.slider->value(), position);
    QVERIFY(!rig.slider->isDragging());
    QCOMPARE(rig.parent.notifications.size(), 2);
    QCOMPARE(rig.parent.notifications[1].code, 3);
    QCOMPARE(rig.parent.notifications[1].position, position);
}

void ControlsTest::drag_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<QPoint>("pressAt");
    QTest::addColumn<int>("afterPress");
    QTest::addColumn<bool>("buttonDown");
    QTest::addColumn<QList<QPoint>>("moves");
    QTest::addColumn<QList<int>>("positions");

    QTest::newRow("from level with the knob, no offset kept")
        << 500 << QPoint(40, 82) << 500 << true << QList<QPoint>{{40, 100}, {40, 8}} << QList<int>{647, 0};
    QTest::newRow("out of the channel below and back")
        << 0 << QPoint(40, 79) << 500 << true << QList<QPoint>{{40, 151}, {40, 300}, {40, 79}}
        << QList<int>{1000, 1000, 500};
    QTest::newRow("out of the channel above")
        << 1000 << QPoint(40, 79) << 500 << true << QList<QPoint>{{40, 7}, {40, -30}} << QList<int>{0, 0};
    QTest::newRow("thumb dragged by the default handling keeps its offset")
        << 500 << QPoint(20, 82) << 500 << true << QList<QPoint>{{20, 102}, {20, 3}} << QList<int>{654, 0};
    // The knob stands a few rows inside the channel's ends; grabbing it there must not move it.
    QTest::newRow("knob grabbed at the top stays until moved")
        << 0 << QPoint(5, 13) << 0 << true << QList<QPoint>{{6, 13}, {6, 26}} << QList<int>{0, 100};
    QTest::newRow("knob grabbed at the bottom stays until moved")
        << 1000 << QPoint(5, 143) << 1000 << true << QList<QPoint>{{6, 143}, {6, 130}}
        << QList<int>{1000, 900};
    QTest::newRow("after a paging press the pointer is not followed")
        << 0 << QPoint(60, 100) << 200 << true << QList<QPoint>{{60, 140}, {40, 20}} << QList<int>{200, 200};
    QTest::newRow("moves with the button up")
        << 0 << QPoint(40, 79) << 500 << false << QList<QPoint>{{40, 120}, {40, 20}} << QList<int>{500, 500};
}

void ControlsTest::drag() {
    QFETCH(int, start);
    QFETCH(QPoint, pressAt);
    QFETCH(int, afterPress);
    QFETCH(bool, buttonDown);
    QFETCH(QList<QPoint>, moves);
    QFETCH(QList<int>, positions);

    SliderRig rig(start);
    Press(rig.slider, pressAt);
    QCOMPARE(rig.slider->value(), afterPress);
    for (int i = 0; i < moves.size(); ++i) {
        Move(rig.slider, moves[i], buttonDown ? Qt::LeftButton : Qt::NoButton);
        QVERIFY2(rig.slider->value() == positions[i],
                 qPrintable(QStringLiteral("move %1: position %2").arg(i).arg(rig.slider->value())));
    }
    QCOMPARE(rig.parent.notifications.size(), 1);

    Release(rig.slider, moves.last());
    QCOMPARE(rig.parent.notifications.size(), 2);
    QCOMPARE(rig.parent.notifications[1].position, positions.last());
}

void ControlsTest::dragThroughKnob() {
    // Pointer input over the knob reaches the slider in the slider's own coordinates.
    SliderRig rig(500);
    CBitWnd* knob = rig.slider->thumbWindow();
    QVERIFY(knob != nullptr);
    QCOMPARE(knob->geometry(), QRect(0, 65, 59, 26));

    Press(knob, QPoint(40, 22));  // the slider's (40, 87), below the thumb
    QCOMPARE(rig.slider->value(), 556);
    QCOMPARE(knob->pos(), QPoint(0, 72));

    const QPoint target(40, 120);
    Move(knob, target - knob->pos());
    QCOMPARE(rig.slider->value(), 788);
    Release(knob, target - knob->pos());

    QCOMPARE(rig.parent.notifications.size(), 2);
    QCOMPARE(rig.parent.notifications[0].position, 556);
    QCOMPARE(rig.parent.notifications[1].position, 788);
    QCOMPARE(rig.parent.notifications[1].code, 3);
    QCOMPARE(knob->frame(), 0);
}

void ControlsTest::dragInShownWindow() {
    // Through the window system: the press lands on the knob, which keeps the pointer for the
    // drag and passes everything on to the slider.
    SliderRig rig(500);
    rig.parent.resize(300, 600);
    rig.slider->move(95, 104);
    rig.parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.parent));
    QWindow* window = rig.parent.windowHandle();
    const QPoint origin = rig.slider->pos();

    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, origin + QPoint(40, 87));
    QCOMPARE(rig.slider->value(), 556);
    QTest::mouseMove(window, origin + QPoint(40, 120));
    QCOMPARE(rig.slider->value(), 788);
    QTest::mouseMove(window, origin + QPoint(40, 400));
    QCOMPARE(rig.slider->value(), 1000);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, origin + QPoint(40, 400));

    QCOMPARE(rig.parent.notifications.size(), 2);
    QCOMPARE(rig.parent.notifications[1].position, 1000);
    QVERIFY(rig.parent.mouse.isEmpty());
}

void ControlsTest::wheelAndKeys_data() {
    QTest::addColumn<int>("key");  // 0: a wheel turn instead
    QTest::addColumn<QPoint>("wheel");
    QTest::addColumn<bool>("reachesParent");

    QTest::newRow("wheel up") << 0 << QPoint(0, 120) << false;
    QTest::newRow("wheel down") << 0 << QPoint(0, -120) << false;
    QTest::newRow("horizontal wheel") << 0 << QPoint(120, 0) << false;
    for (const auto& [name, key] : {std::pair{"up arrow", Qt::Key_Up},
                                    {"down arrow", Qt::Key_Down},
                                    {"left arrow", Qt::Key_Left},
                                    {"right arrow", Qt::Key_Right},
                                    {"page up", Qt::Key_PageUp},
                                    {"page down", Qt::Key_PageDown},
                                    {"home", Qt::Key_Home},
                                    {"end", Qt::Key_End}}) {
        QTest::newRow(name) << int(key) << QPoint() << false;
    }
    QTest::newRow("escape goes on to the dialog") << int(Qt::Key_Escape) << QPoint() << true;
}

void ControlsTest::wheelAndKeys() {
    QFETCH(int, key);
    QFETCH(QPoint, wheel);
    QFETCH(bool, reachesParent);

    SliderRig rig(500);
    const QPoint at(40, 79);
    if (key == 0) {
        QWheelEvent event(at, rig.slider->mapToGlobal(QPointF(at)), QPoint(), wheel, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(rig.slider, &event);
        QVERIFY(event.isAccepted());
    } else {
        QTest::keyClick(rig.slider, Qt::Key(key));
    }
    QCOMPARE(rig.slider->value(), 500);
    QVERIFY(rig.parent.notifications.isEmpty());
    QCOMPARE(rig.parent.keys, reachesParent ? 1 : 0);
}

void ControlsTest::drawing_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QRect>("knob");

    QTest::newRow("top: knob on the control's top edge") << 0 << 0 << QRect(0, 0, 59, 26);
    QTest::newRow("middle") << 500 << 0 << QRect(0, 65, 59, 26);
    QTest::newRow("middle, offset knob") << 500 << 3 << QRect(3, 65, 59, 26);
    QTest::newRow("bottom: knob two rows above the bottom edge") << 1000 << 0 << QRect(0, 130, 59, 26);
}

void ControlsTest::drawing() {
    QFETCH(int, position);
    QFETCH(int, offset);
    QFETCH(QRect, knob);

    SliderRig rig(position);
    rig.slider->SetThumbOffset(offset);
    QCOMPARE(rig.slider->thumbWindow()->geometry(), knob);

    QImage track(64, 158, QImage::Format_RGB32);
    track.fill(Qt::black);
    QPainter painter(&track);
    rig.slider->DrawSlider(painter);
    painter.end();

    // Leading picture down to the knob's bottom edge, trailing picture from there on.
    const int split = std::clamp(knob.bottom() + 1, 0, 158);
    for (const int y : {0, split - 1, split, 157}) {
        if (y < 0 || y > 157) {
            continue;
        }
        for (const int x : {0, 63}) {
            QCOMPARE(track.pixelColor(x, y), y < split ? kLeading : kTrailing);
        }
    }
}

void ControlsTest::knobOnItsMark_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("mark");

    QTest::newRow("100 %") << 0 << 0;
    QTest::newRow("50 %") << 500 << 5;
    QTest::newRow("0 %") << 1000 << 10;
}

void ControlsTest::knobOnItsMark() {
    QFETCH(int, position);
    QFETCH(int, mark);

    // An LED slider as the dialog sets it up, with its own pictures, where the main screen has it.
    const SliderSetup& setup = kSliderSetups[0];
    if (!QFile::exists(QStringLiteral(":/bitmaps/%1.bmp").arg(setup.trackPictureId))) {
        QSKIP("the slider pictures are not embedded in this build");
    }
    QWidget window;
    window.resize(1421, 423);
    CMainSliderCtrl slider(&window);
    ConfigureSlider(slider, setup);
    slider.setValue(position);

    const QRect knob = slider.thumbWindow()->geometry();
    QVERIFY2(slider.rect().contains(knob),
             qPrintable(QStringLiteral("knob at y %1..%2 in a control of %3 rows")
                            .arg(knob.top())
                            .arg(knob.bottom())
                            .arg(slider.height())));
    const int indexRow = slider.mapTo(&window, knob.topLeft()).y() + SliderScale::kKnobIndexRow;
    const int markRow = slider.y() + SliderScale::MarkRow(slider.height(), mark);
    QCOMPARE(indexRow, markRow);
}

void ControlsTest::secondThumbBitmapChangesNothing() {
    CMainSliderCtrl fresh;
    fresh.SetThumbBitmap(0, 59, 26);
    QVERIFY(fresh.thumbWindow() == nullptr);

    SliderRig rig(500);
    CBitWnd* knob = rig.slider->thumbWindow();
    const qint64 picture = knob->image().image().cacheKey();
    const QRect place = knob->geometry();

    rig.slider->SetThumbBitmap(CBitImage(Solid(QSize(30, 30), Qt::white)));
    rig.slider->SetThumbBitmap(226, 53, 27);

    QCOMPARE(rig.slider->thumbWindow(), knob);
    QCOMPARE(knob->image().image().cacheKey(), picture);
    QCOMPARE(knob->geometry(), place);
    QCOMPARE(rig.slider->findChildren<CBitWnd*>().size(), 1);
}

void ControlsTest::configuredFromTable_data() {
    QTest::addColumn<int>("row");

    for (int row = 0; row < kSliderCount; ++row) {
        QTest::addRow("control %d", kSliderSetups[row].controlId) << row;
    }
}

void ControlsTest::configuredFromTable() {
    QFETCH(int, row);
    const SliderSetup& setup = kSliderSetups[row];

    RecordingParent parent;
    parent.resize(1421, 423);
    auto* slider = new CMainSliderCtrl(&parent);
    parent.watch(slider);
    slider->show();
    ConfigureSlider(*slider, setup);
    CBitWnd* knob = slider->thumbWindow();
    ConfigureSlider(*slider, setup);

    QVERIFY(slider->isHidden());
    QCOMPARE(slider->pos(), setup.position);
    QCOMPARE(slider->minimum(), setup.minimum);
    QCOMPARE(slider->maximum(), setup.maximum);
    QCOMPARE(slider->singleStep(), 0);
    QCOMPARE(slider->thumbShift(), setup.thumbShift);
    QCOMPARE(slider->thumbOffset(), 0);
    QCOMPARE(slider->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(knob != nullptr);
    QCOMPARE(slider->thumbWindow(), knob);
    QCOMPARE(knob->size(), QSize(setup.knobFrameWidth, setup.knobFrameHeight));
    // Only the LED sliders speak for a panel position; the others name none.
    const bool led = row < kLedSliderCount;
    QCOMPARE(slider->notifyCode(), led ? row : CMainSliderCtrl::kNoNotifyCode);
    if (led) {
        QCOMPARE(setup.position, QPoint(3 + 156 * row + 92, 104));
    }

    if (!QFile::exists(QStringLiteral(":/bitmaps/%1.bmp").arg(setup.trackPictureId))) {
        QSKIP("the slider pictures are not embedded in this build");
    }
    QCOMPARE(slider->size(), led ? QSize(64, 158) : QSize(53, 281));
    QCOMPARE(knob->image().frameCount(), 1);

    // Drawn from its pictures, a shown slider still goes from the top to the bottom of its range.
    slider->show();
    Press(slider, QPoint(40, 0));
    QCOMPARE(slider->value(), setup.minimum);
    Release(slider, QPoint(40, 0));
    Press(slider, QPoint(40, slider->height() - 1));
    QCOMPARE(slider->value(), setup.maximum);
    Release(slider, QPoint(40, slider->height() - 1));
    QCOMPARE(parent.notifications.size(), 4);
}

QTEST_MAIN(ControlsTest)
#include "tst_controls.moc"
