#pragma once
// An MDI child of the gallery, built from its stored description: skinned
// panels (the engine's bevels), scroll bars (one disabled) and a push button
// for each look: normal, hot, pressed, focused, disabled and default. The
// horizontal bar's position is written on the panel beside it.

#include "framework/Forms.h"
#include "skin/sPanel.h"
#include "skin/sScrollBar.h"

namespace kestu {

class TfrmControls : public TForm {
  KESTU_CLASS(TfrmControls, TForm)
 public:
  using TForm::TForm;

  TsScrollBar* sbHorizontal = nullptr;
  TsPanel* pnlPosition = nullptr;

  void HorizontalChange(TsScrollBar* Sender, int PreviousPosition);
  // Closing a child frees it (the default minimises it).
  void FormClose(TObject* Sender, TCloseAction& Action);
};

}  // namespace kestu
