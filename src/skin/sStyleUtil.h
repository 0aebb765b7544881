#pragma once
// Composition of a control's own background (colour, gradient, tiled image)
// and its mix with the parent's background, on plain 24-bit rows.

#include "base/PixelRows.h"
#include "skin/core/Gradient.h"
#include "skin/core/PixelLib.h"

#include <cstdint>

namespace kestu {

// The effective values one composition reads (normal or hot).
struct OwnBackground {
  int ImagePercent = 0;     // I
  int GradientPercent = 0;  // G
  std::uint32_t Color = 0;  // C, resolved
  int Transparency = 0;     // T
  PixelRows Image;          // the tiled image, empty when there is none
  const TsGradArray* Gradient = nullptr;
  std::uint32_t ParentColor = 0;  // the parent control's colour, resolved
  bool Hot = false;               // the hot composition of an active style
};

// Own background into rect (0, 0, width, height) of target.
void PaintOwnBG(PixelRows target, const OwnBackground& bg);

// Own background mixed with the parent's pixels: T = 0 or no parent cache
// paints the own background; 0 < T < 100 mixes the parent's pixels under the
// control in with factor (100 - T) x 255 div 100; T >= 100 shows only the
// parent. position is the control's place in its parent.
void ComposeBackground(PixelRows target, const OwnBackground& bg, const ParentCacheRef& parent, PixPoint position);

}  // namespace kestu
