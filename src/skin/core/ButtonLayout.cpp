#include "skin/core/ButtonLayout.h"

#include <algorithm>

namespace kestu {

int EffectiveSpacing(int spacing, bool hasGlyph, bool hasCaption) { return hasGlyph && hasCaption ? spacing : 0; }

int CaptionMeasureWidth(int W, int GW, int margin, int S) { return W - GW - 2 * margin - S; }

ButtonContentLayout LayoutButtonContent(const ButtonContentInput& in) {
  const int W = in.W, H = in.H, GW = in.GW, GH = in.GH, TW = in.TW, TH = in.TH, S = in.S, M = in.Margin;
  ButtonContentLayout out;
  const int d = (W - GW - S - TW) / 2 - M;
  const int e = (H - GH - S - TH) / 2 - M;
  out.d = d;
  out.e = e;
  PixRect& c = out.Caption;
  PixPoint& g = out.Glyph;
  switch (in.Layout) {
    case glGlyphRight:
      c.Top = (H - TH) / 2;
      c.Bottom = H - c.Top;
      switch (in.Alignment) {
        case 0: c.Left = M; g.X = W - M - 2 * d - S - GW; break;
        case 1: c.Left = 2 * d + M; g.X = W - GW - M; break;
        default: c.Left = M + d; g.X = (TW + W + S - GW) / 2; break;
      }
      c.Right = c.Left + TW;
      g.Y = (H - GH) / 2;
      out.TextFormat = tfRight;
      break;
    case glGlyphTop:
      g.X = (W - GW) / 2;
      g.Y = M + e;
      c.Left = (W - TW) / 2;
      c.Right = W - c.Left;
      c.Top = g.Y + GH + S;
      c.Bottom = c.Top + TH;
      out.TextFormat = tfCentre;
      break;
    case glGlyphBottom:
      g.X = (W - GW) / 2;
      g.Y = H - M - e - GH;
      c.Left = (W - TW) / 2;
      c.Right = W - c.Left;
      c.Bottom = g.Y - S;
      c.Top = c.Bottom - TH;
      out.TextFormat = tfCentre;
      break;
    default:  // glyph left
      c.Top = (H - TH) / 2;
      c.Bottom = H - c.Top;
      switch (in.Alignment) {
        case 0: c.Left = GW + M + S; c.Right = W - M - 2 * d; g.X = M; break;
        case 1: c.Left = GW + 2 * d + M + S; c.Right = W - M; g.X = M + 2 * d; break;
        default: c.Left = GW + M + d + S; c.Right = W - M - d; g.X = M + d; break;
      }
      g.Y = (H - GH) / 2;
      out.TextFormat = tfLeft;
      break;
  }
  c = {c.Left - 1, c.Top, c.Right + 2, c.Bottom};
  if (in.Down) {
    c = {c.Left + 1, c.Top + 1, c.Right + 1, c.Bottom + 1};
    g = {g.X + 1, g.Y + 1};
  }
  return out;
}

PixPoint ButtonAutoSize(const ButtonAutoSizeInput& in) {
  const int GW = in.GW + 2 * in.BevelWidth, GH = in.GH + 2 * in.BevelWidth, M = in.Margin;
  if (!in.HasCaption) return {GW + 2 * M, GH + 2 * M};
  if (in.Layout == glGlyphTop || in.Layout == glGlyphBottom)
    return {std::max(GW, in.TW) + 2 * M, in.S + GH + in.charH + 2 * M};
  return {GW + in.S + in.TW + 2 * M, std::max(GH, in.charH) + 2 * M};
}

}  // namespace kestu
