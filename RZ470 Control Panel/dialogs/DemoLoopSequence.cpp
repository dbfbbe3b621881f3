#include "DemoLoopSequence.h"

#include "DemoLoopSettings.h"

void DemoLoopSequence::Start() {
    m_noOffPhase = settings_.m_offTime == 0 ? 1 : 0;
    m_step = 0;
    m_firstStep = 1;
    timers_.Start(DemoLoopTimers::kOffTimer, kStartDelayMs);
    m_running = 1;
}

void DemoLoopSequence::Stop() {
    timers_.Stop(DemoLoopTimers::kOnTimer);
    timers_.Stop(DemoLoopTimers::kOffTimer);
    // All off twice; neither result is looked at.
    output_.SwitchAllOff();
    output_.SwitchAllOff();
    for (int position = 0; position < DemoLoopSettings::kPositions; ++position) {
        output_.ShowTile(position, SelectionTile(position));
    }
    m_firstStep = 0;
    m_running = 0;
}

void DemoLoopSequence::Abandon() {
    timers_.Stop(DemoLoopTimers::kOnTimer);
    timers_.Stop(DemoLoopTimers::kOffTimer);
    for (int position = 0; position < DemoLoopSettings::kPositions; ++position) {
        output_.ShowTile(position, SelectionTile(position));
    }
    m_firstStep = 0;
    m_running = 0;
}

void DemoLoopSequence::Halt() {
    timers_.Stop(DemoLoopTimers::kOnTimer);
    timers_.Stop(DemoLoopTimers::kOffTimer);
    output_.SwitchAllOff();
}

void DemoLoopSequence::OnTimer(int id) {
    if (id == DemoLoopTimers::kOnTimer) {
        OnTimeEnded();
    } else if (id == DemoLoopTimers::kOffTimer) {
        OffTimeEnded();
    }
}

void DemoLoopSequence::OnTimeEnded() {
    const int position = CurrentPosition();
    if (position >= 0) {
        output_.ShowTile(position, SelectionTile(position));
    }
    if (m_noOffPhase == 0) {
        timers_.Stop(DemoLoopTimers::kOnTimer);
        output_.SwitchAllOff();
        timers_.Start(DemoLoopTimers::kOffTimer, settings_.m_offTime);
        return;
    }
    // The on timer keeps its period: the next step follows after another on time.
    Advance();
    SwitchOnCurrent();
}

void DemoLoopSequence::OffTimeEnded() {
    timers_.Stop(DemoLoopTimers::kOffTimer);
    if (m_firstStep != 0) {
        m_firstStep = 0;
    } else {
        Advance();
    }
    SwitchOnCurrent();
    timers_.Start(DemoLoopTimers::kOnTimer, settings_.m_onTime);
}

void DemoLoopSequence::Advance() {
    ++m_step;
    // At or past the end, so that a loop that has become shorter still wraps.
    if (m_step >= settings_.m_loopCount) {
        m_step = 0;
    }
}

void DemoLoopSequence::SwitchOnCurrent() {
    const int position = CurrentPosition();
    if (position < 0) {
        return;
    }
    output_.SwitchOn(position);
    output_.ShowTile(position, DemoLoopOutput::Tile::Lit);
}

int DemoLoopSequence::CurrentPosition() const {
    if (m_step >= DemoLoopSettings::kPositions) {
        return -1;
    }
    const int position = settings_.m_loopOrder[m_step];
    return position < DemoLoopSettings::kPositions ? position : -1;
}

DemoLoopOutput::Tile DemoLoopSequence::SelectionTile(int position) const {
    return settings_.IsSelected(position) ? DemoLoopOutput::Tile::Selected : DemoLoopOutput::Tile::Unselected;
}
