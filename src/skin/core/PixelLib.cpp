#include "skin/core/PixelLib.h"

#include "skin/core/PixelFill.h"
#include "skin/core/PixelKernels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace kestu {

namespace {

std::uint8_t ClampByte(double v) {
  double r = std::nearbyint(v);
  return r <= 0 ? 0 : r >= 255 ? 255 : std::uint8_t(r);
}

// Moves a start that lies before 0 (on either side) to 0, moving the other
// side by the same amount and shortening the count.
void ClipStarts(int& d, int& s, int& n) {
  if (d < 0) {
    n += d;
    s -= d;
    d = 0;
  }
  if (s < 0) {
    n += s;
    d -= s;
    s = 0;
  }
}

// A copy of w x h pixels from (sx, sy) of the image to (dx, dy) of dest,
// clipped so that every picture, mask and destination pixel exists.
struct Span {
  int dx, dy, sx, sy, w, h;
};

Span ClipSpan(int dx, int dy, int sx, int sy, int w, int h, PixelRows dest, const MaskImage& mask) {
  ClipStarts(dx, sx, w);
  ClipStarts(dy, sy, h);
  w = std::min({w, dest.width - dx, mask.bits.width - sx});
  h = std::min({h, dest.height - dy, mask.PictureBottom() - sy, mask.bits.height - mask.MaskOffset() - sy});
  return {dx, dy, sx, sy, w, h};
}

void BlockCopy(PixelRows dest, PixelRows src, const Span& s) {
  for (int j = 0; j < s.h; ++j)
    std::memcpy(dest.Row(s.dy + j) + s.dx, src.Row(s.sy + j) + s.sx, std::size_t(s.w) * 3);
}

const std::uint8_t* Bytes(const Bgr* p) { return reinterpret_cast<const std::uint8_t*>(p); }
std::uint8_t* Bytes(Bgr* p) { return reinterpret_cast<std::uint8_t*>(p); }

// One row of a masked copy: runs of painted pixels follow rule 1 (faded or
// not); each run of key-colour pixels is left out and handed to
// keyRun(first, end).
template <class KeyRun>
void MaskRow(Bgr* d, const Bgr* p, const Bgr* m, int w, KeyColour key, bool faded, KeyRun&& keyRun) {
  const PixelKernels& k = Kernels();
  if (!key.active) return (faded ? k.maskBytesFaded : k.maskBytes)(Bytes(d), Bytes(p), Bytes(m), std::size_t(w) * 3);
  int i = 0;
  while (i < w) {
    int end = i + k.maskUntilKey(d + i, p + i, m + i, w - i, key.value, faded);
    if (end >= w) break;
    int run = end;
    while (end < w && p[end] == key.value) ++end;
    keyRun(run, end);
    i = end;
  }
}

// Each run of key-colour pixels is one rectangle cut from the region.
void MaskedCopy(const Span& s, PixelRows dest, const MaskImage& mask, KeyColour key, bool faded, RegionCuts* cuts) {
  const int offset = mask.MaskOffset();
  for (int j = 0; j < s.h; ++j) {
    const Bgr* p = mask.bits.Row(s.sy + j) + s.sx;
    MaskRow(dest.Row(s.dy + j) + s.dx, p, mask.bits.Row(s.sy + j + offset) + s.sx, s.w, key, faded,
            [&](int first, int end) {
              if (cuts) cuts->push_back({s.dx + first, s.dy + j, s.dx + end, s.dy + j + 1});
            });
  }
}

}  // namespace

// ---- masked copies

void CopyMaskedRect(PixRect dst, PixRect src, PixelRows dest, const MaskImage& mask, std::uint32_t key,
                    RegionCuts* cuts) {
  if (dest.Empty() || !mask.Present()) return;
  int w = std::min(dst.Right - dst.Left + 1, src.Right - src.Left + 1);
  int h = std::min(dst.Bottom - dst.Top + 1, src.Bottom - src.Top + 1);
  Span s = ClipSpan(dst.Left, dst.Top, src.Left, src.Top, w, h, dest, mask);
  if (s.w <= 0 || s.h <= 0) return;
  if (!mask.masked) return BlockCopy(dest, mask.bits, s);
  MaskedCopy(s, dest, mask, KeyColour::From(key), false, cuts);
}

