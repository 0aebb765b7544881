#pragma once
// The themed main menu: drawn like the popup menu, shown by the form's
// TsuiForm frame as a menu bar instead of the native one.

#include "themekit/SUIPopupMenu.h"

namespace kestu {

// What the main menu tells the frame that shows it.
class TsuiMenuHost {
 public:
  virtual ~TsuiMenuHost() = default;
  // The items changed; `rebuild` asks for new buttons.
  virtual void MenuItemsChanged(bool rebuild) = 0;
  // The menu's font settings changed.
  virtual void MenuFontChanged() = 0;
};

class TsuiMainMenu : public TsuiMenuLook<TMainMenu> {
  KESTU_CLASS(TsuiMainMenu, TMainMenu)
 public:
  explicit TsuiMainMenu(TComponent* AOwner);
  ~TsuiMainMenu() override;

  // None while the menu's own check-mark list is in place.
  TImageList* Images() const { return TMenu::Images() == ownChecks_ ? nullptr : TMenu::Images(); }
  void SetImages(TImageList* v) { TMenu::SetImages(v ? v : ownChecks_); }
  void SetUseSystemFont(bool v) override;

  TsuiMenuHost* Host() const { return host_; }
  void SetHost(TsuiMenuHost* host) { host_ = host; }

  void Loaded() override;
  void MenuChanged(TMenuItem* source, bool rebuild) override;

 protected:
  // Items draw images only from a user's list, never from the check marks.
  TImageList* ItemImages() const override { return Images(); }
  TImageList* CheckImages() const override { return ownChecks_; }

 private:
  void AttachToFrame();
  TImageList* ownChecks_ = nullptr;
  TsuiMenuHost* host_ = nullptr;
};

}  // namespace kestu
