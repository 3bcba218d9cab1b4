#include "picture/bitmap.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <limits>
#include <random>

#include "gallery/file_size_limit.h"
#include "picture/bitmap_fields.h"
#include "picture/quantize.h"
#include "support/test_files.h"

namespace vemla {
namespace {

using testing::assembleBitmap;
using testing::BitmapFields;
using testing::FileSizeLimit;
using testing::readBytes;
using testing::testPalette;
using testing::writeBytes;
using Bytes = std::vector<std::uint8_t>;
using TemporaryFolder = testing::TempDir;
using ::testing::ElementsAre;

BitmapFields fields(std::int32_t width, std::int32_t height, std::uint16_t bitCount) {
  BitmapFields result;
  result.width = width;
  result.height = height;
  result.bitCount = bitCount;
  result.pixelOffset = bitCount == 8 ? 1078 : 54;
  return result;
}

// An 8-bit file of the given size whose pixels are all `value`, rows padded to 4.
Bytes eightBitFile(std::int32_t width, std::int32_t height, std::uint8_t value = 9) {
  const std::size_t rowLength = (static_cast<std::size_t>(width) + 3) / 4 * 4;
  const std::size_t rows = static_cast<std::size_t>(height < 0 ? -height : height);
  return assembleBitmap(fields(width, height, 8), testPalette(), Bytes(rowLength * rows, value));
}

Bytes greyRampBytes() {
  Bytes ramp;
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<std::uint8_t>(i);
    ramp.insert(ramp.end(), {v, v, v, 0});
  }
  return ramp;
}

Bytes paletteBytes(const Palette& palette) {
  return Bytes(palette.begin(), palette.end());
}

// A picture plane and the four scratch planes, as the picture store lends them; filled with a
// marker so that bytes the reader should clear are noticed.
struct ReadBuffers {
  ReadBuffers(int maxWidth, int maxHeight)
      : maxWidth(maxWidth),
        maxHeight(maxHeight),
        plane(static_cast<std::size_t>(maxWidth) * maxHeight, 0xEE),
        scratch(4 * plane.size(), 0xEE) {}

  int read(const Bytes& file, BitmapRead& out, bool grey = false, RgbRatio ratios = {}) {
    MemorySource in(file);
    return readBitmapPicture(in, plane, maxWidth, maxHeight, grey, ratios, scratch, out);
  }
  Bytes planeStart(std::size_t count) const { return Bytes(plane.begin(), plane.begin() + count); }

