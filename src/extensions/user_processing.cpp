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

// The same for an extended-precision value, without the slow extended-to-integer conversion:
// the value rounded to double truncates to the right integer or to the one above it, which
// is then larger than the value.
template <>
std::uint8_t greyFrom(long double value) {
  if (!(value > 0)) return 0;
  if (value >= 255) return 255;
  int whole = static_cast<int>(static_cast<double>(value));
  if (static_cast<long double>(whole) > value) --whole;
  return static_cast<std::uint8_t>(whole);
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

bool isEmpty(const Rect& rect) {
  return rect.left > rect.right || rect.top > rect.bottom;
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

// Rows computed together between two progress reports, per thread.
constexpr int kRowsPerBlock = 16;

// forEachRow on `parallel`: the rows go in blocks, each block's rows split among the threads,
// every piece computing its rows with its own worker from `makeWorker()` (worker(y, out)
// computes row y); the progress is told on the calling thread after each block. Rows are
// independent, so the image is the same however they are split. On one thread: forEachRow.
template <typename MakeWorker>
void forEachRowShared(const Rect& computing, int width, std::uint8_t* image,
                      const RowProgress& progress, const ParallelFor& parallel,
                      std::size_t workPerPixel, MakeWorker makeWorker) {
  if (parallel.threads() <= 1) {
    auto worker = makeWorker();
    forEachRow(computing, width, image, progress, worker);
    return;
  }
  if (isEmpty(computing)) return;
  const int total = computing.bottom - computing.top + 1;
  const std::size_t rowWork =
      static_cast<std::size_t>(computing.right - computing.left + 1) * workPerPixel;
  const int block = kRowsPerBlock * parallel.threads();
  for (int first = 0; first < total; first += block) {
    const int rows = std::min(block, total - first);
    parallel(rows, rowWork * static_cast<std::size_t>(rows), [&](int begin, int end) {
      auto worker = makeWorker();
      for (int row = begin; row < end; ++row) {
        const int y = computing.top + first + row;
        worker(y, image + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(computing.left));
      }
    });
    if (progress) progress(first + rows, total);
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

struct FilterWeight {
  int row;     // 0 .. 8, offset row - 4
  int column;  // 0 .. 8, offset column - 4
  double value;
};

// The power of two 2^scale that makes every weight an integer, and the largest sum of
// pixel x scaled weight products that can occur, when that stays below 2^53.
struct IntegerWeights {
  int scale;
  double largestSum;
};

std::optional<IntegerWeights> integerWeights(const std::vector<FilterWeight>& weights) {
  constexpr int kMaxScale = 30;
  constexpr double kDoubleExact = 9007199254740992.0;  // 2^53
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
    if (integral) {
      if (total * 255 >= kDoubleExact) return std::nullopt;
      return IntegerWeights{scale, total * 255};
    }
  }
  return std::nullopt;
}

// Source rows converted once each to the type the sums are formed in. A filter spans at most
// nine rows, so row y can stay in slot y % 9 while it is needed.
template <typename T>
class ConvertedRows {
 public:
  ConvertedRows(const std::uint8_t* picture, int width)
      : picture_(picture),
        width_(static_cast<std::size_t>(width)),
        rows_(kFilterSide * width_),
        held_(kFilterSide, -1) {}

  const T* row(int y) {
    const auto slot = static_cast<std::size_t>(y % kFilterSide);
    T* out = rows_.data() + slot * width_;
    if (held_[slot] != y) {
      const std::uint8_t* in = picture_ + static_cast<std::size_t>(y) * width_;
      for (std::size_t i = 0; i < width_; ++i) out[i] = in[i];
      held_[slot] = y;
    }
    return out;
  }

 private:
  const std::uint8_t* picture_;
  std::size_t width_;
  std::vector<T> rows_;
  std::vector<int> held_;
};

struct FilterJob {
  const std::uint8_t* picture;
  int width;
  Rect computing;
  std::uint8_t* image;
  const RowProgress& progress;
  std::vector<FilterWeight> weights;  // the non-zero elements in row-major order
  bool divide;
  FilterReal divisor;

  int count() const { return computing.right - computing.left + 1; }
  // Where the row of `weight` starts for output row y, in converted rows of T.
  template <typename T>
  const T* source(ConvertedRows<T>& rows, int y, const FilterWeight& weight) const {
    return rows.row(y + weight.row - kFilterCentre) +
           (computing.left + weight.column - kFilterCentre);
  }
  std::uint8_t finish(FilterReal sum) const { return greyFrom(divide ? sum / divisor : sum); }
};

// Integer weights (after scaling by a power of two): every product and every partial sum is
// an exact integer, in float below 2^24 and in double below 2^53, so the order of the
// additions does not matter and the sum equals the extended-precision sum.
template <typename T>
void filterExactly(const FilterJob& job, int scale) {
  ConvertedRows<T> rows(job.picture, job.width);
  std::vector<T> scaled;
  for (const FilterWeight& weight : job.weights)
    scaled.push_back(static_cast<T>(std::ldexp(weight.value, scale)));
  // The sum S is an integer and S / 2^scale is exact in double. Divided by a divisor d for
  // which D = d * 2^scale is an integer too, the double quotient S / D lies within
  // |S / D| * 2^-53 of the exact one while a non-integer S / D lies at least 1 / |D| from the
  // nearest integer, so with |S| < 2^53 it truncates to the same integer as the
  // extended-precision quotient. Other divisors divide in extended precision.
  const double unscale = std::ldexp(1.0, -scale);
  const FilterReal extendedUnscale = unscale;
  const double scaledDivisor =
      job.divide ? std::ldexp(static_cast<double>(job.divisor), scale) : 1.0;
  const bool divideInDouble =
      !job.divide || (std::isfinite(scaledDivisor) && scaledDivisor == std::trunc(scaledDivisor) &&
                      std::fabs(scaledDivisor) < 9007199254740992.0);
  const int count = job.count();
  std::vector<T> sums(static_cast<std::size_t>(count));
  forEachRow(job.computing, job.width, job.image, job.progress, [&](int y, std::uint8_t* out) {
    std::fill(sums.begin(), sums.end(), T{0});
    T* sum = sums.data();
    for (std::size_t k = 0; k < job.weights.size(); ++k) {
      const T* pixels = job.source(rows, y, job.weights[k]);
      const T weight = scaled[k];
      for (int i = 0; i < count; ++i) sum[i] += weight * pixels[i];
    }
    if (!job.divide) {
      for (int i = 0; i < count; ++i) out[i] = greyFrom(static_cast<double>(sum[i]) * unscale);
    } else if (divideInDouble) {
      for (int i = 0; i < count; ++i)
        out[i] = greyFrom(static_cast<double>(sum[i]) / scaledDivisor);
    } else {
      for (int i = 0; i < count; ++i)
        out[i] = job.finish(static_cast<FilterReal>(sum[i]) * extendedUnscale);
    }
  });
}

// Other weights (0.1, 0.333 …): the sum is rounded after every addition, so it is formed in
// extended precision, element by element in row-major order. Four pixels at a time keep four
// independent sums in registers.
void filterExtended(const FilterJob& job) {
  ConvertedRows<double> rows(job.picture, job.width);
  const std::size_t weightCount = job.weights.size();
  std::vector<FilterReal> weights;
  for (const FilterWeight& weight : job.weights) weights.push_back(weight.value);
  std::vector<const double*> sources(weightCount);
  const int count = job.count();
  forEachRow(job.computing, job.width, job.image, job.progress, [&](int y, std::uint8_t* out) {
    for (std::size_t k = 0; k < weightCount; ++k) sources[k] = job.source(rows, y, job.weights[k]);
    int i = 0;
    for (; i + 4 <= count; i += 4) {
      FilterReal sum0 = 0, sum1 = 0, sum2 = 0, sum3 = 0;
      for (std::size_t k = 0; k < weightCount; ++k) {
        const FilterReal weight = weights[k];
        const double* pixels = sources[k] + i;
        sum0 += weight * pixels[0];
        sum1 += weight * pixels[1];
        sum2 += weight * pixels[2];
        sum3 += weight * pixels[3];
      }
      out[i] = job.finish(sum0);
      out[i + 1] = job.finish(sum1);
      out[i + 2] = job.finish(sum2);
      out[i + 3] = job.finish(sum3);
    }
    for (; i < count; ++i) {
      FilterReal sum = 0;
      for (std::size_t k = 0; k < weightCount; ++k) sum += weights[k] * sources[k][i];
      out[i] = job.finish(sum);
    }
  });
}

std::optional<UserProcessingArea> applyFilter(const UserProcessingEntry& entry,
                                              const std::uint8_t* shifted1,
                                              const std::uint8_t* shifted2, int width, int height,
                                              std::uint8_t* image, const RowProgress& progress) {
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
      const double value = readLeadingNumber(element);
      if (value != 0) weights.push_back({row, column, value});
    }
  }
  if (lastRow < 0) return std::nullopt;
  if (!withinLimit(entry.divisor, kMaxFilterDivisorLength)) return std::nullopt;
  const double divisor = entry.correction == 1 ? readLeadingNumber(entry.divisor) : 0.0;

  const int marginX =
      std::max(std::abs(kFilterCentre - firstColumn), std::abs(kFilterCentre - lastColumn));
  const int marginY =
      std::max(std::abs(kFilterCentre - firstRow), std::abs(kFilterCentre - lastRow));
  const bool second = entry.filterPicture == 1;
  const UserProcessingArea area =
      makeArea(marginX, marginY, width, height,
               second ? StatisticsPictures::Picture2 : StatisticsPictures::Picture1);
  clearOutside(image, width, height, area.computing);
  if (isEmpty(area.computing)) return area;

  const FilterJob job{
      second ? shifted2 : shifted1, width,        area.computing, image, progress,
      std::move(weights),           divisor != 0, divisor};  // a divisor of 0: no division
  constexpr double kFloatExact = 16777216.0;                 // 2^24
  if (const std::optional<IntegerWeights> integer = integerWeights(job.weights)) {
    if (integer->largestSum < kFloatExact) {
      filterExactly<float>(job, integer->scale);
    } else {
      filterExactly<double>(job, integer->scale);
    }
  } else {
    filterExtended(job);
  }
  return area;
}

}  // namespace

std::optional<UserProcessingArea> applyUserProcessing(const UserProcessingEntry& entry,
                                                      const std::uint8_t* shifted1,
                                                      const std::uint8_t* shifted2, int width,
                                                      int height, std::uint8_t* image,
                                                      const RowProgress& progress,
                                                      const ParallelFor& parallel) {
  if (width < 1 || height < 1 || shifted1 == nullptr || shifted2 == nullptr || image == nullptr) {
    return std::nullopt;
  }
  if (entry.form == kFormExpression) {
    return applyExpression(entry, shifted1, shifted2, width, height, image, progress, parallel);
  }
  if (entry.form == kFormFilter) {
    return applyFilter(entry, shifted1, shifted2, width, height, image, progress);
  }
  return std::nullopt;
}

}  // namespace vemla
