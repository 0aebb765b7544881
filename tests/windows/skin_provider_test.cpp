// The form skin provider on a real window: where the title buttons stand and
// what they answer, the messages it keeps and the ones it hands on, how often
// the frame is recomposed, the composed pixels, the window region, the system
// menu, and that messages from other threads get no pointers of ours.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "skin/SkinGdi.h"
#include "skin/sSkinProvider.h"
#include "skin/sSystemMenu.h"

#include "SkinTestForm.h"

#include <atomic>
#include <thread>

namespace kestu {
namespace {

// Records every message the provider hands to the procedure it replaced.
std::vector<UINT> forwarded;
WNDPROC formProc = nullptr;
LRESULT CALLBACK RecordingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  forwarded.push_back(msg);
  return CallWindowProcW(formProc, w, msg, wp, lp);
}

bool Forwarded(UINT msg) { return std::find(forwarded.begin(), forwarded.end(), msg) != forwarded.end(); }

void Pump() {
  for (int i = 0; i < 5; ++i) {
    Application->ProcessMessages();
    Sleep(10);
  }
}

class Provider : public ::testing::Test {
 public:
  void Make(TFormBorderStyle style, TBorderIcons icons) {
    EnsureSkinClasses();
    form = CreateFormFromResource<TSkinTestForm>(Application);
    form->SetBorderStyle(style);
    form->SetPosition(poDesigned);
    form->SetBounds(100, 100, 300, 200);
    // The frame draws its own buttons: without the form's icons the provider
    // keeps the window (and the recorder under it) as it is.
    form->SetBorderIcons(0);
    form->HandleNeeded();
    formProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc)));
    provider = new TsSkinProvider(form);
    provider->SetBorderIcons(icons);
    provider->Loaded();
    form->Show();
    SetForegroundWindow(form->Handle());
    Pump();
    forwarded.clear();
  }
  void SetUp() override { Make(bsSizeable, biSystemMenu | biMinimize | biMaximize); }
  void TearDown() override { delete form; }

  HWND Window() { return form->Handle(); }
  POINT Screen(int x, int y) {
    RECT r;
    GetWindowRect(Window(), &r);
    return {r.left + x, r.top + y};
  }
  LRESULT NcHit(int x, int y) {
    POINT p = Screen(x, y);
    return SendMessageW(Window(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
  }
  POINT Centre(int record) {
    const RECT& r = provider->StandardButton(record).Rect;
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  int Compositions() { return provider->FullCompositions() + provider->FastCompositions(); }

  TSkinTestForm* form = nullptr;
  TsSkinProvider* provider = nullptr;
};

enum { kMinRecord, kMaxRecord, kCloseRecord };

TEST_F(Provider, StandardButtonsStandInSlotsFromTheRight) {
  ASSERT_TRUE(provider->SkinActive());
  const FrameMetrics m = provider->Metrics();
  EXPECT_EQ(m.TitleButtonWidth, 17);
  EXPECT_EQ(m.TitleButtonHeight, 19);
  const int W = form->Width();
  EXPECT_EQ(provider->StandardButton(kCloseRecord).Rect.left, W - m.SysBorderX - 17 - 1);
  EXPECT_EQ(provider->StandardButton(kMaxRecord).Rect.left, m.SlotLeft(W, 2));
  EXPECT_EQ(provider->StandardButton(kMinRecord).Rect.left, m.SlotLeft(W, 3));
  EXPECT_EQ(provider->StandardButton(kCloseRecord).Rect.top, m.ButtonTop);
  // The form's own icons are gone while the frame draws its own buttons.
  EXPECT_EQ(form->BorderIcons(), 0u);
}

TEST_F(Provider, ASingleBorderShowsCloseAndMinimiseInSlotTwo) {
  Provider& t = *this;
  TearDown();
  Make(bsSingle, biSystemMenu | biMinimize);
  const FrameMetrics m = t.provider->Metrics();
  EXPECT_EQ(m.VisibleButtonCount, 2);
  EXPECT_FALSE(t.provider->StandardButton(kMaxRecord).Laid);
  EXPECT_EQ(t.provider->StandardButton(kMinRecord).Rect.left, m.SlotLeft(t.form->Width(), 2));
  POINT c = t.Centre(kMinRecord);
  EXPECT_EQ(t.NcHit(c.x, c.y), HTMINBUTTON);
}

TEST_F(Provider, HitTestsMakeButtonsHotAndPressesCloseTheForm) {
  POINT close = Centre(kCloseRecord);
  EXPECT_EQ(NcHit(close.x, close.y), HTCLOSE);
  EXPECT_EQ(provider->HotButton(), HTCLOSE);
  EXPECT_EQ(provider->StandardButton(kCloseRecord).State, 1);
  EXPECT_FALSE(Forwarded(WM_NCHITTEST));

  // Over the caption the previous procedure answers and nothing stays hot.
  EXPECT_EQ(NcHit(60, provider->Metrics().ButtonTopRaw + 2), HTCAPTION);
  EXPECT_TRUE(Forwarded(WM_NCHITTEST));
  EXPECT_EQ(provider->HotButton(), 0);
  EXPECT_EQ(provider->StandardButton(kCloseRecord).State, 0);

  NcHit(close.x, close.y);
  POINT s = Screen(close.x, close.y);
  SendMessageW(Window(), WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(s.x, s.y));
  EXPECT_EQ(provider->StandardButton(kCloseRecord).State, 2);
  EXPECT_TRUE(IsWindowVisible(Window()));
  SendMessageW(Window(), WM_NCLBUTTONUP, HTCLOSE, MAKELPARAM(s.x, s.y));
  Pump();
  EXPECT_FALSE(IsWindowVisible(Window()));
}

TEST_F(Provider, AReleaseAwayFromThePressedButtonDoesNothing) {
  POINT close = Centre(kCloseRecord);
  NcHit(close.x, close.y);
  POINT s = Screen(close.x, close.y);
  SendMessageW(Window(), WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(s.x, s.y));
  POINT min = Centre(kMinRecord);
  NcHit(min.x, min.y);  // the mouse moved on to minimise
  SendMessageW(Window(), WM_NCLBUTTONUP, HTMINBUTTON, MAKELPARAM(s.x, s.y));
  Pump();
  EXPECT_TRUE(IsWindowVisible(Window()));
  EXPECT_FALSE(IsIconic(Window()));
}

TEST_F(Provider, KeepsWhatItPaintsAndHandsTheRestOn) {
  EXPECT_EQ(SendMessageW(Window(), WM_ERASEBKGND, 0, 0), 1);
  SendMessageW(Window(), WM_NCPAINT, 1, 0);
  EXPECT_FALSE(Forwarded(WM_ERASEBKGND));
  EXPECT_FALSE(Forwarded(WM_NCPAINT));
  EXPECT_EQ(TsSkinProvider::Of(Window()), provider);

  MINMAXINFO info{};
  SendMessageW(Window(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_TRUE(Forwarded(WM_GETMINMAXINFO));
  EXPECT_EQ(info.ptMaxTrackSize.x, work.right - work.left + 6);
  forwarded.clear();

  // Without a skin the form gets its own frame back: a new window without
  // region, and the provider no longer answers for it.
  form->sSkinManager1->SetActive(false);
  Pump();
  HWND w = Window();
  EXPECT_FALSE(provider->SkinActive());
  EXPECT_EQ(TsSkinProvider::Of(w), nullptr);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(w, region), ERROR);
  DeleteObject(region);
  form->sSkinManager1->SetActive(true);
  Pump();
  EXPECT_TRUE(provider->SkinActive());
  EXPECT_EQ(TsSkinProvider::Of(Window()), provider);
}

TEST_F(Provider, MessagesFromAnotherThreadGetNoAddresses) {
  HWND w = Window();
  LRESULT fromThread = -1;
  std::atomic<bool> done = false;
  CacheReply = {};
  std::thread other([&] {
    fromThread = SendMessageW(w, SKM_QUERYPROVIDER, 0, 0);
    SendMessageW(w, SKM_QUERYCACHE, 0, 0);
    done = true;
  });
  // The sends from the other thread are served while this one waits for messages.
  while (!done) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(1);
  }
  other.join();
  EXPECT_EQ(fromThread, 0);
  EXPECT_FALSE(CacheReply.Valid);
  // From our own thread the frame answers with itself.
  SendMessageW(w, SKM_QUERYCACHE, 0, 0);
  EXPECT_TRUE(CacheReply.Valid);
  EXPECT_EQ(CacheReply.X, provider->Metrics().ClientX());
  EXPECT_EQ(CacheReply.Y, provider->Metrics().ClientY() + 1);
  CacheReply = {};
}

TEST_F(Provider, TheFrameIsRecomposedOnlyWhenSomethingChanged) {
  int before = Compositions();
  SendMessageW(Window(), WM_NCPAINT, 1, 0);
  RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  EXPECT_EQ(Compositions(), before);

  SendMessageW(Window(), WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ(Compositions(), before + 1);
  SendMessageW(Window(), WM_NCACTIVATE, TRUE, 0);
  EXPECT_EQ(Compositions(), before + 2);
  SendMessageW(Window(), WM_NCACTIVATE, TRUE, 0);  // no change of state
  EXPECT_EQ(Compositions(), before + 2);
  before = Compositions();
  form->SetCaption(L"Another caption");
  Pump();
  EXPECT_EQ(Compositions(), before + 1);
  before = Compositions();
  form->SetBounds(100, 100, 340, 220);
  Pump();
  EXPECT_EQ(Compositions(), before + 1);
  EXPECT_EQ(provider->FrameBitmap()->Width(), 340);
  before = Compositions();
  form->sSkinManager1->SetSkinName(L"MacOS (internal)");
  Pump();
  EXPECT_EQ(Compositions(), before + 1);
}

TEST_F(Provider, ComposedPixelsReachTheWindowAndHotButtonsRedrawOnlyThemselves) {
  TBitmap* frame = provider->FrameBitmap();
  ASSERT_EQ(frame->Width(), form->Width());
  ASSERT_EQ(frame->Height(), form->Height());
  const FrameMetrics m = provider->Metrics();
  // The window shows the composed frame.
  WindowDC dc(Window(), true);
  const int midX = form->Width() / 2, titleY = m.SysBorderY + m.CaptionHeight / 2;
  EXPECT_EQ(GetPixel(dc.Get(), midX, titleY) & 0xFFFFFF, ColorFromBgr(frame->Rows().At(midX, titleY)));
  // The title band is not the form's body.
  EXPECT_NE(frame->Rows().At(midX, titleY), frame->Rows().At(midX, m.ClientY() + 10));

  PixelBuffer normal(frame->Width(), frame->Height());
  CopyRect(normal.Rows(), 0, 0, frame->Rows(), {0, 0, frame->Width(), frame->Height()});
  POINT close = Centre(kCloseRecord);
  NcHit(close.x, close.y);
  const RECT r = provider->StandardButton(kCloseRecord).Rect;
  int changedInside = 0, changedOutside = 0;
  for (int y = 0; y < frame->Height(); ++y)
    for (int x = 0; x < frame->Width(); ++x) {
      if (frame->Rows().At(x, y) == normal.At(x, y)) continue;
      const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      ++(inside ? changedInside : changedOutside);
    }
  EXPECT_GT(changedInside, 0);
  EXPECT_EQ(changedOutside, 0);
  EXPECT_EQ(GetPixel(dc.Get(), close.x, close.y) & 0xFFFFFF, ColorFromBgr(frame->Rows().At(close.x, close.y)));
}

TEST_F(Provider, TheCaptionIsWrittenInsideItsRectangle) {
  form->SetCaption(L"");
  Pump();
  PixelBuffer empty(form->Width(), form->Height());
  CopyRect(empty.Rows(), 0, 0, provider->FrameBitmap()->Rows(), {0, 0, form->Width(), form->Height()});
  form->SetCaption(L"WWWW");
  Pump();
  const FrameMetrics m = provider->Metrics();
  const int left = m.IconRect.Width() + m.SysBorderX + 4;
  const int right = form->Width() - m.VisibleButtonCount * (m.TitleButtonWidth + 1) - 16;
  PixelRows now = provider->FrameBitmap()->Rows();
  int inside = 0, outside = 0;
  for (int y = 0; y < now.height; ++y)
    for (int x = 0; x < now.width; ++x) {
      if (now.At(x, y) == empty.At(x, y)) continue;
      // Outline colours may reach one pixel beyond the rectangle.
      const bool in = x >= left - 2 && x < right + 2 && y >= m.SysBorderY - 2 && y < m.CaptionHeight + 2;
      ++(in ? inside : outside);
    }
  EXPECT_GT(inside, 20);
  EXPECT_EQ(outside, 0);
}

TEST_F(Provider, TheRegionCutsTheTitleCornersFromTheMask) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(Window(), region), ERROR);
  const TsSkinData& skin = TsSkinData::Instance();
  const int title = skin.FindSectionIndex("FORMTITLE");
  const RegionCuts cuts = CornerCuts(skin.MaskImageOf(skin.FindMaskIndex(title, "FORMTITLE", "BORDERSMASK")),
                                     form->Width());
  ASSERT_FALSE(cuts.empty());
  for (const PixRect& c : cuts) {
    EXPECT_FALSE(PtInRegion(region, c.Left, c.Top)) << c.Left << "," << c.Top;
    EXPECT_FALSE(PtInRegion(region, c.Right - 1, c.Top));
  }
  EXPECT_TRUE(PtInRegion(region, form->Width() / 2, 0));
  EXPECT_TRUE(PtInRegion(region, 0, form->Height() - 1));
  DeleteObject(region);
}

TEST_F(Provider, AMaximisedFormShowsRestoreAndAnswersItsEdgeBand) {
  SendMessageW(Window(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Pump();
  ASSERT_TRUE(IsZoomed(Window()));
  EXPECT_TRUE(provider->StandardButton(kMaxRecord).Laid);
  EXPECT_EQ(NcHit(1, 100), -1);
  TsSystemMenu* menu = provider->SystemMenu();
  menu->RefreshSystemMenu();
  EXPECT_TRUE(menu->ItemRestore->Enabled());
  EXPECT_FALSE(menu->ItemMove->Enabled());
  EXPECT_FALSE(menu->ItemMaximize->Enabled());
  // A press on the caption of a maximised form starts no move.
  POINT s = Screen(100, provider->Metrics().SysBorderY + 3);
  forwarded.clear();
  SendMessageW(Window(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(s.x, s.y));
  EXPECT_FALSE(Forwarded(WM_NCLBUTTONDOWN));
}

TEST_F(Provider, AnIconicFrameIsComposed160PixelsWide) {
  ShowWindow(Window(), SW_MINIMIZE);
  Pump();
  ASSERT_TRUE(IsIconic(Window()));
  provider->InvalidateFrame();
  provider->BuildFrame();
  EXPECT_EQ(provider->FrameBitmap()->Width(), 160);
  EXPECT_EQ(provider->FrameBitmap()->Height(), provider->Metrics().CaptionHeight + provider->Metrics().SysBorderY + 1);
}

TEST_F(Provider, TheSystemMenuListsTheSkinsAndChoosesOneWithoutItsAmpersand) {
  TsSystemMenu* menu = provider->SystemMenu();
  ASSERT_NE(menu->SkinSelectItem, nullptr);
  EXPECT_EQ(menu->SkinSelectItem->Caption(), L"Available skins");
  EXPECT_EQ(menu->Items()->Items(0), menu->SkinSelectItem);
  EXPECT_TRUE(menu->Items()->Items(1)->IsLine());
  ASSERT_GE(menu->SkinSelectItem->Count(), 1);
  TMenuItem* first = menu->SkinSelectItem->Items(0);
  EXPECT_EQ(first->Name(), L"SkinSelectItem0");
  EXPECT_EQ(first->Caption(), L"MacOS (internal)");
  form->sSkinManager1->SetActive(false);
  first->SetCaption(L"Mac&OS (internal)");
  first->Click();
  EXPECT_EQ(form->sSkinManager1->SkinName(), L"MacOS (internal)");
  EXPECT_TRUE(form->sSkinManager1->Active());
}

TEST_F(Provider, ADialogFrameShowsOnlyCloseAndItsMenuHidesTheWindowCommands) {
  Provider& t = *this;
  TearDown();
  Make(bsDialog, biSystemMenu | biMinimize | biMaximize);
  EXPECT_TRUE(t.provider->StandardButton(kCloseRecord).Laid);
  EXPECT_FALSE(t.provider->StandardButton(kMinRecord).Laid);
  EXPECT_FALSE(t.provider->StandardButton(kMaxRecord).Laid);
  TsSystemMenu* menu = t.provider->SystemMenu();
  menu->RefreshSystemMenu();
  EXPECT_FALSE(menu->ItemRestore->Visible());
  EXPECT_FALSE(menu->ItemMinimize->Visible());
  EXPECT_FALSE(menu->ItemMaximize->Visible());
  EXPECT_FALSE(menu->ItemSize->Visible());
  EXPECT_TRUE(menu->ItemMove->Visible());
  EXPECT_TRUE(menu->ItemClose->Visible());
}

}  // namespace
}  // namespace kestu
