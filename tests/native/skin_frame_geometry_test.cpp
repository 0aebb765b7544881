#include "skin/core/FrameGeometry.h"
#include "skin/core/SkinData.h"

#include <gtest/gtest.h>

namespace kestu {
namespace {

const FrameSystemMetrics kSys{};  // frame 4, caption 19, small caption 15, menu 19, icons 16, menu size 19
const TitleImageSize kOwnClose{true, true, 51, 38, 0, 0};  // 17 x 19 per state

FrameMetrics MetricsFor(int style, const TitleButtonSet& set, bool icon = true) {
  return ComputeFrameMetrics(style, kSys, kOwnClose, false, 0, icon, set, 0);
}

TEST(FrameMetrics, BordersAndCaptionFollowTheBorderStyle) {
  struct Case { int style, bx, by, caption; };
  for (Case c : {Case{0, 0, 0, 0}, Case{1, 3, 3, 19}, Case{2, 4, 4, 19}, Case{3, 3, 3, 19}, Case{4, 3, 4, 14},
                 Case{5, 4, 4, 15}}) {
    const FrameMetrics m = MetricsFor(c.style, {});
    EXPECT_EQ(m.SysBorderX, c.bx) << c.style;
    EXPECT_EQ(m.SysBorderY, c.by) << c.style;
    EXPECT_EQ(m.CaptionHeight, c.caption) << c.style;
  }
}

TEST(FrameMetrics, ButtonSizeComesFromTheCloseImage) {
  FrameMetrics m = ComputeFrameMetrics(2, kSys, {}, false, 0, true, {}, 0);
  EXPECT_EQ(m.TitleButtonWidth, 21);
  EXPECT_EQ(m.TitleButtonHeight, 21);
  m = MetricsFor(2, {});
  EXPECT_EQ(m.TitleButtonWidth, 17);
  EXPECT_EQ(m.TitleButtonHeight, 19);
  EXPECT_EQ(m.ButtonTop, (4 + 19 - 19) / 2);
  // Inside the master bitmap: frames by the image count, halves by the mask type.
  m = ComputeFrameMetrics(1, kSys, {true, false, 42, 28, 3, 1}, false, 0, true, {}, 0);
  EXPECT_EQ(m.TitleButtonWidth, 14);
  EXPECT_EQ(m.TitleButtonHeight, 14);
  EXPECT_EQ(m.ButtonTopRaw, (3 + 19 - 14) / 2);
  EXPECT_EQ(m.ButtonTop, m.ButtonTopRaw + 2);  // small buttons sit two pixels lower
}

TEST(FrameMetrics, IconAndVisibleButtonsAndClientOrigin) {
  const TitleButtonSet sizeable = TitleButtonsFor(2, true, true, true, false, false, false);
  FrameMetrics m = MetricsFor(2, sizeable);
  EXPECT_EQ(m.VisibleButtonCount, 3);
  EXPECT_EQ(m.IconRect, (PixRect{4, 4, 20, 20}));
  EXPECT_EQ(MetricsFor(3, TitleButtonsFor(3, true, true, true, false, false, false)).VisibleButtonCount, 1);
  EXPECT_EQ(MetricsFor(3, {}).IconRect.Width(), 0);  // dialogs show no icon
  EXPECT_EQ(MetricsFor(2, sizeable, false).IconRect.Width(), 0);
  EXPECT_EQ(MetricsFor(1, TitleButtonsFor(1, true, true, false, true, false, false)).VisibleButtonCount, 3);
  m = ComputeFrameMetrics(2, kSys, kOwnClose, true, 2, true, sizeable, 3);
  EXPECT_EQ(m.MenuLineHeight, 18);
  EXPECT_EQ(m.ClientX(), 4 + 3);
  EXPECT_EQ(m.ClientY(), 4 + 19 + 2 * 18 + 3);
}

TEST(TitleButtonSet, VisibilityAndEnablementByStyleAndState) {
  TitleButtonSet dialog = TitleButtonsFor(3, true, true, true, true, false, false);
  EXPECT_FALSE(dialog.MaxVisible);
  EXPECT_FALSE(dialog.MinVisible);
  TitleButtonSet single = TitleButtonsFor(1, true, true, true, false, false, false);
  EXPECT_FALSE(single.MaxVisible);
  EXPECT_TRUE(single.MinVisible);
  TitleButtonSet zoomed = TitleButtonsFor(2, true, true, true, false, true, false);
  EXPECT_FALSE(zoomed.MaxEnabled);
  EXPECT_TRUE(zoomed.RestoreEnabled);
  EXPECT_TRUE(zoomed.MinEnabled);
  EXPECT_FALSE(TitleButtonsFor(2, false, true, true, false, false, false).MinVisible);
}

TitleHitInput Sizeable(int W = 300, int H = 200) {
  TitleHitInput in;
  in.buttons = TitleButtonsFor(2, true, true, true, false, false, false);
  in.m = MetricsFor(2, in.buttons);
  in.W = W;
  in.H = H;
  return in;
}

TEST(FrameHitTest, SlotsCountFromTheRightWithInclusiveEdges) {
  TitleHitInput in = Sizeable();  // slot width 18: close 278..296, slot 2 260..278, slot 3 242..260
  const int y = in.m.ButtonTopRaw + 5;
  EXPECT_EQ(in.m.SlotLeft(300, 1), 278);
  EXPECT_EQ(HitTestFrame(in, {296, y}), kHitClose);
  EXPECT_EQ(HitTestFrame(in, {278, y}), kHitClose);  // close is tested first
  EXPECT_EQ(HitTestFrame(in, {277, y}), kHitMax);
  EXPECT_EQ(HitTestFrame(in, {260, y}), kHitMax);
  EXPECT_EQ(HitTestFrame(in, {259, y}), kHitMin);
  EXPECT_EQ(HitTestFrame(in, {242, y}), kHitMin);
  EXPECT_EQ(HitTestFrame(in, {241, y}), kHitCaption);
  EXPECT_EQ(HitTestFrame(in, {4, y}), kHitSysMenu);
  EXPECT_EQ(HitTestFrame(in, {20, y}), kHitSysMenu);
  EXPECT_EQ(HitTestFrame(in, {21, y}), kHitCaption);
}

TEST(FrameHitTest, TheButtonBandIsInclusiveAndEndsTheCaption) {
  TitleHitInput in = Sizeable();
  const int b = in.m.ButtonTopRaw, e = b + in.m.TitleButtonHeight;
  EXPECT_EQ(HitTestFrame(in, {290, b}), kHitClose);
  EXPECT_EQ(HitTestFrame(in, {290, e}), kHitClose);
  EXPECT_EQ(HitTestFrame(in, {100, e}), kHitNowhere);  // the last band row is not caption
  EXPECT_EQ(HitTestFrame(in, {100, e - 1}), kHitCaption);
  EXPECT_EQ(HitTestFrame(in, {290, e + 1}), kHitNowhere);
}

TEST(FrameHitTest, SingleBorderPutsMinimiseIntoSlotTwo) {
  TitleHitInput in;
  in.buttons = TitleButtonsFor(1, true, true, false, false, false, false);
  in.m = MetricsFor(1, in.buttons);
  in.W = 294;
  in.H = 143;
  const int y = in.m.ButtonTopRaw + 3;
  const int slot2 = in.m.SlotLeft(294, 2);
  EXPECT_EQ(HitTestFrame(in, {slot2, y}), kHitMin);
  EXPECT_EQ(HitTestFrame(in, {slot2 - 1, y}), kHitCaption);
  // Without the minimise icon the slot is caption.
  in.buttons.MinEnabled = false;
  EXPECT_EQ(HitTestFrame(in, {slot2, y}), kHitCaption);
}

TEST(FrameHitTest, UserButtonsStartAtSlotFiveAndDisabledOnesAreCaption) {
  TitleHitInput in = Sizeable();
  in.userEnabled = {true, false};
  const int y = in.m.ButtonTopRaw + 3;
  // Users' range: 300 - 4 - 6 x 18 = 188 .. 300 - 4 - 68 - 4 = 224.
  EXPECT_EQ(HitTestFrame(in, {224, y}), kHitUserFirst);
  EXPECT_EQ(HitTestFrame(in, {207, y}), kHitUserFirst);
  EXPECT_EQ(HitTestFrame(in, {206, y}), kHitCaption);  // button 1, disabled
  EXPECT_EQ(HitTestFrame(in, {188, y}), kHitCaption);
  EXPECT_EQ(HitTestFrame(in, {230, y}), kHitCaption);  // the free slot 4
  in.userEnabled = {true, true};
  EXPECT_EQ(HitTestFrame(in, {206, y}), kHitUserFirst + 1);
}

TEST(FrameHitTest, GripAndTheEdgeBandOfAMaximisedForm) {
  TitleHitInput in = Sizeable();
  in.grip = true;
  in.gripPoint = {280, 180};
  EXPECT_EQ(HitTestFrame(in, {280, 180}), kHitBottomRight);
  EXPECT_EQ(HitTestFrame(in, {279, 180}), kHitNowhere);
  in.maximized = true;
  const int y = in.m.ButtonTopRaw + 3;
  EXPECT_EQ(HitTestFrame(in, {1, 100}), kHitMaximizedEdge);
  EXPECT_EQ(HitTestFrame(in, {2, 100}), kHitNowhere);
  EXPECT_EQ(HitTestFrame(in, {296, y}), kHitMaximizedEdge);  // within the edge even over close
  EXPECT_EQ(HitTestFrame(in, {295, y}), kHitClose);
  EXPECT_EQ(HitTestFrame(in, {100, 196}), kHitMaximizedEdge);
}

TEST(MenuLine, ItemsWrapOntoASecondRowAtTheRightLimit) {
  FrameMetrics m = ComputeFrameMetrics(2, kSys, kOwnClose, true, 1, true, {}, 0);
  // Limit 200 - 8 - 6 = 186; each item advances by width + 19 - 6.
  MenuLineLayout l = LayoutMenuLine({{50}, {50}, {50}}, 200, m, 19);
  ASSERT_EQ(l.Rects.size(), 3u);
  EXPECT_EQ(l.Rects[0], (PixRect{4, 23, 67, 41}));
  EXPECT_EQ(l.Rects[1], (PixRect{67, 23, 130, 41}));
  EXPECT_EQ(l.Rects[2], (PixRect{4, 41, 67, 59}));
  EXPECT_EQ(l.Rows, 2);
  // 130 + 56 = 186 still fits.
  l = LayoutMenuLine({{50}, {50}, {43}}, 200, m, 19);
  EXPECT_EQ(l.Rows, 1);
  // Hidden items take no place; an item wider than a row starts one and stays.
  l = LayoutMenuLine({{50, false}, {400}, {10}}, 200, m, 19);
  EXPECT_EQ(l.Rects[0], PixRect{});
  EXPECT_EQ(l.Rects[1].Left, 4);
  EXPECT_EQ(l.Rects[1].Top, 23);
  EXPECT_EQ(l.Rects[2], (PixRect{4, 41, 27, 59}));
  EXPECT_EQ(l.Rows, 2);
}

TEST(CornerCuts, RunsOfKeyColourInBothTopCornersOfTheFirstFrame) {
  // A 30 x 8 title mask: one frame, picture half 4 rows, corner cells 10 wide.
  PixelBuffer mask(30, 8);
  const Bgr key{255, 0, 255};
  for (int x = 0; x < 3; ++x) mask.At(x, 0) = key;
  mask.At(0, 1) = key;
  mask.At(12, 0) = key;  // middle cell: never cut
  for (int x = 27; x < 30; ++x) mask.At(x, 0) = key;
  mask.At(29, 1) = key;
  mask.At(0, 5) = key;  // the mask half: never cut
  const RegionCuts cuts = CornerCuts(MaskImage::InMaster(mask.Rows(), {0, 0, 30, 8}, 1, 1), 100);
  const RegionCuts expected{{0, 0, 3, 1}, {97, 0, 100, 1}, {0, 1, 1, 2}, {99, 1, 100, 2}};
  EXPECT_EQ(cuts, expected);
  // A run that reaches the cell's inner edge ends there.
  for (int x = 0; x < 12; ++x) mask.At(x, 2) = key;
  const RegionCuts more = CornerCuts(MaskImage::InMaster(mask.Rows(), {0, 0, 30, 8}, 1, 1), 100);
  EXPECT_NE(std::find(more.begin(), more.end(), PixRect{0, 2, 10, 3}), more.end());
}

TEST(SectionColours, SystemColoursAreResolvedAsTheSkinLoads) {
  TsSkinData skin;
  skin.ResolveSystemColour = [](std::uint32_t c) { return c == 0xFF00000Fu ? 0x00C8D0D4u : 0x123456u; };
  TsStoredSkinData stored;
  stored.GeneralData.emplace_back();
  stored.GeneralData[0].SectionName = "Form";
  stored.GeneralData[0].PaintingColor = std::int32_t(0xFF00000Fu);
  stored.GeneralData[0].HotPaintingColor = 0x00FF00;
  stored.GeneralData[0].FontColor = "-16777208 -1 -1 -1 -1";
  skin.LoadSectionRecords(&stored);
  ASSERT_EQ(skin.gd.size(), 1u);
  EXPECT_EQ(skin.gd[0].PaintingColor, 0x00C8D0D4u);
  EXPECT_EQ(skin.gd[0].HotPaintingColor, 0x00FF00u);
  EXPECT_EQ(skin.gd[0].FontColor[0], 0x123456);
  EXPECT_EQ(skin.gd[0].FontColor[1], -1);
}

}  // namespace
}  // namespace kestu
