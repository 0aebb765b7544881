#pragma once
// A window of the themed toolkit, built from its stored description and shown
// in one style: the toolkit's frame with its title bar and buttons, a menu
// bar and a pop-up menu, push buttons with glyphs in the four layouts, and
// the message dialog with each icon and one, two and three buttons.

#include <array>

#include "framework/Forms.h"
#include "themekit/SUIButton.h"
#include "themekit/SUIDlg.h"
#include "themekit/SUIForm.h"
#include "themekit/SUIMainMenu.h"
#include "themekit/SUIMgr.h"
#include "themekit/SUIPopupMenu.h"

namespace kestu {

class TfrmThemed : public TForm {
  KESTU_CLASS(TfrmThemed, TForm)
 public:
  using TForm::TForm;

  TsuiForm* suiForm1 = nullptr;
  TsuiButton* btnGlyphLeft = nullptr;
  TsuiButton* btnGlyphRight = nullptr;
  TsuiButton* btnGlyphTop = nullptr;
  TsuiButton* btnGlyphBottom = nullptr;
  TsuiPopupMenu* suiPopupMenu1 = nullptr;
  TsuiMessageDialog* msgNone = nullptr;
  TsuiMessageDialog* msgInformation = nullptr;
  TsuiMessageDialog* msgWarning = nullptr;
  TsuiMessageDialog* msgStop = nullptr;
  TsuiMessageDialog* msgHelp = nullptr;
  TsuiFileTheme* suiFileTheme1 = nullptr;

  // The glyphs from the program's bitmaps.
  void FormCreate(TObject* Sender);
  // Shows the message dialog of the sender's Tag: no icon, information,
  // warning, stop, help.
  void MessageClick(TObject* Sender);
  void CloseClick(TObject* Sender);

  // Applies a built-in style, or the theme file for FromThemeFile, to the
  // frame and everything in it, names the window after it and shows it.
  void ShowInStyle(TsuiUIStyle style);

 private:
  std::array<TsuiMessageDialog*, 5> Messages() const;
};

}  // namespace kestu
