#include "skin/sCustomButton.h"

namespace kestu {

namespace {
constexpr wchar_t kDesignGradient[] = L"8421504;16777215;99;0;0;16777215;16777215;0;0;0";
constexpr wchar_t kDesignHotGradient[] =
    L"8421504;8421504;10;0;0;8421504;16777215;43;0;0;16777215;10658466;28;0;0;10658466;13816530;18;0;0;"
    L"13816530;13816530;0;0;0";
}  // namespace

TsButton::TsButton(TComponent* AOwner) : TsButtonControl(AOwner) {
  sStyle()->ControlKindCode = 93;
  SetBounds(Left(), Top(), 75, 25);
  SetTabStop(true);
  if (HasState(csDesigning) && sStyle()->Background()->Gradient()->Data().empty()) {
    sStyle()->Background()->Gradient()->SetData(kDesignGradient);
    sStyle()->HotStyle()->HotBackground()->Gradient()->SetData(kDesignHotGradient);
  }
}

void TsButton::SetDefault(bool value) {
  if (default_ == value) return;
  default_ = value;
  sStyle()->Invalidate();
  if (!HandleAllocated()) return;
  if (TCustomForm* form = GetParentForm()) form->BroadcastAll(CM_FOCUSCHANGED, 0, LPARAM(form->ActiveControl()));
}

void TsButton::SetFocusMargin(int value) {
  if (focusMargin_ == value) return;
  focusMargin_ = value;
  sStyle()->Invalidate();
}

void TsButton::SetShowFocus(bool value) {
  if (showFocus_ == value) return;
  showFocus_ = value;
  sStyle()->Invalidate();
}

void TsButton::Click() {
  if (TCustomForm* form = GetParentForm()) form->SetModalResult(modalResult_);
  TsButtonControl::Click();
}

TAccessibleElement TsButton::AccessibleSelf() {
  return PushButtonElement(*this, ActiveDefaultButton(), Down(), MouseInControl());
}

void TsButton::AccessibleDefaultAction(int) {
  if (CanFocus()) SetFocus();
  Click();
}

void TsButton::CreateHandleDone() {
  TsButtonControl::CreateHandleDone();
  activeDefault_ = default_;
}

bool TsButton::WantsFocusFrame() {
  if (const TsGeneralData* s = sStyle()->Section()) return s->ShowFocus;
  return showFocus_;
}

void TsButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  MarkChanged();
  TsButtonControl::MouseDown(button, shift, x, y);
  if (CanFocus()) SetFocus();
}

void TsButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGCHAR: return DialogChar(m);
    case CM_DIALOGKEY: return DialogKey(m);
    case WM_KEYUP: return KeyUp(m);
    case CM_FOCUSCHANGED: FocusChanged(m); return TsButtonControl::WndProc(m);
    case CN_COMMAND: if (HIWORD(m.WParam) == BN_CLICKED) MarkChanged(), Click(); return;
    default: return TsButtonControl::WndProc(m);
  }
}

void TsButton::DialogChar(TMessage& m) {
  const wchar_t ch = wchar_t(m.WParam);
  if ((Focused() && ch == L' ') || (IsAccel(ch, Caption()) && CanFocus())) {
    MarkChanged();
    SetDown(true);
    Repaint();
    m.Result = 1;
    m.WParam = 0;
    return;
  }
  TsButtonControl::WndProc(m);
}

void TsButton::KeyUp(TMessage& m) {
  if (!Down()) return TsButtonControl::WndProc(m);
  SetDown(false);
  sStyle()->Invalidate();
  if (Application) Application->ProcessMessages();
  Click();
}

void TsButton::DialogKey(TMessage& m) {
  const WORD key = WORD(m.WParam);
  const bool press = (key == VK_RETURN && activeDefault_) || (key == VK_ESCAPE && cancel_);
  if (!press || KeyDataToShiftState(m.LParam) != 0 || !CanFocus()) return TsButtonControl::WndProc(m);
  SetDown(true);
  if (Application) Application->ProcessMessages();
  Click();
  SetDown(false);
  m.Result = 1;
  if (Application) Application->ProcessMessages();
}

void TsButton::FocusChanged(TMessage& m) {
  if (!SentByOwnThread()) return;  // LParam is the focused control only when it comes from us
  auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
  const bool value = dynamic_cast<TsButton*>(focused) ? focused == this : default_;
  if (value != activeDefault_) {
    activeDefault_ = value;
    sStyle()->Invalidate();
  }
  MarkChanged();
}

KESTU_PUBLISH(TsButton) {
  p.Bool("Cancel", &TsButton::Cancel, &TsButton::SetCancel, false);
  p.Bool("Default", &TsButton::Default, &TsButton::SetDefault, false);
  p.Int("FocusMargin", &TsButton::FocusMargin, &TsButton::SetFocusMargin, 1);
  p.Int("ModalResult", &TsButton::ModalResult, &TsButton::SetModalResult, 0).Idents(&IdentToModalResult);
  p.Bool("ShowCaption", &TsButton::ShowCaption, &TsButton::SetShowCaption, true);
  p.Bool("ShowFocus", &TsButton::ShowFocus, &TsButton::SetShowFocus, true);
}

}  // namespace kestu
