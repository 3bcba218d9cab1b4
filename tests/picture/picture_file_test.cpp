#include "picture/picture_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "picture/quantize.h"
#include "picture/sixteen_bit.h"
#include "support/picture_encoders.h"
#include "support/test_files.h"

namespace vemla {
namespace {

using namespace vemla::testing;
using Bytes = std::vector<std::uint8_t>;
using Samples = std::vector<std::uint16_t>;

constexpr int kWidth = 10;  // rows of 10 pixels are padded to 12 in a picture plane
constexpr int kHeight = 9;
constexpr int kMax = 64;

// Sample s of pixel (x, y), below 2^bits: a different value almost everywhere.
std::uint16_t sampleAt(int x, int y, int s, int bits) {
  const std::uint32_t v = static_cast<std::uint32_t>(x * 4099 + y * 257 + s * 1021 + x * y * 31);
  return static_cast<std::uint16_t>(v % (1u << bits));
}

Samples samples(int channels, int bits) {
  Samples out;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int s = 0; s < channels; ++s) out.push_back(sampleAt(x, y, s, bits));
  return out;
}

std::uint8_t scaled(std::uint32_t v, std::uint32_t max) {
  return static_cast<std::uint8_t>((std::min(v, max) * 255 + max / 2) / max);
}

// What one pixel of the read picture must be: one byte, or blue, green, red.
using Expected = std::function<Bytes(int x, int y)>;

Expected greyScaled(int bits, int shift = 0, std::uint32_t max = 0) {
  return [=](int x, int y) {
    const std::uint32_t m = max != 0 ? max : (1u << (bits - shift)) - 1;
    return Bytes{scaled(sampleAt(x, y, 0, bits) >> shift, m)};
  };
}
Expected inverted(int bits, std::uint32_t max) {
  return [=](int x, int y) {
    return Bytes{scaled(max - std::min<std::uint32_t>(sampleAt(x, y, 0, bits), max), max)};
  };
}
Expected index8(int bits) {
  return [=](int x, int y) { return Bytes{static_cast<std::uint8_t>(sampleAt(x, y, 0, bits))}; };
}
Expected colour(int bits) {
  // 16-bit colour keeps its top byte.
  return [=](int x, int y) {
    const int shift = bits - 8;
    return Bytes{static_cast<std::uint8_t>(sampleAt(x, y, 2, bits) >> shift),
                 static_cast<std::uint8_t>(sampleAt(x, y, 1, bits) >> shift),
                 static_cast<std::uint8_t>(sampleAt(x, y, 0, bits) >> shift)};
  };
}
// RGB + alpha: the colour of the first three samples of four.
Expected colourOfFour() {
  return [](int x, int y) {
    return Bytes{static_cast<std::uint8_t>(sampleAt(x, y, 2, 8)),
                 static_cast<std::uint8_t>(sampleAt(x, y, 1, 8)),
                 static_cast<std::uint8_t>(sampleAt(x, y, 0, 8))};
  };
}

Bytes png(int type, int depth, int channels, bool interlaced = false, int sbit = 0) {
  PngFile f{kWidth, kHeight, type, depth, interlaced, sbit, {}};
  if (type == SPNG_COLOR_TYPE_INDEXED) {
    for (int i = 0; i < (1 << depth); ++i) {
      f.palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                           static_cast<std::uint8_t>(i / 2)});
    }
  }
  return encodePng(f, samples(channels, depth));
}

Bytes tiff(TiffFile f, int bits) {
  f.width = kWidth;
  f.height = kHeight;
  return encodeTiff(f, samples(f.samples, bits));
}

Bytes pixelsOf(int channels) {
  Bytes out;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int c = 0; c < channels; ++c) out.push_back(static_cast<std::uint8_t>(40 * c + 100));
  return out;
}

struct ReadCase {
  const char* name;
  Bytes file;
  int bitCount;
  Expected pixel;
  std::string note;
  int tolerance = 0;  // JPEG is lossy
};

