#include "MaintenanceTexts.h"

#include "MaintenanceLayout.h"
#include "UnitTable.h"

namespace maintenancetexts {

namespace {

namespace cs = rz470::ChannelStatus;

struct ModelCode {
    char identifier;
    const char* format;
};

constexpr ModelCode kModelCodes[] = {
    {'A', "RZ210-%05u"},   {'B', "RZ251-K-%05u"}, {'H', "RZ510-Q-%05u"}, {'I', "RZ520-Q-%05u"},
    {'J', "RZ530-Q-%05u"}, {'K', "RZ540-Q-%05u"}, {'T', "RZ210-P-%05u"},
};
// A 'B' unit with exactly three LEDs present is the three-LED model.
constexpr const char* kThreeLedFormat = "RZ231-K-%05u";
constexpr int kThreeLeds = 3;

struct ErrorCondition {
    uint16_t bits;
    bool whenNotAll;  // the condition holds when not all of bits are set; otherwise when all are
    const char* format;

    bool holds(uint16_t status) const { return ((status & bits) == bits) != whenNotAll; }
};

// Tested per channel in this order.
constexpr ErrorCondition kErrorConditions[] = {
    {cs::OverTemperature, false, "LED %dnm Over Temperature"},
    {cs::CurrentAlarm, false, "LED %dnm Current Alarm"},
    {cs::NvmError, false, "LED %dnm NVM Error"},
    {cs::UnderTemperature, false, "LED %dnm Under Temperature Error"},
    {cs::TypeMismatch, false, "LED %dnm Type MisMatch"},
    {cs::Fitted | cs::Present, true, "LED %dnm Not Present"},
};

}  // namespace

QString VersionText(uint16_t firmwareVersion, const QString& panelVersion) {
    return QString::asprintf("%d.%d.%d/", firmwareVersion / 100, firmwareVersion % 100 / 10,
                             firmwareVersion % 10) +
           panelVersion;
}

QString SerialText(const UnitSlot& unit) {
    const unsigned serial = unit.serialNumber;
    for (const ModelCode& code : kModelCodes) {
        if (unit.serialIdentifier != static_cast<uint8_t>(code.identifier)) {
            continue;
        }
        if (code.identifier == 'B') {
            int present = 0;
            for (int k = 0; k < rz470::kChannelCount; ++k) {
                present += (unit.channels[static_cast<size_t>(k)].status & cs::Present) != 0;
            }
            if (present == kThreeLeds) {
                return QString::asprintf(kThreeLedFormat, serial);
            }
        }
        return QString::asprintf(code.format, serial);
    }
    return QStringLiteral("Undefined Type");
}

QStringList ErrorLines(const UnitSlot& unit) {
    QStringList lines;
    for (int k = 0; k < rz470::kChannelCount; ++k) {
        const rz470::ChannelRecord& channel = unit.channels[static_cast<size_t>(k)];
        for (const ErrorCondition& condition : kErrorConditions) {
            if (!condition.holds(channel.status)) {
                continue;
            }
            lines << QString::asprintf(condition.format, channel.wavelength);
            if (lines.size() == maintenancelayout::kMaxErrorLines) {
                return lines;
            }
        }
    }
    return lines;
}

}  // namespace maintenancetexts
