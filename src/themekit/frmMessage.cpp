#include "themekit/frmMessage.h"

#include "framework/SysUtils.h"
#include "themekit/SUIButton.h"

namespace kestu {

KESTU_PUBLISH(TfrmMsg) {
  p.Field("suiForm1", &TfrmMsg::suiForm1);
  p.Field("lbl", &TfrmMsg::lbl);
  p.Field("Image1", &TfrmMsg::Image1);
  p.Handler("FormKeyDown", &TfrmMsg::FormKeyDown);
}

String TfrmMsg::MessageText() const {
  const String crlf = L"\r\n";
  String text = String(kMessageRule) + crlf + suiForm1->Caption() + crlf + kMessageRule + crlf + lbl->Caption() + crlf +
                kMessageRule + crlf;
  bool first = true;
  for (TComponent* c : ComponentList()) {
    auto* button = dynamic_cast<TsuiButton*>(c);
    if (!button) continue;
    if (!first) text += L"   ";
    text += button->Caption();
    first = false;
  }
  return text + crlf + kMessageRule;
}

void TfrmMsg::FormKeyDown(TObject*, WORD& Key, TShiftState Shift) {
  if (Key == 'C' && (Shift & ssCtrl)) ClipboardSetText(MessageText());
}

}  // namespace kestu
