#pragma once

// Every blocking wait of the panel goes through here, so tests record waits instead of sleeping.
class Waits {
public:
    virtual ~Waits() = default;
    virtual void wait(int milliseconds) = 0;
};

// Sleeps for real. Timer events that fall due meanwhile are merged, as the panel expects.
class ThreadWaits : public Waits {
public:
    void wait(int milliseconds) override;
};
