// The themed frame, its title bar and the themed menus: layout and edge
// hit-tests, the window region, the title buttons' places and pictures, the
// system menu's items, and menu items measured and drawn in the style.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/FormReader.h"
#include "themekit/SUIForm.h"
#include "themekit/SUIMainMenu.h"

namespace kestu {

class TThemedHostForm : public TForm {
  KESTU_CLASS(TThemedHostForm, TForm)
 public:
  using TForm::TForm;
};
KESTU_PUBLISH(TThemedHostForm) {}

namespace {

void Pump(int ms) {
  const DWORD end = GetTickCount() + DWORD(ms);
  while (GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(5);
  }
}

TEST(ThemekitFrame, PanelBoundsAndEdgeBands) {
  const RECT normal = FramePanelBounds(272, 169, 3, true, false);
  EXPECT_EQ(3, normal.left);
  EXPECT_EQ(0, normal.top);
  EXPECT_EQ(266, normal.right);   // width
  EXPECT_EQ(166, normal.bottom);  // height
  const RECT noTitle = FramePanelBounds(272, 169, 3, false, false);
  EXPECT_EQ(3, noTitle.top);
  EXPECT_EQ(163, noTitle.bottom);
  const RECT mdi = FramePanelBounds(272, 169, 3, true, true);
  EXPECT_EQ(263, mdi.right);
  EXPECT_EQ(163, mdi.bottom);

  EXPECT_EQ(HTTOPLEFT, FrameEdgeHitTest(4, 4, 300, 200));
  EXPECT_EQ(HTTOPRIGHT, FrameEdgeHitTest(296, 0, 300, 200));
  EXPECT_EQ(HTBOTTOMRIGHT, FrameEdgeHitTest(296, 196, 300, 200));
  EXPECT_EQ(HTBOTTOMLEFT, FrameEdgeHitTest(4, 196, 300, 200));
  EXPECT_EQ(HTLEFT, FrameEdgeHitTest(4, 100, 300, 200));
  EXPECT_EQ(0, FrameEdgeHitTest(5, 100, 300, 200));
  EXPECT_EQ(HTTOP, FrameEdgeHitTest(100, 4, 300, 200));
  EXPECT_EQ(0, FrameEdgeHitTest(295, 100, 300, 200));
  EXPECT_EQ(HTRIGHT, FrameEdgeHitTest(296, 100, 300, 200));
  EXPECT_EQ(HTBOTTOM, FrameEdgeHitTest(100, 196, 300, 200));
}

class FrameHost : public ::testing::Test {
 protected:
  void Make(TFormBorderStyle border, TsuiUIStyle style) {
    host = new TForm(nullptr);
    host->SetBorderStyle(border);
    host->SetCaption(L"Host");
    host->SetBounds(200, 150, 300, 200);
    frame = new TsuiForm(host);
    frame->SetUIStyle(style);
    host->Show();
    Pump(50);
  }
  void TearDown() override { delete host; }
  LRESULT HitTest(int x, int y) {
    const POINT p = host->ClientToScreen(POINT{x, y});
    return SendMessageW(host->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
  }

  TForm* host = nullptr;
  TsuiForm* frame = nullptr;
};

TEST_F(FrameHost, TakesTheNativeFrameAndLaysItselfOut) {
  Make(bsSizeable, TsuiUIStyle::WinXP);
  EXPECT_EQ(0, GetWindowLongPtrW(host->Handle(), GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(L"Host", frame->Caption());
  EXPECT_EQ(150, host->Constraints()->MinWidth());  // WinXP's minimum
  EXPECT_EQ(50, host->Constraints()->MinHeight());
  EXPECT_EQ(3, frame->BorderWidth());
  EXPECT_EQ(TColor(0x00C82C00), frame->BorderColor());
  const RECT expected = FramePanelBounds(host->ClientWidth(), host->ClientHeight(), 3, true, false);
  EXPECT_EQ(expected.left, frame->Left());
  EXPECT_EQ(expected.right, frame->FrameWidth());
  EXPECT_EQ(expected.bottom, frame->FrameHeight());
  EXPECT_EQ(29, frame->TitleBar()->Height());
  EXPECT_EQ(13, frame->RoundCorner());
  EXPECT_EQ(L"4.31", frame->Version());
  frame->SetCaption(L"Renamed");
  EXPECT_EQ(L"Renamed", GetWindowString(host->Handle()));

  // Writing the frame's size sizes the host around it.
  frame->SetFrameWidth(250);
  EXPECT_EQ(256, host->Width());
  EXPECT_EQ(250, frame->FrameWidth());
  // The host gets BW + BW div 2 below the panel's height: a 3-pixel border
  // makes it a pixel taller at each write, a 1-pixel one leaves it alone.
  const int height = host->Height();
  frame->SetFrameHeight(frame->FrameHeight());
  EXPECT_EQ(height + 1, host->Height());
  frame->SetBorderWidth(3);
  EXPECT_EQ(height + 2, host->Height());
  frame->SetBorderWidth(1);
  EXPECT_EQ(250 + 2, host->Width());
  EXPECT_EQ(height + 2, host->Height());
  frame->SetFrameHeight(frame->FrameHeight());
  EXPECT_EQ(height + 2, host->Height());
  frame->SetBorderWidth(3);

  // The border strips are painted onto the host in BorderColor.
  Pump(50);
  HDC dc = GetDC(host->Handle());
  EXPECT_EQ(COLORREF(0x00C82C00), GetPixel(dc, 1, 100));
  EXPECT_EQ(COLORREF(0x00C82C00), GetPixel(dc, host->ClientWidth() - 1, 100));
  ReleaseDC(host->Handle(), dc);
}

// The style applied at creation reaches the host: DeepBlue's minimum width,
// and a window region from the start (before any resize), whether the host's
// window exists before the frame or is made after it.
TEST(ThemekitFrameCreation, CreationStyleReachesTheHost) {
  TForm early(nullptr);
  early.SetBounds(100, 100, 300, 200);
  early.HandleNeeded();
  auto* frame = new TsuiForm(&early);
  EXPECT_EQ(130, early.Constraints()->MinWidth());  // DeepBlue's, not the frame's first 125
  EXPECT_EQ(TsuiUIStyle::DeepBlue, frame->UIStyle());
  GdiHandle<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_NE(ERROR, GetWindowRgn(early.Handle(), region.Get()));

  TForm late(nullptr);
  late.SetBounds(100, 100, 300, 200);
  new TsuiForm(&late);
  EXPECT_EQ(130, late.Constraints()->MinWidth());
  late.HandleNeeded();
  EXPECT_NE(ERROR, GetWindowRgn(late.Handle(), region.Get()));
}

TEST_F(FrameHost, SizeableHostsAnswerEdgeHitTests) {
  Make(bsSizeable, TsuiUIStyle::MacOS);
  EXPECT_EQ(HTLEFT, HitTest(4, 100));
  EXPECT_EQ(HTCLIENT, HitTest(5, 100));
  EXPECT_EQ(HTBOTTOMRIGHT, HitTest(host->ClientWidth() - 1, host->ClientHeight() - 1));
}

TEST_F(FrameHost, FixedHostsGetNoResizeHitTests) {
  Make(bsDialog, TsuiUIStyle::MacOS);
  EXPECT_EQ(HTCLIENT, HitTest(4, 100));
  EXPECT_EQ(HTCLIENT, HitTest(host->ClientWidth() - 1, host->ClientHeight() - 1));
}

TEST_F(FrameHost, RegionRoundsOnlyTheTopCorners) {
  Make(bsSingle, TsuiUIStyle::WinXP);
  GdiHandle<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(ERROR, GetWindowRgn(host->Handle(), region.Get()));
  const int CW = host->ClientWidth(), CH = host->ClientHeight();
  EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
  EXPECT_FALSE(PtInRegion(region.Get(), CW - 1, 0));
  EXPECT_TRUE(PtInRegion(region.Get(), 6, 6));
  EXPECT_TRUE(PtInRegion(region.Get(), 0, CH - 1));
  EXPECT_TRUE(PtInRegion(region.Get(), CW - 1, CH - 1));
  frame->SetUIStyle(TsuiUIStyle::MacOS);  // RoundCorner 0: a plain rectangle
  ASSERT_NE(ERROR, GetWindowRgn(host->Handle(), region.Get()));
  EXPECT_TRUE(PtInRegion(region.Get(), 0, 0));
}

TEST_F(FrameHost, MaximisingFillsTheWorkArea) {
  Make(bsSizeable, TsuiUIStyle::DeepBlue);
  ShowWindow(host->Handle(), SW_MAXIMIZE);
  Pump(100);
  RECT work;
  GetWorkArea(work);
  RECT bounds;
  GetWindowRect(host->Handle(), &bounds);
  EXPECT_EQ(work.left, bounds.left);
  EXPECT_EQ(work.top, bounds.top);
  EXPECT_EQ(work.right, bounds.right);
  EXPECT_EQ(work.bottom, bounds.bottom);
}

TEST_F(FrameHost, TitleButtonsSitFromTheRightAndTheMenuFollowsThem) {
  Make(bsSingle, TsuiUIStyle::MacOS);
  SetCursorPos(0, 0);
  frame->SetFrameWidth(200);
  TsuiTitleBar* bar = frame->TitleBar();
  ASSERT_EQ(200, bar->Width());
  EXPECT_EQ(23, bar->Height());
  EXPECT_EQ(-2, bar->RightBtnXOffset());
  EXPECT_EQ(17, bar->ButtonRowHeight());
  EXPECT_EQ(4, bar->ButtonRowTop());
  bar->Buttons()->Clear();
  auto* close = static_cast<TsuiTitleBarButton*>(bar->Buttons()->Add());
  close->SetUIStyle(TsuiUIStyle::MacOS);
  close->SetButtonType(suiClose);
  EXPECT_EQ(4, close->Top());
  TBitmap expected;
  LoadStyleStateImage(TsuiUIStyle::MacOS, TsuiElement::TitleBarButtonImage, &expected, 16, 18);
  ASSERT_EQ(17, close->PicNormal()->Width());

  TBitmap painted(bar->Width(), bar->Height());
  bar->Perform(WM_PAINT, WPARAM(painted.Canvas()->Handle()), 0);
  GdiFlush();
  EXPECT_EQ(-1, bar->HoverIndex());
  int same = 0;
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 17; ++x) same += painted.Canvas()->Pixel(181 + x, 4 + y) == expected.Canvas()->Pixel(x, y);
  EXPECT_EQ(17 * 17, same);  // at W + RightBtnXOffset - 17 - ButtonInterval = 181

  TsuiTitleBarPopupMenu* menu = bar->PopupMenu();
  menu->UpdateItems();
  EXPECT_FALSE(menu->Items()->Items(0)->Enabled());
  EXPECT_FALSE(menu->Items()->Items(1)->Enabled());
  EXPECT_TRUE(menu->Items()->Items(3)->Enabled());
  EXPECT_EQ(L"Ma&ximize/Restore", menu->Items()->Items(1)->Caption());

  // Double-clicking a bar without a maximise button changes nothing.
  const RECT before = host->BoundsRect();
  SendMessageW(bar->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 10));
  EXPECT_EQ(before.right - before.left, host->Width());
  EXPECT_FALSE(IsZoomed(host->Handle()));
}

TEST_F(FrameHost, AltSpacePopsUpTheTitleBarMenu) {
  Make(bsSingle, TsuiUIStyle::WinXP);
  bool menuShown = false;
  HMENU shown = nullptr;
  TTimer timer(nullptr);
  timer.SetInterval(100);
  timer.SetOnTimer([&](TObject*) {
    timer.SetEnabled(false);
    const HWND menu = FindWindowW(L"#32768", nullptr);
    menuShown = menu && IsWindowVisible(menu);
    if (menu) shown = HMENU(SendMessageW(menu, MN_GETHMENU, 0, 0));
    EndMenu();
  });
  timer.SetEnabled(true);
  PostMessageW(host->Handle(), WM_SYSKEYDOWN, VK_SPACE, 0x20000000);
  Pump(600);
  EXPECT_TRUE(menuShown);
  EXPECT_EQ(frame->TitleBar()->PopupMenu()->Handle(), shown);
}

TEST(ThemekitTitleBar, CaptionsThatDoNotFitEndInDots) {
  TBitmap b(10, 10);
  TCanvas* canvas = b.Canvas();
  const String caption = L"A rather long caption for a narrow bar";
  EXPECT_EQ(caption, FitCaption(canvas, caption, 1000));
  const String fitted = FitCaption(canvas, caption, 60);
  ASSERT_GE(fitted.size(), 3u);
  EXPECT_EQ(L"...", fitted.substr(fitted.size() - 3));
  EXPECT_LE(canvas->TextWidth(fitted), 60);
  EXPECT_EQ(L"...", FitCaption(canvas, caption, 0));  // nothing left, the shortening stops
}

// A MacOS bar 200 wide with its close button only: the button at
// 200 + (-2) + 1 - (17 + 0 + 1) = 181; the caption at 6 without a control
// box, after the 16-pixel icon (offset + 21) with the application's icon.
TEST(ThemekitTitleBar, ButtonAndCaptionPlaces) {
  TsuiTitleBar bar(nullptr);
  bar.SetUIStyle(TsuiUIStyle::MacOS);
  bar.SetRightBtnXOffset(-2);
  bar.SetButtonInterval(0);
  int close = -1, box = -1;
  for (int i = 0; i < bar.Buttons()->Count(); ++i) {
    TsuiTitleBarButton* b = bar.Button(i);
    b->SetVisible(b->ButtonType() == suiClose);
    if (b->ButtonType() == suiClose) close = i;
    if (b->ButtonType() == suiControlBox) box = i;
  }
  ASSERT_GE(box, 0);
  bar.Button(box)->SetButtonType(suiCustom);  // a hidden control box would still take its room
  ASSERT_GE(close, 0);
  ASSERT_EQ(17, bar.Button(close)->PicNormal()->Width());
  bar.SetLeftBtnXOffset(0);
  bar.SetDrawAppIcon(false);
  auto layout = bar.LayoutFor(200);
  const auto closePlace = std::find_if(layout.Buttons.begin(), layout.Buttons.end(),
                                       [&](const auto& p) { return p.Index == close; });
  ASSERT_NE(closePlace, layout.Buttons.end());
  EXPECT_EQ(181, closePlace->Rect.Left);
  EXPECT_EQ(6, layout.CaptionLeft);  // no control box
  EXPECT_EQ(181, layout.CaptionRight);

  bar.Button(box)->SetButtonType(suiControlBox);
  bar.SetLeftBtnXOffset(3);
  bar.SetDrawAppIcon(true);
  EXPECT_EQ(3 + 21, bar.LayoutFor(200).CaptionLeft);
}

TEST(ThemekitTitleBar, OnlyOneControlBoxAndOneClientSection) {
  std::vector<String> shown;
  Application->SetMessageBoxHook([&](HWND, const String& text, const String&, UINT) {
    shown.push_back(text);
    return IDOK;
  });
  TsuiTitleBar bar(nullptr);
  ASSERT_EQ(4, bar.Buttons()->Count());
  EXPECT_EQ(suiControlBox, bar.Button(0)->ButtonType());
  bar.Button(1)->SetButtonType(suiControlBox);
  EXPECT_EQ(suiClose, bar.Button(1)->ButtonType());
  ASSERT_EQ(3, bar.Sections()->Count());
  EXPECT_EQ(suiClient, bar.Section(2)->Align());
  bar.Section(0)->SetAlign(suiClient);
  EXPECT_EQ(suiLeft, bar.Section(0)->Align());
  bar.Section(2)->SetStretch(false);
  EXPECT_TRUE(bar.Section(2)->Stretch());
  Application->SetMessageBoxHook(nullptr);
  ASSERT_EQ(2u, shown.size());
  EXPECT_EQ(L"Sorry, only one button's ButtonType property can be \"suiControlBox\"", shown[0]);
  EXPECT_EQ(L"Sorry, only one section's Align property can be \"suiClient\"", shown[1]);
}

TEST(ThemekitMenus, HeightsColoursAndMeasuring) {
  TsuiPopupMenu menu(nullptr);
  EXPECT_TRUE(menu.OwnerDraw());
  menu.SetOwnerDraw(false);
  EXPECT_TRUE(menu.OwnerDraw());
  EXPECT_EQ(TsuiUIStyle::DeepBlue, menu.UIStyle());
  EXPECT_EQ(26, menu.BarWidth());
  EXPECT_EQ(TColor(0x00A04A44), menu.SelectedColor());
  menu.SetUIStyle(TsuiUIStyle::MacOS);
  menu.SetMenuItemHeight(30);
  menu.SetSeparatorHeight(30);
  EXPECT_EQ(20, menu.MenuItemHeight());
  EXPECT_EQ(12, menu.SeparatorHeight());
  EXPECT_EQ(clBlack, menu.SeparatorColor());
  menu.SetUIStyle(TsuiUIStyle::WinXP);
  EXPECT_EQ(21, menu.MenuItemHeight());
  EXPECT_EQ(5, menu.SeparatorHeight());
  EXPECT_EQ(TColor(0x00CED3D6), menu.BarColor());

  TMenuItem separator(nullptr);
  separator.SetCaption(L"-");
  TBitmap b(10, 10);
  int width = 0, height = 0;
  menu.Look().Measure(&separator, b.Canvas(), width, height);
  EXPECT_EQ(5, height);
  EXPECT_EQ(b.Canvas()->TextWidth(L"-") + 26 + 40, width);
  TMenuItem open(nullptr);
  open.SetCaption(L"Open");
  open.SetShortCut(ShortCut('O', ssCtrl));
  menu.Look().Measure(&open, b.Canvas(), width, height);
  EXPECT_EQ(21, height);
  EXPECT_EQ(b.Canvas()->TextWidth(L"Open") + b.Canvas()->TextWidth(ShortCutToText(open.ShortCut())) + 66, width);
}

TEST(ThemekitMenus, ItemsAreDrawnInTheStyleColours) {
  TsuiPopupMenu menu(nullptr);  // DeepBlue
  TMenuItem item(nullptr);
  item.SetCaption(L"Item");
  TBitmap b(120, 21);
  const RECT R{0, 0, 120, 21};
  menu.Look().Draw(&item, b.Canvas(), R, true, nullptr, MenuCheckedImages());
  EXPECT_EQ(TColor(0x00A04A44), b.Canvas()->Pixel(0, 0));    // frame in SelectedBorderColor
  EXPECT_EQ(TColor(0x00A04A44), b.Canvas()->Pixel(10, 10));  // fill in SelectedColor

  item.SetEnabled(false);  // disabled and selected: the unselected background
  menu.Look().Draw(&item, b.Canvas(), R, true, nullptr, MenuCheckedImages());
  EXPECT_EQ(TColor(0x00CED3D6), b.Canvas()->Pixel(5, 10));   // the bar
  EXPECT_EQ(clWhite, b.Canvas()->Pixel(100, 2));             // the background
  // The text is grey: its pixels are darker than the background, with equal channels.
  int text = 0, coloured = 0;
  for (int y = 0; y < 21; ++y)
    for (int x = 30; x < 80; ++x) {
      const COLORREF c = b.Canvas()->Pixel(x, y);
      if (c == clWhite) continue;
      ++text;
      coloured += !(GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c));
    }
  EXPECT_GT(text, 5);
  EXPECT_EQ(0, coloured);

