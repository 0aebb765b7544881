// The themed message dialog: the window built from its stored description,
// laid out to the text, the icon and the buttons, styled, shown modally; the
// text Ctrl+C puts on the clipboard.
#include <gtest/gtest.h>

#include "framework/SysUtils.h"
#include "themekit/SUIButton.h"
#include "themekit/SUIDlg.h"
#include "themekit/frmMessage.h"

namespace kestu {
namespace {

std::vector<TsuiButton*> ButtonsOf(TfrmMsg* window) {
  std::vector<TsuiButton*> buttons;
  for (TComponent* c : window->ComponentList())
    if (auto* b = dynamic_cast<TsuiButton*>(c)) buttons.push_back(b);
  return buttons;
}

// The installer's dialog, as its stored values set it.
std::unique_ptr<TsuiMessageDialog> InstallerDialog() {
  auto dialog = std::make_unique<TsuiMessageDialog>(nullptr);
  dialog->SetCaption(L"提醒");
  dialog->SetUIStyle(TsuiUIStyle::MacOS);
  dialog->Font()->SetName(L"宋体");
  dialog->Font()->SetHeight(-12);
  dialog->SetButton1Caption(L"确定");
  dialog->SetText(L"数据库安装成功！");
  return dialog;
}

TEST(ThemekitDialog, InstallerMessageIsLaidOutBelowTheHiddenIcon) {
  auto dialog = InstallerDialog();
  std::unique_ptr<TfrmMsg> window(dialog->BuildWindow());
  EXPECT_EQ(24, window->lbl->Left());
  EXPECT_EQ(64, window->lbl->Top());
  EXPECT_FALSE(window->Image1->Visible());
  const auto buttons = ButtonsOf(window.get());
  ASSERT_EQ(1u, buttons.size());
  const TsuiButton* ok = buttons[0];
  EXPECT_EQ(175, ok->Left());  // 336 - 64 - 97
  EXPECT_EQ(124, ok->Top());   // 104 + 20
  EXPECT_EQ(73, ok->Width());
  EXPECT_EQ(25, ok->Height());
  EXPECT_EQ(L"确定", ok->Caption());
  EXPECT_EQ(mrOk, ok->ModalResult());
  EXPECT_EQ(crHandPoint, ok->Cursor());
  EXPECT_EQ(window->ActiveControl(), ok);
  // The style arrived through the frame: MacOS buttons are transparent.
  EXPECT_EQ(TsuiUIStyle::MacOS, ok->UIStyle());
  EXPECT_TRUE(ok->Transparent());
  // 272 x 169 with the stored 3-pixel border, then MacOS's 1-pixel border.
  EXPECT_EQ(268, window->Width());
  EXPECT_EQ(169, window->Height());
  const TsuiForm* frame = window->suiForm1;
  EXPECT_EQ(1, frame->Left());
  EXPECT_EQ(0, frame->Top());
  EXPECT_EQ(266, frame->FrameWidth());
  EXPECT_EQ(168, frame->FrameHeight());
  EXPECT_EQ(L"提醒", frame->Caption());
  EXPECT_EQ(L"提醒", window->Caption());
  EXPECT_EQ(L"宋体", window->lbl->Font()->Name());
  EXPECT_EQ(clWhite, frame->TitleBar()->Font()->Color());  // the caption font, set after the style
  EXPECT_EQ(TsuiUIStyle::MacOS, frame->TitleBar()->UIStyle());
}

// The frame's height rule is what the stored window was designed with: read
// from its description, window and frame have the stored sizes.
TEST(ThemekitDialog, StoredWindowLoadsAtItsDesignedSize) {
  std::unique_ptr<TfrmMsg> window(CreateFormFromResource<TfrmMsg>(Application));
  EXPECT_EQ(336, window->ClientWidth());
  EXPECT_EQ(130, window->ClientHeight());
  const TsuiForm* frame = window->suiForm1;
  EXPECT_EQ(3, frame->BorderWidth());
  EXPECT_EQ(3, frame->Left());
  EXPECT_EQ(330, frame->FrameWidth());
  EXPECT_EQ(127, frame->FrameHeight());
}

// Without a font of its own the dialog uses the system default font.
TEST(ThemekitDialog, DefaultFontIsTheSystemDefault) {
  TsuiMessageDialog dialog(nullptr);
  const TFont standard;
  EXPECT_EQ(standard.Name(), dialog.Font()->Name());
  EXPECT_EQ(standard.Height(), dialog.Font()->Height());
  EXPECT_EQ(standard.Charset(), dialog.Font()->Charset());
  EXPECT_EQ(L"Tahoma", dialog.CaptionFont()->Name());
}

TEST(ThemekitDialog, ThreeButtonsKeepTheFullWidthAndRunLeftToRight) {
  TsuiMessageDialog dialog(nullptr);
  dialog.SetButtonCount(3);
  dialog.SetButton1Caption(L"Yes");
  dialog.SetButton2Caption(L"No");
  dialog.SetButton3Caption(L"Later");
  dialog.SetButton3ModalResult(mrIgnore);
  std::unique_ptr<TfrmMsg> window(dialog.BuildWindow());
  const auto buttons = ButtonsOf(window.get());
  ASSERT_EQ(3u, buttons.size());
  EXPECT_EQ(239, buttons[0]->Left());
  EXPECT_EQ(L"Later", buttons[0]->Caption());
  EXPECT_EQ(mrIgnore, buttons[0]->ModalResult());
  EXPECT_EQ(146, buttons[1]->Left());
  EXPECT_EQ(L"No", buttons[1]->Caption());
  EXPECT_EQ(53, buttons[2]->Left());
  EXPECT_EQ(L"Yes", buttons[2]->Caption());
  EXPECT_EQ(window->ActiveControl(), buttons[2]);
  for (TsuiButton* b : buttons) EXPECT_TRUE(b->Enabled() && b->Visible() && b->TabStop());
  EXPECT_LT(buttons[2]->TabOrder(), buttons[1]->TabOrder());
  EXPECT_LT(buttons[1]->TabOrder(), buttons[0]->TabOrder());
  EXPECT_EQ(L"---------------------------\r\nsuiDialog\r\n---------------------------\r\nHello world!\r\n"
            L"---------------------------\r\nLater   No   Yes\r\n---------------------------",
            window->MessageText());
}

TEST(ThemekitDialog, LongTextPushesTheButtonsDown) {
  TsuiMessageDialog dialog(nullptr);
  dialog.Font()->SetName(L"Tahoma");
  dialog.Font()->SetHeight(-11);
  String text;
  for (int i = 0; i < 40; ++i) text += L"word ";
  dialog.SetText(text);
  std::unique_ptr<TfrmMsg> window(dialog.BuildWindow());
  const int labelBottom = window->lbl->Top() + window->lbl->Height();
  ASSERT_GT(labelBottom, 104);
  EXPECT_EQ(225, window->lbl->Width());
  EXPECT_EQ(labelBottom + 20, ButtonsOf(window.get())[0]->Top());
  EXPECT_EQ(labelBottom + 65, window->Height());
}

// Five lines of the installer's 13-pixel face: the label ends at
// 64 + 65 = 129, the buttons sit at 149 and the window is 194 high.
TEST(ThemekitDialog, FiveLinesOfTextGiveTheDesignedHeights) {
  auto dialog = InstallerDialog();
  dialog->SetText(L"第一行\r\n第二行\r\n第三行\r\n第四行\r\n第五行");
  std::unique_ptr<TfrmMsg> window(dialog->BuildWindow());
  EXPECT_EQ(64, window->lbl->Top());
  EXPECT_EQ(129, window->lbl->Top() + window->lbl->Height());
  ASSERT_EQ(1u, ButtonsOf(window.get()).size());
  EXPECT_EQ(149, ButtonsOf(window.get())[0]->Top());
  EXPECT_EQ(194, window->Height());
}

TEST(ThemekitDialog, StopIconIsTheRedSecondImage) {
  TsuiMessageDialog dialog(nullptr);
  dialog.SetIconType(suiStop);
  std::unique_ptr<TfrmMsg> window(dialog.BuildWindow());
  TImage* image = window->Image1;
  EXPECT_TRUE(image->Visible());
  EXPECT_EQ(88, window->lbl->Left());
  EXPECT_EQ(24, image->Left());
  EXPECT_EQ(64, image->Top());
  EXPECT_EQ(42, image->Width());
  EXPECT_EQ(42, image->Height());
  // The window keeps its width with an icon.
  EXPECT_EQ(ButtonsOf(window.get())[0]->Left(), 336 - 97);
  TBitmap strip;
  strip.LoadFromResourceName(GetModuleHandleW(nullptr), L"MSGDLG");
  TBitmap* shown = image->Picture()->Bitmap();
  for (int y : {5, 21, 36})
    for (int x : {5, 21, 36}) EXPECT_EQ(strip.Canvas()->Pixel(42 + x, y), shown->Canvas()->Pixel(x, y));
}

// Runs `step` once the dialog window is on screen.
void WhenShown(TsuiMessageDialog& dialog, std::function<void(TfrmMsg*)> step) {
  dialog.SetOnShowWindow([step](TfrmMsg* window) {
    PostMessageW(window->Handle(), WM_NULL, 0, 0);
    auto* timer = new TTimer(window);
    timer->SetInterval(50);
    timer->SetOnTimer([timer, window, step](TObject*) {
      timer->SetEnabled(false);
      step(window);
    });
    timer->SetEnabled(true);
  });
}

TEST(ThemekitDialog, ShowModalReturnsTheButtonsResultOrCancel) {
  auto dialog = InstallerDialog();
  bool windowGone = false;
  HWND shownWindow = nullptr;
  WhenShown(*dialog, [&](TfrmMsg* window) {
    shownWindow = window->Handle();
    TsuiButton* ok = ButtonsOf(window)[0];
    SendMessageW(ok->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(ok->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  });
  EXPECT_EQ(mrOk, dialog->ShowModal());
  windowGone = !IsWindow(shownWindow);
  EXPECT_TRUE(windowGone);

  WhenShown(*dialog, [](TfrmMsg* window) {
    SendMessageW(ButtonsOf(window)[0]->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(ButtonsOf(window)[0]->Handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
  });
  EXPECT_EQ(mrOk, dialog->ShowModal());

  // The title bar's close button: images 16-18 of the strip, on the right.
  WhenShown(*dialog, [](TfrmMsg* window) { window->suiForm1->TitleBar()->ProcessButtonClick(0); });
  EXPECT_EQ(mrCancel, dialog->ShowModal());
}

TEST(ThemekitDialog, CtrlCCopiesTheMessage) {
  auto dialog = InstallerDialog();
  std::unique_ptr<TfrmMsg> window(dialog->BuildWindow());
  WORD key = 'C';
  window->FormKeyDown(window.get(), key, ssCtrl | ssShift);
  EXPECT_EQ('C', key);  // not consumed
  const String rule = L"---------------------------";
  EXPECT_EQ(rule + L"\r\n提醒\r\n" + rule + L"\r\n数据库安装成功！\r\n" + rule + L"\r\n确定\r\n" + rule, ClipboardText());
  ClipboardSetText(L"untouched");
  key = 'C';
  window->FormKeyDown(window.get(), key, 0);
  key = 'X';
  window->FormKeyDown(window.get(), key, ssCtrl);
  EXPECT_EQ(L"untouched", ClipboardText());
}

TEST(ThemekitDialog, StoredDescriptionCreatesTheDialog) {
  TForm owner(nullptr);
  owner.InitializeFromText(R"(object Owner: TForm
  object suiMessageDialog1: TsuiMessageDialog
    Caption = '提醒'
    UIStyle = MacOS
    ButtonCursor = crHandPoint
    ButtonCount = 2
    Button2ModalResult = mrAbort
    IconType = suiHelp
    CaptionFont.Style = [fsBold]
    Text = 'x'
  end
end
)");
  auto* dialog = dynamic_cast<TsuiMessageDialog*>(owner.FindComponent(L"suiMessageDialog1"));
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(TsuiUIStyle::MacOS, dialog->UIStyle());
  EXPECT_EQ(2, dialog->ButtonCount());
  EXPECT_EQ(mrAbort, dialog->Button2ModalResult());
  EXPECT_EQ(suiHelpIcon, dialog->IconType());
  EXPECT_EQ(L"提醒", dialog->Caption());
  EXPECT_EQ(poScreenCenter, dialog->Position());
}

}  // namespace
}  // namespace kestu