  int maxWidth;
  int maxHeight;
  Bytes plane;
  Bytes scratch;
};

int readIntoMemory(const Bytes& file, Bytes& destination, int maxWidth, int maxHeight,
                   BitmapRead& out) {
  MemorySource in(file);
  return readBitmapIntoMemory(in, destination, maxWidth, maxHeight, out);
}

int probe(const Bytes& file) {
  MemorySource in(file);
  return probeBitmap(in);
}

// ---------------------------------------------------------------------------------------------
// Header builder

TEST(BitmapHeaderBuilder, EightBitHeadersCarryPaletteOffsetAndUnpaddedImageSize) {
  // 5 wide: rows of 8 bytes; 3 rows + 1078 bytes of headers and palette.
  const BitmapHeaders headers = buildBitmapHeaders(1, 5, 3);
  EXPECT_EQ(headers.file.type, 0x4D42);
  EXPECT_EQ(headers.file.fileSize, 3u * 8 + 1078);
  EXPECT_EQ(headers.file.pixelOffset, 1078u);
  EXPECT_EQ(headers.info.size, 40);
  EXPECT_EQ(headers.info.width, 5);
  EXPECT_EQ(headers.info.height, 3);
  EXPECT_EQ(headers.info.planes, 1);
  EXPECT_EQ(headers.info.bitCount, 8);
  EXPECT_EQ(headers.info.compression, 0u);
  EXPECT_EQ(headers.info.imageSize, 15u);
  EXPECT_EQ(headers.info.xPelsPerMeter, 0);
  EXPECT_EQ(headers.info.yPelsPerMeter, 0);
  EXPECT_EQ(headers.info.coloursUsed, 256u);
  EXPECT_EQ(headers.info.coloursImportant, 256u);
}

TEST(BitmapHeaderBuilder, TrueColourHeadersHaveNoPaletteAndResolutionOne) {
  // 5 pixels of 3 bytes: 15 bytes padded to 16.
  const BitmapHeaders rgb = buildBitmapHeaders(3, 5, 2);
  EXPECT_EQ(rgb.file.fileSize, 2u * 16 + 54);
  EXPECT_EQ(rgb.file.pixelOffset, 54u);
  EXPECT_EQ(rgb.info.bitCount, 24);
  EXPECT_EQ(rgb.info.imageSize, 30u);
  EXPECT_EQ(rgb.info.xPelsPerMeter, 1);
  EXPECT_EQ(rgb.info.yPelsPerMeter, 1);
  EXPECT_EQ(rgb.info.coloursUsed, 0u);
  EXPECT_EQ(rgb.info.coloursImportant, 0u);

  const BitmapHeaders rgba = buildBitmapHeaders(4, 3, 2);
  EXPECT_EQ(rgba.file.fileSize, 2u * 12 + 54);
  EXPECT_EQ(rgba.info.bitCount, 32);
  EXPECT_EQ(rgba.info.imageSize, 24u);
}

TEST(BitmapHeaderBuilder, PaneHeadersSerialiseAsLittleEndianFields) {
  // The 232 x 244 pane header: 232 * 244 = 56608 pixel bytes.
  const BitmapHeaders headers = buildBitmapHeaders(1, 232, 244);
  BitmapFields expected = fields(232, 244, 8);
  expected.fileSize = 56608 + 1078;
  expected.imageSize = 56608;
  expected.coloursUsed = expected.coloursImportant = 256;
  const Bytes expectedBytes = assembleBitmap(expected, {}, {});

  Bytes bytes;
  const auto fileBytes = headers.file.toBytes();
  const auto infoBytes = headers.info.toBytes();
  bytes.insert(bytes.end(), fileBytes.begin(), fileBytes.end());
  bytes.insert(bytes.end(), infoBytes.begin(), infoBytes.end());
  EXPECT_EQ(bytes, expectedBytes);

  EXPECT_EQ(BitmapFileHeader::fromBytes(expectedBytes.data()), headers.file);
  EXPECT_EQ(BitmapInfoHeader::fromBytes(expectedBytes.data() + 14), headers.info);
}

TEST(BitmapRowBytes, PadsToFourInSixtyFourBits) {
  EXPECT_EQ(bitmapRowBytes(1, 1), 4);
  EXPECT_EQ(bitmapRowBytes(4, 1), 4);
  EXPECT_EQ(bitmapRowBytes(5, 1), 8);
  EXPECT_EQ(bitmapRowBytes(1, 3), 4);
  EXPECT_EQ(bitmapRowBytes(5, 3), 16);
  EXPECT_EQ(bitmapRowBytes(3, 4), 12);
  EXPECT_EQ(bitmapRowBytes(std::numeric_limits<std::int32_t>::max(), 4), 8589934588);
}

// ---------------------------------------------------------------------------------------------
// Grey conversion

TEST(GreyFromBgr, SumsGreenAndBlueFirstThenRedAndTruncates) {
  const RgbRatio standard;  // 0.299, 0.587, 0.114
  EXPECT_EQ(greyFromBgr(255, 255, 255, standard), 255);
  EXPECT_EQ(greyFromBgr(0, 0, 0, standard), 0);
  EXPECT_EQ(greyFromBgr(100, 100, 100, standard), 100);
  // 13.501 + 2.622 + 6.877 lands just below 23 in doubles.
  EXPECT_EQ(greyFromBgr(23, 23, 23, standard), 22);
  // One channel at a time: 255 * 0.114 = 29.07, 255 * 0.587 = 149.685, 255 * 0.299 = 76.245.
  EXPECT_EQ(greyFromBgr(255, 0, 0, standard), 29);
  EXPECT_EQ(greyFromBgr(0, 255, 0, standard), 149);
  EXPECT_EQ(greyFromBgr(0, 0, 255, standard), 76);
}

TEST(GreyFromBgr, ClampsHostileRatiosBeforeConverting) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  EXPECT_EQ(greyFromBgr(9, 9, 9, RgbRatio{nan, 0.5, 0.5}), 0);
  EXPECT_EQ(greyFromBgr(9, 9, 9, RgbRatio{-1.0, -1.0, -1.0}), 0);
  EXPECT_EQ(greyFromBgr(9, 9, 9, RgbRatio{1e300, 1e300, 1e300}), 255);
  EXPECT_EQ(greyFromBgr(9, 9, 9, RgbRatio{infinity, 0.0, 0.0}), 255);
  EXPECT_EQ(greyFromBgr(9, 9, 9, RgbRatio{-infinity, 0.0, 0.0}), 0);
  EXPECT_EQ(greyFromBgr(9, 9, 9, RgbRatio{infinity, -infinity, 0.0}), 0);  // NaN sum
  EXPECT_EQ(greyFromBgr(85, 85, 85, RgbRatio{1.0, 1.0, 1.0}), 255);
  EXPECT_EQ(greyFromBgr(84, 84, 84, RgbRatio{1.0, 1.0, 1.0}), 252);
  EXPECT_EQ(greyFromBgr(200, 0, 0, RgbRatio{0.0, 0.0, 2.0}), 255);
}

