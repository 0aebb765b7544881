// Every vector kernel set against the scalar reference: random rows of every
// length up to a few blocks, at every byte offset, with key pixels strewn in;
// then whole pixel-library routines run once with each set.
#include "skin/core/Gradient.h"
#include "skin/core/PixelKernels.h"
#include "skin/core/PixelLib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace kestu {
namespace {

constexpr Bgr kKey{255, 0, 255};
constexpr int kMaxPixels = 140;  // past two of the widest blocks (64 pixels)

std::vector<const PixelKernels*> VectorSets() {
  std::vector<const PixelKernels*> sets = AvailableKernels();
  sets.erase(sets.begin());  // the scalar reference itself
  return sets;
}

// Random bytes with key-colour pixels at about one position in keyEvery.
std::vector<std::uint8_t> RandomBytes(std::mt19937& rng, std::size_t n, int keyEvery = 0, Bgr key = kKey) {
  std::vector<std::uint8_t> bytes(n);
  for (auto& b : bytes) b = std::uint8_t(rng());
  if (keyEvery > 0)
    for (std::size_t i = 0; i + 3 <= n; i += 3)
      if (rng() % unsigned(keyEvery) == 0) std::memcpy(&bytes[i], &key, 3);
  return bytes;
}

Bgr* Pixels(std::vector<std::uint8_t>& bytes, int offset) { return reinterpret_cast<Bgr*>(bytes.data() + offset); }

// Runs check(width, offset) over every width and every byte offset of a row
// inside a larger buffer, so the rows are unaligned in every way.
template <class F>
void ForEveryRow(F&& check) {
  for (int w = 0; w <= kMaxPixels; ++w)
    for (int offset = 0; offset < 16; offset += (w < 24 ? 1 : 6)) check(w, offset);
}

TEST(PixelKernels, VectorSetsExistWhereTheTargetHasThem) {
#ifdef __SSE2__
  ASSERT_NE(Sse2Kernels(), nullptr);
  EXPECT_STREQ(VectorKernels().name, AvailableKernels().back()->name);
#endif
  EXPECT_STREQ(AvailableKernels().front()->name, "scalar");
}

TEST(PixelKernels, MaskRulesMatchTheReferenceForEveryLengthAndOffset) {
  std::mt19937 rng(1);
  for (const PixelKernels* k : VectorSets())
    ForEveryRow([&](int w, int offset) {
      const std::size_t n = std::size_t(w) * 3;
      auto d = RandomBytes(rng, n + 32), s = RandomBytes(rng, n + 32), m = RandomBytes(rng, n + 32);
      for (bool faded : {false, true}) {
        auto ours = d, ref = d;
        (faded ? k->maskBytesFaded : k->maskBytes)(ours.data() + offset, s.data() + offset, m.data() + offset, n);
        (faded ? ScalarKernels().maskBytesFaded : ScalarKernels().maskBytes)(ref.data() + offset, s.data() + offset,
                                                                              m.data() + offset, n);
        ASSERT_EQ(ours, ref) << k->name << " faded " << faded << " width " << w << " offset " << offset;
      }
    });
}

TEST(PixelKernels, KeySearchAndMaskingUpToTheKeyFindTheSameColumn) {
  std::mt19937 rng(2);
  for (const PixelKernels* k : VectorSets())
    ForEveryRow([&](int w, int offset) {
      const std::size_t n = std::size_t(w) * 3;
      // Sparse keys, dense keys, none, and bytes that match two of the three;
      // black, as the padding of a short block, must not be found past the row.
      for (Bgr key : {kKey, Bgr{0, 0, 0}})
        for (int keyEvery : {0, 2, 37}) {
          auto p = RandomBytes(rng, n + 32, keyEvery, key), m = RandomBytes(rng, n + 32), d = RandomBytes(rng, n + 32);
          if (keyEvery == 0)
            for (std::size_t i = 0; i + 3 <= n; i += 6) p[i] = key.b, p[i + 1] = key.g;
          for (int from = 0; from <= std::min(w, 3); ++from)
            ASSERT_EQ(k->findKey(Pixels(p, offset), from, w, key), ScalarKernels().findKey(Pixels(p, offset), from, w, key))
                << k->name << " width " << w << " offset " << offset << " from " << from;
          for (bool faded : {false, true}) {
            auto ours = d, ref = d;
            const int a = k->maskUntilKey(Pixels(ours, offset), Pixels(p, offset), Pixels(m, offset), w, key, faded);
            const int b =
                ScalarKernels().maskUntilKey(Pixels(ref, offset), Pixels(p, offset), Pixels(m, offset), w, key, faded);
            ASSERT_EQ(a, b) << k->name << " width " << w << " offset " << offset;
            ASSERT_EQ(ours, ref) << k->name << " width " << w << " offset " << offset;
          }
        }
    });
}

TEST(PixelKernels, MixesAndPercentBlendsMatchTheReference) {
  std::mt19937 rng(3);
  for (const PixelKernels* k : VectorSets())
    ForEveryRow([&](int w, int offset) {
      const std::size_t n = std::size_t(w) * 3;
      auto d = RandomBytes(rng, n + 32, 5), s = RandomBytes(rng, n + 32);
      const Bgr c{std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng())};
      for (unsigned f : {0u, 1u, 127u, 128u, 200u, 255u}) {
        auto ours = d, ref = d;
        k->mixBytes(ours.data() + offset, s.data() + offset, n, f);
        ScalarKernels().mixBytes(ref.data() + offset, s.data() + offset, n, f);
        ASSERT_EQ(ours, ref) << k->name << " mixBytes f " << f << " width " << w;
      }
      for (unsigned f : {0u, 1u, 128u, 255u, 256u})
        for (KeyColour key : {KeyColour{}, KeyColour::From(0xFF00FF), KeyColour::From(0)}) {
          auto ours = d, ref = d;
          k->mixColour(Pixels(ours, offset), w, c, f, key);
          ScalarKernels().mixColour(Pixels(ref, offset), w, c, f, key);
          ASSERT_EQ(ours, ref) << k->name << " mixColour k " << f << " width " << w;
        }
      for (unsigned P : {0u, 1u, 33u, 50u, 99u, 100u}) {
        auto ours = d, ref = d;
        k->percentColour(Pixels(ours, offset), w, c, P);
        ScalarKernels().percentColour(Pixels(ref, offset), w, c, P);
        ASSERT_EQ(ours, ref) << k->name << " percent " << P << " width " << w;
      }
    });
}

