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
  // Quarter-turn tiles of kTurnTileColumns x 16 * turnLanes output pixels: out row k (at
  // out + k * outStep) columns 0..15 take the bytes of source column k read down the 16 source
  // rows source + q * sourceStep (q = 0..15). Null where the plain index walk is used.
  void (*turnTile)(const std::uint8_t* source, std::ptrdiff_t sourceStep, std::uint8_t* out,
                   std::ptrdiff_t outStep);
  // The same tile in whole vector registers, without splitting them into 16-byte stores: row c
  // (at out + c * outStep, c = 0..15) takes 16 * turnLanes bytes, whose l-th 16 bytes are the
  // turnTile's row c + 16 l. The rows so written are put in order by ungroupTurned. With
  // `stream` (out and outStep multiples of 16 * turnLanes) the rows go to memory past the
  // caches, for results larger than the caches; fenceStreams then follows the last streamed
  // tile of each thread, before other threads read the rows.
  void (*turnTileGrouped)(const std::uint8_t* source, std::ptrdiff_t sourceStep, std::uint8_t* out,
                          std::ptrdiff_t outStep, bool stream);
  void (*fenceStreams)();
  // Puts turnLanes grouped tiles side by side back in order, `spans` times 16 * turnLanes
  // bytes along the rows: the l-th 16 bytes of from-row a (at from + 16 a * fromStep) go to
  // to-row l (at to + 16 l * toStep) as its a-th 16 bytes.
  void (*ungroupTurned)(const std::uint8_t* from, std::ptrdiff_t fromStep, std::uint8_t* to,
                        std::ptrdiff_t toStep, int spans);
  int turnLanes;  // 16-byte lanes of a register
};

inline constexpr int kTurnTileColumns = 16;

// The fastest variant this machine runs.
const EditKernels& editKernels();
// The variants this machine runs, baseline first (for the tests and the benchmarks).
std::vector<const EditKernels*> supportedEditKernels();

}  // namespace vemla
