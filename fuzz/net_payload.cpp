// Reads arbitrary bytes as an exporter's reply and follows them as far as the importer does: a
// 4-byte length in network byte order, two bytes choosing the importer's maxima, one choosing
// its import options, then the picture pair.
//
// The length is refused as the importer refuses it (negative: wrong password; beyond the
// receive buffer). A pair that passes the checks must have sides 8 … 4096 within the maxima
// and exactly 2 * W * H + 2304 bytes, must encode back to the same bytes apart from the
// reserved ones, and the header check alone must agree with the whole decode. Whatever the
// outcome, the importer has a notice exactly when the pair is refused. A pair that was taken
// opens into a workbench with the received palettes and view: its pixels arrive unchanged and
// the hostile position and magnification leave the view inside the picture.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "net/export_targets.h"
#include "net/transfer_messages.h"
#include "net/wire_format.h"
#include "ports/quiet_user_port.h"
#include "workbench/net/picture_exchange.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/workbench.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// The workbench's pictures are at most this size: pairs the maxima let through but the store
// cannot hold must be refused by the open, not written past the planes.
constexpr int kStoreSide = 96;

void openReceivedPair(const vemla::net::DecodedPayload& decoded, std::uint8_t choice) {
  using namespace vemla;
  Workbench bench;
  check(bench.store.allocate(kStoreSide, kStoreSide));
  bench.options.ImportAsGrey = (choice & 1) != 0;
  bench.options.ImportTakePosition = (choice & 2) != 0;
  bench.options.ImportTakeMagnification = (choice & 4) != 0;
  const net::PairHeader& header = decoded.header;
  // The two pictures lie one after the other in the payload, as the importer receives them.
  vemla::QuietUserPort user;
  const int opened = setPicturesFromMemory(
      bench, user, net::importedPictures(header, decoded.picture1.data(), bench.options));
  const bool fits = header.width <= kStoreSide && header.height <= kStoreSide;
  check((opened == 0) == fits);
  if (!fits) {
    check(user.told.size() == 1 && !bench.pictures.picturesPresent);
    return;
  }
  const std::size_t pictureBytes = decoded.picture1.size();
  check(std::memcmp(bench.store.plane(kPicture1), decoded.picture1.data(), pictureBytes) == 0);
  check(std::memcmp(bench.store.plane(kPicture2), decoded.picture2.data(), pictureBytes) == 0);
  for (int index = 0; index < 2; ++index) {
    const Palette& shown = bench.pictures.pictures[static_cast<std::size_t>(index)].palette;
    check(shown == (bench.options.ImportAsGrey ? greyRamp()
                                               : header.palettes[static_cast<std::size_t>(index)]));
  }
  const ViewState& view = bench.view;
  check(view.centreX >= 0 && view.centreX < header.width);
  check(view.centreY >= 0 && view.centreY < header.height);
  check(view.magnification >= 1 && view.magnification <= 64);
  if (bench.options.ImportTakeMagnification && header.magnification >= 1 &&
      header.magnification <= 64) {
    check(view.magnification == header.magnification);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemla::net;
  constexpr std::size_t kPrefix = kLengthBytes + 3;
  if (size < kPrefix) return 0;
  const std::int32_t announced =
      decodeLength(std::span<const std::uint8_t, kLengthBytes>(data, kLengthBytes));
  // Two bytes choose the importer's maxima, from 8 up to beyond the largest pictures.
  const int maxWidth = 8 + data[4] * 20;
  const int maxHeight = 8 + data[5] * 20;
  const std::uint8_t options = data[6];
  const std::span<const std::uint8_t> payload(data + kPrefix, size - kPrefix);

  // The importer's code for the length: the refusals, else the length itself.
  const int code = announced < 0                  ? kPasswordMismatch
                   : announced > kReceiveCapacity ? kLengthTooLarge
                                                  : announced;
  PairHeader header;
  const PayloadCheck fromHeader =
      checkPayloadHeader(announced, payload, maxWidth, maxHeight, header);
  const DecodedPayload decoded = decodePayload(payload, maxWidth, maxHeight);
  const bool whole = announced == static_cast<std::int64_t>(payload.size());
  if (whole) check(fromHeader == decoded.check);
  // A length the importer refuses never reaches the header check.
  if (code >= 0) {
    const auto notice = importOutcomeNotice(code, fromHeader);
    check(notice.has_value() == (fromHeader != PayloadCheck::Ok));
    if (notice) check(!notice->text.empty());
  } else {
    check(importOutcomeNotice(code, fromHeader).has_value());
  }
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

  if (whole) openReceivedPair(decoded, options);
  return 0;
}
