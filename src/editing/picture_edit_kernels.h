#pragma once
// The inner loops of the picture editor's table pass, row reversal and quarter turns, compiled
// for the baseline instruction set and, where the machine runs them, with AVX2 and AVX-512
// VBMI, picked at run time. Every variant gives the same bytes; the tests run each variant the
// machine supports against plain per-pixel loops.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vemla {

struct EditKernels {
  const char* name;
  // pixels[i] = table[pixels[i]] for i in [0, count); table holds 256 bytes.
  void (*mapSpan)(std::uint8_t* pixels, int count, const std::uint8_t* table);
  // Reverses bytes[0 .. count - 1] in place.
  void (*reverseBytes)(std::uint8_t* bytes, int count);
  // a[k] and b[count - 1 - k] trade places for every k: two distinct rows, each reversed into
  // the other.
  void (*swapReversed)(std::uint8_t* a, std::uint8_t* b, int count);
  // Quarter-turn tiles of kTurnTileColumns x turnTileRows output pixels: out row k (at
  // out + k * outStep) columns 0..15 take the bytes of source column k read down the 16 source
  // rows source + q * sourceStep (q = 0..15). Null where the plain index walk is used.
  void (*turnTile)(const std::uint8_t* source, std::ptrdiff_t sourceStep, std::uint8_t* out,
                   std::ptrdiff_t outStep);
  int turnTileRows;
};

inline constexpr int kTurnTileColumns = 16;

// The fastest variant this machine runs.
const EditKernels& editKernels();
// The variants this machine runs, baseline first (for the tests and the benchmarks).
std::vector<const EditKernels*> supportedEditKernels();

}  // namespace vemla
