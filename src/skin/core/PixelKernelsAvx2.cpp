// The AVX2 kernels: the integer rules of PixelLanes on 32-byte registers;
// the key search, grey and fill stay with SSE2. This file alone is compiled
// for AVX2 (see the build), and it is entered only through the kernel table
// once the processor has been asked.
#include "skin/core/PixelKernels.h"

#ifdef __AVX2__

#include "skin/core/PixelLanes.h"

#include <immintrin.h>

#include <bit>

namespace kestu {

namespace {

struct V256 {
  using R = __m256i;
  static constexpr int kBytes = 32;
  static R Load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
  static void Store(void* p, R v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
  static R Zero() { return _mm256_setzero_si256(); }
  static R Set16(int v) { return _mm256_set1_epi16(short(v)); }
  static R Set8(int v) { return _mm256_set1_epi8(char(v)); }
  static R Lo(R v) { return _mm256_unpacklo_epi8(v, Zero()); }
  static R Hi(R v) { return _mm256_unpackhi_epi8(v, Zero()); }
  static R Pack(R lo, R hi) { return _mm256_packus_epi16(lo, hi); }
  static R Add(R a, R b) { return _mm256_add_epi16(a, b); }
  static R Sub(R a, R b) { return _mm256_sub_epi16(a, b); }
  static R Mul(R a, R b) { return _mm256_mullo_epi16(a, b); }
  static R MulHi(R a, R b) { return _mm256_mulhi_epu16(a, b); }
  static R Srl(R a, int n) { return _mm256_srli_epi16(a, n); }
  static R And(R a, R b) { return _mm256_and_si256(a, b); }
  static R Eq16(R a, R b) { return _mm256_cmpeq_epi16(a, b); }
  static R AddSat8(R a, R b) { return _mm256_adds_epu8(a, b); }
  // The first of the 32 pixels at p whose three bytes equal the key's, or
  // -1: a match of bytes 3k, 3k + 1 and 3k + 2 over the block's 96 bits,
  // held as two words.
  static int FirstKey(const std::uint8_t* p, const R* key) {
    auto eq = [&](int r) {
      return std::uint64_t(unsigned(_mm256_movemask_epi8(_mm256_cmpeq_epi8(Load(p + 32 * r), key[r]))));
    };
    const std::uint64_t lo = eq(0) | eq(1) << 32, hi = eq(2);
    const std::uint64_t loHits = lo & (lo >> 1 | hi << 63) & (lo >> 2 | hi << 62) & 0x9249249249249249ull;
    if (loHits) return std::countr_zero(loHits) / 3;
    const std::uint64_t hiHits = hi & hi >> 1 & hi >> 2 & 0x24924924ull;  // pixels from byte 66 on
    return hiHits ? (64 + std::countr_zero(hiHits)) / 3 : -1;
  }
};
using L = Lanes<V256>;

}  // namespace

const PixelKernels* Avx2Kernels() {
  static const PixelKernels* kernels = [] {
    const PixelKernels* sse2 = Sse2Kernels();
    static const PixelKernels set{"avx2", L::MaskBytes, L::MaskBytesFaded, sse2->findKey, L::MaskUntilKey, L::MixBytes,
                                  L::MixColour, L::PercentColour, sse2->grey, sse2->fill};
    return &set;
  }();
  return kernels;
}

}  // namespace kestu

#else

namespace kestu {
const PixelKernels* Avx2Kernels() { return nullptr; }
}  // namespace kestu

#endif
