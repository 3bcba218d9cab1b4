#pragma once
// What a vemla-cli verb is and what every verb shares: its `Command` record and the streams it
// writes to, the --settings flag, and the checks and writers of the files a verb names.
#include <functional>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>

#include "cli/args.h"
#include "extensions/user_colours.h"
#include "options/options.h"
#include "picture/palette.h"

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
