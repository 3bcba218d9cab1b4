#include "workbench/view/colour_controls.h"

#include <algorithm>

#include "processing/colour_tables.h"
#include "processing/image_kinds.h"
#include "text/translate.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

using text::N_;

constexpr const char* kBuiltInColourNames[] = {N_("ｸﾞﾚｰｽｹｰﾙ"), N_("標準ｶﾗｰ"), N_("差分ｶﾗｰ"),
                                               N_("ｵﾌｾｯﾄｶﾗｰ")};

// Where the association of what image `image` shows is kept; null for a kind without one.
// `Bench` is Workbench or const Workbench.
template <typename Bench>
auto* associationSlot(Bench& bench, ImageSlot image) {
  const std::size_t at = index(image);
  auto& selections = bench.images.selections;
  const int kind = bench.images.kind[at];
  if (kind >= 0 && kind < static_cast<int>(selections.kindColours[at].size())) {
    return &selections.kindColours[at][static_cast<std::size_t>(kind)];
  }
  const int entry = bench.images.userEntry[at];
  if (kind == kUserProcessingKind && entry >= 0 &&
      entry < static_cast<int>(selections.userProcessingColours[at].size())) {
    return &selections.userProcessingColours[at][static_cast<std::size_t>(entry)];
  }
  return static_cast<decltype(&selections.kindColours[0][0])>(nullptr);
}

std::size_t paintedKind(const Workbench& bench, ImageSlot image) {
  return static_cast<std::size_t>(colourKindOf(bench, image));
}

}  // namespace

std::vector<ColourChoice> colourChoices(const Workbench& bench) {
  std::vector<ColourChoice> choices;
  for (int kind = kColourGrey; kind <= kColourOffset; ++kind) {
    choices.push_back({text::tr(kBuiltInColourNames[kind]), kind});
  }
  const auto& tables = bench.userEntries.colours;
  for (std::size_t table = 0; table < tables.size(); ++table) {
    if (tables[table].inUse == 0) continue;
    choices.push_back({tables[table].name, kFirstUserColour + static_cast<int>(table)});
  }
  return choices;
}

int colourChoiceIndex(const std::vector<ColourChoice>& choices, int colourKind) {
  for (std::size_t row = 0; row < choices.size(); ++row) {
    if (choices[row].colourKind == colourKind) return static_cast<int>(row);
  }
  return -1;
}

int associatedColourKind(const Workbench& bench, ImageSlot image) {
  const std::int32_t* slot = associationSlot(bench, image);
  return slot != nullptr && isColourKind(*slot) ? *slot : kColourGrey;
}

void setColourAssociation(Workbench& bench, ImageSlot image, int colourKind) {
  std::int32_t* slot = associationSlot(bench, image);
  if (slot == nullptr || !isColourKind(colourKind)) return;
  *slot = colourKind;
  paintPanes(bench);
}

bool chooseColour(Workbench& bench, ImageSlot image, int row) {
  const std::vector<ColourChoice> choices = colourChoices(bench);
  if (row < 0 || row >= static_cast<int>(choices.size())) return false;
  setColourAssociation(bench, image, choices[static_cast<std::size_t>(row)].colourKind);
  return true;
}

void resetColourSelections(Workbench& bench) {
  bench.images.selections = ImageControlSelections{};
  paintPanes(bench);
}

void copyColourAssociation(Workbench& bench, ImageSlot toImage) {
  setColourAssociation(bench, toImage, associatedColourKind(bench, other(toImage)));
}

void setColourDisplay(Workbench& bench, bool on) {
  bench.view.colourDisplay = on;
  paintPanes(bench);
}

int intensityOf(const Workbench& bench, ImageSlot image) {
  const auto& intensity = bench.images.selections.intensity;
  return std::clamp<int>(intensity[paintedKind(bench, image)], kMinIntensity, kMaxIntensity);
}

int brightnessOf(const Workbench& bench, ImageSlot image) {
  const auto& brightness = bench.images.selections.brightness;
  return std::clamp<int>(brightness[paintedKind(bench, image)], kMinBrightness, kMaxBrightness);
}

void setIntensity(Workbench& bench, ImageSlot image, int intensity) {
  bench.images.selections.intensity[paintedKind(bench, image)] =
      std::clamp(intensity, kMinIntensity, kMaxIntensity);
  paintPanes(bench);
}

void setBrightness(Workbench& bench, ImageSlot image, int brightness) {
  bench.images.selections.brightness[paintedKind(bench, image)] =
      std::clamp(brightness, kMinBrightness, kMaxBrightness);
  paintPanes(bench);
}

}  // namespace vemla
