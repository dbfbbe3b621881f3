#include "CAboutDlg.h"

#include "DialogUnits.h"
#include "PanelArtwork.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace {

constexpr int kIconPixels = 32;

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      version_(new QLabel(this)),
      second_(new QLabel(QString::fromLatin1(kSecondLine), this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)) {
    setWindowTitle(QString::fromLatin1(kCaption));
    const QFont font = DialogUnits::DialogFont();
    setFont(font);
    const DialogUnits units(font);
    setFixedSize(units.Size(211, 62));

    // An icon control keeps the icon's own size.
    auto* icon = new QLabel(this);
    icon->setPixmap(PanelArtwork::applicationIcon().pixmap(kIconPixels, kIconPixels));
    icon->setGeometry(QRect(units.Rect(14, 14, 0, 0).topLeft(), QSize(kIconPixels, kIconPixels)));
    version_->setGeometry(units.Rect(43, 14, 150, 8));
    second_->setGeometry(units.Rect(42, 26, 150, 8));
    ok_->setGeometry(units.Rect(161, 41, 50, 14));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void CAboutDlg::InitDialog() {
    version_->setText(QString::fromLatin1(kVersionLine).arg(m_version));
}

void CAboutDlg::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        InitDialog();
    }
    QDialog::showEvent(event);
}
