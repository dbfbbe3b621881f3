#include "CRZ470ControlPanelDlg.h"

#include "CCrashHandler.h"
#include "LibraryBinding.h"
#include "MaintenanceTexts.h"
#include "PanelArtwork.h"
#include "ProfileStore.h"
#include "Prompts.h"
#include "ScreenStates.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QTimerEvent>
#include <QWindow>

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
const QString kSettingsNotSavedText = QStringLiteral(
    "The panel's settings could not be saved to %1. The panel goes on with the values set in this "
    "session, but they will be lost when it closes.");
const QString kSettingsNotSavedTitle = QStringLiteral("Settings Not Saved");

std::array<std::unique_ptr<CMainSliderCtrl>, kSliderCount> MakeSliders(QWidget* parent) {
    std::array<std::unique_ptr<CMainSliderCtrl>, kSliderCount> sliders;
    for (auto& slider : sliders) {
        slider = std::make_unique<CMainSliderCtrl>(parent);
        slider->hide();
    }
    return sliders;
}

std::array<CMainSliderCtrl*, kLedSliderCount> LedSlidersOf(
    const std::array<std::unique_ptr<CMainSliderCtrl>, kSliderCount>& sliders) {
    std::array<CMainSliderCtrl*, kLedSliderCount> led{};
    for (size_t k = 0; k < led.size(); ++k) {
        led[k] = sliders[k].get();
    }
    return led;
}

}  // namespace

CRZ470ControlPanelDlg::CRZ470ControlPanelDlg(const PanelServices& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      services_(services),
      settings_(services.profile),
      session_(services.waits,
               StoredChannelValues{[this](uint16_t w) { return settings_.ChannelName(w); },
                                   [this](uint16_t w) { return settings_.ChannelIntensity(w); }}),
      sliders_(MakeSliders(this)),
      ledSliders_(LedSlidersOf(sliders_)),
      errorPopup_(this),
      windowMenu_(*this, services.prompts, [this] { OpenDemoLoop(); }),
      router_(QSize(kClientWidth, kClientHeight), session_, settings_, services.prompts, *this, errorPopup_,
              ledSliders_),
      keyboardFocus_(*this, router_),
      accessibility_(*this, router_, keyboardFocus_),
      scriptCommands_(session_, settings_),
      uncoveredWatch_(*this, [this] { router_.WindowUncovered(); }),
      icon_(PanelArtwork::applicationIcon()) {
    setWindowTitle(kCaption);
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);
    // The surface gives every pixel of the window; Qt need not clear behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    router_.surface().setDamageHandler([this](const QRect& rect) {
        update(rect);
        accessibility_.SurfaceChanged();
    });

    connect(&session_, &UnitSession::TitlePhaseEnded, this, &CRZ470ControlPanelDlg::EndTitlePhase);
    connect(&session_, &UnitSession::UnitNotFound, this,
            [this] { ReportAndClose(kNotFoundText, kNotFoundTitle); });
    connect(&session_, &UnitSession::GroupingNotCleared, this,
            [this] { ReportAndClose(kGroupingNotClearedText, kErrorTitle); });
    connect(&router_, &ScreenRouter::CloseRequested, this, &CRZ470ControlPanelDlg::SendCloseMessage);
    connect(&router_, &ScreenRouter::DemoLoopRequested, this, &CRZ470ControlPanelDlg::RunDemoLoop);
    ConnectScripting();
    // Told after the action that wrote, not in the middle of it.
    services.profile.setWriteFailureHandler([this](const QString& location) {
        QTimer::singleShot(0, this, [this, location] {
            services_.prompts.message(kSettingsNotSavedText.arg(location), kSettingsNotSavedTitle,
                                      Prompts::Buttons::Ok, Prompts::Icon::Warning);
        });
    });

    // Last, so that a failure anywhere after construction leaves a dump.
    if (services.installCrashHandlers) {
        CCrashHandler::InstallCrashHandlers();
    }
}