void CopyMaskedGlyphRect(PixRect dst, PixRect src, PixelRows dest, const MaskImage& mask, int mode,
                         std::uint32_t key) {
  if (dest.Empty() || !mask.Present()) return;
  int w = std::min(dst.Right - dst.Left + 1, src.Right - src.Left + 1);
  int h = std::min(dst.Bottom - dst.Top + 1, src.Bottom - src.Top + 1);
  Span s = ClipSpan(dst.Left, dst.Top, src.Left, src.Top, w, h, dest, mask);
  if (s.w <= 0 || s.h <= 0) return;
  if (!mask.masked) return BlockCopy(dest, mask.bits, s);
  MaskedCopy(s, dest, mask, KeyColour::From(key), mode != 1, nullptr);
}

void CopyMaskedRectCI(PixRect dst, PixRect src, PixelRows dest, const ParentCacheRef& parent,
                      const MaskImage& mask) {
  if (dest.Empty() || !mask.Present()) return;
  int w = std::min(dst.Right - dst.Left, src.Right - src.Left);
  int h = std::min(dst.Bottom - dst.Top, src.Bottom - src.Top);
  Span s = ClipSpan(dst.Left, dst.Top, src.Left, src.Top, w, h, dest, mask);
  if (s.w <= 0 || s.h <= 0) return;
  if (!mask.masked) return BlockCopy(dest, mask.bits, s);
  if (!parent.Ready()) return MaskedCopy(s, dest, mask, KeyColour{}, false, nullptr);
  const KeyColour key = KeyColour::From(clFuchsia);
  const int offset = mask.MaskOffset();
  for (int j = 0; j < s.h; ++j) {
    Bgr* d = dest.Row(s.dy + j) + s.dx;
    const int py = parent.Y + s.dy + j;
    MaskRow(d, mask.bits.Row(s.sy + j) + s.sx, mask.bits.Row(s.sy + j + offset) + s.sx, s.w, key, false,
            [&](int first, int end) {
              for (int i = first; i < end; ++i) {
                const int px = parent.X + s.dx + i;
                if (parent.Bitmap.Contains(px, py)) d[i] = parent.Bitmap.At(px, py);
              }
            });
  }
}

// ---- nine-part borders

namespace {

// Tiles along an edge of length N with tile size S and far corner size C:
// whole tiles at S, 2S, ... while p < N - 2C, then one clipped to end at N - C.
template <class F>
void TileAlong(int N, int S, int C, F&& place) {
  if (S <= 0) return;
  int p = S;
  for (; p < N - 2 * C; p += S) place(p, S);
  if (p < N - C) place(p, N - C - p);
}

// How far from S the tiles of TileAlong reach; they follow each other
// without a gap.
int TiledLength(int N, int S, int C) {
  int end = S;
  TileAlong(N, S, C, [&](int p, int n) { end = p + n; });
  return end - S;
}

struct BorderGeometry {
  int CW, CH, X0, L, R, T, B, half;

  BorderGeometry(const MaskImage& mask, int state, int W, int H) {
    CW = mask.area.Width() / (mask.frames * 3);
    CH = mask.area.Height() / (mask.halves * 3);
    state = std::clamp(state, 0, mask.frames - 1);  // beyond the last frame: the last
    X0 = CW * 3 * state;
    half = mask.area.Height() / mask.halves;
    if (W < 2 * CW) {
      L = W / 2;
      R = W % 2 ? L + 1 : L;
    } else {
      L = R = CW;
    }
    if (H < 2 * CH) {
      T = H / 2;
      B = H % 2 ? T + 1 : T;
    } else {
      T = B = CH;
    }
  }
};

// A piece of the borders: the cell at (sx, sy) of the image repeated over
// the area at (dx, dy) from its corner, the last tiles clipped. A corner is
// one cell over an area of its own size. Source coordinates are relative to
// the image, destination ones to the target area.
struct BorderPiece {
  bool corner, centre;
  int sx, sy, cw, ch;
  int dx, dy, aw, ah;