TEST(PixelKernels, GreyAndFillMatchTheReference) {
  std::mt19937 rng(4);
  for (const PixelKernels* k : VectorSets())
    ForEveryRow([&](int w, int offset) {
      const std::size_t n = std::size_t(w) * 3;
      auto d = RandomBytes(rng, n + 32, 4);
      for (KeyColour key : {KeyColour{}, KeyColour::From(0xFF00FF), KeyColour::From(0)}) {
        auto ours = d, ref = d;
        k->grey(Pixels(ours, offset), w, key);
        ScalarKernels().grey(Pixels(ref, offset), w, key);
        ASSERT_EQ(ours, ref) << k->name << " grey width " << w << " offset " << offset;
      }
      auto ours = d, ref = d;
      k->fill(Pixels(ours, offset), w, Bgr{1, 2, 3});
      ScalarKernels().fill(Pixels(ref, offset), w, Bgr{1, 2, 3});
      ASSERT_EQ(ours, ref) << k->name << " fill width " << w;
    });
}

// The blend is the exact quotient rounded half to even, in every set. With
// P = 1, v + 99 c + 50 takes every value the vector division by 100 can see;
// every other percentage is checked over all values against a few colours.
TEST(PixelKernels, PercentBlendIsExactForEveryQuotient) {
  EXPECT_EQ(PercentChannel(174, 24, 1), 26);   // 25.5: a tie, to the even side
  EXPECT_EQ(PercentChannel(175, 24, 1), 26);   // 25.51
  EXPECT_EQ(PercentChannel(1, 0, 50), 0);      // 0.5
  EXPECT_EQ(PercentChannel(3, 0, 50), 2);      // 1.5
  EXPECT_EQ(PercentChannel(200, 0, 150), 255);  // extrapolated beyond a byte
  EXPECT_EQ(PercentChannel(0, 200, 150), 0);    // and below 0
  EXPECT_EQ(PercentChannel(10, 30, -50), 40);   // -5 + 45
  std::vector<std::uint8_t> row(256 * 3), expected(256 * 3);
  auto check = [&](const PixelKernels* k, unsigned P, unsigned c) {
    for (unsigned v = 0; v < 256; ++v) {
      row[3 * v] = row[3 * v + 1] = row[3 * v + 2] = std::uint8_t(v);
      const unsigned N = P * v + (100 - P) * c, q = N / 100, r = N % 100;
      expected[3 * v] = expected[3 * v + 1] = expected[3 * v + 2] =
          std::uint8_t(r > 50 || (r == 50 && (q & 1)) ? q + 1 : q);
    }
    k->percentColour(Pixels(row, 0), 256, Bgr{std::uint8_t(c), std::uint8_t(c), std::uint8_t(c)}, P);
    return row == expected;
  };
  for (const PixelKernels* k : AvailableKernels()) {
    for (unsigned c = 0; c < 256; ++c) ASSERT_TRUE(check(k, 1, c)) << k->name << " P 1 c " << c;
    for (unsigned P = 0; P <= 100; ++P)
      for (unsigned c : {0u, 1u, 99u, 128u, 254u, 255u}) ASSERT_TRUE(check(k, P, c)) << k->name << " P " << P << " c " << c;
  }
}

