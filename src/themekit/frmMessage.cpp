#include "themekit/frmMessage.h"

#include <algorithm>

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

TAccessibleElement TfrmMsg::AccessibleSelf() {
  TAccessibleElement e;
  e.Role = ROLE_SYSTEM_DIALOG;
  e.Name = suiForm1->Caption();
  if (!IsWindowVisible(Handle())) e.State |= STATE_SYSTEM_INVISIBLE;
  e.Bounds = ScreenBoundsOf(Handle());
  return e;
}

std::vector<TAccessibleElement> TfrmMsg::AccessibleParts() {
  std::vector<TAccessibleElement> parts;
  if (suiForm1->TitleBarVisible()) parts.push_back(WindowPart(suiForm1->TitleBar()->Handle()));
  TAccessibleElement text;
  text.Role = ROLE_SYSTEM_STATICTEXT;
  text.Name = lbl->Caption();
  text.State = STATE_SYSTEM_READONLY;
  text.Bounds = ClientToScreenRect(suiForm1->Handle(), lbl->BoundsRect());
  parts.push_back(text);
  std::vector<TsuiButton*> buttons;
  for (TComponent* c : ComponentList())
    if (auto* button = dynamic_cast<TsuiButton*>(c); button && button->Visible()) buttons.push_back(button);
  std::sort(buttons.begin(), buttons.end(), [](TsuiButton* a, TsuiButton* b) { return a->Left() < b->Left(); });
  for (TsuiButton* button : buttons) parts.push_back(WindowPart(button->Handle()));
  return parts;
}

}  // namespace kestu
