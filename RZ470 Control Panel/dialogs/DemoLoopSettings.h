#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

struct StoredDemoLoop;

// What the demo loop runs, without the window: which positions take part, the step order, the
// on and off times, and the rules that turn the dialog's boxes, the stored defaults and the
// settings file into them. Position i is CH(i + 1) of the dialog.
class DemoLoopSettings {
public:
    static constexpr int kPositions = 9;
    static constexpr uint16_t kMinOnTime = 10;
    static constexpr uint16_t kMaxTime = 0xFFFF;
    // With two or more HD positions in the loop the LEDs need longer on and off times.
    static constexpr int kFirstHd = 3;
    static constexpr int kLastHd = 6;
    static constexpr uint16_t kHdMinOnTime = 2000;
    static constexpr uint16_t kHdMinOffTime = 100;
    // A settings file line is read the way a 100-byte line buffer reads it.
    static constexpr int kFileLineLength = 99;

    enum class Verdict { Valid, InvalidOrder, HdTimesTooShort };
    using OrderTexts = std::array<QString, kPositions>;

    std::array<uint8_t, kPositions> m_selected{0, 1, 1, 0, 1, 0, 0, 1, 0};
    // Position of loop steps 1..9; slots beyond the loop's length hold 0.
    std::array<uint8_t, kPositions> m_loopOrder{1, 2, 4, 7, 0, 0, 0, 0, 0};
    uint16_t m_onTime = 200;
    uint16_t m_offTime = 10;  // 0: no off phase
    uint8_t m_loopCount = 0;

    static bool IsHd(int position) { return position >= kFirstHd && position <= kLastHd; }
    bool IsSelected(int position) const;
    int SelectedCount() const;
    // The positions a running loop switches on: those of its m_loopCount steps. A slot's 0 is
    // CH1, selected or not.
    std::array<uint8_t, kPositions> LoopPositions() const;

    // Checks the order boxes against the selection. Each selected position needs a step number
    // 1..9 that no other position (but CH1) has taken, every step at most the number of selected
    // positions, and each unselected box stays empty; then the loop takes that order. The HD time
    // rule is checked last, after the order was taken. An invalid order changes nothing.
    Verdict Validate(const OrderTexts& orderTexts);

    // The step number each order box shows for m_loopOrder: step j is written into the box of
    // the position in slot j - 1, for as many steps as positions are selected. A slot's 0 means
    // CH1 only when CH1 is selected; a slot beyond the nine positions is skipped.
    OrderTexts OrderBoxTexts() const;

    // The time boxes when they lose the focus: what the box holds afterwards, in ms. The on time
    // is at least kMinOnTime; an empty or negative off time is 0. Both stop at kMaxTime: cut to
    // 16 bits, a typed 65545 would run at 9 ms, below the on time's own minimum.
    static uint16_t OnTimeFromText(const QString& text);
    static uint16_t OffTimeFromText(const QString& text);

    // Clears the selection and the order; the times and the loop's length stay.
    void Reset();

    // The stored defaults. A list shorter than its entries, or absent, leaves the rest as they are.
    void ApplyStored(const StoredDemoLoop& stored);

    // The settings file: three lines of comma-ended numbers with CR LF line ends.
    QByteArray FileText() const;
    // Reads the start of a settings file: up to three lines, each cut at kFileLineLength
    // characters; a missing line or numbers missing from one leave their entries as they are.
    void ReadFileText(const QByteArray& bytes);
    // How much of a file's start is read: enough to find the three line ends past long lines,
    // while a huge file is never read whole.
    static constexpr int kFileBytesRead = 64 * 1024;

private:
    void ApplySelection(const QString& line);
    void ApplyOrder(const QString& line);
    void ApplyTimes(const QString& line);
};
