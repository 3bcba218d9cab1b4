#include "net/wire_format.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "picture/little_endian.h"
#include "text/cp932.h"

namespace vemla::net {
namespace {

// Offsets inside the picture pair.
constexpr std::size_t kWidthAt = 0;
constexpr std::size_t kHeightAt = 4;
constexpr std::size_t kPositionXAt = 8;
constexpr std::size_t kPositionYAt = 12;
constexpr std::size_t kMagnificationAt = 16;
constexpr std::size_t kReducedAt = 20;
constexpr std::size_t kPalette1At = 256;
constexpr std::size_t kPalette2At = 1280;
constexpr std::size_t kPaletteBytes = 1024;

// The field's bytes up to the first zero (the whole field when it has none).
std::string_view fieldText(std::span<const std::uint8_t> field) {
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  return {reinterpret_cast<const char*>(field.data()),
          static_cast<std::size_t>(end - field.begin())};
}

bool isControl(std::string_view utf8) {
  if (utf8.size() == 1) {
    const auto c = static_cast<unsigned char>(utf8[0]);
    return c < 0x20 || c == 0x7F;
  }
  // U+0080 … U+009F are C2 80 … C2 9F in UTF-8.
  return utf8.size() == 2 && static_cast<unsigned char>(utf8[0]) == 0xC2 &&
         static_cast<unsigned char>(utf8[1]) <= 0x9F;
}

}  // namespace

RequestStatus encodeRequest(std::string_view password, std::string_view userName,
                            RequestBytes& out) {
  RequestBytes request{};
  const std::span<std::uint8_t> all(request);
  switch (text::writeFixedField(all.first(kPasswordFieldBytes), password)) {
    case text::FieldStatus::Ok:
      break;
    case text::FieldStatus::TooLong:
      return RequestStatus::PasswordTooLong;
    case text::FieldStatus::NotRepresentable:
      return RequestStatus::PasswordUnstorable;
  }
  switch (text::writeFixedField(all.subspan(kPasswordFieldBytes), userName)) {
    case text::FieldStatus::Ok:
      break;
    case text::FieldStatus::TooLong:
      return RequestStatus::UserNameTooLong;
    case text::FieldStatus::NotRepresentable:
      return RequestStatus::UserNameUnstorable;
  }
  out = request;
  return RequestStatus::Ok;
}

ImportRequest decodeRequest(std::span<const std::uint8_t, kRequestBytes> bytes) {
  ImportRequest request;
  const std::string_view password = fieldText(bytes.first<kPasswordFieldBytes>());
  std::memcpy(request.password.data(), password.data(), password.size());
  request.userName = std::string(fieldText(bytes.subspan<kPasswordFieldBytes>()));
  return request;
}

bool passwordMatches(const ImportRequest& request, std::string_view password) {
  std::array<std::uint8_t, kPasswordFieldBytes> expected{};
  if (password.empty() || text::writeFixedField(expected, password) != text::FieldStatus::Ok) {
    return false;
  }
  // No early exit: the time taken does not tell a guesser how many leading bytes were right.
  unsigned difference = 0;
  for (std::size_t i = 0; i < kPasswordFieldBytes; ++i) {
    difference |= expected[i] ^ request.password[i];
  }
  return difference == 0;
}

std::string displayUserName(std::string_view cp932) {
  std::string shown;
  std::size_t at = 0;
  while (at < cp932.size()) {
    // A character is one or two bytes; a lead byte alone fails to convert, so two are tried
    // next. Whatever cannot be read becomes '?' and the next byte is tried afresh.
    std::optional<std::string> character;
    std::size_t used = 1;
    character = text::cp932ToUtf8(cp932.substr(at, 1));
    if (!character && at + 1 < cp932.size()) {
      character = text::cp932ToUtf8(cp932.substr(at, 2));
      used = 2;
    }
    if (!character || character->empty() || isControl(*character)) {
      shown += '?';
      used = 1;
    } else {
      shown += *character;
    }
    at += used;
  }
  return shown;
}

LengthBytes encodeLength(std::int32_t length) {
  const auto bits = static_cast<std::uint32_t>(length);
  return {static_cast<std::uint8_t>(bits >> 24), static_cast<std::uint8_t>(bits >> 16),
          static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits)};
}

