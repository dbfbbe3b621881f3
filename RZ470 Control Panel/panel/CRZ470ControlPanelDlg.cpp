#include "CRZ470ControlPanelDlg.h"

#include "LibraryBinding.h"
#include "Prompts.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

namespace {

const QString kCaption = QStringLiteral("Kynex ORVANE/RZ470 Control Panel");
const QString kSaveQuestion = QStringLiteral("Would you like to save settings on exit?");
const QString kSaveTitle = QStringLiteral("Save Settings?");

}  // namespace

CRZ470ControlPanelDlg::CRZ470ControlPanelDlg(const PanelServices& services, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                  Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      services_(services),
      canvas_(QSize(kClientWidth, kClientHeight)),
      icon_(QStringLiteral(":/icons/panel.png")) {
    setWindowTitle(kCaption);
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);
    // The surface holds every pixel of the window; Qt need not clear behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.setDamageHandler([this](const QRect& rect) { update(rect); });
}

CRZ470ControlPanelDlg::~CRZ470ControlPanelDlg() = default;

int CRZ470ControlPanelDlg::DoModal() {
    InitDialog();
    if (ended_) {
        return result();
    }
    return exec();
}

bool CRZ470ControlPanelDlg::InitDialog() {
    // The system menu, the sliders, the version text, the poll timer, the fonts and the title
    // window join these steps at their places as they arrive; the order stays.
    setWindowIcon(icon_);
    screenState_ = kMainScreen;
    pressedButton_ = 0;

    if (!BindDeviceLibrary()) {
        SendCloseMessage();
        return true;
    }
    return true;
}

bool CRZ470ControlPanelDlg::BindDeviceLibrary() {
    if (!::BindDeviceLibrary(api_, services_.prompts, services_.librarySearchDirs)) {
        return false;
    }
    deviceCount_ = 0;
    knownDeviceCount_ = 0;
    return true;
}

void CRZ470ControlPanelDlg::CloseDialog() {
    if (!api_.isBound()) {
        return;
    }
    if (groupingMode_ != 0) {
        api_.SetGroupingEnabled(unitDeviceIndex_, groupingMode_);
    }
    if (services_.prompts.message(kSaveQuestion, kSaveTitle, Prompts::Buttons::YesNo, Prompts::Icon::Question) ==
        Prompts::Answer::Yes) {
        api_.SaveUserSettings(unitDeviceIndex_);
    }
}

void CRZ470ControlPanelDlg::SendCloseMessage() {
    // The save question runs a nested loop in which the poll may ask to close again.
    if (closing_ || ended_) {
        return;
    }
    closing_ = true;
    CloseDialog();
    done(QDialog::Rejected);
}

void CRZ470ControlPanelDlg::done(int result) {
    ended_ = true;
    QDialog::done(result);
}

void CRZ470ControlPanelDlg::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (isMinimized()) {
        const QSize size(32, 32);
        painter.fillRect(rect(), palette().window());
        icon_.paint(&painter, QRect(QPoint((width() - size.width() + 1) / 2, (height() - size.height() + 1) / 2), size));
        return;
    }
    painter.drawImage(event->rect(), canvas_.image(), event->rect());
}

void CRZ470ControlPanelDlg::closeEvent(QCloseEvent* event) {
    SendCloseMessage();
    event->accept();
}

void CRZ470ControlPanelDlg::keyPressEvent(QKeyEvent* event) {
    // Return never closes the panel; Escape ends it at once through the standard Cancel.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
