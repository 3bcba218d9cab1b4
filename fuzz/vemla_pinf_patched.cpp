// VemlaPinf.dat edited in place: the input picks one of a few valid files made by the encoder
// (version 2 with settings away from their defaults, the same record as versions 1 and 0, and
// the defaults) and edits it (see patched_file.h), so fields deep in the 227 KB record are
// reached, which the plain target's inputs never grow to. The checks are the plain target's.
#include <cstdint>
#include <span>
#include <vector>

#include "file_checks.h"
#include "patched_file.h"
#include "sample_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemla::fuzzing;
  static const std::vector<std::vector<std::uint8_t>> startingFiles = [] {
    const vemla::persist::ProgramSettings settings = richProgramSettings();
    return std::vector{vemla::persist::encodeProgramSettings(settings),
                       programSettingsFile(settings, 1), programSettingsFile(settings, 0),
                       vemla::persist::encodeProgramSettings({})};
  }();
  checkProgramSettingsFile(patchedFile(startingFiles, std::span(data, size)));
  return 0;
}
