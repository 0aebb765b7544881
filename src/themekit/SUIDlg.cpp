#include "themekit/SUIDlg.h"

#include <algorithm>
#include <memory>

#include "themekit/SUIButton.h"
#include "themekit/SUIMgr.h"
#include "themekit/ThemeDrawing.h"
#include "themekit/frmMessage.h"

namespace kestu {

namespace {

// Layout of the message window (client coordinates of the frame panel).
constexpr int kImageBottom = 64 + 40;  // Image1's stored Top + Height
constexpr int kLabelLeftWithIcon = 88;
constexpr int kLabelLeftWithoutIcon = 24;
constexpr int kNarrowerWithoutIcon = 64;
constexpr int kIconCount = 4;
constexpr int kButtonGap = 20;
constexpr int kButtonHeight = 25;
constexpr int kButtonWidth = 73;
constexpr int kButtonRightInset = 97;
constexpr int kButtonStep = 93;
constexpr int kWindowBelowText = kButtonGap + kButtonHeight + kButtonGap;  // 65

}  // namespace

KESTU_PUBLISH(TsuiDialog) {
  p.Ref("FileTheme", &TsuiDialog::FileTheme, &TsuiDialog::SetFileTheme);
  p.Enum("Position", &TsuiDialog::Position, &TsuiDialog::SetPosition, poScreenCenter,
         {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter",
          "poMainFormCenter", "poOwnerFormCenter"});
  p.Str("Caption", &TsuiDialog::Caption, &TsuiDialog::SetCaption);
  p.Enum("UIStyle", &TsuiDialog::UIStyle, &TsuiDialog::SetUIStyle, 3, UIStyleNames());
  p.Object("Font", &TsuiDialog::Font);
  p.Object("CaptionFont", &TsuiDialog::CaptionFont);
}

TsuiDialog::TsuiDialog(TComponent* AOwner) : TComponent(AOwner) {
  captionFont_.SetColor(clWhite);
  captionFont_.SetName(L"Tahoma");
  captionFont_.SetStyle(fsBold);
  uiStyle_ = FindFormUIStyle(AOwner);
}

TsuiDialog::~TsuiDialog() {
  if (fileTheme_) fileTheme_->RemoveFreeNotification(this);
}

void TsuiDialog::SetFileTheme(TsuiFileTheme* v) {
  if (fileTheme_ && fileTheme_ != v) fileTheme_->RemoveFreeNotification(this);
  fileTheme_ = v;
  if (v) v->FreeNotification(this);
  SetUIStyle(uiStyle_);
}

void TsuiDialog::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == fileTheme_) {
    fileTheme_ = nullptr;
    SetUIStyle(TsuiUIStyle::DeepBlue);
  }
}

KESTU_PUBLISH(TsuiMessageDialog) {
  p.Int("ButtonCursor", &TsuiMessageDialog::ButtonCursor, &TsuiMessageDialog::SetButtonCursor, crHandPoint)
      .Idents(&IdentToCursor);
  p.Int("ButtonCount", &TsuiMessageDialog::ButtonCount, &TsuiMessageDialog::SetButtonCount, 1);
  p.Str("Button1Caption", &TsuiMessageDialog::Button1Caption, &TsuiMessageDialog::SetButton1Caption);
  p.Str("Button2Caption", &TsuiMessageDialog::Button2Caption, &TsuiMessageDialog::SetButton2Caption);
  p.Str("Button3Caption", &TsuiMessageDialog::Button3Caption, &TsuiMessageDialog::SetButton3Caption);
  p.Int("Button1ModalResult", &TsuiMessageDialog::Button1ModalResult, &TsuiMessageDialog::SetButton1ModalResult, mrOk)
      .Idents(&IdentToModalResult);
  p.Int("Button2ModalResult", &TsuiMessageDialog::Button2ModalResult, &TsuiMessageDialog::SetButton2ModalResult,
        mrCancel)
      .Idents(&IdentToModalResult);
  p.Int("Button3ModalResult", &TsuiMessageDialog::Button3ModalResult, &TsuiMessageDialog::SetButton3ModalResult,
        mrCancel)
      .Idents(&IdentToModalResult);
  p.Enum("IconType", &TsuiMessageDialog::IconType, &TsuiMessageDialog::SetIconType, suiNone,
         {"suiNone", "suiWarning", "suiStop", "suiInformation", "suiHelp"});
  p.Str("Text", &TsuiMessageDialog::Text, &TsuiMessageDialog::SetText);
}

TsuiMessageDialog::TsuiMessageDialog(TComponent* AOwner) : TsuiDialog(AOwner) {}

void TsuiMessageDialog::SetButtonCount(int v) { buttonCount_ = std::clamp(v, 1, 3); }

TfrmMsg* TsuiMessageDialog::BuildWindow() {
  // 1. The window, with its handle, so that every size change lays the frame out.
  std::unique_ptr<TfrmMsg> window(CreateFormFromResource<TfrmMsg>(Application));
  window->HandleNeeded();
  TsuiForm* frame = window->suiForm1;
  TLabel* label = window->lbl;
  TImage* image = window->Image1;

  // 2, 3. Font and text; the label wraps at its fixed width and grows.
  window->Font()->Assign(Font());
  label->SetCaption(Text());

  // 4. Both bottoms before any icon is loaded.
  const int bottom = std::max(label->Top() + label->Height(), image->Top() + image->Height());

  // 5. Icon, or none.
  if (IconType() != suiNone) {
    label->SetLeft(kLabelLeftWithIcon);
    TBitmap strip;
    strip.LoadFromResourceName(GetModuleHandleW(nullptr), L"MSGDLG");
    SplitStateImage(&strip, image->Picture()->Bitmap(), kIconCount, int(IconType()));
  } else {
    label->SetLeft(kLabelLeftWithoutIcon);
    image->Hide();
    if (ButtonCount() < 3) window->SetWidth(window->Width() - kNarrowerWithoutIcon);
  }

  // 6. Buttons from right to left; the last one made, button 1, takes the focus.
  const int W = window->Width();
  for (int i = 0; i < ButtonCount(); ++i) {
    auto* button = new TsuiButton(window.get());
    button->SetParent(frame);
    button->SetBounds(W - kButtonRightInset - kButtonStep * i, bottom + kButtonGap, kButtonWidth, kButtonHeight);
    button->SetCursor(ButtonCursor());
    button->SetTabStop(true);
    button->SetTabOrder(1);
    const int n = ButtonCount() - i;
    button->SetCaption(captions_[n - 1]);
    button->SetModalResult(results_[n - 1]);
    // The window is not shown yet; its active control is taken as stored.
    window->SetLoading(true);
    window->SetActiveControl(button);
    window->SetLoading(false);
  }

  // 7 to 11.
  window->SetHeight(bottom + kWindowBelowText);
  window->SetPosition(Position());
  frame->SetCaption(Caption());
  frame->SetFileTheme(FileTheme());
  frame->SetUIStyle(UIStyle());
  frame->Font()->Assign(CaptionFont());
  return window.release();
}

int TsuiMessageDialog::ShowModal() {
  std::unique_ptr<TfrmMsg> window(BuildWindow());
  if (onShowWindow_) window->SetOnShow([this, w = window.get()](TObject*) { onShowWindow_(w); });
  return window->ShowModal();
}

}  // namespace kestu
