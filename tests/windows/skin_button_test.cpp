// The skinned push button on a shown form with the internal skin: window
// shape from the border mask, hot and pressed states, fading, clicks by
// mouse and keyboard, Default and Cancel; the style objects' value rules and
// background composition; the skin state of style-less controls.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/core/ButtonLayout.h"
#include "skin/core/PixelFill.h"
#include "skin/sCommonData.h"
#include "skin/sCustomButton.h"
#include "skin/sSkinManager.h"

#include "SkinTestFixture.h"

namespace kestu {

namespace {

void Pump(int ms = 50) {
  const DWORD end = GetTickCount() + DWORD(ms);
  while (GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(2);
  }
}

class SkinButton : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateSkinTestForm();
    button = form->Button1;
    form->Show();
    Pump();
    button->Repaint();
  }
  void TearDown() override { delete form; }
  Bgr CachePixel(int x, int y) { return button->sStyle()->CacheBitmap->Rows().At(x, y); }
  TSkinTestForm* form = nullptr;
  TsButton* button = nullptr;
};

TEST_F(SkinButton, TakesTheShapeOfTheBorderMaskWithoutItsMagentaCorners) {
  ASSERT_TRUE(button->sStyle()->Section());
  EXPECT_FALSE(button->RegionChanged());
  GdiHandle<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(button->Handle(), region.Get()), ERROR);
  const int W = button->Width(), H = button->Height();
  // The artwork's corners: three magenta pixels in the first row, two in
  // the second, one in the third.
  EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
  EXPECT_FALSE(PtInRegion(region.Get(), 2, 0));
  EXPECT_TRUE(PtInRegion(region.Get(), 3, 0));
  EXPECT_FALSE(PtInRegion(region.Get(), 1, 1));
  EXPECT_TRUE(PtInRegion(region.Get(), 1, 2));
  EXPECT_FALSE(PtInRegion(region.Get(), W - 1, 0));
  EXPECT_FALSE(PtInRegion(region.Get(), 0, H - 1));
  EXPECT_FALSE(PtInRegion(region.Get(), W - 1, H - 1));
  EXPECT_TRUE(PtInRegion(region.Get(), W / 2, H / 2));
  // A resize cuts a new region on the next paint.
  button->SetWidth(W + 10);
  EXPECT_TRUE(button->RegionChanged());
  button->Repaint();
  EXPECT_FALSE(button->RegionChanged());
}

// A resize repaints the whole button, not only the strip the system exposes:
// the old right and bottom borders do not stay behind.
TEST_F(SkinButton, ResizeRepaintsTheWholeButton) {
  Pump();
  ValidateRect(button->Handle(), nullptr);
  const int W = button->Width(), H = button->Height();
  button->SetBounds(button->Left(), button->Top(), W + 20, H + 6);
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(button->Handle(), &update, FALSE));
  EXPECT_EQ(0, update.left);
  EXPECT_EQ(0, update.top);
  EXPECT_EQ(W + 20, update.right);
  EXPECT_EQ(H + 6, update.bottom);
  // Painted, the old right border's column shows the button's face.
  Pump();
  const Bgr inside = CachePixel(W - 1, (H + 6) / 2);
  HDC screen = GetDC(button->Handle());
  EXPECT_EQ(GetPixel(screen, W - 1, (H + 6) / 2), RGB(inside.r, inside.g, inside.b));
  ReleaseDC(button->Handle(), screen);
}

TEST_F(SkinButton, FadesInToTheHotLookInExactlyNStepsAndBackOut) {
  // A focused button already looks hot: move the focus away first.
  auto* plain = new TButton(form);
  plain->SetParent(form);
  plain->SetBounds(100, 110, 75, 25);
  plain->SetFocus();
  Pump();
  button->Repaint();
  ASSERT_EQ(button->StateIndex(), 0);
  const Bgr normal = CachePixel(button->Width() / 2, 4);
  ASSERT_EQ(button->Fade().Iterations, 2);
  button->Perform(CM_MOUSEENTER);
  EXPECT_EQ(button->StateIndex(), 1);
  EXPECT_EQ(button->FadeTimer()->Direction, 1);
  EXPECT_EQ(button->FadeStep(), 1);
  for (int i = 0; i < 100 && button->FadeTimer()->Direction != 0; ++i) Pump(10);
  EXPECT_EQ(button->FadeTimer()->Direction, 0);
  EXPECT_EQ(button->FadeStep(), 2);
  const Bgr hot = CachePixel(button->Width() / 2, 4);
  EXPECT_NE(hot, normal);
  // What the window shows at the end is the hot look itself.
  HDC screen = GetDC(button->Handle());
  COLORREF shown = GetPixel(screen, button->Width() / 2, 4);
  ReleaseDC(button->Handle(), screen);
  EXPECT_EQ(shown, RGB(hot.r, hot.g, hot.b));

  button->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(button->FadeTimer()->Direction, 2);
  for (int i = 0; i < 100 && button->FadeTimer()->Direction != 0; ++i) Pump(10);
  EXPECT_EQ(button->FadeStep(), 0);
  EXPECT_EQ(button->StateIndex(), 0);
  EXPECT_EQ(CachePixel(button->Width() / 2, 4), normal);
}

