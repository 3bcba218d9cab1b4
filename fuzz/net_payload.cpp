// Reads arbitrary bytes as an exporter's reply: a 4-byte length in network byte order and the
// picture pair. A pair that passes the checks must have sides 8 … 4096 within the maxima and
// exactly 2 * W * H + 2304 bytes, and must encode back to the same bytes apart from the
// reserved ones; the header check alone must agree with the whole decode.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "net/wire_format.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemla::net;
  if (size < kLengthBytes + 2) return 0;
  const std::int32_t announced =
      decodeLength(std::span<const std::uint8_t, kLengthBytes>(data, kLengthBytes));
  // Two bytes choose the importer's maxima, from 8 up to beyond the largest pictures.
  const int maxWidth = 8 + data[4] * 20;
  const int maxHeight = 8 + data[5] * 20;
  const std::span<const std::uint8_t> payload(data + kLengthBytes + 2, size - kLengthBytes - 2);

  PairHeader header;
  const PayloadCheck fromHeader =
      checkPayloadHeader(announced, payload, maxWidth, maxHeight, header);
  const DecodedPayload decoded = decodePayload(payload, maxWidth, maxHeight);
  if (announced == static_cast<std::int64_t>(payload.size())) check(fromHeader == decoded.check);
  if (decoded.check != PayloadCheck::Ok) {
    check(decoded.picture1.empty() && decoded.picture2.empty());
    return 0;
  }

  const PairHeader& pair = decoded.header;
  check(pair.width >= 8 && pair.height >= 8);
  check(pair.width <= maxWidth && pair.height <= maxHeight);
  check(pair.width <= kLargestPictureSide && pair.height <= kLargestPictureSide);
  const std::size_t pictureBytes =
      static_cast<std::size_t>(pair.width) * static_cast<std::size_t>(pair.height);
  check(payload.size() == 2 * pictureBytes + kPayloadHeaderBytes);
  check(decoded.picture1.size() == pictureBytes && decoded.picture2.size() == pictureBytes);
  check(decoded.picture2.data() + pictureBytes == payload.data() + payload.size());

  const PairSource source{pair.width,
                          pair.height,
                          pair.positionX,
                          pair.positionY,
                          pair.magnification,
                          pair.reducedDisplay == 1,
                          {&pair.palettes[0], &pair.palettes[1]},
                          {decoded.picture1.data(), decoded.picture2.data()}};
  const std::vector<std::uint8_t> again = encodePayload(source);
  check(again.size() == payload.size());
  // Everything but the reduced-display flag (sent as 0 or 1) and the reserved bytes 24 … 255.
  check(std::memcmp(again.data(), payload.data(), 20) == 0);
  check(std::memcmp(again.data() + 256, payload.data() + 256, payload.size() - 256) == 0);
  return 0;
}
