#include "UnitDiscovery.h"

#include "DeviceApi.h"
#include "UnitTable.h"
#include "Waits.h"

void UnitDiscovery::Step(DiscoveryListener& listener) {
    api_.UpdateData();
    const uint16_t count = api_.GetNumDevicesConnected();
    table_.deviceCount = count;
    if (count == table_.knownDeviceCount) {
        return;
    }

    bool succeeded = true;
    if (count > table_.knownDeviceCount) {
        for (uint16_t index = 0; index < UnitTable::kDeviceIndexLimit; ++index) {
            if (api_.DeviceActive(index) == 0) {
                continue;
            }
            // A unit already held keeps its one slot: taking it again would read slot 0 afresh
            // and lose what the panel changed on it since (the grouping it cleared, the levels).
            const int slotNumber = FirstEmptySlot();
            if (slotNumber < 0 || HoldsIndex(index)) {
                continue;
            }
            UnitSlot& slot = table_.unitSlots[static_cast<size_t>(slotNumber)];
            slot.deviceIndex = index;
            ConnectWithRetries(index);
            if (!ReadIdentity(index, slot.serialNumber, slot.serialIdentifier)) {
                succeeded = false;
            }
            if (!succeeded) {
                slot.deviceIndex = UnitSlot::kEmpty;
                break;
            }
            if (slotNumber == 0) {
                listener.UnitConnected();
            }
        }
    } else {
        EmptyInactiveSlots();
        if (table_.unit().isEmpty()) {
            listener.UnitLost();
        }
    }

    // A failed step leaves the count unaccounted for, so the next tick tries again.
    if (succeeded) {
        table_.knownDeviceCount = count;
    }
}

void UnitDiscovery::ConnectWithRetries(uint16_t deviceIndex) {
    bool connected = api_.Connect(deviceIndex) != 0;
    int retries = 0;
    while (!connected && retries < kConnectRetries) {
        api_.UpdateData();
        waits_.wait(kConnectRetryWaitMs);
        ++retries;
        connected = api_.Connect(deviceIndex) != 0;
    }
    if (!connected) {
        api_.UpdateData();
        waits_.wait(kConnectRetryWaitMs);
    }
    // A unit that needed long to answer gets time to settle; it is used either way.
    if (!connected || retries > kQuickConnectRetries) {
        waits_.wait(kSettleWaitMs);
    }
}

bool UnitDiscovery::ReadIdentity(uint16_t deviceIndex, uint16_t& serialNumber, uint8_t& serialIdentifier) {
    const auto attempt = [this](auto&& call) {
        for (int attemptNumber = 0; attemptNumber < kIdentityAttempts; ++attemptNumber) {
            if (attemptNumber > 0) {
                api_.UpdateData();
            }
            if (call() != 0) {
                return true;
            }
        }
        return false;
    };
    const bool serialRead = attempt([&] { return api_.GetUnitSerialNumber(deviceIndex, &serialNumber); });
    const bool letterRead = attempt([&] { return api_.GetSerialIdentifier(deviceIndex, &serialIdentifier); });
    return serialRead && letterRead;
}

bool UnitDiscovery::HoldsIndex(uint16_t deviceIndex) const {
    for (const UnitSlot& slot : table_.unitSlots) {
        if (slot.deviceIndex == deviceIndex) {
            return true;
        }
    }
    return false;
}

int UnitDiscovery::FirstEmptySlot() const {
    for (int slotNumber = 0; slotNumber < UnitTable::kSlotCount; ++slotNumber) {
        if (table_.unitSlots[static_cast<size_t>(slotNumber)].isEmpty()) {
            return slotNumber;
        }
    }
    return -1;
}

void UnitDiscovery::EmptyInactiveSlots() {
    for (UnitSlot& slot : table_.unitSlots) {
        if (!slot.isEmpty() && api_.DeviceActive(slot.deviceIndex) == 0) {
            slot.deviceIndex = UnitSlot::kEmpty;
        }
    }
}
