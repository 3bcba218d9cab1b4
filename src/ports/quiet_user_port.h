#pragma once
// A UserPort for work that runs without an operator (benchmarks, fuzz targets, generators):
// it keeps every message told and declines every question and dialog.
#include <string>
#include <vector>

#include "ports/ports.h"

namespace vemla {

class QuietUserPort final : public UserPort {
 public:
  std::vector<std::string> told;

  void tell(Icon, std::string_view text, std::string_view) override { told.emplace_back(text); }
  bool askYesNo(std::string_view) override { return false; }
  Answer askYesNoCancel(std::string_view, Icon) override { return Answer::Cancel; }
  std::optional<RawSize> askRawSize(std::string_view, std::int64_t, RawSize) override {
    return std::nullopt;
  }
  std::optional<RgbRatio> askRgbRatio(std::string_view, RgbRatio) override { return std::nullopt; }
};

}  // namespace vemla
