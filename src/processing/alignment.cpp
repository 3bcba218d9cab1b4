#include "processing/alignment.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "processing/shift.h"
#include "text/format.h"

namespace vemla {
namespace {

constexpr std::uint64_t kCostLimit = std::numeric_limits<std::uint32_t>::max();

// Costs are unsigned 32-bit sums that saturate.
std::uint32_t saturate(std::uint64_t sum) {
  return static_cast<std::uint32_t>(std::min(sum, kCostLimit));
}

int normalisedPrecision(int p) {
  int precision = kDivisions.front();
  for (const int allowed : kDivisions) {
    if (allowed <= p) precision = allowed;
  }
  return precision;
}

struct Regions {
  const RowKernels& kernels;
  const std::uint8_t* reference;
  const std::uint8_t* target;
  int width, height, rangeX, rangeY;

  const std::uint8_t* referenceAt(int x, int y) const {
    return reference + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x;
  }
  const std::uint8_t* targetAt(int x, int y) const {
    return target + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x;
  }
};

// The tie rank of an offset: (0, 0) before every other, then the order dy, then dx.
int tieRank(int index, int centre) {
  return index == centre ? -1 : index;
}

// The rows are taken in an order that samples the whole region early: first every 64th row
// (from the top), then the rows half way between (every 32nd), then the quarters (every 16th),
// then all the others from the top down. After the first sample the offset that looks best has
// its full cost taken as the bound.
constexpr int kSamplePeriod = 64;
constexpr int kSamplePhases[] = {0, 32, 16, 48};
constexpr int kSampledStride = 16;  // the phases together: every 16th row
// Offsets that cannot win any more are dropped after every sample and every this many rows.
constexpr int kDropInterval = 4;

// "標準", step 2: the whole offset (dx, dy) minimising the sum of |ref(x, y) - target(x + dx,
// y + dy)| over the inner region. Order dy, then dx; the earlier of equal costs stays, except
// that (0, 0) replaces an equal earlier best.
//
// Sums only grow, so an offset whose partial sum over some rows already exceeds a known full
// cost (or equals it and loses the tie to its owner) cannot win, and its remaining rows are
// skipped. The known cost is the full cost of (0, 0) and of the offset with the smallest sum
// over the first sample; the offsets that stay to the end have their exact full costs, and the
// winner is always among them, so the result equals that of summing every offset in full.
// Because the first rows are spread over the region, an offset far from the best is dropped
// after a small part of its rows. Rows are taken one at a time and compared with every
// remaining offset while they are in the cache. The offsets are dealt out to the threads in
// turn (every threads-th offset), so that each gets near and far ones alike.
void wholePixelSearch(const Regions& r, const ParallelFor& parallel, int& bestDx, int& bestDy) {
  const int columns = 2 * r.rangeX + 1;
  const int count = columns * (2 * r.rangeY + 1);
  const int centre = r.rangeY * columns + r.rangeX;
  const int innerWidth = r.width - 2 * r.rangeX;
  const int top = r.rangeY, bottom = r.height - r.rangeY;
  const int shares = std::min(parallel.threads(), count);
  // What the shared loops are worth handing out: the sampled rows of every offset. Most offsets
  // are dropped after those, so the full sums are no measure; a small picture stays on the
  // calling thread, where waking another would cost more than the search.
  const std::size_t work = static_cast<std::size_t>(innerWidth) *
                           static_cast<std::size_t>(bottom - top) *
                           static_cast<std::size_t>(count) / (2 * kSamplePeriod);
  // Where each offset's target row starts, relative to the reference row's position.
  std::vector<std::ptrdiff_t> displacement(static_cast<std::size_t>(count));
  for (int index = 0; index < count; ++index) {
    const int dy = index / columns - r.rangeY, dx = index % columns - r.rangeX;
    displacement[static_cast<std::size_t>(index)] = static_cast<std::ptrdiff_t>(dy) * r.width + dx;
  }
  const auto fullCost = [&](int index) {
    std::uint64_t sum = 0;
    for (int y = top; y < bottom; ++y) {
      sum += r.kernels.sad(r.referenceAt(r.rangeX, y),
                           r.targetAt(r.rangeX, y) + displacement[static_cast<std::size_t>(index)],
                           innerWidth);
    }
    return saturate(sum);
  };
  std::vector<std::uint64_t> costs(static_cast<std::size_t>(count), 0);
  // Adds row y to the partial sums of the given offsets. Held in locals: the kernel is called
  // through a pointer, after which anything in memory would have to be read again.
  const auto addRow = [&](int y, const std::vector<int>& offsets) {
    const auto sad = r.kernels.sad;
    const std::ptrdiff_t* displacements = displacement.data();
    std::uint64_t* sums = costs.data();
    const std::uint8_t* referenceRow = r.referenceAt(r.rangeX, y);
    const std::uint8_t* targetRow = r.targetAt(r.rangeX, y);
    for (const int index : offsets) {
      sums[index] += sad(referenceRow, targetRow + displacements[index], innerWidth);
    }
  };

  std::vector<std::vector<int>> remaining(static_cast<std::size_t>(shares));
  for (int index = 0; index < count; ++index)
    remaining[static_cast<std::size_t>(index % shares)].push_back(index);
  parallel(shares, work, [&](int begin, int end) {
    for (int share = begin; share < end; ++share) {
      for (int y = top; y < bottom; y += kSamplePeriod)
        addRow(y, remaining[static_cast<std::size_t>(share)]);
    }
  });
  int sampleBest = centre;
  for (int index = 0; index < count; ++index) {
    if (costs[static_cast<std::size_t>(index)] < costs[static_cast<std::size_t>(sampleBest)])
      sampleBest = index;
  }
  std::uint32_t bound = fullCost(centre);
  int owner = centre;
  if (sampleBest != centre) {
    const std::uint32_t cost = fullCost(sampleBest);
    if (cost < bound) {
      bound = cost;
      owner = sampleBest;
    }
  }
  const auto beaten = [&](int index) {
    const std::uint32_t partial = saturate(costs[static_cast<std::size_t>(index)]);
    return partial > bound || (partial == bound && tieRank(index, centre) > tieRank(owner, centre));
  };

  parallel(shares, work, [&](int begin, int end) {
    for (int share = begin; share < end; ++share) {
      std::vector<int>& mine = remaining[static_cast<std::size_t>(share)];
      std::erase_if(mine, beaten);
      for (const int phase : std::span(kSamplePhases).subspan(1)) {
        for (int y = top + phase; y < bottom; y += kSamplePeriod) addRow(y, mine);
        std::erase_if(mine, beaten);
      }
      int added = 0;
      for (int y = top; y < bottom; ++y) {
        if ((y - top) % kSampledStride == 0) continue;
        addRow(y, mine);
        if (++added % kDropInterval == 0) std::erase_if(mine, beaten);
      }
    }
  });

  std::uint32_t best = 0;
  int bestIndex = -1;
  for (const std::vector<int>& mine : remaining) {
    for (const int index : mine) {
      const std::uint32_t cost = saturate(costs[static_cast<std::size_t>(index)]);
      if (bestIndex < 0 || cost < best ||
          (cost == best && tieRank(index, centre) < tieRank(bestIndex, centre))) {
        best = cost;
        bestIndex = index;
      }
    }
  }
  bestDx = bestIndex % columns - r.rangeX;
  bestDy = bestIndex / columns - r.rangeY;
}

// Sum of |ref - candidate| over the inner region, where the candidate is the target shifted
// with the linear mode by D / q pixels right and A / q pixels down. The inner region never
// reaches the candidate's zero bands (|D|, |A| <= range * q), so only interpolated pixels count:
// the candidate at (x, y) interpolates the target at (x - D/q, y - A/q).
// The sum stops early, returning nullopt, once it exceeds `bound`, or reaches it when
// `keepEqual` is false: the candidate then cannot beat the one that bound came from.
std::optional<std::uint32_t> candidateCost(const Regions& r, int q, int a, int d,
                                           std::vector<std::uint16_t>& upper,
                                           std::vector<std::uint16_t>& lower, std::uint32_t bound,
                                           bool keepEqual) {
  const int offsetX = floorDiv(-d, q), fractionX = floorMod(-d, q);
  const int offsetY = floorDiv(-a, q), fractionY = floorMod(-a, q);
  const int innerWidth = r.width - 2 * r.rangeX;
  const int shift = 2 * log2Exact(q);
  std::uint64_t sum = 0;
  int upperRow = -1;
  for (int y = r.rangeY; y < r.height - r.rangeY; ++y) {
    const std::uint32_t partial = saturate(sum);
    if (partial > bound || (partial == bound && !keepEqual)) return std::nullopt;
    const int top = y + offsetY;
    if (upperRow != top) {
      r.kernels.lerpHorizontal(r.targetAt(r.rangeX + offsetX, top), innerWidth, q, fractionX,
                               upper.data());
    }
    if (fractionY == 0) {
      sum += r.kernels.lerpVerticalSad(upper.data(), upper.data(), innerWidth, q, 0, shift,
                                       r.referenceAt(r.rangeX, y));
      upperRow = top;
      continue;
    }
    r.kernels.lerpHorizontal(r.targetAt(r.rangeX + offsetX, top + 1), innerWidth, q, fractionX,
                             lower.data());
    sum += r.kernels.lerpVerticalSad(upper.data(), lower.data(), innerWidth, q, fractionY, shift,
                                     r.referenceAt(r.rangeX, y));
    std::swap(upper, lower);
    upperRow = top + 1;
  }
  return saturate(sum);
}

constexpr std::uint32_t kNoBound = std::numeric_limits<std::uint32_t>::max();

// An amount of 1/q steps is tried only while it stays within the range: |s| div q <= R with a
// zero remainder at R.
bool withinRange(int steps, int q, int range) {
  return std::abs(steps) <= range * q;
}

// One axis of a result from a signed amount in 1/p (positive: right / down).
void splitSigned(int amount, int p, int& flag, int& whole, int& steps) {
  flag = amount > 0 ? 1 : 0;
  whole = std::abs(amount) / p;
  steps = std::abs(amount) % p;
}

AlignmentSteps standardSearch(const Regions& r, int p, const ParallelFor& parallel) {
  int bestDx = 0, bestDy = 0;
  wholePixelSearch(r, parallel, bestDx, bestDy);
  // (u, v): the target's content moves down / right by u, v (units of 1/q after each level).
  int u = -bestDy, v = -bestDx;
  const std::size_t work = static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height);
  const int shares = std::min(parallel.threads(), 8);
  std::vector<std::vector<std::uint16_t>> buffers(
      2 * static_cast<std::size_t>(shares),
      std::vector<std::uint16_t>(static_cast<std::size_t>(r.width)));
  // Each level: the centre candidate first, whose cost bounds the others; the best by (cost,
  // tie rank) wins, the rank being 0 for the centre and 1 + the order l, then k for the rest,
  // which is the rule "the earlier of equal costs stays, the centre replaces an equal earlier
  // best". A candidate stopped early cannot be the best. The other eight are dealt out to the
  // threads in turn.
  struct Candidate {
    int a = 0, d = 0, rank = 0;
    std::optional<std::uint32_t> cost;
  };
  for (int q = 2; q <= p; q *= 2) {
    const std::uint32_t centreCost =
        candidateCost(r, q, 2 * u, 2 * v, buffers[0], buffers[1], kNoBound, true)
            .value_or(kNoBound);
    std::vector<Candidate> candidates;
    for (int l = -1; l <= 1; ++l) {
      for (int k = -1; k <= 1; ++k) {
        const int a = 2 * u + l, d = 2 * v + k;
        if ((l == 0 && k == 0) || !withinRange(a, q, r.rangeY) || !withinRange(d, q, r.rangeX))
          continue;
        candidates.push_back({a, d, 1 + 3 * (l + 1) + (k + 1), std::nullopt});
      }
    }
    const int dealt = std::min(shares, static_cast<int>(candidates.size()));
    // The centre's cost bounds the others, which mostly stop early: one picture's worth.
    parallel(dealt, work, [&](int begin, int end) {
      for (int share = begin; share < end; ++share) {
        std::vector<std::uint16_t>& upper = buffers[2 * static_cast<std::size_t>(share)];
        std::vector<std::uint16_t>& lower = buffers[2 * static_cast<std::size_t>(share) + 1];
        std::uint32_t bound = centreCost;
        int boundRank = 0;
        for (std::size_t i = static_cast<std::size_t>(share); i < candidates.size();
             i += static_cast<std::size_t>(dealt)) {
          Candidate& candidate = candidates[i];
          candidate.cost = candidateCost(r, q, candidate.a, candidate.d, upper, lower, bound,
                                         candidate.rank < boundRank);
          if (candidate.cost && (*candidate.cost < bound ||
                                 (*candidate.cost == bound && candidate.rank < boundRank))) {
            bound = *candidate.cost;
            boundRank = candidate.rank;
          }
        }
      }
    });
    std::uint32_t best = centreCost;
    int bestA = 2 * u, bestD = 2 * v, bestRank = 0;
    for (const Candidate& candidate : candidates) {
      if (candidate.cost &&
          (*candidate.cost < best || (*candidate.cost == best && candidate.rank < bestRank))) {
        best = *candidate.cost;
        bestA = candidate.a;
        bestD = candidate.d;
        bestRank = candidate.rank;
      }
    }
    u = bestA;
    v = bestD;
  }
  AlignmentSteps steps;
  splitSigned(v, p, steps.xFlag, steps.wholeX, steps.stepsX);
  splitSigned(u, p, steps.yFlag, steps.wholeY, steps.stepsY);
  return steps;
}

// "高速" on one axis: target and reference profiles (column or row sums). The target profile is
// interpolated at i + j/p; candidate (i, j) costs the largest |target(R + t + j/p) -
// reference(R + t + i)| over t. Order i, then j (only j = 0 at i = -R); the earlier of equal
// costs stays except that (0, 0) replaces an equal earlier best. Returns flag, whole, steps.
void profileSearch(const std::vector<std::int32_t>& target,
                   const std::vector<std::int32_t>& reference, int range, int p, int& flag,
                   int& whole, int& steps) {
  const int size = static_cast<int>(target.size());
  const int span = size - 2 * range;
  const int candidatesPerOffset = p;
  const int offsets = 2 * range + 1;
  std::vector<std::int64_t> costs(static_cast<std::size_t>(offsets) * candidatesPerOffset, -1);
  std::vector<std::int32_t> interpolated(static_cast<std::size_t>(span));
  for (int j = 0; j < p; ++j) {
    // Tj[i] = ((p - j) * target[i] + j * target[i + 1]) div p; positions R .. size - R - 1 never
    // reach the last entry when j > 0 because R >= 1.
    for (int t = 0; t < span; ++t) {
      const int i = range + t;
      interpolated[static_cast<std::size_t>(t)] =
          j == 0 ? target[static_cast<std::size_t>(i)]
                 : ((p - j) * target[static_cast<std::size_t>(i)] +
                    j * target[static_cast<std::size_t>(i + 1)]) /
                       p;
    }
    for (int i = -range; i <= range; ++i) {
      if (i == -range && j > 0) continue;
      const std::int32_t* ref = reference.data() + range + i;
      std::int32_t worst = 0;
      for (int t = 0; t < span; ++t) {
        const std::int32_t difference = interpolated[static_cast<std::size_t>(t)] - ref[t];
        worst = std::max(worst, difference < 0 ? -difference : difference);
      }
      costs[static_cast<std::size_t>(i + range) * candidatesPerOffset + j] = worst;
    }
  }
  std::int64_t best = -1;
  int bestI = 0, bestJ = 0;
  for (int i = -range; i <= range; ++i) {
    for (int j = 0; j < p; ++j) {
      const std::int64_t cost =
          costs[static_cast<std::size_t>(i + range) * candidatesPerOffset + j];
      if (cost < 0) continue;
      if (best < 0 || cost < best || (cost == best && i == 0 && j == 0)) {
        best = cost;
        bestI = i;
        bestJ = j;
      }
    }
  }
  // The target matches at i - j/p.
  if (bestI <= 0) {
    flag = 0;
    whole = -bestI;
    steps = bestJ;
  } else {
    flag = 1;
    whole = bestJ > 0 ? bestI - 1 : bestI;
    steps = bestJ > 0 ? p - bestJ : 0;
  }
}

AlignmentSteps fastSearch(const Regions& r, int p) {
  const auto columnSums = [&](const std::uint8_t* region) {
    std::vector<std::int32_t> sums(static_cast<std::size_t>(r.width), 0);
    for (int y = 0; y < r.height; ++y) {
      r.kernels.addRow(region + static_cast<std::size_t>(y) * static_cast<std::size_t>(r.width),
                       r.width, sums.data());
    }
    return sums;
  };
  static const std::uint8_t kZeros[kMaxAlignmentSize] = {};
  const auto rowSums = [&](const std::uint8_t* region) {
    std::vector<std::int32_t> sums(static_cast<std::size_t>(r.height));
    for (int y = 0; y < r.height; ++y) {
      sums[static_cast<std::size_t>(y)] = static_cast<std::int32_t>(
          r.kernels.sad(region + static_cast<std::size_t>(y) * static_cast<std::size_t>(r.width),
                        kZeros, r.width));
    }
    return sums;
  };
  AlignmentSteps steps;
  profileSearch(rowSums(r.target), rowSums(r.reference), r.rangeY, p, steps.yFlag, steps.wholeY,
                steps.stepsY);
  profileSearch(columnSums(r.target), columnSums(r.reference), r.rangeX, p, steps.xFlag,
                steps.wholeX, steps.stepsX);
  return steps;
}

}  // namespace

