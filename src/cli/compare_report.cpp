#include "cli/compare_report.h"

#include <algorithm>
#include <cstdlib>
#include <span>

#include "picture/file_helpers.h"
#include "picture/png_writer.h"
#include "text/format.h"
#include "text/number_format.h"

namespace vemla::cli {
namespace {

// Regions outlined per pair; a noisy difference may hold thousands, and the largest matter.
constexpr std::size_t kMaxOutlinedRegions = 200;
// Profile plot size and the most points one line gets.
constexpr int kPlotWidth = 760, kPlotHeight = 256, kPlotMargin = 30;
constexpr int kMaxProfilePoints = 1024;

// The regions over the threshold as rectangles one pixel outside their bounding boxes, over
// the difference picture (the SVG's user units are picture pixels).
std::string regionOutlines(const ComparedPair& pair, const PairPlanes& planes,
                           const std::string& stem) {
  std::size_t total = 0;
  const std::vector<DifferenceRegion> regions = differenceRegions(
      planes.difference, planes.width, planes.height, planes.valid, planes.zeroPoint,
      pair.threshold, kMaxOutlinedRegions, total, planes.compared);
  std::string svg = text::format(
      "<svg class=\"regions\" viewBox=\"0 0 %d %d\" preserveAspectRatio=\"none\" "
      "data-regions=\"%zu\">",
      planes.width, planes.height, total);
  // The rectangles left out, hatched (the pattern's units are picture pixels, so the hatching
  // is scaled with the picture).
  if (!pair.ignored.empty()) {
    const int spacing = std::max(4, std::max(planes.width, planes.height) / 64);
    svg += text::format(
        "<defs><pattern id=\"%shatch\" patternUnits=\"userSpaceOnUse\" width=\"%d\" "
        "height=\"%d\" patternTransform=\"rotate(45)\"><line x1=\"%d\" y1=\"0\" x2=\"%d\" "
        "y2=\"%d\"/></pattern></defs>",
        stem.c_str(), spacing, spacing, spacing / 2, spacing / 2, spacing);
  }
  for (const Rect& box : pair.ignored) {
    svg += text::format(
        "<rect class=\"ignored\" fill=\"url(#%shatch)\" data-box=\"%d,%d,%d,%d\" x=\"%d\" "
        "y=\"%d\" width=\"%d\" height=\"%d\"/>",
        stem.c_str(), box.left, box.top, box.right, box.bottom, box.left, box.top,
        box.right - box.left + 1, box.bottom - box.top + 1);
  }
  for (const DifferenceRegion& region : regions) {
    const Rect& box = region.box;
    svg += text::format(
        "<rect class=\"region\" data-box=\"%d,%d,%d,%d\" data-pixels=\"%lld\" x=\"%d\" y=\"%d\" "
        "width=\"%d\" height=\"%d\"/>",
        box.left, box.top, box.right, box.bottom, static_cast<long long>(region.pixels),
        box.left - 1, box.top - 1, box.right - box.left + 3, box.bottom - box.top + 3);
  }
  svg += "</svg>";
  if (total > regions.size()) {
    svg += text::format(
        "<p class=\"note\">%zu regions over the threshold; the %zu largest are "
        "outlined.</p>",
        total, regions.size());
  }
  return svg;
}

// One polyline of row `y` of `plane` over the valid columns, values 0..255 upwards.
std::string profileLine(const std::uint8_t* plane, const PairPlanes& planes, int y, int zeroPoint,
                        const char* cssClass) {
  const int left = std::max(planes.valid.left, 0);
  const int right = std::min(planes.valid.right, planes.width - 1);
  const int columns = right - left + 1;
  const int stride = std::max(1, (columns + kMaxProfilePoints - 1) / kMaxProfilePoints);
  const std::uint8_t* row =
      plane + static_cast<std::size_t>(y) * static_cast<std::size_t>(planes.width);
  std::string points;
  for (int x = left; x <= right; x += stride) {
    const int value = std::abs(static_cast<int>(row[x]) - zeroPoint);
    const double px =
        kPlotMargin + (columns > 1 ? (x - left) * kPlotWidth / double(columns - 1) : 0);
    const int py = kPlotMargin + (255 - value) * kPlotHeight / 255;
    points += text::format("%s,%d ", text::fixedDecimal(px, 1).c_str(), py);
  }
  return text::format("<polyline class=\"%s\" points=\"%s\"/>", cssClass, points.c_str());
}

// The rows of the two compared pictures and of the difference through the largest
// difference, with a mark at its column.
std::string profilePlot(const ComparedPair& pair, const PairPlanes& planes) {
  const PixelPosition at = pair.summary.largest;
  const int left = std::max(planes.valid.left, 0);
  const int right = std::min(planes.valid.right, planes.width - 1);
  if (at.y < 0 || at.y >= planes.height || left > right) return {};
  const int columns = right - left + 1;
  const double markX =
      kPlotMargin + (columns > 1 ? (at.x - left) * kPlotWidth / double(columns - 1) : 0);
  std::string svg = text::format(
      "<svg class=\"profile\" viewBox=\"0 0 %d %d\" width=\"%d\" height=\"%d\">"
      "<rect class=\"frame\" x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\"/>"
      "<line class=\"mark\" x1=\"%s\" y1=\"%d\" x2=\"%s\" y2=\"%d\"/>",
      kPlotWidth + 2 * kPlotMargin, kPlotHeight + 2 * kPlotMargin, kPlotWidth + 2 * kPlotMargin,
      kPlotHeight + 2 * kPlotMargin, kPlotMargin, kPlotMargin, kPlotWidth, kPlotHeight,
      text::fixedDecimal(markX, 1).c_str(), kPlotMargin, text::fixedDecimal(markX, 1).c_str(),
      kPlotMargin + kPlotHeight);
  svg += profileLine(planes.shiftedReference, planes, at.y, 0, "reference");
  svg += profileLine(planes.shiftedTest, planes, at.y, 0, "test");
  svg += profileLine(planes.difference, planes, at.y, planes.zeroPoint, "difference");
  svg += text::format(
      "<text x=\"%d\" y=\"20\">255</text><text x=\"%d\" y=\"%d\">0</text>"
      "<text x=\"%d\" y=\"%d\">x=%d</text><text x=\"%d\" y=\"%d\" text-anchor=\"end\">x=%d</text>"
      "</svg>",
      2, 2, kPlotMargin + kPlotHeight, kPlotMargin, kPlotHeight + 2 * kPlotMargin - 8, left,
      kPlotMargin + kPlotWidth, kPlotHeight + 2 * kPlotMargin - 8, right);
  return svg;
}

std::string statisticsTable(const ComparedPair& pair) {
  const DifferenceSummary& s = pair.summary;
  return text::format(
      "<table class=\"statistics\"><tr><th>shift</th><td>%s %s</td></tr>"
      "<tr><th>max</th><td>%d</td></tr><tr><th>mean</th><td>%s</td></tr>"
      "<tr><th>over %d</th><td>%lld of %lld pixels</td></tr>"
      "<tr><th>area</th><td>%s</td></tr><tr><th>largest at</th><td>%d,%d</td></tr>%s</table>",
      escapeHtml(pair.shiftX).c_str(), escapeHtml(pair.shiftY).c_str(), s.maximum,
      text::fixedDecimal(s.mean, 4).c_str(), pair.threshold, static_cast<long long>(s.over),
      static_cast<long long>(s.pixels), text::fixedDecimal(s.area, 6).c_str(), s.largest.x,
      s.largest.y,
      pair.ssim
          ? ("<tr><th>ssim</th><td>" + text::fixedDecimal(*pair.ssim, 6) + "</td></tr>").c_str()
          : "");
}

// Failed pairs first, then those exceeding a limit, each by area, then largest, then mean
// difference; the rest by name.
bool worseThan(const ComparedPair& a, const ComparedPair& b) {
  const auto rank = [](Verdict v) {
    return v == Verdict::Failed ? 0 : v == Verdict::Exceeds ? 1 : 2;
  };
  if (rank(a.verdict) != rank(b.verdict)) return rank(a.verdict) < rank(b.verdict);
  if (a.summary.area != b.summary.area) return a.summary.area > b.summary.area;
  if (a.summary.maximum != b.summary.maximum) return a.summary.maximum > b.summary.maximum;
  if (a.summary.mean != b.summary.mean) return a.summary.mean > b.summary.mean;
  return a.name < b.name;
}

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:1em 2em;color:#222}"
    "table{border-collapse:collapse}td,th{border:1px solid #bbb;padding:2px 8px;text-align:left}"
    "td.number{text-align:right}.failed td.verdict{background:#f4c7c3}"
    ".exceeds td.verdict{background:#fce8b2}.ok td.verdict{background:#b7e1cd}"
    "section{border-top:2px solid #888;margin-top:2em}"
    ".pictures{display:flex;flex-wrap:wrap;gap:1em}figure{margin:0}"
    ".pictures img{width:100%;image-rendering:pixelated;display:block}"
    ".pictures figure{width:360px}.overlay{position:relative}"
    ".overlay svg{position:absolute;left:0;top:0;width:100%;height:100%}"
    "rect.region{fill:none;stroke:#f0f;stroke-width:2;vector-effect:non-scaling-stroke}"
    "rect.ignored{stroke:#08f;stroke-width:1;vector-effect:non-scaling-stroke}"
    "pattern line{stroke:#08f;stroke-width:1;vector-effect:non-scaling-stroke}"
    "svg.profile{background:#fff}svg.profile polyline{fill:none;stroke-width:1}"
    "polyline.reference{stroke:#1f77b4}polyline.test{stroke:#2ca02c}"
    "polyline.difference{stroke:#d62728}line.mark{stroke:#999;stroke-dasharray:4}"
    "rect.frame{fill:none;stroke:#ccc}svg.profile text{font-size:12px}"
    ".paths{font-family:monospace}"
    ".swipe{position:relative}.swipe-first{position:absolute;left:0;top:0;bottom:0;width:50%;"
    "max-width:100%;min-width:4px;overflow:hidden;resize:horizontal;"
    "border-right:2px solid #ff0}.pictures .swipe-first img{width:360px;max-width:none}"
    ".blink img.second,body.flipped .blink img.first{display:none}"
    "body.flipped .blink img.second{display:block}.blink figcaption::after{content:\"REF\"}"
    "body.flipped .blink figcaption::after{content:\"TEST\"}";

// The blink views' flip, twice a second; the rest of the report needs no script.
constexpr const char* kBlinkScript =
    "<script>setInterval(function(){document.body.classList.toggle('flipped')},500)</script>";

}  // namespace

const char* verdictText(Verdict verdict) {
  return verdict == Verdict::Ok ? "ok" : verdict == Verdict::Exceeds ? "exceeds" : "failed";
}

std::string escapeHtml(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string writePairPictures(const std::string& folder, std::size_t index,
                              const ComparedPair& pair, const PairPlanes& planes,
                              std::string& error) {
  const std::string stem = text::format("pair-%zu-", index + 1);
  const Palette differencePalette = paletteOf(planes.differenceColours);
  const struct {
    const char* suffix;
    const std::uint8_t* pixels;
    const Palette* palette;
  } pictures[] = {{"reference.png", planes.reference, planes.referencePalette},
                  {"test.png", planes.test, planes.testPalette},
                  {"difference.png", planes.difference, &differencePalette},
                  {"aligned-reference.png", planes.shiftedReference, planes.referencePalette},
                  {"aligned-test.png", planes.shiftedTest, planes.testPalette}};
  for (const auto& picture : pictures) {
    const std::string path = inFolder(folder, stem + picture.suffix);
    if (writePngPicture(path, planes.width, planes.height, 1, picture.pixels, picture.palette) !=
        0) {
      error = path + ": cannot be written";
      return {};
    }
  }
  std::string html = statisticsTable(pair);
  html += "<div class=\"pictures\">";
  html += text::format(
      "<figure><img src=\"%sreference.png\" alt=\"REF\"><figcaption>REF</figcaption></figure>"
      "<figure><img src=\"%stest.png\" alt=\"TEST\"><figcaption>TEST</figcaption></figure>",
      stem.c_str(), stem.c_str());
  html += text::format(
      "<figure><div class=\"overlay\"><img src=\"%sdifference.png\" "
      "alt=\"difference\">",
      stem.c_str());
  html += regionOutlines(pair, planes, stem);
  html += text::format(
      "</div><figcaption>difference; regions over %d outlined%s</figcaption>"
      "</figure></div>",
      pair.threshold, pair.ignored.empty() ? "" : ", rectangles left out hatched");
  // The aligned pair as a swipe (the CSS resize handle of the upper picture's box moves the
  // divider, no script) and as a blink (flipped by the report's one line of script).
  html += text::format(
      "<div class=\"pictures\"><figure><div class=\"swipe\">"
      "<img src=\"%saligned-test.png\" alt=\"aligned TEST\">"
      "<div class=\"swipe-first\"><img src=\"%saligned-reference.png\" alt=\"aligned REF\">"
      "</div></div><figcaption>swipe: aligned REF | TEST (drag the corner)</figcaption></figure>"
      "<figure class=\"blink\"><img class=\"first\" src=\"%saligned-reference.png\" "
      "alt=\"aligned REF\"><img class=\"second\" src=\"%saligned-test.png\" "
      "alt=\"aligned TEST\"><figcaption>blink: aligned </figcaption></figure></div>",
      stem.c_str(), stem.c_str(), stem.c_str(), stem.c_str());
  html += text::format("<h3>Profile of row %d through the largest difference (x=%d)</h3>",
                       pair.summary.largest.y, pair.summary.largest.x);
  html += profilePlot(pair, planes);
  html +=
      "<p class=\"legend\"><span style=\"color:#1f77b4\">REF</span> "
      "<span style=\"color:#2ca02c\">TEST</span> "
      "<span style=\"color:#d62728\">difference</span></p>";
  return html;
}

bool writeReportIndex(const std::string& folder, const std::vector<ReportEntry>& entries) {
  std::vector<const ReportEntry*> order;
  for (const ReportEntry& entry : entries) order.push_back(&entry);
  std::stable_sort(order.begin(), order.end(), [](const ReportEntry* a, const ReportEntry* b) {
    return worseThan(a->pair, b->pair);
  });
  std::size_t exceeding = 0, failed = 0;
  for (const ReportEntry& entry : entries) {
    exceeding += entry.pair.verdict == Verdict::Exceeds;
    failed += entry.pair.verdict == Verdict::Failed;
  }
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
      "<title>vemla-cli compare</title><style>";
  html += kStyle;
  html += "</style></head><body><h1>vemla-cli compare</h1>";
  html += text::format("<p class=\"totals\">pairs=%zu exceeds=%zu failed=%zu</p>", entries.size(),
                       exceeding, failed);
  html +=
      "<table class=\"summary\"><thead><tr><th>name</th><th>verdict</th><th>max</th>"
      "<th>mean</th><th>over</th><th>area</th><th>shift</th></tr></thead><tbody>\n";
  for (const ReportEntry* entry : order) {
    const ComparedPair& pair = entry->pair;
    const std::size_t at = static_cast<std::size_t>(entry - entries.data()) + 1;
    html += text::format(
        "<tr class=\"%s\"><td><a href=\"#pair-%zu\">%s</a></td>"
        "<td class=\"verdict\">%s</td>",
        verdictText(pair.verdict), at, escapeHtml(pair.name).c_str(), verdictText(pair.verdict));
    if (pair.verdict == Verdict::Failed) {
      html += text::format("<td colspan=\"5\">%s</td></tr>\n", escapeHtml(pair.problem).c_str());
      continue;
    }
    html += text::format(
        "<td class=\"number\">%d</td><td class=\"number\">%s</td><td class=\"number\">%lld</td>"
        "<td class=\"number\">%s</td><td>%s %s</td></tr>\n",
        pair.summary.maximum, text::fixedDecimal(pair.summary.mean, 4).c_str(),
        static_cast<long long>(pair.summary.over), text::fixedDecimal(pair.summary.area, 6).c_str(),
        escapeHtml(pair.shiftX).c_str(), escapeHtml(pair.shiftY).c_str());
  }
  html += "</tbody></table>\n";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ComparedPair& pair = entries[i].pair;
    html += text::format("<section id=\"pair-%zu\" class=\"%s\"><h2>%s: %s</h2>", i + 1,
                         verdictText(pair.verdict), escapeHtml(pair.name).c_str(),
                         verdictText(pair.verdict));
    html += "<p class=\"paths\">REF " + escapeHtml(pair.reference) + "<br>TEST " +
            escapeHtml(pair.test) + "</p>";
    if (pair.verdict == Verdict::Failed) html += "<p>" + escapeHtml(pair.problem) + "</p>";
    html += entries[i].picturesHtml;
    html += "</section>\n";
  }
  html += kBlinkScript;
  html += "</body></html>\n";
  return writeFileAtomically(
      inFolder(folder, "index.html"),
      std::span(reinterpret_cast<const std::uint8_t*>(html.data()), html.size()));
}

}  // namespace vemla::cli
