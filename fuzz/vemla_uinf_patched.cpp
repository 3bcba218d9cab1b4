// VemlaUinf.dat edited in place: the input picks one of a few valid files made by the encoder
// (versions 1 and 0, full and empty) and edits it (see patched_file.h), so every entry is
// reached in a file far longer than the plain target's inputs grow. The checks are the plain
// target's.
#include <cstdint>
#include <span>
#include <vector>

#include "file_checks.h"
#include "patched_file.h"
#include "persist/user_info.h"
#include "sample_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemla::fuzzing;
  static const std::vector<std::vector<std::uint8_t>> startingFiles = [] {
    const UserFile rich = richUserInfo();
    return std::vector{rich.encoded(), userInfoVersion0(rich), UserFile{}.encoded()};
  }();
  checkUserInfoFile(patchedFile(startingFiles, std::span(data, size)));
  return 0;
}
