// The skinned scroll bar on a shown form with the internal skin: the range
// guards and change events, the part states under mouse and hover (and only
// the skinned looks on screen while the mouse comes and goes), the
// repeat and drag timer driven tick by tick, change events held back while
// dragging without Smooth, keyboard and scroll messages, and the composed
// image on screen (pressed, moved and disabled looks).
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "skin/sPanel.h"
#include "skin/sScrollBar.h"
#include "skin/sSkinManager.h"

#include "SkinTestForm.h"

#include <algorithm>
#include <vector>

namespace kestu {
namespace {

void Pump(int ms = 50) {
  const DWORD end = GetTickCount() + DWORD(ms);
  while (GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(2);
  }
}

class SkinScrollBar : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureSkinClasses();
    Application->SetOnException([](TObject*, const Exception& e) { ADD_FAILURE() << StringToUtf8(e.Message()); });
    ScrollRangeReport = [this](const String& text) { reports.push_back(text); };
    form = CreateFormFromResource<TSkinTestForm>(Application);
    bar = new TsScrollBar(form);
    bar->SetParent(form);
    bar->SetBounds(10, 60, 200, 17);
    bar->SetOnChange([this](TsScrollBar*, int previous) { changes.push_back(previous); });
    form->Show();
    Pump();
  }
  void TearDown() override { delete form; }
  // Mouse messages at a point along the bar, in the middle across it.
  void Send(UINT msg, int along) { SendMessageW(bar->Handle(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(along, 8)); }
  int Under(int along) { return PositionAt(bar->Geometry(), {bar->Min(), bar->Max(), bar->Position(), bar->PageSize()}, along); }

  TSkinTestForm* form = nullptr;
  TsScrollBar* bar = nullptr;
  std::vector<int> changes;
  std::vector<String> reports;
};

TEST_F(SkinScrollBar, RangeGuardsReportOnlyInvertedRangesAndRaiseNoChangeAtTheEnds) {
  ASSERT_TRUE(bar->Skinned());
  bar->SetPosition(100);
  EXPECT_EQ(changes, std::vector<int>{0});
  bar->SetPosition(150);  // already at Max
  bar->SetPosition(100);
  EXPECT_EQ(changes.size(), 1u);
  bar->SetPosition(0);
  bar->SetPosition(-5);  // already at Min
  EXPECT_EQ(changes, (std::vector<int>{0, 100}));
  bar->SetPosition(40);
  bar->SetMax(30);  // the position follows the smaller range
  EXPECT_EQ(bar->Position(), 30);
  EXPECT_EQ(changes.back(), 40);
  EXPECT_TRUE(reports.empty());
  bar->SetMin(30);  // empty range: nothing to scroll, nothing to report
  EXPECT_TRUE(reports.empty());
  bar->SetMin(31);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], L"Scrollbar property out of range\n\rMax = 30");
  EXPECT_EQ(bar->Position(), 31);  // clamped, and the bar goes on
}

TEST_F(SkinScrollBar, PartStatesCoupleUnderHoverEnterAndLeave) {
  bar->Perform(CM_MOUSEENTER);
  EXPECT_EQ(bar->PartState(spTrackBefore), 1);
  EXPECT_EQ(bar->PartState(spTrackAfter), 1);
  Send(WM_MOUSEMOVE, 3);
  EXPECT_EQ(bar->PartState(spFirstButton), 1);
  const ScrollBarGeometry g = bar->Geometry();
  Send(WM_MOUSEMOVE, g.C);
  EXPECT_EQ(bar->PartState(spSlider), 1);
  EXPECT_EQ(bar->PartState(spFirstButton), 0);
  EXPECT_EQ(bar->PartState(spTrackBefore), 1);
  Send(WM_MOUSEMOVE, 100);
  EXPECT_EQ(bar->PartState(spSlider), 0);
  bar->Perform(CM_MOUSELEAVE);
  for (int part = 0; part < spCount; ++part) EXPECT_EQ(bar->PartState(TsScrollPart(part)), 0) << part;
}

