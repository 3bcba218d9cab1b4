#pragma once
// The program's own options file, "VemlaOptions.txt" beside the settings files: the options
// that the settings files have no field for (the rows of the option table stored as
// OptionStore::OwnOptions), so that those files keep their byte layout. UTF-8 text, one
// "Name=value" line per option in the table's order, under a "#" comment:
//   # Vemla: options beyond the settings files (UTF-8, Name=value)
//   SixteenBit=auto
// Values: flags 0/1, integers and colours in decimal, reals as the shortest decimal that reads
// back the same, texts as they are, the 16-bit conversion as "auto" (the significant bits the
// file declares), "top" (the top 8 bits) or "window:LOWER,UPPER".
// A new option of ours is one row of the option table with that store; nothing here changes.
#include <optional>
#include <string>
#include <string_view>

#include "options/options.h"
#include "persist/settings_io.h"
#include "text/translate.h"

namespace vemla::persist {

inline constexpr const char* kOwnOptionsFile = "VemlaOptions.txt";
// The reader takes at most this many bytes of the file, and lines of at most kOwnOptionsLine
// bytes; a longer file or line counts as damaged.
inline constexpr std::size_t kOwnOptionsLimit = 64 * 1024;
inline constexpr std::size_t kOwnOptionsLine = 1024;

std::string encodeOwnOptions(const Options& options);

// Reads the lines of the file into the OwnOptions rows of `options` (the other options are not
// touched): blank lines and "#" comments are skipped, a line may end in CR LF, blanks around
// the name and the value are ignored, a name given twice takes its last value. Every row whose
// line is missing, whose value does not read or which the table's correction refuses has its
// default. False when any line was not understood (an unknown name, no "=", a bad value, a
// line too long, bytes that are not UTF-8): the caller keeps that file before replacing it.
bool decodeOwnOptions(std::string_view text, Options& options);

// The file in `folder`: Absent (the defaults), Loaded, or ReadFailed after the message
// "ﾌｧｲﾙの読み込みができません" when it cannot be read or is longer than the limit (the defaults
// too). A file with lines not understood is Truncated: what could be read is taken.
LoadStatus loadOwnOptions(const std::string& folder, Options& options, UserPort& user);
// The language the operator stored ("表示言語"), read quietly before anything is shown: a file
// that is absent or cannot be read gives Automatic, and its messages come later, in the chosen
// language, from loadOwnOptions.
text::LanguageChoice storedLanguageChoice(const std::string& folder);
// Replaces the file atomically ("ﾌｧｲﾙの書き込みができません" on failure); with `keepBad` the file
// on disk is first kept as "VemlaOptions.txt.bad".
bool saveOwnOptions(const std::string& folder, const Options& options, bool& keepBad,
                    UserPort& user);

// The 16-bit conversion as text and back ("auto", "top", "window:LOWER,UPPER" with
// 0 <= LOWER < UPPER <= 65535); nullopt for anything else. Shared with vemla-cli's --sixteen.
std::string sixteenBitText(const SixteenBitConversion& conversion);
std::optional<SixteenBitConversion> parseSixteenBitText(std::string_view text);

}  // namespace vemla::persist
