#pragma once
// What the importer keeps between runs: the table of registered exporters with the target last
// used, and the user name sent with an import request. The program settings file stores them;
// net/export_targets.h holds the operations on them.
#include <array>
#include <cstdint>
#include <string>

namespace vemla::net {

struct ExportTarget {
  std::int32_t used = 0;
  std::string name;                      // at most 63 bytes
  std::array<std::int32_t, 4> octets{};  // most significant first, 0 .. 255 each
  std::string password;                  // at most 63 bytes used of 96
  bool operator==(const ExportTarget&) const = default;
};

struct ExportTargetList {
  std::array<ExportTarget, 16> targets;  // entries in use packed at the front
  ExportTarget last;                     // the target last used (its used flag is not stored)
  std::int32_t selected = -1;            // index of the selected entry, -1 none
  bool operator==(const ExportTargetList&) const = default;
};

struct ImporterSettings {
  std::string userName;  // sent with an import request
  ExportTargetList targets;
  bool operator==(const ImporterSettings&) const = default;
};

}  // namespace vemla::net
