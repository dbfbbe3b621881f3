#include "DialogUnits.h"

#include <QFontMetrics>

namespace {

// a * b / c rounded half away from zero, as the platform's MulDiv.
int MulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = (letters / 26 + 1) / 2;
    baseY_ = metrics.height();
}

QFont DialogUnits::DialogFont() {
    QFont font(QStringLiteral("MS Shell Dlg"));
    font.setPointSize(8);
    return font;
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
    const int left = X(x);
    const int top = Y(y);
    return QRect(QPoint(left, top), QPoint(X(x + width) - 1, Y(y + height) - 1));
}

int DialogUnits::X(int x) const {
    return MulDiv(x, baseX_, 4);
}

int DialogUnits::Y(int y) const {
    return MulDiv(y, baseY_, 8);
}
