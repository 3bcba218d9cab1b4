#pragma once
// What the tool area keeps while the program runs: the active tool, each tool's transient
// state and the content computed for the tool windows after every rendering. The settings that
// outlive the session are in the program settings (the state words of tool_words.h).
#include <array>
#include <optional>
#include <vector>

#include "tools/gradation_values.h"
#include "tools/line_entry.h"
#include "tools/profile.h"

namespace vemla::tools {

// The active tool of the tool area.
enum class Tool : int {
  None = 0,
  Gradation = 2,
  Profile = 3,
  View3D = 4,
  Measurement = 5,
  PartialComparison = 6,
};

struct GradationContent {
  // The shown image's block; in pair display the tool window shows image 2 and `pairGrid`
  // image 1.
  std::optional<GradationGrid> grid;
  std::optional<GradationGrid> pairGrid;
  // "最大" / "最小": highlight the cells equal to the extremes until the content changes.
  bool highlightMax = false, highlightMin = false;
};

struct ProfileContent {
  std::vector<ViewPoint> points;                 // where the samples lie in the pane views
  std::array<std::optional<Profile>, 2> images;  // per image; none when it is not drawn
  double step = 0;                               // one sample in length units, as shown
  GreyRange automatic;                           // what "自動" sets for these profiles
};

// The profile tool's settings that last for the session, and its read-out marks.
struct ProfileSession {
  int greyStep = 0, pixelStep = 0;  // 0: not yet taken from the tool options
  int gridOffset = 0;
  int marks = 0;                     // 0 none, 1 one mark, 2 two marks
  std::array<int, 2> markColumns{};  // graph columns 0..491
};

struct ToolState {
  Tool active = Tool::None;
  GradationContent gradation;
  LineEntry profileSegment;  // the profile's arbitrary segment
  ProfileSession profile;
  ProfileContent profileContent;
  LineEntry measureLine;  // the measurement's manual length
};

}  // namespace vemla::tools
