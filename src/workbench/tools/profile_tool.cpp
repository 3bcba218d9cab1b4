#include "workbench/tools/profile_tool.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "picture/file_helpers.h"
#include "text/format.h"
#include "text/number_format.h"
#include "text/translate.h"
#include "workbench/tools/tool_frame.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

using tools::ProfileDirection;

void showChange(Workbench& bench) {
  updateToolContent(bench);
  bench.notifyToolsChanged();
}

ProfileDirection directionOf(const tools::ProfileWord& settings) {
  return static_cast<ProfileDirection>(settings.direction);
}

bool shown(const tools::ProfileWord& settings, ImageSlot image) {
  return settings.shown == 0 || settings.shown == static_cast<int>(index(image)) + 1;
}

// How many view pixels one picture pixel takes: m, or 1 / r in the reduced display.
double viewPixelsPerPicturePixel(const Workbench& bench) {
  const ViewSettings view = viewSettingsOf(bench);
  if (showsReduced(view, bench.pictures.width, bench.pictures.height)) {
    return 1.0 / bench.view.reductionRatio;
  }
  return view.magnification;
}

}  // namespace

tools::ProfileWord profileSettings(const Workbench& bench) {
  return bench.tools.profileWord;
}

void setProfileSettings(Workbench& bench, tools::ProfileWord settings) {
  const tools::ProfileWord before = profileSettings(bench);
  if (settings.direction != before.direction) {
    bench.tools.profile.marks = 0;
    if (directionOf(settings) == ProfileDirection::Arbitrary) bench.tools.profileSegment.reset();
  }
  settings.lower = std::clamp(settings.lower, 0, 254);
  settings.upper = std::clamp(settings.upper, settings.lower + 1, 255);
  bench.tools.profileWord = tools::storable(settings);
  showChange(bench);
  bench.notifyPanesChanged();  // the panes show or hide the segment
}

int profileGreyStep(const Workbench& bench) {
  const int step = bench.tools.profile.greyStep;
  return step > 0 ? step : std::clamp(bench.options.ProfileGridGradation, 1, 255);
}

int profilePixelStep(const Workbench& bench) {
  const int step = bench.tools.profile.pixelStep;
  return step > 0 ? step : std::clamp(bench.options.ProfileGridPixels, 1, 512);
}

void setProfileGrid(Workbench& bench, int greyStep, int pixelStep) {
  tools::ProfileSession& session = bench.tools.profile;
  session.greyStep = std::clamp(greyStep, 1, 255);
  session.pixelStep = std::clamp(pixelStep, 1, 512);
  session.marks = 0;
  showChange(bench);
}

void moveProfileGrid(Workbench& bench, int delta) {
  const int period = std::max(1, bench.view.magnification * profilePixelStep(bench));
  tools::ProfileSession& session = bench.tools.profile;
  session.gridOffset = ((session.gridOffset + delta) % period + period) % period;
  bench.notifyToolsChanged();
}

void automaticProfileRange(Workbench& bench) {
  const tools::GreyRange range = bench.tools.profileContent.automatic;
  tools::ProfileWord settings = profileSettings(bench);
  settings.lower = range.lower;
  settings.upper = range.upper;
  bench.tools.profileWord = tools::storable(settings);
  bench.tools.profile.greyStep = range.step;
  showChange(bench);
}

void resetProfile(Workbench& bench) {
  tools::ProfileWord settings = profileSettings(bench);
  settings.lower = 0;
  settings.upper = 255;
  bench.tools.profileWord = tools::storable(settings);
  bench.tools.profile = {};
  showChange(bench);
}

bool clickProfileGraph(Workbench& bench, int x, int y, bool right) {
  const int column = x - tools::kPlotLeft, row = y - tools::kPlotTop;
  if (column < 0 || column >= tools::kPlotWidth || row < 0 || row >= tools::kPlotHeight) {
    return false;
  }
  if (directionOf(profileSettings(bench)) == ProfileDirection::Arbitrary &&
      bench.tools.profileSegment.state() != tools::LineEntry::State::Fixed) {
    return false;
  }
  tools::ProfileSession& session = bench.tools.profile;
  if (right && session.marks == 1) {
    session.markColumns[1] = column;
    session.marks = 2;
  } else {
    session.markColumns[0] = column;
    session.marks = 1;
  }
  bench.notifyToolsChanged();
  return true;
}

