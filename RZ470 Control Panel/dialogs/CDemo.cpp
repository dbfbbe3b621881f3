#include "CDemo.h"

#include "ColourButton.h"
#include "DemoAlarmStop.h"
#include "LedName.h"
#include "PanelArtwork.h"
#include "PanelFont.h"
#include "PanelLayout.h"
#include "PanelSettings.h"
#include "Prompts.h"
#include "UnitSession.h"
#include "Waits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSaveFile>
#include <QShowEvent>
#include <QTimerEvent>

namespace {

// The template's layout, in dialog units.
using layout::Place;

constexpr std::array<int, CDemo::kPositions> kColumnX{22, 62, 106, 147, 190, 231, 274, 316, 357};
constexpr int kColumnWidth = 41;
constexpr Place kLabelRow{0, 20, kColumnWidth, 14};
constexpr Place kTileRow{0, 34, kColumnWidth, 16};
constexpr Place kSelectRow{0, 54, 35, 10};
constexpr Place kOrderRow{0, 68, 40, 14};
constexpr Place kOnTimeText{12, 98, 48, 8};
constexpr Place kOnTimeBox{63, 95, 53, 14};
constexpr Place kOffTimeText{134, 98, 48, 8};
constexpr Place kOffTimeBox{185, 95, 53, 14};
constexpr Place kUserSettingText{256, 98, 48, 8};
constexpr Place kUserSettingList{307, 95, 70, 14};
constexpr Place kWarning{24, 111, 374, 14};
constexpr Place kMainScreen{7, 135, 108, 35};
constexpr Place kReset{158, 136, 108, 35};
constexpr Place kOnOff{309, 135, 108, 37};
constexpr int kDialogWidth = 425;
constexpr int kDialogHeight = 187;

const QColor kHdFace(255, 255, 0);
const QColor kWarningFace(255, 255, 0);
const QColor kGreyButtonFace(75, 75, 75);
const QColor kGreyButtonText(160, 160, 160);
const QColor kUnselectedTile(170, 170, 170);
const QColor kSelectedTile(221, 241, 185);
const QColor kLitTile(0, 200, 0);

QString Text(const char* text) {
    return QString::fromLatin1(text);
}

}  // namespace

CDemo::CDemo(UnitSession& session, PanelSettings& panelSettings, Prompts& prompts, Waits& waits,
             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      session_(session),
      panelSettings_(panelSettings),
      prompts_(prompts),
      waits_(waits),
      sequence_(settings_, *this, *this),
      units_(DialogUnits::DialogFont()),
      warningPopup_(this) {
    setWindowTitle(Text(kCaption));
    setFont(DialogUnits::DialogFont());
    setFixedSize(units_.Size(kDialogWidth, kDialogHeight));
    BuildControls();
    connect(&session_, &UnitSession::UnitStatusChanged, this, &CDemo::OnUnitStatusChanged);
}

CDemo::~CDemo() = default;

void CDemo::BuildControls() {
    const auto at = [this](QWidget* widget, const Place& place, int x = -1) {
        widget->setGeometry(units_.Rect(x < 0 ? place.x : x, place.y, place.width, place.height));
    };
    const auto inert = [](ColourButton* button) {
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };

    for (int i = 0; i < kPositions; ++i) {
        const int x = kColumnX[static_cast<size_t>(i)];
        const auto p = static_cast<size_t>(i);
        labels_[p] = inert(new ColourButton(QStringLiteral("CH%1").arg(i + 1), this));
        at(labels_[p], kLabelRow, x);
        tiles_[p] = inert(new ColourButton(QString(), this));
        at(tiles_[p], kTileRow, x);
    }
    // Created in the order the focus passes them.
    for (int i = 0; i < kPositions; ++i) {
        const auto p = static_cast<size_t>(i);
        selects_[p] = new QCheckBox(QStringLiteral("Select"), this);
        at(selects_[p], kSelectRow, kColumnX[p]);
        connect(selects_[p], &QCheckBox::clicked, this, [this, i] { OnSelectClicked(i); });
    }
    for (int i = 0; i < kPositions; ++i) {
        const auto p = static_cast<size_t>(i);
        orders_[p] = new QLineEdit(this);
        at(orders_[p], kOrderRow, kColumnX[p]);
    }

    const auto text = [this, &at](const char* caption, const Place& place) {
        auto* label = new QLabel(Text(caption), this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        at(label, place);
    };
    text("OnTime(ms)", kOnTimeText);
    onTime_ = new QLineEdit(this);
    at(onTime_, kOnTimeBox);
    text("OffTime(ms)", kOffTimeText);
    offTime_ = new QLineEdit(this);
    at(offTime_, kOffTimeBox);
    for (QLineEdit* box : {onTime_, offTime_}) {
        box->installEventFilter(this);
    }
    text("User Setting", kUserSettingText);
    userSetting_ = new QComboBox(this);
    userSetting_->addItems({QStringLiteral("Read"), QStringLiteral("Save")});
    at(userSetting_, kUserSettingList);
    // Activated rather than changed: choosing Save twice saves twice.
    connect(userSetting_, &QComboBox::activated, this, &CDemo::OnUserSetting);

    warning_ = inert(new ColourButton(Text(kWarningText), this));
    at(warning_, kWarning);

    mainScreen_ = new ColourButton(QStringLiteral("MAIN SCREEN"), this);
    at(mainScreen_, kMainScreen);
    connect(mainScreen_, &QPushButton::clicked, this, [this] { LeaveDemoLoop(QDialog::Accepted); });
    reset_ = new ColourButton(QStringLiteral("RESET SETTING"), this);
    at(reset_, kReset);
    connect(reset_, &QPushButton::clicked, this, &CDemo::ResetSettings);
    onOff_ = new ColourButton(QString(), this);
    at(onOff_, kOnOff);
    connect(onOff_, &QPushButton::clicked, this, &CDemo::ToggleDemoLoop);
}

void CDemo::CopyNames(UnitTable& table) {
    for (int i = 0; i < kPositions; ++i) {
        m_names[static_cast<size_t>(i)] = LedName::FromNarrow(table.channelAtPanel(i).name);
    }
}

void CDemo::SetTimers(DemoLoopTimers* timers) {
    Stop(kOnTimer);
    Stop(kOffTimer);
    externalTimers_ = timers;
}

void CDemo::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        InitDialog();
    }
    QDialog::showEvent(event);
}

