#pragma once

class ProfileStore;
class Prompts;
class QObject;

// Tells the user the first time the settings store could not write: the panel goes on, but the
// values set in this session will not outlive it. Told after the action that wrote, not in the
// middle of it.
class StoreWriteWarning {
public:
    StoreWriteWarning(ProfileStore& profile, Prompts& prompts, QObject& context);
    ~StoreWriteWarning();
    StoreWriteWarning(const StoreWriteWarning&) = delete;
    StoreWriteWarning& operator=(const StoreWriteWarning&) = delete;

private:
    ProfileStore& profile_;
};
