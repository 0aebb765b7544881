#pragma once
// An MDI child of the gallery whose content reaches past its client area to
// the right and below, so with AutoScroll the skin gives it both bars.

#include "framework/Forms.h"
#include "skin/sSkinProvider.h"

namespace kestu {

class TfrmScrolling : public TForm {
  KESTU_CLASS(TfrmScrolling, TForm)
 public:
  using TForm::TForm;

  TsSkinProvider* sSkinProvider1 = nullptr;

  // Closing a child frees it (the default minimises it).
  void FormClose(TObject* Sender, TCloseAction& Action);
};

}  // namespace kestu
