#pragma once

#include <QColor>
#include <QImage>
#include <QPushButton>

// A push button drawn flat in its own face and text colours, or showing a picture instead of its
// text. Enter never presses it: the dialogs that use it decide what Enter does.
class ColourButton : public QPushButton {
    Q_OBJECT

public:
    explicit ColourButton(const QString& text, QWidget* parent = nullptr);

    void SetFaceColour(const QColor& colour);
    void SetTextColour(const QColor& colour);
    // A null picture brings the text back.
    void SetPicture(const QImage& picture);

    QColor faceColour() const { return face_; }
    QColor textColour() const { return text_; }
    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor face_;
    QColor text_;
    QImage picture_;
};