std::vector<ReadCase> readCases() {
  using T = TiffFile;
  const SixteenBitConversion significant{};
  (void)significant;
  return {
      {"png grey 1", png(SPNG_COLOR_TYPE_GRAYSCALE, 1, 1), 8, greyScaled(1), ""},
      {"png grey 2", png(SPNG_COLOR_TYPE_GRAYSCALE, 2, 1), 8, greyScaled(2), ""},
      {"png grey 4", png(SPNG_COLOR_TYPE_GRAYSCALE, 4, 1), 8, greyScaled(4), ""},
      {"png grey 8", png(SPNG_COLOR_TYPE_GRAYSCALE, 8, 1), 8, greyScaled(8), ""},
      {"png grey 8 interlaced", png(SPNG_COLOR_TYPE_GRAYSCALE, 8, 1, true), 8, greyScaled(8), ""},
      {"png grey 16", png(SPNG_COLOR_TYPE_GRAYSCALE, 16, 1), 8, greyScaled(16), " [16→8 0–65535]"},
      {"png grey 16 with 12 significant bits", png(SPNG_COLOR_TYPE_GRAYSCALE, 16, 1, false, 12), 8,
       greyScaled(16, 4), " [16→8 0–4095]"},
      {"png grey 16 interlaced", png(SPNG_COLOR_TYPE_GRAYSCALE, 16, 1, true), 8, greyScaled(16),
       " [16→8 0–65535]"},
      {"png grey+alpha 8", png(SPNG_COLOR_TYPE_GRAYSCALE_ALPHA, 8, 2), 8, greyScaled(8), ""},
      {"png grey+alpha 16", png(SPNG_COLOR_TYPE_GRAYSCALE_ALPHA, 16, 2), 8, greyScaled(16),
       " [16→8 0–65535]"},
      {"png palette 1", png(SPNG_COLOR_TYPE_INDEXED, 1, 1), 8, index8(1), ""},
      {"png palette 4", png(SPNG_COLOR_TYPE_INDEXED, 4, 1), 8, index8(4), ""},
      {"png palette 8", png(SPNG_COLOR_TYPE_INDEXED, 8, 1), 8, index8(8), ""},
      {"png rgb 8", png(SPNG_COLOR_TYPE_TRUECOLOR, 8, 3), 24, colour(8), ""},
      {"png rgb 16", png(SPNG_COLOR_TYPE_TRUECOLOR, 16, 3), 24, colour(16), ""},
      {"png rgba 8", png(SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 8, 4), 24, colourOfFour(), ""},
      {"png rgb 8 interlaced", png(SPNG_COLOR_TYPE_TRUECOLOR, 8, 3, true), 24, colour(8), ""},
      {"tiff grey 8 strips", tiff(T{}, 8), 8, greyScaled(8), ""},
      {"tiff grey 8 big-endian", tiff(T{.bigEndian = true}, 8), 8, greyScaled(8), ""},
      {"tiff grey 8 one strip", tiff(T{.rowsPerStrip = 100}, 8), 8, greyScaled(8), ""},
      {"tiff grey 8 lzw", tiff(T{.compression = COMPRESSION_LZW}, 8), 8, greyScaled(8), ""},
      {"tiff grey 8 deflate", tiff(T{.compression = COMPRESSION_ADOBE_DEFLATE}, 8), 8,
       greyScaled(8), ""},
      {"tiff grey 8 packbits", tiff(T{.compression = COMPRESSION_PACKBITS}, 8), 8, greyScaled(8),
       ""},
      {"tiff grey 8 tiles", tiff(T{.tileSize = 16}, 8), 8, greyScaled(8), ""},
      {"tiff grey 8 min-is-white", tiff(T{.photometric = PHOTOMETRIC_MINISWHITE}, 8), 8,
       inverted(8, 255), ""},
      {"tiff grey 16", tiff(T{.bits = 16}, 16), 8, greyScaled(16), " [16→8 0–65535]"},
      {"tiff grey 16 max 4095 lzw tiles",
       tiff(T{.bits = 16, .compression = COMPRESSION_LZW, .tileSize = 16, .maxSampleValue = 4095},
            12),
       8, greyScaled(12), " [16→8 0–4095]"},
      {"tiff grey 16 max 4095 min-is-white",
       tiff(T{.bits = 16, .photometric = PHOTOMETRIC_MINISWHITE, .maxSampleValue = 4095}, 12), 8,
       inverted(12, 4095), " [16→8 0–4095]"},
      {"tiff grey 16 big-endian", tiff(T{.bits = 16, .bigEndian = true}, 16), 8, greyScaled(16),
       " [16→8 0–65535]"},
      {"tiff palette 8", tiff(T{.photometric = PHOTOMETRIC_PALETTE}, 8), 8, index8(8), ""},
      {"tiff rgb 8", tiff(T{.samples = 3, .photometric = PHOTOMETRIC_RGB}, 8), 24, colour(8), ""},
      {"tiff rgba 8 deflate tiles",
       tiff(T{.samples = 4,
              .photometric = PHOTOMETRIC_RGB,
              .compression = COMPRESSION_ADOBE_DEFLATE,
              .tileSize = 16},
            8),
       24, colourOfFour(), ""},
      {"tiff first of 3 pages", tiff(T{.pages = 3}, 8), 8, greyScaled(8), " [1/3]"},
      {"jpeg grey", encodeJpeg(kWidth, kHeight, 1, pixelsOf(1), false), 8,
       [](int, int) { return Bytes{100}; }, "", 2},
      {"jpeg colour progressive", encodeJpeg(kWidth, kHeight, 3, pixelsOf(3), true), 24,
       [](int, int) {
         return Bytes{100, 140, 180};
       },
       "", 2},
      {"pgm text", encodePnm("P2", kWidth, kHeight, 255, samples(1, 8)), 8, greyScaled(8), ""},
      {"pgm text maxval 15", encodePnm("P2", kWidth, kHeight, 15, samples(1, 4)), 8, greyScaled(4),
       ""},
      {"pgm binary", encodePnm("P5", kWidth, kHeight, 255, samples(1, 8)), 8, greyScaled(8), ""},
      {"pgm binary maxval 4095", encodePnm("P5", kWidth, kHeight, 4095, samples(1, 12)), 8,
       greyScaled(12), " [16→8 0–4095]"},
      {"ppm text", encodePnm("P3", kWidth, kHeight, 255, samples(3, 8)), 24, colour(8), ""},
      {"ppm binary", encodePnm("P6", kWidth, kHeight, 255, samples(3, 8)), 24, colour(8), ""},
  };
}