// ---------------------------------------------------------------------------------------------
// Probe

TEST(ProbeBitmap, ReportsWhateverBitCountTheHeaderHolds) {
  for (const std::uint16_t bitCount : {8, 24, 32, 16, 1}) {
    EXPECT_EQ(probe(assembleBitmap(fields(4, 4, bitCount), {}, {})), bitCount);
  }
  TemporaryFolder folder;
  writeBytes(folder.file("a.bmp"), assembleBitmap(fields(4, 4, 24), {}, {}));
  EXPECT_EQ(probeBitmap(folder.file("a.bmp")), 24);
  EXPECT_EQ(probeBitmap(folder.file("missing.bmp")), kReadError);
}

TEST(ProbeBitmap, RefusesShortForeignAndCompressedFiles) {
  Bytes file = assembleBitmap(fields(4, 4, 8), {}, {});
  EXPECT_EQ(probe(Bytes(file.begin(), file.begin() + 53)), kReadError);
  EXPECT_EQ(probe({}), kReadError);

  BitmapFields foreign = fields(4, 4, 8);
  foreign.signature[1] = 'A';
  EXPECT_EQ(probe(assembleBitmap(foreign, {}, {})), kUnsupported);

  BitmapFields compressed = fields(4, 4, 8);
  compressed.compression = 1;
  EXPECT_EQ(probe(assembleBitmap(compressed, {}, {})), kUnsupported);
}

// ---------------------------------------------------------------------------------------------
// Read bitmap picture

TEST(ReadBitmapPicture, EightBitRowsStayInFileOrderWithRowLengthRoundedUp) {
  // 3 x 2 bottom-up: the file holds the bottom row (7 8 9) first.
  const Bytes rows = {7, 8, 9, 0, 1, 2, 3, 0};
  ReadBuffers buffers(16, 16);
  BitmapRead out;
  ASSERT_EQ(buffers.read(assembleBitmap(fields(3, 2, 8), testPalette(), rows), out), 4);
  EXPECT_EQ(buffers.planeStart(8), rows);
  EXPECT_FALSE(out.topDown);
  EXPECT_EQ(out.width, 3);
  EXPECT_EQ(out.height, 2);
  EXPECT_EQ(paletteBytes(out.palette), testPalette());
  EXPECT_EQ(out.headers.info.width, 3);
  EXPECT_EQ(out.headers.info.height, 2);
  EXPECT_EQ(out.headers.file.pixelOffset, 1078u);
}

TEST(ReadBitmapPicture, TopDownFileSetsTheFlagAndReportsTheAbsoluteHeight) {
  const Bytes rows = {1, 2, 3, 0, 7, 8, 9, 0};
  ReadBuffers buffers(16, 16);
  BitmapRead out;
  ASSERT_EQ(buffers.read(assembleBitmap(fields(3, -2, 8), testPalette(), rows), out), 4);
  EXPECT_EQ(buffers.planeStart(8), rows);
  EXPECT_TRUE(out.topDown);
  EXPECT_EQ(out.height, 2);
  EXPECT_EQ(out.headers.info.height, -2);
}

TEST(ReadBitmapPicture, IgnoresThePixelDataOffsetAndReadsInSequence) {
  for (const std::uint32_t offset : {0u, 54u, 2000u, 0xFFFFFFFFu}) {
    BitmapFields header = fields(4, 1, 8);
    header.pixelOffset = offset;
    ReadBuffers buffers(16, 16);
    BitmapRead out;
    ASSERT_EQ(buffers.read(assembleBitmap(header, testPalette(), {5, 6, 7, 8}), out), 4) << offset;
    EXPECT_THAT(buffers.planeStart(4), ElementsAre(5, 6, 7, 8));
    EXPECT_EQ(paletteBytes(out.palette), testPalette());
  }
}

TEST(ReadBitmapPicture, GreyConversionUsesTheRatiosAndTheGreyRamp) {
  // 2 x 2, 24-bit rows of 6 bytes padded to 8; destination rows of 4 with cleared padding.
  const Bytes rows = {255, 255, 255, 0,  0,  0,  0, 0,   // first file row
                      100, 100, 100, 23, 23, 23, 0, 0};  // second file row
  ReadBuffers buffers(16, 16);
  BitmapRead out;
  ASSERT_EQ(buffers.read(assembleBitmap(fields(2, 2, 24), {}, rows), out, true), 4);
  EXPECT_THAT(buffers.planeStart(8), ElementsAre(255, 0, 0, 0, 100, 22, 0, 0));
  EXPECT_EQ(paletteBytes(out.palette), greyRampBytes());
}

