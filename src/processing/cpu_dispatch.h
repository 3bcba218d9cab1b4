#pragma once
// The instruction-set levels the hand-tuned kernels are compiled for, the attribute that
// compiles a function for each, and the one probe of the levels this machine runs. A kernel
// family compiles a variant per level it has and offers the variants whose level `runsLevel`
// confirms, baseline first; the fastest is the last.
//
// The levels, each including the ones before it:
//   Baseline    what the compiler targets by default
//   Ssse3       SSSE3 (byte shuffles)
//   Avx2        AVX2 and FMA
//   Avx512      AVX2 and FMA, AVX-512 F, BW (byte and word lanes) and VL (the masked 128- and
//               256-bit forms)
//   Avx512Vbmi  Avx512 and AVX-512 VBMI (byte permutes)
// The attributes of Avx2 and above allow fused multiply-adds: a file whose floating-point
// results must not depend on the level compiles with -ffp-contract=off.

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// Files with kernels include <immintrin.h> under this name.
#define VEMLA_X86_DISPATCH 1

#define VEMLA_TARGET_SSSE3 __attribute__((target("ssse3")))
#define VEMLA_TARGET_AVX2 __attribute__((target("avx2,fma")))
// Compilers keep to 256-bit vectors on AVX-512 unless told otherwise.
#if defined(__clang__)
#define VEMLA_TARGET_AVX512 \
  __attribute__((target("avx512f,avx512bw,avx512vl,avx2,fma"), min_vector_width(512)))
#define VEMLA_TARGET_AVX512_VBMI \
  __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,avx2,fma"), min_vector_width(512)))
#else
#define VEMLA_TARGET_AVX512 \
  __attribute__((target("avx512f,avx512bw,avx512vl,avx2,fma,prefer-vector-width=512")))
#define VEMLA_TARGET_AVX512_VBMI \
  __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,avx2,fma,prefer-vector-width=512")))
#endif
#endif

namespace vemla {

enum class KernelLevel { Baseline, Ssse3, Avx2, Avx512, Avx512Vbmi };

// Whether this machine runs code compiled for `level` (Baseline always; every other level
// only where VEMLA_X86_DISPATCH is defined).
bool runsLevel(KernelLevel level);

}  // namespace vemla
