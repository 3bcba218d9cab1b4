#pragma once
// The bytes that travel between an exporter and an importer. The importer sends one 320-byte
// request (password and user name, CP932 fixed fields); the exporter answers with a 4-byte
// signed length in network byte order (-1: wrong password, nothing follows) and that many bytes
// of the picture pair, whose integers are 32-bit little-endian. Peers rely on this mix of byte
// orders, so it stays as it is.
//
// Everything here is pure: the readers take bytes that arrived from the network and treat them
// as hostile (fields without terminators, negative or overflowing sizes).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "picture/palette.h"

namespace vemla::net {

inline constexpr std::size_t kPasswordFieldBytes = 64;
inline constexpr std::size_t kUserNameFieldBytes = 256;
inline constexpr std::size_t kRequestBytes = kPasswordFieldBytes + kUserNameFieldBytes;  // 320
inline constexpr std::size_t kLengthBytes = 4;
// Size fields, view fields, reserved bytes and both palettes: everything before picture 1.
inline constexpr std::size_t kPayloadHeaderBytes = 2304;
// The importer's receive buffer: two pictures of the largest size the system supports.
inline constexpr int kLargestPictureSide = 4096;
inline constexpr std::int64_t kReceiveCapacity = 2LL * kLargestPictureSide * kLargestPictureSide +
                                                 static_cast<std::int64_t>(kPayloadHeaderBytes);
// The length an exporter sends instead of the pictures when the password does not match.
inline constexpr std::int32_t kPasswordRefusedLength = -1;

using RequestBytes = std::array<std::uint8_t, kRequestBytes>;
using LengthBytes = std::array<std::uint8_t, kLengthBytes>;

// ---- Request -----------------------------------------------------------------------------

enum class RequestStatus {
  Ok,
  PasswordTooLong,
  PasswordUnstorable,
  UserNameTooLong,
  UserNameUnstorable
};

// Stores both UTF-8 texts as CP932 in their fields (at most 63 and 255 bytes plus a zero; every
// other byte zero). `out` is left as it was unless the result is Ok.
RequestStatus encodeRequest(std::string_view password, std::string_view userName,
                            RequestBytes& out);

// A request as the exporter holds it. The fields are copied into buffers of their own size:
// a peer may leave out the terminators, so nothing here relies on finding one.
struct ImportRequest {
  // The password bytes up to the first zero, zeros after it; all 64 bytes when there is no zero.
  std::array<std::uint8_t, kPasswordFieldBytes> password{};
  // The user name's CP932 bytes up to the first zero (at most 256, none of them zero).
  std::string userName;
};
ImportRequest decodeRequest(std::span<const std::uint8_t, kRequestBytes> bytes);

// Whether the request carries `password` (UTF-8, compared as its CP932 bytes): exact bytes,
// case-sensitive, and every byte of the field is looked at whatever the outcome. An empty
// password, or one that cannot be stored in the field, matches nothing.
bool passwordMatches(const ImportRequest& request, std::string_view password);

// The peer's user name made safe to show: CP932 decoded to UTF-8, each byte sequence that is
// not valid CP932 and each control character (C0, DEL, C1) replaced by '?', so a hostile name
// can neither break a message into lines nor hold bytes that are not text.
std::string displayUserName(std::string_view cp932);

// ---- Reply length ------------------------------------------------------------------------

LengthBytes encodeLength(std::int32_t length);
std::int32_t decodeLength(std::span<const std::uint8_t, kLengthBytes> bytes);

// ---- Picture pair ------------------------------------------------------------------------

// The first kPayloadHeaderBytes of the pair, as received (nothing corrected).
struct PairHeader {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t positionX = 0;  // picture pixel at the centre of the exporter's view
  std::int32_t positionY = 0;
  std::int32_t magnification = 1;   // 1 … 64
  std::int32_t reducedDisplay = 0;  // 1: the reduced 1/n view (magnification 1 only)
  std::array<Palette, 2> palettes{};
};

// What the exporter sends: both pictures (width * height bytes each, rows top-down) with their
// palettes and the exporter's view.
struct PairSource {
  int width = 0;
  int height = 0;
  int positionX = 0;
  int positionY = 0;
  int magnification = 1;
  bool reducedDisplay = false;
  std::array<const Palette*, 2> palettes{};
  std::array<const std::uint8_t*, 2> pixels{};
};
// 2 * width * height + 2304 bytes; the reserved bytes 24 … 255 are zero.
std::vector<std::uint8_t> encodePayload(const PairSource& source);

// Why an importer refuses a received pair. TooLarge: wider than maxWidth or higher than
// maxHeight. BadData: shorter than the header, a side below 8, or a length other than
// 2 * width * height + 2304.
enum class PayloadCheck { Ok, BadData, TooLarge };

// Checks a pair of `length` bytes from its first bytes `header` (at least kPayloadHeaderBytes
// of them when length allows) before any pixel is read: the length is checked against the
// header size first, the sides against the maxima next, then the length against the sides, in
// 64-bit arithmetic. `out` is filled whenever the header could be read.
PayloadCheck checkPayloadHeader(std::int64_t length, std::span<const std::uint8_t> header,
                                int maxWidth, int maxHeight, PairHeader& out);

// A whole received pair: the header checked as above, then the two pixel blocks (views into
// `payload`; empty unless the check is Ok).
struct DecodedPayload {
  PayloadCheck check = PayloadCheck::BadData;
  PairHeader header;
  std::span<const std::uint8_t> picture1;
  std::span<const std::uint8_t> picture2;
};
DecodedPayload decodePayload(std::span<const std::uint8_t> payload, int maxWidth, int maxHeight);

}  // namespace vemla::net