TEST(ReadBitmapPicture, GreyConversionIgnoresTheFourthByteOfThirtyTwoBitPixels) {
  // (blue 10, green 20, red 30): 11.74 + 1.14 = 12.88, + 8.97 = 21.85 -> 21.
  ReadBuffers buffers(16, 16);
  BitmapRead out;
  const Bytes file = assembleBitmap(fields(2, 1, 32), {}, {10, 20, 30, 255, 0, 0, 200, 77});
  ASSERT_EQ(buffers.read(file, out, true), 4);
  // Second pixel: red 200 only, 200 * 0.299 = 59.8.
  EXPECT_THAT(buffers.planeStart(4), ElementsAre(21, 59, 0, 0));
  // Ratios that pick one channel show which byte is which.
  ASSERT_EQ(buffers.read(file, out, true, RgbRatio{0.0, 1.0, 0.0}), 4);
  EXPECT_THAT(buffers.planeStart(2), ElementsAre(20, 0));
}

TEST(ReadBitmapPicture, GreyConversionOfWholeRowsAgreesWithThePerPixelRule) {
  // 17 x 5 24-bit rows of 51 bytes padded to 52, random pixels, ordinary and hostile ratios.
  std::mt19937 random(2024);
  Bytes rows(52 * 5);
  for (auto& value : rows) value = static_cast<std::uint8_t>(random());
  const Bytes file = assembleBitmap(fields(17, 5, 24), {}, rows);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const RgbRatio ratios : {RgbRatio{}, RgbRatio{1.0 / 3, 1.0 / 3, 1.0 / 3},
                                RgbRatio{1.7, -0.2, 0.9}, RgbRatio{nan, 1.0, 1.0}}) {
    ReadBuffers buffers(20, 8);
    BitmapRead out;
    ASSERT_EQ(buffers.read(file, out, true, ratios), 20);
    for (int row = 0; row < 5; ++row) {
      for (int x = 0; x < 17; ++x) {
        const std::uint8_t* pixel = &rows[52 * row + 3 * x];
        ASSERT_EQ(buffers.plane[20 * row + x], greyFromBgr(pixel[0], pixel[1], pixel[2], ratios))
            << row << "," << x;
      }
    }
  }
}

TEST(ReadBitmapPicture, QuantizationCountsDitherRowsFromTheLastFileRow) {
  // Every channel 25. The file's rows are quantized as a top-down picture of 2 rows, so the
  // first file row uses matrix row 1 (thresholds 38, 12) and the second row 0 (0, 25):
  // 25 > 38 no, 25 > 12 yes, 25 > 0 yes, 25 > 25 no; raised means level 1 in each channel,
  // index 36 + 6 + 1 = 43.
  const Bytes rows = {25, 25, 25, 25, 25, 25, 0, 0, 25, 25, 25, 25, 25, 25, 0, 0};
  for (const std::int32_t height : {2, -2}) {
    ReadBuffers buffers(16, 16);
    BitmapRead out;
    ASSERT_EQ(buffers.read(assembleBitmap(fields(2, height, 24), {}, rows), out), 4);
    EXPECT_THAT(buffers.planeStart(8), ElementsAre(0, 43, 0, 0, 43, 0, 0, 0)) << height;
    EXPECT_EQ(out.palette, quantizePalette());
  }
}

TEST(ReadBitmapPicture, QuantizesThirtyTwoBitPixels) {
  // White -> 215, black -> 0, (blue 102, green 51, red 255) -> levels 2, 1, 5 -> 72 + 6 + 5.
  const Bytes pixels = {255, 255, 255, 7, 0, 0, 0, 7, 102, 51, 255, 9};
  ReadBuffers buffers(16, 16);
  BitmapRead out;
  ASSERT_EQ(buffers.read(assembleBitmap(fields(3, 1, 32), {}, pixels), out), 4);
  EXPECT_THAT(buffers.planeStart(4), ElementsAre(215, 0, 83, 0));
}

