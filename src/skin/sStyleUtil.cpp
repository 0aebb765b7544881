#include "skin/sStyleUtil.h"

#include "skin/core/PixelFill.h"

#include <algorithm>

namespace kestu {

void PaintOwnBG(PixelRows target, const OwnBackground& bg) {
  if (target.Empty()) return;
  const PixRect all{0, 0, target.width, target.height};
  const int I = bg.ImagePercent, G = bg.GradientPercent, T = bg.Transparency;
  const std::uint32_t C = bg.Color;
  auto fill = [&](PixelRows rows, std::uint32_t colour) { FillSolid(rows, all, BgrFromColor(colour)); };
  auto gradientOrColour = [&](PixelRows rows) {
    if (bg.Gradient && !bg.Gradient->empty()) PaintGradient(rows, all, *bg.Gradient);
    else fill(rows, C);
  };

  bool painted = false;
  if (I > 0) {
    if (!bg.Image.Empty()) {
      TileImage(target, all, bg.Image);
      painted = true;
    } else if (!bg.Hot) {
      fill(target, C);
    }
  }
  if (G > 0) {
    if (painted) {
      PixelBuffer second(target.width, target.height);
      gradientOrColour(second.Rows());
      const int factor = bg.Hot ? I * 255 / 100 : std::min(I * 256 / 100, 255);
      BlendBitmaps(target, second.Rows(), factor);
    } else {
      gradientOrColour(target);
    }
  }
  const int s = I + G;
  if (s >= 1 && s <= 99) {
    BlendRectWithColor(target, {0, 0, target.width - 1, target.height - 1}, s, C);
  } else if (s == 0 || s > 100) {
    fill(target, T < 1 ? C : bg.ParentColor);
  }
}

void ComposeBackground(PixelRows target, const OwnBackground& bg, const ParentCacheRef& parent, PixPoint position) {
  if (target.Empty()) return;
  const int T = bg.Transparency;
  const PixRect under{parent.X + position.X, parent.Y + position.Y, parent.X + position.X + target.width,
                      parent.Y + position.Y + target.height};
  if (!parent.Ready() || T <= 0) {
    PaintOwnBG(target, bg);
  } else if (T < 100) {
    PaintOwnBG(target, bg);
    PixelBuffer scratch(target.width, target.height);
    CopyRect(scratch.Rows(), 0, 0, parent.Bitmap, under);
    BlendBitmaps(target, scratch.Rows(), (100 - T) * 255 / 100);
  } else {
    // Above 100 (possible in a skin file) counts as fully see-through.
    CopyRect(target, 0, 0, parent.Bitmap, under);
  }
}

}  // namespace kestu