// Real input through the system's queue: a drag that ends on the slider, then
// the mouse leaving for the form, takes every part back to its normal look.
TEST_F(SkinScrollBar, AfterADragTheMouseLeavingTakesThePartsBackToNormal) {
  auto input = [](DWORD flags, POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
    // What the input caused is handled before the next one comes.
    for (int waited = 0; waited < 5000 && HIWORD(GetQueueStatus(QS_INPUT)) != 0; waited += 10) Pump(10);
    Pump(10);
  };
  auto screen = [this](int along, int across) {
    POINT p{along, across};
    ClientToScreen(bar->Handle(), &p);
    return p;
  };
  const int start = bar->Geometry().C;
  input(MOUSEEVENTF_MOVE, screen(start, 8));
  input(MOUSEEVENTF_LEFTDOWN, screen(start, 8));
  ASSERT_EQ(bar->PartState(spSlider), 2) << "the press reached the slider";
  for (int x = start; x <= start + 60; x += 10) input(MOUSEEVENTF_MOVE, screen(x, 8));
  input(MOUSEEVENTF_LEFTUP, screen(start + 60, 8));
  EXPECT_GT(bar->Position(), 0);
  input(MOUSEEVENTF_MOVE, screen(100, -40));  // on the form, above the bar
  auto allNormal = [this] {
    for (int part = 0; part < spCount; ++part)
      if (bar->PartState(TsScrollPart(part)) != 0) return false;
    return true;
  };
  for (int waited = 0; waited < 5000 && !allNormal(); waited += 50) Pump(50);
  for (int part = 0; part < spCount; ++part) EXPECT_EQ(bar->PartState(TsScrollPart(part)), 0) << part;
}

TEST_F(SkinScrollBar, ButtonsStepAndRepeatUntilReleased) {
  bar->SetSmallChange(3);
  Send(WM_LBUTTONDOWN, 195);
  EXPECT_EQ(bar->PartState(spSecondButton), 2);
  EXPECT_EQ(bar->Position(), 3);
  EXPECT_EQ(bar->Repeating(), TsScrollBar::rtButton);
  bar->RepeatTick();
  bar->RepeatTick();
  EXPECT_EQ(bar->Position(), 9);
  Send(WM_LBUTTONUP, 195);
  EXPECT_EQ(bar->Repeating(), TsScrollBar::rtNone);
  EXPECT_EQ(bar->PartState(spSecondButton), 1);  // still under the mouse
  // At Min the first button is pressed but does not move or repeat.
  bar->SetPosition(0);
  Send(WM_LBUTTONDOWN, 2);
  EXPECT_EQ(bar->PartState(spFirstButton), 2);
  EXPECT_EQ(bar->Repeating(), TsScrollBar::rtNone);
  Send(WM_LBUTTONUP, 120);
  EXPECT_EQ(bar->PartState(spFirstButton), 0);
}

TEST_F(SkinScrollBar, AHeldTrackHalfStopsOnceTheSliderHasPassedTheMouse) {
  bar->SetLargeChange(10);
  const int mouse = 150;
  const int target = Under(mouse);
  Send(WM_LBUTTONDOWN, mouse);
  EXPECT_EQ(bar->PartState(spTrackAfter), 2);
  EXPECT_EQ(bar->PartState(spTrackBefore), 0);
  EXPECT_EQ(bar->Position(), 10);
  int ticks = 0;
  while (bar->Repeating() != TsScrollBar::rtNone && ticks < 100) bar->RepeatTick(), ++ticks;
  EXPECT_LT(ticks, 100);
  EXPECT_GE(bar->Position(), target);
  EXPECT_LT(bar->Position() - 10, target);
  const int stopped = bar->Position();
  bar->RepeatTick();
  EXPECT_EQ(bar->Position(), stopped);
  Send(WM_LBUTTONUP, mouse);
  EXPECT_EQ(bar->PartState(spTrackAfter), 0);
}

