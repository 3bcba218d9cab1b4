#include "workbench/tools/measurement_tool.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "text/format.h"
#include "text/number_format.h"
#include "text/translate.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

using tools::LineEntry;
using tools::MeasureResult;

bool reduced(const Workbench& bench) {
  return showsReduced(viewSettingsOf(bench), bench.pictures.width, bench.pictures.height);
}

tools::PaneScale paneScaleOf(const Workbench& bench) {
  const ViewPlacement& placement = bench.view.placement;
  const int m = bench.view.magnification;
  return {m, reduced(bench) ? bench.view.reductionRatio : 1.0 / m,
          placement.originX + placement.windowColumn, placement.originY + placement.windowRow};
}

// The 512 values of the extraction's row (or column) through the cursor; the fill outside the
// picture.
std::vector<std::uint8_t> extractionLine(const Workbench& bench, ImageSlot image, bool alongY) {
  const std::uint8_t* plane = shownImageOf(bench, image);
  const int width = bench.pictures.width, height = bench.pictures.height;
  const ViewPlacement& placement = bench.view.placement;
  std::vector<std::uint8_t> line(tools::kMeasureViewSize, bench.images.fill[index(image)]);
  for (int i = 0; i < tools::kMeasureViewSize; ++i) {
    const int x = alongY ? bench.view.centreX : placement.originX + i;
    const int y = alongY ? placement.originY + i : bench.view.centreY;
    if (x >= 0 && y >= 0 && x < width && y < height) line[i] = plane[y * width + x];
  }
  return line;
}

MeasureResult automaticLength(const Workbench& bench, ImageSlot image) {
  const tools::MeasureSettings& settings = bench.tools.measure.settings;
  const ViewPlacement& placement = bench.view.placement;
  const int at = settings.alongY ? bench.view.centreY - placement.originY
                                 : bench.view.centreX - placement.originX;
  const std::vector<std::uint8_t> line = extractionLine(bench, image, settings.alongY);
  MeasureResult result;
  result.edges =
      tools::findEdges(line.data(), tools::kMeasureViewSize, at, measureEdgeLevel(bench));
  if (result.edges) {
    result.length = tools::edgeLength(
        *result.edges, settings.alongY ? bench.options.PixelSizeY : bench.options.PixelSizeX);
  }
  return result;
}

// A closed polygon or a fixed rectangle.
bool areaEntered(const Workbench& bench) {
  const tools::MeasureState& measure = bench.tools.measure;
  if (measure.settings.polygon) return measure.polygonClosed;
  return bench.tools.measureLine.state() == LineEntry::State::Fixed;
}

MeasureResult areaOf(const Workbench& bench, ImageSlot image) {
  const tools::MeasureState& measure = bench.tools.measure;
  const tools::MeasureSettings& settings = measure.settings;
  const std::vector<std::uint8_t>& view = bench.view.panes[index(image)].view;
  MeasureResult result;
  if (view.empty()) return result;
  int lower = 0, upper = 255;
  const bool linked = settings.link && bench.view.rangeExtraction[index(image)];
  if (linked) {
    lower = bench.view.range[index(image)].lower;
    upper = bench.view.range[index(image)].upper;
  }
  tools::AreaSums sums;
  if (settings.polygon) {
    if (!measure.polygonClosed) return result;
    sums = tools::polygonSums(view.data(), measure.polygon, lower, upper);
  } else {
    const LineEntry& corners = bench.tools.measureLine;
    if (corners.state() != LineEntry::State::Fixed) return result;
    sums = tools::rectangleSums(view.data(), corners.start(), corners.end(), lower, upper);
  }
  // Bases other than grey 0 apply only with the link.
  const tools::VolumeBase base = settings.link ? settings.base : tools::VolumeBase::Zero;
  const tools::AreaResult area =
      tools::areaResult(sums, base, lower, upper, paneScaleOf(bench), bench.options.PixelSizeX,
                        bench.options.PixelSizeY);
  result.sums = sums;
  result.area = area.area;
  result.volume = area.volume;
  result.centroidX = area.centroidX;
  result.centroidY = area.centroidY;
  return result;
}

using Value = std::optional<double>;

Value difference(Value a, Value b) {
  if (!a || !b) return std::nullopt;
  return std::fabs(*a - *b);
}

std::string decimal(Value value) {
  return value ? text::fixedDecimal(*value, 4) : std::string();
}

std::string whole(Value value) {
  return value ? text::format("%lld", static_cast<long long>(*value)) : std::string();
}

Value volumeOf(const MeasureResult& result) {
  if (!result.volume) return std::nullopt;
  return static_cast<double>(*result.volume);
}

