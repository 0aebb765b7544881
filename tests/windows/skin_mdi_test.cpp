// A skinned MDI frame: the client window's background from the frame
// bitmap (and the system's own without a skin), the window-control menu
// while a child is maximised, and the skinned bars and grip over the
// client window's own.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/sMDIForm.h"
#include "skin/sPanel.h"
#include "skin/sScrollBar.h"
#include "skin/sSkinProvider.h"

#include "SkinTestForm.h"

namespace kestu {
namespace {

void Pump() {
  for (int i = 0; i < 8; ++i) {
    Application->ProcessMessages();
    Sleep(10);
  }
}

class SkinMDI : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureSkinClasses();
    Application->SetOnException([](TObject*, const Exception& e) { ADD_FAILURE() << StringToUtf8(e.Message()); });
    skinHolder = CreateFormFromResource<TSkinTestForm>(Application);  // the skin manager
    frame = new TForm(Application);
    frame->SetFormStyle(fsMDIForm);
    frame->SetPosition(poDesigned);
    frame->SetBounds(40, 40, 480, 360);
    menu = new TMainMenu(frame);
    auto* file = new TMenuItem(menu);
    file->SetCaption(L"File");
    menu->Items()->Add(file);
    frame->SetMenu(menu);
    provider = new TsSkinProvider(frame);
    provider->Loaded();
    previousMain = Application->MainForm();
    Application->SetMainForm(frame);
    frame->Show();
    mdi = dynamic_cast<TsMDIForm*>(provider->FrameSupport());
    child = new TForm(Application);
    child->SetFormStyle(fsMDIChild);
    child->SetCaption(L"Child");
    child->SetBounds(10, 10, 150, 100);
    child->Show();
    Pump();
  }
  void TearDown() override {
    delete child;
    Application->SetMainForm(previousMain);
    delete frame;
    delete skinHolder;
  }
  COLORREF ErasedPixel(int x, int y) {
    DibSection dib(64, 64);
    SendMessageW(frame->ClientHandle(), WM_ERASEBKGND, WPARAM(dib.Dc()), 0);
    return GetPixel(dib.Dc(), x, y);
  }

  TSkinTestForm* skinHolder = nullptr;
  TForm* frame = nullptr;
  TMainMenu* menu = nullptr;
  TsSkinProvider* provider = nullptr;
  TsMDIForm* mdi = nullptr;
  TForm* child = nullptr;
  TCustomForm* previousMain = nullptr;
};

TEST_F(SkinMDI, TheClientShowsTheFrameBitmapAndTheSystemsBackgroundWithoutSkin) {
  ASSERT_NE(mdi, nullptr);
  ASSERT_TRUE(provider->SkinActive());
  const MDIClientArea a = mdi->ClientArea();
  EXPECT_EQ(a.Width, frame->ClientWidth());
  EXPECT_EQ(a.Left, provider->Metrics().ClientX());
  const Bgr expected = provider->FrameBitmap()->Rows().At(a.Left + 2 + 5, a.Top + 2 + 5);
  EXPECT_EQ(ErasedPixel(5, 5), RGB(expected.r, expected.g, expected.b));

  TsSkinData::Instance().SkinLoaded = false;
  const COLORREF plain = ErasedPixel(5, 5);
  TsSkinData::Instance().SkinLoaded = true;
  EXPECT_EQ(plain, GetSysColor(COLOR_APPWORKSPACE));
}

TEST_F(SkinMDI, AMaximisedChildPutsTheWindowControlMenuFirstAndRestoringTakesItAway) {
  ASSERT_NE(mdi, nullptr);
  SendMessageW(frame->ClientHandle(), WM_MDIMAXIMIZE, WPARAM(child->Handle()), 0);
  Pump();
  ASSERT_TRUE(mdi->ChildMaximized());
  ASSERT_EQ(menu->Items()->Count(), 2);
  TMenuItem* first = menu->Items()->Items(0);
  EXPECT_EQ(first->Name(), L"sMDICII");
  EXPECT_EQ(first->Caption(), L"");
  ASSERT_EQ(first->Count(), 4);
  EXPECT_EQ(first->Items(0)->Caption(), L"Restore");
  EXPECT_EQ(first->Items(1)->Caption(), L"Minimize");
  EXPECT_TRUE(first->Items(2)->IsLine());
  EXPECT_EQ(first->Items(3)->Name(), L"ItemMDIClose");
  EXPECT_EQ(first->Items(3)->ShortCut(), ShortCut(VK_F4, ssCtrl));
  EXPECT_EQ(mdi->VertBar(), nullptr);
  EXPECT_EQ(mdi->Grip(), nullptr);

  first->Items(0)->Click();  // Restore, sent to the active child
  Pump();
  EXPECT_FALSE(IsZoomed(child->Handle()));
  EXPECT_EQ(menu->Items()->Count(), 1);
  EXPECT_EQ(menu->Items()->Items(0)->Caption(), L"File");
}

TEST_F(SkinMDI, AChildStaysWhereItIsPut) {
  // The child's window is placed in the client window's coordinates, and its
  // bounds are read back in those coordinates (not the screen's).
  child->SetBounds(10, 600, 150, 100);
  Pump();
  RECT r{};
  GetWindowRect(child->Handle(), &r);
  MapWindowPoints(nullptr, frame->ClientHandle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 600);
  EXPECT_EQ(child->Left(), 10);
  EXPECT_EQ(child->Top(), 600);
}

