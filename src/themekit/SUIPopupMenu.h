#pragma once
// Themed menus: every item measured and drawn by the toolkit in the colours
// of the menu's UIStyle or theme file. TsuiMenuLook<Base> holds what the
// popup menu and the main menu share; TsuiPopupMenu is the popup menu.

#include "framework/Menus.h"
#include "themekit/SUIMgr.h"
#include "themekit/ThemeDrawing.h"

namespace kestu {

// The look of a themed menu and the measuring and drawing of its items.
class TsuiMenuPainter {
 public:
  TsuiUIStyle UIStyle = TsuiUIStyle::DeepBlue;
  TsuiFileTheme* FileTheme = nullptr;
  int MenuItemHeight = 21;
  int SeparatorHeight = 21;
  int BarWidth = 0;
  TColor BarColor = clBtnFace;
  TColor Color = clWhite;
  TColor SeparatorColor = TColor(0x00808080);
  TColor SelectedBorderColor = clHighlight;
  TColor SelectedColor = clHighlight;
  TColor SelectedFontColor = clWhite;
  TColor FontColor = clWhite;
  TColor BorderColor = clBlack;
  bool FlatMenu = false;
  String FontName = L"MS Sans Serif";
  int FontSize = 8;
  int FontCharset = DEFAULT_CHARSET;
  bool UseSystemFont = true;

  // Style-dependent heights, bar width and the six colours.
  void ApplyMenuStyle(TsuiUIStyle style);
  void Measure(TMenuItem* item, TCanvas* canvas, int& width, int& height) const;
  // `checkImages` draws the check mark; `images` the items' own images
  // (nullptr, or the menu's own check list, means none).
  void Draw(TMenuItem* item, TCanvas* canvas, const RECT& R, bool selected, TImageList* images,
            TImageList* checkImages) const;
};

// Properties and behaviour shared by TsuiPopupMenu and TsuiMainMenu.
template <class Base> class TsuiMenuLook : public Base {
 public:
  explicit TsuiMenuLook(TComponent* AOwner) : Base(AOwner) {
    Base::SetOwnerDraw(true);
    look_.ApplyMenuStyle(FindFormUIStyle(AOwner));
  }
  ~TsuiMenuLook() override {
    if (look_.FileTheme) look_.FileTheme->RemoveFreeNotification(this);
  }

  bool OwnerDraw() const { return true; }
  void SetOwnerDraw(bool) {}
  TsuiUIStyle UIStyle() const { return look_.UIStyle; }
  virtual void SetUIStyle(TsuiUIStyle v) { look_.ApplyMenuStyle(v); }
  TsuiFileTheme* FileTheme() const { return look_.FileTheme; }
  void SetFileTheme(TsuiFileTheme* v) {
    if (look_.FileTheme && look_.FileTheme != v) look_.FileTheme->RemoveFreeNotification(this);
    look_.FileTheme = v;
    if (v) v->FreeNotification(this);
    SetUIStyle(look_.UIStyle);
  }
  int MenuItemHeight() const { return look_.MenuItemHeight; }
  void SetMenuItemHeight(int v) {
    if (look_.UIStyle != TsuiUIStyle::MacOS) look_.MenuItemHeight = v;
  }
  int SeparatorHeight() const { return look_.SeparatorHeight; }
  void SetSeparatorHeight(int v) {
    if (look_.UIStyle != TsuiUIStyle::MacOS) look_.SeparatorHeight = v;
  }
  int BarWidth() const { return look_.BarWidth; }
  void SetBarWidth(int v) { look_.BarWidth = v; }
  TColor BarColor() const { return look_.BarColor; }
  void SetBarColor(TColor v) { look_.BarColor = v; }
  TColor Color() const { return look_.Color; }
  void SetColor(TColor v) { look_.Color = v; }
  TColor SeparatorColor() const { return look_.SeparatorColor; }
  void SetSeparatorColor(TColor v) { look_.SeparatorColor = v; }
  TColor SelectedBorderColor() const { return look_.SelectedBorderColor; }
  void SetSelectedBorderColor(TColor v) { look_.SelectedBorderColor = v; }
  TColor SelectedColor() const { return look_.SelectedColor; }
  void SetSelectedColor(TColor v) { look_.SelectedColor = v; }
  TColor SelectedFontColor() const { return look_.SelectedFontColor; }
  void SetSelectedFontColor(TColor v) { look_.SelectedFontColor = v; }
  TColor FontColor() const { return look_.FontColor; }
  void SetFontColor(TColor v) { look_.FontColor = v; }
  TColor BorderColor() const { return look_.BorderColor; }
  void SetBorderColor(TColor v) { look_.BorderColor = v; }
  bool FlatMenu() const { return look_.FlatMenu; }
  void SetFlatMenu(bool v) { look_.FlatMenu = v; }
  const String& FontName() const { return look_.FontName; }
  void SetFontName(const String& v) { look_.FontName = v; }
  int FontSize() const { return look_.FontSize; }
  void SetFontSize(int v) { look_.FontSize = v; }
  int FontCharset() const { return look_.FontCharset; }
  void SetFontCharset(int v) { look_.FontCharset = v; }
  bool UseSystemFont() const { return look_.UseSystemFont; }
  virtual void SetUseSystemFont(bool v) { look_.UseSystemFont = v; }

  const TsuiMenuPainter& Look() const { return look_; }

  void Notification(TComponent* AComponent, TOperation Operation) override {
    Base::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == look_.FileTheme) {
      look_.FileTheme = nullptr;
      SetUIStyle(TsuiUIStyle::DeepBlue);
    }
  }
  void Loaded() override {
    Base::Loaded();
    HookItems();
  }
  // Gives every item, at every depth, this menu's measuring and drawing.
  void HookItems() {
    HookMenuDrawEvents(
        Base::Items(),
        [this](TObject* sender, TCanvas* canvas, int& width, int& height) {
          look_.Measure(static_cast<TMenuItem*>(sender), canvas, width, height);
        },
        [this](TObject* sender, TCanvas* canvas, const RECT& r, bool selected) {
          look_.Draw(static_cast<TMenuItem*>(sender), canvas, r, selected, ItemImages(), CheckImages());
        });
  }