  // Calls put(sx, sy, w, h, dx, dy) for each tile, as the tiles were placed
  // one by one.
  template <class F>
  void ForEachTile(F&& put) const {
    for (int ty = 0; ty < ah; ty += ch)
      for (int tx = 0; tx < aw; tx += cw) put(sx, sy, std::min(cw, aw - tx), std::min(ch, ah - ty), dx + tx, dy + ty);
  }
};

// Calls put(piece) for every piece in painting order.
template <class F>
void ForEachBorderPiece(const BorderGeometry& g, int W, int H, bool fillCentre, bool skinRightEdge, F&& put) {
  const int CW = g.CW, CH = g.CH, X0 = g.X0, L = g.L, R = g.R, T = g.T, B = g.B, half = g.half;
  const int down = TiledLength(H, CH, B), across = TiledLength(W, CW, R);
  auto corner = [&](int sx, int sy, int w, int h, int dx, int dy) { put(BorderPiece{true, false, sx, sy, w, h, dx, dy, w, h}); };
  auto edge = [&](int sx, int sy, int cw, int ch, int dx, int dy, int aw, int ah) {
    put(BorderPiece{false, false, sx, sy, cw, ch, dx, dy, aw, ah});
  };
  corner(X0, 0, L, T, 0, 0);
  edge(X0, CH, L, CH, 0, CH, L, down);
  edge(X0 + CW, 0, CW, T, CW, 0, across, T);
  corner(X0, half - B, L, B, 0, H - B);
  edge(X0 + CW, half - B, CW, B, CW, H - B, across, B);
  corner(X0 + 3 * CW - R, half - B, R, B, W - R, H - B);
  corner(X0 + 3 * CW - R, 0, R, T, W - R, 0);
  if (skinRightEdge)
    edge(X0 + 3 * CW - R, CH, R, CH, W - R, CH, R, down);
  else
    edge(X0 + 2 * CW, CH, CW, CH, W - CW, CH, CW, down);
  if (fillCentre)
    put(BorderPiece{false, true, X0 + CW, CH, CW, CH, CW, CH, TiledLength(W, CW, CW), TiledLength(H, CH, CH)});
}

// The piece's tiles need no clipping: the area lies in dest at (x, y) and the
// cell in the image's picture half, with its mask rows present.
bool Unclipped(const BorderPiece& piece, PixelRows dest, int x, int y, const MaskImage& mask) {
  const int sx = mask.area.Left + piece.sx, sy = mask.area.Top + piece.sy;
  return x >= 0 && y >= 0 && x + piece.aw <= dest.width && y + piece.ah <= dest.height && sx >= 0 && sy >= 0 &&
         sx + piece.cw <= mask.bits.width && sy + piece.ch <= mask.PictureBottom() &&
         sy + piece.ch + mask.MaskOffset() <= mask.bits.height;
}

// A masked piece painted whole rows at a time: each cell row, picture and
// mask, is laid out once as wide as the area, then every area row is one
// masked copy. Key runs are cut from the region (when given) as the tiles
// would cut them, neighbouring runs of two tiles joined.
void PaintTiledMasked(const BorderPiece& piece, PixelRows dest, int x, int y, const MaskImage& mask, KeyColour key,
                      RegionCuts* cuts, std::vector<Bgr>& scratch) {
  const int rows = std::min(piece.ch, piece.ah), aw = piece.aw;
  scratch.resize(std::size_t(rows) * std::size_t(aw) * 2);
  const int sx = mask.area.Left + piece.sx, sy = mask.area.Top + piece.sy;
  for (int r = 0; r < rows; ++r) {
    Bgr* picture = scratch.data() + std::size_t(2 * r) * std::size_t(aw);
    Bgr* maskRow = picture + aw;
    for (int tx = 0; tx < aw; tx += piece.cw) {
      const auto n = std::size_t(std::min(piece.cw, aw - tx));
      std::memcpy(picture + tx, mask.bits.Row(sy + r) + sx, n * sizeof(Bgr));
      std::memcpy(maskRow + tx, mask.bits.Row(sy + r + mask.MaskOffset()) + sx, n * sizeof(Bgr));
    }
  }
  for (int j = 0; j < piece.ah; ++j) {
    const Bgr* picture = scratch.data() + std::size_t(2 * (j % piece.ch)) * std::size_t(aw);
    MaskRow(dest.Row(y + j) + x, picture, picture + aw, aw, key, false, [&](int first, int end) {
      if (cuts) cuts->push_back({x + first, y + j, x + end, y + j + 1});
    });
  }
}

}  // namespace

