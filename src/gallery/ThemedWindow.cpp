#include "gallery/ThemedWindow.h"

#include "themekit/ThemeDrawing.h"

namespace kestu {

KESTU_PUBLISH(TfrmThemed) {
  using F = TfrmThemed;
  p.Field("suiForm1", &F::suiForm1);
  p.Field("btnGlyphLeft", &F::btnGlyphLeft);
  p.Field("btnGlyphRight", &F::btnGlyphRight);
  p.Field("btnGlyphTop", &F::btnGlyphTop);
  p.Field("btnGlyphBottom", &F::btnGlyphBottom);
  p.Field("suiPopupMenu1", &F::suiPopupMenu1);
  p.Field("msgNone", &F::msgNone);
  p.Field("msgInformation", &F::msgInformation);
  p.Field("msgWarning", &F::msgWarning);
  p.Field("msgStop", &F::msgStop);
  p.Field("msgHelp", &F::msgHelp);
  p.Field("suiFileTheme1", &F::suiFileTheme1);
  p.Handler("FormCreate", &F::FormCreate);
  p.Handler("MessageClick", &F::MessageClick);
  p.Handler("CloseClick", &F::CloseClick);
}

void TfrmThemed::FormCreate(TObject*) {
  const HINSTANCE program = GetModuleHandleW(nullptr);
  btnGlyphLeft->Glyph()->LoadFromResourceName(program, L"GLYPH_LEFT");
  btnGlyphRight->Glyph()->LoadFromResourceName(program, L"GLYPH_RIGHT");
  btnGlyphTop->Glyph()->LoadFromResourceName(program, L"GLYPH_TOP");
  btnGlyphBottom->Glyph()->LoadFromResourceName(program, L"GLYPH_BOTTOM");
}

std::array<TsuiMessageDialog*, 5> TfrmThemed::Messages() const {
  return {msgNone, msgInformation, msgWarning, msgStop, msgHelp};
}

void TfrmThemed::MessageClick(TObject* Sender) {
  const auto tag = static_cast<TComponent*>(Sender)->Tag();
  const auto messages = Messages();
  if (tag >= 0 && tag < std::int64_t(messages.size())) messages[std::size_t(tag)]->ShowModal();
}

void TfrmThemed::CloseClick(TObject*) { Close(); }

void TfrmThemed::ShowInStyle(TsuiUIStyle style) {
  TsuiFileTheme* theme = style == TsuiUIStyle::FromThemeFile ? suiFileTheme1 : nullptr;
  const String name =
      theme ? L"Theme file" : Utf8ToString(UIStyleNames().at(std::size_t(style)));
  // The frame hands the style on to its title bar, menu bar and buttons.
  suiForm1->SetUIStyle(style);
  suiForm1->SetFileTheme(theme);
  suiPopupMenu1->SetUIStyle(style);
  suiPopupMenu1->SetFileTheme(theme);
  for (TsuiMessageDialog* message : Messages()) {
    message->SetUIStyle(style);
    message->SetFileTheme(theme);
  }
  SetCaption(L"Toolkit: " + name);
  suiForm1->SetCaption(L"Toolkit: " + name);
  Show();
}

}  // namespace kestu
