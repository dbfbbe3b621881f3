#include "CRZ470ControlPanelDlg.h"

#include "CCrashHandler.h"
#include "LibraryBinding.h"
#include "PanelArtwork.h"
#include "PanelStyle.h"
#include "Prompts.h"
#include "SliderChangedEvent.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

namespace {

const QString kCaption = QStringLiteral("Kynex ORVANE/RZ470 Control Panel");
const QString kSaveQuestion = QStringLiteral("Would you like to save settings on exit?");
const QString kSaveTitle = QStringLiteral("Save Settings?");
const QString kNotFoundText =
    QStringLiteral("ORVANE Device Not Found, please connect and power on and restart Control Panel.");
const QString kNotFoundTitle = QStringLiteral("ORVANE Not Found!");
const QString kGroupingNotClearedText = QStringLiteral("Unabled to Clear Grouping! Exiting Application!");
const QString kErrorTitle = QStringLiteral("Error");
const QString kFontNotLoaded = QStringLiteral("Unable to load Font!");

}  // namespace

CRZ470ControlPanelDlg::CRZ470ControlPanelDlg(const PanelServices& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      services_(services),
      discovery_(api_, services.waits, table_),
      stateReader_(api_, services.waits, services.profile),
      poller_(api_, table_, discovery_, *this, *this),
      canvas_(QSize(kClientWidth, kClientHeight)),
      painter_(canvas_, fonts_),
      statusBar_(painter_),
      screenContext_{painter_,  statusBar_,       table_,           api_,
                     grouping_, services.profile, services.prompts, *this},
      mainScreen_(screenContext_),
      triggerScreen_(screenContext_),
      alarmsScreen_(screenContext_),
      maintenanceScreen_(screenContext_),
      groupingScreen_(screenContext_),
      errorPopup_(this),
      icon_(PanelArtwork::applicationIcon()) {
    setWindowTitle(kCaption);
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);
    // The surface holds every pixel of the window; Qt need not clear behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.setDamageHandler([this](const QRect& rect) { update(rect); });
    for (auto& slider : sliders_) {
        slider = std::make_unique<CMainSliderCtrl>(this);
        slider->hide();
    }
    // Last, so that a failure anywhere after construction leaves a dump.
    if (services.installCrashHandlers) {
        CCrashHandler::InstallCrashHandlers();
    }
}

CRZ470ControlPanelDlg::~CRZ470ControlPanelDlg() {
    StopPollTimer();
}

int CRZ470ControlPanelDlg::DoModal() {
    InitDialog();
    if (ended_) {
        return result();
    }
    return exec();
}

bool CRZ470ControlPanelDlg::InitDialog() {
    ExtendSystemMenu();
    setWindowIcon(icon_);
    screenState_ = kMainScreen;
    pressedButton_ = 0;
    ConfigureSliders();
    if (!BindDeviceLibrary()) {
        SendCloseMessage();
        return true;
    }
    table_.Prepare();
    ReadProductVersion();
    // The fonts come before the poll timer: the font message's own loop would otherwise let
    // the ticks find the unit and end the title phase before the title is even shown.
    if (!CreateFonts()) {
        return false;
    }
    StartPollTimer();
    PaintScreen();
    setWindowState(windowState() | Qt::WindowMinimized);
    title_.ShowCentred();
    return true;
}

// The web page, About and demo-loop commands join the window menu here.
void CRZ470ControlPanelDlg::ExtendSystemMenu() {}

// The panel's own version text for the maintenance screen is read here.
void CRZ470ControlPanelDlg::ReadProductVersion() {}

void CRZ470ControlPanelDlg::ConfigureSliders() {
    for (size_t i = 0; i < sliders_.size(); ++i) {
        ConfigureSlider(*sliders_[i], kSliderSetups[i]);
    }
}

void CRZ470ControlPanelDlg::ShowLedSliders() {
    for (int k = 0; k < kLedSliderCount; ++k) {
        slider(k).show();
    }
}

void CRZ470ControlPanelDlg::HideLedSliders() {
    for (int k = 0; k < kLedSliderCount; ++k) {
        slider(k).hide();
    }
}

void CRZ470ControlPanelDlg::SetSliderPosition(int panel, int position) {
    if (panel >= 0 && panel < kLedSliderCount) {
        slider(panel).setValue(position);
        slider(panel).update();
    }
}

void CRZ470ControlPanelDlg::customEvent(QEvent* event) {
    if (event->type() != kSliderChangedEventType) {
        QDialog::customEvent(event);
        return;
    }
    // Only the nine intensity sliders carry a panel's code; anything else is not ours to act on.
    const int code = static_cast<SliderChangedEvent*>(event)->notifyCode();
    if (code >= 0 && code < kLedSliderCount) {
        mainScreen_.actions().SliderChanged(code, slider(code).value());
    }
}

void CRZ470ControlPanelDlg::StartPollTimer() {
    if (pollTimer_ == 0) {
        pollTimer_ = startTimer(kPollPeriodMs);
    }
}

void CRZ470ControlPanelDlg::StopPollTimer() {
    if (pollTimer_ != 0) {
        killTimer(pollTimer_);
        pollTimer_ = 0;
    }
}