void PaintMaskedBorders(PixelRows dest, const MaskImage& mask, int state, bool fillCentre, std::uint32_t key,
                        RegionCuts* cuts) {
  if (!mask.Present() || dest.Empty() || dest.width < 3 || dest.height < 3) return;
  const int W = dest.width, H = dest.height;
  BorderGeometry g(mask, state, W, H);
  if (g.CW <= 0 || g.CH <= 0) return;
  const int ax = mask.area.Left, ay = mask.area.Top;
  std::vector<Bgr> scratch;
  ForEachBorderPiece(g, W, H, fillCentre, false, [&](const BorderPiece& piece) {
    if (piece.aw <= 0 || piece.ah <= 0) return;
    // The centre neither skips key pixels nor cuts the region.
    const KeyColour pieceKey = piece.centre ? KeyColour{} : KeyColour::From(key);
    RegionCuts* pieceCuts = piece.centre ? nullptr : cuts;
    if (!piece.corner && mask.masked && Unclipped(piece, dest, piece.dx, piece.dy, mask))
      return PaintTiledMasked(piece, dest, piece.dx, piece.dy, mask, pieceKey, pieceCuts, scratch);
    if (!piece.corner && !mask.masked && Unclipped(piece, dest, piece.dx, piece.dy, mask))
      return TileImage(dest, {piece.dx, piece.dy, piece.dx + piece.aw, piece.dy + piece.ah},
                       SubRows(mask.bits, {ax + piece.sx, ay + piece.sy, ax + piece.sx + piece.cw, ay + piece.sy + piece.ch}));
    piece.ForEachTile([&](int sx, int sy, int w, int h, int dx, int dy) {
      if (piece.centre)
        CopyMaskedRectCI({dx, dy, dx + w, dy + h}, {ax + sx, ay + sy, ax + sx + w, ay + sy + h}, dest,
                         EmptyCacheRef, mask);
      else
        CopyMaskedRect({dx, dy, dx + w - 1, dy + h - 1}, {ax + sx, ay + sy, ax + sx + w - 1, ay + sy + h - 1},
                       dest, mask, key, cuts);
    });
  });
}

void PaintMaskedBordersRgn(PixelRows dest, RegionCuts* cuts, bool fillCentre, int state, const MaskImage& mask) {
  PaintMaskedBorders(dest, mask, state, fillCentre, clFuchsia, cuts);
}

void PaintSkinBorders(PixelRows dest, PixRect rect, bool fillCentre, int state, const MaskImage& mask,
                      const ParentCacheRef& parent) {
  const int W = rect.Width(), H = rect.Height();
  if (!mask.Present() || dest.Empty() || W < 2 || H < 2) return;
  BorderGeometry g(mask, state, W, H);
  if (g.CW <= 0 || g.CH <= 0) return;
  const int ax = mask.area.Left, ay = mask.area.Top;
  std::vector<Bgr> scratch;
  ForEachBorderPiece(g, W, H, fillCentre, true, [&](const BorderPiece& piece) {
    if (piece.aw <= 0 || piece.ah <= 0) return;
    const int x = rect.Left + piece.dx, y = rect.Top + piece.dy;
    // Edges and the centre see no parent: plain rule 1 (or block copies).
    if (!piece.corner && mask.masked && Unclipped(piece, dest, x, y, mask))
      return PaintTiledMasked(piece, dest, x, y, mask, KeyColour{}, nullptr, scratch);
    if (!piece.corner && !mask.masked && Unclipped(piece, dest, x, y, mask))
      return TileImage(dest, {x, y, x + piece.aw, y + piece.ah},
                       SubRows(mask.bits, {ax + piece.sx, ay + piece.sy, ax + piece.sx + piece.cw, ay + piece.sy + piece.ch}));
    piece.ForEachTile([&](int sx, int sy, int w, int h, int dx, int dy) {
      PixRect to{rect.Left + dx, rect.Top + dy, rect.Left + dx + w, rect.Top + dy + h};
      PixRect from{ax + sx, ay + sy, ax + sx + w, ay + sy + h};
      if (!mask.masked) {
        if (piece.corner)
          CopyTransparentRect(dest, mask.bits, to.Left, clFuchsia, from, to.Top);
        else
          CopyRect(dest, to.Left, to.Top, mask.bits, from);
        return;
      }
      CopyMaskedRectCI(to, from, dest, piece.corner ? parent : EmptyCacheRef, mask);
    });
  });
}

void DrawStripGlyph(PixelRows dest, PixPoint position, int state, const MaskImage& mask, int mode) {
  if (!mask.Present() || dest.Empty()) return;
  int FW = mask.area.Width() / mask.frames;
  int FH = mask.area.Height() / mask.halves;
  state = std::clamp(state, 0, mask.frames - 1);
  int sx = mask.area.Left + state * FW, sy = mask.area.Top;
  int dx = position.X, dy = position.Y, w = FW, h = FH;
  ClipStarts(dx, sx, w);
  ClipStarts(dy, sy, h);
  if (w <= 0 || h <= 0) return;
  if (mask.masked) {
    CopyMaskedGlyphRect({dx, dy, dx + w - 1, dy + h - 1}, {sx, sy, sx + w - 1, sy + h - 1}, dest, mask, mode,
                        clFuchsia);
  } else if (mode == 1) {
    CopyTransparentRect(dest, mask.bits, dx, clFuchsia, {sx, sy, sx + w, sy + h}, dy);
  } else {
    BlendTransparent(dest, dx, dy, clFuchsia, 0.5, {sx, sy, sx + w, sy + h}, mask.bits);
  }
}

