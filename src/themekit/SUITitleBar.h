#pragma once
// The caption strip of a themed window: three bitmap sections, title buttons
// on the right, an optional control box or application icon on the left and
// the caption between them. Dragging it moves the window; its popup menu is
// the window's small system menu.

#include "framework/Accessibility.h"
#include "framework/StdCtrls.h"
#include "themekit/SUIPopupMenu.h"

namespace kestu {

class TsuiTitleBar;

enum TsuiTitleBarBtnType { suiMax, suiMin, suiClose, suiHelp, suiControlBox, suiCustom };
enum TsuiTitleBarAlign { suiLeft, suiRight, suiClient };
using TsuiTitleBarButtonClickEvent = std::function<void(TObject* Sender, int ButtonIndex)>;

// What a title bar asks of the themed frame it sits on.
class TsuiTitleBarHost {
 public:
  virtual ~TsuiTitleBarHost() = default;
  // Whether the host form had a sizeable border when the frame was made.
  virtual bool HostWasSizeable() const = 0;
  // The form the frame stands on, known before the frame is its child.
  virtual TCustomForm* HostForm() const = 0;
};

class TsuiTitleBarButton : public TCollectionItem {
  KESTU_CLASS(TsuiTitleBarButton, TCollectionItem)
 public:
  explicit TsuiTitleBarButton(TCollection* collection);

  TsuiTitleBarBtnType ButtonType() const { return buttonType_; }
  void SetButtonType(TsuiTitleBarBtnType v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  int Top() const { return top_; }
  void SetTop(int v);
  TsuiUIStyle UIStyle() const { return uiStyle_; }
  void SetUIStyle(TsuiUIStyle v);
  TBitmap* PicNormal() { return &picNormal_; }
  TBitmap* PicMouseOn() { return &picMouseOn_; }
  TBitmap* PicMouseDown() { return &picMouseDown_; }
  TPopupMenu* ControlBoxMenu() const { return controlBoxMenu_; }
  void SetControlBoxMenu(TPopupMenu* v) { controlBoxMenu_ = v; }

  // Reloads the pictures of the type from the style (maximise: restore
  // pictures while the host is maximised).
  void LoadPictures();
  TsuiTitleBar* Bar() const;

 private:
  TsuiTitleBarBtnType buttonType_ = suiCustom;
  bool visible_ = true;
  bool transparent_ = false;
  int top_ = 2;
  TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
  TBitmap picNormal_, picMouseOn_, picMouseDown_;
  TPopupMenu* controlBoxMenu_ = nullptr;
};

class TsuiTitleBarSection : public TCollectionItem {
  KESTU_CLASS(TsuiTitleBarSection, TCollectionItem)
 public:
  explicit TsuiTitleBarSection(TCollection* collection);

  TsuiTitleBarAlign Align() const { return align_; }
  void SetAlign(TsuiTitleBarAlign v);
  int Width() const { return width_; }
  void SetWidth(int v);
  TBitmap* Picture() { return &picture_; }
  void SetPicture(TBitmap* v);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);

 private:
  TsuiTitleBarAlign align_ = suiLeft;
  int width_ = 10;
  TBitmap picture_;
  bool stretch_ = false;
  bool autoSize_ = false;
};

class TsuiTitleBarPopupMenu : public TsuiPopupMenu {
  KESTU_CLASS(TsuiTitleBarPopupMenu, TsuiPopupMenu)
 public:
  explicit TsuiTitleBarPopupMenu(TComponent* AOwner);
  // Enables each item when the bar has a button of its kind.
  void UpdateItems();
  void Popup(int x, int y) override;

 private:
  TsuiTitleBar* Bar() const;
};

// Screen readers see a title bar named by the caption whose parts are the
// drawn title buttons, left to right, each pressed as a click does.
class TsuiTitleBar : public TPanel, public TAccessibleDescription {
  KESTU_CLASS(TsuiTitleBar, TPanel)
 public:
  explicit TsuiTitleBar(TComponent* AOwner);
  ~TsuiTitleBar() override;

