#include "processing/image_control.h"

#include "processing/colour_tables.h"
#include "processing/image_kinds.h"

namespace vemla {

ImageControlSelections::ImageControlSelections() {
  for (auto& image : kindColours) {
    for (std::size_t kind = 0; kind < kBuiltInKindCount; ++kind) {
      image[kind] = imageKindTable()[kind].colourKind;
    }
  }
  for (int colourKind = 0; colourKind < kColourKindCount; ++colourKind) {
    intensity[static_cast<std::size_t>(colourKind)] = defaultIntensity(colourKind);
  }
  brightness.fill(kNeutralBrightness);
}

void correctImageControl(ImageControlSelections& selections) {
  static const ImageControlSelections defaults;
  for (std::size_t image = 0; image < 2; ++image) {
    auto& kinds = selections.kindColours[image];
    for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
      if (!isColourKind(kinds[kind])) kinds[kind] = defaults.kindColours[image][kind];
    }
    for (std::int32_t& colour : selections.userProcessingColours[image]) {
      if (!isColourKind(colour)) colour = kColourGrey;
    }
  }
  for (std::size_t kind = 0; kind < kColourKindCount; ++kind) {
    std::int32_t& intensity = selections.intensity[kind];
    if (intensity < kMinIntensity || intensity > kMaxIntensity) {
      intensity = defaults.intensity[kind];
    }
    std::int32_t& brightness = selections.brightness[kind];
    if (brightness < kMinBrightness || brightness > kMaxBrightness) {
      brightness = defaults.brightness[kind];
    }
  }
}

bool resetAssociationsOfMissingColours(
    ImageControlSelections& selections,
    const std::array<UserColourEntry, kUserEntryCount>& colours) {
  const auto missing = [&colours](std::int32_t kind) {
    if (!isUserColourKind(kind)) return false;
    const std::size_t entry = static_cast<std::size_t>(kind - kFirstUserColour);
    return entry >= colours.size() || colours[entry].inUse != 1;
  };
  bool found = false;
  for (std::size_t image = 0; image < 2; ++image) {
    for (const std::int32_t kind : selections.kindColours[image]) found = found || missing(kind);
    for (const std::int32_t kind : selections.userProcessingColours[image]) {
      found = found || missing(kind);
    }
  }
  if (!found) return false;
  const ImageControlSelections defaults;
  selections.kindColours = defaults.kindColours;
  selections.userProcessingColours = defaults.userProcessingColours;
  return true;
}

void correctDisplayMarks(DisplayMarks& marks) {
  for (DisplayMark& mark : marks) {
    if (mark.valid != 0 && mark.valid != 1) mark = DisplayMark{};
  }
}

}  // namespace vemla