void CDemo::InitDialog() {
    if (!defaultsRead_) {
        settings_.ApplyStored(panelSettings_.DemoLoop());
        defaultsRead_ = true;
    }
    // The panel's typeface is registered only once the panel has started.
    labelFont_ = PanelFont::withCellHeight(PanelFont::kMediumCell);
    for (int i = 0; i < kPositions; ++i) {
        const auto p = static_cast<size_t>(i);
        tiles_[p]->setText(m_names[p]);
        labels_[p]->setFont(labelFont_);
        if (DemoLoopSettings::IsHd(i)) {
            labels_[p]->SetFaceColour(kHdFace);
        }
        orders_[p]->clear();
    }
    ShowSelection();
    ShowOrder();
    ShowTimes();
    sequence_.m_running = 0;
    ShowRunning(false);

    for (ColourButton* button : {mainScreen_, reset_}) {
        button->SetFaceColour(kGreyButtonFace);
        button->SetTextColour(kGreyButtonText);
    }
    reset_->setFont(labelFont_);
    warning_->SetFaceColour(kWarningFace);
    userSetting_->setCurrentIndex(-1);
}

void CDemo::ShowSelection() {
    for (int i = 0; i < kPositions; ++i) {
        selects_[static_cast<size_t>(i)]->setChecked(settings_.IsSelected(i));
        ShowTile(i, settings_.IsSelected(i) ? Tile::Selected : Tile::Unselected);
    }
}

void CDemo::ShowOrder() {
    const DemoLoopSettings::OrderTexts texts = settings_.OrderBoxTexts();
    for (size_t p = 0; p < texts.size(); ++p) {
        if (!texts[p].isEmpty()) {
            orders_[p]->setText(texts[p]);
        }
    }
}

void CDemo::ShowTimes() {
    onTime_->setText(QString::number(settings_.m_onTime));
    offTime_->setText(QString::number(settings_.m_offTime));
}

void CDemo::ShowRunning(bool running) {
    onOff_->SetPicture(
        PanelArtwork::picture(running ? kRunningPicture : kStoppedPicture, onOff_->devicePixelRatioF()));
    for (int i = 0; i < kPositions; ++i) {
        selects_[static_cast<size_t>(i)]->setEnabled(!running);
        orders_[static_cast<size_t>(i)]->setEnabled(!running);
    }
    onTime_->setEnabled(!running);
    offTime_->setEnabled(!running);
    userSetting_->setEnabled(!running);
    // A reset while running would leave the loop switching CH1 through its emptied order.
    reset_->setEnabled(!running);
}

