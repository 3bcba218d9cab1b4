#include "tools/tool_words.h"

namespace vemla::tools {
namespace {

int bits(std::uint32_t word, int first, int count) {
  return static_cast<int>((word >> first) & ((1u << count) - 1u));
}
std::uint32_t place(int value, int first) {
  return static_cast<std::uint32_t>(value) << first;
}
int inRangeOr(int value, int lowest, int highest, int reset) {
  return value >= lowest && value <= highest ? value : reset;
}

}  // namespace

GradationWord decodeGradationWord(std::int32_t word) {
  const auto w = static_cast<std::uint32_t>(word);
  GradationWord state;
  state.mode = inRangeOr(bits(w, 0, 3), 0, kGradationModes - 1, 0);
  state.hex = bits(w, 3, 1) != 0;
  state.dark = bits(w, 4, 1) != 0;
  state.secondImage = bits(w, 5, 1) != 0;
  state.pair = bits(w, 6, 1) != 0;
  return state;
}

std::int32_t encodeGradationWord(const GradationWord& state) {
  const std::uint32_t w = place(inRangeOr(state.mode, 0, kGradationModes - 1, 0), 0) |
                          place(state.hex, 3) | place(state.dark, 4) | place(state.secondImage, 5) |
                          place(state.pair, 6);
  return static_cast<std::int32_t>(w);
}

GradationWord storable(const GradationWord& state) {
  return decodeGradationWord(encodeGradationWord(state));
}

ProfileWord decodeProfileWord(std::int32_t word) {
  const auto w = static_cast<std::uint32_t>(word);
  ProfileWord state;
  state.direction = inRangeOr(bits(w, 0, 2), 0, 2, 0);
  state.shown = inRangeOr(bits(w, 2, 2), 0, 2, 0);
  state.fullAuto = bits(w, 4, 1) != 0;
  state.readout = bits(w, 5, 1) != 0;
  state.dark = bits(w, 6, 1) != 0;
  const int lower = bits(w, 8, 8), upper = bits(w, 16, 8);
  if (lower < upper) {
    state.lower = lower;
    state.upper = upper;
  }
  return state;
}

std::int32_t encodeProfileWord(const ProfileWord& state) {
  const bool boundsValid = state.lower >= 0 && state.lower < state.upper && state.upper <= 255;
  const std::uint32_t w =
      place(inRangeOr(state.direction, 0, 2, 0), 0) | place(inRangeOr(state.shown, 0, 2, 0), 2) |
      place(state.fullAuto, 4) | place(state.readout, 5) | place(state.dark, 6) |
      place(boundsValid ? state.lower : 0, 8) | place(boundsValid ? state.upper : 255, 16);
  return static_cast<std::int32_t>(w);
}

ProfileWord storable(const ProfileWord& state) {
  return decodeProfileWord(encodeProfileWord(state));
}

}  // namespace vemla::tools