  item.SetEnabled(true);
  item.SetChecked(true);  // no image: the check mark at (4, 3)
  menu.Look().Draw(&item, b.Canvas(), R, false, nullptr, MenuCheckedImages());
  int marked = 0;
  for (int y = 3; y < 19; ++y)
    for (int x = 4; x < 20; ++x) marked += b.Canvas()->Pixel(x, y) != TColor(0x00CED3D6);
  EXPECT_GT(marked, 5);

  TMenuItem line(nullptr);
  line.SetCaption(L"-");
  menu.Look().Draw(&line, b.Canvas(), RECT{0, 0, 120, 5}, false, nullptr, nullptr);
  EXPECT_EQ(TColor(0x00848284), b.Canvas()->Pixel(30, 2));
  EXPECT_EQ(clWhite, b.Canvas()->Pixel(29, 2));
}

// A main menu's own check-mark list is not an image list of its items: an
// item with ImageIndex 0 shows an image only from a user's list, and a
// checked one gets the check mark without one and the framed box with one.
TEST(ThemekitMenus, MainMenuItemsTakeImagesOnlyFromTheUsersList) {
  TsuiMainMenu menu(nullptr);  // DeepBlue
  auto* item = new TMenuItem(&menu);
  item->SetCaption(L"Item");
  item->SetImageIndex(0);
  menu.Items()->Add(item);
  menu.HookItems();
  TBitmap b(120, 21);
  const RECT R{0, 0, 120, 21};
  const auto changedInIconBox = [&](TColor background) {
    int changed = 0;
    for (int y = 3; y < 19; ++y)
      for (int x = 4; x < 20; ++x) changed += b.Canvas()->Pixel(x, y) != background;
    return changed;
  };
  const TColor bar = TColor(0x00CED3D6);
  item->OnDrawItem()(item, b.Canvas(), R, false);
  EXPECT_EQ(0, changedInIconBox(bar));  // no image, no check mark
  item->SetChecked(true);
  item->OnDrawItem()(item, b.Canvas(), R, false);
  EXPECT_GT(changedInIconBox(bar), 5);  // the check mark
  EXPECT_EQ(bar, b.Canvas()->Pixel(2, 1));  // no framed box

  TImageList images(nullptr);
  images.SetWidth(16);
  images.SetHeight(16);
  TBitmap red(16, 16);
  red.Canvas()->Brush()->SetColor(clRed);
  red.Canvas()->FillRect(RECT{0, 0, 16, 16});
  images.Add(&red);
  menu.SetImages(&images);
  item->OnDrawItem()(item, b.Canvas(), R, false);
  EXPECT_EQ(clBlack, b.Canvas()->Pixel(2, 1));   // the framed box of a checked item with an image
  EXPECT_EQ(clRed, b.Canvas()->Pixel(10, 10));   // its image
  item->SetChecked(false);
  item->OnDrawItem()(item, b.Canvas(), R, false);
  EXPECT_EQ(bar, b.Canvas()->Pixel(2, 1));
  EXPECT_EQ(clRed, b.Canvas()->Pixel(10, 10));
  menu.SetImages(nullptr);
}

TEST(ThemekitMenus, MainMenuGoesToTheFramesMenuBar) {
  TForm host(nullptr);
  host.SetBounds(100, 100, 300, 200);
  auto* frame = new TsuiForm(&host);
  frame->SetUIStyle(TsuiUIStyle::WinXP);
  auto* menu = new TsuiMainMenu(&host);
  for (const wchar_t* caption : {L"&File", L"&Edit"}) {
    auto* item = new TMenuItem(&host);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  menu->HookItems();
  EXPECT_EQ(menu, frame->Menu());
  EXPECT_EQ(nullptr, host.Menu());
  EXPECT_EQ(nullptr, menu->Images());  // its own check list is not shown as Images
  ASSERT_NE(nullptr, frame->MenuBar());
  host.Show();
  Pump(50);
  EXPECT_EQ(2, frame->MenuBar()->ButtonCount());
  EXPECT_EQ(L"&File", frame->MenuBar()->Buttons(0)->Caption());
  EXPECT_EQ(frame->TitleBar()->Height(), frame->MenuBar()->Top());
  // A menu merged into the themed menu shows on its bar, and goes again.
  TMainMenu merged(nullptr);
  auto* query = new TMenuItem(&merged);
  query->SetCaption(L"&Query");
  query->SetGroupIndex(3);
  merged.Items()->Add(query);
  menu->Merge(&merged);
  ASSERT_EQ(3, frame->MenuBar()->ButtonCount());
  EXPECT_EQ(query, frame->MenuBar()->Buttons(2)->MenuItem());
  menu->Unmerge(&merged);
  EXPECT_EQ(2, frame->MenuBar()->ButtonCount());
  // A style change recolours the existing bar.
  frame->SetUIStyle(TsuiUIStyle::DeepBlue);
  EXPECT_EQ(frame->Color(), frame->MenuBarColor());
  EXPECT_EQ(frame->Color(), frame->MenuBar()->Color());
  EXPECT_NE(frame->MenuBar()->Color(), TColor(0x00DEEBEF));  // not WinXP's any more
  delete menu;
  EXPECT_EQ(nullptr, frame->Menu());
  EXPECT_EQ(nullptr, frame->MenuBar());
}

// The frame and its title bar are panels: a description may give them
// panel properties, and they are taken for panels.
TEST(ThemekitFrame, FrameAndTitleBarArePanels) {
  TThemedHostForm host(nullptr);
  ReadComponentText(&host, "object ThemedHost: TThemedHostForm\n"
                           "  Width = 300\n"
                           "  Height = 200\n"
                           "  object suiForm1: TsuiForm\n"
                           "    BevelWidth = 3\n"
                           "    Alignment = taLeftJustify\n"
                           "  end\n"
                           "end\n");
  auto* frame = dynamic_cast<TsuiForm*>(host.FindComponent(L"suiForm1"));
  ASSERT_NE(frame, nullptr);
  TPanel* asPanel = frame;
  EXPECT_EQ(asPanel->BevelWidth(), 3);
  EXPECT_EQ(asPanel->Alignment(), taLeftJustify);
  // The frame turned its bevels off when it was made.
  EXPECT_EQ(asPanel->BevelOuter(), bvNone);
  EXPECT_EQ(asPanel->BevelInner(), bvNone);
  EXPECT_NE(dynamic_cast<TPanel*>(static_cast<TControl*>(frame->TitleBar())), nullptr);
  // Another frame is no plain panel: as FormPanel it keeps its bevels.
  auto* panel = new TPanel(&host);
  panel->SetParent(frame);
  panel->SetCaption(L"Panel");
  frame->SetFormPanel(panel);
  EXPECT_EQ(panel->BevelOuter(), bvNone);
  EXPECT_EQ(panel->Caption(), L"");
}

TEST_F(FrameHost, BorderIsPaintedWhenTheFramesWindowIsCreated) {
  Make(bsSizeable, TsuiUIStyle::DeepBlue);
  frame->SetBorderWidth(3);
  frame->SetBorderColor(TColor(0x0000FF));
  // Hidden, the frame's window erases nothing when made: what paints the
  // border then is its creation alone.
  frame->Hide();
  Pump(50);
  const int y = host->ClientHeight() / 2;
  HDC dc = GetDC(host->Handle());
  // Something else over the left border, then the frame's window anew.
  GdiHandle<HBRUSH> green(CreateSolidBrush(RGB(0, 255, 0)));
  RECT strip{0, 0, 3, host->ClientHeight()};
  FillRect(dc, &strip, green.Get());
  ASSERT_EQ(GetPixel(dc, 1, y), RGB(0, 255, 0));
  frame->RecreateWnd();
  frame->HandleNeeded();
  EXPECT_EQ(GetPixel(dc, 1, y), RGB(255, 0, 0));
  ReleaseDC(host->Handle(), dc);
}

// Grey pixel of the menu bar's window, or -1 when not grey.
int GreyAt(TToolBar* bar, int x, int y) {
  HDC dc = GetDC(bar->Handle());
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(bar->Handle(), dc);
  return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c) ? GetRValue(c) : -1;
}

TEST_F(FrameHost, MacMenuBarIsDrawnOverWithItsBarPicture) {
  Make(bsSizeable, TsuiUIStyle::MacOS);
  auto* menu = new TsuiMainMenu(host);
  menu->SetUIStyle(TsuiUIStyle::MacOS);
  auto* item = new TMenuItem(host);
  item->SetCaption(L"&File");
  menu->Items()->Add(item);
  menu->HookItems();
  ASSERT_NE(frame->MenuBar(), nullptr);
  TToolBar* bar = frame->MenuBar();
  bar->Repaint();
  Pump(50);
  // Right of the one button: the 22-row picture's greys, 251 at the top to
  // 235 at the bottom, stretched over the bar.
  const int x = bar->ClientWidth() - 5, H = bar->ClientHeight();
  ASSERT_EQ(H, 22);
  EXPECT_EQ(GreyAt(bar, x, 1), 250);
  EXPECT_EQ(GreyAt(bar, x, 20), 236);
  // In another style the picture is not drawn.
  frame->SetUIStyle(TsuiUIStyle::WinXP);
  menu->SetUIStyle(TsuiUIStyle::WinXP);
  bar->Repaint();
  Pump(50);
  EXPECT_NE(GreyAt(bar, x, 1), 250);
  EXPECT_NE(GreyAt(bar, x, 20), 236);
}

}  // namespace
}  // namespace kestu
