#pragma once
// Forms, the application object and the screen.
//
// A form class registers its handler methods and component fields beside
// itself and is built from its stored description, the RCDATA resource named
// after the class in upper case:
//
//   class TForm1 : public TForm {
//     KESTU_CLASS(TForm1, TForm)
//    public:
//     using TForm::TForm;
//     TButton* Button1 = nullptr;
//     void Button1Click(TObject* Sender);
//   };
//   KESTU_PUBLISH(TForm1) {
//     p.Field("Button1", &TForm1::Button1);
//     p.Handler("Button1Click", &TForm1::Button1Click);
//   }
//   ...
//   Application->CreateForm(Form1);

#include <windows.h>

#include <exception>
#include <functional>
#include <vector>

#include "framework/Controls.h"
#include "framework/Menus.h"

namespace kestu {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderIcons = std::uint32_t;
enum : TBorderIcons { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter,
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TModalResult = int;
enum : TModalResult {
  mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7,
  mrAll = 8, mrNoToAll = 9, mrYesToAll = 10,
};
bool IdentToModalResult(std::string_view name, std::int64_t& value);

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// Where a window of the given size goes for a Position value. `designed` is
// the stored top-left; `screen` the primary screen; `desktop` the virtual
// desktop; `center` the form to centre on (main or owner form), if any.
POINT PositionFor(TPosition position, POINT designed, SIZE size, const RECT& screen, const RECT& desktop,
                  const RECT* center);

class TCustomForm;

// One of a form's own scroll bars: shown when Range exceeds the client size.
class TControlScrollBar : public TPersistent {
  KESTU_CLASS(TControlScrollBar, TPersistent)
 public:
  TControlScrollBar(TCustomForm* form, int bar) : form_(form), bar_(bar) {}
  void Assign(const TPersistent* source) override;
  int Range() const { return range_; }
  void SetRange(int v);
  int Increment() const { return increment_; }
  void SetIncrement(int v) { increment_ = v; }
  int Position() const { return position_; }
  void SetPosition(int v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Tracking() const { return tracking_; }
  void SetTracking(bool v) { tracking_ = v; }
  bool IsScrollBarVisible() const { return shown_; }
  // Shows or hides the native bar for the client extent and clamps Position.
  void Update();
  void ScrollMessage(WORD code);
  void SetCalculatedRange(int v) { calculatedRange_ = v; }

 private:
  int ClientExtent() const;
  int EffectiveRange() const;
  TCustomForm* form_;
  int bar_;
  int range_ = 0, calculatedRange_ = 0, increment_ = 8, position_ = 0;
  bool visible_ = true, tracking_ = false, shown_ = false;
};

class TCustomForm : public TWinControl {
  KESTU_CLASS(TCustomForm, TWinControl)
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // Reads the stored description named after the class, then runs OnCreate.
  void InitializeFromResource();
  // Reads a description from text, then runs OnCreate (tests, tools).
  void InitializeFromText(std::string_view description);

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle v);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons v);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition v);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState v);
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle v);
  // MDI frames: the system's MDI client window holding the child forms.
  HWND ClientHandle() const { return clientHandle_; }
  TCustomForm* ActiveMDIChild();
  int MDIChildCount();
  TCustomForm* MDIChildren(int i);
  void DefaultHandler(TMessage& m) override;
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int v) { pixelsPerInch_ = v; }
  int TextHeight() const { return textHeight_; }
  void SetTextHeight(int v) { textHeight_ = v; }
  bool Scaled() const { return scaled_; }
  void SetScaled(bool v) { scaled_ = v; }
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool v);
  bool OldCreateOrder() const { return oldCreateOrder_; }
  void SetOldCreateOrder(bool v) { oldCreateOrder_ = v; }
  TIcon* Icon() { return &icon_; }
  TControlScrollBar* HorzScrollBar() { return &horzScrollBar_; }
  TControlScrollBar* VertScrollBar() { return &vertScrollBar_; }
  // Moves every child by (dx, dy) and scrolls the window's pixels with them.
  void ScrollBy(int dx, int dy);
  void UpdateScrollBars();
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* v);
  // The form whose menu bar shows this form's menu merged into its own: an
  // MDI child's frame, or the application's main form for an AutoMerge menu.
  TCustomForm* MenuHost() const;
  // Runs the menu item with this key combination, if any (an MDI child's
  // keys go to its frame's bar, which shows the child's items).
  virtual bool IsShortCut(WORD key, TShiftState shift);

  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* v);
  // Called when a control inside the form receives the focus.
  void SetFocusedControl(TWinControl* control);
  void ControlRemoved(TControl* control);

  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult v) { modalResult_ = v; }
  bool Modal() const { return modal_; }
  // Shows the form and runs a nested message loop until ModalResult is set;
  // other windows of the program are disabled meanwhile.
  TModalResult ShowModal();
  void Show();
  void Close();
  bool CloseQuery();
  // Deletes the form once the messages now queued have been handled.
  void Release();

  RECT ClientRect() override;
  void SetClientSize(int width, int height) override;
  int StoredClientWidth() { return ClientWidth(); }
  int StoredClientHeight() { return ClientHeight(); }
  void SetStoredClientWidth(int v) { SetClientSize(v, ClientHeight()); }
  void SetStoredClientHeight(int v) { SetClientSize(ClientWidth(), v); }
  bool Showing() const override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& m) override;
  bool DoKeyDown(WORD& key, TShiftState shift) override;

  const TNotifyEvent& OnCreate() const { return onCreate_; }
  void SetOnCreate(TNotifyEvent e) { onCreate_ = std::move(e); }
  const TNotifyEvent& OnDestroy() const { return onDestroy_; }
  void SetOnDestroy(TNotifyEvent e) { onDestroy_ = std::move(e); }
  const TNotifyEvent& OnShow() const { return onShow_; }
  void SetOnShow(TNotifyEvent e) { onShow_ = std::move(e); }
  const TNotifyEvent& OnHide() const { return onHide_; }
  void SetOnHide(TNotifyEvent e) { onHide_ = std::move(e); }
  const TNotifyEvent& OnActivate() const { return onActivate_; }
  void SetOnActivate(TNotifyEvent e) { onActivate_ = std::move(e); }
  const TNotifyEvent& OnDeactivate() const { return onDeactivate_; }
  void SetOnDeactivate(TNotifyEvent e) { onDeactivate_ = std::move(e); }
  const TNotifyEvent& OnPaint() const { return onPaint_; }
  void SetOnPaint(TNotifyEvent e) { onPaint_ = std::move(e); }
  const TCloseEvent& OnClose() const { return onClose_; }
  void SetOnClose(TCloseEvent e) { onClose_ = std::move(e); }
  const TCloseQueryEvent& OnCloseQuery() const { return onCloseQuery_; }
  void SetOnCloseQuery(TCloseQueryEvent e) { onCloseQuery_ = std::move(e); }

  TCanvas* Canvas() { return &canvas_; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void PaintWindow(HDC dc) override;
  void DoCreate();
  void ApplyPosition();
  // Window styles for the border style and icons.
  void FrameStyles(DWORD& style, DWORD& exStyle) const;

  void WmClose(TMessage& m);
  void WmActivate(TMessage& m);
  void WmMdiActivate(TMessage& m);
  void WmSetFocus(TMessage& m);
  void WmGetMinMaxInfo(TMessage& m);
  void WmCommand(TMessage& m);
  void WmScroll(TMessage& m);
  void WmSize(TMessage& m);
  void PlaceClientWindow();
  void DestroyWnd() override;
  std::vector<TCustomForm*> MDIChildList();
  void WmMeasureItem(TMessage& m);
  void WmDrawItem(TMessage& m);
  void CmVisibleChanged(TMessage& m);
  void CmDialogKey(TMessage& m);
  void CmRelease(TMessage& m);

 private:
  // One turn of ShowModal's loop: a message, then the close handlers once
  // ModalResult is set.
  void ModalLoopStep();
  // The window carries the menu as its own menu bar (no host shows it).
  bool ShowsOwnMenu() const;
  // Merges the menu into the host's menu, or takes it out again.
  void MergeMenu(bool merge);

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  TFormStyle formStyle_ = fsNormal;
  bool keyPreview_ = false;
  int pixelsPerInch_ = 96;
  int textHeight_ = 0;
  bool scaled_ = true;
  bool autoScroll_ = false;
  bool oldCreateOrder_ = false;
  bool positioned_ = false;
  bool modal_ = false;
  bool releasePending_ = false;
  int pendingClientWidth_ = -1, pendingClientHeight_ = -1;
  TIcon icon_;
  TControlScrollBar horzScrollBar_{this, SB_HORZ};
  TControlScrollBar vertScrollBar_{this, SB_VERT};
  bool updatingScrollBars_ = false;
  TMainMenu* menu_ = nullptr;
  HWND clientHandle_ = nullptr;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  TModalResult modalResult_ = mrNone;
  TControlCanvas canvas_{this};
  TNotifyEvent onCreate_, onDestroy_, onShow_, onHide_, onActivate_, onDeactivate_, onPaint_;
  TCloseEvent onClose_;
  TCloseQueryEvent onCloseQuery_;
};

