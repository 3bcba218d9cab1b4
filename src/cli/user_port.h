#pragma once
// The user port of vemla-cli: the workbench's dialogs answered from flags, its messages on
// stderr.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/args.h"
#include "ports/ports.h"
#include "text/translate.h"

namespace vemla::cli {

// Answers the workbench's dialogs from the command line (the raw size from --raw, the RGB
// ratios from --ratios); messages go to stderr.
class CliUserPort final : public UserPort {
 public:
  CliUserPort(std::ostream& err, std::optional<RawSize> raw, RgbRatio ratios)
      : err_(err), raw_(raw), ratios_(ratios) {}
  // Set when a raw file was opened without --raw: the caller turns it into a usage error.
  bool rawMissing = false;
  // The exit of an open that failed: a usage error when only --raw was missing, else 1 (the
  // workbench has told why).
  int openFailed() const {
    if (rawMissing) throw UsageError("a .raw picture needs --raw WxH[+OFF]");
    return 1;
  }

  // When set, every message names this file on a line of its own (the state file of 'state
  // extract', whose messages do not name it in the window).
  std::string namedFile;

  // The workbench translates what it tells; a text it passed as it stands is translated here.
  void tell(Icon, std::string_view message, std::string_view) override {
    std::string_view shown = text::tr(message);
    if (namedFile.empty()) {
      err_ << shown << '\n';
      return;
    }
    if (shown.ends_with('\n')) shown.remove_suffix(1);
    err_ << shown << '\n' << namedFile << '\n';
  }
  bool askYesNo(std::string_view) override { return false; }
  Answer askYesNoCancel(std::string_view, Icon) override { return Answer::Cancel; }
  std::optional<RawSize> askRawSize(std::string_view, std::int64_t, RawSize) override {
    if (!raw_) rawMissing = true;
    return raw_;
  }
  std::optional<RgbRatio> askRgbRatio(std::string_view, RgbRatio) override { return ratios_; }

 private:
  std::ostream& err_;
  std::optional<RawSize> raw_;
  RgbRatio ratios_;
};

}  // namespace vemla::cli
