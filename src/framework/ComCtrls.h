#pragma once
// The tool bar over the common controls' tool bar, and its buttons.

#include <windows.h>
#include <commctrl.h>

#include "framework/Controls.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"

namespace kestu {

class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
using TCustomDrawState = std::uint32_t;
enum : TCustomDrawState { cdsSelected = 1, cdsGrayed = 2, cdsDisabled = 4, cdsChecked = 8, cdsFocused = 16,
                          cdsDefault = 32, cdsHot = 64, cdsMarked = 128, cdsIndeterminate = 256 };
using TEdgeBorders = std::uint32_t;
enum : TEdgeBorders { ebLeft = 1, ebTop = 2, ebRight = 4, ebBottom = 8 };

// One button of a tool bar. It is a component; the tool bar lays it out.
class TToolButton : public TComponent {
  KESTU_CLASS(TToolButton, TComponent)
 public:
  explicit TToolButton(TComponent* AOwner);
  ~TToolButton() override;

  TToolBar* ToolBar() const { return toolBar_; }
  void SetToolBar(TToolBar* v);
  void SetParentComponent(TComponent* value) override;
  const String& Caption() const { return caption_; }
  void SetCaption(const String& v);
  bool Grouping() const { return grouping_; }
  void SetGrouping(bool v);
  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Down() const;
  void SetDown(bool v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  // A button bound to a menu item takes its caption and enabled state, and
  // drops the item's submenu down when clicked.
  TMenuItem* MenuItem() const { return menuItem_; }
  void SetMenuItem(TMenuItem* v);
  void Notification(TComponent* AComponent, TOperation Operation) override;

  int Index() const;
  UINT Command() const { return command_; }
  // Position and size within the tool bar (from the native bar once it exists).
  RECT BoundsRect() const;
  virtual void Click();
  const TNotifyEvent& OnClick() const { return onClick_; }
  void SetOnClick(TNotifyEvent e) { onClick_ = std::move(e); }

 private:
  friend class TToolBar;
  void Changed();
  TToolBar* toolBar_ = nullptr;
  String caption_;
  bool grouping_ = false;
  TToolButtonStyle style_ = tbsButton;
  bool enabled_ = true;
  bool down_ = false;
  int imageIndex_ = -1;
  TMenuItem* menuItem_ = nullptr;
  UINT command_;
  TNotifyEvent onClick_;
};

using TTBCustomDrawBtnEvent = std::function<void(TToolBar* Sender, TToolButton* Button, TCustomDrawState State,
                                                 bool& DefaultDraw)>;

// The bar's background, before its buttons: DefaultDraw false draws nothing more.
using TTBCustomDrawEvent = std::function<void(TToolBar* Sender, const RECT& ARect, bool& DefaultDraw)>;

class TToolBar : public TWinControl {
  KESTU_CLASS(TToolBar, TWinControl)
 public:
  explicit TToolBar(TComponent* AOwner);
  ~TToolBar() override;

  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool v);
  TEdgeBorders EdgeBorders() const { return edgeBorders_; }
  void SetEdgeBorders(TEdgeBorders v);
  int ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int v);
  int ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int v);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v);
  // Replaces the buttons with grouped ones bound to the menu's top-level items.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* v);

  int ButtonCount() const { return int(buttons_.size()); }
  TToolButton* Buttons(int i) const { return buttons_.at(std::size_t(i)); }
  void InsertButton(TToolButton* button, int index = -1);
  void RemoveButton(TToolButton* button);
  // Copies the bound menu items' captions and enabled states onto the buttons.
  void RefreshMenuButtons();
  TCanvas* Canvas() { return &canvas_; }

  const TTBCustomDrawBtnEvent& OnCustomDrawButton() const { return onCustomDrawButton_; }
  void SetOnCustomDrawButton(TTBCustomDrawBtnEvent e) { onCustomDrawButton_ = std::move(e); }
  const TTBCustomDrawEvent& OnCustomDraw() const { return onCustomDraw_; }
  void SetOnCustomDraw(TTBCustomDrawEvent e) { onCustomDraw_ = std::move(e); }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;

 private:
  friend class TToolButton;
  void RebuildButtons();
  void CustomDraw(TMessage& m);
  void WmEraseBkgnd(TMessage& m);
  void WithCanvas(HDC dc, const std::function<void()>& draw);
  void ButtonClicked(UINT command);
  bool flat_ = true;
  bool showCaptions_ = false;
  TEdgeBorders edgeBorders_ = ebTop;
  int buttonHeight_ = 22, buttonWidth_ = 23;
  TImageList* images_ = nullptr;
  TMainMenu* menu_ = nullptr;
  std::vector<TToolButton*> buttons_;
  std::vector<TToolButton*> menuButtons_;  // made for Menu, owned by the bar
  TControlCanvas canvas_{this};
  TTBCustomDrawBtnEvent onCustomDrawButton_;
  TTBCustomDrawEvent onCustomDraw_;
};

}  // namespace kestu
