#include "workbench/tools/partial_tool.h"

#include <algorithm>

#include "processing/image_kinds.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

using tools::PartialToolState;

void compareAgain(Workbench& bench) {
  updatePartialContent(bench);
  bench.notifyToolsChanged();
}

}  // namespace

void setPartialTaking(Workbench& bench, bool reference, bool on) {
  tools::PartialState& comparison = bench.tools.partial.comparison;
  (reference ? comparison.takingReference : comparison.takingComparison) = on;
  compareAgain(bench);
}

bool pressPartialShift(Workbench& bench, tools::ShiftButton button) {
  if (!tools::pressShiftButton(bench.tools.partial.comparison, button, bench.options.ShiftUnit))
    return false;
  compareAgain(bench);
  return true;
}

PartialSettings partialSettings(const Workbench& bench) {
  const PartialToolState& state = bench.tools.partial;
  const tools::PartialState& c = state.comparison;
  return {c.request.mode, c.colourDisplay, c.request.strength, c.brightness, state.secondImage};
}

void setPartialSettings(Workbench& bench, const PartialSettings& settings) {
  PartialToolState& state = bench.tools.partial;
  tools::PartialState& c = state.comparison;
  c.request.mode = settings.mode;
  c.colourDisplay = settings.colourDisplay;
  c.request.strength = std::clamp(settings.strength, 0, tools::kMaxStrength);
  c.brightness = std::clamp(settings.brightness, 0, tools::kMaxDifferenceBrightness);
  state.secondImage = settings.secondImage;
  compareAgain(bench);
}

PartialReadout partialReadout(const Workbench& bench) {
  const PartialToolState& state = bench.tools.partial;
  return {state.profileReadout, state.profileDirection, state.bounds, state.rangeMarks};
}

void setPartialReadout(Workbench& bench, const PartialReadout& readout) {
  PartialToolState& state = bench.tools.partial;
  state.profileReadout = readout.profile;
  state.profileDirection = std::clamp(readout.direction, 0, 2);
  state.bounds = tools::limitedBounds(readout.bounds.lower, readout.bounds.upper);
  state.rangeMarks = readout.rangeMarks;
  bench.notifyToolsChanged();
}

bool clickPartial(Workbench& bench, int x, int y) {
  constexpr int kStep = tools::kPartSize + 1;
  if (y < 0 || y >= tools::kPartSize || x < 0) return false;
  const int part = x / kStep, column = x % kStep;
  if (part > 2 || column >= tools::kPartSize) return false;
  PartialToolState& state = bench.tools.partial;
  state.clickedPart = part;
  state.clicked = {column, y};
  bench.notifyToolsChanged();
  return true;
}

std::string partialShiftText(const Workbench& bench, bool vertical) {
  const tools::PartShift& shift = bench.tools.partial.comparison.shift;
  return tools::shiftText(vertical ? shift.y : shift.x, bench.options.ShiftUnit, vertical);
}

std::string partialShiftHelp(const Workbench& bench) {
  return text::format(
      text::tr(
          "取り込まれた比較ｲﾒｰｼﾞを指定方向へｼﾌﾄします\n※比較ｲﾒｰｼﾞの取り込みが行われていない場合や\n"
          "　 比較ｲﾒｰｼﾞの取り込み中は動作しません\n『画像制御情報-ｱﾗｲﾒﾝﾄ情報-手動のｻﾌﾞｼﾌﾄ単位』で\n"
          "ｼﾌﾄが行われます（現在 : 1/%d ）\n"),
      bench.options.ShiftUnit);
}

void rescalePartialShift(Workbench& bench, int oldDivision, int newDivision) {
  tools::PartShift& shift = bench.tools.partial.comparison.shift;
  shift = tools::rescaledShift(shift, oldDivision, newDivision);
}

void updatePartialContent(Workbench& bench) {
  PartialToolState& state = bench.tools.partial;
  tools::PartialState& c = state.comparison;
  const PaneRaster& pane = bench.view.panes[state.secondImage ? 1 : 0];
  if (bench.pictures.picturesPresent &&
      pane.view.size() == static_cast<std::size_t>(kViewSize) * kViewSize) {
    tools::takeTickedParts(c, pane.view.data(), cursorViewPointOf(bench), pane.colours);
  }
  tools::refreshDifference(c, bench.options.ShiftUnit, bench.options.ShiftInterpolation);
  state.differenceColours = tools::differenceTable(
      c.colourDisplay,
      c.colourDisplay ? kindColourTable(bench, c.request.mode == tools::DifferenceMode::Offset
                                                   ? kKindOffsetDifference
                                                   : kKindDifference)
                      : ColourTable{},
      c.brightness);
}

}  // namespace vemla
