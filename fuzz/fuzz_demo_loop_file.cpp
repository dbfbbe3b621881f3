// A demo-loop settings file as the dialog reads it, then the loop run from what it holds: the
// file round-trips through the dialog's own writing, and the loop only ever touches positions
// 1..9 however broken the file was.
#include "DemoLoopSequence.h"
#include "DemoLoopSettings.h"
#include "FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

class CheckedTimers : public DemoLoopTimers {
public:
    void Start(int id, int milliseconds) override {
        FUZZ_CHECK(id == kOnTimer || id == kOffTimer);
        FUZZ_CHECK(milliseconds >= 0 && milliseconds <= 0xFFFF);
    }
    void Stop(int id) override { FUZZ_CHECK(id == kOnTimer || id == kOffTimer); }
};

class CheckedOutput : public DemoLoopOutput {
public:
    void SwitchOn(int position) override {
        FUZZ_CHECK(position >= 0 && position < DemoLoopSettings::kPositions);
    }
    void SwitchAllOff() override {}
    void ShowTile(int position, Tile) override {
        FUZZ_CHECK(position >= 0 && position < DemoLoopSettings::kPositions);
    }
};

bool SameSettings(const DemoLoopSettings& a, const DemoLoopSettings& b) {
    return a.m_selected == b.m_selected && a.m_loopOrder == b.m_loopOrder && a.m_onTime == b.m_onTime &&
           a.m_offTime == b.m_offTime;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const auto loopCount = input.ConsumeIntegral<uint8_t>();
    const auto timerEvents = input.ConsumeIntegralInRange<int>(0, 64);
    const std::string file = input.ConsumeRemainingBytesAsString();

    DemoLoopSettings settings;
    settings.ReadFileText(QByteArray(file.data(), static_cast<qsizetype>(file.size())));
    for (const uint8_t selected : settings.m_selected) {
        FUZZ_CHECK(selected == 0 || selected == 1);
    }

    // What the dialog writes reads back as the same settings.
    DemoLoopSettings reread;
    reread.Reset();
    reread.ReadFileText(settings.FileText());
    FUZZ_CHECK(SameSettings(settings, reread));

    // The order boxes as the dialog fills them after reading (an unreadable order may put a step
    // into an unselected box, which the check then refuses), taken back as the user's entry.
    const DemoLoopSettings::OrderTexts boxes = settings.OrderBoxTexts();
    DemoLoopSettings validated = settings;
    const DemoLoopSettings::Verdict verdict = validated.Validate(boxes);
    if (verdict == DemoLoopSettings::Verdict::InvalidOrder) {
        FUZZ_CHECK(SameSettings(validated, settings) && validated.m_loopCount == settings.m_loopCount);
    } else {
        FUZZ_CHECK(validated.m_loopCount == validated.SelectedCount());
    }

    // The loop from the file, validated or not (a loop length left from an earlier validation).
    for (DemoLoopSettings* loop : {&validated, &settings}) {
        if (loop == &settings) {
            settings.m_loopCount = loopCount;
        }
        CheckedTimers timers;
        CheckedOutput output;
        DemoLoopSequence sequence(*loop, timers, output);
        sequence.Start();
        for (int event = 0; event < timerEvents; ++event) {
            sequence.OnTimer(event % 3 == 0 ? DemoLoopTimers::kOffTimer : DemoLoopTimers::kOnTimer);
        }
        sequence.Stop();
    }
    return 0;
}
