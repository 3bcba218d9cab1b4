#include "processing/cpu_dispatch.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <initializer_list>

#include "editing/picture_edit_kernels.h"
#include "extensions/user_filter_kernels.h"
#include "processing/image_kernels.h"
#include "processing/row_kernels.h"

namespace vemla {
namespace {

// A level's kernels call the helpers of the levels it includes, so a machine that runs a level
// must run every level below it.
TEST(CpuDispatch, EveryLevelTheMachineRunsIncludesTheOnesBelow) {
  EXPECT_TRUE(runsLevel(KernelLevel::Baseline));
  const struct {
    KernelLevel level, below;
  } cases[] = {{KernelLevel::Avx2, KernelLevel::Ssse3},
               {KernelLevel::Avx512, KernelLevel::Avx2},
               {KernelLevel::Avx512Vbmi, KernelLevel::Avx512}};
  for (const auto& c : cases) {
    if (runsLevel(c.level)) EXPECT_TRUE(runsLevel(c.below)) << static_cast<int>(c.level);
  }
}

// Every kernel family offers exactly the variants of the levels the one probe confirms, so
// that no family runs a variant the machine lacks or leaves out one it has.
TEST(CpuDispatch, EveryFamilyOffersTheVariantsOfTheLevelsTheMachineRuns) {
  const auto offered = [](std::initializer_list<KernelLevel> levels) {
    std::size_t count = 0;
    for (const KernelLevel level : levels) count += runsLevel(level) ? 1 : 0;
    return count;
  };
  const std::size_t wide = offered({KernelLevel::Baseline, KernelLevel::Avx2, KernelLevel::Avx512});
  EXPECT_EQ(supportedRowKernels().size(), wide);
  EXPECT_EQ(supportedImageKernels().size(), wide);
  EXPECT_EQ(supportedFilterKernels().size(), wide);
  EXPECT_EQ(supportedEditKernels().size(),
            offered({KernelLevel::Baseline, KernelLevel::Avx2, KernelLevel::Avx512Vbmi}));
  const KernelLevel best = runsLevel(KernelLevel::Avx512) ? KernelLevel::Avx512
                           : runsLevel(KernelLevel::Avx2) ? KernelLevel::Avx2
                                                          : KernelLevel::Baseline;
  EXPECT_EQ(rowKernels().level, best);
  EXPECT_EQ(imageKernels().level, best);
  EXPECT_EQ(filterKernels().level, best);
  EXPECT_EQ(runsFilterArithmetic(FilterArithmetic::DoubleAvx2), runsLevel(KernelLevel::Avx2));
  EXPECT_EQ(runsFilterArithmetic(FilterArithmetic::DoubleAvx512), runsLevel(KernelLevel::Avx512));
}

}  // namespace
}  // namespace vemla
