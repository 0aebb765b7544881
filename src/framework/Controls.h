#pragma once
// The control hierarchy over native windows.
//
// Every message a control receives goes first through its assignable
// WindowProc (by default the virtual WndProc), then to DefaultHandler, which
// calls the window class's own procedure. A TWinControl's native window
// procedure slot (GWLP_WNDPROC) holds StdWndProc, which finds the control and
// calls its WindowProc; anyone may subclass the window by replacing the slot
// and calling the previous procedure. No C++ exception leaves StdWndProc: it
// hands them to TApplication::HandleException. A message that carries
// pointers or objects (MessageOrigin.h) from another thread or process goes
// straight to DefaultHandler.

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/MessageOrigin.h"

namespace kestu {

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};
using TWndMethod = std::function<void(TMessage&)>;

// Component notifications.
enum : UINT {
  CM_BASE = 0xB000,
  CM_ACTIVATE = CM_BASE + 0,
  CM_DEACTIVATE = CM_BASE + 1,
  CM_GOTFOCUS = CM_BASE + 2,
  CM_LOSTFOCUS = CM_BASE + 3,
  CM_CANCELMODE = CM_BASE + 4,
  CM_DIALOGKEY = CM_BASE + 5,
  CM_DIALOGCHAR = CM_BASE + 6,
  CM_FOCUSCHANGED = CM_BASE + 7,
  CM_PARENTFONTCHANGED = CM_BASE + 8,
  CM_PARENTCOLORCHANGED = CM_BASE + 9,
  CM_HITTEST = CM_BASE + 10,
  CM_VISIBLECHANGED = CM_BASE + 11,
  CM_ENABLEDCHANGED = CM_BASE + 12,
  CM_COLORCHANGED = CM_BASE + 13,
  CM_FONTCHANGED = CM_BASE + 14,
  CM_CURSORCHANGED = CM_BASE + 15,
  CM_SHOWHINTCHANGED = CM_BASE + 16,
  CM_PARENTSHOWHINTCHANGED = CM_BASE + 17,
  CM_TEXTCHANGED = CM_BASE + 18,
  CM_MOUSEENTER = CM_BASE + 19,
  CM_MOUSELEAVE = CM_BASE + 20,
  CM_MENUCHANGED = CM_BASE + 21,
  CM_APPKEYDOWN = CM_BASE + 22,
  CM_APPSYSCOMMAND = CM_BASE + 23,
  CM_BUTTONPRESSED = CM_BASE + 24,
  CM_SHOWINGCHANGED = CM_BASE + 25,
  CM_ENTER = CM_BASE + 26,
  CM_EXIT = CM_BASE + 27,
  CM_ICONCHANGED = CM_BASE + 29,
  CM_WANTSPECIALKEY = CM_BASE + 30,
  CM_RELEASE = CM_BASE + 33,
  CM_SYSCOLORCHANGE = CM_BASE + 36,
  CM_TABSTOPCHANGED = CM_BASE + 40,
  CM_CONTROLLISTCHANGE = CM_BASE + 44,
  CM_CHILDKEY = CM_BASE + 46,
  CM_CONTROLCHANGE = CM_BASE + 54,
  CM_BORDERCHANGED = CM_BASE + 59,
  CM_BIDIMODECHANGED = CM_BASE + 60,
  CM_PARENTBIDIMODECHANGED = CM_BASE + 61,
};
// Notifications a parent reflects back to the child control they concern.
enum : UINT {
  CN_BASE = 0xBC00,
  CN_COMMAND = CN_BASE + WM_COMMAND,
  CN_NOTIFY = CN_BASE + WM_NOTIFY,
  CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
  CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM,
  CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
  CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
  CN_HSCROLL = CN_BASE + WM_HSCROLL,
  CN_VSCROLL = CN_BASE + WM_VSCROLL,
  CN_KEYDOWN = CN_BASE + WM_KEYDOWN,
  CN_CHAR = CN_BASE + WM_CHAR,
};

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using TAnchors = std::uint32_t;
enum : TAnchors { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
using TShiftState = std::uint32_t;
enum : TShiftState { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TCursor = int;
enum : TCursor {
  crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6, crSizeNS = -7,
  crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crNo = -18, crAppStart = -19,
  crHelp = -20, crHandPoint = -21, crSizeAll = -22,
};
bool IdentToCursor(std::string_view name, std::int64_t& value);

using TControlStyle = std::uint32_t;
enum : TControlStyle {
  csAcceptsControls = 1u << 0, csCaptureMouse = 1u << 1, csDesignInteractive = 1u << 2,
  csClickEvents = 1u << 3, csFramed = 1u << 4, csSetCaption = 1u << 5, csOpaque = 1u << 6,
  csDoubleClicks = 1u << 7, csFixedWidth = 1u << 8, csFixedHeight = 1u << 9, csNoDesignVisible = 1u << 10,
  csReplicatable = 1u << 11, csNoStdEvents = 1u << 12, csDisplayDragImage = 1u << 13,
  csReflector = 1u << 14, csActionClient = 1u << 15, csMenuEvents = 1u << 16,
};
using TControlState = std::uint32_t;
enum : TControlState { csLButtonDown = 1, csClicked = 2, csPalette = 4, csReadingState = 8, csFocusing = 16,
                       csCreating = 32, csPaintCopy = 64, csCustomPaint = 128, csDestroyingHandle = 256,
                       csDocking = 512 };

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, wchar_t& Key)>;

TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyDataToShiftState(LPARAM keyData);

class TControl;
class TWinControl;
class TBasicAction;
class TControlActionLink;
class TPopupMenu;

class TSizeConstraints : public TPersistent {
  KESTU_CLASS(TSizeConstraints, TPersistent)
 public:
  explicit TSizeConstraints(TControl* control) : control_(control) {}
  void Assign(const TPersistent* source) override;
  int MinWidth() const { return minWidth_; }
  void SetMinWidth(int v);
  int MinHeight() const { return minHeight_; }
  void SetMinHeight(int v);
  int MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int v);
  int MaxHeight() const { return maxHeight_; }
  void SetMaxHeight(int v);
  // Width and height limited by the constraints (0 = no limit).
  void Apply(int& width, int& height) const;