// ---- colour arithmetic

void BlendRectWithColor(PixelRows bitmap, PixRect rect, int percent, std::uint32_t colour) {
  if (bitmap.Empty()) return;
  rect.Left = std::max(rect.Left, 0);
  rect.Top = std::max(rect.Top, 0);
  rect.Right = std::min(rect.Right, bitmap.width - 1);
  rect.Bottom = std::min(rect.Bottom, bitmap.height - 1);
  if (rect.Right < rect.Left || rect.Bottom < rect.Top) return;
  const Bgr c = BgrFromColor(colour);
  const int w = rect.Right - rect.Left + 1;
  if (percent >= 0 && percent <= 100) {
    for (int y = rect.Top; y <= rect.Bottom; ++y) Kernels().percentColour(bitmap.Row(y) + rect.Left, w, c, unsigned(percent));
    return;
  }
  // Percentages beyond 0 .. 100 extrapolate: each channel value maps to
  // one clamped result, computed once.
  std::array<std::uint8_t, 256> lb, lg, lr;
  for (unsigned v = 0; v < 256; ++v) {
    lb[v] = PercentChannel(v, c.b, percent);
    lg[v] = PercentChannel(v, c.g, percent);
    lr[v] = PercentChannel(v, c.r, percent);
  }
  for (int y = rect.Top; y <= rect.Bottom; ++y) {
    Bgr* row = bitmap.Row(y);
    for (int x = rect.Left; x <= rect.Right; ++x) row[x] = Bgr{lb[row[x].b], lg[row[x].g], lr[row[x].r]};
  }
}

void BlendBitmapRect(PixelRows dest, PixelRows src, std::uint32_t factorColour, PixPoint point, PixRect srcRect) {
  if (dest.Empty() || src.Empty()) return;
  unsigned b0 = factorColour & 0xFF, b1 = (factorColour >> 8) & 0xFF, b2 = (factorColour >> 16) & 0xFF;
  const unsigned sum = b0 + b1 + b2;
  const double k = sum / 768.0;
  // Rows and columns up to the rectangle's size + 1, clipped to the source
  // and (against writes beyond a row) to the destination.
  int i0 = std::max({0, -srcRect.Left, -point.X});
  int i1 = std::min({srcRect.Width() + 1, src.width - srcRect.Left, dest.width - point.X});
  int j0 = std::max({0, -srcRect.Top, -point.Y});
  int j1 = std::min({srcRect.Height() + 1, src.height - srcRect.Top, dest.height - point.Y});
  if (i1 <= i0 || j1 <= j0) return;
  for (int j = j0; j < j1; ++j) {
    auto* d = Bytes(dest.Row(point.Y + j) + point.X + i0);
    auto* s = Bytes(src.Row(srcRect.Top + j) + srcRect.Left + i0);
    std::size_t n = std::size_t(i1 - i0) * 3;
    if (sum % 3 == 0) {
      Kernels().mixBytes(d, s, n, sum / 3);  // k = (sum / 3) / 256 exactly
    } else {
      for (std::size_t i = 0; i < n; ++i) d[i] = ClampByte((double(d[i]) - s[i]) * k + s[i]);
    }
  }
}

void BlendBitmaps(PixelRows dest, PixelRows src, int factor) {
  if (dest.Empty() || src.Empty() || dest.width != src.width || dest.height != src.height) return;
  for (int y = 0; y < dest.height; ++y)
    Kernels().mixBytes(Bytes(dest.Row(y)), Bytes(src.Row(y)), std::size_t(dest.width) * 3, unsigned(factor) & 0xFF);
}

