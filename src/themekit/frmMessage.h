#pragma once
// The message dialog's window, built from its stored description TFRMMSG: a
// themed frame holding the text and the icon. Ctrl+C copies the message.
// Screen readers see a dialog named by its caption: the title bar, the text,
// then the buttons from left to right.

#include "framework/Accessibility.h"
#include "framework/StdCtrls.h"
#include "themekit/SUIForm.h"

namespace kestu {

inline constexpr wchar_t kMessageRule[] = L"---------------------------";  // 27 hyphens

class TfrmMsg : public TForm, public TAccessibleDescription {
  KESTU_CLASS(TfrmMsg, TForm)
 public:
  using TForm::TForm;

  TsuiForm* suiForm1 = nullptr;
  TLabel* lbl = nullptr;
  TImage* Image1 = nullptr;

  // The dialog's content as the clipboard gets it.
  String MessageText() const;
  void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);

  TAccessibleElement AccessibleSelf() override;
  std::vector<TAccessibleElement> AccessibleParts() override;
};

}  // namespace kestu