// A skin whose fade intervals are 0 or negative (a timer that never fires)
// gets no fading: the new look is there at once, and a hostile iteration
// count does not overflow the pressed button's fade step.
TEST_F(SkinButton, FadeIntervalsOfNoTimeMeanNoFading) {
  auto* plain = new TButton(form);
  plain->SetParent(form);
  plain->SetBounds(100, 110, 75, 25);
  plain->SetFocus();
  Pump();
  auto* section = const_cast<TsGeneralData*>(button->sStyle()->Section());
  ASSERT_TRUE(section);
  const Bgr normal = CachePixel(button->Width() / 2, 4);
  section->FadingIntervalIn = 0;
  section->FadingIntervalOut = -5;
  button->Perform(CM_MOUSEENTER);
  EXPECT_EQ(button->FadeTimer()->Direction, 0);
  EXPECT_FALSE(button->FadeTimer()->Enabled());
  EXPECT_EQ(button->FadeStep(), 2);
  Pump();
  const Bgr hot = CachePixel(button->Width() / 2, 4);
  EXPECT_NE(hot, normal);
  HDC screen = GetDC(button->Handle());
  EXPECT_EQ(GetPixel(screen, button->Width() / 2, 4), RGB(hot.r, hot.g, hot.b));
  ReleaseDC(button->Handle(), screen);
  button->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(button->FadeTimer()->Direction, 0);
  EXPECT_EQ(button->FadeStep(), 0);
  Pump();
  EXPECT_EQ(CachePixel(button->Width() / 2, 4), normal);

  section->FadingIterations = INT_MIN;
  SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(button->FadeStep(), 0);
  SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
}

// The shadow's transparency rounds its halves to the even neighbour, and a
// hostile offset saturates instead of wrapping round.
TEST(SkinShadow, TransparencyRoundsHalvesToEvenAndOffsetsSaturate) {
  EXPECT_EQ(60, ShadowTransparency(60, 0));
  EXPECT_EQ(100, ShadowTransparency(60, 100));
  EXPECT_EQ(62, ShadowTransparency(50, 25));   // 62.5
  EXPECT_EQ(64, ShadowTransparency(50, 27));   // 63.5
  EXPECT_EQ(1, ShadowTransparency(0, 1));      // 1.0
  EXPECT_EQ(0, ShadowTransparency(0, 0));
  EXPECT_EQ(51, ShadowTransparency(2, 50));    // 51.0
  EXPECT_EQ(74, ShadowTransparency(48, 50));   // 74.0
  EXPECT_EQ(76, ShadowTransparency(51, 50));   // 75.5
  const PixRect moved = ShadowBounds(RECT{10, 20, 30, 40}, 3, 1, -2);
  EXPECT_EQ((PixRect{14, 21, 34, 41}), moved);
  const PixRect distant = ShadowBounds(RECT{10, 20, 30, 40}, INT_MAX, INT_MAX, 0);
  EXPECT_EQ(1 << 27, distant.Left);
  EXPECT_EQ(1 << 27, distant.Right);
  EXPECT_EQ(1 << 27, distant.Top);
  const PixRect back = ShadowBounds(RECT{10, 20, 30, 40}, INT_MIN, 0, INT_MIN);
  EXPECT_EQ(-(1 << 27), back.Left);
  EXPECT_EQ(-(1 << 27), back.Bottom);
}

TEST_F(SkinButton, ClicksOnlyWhenReleasedInsideAndPassesItsModalResult) {
  button->SetModalResult(mrOk);
  SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_TRUE(button->Down());
  EXPECT_EQ(button->StateIndex(), 2);
  EXPECT_EQ(GetFocus(), button->Handle());
  SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 300));
  EXPECT_FALSE(button->Down());
  EXPECT_EQ(form->clicks, 0);
  EXPECT_EQ(form->ModalResult(), mrNone);

  SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(12, 12));
  EXPECT_EQ(form->clicks, 1);
  EXPECT_EQ(form->ModalResult(), mrOk);
  form->SetModalResult(mrNone);
  // A release without a press does nothing.
  SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(12, 12));
  EXPECT_EQ(form->clicks, 1);
}

