#pragma once
// The integer pixel rules on vector registers of 16-bit lanes, written once
// for any register width (the traits V: SSE2's 16 bytes, AVX2's 32). Bytes
// are widened to 16-bit lanes, where every intermediate of the rules fits (at
// most 255 x 256), so each lane computes exactly what the scalar reference
// computes. Only byte-wise arithmetic lives here: unpacking and packing stay
// inside each 16-byte half, so the byte order comes back as it went in.
// Included by one source file per instruction set, each compiled for it.

#include "skin/core/PixelKernels.h"

#include <emmintrin.h>

#include <bit>
#include <cstring>

namespace kestu {
namespace {

// Bit 3k set where pixel k of the 16 at p equals the colour whose 48-byte
// repetition is key.
inline std::uint64_t KeyHits48(const std::uint8_t* p, const std::uint8_t* key) {
  auto eq = [&](int at) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(key + at));
    return std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(a, b))));
  };
  const std::uint64_t e = eq(0) | eq(16) << 16 | eq(32) << 32;
  return e & e >> 1 & e >> 2 & 0x249249249249ull;
}

// Puts back the pixels named by hits (bit 3k: pixel k) from their old bytes.
inline void RestoreHits(std::uint8_t* p, const std::uint8_t* old, std::uint64_t hits) {
  for (; hits; hits &= hits - 1) {
    const int at = std::countr_zero(hits);
    std::memcpy(p + at, old + at, 3);
  }
}

template <class V>
struct Lanes {
  using R = typename V::R;
  static constexpr int kBytes = V::kBytes;
  static constexpr int kBlockPixels = kBytes;  // three registers: 3 x kBytes bytes

  // A colour repeated over one block, one register per third.
  struct Pattern {
    alignas(32) std::uint8_t bytes[3 * kBytes];
    R v[3];
    explicit Pattern(Bgr c) {
      for (int i = 0; i < kBlockPixels; ++i) std::memcpy(bytes + 3 * i, &c, 3);
      for (int r = 0; r < 3; ++r) v[r] = V::Load(bytes + r * kBytes);
    }
  };

  // Calls op on each block of pixels; the tail goes through a zero-padded
  // block, so no byte outside the row is read or written.
  template <class Op>
  static void ForEachBlock(Bgr* row, int w, Op&& op) {
    auto* bytes = reinterpret_cast<std::uint8_t*>(row);
    int x = 0;
    for (; x + kBlockPixels <= w; x += kBlockPixels) op(bytes + 3 * x);
    if (x == w) return;
    alignas(32) std::uint8_t block[3 * kBytes] = {};
    const std::size_t n = std::size_t(w - x) * 3;
    std::memcpy(block, bytes + 3 * x, n);
    op(block);
    std::memcpy(bytes + 3 * x, block, n);
  }

  // d = op(d, s, m) over n bytes, one register at a time.
  template <class Op>
  static void ForEachStep(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, std::size_t n, Op&& op) {
    std::size_t i = 0;
    for (; i + kBytes <= n; i += kBytes) V::Store(d + i, op(V::Load(d + i), V::Load(s + i), m ? V::Load(m + i) : V::Zero()));
    if (i == n) return;
    alignas(32) std::uint8_t td[kBytes] = {}, ts[kBytes] = {}, tm[kBytes] = {};
    const std::size_t rest = n - i;
    std::memcpy(td, d + i, rest);
    std::memcpy(ts, s + i, rest);
    if (m) std::memcpy(tm, m + i, rest);
    V::Store(td, op(V::Load(td), V::Load(ts), V::Load(tm)));
    std::memcpy(d + i, td, rest);
  }

  // Applies f to the widened low and high halves and packs the results.
  template <class F>
  static R Widened(F&& f, R a, R b, R c) {
    return V::Pack(f(V::Lo(a), V::Lo(b), V::Lo(c)), f(V::Hi(a), V::Hi(b), V::Hi(c)));
  }

  // Rule 1: (d x m + s x (256 - m)) >> 8.
  static R Rule1(R d, R s, R m) {
    return Widened([](R d16, R s16, R m16) {
      return V::Srl(V::Add(V::Mul(d16, m16), V::Mul(s16, V::Sub(V::Set16(256), m16))), 8);
    }, d, s, m);
  }

  // (F x a + G x b) / 256 rounded half to even, F + G = 256; N + 128 stays
  // below 65 536.
  static R Mix(R a, R b, R F, R G) {
    return Widened([&](R a16, R b16, R) {
      const R N = V::Add(V::Mul(F, a16), V::Mul(G, b16));
      const R odd = V::And(V::Srl(N, 8), V::Set16(1));
      return V::Srl(V::Add(V::Add(N, V::Set16(127)), odd), 8);
    }, a, b, a);
  }

