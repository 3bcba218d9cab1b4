#include "options/option_sheet_rules.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "options/option_table.h"
#include "text/decimal_text.h"
#include "text/format.h"
#include "text/number_format.h"
#include "text/translate.h"

namespace vemla {
namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

std::string maxPictureSizeHelp(std::string_view axis) {
  const OptionDescriptor& size = optionNamed(axis == "Y" ? "MaxPictureHeight" : "MaxPictureWidth");
  return text::format(text::tr(std::string(size.help)).c_str(), std::string(axis).c_str(),
                      static_cast<int>(size.low), static_cast<int>(size.high));
}

std::string archiveNumberHelp() {
  const OptionDescriptor& number = optionNamed("ArchivePicture1Number");
  return text::format(text::tr(std::string(number.help)).c_str(),
                      shownArchiveNumber(static_cast<int>(number.low)),
                      shownArchiveNumber(static_cast<int>(number.high)));
}

std::string optionHelp(std::string_view name) {
  const OptionDescriptor* option = findOption(name);
  if (option == nullptr) return {};
  if (name == "MaxPictureWidth") return maxPictureSizeHelp("X");
  if (name == "MaxPictureHeight") return maxPictureSizeHelp("Y");
  if (name == "ArchivePicture1Number" || name == "ArchivePicture2Number") {
    return archiveNumberHelp();
  }
  return text::tr(std::string(option->help));
}

int readIntegerField(std::string_view text) {
  text = trimmed(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 0;
    value = std::min<std::int64_t>(value * 10 + (c - '0'), kLimit);
  }
  if (negative) return static_cast<int>(-value);
  return static_cast<int>(std::min<std::int64_t>(value, std::numeric_limits<int>::max()));
}

std::string realFieldText(double value) {
  return text::shortenDecimal(text::fixedDecimal(value, 6));
}

double readRealField(std::string_view text, std::string_view shownText, double shownValue) {
  if (text == shownText) return shownValue;
  return text::readWholeNumber(trimmed(text)).value_or(std::numeric_limits<double>::quiet_NaN());
}

int storedArchiveNumber(int shown) {
  return static_cast<int>(
      std::max<std::int64_t>(std::int64_t{shown} - 1, std::numeric_limits<int>::min()));
}

std::vector<std::string> shiftUnitTexts() {
  std::vector<std::string> texts;
  for (const int value : shiftUnitValues()) texts.push_back(text::format("1/%d", value));
  return texts;
}

std::vector<int> shiftUnitValues() {
  const OptionDescriptor& unit = optionNamed("ShiftUnit");
  std::vector<int> values;
  for (std::int64_t value = unit.low; value <= unit.high; value *= 2) {
    values.push_back(static_cast<int>(value));
  }
  return values;
}

std::vector<int> galleryCountValues() {
  const OptionDescriptor& count = optionNamed("GalleryCount");
  std::vector<int> values;
  for (std::int64_t value = count.low; value <= count.high; value += 4) {
    values.push_back(static_cast<int>(value));
  }
  return values;
}

std::vector<std::string> startSlotTexts(int galleryCount) {
  std::vector<std::string> texts;
  for (int slot = 1; slot <= galleryCount; ++slot) texts.push_back(text::format("#%d", slot));
  return texts;
}

std::string archiveNumberText(int number) {
  return text::format("%-2d", number);
}

bool optionControlEnabled(std::string_view name, const Options& shown, bool secondCopy,
                          bool galleryAvailable) {
  const OptionDescriptor* option = findOption(name);
  if (option != nullptr && !optionEditable(*option, secondCopy, galleryAvailable)) return false;
  const bool greyMode = shown.TrueColourOpenMode == kTrueColourGrey;
  if (name == "AskRatioPerFile" || name == "GreyRatioR" || name == "GreyRatioG" ||
      name == "GreyRatioB") {
    return greyMode;
  }
  if (name == "ArchivePicture1Number" || name == "ArchiveOpenPicture2") {
    return shown.ArchiveOpenPicture1;
  }
  if (name == "ArchivePicture2Number") {
    return shown.ArchiveOpenPicture1 && shown.ArchiveOpenPicture2;
  }
  if (name == "ArchiveExpandStartSlot" || name == "ArchiveSkipEmpty" ||
      name == "ArchiveExpandNumbers") {
    return galleryAvailable && shown.ArchiveExpandToGallery;
  }
  if (name == "PopupColourTurnsColourOn") return !shown.RightClickCentres;
  return true;
}

bool restartNeeded(const Options& atOpen, const Options& live, const Options& pending) {
  return pending.MaxPictureWidth != live.MaxPictureWidth ||
         pending.MaxPictureHeight != live.MaxPictureHeight ||
         pending.GalleryCount != live.GalleryCount ||
         live.LockDisplayPosition != atOpen.LockDisplayPosition ||
         live.DisplayLanguage != atOpen.DisplayLanguage;
}

void resetProfileReferences(Options& options) {
  const Options defaults;
  options.ProfileGridGradation = defaults.ProfileGridGradation;
  options.ProfileGridPixels = defaults.ProfileGridPixels;
}

void resetView3DReferences(Options& options) {
  const Options defaults;
  options.View3DAngleX = defaults.View3DAngleX;
  options.View3DAngleZ = defaults.View3DAngleZ;
  options.View3DLuminance = defaults.View3DLuminance;
  options.View3DWireWidth = defaults.View3DWireWidth;
  options.View3DPolygonWidth = defaults.View3DPolygonWidth;
}

void resetMeasureReferences(Options& options) {
  options.MeasureEdgeLevel = Options{}.MeasureEdgeLevel;
}

}  // namespace vemla