void BlendTransparent(PixelRows dest, int x, int y, std::uint32_t key, double factor, PixRect srcRect,
                      PixelRows src) {
  if (dest.Empty() || src.Empty()) return;
  srcRect.Left = std::max(srcRect.Left, 0);
  srcRect.Top = std::max(srcRect.Top, 0);
  srcRect.Right = std::min(srcRect.Right, src.width);
  srcRect.Bottom = std::min(srcRect.Bottom, src.height);
  KeyColour k = KeyColour::From(key);
  auto mix = [factor](unsigned p, unsigned d) { return ClampByte(p - factor * (double(p) - double(d))); };
  for (int sy = srcRect.Top; sy < srcRect.Bottom; ++sy) {
    int dy = y + sy - srcRect.Top;
    if (dy < 0 || dy >= dest.height) continue;
    const Bgr* s = src.Row(sy);
    Bgr* d = dest.Row(dy);
    for (int sx = srcRect.Left; sx < srcRect.Right; ++sx) {
      int dx = x + sx - srcRect.Left;
      if (dx < 0 || dx >= dest.width || k.Matches(s[sx])) continue;
      d[dx] = Bgr{mix(s[sx].b, d[dx].b), mix(s[sx].g, d[dx].g), mix(s[sx].r, d[dx].r)};
    }
  }
}

void FadeBitmapToColor(PixelRows bitmap, std::uint32_t colour, std::uint32_t key, double factor) {
  if (bitmap.Empty()) return;
  const Bgr c = BgrFromColor(colour);
  KeyColour k = KeyColour::From(key);
  // A factor of n / 256 (0 <= n <= 256) makes the double arithmetic exact:
  // the integer mix gives the same bytes.
  const double n = factor * 256;
  if (n >= 0 && n <= 256 && n == std::floor(n)) {
    for (int y = 0; y < bitmap.height; ++y) Kernels().mixColour(bitmap.Row(y), bitmap.width, c, unsigned(n), k);
    return;
  }
  std::array<std::uint8_t, 256> lb, lg, lr;
  for (int v = 0; v < 256; ++v) {
    lb[v] = ClampByte(factor * (v - double(c.b)) + c.b);
    lg[v] = ClampByte(factor * (v - double(c.g)) + c.g);
    lr[v] = ClampByte(factor * (v - double(c.r)) + c.r);
  }
  for (int y = 0; y < bitmap.height; ++y) {
    Bgr* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.width; ++x)
      if (!k.Matches(row[x])) row[x] = Bgr{lb[row[x].b], lg[row[x].g], lr[row[x].r]};
  }
}

void ColorizeByMask(PixelRows dest, PixelRows mask, std::uint32_t colour) {
  if (dest.Empty() || mask.Empty() || dest.width != mask.width || dest.height != mask.height) return;
  const Bgr c = BgrFromColor(colour);
  for (int y = 0; y < dest.height; ++y) {
    Bgr* d = dest.Row(y);
    const Bgr* m = mask.Row(y);
    for (int x = 0; x < dest.width; ++x)
      d[x] = Bgr{std::uint8_t((c.b * (255u - m[x].b) + m[x].b * unsigned(d[x].b)) >> 8),
                 std::uint8_t((c.g * (255u - m[x].g) + m[x].g * unsigned(d[x].g)) >> 8),
                 std::uint8_t((c.r * (255u - m[x].r) + m[x].r * unsigned(d[x].r)) >> 8)};
  }
}

void BlendByMaskWithColor(PixelRows dest, PixelRows mask, int x, std::uint32_t colour, int y) {
  if (dest.Empty() || mask.Empty()) return;
  const Bgr c = BgrFromColor(colour);
  int i0 = std::max(0, -x), i1 = std::min(mask.width, dest.width - x);
  int j0 = std::max(0, -y), j1 = std::min(mask.height, dest.height - y);
  for (int j = j0; j < j1; ++j) {
    Bgr* d = dest.Row(y + j) + x;
    const Bgr* m = mask.Row(j);
    for (int i = i0; i < i1; ++i)
      d[i] = Bgr{MaskChannel(d[i].b, c.b, m[i].b), MaskChannel(d[i].g, c.g, m[i].g), MaskChannel(d[i].r, c.r, m[i].r)};
  }
}

void GrayBitmap(PixelRows bitmap) { GrayBitmapExcept(bitmap, 0xFF000000u); }

void GrayBitmapExcept(PixelRows bitmap, std::uint32_t key) {
  if (bitmap.Empty()) return;
  const KeyColour k = KeyColour::From(key);
  for (int y = 0; y < bitmap.height; ++y) Kernels().grey(bitmap.Row(y), bitmap.width, k);
}

std::uint32_t BlendTwoColors(std::uint32_t c1, std::uint32_t c2, double factor) {
  Bgr a = BgrFromColor(c1), b = BgrFromColor(c2);
  auto mix = [factor](unsigned x, unsigned y) { return ClampByte(x - factor * (double(x) - double(y))); };
  return ColorFromBgr(Bgr{mix(a.b, b.b), mix(a.g, b.g), mix(a.r, b.r)});
}

