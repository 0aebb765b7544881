// Geometry of the skinned scroll bar: buttons, slider length and centre,
// parts under a point and the position under a point.
#include <gtest/gtest.h>

#include "skin/core/ScrollBarGeometry.h"

namespace kestu {
namespace {

TEST(ScrollQuotient, RoundsToNearestWithTiesToEvenForBothSigns) {
  EXPECT_EQ(RoundQuotient(7, 2), 4);
  EXPECT_EQ(RoundQuotient(5, 2), 2);
  EXPECT_EQ(RoundQuotient(-5, 2), -2);
  EXPECT_EQ(RoundQuotient(-7, 2), -4);
  EXPECT_EQ(RoundQuotient(10, 3), 3);
  EXPECT_EQ(RoundQuotient(-10, 3), -3);
  EXPECT_EQ(RoundQuotient(11, 3), 4);
}

TEST(ScrollGeometry, SliderIsFourteenPixelsWithoutPageAndNeverShorter) {
  // 200 long, arrows 17: track 166.
  EXPECT_EQ(MeasureScrollBar(200, 17, 0, {0, 100, 0, 0}, true).S, 14);
  EXPECT_EQ(MeasureScrollBar(200, 17, 0, {0, 100, 0, 1}, true).S, 14);  // 166 / 101 rounds to 2
  EXPECT_EQ(MeasureScrollBar(200, 17, 0, {0, 100, 0, 20}, true).S, 28);  // 3320 / 120 = 27.67
  EXPECT_EQ(MeasureScrollBar(200, 17, 0, {0, 0, 0, 50}, true).S, 166);  // the page is everything
}

TEST(ScrollGeometry, SliderCentreFollowsThePositionFromMinToMax) {
  const ScrollModel atMin{10, 110, 10, 0}, middle{10, 110, 60, 0}, atMax{10, 110, 110, 0};
  const ScrollBarGeometry a = MeasureScrollBar(200, 17, 0, atMin, true);
  EXPECT_EQ(a.C, 17 + 7);  // the slider touches the first button
  EXPECT_EQ(a.SliderStart(), 17);
  EXPECT_EQ(MeasureScrollBar(200, 17, 0, middle, true).C, 17 + 7 + 76);
  const ScrollBarGeometry z = MeasureScrollBar(200, 17, 0, atMax, true);
  EXPECT_EQ(z.SliderEnd(), 200 - 17);  // and at Max the second one
  EXPECT_EQ(MeasureScrollBar(200, 17, 0, middle, false).C, 100);  // disabled: half the length
  EXPECT_EQ(MeasureScrollBar(200, 17, 0, {5, 5, 5, 0}, true).C, 0);  // Max = Min
}

TEST(ScrollGeometry, ButtonsTakeTheArrowSizeAtMostHalfTheBarAndAtLeastOneMaskFrame) {
  ScrollBarGeometry g = MeasureScrollBar(200, 17, 0, {}, true);
  EXPECT_EQ(g.FirstEnd, 17);
  EXPECT_EQ(g.SecondStart, 183);
  g = MeasureScrollBar(200, 17, 24, {}, true);
  EXPECT_EQ(g.FirstEnd, 24);
  EXPECT_EQ(g.SecondStart, 176);
  g = MeasureScrollBar(25, 17, 0, {}, true);
  EXPECT_EQ(g.FirstEnd, 12);
  EXPECT_EQ(g.SecondStart, 12);
}

TEST(ScrollGeometry, ABarTooShortForButtonsAndSliderHasNoSliderToHit) {
  const ScrollBarGeometry g = MeasureScrollBar(46, 17, 0, {0, 100, 0, 0}, true);
  EXPECT_FALSE(g.SliderFits());
  for (int p = 17; p < 29; ++p) EXPECT_NE(PartAt(g, p), spSlider) << p;
  EXPECT_TRUE(MeasureScrollBar(48, 17, 0, {0, 100, 0, 0}, true).SliderFits());
}

TEST(ScrollGeometry, PartsUnderPointsAlongTheBar) {
  const ScrollModel m{0, 100, 50, 0};
  const ScrollBarGeometry g = MeasureScrollBar(200, 17, 0, m, true);
  ASSERT_EQ(g.C, 100);
  EXPECT_EQ(PartAt(g, 0), spFirstButton);
  EXPECT_EQ(PartAt(g, 16), spFirstButton);
  EXPECT_EQ(PartAt(g, 17), spTrackBefore);
  EXPECT_EQ(PartAt(g, 92), spTrackBefore);
  EXPECT_EQ(PartAt(g, 93), spSlider);
  EXPECT_EQ(PartAt(g, 106), spSlider);
  EXPECT_EQ(PartAt(g, 107), spTrackAfter);
  EXPECT_EQ(PartAt(g, 182), spTrackAfter);
  EXPECT_EQ(PartAt(g, 183), spSecondButton);
}

TEST(ScrollGeometry, PositionUnderAPointInvertsTheSliderCentre) {
  const ScrollModel m{-50, 50, 0, 10};
  for (int position : {-50, -17, 0, 33, 50}) {
    ScrollModel at = m;
    at.Position = position;
    const ScrollBarGeometry g = MeasureScrollBar(300, 16, 0, at, true);
    EXPECT_EQ(PositionAt(g, at, g.C), position);
  }
  const ScrollBarGeometry tooShort = MeasureScrollBar(40, 16, 0, m, true);
  EXPECT_EQ(PositionAt(tooShort, m, 20), -50);  // no room to move: Min
}

}  // namespace
}  // namespace kestu
