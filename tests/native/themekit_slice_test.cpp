#include "themekit/core/SliceLayout.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace kestu {

std::ostream& operator<<(std::ostream& os, const PixRect& r) {
  return os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

namespace {

using P = SlicePart;

TEST(ThemekitSlice, StateImageSlicesDropLeftoverColumns) {
  // A 378-pixel title-button strip in 18 images.
  EXPECT_EQ(SplitStateImageSlice(378, 21, 18, 18), (PixRect{357, 0, 378, 21}));
  // 100 / 3 = 33: the three images cover columns 0-98, column 99 is unused.
  EXPECT_EQ(SplitStateImageSlice(100, 5, 3, 1), (PixRect{0, 0, 33, 5}));
  EXPECT_EQ(SplitStateImageSlice(100, 5, 3, 3), (PixRect{66, 0, 99, 5}));
  // Fewer columns than images: every slice is zero wide.
  EXPECT_EQ(SplitStateImageSlice(2, 7, 3, 3), (PixRect{0, 0, 0, 7}));
  // No image 0 or 19 of 18, and no division by a count below 1.
  EXPECT_EQ(SplitStateImageSlice(378, 21, 18, 0), PixRect{});
  EXPECT_EQ(SplitStateImageSlice(378, 21, 18, 19), PixRect{});
  EXPECT_EQ(SplitStateImageSlice(378, 21, 0, 1), PixRect{});
}

struct Expected {
  P part;
  PixRect source;
  PixRect dest;
};

void ExpectPlan(const SlicePlan& plan, const std::vector<Expected>& expected, bool transparentCorners) {
  ASSERT_EQ(plan.Count, expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const SlicePiece& piece = plan.Pieces[i];
    SCOPED_TRACE(testing::Message() << "piece " << i);
    EXPECT_EQ(piece.Part, expected[i].part);
    EXPECT_EQ(piece.Source, expected[i].source);
    EXPECT_EQ(piece.Dest, expected[i].dest);
    const bool corner = piece.Part == P::TopLeft || piece.Part == P::BottomLeft || piece.Part == P::TopRight ||
                        piece.Part == P::BottomRight;
    EXPECT_EQ(piece.Stretched, !corner);
    EXPECT_EQ(piece.Transparent, corner ? transparentCorners : true);
  }
}

// An 84 x 23 button image (odd height) on a 75 x 25 button: every piece is
// drawn, the far corners start one pixel in, the bottom edge reaches one
// pixel left of and above its neighbours, wide sources are cut to the part
// their side names.
TEST(ThemekitSlice, OddImageOnOddButtonKeepsEveryOffset) {
  const SlicePlan plan = PlanSlicedBitmap(84, 23, {0, 0, 75, 25}, true);
  ExpectPlan(plan,
             {
                 {P::TopLeft, {0, 0, 37, 11}, {0, 0, 37, 11}},
                 {P::BottomLeft, {0, 13, 37, 23}, {0, 15, 37, 25}},
                 {P::LeftEdge, {0, 11, 37, 12}, {0, 11, 37, 15}},
                 {P::TopRight, {48, 0, 84, 11}, {39, 0, 75, 11}},
                 {P::BottomRight, {48, 13, 84, 23}, {39, 15, 75, 25}},
                 {P::RightEdge, {48, 12, 84, 13}, {39, 11, 75, 15}},
                 {P::TopEdge, {42, 0, 43, 11}, {37, 0, 39, 11}},
                 {P::Centre, {42, 11, 43, 12}, {37, 11, 39, 14}},
                 {P::BottomEdge, {42, 12, 43, 23}, {36, 14, 39, 25}},
             },
             true);
  EXPECT_EQ(plan.TL, (PixRect{0, 0, 37, 11}));
  EXPECT_EQ(plan.BR, (PixRect{39, 15, 75, 25}));
}

// An even height leaves the left edge and the centre without a source row;
// they are skipped, and the right edge takes its two rows.
TEST(ThemekitSlice, EvenImageSkipsPiecesWithoutSource) {
  const SlicePlan plan = PlanSlicedBitmap(18, 20, {0, 0, 40, 30}, false);
  ExpectPlan(plan,
             {
                 {P::TopLeft, {0, 0, 9, 10}, {0, 0, 9, 10}},
                 {P::BottomLeft, {0, 11, 9, 20}, {0, 21, 9, 30}},
                 {P::TopRight, {10, 0, 18, 10}, {32, 0, 40, 10}},
                 {P::BottomRight, {10, 11, 18, 20}, {32, 21, 40, 30}},
                 {P::RightEdge, {10, 10, 18, 12}, {32, 10, 40, 21}},
                 {P::TopEdge, {9, 0, 10, 10}, {9, 0, 32, 10}},
                 {P::BottomEdge, {9, 10, 10, 20}, {8, 20, 32, 30}},
             },
             false);
}

// A one-pixel button has no corners; the empty corners sit at their places
// and the bottom edge alone draws, from the bottom row of its source.
TEST(ThemekitSlice, TinyDestinationDrawsOnlyTheBottomEdge) {
  const SlicePlan plan = PlanSlicedBitmap(84, 23, {0, 0, 1, 1}, true);
  ExpectPlan(plan, {{P::BottomEdge, {42, 22, 43, 23}, {-1, 0, 1, 1}}}, true);
  EXPECT_EQ(plan.TL, (PixRect{0, 0, 0, 0}));
  EXPECT_EQ(plan.BL, (PixRect{0, 1, 0, 1}));
  EXPECT_EQ(plan.TR, (PixRect{1, 0, 1, 0}));
  EXPECT_EQ(plan.BR, (PixRect{1, 1, 1, 1}));

  // Narrow: the right corners are empty and the top edge reaches to R.
  const SlicePlan narrow = PlanSlicedBitmap(84, 23, {0, 0, 3, 40}, false);
  ASSERT_NE(narrow.Find(P::TopEdge), nullptr);
  EXPECT_EQ(narrow.Find(P::TopEdge)->Dest, (PixRect{1, 0, 3, 11}));
}

// Sources of bitmaps one pixel wide or high would reach past the bitmap
// (the far pieces start at W - W div 2 + 1); they are clipped to it.
TEST(ThemekitSlice, SourcesStayInsideTinyBitmaps) {
  const SlicePlan plan = PlanSlicedBitmap(1, 23, {0, 0, 10, 10}, false);
  ExpectPlan(plan,
             {
                 {P::TopEdge, {0, 0, 1, 5}, {0, 0, 10, 5}},
                 {P::BottomEdge, {0, 18, 1, 23}, {-1, 5, 10, 10}},
             },
             false);

  for (int W = 0; W <= 5; ++W)
    for (int H = 0; H <= 5; ++H)
      for (int w = -1; w <= 6; ++w)
        for (int h = -1; h <= 6; ++h) {
          const SlicePlan p = PlanSlicedBitmap(W, H, {0, 0, w, h}, true);
          for (const SlicePiece& piece : p) {
            SCOPED_TRACE(testing::Message() << W << "x" << H << " on " << w << "x" << h);
            EXPECT_GE(piece.Source.Left, 0);
            EXPECT_GE(piece.Source.Top, 0);
            EXPECT_LE(piece.Source.Right, W);
            EXPECT_LE(piece.Source.Bottom, H);
            EXPECT_GT(piece.Source.Width(), 0);
            EXPECT_GT(piece.Source.Height(), 0);
            EXPECT_GT(piece.Dest.Width(), 0);
            EXPECT_GT(piece.Dest.Height(), 0);
            if (!piece.Stretched) {
              EXPECT_EQ(piece.Source.Width(), piece.Dest.Width());
              EXPECT_EQ(piece.Source.Height(), piece.Dest.Height());
            }
          }
        }
}

TEST(ThemekitSlice, OutOfRangeInputGivesAnEmptyPlan) {
  EXPECT_EQ(PlanSlicedBitmap(-1, 10, {0, 0, 10, 10}, false).Count, 0u);
  EXPECT_EQ(PlanSlicedBitmap(10, 10, {-0x7FFFFFFF, 0, 0x7FFFFFFF, 10}, false).Count, 0u);
}

}  // namespace
}  // namespace kestu
