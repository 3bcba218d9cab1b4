#include "picture/little_endian.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace vemla::little_endian {
namespace {

using Bytes = std::array<std::uint8_t, 8>;

// Each value against its bytes worked out by hand, least significant byte first; the bytes past
// the value's width must stay untouched by a put.
TEST(LittleEndian, ValuesMatchTheirBytesBothWays) {
  Bytes bytes;
  bytes.fill(0xEE);
  putU16(bytes.data(), 0x1234);
  EXPECT_EQ(bytes, (Bytes{0x34, 0x12, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));
  EXPECT_EQ(getU16(bytes.data()), 0x1234);

  bytes.fill(0xEE);
  putU32(bytes.data(), 0xCAFE0102u);
  EXPECT_EQ(bytes, (Bytes{0x02, 0x01, 0xFE, 0xCA, 0xEE, 0xEE, 0xEE, 0xEE}));
  EXPECT_EQ(getU32(bytes.data()), 0xCAFE0102u);

  const std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
  putI32(bytes.data(), lowest);
  EXPECT_EQ(bytes, (Bytes{0x00, 0x00, 0x00, 0x80, 0xEE, 0xEE, 0xEE, 0xEE}));
  EXPECT_EQ(getI32(bytes.data()), lowest);
  putI32(bytes.data(), -2);
  EXPECT_EQ(bytes, (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0xEE, 0xEE, 0xEE, 0xEE}));
  EXPECT_EQ(getI32(bytes.data()), -2);

  putF64(bytes.data(), -2.5);  // sign 1, exponent 0x400, fraction 0x4000000000000
  EXPECT_EQ(bytes, (Bytes{0, 0, 0, 0, 0, 0, 0x04, 0xC0}));
  EXPECT_EQ(getF64(bytes.data()), -2.5);
}

}  // namespace
}  // namespace vemla::little_endian
