#pragma once
// The message dialog's window, built from its stored description TFRMMSG: a
// themed frame holding the text and the icon. Ctrl+C copies the message.

#include "framework/StdCtrls.h"
#include "themekit/SUIForm.h"

namespace kestu {

inline constexpr wchar_t kMessageRule[] = L"---------------------------";  // 27 hyphens

class TfrmMsg : public TForm {
  KESTU_CLASS(TfrmMsg, TForm)
 public:
  using TForm::TForm;

  TsuiForm* suiForm1 = nullptr;
  TLabel* lbl = nullptr;
  TImage* Image1 = nullptr;

  // The dialog's content as the clipboard gets it.
  String MessageText() const;
  void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
};

}  // namespace kestu
