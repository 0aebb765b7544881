// Skinned panels and the size grip on a skinned form: content insets, the
// OnPaint drawing under the skin, the grip painting as a panel without a
// form and showing the form's corner with one, and handing presses on.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "skin/core/SectionPaint.h"
#include "skin/sPanel.h"
#include "skin/sSkinProvider.h"

#include "SkinTestFixture.h"

#include <windowsx.h>

namespace kestu {
namespace {

void Pump(int ms = 50) {
  const DWORD end = GetTickCount() + DWORD(ms);
  while (GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(2);
  }
}

class SkinPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateSkinTestForm();
    form->SetPosition(poDesigned);
    form->SetBounds(50, 50, 360, 260);
    provider = new TsSkinProvider(form);
    provider->Loaded();
    panel = new TsPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 50, 150, 80);
    panel->Loaded();
    form->Show();
    Pump();
  }
  void TearDown() override { delete form; }
  TSkinTestForm* form = nullptr;
  TsSkinProvider* provider = nullptr;
  TsPanel* panel = nullptr;
};

TEST_F(SkinPanel, ContentStandsInByBorderAndTheBevelsThereAre) {
  ASSERT_NE(panel->sStyle()->Section(), nullptr);
  auto* child = new TsPanel(form);
  child->SetParent(panel);
  child->SetAlign(alClient);
  panel->SetBorderWidth(3);
  const int outer = panel->sStyle()->GetBevel() != cbNone ? panel->BevelWidth() : 0;
  EXPECT_EQ(panel->ContentInset(), 3 + outer);
  panel->SetBevelInner(cbLoweredSoft);
  EXPECT_EQ(panel->ContentInset(), 3 + outer + 2);
  Pump();
  EXPECT_EQ(child->Left(), 3 + outer + 2);
  EXPECT_EQ(child->Width(), 150 - 2 * (3 + outer + 2));

  // Without a skin the panel's own outer bevel counts.
  TsSkinData::Instance().SkinLoaded = false;
  panel->sStyle()->RefreshLookups();
  panel->SetBevelInner(cbNone);
  EXPECT_EQ(panel->ContentInset(), 3 + 2);
  panel->SetBevelOuter(cbNone);
  EXPECT_EQ(panel->ContentInset(), 3);
  TsSkinData::Instance().SkinLoaded = true;
  panel->sStyle()->RefreshLookups();
}

TEST_F(SkinPanel, TheSkinCoversWhatOnPaintDrewAndTheWindowShowsTheCache) {
  bool painted = false;
  panel->SetOnPaint([&](TsTransparentPanel*, TCanvas* canvas) {
    painted = true;
    FillDeviceRect(canvas->Handle(), {0, 0, 150, 80}, 0x0000FF);
  });
  panel->SetCaption(L"");
  panel->Invalidate();
  panel->Repaint();
  ASSERT_TRUE(painted);
  PixelRows cache = panel->sStyle()->CacheBitmap->Rows();
  PixelBuffer reference(150, 80);
  PaintSectionItem(TsSkinData::Instance(), panel->sStyle()->SectionIndex, "TsPanel",
                   panel->sStyle()->QueryParentCache(), reference.Rows(), {10, 50}, {0, 0, 150, 80}, false, false);
  HDC dc = GetDC(panel->Handle());
  for (PixPoint p : {PixPoint{75, 10}, PixPoint{1, 1}, PixPoint{148, 78}, PixPoint{20, 60}}) {
    const Bgr c = cache.At(p.X, p.Y);
    EXPECT_FALSE(c.r == 255 && c.g == 0 && c.b == 0) << p.X << "," << p.Y;
    EXPECT_EQ(c, reference.Rows().At(p.X, p.Y)) << p.X << "," << p.Y;
    EXPECT_EQ(GetPixel(dc, p.X, p.Y), RGB(c.r, c.g, c.b)) << p.X << "," << p.Y;
  }
  ReleaseDC(panel->Handle(), dc);
}

TEST_F(SkinPanel, AGripWithoutFormPaintsAsItsSectionAndWithOneShowsTheFormsCorner) {
  auto* grip = new TsGrip(form);
  grip->SetParent(form);
  const int W = form->ClientWidth(), H = form->ClientHeight();
  grip->SetBounds(W - 20, H - 20, 20, 20);
  Pump();
  grip->Repaint();
  ASSERT_EQ(grip->sStyle()->SkinSection(), L"TSGRIP");
  ASSERT_GE(grip->sStyle()->SectionIndex, 0);
  PixelBuffer reference(20, 20);
  PaintSectionItem(TsSkinData::Instance(), grip->sStyle()->SectionIndex, "TSGRIP", grip->sStyle()->QueryParentCache(),
                   reference.Rows(), {W - 20, H - 20}, {0, 0, 20, 20}, false, false);
  HDC dc = GetDC(grip->Handle());
  for (int i : {2, 10, 17}) {
    const Bgr c = reference.Rows().At(i, i);
    EXPECT_EQ(GetPixel(dc, i, i), RGB(c.r, c.g, c.b)) << i;
  }

  grip->LinkedForm = form;
  grip->Repaint();
  TBitmap* frame = provider->FrameBitmap();
  const FrameMetrics m = provider->Metrics();
  for (int i : {2, 10, 17}) {
    const Bgr c = frame->Rows().At(m.ClientX() + W - 20 + i, m.ClientY() + 1 + H - 20 + i);
    EXPECT_EQ(GetPixel(dc, i, i), RGB(c.r, c.g, c.b)) << i;
  }
  ReleaseDC(grip->Handle(), dc);
}

TEST_F(SkinPanel, APressOnAGripAsksItsFormToSizeFromTheCorner) {
  auto* grip = new TsGrip(form);
  grip->SetParent(form);
  grip->SetBounds(100, 100, 20, 20);
  Pump();
  grip->LinkedForm = form;
  SendMessageW(grip->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, form->Handle(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
  EXPECT_EQ(msg.wParam, WPARAM(HTBOTTOMRIGHT));
  const POINT screen = grip->ClientToScreen(POINT{5, 6});
  EXPECT_EQ(GET_X_LPARAM(msg.lParam), screen.x);
  EXPECT_EQ(GET_Y_LPARAM(msg.lParam), screen.y);
  SendMessageW(grip->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
  // Without a form the press is the panel's own.
  grip->LinkedForm = nullptr;
  SendMessageW(grip->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
  EXPECT_FALSE(PeekMessageW(&msg, form->Handle(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
  SendMessageW(grip->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
}

}  // namespace
}  // namespace kestu
