// The SSE2 kernels: the integer rules of PixelLanes on 16-byte registers,
// and the kernels that need whole-pixel shuffles (key search, grey, fill),
// 16 pixels (48 bytes, three registers) at a time.
#include "skin/core/PixelKernels.h"

#ifdef __SSE2__

#include "skin/core/PixelLanes.h"

#include <emmintrin.h>

#include <bit>
#include <cstring>

namespace kestu {

namespace {

struct V128 {
  using R = __m128i;
  static constexpr int kBytes = 16;
  static R Load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
  static void Store(void* p, R v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
  static R Zero() { return _mm_setzero_si128(); }
  static R Set16(int v) { return _mm_set1_epi16(short(v)); }
  static R Set8(int v) { return _mm_set1_epi8(char(v)); }
  static R Lo(R v) { return _mm_unpacklo_epi8(v, Zero()); }
  static R Hi(R v) { return _mm_unpackhi_epi8(v, Zero()); }
  static R Pack(R lo, R hi) { return _mm_packus_epi16(lo, hi); }
  static R Add(R a, R b) { return _mm_add_epi16(a, b); }
  static R Sub(R a, R b) { return _mm_sub_epi16(a, b); }
  static R Mul(R a, R b) { return _mm_mullo_epi16(a, b); }
  static R MulHi(R a, R b) { return _mm_mulhi_epu16(a, b); }
  static R Srl(R a, int n) { return _mm_srli_epi16(a, n); }
  static R And(R a, R b) { return _mm_and_si128(a, b); }
  static R Eq16(R a, R b) { return _mm_cmpeq_epi16(a, b); }
  static R AddSat8(R a, R b) { return _mm_adds_epu8(a, b); }
  // The first of the 16 pixels at p whose three bytes equal the key's
  // (the key repeated over three registers), or -1.
  static int FirstKey(const std::uint8_t* p, const R* key) {
    auto eq = [&](int r) { return std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(Load(p + 16 * r), key[r])))); };
    const std::uint64_t e = eq(0) | eq(1) << 16 | eq(2) << 32;
    const std::uint64_t hits = e & e >> 1 & e >> 2 & 0x249249249249ull;  // bit 3k: pixel k
    return hits ? std::countr_zero(hits) / 3 : -1;
  }
};
using L = Lanes<V128>;

__m128i Load(const void* p) { return V128::Load(p); }
void Store(void* p, __m128i v) { V128::Store(p, v); }
__m128i Lo16(__m128i v) { return V128::Lo(v); }
__m128i Hi16(__m128i v) { return V128::Hi(v); }

// Calls op on each 48-byte block of the row; the tail is padded with zeros.
// The op may read the first bytes of the next overreadPixels pixels.
template <class Op>
void ForEachBlock(Bgr* row, int w, int overreadPixels, Op&& op) {
  auto* bytes = reinterpret_cast<std::uint8_t*>(row);
  int x = 0;
  for (; x + 16 + overreadPixels <= w; x += 16) op(bytes + 3 * x);
  for (; x < w; x += 16) {
    alignas(16) std::uint8_t block[64] = {};
    const std::size_t n = std::size_t(w - x < 16 ? w - x : 16) * 3;
    std::memcpy(block, bytes + 3 * x, n);
    op(block);
    std::memcpy(bytes + 3 * x, block, n);
  }
}

int FindKey(const Bgr* p, int i, int w, Bgr key) {
  const L::Pattern k(key);
  for (; i + 16 <= w; i += 16)
    if (const int at = V128::FirstKey(reinterpret_cast<const std::uint8_t*>(p + i), k.v); at >= 0) return i + at;
  while (i < w && !(p[i] == key)) ++i;
  return i;
}

// Byte lanes whose position in the 48-byte block, modulo 3, is the phase.
struct PhaseMasks {
  __m128i phase[3][3];  // [register][phase]
  PhaseMasks() {
    for (int r = 0; r < 3; ++r)
      for (int ph = 0; ph < 3; ++ph) {
        alignas(16) std::uint8_t lanes[16];
        for (int i = 0; i < 16; ++i) lanes[i] = (16 * r + i) % 3 == ph ? 0xFF : 0;
        phase[r][ph] = Load(lanes);
      }
  }
};

void Grey(Bgr* row, int w, KeyColour key) {
  static const PhaseMasks masks;
  const L::Pattern keyPattern(key.value);
  const __m128i third = _mm_set1_epi16(short(43691));  // (s x 43 691) >> 17 = s div 3 for s up to 765
  // Reads two bytes past the block: a pixel's sum starts at its first byte.
  ForEachBlock(row, w, 1, [&](std::uint8_t* p) {
    alignas(16) std::uint8_t old[48];
    std::memcpy(old, p, 48);
    __m128i q[3];
    for (int r = 0; r < 3; ++r) {
      const std::uint8_t* at = p + 16 * r;
      const __m128i a = Load(at), b = Load(at + 1), c = Load(at + 2);
      auto lanes = [&](__m128i x, __m128i y, __m128i z) {
        return _mm_srli_epi16(_mm_mulhi_epu16(_mm_add_epi16(_mm_add_epi16(x, y), z), third), 1);
      };
      q[r] = _mm_packus_epi16(lanes(Lo16(a), Lo16(b), Lo16(c)), lanes(Hi16(a), Hi16(b), Hi16(c)));
    }
    // Lanes at a pixel's first byte hold its grey; the two bytes after take it
    // from one and two lanes back, reaching into the register before.
    __m128i before = _mm_setzero_si128();
    for (int r = 0; r < 3; ++r) {
      const __m128i back1 = _mm_or_si128(_mm_slli_si128(q[r], 1), _mm_srli_si128(before, 15));
      const __m128i back2 = _mm_or_si128(_mm_slli_si128(q[r], 2), _mm_srli_si128(before, 14));
      const __m128i out = _mm_or_si128(_mm_and_si128(q[r], masks.phase[r][0]),
                                       _mm_or_si128(_mm_and_si128(back1, masks.phase[r][1]),
                                                    _mm_and_si128(back2, masks.phase[r][2])));
      Store(p + 16 * r, out);
      before = q[r];
    }
    if (key.active) RestoreHits(p, old, KeyHits48(old, keyPattern.bytes));
  });
}

void Fill(Bgr* row, int w, Bgr c) {
  if (w <= 0) return;
  const L::Pattern colour(c);
  auto* bytes = reinterpret_cast<std::uint8_t*>(row);
  int x = 0;
  for (; x + 16 <= w; x += 16, bytes += 48)
    for (int r = 0; r < 3; ++r) Store(bytes + 16 * r, colour.v[r]);
  std::memcpy(bytes, colour.bytes, std::size_t(w - x) * 3);
}

}  // namespace

const PixelKernels* Sse2Kernels() {
  static const PixelKernels kernels{"sse2", L::MaskBytes, L::MaskBytesFaded, FindKey, L::MaskUntilKey, L::MixBytes,
                                    L::MixColour, L::PercentColour, Grey, Fill};
  return &kernels;
}

}  // namespace kestu

#else

namespace kestu {
const PixelKernels* Sse2Kernels() { return nullptr; }
}  // namespace kestu

#endif