AlignmentOutcome alignPictures(const RowKernels& kernels, int criterion, int precision,
                               const std::uint8_t* reference, const std::uint8_t* target, int width,
                               int height, int rangeX, int rangeY, const ParallelFor& parallel) {
  AlignmentOutcome outcome;
  if (rangeX < 1 || rangeX > kMaxAlignmentRange || rangeY < 1 || rangeY > kMaxAlignmentRange ||
      2 * rangeX + 2 >= width || 2 * rangeY + 2 >= height) {
    outcome.message = text::format(text::tr(msg::kAlignmentRegionTooSmall), width, height);
    return outcome;
  }
  if (width > kMaxAlignmentSize || height > kMaxAlignmentSize) {
    outcome.message = text::format(text::tr(msg::kAlignmentRegionTooLarge), kMaxAlignmentSize);
    return outcome;
  }
  const Regions regions{kernels, reference, target, width, height, rangeX, rangeY};
  const int p = normalisedPrecision(precision);
  outcome.steps =
      criterion == kAlignStandard ? standardSearch(regions, p, parallel) : fastSearch(regions, p);
  outcome.found = true;
  return outcome;
}

AlignmentOutcome alignPictures(int criterion, int precision, const std::uint8_t* reference,
                               const std::uint8_t* target, int width, int height, int rangeX,
                               int rangeY, const ParallelFor& parallel) {
  return alignPictures(rowKernels(), criterion, precision, reference, target, width, height, rangeX,
                       rangeY, parallel);
}

std::string alignmentResultText(const AlignmentResult& result, const AlignmentKeys& keys,
                                bool translated) {
  using text::N_;
  if (!result.valid || keys.division <= 0 || keys.precision <= 0) return {};
  const auto inPrecision = [&](int steps) { return steps * keys.precision / keys.division; };
  std::string textOut;
  if (result.wholeX != 0 || result.stepsX != 0) {
    textOut = text::format(text::trWhen(translated, N_("%s：%d+%d/%d ")),
                           text::trWhen(translated, result.xFlag ? N_("右") : N_("左")),
                           result.wholeX, inPrecision(result.stepsX), keys.precision);
  } else {
    textOut = text::trWhen(translated, N_("左右：なし "));
  }
  if (result.wholeY != 0 || result.stepsY != 0) {
    textOut += text::format(text::trWhen(translated, N_("%s：%d+%d/%d")),
                            text::trWhen(translated, result.yFlag ? N_("下") : N_("上")),
                            result.wholeY, inPrecision(result.stepsY), keys.precision);
  } else {
    textOut += text::trWhen(translated, N_("上下：なし"));
  }
  return textOut;
}

}  // namespace vemla