// ---- whole routines with each set

PixelBuffer RandomImage(std::mt19937& rng, int w, int h, int keyEvery) {
  PixelBuffer b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      b.At(x, y) = Bgr{std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng())};
      if (keyEvery > 0 && rng() % unsigned(keyEvery) == 0) b.At(x, y) = kKey;
    }
  return b;
}

bool Same(const PixelBuffer& a, const PixelBuffer& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (!(a.At(x, y) == b.At(x, y))) return false;
  return true;
}

// Runs paint(dest) with the scalar set and with each vector set on copies of
// dest; every result and every list of region cuts must agree.
template <class Paint>
void ExpectSameWithEverySet(const PixelBuffer& dest, Paint&& paint, const char* what) {
  PixelBuffer reference = dest;
  RegionCuts referenceCuts;
  {
    ScopedKernels use(ScalarKernels());
    paint(reference, referenceCuts);
  }
  for (const PixelKernels* k : VectorSets()) {
    PixelBuffer ours = dest;
    RegionCuts cuts;
    ScopedKernels use(*k);
    paint(ours, cuts);
    EXPECT_TRUE(Same(ours, reference)) << what << " with " << k->name;
    EXPECT_EQ(cuts, referenceCuts) << what << " with " << k->name;
  }
}

TEST(PixelKernels, WholeRoutinesGiveTheSamePixelsWithEverySet) {
  std::mt19937 rng(5);
  for (int w : {1, 7, 16, 33, 67, 130})
    for (int h : {1, 5, 12}) {
      const PixelBuffer dest = RandomImage(rng, w, h, 0);
      const PixelBuffer strip = RandomImage(rng, w + 3, 2 * h + 2, 9);
      const PixelBuffer other = RandomImage(rng, w, h, 0);
      const MaskImage mask = MaskImage::Own(const_cast<PixelBuffer&>(strip).Rows());
      ExpectSameWithEverySet(dest, [&](PixelBuffer& d, RegionCuts& cuts) {
        CopyMaskedRect({0, 0, w - 1, h - 1}, {1, 0, w + 1, h}, d.Rows(), mask, 0xFF00FF, &cuts);
      }, "CopyMaskedRect");
      ExpectSameWithEverySet(dest, [&](PixelBuffer& d, RegionCuts&) {
        CopyMaskedGlyphRect({0, 0, w - 1, h - 1}, {2, 1, w + 2, h}, d.Rows(), mask, 0, 0xFF00FF);
      }, "faded glyph");
      ExpectSameWithEverySet(dest, [&](PixelBuffer& d, RegionCuts&) {
        PixelBuffer parent = other;
        CopyMaskedRectCI({-1, 0, w, h}, {0, 0, w + 3, h + 1}, d.Rows(), ParentCacheRef{parent.Rows(), 1, -1, true}, mask);
      }, "CopyMaskedRectCI");
      ExpectSameWithEverySet(dest, [&](PixelBuffer& d, RegionCuts&) {
        BlendRectWithColor(d.Rows(), {1, 0, w - 2, h - 1}, 37, 0x2060A0);
        BlendRectWithColor(d.Rows(), {0, 1, w, h}, 130, 0x102030);
      }, "BlendRectWithColor");
      ExpectSameWithEverySet(dest, [&](PixelBuffer& d, RegionCuts&) {
        PixelBuffer s = other;
        BlendBitmaps(d.Rows(), s.Rows(), 77);
        BlendBitmapRect(d.Rows(), s.Rows(), 0x505050, {1, 0}, {0, 1, w - 1, h});
        BlendBitmapRect(d.Rows(), s.Rows(), 0x0000FF, {0, 0}, {0, 0, w, h});
      }, "bitmap blends");
      ExpectSameWithEverySet(strip, [&](PixelBuffer& d, RegionCuts&) {
        FadeBitmapToColor(d.Rows(), 0x336699, 0xFF00FF, 0.75);
        FadeBitmapToColor(d.Rows(), 0x996633, 0xFF00FF, 0.3);
        GrayBitmapExcept(d.Rows(), 0xFF00FF);
      }, "fade and grey");
      ExpectSameWithEverySet(dest, [&](PixelBuffer& d, RegionCuts&) {
        PixelBuffer s = strip;
        CopyTransparentRect(d.Rows(), s.Rows(), -1, 0xFF00FF, {0, 0, w + 3, h + 2}, 1);
      }, "CopyTransparentRect");
      ExpectSameWithEverySet(dest, [&](PixelBuffer& d, RegionCuts&) {
        PaintGradient(d.Rows(), {0, 0, w, h}, ParseGradient("255;16711680;40;1;0;65280;255;60;1;0"));
      }, "gradient");
    }
}

