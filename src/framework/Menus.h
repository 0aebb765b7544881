#pragma once
// Menus over native menus: main menus on a form, popup menus at a screen
// point, items drawn by their owner when the menu asks for it.

#include <windows.h>

#include <functional>
#include <vector>

#include "framework/Controls.h"

namespace kestu {

// A key with shift flags: the virtual key in the low byte.
using TShortCut = std::uint16_t;
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0 };
TShortCut ShortCut(WORD key, TShiftState shift);
String ShortCutToText(TShortCut shortCut);
TShortCut TextToShortCut(const String& text);
// The captions with a mnemonic given to each that has none, unique among them
// where the letters allow.
std::vector<String> AssignHotkeys(const std::vector<String>& captions);
// The caption without its mnemonic marks ("&&" stays one "&").
String StripHotkey(const String& caption);

using TOwnerDrawState = std::uint32_t;
enum : TOwnerDrawState { odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16,
                         odDefault = 32, odHotLight = 64, odNoAccel = 128 };
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, TOwnerDrawState State)>;

class TMenu;

class TMenuItem : public TComponent {
  KESTU_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const String& Caption() const { return caption_; }
  void SetCaption(const String& v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool v);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  int ShortCutValue() const { return shortCut_; }
  void SetShortCutValue(int v);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut v) { SetShortCutValue(v); }
  const String& Hint() const { return hint_; }
  void SetHint(const String& v) { hint_ = v; }
  TBitmap* Bitmap() { return &bitmap_; }
  bool IsLine() const { return caption_ == L"-"; }

  int Count() const { return int(items_.size()); }
  TMenuItem* Items(int i) const { return items_.at(std::size_t(i)); }
  TMenuItem* Parent() const { return parent_; }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  int IndexOf(const TMenuItem* item) const;
  int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
  // A top-level item of a main menu: shown in its form's menu bar.
  bool InMenuBar() const;
  TMenuItem* Find(const String& caption) const;
  // The menu this item belongs to, if any.
  TMenu* GetParentMenu() const;
  void SetParentComponent(TComponent* value) override;

  UINT Command() const { return command_; }
  // The submenu of this item's children (created on demand).
  HMENU Handle();
  virtual void Click();
  virtual void MeasureItem(TCanvas* canvas, int& width, int& height);
  virtual void DrawItem(TCanvas* canvas, const RECT& rect, TOwnerDrawState state);

  const TNotifyEvent& OnClick() const { return onClick_; }
  void SetOnClick(TNotifyEvent e) { onClick_ = std::move(e); }
  const TMenuMeasureItemEvent& OnMeasureItem() const { return onMeasureItem_; }
  void SetOnMeasureItem(TMenuMeasureItemEvent e) { onMeasureItem_ = std::move(e); }
  const TMenuDrawItemEvent& OnDrawItem() const { return onDrawItem_; }
  void SetOnDrawItem(TMenuDrawItemEvent e) { onDrawItem_ = std::move(e); }
  const TAdvancedMenuDrawItemEvent& OnAdvancedDrawItem() const { return onAdvancedDrawItem_; }
  void SetOnAdvancedDrawItem(TAdvancedMenuDrawItemEvent e) { onAdvancedDrawItem_ = std::move(e); }

 protected:
  // Rebuilds the native menus of the menu this item is in.
  void MenuChanged(bool rebuild);

 private:
  friend class TMenu;
  // Appends the visible ones of `items` to a native menu; `hotkeysOf` is the
  // menu whose AutoHotkeys decides the mnemonics.
  static void FillMenu(HMENU menu, const std::vector<TMenuItem*>& items, const TMenu* hotkeysOf, bool ownerDraw,
                       bool menuBar);
  void DrawBarItem(TCanvas* canvas, const RECT& rect, TOwnerDrawState state);
  void DestroyHandle();

  String caption_;
  bool checked_ = false, enabled_ = true, default_ = false, visible_ = true, radioItem_ = false;
  int groupIndex_ = 0;
  int imageIndex_ = -1;
  TShortCut shortCut_ = 0;
  String hint_;
  TBitmap bitmap_;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item of a menu
  UINT command_;
  HMENU handle_ = nullptr;
  TNotifyEvent onClick_;
  TMenuMeasureItemEvent onMeasureItem_;
  TMenuDrawItemEvent onDrawItem_;
  TAdvancedMenuDrawItemEvent onAdvancedDrawItem_;
};

enum TMenuAutoFlag { maAutomatic, maManual, maParent };
using TMenuChangeEvent = std::function<void(TObject* Sender, TMenuItem* Source, bool Rebuild)>;

