#pragma once

#include <cstdint>

class DemoLoopSettings;

// The demo loop's two timers. Starting a timer that runs restarts it with the new period; a
// timer keeps firing with its period until it is stopped.
class DemoLoopTimers {
public:
    enum Id { kOnTimer = 1, kOffTimer = 2 };

    virtual ~DemoLoopTimers() = default;
    virtual void Start(int id, int milliseconds) = 0;
    virtual void Stop(int id) = 0;
};

// What the loop does at its steps: the LEDs of the unit and the tiles of the dialog.
class DemoLoopOutput {
public:
    enum class Tile { Unselected, Selected, Lit };

    virtual ~DemoLoopOutput() = default;
    // Switches on the LED of position, leaving the others as they are.
    virtual void SwitchOn(int position) = 0;
    virtual void SwitchAllOff() = 0;
    virtual void ShowTile(int position, Tile tile) = 0;
};

// The loop's steps, driven by the two timers. With an off phase the unit sees: one LED on for
// the on time, all off for the off time, the next LED on, …; without one each on time ends by
// switching the next LED on.
class DemoLoopSequence {
public:
    static constexpr int kStartDelayMs = 10;

    DemoLoopSequence(const DemoLoopSettings& settings, DemoLoopTimers& timers, DemoLoopOutput& output)
        : settings_(settings), timers_(timers), output_(output) {}

    // The first LED goes on kStartDelayMs later.
    void Start();
    // Both timers stopped, all LEDs off, the tiles back to their selection.
    void Stop();
    // Both timers stopped and all LEDs off, for leaving the dialog.
    void Halt();
    // Stopped without a word to the unit, which is gone: the timers, the tiles and the state only.
    void Abandon();
    void OnTimer(int id);

    bool running() const { return m_running != 0; }
    int step() const { return m_step; }

    uint8_t m_noOffPhase = 0;
    uint8_t m_step = 0;
    uint8_t m_firstStep = 0;
    uint8_t m_running = 0;

private:
    void OnTimeEnded();
    void OffTimeEnded();
    void Advance();
    void SwitchOnCurrent();
    // The position of the current step; none (-1) for a slot beyond the nine positions.
    int CurrentPosition() const;
    DemoLoopOutput::Tile SelectionTile(int position) const;

    const DemoLoopSettings& settings_;
    DemoLoopTimers& timers_;
    DemoLoopOutput& output_;
};
