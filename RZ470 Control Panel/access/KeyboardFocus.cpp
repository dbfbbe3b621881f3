#include "KeyboardFocus.h"

#include "Screen.h"
#include "ScreenNavigation.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace {

// Bright on the dark pictures, with a dark inner line for the light ones.
const QColor kRingOuter(255, 214, 0);
const QColor kRingInner(0, 0, 0);
constexpr int kRingWidth = 3;

}  // namespace

KeyboardFocus::KeyboardFocus(QWidget& window, ScreenNavigation& router) : window_(window), router_(router) {
    connect(&router_, &ScreenNavigation::ScreenChanged, this, &KeyboardFocus::ScreenChanged);
    // A key goes to the widget with the focus, which may be a slider or the favourites list.
    QCoreApplication::instance()->installEventFilter(this);
}

bool KeyboardFocus::eventFilter(QObject* receiver, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !receiver->isWidgetType()) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    auto* widget = static_cast<QWidget*>(receiver);
    if (!tab || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
        (widget != &window_ && !window_.isAncestorOf(widget))) {
        return false;
    }
    Move(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
    return true;
}

void KeyboardFocus::Move(bool forward) {
    const std::vector<Stop> stops = Stops();
    if (stops.empty()) {
        return;
    }
    used_ = true;
    const auto count = static_cast<int>(stops.size());
    const int at = CurrentStop(stops);
    const int next = at < 0 ? (forward ? 0 : count - 1) : (at + (forward ? 1 : count - 1)) % count;
    const Stop& stop = stops[static_cast<size_t>(next)];
    if (stop.widget != nullptr) {
        Focus(kNoButton);
        stop.widget->setFocus(Qt::TabFocusReason);
        return;
    }
    // Space must reach the window, not a slider or the list that had the focus.
    window_.setFocus(Qt::TabFocusReason);
    Focus(stop.button);
}

std::vector<KeyboardFocus::Stop> KeyboardFocus::Stops() const {
    const Screen& shown = router_.ShownScreen();
    const std::vector<Screen::FocusWidget> widgets = shown.FocusWidgets();
    std::vector<Stop> stops;
    for (const int id : shown.ReadingOrder()) {
        for (const Screen::FocusWidget& widget : widgets) {
            if (widget.beforeButton == id && widget.widget->isVisible()) {
                stops.push_back({kNoButton, widget.widget});
            }
        }
        stops.push_back({id, nullptr});
    }
    return stops;
}

int KeyboardFocus::CurrentStop(const std::vector<Stop>& stops) const {
    // A widget the focus went to, by Tab or by a click, before the button the ring was left on.
    const QWidget* focus = window_.focusWidget();
    for (size_t index = 0; index < stops.size(); ++index) {
        const QWidget* widget = stops[index].widget;
        if (widget != nullptr && focus != nullptr && (focus == widget || widget->isAncestorOf(focus))) {
            return static_cast<int>(index);
        }
    }
    for (size_t index = 0; index < stops.size(); ++index) {
        if (focused_ != kNoButton && stops[index].button == focused_) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

bool KeyboardFocus::KeyPress(const QKeyEvent& event) {
    if (event.key() != Qt::Key_Space || event.modifiers() != Qt::NoModifier) {
        return false;
    }
    const ButtonRow* row = FocusedRow();
    if (!used_ || row == nullptr) {
        return false;
    }
    if (!event.isAutoRepeat() && !spaceHeld_) {
        spaceHeld_ = true;
        const QPoint centre = row->region.centre();
        router_.Press(centre.x(), centre.y());
    }
    return true;
}

bool KeyboardFocus::KeyRelease(const QKeyEvent& event) {
    if (event.key() != Qt::Key_Space || !spaceHeld_) {
        return false;
    }
    if (!event.isAutoRepeat()) {
        spaceHeld_ = false;
        router_.Release();
    }
    return true;
}

QRect KeyboardFocus::RingRect() const {
    const ButtonRow* row = FocusedRow();
    return row != nullptr ? row->region.rect() : QRect();
}

void KeyboardFocus::PaintRing(QPainter& painter) const {
    if (!IsRingShown()) {
        return;
    }
    // Inside the button's own rectangle, so that the neighbours' pixels stay as they are.
    const QRect ring = RingRect();
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kRingOuter, kRingWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const int half = kRingWidth / 2;
    painter.drawRect(ring.adjusted(half, half, -half - 1, -half - 1));
    painter.setPen(QPen(kRingInner, 1));
    painter.drawRect(ring.adjusted(kRingWidth, kRingWidth, -kRingWidth - 1, -kRingWidth - 1));
    painter.restore();
}

void KeyboardFocus::ScreenChanged() {
    const Screen& shown = router_.ShownScreen();
    const std::vector<int> order = shown.ReadingOrder();
    const bool kept = &shown == screen_ && std::find(order.begin(), order.end(), focused_) != order.end();
    screen_ = &shown;
    // Another variant of the same screen keeps the button; another screen starts at its first.
    const int id = kept ? focused_ : (used_ && !order.empty() ? order.front() : kNoButton);
    // The old ring stood on pixels the new screen has painted over already.
    focused_ = kNoButton;
    Focus(id);
}

void KeyboardFocus::Focus(int id) {
    if (IsRingShown()) {
        window_.update(RingRect());
    }
    focused_ = id;
    screen_ = &router_.ShownScreen();
    if (IsRingShown()) {
        window_.update(RingRect());
    }
    emit FocusMoved(focused_);
}

const ButtonRow* KeyboardFocus::FocusedRow() const {
    const ButtonTable& table = router_.ShownScreen().Buttons();
    if (focused_ < 0 || focused_ >= static_cast<int>(table.size()) || &router_.ShownScreen() != screen_) {
        return nullptr;
    }
    return &table[static_cast<size_t>(focused_)];
}
