// The PNG and TIFF writers, checked by decoding what they wrote with libspng and libtiff.
#include <gtest/gtest.h>
#include <spng.h>
#include <tiffio.h>

#include <filesystem>
#include <memory>

#include "gallery/file_size_limit.h"
#include "picture/bitmap.h"
#include "picture/palette.h"
#include "support/test_files.h"

namespace vemla {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::FileSizeLimit;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

// What a decoder found: the stored kind, the pixels as 1 (grey or index) or 3 (RGB) bytes each,
// and the palette as RGB triples (empty without one).
struct Decoded {
  enum Kind { Grey, Paletted, Rgb, Unreadable } kind = Unreadable;
  int width = 0, height = 0;
  Bytes pixels;
  Bytes paletteRgb;
};

Decoded decodePng(const std::string& path) {
  const Bytes file = readBytes(path);
  Decoded out;
  const std::unique_ptr<spng_ctx, void (*)(spng_ctx*)> ctx(spng_ctx_new(0), spng_ctx_free);
  spng_ihdr header{};
  std::size_t size = 0;
  if (spng_set_png_buffer(ctx.get(), file.data(), file.size()) != 0 ||
      spng_get_ihdr(ctx.get(), &header) != 0 || header.bit_depth != 8 ||
      spng_decoded_image_size(ctx.get(), SPNG_FMT_PNG, &size) != 0) {
    return out;
  }
  out.pixels.resize(size);
  if (spng_decode_image(ctx.get(), out.pixels.data(), size, SPNG_FMT_PNG, 0) != 0) return {};
  out.width = static_cast<int>(header.width);
  out.height = static_cast<int>(header.height);
  out.kind = header.color_type == SPNG_COLOR_TYPE_GRAYSCALE   ? Decoded::Grey
             : header.color_type == SPNG_COLOR_TYPE_INDEXED   ? Decoded::Paletted
             : header.color_type == SPNG_COLOR_TYPE_TRUECOLOR ? Decoded::Rgb
                                                              : Decoded::Unreadable;
  spng_plte plte{};
  if (spng_get_plte(ctx.get(), &plte) == 0) {
    for (std::uint32_t i = 0; i < plte.n_entries; ++i) {
      out.paletteRgb.insert(out.paletteRgb.end(),
                            {plte.entries[i].red, plte.entries[i].green, plte.entries[i].blue});
    }
  }
  return out;
}

Decoded decodeTiff(const std::string& path) {
  Decoded out;
  const std::unique_ptr<TIFF, void (*)(TIFF*)> tiff(TIFFOpen(path.c_str(), "r"), TIFFClose);
  std::uint32_t width = 0, height = 0;
  std::uint16_t bits = 0, samples = 0, photometric = 0, compression = 0;
  if (!tiff || TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) != 1 ||
      TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height) != 1 ||
      TIFFGetField(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bits) != 1 || bits != 8 ||
      TIFFGetField(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &samples) != 1 ||
      TIFFGetField(tiff.get(), TIFFTAG_PHOTOMETRIC, &photometric) != 1 ||
      TIFFGetField(tiff.get(), TIFFTAG_COMPRESSION, &compression) != 1 ||
      compression != COMPRESSION_ADOBE_DEFLATE) {
    return out;
  }
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.pixels.resize(static_cast<std::size_t>(width) * height * samples);
  for (std::uint32_t y = 0; y < height; ++y) {
    if (TIFFReadScanline(tiff.get(), out.pixels.data() + y * width * samples, y, 0) < 0) return {};
  }
  std::uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
  if (photometric == PHOTOMETRIC_PALETTE &&
      TIFFGetField(tiff.get(), TIFFTAG_COLORMAP, &red, &green, &blue) == 1) {
    for (int i = 0; i < 256; ++i) {
      out.paletteRgb.insert(out.paletteRgb.end(), {static_cast<std::uint8_t>(red[i] >> 8),
                                                   static_cast<std::uint8_t>(green[i] >> 8),
                                                   static_cast<std::uint8_t>(blue[i] >> 8)});
    }
  }
  out.kind = photometric == PHOTOMETRIC_MINISBLACK && samples == 1 ? Decoded::Grey
             : photometric == PHOTOMETRIC_PALETTE && samples == 1  ? Decoded::Paletted
             : photometric == PHOTOMETRIC_RGB && samples == 3      ? Decoded::Rgb
                                                                   : Decoded::Unreadable;
  return out;
}

Palette colourPalette() {
  Palette palette{};
  for (int i = 0; i < 256; ++i) {
    const auto at = static_cast<std::size_t>(4 * i);
    palette[at] = static_cast<std::uint8_t>(i);            // blue
    palette[at + 1] = static_cast<std::uint8_t>(255 - i);  // green
    palette[at + 2] = static_cast<std::uint8_t>(i / 2);    // red
  }
  return palette;
}

enum class Given { NoPalette, GreyRamp, ColourPalette };

struct WriterCase {
  const char* name;
  int width, height, bytesPerPixel;
  Given given;
  Decoded::Kind expected;
};