// The row of one quantity: both images, their difference, both references and each image's
// difference from its reference.
std::array<std::string, kMeasureTableColumns> quantityRow(const tools::MeasureState& measure,
                                                          const char* name,
                                                          Value (*quantity)(const MeasureResult&),
                                                          std::string (*print)(Value)) {
  const Value a = quantity(measure.results[0]), b = quantity(measure.results[1]);
  const Value ra = quantity(measure.reference[0]), rb = quantity(measure.reference[1]);
  return {name,
          print(a),
          print(b),
          print(difference(a, b)),
          print(ra),
          print(rb),
          print(difference(a, ra)),
          print(difference(b, rb))};
}

// One centroid row: X and Y of both images, their differences and √(差Ｘ² + 差Ｙ²).
std::array<std::string, kMeasureTableColumns> centroidRow(const char* name, Value x1, Value y1,
                                                          Value x2, Value y2) {
  const Value dx = difference(x1, x2), dy = difference(y1, y2);
  Value xy;
  if (dx && dy) xy = std::sqrt(*dx * *dx + *dy * *dy);
  return {name,        decimal(x1), decimal(y1), decimal(x2),
          decimal(y2), decimal(dx), decimal(dy), decimal(xy)};
}

}  // namespace

MeasureTable measureTable(const Workbench& bench) {
  const tools::MeasureState& measure = bench.tools.measure;
  MeasureTable table;
  using text::tr;
  table[0] = {"",          tr("ｲﾒｰｼﾞ1"), tr("ｲﾒｰｼﾞ2"),  tr("差"),
              tr("基準1"), tr("基準2"),  tr("基準差1"), tr("基準差2")};
  table[1] = quantityRow(
      measure, tr("測長"), [](const MeasureResult& r) { return r.length; }, decimal);
  table[2] = quantityRow(
      measure, tr("面積"), [](const MeasureResult& r) { return r.area; }, decimal);
  table[3] = quantityRow(measure, tr("体積"), volumeOf, whole);
  const auto& now = measure.results;
  const auto& ref = measure.reference;
  table[4] = {"",         tr("ｲﾒｰｼﾞ1Ｘ"), tr("ｲﾒｰｼﾞ1Ｙ"), tr("ｲﾒｰｼﾞ2Ｘ"), tr("ｲﾒｰｼﾞ2Ｙ"),
              tr("差Ｘ"), tr("差Ｙ"),     tr("差ＸＹ")};
  table[5] = centroidRow(tr("重心"), now[0].centroidX, now[0].centroidY, now[1].centroidX,
                         now[1].centroidY);
  table[6] = centroidRow(tr("基準"), ref[0].centroidX, ref[0].centroidY, ref[1].centroidX,
                         ref[1].centroidY);
  table[7] = {tr("差"), decimal(difference(now[0].centroidX, ref[0].centroidX)),
              decimal(difference(now[0].centroidY, ref[0].centroidY)),
              decimal(difference(now[1].centroidX, ref[1].centroidX)),
              decimal(difference(now[1].centroidY, ref[1].centroidY))};
  return table;
}

std::string measureTableText(const MeasureTable& table) {
  std::string text;
  for (const auto& row : table) {
    std::size_t used = row.size();
    while (used > 0 && row[used - 1].empty()) --used;
    for (std::size_t i = 0; i < used; ++i) {
      if (i > 0) text += '\t';
      text += row[i];
    }
    text += '\n';
  }
  return text;
}

void setMeasureSettings(Workbench& bench, const tools::MeasureSettings& settings) {
  tools::MeasureState& measure = bench.tools.measure;
  const tools::MeasureSettings before = measure.settings;
  measure.settings = settings;
  measure.settings.edgeLevel = settings.edgeLevel == 0 ? 0 : std::clamp(settings.edgeLevel, 1, 128);
  if (settings.area != before.area || settings.automatic != before.automatic ||
      settings.polygon != before.polygon) {
    bench.tools.measureLine.reset();
    measure.polygon.clear();
    measure.polygonClosed = false;
    measure.edgeRequested = false;
  }
  bench.notifyPanesChanged();
  bench.notifyToolsChanged();
}

int measureEdgeLevel(const Workbench& bench) {
  const int level = bench.tools.measure.settings.edgeLevel;
  return level > 0 ? level : std::clamp(bench.options.MeasureEdgeLevel, 1, 128);
}

bool measurePaneClick(Workbench& bench, ViewPoint at) {
  tools::MeasureState& measure = bench.tools.measure;
  const tools::MeasureSettings& settings = measure.settings;
  if (!settings.area && settings.automatic) {
    measure.edgeRequested = true;
  } else if (settings.area && settings.polygon) {
    if (measure.polygonClosed) {
      measure.polygon.clear();
      measure.polygonClosed = false;
    }
    if (measure.polygon.size() >= static_cast<std::size_t>(tools::kMaxPolygonVertices)) return true;
    measure.polygon.push_back(at);
  } else {
    bench.tools.measureLine.click(at);
  }
  return true;
}

