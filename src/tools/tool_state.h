#pragma once
// What the tool area keeps while the program runs: the active tool, each tool's transient
// state, the settings that outlive the session (kept in the program settings as the words of
// tool_words.h and the gradation operators) and the content computed for the tool windows after
// every rendering.
#include <array>
#include <optional>
#include <vector>

#include "tools/gradation_values.h"
#include "tools/line_entry.h"
#include "tools/measurement.h"
#include "tools/partial_comparison.h"
#include "tools/profile.h"
#include "tools/relief.h"
#include "tools/tool_words.h"

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

// The measurement tool's settings for the session.
struct MeasureSettings {
  bool area = false;       // "面積\n体積\n重心"; else "測長"
  bool automatic = false;  // "自動"; else "手動"
  bool alongY = false;     // "Ｙ方向"; else "Ｘ方向"
  int edgeLevel = 0;       // "ｴｯｼﾞﾚﾍﾞﾙ" 1..128; 0: the tool option
  bool polygon = false;    // "任意"; else "矩形"
  bool link = false;       // "範囲抽出情報\nに連動させる"
  VolumeBase base = VolumeBase::Zero;
};

// What was measured on one image; none where nothing was measured.
struct MeasureResult {
  std::optional<double> length;
  std::optional<Edges> edges;  // of an automatic length
  std::optional<double> area;
  std::optional<std::int64_t> volume;
  std::optional<double> centroidX, centroidY;
  std::optional<AreaSums> sums;  // the counted pixels of an area
};

struct MeasureState {
  MeasureSettings settings;
  // The manual length and the rectangle's corners are the tool state's `measureLine`.
  std::vector<ViewPoint> polygon;  // at most kMaxPolygonVertices
  bool polygonClosed = false;
  bool edgeRequested = false;  // a click asked for an automatic length at the cursor
  std::array<MeasureResult, 2> results;
  std::array<MeasureResult, 2> reference;  // "基準"
};

// The 3D tool for the session: its settings (taken from the tool options on first use), its
// switches and the rasters drawn after every rendering.
struct ReliefState {
  bool started = false;  // the settings have been taken from the tool options
  ReliefSettings settings;
  bool viewDirection = false;  // "視点表示"
  bool whole = false;          // "全体表示": the `_3DImage` window is open
  bool otherPane = false;      // "相手側": the whole display shows the other image
  bool secondImage = false;    // "⇔": image 2 instead of image 1
  ViewPoint origin;            // the block's top-left view point
  std::vector<std::uint8_t> block, raster, wholeRaster;
  ColourTable colours{}, wholeColours{};
  ReliefWork work;
};

// The partial comparison for the session, with what its window shows.
struct PartialToolState {
  PartialState comparison;
  bool secondImage = false;     // "⇔": parts are taken from image 2
  bool profileReadout = false;  // "ﾌﾟﾛﾌｧｲﾙ"; else "階調値"
  int profileDirection = 0;     // 0 "Ｘ", 1 "Ｙ", 2 "XY"
  GreyBounds bounds;
  bool rangeMarks = false;  // "範囲"
  int clickedPart = -1;     // 0 reference, 1 comparison, 2 difference; -1 none
  ViewPoint clicked;        // in the clicked part
  ColourTable differenceColours = baseColourTable(kColourGrey);
};

struct ToolState {
  Tool active = Tool::None;
  GradationWord gradationWord;  // the gradation value tool's settings
  std::array<GradationOperator, 4> gradationOperators = kDefaultGradationOperators;
  ProfileWord profileWord;  // the profile tool's settings
  GradationContent gradation;
  LineEntry profileSegment;  // the profile's arbitrary segment
  ProfileSession profile;
  ProfileContent profileContent;
  LineEntry measureLine;  // the measurement's manual length or rectangle corners
  MeasureState measure;
  ReliefState relief;
  PartialToolState partial;
};

}  // namespace vemla::tools
