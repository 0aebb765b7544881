#include "app/MessageStandIn.h"

#include <vector>

namespace kestu::app {

namespace {

// A dialog template built in memory: DLGTEMPLATE, then its items, each on a
// DWORD boundary, strings as UTF-16 with their terminators.
class DialogTemplate {
 public:
  void Word(WORD value) { words_.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void Text(const std::wstring& text) {
    for (wchar_t c : text) Word(WORD(c));
    Word(0);
  }
  void Align() {
    if (words_.size() % 2 != 0) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
            const std::wstring& text) {
    Align();
    Dword(WS_CHILD | WS_VISIBLE | style);
    Dword(0);
    for (short value : {x, y, cx, cy}) Word(WORD(value));
    Word(id);
    Word(0xFFFF);
    Word(atom);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kStaticAtom = 0x0082;

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) EndDialog(dialog, 1);
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 2);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

KESTU_PUBLISH(TMessageStandIn) {
  p.Str("Caption", &TMessageStandIn::Caption, &TMessageStandIn::SetCaption);
  p.Str("Text", &TMessageStandIn::Text, &TMessageStandIn::SetText);
  p.Str("Button1Caption", &TMessageStandIn::Button1Caption, &TMessageStandIn::SetButton1Caption);
}

int TMessageStandIn::ShowModal() const {
  const HWND owner = GetActiveWindow();
  DialogTemplate dialog;
  dialog.Dword(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  dialog.Dword(0);
  dialog.Word(2);  // items
  for (short value : {0, 0, 160, 58}) dialog.Word(WORD(value));
  dialog.Word(0);  // no menu
  dialog.Word(0);  // standard class
  dialog.Text(caption_);
  dialog.Word(9);
  dialog.Text(L"宋体");
  dialog.Item(SS_CENTER, 8, 12, 144, 12, 0xFFFF, kStaticAtom, text_);
  dialog.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 55, 34, 50, 15, IDOK, kButtonAtom, button1Caption_);
  const INT_PTR result =
      DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner, DialogProc, 0);
  return result == 1 ? 1 : 2;
}

}  // namespace kestu::app