// ---- nine-part borders: the rows laid out whole against tile-by-tile copies

// The borders painted as the tiles are placed one by one: corners and edges
// by CopyMaskedRect with the key, the centre by CopyMaskedRectCI without a
// parent. Cell sizes and the tiling follow the border geometry directly.
void BordersTileByTile(PixelRows dest, const MaskImage& mask, int state, RegionCuts* cuts) {
  const int W = dest.width, H = dest.height;
  const int CW = mask.area.Width() / 9, CH = mask.area.Height() / 6, X0 = 3 * CW * state, half = mask.area.Height() / 2;
  const int L = W < 2 * CW ? W / 2 : CW, R = W < 2 * CW ? W - W / 2 : CW;
  const int T = H < 2 * CH ? H / 2 : CH, B = H < 2 * CH ? H - H / 2 : CH;
  auto piece = [&](int sx, int sy, int w, int h, int dx, int dy) {
    if (w > 0 && h > 0)
      CopyMaskedRect({dx, dy, dx + w - 1, dy + h - 1}, {sx, sy, sx + w - 1, sy + h - 1}, dest, mask, 0xFF00FF, cuts);
  };
  auto along = [](int N, int S, int C, auto&& place) {
    int p = S;
    for (; p < N - 2 * C; p += S) place(p, S);
    if (p < N - C) place(p, N - C - p);
  };
  piece(X0, 0, L, T, 0, 0);
  along(H, CH, B, [&](int p, int n) { piece(X0, CH, L, n, 0, p); });
  along(W, CW, R, [&](int p, int n) { piece(X0 + CW, 0, n, T, p, 0); });
  piece(X0, half - B, L, B, 0, H - B);
  along(W, CW, R, [&](int p, int n) { piece(X0 + CW, half - B, n, B, p, H - B); });
  piece(X0 + 3 * CW - R, half - B, R, B, W - R, H - B);
  piece(X0 + 3 * CW - R, 0, R, T, W - R, 0);
  along(H, CH, B, [&](int p, int n) { piece(X0 + 2 * CW, CH, CW, n, W - CW, p); });
  along(H, CH, CH, [&](int py, int ny) {
    along(W, CW, CW, [&](int px, int nx) {
      CopyMaskedRectCI({px, py, px + nx, py + ny}, {X0 + CW, CH, X0 + CW + nx, CH + ny}, dest, EmptyCacheRef, mask);
    });
  });
}