class TMenu : public TComponent {
  KESTU_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  TMenuItem* Items() { return &items_; }
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v);
  // Images drawn beside owner-drawn items by their ImageIndex.
  class TImageList* Images() const { return images_; }
  void SetImages(class TImageList* v);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TMenuAutoFlag AutoHotkeys() const { return autoHotkeys_; }
  void SetAutoHotkeys(TMenuAutoFlag v);
  HMENU Handle();
  void Rebuild();
  // The top-level items the menu shows, in order (each still may be
  // invisible): the native menu, command and shortcut lookups and the
  // painters of menu bars all take them from here.
  virtual std::vector<TMenuItem*> TopLevelItems() const;
  // The item is one of those this menu shows, at any depth (the check on
  // item data the system hands back).
  virtual bool HoldsItem(const TMenuItem* item) const;

  TMenuItem* FindItem(UINT command);
  // Runs the item with this command; true when one was found.
  bool DispatchCommand(UINT command);
  // Runs the enabled item with this shortcut; true when one was found.
  bool IsShortCut(TShortCut shortCut);
  // Measuring and drawing of owner-drawn items (WM_MEASUREITEM, WM_DRAWITEM).
  bool MeasureItem(MEASUREITEMSTRUCT& measure);
  bool DrawItem(const DRAWITEMSTRUCT& draw);

  const TMenuChangeEvent& OnChange() const { return onChange_; }
  void SetOnChange(TMenuChangeEvent e) { onChange_ = std::move(e); }
  virtual void MenuChanged(TMenuItem* source, bool rebuild);

 protected:
  virtual HMENU CreateMenuHandle() = 0;
  virtual bool IsMenuBar() const { return false; }
  void DestroyHandle();
  HMENU handle_ = nullptr;

 private:
  TMenuItem items_{nullptr};
  class TImageList* images_ = nullptr;
  bool ownerDraw_ = false;
  TMenuAutoFlag autoHotkeys_ = maAutomatic;
  TMenuChangeEvent onChange_;
};

// The menu bar of a form (TCustomForm::SetMenu). Another main menu can be
// merged into it: for each group index the other menu's top-level items use,
// they replace this menu's items of that group; the other menu's items of
// groups this one lacks go after the last item of a lower group. The merged
// items stay in their own menu; this one only shows them.
class TMainMenu : public TMenu {
  KESTU_CLASS(TMainMenu, TMenu)
 public:
  explicit TMainMenu(TComponent* AOwner);
  ~TMainMenu() override;
  void MenuChanged(TMenuItem* source, bool rebuild) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  std::vector<TMenuItem*> TopLevelItems() const override;
  bool HoldsItem(const TMenuItem* item) const override;

  // Merges `menu` in place of the menu merged so far; nullptr only unmerges.
  void Merge(TMainMenu* menu);
  // Takes `menu` out again when it is the merged one.
  void Unmerge(TMainMenu* menu);
  TMainMenu* MergedMenu() const { return merged_; }
  // The menu whose bar shows this one's items, if any.
  TMainMenu* MergedInto() const { return mergedInto_; }
  // The menu of a form other than the application's main form merges into
  // the main form's menu while the form is shown (MDI children merge
  // whatever this says), and the form shows no menu bar of its own.
  bool AutoMerge() const { return autoMerge_; }
  void SetAutoMerge(bool v) { autoMerge_ = v; }
  // The form window showing this menu, if any.
  HWND WindowHandle() const { return window_; }
  void SetWindowHandle(HWND window) { window_ = window; }

 protected:
  HMENU CreateMenuHandle() override { return CreateMenu(); }
  bool IsMenuBar() const override { return true; }

 private:
  void DetachMerged();

  HWND window_ = nullptr;
  TMainMenu* merged_ = nullptr;
  TMainMenu* mergedInto_ = nullptr;
  bool autoMerge_ = false;
};

class TPopupMenu : public TMenu {
  KESTU_CLASS(TPopupMenu, TMenu)
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  // Shows the menu at a screen point and returns once it is closed; the
  // chosen item's OnClick has run by then.
  virtual void Popup(int x, int y);
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* c) { popupComponent_ = c; }
  const TNotifyEvent& OnPopup() const { return onPopup_; }
  void SetOnPopup(TNotifyEvent e) { onPopup_ = std::move(e); }
  // The hidden window that receives the messages of shown popup menus.
  static HWND PopupWindow();

 protected:
  HMENU CreateMenuHandle() override { return CreatePopupMenu(); }

 private:
  TComponent* popupComponent_ = nullptr;
  TNotifyEvent onPopup_;
};

}  // namespace kestu
