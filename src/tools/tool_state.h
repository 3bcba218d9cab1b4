#pragma once
// What the tool area keeps while the program runs: the active tool, each tool's transient
// state and the content computed for the tool windows after every rendering. The settings that
// outlive the session are in the program settings (the state words of tool_words.h).
#include <optional>

#include "tools/gradation_values.h"
#include "tools/line_entry.h"

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

struct ToolState {
  Tool active = Tool::None;
  GradationContent gradation;
  LineEntry profileSegment;  // the profile's arbitrary segment
  LineEntry measureLine;     // the measurement's manual length
};

}  // namespace vemla::tools