void CRZ470ControlPanelDlg::ConnectScripting() {
    scriptCommands_.SetDemoLoopQuery([this] { return demo_ && demo_->sequence().running(); });
    scriptCommands_.SetErrorSource([this] { return maintenancetexts::ErrorLines(session_.unit()); });
    scriptCommands_.SetSerialSource([this] { return maintenancetexts::SerialText(session_.unit()); });
    connect(&scriptCommands_, &ScriptCommands::StateChanged, &router_, &ScreenRouter::DetectChanges);
    connect(&scriptCommands_, &ScriptCommands::ScriptSwitched, this,
            [this](int channel, bool on) { router_.DrawSwitch(channel - 1, on); });
    connect(&scriptCommands_, &ScriptCommands::TablesChanged, this, [this] {
        const int state = router_.ScreenState();
        if ((state >= screens::kGroupingFirst && state <= screens::kGroupingLast) ||
            (state >= screens::kTriggerFirst && state <= screens::kTriggerLast)) {
            router_.PaintScreen();
        }
    });
    windowMenu_.SetScriptingSwitch([this] { return scriptCommands_.scriptingAllowed(); },
                                   [this](bool allowed) { scriptCommands_.SetScriptingAllowed(allowed); });
}

CRZ470ControlPanelDlg::~CRZ470ControlPanelDlg() {
    StopPollTimer();
    services_.profile.setWriteFailureHandler({});
}

int CRZ470ControlPanelDlg::DoModal() {
    InitDialog();
    if (ended_) {
        return result();
    }
    return exec();
}

bool CRZ470ControlPanelDlg::InitDialog() {
    windowMenu_.Install();
    setWindowIcon(icon_);
    ConfigureSliders();
    if (!BindDeviceLibrary()) {
        SendCloseMessage();
        return true;
    }
    session_.table().Prepare();
    // The fonts come before the poll timer: the font message's own loop would otherwise let
    // the ticks find the unit and end the title phase before the title is even shown.
    CreateFonts();
    StartPollTimer();
    router_.Start();
    router_.PaintScreen();
    setWindowState(windowState() | Qt::WindowMinimized);
    title_.ShowCentred();
    return true;
}

void CRZ470ControlPanelDlg::ConfigureSliders() {
    for (size_t i = 0; i < sliders_.size(); ++i) {
        ConfigureSlider(*sliders_[i], kSliderSetups[i]);
    }
}

bool CRZ470ControlPanelDlg::BindDeviceLibrary() {
    const std::optional<QString> failure = session_.Bind(services_.librarySearchDirs);
    if (failure) {
        services_.prompts.message(*failure, binding::kFailureTitle, Prompts::Buttons::Ok,
                                  Prompts::Icon::None);
    }
    return !failure;
}

