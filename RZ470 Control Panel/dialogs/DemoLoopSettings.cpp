#include "DemoLoopSettings.h"

#include "NumberList.h"
#include "PanelSettings.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr int kTimes = 2;

// The leading integer the way atoi reads it: none gives 0, and a number beyond the 32-bit range
// saturates.
int64_t LeadingInteger(const QString& text) {
    int at = 0;
    const int64_t number = settings::ScanInteger(text, at).value_or(0);
    return std::clamp<int64_t>(number, std::numeric_limits<int32_t>::min(),
                               std::numeric_limits<int32_t>::max());
}

// An order box's step number: the whole box is one decimal integer, or there is none.
std::optional<int> StepNumber(const QString& text) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(number) : std::nullopt;
}

QByteArray NumbersLine(const std::vector<int>& numbers) {
    return settings::NumberList(numbers, true).toLatin1() + "\r\n";
}

template <size_t N>
std::vector<int> AsNumbers(const std::array<uint8_t, N>& values) {
    return std::vector<int>(values.begin(), values.end());
}

// The next line, at most kFileLineLength characters of it: a longer line is still one line, its
// excess dropped rather than read as the lines after it. Nothing at the end of the text.
std::optional<QByteArray> NextLine(const QByteArray& text, int& at) {
    if (at >= text.size()) {
        return std::nullopt;
    }
    const int from = at;
    int end = static_cast<int>(text.indexOf('\n', from));
    end = end < 0 ? static_cast<int>(text.size()) : end;
    at = end + 1;
    QByteArray line = text.mid(from, std::min(end - from, DemoLoopSettings::kFileLineLength));
    // The line is a C string: a NUL ends it.
    const int nul = static_cast<int>(line.indexOf('\0'));
    if (nul >= 0) {
        line.truncate(nul);
    }
    return line;
}

}  // namespace

bool DemoLoopSettings::IsSelected(int position) const {
    return position >= 0 && position < kPositions && m_selected[static_cast<size_t>(position)] != 0;
}

std::array<uint8_t, DemoLoopSettings::kPositions> DemoLoopSettings::LoopPositions() const {
    std::array<uint8_t, kPositions> positions{};
    for (int step = 0; step < m_loopCount && step < kPositions; ++step) {
        const uint8_t position = m_loopOrder[static_cast<size_t>(step)];
        if (position < kPositions) {
            positions[position] = 1;
        }
    }
    return positions;
}

int DemoLoopSettings::SelectedCount() const {
    return static_cast<int>(
        std::count_if(m_selected.begin(), m_selected.end(), [](uint8_t s) { return s != 0; }));
}

DemoLoopSettings::Verdict DemoLoopSettings::Validate(const OrderTexts& orderTexts) {
    std::array<uint8_t, kPositions> order{};
    std::array<int, kPositions> steps{};
    int count = 0;
    for (int i = 0; i < kPositions; ++i) {
        const QString& text = orderTexts[static_cast<size_t>(i)];
        if (!IsSelected(i)) {
            if (!text.trimmed().isEmpty()) {
                return Verdict::InvalidOrder;
            }
            continue;
        }
        const std::optional<int> step = StepNumber(text);
        if (!step || *step < 1 || *step > kPositions) {
            return Verdict::InvalidOrder;
        }
        // A slot holding 0 is free, even when CH1 took it.
        uint8_t& slot = order[static_cast<size_t>(*step - 1)];
        if (slot != 0) {
            return Verdict::InvalidOrder;
        }
        slot = static_cast<uint8_t>(i);
        steps[static_cast<size_t>(i)] = *step;
        ++count;
    }
    if (std::any_of(steps.begin(), steps.end(), [count](int step) { return step > count; })) {
        return Verdict::InvalidOrder;
    }
    m_loopCount = static_cast<uint8_t>(count);
    m_loopOrder = order;

    int hdSelected = 0;
    for (int i = kFirstHd; i <= kLastHd; ++i) {
        hdSelected += IsSelected(i) ? 1 : 0;
    }
    if (hdSelected >= 2 && (m_onTime < kHdMinOnTime || m_offTime < kHdMinOffTime)) {
        return Verdict::HdTimesTooShort;
    }
    return Verdict::Valid;
}

DemoLoopSettings::OrderTexts DemoLoopSettings::OrderBoxTexts() const {
    OrderTexts texts;
    const int steps = SelectedCount();
    for (int j = 1; j <= steps; ++j) {
        const int position = m_loopOrder[static_cast<size_t>(j - 1)];
        if ((position == 0 && !IsSelected(0)) || position >= kPositions) {
            continue;
        }
        texts[static_cast<size_t>(position)] = QString::number(j);
    }
    return texts;
}

uint16_t DemoLoopSettings::OnTimeFromText(const QString& text) {
    if (text.isEmpty()) {
        return kMinOnTime;
    }
    return static_cast<uint16_t>(std::clamp<int64_t>(LeadingInteger(text), kMinOnTime, kMaxTime));
}

uint16_t DemoLoopSettings::OffTimeFromText(const QString& text) {
    if (text.isEmpty()) {
        return 0;
    }
    return static_cast<uint16_t>(std::clamp<int64_t>(LeadingInteger(text), 0, kMaxTime));
}

void DemoLoopSettings::Reset() {
    m_selected.fill(0);
    m_loopOrder.fill(0);
}

void DemoLoopSettings::ApplyStored(const StoredDemoLoop& stored) {
    for (size_t i = 0; i < stored.selection.size() && i < m_selected.size(); ++i) {
        m_selected[i] = stored.selection[i] != 0 ? 1 : 0;
    }
    for (size_t i = 0; i < stored.order.size() && i < m_loopOrder.size(); ++i) {
        m_loopOrder[i] = static_cast<uint8_t>(stored.order[i] & 0xFF);
    }
    if (!stored.times.empty()) {
        m_onTime = static_cast<uint16_t>(stored.times[0] & 0xFFFF);
    }
    if (stored.times.size() >= kTimes) {
        m_offTime = static_cast<uint16_t>(stored.times[1] & 0xFFFF);
    }
}

QByteArray DemoLoopSettings::FileText() const {
    return NumbersLine(AsNumbers(m_selected)) + NumbersLine(AsNumbers(m_loopOrder)) +
           NumbersLine({m_onTime, m_offTime});
}

void DemoLoopSettings::ReadFileText(const QByteArray& bytes) {
    // The file is read as text: CR LF pairs are single line ends.
    QByteArray text = bytes;
    text.replace("\r\n", "\n");
    int at = 0;
    const std::optional<QByteArray> selection = NextLine(text, at);
    const std::optional<QByteArray> order = NextLine(text, at);
    const std::optional<QByteArray> times = NextLine(text, at);
    if (selection) {
        ApplySelection(QString::fromLatin1(*selection));
    }
    if (order) {
        ApplyOrder(QString::fromLatin1(*order));
    }
    if (times) {
        ApplyTimes(QString::fromLatin1(*times));
    }
}

void DemoLoopSettings::ApplySelection(const QString& line) {
    StoredDemoLoop part;
    part.selection = settings::LeadingNumbers(line, kPositions);
    ApplyStored(part);
}

void DemoLoopSettings::ApplyOrder(const QString& line) {
    StoredDemoLoop part;
    part.order = settings::LeadingNumbers(line, kPositions);
    ApplyStored(part);
}

void DemoLoopSettings::ApplyTimes(const QString& line) {
    StoredDemoLoop part;
    part.times = settings::LeadingNumbers(line, kTimes);
    ApplyStored(part);
}
