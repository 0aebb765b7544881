#pragma once
// The arithmetic of skinned menus: what kind of item a caption makes, the
// item height that belongs to a text height, and the outline of the check
// mark drawn in a glyph box.

#include "base/PixRect.h"

#include <array>
#include <string_view>

namespace kestu {

enum TsMenuItemType { smCaption, smDivider, smNormal, smTopLine };

// "-" is a divider; a caption with a dash at both ends is a caption item;
// anything else is a normal item (smTopLine is never the answer).
TsMenuItemType MenuItemTypeOf(std::wstring_view caption);

// round(1.25 x textHeight), halves to the even neighbour.
int ScaledTextHeight(int textHeight);

// The six corners of the filled check mark in a glyph box (right and bottom
// exclusive): the box shrunk on every side by an eighth of its width, its
// left and top one pixel further in, the stroke a quarter of what is left high.
std::array<PixPoint, 6> CheckMarkPolygon(PixRect box);

}  // namespace kestu
