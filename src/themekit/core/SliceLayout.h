#pragma once
// Rectangle arithmetic of the toolkit's bitmap helpers, kept apart from GDI:
// the slice of a state-image strip (SplitStateImage) and the nine-piece plan
// of the sliced drawing (DrawSlicedBitmap). The Windows side only executes
// what these return.

#include "base/PixRect.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace kestu {

// Image number `which` (1-based) of `count` equal-width images in a strip of
// W x H pixels: slice width sw = W div count, rectangle
// (sw * (which - 1), 0, sw * which, H); the destination takes its size.
// Leftover columns at the right are never used. A count below 1, a `which`
// outside 1..count or a negative size gives the empty rectangle (0, 0, 0, 0).
PixRect SplitStateImageSlice(int W, int H, int count, int which);

enum class SlicePart : std::uint8_t {
  TopLeft,
  BottomLeft,
  LeftEdge,
  TopRight,
  BottomRight,
  RightEdge,
  TopEdge,
  Centre,
  BottomEdge,
};

// One piece of a sliced drawing, in drawing order.
//   Corner: Source and Dest have the same size; copied 1:1, keyed on magenta
//           $00FF00FF when Transparent (the transparentCorners argument).
//   Edges and centre: Source stretched to Dest's size in a work bitmap, then
//           drawn with magenta as the transparent colour (Transparent is
//           always true).
struct SlicePiece {
  SlicePart Part = SlicePart::TopLeft;
  PixRect Source;  // in the bitmap, never outside (0, 0, W, H), never empty
  PixRect Dest;    // on the canvas, never empty
  bool Stretched = false;
  bool Transparent = false;
  friend bool operator==(const SlicePiece&, const SlicePiece&) = default;
};

struct SlicePlan {
  // Pieces to draw, in order; pieces with nothing to draw are left out.
  std::array<SlicePiece, 9> Pieces{};
  std::size_t Count = 0;
  // Where the four corners ended up. A corner whose piece is empty still has
  // its rectangle from the same formula, zero wide or high at its place:
  // the neighbouring edges then reach into that corner.
  PixRect TL, BL, TR, BR;

  const SlicePiece* begin() const { return Pieces.data(); }
  const SlicePiece* end() const { return Pieces.data() + Count; }
  // The piece drawn for a part, or nullptr when it was left out.
  const SlicePiece* Find(SlicePart part) const;
};

// Largest bitmap size or destination coordinate PlanSlicedBitmap accepts;
// beyond it (or for a negative bitmap size) the plan is empty.
inline constexpr int kSliceMaxCoordinate = 1 << 28;

// The nine pieces that stretch a W x H bitmap over dest = (L, T, R, B).
// w = R - L, h = B - T; the corners are placed from 0 and from R and B.
SlicePlan PlanSlicedBitmap(int W, int H, const PixRect& dest, bool transparentCorners);

}  // namespace kestu
