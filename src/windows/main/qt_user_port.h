#pragma once
#include <QPointer>
#include <QWidget>
#include <optional>
#include <string>
#include <utility>

#include "options/options.h"
#include "ports/ports.h"

namespace vemla {

// The windows' UserPort: message boxes titled "Vemla" with plain text (a pseudo-name such as
// "<b>" must not render as markup) and Japanese buttons, and the raw size and RGB ratio dialogs.
class QtUserPort final : public UserPort {
 public:
  QtUserPort(QWidget* parent, const Options& options) : parent_(parent), options_(options) {}
  void setParent(QWidget* parent) { parent_ = parent; }
  // The size of raw file `file`, already given: the next question about that file is answered
  // with it without the dialog.
  void presetRawSize(std::string file, RawSize size) { preset_ = {std::move(file), size}; }

  void tell(Icon icon, std::string_view text, std::string_view title = "Vemla") override;
  bool askYesNo(std::string_view text) override;
  Answer askYesNoCancel(std::string_view text, Icon icon) override;
  std::optional<RawSize> askRawSize(std::string_view file, std::int64_t bytes,
                                    RawSize initial) override;
  std::optional<RgbRatio> askRgbRatio(std::string_view titleSuffix, RgbRatio initial) override;

 private:
  QPointer<QWidget> parent_;
  const Options& options_;
  std::optional<std::pair<std::string, RawSize>> preset_;
};

}  // namespace vemla