void CopyTransparent(PixelRows dest, PixelRows src, int x, std::uint32_t key, int y) {
  CopyTransparentRect(dest, src, x, key, {0, 0, src.width, src.height}, y);
}

void CopyTransparentRect(PixelRows dest, PixelRows src, int x, std::uint32_t key, PixRect srcRect, int y) {
  if (dest.Empty() || src.Empty()) return;
  srcRect.Left = std::max(srcRect.Left, 0);
  srcRect.Top = std::max(srcRect.Top, 0);
  srcRect.Right = std::min(srcRect.Right, src.width);
  srcRect.Bottom = std::min(srcRect.Bottom, src.height);
  KeyColour k = KeyColour::From(key);
  int i0 = std::max(0, -x), i1 = std::min(srcRect.Width(), dest.width - x);
  int j0 = std::max(0, -y), j1 = std::min(srcRect.Height(), dest.height - y);
  if (i1 <= i0) return;
  for (int j = j0; j < j1; ++j) {
    const Bgr* s = src.Row(srcRect.Top + j) + srcRect.Left;
    Bgr* d = dest.Row(y + j) + x;
    // Runs of pixels other than the key are copied whole.
    for (int i = i0; i < i1;) {
      const int end = k.active ? Kernels().findKey(s, i, i1, k.value) : i1;
      std::memmove(d + i, s + i, std::size_t(end - i) * sizeof(Bgr));
      i = end;
      while (i < i1 && s[i] == k.value) ++i;
    }
  }
}

void CopyRect(PixelRows dest, int x, int y, PixelRows src, PixRect srcRect) {
  if (dest.Empty() || src.Empty()) return;
  int w = srcRect.Width(), h = srcRect.Height();
  int sx = srcRect.Left, sy = srcRect.Top;
  ClipStarts(x, sx, w);
  ClipStarts(y, sy, h);
  w = std::min({w, dest.width - x, src.width - sx});
  h = std::min({h, dest.height - y, src.height - sy});
  if (w <= 0 || h <= 0) return;
  for (int j = 0; j < h; ++j) std::memmove(dest.Row(y + j) + x, src.Row(sy + j) + sx, std::size_t(w) * 3);
}

// ---- bevels and frame lines

std::vector<FrameLine> FrameLineRuns(PixRect rect, std::uint32_t light, std::uint32_t dark, bool soft, int kind,
                                     int width, std::uint32_t fill) {
  std::vector<FrameLine> lines;
  // Side colours: left, top, right, bottom.
  std::uint32_t side[4];
  switch (kind) {
    case 1: side[0] = side[1] = dark, side[2] = side[3] = light; break;
    case 2: side[0] = side[1] = side[2] = side[3] = light; break;
    case 3: side[0] = side[1] = side[2] = side[3] = dark; break;
    default: side[0] = side[1] = light, side[2] = side[3] = dark; break;
  }
  const bool graded = soft && width >= 2 && (kind == 0 || kind == 1);
  for (int i = 0; i < width; ++i) {
    int L = rect.Left + i, T = rect.Top + i, R = rect.Right - 1 - i, B = rect.Bottom - 1 - i;
    if (R < L || B < T) break;
    std::uint32_t c[4];
    for (int s = 0; s < 4; ++s) {
      if (!graded) c[s] = side[s];
      else if (i == 0) c[s] = kind == 0 ? clWhite : clBlack;
      else if (kind == 0) c[s] = BlendTwoColors(side[s], fill, double(i) / width);
      else c[s] = BlendTwoColors(BlendTwoColors(side[s], clBlack, 0.5), fill, double(i) / width);
    }
    lines.push_back({{L, T, L + 1, B + 1}, c[0]});
    lines.push_back({{L, T, R + 1, T + 1}, c[1]});
    lines.push_back({{R, T, R + 1, B + 1}, c[2]});
    lines.push_back({{L, B, R + 1, B + 1}, c[3]});
  }
  return lines;
}

void PaintFrameLines(PixelRows bitmap, PixRect rect, std::uint32_t light, std::uint32_t dark, bool soft, int kind,
                     int width, std::uint32_t fill) {
  for (const FrameLine& line : FrameLineRuns(rect, light, dark, soft, kind, width, fill))
    FillSolid(bitmap, line.run, BgrFromColor(line.colour));
}

