#pragma once

#include <cstdint>

struct DeviceApi;
class UnitTable;
class Waits;

// What the discovery asks of its owner.
class DiscoveryListener {
public:
    virtual ~DiscoveryListener() = default;
    // The unit was connected into slot 0, which was empty: read it in full.
    virtual void UnitConnected() = 0;
    // The count dropped and slot 0 emptied.
    virtual void UnitLost() = 0;
};

// Finds units as the library's count changes and keeps the slots in step with it.
class UnitDiscovery {
public:
    static constexpr int kConnectRetries = 599;
    static constexpr int kQuickConnectRetries = 5;  // connected within these: no settling wait
    static constexpr int kConnectRetryWaitMs = 100;
    static constexpr int kSettleWaitMs = 5000;
    static constexpr int kIdentityAttempts = 10;

    UnitDiscovery(DeviceApi& api, Waits& waits, UnitTable& table) : api_(api), waits_(waits), table_(table) {}

    // One discovery step; runs at the start of every poll tick.
    void Step(DiscoveryListener& listener);

private:
    void ConnectWithRetries(uint16_t deviceIndex);
    bool ReadIdentity(uint16_t deviceIndex, uint16_t& serialNumber, uint8_t& serialIdentifier);
    bool HoldsIndex(uint16_t deviceIndex) const;
    int FirstEmptySlot() const;
    void EmptyInactiveSlots();

    DeviceApi& api_;
    Waits& waits_;
    UnitTable& table_;
};
