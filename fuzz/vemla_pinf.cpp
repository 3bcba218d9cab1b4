// VemlaPinf.dat: the maximum-size header and the whole settings record. The whole input is the
// file; fuzz/corpus/vemla_pinf holds valid files cut after their last set byte, and
// vemla_pinf_patched edits a whole one in place.
#include <cstdint>
#include <span>

#include "file_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vemla::fuzzing::checkProgramSettingsFile(std::span(data, size));
  return 0;
}
