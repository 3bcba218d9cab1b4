#pragma once
// What the image control window keeps between runs: the colour kind associated with each image
// kind and user processing entry per image, the intensity and brightness per colour kind, and
// the four display-position marks. The program settings file stores them; the corrections
// below are the rules for values read back from it.
#include <array>
#include <cstdint>

#include "processing/user_entries.h"

namespace vemla {

struct ImageControlSelections {
  std::array<std::array<std::int32_t, 32>, 2> kindColours{};  // [image][image kind] colour kind
  std::array<std::array<std::int32_t, 16>, 2> userProcessingColours{};  // [image][entry]
  std::array<std::int32_t, 32> intensity{};                             // per colour kind, 1 .. 16
  std::array<std::int32_t, 32> brightness{};                            // per colour kind, 0 .. 256
  // Each built-in kind with the colour kind of the kind table, default intensity and neutral
  // brightness for every colour kind.
  ImageControlSelections();
  bool operator==(const ImageControlSelections&) const = default;
};

struct DisplayMark {  // a display-position mark of the image control
  std::int32_t valid = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const DisplayMark&) const = default;
};
using DisplayMarks = std::array<DisplayMark, 4>;

// A colour kind that does not exist goes back to its default (grey for a user processing
// entry), an intensity or brightness outside its range to the colour kind's default.
void correctImageControl(ImageControlSelections& selections);
// When any image kind or user processing entry is associated with a user colour table that is
// not registered, a free entry counting as one past the entries in use (the user information
// file changed under the settings, or an entry was freed as damaged), every association
// goes back to its default and true is returned; intensities and brightness stay.
bool resetAssociationsOfMissingColours(ImageControlSelections& selections,
                                       const std::array<UserColourEntry, kUserEntryCount>& colours);
// A mark whose valid flag is neither 0 nor 1 is cleared.
void correctDisplayMarks(DisplayMarks& marks);

}  // namespace vemla
