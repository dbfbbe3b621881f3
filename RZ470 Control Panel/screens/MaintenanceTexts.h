#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

struct UnitSlot;

// The texts of the maintenance screen, built from the unit's records.
namespace maintenancetexts {

// The unit's software version next to the panel's: 140 and "1.1.1.0" give "1.4.0/1.1.1.0".
QString VersionText(uint16_t firmwareVersion, const QString& panelVersion);

// The serial number as printed on the unit: its model code by identifier letter, then the number
// with at least five digits; "Undefined Type" for a letter of no known model.
QString SerialText(const UnitSlot& unit);

// The channel errors, channel 1 first, each channel's in a fixed order of conditions, cut after
// as many lines as the list's frame holds.
QStringList ErrorLines(const UnitSlot& unit);

}  // namespace maintenancetexts