void expectPixels(const ReadCase& c, const std::uint8_t* pixels, std::size_t stride,
                  int bytesPerPixel) {
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const Bytes want = c.pixel(x, y);
      ASSERT_EQ(static_cast<int>(want.size()), bytesPerPixel) << c.name;
      for (int b = 0; b < bytesPerPixel; ++b) {
        const int got = pixels[y * stride + x * bytesPerPixel + b];
        ASSERT_NEAR(got, want[b], c.tolerance) << c.name << " at " << x << "," << y;
      }
    }
  }
}

TEST(PictureFile, EveryFormatReadsIntoMemoryAndIntoAPlane) {
  for (const ReadCase& c : readCases()) {
    ASSERT_FALSE(c.file.empty()) << c.name;
    EXPECT_EQ(probePicture(c.file), c.bitCount) << c.name;

    Bytes memory(kWidth * kHeight * 3);
    PictureRead read;
    ASSERT_EQ(readPictureIntoMemory(c.file, memory, kMax, kMax, {}, read), c.bitCount / 8)
        << c.name;
    EXPECT_EQ(read.width, kWidth);
    EXPECT_EQ(read.height, kHeight);
    EXPECT_EQ(read.note, c.note) << c.name;
    expectPixels(c, memory.data(), kWidth * c.bitCount / 8, c.bitCount / 8);

    if (c.bitCount != 8) continue;
    // Into a plane: rows padded to 12 with zeros, top-down, the file's palette.
    Bytes plane(kMax * kMax, 0xEE), scratch(4 * kMax * kMax);
    PictureRead planeRead;
    ASSERT_EQ(readPicture(c.file, plane, kMax, kMax, false, {}, {}, scratch, planeRead), 12)
        << c.name;
    EXPECT_TRUE(planeRead.topDown);
    EXPECT_EQ(planeRead.palette, read.palette);
    expectPixels(c, plane.data(), 12, 1);
    for (int y = 0; y < kHeight; ++y) {
      EXPECT_EQ(plane[y * 12 + 10], 0) << c.name;
      EXPECT_EQ(plane[y * 12 + 11], 0) << c.name;
    }
  }
}

