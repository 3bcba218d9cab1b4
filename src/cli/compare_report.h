#pragma once
// The HTML report of 'compare': one index.html in the report folder with a summary table (the
// worst pair first) and one section per pair, whose pictures are PNG files beside it. Nothing
// is fetched from elsewhere; the only script is one inline line that flips the blink views (the
// swipe views work without it); every text taken from outside is escaped.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "picture/palette.h"
#include "processing/colour_tables.h"
#include "processing/difference_summary.h"

namespace vemla::cli {

enum class Verdict { Ok, Exceeds, Failed };

// What the comparison of one pair gave.
struct ComparedPair {
  std::string name;  // the file name in folder mode, else TEST's
  std::string reference, test;
  Verdict verdict = Verdict::Failed;
  std::string problem;  // why a failed pair failed
  std::string shiftX, shiftY;
  int threshold = 0;
  DifferenceSummary summary{};
  std::vector<Rect> ignored;   // the rectangles left out, clipped to the picture
  std::optional<double> ssim;  // the structural similarity, when asked for
};

// The planes one pair's section is drawn from; borrowed for the call.
struct PairPlanes {
  int width = 0, height = 0;
  const std::uint8_t* reference = nullptr;  // as opened
  const Palette* referencePalette = nullptr;
  const std::uint8_t* test = nullptr;
  const Palette* testPalette = nullptr;
  const std::uint8_t* shiftedReference = nullptr;  // as compared
  const std::uint8_t* shiftedTest = nullptr;
  const std::uint8_t* difference = nullptr;
  ColourTable differenceColours{};
  Rect valid{};
  int zeroPoint = 0;
  const std::uint8_t* compared = nullptr;  // the compared-pixel flags, or null for every pixel
};

// Writes the pair's three PNG files into `folder` (named by `index`) and returns the HTML of
// its pictures, outlined regions and profile; an empty string and `error` set on failure.
std::string writePairPictures(const std::string& folder, std::size_t index,
                              const ComparedPair& pair, const PairPlanes& planes,
                              std::string& error);

struct ReportEntry {
  ComparedPair pair;
  std::string picturesHtml;  // from writePairPictures, empty for a failed pair
};

// Writes `folder`/index.html atomically; false when it cannot be written.
bool writeReportIndex(const std::string& folder, const std::vector<ReportEntry>& entries);

// The text for HTML content and attribute values: & < > " ' escaped.
std::string escapeHtml(const std::string& text);

const char* verdictText(Verdict verdict);

}  // namespace vemla::cli