// The client window's own vertical bar as the system shows it for a child
// below the visible area (Wine recalculates it only on some child changes, so
// it is set here as the system would).
TEST_F(SkinMDI, AVerticalSystemBarGetsASkinnedBarWithoutGripThatScrollsTheChildren) {
  ASSERT_NE(mdi, nullptr);
  child->SetBounds(10, 600, 150, 100);
  Pump();
  const HWND client = frame->ClientHandle();
  RECT clientRect{};
  GetClientRect(client, &clientRect);
  SCROLLINFO system{};
  system.cbSize = sizeof system;
  system.fMask = SIF_RANGE | SIF_POS;
  system.nMin = 0;
  system.nMax = 700 - clientRect.bottom;  // the children's extent below the client's bottom
  system.nPos = 0;
  ShowScrollBar(client, SB_VERT, TRUE);
  SetScrollInfo(client, SB_VERT, &system, TRUE);
  mdi->UpdateScrollBars();

  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetScrollBarInfo(client, OBJID_VSCROLL, &info));
  ASSERT_FALSE(info.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "the system shows no bar";
  ASSERT_NE(mdi->VertBar(), nullptr);
  EXPECT_EQ(mdi->HorzBar(), nullptr);
  EXPECT_EQ(mdi->Grip(), nullptr);
  TsScrollBar* bar = mdi->VertBar();
  EXPECT_EQ(bar->Kind(), sbVertical);
  EXPECT_EQ(bar->Min(), 0);
  EXPECT_EQ(bar->Max(), system.nMax + 1);  // the highest position: max - page - min + 1
  // It covers the system's bar, two pixels longer at both ends.
  const POINT top = frame->ScreenToClient(POINT{info.rcScrollBar.left, info.rcScrollBar.top});
  EXPECT_EQ(bar->Left(), top.x);
  EXPECT_EQ(bar->Top(), top.y - 2);
  EXPECT_EQ(bar->Height(), info.rcScrollBar.bottom - info.rcScrollBar.top + 4);

  // Moving it hands the client the position, which scrolls the children.
  bar->SetPosition(100);
  Pump();
  EXPECT_EQ(GetScrollPos(client, SB_VERT), 100);
  RECT childRect{};
  GetWindowRect(child->Handle(), &childRect);
  MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&childRect), 2);
  EXPECT_EQ(childRect.top, 500);
  EXPECT_EQ(child->Top(), 500);
}

TEST_F(SkinMDI, AMaximisedChildWithAnIconShowsItsButtonsInTheMenuLineAndTheyAct) {
  ASSERT_NE(mdi, nullptr);
  child->Icon()->SetHandle(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
  SendMessageW(frame->ClientHandle(), WM_MDIMAXIMIZE, WPARAM(child->Handle()), 0);
  Pump();
  ASSERT_TRUE(mdi->ChildMaximized());
  SendMessageW(frame->Handle(), WM_NCPAINT, 1, 0);
  Pump();

  // Across the middle of the menu line: minimise, restore and close, left to
  // right, each as wide as the others, close last.
  const FrameMetrics m = provider->Metrics();
  RECT window{};
  GetWindowRect(frame->Handle(), &window);
  const int y = m.CaptionHeight + m.SysBorderY + m.MenuLineHeight / 2;
  std::vector<std::pair<int, int>> runs;  // hit code, width
  for (int x = 0; x < window.right - window.left; ++x) {
    const int code = int(SendMessageW(frame->Handle(), WM_NCHITTEST, 0, MAKELPARAM(window.left + x, window.top + y)));
    if (code < 101 || code > 103) continue;
    if (runs.empty() || runs.back().first != code) runs.emplace_back(code, 0);
    ++runs.back().second;
  }
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].first, 103);
  EXPECT_EQ(runs[1].first, 102);
  EXPECT_EQ(runs[2].first, 101);
  EXPECT_GT(runs[0].second, 4);
  EXPECT_EQ(runs[0].second, runs[1].second);
  EXPECT_EQ(runs[1].second, runs[2].second);

  // The buttons are drawn over the menu line's background.
  TBitmap* bitmap = provider->FrameBitmap();
  TBitmap* line = provider->MenuLineBitmap();
  int x = 0;
  while (SendMessageW(frame->Handle(), WM_NCHITTEST, 0, MAKELPARAM(window.left + x, window.top + y)) != 101) ++x;
  int differing = 0;
  for (int dx = 0; dx < runs[2].second; ++dx)
    for (int dy = -3; dy <= 3; ++dy)
      if (!(bitmap->Rows().At(x + dx, y + dy) == line->Rows().At(x + dx, y + dy - m.CaptionHeight - m.SysBorderY)))
        ++differing;
  EXPECT_GT(differing, 0) << "nothing drawn where the close button is";

  // Pressing and releasing restore restores the child.
  x -= runs[1].second;  // inside the restore button
  const LPARAM at = MAKELPARAM(window.left + x, window.top + y);
  ASSERT_EQ(SendMessageW(frame->Handle(), WM_NCHITTEST, 0, at), 102);
  SendMessageW(frame->Handle(), WM_NCLBUTTONDOWN, 102, at);
  SendMessageW(frame->Handle(), WM_NCLBUTTONUP, 102, at);
  Pump();
  EXPECT_FALSE(IsZoomed(child->Handle()));
}

}  // namespace
}  // namespace kestu