TEST(ReadBitmapPicture, LimitsTheRowLengthRoundedUpToFour) {
  ReadBuffers buffers(1024, 8);
  BitmapRead out;
  EXPECT_EQ(buffers.read(eightBitFile(1021, 1), out), 1024);
  EXPECT_EQ(buffers.read(eightBitFile(1023, 1), out), 1024);
  EXPECT_EQ(buffers.read(eightBitFile(1024, 1), out), 1024);
  EXPECT_EQ(buffers.read(eightBitFile(1025, 1), out), kTooLarge);
  EXPECT_EQ(out.width, 1025);  // the header is reported for the message

  // Under a maximum of 1022, 1021 is refused: its row length is 1024.
  ReadBuffers narrower(1022, 8);
  EXPECT_EQ(narrower.read(eightBitFile(1021, 1), out), kTooLarge);
}

TEST(ReadBitmapPicture, LimitsTheAbsoluteHeight) {
  ReadBuffers buffers(16, 8);
  BitmapRead out;
  EXPECT_EQ(buffers.read(eightBitFile(4, 8), out), 4);
  EXPECT_EQ(buffers.read(eightBitFile(4, -8), out), 4);
  EXPECT_EQ(buffers.read(eightBitFile(4, 9), out), kTooLarge);
  EXPECT_EQ(buffers.read(eightBitFile(4, -9), out), kTooLarge);
}

TEST(ReadBitmapPicture, RefusesHeadersItCannotRead) {
  struct Case {
    const char* what;
    BitmapFields header;
  };
  std::vector<Case> cases;
  const auto add = [&cases](const char* what, auto change) {
    BitmapFields header = fields(4, 4, 8);
    change(header);
    cases.push_back({what, header});
  };
  add("compression 1", [](BitmapFields& h) { h.compression = 1; });
  add("compression 3", [](BitmapFields& h) { h.compression = 3; });
  add("width 0", [](BitmapFields& h) { h.width = 0; });
  add("width -4", [](BitmapFields& h) { h.width = -4; });
  add("height 0", [](BitmapFields& h) { h.height = 0; });
  add("height INT32_MIN", [](BitmapFields& h) { h.height = std::numeric_limits<int32_t>::min(); });
  add("bit count 16", [](BitmapFields& h) { h.bitCount = 16; });
  add("bit count 1", [](BitmapFields& h) { h.bitCount = 1; });
  add("bit count 0", [](BitmapFields& h) { h.bitCount = 0; });
  add("signature BA", [](BitmapFields& h) { h.signature[1] = 'A'; });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Enough bytes after the header for any of these interpretations.
    const Bytes file = assembleBitmap(c.header, testPalette(), Bytes(256, 1));
    ReadBuffers buffers(16, 16);
    BitmapRead out;
    EXPECT_EQ(buffers.read(file, out), kUnsupported);
    EXPECT_EQ(buffers.read(file, out, true), kUnsupported);
    Bytes memory(1024);
    EXPECT_EQ(readIntoMemory(file, memory, 16, 16, out), kUnsupported);
  }
}

TEST(ReadBitmapPicture, ShortFilesAreReadErrorsNotPartialPictures) {
  ReadBuffers buffers(16, 16);
  BitmapRead out;
  const Bytes eightBit = eightBitFile(4, 4);  // 1078 + 16 bytes
  for (const std::size_t length : {std::size_t{1}, std::size_t{30}, std::size_t{53},
                                   std::size_t{54}, std::size_t{1077}, eightBit.size() - 1}) {
    EXPECT_EQ(buffers.read(Bytes(eightBit.begin(), eightBit.begin() + length), out), kReadError)
        << length;
  }
  // 24-bit 3 x 2: rows of 9 bytes padded to 12; the last pad byte is missing.
  const Bytes trueColour = assembleBitmap(fields(3, 2, 24), {}, Bytes(23, 50));
  EXPECT_EQ(buffers.read(trueColour, out), kReadError);
  EXPECT_EQ(buffers.read(trueColour, out, true), kReadError);
}

TEST(ReadBitmapPicture, HugeDimensionsAreRefusedWithoutOverflow) {
  constexpr std::int32_t kHuge = std::numeric_limits<std::int32_t>::max();
  ReadBuffers buffers(16, 16);
  BitmapRead out;
  for (const std::uint16_t bitCount : {8, 24, 32}) {
    SCOPED_TRACE(bitCount);
    EXPECT_EQ(buffers.read(assembleBitmap(fields(kHuge, kHuge, bitCount), {}, {}), out), kTooLarge);
    EXPECT_EQ(buffers.read(assembleBitmap(fields(kHuge, -kHuge, bitCount), {}, {}), out),
              kTooLarge);
    EXPECT_EQ(buffers.read(assembleBitmap(fields(0x40000000, 1, bitCount), {}, {}), out),
              kTooLarge);
    EXPECT_EQ(buffers.read(assembleBitmap(fields(4, 65536, bitCount), {}, {}), out), kTooLarge);
  }
}

