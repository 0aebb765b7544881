#include "framework/Hints.h"

#include <commctrl.h>

namespace kestu {
namespace {
THintPopup* instance = nullptr;
}  // namespace

THintPopup& THintPopup::Instance() {
  static THintPopup popup;
  instance = &popup;
  return popup;
}

void THintPopup::Forget(TControl* control) {
  if (instance && (instance->pending_ == control || instance->shown_ == control)) instance->MouseLeft(control);
}

void THintPopup::MouseEntered(TControl* control) {
  StopTimer();
  if (shown_ && shown_ != control) Hide();
  pending_ = nullptr;
  if (!control->ShowHint() || control->Hint().empty() || control->HasState(csDesigning)) return;
  pending_ = control;
  timer_ = SetTimer(nullptr, 0, kPauseMs, Elapsed);
}

void THintPopup::MouseLeft(TControl* control) {
  if (control != pending_ && control != shown_) return;
  StopTimer();
  pending_ = nullptr;
  Hide();
}

void CALLBACK THintPopup::Elapsed(HWND, UINT, UINT_PTR id, DWORD) {
  THintPopup& self = Instance();
  if (id != self.timer_) return (void)KillTimer(nullptr, id);
  self.StopTimer();
  try {
    self.Show();
  } catch (...) {
    HandleCallbackException();
  }
}

void THintPopup::StopTimer() {
  if (timer_) KillTimer(nullptr, timer_);
  timer_ = 0;
}

void THintPopup::Show() {
  if (!pending_) return;
  if (!tip_) {
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0,
                           0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tip_) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = tip_;
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tip_, TTM_ADDTOOLW, 0, LPARAM(&tool));
  }
  text_ = pending_->Hint();
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = tip_;
  tool.lpszText = text_.data();
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, LPARAM(&tool));
  POINT at{};
  GetCursorPos(&at);
  SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y + GetSystemMetrics(SM_CYCURSOR) / 2));
  SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, LPARAM(&tool));
  shown_ = pending_;
  pending_ = nullptr;
}

void THintPopup::Hide() {
  if (shown_ && tip_) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = tip_;
    SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, LPARAM(&tool));
  }
  shown_ = nullptr;
}

}  // namespace kestu
