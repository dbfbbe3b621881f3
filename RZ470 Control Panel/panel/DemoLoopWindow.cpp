#include "DemoLoopWindow.h"

#include "CDemo.h"
#include "Prompts.h"
#include "UnitSession.h"

#include <QTimer>

namespace {

constexpr int kActivationRetryMs = 50;

}  // namespace

DemoLoopWindow::DemoLoopWindow(UnitSession& session, PanelSettings& settings, Prompts& prompts, Waits& waits,
                               QWidget& panel, std::function<bool()> panelShown)
    : session_(session),
      settings_(settings),
      prompts_(prompts),
      waits_(waits),
      panel_(panel),
      panelShown_(std::move(panelShown)) {}

DemoLoopWindow::~DemoLoopWindow() = default;

CDemo& DemoLoopWindow::dialog() {
    if (!demo_) {
        demo_ = std::make_unique<CDemo>(session_, settings_, prompts_, waits_, &panel_);
    }
    return *demo_;
}

void DemoLoopWindow::Open() {
    CDemo& demo = dialog();
    demo.CopyNames(session_.table());
    prompts_.runModal(demo);
    TakeBackActivation();
}

bool DemoLoopWindow::IsRunning() const {
    return demo_ && demo_->sequence().running();
}

void DemoLoopWindow::Abandon() {
    if (demo_) {
        demo_->Abandon();
    }
}

void DemoLoopWindow::TakeBackActivation() {
    if (!panelShown_()) {
        return;
    }
    // When the demo dialog and its questions close, the keyboard falls to no window at all (on X
    // without a window manager, to the root window): keys and Alt+Space would reach nothing.
    // There the first request carries a time older than that fall and is refused; its own
    // property change brings the newer time with which the second one holds.
    panel_.activateWindow();
    QTimer::singleShot(kActivationRetryMs, &panel_, [this] {
        if (panelShown_()) {
            panel_.activateWindow();
        }
    });
}
