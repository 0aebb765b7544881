#pragma once
// Painting a skin section: its background (colour, gradient, tiled image,
// transparency over the parent's background) and its nine-part borders.

#include "base/PixRect.h"
#include "base/PixelRows.h"
#include "skin/core/PixelLib.h"
#include "skin/core/SkinData.h"

#include <string_view>

namespace kestu {

// Background of section sectionIndex in rect (exclusive) of bitmap; offset
// is the bitmap's origin in the parent (parent pixel of bitmap pixel (x, y):
// (X + offset.X + x, Y + offset.Y + y)). An invalid section paints nothing.
void PaintSectionBackground(const TsSkinData& skin, int sectionIndex, std::string_view sectionName,
                            const ParentCacheRef& parent, PixelRows bitmap, PixPoint offset, PixRect rect, bool hot);

// Background plus the section's "BORDERSMASK" borders (state = hot). The
// rectangle must start at or after (0, 0) and fit in the bitmap.
void PaintSectionItem(const TsSkinData& skin, int sectionIndex, std::string_view sectionName,
                      const ParentCacheRef& parent, PixelRows bitmap, PixPoint offset, PixRect rect, bool hot,
                      bool fillCentre);
// The same for controls with a pressed look: borders in state 0, 1 or 2, the
// hot background for states above 0.
void PaintSectionItemInState(const TsSkinData& skin, int sectionIndex, std::string_view sectionName,
                             const ParentCacheRef& parent, PixelRows bitmap, PixPoint offset, PixRect rect, int state,
                             bool fillCentre);

}  // namespace kestu
