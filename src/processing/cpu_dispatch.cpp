#include "processing/cpu_dispatch.h"

namespace vemla {
namespace {

#ifdef VEMLA_X86_DISPATCH
struct Levels {
  bool ssse3 = __builtin_cpu_supports("ssse3");
  bool avx2 = ssse3 && __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  bool avx512 = avx2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                __builtin_cpu_supports("avx512vl");
  bool avx512Vbmi = avx512 && __builtin_cpu_supports("avx512vbmi");
};
#endif

}  // namespace

bool runsLevel(KernelLevel level) {
#ifdef VEMLA_X86_DISPATCH
  static const Levels levels;
  switch (level) {
    case KernelLevel::Baseline:
      return true;
    case KernelLevel::Ssse3:
      return levels.ssse3;
    case KernelLevel::Avx2:
      return levels.avx2;
    case KernelLevel::Avx512:
      return levels.avx512;
    case KernelLevel::Avx512Vbmi:
      return levels.avx512Vbmi;
  }
  return false;
#else
  return level == KernelLevel::Baseline;
#endif
}

}  // namespace vemla
