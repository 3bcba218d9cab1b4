#pragma once
// Small PNG, TIFF, JPEG and PGM/PPM files made in memory for tests, fuzz seeds and benchmarks,
// through the libraries' own encoders (PNM by hand). Samples are given as they stand in the
// file: one value per sample, row after row, top-down.
#include <spng.h>
#include <tiffio.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vemla::testing {

struct PngFile {
  int width = 8;
  int height = 8;
  int colourType = SPNG_COLOR_TYPE_GRAYSCALE;
  int bitDepth = 8;
  bool interlaced = false;
  int significantBits = 0;                           // an sBIT chunk for grey when not 0
  std::vector<std::array<std::uint8_t, 3>> palette;  // red, green, blue
};

// `samples`: channels per pixel of the colour type (grey 1, grey+alpha 2, RGB 3, RGBA 4,
// palette 1), each 0 .. 2^depth - 1.
inline std::vector<std::uint8_t> encodePng(const PngFile& f,
                                           const std::vector<std::uint16_t>& samples) {
  const int channels = f.colourType == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA   ? 2
                       : f.colourType == SPNG_COLOR_TYPE_TRUECOLOR       ? 3
                       : f.colourType == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA ? 4
                                                                         : 1;
  // Rows as PNG stores them: packed from the high bit below 8 bits, big-endian at 16.
  const std::size_t rowBytes = (static_cast<std::size_t>(f.width) * channels * f.bitDepth + 7) / 8;
  std::vector<std::uint8_t> raw(rowBytes * f.height, 0);
  for (int y = 0; y < f.height; ++y) {
    for (int i = 0; i < f.width * channels; ++i) {
      const std::uint16_t v = samples[static_cast<std::size_t>(y) * f.width * channels + i];
      std::uint8_t* row = raw.data() + y * rowBytes;
      if (f.bitDepth == 16) {
        row[2 * i] = static_cast<std::uint8_t>(v >> 8);
        row[2 * i + 1] = static_cast<std::uint8_t>(v);
      } else if (f.bitDepth == 8) {
        row[i] = static_cast<std::uint8_t>(v);
      } else {
        const int bit = i * f.bitDepth;
        row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - f.bitDepth - bit % 8));
      }
    }
  }
  spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
  spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
  spng_ihdr ihdr{static_cast<std::uint32_t>(f.width),
                 static_cast<std::uint32_t>(f.height),
                 static_cast<std::uint8_t>(f.bitDepth),
                 static_cast<std::uint8_t>(f.colourType),
                 0,
                 0,
                 static_cast<std::uint8_t>(f.interlaced ? 1 : 0)};
  spng_set_ihdr(ctx, &ihdr);
  if (!f.palette.empty()) {
    spng_plte plte{};
    plte.n_entries = static_cast<std::uint32_t>(f.palette.size());
    for (std::size_t i = 0; i < f.palette.size(); ++i) {
      plte.entries[i] = {f.palette[i][0], f.palette[i][1], f.palette[i][2], 0};
    }
    spng_set_plte(ctx, &plte);
  }
  if (f.significantBits != 0) {
    spng_sbit sbit{};
    sbit.grayscale_bits = static_cast<std::uint8_t>(f.significantBits);
    spng_set_sbit(ctx, &sbit);
  }
  std::vector<std::uint8_t> out;
  if (spng_encode_image(ctx, raw.data(), raw.size(), SPNG_FMT_RAW, SPNG_ENCODE_FINALIZE) == 0) {
    std::size_t size = 0;
    int error = 0;
    auto* png = static_cast<std::uint8_t*>(spng_get_png_buffer(ctx, &size, &error));
    if (png != nullptr) out.assign(png, png + size);
    std::free(png);
  }
  spng_ctx_free(ctx);
  return out;
}

struct TiffFile {
  int width = 8;
  int height = 8;
  int bits = 8;
  int samples = 1;
  int photometric = PHOTOMETRIC_MINISBLACK;
  int compression = COMPRESSION_NONE;
  int rowsPerStrip = 3;
  int tileSize = 0;        // tiles of tileSize x tileSize (a multiple of 16) instead of strips
  int maxSampleValue = 0;  // the tag when not 0
  int pages = 1;           // later pages repeat the first
  bool bigEndian = false;
};

