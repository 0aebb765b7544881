#pragma once
// The skinned frame's own system menu: window commands whose visibility and
// enablement follow the form's border style and state, and the list of
// skins the manager can apply.

#include "framework/Menus.h"

namespace kestu {

class TsSkinProvider;
class TCustomForm;

class TsSystemMenu : public TPopupMenu {
  KESTU_CLASS(TsSystemMenu, TPopupMenu)
 public:
  explicit TsSystemMenu(TsSkinProvider* provider);

  TMenuItem* ItemRestore = nullptr;
  TMenuItem* ItemMove = nullptr;
  TMenuItem* ItemSize = nullptr;
  TMenuItem* ItemMinimize = nullptr;
  TMenuItem* ItemMaximize = nullptr;
  TMenuItem* ItemClose = nullptr;
  TMenuItem* SkinSelectItem = nullptr;  // "Available skins", when the manager lists any

  // Adds "Available skins" with one item per skin the manager lists.
  void MakeSkinItems();
  // Applies the visibility tests, then the enablement tests.
  void RefreshSystemMenu();
  // Shows the menu at a screen point.
  void PopUp(int x, int y) { Popup(x, y); }

  bool CloseVisible() const;
  bool MaxVisible() const;
  bool MinVisible() const;
  bool RestoreVisible() const { return MinVisible(); }
  bool SizeVisible() const;
  bool MaxEnabled() const;
  bool MinEnabled() const;
  bool RestoreEnabled() const;
  bool MoveEnabled() const;
  bool SizeEnabled() const;

 private:
  TMenuItem* AddItem(const wchar_t* name, const wchar_t* caption, TNotifyEvent click);
  void SystemCommand(WPARAM command);
  void SkinClick(TObject* sender);
  TCustomForm* Form() const;
  int Style() const;

  TsSkinProvider* provider_;
};

}  // namespace kestu