bool CRZ470ControlPanelDlg::CreateFonts() {
    if (PanelFont::registerEmbeddedFont(services_.fontFile) < 0) {
        services_.prompts.message(kFontNotLoaded, kErrorTitle, Prompts::Buttons::Ok, Prompts::Icon::None);
    }
    PanelFont::substituteFaceName();
    fonts_ = PanelFont::createPanelFonts();
    return true;
}

void CRZ470ControlPanelDlg::PaintScreen() {
    if (ended_) {
        return;
    }
    painter_.DrawBackground();
    CurrentScreen().Paint();
}

Screen& CRZ470ControlPanelDlg::CurrentScreen() {
    if (screens::isTrigger(screenState_)) {
        return triggerScreen_;
    }
    if (screens::isGrouping(screenState_)) {
        return groupingScreen_;
    }
    if (screenState_ == screens::kAlarms) {
        return alarmsScreen_;
    }
    if (screenState_ == screens::kMaintenance) {
        return maintenanceScreen_;
    }
    return mainScreen_;
}

void CRZ470ControlPanelDlg::ChangeScreen(int state) {
    screenState_ = screens::isValid(state) ? state : screens::kMain;
    PaintScreen();
}

void CRZ470ControlPanelDlg::RunDemoLoop() {
    // The demo-loop dialog arrives with its own work. Afterwards the focus passes over the
    // intensity sliders to a hidden one, so no slider keeps it, and the main screen comes back.
    for (int k = 0; k < kLedSliderCount; ++k) {
        slider(k).setFocus();
    }
    slider(kLedSliderCount).setFocus();
    ChangeScreen(screens::kMain);
}

void CRZ470ControlPanelDlg::OnLButtonDown(int x, int y) {
    Screen& screen = CurrentScreen();
    pressedButton_ = FindButton(screen.Buttons(), x, y);
    if (pressedButton_ != kNoButton) {
        screen.DrawPressed(pressedButton_);
    }
}

void CRZ470ControlPanelDlg::OnLButtonUp() {
    Screen& screen = CurrentScreen();
    const int released = pressedButton_;
    // A button that is not in this screen's table (pressed on another screen) does nothing.
    if (released != kNoButton && released >= static_cast<int>(screen.Buttons().size())) {
        return;
    }
    if (&screen == &mainScreen_) {
        pressedButton_ = kNoButton;
    }
    screen.Release(released);
}

void CRZ470ControlPanelDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        OnLButtonDown(at.x(), at.y());
    }
    QDialog::mousePressEvent(event);
}

void CRZ470ControlPanelDlg::mouseReleaseEvent(QMouseEvent* event) {
    // Qt hands the dialog a release that happened outside it; such a release runs no action and
    // leaves the button drawn pressed.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        OnLButtonUp();
    }
    QDialog::mouseReleaseEvent(event);
}

void CRZ470ControlPanelDlg::OnTimer() {
    poller_.Tick();
}

void CRZ470ControlPanelDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == pollTimer_) {
        OnTimer();
        return;
    }
    QDialog::timerEvent(event);
}

void CRZ470ControlPanelDlg::ReadUnitState() {
    stateReader_.ReadUnitState(table_.unit(), grouping_, *this);
}

void CRZ470ControlPanelDlg::EndTitlePhase() {
    if (ended_) {
        return;
    }
    title_.hide();
    PaintScreen();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    activateWindow();
}

void CRZ470ControlPanelDlg::ReportUnitNotFound() {
    services_.prompts.message(kNotFoundText, kNotFoundTitle, Prompts::Buttons::Ok, Prompts::Icon::None);
    SendCloseMessage();
}

void CRZ470ControlPanelDlg::GroupingNotCleared() {
    services_.prompts.message(kGroupingNotClearedText, kErrorTitle, Prompts::Buttons::Ok,
                              Prompts::Icon::None);
    SendCloseMessage();
}

void CRZ470ControlPanelDlg::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (screenState_ == kMainScreen) {
        RefreshSliders();
    }
}

void CRZ470ControlPanelDlg::RefreshSliders() {
    for (int k = 0; k < kLedSliderCount; ++k) {
        slider(k).hide();
        slider(k).show();
    }
}

bool CRZ470ControlPanelDlg::BindDeviceLibrary() {
    if (!::BindDeviceLibrary(api_, services_.prompts, services_.librarySearchDirs)) {
        return false;
    }
    table_.deviceCount = 0;
    table_.knownDeviceCount = 0;
    return true;
}

void CRZ470ControlPanelDlg::CloseDialog() {
    if (!api_.isBound()) {
        return;
    }
    if (grouping_.groupingMode != 0) {
        api_.SetGroupingEnabled(table_.unit().deviceIndex, grouping_.groupingMode);
    }
    if (services_.prompts.message(kSaveQuestion, kSaveTitle, Prompts::Buttons::YesNo,
                                  Prompts::Icon::Question) == Prompts::Answer::Yes) {
        api_.SaveUserSettings(table_.unit().deviceIndex);
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
    StopPollTimer();
    title_.hide();
    QDialog::done(result);
}

void CRZ470ControlPanelDlg::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
#if defined(_WIN32)
    // Only Windows paints a minimised window's client area (its task-bar preview).
    if (isMinimized()) {
        const QSize size(32, 32);
        painter.fillRect(rect(), palette().window());
        icon_.paint(
            &painter,
            QRect(QPoint((width() - size.width() + 1) / 2, (height() - size.height() + 1) / 2), size));
        return;
    }
#endif
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