TEST(PictureFile, PalettesComeFromTheFile) {
  for (const Bytes& file : {png(SPNG_COLOR_TYPE_INDEXED, 8, 1),
                            tiff(TiffFile{.photometric = PHOTOMETRIC_PALETTE}, 8)}) {
    Bytes memory(kWidth * kHeight);
    PictureRead read;
    ASSERT_EQ(readPictureIntoMemory(file, memory, kMax, kMax, {}, read), 1);
    for (int i : {0, 7, 200, 255}) {
      EXPECT_EQ(read.palette[4 * i], i / 2);        // blue
      EXPECT_EQ(read.palette[4 * i + 1], 255 - i);  // green
      EXPECT_EQ(read.palette[4 * i + 2], i);        // red
    }
  }
}

// Colour files go through the bitmap reader's conversions: grey by ratios or quantization.
TEST(PictureFile, ColourBecomesGreyOrQuantizedAsBitmapsDo) {
  const Bytes file = encodePnm("P6", kWidth, kHeight, 255, samples(3, 8));
  Bytes grey(kMax * kMax), quantized(kMax * kMax), scratch(4 * kMax * kMax);
  PictureRead read;
  const RgbRatio ratios{0.299, 0.587, 0.114};
  ASSERT_EQ(readPicture(file, grey, kMax, kMax, true, ratios, {}, scratch, read), 12);
  EXPECT_EQ(read.palette, greyRamp());
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const Bytes bgr = colour(8)(x, y);
      ASSERT_EQ(grey[y * 12 + x], greyFromBgr(bgr[0], bgr[1], bgr[2], ratios));
    }
  }
  ASSERT_EQ(readPicture(file, quantized, kMax, kMax, false, ratios, {}, scratch, read), 12);
  EXPECT_EQ(read.palette, quantizePalette());
}

// A minimal little-endian TIFF: one strip of `width` x `height` 8-bit grey pixels that the file
// need not hold, with the given photometric and bits per sample.
Bytes tinyTiff(std::uint32_t width, std::uint32_t height, std::uint16_t photometric = 1,
               std::uint16_t bits = 8, std::uint16_t samples = 1) {
  Bytes out{'I', 'I', 42, 0, 8, 0, 0, 0};
  const std::vector<std::array<std::uint32_t, 3>> entries{
      {256, 4, width}, {257, 4, height},  {258, 3, bits},   {262, 3, photometric},
      {273, 4, 200},   {277, 3, samples}, {278, 4, height}, {279, 4, width * height}};
  putLe(out, entries.size(), 2);
  for (const auto& [tag, type, value] : entries) {
    putLe(out, tag, 2);
    putLe(out, type, 2);
    putLe(out, 1, 4);
    putLe(out, value, 4);
  }
  putLe(out, 0, 4);
  out.resize(264, 7);
  return out;
}

