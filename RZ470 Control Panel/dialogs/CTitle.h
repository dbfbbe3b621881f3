#pragma once

#include "PictureIds.h"

#include <QWidget>

// The title window shown instead of the main window while the panel looks for the unit.
class CTitle : public QWidget {
    Q_OBJECT

public:
    static constexpr int kPictureId = pictures::kTitlePicture;
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 480;

    explicit CTitle(QWidget* parent = nullptr);

    // Shows the window centred on the screen the panel starts on.
    void ShowCentred();

protected:
    void paintEvent(QPaintEvent* event) override;
};
