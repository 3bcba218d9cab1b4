#include "extensions/user_processing.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "extensions/decimal_text.h"
#include "extensions/expression.h"
#include "text/cp932.h"

namespace vemla {
namespace {

// The filter sum and its division are carried out in extended precision.
using FilterReal = long double;

constexpr int kFilterSide = 9;
constexpr int kFilterCentre = 4;
constexpr int kFormFilter = 0;
constexpr int kFormExpression = 1;

// Field limits count CP932 bytes, which are never more than the UTF-8 bytes.
bool withinLimit(const std::string& text, std::size_t limit) {
  if (text.size() <= limit) return true;
  const std::optional<std::string> stored = text::utf8ToCp932(text);
  return stored && stored->size() <= limit;
}

template <typename Real>
std::uint8_t greyFrom(Real value) {
  if (!(value > 0)) return 0;  // not-a-number too
  if (value >= 255) return 255;
  return static_cast<std::uint8_t>(value);
}

UserProcessingArea makeArea(int marginX, int marginY, int width, int height,
                            StatisticsPictures statistics) {
  UserProcessingArea area;
  area.marginX = marginX;
  area.marginY = marginY;
  area.computing = {marginX, marginY, width - 1 - marginX, height - 1 - marginY};
  area.statistics = statistics;
  return area;
}

bool isEmpty(const Rect& rect) { return rect.left > rect.right || rect.top > rect.bottom; }

// Zeroes every pixel outside the computing range.
void clearOutside(std::uint8_t* image, int width, int height, const Rect& computing) {
  const auto rowStart = [&](int y) { return image + static_cast<std::size_t>(y) * static_cast<std::size_t>(width); };
  if (isEmpty(computing)) {
    std::memset(image, 0, static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    return;
  }
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = rowStart(y);
    if (y < computing.top || y > computing.bottom) {
      std::memset(row, 0, static_cast<std::size_t>(width));
      continue;
    }
    std::memset(row, 0, static_cast<std::size_t>(computing.left));
    std::memset(row + computing.right + 1, 0, static_cast<std::size_t>(width - 1 - computing.right));
  }
}

// Runs `computeRow(y, firstPixelOfTheRowInTheImage)` over the rows of the computing range,
// telling the progress after each.
template <typename ComputeRow>
void forEachRow(const Rect& computing, int width, std::uint8_t* image, const RowProgress& progress,
                ComputeRow computeRow) {
  if (isEmpty(computing)) return;
  const int total = computing.bottom - computing.top + 1;
  for (int y = computing.top; y <= computing.bottom; ++y) {
    computeRow(y, image + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(computing.left));
    if (progress) progress(y - computing.top + 1, total);
  }
}

std::optional<UserProcessingArea> applyExpression(const persist::UserProcessingEntry& entry,
                                                  const std::uint8_t* shifted1,
                                                  const std::uint8_t* shifted2, int width,
                                                  int height, std::uint8_t* image,
                                                  const RowProgress& progress) {
  if (!withinLimit(entry.expression, kMaxExpressionLength)) return std::nullopt;
  const std::optional<PixelReferences> extracted = extractPixelReferences(entry.expression);
  if (!extracted) return std::nullopt;
  const std::vector<PixelReference>& references = extracted->references;
  const std::optional<CompiledExpression> compiled = compileExpression(
      extracted->text, ExpressionVariant::Image, static_cast<int>(references.size()));
  if (!compiled) return std::nullopt;

  const UserProcessingArea area =
      makeArea(extracted->marginX, extracted->marginY, width, height, StatisticsPictures::Both);
  clearOutside(image, width, height, area.computing);
  ExpressionRowEvaluator evaluator(*compiled);
  std::vector<const std::uint8_t*> pixels(references.size());
  const int count = area.computing.right - area.computing.left + 1;
  forEachRow(area.computing, width, image, progress, [&](int y, std::uint8_t* out) {
    // Inside the computing range every reference lies inside the picture.
    for (std::size_t k = 0; k < references.size(); ++k) {
      const std::uint8_t* picture = references[k].picture == 1 ? shifted1 : shifted2;
      pixels[k] = picture + static_cast<std::size_t>(y + references[k].dy) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(area.computing.left + references[k].dx);
    }
    evaluator.evaluate(pixels, count, out);
  });
  return area;
}

struct FilterWeight {
  int row;     // 0 .. 8, offset row - 4
  int column;  // 0 .. 8, offset column - 4
  double value;
};

// The power of two that makes every weight an integer while the largest possible sum,
// 255 times the sum of the scaled magnitudes, stays below 2^53. Every partial sum of
// pixel x weight products is then an exact integer in double, and exact in extended precision
// too, so summing in double in any order gives the extended-precision sum exactly.
std::optional<int> exactScale(const std::vector<FilterWeight>& weights) {
  constexpr int kMaxScale = 30;
  constexpr double kExactLimit = 9007199254740992.0;  // 2^53
  for (int scale = 0; scale <= kMaxScale; ++scale) {
    double total = 0;
    bool integral = true;
    for (const FilterWeight& weight : weights) {
      const double scaled = std::ldexp(weight.value, scale);
      if (!std::isfinite(scaled) || scaled != std::trunc(scaled)) {
        integral = false;
        break;
      }
      total += std::fabs(scaled);
    }
    if (integral) return total * 255 < kExactLimit ? std::optional<int>(scale) : std::nullopt;
  }
  return std::nullopt;
}

std::optional<UserProcessingArea> applyFilter(const persist::UserProcessingEntry& entry,
                                              const std::uint8_t* shifted1,
                                              const std::uint8_t* shifted2, int width, int height,
                                              std::uint8_t* image, const RowProgress& progress) {
  if (entry.filterPicture != 0 && entry.filterPicture != 1) return std::nullopt;
  std::vector<FilterWeight> weights;
  int firstRow = kFilterSide, lastRow = -1, firstColumn = kFilterSide, lastColumn = -1;
  for (int row = 0; row < kFilterSide; ++row) {
    for (int column = 0; column < kFilterSide; ++column) {
      const std::string& element = entry.elements[static_cast<std::size_t>(row * kFilterSide + column)];
      if (element.empty()) continue;
      if (!withinLimit(element, kMaxFilterElementLength)) return std::nullopt;
      firstRow = std::min(firstRow, row);
      lastRow = std::max(lastRow, row);
      firstColumn = std::min(firstColumn, column);
      lastColumn = std::max(lastColumn, column);
      const double value = readLeadingNumber(element);
      if (value != 0) weights.push_back({row, column, value});
    }
  }
  if (lastRow < 0) return std::nullopt;
  if (!withinLimit(entry.divisor, kMaxFilterDivisorLength)) return std::nullopt;
  const double divisor = entry.correction == 1 ? readLeadingNumber(entry.divisor) : 0.0;
  const bool divide = divisor != 0;  // a divisor of 0 means no division

  const int marginX = std::max(std::abs(kFilterCentre - firstColumn), std::abs(kFilterCentre - lastColumn));
  const int marginY = std::max(std::abs(kFilterCentre - firstRow), std::abs(kFilterCentre - lastRow));
  const bool second = entry.filterPicture == 1;
  const std::uint8_t* picture = second ? shifted2 : shifted1;
  const UserProcessingArea area = makeArea(
      marginX, marginY, width, height, second ? StatisticsPictures::Picture2 : StatisticsPictures::Picture1);
  clearOutside(image, width, height, area.computing);
  if (isEmpty(area.computing)) return area;

  const int count = area.computing.right - area.computing.left + 1;
  const auto source = [&](int y, const FilterWeight& weight) {
    return picture + static_cast<std::size_t>(y + weight.row - kFilterCentre) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(area.computing.left + weight.column - kFilterCentre);
  };
  const FilterReal extendedDivisor = divisor;

  if (const std::optional<int> scale = exactScale(weights)) {
    std::vector<double> scaled;
    for (const FilterWeight& weight : weights) scaled.push_back(std::ldexp(weight.value, *scale));
    const FilterReal unscale = std::ldexp(FilterReal{1}, -*scale);
    std::vector<double> sums(static_cast<std::size_t>(count));
    forEachRow(area.computing, width, image, progress, [&](int y, std::uint8_t* out) {
      std::fill(sums.begin(), sums.end(), 0.0);
      for (std::size_t k = 0; k < weights.size(); ++k) {
        const std::uint8_t* pixels = source(y, weights[k]);
        const double weight = scaled[k];
        for (int i = 0; i < count; ++i) sums[static_cast<std::size_t>(i)] += weight * pixels[i];
      }
      if (*scale == 0 && !divide) {
        for (int i = 0; i < count; ++i) out[i] = greyFrom(sums[static_cast<std::size_t>(i)]);
        return;
      }
      for (int i = 0; i < count; ++i) {
        FilterReal value = static_cast<FilterReal>(sums[static_cast<std::size_t>(i)]) * unscale;
        if (divide) value /= extendedDivisor;
        out[i] = greyFrom(value);
      }
    });
    return area;
  }

  // Weights that are no scaled integers (0.1, 1/3 written out …): the sum is rounded after
  // every addition, so it is formed in extended precision in the elements' row-major order.
  std::vector<FilterReal> sums(static_cast<std::size_t>(count));
  forEachRow(area.computing, width, image, progress, [&](int y, std::uint8_t* out) {
    std::fill(sums.begin(), sums.end(), FilterReal{0});
    for (const FilterWeight& weight : weights) {
      const std::uint8_t* pixels = source(y, weight);
      const FilterReal value = weight.value;
      for (int i = 0; i < count; ++i) sums[static_cast<std::size_t>(i)] += value * pixels[i];
    }
    for (int i = 0; i < count; ++i) {
      FilterReal value = sums[static_cast<std::size_t>(i)];
      if (divide) value /= extendedDivisor;
      out[i] = greyFrom(value);
    }
  });
  return area;
}

}  // namespace

std::optional<UserProcessingArea> applyUserProcessing(const persist::UserProcessingEntry& entry,
                                                      const std::uint8_t* shifted1,
                                                      const std::uint8_t* shifted2, int width,
                                                      int height, std::uint8_t* image,
                                                      const RowProgress& progress) {
  if (width < 1 || height < 1 || shifted1 == nullptr || shifted2 == nullptr || image == nullptr) {
    return std::nullopt;
  }
  if (entry.form == kFormExpression) {
    return applyExpression(entry, shifted1, shifted2, width, height, image, progress);
  }
  if (entry.form == kFormFilter) {
    return applyFilter(entry, shifted1, shifted2, width, height, image, progress);
  }
  return std::nullopt;
}

}  // namespace vemla