void CDemo::OnSelectClicked(int position) {
    if (position < 0 || position >= kPositions) {
        return;
    }
    const auto p = static_cast<size_t>(position);
    if (selects_[p]->isChecked()) {
        settings_.m_selected[p] = 1;
        ShowTile(position, Tile::Selected);
        if (!HasIntensity(position)) {
            Tell(kNoIntensityText, kActionTitle);
        }
    } else {
        settings_.m_selected[p] = 0;
        ShowTile(position, Tile::Unselected);
        orders_[p]->clear();
    }
}

void CDemo::OnOnTimeKillFocus() {
    settings_.m_onTime = DemoLoopSettings::OnTimeFromText(onTime_->text());
    onTime_->setText(QString::number(settings_.m_onTime));
}

void CDemo::OnOffTimeKillFocus() {
    settings_.m_offTime = DemoLoopSettings::OffTimeFromText(offTime_->text());
    offTime_->setText(QString::number(settings_.m_offTime));
}

DemoLoopSettings::OrderTexts CDemo::OrderTexts() const {
    DemoLoopSettings::OrderTexts texts;
    for (size_t p = 0; p < texts.size(); ++p) {
        texts[p] = orders_[p]->text();
    }
    return texts;
}

bool CDemo::ValidateDemoSettings() {
    switch (settings_.Validate(OrderTexts())) {
        case DemoLoopSettings::Verdict::Valid:
            return true;
        case DemoLoopSettings::Verdict::InvalidOrder:
            Tell(kInvalidOrderText, kErrorTitle);
            return false;
        case DemoLoopSettings::Verdict::HdTimesTooShort:
            Tell(kHdTimesText, kErrorTitle);
            return false;
    }
    return false;
}

void CDemo::ToggleDemoLoop() {
    if (!ValidateDemoSettings() || !session_.UnitActive()) {
        return;
    }
    if (sequence_.running()) {
        sequence_.Stop();
        ShowRunning(false);
        return;
    }
    if (settings_.m_onTime == 0) {
        Tell(kNoOnTimeText, kActionTitle);
        return;
    }
    // With no position in the loop there is nothing to switch: the first step would light CH1.
    if (settings_.m_loopCount == 0) {
        Tell(kInvalidOrderText, kErrorTitle);
        return;
    }
    for (int i = 0; i < kPositions; ++i) {
        if (settings_.IsSelected(i) && !HasIntensity(i)) {
            Tell(kNoIntensityText, kActionTitle);
            return;
        }
    }
    if (InterlockRefusesStart()) {
        return;
    }
    sequence_.Start();
    ShowRunning(true);
}

void CDemo::ResetSettings() {
    settings_.Reset();
    for (int i = 0; i < kPositions; ++i) {
        selects_[static_cast<size_t>(i)]->setChecked(false);
        orders_[static_cast<size_t>(i)]->clear();
        ShowTile(i, Tile::Unselected);
    }
}

void CDemo::OnUserSetting(int index) {
    if (index == kRead) {
        ReadDemoFile();
    } else if (index == kSave && ValidateDemoSettings()) {
        SaveDemoFile();
    }
}

void CDemo::ReadDemoFile() {
    const QString path = prompts_.openFileName(Text(kOpenFilters));
    if (path.isEmpty()) {
        return;
    }
    // Only a plain file: a pipe or a device could keep the dialog waiting forever.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        return;
    }
    settings_.ReadFileText(file.read(DemoLoopSettings::kFileBytesRead));
    ShowTimes();
    ShowSelection();
    for (int i = 0; i < kPositions; ++i) {
        if (!settings_.IsSelected(i)) {
            orders_[static_cast<size_t>(i)]->clear();
        }
    }
    ShowOrder();
}

void CDemo::SaveDemoFile() {
    QString path = prompts_.saveFileName(Text(kSaveFilter));
    if (path.isEmpty()) {
        return;
    }
    if (!path.contains(QLatin1String(kFileSuffix), Qt::CaseSensitive)) {
        path += QLatin1String(kFileSuffix);
    }
    // Written beside the old file and put in its place only once whole: a full disk or a failed
    // write leaves the old file as it was. Unbuffered, so that a short write shows in the count
    // rather than being lost at the flush.
    QSaveFile file(path);
    const QByteArray text = settings_.FileText();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(text) != text.size() ||
        !file.commit()) {
        // Asked with Yes and No; either answer leaves things as they are.
        prompts_.message(Text(kSaveFailedText), Text(kInfoTitle), Prompts::Buttons::YesNo,
                         Prompts::Icon::None);
    }
}

