// VemlaUinf.dat: user processing and colour entries, history and recent pictures.
#include <cstdint>
#include <span>

#include "persist/user_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemla::persist;
  UserInfo info;
  if (decodeUserInfo(std::span(data, size), info) != LoadStatus::Loaded) return 0;
  UserInfo again;
  if (decodeUserInfo(encodeUserInfo(info), again) != LoadStatus::Loaded || !(again == info)) {
    __builtin_trap();
  }
  return 0;
}