// `samples`: width * height * samples values; the palette (if any) is 256 entries of
// (red, green, blue) 16-bit values made from the entry number.
inline std::vector<std::uint8_t> encodeTiff(const TiffFile& f,
                                            const std::vector<std::uint16_t>& samples) {
  char name[] = "/tmp/vemla-tiff-XXXXXX";
  const int fd = mkstemp(name);
  if (fd < 0) return {};
  ::close(fd);
  TIFF* tiff = TIFFOpen(name, f.bigEndian ? "wb" : "wl");
  const std::size_t pixelBytes = static_cast<std::size_t>(f.bits / 8) * f.samples;
  const auto sample = [&](int x, int y, int s) {
    return samples[(static_cast<std::size_t>(y) * f.width + x) * f.samples + s];
  };
  const auto put = [&](std::uint8_t* at, int x, int y) {
    for (int s = 0; s < f.samples; ++s) {
      const std::uint16_t v = sample(x, y, s);
      if (f.bits == 16) {
        std::memcpy(at + 2 * s, &v, 2);
      } else {
        at[s] = static_cast<std::uint8_t>(v);
      }
    }
  };
  for (int page = 0; page < f.pages && tiff != nullptr; ++page) {
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, f.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, f.height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, f.bits);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, f.samples);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, f.photometric);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, f.compression);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (f.samples == 4) {
      const std::uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
      TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    if (f.maxSampleValue != 0) TIFFSetField(tiff, TIFFTAG_MAXSAMPLEVALUE, f.maxSampleValue);
    std::vector<std::uint16_t> red(256), green(256), blue(256);
    if (f.photometric == PHOTOMETRIC_PALETTE) {
      for (int i = 0; i < 256; ++i) {
        red[i] = static_cast<std::uint16_t>(i * 257);
        green[i] = static_cast<std::uint16_t>((255 - i) * 257);
        blue[i] = static_cast<std::uint16_t>((i / 2) * 257);
      }
      TIFFSetField(tiff, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
    }
    if (f.pages > 1) {
      TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
      TIFFSetField(tiff, TIFFTAG_PAGENUMBER, page, f.pages);
    }
    if (f.tileSize > 0) {
      TIFFSetField(tiff, TIFFTAG_TILEWIDTH, f.tileSize);
      TIFFSetField(tiff, TIFFTAG_TILELENGTH, f.tileSize);
      std::vector<std::uint8_t> tile(static_cast<std::size_t>(f.tileSize) * f.tileSize *
                                     pixelBytes);
      for (int top = 0; top < f.height; top += f.tileSize) {
        for (int left = 0; left < f.width; left += f.tileSize) {
          std::fill(tile.begin(), tile.end(), 0);
          for (int y = top; y < std::min(f.height, top + f.tileSize); ++y) {
            for (int x = left; x < std::min(f.width, left + f.tileSize); ++x) {
              put(tile.data() + ((y - top) * f.tileSize + (x - left)) * pixelBytes, x, y);
            }
          }
          TIFFWriteEncodedTile(tiff, TIFFComputeTile(tiff, left, top, 0, 0), tile.data(),
                               static_cast<tmsize_t>(tile.size()));
        }
      }
    } else {
      TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, f.rowsPerStrip);
      for (int top = 0; top < f.height; top += f.rowsPerStrip) {
        const int rows = std::min(f.rowsPerStrip, f.height - top);
        std::vector<std::uint8_t> strip(static_cast<std::size_t>(rows) * f.width * pixelBytes);
        for (int y = top; y < top + rows; ++y) {
          for (int x = 0; x < f.width; ++x)
            put(strip.data() + ((y - top) * f.width + x) * pixelBytes, x, y);
        }
        TIFFWriteEncodedStrip(tiff, TIFFComputeStrip(tiff, top, 0), strip.data(),
                              static_cast<tmsize_t>(strip.size()));
      }
    }
    TIFFWriteDirectory(tiff);
  }
  if (tiff != nullptr) TIFFClose(tiff);
  std::ifstream in(name, std::ios::binary);
  std::vector<std::uint8_t> out{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
  std::filesystem::remove(name);
  return out;
}

// Grey (`channels` 1) or blue-green-red (3) pixels, quality 100, baseline or progressive.
inline std::vector<std::uint8_t> encodeJpeg(int width, int height, int channels,
                                            const std::vector<std::uint8_t>& pixels,
                                            bool progressive) {
  tjhandle handle = tjInitCompress();
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  std::vector<std::uint8_t> out;
  if (tjCompress2(handle, pixels.data(), width, width * channels, height,
                  channels == 1 ? TJPF_GRAY : TJPF_BGR, &jpeg, &size,
                  channels == 1 ? TJSAMP_GRAY : TJSAMP_444, 100,
                  progressive ? TJFLAG_PROGRESSIVE : 0) == 0) {
    out.assign(jpeg, jpeg + size);
  }
  tjFree(jpeg);
  tjDestroy(handle);
  return out;
}

// "P2", "P3", "P5" or "P6" with a comment after the magic; samples as they stand in the file.
inline std::vector<std::uint8_t> encodePnm(const std::string& magic, int width, int height,
                                           int maxValue,
                                           const std::vector<std::uint16_t>& samples) {
  std::string header = magic + "\n# made by a test\n" + std::to_string(width) + " " +
                       std::to_string(height) + "\n" + std::to_string(maxValue) + "\n";
  std::vector<std::uint8_t> out(header.begin(), header.end());
  const bool text = magic == "P2" || magic == "P3";
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (text) {
      const std::string number = std::to_string(samples[i]) + (i % 12 == 11 ? "\n" : " ");
      out.insert(out.end(), number.begin(), number.end());
    } else if (maxValue > 255) {
      out.push_back(static_cast<std::uint8_t>(samples[i] >> 8));
      out.push_back(static_cast<std::uint8_t>(samples[i]));
    } else {
      out.push_back(static_cast<std::uint8_t>(samples[i]));
    }
  }
  return out;
}

}  // namespace vemla::testing