TEST_F(SkinButton, EnterClicksTheDefaultButtonOnlyWhileNoOtherSkinnedButtonHasTheFocus) {
  auto* other = new TsButton(form);
  other->SetParent(form);
  other->SetBounds(10, 110, 75, 25);
  auto* plain = new TButton(form);
  plain->SetParent(form);
  plain->SetBounds(100, 110, 75, 25);
  button->SetDefault(true);

  plain->SetFocus();
  Pump();
  EXPECT_TRUE(button->ActiveDefault());
  EXPECT_EQ(button->StateIndex(), 1);  // the active default looks hot
  EXPECT_EQ(button->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
  EXPECT_EQ(form->clicks, 1);
  EXPECT_FALSE(button->Down());

  other->SetFocus();
  Pump();
  EXPECT_FALSE(button->ActiveDefault());
  EXPECT_EQ(button->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
  EXPECT_EQ(form->clicks, 1);

  button->SetFocus();
  Pump();
  EXPECT_TRUE(button->ActiveDefault());
  EXPECT_EQ(button->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 0);  // not a Cancel button
  button->SetCancel(true);
  EXPECT_EQ(button->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
  EXPECT_EQ(form->clicks, 2);
  // Space presses the focused button; releasing the key clicks it.
  EXPECT_EQ(button->Perform(CM_DIALOGCHAR, L' ', 0), 1);
  EXPECT_TRUE(button->Down());
  button->Perform(WM_KEYUP, VK_SPACE, 0);
  EXPECT_FALSE(button->Down());
  EXPECT_EQ(form->clicks, 3);
}

TEST_F(SkinButton, AnswersTheSkinQueriesAndFollowsSkinChanges) {
  StyleQueryReply reply = QueryStyleOf(button->Handle());
  EXPECT_EQ(reply.Kind, kStyleActiveBG);
  EXPECT_EQ(reply.Style, button->sStyle());
  CacheReply = {};
  SendMessageW(button->Handle(), SKM_QUERYCACHE, 0, 0);
  EXPECT_TRUE(CacheReply.Valid);
  EXPECT_EQ(CacheReply.Bitmap.width, button->Width());

  // Skin messages of another group are ignored.
  const int section = button->sStyle()->SectionIndex;
  SendMessageW(button->Handle(), SKM_RESETLOOKUPS, 1, 0);
  EXPECT_EQ(button->sStyle()->SectionIndex, section);
  SendMessageW(button->Handle(), SKM_RESETLOOKUPS, 0, 0);
  EXPECT_EQ(button->sStyle()->SectionIndex, -1);
  SendMessageW(button->Handle(), SKM_APPLYSKIN, 0, 0);
  EXPECT_EQ(button->sStyle()->SectionIndex, section);

  // Without the skin the button paints from its own values: the section's
  // white top gives way to its own grey gradient start.
  const Bgr skinned = CachePixel(button->Width() / 2, 3);
  form->sSkinManager1->SetActive(false);
  EXPECT_EQ(button->sStyle()->Section(), nullptr);
  button->Repaint();
  EXPECT_NE(CachePixel(button->Width() / 2, 3), skinned);
  form->sSkinManager1->SetActive(true);
  button->Repaint();
  EXPECT_EQ(CachePixel(button->Width() / 2, 3), skinned);
}

TEST(SkinStyle, SharesAndShadowValuesStayInRange) {
  TsActiveBGStyle style(nullptr);
  TsBackground* bg = style.Background();
  bg->Image()->SetPercent(40);
  bg->Gradient()->SetPercent(80);
  EXPECT_EQ(bg->Image()->Percent(), 20);
  bg->Gradient()->SetPercent(10);
  bg->Image()->SetPercent(95);
  EXPECT_EQ(bg->Gradient()->Percent(), 5);
  style.Effects()->Shadow()->SetTransparency(150);
  EXPECT_EQ(style.Effects()->Shadow()->Transparency(), 100);
  style.Effects()->Shadow()->SetTransparency(-5);
  EXPECT_EQ(style.Effects()->Shadow()->Transparency(), 0);
  // A shadow needs a skinned parent.
  style.Effects()->Shadow()->SetEnabled(true);
  EXPECT_FALSE(style.Effects()->Shadow()->Enabled());
  bg->Gradient()->SetData(String(300, L'1'));
  EXPECT_EQ(bg->Gradient()->Data().size(), 255u);
}

TEST(SkinStyle, OwnBackgroundMixesImageAndGradientAndShowsTheParentWhenSeeThrough) {
  PixelBuffer tile(4, 4), target(8, 8), parent(20, 20);
  FillSolid(tile.Rows(), {0, 0, 4, 4}, BgrFromColor(0xFF0000));  // blue
  FillSolid(parent.Rows(), {0, 0, 20, 20}, BgrFromColor(0x00FF00));
  TsGradArray green = ParseGradient("65280;65280;100;0;0");
  OwnBackground bg;
  bg.ImagePercent = 30;
  bg.GradientPercent = 70;
  bg.Color = 0x0000FF;  // red: must not show, the shares add up to 100
  bg.Image = tile.Rows();
  bg.Gradient = &green;
  PaintOwnBG(target.Rows(), bg);
  Bgr p = target.At(5, 5);
  EXPECT_EQ(p.r, 0);
  // min(30 x 256 div 100, 255) = 76: the tile keeps 76/256 of 255, rounded.
  EXPECT_EQ(p.b, 76);
  EXPECT_GT(p.g, 0);

  bg = {};
  bg.Color = 0x123456;
  PaintOwnBG(target.Rows(), bg);
  EXPECT_EQ(target.At(7, 7), BgrFromColor(0x123456));

  bg.Transparency = 100;
  ParentCacheRef ref{parent.Rows(), 2, 3, true};
  parent.At(2 + 5 + 1, 3 + 6 + 1) = BgrFromColor(0xABCDEF);
  ComposeBackground(target.Rows(), bg, ref, {5, 6});
  EXPECT_EQ(target.At(1, 1), BgrFromColor(0xABCDEF));
  EXPECT_EQ(target.At(0, 0), BgrFromColor(0x00FF00));
  ComposeBackground(target.Rows(), bg, EmptyCacheRef, {5, 6});
  EXPECT_EQ(target.At(1, 1), BgrFromColor(0));  // the parent colour of nothing
}

TEST(SkinCaption, LayoutCentresTheTextBlock) {
  ButtonContentInput in;
  in.W = 193;
  in.H = 25;
  in.TW = 151;
  in.TH = 12;
  ButtonContentLayout l = LayoutButtonContent(in);
  EXPECT_EQ(l.Caption.Top, 6);
  EXPECT_EQ(l.Caption.Bottom, 19);
  EXPECT_EQ(l.d, 21);
  EXPECT_EQ(l.Caption.Left, 21 - 1);
  EXPECT_EQ(l.Caption.Right, 172 + 2);
  in = {};
  in.W = 100;
  in.H = 20;
  in.TW = 40;
  in.TH = 10;
  in.Margin = 4;
  in.Alignment = 0;
  l = LayoutButtonContent(in);
  EXPECT_EQ(l.Caption.Left, 4 - 1);
  EXPECT_EQ(l.Caption.Right, 100 - 4 - 2 * 26 + 2);
}

TEST_F(SkinButton, StateOfStylelessControlsFallsBackToTheSimpleEditSection) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  TsCommonData state(panel, false);
  state.Loaded();
  EXPECT_EQ(state.SkinSection(), L"SIMPLYEDIT");
  EXPECT_EQ(state.SectionIndex, TsSkinData::Instance().FindSectionIndex("SIMPLYEDIT"));
  EXPECT_EQ(state.BorderMaskIndex, TsSkinData::Instance().FindMaskIndex(state.SectionIndex, "SIMPLYEDIT",
                                                                        "BORDERSMASK"));
  state.BackgroundDirty = false;
  state.SetSkinSection(L"SIMPLYEDIT");
  EXPECT_FALSE(state.BackgroundDirty);
  state.SetSkinSection(L"TsButton");
  EXPECT_TRUE(state.IsSkinned());
  TMessage query{SKM_QUERYCACHE, 0, 0, 0};
  CacheReply.Valid = true;
  state.WndProc(query);
  EXPECT_FALSE(CacheReply.Valid);
  EXPECT_EQ(query.Result, 2);
  TMessage drop{SKM_DROPSKIN, 0, 0, 0};
  state.WndProc(drop);
  EXPECT_EQ(state.SectionIndex, -1);
  EXPECT_FALSE(state.IsSkinned());
}

}  // namespace
}  // namespace kestu
