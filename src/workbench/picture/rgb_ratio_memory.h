#pragma once
// The RGB-ratio dialog opens on the ratios the operator last confirmed in it, which the program
// settings keep from one run to the next, and every confirmed answer becomes the new memory.
#include <cstdint>
#include <optional>
#include <string_view>

#include "ports/ports.h"
#include "workbench/workbench.h"

namespace vemla {

// Passes everything to the operator's port; only the RGB-ratio dialog is changed as above. Hand
// it to a reader that may ask for the ratios of a true-colour picture.
class RgbRatioMemory final : public UserPort {
 public:
  RgbRatioMemory(Workbench& bench, UserPort& user);

  void tell(Icon icon, std::string_view text, std::string_view title = "Vemla") override;
  bool askYesNo(std::string_view text) override;
  Answer askYesNoCancel(std::string_view text, Icon icon) override;
  std::optional<RawSize> askRawSize(std::string_view file, std::int64_t bytes,
                                    RawSize initial) override;
  // `initial` (the standard ratios the reader would use) gives way to the remembered ones.
  std::optional<RgbRatio> askRgbRatio(std::string_view titleSuffix, RgbRatio initial) override;

 private:
  RgbRatio& last_;
  UserPort& user_;
};

}  // namespace vemla
