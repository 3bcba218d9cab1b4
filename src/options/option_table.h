#pragma once
// One table describes every option: its name, page, group and label on the option sheet, type,
// range and correction rule, where it is stored and what a change sets in motion. The option
// sheet, the settings files and vemla-cli all read this table; the defaults are those of
// `Options{}`. A new option is a member of `Options` (with its default) and a row here.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "options/options.h"
#include "text/translate.h"

namespace vemla {

// The seven pages of the option sheet, in their order.
enum class OptionPage { Picture, UserControl, Colours, Files, Communication, Tools1, Tools2 };
inline constexpr std::array<std::string_view, 7> kOptionPageTitles{
    text::N_("画像関連"), text::N_("ﾕｰｻﾞ制御"),  text::N_("色の設定"), text::N_("ﾌｧｲﾙ関連"),
    text::N_("　通信　"), text::N_("ﾂｰﾙ関連１"), text::N_("ﾂｰﾙ関連２")};

enum class OptionType {
  Flag,        // check box, stored as a 32-bit 0/1
  Choice,      // radio buttons or a fixed list: 0-based index 0 .. high
  Integer,     // 32-bit integer
  Real,        // double
  Colour,      // 0x00BBGGRR
  Text,        // UTF-8 in memory, CP932 in files; high = the most CP932 bytes it may take
  NumberSet,   // multi-selection of the archive item numbers
  SixteenBit,  // the 16-bit conversion: one of kSixteenBitChoices, with lower and upper fields
};

// The choices of the 16-bit conversion, in the order of SixteenBitRule.
inline constexpr std::array<std::string_view, 3> kSixteenBitChoices{
    text::N_("ﾌｧｲﾙの有効ﾋﾞｯﾄ数"), text::N_("範囲を指定"), text::N_("上位8ﾋﾞｯﾄ")};

// The choices of "表示言語", in the order of text::LanguageChoice. The languages' own names are
// shown as they stand in every language, so that a reader finds theirs.
inline constexpr std::array<std::string_view, 3> kLanguageChoices{text::N_("自動"), "日本語",
                                                                  "English"};

// How a wrong value is corrected. Reals and texts never become another value: a wrong one
// keeps the previous value (the default when a file is read).
enum class Correction {
  None,
  Clamp,              // nearest value in low .. high
  RoundUpToFour,      // up to the next multiple of 4, then nearest value in low .. high
  PowerOfTwo,         // a power of two in low .. high, else the previous value
  GalleryCount,       // clamped to low .. high, then the default when not a multiple of 4
  RawWidth,           // 8 .. MaxPictureWidth
  RawHeight,          // 8 .. MaxPictureHeight
  StartSlot,          // 0 .. GalleryCount - 1 (0 .. high when read), else 0 (#1)
  ClampOrDefault,     // entered: nearest value in low .. high; read from a file: the default
  PreviousIfOutside,  // outside low .. high keeps the previous value
  PositiveReal,       // a number above 0, else the previous value
  FiniteReal,         // any finite number, else the previous value
  ColourValue,        // 0 .. 0xFFFFFF, else the previous value
  FitsField,          // a text that fits high CP932 bytes, else the previous value
};

// What a change of the option sets in motion when the sheet applies it.
enum class ChangeRule {
  Plain,               // nothing beyond refreshing the control windows
  Restart,             // held back until the program is restarted
  RestartApplied,      // applied now, but fully effective only after a restart
  ShiftUnit,           // stored sub-steps are rescaled
  ShiftInterpolation,  // shifted pictures and both images are recomputed
  AreaDifference,      // area-difference images are recomputed when one is shown
  ZoomInterpolation,   // magnified images are recomputed
  Colour,              // pens and brushes are recreated and the panes redrawn
};

// Where the value is kept between runs: the settings files, or the program's own options file
// (own_options.h) for the options the settings files have no field for.
enum class OptionStore { ProgramSettings, GalleryInformation, OwnOptions };

// Whether a value is being corrected after an entry in the sheet or after reading a file.
enum class CorrectionMode { Entry, Load };

struct OptionDescriptor {
  std::string_view name;  // as the system names it: "MaxPictureWidth"
  OptionPage page;
  std::string_view group;  // the box it stands in on its page; empty for none
  std::string_view label;  // the text beside its control (a colour's button text)
  OptionType type;
  Correction correction = Correction::None;
  std::int64_t low = 0;
  std::int64_t high = 0;
  ChangeRule change = ChangeRule::Plain;
  OptionStore store = OptionStore::ProgramSettings;
  std::array<std::string_view, 2> choices{};  // Choice: the texts of index 0 and 1
  // The one-line explanation of the control (F1 and quick help); "%s"/"%d" in the maximum size
  // and archive number rows stand for the axis and the range (see optionHelp).
  std::string_view help{};
  // Exactly one accessor matches `type` (Flag, Choice/Integer, Real, Colour, Text, NumberSet).
  bool* (*flag)(Options&) = nullptr;
  int* (*integer)(Options&) = nullptr;
  double* (*real)(Options&) = nullptr;
  std::uint32_t* (*colour)(Options&) = nullptr;
  std::string* (*text)(Options&) = nullptr;
  std::array<bool, kArchiveItemLimit>* (*numbers)(Options&) = nullptr;
  SixteenBitConversion* (*sixteenBit)(Options&) = nullptr;
};

// Every option, page by page in the sheet's order. Options whose correction depends on another
// option come after it (RawDefaultWidth after MaxPictureWidth, ArchiveExpandStartSlot after
// GalleryCount).
std::span<const OptionDescriptor> optionTable();
const OptionDescriptor* findOption(std::string_view name);
// An option the caller knows to exist (a name written in the code, checked by the tests).
const OptionDescriptor& optionNamed(std::string_view name);

// The member of `options` that `option` describes, as `T` (bool, int, double, std::uint32_t,
// std::string, the number set or the 16-bit conversion); `T` must be the type that
// `option.type` stands for.
template <typename T>
T& optionMember(const OptionDescriptor& option, Options& options) {
  if constexpr (std::is_same_v<T, bool>) {
    return *option.flag(options);
  } else if constexpr (std::is_same_v<T, int>) {
    return *option.integer(options);
  } else if constexpr (std::is_same_v<T, double>) {
    return *option.real(options);
  } else if constexpr (std::is_same_v<T, std::uint32_t>) {
    return *option.colour(options);
  } else if constexpr (std::is_same_v<T, std::string>) {
    return *option.text(options);
  } else if constexpr (std::is_same_v<T, SixteenBitConversion>) {
    return *option.sixteenBit(options);
  } else {
    static_assert(std::is_same_v<T, std::array<bool, kArchiveItemLimit>>);
    return *option.numbers(options);
  }
}
template <typename T>
const T& optionMember(const OptionDescriptor& option, const Options& options) {
  // The accessors only take the member's address; reading through them does not modify.
  return optionMember<T>(option, const_cast<Options&>(options));
}

// The one visitor over option types: calls `visit` with the member of `options` that `option`
// describes, typed by `option.type`, and returns what it returns.
template <typename Visitor>
decltype(auto) visitOption(const OptionDescriptor& option, Options& options, Visitor&& visit) {
  switch (option.type) {
    case OptionType::Flag:
      return visit(optionMember<bool>(option, options));
    case OptionType::Choice:
    case OptionType::Integer:
      return visit(optionMember<int>(option, options));
    case OptionType::Real:
      return visit(optionMember<double>(option, options));
    case OptionType::Colour:
      return visit(optionMember<std::uint32_t>(option, options));
    case OptionType::Text:
      return visit(optionMember<std::string>(option, options));
    case OptionType::SixteenBit:
      return visit(optionMember<SixteenBitConversion>(option, options));
    case OptionType::NumberSet:
      break;
  }
  return visit(optionMember<std::array<bool, kArchiveItemLimit>>(option, options));
}
template <typename Visitor>
decltype(auto) visitOption(const OptionDescriptor& option, const Options& options,
                           Visitor&& visit) {
  return visitOption(option, const_cast<Options&>(options),
                     [&](auto& value) -> decltype(auto) { return visit(std::as_const(value)); });
}

bool sameOptionValue(const OptionDescriptor& option, const Options& a, const Options& b);
void copyOptionValue(const OptionDescriptor& option, const Options& from, Options& to);

// Corrects every option of `options` by its rule; `previous` supplies the values that wrong
// reals, texts and list entries fall back to (the defaults when a file was read).
void correctOptions(Options& options, const Options& previous, CorrectionMode mode);

// Whether the sheet lets the operator change the option: the options that need a restart
// cannot be changed in a second running copy (it never saves them), and the gallery options
// are disabled while the gallery is unavailable.
bool optionEditable(const OptionDescriptor& option, bool secondCopy, bool galleryAvailable);

// Effects of applying the sheet, as flags the caller acts on.
enum OptionEffect : unsigned {
  kEffectSave = 1u << 0,             // the settings file must be written
  kEffectRestart = 1u << 1,          // a restart is required
  kEffectRescaleShifts = 1u << 2,    // ShiftUnit changed from oldShiftUnit to newShiftUnit
  kEffectRefreshControls = 1u << 3,  // refresh the control windows only
  kEffectPreparePictures = 1u << 4,  // recompute the shifted pictures and both images
  kEffectRecreateImages = 1u << 5,   // recompute both images
  kEffectRecreatePens = 1u << 6,     // colours changed: recreate pens and brushes, redraw
};

struct ApplyContext {
  bool secondCopy = false;
  bool areaDifferenceShown = false;         // an image shows the area difference
  bool magnifiedWithInterpolation = false;  // magnification above 1, interpolation switch on
};

struct ApplyResult {
  unsigned effects = 0;
  int oldShiftUnit = 0;
  int newShiftUnit = 0;
};

// Applies the sheet: corrects `pending` (as entered) and copies it into `live`. The maximum
// picture size and the gallery count are held back (they stay in `pending` until
// takeOverRestartOptions); in a second copy every option that needs a restart is put back to
// its live value in `pending` instead.
ApplyResult applyOptions(Options& live, Options& pending, const ApplyContext& context);

// After the restart message: the held-back maximum size and gallery count become live, and a
// gallery start slot at or beyond the new count is reset to #1.
void takeOverRestartOptions(Options& live, const Options& pending);

// Maximum picture size correction in 64-bit arithmetic, for values read from a file header.
int correctMaxPictureSize(std::int64_t value);

}  // namespace vemla