class TForm : public TCustomForm {
  KESTU_CLASS(TForm, TCustomForm)
 public:
  using TCustomForm::TCustomForm;
};

// Creates a form of class F owned by `owner` and builds it from its stored
// description; the form is deleted again when reading fails.
template <class F> F* CreateFormFromResource(TComponent* owner) {
  F* form = new F(owner);
  try {
    form->InitializeFromResource();
  } catch (...) {
    delete form;
    throw;
  }
  return form;
}

class TApplication : public TComponent {
  KESTU_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Hooks run by Initialize, in registration order (COM for the main thread
  // is the first).
  static void AddInitProc(std::function<void()> proc);
  void Initialize();

  // Creates a form from its stored description; the first becomes the main
  // form, and its window is created at once.
  template <class F> void CreateForm(F*& reference) {
    F* form = CreateFormFromResource<F>(this);
    reference = form;
    if (!mainForm_) {
      mainForm_ = form;
      form->HandleNeeded();
    }
  }

  HWND Handle();
  // The program's main icon ("MAINICON"), when it carries one.
  TIcon* Icon() { return &icon_; }
  TCustomForm* MainForm() const { return mainForm_; }
  void SetMainForm(TCustomForm* form) { mainForm_ = form; }
  const String& Title() const { return title_; }
  void SetTitle(const String& value);
  bool Terminated() const { return terminated_; }
  bool Running() const { return running_; }
  // The start-up show command (from the process start information unless set).
  int StartupShowCommand() const;
  void SetStartupShowCommand(int command) { startupShowCommand_ = command; }
  bool UseRightToLeftReading() const { return biDiMode_ != bdLeftToRight && TControl::SysLocaleMiddleEast(); }

  void Run();
  // One message: fetched, offered to the hooks, dispatched. Waits when idle.
  void HandleMessage();
  void ProcessMessages();
  void Terminate();
  // Minimises the application (its taskbar button and the forms it owns);
  // Restore brings them back, and the main form from minimised too.
  void Minimize();
  void Restore();
  // Shows or hides the application's taskbar button; the main form's
  // showing and hiding do it.
  void ShowTaskButton(bool show);

  // Shows the error box for the exception (EAbort is dropped). One error box
  // is up at a time: an error raised while it is (a handler failing on every
  // paint or timer tick behind it) shows no box of its own but is counted,
  // and the next box says how many were not shown.
  void HandleException(std::exception_ptr error);
  void ShowException(const String& message);
  // What is shown: the hook lets tests answer instead of a real box.
  using MessageBoxHook = std::function<int(HWND owner, const String& text, const String& caption, UINT flags)>;
  void SetMessageBoxHook(MessageBoxHook hook) { messageBoxHook_ = std::move(hook); }
  int MessageBox(const String& text, const String& caption, UINT flags);

  // Hooks that see every posted message before it is dispatched; a hook that
  // returns true has handled it.
  using MessageHook = std::function<bool(MSG& msg)>;
  int AddMessageHook(MessageHook hook);
  void RemoveMessageHook(int id);
  using TMessageEvent = std::function<void(MSG& msg, bool& handled)>;
  void SetOnMessage(TMessageEvent e) { onMessage_ = std::move(e); }
  using TExceptionEvent = std::function<void(TObject* Sender, const Exception& e)>;
  void SetOnException(TExceptionEvent e) { onException_ = std::move(e); }

  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool ProcessMessage(MSG& msg);
  static LRESULT CALLBACK WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
  TIcon icon_;
  TCustomForm* mainForm_ = nullptr;
  String title_;
  bool terminated_ = false;
  bool running_ = false;
  int startupShowCommand_ = -1;
  TBiDiMode biDiMode_ = bdLeftToRight;
  MessageBoxHook messageBoxHook_;
  bool showingError_ = false;
  int unshownErrors_ = 0;
  std::vector<std::pair<int, MessageHook>> messageHooks_;
  int nextHookId_ = 1;
  TMessageEvent onMessage_;
  TExceptionEvent onException_;
};

// The text of the error box: a full stop is added when the message is not
// empty and its last character comes after '.'.
String ErrorBoxText(const String& message);

class TScreen : public TComponent {
  KESTU_CLASS(TScreen, TComponent)
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  int FormCount() const { return int(forms_.size()); }
  TCustomForm* Forms(int i) const { return forms_.at(std::size_t(i)); }
  TCustomForm* ActiveForm() const { return activeForm_; }
  TWinControl* ActiveControl() const { return activeControl_; }
  HCURSOR Cursors(TCursor cursor);
  void SetCursors(TCursor cursor, HCURSOR handle);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor v);
  TFont* MenuFont() { return &menuFont_; }
  int PixelsPerInch() const { return pixelsPerInch_; }
  // Tests set another density to check scaling.
  void SetPixelsPerInch(int v) { pixelsPerInch_ = v; }
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  RECT WorkAreaRect() const;
  RECT DesktopRect() const;

 private:
  friend class TCustomForm;
  friend class TWinControl;
  std::vector<TCustomForm*> forms_;
  TCustomForm* activeForm_ = nullptr;
  TWinControl* activeControl_ = nullptr;
  std::vector<std::pair<TCursor, HCURSOR>> cursors_;
  TCursor cursor_ = crDefault;
  TFont menuFont_;
  int pixelsPerInch_ = 96;
};

extern TApplication* Application;
extern TScreen* Screen;

}  // namespace kestu
