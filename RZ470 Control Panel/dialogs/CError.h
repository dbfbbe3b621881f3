#pragma once

#include "PictureIds.h"

#include <QDialog>
#include <QList>
#include <QPoint>
#include <QRect>

#include <cstdint>

// The warning popup: a picture with a painted OK button and one fixed warning written over it.
// The caller runs it through Prompts::showError with the warning's code; it is reused for every
// warning.
class CError : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPictureId = pictures::kWarningPopup;
    static constexpr int kWidth = 403;
    static constexpr int kHeight = 203;
    // The painted OK button, edges included.
    static constexpr QRect kOkArea{QPoint(137, 145), QPoint(267, 187)};
    // Cell height (ascent + descent) of the warning's typeface, in pixels.
    static constexpr int kFontCellHeight = 30;

    enum Code : uint8_t { AlarmActive = 0, LightGuideOut = 1 };

    struct Line {
        QPoint topLeft;
        const char* text;
    };
    // The warning's lines for code; none for an unknown code.
    static QList<Line> LinesFor(uint8_t code);

    explicit CError(QWidget* parent = nullptr);

    uint8_t m_messageCode = 0;  // set before each showing

    // Moves the popup to the centre of the screen it will show on. Runs each time it is shown.
    void CentreOnScreen();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
};
