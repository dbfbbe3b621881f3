// Every stored value the panel reads, from a settings file edited by anyone: hostile types,
// lengths and bytes read back bounded, and what the panel writes reads back as written.
#include "DemoLoopSettings.h"
#include "FuzzCheck.h"
#include "LedName.h"
#include "PanelSettings.h"
#include "ProfileStore.h"
#include "SettingsKeys.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

namespace {

QString FreshIniPath() {
    // Every write syncs the file to disk; in memory that costs nothing.
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/rz470-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/rz470-fuzz-XXXXXX"));
    static int count = 0;
    // A new name every time: QSettings caches a file by its name and may not see a rewrite
    // within the same second.
    return folder.filePath(QStringLiteral("profile%1.ini").arg(++count));
}

void CheckReads(const PanelSettings& settings, const std::vector<uint16_t>& wavelengths) {
    for (const uint16_t wavelength : wavelengths) {
        FUZZ_CHECK(settings.ChannelName(wavelength).size() <= settings::kMaxStoredStringLength);
        if (const std::optional<uint16_t> level = settings.ChannelIntensity(wavelength)) {
            FUZZ_CHECK(*level <= 1000);
        }
    }
    for (int slot = -1; slot <= PanelSettings::kFavouriteSlots + 1; ++slot) {
        const FavouriteGrouping favourite = settings.Favourite(slot);
        FUZZ_CHECK(favourite.name.size() <= settings::kMaxStoredStringLength);
        FUZZ_CHECK(favourite.mode >= 0 && favourite.mode <= 2);
        for (const uint8_t group : PanelSettings::UnpackGroups(favourite.packedGroups)) {
            FUZZ_CHECK(group <= 6);
        }
    }
    const StoredDemoLoop stored = settings.DemoLoop();
    FUZZ_CHECK(stored.selection.size() <= 9 && stored.order.size() <= 9 && stored.times.size() <= 2);
    DemoLoopSettings demo;
    demo.ApplyStored(stored);
    for (const uint8_t selected : demo.m_selected) {
        FUZZ_CHECK(selected <= 1);
    }
    DemoLoopSettings validated = demo;
    if (validated.Validate(demo.OrderBoxTexts()) != DemoLoopSettings::Verdict::InvalidOrder) {
        FUZZ_CHECK(validated.m_loopCount == validated.SelectedCount());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<uint16_t> wavelengths{0, 365, 405, 65535};
    for (int i = 0; i < 3; ++i) {
        wavelengths.push_back(input.ConsumeIntegral<uint16_t>());
    }
    // What the panel itself would write afterwards.
    const uint16_t writtenWavelength = input.ConsumeIntegral<uint16_t>();
    const QString typedName = QString::fromUtf8(input.ConsumeRandomLengthString(40).c_str());
    const auto writtenLevel = input.ConsumeIntegralInRange<uint16_t>(0, 1000);
    const int favouriteSlot = input.ConsumeIntegralInRange<int>(1, PanelSettings::kFavouriteSlots);
    const QString favouriteName = QString::fromUtf8(input.ConsumeRandomLengthString(40).c_str());
    const auto packedGroups = input.ConsumeIntegral<uint32_t>();
    const auto favouriteMode = input.ConsumeIntegralInRange<int>(0, 2);
    std::array<uint8_t, 9> selection{};
    std::array<uint8_t, 9> order{};
    for (size_t i = 0; i < 9; ++i) {
        selection[i] = input.ConsumeIntegralInRange<uint8_t>(0, 1);
        order[i] = input.ConsumeIntegral<uint8_t>();
    }
    const auto onTime = input.ConsumeIntegral<uint16_t>();
    const auto offTime = input.ConsumeIntegral<uint16_t>();
    const std::string fileBytes = input.ConsumeRemainingBytesAsString();

    const QString path = FreshIniPath();
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        file.write(fileBytes.data(), static_cast<qint64>(fileBytes.size()));
    }
    {
        ProfileStore store(path);
        PanelSettings settings(store);
        CheckReads(settings, wavelengths);

        // A name comes from the text entry through the channel record, so it is the 8-bit form.
        char field[50] = {};
        LedName::Store(LedName::Cut(typedName), field);
        const QString channelName = LedName::FromNarrow(field);
        settings.SetChannelName(writtenWavelength, channelName);
        settings.SetChannelIntensity(writtenWavelength, writtenLevel);
        const FavouriteGrouping favourite{favouriteName, packedGroups, favouriteMode};
        settings.SetFavourite(favouriteSlot, favourite);
        settings.SetDemoLoop(selection, order, onTime, offTime);
        CheckReads(settings, wavelengths);

        // Read back through a second store on the same file, as at the next start.
        ProfileStore again(path);
        const PanelSettings reread(again);
        FUZZ_CHECK(reread.ChannelName(writtenWavelength) == channelName);
        FUZZ_CHECK(reread.ChannelIntensity(writtenWavelength) == std::optional<uint16_t>(writtenLevel));
        const FavouriteGrouping stored = reread.Favourite(favouriteSlot);
        FUZZ_CHECK(stored.name == favouriteName.left(settings::kMaxStoredStringLength));
        FUZZ_CHECK(stored.packedGroups == packedGroups && stored.mode == favouriteMode);
        const StoredDemoLoop demo = reread.DemoLoop();
        FUZZ_CHECK(demo.selection == std::vector<int>(selection.begin(), selection.end()));
        FUZZ_CHECK(demo.order == std::vector<int>(order.begin(), order.end()));
        FUZZ_CHECK(demo.times == (std::vector<int>{onTime, offTime}));
    }
    QFile::remove(path);
    return 0;
}
