#pragma once
// TsButton: the skinned push button with dialog behaviour (Default, Cancel,
// ModalResult, accelerators, focus frame).

#include "framework/Accessibility.h"
#include "framework/Forms.h"
#include "skin/sButtonControl.h"

namespace kestu {

class TsButton : public TsButtonControl, public TAccessibleDescription {
  KESTU_CLASS(TsButton, TsButtonControl)
 public:
  explicit TsButton(TComponent* AOwner);

  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  bool Default() const { return default_; }
  void SetDefault(bool value);
  int FocusMargin() const { return focusMargin_; }
  void SetFocusMargin(int value);
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool value);
  bool ActiveDefault() const { return activeDefault_; }

  bool ActiveDefaultButton() const override { return default_ && activeDefault_; }
  void Click() override;
  void WndProc(TMessage& message) override;
  TAccessibleElement AccessibleSelf() override;
  // Pressed as by the mouse: the focus moves to the button, then it clicks.
  void AccessibleDefaultAction(int child) override;

 protected:
  void CreateHandleDone() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  bool WantsFocusFrame() override;
  int FocusFrameMargin() const override { return focusMargin_; }

 private:
  void DialogChar(TMessage& m);
  void DialogKey(TMessage& m);
  void KeyUp(TMessage& m);
  void FocusChanged(TMessage& m);

  bool cancel_ = false;
  bool default_ = false;
  int focusMargin_ = 1;
  TModalResult modalResult_ = mrNone;
  bool showFocus_ = true;
  bool activeDefault_ = false;
};

}  // namespace kestu
