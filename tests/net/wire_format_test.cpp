#include "net/wire_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace vemla::net {
namespace {

RequestBytes requestOf(std::string_view password, std::string_view userName) {
  RequestBytes bytes{};
  std::copy(password.begin(), password.end(), bytes.begin());
  std::copy(userName.begin(), userName.end(), bytes.begin() + 64);
  return bytes;
}

void putLittle(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A pair of `length` bytes whose header announces width x height; everything else zero.
std::vector<std::uint8_t> pairBytes(std::int32_t width, std::int32_t height, std::size_t length) {
  std::vector<std::uint8_t> bytes(length, 0);
  if (length >= 8) {
    putLittle(bytes, 0, static_cast<std::uint32_t>(width));
    putLittle(bytes, 4, static_cast<std::uint32_t>(height));
  }
  return bytes;
}

TEST(ImportRequest, EncodesBothTextsAsCp932FieldsPaddedWithZeros) {
  RequestBytes bytes;
  bytes.fill(0xEE);
  ASSERT_EQ(encodeRequest("Abc", "ユーザ", bytes), RequestStatus::Ok);
  EXPECT_EQ(bytes[0], 'A');
  EXPECT_EQ(bytes[1], 'b');
  EXPECT_EQ(bytes[2], 'c');
  for (std::size_t i = 3; i < 64; ++i) ASSERT_EQ(bytes[i], 0) << i;
  // ユ 0x8386, ー 0x815B, ザ 0x8355.
  const std::vector<std::uint8_t> name{0x83, 0x86, 0x81, 0x5B, 0x83, 0x55};
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 64, bytes.begin() + 70), name);
  for (std::size_t i = 70; i < 320; ++i) ASSERT_EQ(bytes[i], 0) << i;
}

TEST(ImportRequest, RefusesTextsThatLeaveNoRoomForTheTerminator) {
  RequestBytes bytes;
  bytes.fill(0xEE);
  EXPECT_EQ(encodeRequest(std::string(64, 'p'), "u", bytes), RequestStatus::PasswordTooLong);
  EXPECT_EQ(encodeRequest("p", std::string(256, 'u'), bytes), RequestStatus::UserNameTooLong);
  EXPECT_EQ(encodeRequest("p\xF0\x9F\x98\x80", "u", bytes), RequestStatus::PasswordUnstorable);
  EXPECT_EQ(encodeRequest("p", "\xF0\x9F\x98\x80", bytes), RequestStatus::UserNameUnstorable);
  for (std::uint8_t byte : bytes) ASSERT_EQ(byte, 0xEE);  // untouched by every refusal

  ASSERT_EQ(encodeRequest(std::string(63, 'p'), std::string(255, 'u'), bytes), RequestStatus::Ok);
  EXPECT_EQ(bytes[62], 'p');
  EXPECT_EQ(bytes[63], 0);
  EXPECT_EQ(bytes[64 + 254], 'u');
  EXPECT_EQ(bytes[319], 0);
}

TEST(ImportRequest, DecodesFieldsThatHaveNoTerminator) {
  RequestBytes bytes;
  bytes.fill('x');
  const ImportRequest request = decodeRequest(bytes);
  for (std::uint8_t byte : request.password) ASSERT_EQ(byte, 'x');
  EXPECT_EQ(request.userName, std::string(256, 'x'));
  // Every byte of the field is part of the password, so it matches no password of the option.
  EXPECT_FALSE(passwordMatches(request, std::string(63, 'x')));
  EXPECT_FALSE(passwordMatches(request, std::string(64, 'x')));
}

TEST(ImportRequest, IgnoresWhatFollowsTheTerminator) {
  RequestBytes bytes = requestOf(std::string("abc\0zz", 6), std::string("bob\0\x01\x02", 6));
  const ImportRequest request = decodeRequest(bytes);
  EXPECT_EQ(request.password[2], 'c');
  EXPECT_EQ(request.password[4], 0);  // 'z' after the terminator is dropped
  EXPECT_EQ(request.userName, "bob");
  EXPECT_TRUE(passwordMatches(request, "abc"));
}

TEST(PasswordCheck, MatchesExactBytesOnly) {
  const ImportRequest request = decodeRequest(requestOf("Secret", "u"));
  EXPECT_TRUE(passwordMatches(request, "Secret"));
  EXPECT_FALSE(passwordMatches(request, "secret"));
  EXPECT_FALSE(passwordMatches(request, "SECRET"));
  EXPECT_FALSE(passwordMatches(request, "Secre"));
  EXPECT_FALSE(passwordMatches(request, "Secrets"));
  EXPECT_FALSE(passwordMatches(request, "Secret "));

  // A double-byte password is compared as its CP932 bytes: パ 0x8370, ス 0x8358.
  const ImportRequest japanese = decodeRequest(requestOf("\x83\x70\x83\x58", ""));
  EXPECT_TRUE(passwordMatches(japanese, "パス"));
  EXPECT_FALSE(passwordMatches(japanese, "ﾊﾟｽ"));
}