TEST_F(SkinScrollBar, DraggingWithoutSmoothRaisesOneChangeAtRelease) {
  bar->SetSmooth(false);
  bar->SetPosition(20);
  changes.clear();
  const int start = bar->Geometry().C;
  Send(WM_LBUTTONDOWN, start);
  ASSERT_EQ(bar->PartState(spSlider), 2);
  EXPECT_EQ(bar->Repeating(), TsScrollBar::rtDrag);
  Send(WM_MOUSEMOVE, start + 30);
  const int moved = bar->Position();
  EXPECT_GT(moved, 20);
  Send(WM_MOUSEMOVE, start + 60);
  bar->RepeatTick();  // the drag timer follows the last mouse point
  EXPECT_GT(bar->Position(), moved);
  EXPECT_TRUE(changes.empty());
  Send(WM_LBUTTONUP, start + 60);
  EXPECT_EQ(changes, std::vector<int>{20});
  EXPECT_EQ(bar->PartState(spSlider), 1);  // hot under the mouse, the halves with it
  EXPECT_EQ(bar->PartState(spTrackAfter), 1);

  // With Smooth every step of the drag is reported.
  bar->SetSmooth(true);
  changes.clear();
  const int c = bar->Geometry().C;
  Send(WM_LBUTTONDOWN, c);
  Send(WM_MOUSEMOVE, c - 20);
  Send(WM_MOUSEMOVE, c - 40);
  Send(WM_LBUTTONUP, c - 40);
  EXPECT_EQ(changes.size(), 2u);
}

TEST_F(SkinScrollBar, KeysAndScrollMessagesMoveThePositionAndRightToLeftReversesLines) {
  bar->SetLargeChange(25);
  bar->SetSmallChange(2);
  auto key = [&](WORD vk) { SendMessageW(bar->Handle(), WM_KEYDOWN, vk, 0); };
  key(VK_END);
  EXPECT_EQ(bar->Position(), 100);
  key(VK_PRIOR);
  EXPECT_EQ(bar->Position(), 75);
  key(VK_LEFT);
  EXPECT_EQ(bar->Position(), 73);
  key(VK_HOME);
  EXPECT_EQ(bar->Position(), 0);
  key(VK_NEXT);
  key(VK_DOWN);
  EXPECT_EQ(bar->Position(), 27);

  int seenCode = -1;
  bar->SetOnScroll([&](TObject*, TScrollCode code, int& pos) { seenCode = code, pos += 1; });
  bar->Perform(CN_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(seenCode, scLineDown);
  EXPECT_EQ(bar->Position(), 30);  // + SmallChange, + 1 from the scroll event
  bar->SetBiDiMode(bdRightToLeft);
  bar->Perform(CN_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(bar->Position(), 29);
  bar->Perform(CN_HSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(bar->Position(), 100);  // 101 from the event, clamped into the range
}

// Hot looks come and go with the mouse: while it is over the slider and after
// it has left, the window shows the composed image (the native bar, which
// tracks the mouse by itself when themed, draws nothing over it), and after
// it has left the bar looks as before.
TEST_F(SkinScrollBar, TheMouseComingAndGoingShowsOnlyTheSkinnedLooks) {
  auto* panel = new TsPanel(form);
  panel->SetParent(form);
  panel->SetBounds(5, 100, 260, 58);  // below the form's button
  bar->SetParent(panel);
  bar->SetBounds(10, 20, 200, 17);
  bar->SetPosition(60);
  bar->Repaint();
  Pump(300);
  auto onScreenAsComposed = [this](const char* when) {
    const PixelRows image = bar->Image();
    HDC dc = GetDC(bar->Handle());
    int differing = 0;
    for (int y = 0; y < image.height; y += 4)
      for (int x = 0; x < image.width; ++x) {
        const Bgr p = image.At(x, y);
        if (GetPixel(dc, x, y) != RGB(p.r, p.g, p.b)) ++differing;
      }
    ReleaseDC(bar->Handle(), dc);
    EXPECT_EQ(differing, 0) << when;
    std::vector<Bgr> pixels;
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x) pixels.push_back(image.At(x, y));
    return pixels;
  };
  const std::vector<Bgr> before = onScreenAsComposed("before");
  bar->Perform(CM_MOUSEENTER);
  Send(WM_MOUSEMOVE, bar->Geometry().C);
  Pump(300);
  ASSERT_EQ(bar->PartState(spSlider), 1);
  const std::vector<Bgr> hot = onScreenAsComposed("over the slider");
  SendMessageW(bar->Handle(), WM_MOUSELEAVE, 0, 0);
  Pump(300);
  const std::vector<Bgr> after = onScreenAsComposed("after leaving");
  auto same = [](const std::vector<Bgr>& a, const std::vector<Bgr>& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](Bgr p, Bgr q) {
             return p.r == q.r && p.g == q.g && p.b == q.b;
           });
  };
  EXPECT_FALSE(same(before, hot)) << "the slider is drawn hot";
  EXPECT_TRUE(same(before, after));
}