std::int32_t decodeLength(std::span<const std::uint8_t, kLengthBytes> bytes) {
  const std::uint32_t bits = static_cast<std::uint32_t>(bytes[0]) << 24 |
                             static_cast<std::uint32_t>(bytes[1]) << 16 |
                             static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
  return static_cast<std::int32_t>(bits);
}

std::vector<std::uint8_t> encodePayload(const PairSource& source) {
  const std::size_t pictureBytes =
      static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height);
  std::vector<std::uint8_t> payload(kPayloadHeaderBytes + 2 * pictureBytes, 0);
  std::uint8_t* const data = payload.data();
  little_endian::putI32(data + kWidthAt, source.width);
  little_endian::putI32(data + kHeightAt, source.height);
  little_endian::putI32(data + kPositionXAt, source.positionX);
  little_endian::putI32(data + kPositionYAt, source.positionY);
  little_endian::putI32(data + kMagnificationAt, source.magnification);
  little_endian::putI32(data + kReducedAt, source.reducedDisplay ? 1 : 0);
  const Palette grey = greyRamp();
  for (std::size_t index = 0; index < 2; ++index) {
    const Palette& palette = source.palettes[index] != nullptr ? *source.palettes[index] : grey;
    std::memcpy(data + (index == 0 ? kPalette1At : kPalette2At), palette.data(), kPaletteBytes);
    if (source.pixels[index] != nullptr && pictureBytes > 0) {
      std::memcpy(data + kPayloadHeaderBytes + index * pictureBytes, source.pixels[index],
                  pictureBytes);
    }
  }
  return payload;
}

PayloadCheck checkPayloadHeader(std::int64_t length, std::span<const std::uint8_t> header,
                                int maxWidth, int maxHeight, PairHeader& out) {
  if (length < static_cast<std::int64_t>(kPayloadHeaderBytes) ||
      header.size() < kPayloadHeaderBytes) {
    return PayloadCheck::BadData;
  }
  const std::uint8_t* const data = header.data();
  out.width = little_endian::getI32(data + kWidthAt);
  out.height = little_endian::getI32(data + kHeightAt);
  out.positionX = little_endian::getI32(data + kPositionXAt);
  out.positionY = little_endian::getI32(data + kPositionYAt);
  out.magnification = little_endian::getI32(data + kMagnificationAt);
  out.reducedDisplay = little_endian::getI32(data + kReducedAt);
  std::memcpy(out.palettes[0].data(), data + kPalette1At, kPaletteBytes);
  std::memcpy(out.palettes[1].data(), data + kPalette2At, kPaletteBytes);

  // The receive buffer never holds more than the largest pictures, whatever the caller asks.
  if (out.width > std::min(maxWidth, kLargestPictureSide) ||
      out.height > std::min(maxHeight, kLargestPictureSide)) {
    return PayloadCheck::TooLarge;
  }
  if (out.width < 8 || out.height < 8) return PayloadCheck::BadData;
  const std::int64_t expected = 2 * static_cast<std::int64_t>(out.width) * out.height +
                                static_cast<std::int64_t>(kPayloadHeaderBytes);
  if (length != expected) return PayloadCheck::BadData;
  return PayloadCheck::Ok;
}

DecodedPayload decodePayload(std::span<const std::uint8_t> payload, int maxWidth, int maxHeight) {
  DecodedPayload decoded;
  decoded.check = checkPayloadHeader(static_cast<std::int64_t>(payload.size()), payload, maxWidth,
                                     maxHeight, decoded.header);
  if (decoded.check != PayloadCheck::Ok) return decoded;
  const std::size_t pictureBytes = static_cast<std::size_t>(decoded.header.width) *
                                   static_cast<std::size_t>(decoded.header.height);
  decoded.picture1 = payload.subspan(kPayloadHeaderBytes, pictureBytes);
  decoded.picture2 = payload.subspan(kPayloadHeaderBytes + pictureBytes, pictureBytes);
  return decoded;
}

}  // namespace vemla::net
