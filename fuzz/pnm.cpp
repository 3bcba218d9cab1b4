// Feeds arbitrary bytes to the picture entry as PGM and PPM files, text and binary: probe, read
// into a plane, read into memory. Seeds in fuzz/corpus/pnm begin with the format's first bytes.
#include "picture_formats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vemla::fuzzing::readPictureEveryWay(data, size);
  return 0;
}
