#pragma once
// The user program launcher's committed settings: what the launcher dialog shows when it opens
// and what a run without the dialog uses. The program settings file stores them (with reserved
// bytes of its own), a launch file (.vie) carries them from one operator to another.
#include <array>
#include <cstdint>
#include <string>

namespace vemla {

struct LauncherSettings {
  std::string program;
  std::string arguments;
  std::array<std::string, 4> files;
  std::int32_t format = 0;  // 0 bitmap, 1 raw
  std::int32_t output = 0;
  std::int32_t destination = 0;  // 0 none, 1 image 1, 2 image 2
  std::int32_t console = 0;
  std::int32_t showOutput = 0;
  std::int32_t timing = 0;
  std::int32_t close = 0;
  bool operator==(const LauncherSettings&) const = default;
};

}  // namespace vemla