void CDemo::LeaveDemoLoop(int result) {
    if (sequence_.running()) {
        return;
    }
    sequence_.Halt();
    if (prompts_.message(Text(kSaveDefaultsText), Text(kActionTitle), Prompts::Buttons::YesNo,
                         Prompts::Icon::None) == Prompts::Answer::Yes &&
        ValidateDemoSettings()) {
        panelSettings_.SetDemoLoop(settings_.m_selected, settings_.m_loopOrder, settings_.m_onTime,
                                   settings_.m_offTime);
    }
    waits_.wait(kLeaveWaitMs);
    QDialog::done(result);
}

void CDemo::reject() {
    LeaveDemoLoop(QDialog::Rejected);
}

std::array<uint16_t, CDemo::kPositions> CDemo::StatusAtPositions() {
    std::array<uint16_t, kPositions> statusAtPosition{};
    for (int i = 0; i < kPositions; ++i) {
        statusAtPosition[static_cast<size_t>(i)] = session_.table().channelAtPanel(i).status;
    }
    return statusAtPosition;
}

std::array<uint8_t, CDemo::kPositions> CDemo::WatchedPositions() const {
    // Every position the loop switches counts, ticked or not.
    std::array<uint8_t, kPositions> watched = settings_.LoopPositions();
    for (size_t p = 0; p < watched.size(); ++p) {
        watched[p] |= settings_.m_selected[p];
    }
    return watched;
}

bool CDemo::InterlockRefusesStart() {
    switch (demoalarm::BlocksStart(session_.unit().unitStatus, StatusAtPositions(), WatchedPositions())) {
        case demoalarm::StartBlock::None:
            return false;
        case demoalarm::StartBlock::LightGuideOut:
            prompts_.showError(warningPopup_, CError::LightGuideOut);
            return true;
        case demoalarm::StartBlock::ChannelAlarm:
            prompts_.showError(warningPopup_, CError::AlarmActive);
            return true;
    }
    return true;
}

void CDemo::OnUnitStatusChanged() {
    if (!isVisible() || !sequence_.running()) {
        return;
    }
    if (demoalarm::StopsLoop(session_.unit().unitStatus, StatusAtPositions(), WatchedPositions())) {
        ToggleDemoLoop();
    }
}

void CDemo::Abandon() {
    if (sequence_.running()) {
        sequence_.Abandon();
        ShowRunning(false);
    }
    if (isVisible()) {
        QDialog::done(QDialog::Rejected);
    }
}

bool CDemo::HasIntensity(int position) {
    const uint16_t intensity = session_.table().shownAtPanel(position).intensity;
    return intensity != 0 && intensity <= rz470::kMaxIntensity;
}

void CDemo::Tell(const char* text, const char* title) {
    prompts_.message(Text(text), Text(title), Prompts::Buttons::Ok, Prompts::Icon::None);
}

void CDemo::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (focusWidget() == onTime_) {
                offTime_->setFocus(Qt::TabFocusReason);
            } else {
                selects_[0]->setFocus(Qt::TabFocusReason);
            }
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

bool CDemo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        if (watched == onTime_) {
            OnOnTimeKillFocus();
        } else if (watched == offTime_) {
            OnOffTimeKillFocus();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CDemo::Start(int id, int milliseconds) {
    if (externalTimers_ != nullptr) {
        externalTimers_->Start(id, milliseconds);
        return;
    }
    Stop(id);
    windowTimers_[static_cast<size_t>(id)] = startTimer(milliseconds, Qt::PreciseTimer);
}

void CDemo::Stop(int id) {
    if (externalTimers_ != nullptr) {
        externalTimers_->Stop(id);
        return;
    }
    int& timer = windowTimers_[static_cast<size_t>(id)];
    if (timer != 0) {
        killTimer(timer);
        timer = 0;
    }
}

void CDemo::timerEvent(QTimerEvent* event) {
    for (const int id : {kOnTimer, kOffTimer}) {
        if (event->timerId() == windowTimers_[static_cast<size_t>(id)]) {
            OnTimer(id);
            return;
        }
    }
    QDialog::timerEvent(event);
}

void CDemo::SwitchOn(int position) {
    session_.SwitchChannel(session_.table().panelMap[static_cast<size_t>(position)], true);
}

void CDemo::SwitchAllOff() {
    session_.SwitchAllOff();
}

void CDemo::ShowTile(int position, Tile tile) {
    if (position < 0 || position >= kPositions) {
        return;
    }
    const QColor face = tile == Tile::Lit        ? kLitTile
                        : tile == Tile::Selected ? kSelectedTile
                                                 : kUnselectedTile;
    tiles_[static_cast<size_t>(position)]->SetFaceColour(face);
}
