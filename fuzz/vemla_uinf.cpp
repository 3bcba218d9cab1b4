// VemlaUinf.dat: user processing and colour entries, history and recent pictures.
#include <cstdint>
#include <span>

#include "persist/user_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemla;
  using namespace vemla::persist;
  UserEntries entries;
  UserInfo info;
  if (decodeUserInfo(std::span(data, size), entries, info) != LoadStatus::Loaded) return 0;
  UserEntries entriesAgain;
  UserInfo again;
  if (decodeUserInfo(encodeUserInfo(entries, info), entriesAgain, again) != LoadStatus::Loaded ||
      !(entriesAgain == entries) || !(again == info)) {
    __builtin_trap();
  }
  return 0;
}
