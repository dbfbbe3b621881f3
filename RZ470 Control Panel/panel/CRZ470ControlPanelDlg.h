#pragma once

#include "Canvas.h"
#include "DeviceApi.h"
#include "PanelServices.h"

#include <QDialog>
#include <QIcon>

#include <array>
#include <cstdint>

// The panel's one window. It owns the state of the run and routes events to the screens.
class CRZ470ControlPanelDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 1421;
    static constexpr int kClientHeight = 423;
    static constexpr int kMainScreen = 1;

    explicit CRZ470ControlPanelDlg(const PanelServices& services, QWidget* parent = nullptr);
    ~CRZ470ControlPanelDlg() override;

    // Initialises and runs the dialog modally; returns how it ended.
    int DoModal();

    // Runs the start-up steps; the dialog may already have ended when this returns.
    bool InitDialog();
    // Restores the unit's grouping mode and offers to save the unit's settings.
    void CloseDialog();
    // The close message: CloseDialog, then the dialog ends.
    void SendCloseMessage();

    bool hasEnded() const { return ended_; }
    DeviceApi& deviceApi() { return api_; }
    const SurfaceCanvas& surface() const { return canvas_; }

    int screenState() const { return screenState_; }
    uint8_t groupingMode() const { return groupingMode_; }
    void setGroupingMode(uint8_t mode) { groupingMode_ = mode; }
    uint16_t unitDeviceIndex() const { return unitDeviceIndex_; }

public slots:
    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool BindDeviceLibrary();

    PanelServices services_;
    DeviceApi api_;
    SurfaceCanvas canvas_;
    QIcon icon_;

    int screenState_ = kMainScreen;
    int pressedButton_ = 0;
    int splashCountdown_ = 200;
    uint8_t groupingMode_ = 0;
    uint16_t unitDeviceIndex_ = 255;
    uint16_t deviceCount_ = 0;
    uint16_t knownDeviceCount_ = 0;
    std::array<uint8_t, 3> groupLimits_{0, 4, 6};  // highest group number per grouping mode
    bool closing_ = false;
    bool ended_ = false;
};