 protected:
  virtual TImageList* ItemImages() const { return Base::Images(); }
  virtual TImageList* CheckImages() const { return MenuCheckedImages(); }
  TsuiMenuPainter look_;
};

// The published properties both themed menus register, in their order.
template <class T> void PublishMenuLook(ClassBuilder<T>& p) {
  p.Bool("OwnerDraw", &T::OwnerDraw, &T::SetOwnerDraw, true);
  p.Ref("FileTheme", &T::FileTheme, &T::SetFileTheme);
  p.Enum("UIStyle", &T::UIStyle, &T::SetUIStyle, 3, UIStyleNames());
  p.Int("MenuItemHeight", &T::MenuItemHeight, &T::SetMenuItemHeight, 21);
  p.Int("SeparatorHeight", &T::SeparatorHeight, &T::SetSeparatorHeight, 21);
  p.Int("BarWidth", &T::BarWidth, &T::SetBarWidth, 26);
  p.Color("BarColor", &T::BarColor, &T::SetBarColor, clBtnFace);
  p.Color("Color", &T::Color, &T::SetColor, clWhite);
  p.Color("SeparatorColor", &T::SeparatorColor, &T::SetSeparatorColor, 0x00848284);
  p.Color("SelectedBorderColor", &T::SelectedBorderColor, &T::SetSelectedBorderColor, clHighlight);
  p.Color("SelectedColor", &T::SelectedColor, &T::SetSelectedColor, clHighlight);
  p.Color("SelectedFontColor", &T::SelectedFontColor, &T::SetSelectedFontColor, clWhite);
  p.Color("FontColor", &T::FontColor, &T::SetFontColor, clWhite);
  p.Color("BorderColor", &T::BorderColor, &T::SetBorderColor, clBlack);
  p.Bool("FlatMenu", &T::FlatMenu, &T::SetFlatMenu, false);
  p.Str("FontName", &T::FontName, &T::SetFontName);
  p.Int("FontSize", &T::FontSize, &T::SetFontSize, 8);
  p.Int("FontCharset", &T::FontCharset, &T::SetFontCharset, DEFAULT_CHARSET);
  p.Bool("UseSystemFont", &T::UseSystemFont, &T::SetUseSystemFont, true);
}

class TsuiPopupMenu : public TsuiMenuLook<TPopupMenu> {
  KESTU_CLASS(TsuiPopupMenu, TPopupMenu)
 public:
  explicit TsuiPopupMenu(TComponent* AOwner) : TsuiMenuLook<TPopupMenu>(AOwner) {}
};

}  // namespace kestu