bool measurePaneMove(Workbench& bench, ViewPoint at) {
  const tools::MeasureSettings& settings = bench.tools.measure.settings;
  if (settings.automatic && !settings.area) return false;
  if (settings.area && settings.polygon) return false;
  LineEntry& line = bench.tools.measureLine;
  if (line.state() != LineEntry::State::Following) return false;
  line.move(at);
  return true;
}

bool measurePaneDoubleClick(Workbench& bench) {
  tools::MeasureState& measure = bench.tools.measure;
  if (!measure.settings.area || !measure.settings.polygon || measure.polygonClosed ||
      measure.polygon.size() < 3) {
    return false;
  }
  measure.polygonClosed = true;
  return true;
}

void copyMeasureReference(Workbench& bench, int row) {
  tools::MeasureState& measure = bench.tools.measure;
  for (ImageSlot image : kImageSlots) {
    const MeasureResult& from = measure.results[index(image)];
    MeasureResult& to = measure.reference[index(image)];
    switch (row) {
      case 0:
        to.length = from.length;
        break;
      case 1:
        to.area = from.area;
        break;
      case 2:
        to.volume = from.volume;
        break;
      case 3:
        to.centroidX = from.centroidX;
        to.centroidY = from.centroidY;
        break;
      default:
        break;
    }
  }
  bench.notifyToolsChanged();
}

std::string measureText(const Workbench& bench, ImageSlot image) {
  const tools::MeasureState& measure = bench.tools.measure;
  const MeasureResult& result = measure.results[index(image)];
  const tools::MeasureSettings& settings = measure.settings;
  const LineEntry& corners = bench.tools.measureLine;
  if (!settings.area) {
    // A length kept from earlier is in the table, not beside a shape.
    const bool entered =
        settings.automatic ? measure.edgeRequested : corners.state() != LineEntry::State::None;
    if (!entered || !result.length) return {};
    const MeasureResult& first = measure.results[0];
    if (settings.automatic && image == ImageSlot::Second && first.length) {
      return " " + decimal(result.length) + " (" +
             decimal(std::fabs(*result.length - *first.length)) + ") ";
    }
    return " " + decimal(result.length) + " ";
  }
  if (!settings.polygon && corners.state() == LineEntry::State::Following) {
    const double m = bench.view.magnification;
    return " X:" +
           decimal(std::abs(corners.end().x - corners.start().x) * bench.options.PixelSizeX / m) +
           " Y:" +
           decimal(std::abs(corners.end().y - corners.start().y) * bench.options.PixelSizeY / m) +
           " ";
  }
  if (!areaEntered(bench) || !result.area) return {};
  // A centroid that was not measured (no grey weight) leaves its place empty, as in the table:
  // over the fill around a small picture a measured centroid can itself be negative.
  return text::format(text::tr(" 面積:%s  体積:%lld  重心:(%s,%s) "), decimal(result.area).c_str(),
                      static_cast<long long>(*result.volume), decimal(result.centroidX).c_str(),
                      decimal(result.centroidY).c_str());
}

void updateMeasureContent(Workbench& bench) {
  tools::MeasureState& measure = bench.tools.measure;
  if (!bench.pictures.picturesPresent) return;
  const tools::MeasureSettings& settings = measure.settings;
  const LineEntry& line = bench.tools.measureLine;
  // Only what is being measured now changes: the other function's values, and this one's
  // while nothing is entered, stay in the table until they are measured again.
  for (ImageSlot image : kImageSlots) {
    MeasureResult& result = measure.results[index(image)];
    if (!settings.area && !settings.automatic) {
      if (line.state() != LineEntry::State::None) {
        result.length = tools::manualLength(line.start(), line.end(), bench.options.PixelSizeX,
                                            bench.options.PixelSizeY, paneScaleOf(bench).scale);
        result.edges.reset();
      }
    } else if (reduced(bench)) {
      // In the reduced display only the manual length measures.
    } else if (!settings.area) {
      if (measure.edgeRequested) {
        const MeasureResult found = automaticLength(bench, image);
        result.length = found.length;
        result.edges = found.edges;
      }
    } else if (areaEntered(bench) && !bench.view.panes[index(image)].view.empty()) {
      const MeasureResult found = areaOf(bench, image);
      result.area = found.area;
      result.volume = found.volume;
      result.centroidX = found.centroidX;
      result.centroidY = found.centroidY;
      result.sums = found.sums;
    }
  }
}

}  // namespace vemla
