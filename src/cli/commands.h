#pragma once
// The vemla-cli command table and what the commands share: the user port that answers the
// workbench's dialogs from flags, and the picture-reading flags.
#include <functional>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/args.h"
#include "ports/ports.h"
#include "text/translate.h"
#include "workbench/workbench.h"

namespace vemla::cli {

struct Context {
  std::ostream& out;
  std::ostream& err;
};

struct Command {
  const char* name;
  const char* summary;  // one line for the general usage
  std::string help;     // the text of 'vemla-cli NAME --help'
  std::set<std::string> valueFlags;
  std::set<std::string> switchFlags;  // --help is always accepted
  std::function<int(const Arguments&, Context&)> run;
};

// One function per command, each in its own file (cmd_<name>.cpp).
Command infoCommand();
Command convertCommand();
Command imageCommand();
Command renderCommand();
Command alignCommand();
Command calcCommand();
Command exportCommand();
Command importCommand();
Command archiveCommand();
Command stateCommand();
Command launchCommand();
Command galleryCommand();
Command valuesCommand();
Command profileCommand();
Command measureCommand();
Command scopeCommand();
Command viewCommand();
Command reliefCommand();
Command partialCommand();
Command colourTableCommand();
Command colourImageCommand();
Command editCommand();
Command compareCommand();

// The view flags of 'render' (--cursor, --fine, --mag, --reduced, --zoom-interp and the colour,
// range and grid flags), applied to the workbench once the picture size is known.
void applyViewFlags(const Arguments& args, Workbench& bench);

// "items=N" and the list lines of an archive (archive list, info FILE.vla).
int listArchive(const std::string& file, const Arguments& args, Context& io);
// The seven lines of 'state info' (state info, info FILE.vic).
int describeState(const std::string& file, Context& io);

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

// A refusal found while the arguments are read (an unreadable --settings file): exit 1 with
// the workbench's message.
struct RefusedError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// "--settings FOLDER", accepted by every command: the options of FOLDER/VemlaPinf.dat (the
// factory options when that file does not exist yet) instead of the factory options. Flags
// given on the command line still win. Throws UsageError when FOLDER is not a folder and
// RefusedError when the file cannot be read; a file cut short is read as far as it goes, and
// `notices` (when given) is told that the factory settings fill the rest.
inline constexpr const char* kSettingsFlag = "--settings";
Options settingsOptions(const Arguments& args, std::ostream* notices = nullptr);

// Flags of every command that reads pictures: --max, --raw, --true-colour, --ratios, --sixteen.
inline const std::set<std::string> kReadFlagNames{"--max", "--raw", "--true-colour", "--ratios",
                                                  "--sixteen"};
inline constexpr const char* kReadFlagsHelp =
    "  --raw WxH[+OFF]               size and start offset of .raw pictures\n"
    "  --true-colour quantize|grey   how colour pictures become 8-bit (default quantize)\n"
    "  --ratios R,G,B                grey conversion ratios (default "
    "{GreyRatioR},{GreyRatioG},{GreyRatioB})\n"
    "  --sixteen auto|top|window:LO,HI  how 16-bit grey becomes 8-bit: the significant bits the\n"
    "                                file declares (default), the top 8 bits, or LO..HI\n"
    "  --max WxH                     maximum picture size, {MaxPictureWidth:range}, multiples of "
    "4\n"
    "  --settings FOLDER             options from FOLDER/VemlaPinf.dat (the flags still win)\n";

struct ReadFlags {
  std::string settingsFolder;  // --settings, else empty
  Options options{};  // from --settings, else the factory options; the fields below override
  int maxWidth = Options{}.MaxPictureWidth;
  int maxHeight = Options{}.MaxPictureHeight;
  std::optional<RawSize> raw;
  int trueColourMode = kTrueColourQuantize;
  RgbRatio ratios{};
  SixteenBitConversion sixteenBit{};
};
ReadFlags parseReadFlags(const Arguments& args);

// A workbench started as vemla starts, from the --settings folder (or the factory options) with
// the maximum size, true-colour mode and ratios of the flags; false (after the message) when the
// picture store cannot be had.
bool prepareWorkbench(Workbench& bench, const ReadFlags& flags, UserPort& user);

// Reads one picture as picture 1 is opened (the same readers and messages) and keeps its
// pixels: a picture that goes with a pair (a user program result, a mask), read before the
// pair itself is opened. False after the message.
bool readPictureAlone(Workbench& bench, CliUserPort& user, const std::string& name,
                      std::vector<std::uint8_t>& pixels, int& width, int& height);

// Sets the view state of Image 1 from render's view flags once the picture size is known;
// everything not given keeps the factory setting.
void applyViewFlags(const Arguments& args, Workbench& bench);

// An input whose pixel values are image values must be an 8-bit picture file (a bitmap, PNG,
// TIFF, JPEG or PGM named with its extension); a file of another type
// is a refused open (exit 1, as in the workbench), not a usage error. False after the message.
bool checkEightBitBitmap(const std::string& name, Context& io);

// Output pictures are .bmp or .raw; anything else is refused with the workbench's message.
bool checkOutputName(const std::string& name, Context& io);

// A user colour table file read as the user colour editor's "読み込み" reads it; nullopt after
// the message and the path on stderr.
std::optional<UserColourTable> readColourTableOrTell(const std::string& path, Context& io);

// Writes one 8-bit picture by its extension; tells "保存できません" on failure.
bool writeOutputPicture(const std::string& name, int width, int height, const std::uint8_t* pixels,
                        const Palette& palette, Context& io);

}  // namespace vemla::cli
