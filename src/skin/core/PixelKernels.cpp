#include "skin/core/PixelKernels.h"

namespace kestu {

namespace {

// What the processor runs, asked once per call (the answer is cached by the
// runtime library).
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
bool HasAvx2() { return __builtin_cpu_supports("avx2"); }
bool HasAvx512bw() { return __builtin_cpu_supports("avx512bw"); }
#else
bool HasAvx2() { return false; }
bool HasAvx512bw() { return false; }
#endif

const PixelKernels* active = nullptr;

}  // namespace

std::vector<const PixelKernels*> AvailableKernels() {
  std::vector<const PixelKernels*> sets{&ScalarKernels()};
  if (Sse2Kernels()) sets.push_back(Sse2Kernels());
  if (HasAvx2() && Avx2Kernels()) sets.push_back(Avx2Kernels());
  if (HasAvx512bw() && Avx512Kernels()) sets.push_back(Avx512Kernels());
  return sets;
}

const PixelKernels& VectorKernels() {
  static const PixelKernels* widest = AvailableKernels().back();
  return *widest;
}

const PixelKernels& Kernels() { return active ? *active : VectorKernels(); }

ScopedKernels::ScopedKernels(const PixelKernels& kernels) : previous_(active) { active = &kernels; }
ScopedKernels::~ScopedKernels() { active = previous_; }

}  // namespace kestu