  bool Custom() const { return custom_; }
  void SetCustom(bool v) { custom_ = v; }
  TsuiUIStyle UIStyle() const { return uiStyle_; }
  void SetUIStyle(TsuiUIStyle v);
  TsuiFileTheme* FileTheme() const { return fileTheme_; }
  void SetFileTheme(TsuiFileTheme* v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  TCollection* Sections() { return &sections_; }
  TCollection* Buttons() { return &buttons_; }
  TsuiTitleBarSection* Section(int i) const { return sections_.Item<TsuiTitleBarSection>(i); }
  TsuiTitleBarButton* Button(int i) const { return buttons_.Item<TsuiTitleBarButton>(i); }
  int ButtonInterval() const { return buttonInterval_; }
  void SetButtonInterval(int v);
  const String& Caption() const { return caption_; }
  void SetCaption(const String& v);
  bool FormActive() const { return formActive_; }
  void SetFormActive(bool v);
  int LeftBtnXOffset() const { return leftBtnXOffset_; }
  void SetLeftBtnXOffset(int v);
  int RightBtnXOffset() const { return rightBtnXOffset_; }
  void SetRightBtnXOffset(int v);
  bool DrawAppIcon() const { return drawAppIcon_; }
  void SetDrawAppIcon(bool v);
  int RoundCorner() const { return roundCorner_; }
  void SetRoundCorner(int v);
  const TsuiTitleBarButtonClickEvent& OnCustomBtnsClick() const { return onCustomBtnsClick_; }
  void SetOnCustomBtnsClick(TsuiTitleBarButtonClickEvent e) { onCustomBtnsClick_ = std::move(e); }
  const TsuiTitleBarButtonClickEvent& OnHelpBtnClick() const { return onHelpBtnClick_; }
  void SetOnHelpBtnClick(TsuiTitleBarButtonClickEvent e) { onHelpBtnClick_ = std::move(e); }

  TsuiTitleBarPopupMenu* PopupMenu() const { return popup_; }
  int HoverIndex() const { return hover_; }
  bool Pressed() const { return pressed_; }
  TColor OutlineColour() const { return outline_; }
  int ButtonRowHeight() const { return rowHeight_; }
  int ButtonRowTop() const { return rowTop_; }
  // The form the bar is on.
  TCustomForm* Host() {
    if (auto* frame = dynamic_cast<TsuiTitleBarHost*>(Parent()); frame && frame->HostForm()) return frame->HostForm();
    return GetParentForm();
  }
  bool OnThemedFrame() const;

  // Runs what a title button of the given index does to the host.
  void ProcessButtonClick(int index);
  // What releasing the mouse over a title button does: its click and then
  // its event, or the bar's own menu for a control box without one.
  void ReleaseButton(int index);
  // Where the paint puts things in a bar W wide: each drawn title button
  // (index and rectangle, in drawing order) and the caption's room.
  struct TitleBarLayout {
    struct Place {
      int Index;
      PixRect Rect;
    };
    std::vector<Place> Buttons;
    int CaptionLeft = 0, CaptionRight = 0;
  };
  TitleBarLayout LayoutFor(int W);
  void RefreshMaxButtons();
  // Cuts the host window to the rounded region (on a themed frame).
  void UpdateRegion();
  // Pops the system menu up at a screen point.
  void PopupSystemMenu(int x, int y);

  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& m) override;
  TAccessibleElement AccessibleSelf() override;
  std::vector<TAccessibleElement> AccessibleParts() override;
  void AccessibleDefaultAction(int child) override;

 protected:
  virtual void DrawSections(TBitmap* bitmap);
  virtual void DrawButtonsAndCaption(TBitmap* bitmap);
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void WmEraseBkgnd(TMessage& m) { m.Result = 1; }
  void WmMouseMove(TMessage& m);
  void WmDoubleClick(TMessage& m);
  void WmNcHitTest(TMessage& m);
  void WmNcForward(TMessage& m);
  void CmMouseLeave(TMessage& m);
  void ApplySections(TsuiUIStyle style);
  // The drawn buttons from left to right, as readers count them.
  std::vector<TitleBarLayout::Place> ButtonsLeftToRight();
  void AddSection(TsuiUIStyle style, int element, TsuiTitleBarAlign align);

  bool custom_ = false;
  TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
  TsuiFileTheme* fileTheme_ = nullptr;
  bool autoSize_ = false;
  TCollection sections_;
  TCollection buttons_;
  int buttonInterval_ = 0;
  String caption_;
  bool formActive_ = true;
  int leftBtnXOffset_ = 0;
  int rightBtnXOffset_ = 0;
  bool drawAppIcon_ = false;
  int roundCorner_ = 0;
  TsuiTitleBarButtonClickEvent onCustomBtnsClick_, onHelpBtnClick_;

  bool pressed_ = false;
  int hover_ = -1;
  TColor outline_ = clBlack;
  int rowHeight_ = 0;
  int rowTop_ = 0;
  bool applyingTheme_ = false;
  TsuiTitleBarPopupMenu* popup_ = nullptr;
};

// Caption shortened from its end until it plus "..." fits `room` pixels.
String FitCaption(TCanvas* canvas, const String& caption, int room);

}  // namespace kestu
