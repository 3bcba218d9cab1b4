// The program's own options file (VemlaOptions.txt): whatever the reader takes is a value the
// option table accepts, and writes back into a file that reads the same, understood in full.
#include "persist/own_options.h"

#include <cstdint>
#include <string_view>

#include "options/option_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemla;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Options read;
  persist::decodeOwnOptions(text, read);
  Options corrected = read;
  correctOptions(corrected, Options{}, CorrectionMode::Load);
  if (!(corrected == read)) __builtin_trap();
  Options again;
  if (!persist::decodeOwnOptions(persist::encodeOwnOptions(read), again) || !(again == read)) {
    __builtin_trap();
  }
  return 0;
}
