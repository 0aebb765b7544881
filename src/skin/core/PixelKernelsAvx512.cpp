// The AVX-512 kernels (byte and word instructions, AVX512BW): the integer
// rules of PixelLanes on 64-byte registers; the key search, grey and fill
// stay with SSE2. Compiled for AVX-512 alone (see the build) and entered only
// through the kernel table once the processor has been asked.
#include "skin/core/PixelKernels.h"

#ifdef __AVX512BW__

#include "skin/core/PixelLanes.h"

#include <immintrin.h>

#include <bit>

namespace kestu {

namespace {

struct V512 {
  using R = __m512i;
  static constexpr int kBytes = 64;
  static R Load(const void* p) { return _mm512_loadu_si512(p); }
  static void Store(void* p, R v) { _mm512_storeu_si512(p, v); }
  static R Zero() { return _mm512_setzero_si512(); }
  static R Set16(int v) { return _mm512_set1_epi16(short(v)); }
  static R Set8(int v) { return _mm512_set1_epi8(char(v)); }
  static R Lo(R v) { return _mm512_unpacklo_epi8(v, Zero()); }
  static R Hi(R v) { return _mm512_unpackhi_epi8(v, Zero()); }
  static R Pack(R lo, R hi) { return _mm512_packus_epi16(lo, hi); }
  static R Add(R a, R b) { return _mm512_add_epi16(a, b); }
  static R Sub(R a, R b) { return _mm512_sub_epi16(a, b); }
  static R Mul(R a, R b) { return _mm512_mullo_epi16(a, b); }
  static R MulHi(R a, R b) { return _mm512_mulhi_epu16(a, b); }
  static R Srl(R a, int n) { return _mm512_srli_epi16(a, unsigned(n)); }
  static R And(R a, R b) { return _mm512_and_si512(a, b); }
  static R Eq16(R a, R b) { return _mm512_movm_epi16(_mm512_cmpeq_epi16_mask(a, b)); }
  static R AddSat8(R a, R b) { return _mm512_adds_epu8(a, b); }
  // The first of the 64 pixels at p whose three bytes equal the key's, or
  // -1: a match of bytes 3k, 3k + 1 and 3k + 2 over the block's 192 bits,
  // held as three words.
  static int FirstKey(const std::uint8_t* p, const R* key) {
    const std::uint64_t e[4] = {_mm512_cmpeq_epi8_mask(Load(p), key[0]), _mm512_cmpeq_epi8_mask(Load(p + 64), key[1]),
                                _mm512_cmpeq_epi8_mask(Load(p + 128), key[2]), 0};
    // The bits of each word at which a pixel starts (192 bits, every third).
    constexpr std::uint64_t kStarts[3] = {0x9249249249249249ull, 0x4924924924924924ull, 0x2492492492492492ull};
    for (int i = 0; i < 3; ++i) {
      const std::uint64_t hits = e[i] & (e[i] >> 1 | e[i + 1] << 63) & (e[i] >> 2 | e[i + 1] << 62) & kStarts[i];
      if (hits) return (64 * i + std::countr_zero(hits)) / 3;
    }
    return -1;
  }
};
using L = Lanes<V512>;

}  // namespace

const PixelKernels* Avx512Kernels() {
  static const PixelKernels* kernels = [] {
    const PixelKernels* sse2 = Sse2Kernels();
    static const PixelKernels set{"avx512", L::MaskBytes, L::MaskBytesFaded, sse2->findKey, L::MaskUntilKey,
                                  L::MixBytes, L::MixColour, L::PercentColour, sse2->grey, sse2->fill};
    return &set;
  }();
  return kernels;
}

}  // namespace kestu

#else

namespace kestu {
const PixelKernels* Avx512Kernels() { return nullptr; }
}  // namespace kestu

#endif
