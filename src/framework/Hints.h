#pragma once
// The hint of the control under the mouse: shown in a tooltip beside the
// pointer once the mouse has rested for a moment on a control whose
// ShowHint is on and whose Hint is not empty; hidden when the mouse leaves
// that control or presses a button, or the control goes.

#include <windows.h>

#include "framework/Controls.h"

namespace kestu {

class THintPopup {
 public:
  static constexpr UINT kPauseMs = 500;  // rest before the hint shows

  static THintPopup& Instance();
  // For a control being pressed or destroyed: its hint goes (nothing is
  // created when no hint was ever asked for).
  static void Forget(TControl* control);

  void MouseEntered(TControl* control);
  void MouseLeft(TControl* control);
  // The control whose hint is up, or nullptr; the tooltip window.
  TControl* Shown() const { return shown_; }
  HWND Window() const { return tip_; }

 private:
  THintPopup() = default;
  static void CALLBACK Elapsed(HWND, UINT, UINT_PTR id, DWORD);
  void StopTimer();
  void Show();
  void Hide();

  TControl* pending_ = nullptr;
  TControl* shown_ = nullptr;
  UINT_PTR timer_ = 0;
  HWND tip_ = nullptr;
  String text_;
};

}  // namespace kestu
