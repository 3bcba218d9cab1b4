#include "extensions/user_processing.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "extensions/expression.h"
#include "text/cp932.h"
#include "text/decimal_text.h"

namespace vemla {
namespace {

constexpr int kFormFilter = 0;
constexpr int kFormExpression = 1;

// Field limits count CP932 bytes, which are never more than the UTF-8 bytes.
bool withinLimit(const std::string& text, std::size_t limit) {
  if (text.size() <= limit) return true;
  const std::optional<std::string> stored = text::utf8ToCp932(text);
  return stored && stored->size() <= limit;
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

// Zeroes every pixel outside the computing range.
void clearOutside(std::uint8_t* image, int width, int height, const Rect& computing) {
  const auto rowStart = [&](int y) {
    return image + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
  };
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
    std::memset(row + computing.right + 1, 0,
                static_cast<std::size_t>(width - 1 - computing.right));
  }
}

std::optional<UserProcessingArea> applyExpression(const UserProcessingEntry& entry,
                                                  const std::uint8_t* shifted1,
                                                  const std::uint8_t* shifted2, int width,
                                                  int height, std::uint8_t* image,
                                                  const RowProgress& progress,
                                                  const ParallelFor& parallel) {
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
  const int count = area.computing.right - area.computing.left + 1;
  // An evaluation costs many times a copy of its pixel.
  constexpr std::size_t kWorkPerPixel = 16;
  forEachRowShared(area.computing, width, image, progress, parallel, kWorkPerPixel, [&] {
    return [&, evaluator = ExpressionRowEvaluator(*compiled),
            pixels = std::vector<const std::uint8_t*>(references.size())](
               int y, std::uint8_t* out) mutable {
      // Inside the computing range every reference lies inside the picture.
      for (std::size_t k = 0; k < references.size(); ++k) {
        const std::uint8_t* picture = references[k].picture == 1 ? shifted1 : shifted2;
        pixels[k] =
            picture +
            static_cast<std::size_t>(y + references[k].dy) * static_cast<std::size_t>(width) +
            static_cast<std::size_t>(area.computing.left + references[k].dx);
      }
      evaluator.evaluate(pixels, count, out);
    };
  });
  return area;
}

std::optional<UserProcessingArea> applyFilter(const UserProcessingEntry& entry,
                                              const std::uint8_t* shifted1,
                                              const std::uint8_t* shifted2, int width, int height,
                                              std::uint8_t* image, const RowProgress& progress,
                                              const ParallelFor& parallel,
                                              FilterArithmetic arithmetic) {
  if (entry.filterPicture != 0 && entry.filterPicture != 1) return std::nullopt;
  std::vector<FilterWeight> weights;
  int firstRow = kFilterSide, lastRow = -1, firstColumn = kFilterSide, lastColumn = -1;
  for (int row = 0; row < kFilterSide; ++row) {
    for (int column = 0; column < kFilterSide; ++column) {
      const std::string& element =
          entry.elements[static_cast<std::size_t>(row * kFilterSide + column)];
      if (element.empty()) continue;
      if (!withinLimit(element, kMaxFilterElementLength)) return std::nullopt;
      firstRow = std::min(firstRow, row);
      lastRow = std::max(lastRow, row);
      firstColumn = std::min(firstColumn, column);
      lastColumn = std::max(lastColumn, column);
      const double value = text::readLeadingNumber(element);
      if (value != 0) weights.push_back({row, column, value});
    }
  }
  if (lastRow < 0) return std::nullopt;
  if (!withinLimit(entry.divisor, kMaxFilterDivisorLength)) return std::nullopt;
  const double divisor = entry.correction == 1 ? text::readLeadingNumber(entry.divisor) : 0.0;

  const int marginX =
      std::max(std::abs(kFilterCentre - firstColumn), std::abs(kFilterCentre - lastColumn));
  const int marginY =
      std::max(std::abs(kFilterCentre - firstRow), std::abs(kFilterCentre - lastRow));
  const bool second = entry.filterPicture == 1;
  const UserProcessingArea area =
      makeArea(marginX, marginY, width, height,
               second ? StatisticsPictures::Picture2 : StatisticsPictures::Picture1);
  clearOutside(image, width, height, area.computing);
  applyFilterWeights(weights, divisor, second ? shifted2 : shifted1, width, area.computing, image,
                     progress, parallel, arithmetic);
  return area;
}

}  // namespace

std::optional<UserProcessingArea> applyUserProcessing(
    const UserProcessingEntry& entry, const std::uint8_t* shifted1, const std::uint8_t* shifted2,
    int width, int height, std::uint8_t* image, const RowProgress& progress,
    const ParallelFor& parallel, FilterArithmetic arithmetic) {
  if (width < 1 || height < 1 || shifted1 == nullptr || shifted2 == nullptr || image == nullptr) {
    return std::nullopt;
  }
  if (entry.form == kFormExpression) {
    return applyExpression(entry, shifted1, shifted2, width, height, image, progress, parallel);
  }
  if (entry.form == kFormFilter) {
    return applyFilter(entry, shifted1, shifted2, width, height, image, progress, parallel,
                       arithmetic);
  }
  return std::nullopt;
}

}  // namespace vemla
