#include "persist/state_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "picture/file_helpers.h"
#include "picture/little_endian.h"
#include "support/test_files.h"

namespace vemla::persist {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace le = little_endian;

constexpr int kW = 12, kH = 9;
constexpr std::size_t kPlane = kW * kH;

// A file put together at the documented offsets, independently of the encoder.
Bytes handMadeFile(std::int32_t format, std::int32_t width = kW, std::int32_t height = kH) {
  const std::size_t pixels = format >= 2 ? 3872 : 3808;
  Bytes bytes(pixels + 3 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  std::memcpy(bytes.data(), "VIC0", 4);
  std::uint8_t* r = bytes.data() + 4;
  le::putI32(r + 0, format);
  le::putI32(r + 4, width);
  le::putI32(r + 8, height);
  std::memcpy(r + 12, "first.bmp", 9);
  std::memcpy(r + 524, "second.bmp", 10);
  le::putI32(r + 1068, 16);  // division
  le::putI32(r + 1364, 5);   // centre x
  le::putI32(r + 1368, 6);   // centre y
  le::putI32(r + 1440, 99);  // kind of Image 1
  std::memcpy(r + 1448, "edge", 4);
  le::putI32(r + 1520, 4);   // magnification
  le::putI32(r + 1536, 17);  // colour of Image 2
  std::memcpy(r + 1576, "heat", 4);
  le::putI32(r + 1644, 7);                              // grid width
  if (format >= 2) le::putI32(bytes.data() + 1652, 1);  // reduced display
  const std::size_t palettes = format >= 2 ? 1716 : 1652;
  bytes[palettes + 54 + 4] = 0x11;         // Picture 1 palette entry 1
  bytes[palettes + 54 + 1078 + 4] = 0x22;  // Picture 2 palette entry 1
  for (std::size_t i = pixels; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  return bytes;
}

struct Decoded {
  int status = 0;
  StateRecord record;
  std::array<Palette, 2> palettes{};
  std::array<Bytes, 3> planes{Bytes(kPlane, 0xEE), Bytes(kPlane, 0xEE), Bytes(kPlane, 0xEE)};
};

Decoded decode(const Bytes& bytes, int maxSide = 64, bool recordOnly = false) {
  Decoded out;
  out.record.names[0] = "untouched";
  out.status = decodeStateFile(bytes, maxSide, maxSide, recordOnly, out.record, out.palettes,
                               {out.planes[0], out.planes[1], out.planes[2]});
  return out;
}

TEST(StateFile, ReadsFilesBuiltAtTheDocumentedOffsetsInBothFormats) {
  for (const std::int32_t format : {1, 2}) {
    SCOPED_TRACE(format);
    const Bytes bytes = handMadeFile(format);
    const Decoded d = decode(bytes);
    ASSERT_EQ(d.status, kStateOk);
    EXPECT_EQ(d.record.names[0], "first.bmp");
    EXPECT_EQ(d.record.names[1], "second.bmp");
    EXPECT_EQ(d.record.division, 16);
    EXPECT_EQ(d.record.centre, (std::array<std::int32_t, 2>{5, 6}));
    EXPECT_EQ(d.record.kinds[0], 99);
    EXPECT_EQ(d.record.processingNames[0], "edge");
    EXPECT_EQ(d.record.magnification, 4);
    EXPECT_EQ(d.record.colours[1], 17);
    EXPECT_EQ(d.record.colourNames[1], "heat");
    EXPECT_EQ(d.record.gridWidth, 7);
    EXPECT_EQ(d.record.reducedDisplay, format >= 2 ? 1 : 0);
    EXPECT_EQ(d.palettes[0][4], 0x11);
    EXPECT_EQ(d.palettes[1][4], 0x22);
    const std::size_t pixels = statePixelOffset(format);
    for (std::size_t p = 0; p < 3; ++p) {
      EXPECT_TRUE(std::equal(d.planes[p].begin(), d.planes[p].end(),
                             bytes.begin() + static_cast<std::ptrdiff_t>(pixels + p * kPlane)));
    }
  }
}

TEST(StateFile, SaveThenReadGivesTheSameRecordPalettesAndPlanesAndSameBytesAgain) {
  testing::TempDir dir;
  const Decoded d = decode(handMadeFile(2));
  ASSERT_EQ(d.status, kStateOk);
  StateRecord record = d.record;
  record.alignmentResult[15] = 16;
  record.displayMarks[11] = -3;
  record.rangeExtraction = {1, 0, 10, 200, 0, 255, 1};
  const StatePlanes planes{{d.planes[0].data(), d.planes[1].data(), d.planes[2].data()}};
  ASSERT_TRUE(saveStateFile(dir.file("a.vic"), record, d.palettes, planes));

  const auto first = readWholeFile(dir.file("a.vic"), 1 << 20);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->size(), 3872 + 3 * kPlane);
  const Decoded again = decode(*first);
  ASSERT_EQ(again.status, kStateOk);
  EXPECT_EQ(again.record, record);
  EXPECT_EQ(again.palettes, d.palettes);
  EXPECT_EQ(again.planes, d.planes);

  const StatePlanes planes2{
      {again.planes[0].data(), again.planes[1].data(), again.planes[2].data()}};
  ASSERT_TRUE(saveStateFile(dir.file("b.vic"), again.record, again.palettes, planes2));
  EXPECT_EQ(readWholeFile(dir.file("b.vic"), 1 << 20), first);

  StateRecord header;
  EXPECT_EQ(readStateHeader(dir.file("a.vic"), header), 0);
  EXPECT_EQ(header, record);
}

// Every refusal leaves the caller's record and palettes as they were (the planes handed in are
// scratch and may have been written).
TEST(StateFile, RefusesHostileFilesWithoutTouchingAnything) {
  struct Case {
    const char* name;
    std::function<void(Bytes&)> damage;
    int maxSide;
    int expected;
  };
  const auto putAt = [](std::size_t offset, std::int32_t value) {
    return [=](Bytes& b) { le::putI32(b.data() + 4 + offset, value); };
  };
  const Case cases[] = {
      {"larger than the store", [](Bytes&) {}, 10, kStateTooLarge},
      {"width 7", putAt(4, 7), 64, kStateNotStateFile},
      {"negative size",
       [&](Bytes& b) {
         putAt(4, -8)(b);
         putAt(8, -8)(b);
       },
       64, kStateNotStateFile},
      {"huge size whose product overflows 32 bits",
       [&](Bytes& b) {
         putAt(4, 0x10000)(b);
         putAt(8, 0x10000)(b);
       },
       0x10000, kStateTooLarge},  // the scratch planes cannot hold it
      {"division 3", putAt(1068, 3), 64, kStateNotStateFile},
      {"division 0", putAt(1068, 0), 64, kStateNotStateFile},
      {"magic VIX0", [](Bytes& b) { b[2] = 'X'; }, 64, kStateNotStateFile},
      {"short planes", [](Bytes& b) { b.resize(b.size() - 1); }, 64, kStateReadFailed},
      {"short record", [](Bytes& b) { b.resize(1000); }, 64, kStateReadFailed},
      {"unterminated name", [](Bytes& b) { std::memset(b.data() + 4 + 12, 'a', 512); }, 64,
       kStateNotStateFile},
      {"unterminated entry name", [](Bytes& b) { std::memset(b.data() + 4 + 1540, 'a', 36); }, 64,
       kStateNotStateFile},
      {"name that is not CP932",
       [](Bytes& b) {
         b[4 + 524] = 0x81;
         b[4 + 525] = 0x00;
       },
       64, kStateNotStateFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes bytes = handMadeFile(2);
    c.damage(bytes);
    const Decoded d = decode(bytes, c.maxSide);
    EXPECT_EQ(d.status, c.expected);
    EXPECT_EQ(d.record.names[0], "untouched");
    EXPECT_EQ(d.palettes, (std::array<Palette, 2>{}));
  }
}

TEST(StateFile, HeaderReaderTellsMissingShortAndForeignFiles) {
  testing::TempDir dir;
  StateRecord record;
  EXPECT_EQ(readStateHeader(dir.file("none.vic"), record), kStateHeaderReadError);
  Bytes bytes = handMadeFile(2);
  testing::writeBytes(dir.file("short.vic"), Bytes(bytes.begin(), bytes.begin() + 1000));
  EXPECT_EQ(readStateHeader(dir.file("short.vic"), record), kStateHeaderReadError);
  bytes[1] = 'X';
  testing::writeBytes(dir.file("foreign.vic"), bytes);
  EXPECT_EQ(readStateHeader(dir.file("foreign.vic"), record), kStateHeaderNotStateFile);
}

TEST(StateFile, FailedSaveKeepsThePreviousFile) {
  testing::TempDir dir;
  const Decoded d = decode(handMadeFile(2));
  const StatePlanes planes{{d.planes[0].data(), d.planes[1].data(), d.planes[2].data()}};
  testing::writeBytes(dir.file("old.vic"), {1, 2, 3});
  EXPECT_FALSE(saveStateFile(dir.path() + "/missing/x.vic", d.record, d.palettes, planes));
  EXPECT_FALSE(saveStateFile(dir.path(), d.record, d.palettes, planes));  // a folder
  EXPECT_EQ(readWholeFile(dir.file("old.vic"), 100), (Bytes{1, 2, 3}));
}

}  // namespace
}  // namespace vemla::persist
