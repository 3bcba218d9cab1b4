// State-memory files (.vic): the whole reader, for a store of 64 x 64 planes. What decodes
// must encode to the same bytes the reader took (the format written is 2, so a format-1 file
// is compared after that change).
#include "persist/state_file.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemla::persist;
  constexpr int kSide = 64;
  static std::array<std::vector<std::uint8_t>, 3> planes{std::vector<std::uint8_t>(kSide * kSide),
                                                         std::vector<std::uint8_t>(kSide * kSide),
                                                         std::vector<std::uint8_t>(kSide * kSide)};
  StateRecord record;
  std::array<vemla::Palette, 2> palettes{};
  const int status = decodeStateFile(std::span(data, size), kSide, kSide, false, record, palettes,
                                     {planes[0], planes[1], planes[2]});
  if (status != kStateOk) {
    if (status != kStateReadFailed && status != kStateNotStateFile && status != kStateTooLarge) {
      __builtin_trap();
    }
    return 0;
  }
  if (record.width < 8 || record.height < 8 || record.width > kSide || record.height > kSide) {
    __builtin_trap();
  }
  const std::vector<std::uint8_t> encoded =
      encodeStateFile(record, palettes, {{planes[0].data(), planes[1].data(), planes[2].data()}});
  StateRecord again;
  std::array<vemla::Palette, 2> palettesAgain{};
  static std::array<std::vector<std::uint8_t>, 3> planesAgain = planes;
  if (decodeStateFile(encoded, kSide, kSide, false, again, palettesAgain,
                      {planesAgain[0], planesAgain[1], planesAgain[2]}) != kStateOk) {
    __builtin_trap();
  }
  record.format = kStateFormat;
  if (!(again == record) || palettesAgain != palettes) __builtin_trap();
  const std::size_t pixels =
      static_cast<std::size_t>(record.width) * static_cast<std::size_t>(record.height);
  for (std::size_t i = 0; i < planes.size(); ++i) {
    if (!std::equal(planes[i].begin(), planes[i].begin() + static_cast<std::ptrdiff_t>(pixels),
                    planesAgain[i].begin())) {
      __builtin_trap();
    }
  }
  return 0;
}
