#pragma once

#include "OpenedLedStrip.h"
#include "PanelLayout.h"
#include "PictureIds.h"

// Where the trigger screen's own parts stand; the strip and the opened panel's controls are the
// shared ones of OpenedLedStrip.h.
namespace triggerlayout {

constexpr int kClosedPanelPicture = pictures::kTriggerPanelClosed;
constexpr int kClosedPanelHeight = 217;
constexpr int kOpenedPanelPicture =
    pictures::kTriggerPanelOpened;  // shows the captions TTL Timeout and Trigger Sequence
constexpr int kOpenedPanelHeight = 223;

constexpr int kClearCaptionDx = 164;

// From LED 5 on, the opened panel's values stand a few pixels higher.
constexpr int kFirstRaisedLed = 4;

// The timeout and sequence rows of the panels with LED opened + 1 opened.
constexpr openedstrip::ValueRow TimeoutRow(int opened) {
    return {111, 113, opened < kFirstRaisedLed ? 121 : 118, 118, 108};
}
constexpr openedstrip::ValueRow SequenceRow(int opened) {
    return {184, 187, opened < kFirstRaisedLed ? 195 : 191, 191, 181};
}

// The instructions below the strip.
constexpr layout::Face kInstructionFace = layout::Face::Small;
constexpr layout::Tone kInstructionTone = layout::Tone::Heading;
constexpr layout::Place kInstructionArea{0, 240, 1080, 105};
constexpr layout::Text kInstructions[] = {
    {{50, 250},
     "Trigger sequence -  Enables control of the LEDs via a single TTL input",
     kInstructionFace,
     kInstructionTone},
    {{75, 265},
     "1. Assign a number to each of the LEDs, indicating the order in which they should be triggered.",
     kInstructionFace,
     kInstructionTone},
    {{75, 280},
     "2. 0=omitted from sequence, 1=turn on with first \u201chigh\u201d TTL, 2=turn on with second "
     "\u201chigh\u201d TTL, etc.",
     kInstructionFace,
     kInstructionTone},
    {{75, 295}, "3. Trigger the LEDs using the TTL1 input connection.", kInstructionFace, kInstructionTone},
    {{75, 310},
     "4. TTL Timeout \u2013 Reduces wear on system components by shutting off drivers and fans after the set "
     "period of inactivity",
     kInstructionFace,
     kInstructionTone},
};

}  // namespace triggerlayout
