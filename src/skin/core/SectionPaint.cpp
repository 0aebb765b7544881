#include "skin/core/SectionPaint.h"

#include "skin/core/Gradient.h"
#include "skin/core/PixelFill.h"

#include <algorithm>
#include <cstdint>

namespace kestu {

namespace {

std::uint32_t FactorColour(std::int64_t byte) {
  std::uint32_t b = std::uint32_t(byte) & 0xFF;
  return b | b << 8 | b << 16;
}

// The composer: tiled image, gradient and colour mixed by their shares.
void Compose(const TsSkinData& skin, int sectionIndex, std::string_view sectionName, const TsGeneralData& s,
             PixelRows target, PixRect r, bool hot) {
  // Shares from a description file may be any 32-bit number; their sum and
  // products are taken in 64 bits.
  const std::int64_t I = hot ? s.HotImagePercent : s.ImagePercent;
  const std::int64_t G = hot ? s.HotGradientPercent : s.GradientPercent;
  const std::uint32_t C = hot ? s.HotPaintingColor : s.PaintingColor;
  const TsGradArray& gradient = hot ? s.HotGradient : s.Gradient;
  const Bgr colour = BgrFromColor(C);
  const int W = r.Width(), H = r.Height();

  bool painted = false;
  if (I > 0) {
    const char* property = hot ? "HOTIMAGEFILE" : "IMAGEFILE";
    int maskIndex = skin.FindMaskIndex(sectionIndex, sectionName, property);
    int patternIndex = maskIndex < 0 ? skin.FindPatternIndex(sectionIndex, sectionName, property) : -1;
    PixelRows tile = maskIndex >= 0    ? skin.TileOf(maskIndex)
                     : patternIndex >= 0 ? const_cast<PixelBuffer&>(skin.pa[std::size_t(patternIndex)].Image).Rows()
                                         : PixelRows{};
    if (!tile.Empty()) {
      TileImage(target, r, tile);
      painted = true;
    } else {
      FillSolid(target, r, colour);
    }
  }
  if (G > 0) {
    if (painted) {
      PixelBuffer scratch(W, H);
      if (gradient.empty())
        FillSolid(scratch.Rows(), {0, 0, W, H}, colour);
      else
        PaintGradient(scratch.Rows(), {0, 0, W, H}, gradient);
      BlendBitmapRect(target, scratch.Rows(), FactorColour(I * 256 / 100), {r.Left, r.Top}, {0, 0, W, H});
    } else if (gradient.empty()) {
      FillSolid(target, r, colour);
    } else {
      PaintGradient(target, r, gradient);
    }
  }
  const std::int64_t sum = I + G;
  if (sum >= 1 && sum <= 99)
    BlendRectWithColor(target, {r.Left, r.Top, r.Right - 1, r.Bottom - 1}, int(sum), C);
  else if (sum != 100)
    FillSolid(target, r, colour);
}

void CopyParentBackground(const ParentCacheRef& parent, PixelRows bitmap, PixPoint offset, PixRect rect) {
  if (parent.Bitmap.bits == bitmap.bits) return;  // the target is the parent's own bitmap
  CopyRect(bitmap, rect.Left, rect.Top, parent.Bitmap,
           {parent.X + offset.X + rect.Left, parent.Y + offset.Y + rect.Top, parent.X + offset.X + rect.Right,
            parent.Y + offset.Y + rect.Bottom});
}

}  // namespace

void PaintSectionBackground(const TsSkinData& skin, int sectionIndex, std::string_view sectionName,
                            const ParentCacheRef& parent, PixelRows bitmap, PixPoint offset, PixRect rect, bool hot) {
  if (!skin.IsValidSection(sectionIndex) || bitmap.Empty()) return;
  // Nothing outside the bitmap is painted, and no scratch bitmap is larger.
  rect.Left = std::max(rect.Left, 0);
  rect.Top = std::max(rect.Top, 0);
  rect.Right = std::min(rect.Right, bitmap.width);
  rect.Bottom = std::min(rect.Bottom, bitmap.height);
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  const TsGeneralData& s = skin.gd[std::size_t(sectionIndex)];
  const std::int64_t t = hot ? s.HotPaintingTransparency : s.PaintingTransparency;
  if (!parent.Ready() || t <= 0) return Compose(skin, sectionIndex, sectionName, s, bitmap, rect, hot);
  if (t >= 100) return CopyParentBackground(parent, bitmap, offset, rect);  // fully see-through
  const int W = rect.Width(), H = rect.Height();
  PixelBuffer scratch(W, H);
  Compose(skin, sectionIndex, sectionName, s, scratch.Rows(), {0, 0, W, H}, hot);
  CopyParentBackground(parent, bitmap, offset, rect);
  BlendBitmapRect(bitmap, scratch.Rows(), FactorColour(t * 255 / 100), {rect.Left, rect.Top}, {0, 0, W, H});
}

void PaintSectionItem(const TsSkinData& skin, int sectionIndex, std::string_view sectionName,
                      const ParentCacheRef& parent, PixelRows bitmap, PixPoint offset, PixRect rect, bool hot,
                      bool fillCentre) {
  PaintSectionItemInState(skin, sectionIndex, sectionName, parent, bitmap, offset, rect, hot ? 1 : 0, fillCentre);
}

void PaintSectionItemInState(const TsSkinData& skin, int sectionIndex, std::string_view sectionName,
                             const ParentCacheRef& parent, PixelRows bitmap, PixPoint offset, PixRect rect, int state,
                             bool fillCentre) {
  if (!skin.IsValidSection(sectionIndex) || rect.Left < 0 || rect.Top < 0 || rect.Right > bitmap.width ||
      rect.Bottom > bitmap.height)
    return;
  PaintSectionBackground(skin, sectionIndex, sectionName, parent, bitmap, offset, rect, state != 0);
  int borders = skin.FindMaskIndex(sectionIndex, sectionName, "BORDERSMASK");
  if (!skin.IsValidMask(borders)) return;
  PaintSkinBorders(bitmap, rect, fillCentre, state, skin.MaskImageOf(borders), parent.Shifted(offset.X, offset.Y));
}

}  // namespace kestu
