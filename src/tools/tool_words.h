#pragma once
// The gradation value tool's and the profile tool's state words of the program settings: what
// each bit holds, in one place. A stored field outside its range decodes to its reset value,
// so a damaged or foreign settings file never gives the tools a state they cannot show.
#include <cstdint>

namespace vemla::tools {

// The gradation value tool's word.
//   bits 0-2  display mode: 0 grey values, 1-4 operator 1-4
//   bit  3    hexadecimal
//   bit  4    dark background
//   bit  5    shown image: 0 image 1, 1 image 2 (after "⇔")
//   bit  6    pair display
struct GradationWord {
  int mode = 0;
  bool hex = false;
  bool dark = false;
  bool secondImage = false;
  bool pair = false;
  bool operator==(const GradationWord&) const = default;
};
inline constexpr int kGradationModes = 5;
GradationWord decodeGradationWord(std::int32_t word);
std::int32_t encodeGradationWord(const GradationWord& state);
// The state as its word holds it: a field outside its range takes its reset value.
GradationWord storable(const GradationWord& state);

// The profile tool's word. The steps of the grid and its offset last for the session.
//   bits 0-1    direction: 0 X, 1 Y, 2 arbitrary
//   bits 2-3    shown images: 0 both, 1 image 1, 2 image 2
//   bit  4      full-auto ("全自動")
//   bit  5      value/distance read-out
//   bit  6      dark background
//   bits 8-15   lower grey bound
//   bits 16-23  upper grey bound
// Every decoded word keeps 0 <= lower < upper <= 255; a pair that breaks it becomes 0..255.
struct ProfileWord {
  int direction = 0;
  int shown = 0;
  bool fullAuto = false;
  bool readout = false;
  bool dark = false;
  int lower = 0, upper = 255;
  bool operator==(const ProfileWord&) const = default;
};
ProfileWord decodeProfileWord(std::int32_t word);
std::int32_t encodeProfileWord(const ProfileWord& state);
ProfileWord storable(const ProfileWord& state);

}  // namespace vemla::tools