void PaintBevel(PixelRows bitmap, PixRect rect, int width, bool soft, TsControlBevel kind) {
  if (kind == cbNone || bitmap.Empty() || width <= 0) return;
  const bool raised = kind == cbRaisedSoft || kind == cbRaisedHard;
  if (width == 1) {
    PaintFrameLines(bitmap, rect, clWhite, clBlack, false, raised ? 0 : 1, 1, 0);
    return;
  }
  rect.Left = std::max(rect.Left, 0);
  rect.Top = std::max(rect.Top, 0);
  rect.Right = std::min(rect.Right, bitmap.width);
  rect.Bottom = std::min(rect.Bottom, bitmap.height);
  int w = std::min(width, std::min(rect.Width(), rect.Height()) / 2 - 1);
  if (w < 2) return;
  const Bgr light = BgrFromColor(0xF0F0F0), dark = BgrFromColor(0x191919);
  const Bgr nearColour = raised ? light : dark;  // left and top bands
  const Bgr farColour = raised ? dark : light;   // right and bottom bands
  const bool softKind = kind == cbRaisedSoft || kind == cbLoweredSoft;
  const int step = 255 / w;
  auto tint = [](Bgr* p, int count, Bgr c, unsigned m) {
    for (int i = 0; i < count; ++i)
      p[i] = Bgr{MaskChannel(p[i].b, c.b, m), MaskChannel(p[i].g, c.g, m), MaskChannel(p[i].r, c.r, m)};
  };
  // Each band line i is a mitred run; the bands do not overlap, so no pixel
  // is tinted twice: the side bands own the diagonal corner pixels.
  for (int i = 0; i < w; ++i) {
    unsigned m = !soft ? 127u : softKind ? unsigned(i * step) : unsigned(255 - i * step);
    int L = rect.Left + i, T = rect.Top + i, R = rect.Right - 1 - i, B = rect.Bottom - 1 - i;
    for (int y = T; y <= B; ++y) tint(bitmap.Row(y) + L, 1, nearColour, m);
    if (R - L - 1 > 0) tint(bitmap.Row(T) + L + 1, R - L - 1, nearColour, m);
    for (int y = T; y <= B; ++y) tint(bitmap.Row(y) + R, 1, farColour, m);
    if (R - L - 1 > 0) tint(bitmap.Row(B) + L + 1, R - L - 1, farColour, m);
  }
}

// ---- tiling

PixelRows SubRows(PixelRows rows, PixRect rect) {
  rect.Left = std::max(rect.Left, 0);
  rect.Top = std::max(rect.Top, 0);
  rect.Right = std::min(rect.Right, rows.width);
  rect.Bottom = std::min(rect.Bottom, rows.height);
  if (rows.bits == nullptr || rect.Width() <= 0 || rect.Height() <= 0) return {};
  return {rows.bits + rows.stride * rect.Top + std::ptrdiff_t(rect.Left) * 3, rect.Width(), rect.Height(),
          rows.stride};
}

void TileImage(PixelRows dest, PixRect rect, PixelRows tile) {
  if (dest.Empty() || tile.Empty()) return;
  const int tw = tile.width, th = tile.height;
  const int left = std::max(rect.Left, 0), top = std::max(rect.Top, 0);
  const int right = std::min(rect.Right, dest.width), bottom = std::min(rect.Bottom, dest.height);
  if (left >= right || top >= bottom) return;
  const int n = right - left;
  const std::size_t px = sizeof(Bgr);
  // The tiles are anchored at the rectangle's corner, also where it starts
  // outside the destination.
  const int phase = ((left - rect.Left) % tw + tw) % tw;
  for (int y = top; y < bottom; ++y) {
    Bgr* d = dest.Row(y) + left;
    if (y - top >= th) {  // the row one tile height above has the same pixels
      std::memcpy(d, dest.Row(y - th) + left, std::size_t(n) * px);
      continue;
    }
    const Bgr* src = tile.Row(((y - rect.Top) % th + th) % th);
    const int first = std::min(tw - phase, n);
    std::memcpy(d, src + phase, std::size_t(first) * px);
    int done = first;
    if (done < n) {
      const int whole = std::min(tw, n - done);
      std::memcpy(d + done, src, std::size_t(whole) * px);
      done += whole;
    }
    // d[first, done) now holds whole tiles: keep doubling them.
    while (done < n) {
      const int k = std::min(done - first, n - done);
      std::memcpy(d + done, d + first, std::size_t(k) * px);
      done += k;
    }
  }
}

}  // namespace kestu
