#pragma once
// How a 16-bit grey picture becomes the 8-bit picture the workbench compares. One rule holds
// for both pictures of a pair, so that their differences keep their meaning.
#include <array>
#include <cstdint>
#include <string>

namespace vemla {

enum class SixteenBitRule : std::uint8_t {
  Significant = 0,  // the significant bits the file declares, scaled to 0-255 (the default)
  Window = 1,       // the fixed window lower..upper scaled to 0-255, clamped outside it
  TopByte = 2,      // the upper 8 bits of each sample
};

struct SixteenBitConversion {
  SixteenBitRule rule = SixteenBitRule::Significant;
  std::uint16_t lower = 0;      // Window only
  std::uint16_t upper = 65535;  // Window only; lower < upper
  bool operator==(const SixteenBitConversion&) const = default;
};

// The 8-bit value of every 16-bit sample of one picture, built once per picture from the rule
// and from what the file declares. Values are rounded to the nearest step; values beyond the
// declared or chosen range are clamped.
class SixteenBitMap {
 public:
  // `maxValue` is the largest significant value the file declares (PGM maxval, TIFF
  // MaxSampleValue, 2^sBIT - 1 for PNG) and `shift` how far the significant value sits above
  // bit 0 (PNG stores a 12-bit value in the top 12 bits: shift 4). The Window and TopByte
  // rules work on the stored 16-bit sample and ignore both. maxValue 0 counts as 1.
  SixteenBitMap(const SixteenBitConversion& conversion, std::uint16_t maxValue, int shift = 0);
  std::uint8_t operator()(std::uint16_t sample) const { return table_[sample]; }
  // What the picture's name field shows: "[16→8 0–4095]".
  const std::string& note() const { return note_; }

 private:
  std::array<std::uint8_t, 65536> table_{};
  std::string note_;
};

}  // namespace vemla
