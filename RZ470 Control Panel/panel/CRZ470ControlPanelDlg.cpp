#include "CRZ470ControlPanelDlg.h"

#include "CCrashHandler.h"
#include "LibraryBinding.h"
#include "PanelArtwork.h"
#include "ProfileStore.h"
#include "Prompts.h"
#include "ScriptingWiring.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
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
      sliders_(*this),
      errorPopup_(this),
      demoLoop_(session_, settings_, services.prompts, services.waits, *this,
                [this] { return !ended_ && isVisible(); }),
      windowMenu_(*this, services.prompts, [this] { demoLoop_.Open(); }),
      router_(QSize(kClientWidth, kClientHeight), session_, settings_, services.prompts, *this, errorPopup_,
              sliders_.led(),
              WindowRequests{[this] { SendCloseMessage(); },
                             [this] {
                                 demoLoop_.Open();
                                 return !ended_;
                             }}),
      keyboardFocus_(*this, router_),
      heldKeys_(*this),
      accessibility_(*this, router_, keyboardFocus_),
      scriptCommands_(session_, settings_),
      uncoveredWatch_(*this, [this] { router_.WindowUncovered(); }),
      writeWarning_(services.profile, services.prompts, *this),
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
    connect(&session_, &UnitSession::UnitNotFound, this, [this] {
        // A lost unit shows no LED lit any more, on screen too, while the message is up.
        router_.DetectChanges();
        ReportAndClose(kNotFoundText, kNotFoundTitle);
    });
    connect(&session_, &UnitSession::GroupingNotCleared, this,
            [this] { ReportAndClose(kGroupingNotClearedText, kErrorTitle); });
    WireScripting(scriptCommands_, router_, demoLoop_, session_, windowMenu_);

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
    windowMenu_.Install();
    setWindowIcon(icon_);
    sliders_.Configure();
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
    demoLoop_.Abandon();
    // What the user had open was about a unit the panel no longer has: it goes, unapplied,
    // before the message, so nothing of it is stored after the panel has ended.
    services_.prompts.closeOpenDialogs(Prompts::Closing::KeepAsking);
    services_.prompts.message(text, title, Prompts::Buttons::Ok, Prompts::Icon::None);
    SendCloseMessage();
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
    demoLoop_.Abandon();
    // A dialog still open runs its loop inside the panel's: the run ends only once it has closed.
    services_.prompts.closeOpenDialogs(Prompts::Closing::ForGood);
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
    router_.WindowMoved();
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