  static void MaskBytes(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, std::size_t n) {
    ForEachStep(d, s, m, n, Rule1);
  }

  static void MaskBytesFaded(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, std::size_t n) {
    // Saturating addition is exactly min(m + 100, 255).
    ForEachStep(d, s, m, n, [](R vd, R vs, R vm) { return Rule1(vd, vs, V::AddSat8(vm, V::Set8(100))); });
  }

  // Rule 1 over the pixels before the first one of the key colour; returns
  // that pixel's column, or w. The picture is read once for both.
  template <bool Faded>
  static int MaskUntilKey(Bgr* d, const Bgr* p, const Bgr* m, int w, Bgr key) {
    const Pattern keyPattern(key);
    auto* db = reinterpret_cast<std::uint8_t*>(d);
    auto* pb = reinterpret_cast<const std::uint8_t*>(p);
    auto* mb = reinterpret_cast<const std::uint8_t*>(m);
    auto rule = [](R vd, R vs, R vm) { return Rule1(vd, vs, Faded ? V::AddSat8(vm, V::Set8(100)) : vm); };
    int x = 0;
    for (; x + kBlockPixels <= w; x += kBlockPixels) {
      const int at = V::FirstKey(pb + 3 * x, keyPattern.v);
      if (at >= 0) {
        ForEachStep(db + 3 * x, pb + 3 * x, mb + 3 * x, std::size_t(at) * 3, rule);
        return x + at;
      }
      for (int r = 0; r < 3; ++r) {
        const int i = 3 * x + r * kBytes;
        V::Store(db + i, rule(V::Load(db + i), V::Load(pb + i), V::Load(mb + i)));
      }
    }
    if (x == w) return w;
    // The tail, zero-padded: padding that looks like the key (black) starts
    // at w - x, where the row ends anyway.
    alignas(32) std::uint8_t tail[3 * kBytes] = {};
    std::memcpy(tail, pb + 3 * x, std::size_t(w - x) * 3);
    int at = V::FirstKey(tail, keyPattern.v);
    if (at < 0) at = w - x;
    ForEachStep(db + 3 * x, pb + 3 * x, mb + 3 * x, std::size_t(at) * 3, rule);
    return x + at;
  }
  static int MaskUntilKey(Bgr* d, const Bgr* p, const Bgr* m, int w, Bgr key, bool faded) {
    return faded ? MaskUntilKey<true>(d, p, m, w, key) : MaskUntilKey<false>(d, p, m, w, key);
  }

  static void MixBytes(std::uint8_t* d, const std::uint8_t* s, std::size_t n, unsigned f) {
    const R F = V::Set16(int(f)), G = V::Set16(int(256 - f));
    ForEachStep(d, s, nullptr, n, [&](R vd, R vs, R) { return Mix(vd, vs, F, G); });
  }

  static void MixColour(Bgr* row, int w, Bgr c, unsigned k, KeyColour key) {
    const Pattern colour(c), keyPattern(key.value);
    const R F = V::Set16(int(k)), G = V::Set16(int(256 - k));
    ForEachBlock(row, w, [&](std::uint8_t* p) {
      alignas(32) std::uint8_t old[3 * kBytes];
      std::memcpy(old, p, sizeof old);
      for (int r = 0; r < 3; ++r) V::Store(p + r * kBytes, Mix(V::Load(old + r * kBytes), colour.v[r], F, G));
      if (!key.active) return;
      for (int at = 0; at < 3 * kBytes; at += 48) RestoreHits(p + at, old + at, KeyHits48(old + at, keyPattern.bytes + at));
    });
  }

  static void PercentColour(Bgr* row, int w, Bgr c, unsigned P) {
    const Pattern colour(c);
    const R vP = V::Set16(int(P)), vQ = V::Set16(int(100 - P));
    // t = P x v + Q x c + 50 is at most 25 550, and t div 100 is
    // (t x 41 944) >> 22 for every such t. A remainder of 0 is a tie, which
    // goes to the even side.
    auto lanes = [&](R v, R cc, R) {
      const R t = V::Add(V::Add(V::Mul(vP, v), V::Mul(vQ, cc)), V::Set16(50));
      const R q = V::Srl(V::MulHi(t, V::Set16(41944)), 6);
      const R tie = V::Eq16(V::Sub(t, V::Mul(q, V::Set16(100))), V::Zero());
      return V::Sub(q, V::And(tie, V::And(q, V::Set16(1))));
    };
    ForEachBlock(row, w, [&](std::uint8_t* p) {
      for (int r = 0; r < 3; ++r) {
        const R v = V::Load(p + r * kBytes);
        V::Store(p + r * kBytes, Widened(lanes, v, colour.v[r], v));
      }
    });
  }
};

}  // namespace
}  // namespace kestu