TEST_F(SkinScrollBar, TheWindowShowsTheComposedPartsInTheirLooks) {
  bar->Repaint();
  Pump();
  PixelRows image = bar->Image();
  ASSERT_EQ(image.width, 200);
  ASSERT_EQ(image.height, 17);
  HDC dc = GetDC(bar->Handle());
  for (int x : {2, 30, 100, 190}) {
    const Bgr p = image.At(x, 8);
    EXPECT_EQ(GetPixel(dc, x, 8), RGB(p.r, p.g, p.b)) << x;
  }
  ReleaseDC(bar->Handle(), dc);

  // The slider moves, and looks the same where it arrives.
  const ScrollBarGeometry before = bar->Geometry();
  std::vector<Bgr> slider;
  for (int d = -5; d <= 5; ++d) slider.push_back(image.At(before.C + d, 8));
  bar->SetPosition(80);
  image = bar->Image();
  const int C = bar->Geometry().C;
  ASSERT_GT(C, before.C + 20);
  for (int d = -5; d <= 5; ++d) EXPECT_EQ(image.At(C + d, 8), slider[std::size_t(d + 5)]) << d;
  int differ = 0;
  for (int d = -5; d <= 5; ++d) differ += image.At(before.C + d, 8) != slider[std::size_t(d + 5)];
  EXPECT_GT(differ, 0);

  // A pressed button has its own look, and only that button changes.
  const Bgr normalButton = image.At(4, 4);
  Send(WM_LBUTTONDOWN, 195);
  const Bgr pressed = bar->Image().At(196, 4);
  Send(WM_LBUTTONUP, 60);
  bar->Perform(CM_MOUSELEAVE);
  EXPECT_NE(pressed, bar->Image().At(196, 4));
  EXPECT_EQ(bar->Image().At(4, 4), normalButton);

  // Disabled and grayed: every pixel is grey.
  bar->SetDisabledKind(dkGrayed);
  bar->SetEnabled(false);
  bar->Repaint();
  image = bar->Image();
  for (int x : {4, 50, 100, 196}) {
    const Bgr p = image.At(x, 8);
    EXPECT_TRUE(p.r == p.g && p.g == p.b) << x;
  }
}

TEST_F(SkinScrollBar, ANewSkinRecreatesTheWindowAndVerticalBarsMeasureDownwards) {
  const HWND first = bar->Handle();
  SendMessageW(first, SKM_APPLYSKIN, 0, 0);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(bar->HandleAllocated());
  bar->SetKind(sbVertical);
  EXPECT_EQ(bar->Width(), 17);
  EXPECT_EQ(bar->Height(), 200);
  EXPECT_EQ(GetWindowLongW(bar->Handle(), GWL_STYLE) & SBS_VERT, SBS_VERT);
  SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 195));
  EXPECT_EQ(bar->PartState(spSecondButton), 2);
  SendMessageW(bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(8, 195));
  EXPECT_EQ(bar->Position(), 1);
}

}  // namespace
}  // namespace kestu
