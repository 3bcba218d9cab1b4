// VemlaCCaP.dat, the exchange file. The first byte chooses the request; the rest is the file.
#include <algorithm>
#include <cstdint>
#include <span>

#include "persist/exchange_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemla::persist;
  if (size == 0) return 0;
  ExchangeRequest request;
  request.pictureOnly = (data[0] & 1) != 0;
  request.maxWidth = 8 + (data[0] >> 1 & 7) * 8;
  request.maxHeight = 8 + (data[0] >> 4 & 7) * 8;
  request.dataLimit = data[0];
  ExchangeItem item;
  const int result = decodeExchangeItem(std::span(data + 1, size - 1), request, item);
  if (result < 0) return 0;
  const std::uint64_t expected = item.kind == kExchangeData
                                     ? static_cast<std::uint64_t>(item.width)
                                     : static_cast<std::uint64_t>(item.width) * item.height *
                                           bytesPerPixelOfCode(item.colourCode);
  if (item.payload.size() != expected || item.width > std::max(request.maxWidth, 255)) {
    __builtin_trap();
  }
  return 0;
}
