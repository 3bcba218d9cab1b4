#pragma once
// The mean structural similarity of two 8-bit pictures, computed as scikit-image's
// structural_similarity computes it with its defaults for 8-bit data: a 7 x 7 uniform window,
// K1 = 0.01, K2 = 0.03, data range 255, the sample (co)variances (divided by 48, not 49), and
// the mean taken over the centres whose window lies wholly inside the picture (it crops 3
// pixels from each border). Here the picture is the valid rectangle, and when some pixels are
// left out, only the windows made wholly of compared pixels count: a pixel left out then
// touches no similarity, exactly as it touches no difference statistic.
#include <cstdint>

#include "processing/parallel_for.h"
#include "processing/rect.h"

namespace vemla {

inline constexpr int kSimilarityWindow = 7;

struct Similarity {
  double mean = 1;           // 1 when no window counts (nothing to tell the pictures apart)
  std::int64_t windows = 0;  // the windows averaged
};

// `first` and `second` are width x height bytes, row after row; `compared` is null (every pixel
// compared) or width x height flags (0: left out). The valid rectangle is clipped to the
// picture. One pass of running sums: the window sums of each column are updated row by row.
// Rows may be shared out through `parallel`; the result is the same whichever way.
Similarity structuralSimilarity(const std::uint8_t* first, const std::uint8_t* second, int width,
                                int height, const Rect& valid, const std::uint8_t* compared,
                                const ParallelFor& parallel = {});

}  // namespace vemla