void CRZ470ControlPanelDlg::CreateFonts() {
    if (PanelFont::registerEmbeddedFont(services_.fontFile) < 0) {
        services_.prompts.message(kFontNotLoaded, kErrorTitle, Prompts::Buttons::Ok, Prompts::Icon::None);
    }
    PanelFont::substituteFaceName();
    router_.SetFonts(PanelFont::createPanelFonts());
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

void CRZ470ControlPanelDlg::EndTitlePhase() {
    if (ended_) {
        return;
    }
    title_.hide();
    router_.PaintScreen();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    activateWindow();
    if (QWindow* window = windowHandle(); window != nullptr && !followingScreen_) {
        followingScreen_ = true;
        connect(window, &QWindow::screenChanged, this, &CRZ470ControlPanelDlg::FollowScreen);
    }
}

void CRZ470ControlPanelDlg::FollowScreen() {
    // On a screen of another pixel ratio the panel is drawn again with the pictures made for it.
    const int scale = PanelArtwork::pictureScale(devicePixelRatioF());
    if (scale != router_.surface().scale()) {
        router_.surface().setScale(scale);
        router_.PaintScreen();
    }
}

void CRZ470ControlPanelDlg::ReportAndClose(const QString& text, const QString& title) {
    StopPollTimer();
    // A demo loop left running would keep switching a unit that is gone, and its dialog, which
    // cannot be left while the loop runs, would keep the panel from ending.
    if (demo_) {
        demo_->Abandon();
    }
    services_.prompts.message(text, title, Prompts::Buttons::Ok, Prompts::Icon::None);
    SendCloseMessage();
}

void CRZ470ControlPanelDlg::RunDemoLoop() {
    OpenDemoLoop();
    if (ended_) {
        return;
    }
    // The focus passes over the intensity sliders to a hidden one, so no slider keeps it, and
    // the main screen comes back.
    for (int k = 0; k < kLedSliderCount; ++k) {
        slider(k).setFocus();
    }
    slider(kLedSliderCount).setFocus();
    router_.ChangeScreen(screens::kMain);
}

CDemo& CRZ470ControlPanelDlg::demoLoop() {
    if (!demo_) {
        demo_ = std::make_unique<CDemo>(session_, settings_, services_.prompts, services_.waits, this);
        connect(&router_, &ScreenRouter::UnitStatusChanged, demo_.get(), &CDemo::OnUnitStatusChanged);
    }
    return *demo_;
}

void CRZ470ControlPanelDlg::OpenDemoLoop() {
    CDemo& demo = demoLoop();
    demo.CopyNames(session_.table());
    services_.prompts.runModal(demo);
    TakeBackActivation();
}

void CRZ470ControlPanelDlg::TakeBackActivation() {
    if (ended_ || !isVisible()) {
        return;
    }
    // When the demo dialog and its questions close, the keyboard falls to no window at all (on X
    // without a window manager, to the root window): keys and Alt+Space would reach nothing.
    // There the first request carries a time older than that fall and is refused; its own
    // property change brings the newer time with which the second one holds.
    activateWindow();
    QTimer::singleShot(kActivationRetryMs, this, [this] {
        if (!ended_ && isVisible()) {
            activateWindow();
        }
    });
}

void CRZ470ControlPanelDlg::CloseDialog() {
    session_.RestoreGroupingAndOfferSave([this] {
        return services_.prompts.message(kSaveQuestion, kSaveTitle, Prompts::Buttons::YesNo,
                                         Prompts::Icon::Question) == Prompts::Answer::Yes;
    });
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

void CRZ470ControlPanelDlg::reject() {
    SendCloseMessage();
}

void CRZ470ControlPanelDlg::done(int result) {
    ended_ = true;
    session_.Stop();
    StopPollTimer();
    title_.hide();
    if (demo_) {
        demo_->Abandon();
    }
    QDialog::done(result);
}

void CRZ470ControlPanelDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == pollTimer_) {
        OnTimer();
        return;
    }
    QDialog::timerEvent(event);
}

void CRZ470ControlPanelDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        router_.Press(at.x(), at.y());
    }
    QDialog::mousePressEvent(event);
}

void CRZ470ControlPanelDlg::mouseReleaseEvent(QMouseEvent* event) {
    // Qt hands the dialog a release that happened outside it; such a release runs no action and
    // leaves the button drawn pressed.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        router_.Release();
    }
    QDialog::mouseReleaseEvent(event);
}

void CRZ470ControlPanelDlg::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (router_.ScreenState() == screens::kMain) {
        ledSliders_.Refresh();
    }
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
    // The surface may hold more pixels than the window has: its source is in its own pixels.
    const QImage& surface = router_.surface().image();
    const qreal scale = surface.devicePixelRatio();
    if (!qFuzzyCompare(scale, devicePixelRatioF())) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    const QRectF area(event->rect());
    painter.drawImage(area, surface, QRectF(area.topLeft() * scale, area.size() * scale));
    keyboardFocus_.PaintRing(painter);
}

void CRZ470ControlPanelDlg::closeEvent(QCloseEvent* event) {
    SendCloseMessage();
    event->accept();
}

void CRZ470ControlPanelDlg::keyPressEvent(QKeyEvent* event) {
    if (keyboardFocus_.KeyPress(*event)) {
        event->accept();
        return;
    }
    // Return never closes the panel; Escape is Cancel, which closes as EXIT does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CRZ470ControlPanelDlg::keyReleaseEvent(QKeyEvent* event) {
    if (keyboardFocus_.KeyRelease(*event)) {
        event->accept();
        return;
    }
    QDialog::keyReleaseEvent(event);
}
