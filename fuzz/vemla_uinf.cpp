// VemlaUinf.dat: user processing and colour entries, history and recent pictures. The whole
// input is the file; fuzz/corpus/vemla_uinf holds valid files, and vemla_uinf_patched edits one
// in place.
#include <cstdint>
#include <span>

#include "file_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vemla::fuzzing::checkUserInfoFile(std::span(data, size));
  return 0;
}