TEST(ReadBitmapPicture, ReadsFilesByNameAndFailsOnAMissingOne) {
  TemporaryFolder folder;
  writeBytes(folder.file("a.bmp"), assembleBitmap(fields(2, 1, 8), testPalette(), {4, 5, 0, 0}));
  Bytes plane(64, 0xEE);
  Bytes scratch(256);
  BitmapRead out;
  EXPECT_EQ(readBitmapPicture(folder.file("a.bmp"), plane, 8, 8, false, {}, scratch, out), 4);
  EXPECT_THAT(Bytes(plane.begin(), plane.begin() + 4), ElementsAre(4, 5, 0, 0));
  EXPECT_EQ(readBitmapPicture(folder.file("none.bmp"), plane, 8, 8, false, {}, scratch, out),
            kReadError);
  EXPECT_FALSE(std::filesystem::exists(folder.file("none.bmp")));
}

// ---------------------------------------------------------------------------------------------
// Read bitmap into memory

TEST(ReadBitmapIntoMemory, StoresRowsTopDownWithoutPadding) {
  const Bytes rows = {7, 8, 9, 0, 1, 2, 3, 0};  // bottom row first
  Bytes memory(6, 0xEE);
  BitmapRead out;
  ASSERT_EQ(
      readIntoMemory(assembleBitmap(fields(3, 2, 8), testPalette(), rows), memory, 16, 16, out), 1);
  EXPECT_THAT(memory, ElementsAre(1, 2, 3, 7, 8, 9));
  EXPECT_EQ(paletteBytes(out.palette), testPalette());
  EXPECT_EQ(out.width, 3);
  EXPECT_EQ(out.height, 2);
}

TEST(ReadBitmapIntoMemory, KeepsTrueColourBytesAndClearsThePalette) {
  // 24-bit top-down 2 x 2, rows of 6 bytes padded to 8.
  const Bytes rows = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  Bytes memory(12, 0xEE);
  BitmapRead out;
  out.palette.fill(0x55);
  ASSERT_EQ(readIntoMemory(assembleBitmap(fields(2, -2, 24), {}, rows), memory, 16, 16, out), 3);
  EXPECT_THAT(memory, ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12));
  EXPECT_EQ(out.palette, Palette{});

  // 32-bit bottom-up 1 x 2: the fourth byte is kept.
  Bytes wide(8, 0xEE);
  ASSERT_EQ(readIntoMemory(assembleBitmap(fields(1, 2, 32), {}, {1, 2, 3, 4, 5, 6, 7, 8}), wide, 16,
                           16, out),
            4);
  EXPECT_THAT(wide, ElementsAre(5, 6, 7, 8, 1, 2, 3, 4));
}

TEST(ReadBitmapIntoMemory, LimitsTheWidthItselfAndTheDestination) {
  Bytes memory(1024 * 4);
  BitmapRead out;
  EXPECT_EQ(readIntoMemory(eightBitFile(1021, 1), memory, 1021, 4, out), 1);
  EXPECT_EQ(readIntoMemory(eightBitFile(1022, 1), memory, 1021, 4, out), kTooLarge);
  EXPECT_EQ(readIntoMemory(eightBitFile(8, 5), memory, 1021, 4, out), kTooLarge);
  EXPECT_EQ(readIntoMemory(eightBitFile(8, -5), memory, 1021, 4, out), kTooLarge);
  // 3 x 3 needs 9 bytes.
  Bytes small(8);
  EXPECT_EQ(readIntoMemory(eightBitFile(3, 3), small, 16, 16, out), kTooLarge);
}

TEST(ReadBitmapIntoMemory, FileEndingInsideTheRowsIsAReadError) {
  // 24-bit 3 x 2 needs two rows of 12 bytes; the last row's padding is missing.
  Bytes memory(18);
  BitmapRead out;
  EXPECT_EQ(readIntoMemory(assembleBitmap(fields(3, 2, 24), {}, Bytes(21, 1)), memory, 16, 16, out),
            kReadError);
  // An 8-bit file whose palette is cut short.
  EXPECT_EQ(
      readIntoMemory(assembleBitmap(fields(3, 2, 8), Bytes(1000, 0), {}), memory, 16, 16, out),
      kReadError);
}

// ---------------------------------------------------------------------------------------------
// Read bitmap palette

