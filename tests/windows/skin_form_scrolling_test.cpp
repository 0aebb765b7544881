// Skinned scroll bars of a scrolling form under the skin provider: which bars
// and grip the content gets, scrolling the children with a bar and back when
// the bar goes, and nothing for a form that did not scroll.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "skin/sPanel.h"
#include "skin/sScrollBar.h"
#include "skin/sSkinProvider.h"

#include "SkinTestFixture.h"

namespace kestu {
namespace {

void Pump() {
  for (int i = 0; i < 5; ++i) {
    Application->ProcessMessages();
    Sleep(10);
  }
}

class FormScrolling : public ::testing::Test {
 protected:
  void Make(bool autoScroll) {
    form = CreateSkinTestForm();
    form->SetPosition(poDesigned);
    form->SetAutoScroll(autoScroll);
    form->SetBounds(60, 60, 320, 240);
    provider = new TsSkinProvider(form);
    provider->Loaded();
    tall = new TsPanel(form);
    tall->SetParent(form);
    tall->SetBounds(10, 300, 100, 100);
    form->Show();
    Pump();
    provider->UpdateScrollBars();
  }
  void TearDown() override { delete form; }
  TsFormScrolling* S() { return provider->Scrolling(); }
  TSkinTestForm* form = nullptr;
  TsSkinProvider* provider = nullptr;
  TsPanel* tall = nullptr;
};

TEST_F(FormScrolling, ContentBelowTheClientGetsOnlyAVerticalBarAndNoGrip) {
  Make(true);
  EXPECT_FALSE(form->AutoScroll());  // the provider scrolls instead
  ASSERT_NE(S()->VertBar(), nullptr);
  EXPECT_EQ(S()->HorzBar(), nullptr);
  EXPECT_EQ(S()->Grip(), nullptr);
  TsScrollBar* bar = S()->VertBar();
  const int W = form->ClientWidth(), H = form->ClientHeight();
  EXPECT_EQ(bar->Left(), W - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(bar->Height(), H);
  EXPECT_EQ(bar->Max(), 400 + 2 - H + 4);
  EXPECT_EQ(bar->PageSize(), H - 4);
  EXPECT_TRUE(bar->Skinned());
}

TEST_F(FormScrolling, MovingABarScrollsTheChildrenAndRemovingItPutsThemBack) {
  Make(true);
  TsScrollBar* bar = S()->VertBar();
  ASSERT_NE(bar, nullptr);
  const int buttonTop = form->Button1->Top();
  bar->SetPosition(50);
  EXPECT_EQ(tall->Top(), 250);
  EXPECT_EQ(form->Button1->Top(), buttonTop - 50);
  EXPECT_EQ(bar->Top(), 0);  // the bars themselves stay
  bar->SetPosition(30);
  EXPECT_EQ(tall->Top(), 270);
  // The content no longer needs the bar: it goes, the content returns.
  tall->SetTop(20 - 30);  // at 20 once unscrolled: inside the client
  provider->UpdateScrollBars();
  EXPECT_EQ(S()->VertBar(), nullptr);
  EXPECT_EQ(form->Button1->Top(), buttonTop);
  EXPECT_EQ(tall->Top(), 20);
}

TEST_F(FormScrolling, WideAndTallContentGetsBothBarsWithTheGripBetween) {
  Make(true);
  auto* wide = new TsPanel(form);
  wide->SetParent(form);
  wide->SetBounds(500, 10, 100, 40);
  provider->UpdateScrollBars();
  ASSERT_NE(S()->VertBar(), nullptr);
  ASSERT_NE(S()->HorzBar(), nullptr);
  ASSERT_NE(S()->Grip(), nullptr);
  const int W = form->ClientWidth(), H = form->ClientHeight();
  const int CX = GetSystemMetrics(SM_CXVSCROLL), CY = GetSystemMetrics(SM_CYHSCROLL);
  EXPECT_EQ(S()->VertBar()->Height(), H - CY);
  EXPECT_EQ(S()->HorzBar()->Width(), W - CX);
  EXPECT_EQ(S()->Grip()->BoundsRect().left, W - CX);
  EXPECT_EQ(S()->Grip()->BoundsRect().top, H - CY);
  EXPECT_EQ(S()->Grip()->LinkedForm, form);
  S()->HorzBar()->SetPosition(40);
  EXPECT_EQ(wide->Left(), 460);
  // The skin goes: bars and grip with it, content unscrolled.
  SendMessageW(form->Handle(), SKM_DROPSKIN, 0, 0);
  EXPECT_EQ(S()->VertBar(), nullptr);
  EXPECT_EQ(S()->HorzBar(), nullptr);
  EXPECT_EQ(S()->Grip(), nullptr);
  EXPECT_EQ(wide->Left(), 500);
}

TEST_F(FormScrolling, AFormThatDidNotScrollGetsNoBars) {
  Make(false);
  EXPECT_EQ(S()->VertBar(), nullptr);
  EXPECT_EQ(S()->HorzBar(), nullptr);
}

}  // namespace
}  // namespace kestu