TEST(PictureWriters, RoundTripThroughTheirFormatsDecoders) {
  const WriterCase cases[] = {
      {"grey.png", 9, 8, 1, Given::NoPalette, Decoded::Grey},
      {"ramp.PNG", 13, 9, 1, Given::GreyRamp, Decoded::Grey},
      {"palette.png", 11, 8, 1, Given::ColourPalette, Decoded::Paletted},
      {"bgr.png", 9, 10, 3, Given::ColourPalette, Decoded::Rgb},
      {"bgrx.png", 8, 8, 4, Given::NoPalette, Decoded::Rgb},
      {"grey.tif", 9, 8, 1, Given::NoPalette, Decoded::Grey},
      {"ramp.tiff", 13, 9, 1, Given::GreyRamp, Decoded::Grey},
      {"palette.TIF", 11, 8, 1, Given::ColourPalette, Decoded::Paletted},
      {"bgr.tiff", 9, 10, 3, Given::NoPalette, Decoded::Rgb},
      {"bgrx.tif", 8, 8, 4, Given::ColourPalette, Decoded::Rgb},
  };
  TempDir folder;
  const Palette ramp = greyRamp(), colours = colourPalette();
  for (const WriterCase& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes pixels(static_cast<std::size_t>(c.width) * c.height * c.bytesPerPixel);
    for (std::size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const Palette* palette = c.given == Given::NoPalette  ? nullptr
                             : c.given == Given::GreyRamp ? &ramp
                                                          : &colours;
    const std::string path = folder.file(c.name);
    // Quoted as the dialogs may hand names over.
    ASSERT_EQ(writePictureFile("\"" + path + "\"", c.width, c.height, c.bytesPerPixel,
                               pixels.data(), palette),
              0);
    const std::string extension = std::filesystem::path(path).extension().string();
    const Decoded read =
        extension == ".png" || extension == ".PNG" ? decodePng(path) : decodeTiff(path);
    ASSERT_EQ(read.kind, c.expected);
    EXPECT_EQ(read.width, c.width);
    EXPECT_EQ(read.height, c.height);
    Bytes expected;
    if (c.bytesPerPixel == 1) {
      expected = pixels;
    } else {
      for (std::size_t i = 0; i < pixels.size(); i += c.bytesPerPixel) {
        expected.insert(expected.end(), {pixels[i + 2], pixels[i + 1], pixels[i]});
      }
    }
    EXPECT_EQ(read.pixels, expected);
    if (c.expected == Decoded::Paletted) {
      ASSERT_EQ(read.paletteRgb.size(), 768U);
      for (int i = 0; i < 256; ++i) {
        const auto at = static_cast<std::size_t>(3 * i);
        EXPECT_EQ(read.paletteRgb[at], i / 2);
        EXPECT_EQ(read.paletteRgb[at + 1], 255 - i);
        EXPECT_EQ(read.paletteRgb[at + 2], i);
      }
    }
  }
}

TEST(PictureWriters, KeepThePreviousFileOnFailureAndReplaceALinksTarget) {
  TempDir folder;
  const Bytes previous(100, 0x42);
  // Noise does not compress, so the file outgrows the lowered size limit.
  Bytes pixels(256 * 256);
  std::uint32_t state = 1;
  for (auto& pixel : pixels)
    pixel = static_cast<std::uint8_t>((state = state * 1664525 + 1013904223) >> 24);
  for (const char* name : {"keep.png", "keep.tif"}) {
    SCOPED_TRACE(name);
    const std::string path = folder.file(name);
    writeBytes(path, previous);
    {
      const FileSizeLimit limit(4096);
      EXPECT_EQ(writePictureFile(path, 256, 256, 1, pixels.data(), nullptr), -1);
    }
    EXPECT_EQ(readBytes(path), previous);
    // Written through a link, the link stays and its target holds the picture.
    const std::string link = folder.file(std::string("link-") + name);
    std::filesystem::create_symlink(path, link);
    ASSERT_EQ(writePictureFile(link, 256, 256, 1, pixels.data(), nullptr), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_NE(readBytes(path), previous);
  }
  // Nothing but the two files and their links: no temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            4);
}

TEST(PictureWriters, RefuseWhatTheyCannotWrite) {
  TempDir folder;
  const Bytes pixels(64 * 4, 1);
  for (const char* name : {"a.png", "a.tiff"}) {
    SCOPED_TRACE(name);
    const std::string path = folder.file(name);
    EXPECT_EQ(writePictureFile(path, 0, 8, 1, pixels.data(), nullptr), -1);
    EXPECT_EQ(writePictureFile(path, 8, 8, 2, pixels.data(), nullptr), -1);
    EXPECT_EQ(writePictureFile(path, 8, 8, 1, nullptr, nullptr), -1);
    EXPECT_EQ(writePictureFile(folder.file(std::string("missing/") + name), 8, 8, 1, pixels.data(),
                               nullptr),
              -1);
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

}  // namespace
}  // namespace vemla
