#pragma once
// The boundary between core operations and whoever talks to the operator: the windows
// (message boxes, dialogs), vemla-cli (flags and stderr) and test fakes. Core code passes the
// final UTF-8 text, so every implementation shows the system's exact messages.
#include <cstdint>
#include <optional>
#include <string_view>

namespace vemla {

enum class Icon { Warning, Error, Info, Question };
enum class Answer { Yes, No, Cancel };

// Width, height and start offset of a raw file, as the raw file size dialog edits them.
struct RawSize {
  int width = 512;
  int height = 512;
  std::int64_t offset = 0;
  bool operator==(const RawSize&) const = default;
};

// Grey conversion ratios of a true-colour picture, stored in the order R, G, B.
struct RgbRatio {
  double red = 0.299;
  double green = 0.587;
  double blue = 0.114;
  bool operator==(const RgbRatio&) const = default;
};

class UserPort {
 public:
  virtual ~UserPort() = default;
  virtual void tell(Icon icon, std::string_view text, std::string_view title = "Vemla") = 0;
  virtual bool askYesNo(std::string_view text) = 0;
  virtual Answer askYesNoCancel(std::string_view text, Icon icon) = 0;
  // The raw file size dialog. `file` is the name shown (without folder), `bytes` the file size
  // (-1 when unknown). nullopt means cancel.
  virtual std::optional<RawSize> askRawSize(std::string_view file, std::int64_t bytes,
                                            RawSize initial) = 0;
  // The RGB ratio dialog; `titleSuffix` is "(ﾌｧｲﾙ1)", "(ﾌｧｲﾙ2)", a file name or empty.
  // nullopt means cancel.
  virtual std::optional<RgbRatio> askRgbRatio(std::string_view titleSuffix, RgbRatio initial) = 0;
};

// Progress window requests: set text, start with a total, report a count, finish.
class ProgressPort {
 public:
  virtual ~ProgressPort() = default;
  virtual void setText(std::string_view text) = 0;
  virtual void start(int total) = 0;
  virtual void report(int count) = 0;
  virtual void finish() = 0;

  // A wait without a known total that the operator may give up (an export waiting for its
  // importer): shows the busy bar with a "ｷｬﾝｾﾙ" button until finish().
  virtual void startWait() { start(0); }
  // Asked often during such a wait: keeps the window repainted and answers false once the
  // operator has cancelled the wait.
  virtual bool keepWaiting() { return true; }
};

// The wait cursor around work without a count.
class BusyPort {
 public:
  virtual ~BusyPort() = default;
  virtual void begin() = 0;
  virtual void end() = 0;
};

// The wait cursor for the life of a scope.
class BusyScope {
 public:
  explicit BusyScope(BusyPort& busy) : busy_(busy) { busy_.begin(); }
  ~BusyScope() { busy_.end(); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  BusyPort& busy_;
};

}  // namespace vemla
