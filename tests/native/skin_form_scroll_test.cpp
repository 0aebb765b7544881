// Which skinned scroll bars a scrolling form gets, with what range, page and
// place, and the grip between two bars.
#include <gtest/gtest.h>

#include "skin/core/FormScrollGeometry.h"

namespace kestu {
namespace {

FormScrollInput Client(int w, int h, int bottom, int right) {
  FormScrollInput in;
  in.ClientWidth = w, in.ClientHeight = h, in.ContentBottom = bottom, in.ContentRight = right;
  return in;
}

TEST(FormScroll, ContentThatFitsNeedsNoBar) {
  const FormScrollPlan plan = PlanFormScrollBars(Client(300, 200, 198, 298));
  EXPECT_FALSE(plan.Vert.Exists);
  EXPECT_FALSE(plan.Horz.Exists);
  EXPECT_FALSE(plan.Grip);
  // Two pixels more than the client and the vertical bar appears.
  EXPECT_TRUE(PlanFormScrollBars(Client(300, 200, 199, 100)).Vert.Exists);
}

TEST(FormScroll, AnOnlyVerticalBarRunsTheFullHeightWithoutGrip) {
  const FormScrollPlan plan = PlanFormScrollBars(Client(300, 200, 500, 100));
  ASSERT_TRUE(plan.Vert.Exists);
  EXPECT_FALSE(plan.Horz.Exists);
  EXPECT_FALSE(plan.Grip);
  EXPECT_EQ(plan.Vert.Range, 502);
  EXPECT_EQ(plan.Vert.Page, 196);
  EXPECT_EQ(plan.Vert.Max, 306);
  EXPECT_EQ(plan.Vert.Rect, (PixRect{283, 0, 300, 200}));
}

TEST(FormScroll, BothBarsShareTheCornerWithTheGripAndEachCountsTheOther) {
  const FormScrollPlan plan = PlanFormScrollBars(Client(300, 200, 500, 600));
  ASSERT_TRUE(plan.Vert.Exists && plan.Horz.Exists && plan.Grip);
  EXPECT_EQ(plan.Vert.Range, 500 + 17 + 2);
  EXPECT_EQ(plan.Horz.Range, 600 + 17 + 2);
  EXPECT_EQ(plan.Vert.Rect, (PixRect{283, 0, 300, 183}));
  EXPECT_EQ(plan.Horz.Rect, (PixRect{0, 183, 283, 200}));
  EXPECT_EQ(plan.GripRect, (PixRect{283, 183, 300, 200}));
  // A horizontal bar alone pushes content just below the client into needing
  // the vertical one too.
  const FormScrollPlan pushed = PlanFormScrollBars(Client(300, 200, 190, 600));
  EXPECT_TRUE(pushed.Vert.Exists);
  EXPECT_TRUE(pushed.Grip);
}

TEST(FormScroll, TheFormsOwnRangeWinsWhenLargerAndRightToLeftMirrors) {
  FormScrollInput in = Client(300, 200, 100, 100);
  in.VertRange = 400;
  in.RightToLeft = true;
  FormScrollPlan plan = PlanFormScrollBars(in);
  ASSERT_TRUE(plan.Vert.Exists);
  EXPECT_EQ(plan.Vert.Range, 400);
  EXPECT_EQ(plan.Vert.Rect, (PixRect{1, 1, 18, 199}));
  in.HorzRange = 900;
  plan = PlanFormScrollBars(in);
  ASSERT_TRUE(plan.Grip);
  EXPECT_EQ(plan.Horz.Rect, (PixRect{17, 183, 300, 200}));
  EXPECT_EQ(plan.GripRect, (PixRect{0, 183, 17, 200}));
}

}  // namespace
}  // namespace kestu
