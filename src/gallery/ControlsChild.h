#pragma once
// An MDI child of the gallery, built from its stored description: skinned
// panels (the engine's bevels), scroll bars (one disabled) and a push button
// for each look: normal, hot, pressed, focused, disabled and default. The
// horizontal bar's position is written on the panel beside it. Its main
// menu shows in the frame's bar while it is the active child: "Controls"
// among the frame's menus, and a Window menu in place of the frame's with
// "Close this window" added.

#include "framework/Forms.h"
#include "skin/sCustomButton.h"
#include "skin/sPanel.h"
#include "skin/sScrollBar.h"

namespace kestu {

class TfrmControls : public TForm {
  KESTU_CLASS(TfrmControls, TForm)
 public:
  using TForm::TForm;

  TsScrollBar* sbHorizontal = nullptr;
  TsScrollBar* sbVertical = nullptr;
  TsPanel* pnlPosition = nullptr;
  TsButton* btnDisabled = nullptr;
  TMenuItem* mnuEnableButton = nullptr;

  void HorizontalChange(TsScrollBar* Sender, int PreviousPosition);
  void ResetBarsClick(TObject* Sender);
  // Enables the "Disabled" button, or disables it again.
  void EnableButtonClick(TObject* Sender);
  void CascadeClick(TObject* Sender);
  void TileClick(TObject* Sender);
  void NextWindowClick(TObject* Sender);
  void CloseWindowClick(TObject* Sender);
  // Closing a child frees it (the default minimises it).
  void FormClose(TObject* Sender, TCloseAction& Action);
};

}  // namespace kestu