TEST(ReadBitmapPalette, ReadsThePaletteOfEightBitFilesOnly) {
  Palette palette{};
  const Bytes eightBit = eightBitFile(4, 4);
  MemorySource in(eightBit);
  ASSERT_EQ(readBitmapPalette(in, palette), 0);
  EXPECT_EQ(paletteBytes(palette), testPalette());

  const auto paletteOf = [](const Bytes& file, Palette& target) {
    MemorySource in(file);
    return readBitmapPalette(in, target);
  };
  Palette untouched{};
  untouched.fill(0x33);
  EXPECT_EQ(paletteOf(assembleBitmap(fields(4, 4, 24), {}, Bytes(64, 0)), untouched), kTooLarge);
  BitmapFields compressed = fields(4, 4, 8);
  compressed.compression = 1;
  EXPECT_EQ(paletteOf(assembleBitmap(compressed, testPalette(), {}), untouched), kUnsupported);
  BitmapFields foreign = fields(4, 4, 8);
  foreign.signature[0] = 'X';
  EXPECT_EQ(paletteOf(assembleBitmap(foreign, testPalette(), {}), untouched), kUnsupported);
  EXPECT_EQ(paletteOf(assembleBitmap(fields(4, 4, 8), Bytes(1023, 1), {}), untouched), kReadError);
  EXPECT_THAT(untouched, ::testing::Each(0x33));

  EXPECT_EQ(readBitmapPalette(std::string("/nonexistent/vemla/p.bmp"), palette), kReadError);
}

// ---------------------------------------------------------------------------------------------
// Writers

TEST(WriteBitmap, WritesHeadersPaletteOrGreyRampAndBottomUpPaddedRows) {
  TemporaryFolder folder;
  const std::string path = folder.file("out.bmp");
  const Bytes pixels = {1, 2, 3, 4, 5, 6};  // 3 x 2, top row first
  Palette palette{};
  const Bytes colours = testPalette();
  std::copy(colours.begin(), colours.end(), palette.begin());
  ASSERT_EQ(writeBitmap(path, 3, 2, 1, pixels.data(), &palette), 0);

  BitmapFields expected = fields(3, 2, 8);
  expected.fileSize = 2 * 4 + 1078;
  expected.imageSize = 6;
  expected.coloursUsed = expected.coloursImportant = 256;
  EXPECT_EQ(readBytes(path), assembleBitmap(expected, colours, {4, 5, 6, 0, 1, 2, 3, 0}));

  // Without a palette the grey ramp is written.
  ASSERT_EQ(writeBitmap(path, 3, 2, 1, pixels.data(), nullptr), 0);
  EXPECT_EQ(readBytes(path), assembleBitmap(expected, greyRampBytes(), {4, 5, 6, 0, 1, 2, 3, 0}));
}

TEST(WriteBitmap, WritesTrueColourWithoutPalette) {
  TemporaryFolder folder;
  const std::string path = folder.file("rgb.bmp");
  const Bytes pixels = {1, 2, 3, 4, 5, 6};  // 2 x 1
  ASSERT_EQ(writeBitmap(path, 2, 1, 3, pixels.data(), nullptr), 0);
  BitmapFields expected = fields(2, 1, 24);
  expected.fileSize = 8 + 54;
  expected.imageSize = 6;
  expected.xResolution = expected.yResolution = 1;
  EXPECT_EQ(readBytes(path), assembleBitmap(expected, {}, {1, 2, 3, 4, 5, 6, 0, 0}));
}

TEST(WriteBitmap, RoundTripsThroughBothReaders) {
  TemporaryFolder folder;
  for (const int bytesPerPixel : {1, 3, 4}) {
    SCOPED_TRACE(bytesPerPixel);
    // Odd width so that every row is padded; more rows and paddings than one gathering
    // write takes.
    const int width = 1501;
    const int height = 700;
    Bytes pixels(static_cast<std::size_t>(width) * height * bytesPerPixel);
    for (std::size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = static_cast<std::uint8_t>(i * 7 / 3);
    const std::string path = folder.file("round.bmp");
    ASSERT_EQ(writeBitmap(path, width, height, bytesPerPixel, pixels.data(), nullptr), 0);

    Bytes memory(pixels.size());
    BitmapRead out;
    ASSERT_EQ(readBitmapIntoMemory(path, memory, 2048, 2048, out), bytesPerPixel);
    EXPECT_TRUE(memory == pixels);
    EXPECT_EQ(out.headers, buildBitmapHeaders(bytesPerPixel, width, height));
  }

  // Through the picture reader the rows come back bottom-up with the row length 8.
  const Bytes pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};  // 5 x 2
  ASSERT_EQ(writeBitmap(folder.file("small.bmp"), 5, 2, 1, pixels.data(), nullptr), 0);
  Bytes plane(64, 0xEE);
  Bytes scratch(256);
  BitmapRead out;
  ASSERT_EQ(readBitmapPicture(folder.file("small.bmp"), plane, 8, 8, false, {}, scratch, out), 8);
  EXPECT_THAT(Bytes(plane.begin(), plane.begin() + 16),
              ElementsAre(6, 7, 8, 9, 10, 0, 0, 0, 1, 2, 3, 4, 5, 0, 0, 0));
}

