// VemlaGinf.dat: the gallery information block behind its magic. The whole input is the file;
// fuzz/corpus/vemla_ginf holds valid files, and vemla_ginf_patched edits one in place.
#include <cstdint>
#include <span>

#include "file_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vemla::fuzzing::checkGalleryFile(std::span(data, size));
  return 0;
}