std::string profileReadout(const Workbench& bench, bool translated) {
  const tools::ProfileSession& session = bench.tools.profile;
  const tools::ProfileContent& content = bench.tools.profileContent;
  if (session.marks == 2) {
    return tools::distanceReadout(
        std::abs(session.markColumns[1] - session.markColumns[0]) * content.step, translated);
  }
  if (session.marks != 1) return {};
  std::array<std::optional<int>, 2> values;
  for (ImageSlot image : kImageSlots) {
    const auto& profile = content.images[index(image)];
    const auto column = static_cast<std::size_t>(session.markColumns[0]);
    if (profile && column < profile->values.size()) values[index(image)] = profile->values[column];
  }
  if (!values[0] && !values[1]) return {};
  return tools::valueReadout(values[0], values[1], translated);
}

double profilePixelSpacing(const Workbench& bench) {
  return profilePixelStep(bench) * viewPixelsPerPicturePixel(bench);
}

std::vector<ProfileSampleRow> profileSampleRows(const Workbench& bench) {
  const tools::ProfileContent& content = bench.tools.profileContent;
  std::vector<ProfileSampleRow> rows;
  rows.reserve(content.points.size());
  const auto valueAt = [&](ImageSlot image, std::size_t k) -> std::optional<int> {
    const auto& profile = content.images[index(image)];
    if (!profile || k >= profile->values.size()) return std::nullopt;
    return profile->values[k];
  };
  for (std::size_t k = 0; k < content.points.size(); ++k) {
    rows.push_back({static_cast<int>(k), content.points[k], static_cast<double>(k) * content.step,
                    valueAt(ImageSlot::First, k), valueAt(ImageSlot::Second, k)});
  }
  return rows;
}

std::string profileCsv(const Workbench& bench) {
  const auto field = [](std::optional<int> value) {
    return value ? std::to_string(*value) : std::string();
  };
  std::string csv = "k,u,v,distance,image1,image2\n";
  for (const ProfileSampleRow& row : profileSampleRows(bench)) {
    csv += text::format("%d,%d,%d,%s,", row.k, row.at.x, row.at.y,
                        text::fixedDecimal(row.distance, 4).c_str());
    csv += field(row.first) + "," + field(row.second) + "\n";
  }
  return csv;
}

bool saveProfileCsv(const Workbench& bench, const std::string& path, UserPort& user) {
  const std::string csv = profileCsv(bench);
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(csv.data()),
                                            csv.size());
  if (writeFileAtomically(path, bytes)) return true;
  user.tell(Icon::Error, text::format(text::tr("ﾌｧｲﾙの書き込みができません\n%s"), path.c_str()));
  return false;
}

void updateProfileContent(Workbench& bench) {
  tools::ProfileContent& content = bench.tools.profileContent;
  content = {};
  if (!bench.pictures.picturesPresent) return;
  const tools::ProfileWord settings = profileSettings(bench);
  const ProfileDirection direction = directionOf(settings);
  const tools::LineEntry& segment = bench.tools.profileSegment;
  if (direction == ProfileDirection::Arbitrary) {
    // No segment yet: no samples, and the automatic range of a missing profile.
    if (segment.state() != tools::LineEntry::State::None) {
      content.points = tools::profilePoints(direction, {}, segment.start(), segment.end());
    }
  } else {
    content.points = tools::profilePoints(direction, cursorViewPointOf(bench));
  }
  std::optional<int> max, min;
  bool missing = false;
  for (ImageSlot image : kImageSlots) {
    const PaneRaster& pane = bench.view.panes[index(image)];
    if (!shown(settings, image)) continue;
    if (!pane.view.empty() && !content.points.empty()) {
      const tools::Profile& profile = content.images[index(image)].emplace(
          tools::sampleProfile(pane.view.data(), content.points));
      max = std::max(max.value_or(*profile.max), *profile.max);
      min = std::min(min.value_or(*profile.min), *profile.min);
    } else {
      missing = true;
    }
  }
  content.automatic =
      missing ? tools::automaticRange(std::nullopt, std::nullopt) : tools::automaticRange(max, min);
  const double step =
      tools::profileStepLength(direction, bench.options.PixelSizeX, bench.options.PixelSizeY,
                               segment.start(), segment.end());
  content.step = step / viewPixelsPerPicturePixel(bench);
  if (settings.fullAuto) {
    tools::ProfileWord automatic = settings;
    automatic.lower = content.automatic.lower;
    automatic.upper = content.automatic.upper;
    bench.tools.profileWord = tools::storable(automatic);
    bench.tools.profile.greyStep = content.automatic.step;
  }
}

}  // namespace vemla
