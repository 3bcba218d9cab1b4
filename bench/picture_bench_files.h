#pragma once
// The 4096 x 4096 PNG and TIFF files of the picture reading benchmarks, written once per run
// by the tests' encoders and removed at exit.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/picture_encoders.h"
#include "support/test_files.h"

namespace vemla::bench {

constexpr int kReadSide = 4096;
constexpr std::size_t kPictureBytes = std::size_t{kReadSide} * kReadSide;

enum class BenchFile { Png8, Tiff8, Tiff16 };

// A textured picture (smooth waves with fine grain), so PNG compresses as photographs do.
inline std::vector<std::uint16_t> benchSamples(int bits) {
  std::vector<std::uint16_t> samples(kPictureBytes);
  for (int y = 0; y < kReadSide; ++y) {
    for (int x = 0; x < kReadSide; ++x) {
      const unsigned grain = (static_cast<unsigned>(x) * 2654435761u ^ y * 40503u) >> 29;
      const unsigned wave = (x * 3 + y * 5 + ((x * y) >> 9)) & 0xFF;
      samples[static_cast<std::size_t>(y) * kReadSide + x] =
          static_cast<std::uint16_t>(((wave + grain) & 0xFF) << (bits - 8));
    }
  }
  return samples;
}

inline std::string benchFile(BenchFile which) {
  static std::map<BenchFile, std::string> made;
  if (const auto found = made.find(which); found != made.end()) return found->second;
  const char* chosen = std::getenv("VEMLA_BENCH_DIR");
  const std::string folder =
      chosen ? chosen : (std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp");
  const char* names[] = {"8.png", "8.tif", "16.tif"};
  const std::string path =
      folder + "/vemla-bench-" + std::to_string(::getpid()) + "-" + names[static_cast<int>(which)];
  switch (which) {
    case BenchFile::Png8:
      testing::writeBytes(
          path, testing::encodePng({.width = kReadSide, .height = kReadSide}, benchSamples(8)));
      break;
    case BenchFile::Tiff8:
      // One strip: the pixels follow the 8-byte header, as the memcpy baseline assumes.
      testing::writeBytes(
          path,
          testing::encodeTiff({.width = kReadSide, .height = kReadSide, .rowsPerStrip = kReadSide},
                              benchSamples(8)));
      break;
    case BenchFile::Tiff16:
      testing::writeBytes(path, testing::encodeTiff({.width = kReadSide,
                                                     .height = kReadSide,
                                                     .bits = 16,
                                                     .rowsPerStrip = 64,
                                                     .maxSampleValue = 4095},
                                                    benchSamples(12)));
      break;
  }
  made[which] = path;
  static const struct Cleanup {
    ~Cleanup() {
      for (const auto& entry : made) std::remove(entry.second.c_str());
    }
  } cleanup;
  return path;
}

}  // namespace vemla::bench
