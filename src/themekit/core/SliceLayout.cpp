#include "themekit/core/SliceLayout.h"

#include <algorithm>
#include <cstdlib>

namespace kestu {

PixRect SplitStateImageSlice(int W, int H, int count, int which) {
  if (W < 0 || H < 0 || count < 1 || which < 1 || which > count) return {};
  const int sliceWidth = W / count;
  return {sliceWidth * (which - 1), 0, which * sliceWidth, H};
}

const SlicePiece* SlicePlan::Find(SlicePart part) const {
  for (const SlicePiece& piece : *this)
    if (piece.Part == part) return &piece;
  return nullptr;
}

namespace {

bool IsEmpty(const PixRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

PixRect Intersect(const PixRect& a, const PixRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
}

// Corner piece size along one axis: pw = max(0, min(source, area)).
int CornerSize(int sourceSize, int areaSize) { return std::max(0, std::min(sourceSize, areaSize)); }

bool InRange(int v) { return std::abs(v) <= kSliceMaxCoordinate; }

class PlanBuilder {
 public:
  PlanBuilder(int W, int H, bool transparentCorners)
      : bitmap_{0, 0, W, H}, transparentCorners_(transparentCorners) {}

  void Corner(SlicePart part, const PixRect& source, const PixRect& dest) {
    Add(part, source, dest, false, transparentCorners_);
  }
  void Stretch(SlicePart part, const PixRect& source, const PixRect& dest) { Add(part, source, dest, true, true); }

  SlicePlan plan;

 private:
  // A piece with no target (a zero-sized work bitmap) is skipped, and so is
  // one whose source lies outside the bitmap: the edges of bitmaps one pixel
  // wide or high would otherwise read past them, and an empty source (the
  // centre and left edge of an even-height bitmap) has nothing to stretch.
  void Add(SlicePart part, const PixRect& source, const PixRect& dest, bool stretched, bool transparent) {
    const PixRect inside = Intersect(source, bitmap_);
    if (IsEmpty(dest) || IsEmpty(inside)) return;
    plan.Pieces[plan.Count++] = {part, inside, dest, stretched, transparent};
  }

  PixRect bitmap_;
  bool transparentCorners_;
};

}  // namespace

SlicePlan PlanSlicedBitmap(int W, int H, const PixRect& dest, bool transparentCorners) {
  if (W < 0 || H < 0 || W > kSliceMaxCoordinate || H > kSliceMaxCoordinate || !InRange(dest.Left) ||
      !InRange(dest.Top) || !InRange(dest.Right) || !InRange(dest.Bottom))
    return {};

  PlanBuilder builder(W, H, transparentCorners);
  SlicePlan& plan = builder.plan;
  const int R = dest.Right;
  const int B = dest.Bottom;
  const int w = R - dest.Left;
  const int h = B - dest.Top;

  {  // 1. Top-left corner, kept from the top-left, drawn at (0, 0).
    const PixRect source{0, 0, W / 2, H / 2};
    const PixRect area{0, 0, w / 2, h / 2};
    const int pw = CornerSize(source.Width(), area.Width());
    const int ph = CornerSize(source.Height(), area.Height());
    plan.TL = {0, 0, pw, ph};
    builder.Corner(SlicePart::TopLeft, {source.Left, source.Top, source.Left + pw, source.Top + ph}, plan.TL);
  }
  {  // 2. Bottom-left corner, kept from the bottom-left, drawn at (0, B - ph).
    const PixRect source{0, H - H / 2 + 1, W / 2, H};
    const PixRect area{0, h - h / 2 + 1, w / 2, h};
    const int pw = CornerSize(source.Width(), area.Width());
    const int ph = CornerSize(source.Height(), area.Height());
    plan.BL = {0, B - ph, pw, B};
    builder.Corner(SlicePart::BottomLeft, {source.Left, source.Bottom - ph, source.Left + pw, source.Bottom},
                   plan.BL);
  }
  {  // 3. Left edge; a source wider than the target gives only its left part.
    PixRect source{0, H / 2, W / 2, H - H / 2};
    const PixRect target{0, plan.TL.Bottom, plan.TL.Right, plan.BL.Top};
    if (source.Width() > target.Width()) source.Right = source.Left + target.Width();
    builder.Stretch(SlicePart::LeftEdge, source, target);
  }
  {  // 4. Top-right corner, kept from the top-right, drawn at (R - pw, 0).
    const PixRect source{W - W / 2 + 1, 0, W, H / 2};
    const PixRect area{w - w / 2 + 1, 0, w, h / 2};
    const int pw = CornerSize(source.Width(), area.Width());
    const int ph = CornerSize(source.Height(), area.Height());
    plan.TR = {R - pw, 0, R, ph};
    builder.Corner(SlicePart::TopRight, {source.Right - pw, source.Top, source.Right, source.Top + ph}, plan.TR);
  }
  {  // 5. Bottom-right corner, kept from the bottom-right, drawn at (R - pw, B - ph).
    const PixRect source{W - W / 2 + 1, H - H / 2 + 1, W, H};
    const PixRect area{w - w / 2 + 1, h - h / 2 + 1, w, h};
    const int pw = CornerSize(source.Width(), area.Width());
    const int ph = CornerSize(source.Height(), area.Height());
    plan.BR = {R - pw, B - ph, R, B};
    builder.Corner(SlicePart::BottomRight, {source.Right - pw, source.Bottom - ph, source.Right, source.Bottom},
                   plan.BR);
  }
  {  // 6. Right edge; a source wider than the target gives only its right part.
    PixRect source{W - W / 2 + 1, H - H / 2, W, H / 2 + 2};
    const PixRect target{plan.TR.Left, plan.TR.Bottom, plan.TR.Right, plan.BR.Top};
    if (source.Width() > target.Width()) source.Left = source.Right - target.Width();
    builder.Stretch(SlicePart::RightEdge, source, target);
  }
  {  // 7. Top edge; a source taller than the target gives only its top part.
    PixRect source{W / 2, 0, W - W / 2 + 1, H / 2};
    const PixRect target{plan.TL.Right, 0, plan.TR.Left, plan.TL.Bottom};
    if (source.Height() > target.Height()) source.Bottom = source.Top + target.Height();
    builder.Stretch(SlicePart::TopEdge, source, target);
  }
  {  // 8. Centre.
    const PixRect source{W / 2, H / 2, W - W / 2 + 1, H - H / 2};
    const PixRect target{plan.TL.Right, plan.TL.Bottom, plan.TR.Left, plan.BR.Top - 1};
    builder.Stretch(SlicePart::Centre, source, target);
  }
  {  // 9. Bottom edge; a source taller than the target gives only its bottom part.
    PixRect source{W / 2, H - H / 2, W - W / 2 + 1, H};
    const PixRect target{plan.TL.Right - 1, plan.BL.Top - 1, plan.BR.Left, plan.BR.Bottom};
    if (source.Height() > target.Height()) source.Top = source.Bottom - target.Height();
    builder.Stretch(SlicePart::BottomEdge, source, target);
  }
  return plan;
}

}  // namespace kestu