TEST(WriteBitmap, KeepsThePreviousFileWhenAWriteFails) {
  TemporaryFolder folder;
  const std::string path = folder.file("keep.bmp");
  const Bytes previous(100, 0x42);
  writeBytes(path, previous);
  const Bytes pixels(512 * 512, 1);
  {
    const FileSizeLimit limit(4096);
    EXPECT_EQ(writeBitmap(path, 512, 512, 1, pixels.data(), nullptr), -1);
  }
  EXPECT_EQ(readBytes(path), previous);
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(WriteBitmap, FailsWithoutCreatingAnythingWhenItCannotWrite) {
  TemporaryFolder folder;
  const Bytes pixels(64, 1);
  EXPECT_EQ(writeBitmap(folder.file("missing/a.bmp"), 8, 8, 1, pixels.data(), nullptr), -1);
  EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));

  const std::string path = folder.file("b.bmp");
  EXPECT_EQ(writeBitmap(path, 0, 8, 1, pixels.data(), nullptr), -1);
  EXPECT_EQ(writeBitmap(path, 8, 0, 1, pixels.data(), nullptr), -1);
  EXPECT_EQ(writeBitmap(path, 8, 8, 2, pixels.data(), nullptr), -1);
  EXPECT_EQ(writeBitmap(path, 8, 8, 1, nullptr, nullptr), -1);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(WritePictureFile, ChoosesTheFormatByExtensionAndStripsQuotes) {
  TemporaryFolder folder;
  const Bytes pixels = {1, 2, 3, 4, 5, 6, 7, 8};  // 4 x 2
  ASSERT_EQ(writePictureFile("\"" + folder.file("a.bmp") + "\"", 4, 2, 1, pixels.data(), nullptr),
            0);
  EXPECT_EQ(probeBitmap(folder.file("a.bmp")), 8);
  ASSERT_EQ(writePictureFile(folder.file("b.BMP"), 4, 2, 1, pixels.data(), nullptr), 0);
  EXPECT_EQ(probeBitmap(folder.file("b.BMP")), 8);

  ASSERT_EQ(writePictureFile("\"" + folder.file("c.RAW"), 4, 2, 1, pixels.data(), nullptr), 0);
  EXPECT_EQ(readBytes(folder.file("c.RAW")), pixels);
}

TEST(WritePictureFile, RefusesOtherExtensionsAndTrueColourRaw) {
  TemporaryFolder folder;
  const Bytes pixels(4 * 2 * 3, 1);
  EXPECT_EQ(writePictureFile(folder.file("a.jpg"), 4, 2, 1, pixels.data(), nullptr), -1);
  EXPECT_EQ(writePictureFile(folder.file("a.bmpx"), 4, 2, 1, pixels.data(), nullptr), -1);
  EXPECT_EQ(writePictureFile(folder.file("a.raw"), 4, 2, 3, pixels.data(), nullptr), -1);
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

// ---------------------------------------------------------------------------------------------
// Hostile files kept in tests/data/hostile: every one is refused by both readers.

TEST(HostileBitmaps, EveryCorpusFileIsRefusedWithoutCrashing) {
  const std::filesystem::path corpus = std::filesystem::path(VEMLA_TEST_DATA) / "hostile";
  constexpr int kMaxWidth = 1024;
  constexpr int kMaxHeight = 1024;
  Bytes plane(static_cast<std::size_t>(kMaxWidth) * kMaxHeight);
  Bytes scratch(4 * plane.size());
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const std::string path = entry.path().string();
    SCOPED_TRACE(path);
    BitmapRead out;
    probeBitmap(path);
    EXPECT_LT(readBitmapPicture(path, plane, kMaxWidth, kMaxHeight, false, {}, scratch, out), 0);
    EXPECT_LT(readBitmapPicture(path, plane, kMaxWidth, kMaxHeight, true, {}, scratch, out), 0);
    EXPECT_LT(readBitmapIntoMemory(path, scratch, kMaxWidth, kMaxHeight, out), 0);
    Palette palette{};
    readBitmapPalette(path, palette);
  }
  EXPECT_GE(files, 20);
}

}  // namespace
}  // namespace vemla
