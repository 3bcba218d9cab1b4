// VemlaPinf.dat: the maximum-size header and the whole settings record. Whatever loads must
// write back into a file that loads to the same settings.
#include <cstdint>
#include <span>

#include "persist/program_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemla::persist;
  const std::span<const std::uint8_t> bytes(data, size);
  if (const auto maximum = decodeMaxPictureSize(bytes)) {
    if (maximum->first < 1024 || maximum->first > 4096 || maximum->first % 4 != 0) __builtin_trap();
  }
  ProgramSettings settings;
  const LoadStatus status = decodeProgramSettings(bytes, settings);
  if (status != LoadStatus::Loaded && status != LoadStatus::Truncated) return 0;
  ProgramSettings again;
  if (decodeProgramSettings(encodeProgramSettings(settings), again) != LoadStatus::Loaded ||
      !(again == settings)) {
    __builtin_trap();
  }
  return 0;
}