TEST(PasswordCheck, AnEmptyOrUnstorablePasswordMatchesNothing) {
  const ImportRequest empty = decodeRequest(requestOf("", "u"));
  EXPECT_FALSE(passwordMatches(empty, ""));
  EXPECT_FALSE(passwordMatches(empty, "\xF0\x9F\x98\x80"));
}

TEST(UserNameDisplay, KeepsTextAndReplacesWhatIsNotText) {
  EXPECT_EQ(displayUserName("tanaka"), "tanaka");
  EXPECT_EQ(displayUserName("<b>x</b>"), "<b>x</b>");  // shown as plain text by the windows
  EXPECT_EQ(displayUserName("\x83\x86\x81\x5B\x83\x55"), "ユーザ");
  EXPECT_EQ(displayUserName("\xB1\xB2"), "ｱｲ");
  // Line breaks, tabs, escape and DEL would break the message or a script's line.
  EXPECT_EQ(displayUserName("a\nb\tc\x1B[2Jd\x7F"), "a?b?c?[2Jd?");
  // A lead byte at the end, a lead byte followed by a byte that cannot trail, and a byte that
  // is no CP932 character at all.
  EXPECT_EQ(displayUserName("ab\x83"), "ab?");
  EXPECT_EQ(displayUserName("\x81\x7F"), "??");
  EXPECT_EQ(displayUserName("\x80z"), "?z");
  EXPECT_EQ(displayUserName(""), "");
}