 private:
  void Changed();
  TControl* control_;
  int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
};

class TControl : public TComponent {
  KESTU_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // The message chain.
  const TWndMethod& WindowProc() const { return windowProc_; }
  void SetWindowProc(TWndMethod proc) { windowProc_ = std::move(proc); }
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* value);
  void SetParentComponent(TComponent* value) override;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  virtual RECT ClientRect();
  int ClientWidth() { return ClientRect().right; }
  int ClientHeight() { return ClientRect().bottom; }
  virtual void SetClientSize(int width, int height);
  void SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
  void SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }
  POINT ClientToScreen(POINT p);
  POINT ScreenToClient(POINT p);
  // Client origin of this control in screen coordinates.
  virtual POINT ClientOrigin();

  TAlign Align() const { return align_; }
  void SetAlign(TAlign v);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors v) { anchors_ = v; }
  TSizeConstraints* Constraints() { return &constraints_; }

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent visible up to a shown window.
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);

  const String& Caption() const { return text_; }
  void SetCaption(const String& v) { SetText(v); }
  const String& Text() const { return text_; }
  virtual void SetText(const String& v);

  TFont* Font() { return &font_; }
  void SetFont(TFont* v) { font_.Assign(v); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor v);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode v);
  bool UseRightToLeftReading() const { return biDiMode_ != bdLeftToRight && SysLocaleMiddleEast(); }
  static bool SysLocaleMiddleEast();
  // BiDiMode follows the parent's while ParentBiDiMode; setting it clears that.
  bool ParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool v);
  const String& Hint() const { return hint_; }
  void SetHint(const String& v) { hint_ = v; }
  // ShowHint follows the parent's while ParentShowHint; setting it clears that.
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool v);
  // Shown on the control's context-menu request (right click, menu key).
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* v);

  // The action this control presents (ActnList.h): its values reach the
  // control through the link, and a click without OnClick executes it.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* v);
  TControlActionLink* ActionLink() const { return actionLink_.get(); }
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle v) { controlStyle_ = v; }
  TControlState ControlState() const { return controlState_; }
  bool MouseCapture() const;
  void SetMouseCapture(bool v);
  bool MouseInControl() const { return mouseInControl_; }

  virtual void Invalidate();
  virtual void Update();
  void Repaint() { Invalidate(), Update(); }
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();
  virtual void Click();
  // Multiplies position and size by M / D (and the font when ParentFont is off).
  virtual void ScaleBy(int M, int D);

  const TNotifyEvent& OnClick() const { return onClick_; }
  void SetOnClick(TNotifyEvent e) { onClick_ = std::move(e); }
  const TNotifyEvent& OnDblClick() const { return onDblClick_; }
  void SetOnDblClick(TNotifyEvent e) { onDblClick_ = std::move(e); }
  const TMouseEvent& OnMouseDown() const { return onMouseDown_; }
  void SetOnMouseDown(TMouseEvent e) { onMouseDown_ = std::move(e); }
  const TMouseEvent& OnMouseUp() const { return onMouseUp_; }
  void SetOnMouseUp(TMouseEvent e) { onMouseUp_ = std::move(e); }
  const TMouseMoveEvent& OnMouseMove() const { return onMouseMove_; }
  void SetOnMouseMove(TMouseMoveEvent e) { onMouseMove_ = std::move(e); }
  const TNotifyEvent& OnMouseEnter() const { return onMouseEnter_; }
  void SetOnMouseEnter(TNotifyEvent e) { onMouseEnter_ = std::move(e); }
  const TNotifyEvent& OnMouseLeave() const { return onMouseLeave_; }
  void SetOnMouseLeave(TNotifyEvent e) { onMouseLeave_ = std::move(e); }

  // The form this control is on, or nullptr.
  class TCustomForm* GetParentForm();

 protected:
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void Changed() {}
  virtual void FontChanged();
  // The bounds have changed; a window control moves its window.
  virtual void BoundsChanged() {}
  void RequestAlign();
  bool InDesignOrLoading() const { return HasState(csDesigning | csLoading); }
  void SetControlStateFlag(TControlState f, bool on) { controlState_ = on ? controlState_ | f : controlState_ & ~f; }
  virtual std::unique_ptr<TControlActionLink> CreateActionLink();
  // Takes the action's values; with checkDefaults (while loading) only where
  // the control still has its defaults.
  virtual void ActionChange(TBasicAction* sender, bool checkDefaults);

  TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;

 private:
  friend class TWinControl;
  void HandleMouse(TMessage& m);
  void TakeParentFont();
  void TakeParentValues();
  void UpdateAnchorRules();
  void ApplyAnchors();
  bool takingParentFont_ = false;
  int anchorRight_ = 0, anchorBottom_ = 0;

  TWndMethod windowProc_;
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  TAnchors anchors_ = akLeft | akTop;
  TSizeConstraints constraints_{this};
  bool visible_ = true;
  bool enabled_ = true;
  String text_;
  TFont font_;
  bool parentFont_ = true;
  TColor color_ = clWindow;
  bool parentColor_ = false;
  TCursor cursor_ = crDefault;
  TBiDiMode biDiMode_ = bdLeftToRight;
  bool parentBiDiMode_ = true;
  String hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TPopupMenu* popupMenu_ = nullptr;
  std::unique_ptr<TControlActionLink> actionLink_;
  TControlState controlState_ = 0;
  bool mouseInControl_ = false;
  TNotifyEvent onClick_, onDblClick_, onMouseEnter_, onMouseLeave_;
  TMouseEvent onMouseDown_, onMouseUp_;
  TMouseMoveEvent onMouseMove_;
};

struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  String WinClassName;       // registered for this control
  String SubclassOf;         // a native class (BUTTON, STATIC, ...) to superclass
  UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
  KESTU_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  void RecreateWnd();
  // Handlers run each time this control's window has been created (also
  // after RecreateWnd), for components that subclass it.
  int AddWindowCreatedHandler(std::function<void()> handler);
  void RemoveWindowCreatedHandler(int id);
  // The control whose window this is (also for windows subclassed by others).
  static TWinControl* FindControl(HWND window);
  // The window procedure in every control window's GWLP_WNDPROC slot.
  static LRESULT CALLBACK StdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  RECT ClientRect() override;
  void SetClientSize(int width, int height) override;
  POINT ClientOrigin() override;
  bool Showing() const override;
  void SetText(const String& v) override;
  void Invalidate() override;
  void Update() override;
  void ScaleBy(int M, int D) override;

  // Child controls in z-order (graphic and window controls).
  int ControlCount() const { return int(controls_.size()); }
  TControl* Controls(int i) const { return controls_.at(std::size_t(i)); }
  const std::vector<TControl*>& ControlList() const { return controls_; }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(TControl* control) const;
  TControl* ControlAtPos(POINT p, bool allowDisabled);
  void Broadcast(TMessage& m);
  // Sends a notification to this control and every control inside it.
  void BroadcastAll(UINT msg, WPARAM wParam, LPARAM lParam);
  void NotifyControls(UINT msg);

  int TabOrder() const;
  void SetTabOrder(int v);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v);
  // Window controls of this one in tab order, recursively when `all`.
  void GetTabOrderList(std::vector<TWinControl*>& list);
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop, bool checkParent);
  void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

  virtual bool CanFocus();
  virtual void SetFocus();
  bool Focused();

  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);

  void AlignControls(TControl* control, RECT& rect);
  void Realign();
  void DisableAlign() { ++alignLevel_; }
  void EnableAlign();

  const TKeyEvent& OnKeyDown() const { return onKeyDown_; }
  void SetOnKeyDown(TKeyEvent e) { onKeyDown_ = std::move(e); }
  const TKeyEvent& OnKeyUp() const { return onKeyUp_; }
  void SetOnKeyUp(TKeyEvent e) { onKeyUp_ = std::move(e); }
  const TKeyPressEvent& OnKeyPress() const { return onKeyPress_; }
  void SetOnKeyPress(TKeyPressEvent e) { onKeyPress_ = std::move(e); }
  const TNotifyEvent& OnEnter() const { return onEnter_; }
  void SetOnEnter(TNotifyEvent e) { onEnter_ = std::move(e); }
  const TNotifyEvent& OnExit() const { return onExit_; }
  void SetOnExit(TNotifyEvent e) { onExit_ = std::move(e); }
  const TNotifyEvent& OnResize() const { return onResize_; }
  void SetOnResize(TNotifyEvent e) { onResize_ = std::move(e); }

  void Loaded() override;
  // The rectangle children are aligned in: the client area less the border.
  virtual void AdjustClientRect(RECT& rect);
  // Key events with the form's preview first; true when the key was taken.
  virtual bool DoKeyDown(WORD& key, TShiftState shift);
  virtual bool DoKeyPress(wchar_t& key);

 protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWnd();
  void DestroyHandle();
  // Called once the window exists (subclasses set fonts, texts, states).
  virtual void CreateHandleDone() {}
  void BoundsChanged() override;
  void UpdateShowing();
  virtual void PaintWindow(HDC dc);
  void PaintControls(HDC dc, TControl* first);
  virtual void DoEnter();
  virtual void DoExit();
  virtual void Resize();
  // Keys the control handles itself instead of offering them to the form.
  virtual bool WantsKey(WORD key);
  void FontChanged() override;

  // Message handlers, one per message, in the order of WndProc's table.
  void WmPaint(TMessage& m);
  void WmEraseBkgnd(TMessage& m);
  void WmSize(TMessage& m);
  void WmWindowPosChanged(TMessage& m);
  void WmSetCursor(TMessage& m);
  void WmCommand(TMessage& m);
  void WmNotify(TMessage& m);
  void WmDrawItem(TMessage& m);
  void WmMeasureItem(TMessage& m);
  void WmCtlColor(TMessage& m);
  void WmScroll(TMessage& m);
  void WmSetFocus(TMessage& m);
  void WmKillFocus(TMessage& m);
  void WmKeyDown(TMessage& m);
  void WmKeyUp(TMessage& m);
  void WmChar(TMessage& m);
  void WmSysChar(TMessage& m);
  void WmMouse(TMessage& m);
  void WmMouseLeave(TMessage& m);
  void WmNcDestroy(TMessage& m);
  void WmSetText(TMessage& m);
  void WmSysColorChange(TMessage& m);
  void WmGetObject(TMessage& m);
  void WmContextMenu(TMessage& m);
  void CmEnabledChanged(TMessage& m);
  void CmVisibleChanged(TMessage& m);
  void CmColorChanged(TMessage& m);
  void CmParentValueChanged(TMessage& m, UINT childMessage);
  void CmDialogKey(TMessage& m);
  void CmDialogChar(TMessage& m);

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = DefWindowProcW;

 private:
  friend class TControl;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  bool tabStop_ = false;
  int borderWidth_ = 0;
  int alignLevel_ = 0;
  bool anchoring_ = false;
  TControl* mouseControl_ = nullptr;  // graphic child under the mouse
  bool trackingMouse_ = false;
  TKeyEvent onKeyDown_, onKeyUp_;
  TKeyPressEvent onKeyPress_;
  TNotifyEvent onEnter_, onExit_, onResize_;
  std::vector<std::pair<int, std::function<void()>>> windowCreatedHandlers_;
  int nextWindowCreatedId_ = 1;
};

// A canvas on a control: the window's context on demand, or the parent's
// for a graphic control.
class TControlCanvas : public TCanvas {
 public:
  explicit TControlCanvas(TControl* control) : control_(control) {}
  ~TControlCanvas() override { FreeHandle(); }
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* control_;
  HWND window_ = nullptr;
  HDC ownDc_ = nullptr;
};

class TCustomControl : public TWinControl {
  KESTU_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* AOwner);
  TCanvas* Canvas() { return &canvas_; }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;

 private:
  TControlCanvas canvas_{this};
};

class TGraphicControl : public TControl {
  KESTU_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() { return &canvas_; }
  void WndProc(TMessage& message) override;

 protected:
  virtual void Paint() {}

 private:
  TControlCanvas canvas_{this};
};

// True when `caption` marks `key` as its mnemonic ("&Open" and 'o').
bool IsAccel(wchar_t key, const String& caption);

// Hands the exception being handled to the application (Forms.cpp); for the
// catch blocks of window procedures, hooks and timer callbacks.
void HandleCallbackException() noexcept;

// Window text of any window as a String.
String GetWindowString(HWND window);

}  // namespace kestu
