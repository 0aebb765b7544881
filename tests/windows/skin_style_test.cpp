// Style objects: a stored shadow on a skinned parent, the border bitmap of
// the section, the skinned panel's bevel, the tab control's shadow below its
// tabs, and the group property messages (honoured only from our own thread).
#include <gtest/gtest.h>

#include "framework/FormReader.h"
#include "framework/Forms.h"
#include "skin/SkinGdi.h"
#include "skin/sCommonData.h"
#include "skin/sCustomButton.h"
#include "skin/sPanel.h"
#include "skin/sSkinManager.h"

#include "SkinTestForm.h"

#include <commctrl.h>

#include <atomic>
#include <thread>

namespace kestu {

class TStyleTestForm : public TForm {
  KESTU_CLASS(TStyleTestForm, TForm)
 public:
  using TForm::TForm;
};
KESTU_PUBLISH(TStyleTestForm) {}

// A native tab control with one tab.
class TTestTabs : public TWinControl {
  KESTU_CLASS(TTestTabs, TWinControl)
 public:
  using TWinControl::TWinControl;

 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    params.SubclassOf = WC_TABCONTROLW;
  }
  void CreateHandleDone() override {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"Page");
    SendMessageW(Handle(), TCM_INSERTITEMW, 0, LPARAM(&item));
  }
};
KESTU_PUBLISH(TTestTabs) {}

namespace {

constexpr char kShadowForm[] = R"(object StyleTestForm: TStyleTestForm
  Width = 320
  Height = 240
  object Panel1: TsPanel
    Width = 200
    Height = 120
    object Button1: TsButton
      Left = 10
      Top = 10
      sStyle.Effects.Shadow.DontUse = False
      sStyle.Effects.Shadow.Enabled = True
    end
  end
  object Panel2: TPanel
    Left = 0
    Top = 130
    object Button2: TsButton
      sStyle.Effects.Shadow.Enabled = True
    end
  end
end
)";

TEST(SkinStyle, StoredShadowIsEnabledOnceTheSkinnedParentCanAnswer) {
  EnsureSkinClasses();
  auto form = std::make_unique<TStyleTestForm>(Application);
  ReadComponentText(form.get(), kShadowForm);
  auto* onSkinned = static_cast<TsButton*>(form->FindComponent(L"Button1"));
  auto* onPlain = static_cast<TsButton*>(form->FindComponent(L"Button2"));
  form->Show();
  EXPECT_TRUE(onSkinned->sStyle()->Effects()->Shadow()->Enabled());
  EXPECT_FALSE(onSkinned->sStyle()->Effects()->Shadow()->EnablePending());
  // A parent that is not skinned refuses the shadow, as at run time.
  EXPECT_FALSE(onPlain->sStyle()->Effects()->Shadow()->Enabled());
  EXPECT_FALSE(onPlain->sStyle()->Effects()->Shadow()->EnablePending());
}

TEST(SkinStyle, BorderBitmapIsTheSectionsOwnMaskWhileSkinned) {
  EnsureSkinClasses();
  std::unique_ptr<TSkinTestForm> form(CreateFormFromResource<TSkinTestForm>(Application));
  TsActiveBGStyle* style = form->Button1->sStyle();
  // The internal skin cuts the button's borders from its master bitmap.
  ASSERT_GE(style->BorderMaskIndex, 0);
  EXPECT_EQ(style->GetBorderBitmap(), nullptr);
  // Slate's have a bitmap of their own: three states side by side.
  form->sSkinManager1->SetSkinDirectory(L"Skins");
  form->sSkinManager1->SetSkinName(L"Slate");
  ASSERT_GE(style->BorderMaskIndex, 0);
  const PixelBuffer* border = style->GetBorderBitmap();
  ASSERT_NE(border, nullptr);
  EXPECT_EQ(border->Width() % 3, 0);
  form->sSkinManager1->SetActive(false);
  EXPECT_EQ(style->GetBorderBitmap(), nullptr);
}

TEST(SkinStyle, PaintingBevelIsThePanelsOuterBevelBothWays) {
  EnsureSkinClasses();
  TsPanel panel(nullptr);
  panel.sStyle()->Painting()->SetBevel(cbLoweredHard);
  EXPECT_EQ(panel.BevelOuter(), cbLoweredHard);
  panel.SetBevelOuter(cbNone);
  EXPECT_EQ(panel.sStyle()->Painting()->Bevel(), cbNone);
}

// The first row of column x that is no longer white.
int FirstShadedRow(PixelRows rows, int x) {
  for (int y = 0; y < rows.height; ++y)
    if (rows.At(x, y) != Bgr{255, 255, 255}) return y;
  return -1;
}

TEST(SkinStyle, TabControlShadowStartsBelowItsTabs) {
  EXPECT_EQ(ShadowBounds({10, 20, 110, 80}, 4, 1, 2, 15), (PixRect{15, 41, 115, 86}));
  EnsureSkinClasses();
  std::unique_ptr<TForm> form(new TForm(Application));
  auto* tabs = new TTestTabs(form.get());
  tabs->SetParent(form.get());
  tabs->SetBounds(20, 20, 160, 120);
  form->Show();
  const int tabHeight = TabHeightOf(tabs);
  ASSERT_GT(tabHeight, 0);
  ASSERT_LT(tabHeight, 60);
  auto* plain = new TPanel(form.get());
  plain->SetParent(form.get());
  EXPECT_EQ(TabHeightOf(plain), 0);

  auto shadedFrom = [&](int code) {
    TsPassiveBGStyle style(tabs);
    style.ControlKindCode = code;
    TBitmap target(300, 300);
    FillDeviceRect(target.Canvas()->Handle(), {0, 0, 300, 300}, 0xFFFFFF);
    style.PaintShadow(target.Canvas()->Handle(), 0, 0);
    return FirstShadedRow(target.Rows(), 100);
  };
  const int plainTop = shadedFrom(68), tabTop = shadedFrom(kTabControlCode);
  ASSERT_GE(plainTop, 0);
  EXPECT_EQ(tabTop - plainTop, tabHeight);
}

class SkinGroupMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureSkinClasses();
    form.reset(new TStyleTestForm(Application));
    panel = new TsPanel(form.get());
    panel->SetParent(form.get());
    button = new TsButton(panel);
    button->SetParent(panel);
    form->Show();
  }
  TsShadow* Shadow() { return button->sStyle()->Effects()->Shadow(); }
  std::unique_ptr<TStyleTestForm> form;
  TsPanel* panel = nullptr;
  TsButton* button = nullptr;
};

TEST_F(SkinGroupMessages, ShadowSettingsFollowTheBaseGroup) {
  button->Perform(SKM_GROUP_SHADOWCOLOR, 0, 0x123456);
  button->Perform(SKM_GROUP_SHADOWOFFSET, 0, 3);
  button->Perform(SKM_GROUP_SHADOWTRANSPARENCY, 0, 150);
  button->Perform(SKM_GROUP_SHADOWBLUR, 7, 9);  // another group
  EXPECT_EQ(Shadow()->Color(), TColor(0x123456));
  EXPECT_EQ(Shadow()->Offset(), 3);
  EXPECT_EQ(Shadow()->Transparency(), 100);
  EXPECT_EQ(Shadow()->Blur(), 4);
  button->Perform(SKM_GROUP_SOFTCONTROL, 0, 0);
  EXPECT_FALSE(button->sStyle()->SoftControl());

  // Enabling is refused while DontUse is set, and for a hidden control.
  button->Perform(SKM_GROUP_SHADOWENABLED, 0, 1);
  EXPECT_FALSE(Shadow()->Enabled());
  Shadow()->SetDontUse(false);
  button->Hide();
  button->Perform(SKM_GROUP_SHADOWENABLED, 0, 1);
  EXPECT_FALSE(Shadow()->Enabled());
  button->Show();
  button->Perform(SKM_GROUP_SHADOWENABLED, 0, 1);
  EXPECT_TRUE(Shadow()->Enabled());
  button->Perform(SKM_GROUP_SHADOWENABLED, 0, 0);
  EXPECT_FALSE(Shadow()->Enabled());
}

TEST_F(SkinGroupMessages, PaintingColourAndCopyingFollowThePublishedGroup) {
  TsActiveBGStyle* style = button->sStyle();
  style->SetPaintGroupIndex(3);
  button->Perform(SKM_GROUP_PAINTINGCOLOR, 0, 0x0000FF);
  EXPECT_NE(style->Painting()->Color(), TColor(0x0000FF));
  button->Perform(SKM_GROUP_PAINTINGCOLOR, 3, 0x0000FF);
  EXPECT_EQ(style->Painting()->Color(), TColor(0x0000FF));
  button->Perform(SKM_GROUP_PAINTINGCOLOR, 21, 0x00FF00);  // every passive style's group
  EXPECT_EQ(style->Painting()->Color(), TColor(0x00FF00));

  auto* model = new TsButton(panel);
  model->sStyle()->Painting()->SetColor(0xABCDEF);
  model->sStyle()->Effects()->Shadow()->SetOffset(2);
  model->sStyle()->SetPaintGroupIndex(3);
  button->Perform(SKM_GROUP_COPYSTYLE, 3, LPARAM(model->sStyle()));
  EXPECT_EQ(style->Painting()->Color(), TColor(0xABCDEF));
  EXPECT_EQ(Shadow()->Offset(), 2);
  // A panel's style lacks a button style's settings: the button copies nothing.
  panel->sStyle()->SetPaintGroupIndex(3);
  panel->sStyle()->Painting()->SetColor(0x010203);
  button->Perform(SKM_GROUP_COPYSTYLE, 3, LPARAM(panel->sStyle()));
  EXPECT_EQ(style->Painting()->Color(), TColor(0xABCDEF));
  // The other way round the panel takes what it has in common.
  panel->Perform(SKM_GROUP_COPYSTYLE, 3, LPARAM(style));
  EXPECT_EQ(panel->sStyle()->Painting()->Color(), TColor(0xABCDEF));
}

TEST_F(SkinGroupMessages, BackgroundImageOnlyForListeningSeeThroughStyles) {
  TBitmap image(4, 4);
  TsPassiveBGStyle* style = panel->sStyle();
  panel->Perform(SKM_GROUP_BGIMAGE, 0, LPARAM(&image));
  EXPECT_EQ(style->Background()->Image()->Image()->Width(), 0);
  style->Background()->SetListenMSG(true);
  panel->Perform(SKM_GROUP_BGIMAGE, 0, LPARAM(&image));
  EXPECT_EQ(style->Background()->Image()->Image()->Width(), 4);
}

TEST_F(SkinGroupMessages, AreIgnoredFromAnotherThread) {
  const HWND window = button->Handle();
  std::atomic<bool> sent{false};
  std::thread other([window, &sent] {
    SendMessageW(window, SKM_GROUP_SHADOWCOLOR, 0, 0x654321);
    sent = true;
  });
  // The sender waits for this thread to take its message.
  for (int i = 0; i < 500 && !sent; ++i) {
    Application->ProcessMessages();
    Sleep(2);
  }
  other.join();
  ASSERT_TRUE(sent);
  EXPECT_NE(Shadow()->Color(), TColor(0x654321));
}

}  // namespace
}  // namespace kestu