TEST(ReplyLength, TravelsInNetworkByteOrder) {
  EXPECT_EQ(encodeLength(-1), (LengthBytes{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(encodeLength(2432), (LengthBytes{0x00, 0x00, 0x09, 0x80}));  // 2 * 8 * 8 + 2304
  EXPECT_EQ(decodeLength(LengthBytes{0x00, 0x00, 0x09, 0x80}), 2432);
  EXPECT_EQ(decodeLength(LengthBytes{0x80, 0x00, 0x00, 0x00}), INT32_MIN);
  EXPECT_EQ(decodeLength(LengthBytes{0x7F, 0xFF, 0xFF, 0xFE}), INT32_MAX - 1);
}

TEST(PicturePair, EncodesTheLayoutWithLittleEndianIntegers) {
  Palette first{}, second{};
  first[4 * 7 + 2] = 0xAB;  // red of entry 7
  second[4 * 255] = 0xCD;   // blue of entry 255
  std::vector<std::uint8_t> pixels1(9 * 8), pixels2(9 * 8);
  for (std::size_t i = 0; i < pixels1.size(); ++i) {
    pixels1[i] = static_cast<std::uint8_t>(i);
    pixels2[i] = static_cast<std::uint8_t>(200 - i);
  }
  PairSource source{9, 8, 4, 300, 16, true, {&first, &second}, {pixels1.data(), pixels2.data()}};
  const std::vector<std::uint8_t> bytes = encodePayload(source);

  ASSERT_EQ(bytes.size(), 2u * 9 * 8 + 2304);  // 2448
  const std::vector<std::uint8_t> head(bytes.begin(), bytes.begin() + 24);
  const std::vector<std::uint8_t> expected{9,  0, 0, 0, 8,  0, 0, 0, 4, 0, 0, 0,
                                           44, 1, 0, 0, 16, 0, 0, 0, 1, 0, 0, 0};  // 300 = 0x12C
  EXPECT_EQ(head, expected);
  for (std::size_t i = 24; i < 256; ++i) ASSERT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(bytes[256 + 30], 0xAB);
  EXPECT_EQ(bytes[1280 + 1020], 0xCD);
  EXPECT_EQ(bytes[2304], 0);
  EXPECT_EQ(bytes[2304 + 71], 71);
  EXPECT_EQ(bytes[2304 + 72], 200);  // picture 2 follows directly
  EXPECT_EQ(bytes[2447], 200 - 71);
}

TEST(PicturePair, DecodesWhatWasEncoded) {
  Palette palette = greyRamp();
  palette[0] = 9;
  const std::vector<std::uint8_t> pixels1(8 * 10, 11), pixels2(8 * 10, 22);
  PairSource source{8, 10, -1, 5, 1, false, {&palette, nullptr}, {pixels1.data(), pixels2.data()}};
  const std::vector<std::uint8_t> bytes = encodePayload(source);
  const DecodedPayload decoded = decodePayload(bytes, 1024, 1024);
  ASSERT_EQ(decoded.check, PayloadCheck::Ok);
  EXPECT_EQ(decoded.header.width, 8);
  EXPECT_EQ(decoded.header.height, 10);
  EXPECT_EQ(decoded.header.positionX, -1);
  EXPECT_EQ(decoded.header.positionY, 5);
  EXPECT_EQ(decoded.header.magnification, 1);
  EXPECT_EQ(decoded.header.reducedDisplay, 0);
  EXPECT_EQ(decoded.header.palettes[0], palette);
  EXPECT_EQ(decoded.header.palettes[1], greyRamp());  // no palette: the grey ramp
  EXPECT_EQ(std::vector<std::uint8_t>(decoded.picture1.begin(), decoded.picture1.end()), pixels1);
  EXPECT_EQ(std::vector<std::uint8_t>(decoded.picture2.begin(), decoded.picture2.end()), pixels2);
}

TEST(PicturePair, RefusesHostileHeadersBeforeTouchingPixels) {
  // Shorter than the header: refused before the sizes are read.
  EXPECT_EQ(decodePayload({}, 1024, 1024).check, PayloadCheck::BadData);
  EXPECT_EQ(decodePayload(pairBytes(8, 8, 2303), 1024, 1024).check, PayloadCheck::BadData);
  // 8 x 8 is the smallest pair; 7 x 8 with its own consistent length 2 * 56 + 2304 is not.
  EXPECT_EQ(decodePayload(pairBytes(8, 8, 2432), 1024, 1024).check, PayloadCheck::Ok);
  EXPECT_EQ(decodePayload(pairBytes(7, 8, 2416), 1024, 1024).check, PayloadCheck::BadData);
  EXPECT_EQ(decodePayload(pairBytes(8, 7, 2416), 1024, 1024).check, PayloadCheck::BadData);
  // A length one byte off either way.
  EXPECT_EQ(decodePayload(pairBytes(8, 8, 2431), 1024, 1024).check, PayloadCheck::BadData);
  EXPECT_EQ(decodePayload(pairBytes(8, 8, 2433), 1024, 1024).check, PayloadCheck::BadData);
  // Negative sides whose product is positive: 2 * (-8) * (-8) + 2304 = 2432.
  EXPECT_EQ(decodePayload(pairBytes(-8, -8, 2432), 1024, 1024).check, PayloadCheck::BadData);
  EXPECT_EQ(decodePayload(pairBytes(INT32_MIN, 8, 2432), 1024, 1024).check, PayloadCheck::BadData);
}

TEST(PicturePair, RefusesPicturesBeyondTheMaximaAsTooLarge) {
  // Wider or higher than the importer's maxima, whatever the length says.
  EXPECT_EQ(decodePayload(pairBytes(1025, 8, 2432), 1024, 1024).check, PayloadCheck::TooLarge);
  EXPECT_EQ(decodePayload(pairBytes(8, 1028, 2432), 1024, 1024).check, PayloadCheck::TooLarge);
  EXPECT_EQ(decodePayload(pairBytes(1024, 8, 2 * 1024 * 8 + 2304), 1024, 1024).check,
            PayloadCheck::Ok);
  // 2 * 65536 * 65536 is 2^33: in 32-bit arithmetic the length 2304 would fit it. The receive
  // buffer never holds more than 4096 x 4096, even for a caller that allows more.
  EXPECT_EQ(decodePayload(pairBytes(65536, 65536, 2304), INT_MAX, INT_MAX).check,
            PayloadCheck::TooLarge);
  EXPECT_EQ(decodePayload(pairBytes(4097, 8, 2432), INT_MAX, INT_MAX).check,
            PayloadCheck::TooLarge);
}

TEST(PicturePair, HeaderCheckNeverReadsPastTheBytesItIsGiven) {
  // The length says a whole header follows, but only 100 bytes are at hand.
  const std::vector<std::uint8_t> bytes = pairBytes(8, 8, 100);
  PairHeader header;
  EXPECT_EQ(checkPayloadHeader(2432, bytes, 1024, 1024, header), PayloadCheck::BadData);
  // With the whole header the same length is taken, from the header alone.
  const std::vector<std::uint8_t> whole = pairBytes(8, 8, 2304);
  EXPECT_EQ(checkPayloadHeader(2432, whole, 1024, 1024, header), PayloadCheck::Ok);
  EXPECT_EQ(header.width, 8);
}

}  // namespace
}  // namespace vemla::net
