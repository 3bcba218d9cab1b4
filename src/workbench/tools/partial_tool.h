#pragma once
// The partial comparison on the workbench: taking the parts from the shown image's pane view
// while a "取り込み" box is ticked, the shift buttons, the difference settings and the
// read-out, with the difference computed again after every rendering.
#include <string>

#include "tools/partial_comparison.h"
#include "workbench/workbench.h"

namespace vemla {

// "基準ｲﾒｰｼﾞの取り込み" (`reference`) or "比較ｲﾒｰｼﾞの取り込み": ticking takes the part at once
// and on every later rendering.
void setPartialTaking(Workbench& bench, bool reference, bool on);
// A shift button; false when it did nothing.
bool pressPartialShift(Workbench& bench, tools::ShiftButton button);

struct PartialSettings {
  tools::DifferenceMode mode = tools::DifferenceMode::Grey;
  bool colourDisplay = false;
  int strength = tools::kNeutralStrength;
  int brightness = tools::kNeutralDifferenceBrightness;
  bool secondImage = false;  // "⇔"
  bool operator==(const PartialSettings&) const = default;
};
PartialSettings partialSettings(const Workbench& bench);
// Stores the settings (strength 0..120, brightness 0..256) and compares again.
void setPartialSettings(Workbench& bench, const PartialSettings& settings);

struct PartialReadout {
  bool profile = false;
  int direction = 0;  // 0 "Ｘ", 1 "Ｙ", 2 "XY"
  tools::GreyBounds bounds;
  bool rangeMarks = false;
  bool operator==(const PartialReadout&) const = default;
};
PartialReadout partialReadout(const Workbench& bench);
// Stores the read-out settings (bounds kept at 0 <= lower < upper <= 255).
void setPartialReadout(Workbench& bench, const PartialReadout& readout);
// A click at (x, y) of the tool window: in one of the three parts (168 pixels each at x = 0,
// 169 and 338) it selects the part and the position; false elsewhere.
bool clickPartial(Workbench& bench, int x, int y);

// The two shift texts, x then y.
std::string partialShiftText(const Workbench& bench, bool vertical);
// The quick help of the shift buttons, with the current unit.
std::string partialShiftHelp(const Workbench& bench);

// `ShiftUnit` changed: the shift is counted in the new unit.
void rescalePartialShift(Workbench& bench, int oldDivision, int newDivision);

// Takes the ticked parts, shifts and compares; the difference image's colour table.
void updatePartialContent(Workbench& bench);

}  // namespace vemla
