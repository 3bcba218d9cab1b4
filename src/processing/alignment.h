#pragma once
// The automatic alignment search: the whole-pixel plus sub-pixel shift that best lays the
// target region onto the reference region, by "標準" (sum of absolute differences over the
// region, refined level by level with linear interpolation) or "高速" (the worst single row or
// column sum mismatch, searched per axis).
#include <cstdint>
#include <string>

#include "processing/parallel_for.h"
#include "processing/picture_control.h"
#include "processing/row_kernels.h"
#include "text/translate.h"

namespace vemla {

namespace msg {
inline constexpr const char* kAlignmentRegionTooSmall = text::N_(
    "ｱﾗｲﾒﾝﾄ対象となる範囲が小さすぎます(x:%d y:%d)\n"
    "対象範囲を拡げるかｱﾗｲﾒﾝﾄ範囲を小さくして下さい");
inline constexpr const char* kAlignmentRegionTooLarge = text::N_("ｱﾗｲﾒﾝﾄのﾃﾞｰﾀｻｲｽﾞは最大 %d です");
}  // namespace msg

inline constexpr int kMaxAlignmentSize = 4096;

// A search result: flags 1 = the target's content moves right (X) / down (Y); sub-steps in
// units of 1/p.
struct AlignmentSteps {
  int xFlag = 0, yFlag = 0;
  int wholeX = 0, wholeY = 0;
  int stepsX = 0, stepsY = 0;
  bool operator==(const AlignmentSteps&) const = default;
};

struct AlignmentOutcome {
  bool found = false;
  std::string message;  // the failure message when not found
  AlignmentSteps steps{};
};

// Searches every whole offset within +/- rangeX, rangeY and refines to 1/precision. The regions
// are width x height bytes, row after row. Fails with the size messages when a range is outside
// 1..32, 2 * range + 2 >= the size, or a size exceeds 4096. `precision` is one of kDivisions.
// The "標準" candidates may be shared out by `parallel`; the result is the same.
AlignmentOutcome alignPictures(int criterion, int precision, const std::uint8_t* reference,
                               const std::uint8_t* target, int width, int height, int rangeX,
                               int rangeY, const ParallelFor& parallel = {});
AlignmentOutcome alignPictures(const RowKernels& kernels, int criterion, int precision,
                               const std::uint8_t* reference, const std::uint8_t* target, int width,
                               int height, int rangeX, int rangeY,
                               const ParallelFor& parallel = {});

// The result field ("自動ｱﾗｲﾒﾝﾄ実行の結果です"): "右：3+4/16 上下：なし" and the like, with the
// sub-steps in units of the precision the result was found with; empty without a result.
// `translated`: in the language in use, as a window shows it; else the system's own words, as
// vemla-cli prints it.
std::string alignmentResultText(const AlignmentResult& result, const AlignmentKeys& keys,
                                bool translated = false);

}  // namespace vemla