// The pixels a list of cuts removes, as a set, so that lists that split the
// same runs differently compare equal.
std::set<std::pair<int, int>> CutPixels(const RegionCuts& cuts) {
  std::set<std::pair<int, int>> pixels;
  for (const PixRect& r : cuts)
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) pixels.insert({x, y});
  return pixels;
}

TEST(NinePartBorders, WholeRowsEqualTheTilesPlacedOneByOne) {
  std::mt19937 rng(6);
  for (int cell : {1, 3, 10})
    for (auto [W, H] : {std::pair{3, 3}, {15, 9}, {20, 20}, {47, 31}, {101, 13}})
      for (int state : {0, 2}) {
        const PixelBuffer strip = RandomImage(rng, 9 * cell, 6 * cell, 6);
        const MaskImage mask = MaskImage::Own(const_cast<PixelBuffer&>(strip).Rows());
        PixelBuffer ours = RandomImage(rng, W, H, 0), tiles = ours;
        RegionCuts ourCuts, tileCuts;
        PaintMaskedBorders(ours.Rows(), mask, state, true, 0xFF00FF, &ourCuts);
        BordersTileByTile(tiles.Rows(), mask, state, &tileCuts);
        EXPECT_TRUE(Same(ours, tiles)) << "cells " << cell << ", " << W << " x " << H << ", state " << state;
        EXPECT_EQ(CutPixels(ourCuts), CutPixels(tileCuts)) << "cells " << cell << ", " << W << " x " << H;
      }
}

TEST(NinePartBorders, TiledAreasThatNeedClippingArePaintedTileByTile) {
  // Cells of 15 x 4 in a master image whose right column hangs over its
  // edge, painted into a rectangle hanging over the destination's left: the
  // edges there copy only what exists on both sides, the others whole rows.
  std::mt19937 rng(7);
  const PixelBuffer master = RandomImage(rng, 40, 24, 0);
  const MaskImage image = MaskImage::InMaster(const_cast<PixelBuffer&>(master).Rows(), {4, 0, 49, 24}, 1, 1);
  const PixelBuffer before = RandomImage(rng, 30, 20, 0);
  PixelBuffer dest = before;
  PaintSkinBorders(dest.Rows(), {-3, 2, 40, 19}, true, 0, image, EmptyCacheRef);
  auto painted = [&](int x, int y, int sx, int sy) {  // rule 1 from picture (sx, sy), its mask 12 rows down
    const Bgr d = before.At(x, y), p = master.At(sx, sy), m = master.At(sx, sy + 12);
    return Bgr{MaskChannel(d.b, p.b, m.b), MaskChannel(d.g, p.g, m.g), MaskChannel(d.r, p.r, m.r)};
  };
  EXPECT_EQ(dest.At(0, 10), painted(0, 10, 7, 4));     // left edge, its first 3 columns cut off
  EXPECT_EQ(dest.At(29, 10), painted(29, 10, 38, 4));  // right edge, cut at the master's edge
  EXPECT_EQ(dest.At(12, 2), painted(12, 2, 19, 0));    // top edge
  EXPECT_EQ(dest.At(20, 14), painted(20, 14, 27, 4));  // centre, third row of tiles
  EXPECT_EQ(dest.At(20, 19), before.At(20, 19));       // below the rectangle
}

}  // namespace
}  // namespace kestu