std::uint32_t crc32(const std::uint8_t* bytes, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= bytes[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

// The signature and an IHDR of the given size (8-bit grey), correct to its checksum, then
// an IDAT of garbage: a hundred bytes that claim a huge picture.
Bytes hugePngHeader(std::uint32_t width, std::uint32_t height) {
  Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (std::uint32_t v : {width, height}) {
    for (int shift : {24, 16, 8, 0}) out.push_back(static_cast<std::uint8_t>(v >> shift));
  }
  out.insert(out.end(), {8, 0, 0, 0, 0});
  const std::uint32_t crc = crc32(out.data() + 12, 17);
  for (int shift : {24, 16, 8, 0}) out.push_back(static_cast<std::uint8_t>(crc >> shift));
  out.resize(100, 0x55);
  return out;
}

Bytes cut(Bytes file, std::size_t keep) {
  file.resize(std::min(keep, file.size()));
  return file;
}

struct RefusalCase {
  const char* name;
  Bytes file;
  int probe;   // probePicture
  int result;  // readPicture and readPictureIntoMemory
};

TEST(PictureFile, DamagedHostileAndUntakenFilesAreRefusedWithTheBitmapResults) {
  const Bytes goodPng = png(SPNG_COLOR_TYPE_GRAYSCALE, 8, 1);
  Bytes noise(64 * 64 * 3);
  for (std::size_t i = 0; i < noise.size(); ++i)
    noise[i] = static_cast<std::uint8_t>(i * 7919 % 251);
  const Bytes goodJpeg = encodeJpeg(64, 64, 3, noise, false);
  const Bytes goodTiff = tiff(TiffFile{.compression = COMPRESSION_LZW}, 8);
  const Bytes text(80, 'x');
  const std::string pgmShort = "P5\n10 9\n255\n" + std::string(89, 'a');
  const std::string pgmHuge = "P5 70000 70000 255\n";
  const std::string pgmMaxval = "P2 10 9 70000\n";
  const std::string pgmLetters = "P2 10 9 255\n1 2 x";
  const auto bytes = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
  const std::vector<RefusalCase> cases{
      {"png cut after its header", cut(goodPng, 60), 8, kReadError},
      // Too short to be told from other bytes: bytes no reader knows.
      {"png cut inside its signature", cut(goodPng, 6), kUnsupported, kUnsupported},
      {"png of 60000 x 60000 in 100 bytes", hugePngHeader(60000, 60000), 8, kTooLarge},
      {"png one pixel wider than the limit", hugePngHeader(kMax + 1, 8), 8, kTooLarge},
      {"tiff of 60000 x 60000", tinyTiff(60000, 60000), 8, kTooLarge},
      {"tiff whose strip lies beyond the end", tinyTiff(16, 16), 8, kReadError},
      {"tiff cut in half", cut(goodTiff, goodTiff.size() / 2), kReadError, kReadError},
      {"tiff cmyk", tinyTiff(8, 8, 5), kUnsupported, kUnsupported},
      {"tiff 4-bit grey", tinyTiff(8, 8, 1, 4), 4, kUnsupported},
      {"tiff whose bits times samples exceed an int", tinyTiff(8, 8, 1, 47112, 47288), INT_MAX,
       kUnsupported},
      {"jpeg cut", cut(goodJpeg, goodJpeg.size() / 2), 24, kReadError},
      {"jpeg header only", cut(goodJpeg, 3), kReadError, kReadError},
      {"pgm short of pixels", bytes(pgmShort), 8, kReadError},
      {"pgm of 70000 x 70000", bytes(pgmHuge), 8, kTooLarge},
      {"pgm maxval beyond 16 bits", bytes(pgmMaxval), kReadError, kReadError},
      {"pgm text with a letter", bytes(pgmLetters), 8, kReadError},
      {"no known first bytes", text, kUnsupported, kUnsupported},
  };
  for (const RefusalCase& c : cases) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(probePicture(c.file), c.probe) << c.name;
    Bytes plane(kMax * kMax), scratch(4 * kMax * kMax), memory(kMax * kMax * 3);
    PictureRead read;
    EXPECT_EQ(readPicture(c.file, plane, kMax, kMax, false, {}, {}, scratch, read), c.result)
        << c.name;
    EXPECT_EQ(readPictureIntoMemory(c.file, memory, kMax, kMax, {}, read), c.result) << c.name;
    // The libraries' own complaints never reach the terminal.
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << c.name;
  }
}

TEST(PictureFile, PathsReadTheSameAsBytesAndRawStaysOut) {
  TempDir folder;
  const Bytes file = png(SPNG_COLOR_TYPE_GRAYSCALE, 16, 1, false, 12);
  // The name says bitmap; the first bytes say PNG, and they decide.
  writeBytes(folder.file("named wrongly.bmp"), file);
  Bytes memory(kWidth * kHeight);
  PictureRead read;
  EXPECT_EQ(probePicture(folder.file("named wrongly.bmp")), 8);
  ASSERT_EQ(readPictureIntoMemory(folder.file("named wrongly.bmp"), memory, kMax, kMax, {}, read),
            1);
  EXPECT_EQ(read.note, " [16→8 0–4095]");
  EXPECT_EQ(readPictureIntoMemory(folder.file("missing.png"), memory, kMax, kMax, {}, read),
            kReadError);
  for (const char* name :
       {"a.png", "b.TIF", "c.tiff", "d.jpg", "e.JPEG", "f.pgm", "g.ppm", "h.bmp"}) {
    EXPECT_TRUE(isPictureName(name)) << name;
  }
  for (const char* name : {"a.raw", "png", ".png", "a.txt", "a.png.txt"}) {
    EXPECT_FALSE(isPictureName(name)) << name;
  }
}

struct SixteenCase {
  SixteenBitConversion conversion;
  std::uint16_t maxValue;
  int shift;
  std::vector<std::pair<std::uint16_t, std::uint8_t>> samples;
  const char* note;
};

TEST(SixteenBit, EachRuleMapsSamplesAndNamesItsRange) {
  using R = SixteenBitRule;
  const std::vector<SixteenCase> cases{
      {{}, 4095, 0, {{0, 0}, {2048, 128}, {4095, 255}, {5000, 255}}, "[16→8 0–4095]"},
      {{}, 4095, 4, {{0x000F, 0}, {0x8000, 128}, {0xFFF0, 255}}, "[16→8 0–4095]"},
      {{}, 65535, 0, {{257, 1}, {65535, 255}, {128, 0}, {129, 1}}, "[16→8 0–65535]"},
      {{}, 0, 0, {{0, 0}, {1, 255}}, "[16→8 0–1]"},
      {{R::Window, 1000, 2000},
       4095,
       4,
       {{999, 0}, {1000, 0}, {1500, 128}, {2000, 255}, {3000, 255}},
       "[16→8 1000–2000]"},
      {{R::Window, 500, 500}, 0, 0, {{500, 0}, {501, 255}}, "[16→8 500–501]"},
      {{R::TopByte, 0, 0},
       4095,
       4,
       {{0x12FF, 0x12}, {0xFFFF, 0xFF}, {0x00FF, 0}},
       "[16→8 0–65535]"},
  };
  for (const SixteenCase& c : cases) {
    const SixteenBitMap map(c.conversion, c.maxValue, c.shift);
    EXPECT_EQ(map.note(), c.note);
    for (const auto& [sample, value] : c.samples) {
      EXPECT_EQ(map(sample), value) << c.note << " sample " << sample;
    }
  }
}

TEST(SixteenBit, TheRuleChosenReachesEveryFormat) {
  const SixteenBitConversion window{SixteenBitRule::Window, 1000, 2000};
  const Bytes pgm = encodePnm("P5", kWidth, kHeight, 4095, Samples(kWidth * kHeight, 1500));
  TiffFile t{.bits = 16};
  const Bytes tif = tiff(t, 16);
  for (const Bytes& file : {pgm, tif, png(SPNG_COLOR_TYPE_GRAYSCALE, 16, 1)}) {
    Bytes memory(kWidth * kHeight);
    PictureRead read;
    ASSERT_EQ(readPictureIntoMemory(file, memory, kMax, kMax, window, read), 1);
    EXPECT_EQ(read.note, " [16→8 1000–2000]");
  }
  Bytes memory(kWidth * kHeight);
  PictureRead read;
  ASSERT_EQ(readPictureIntoMemory(pgm, memory, kMax, kMax, window, read), 1);
  EXPECT_EQ(memory[0], 128);
}

}  // namespace
}  // namespace vemla
