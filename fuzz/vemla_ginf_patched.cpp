// VemlaGinf.dat edited in place: the input picks one of a few valid files made by the encoder
// and edits it (see patched_file.h), so every header field and slot record is reached in a
// file far longer than the plain target's inputs grow. The checks are the plain target's.
#include <cstdint>
#include <span>
#include <vector>

#include "file_checks.h"
#include "patched_file.h"
#include "sample_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemla::fuzzing;
  static const std::vector<std::vector<std::uint8_t>> startingFiles = [] {
    vemla::persist::GalleryInformation empty;
    empty.header = {0, 0, 0, 0, 0, 0, 0, 0};  // as a new file is created
    return std::vector{galleryFile(richGallery()), galleryFile(empty)};
  }();
  checkGalleryFile(patchedFile(startingFiles, std::span(data, size)));
  return 0;
}
