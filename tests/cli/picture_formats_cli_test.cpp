// vemla-cli reads PNG, TIFF, JPEG and PGM/PPM wherever it reads a picture: a smoke test of the
// verbs through the in-process runner.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/cli_run.h"
#include "support/picture_encoders.h"
#include "support/test_files.h"

namespace vemla::cli {
namespace {

using namespace vemla::testing;

// Large enough for the alignment of compare's default picture control.
constexpr int kWidth = 64;
constexpr int kHeight = 64;

std::vector<std::uint16_t> ramp(int shift) {
  std::vector<std::uint16_t> out;
  for (int i = 0; i < kWidth * kHeight; ++i)
    out.push_back(static_cast<std::uint16_t>((i % 90) << shift));
  return out;
}

class PictureFormatsCli : public ::testing::Test {
 protected:
  PictureFormatsCli() {
    std::filesystem::create_directories(dir.file("ref"));
    std::filesystem::create_directories(dir.file("test"));
    png = dir.file("ref/a.png");
    tif = dir.file("ref/b.tif");
    writeBytes(png, encodePng({.width = kWidth, .height = kHeight}, ramp(0)));
    // 16-bit samples of which 12 bits are significant: i * 32, up to 89 * 32 = 2848 of 4095.
    writeBytes(tif,
               encodeTiff({.width = kWidth, .height = kHeight, .bits = 16, .maxSampleValue = 4095},
                          ramp(5)));
    std::filesystem::copy_file(png, dir.file("test/a.png"));
    std::filesystem::copy_file(tif, dir.file("test/b.tif"));
  }
  TempDir dir;
  std::string png, tif;
};

TEST_F(PictureFormatsCli, InfoConvertAndFolderCompareReadPngAnd16BitTiff) {
  EXPECT_EQ(run({"info", png}).out, "png 64 64 8 top-down\n");
  EXPECT_EQ(run({"info", tif}).out, "tiff 64 64 8 top-down [16→8 0–4095]\n");

  const std::string raw = dir.file("a.raw");
  const CliRun converted = run({"convert", png, raw});
  ASSERT_EQ(converted.status, 0) << converted.err;
  const auto pngBytes = readBytes(raw);
  ASSERT_EQ(pngBytes.size(), 4096u);
  EXPECT_EQ(pngBytes[37], 37);

  const CliRun sixteen = run({"convert", tif, raw});
  ASSERT_EQ(sixteen.status, 0) << sixteen.err;
  const auto tifBytes = readBytes(raw);
  ASSERT_EQ(tifBytes.size(), 4096u);
  EXPECT_EQ(tifBytes[89], (89 * 32 * 255 + 2047) / 4095);  // 2848 of 0-4095, rounded

  const CliRun compared = run({"compare", dir.file("ref"), dir.file("test")});
  EXPECT_EQ(compared.status, 0) << compared.err;
  EXPECT_NE(compared.out.find("pairs=2 exceeds=0"), std::string::npos) << compared.out;
}

}  // namespace
}  // namespace vemla::cli
