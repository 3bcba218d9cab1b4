#pragma once
// The colour controls of the image control ("ｶﾗｰ", colour kind selectors, "←"/"→", "表示強度",
// "輝度") and the "カラー" menus of the image panes. Each image remembers a colour kind per image
// kind (and per user processing entry); intensity and brightness belong to the colour kind.
// Every change only repaints the panes: the images are not recreated.
#include <string>
#include <vector>

#include "workbench/workbench.h"

namespace vemla {

struct ColourChoice {
  std::string name;
  int colourKind = 0;
  bool operator==(const ColourChoice&) const = default;
};

// The four built-in colour kinds, then the user colour tables in use by their names.
std::vector<ColourChoice> colourChoices(const Workbench& bench);
// The row of `colourKind`, -1 when it is not listed (a user table no longer in use).
int colourChoiceIndex(const std::vector<ColourChoice>& choices, int colourKind);

// The colour kind remembered for what image `image` shows now, whether the colour display is
// on or not (the kind actually painted is colourKindOf).
int associatedColourKind(const Workbench& bench, ImageSlot image);

// "ｶﾗｰ情報の初期化": every colour association, intensity and brightness back to its default;
// the panes repaint.
void resetColourSelections(Workbench& bench);

// Remembers `colourKind` for what image `image` shows now; ignored when it is no colour kind.
void setColourAssociation(Workbench& bench, ImageSlot image, int colourKind);
// A selector row or the colour request of a pane menu; false for an index outside the list.
bool chooseColour(Workbench& bench, ImageSlot image, int row);
// "←" (to Image 1) and "→" (to Image 2): the colour kind the other image has for what it shows
// becomes this image's colour kind for what it shows.
void copyColourAssociation(Workbench& bench, ImageSlot toImage);

// "ｶﾗｰ": with it off every image is painted grey.
void setColourDisplay(Workbench& bench, bool on);

// Intensity (1..16) and brightness (0..256) of the colour kind image `image` is painted with;
// values outside the range are brought into it.
int intensityOf(const Workbench& bench, ImageSlot image);
int brightnessOf(const Workbench& bench, ImageSlot image);
void setIntensity(Workbench& bench, ImageSlot image, int intensity);
void setBrightness(Workbench& bench, ImageSlot image, int brightness);

}  // namespace vemla
