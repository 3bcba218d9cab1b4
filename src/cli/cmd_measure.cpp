#include <cmath>

#include "cli/control_flags.h"
#include "cli/tool_views.h"
#include "cli/verbs.h"
#include "text/format.h"
#include "text/number_format.h"
#include "text/translate.h"
#include "tools/measurement.h"
#include "workbench/tools/measurement_tool.h"
#include "workbench/tools/tool_frame.h"
#include "workbench/view/refresh_chain.h"
#include "workbench/view/view_controls.h"

namespace vemla::cli {
namespace {

using tools::MeasureResult;
using Value = std::optional<double>;

constexpr const char* kShapes[] = {"--length", "--edge", "--rect", "--polygon"};

std::string decimal(Value value) {
  return value ? text::fixedDecimal(*value, 4) : std::string("none");
}

Value difference(Value a, Value b) {
  if (!a || !b) return std::nullopt;
  return std::fabs(*a - *b);
}

Value volumeOf(const MeasureResult& result) {
  if (!result.volume) return std::nullopt;
  return static_cast<double>(*result.volume);
}

std::string volumeText(Value value) {
  return value ? text::format("%lld", static_cast<long long>(*value)) : std::string("none");
}

std::string centroidText(Value x, Value y) {
  return x && y ? decimal(x) + "," + decimal(y) : std::string("none");
}

std::string lengthLine(const MeasureResult& result, bool edge) {
  std::string line = "length=" + decimal(result.length);
  if (edge && result.edges)
    line += text::format(" left=%d right=%d", result.edges->left, result.edges->right);
  return line;
}

std::string areaLine(const MeasureResult& result) {
  std::string line = "area=" + decimal(result.area) + " volume=" + volumeText(volumeOf(result)) +
                     " centroid=" + centroidText(result.centroidX, result.centroidY);
  if (result.sums) {
    line += text::format(" count=%lld sum=%lld", static_cast<long long>(result.sums->count),
                         static_cast<long long>(result.sums->sum));
  } else {
    line += " count=none sum=none";
  }
  return line;
}

std::string areaDifferenceLine(const MeasureResult& a, const MeasureResult& b) {
  const Value dx = difference(a.centroidX, b.centroidX), dy = difference(a.centroidY, b.centroidY);
  Value xy;
  if (dx && dy) xy = std::sqrt(*dx * *dx + *dy * *dy);
  return "area=" + decimal(difference(a.area, b.area)) +
         " volume=" + volumeText(difference(volumeOf(a), volumeOf(b))) +
         " centroid=" + centroidText(dx, dy) + " xy=" + decimal(xy);
}

// What the flags ask for: the shape and its points (view coordinates), and the grey-value link.
struct MeasureRequest {
  tools::MeasureSettings settings;
  std::vector<int> points;
  std::optional<std::pair<int, int>> link;
};

// The volume base of --base: 0, 255, the link's lower or upper bound.
tools::VolumeBase volumeBaseFlag(const std::string& base) {
  const std::pair<const char*, tools::VolumeBase> bases[] = {{"0", tools::VolumeBase::Zero},
                                                             {"255", tools::VolumeBase::Full},
                                                             {"lower", tools::VolumeBase::Lower},
                                                             {"upper", tools::VolumeBase::Upper}};
  for (const auto& [name, value] : bases) {
    if (base == name) return value;
  }
  throw UsageError("--base must be 0, 255, lower or upper");
}

MeasureRequest measureRequest(const Arguments& args) {
  int shapes = 0;
  for (const char* shape : kShapes) shapes += args.has(shape);
  if (shapes != 1) throw UsageError("give one of --length, --edge, --rect, --polygon");
  if (args.has("--level") && !args.has("--edge")) throw UsageError("--level needs --edge");

  MeasureRequest request;
  tools::MeasureSettings& settings = request.settings;
  if (const auto text = args.value("--length"))
    request.points = parseIntList(*text, 0, 511, 4, 4, "--length");
  if (const auto text = args.value("--rect")) {
    request.points = parseIntList(*text, 0, 511, 4, 4, "--rect");
    settings.area = true;
  }
  if (const auto text = args.value("--polygon")) {
    request.points = parseIntList(*text, 0, 511, 6, 2 * tools::kMaxPolygonVertices, "--polygon");
    if (request.points.size() % 2 != 0) throw UsageError("--polygon: U,V pairs expected");
    settings.area = settings.polygon = true;
  }
  if (const auto edge = args.value("--edge")) {
    if (*edge != "x" && *edge != "y") throw UsageError("--edge must be x or y");
    settings.automatic = true;
    settings.alongY = *edge == "y";
    if (const auto level = args.value("--level"))
      settings.edgeLevel = parseInt(*level, 1, 128, "--level");
  }
  if (const auto text = args.value("--link")) {
    request.link = parsePair(*text, 0, 255, "--link");
    if (request.link->first > request.link->second) throw UsageError("--link needs LO <= HI");
  }
  if (const auto base = args.value("--base")) {
    settings.base = volumeBaseFlag(*base);
    if (settings.base != tools::VolumeBase::Zero && !request.link)
      throw UsageError("--base needs --link");
  }
  settings.link = request.link.has_value();
  return request;
}

// Measures on the opened images as the measurement tool does with the operator's clicks.
void measureOnImages(Workbench& bench, const MeasureRequest& request) {
  if (request.link) {
    for (ImageSlot image : kImageSlots) {
      bench.view.rangeExtraction[index(image)] = true;
      bench.view.range[index(image)].lower = request.link->first;
      bench.view.range[index(image)].upper = request.link->second;
    }
  }
  selectTool(bench, tools::Tool::Measurement);
  setMeasureSettings(bench, request.settings);
  if (request.settings.automatic) {
    const ViewPoint cursor = cursorViewPointOf(bench);
    toolPaneClick(bench, cursor.x, cursor.y);
    return;
  }
  const std::vector<int>& points = request.points;
  for (std::size_t i = 0; i + 1 < points.size(); i += 2) toolPaneClick(bench, points[i], points[i + 1]);
  if (request.settings.polygon) toolPaneDoubleClick(bench);
}

int measure(const Arguments& args, Context& io) {
  const std::size_t files = args.positional.size();
  if (files < 1 || files > 2) throw UsageError("measure takes IMAGE1 [IMAGE2]");
  const MeasureRequest request = measureRequest(args);
  const tools::MeasureSettings& settings = request.settings;

  Workbench bench;
  if (!openToolImages(args.positional, args, bench, io)) return 1;
  if (args.has("--reduced") && !args.has("--length")) {
    io.err << text::tr(msg::kReducedMeasureWarning) << '\n';
    return 1;
  }
  measureOnImages(bench, request);

  const MeasureResult& first = bench.tools.measure.results[index(ImageSlot::First)];
  const MeasureResult& second = bench.tools.measure.results[index(ImageSlot::Second)];
  const auto describe = [&](const MeasureResult& result) {
    return settings.area ? areaLine(result) : lengthLine(result, settings.automatic);
  };
  io.out << "image1 " << describe(first) << '\n';
  if (files == 2) {
    io.out << "image2 " << describe(second) << '\n';
    io.out << "diff "
           << (settings.area ? areaDifferenceLine(first, second)
                             : "length=" + decimal(difference(first.length, second.length)))
           << '\n';
  }
  return 0;
}

}  // namespace

Command measureCommand() {
  std::set<std::string> values = kToolViewFlags;
  values.insert({"--length", "--edge", "--level", "--rect", "--polygon", "--link", "--base"});
  return {"measure",
          "the measurement tool's length, area, volume and centroid in one or two pane views",
          std::string(
              "usage: vemla-cli measure IMAGE1 [IMAGE2] SHAPE [OPTIONS]\n"
              "  Measures one shape in each image as the measurement tool does and prints\n"
              "  image1 ..., with IMAGE2 image2 ... and diff ...; 'none' where not measured.\n"
              "  --length U0,V0,U1,V1          the length between two view points (0..511)\n"
              "  --edge x|y                    edge to edge through the cursor along its row or "
              "column\n"
              "  --level L                     edge level 1..128 (default {MeasureEdgeLevel})\n"
              "  --rect U0,V0,U1,V1            the rectangle between two view corners\n"
              "  --polygon U0,V0,U1,V1,U2,V2[,...]  3 to 1024 view points, closed to the first\n"
              "  --link LO,HI                  count only pixels whose value lies in LO..HI\n"
              "  --base 0|255|lower|upper      volume base (default 0; others need --link)\n") +
              kToolViewHelp,
          values,
          {"--reduced"},
          measure};
}

}  // namespace vemla::cli
