#include "skin/core/Gradient.h"

#include "base/TextUtil.h"

#include <gtest/gtest.h>

namespace kestu {
namespace {

constexpr Bgr kUnpainted{1, 2, 3};

PixelBuffer Canvas(int w, int h) {
  PixelBuffer b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.At(x, y) = kUnpainted;
  return b;
}

Bgr Grey(int v) { return Bgr{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)}; }

TEST(ParseGradient, GroupsOfFiveBecomeStopsAndIncompleteGroupsAreDropped) {
  TsGradArray g = ParseGradient("8421504;16777215;99;0;0;16777215;16777215");
  ASSERT_EQ(g.size(), 1u);
  EXPECT_EQ(g[0], (TsGradColor{8421504, 16777215, 99, 0}));
  EXPECT_TRUE(ParseGradient("").empty());
  // Empty fields are not numbers; the fifth number is never read.
  g = ParseGradient(";;1;;2;300;1;junk;4;5;6;7;x");
  ASSERT_EQ(g.size(), 2u);
  EXPECT_EQ(g[0], (TsGradColor{1, 2, 300 & 0xFF, 1}));
  EXPECT_EQ(g[1], (TsGradColor{4, 5, 6, 7}));
}

TEST(ParseGradient, MalformedNumberRaisesConversionError) {
  EXPECT_THROW(ParseGradient("1;2;3x;0;0"), ConvertError);
  EXPECT_THROW(ParseGradient("1;99999999999;3;0;0"), ConvertError);
}

TEST(PaintGradient, ThreeBandButtonGradientFollowsTheBandArithmetic) {
  // Band 3 is red here so that painting it would show.
  TsGradArray g = ParseGradient("16777215;14211288;75;0;0;14211288;16777215;24;0;0;255;255;0;0;0");
  PixelBuffer b = Canvas(4, 25);
  PaintGradient(b.Rows(), {0, 0, 4, 25}, g);
  EXPECT_EQ(b.At(0, 0), Grey(255));
  EXPECT_EQ(b.At(3, 1), Grey(253));   // 255 - 39/18 rounds to 253
  EXPECT_EQ(b.At(0, 17), Grey(218));  // 255 - 17 x 39/18 = 218.17
  EXPECT_EQ(b.At(0, 18), Grey(216));  // band 2 starts on band 1's last row
  EXPECT_EQ(b.At(0, 19), Grey(222));  // 216 + 6.5: the tie goes to the even 222
  EXPECT_EQ(b.At(0, 20), Grey(229));
  EXPECT_EQ(b.At(2, 24), Grey(255));  // band 3 would start on the last row: not painted
}

TEST(PaintGradient, LastBandReachesTheEdgeWhateverThePercentages) {
  TsGradArray g = ParseGradient("0;0;10;0;0;255;255;10;0;0");
  PixelBuffer b = Canvas(3, 100);
  PaintGradient(b.Rows(), {0, 0, 3, 100}, g);
  EXPECT_EQ(b.At(0, 9), Grey(0));
  EXPECT_EQ(b.At(0, 10), BgrFromColor(255));  // band 2 (red) from row 10 ...
  EXPECT_EQ(b.At(0, 99), BgrFromColor(255));  // ... to the bottom
  // Horizontal: the last band runs to the bitmap's right edge even beyond
  // the rectangle, on the rectangle's rows only.
  g = ParseGradient("0;0;10;1;0;255;255;10;0;0");
  b = Canvas(20, 4);
  PaintGradient(b.Rows(), {2, 1, 12, 3}, g);
  EXPECT_EQ(b.At(1, 1), kUnpainted);
  EXPECT_EQ(b.At(2, 1), Grey(0));
  EXPECT_EQ(b.At(3, 2), BgrFromColor(255));
  EXPECT_EQ(b.At(19, 2), BgrFromColor(255));
  EXPECT_EQ(b.At(19, 0), kUnpainted);
  EXPECT_EQ(b.At(19, 3), kUnpainted);
}

TEST(PaintGradient, BandsAreCutAtTheRectangleAndTheBitmap) {
  // A vertical band that would end below the bitmap stops at the rectangle's
  // last row; the rectangle is clipped to the bitmap on all sides.
  TsGradArray g = ParseGradient("0;16777215;100;0;0;255;255;50;0;0");
  PixelBuffer b = Canvas(6, 10);
  PaintGradient(b.Rows(), {-3, 4, 4, 40}, g);
  EXPECT_EQ(b.At(0, 3), kUnpainted);
  EXPECT_EQ(b.At(0, 4), Grey(0));
  EXPECT_EQ(b.At(3, 9), Grey(255));  // band 1 ends on row 9 after 5 steps
  EXPECT_EQ(b.At(4, 9), kUnpainted);  // columns end at Left + W = 4
  // Percentages above 100 in a horizontal gradient stay inside the row.
  g = ParseGradient("0;16777215;250;1;0;0;0;250;1;0;255;255;250;1;0");
  b = Canvas(7, 2);
  PaintGradient(b.Rows(), {0, 0, 7, 2}, g);
  EXPECT_EQ(b.At(6, 1), Grey(90));  // band 1 spans 17 steps: 6 x 255 / 17 = 90
}

TEST(PaintGradient, NothingIsPaintedForOtherDirectionsEmptyArraysOrEmptyRects) {
  PixelBuffer b = Canvas(5, 5);
  PaintGradient(b.Rows(), {0, 0, 5, 5}, ParseGradient("0;0;50;2;0;0;0;50;0;0"));
  PaintGradient(b.Rows(), {0, 0, 5, 5}, {});
  PaintGradient(b.Rows(), {0, 3, 5, 3}, ParseGradient("0;0;50;0;0"));
  PaintGradient(b.Rows(), {4, 0, 1, 5}, ParseGradient("0;0;50;1;0"));
  PaintGradient(b.Rows(), {0, 9, 5, 12}, ParseGradient("0;0;50;0;0"));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(b.At(x, y), kUnpainted) << x << "," << y;
}

}  // namespace
}  // namespace kestu
