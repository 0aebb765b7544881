#include "framework/Forms.h"

#include <objbase.h>

#include <algorithm>
#include <cwctype>

#include "framework/FormReader.h"
#include "framework/SysUtils.h"

namespace kestu {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

bool comInitialized = false;

std::vector<std::function<void()>>& InitProcs() {
  static std::vector<std::function<void()>> procs{[] { comInitialized = SUCCEEDED(CoInitialize(nullptr)); }};
  return procs;
}

// Creates the two global objects before main and frees them after it.
struct Globals {
  Globals() {
    Screen = new TScreen(nullptr);
    Application = new TApplication(nullptr);
    DropPostedPointerMessages();
  }
  ~Globals() {
    delete Application;
    Application = nullptr;
    delete Screen;
    Screen = nullptr;
    if (comInitialized) CoUninitialize();
  }
} globals;

// Disables the enabled, visible top-level windows of this thread (except
// `keep`) and enables them again on scope exit.
class TaskWindowsDisabled {
 public:
  explicit TaskWindowsDisabled(HWND keep) : keep_(keep) {
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
    for (HWND w : windows_) EnableWindow(w, FALSE);
  }
  ~TaskWindowsDisabled() {
    for (HWND w : windows_)
      if (IsWindow(w)) EnableWindow(w, TRUE);
  }
  TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
  TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

 private:
  static BOOL CALLBACK Collect(HWND w, LPARAM self) {
    auto* me = reinterpret_cast<TaskWindowsDisabled*>(self);
    if (w != me->keep_ && IsWindowVisible(w) && IsWindowEnabled(w)) me->windows_.push_back(w);
    return TRUE;
  }
  HWND keep_;
  std::vector<HWND> windows_;
};

String UpperCase(String s) {
  for (wchar_t& c : s) c = wchar_t(std::towupper(c));
  return s;
}

}  // namespace

void HandleCallbackException() noexcept {
  try {
    if (Application) Application->HandleException(std::current_exception());
  } catch (...) {
  }
}

bool IdentToModalResult(std::string_view name, std::int64_t& value) {
  static const char* const kNames[] = {"mrNone", "mrOk", "mrCancel", "mrAbort", "mrRetry", "mrIgnore",
                                       "mrYes", "mrNo", "mrAll", "mrNoToAll", "mrYesToAll"};
  for (std::size_t i = 0; i < std::size(kNames); ++i)
    if (SameText(kNames[i], name)) return value = std::int64_t(i), true;
  return false;
}

POINT PositionFor(TPosition position, POINT designed, SIZE size, const RECT& screen, const RECT& desktop,
                  const RECT* center) {
  auto centred = [&](const RECT& r) {
    return POINT{r.left + (r.right - r.left - size.cx) / 2, r.top + (r.bottom - r.top - size.cy) / 2};
  };
  switch (position) {
    case poScreenCenter: return centred(screen);
    case poDesktopCenter: return centred(desktop);
    case poMainFormCenter:
    case poOwnerFormCenter: return centred(center ? *center : screen);
    case poDefault:
    case poDefaultPosOnly: return {CW_USEDEFAULT, CW_USEDEFAULT};
    default: return designed;
  }
}

// ---------------------------------------------------------------------------
// TCustomForm

KESTU_PUBLISH(TCustomForm) {
  p.Enum("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, bsSizeable,
         {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"});
  p.Set("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons,
        biSystemMenu | biMinimize | biMaximize, {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"});
  p.Enum("Position", &TCustomForm::Position, &TCustomForm::SetPosition, poDesigned,
         {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter",
          "poMainFormCenter", "poOwnerFormCenter"});
  p.Enum("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState, wsNormal,
         {"wsNormal", "wsMinimized", "wsMaximized"});
  p.Enum("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, fsNormal,
         {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"});
  p.Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview, false);
  p.Int("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch, 96);
  p.Int("TextHeight", &TCustomForm::TextHeight, &TCustomForm::SetTextHeight, 0);
  p.Bool("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled, true);
  p.Bool("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll, false);
  p.Bool("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder, false);
  p.Int("ClientWidth", &TCustomForm::StoredClientWidth, &TCustomForm::SetStoredClientWidth);
  p.Int("ClientHeight", &TCustomForm::StoredClientHeight, &TCustomForm::SetStoredClientHeight);
  p.Int("ModalResult", &TCustomForm::ModalResult, &TCustomForm::SetModalResult, 0).Idents(&IdentToModalResult);
  p.Ref("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
  p.Ref("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu);
  p.Object("HorzScrollBar", &TCustomForm::HorzScrollBar);
  p.Object("VertScrollBar", &TCustomForm::VertScrollBar);
  p.Object("Icon", &TCustomForm::Icon);
  p.Event("OnCreate", &TCustomForm::SetOnCreate);
  p.Event("OnDestroy", &TCustomForm::SetOnDestroy);
  p.Event("OnShow", &TCustomForm::SetOnShow);
  p.Event("OnHide", &TCustomForm::SetOnHide);
  p.Event("OnActivate", &TCustomForm::SetOnActivate);
  p.Event("OnDeactivate", &TCustomForm::SetOnDeactivate);
  p.Event("OnPaint", &TCustomForm::SetOnPaint);
  p.Event("OnClose", &TCustomForm::SetOnClose);
  p.Event("OnCloseQuery", &TCustomForm::SetOnCloseQuery);
}

KESTU_PUBLISH(TForm) {}

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  SetVisible(false);
  SetColor(clBtnFace);
  SetParentFont(false);
  SetBounds(0, 0, 320, 240);
  Font()->SetName(L"MS Sans Serif");
  if (Screen) {
    pixelsPerInch_ = Screen->PixelsPerInch();
    Screen->forms_.push_back(this);
  }
  controlStyle_ |= csAcceptsControls;
}

TCustomForm::~TCustomForm() {
  if (onDestroy_ && !HasState(csDesigning)) {
    try {
      onDestroy_(this);
    } catch (...) {
      HandleCallbackException();
    }
  }
  // Before the menu's items go: the host's bar must not show them meanwhile.
  if (menu_ && menu_->MergedInto()) menu_->MergedInto()->Unmerge(menu_);
  Destroying();
  DestroyComponents();
  if (Screen) {
    auto& forms = Screen->forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (Screen->activeForm_ == this) Screen->activeForm_ = nullptr;
  }
  if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
  DestroyHandle();
  clientHandle_ = nullptr;
}

void TCustomForm::InitializeFromResource() {
  const String name = UpperCase(ClassName());
  if (!FindResourceW(GetModuleHandleW(nullptr), name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */))
    throw EReadError(L"Resource " + name + L" not found");
  const Bytes text = LoadResourceData(name);
  ReadComponentText(this, std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
  DoCreate();
}

void TCustomForm::InitializeFromText(std::string_view description) {
  ReadComponentText(this, description);
  DoCreate();
}

void TCustomForm::DoCreate() {
  if (onCreate_) onCreate_(this);
  if (Visible()) Perform(CM_VISIBLECHANGED, 1);
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  // Built at another density: scale children, client size and font.
  const int screenPpi = Screen ? Screen->PixelsPerInch() : 96;
  if (scaled_ && pixelsPerInch_ > 0 && pixelsPerInch_ != screenPpi) {
    const int M = screenPpi, D = pixelsPerInch_;
    const int cw = ClientWidth(), ch = ClientHeight();
    DisableAlign();
    for (TControl* c : ControlList()) c->ScaleBy(M, D);
    Font()->SetHeight(MulDiv(Font()->Height(), M, D));
    SetClientSize(MulDiv(cw, M, D), MulDiv(ch, M, D));
    EnableAlign();
    pixelsPerInch_ = screenPpi;
  }
}

void TCustomForm::FrameStyles(DWORD& style, DWORD& exStyle) const {
  style = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  exStyle = 0;
  switch (borderStyle_) {
    case bsNone: style |= WS_POPUP; break;
    case bsSingle: style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: style |= WS_POPUP | WS_CAPTION; exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE; break;
    case bsToolWindow: style |= WS_CAPTION; exStyle |= WS_EX_TOOLWINDOW; break;
    case bsSizeToolWin: style |= WS_CAPTION | WS_THICKFRAME; exStyle |= WS_EX_TOOLWINDOW; break;
  }
  if (borderStyle_ != bsNone && (borderIcons_ & biSystemMenu)) {
    style |= WS_SYSMENU;
    if (borderStyle_ == bsSingle || borderStyle_ == bsSizeable) {
      if (borderIcons_ & biMinimize) style |= WS_MINIMIZEBOX;
      if (borderIcons_ & biMaximize) style |= WS_MAXIMIZEBOX;
    }
    if ((borderIcons_ & biHelp) && (borderStyle_ == bsDialog || !(borderIcons_ & (biMinimize | biMaximize))))
      exStyle |= WS_EX_CONTEXTHELP;
  }
  if (formStyle_ == fsStayOnTop) exStyle |= WS_EX_TOPMOST;
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  DWORD style = 0, exStyle = 0;
  FrameStyles(style, exStyle);
  p.Style = style | (Enabled() ? 0 : WS_DISABLED);
  p.ExStyle = exStyle;
  p.WndParent = Application ? Application->Handle() : nullptr;
  if (windowState_ == wsMaximized) p.Style |= WS_MAXIMIZE;
  if (formStyle_ == fsMDIChild) {
    TCustomForm* frame = Application ? Application->MainForm() : nullptr;
    if (!frame || frame == this || frame->FormStyle() != fsMDIForm)
      throw EComponentError(L"Cannot create form. No MDI forms are currently active");
    frame->HandleNeeded();
    p.WndParent = frame->ClientHandle();
    p.ExStyle |= WS_EX_MDICHILD;
    p.Style |= WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_CAPTION | WS_THICKFRAME |
               WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    p.Style &= ~DWORD(WS_POPUP);
    if (Visible()) p.Style |= WS_VISIBLE;
    if (position_ == poDefault || position_ == poDefaultPosOnly) p.X = p.Y = CW_USEDEFAULT;
  }
}

void TCustomForm::CreateHandleDone() {
  if (formStyle_ == fsMDIForm && !clientHandle_) {
    CLIENTCREATESTRUCT ccs{};
    ccs.idFirstChild = 0xFF00;
    RECT r;
    GetClientRect(Handle(), &r);
    clientHandle_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL,
                                    0, 0, r.right, r.bottom, Handle(), nullptr, GetModuleHandleW(nullptr), &ccs);
  }
  if (ShowsOwnMenu()) {
    ::SetMenu(Handle(), menu_->Handle());
    menu_->SetWindowHandle(Handle());
  }
  if (pendingClientWidth_ >= 0 || pendingClientHeight_ >= 0) {
    const int w = pendingClientWidth_ >= 0 ? pendingClientWidth_ : ClientWidth();
    const int h = pendingClientHeight_ >= 0 ? pendingClientHeight_ : ClientHeight();
    pendingClientWidth_ = pendingClientHeight_ = -1;
    TWinControl::SetClientSize(w, h);
  }
  if (icon_.Handle()) SendMessageW(Handle(), WM_SETICON, ICON_BIG, LPARAM(icon_.Handle()));
  UpdateScrollBars();
}

RECT TCustomForm::ClientRect() {
  if (!HandleAllocated() && (pendingClientWidth_ >= 0 || pendingClientHeight_ >= 0)) {
    RECT r = TWinControl::ClientRect();
    if (pendingClientWidth_ >= 0) r.right = pendingClientWidth_;
    if (pendingClientHeight_ >= 0) r.bottom = pendingClientHeight_;
    return r;
  }
  return TWinControl::ClientRect();
}

void TCustomForm::SetClientSize(int w, int h) {
  if (HandleAllocated()) return TWinControl::SetClientSize(w, h);
  // Without a window yet: the frame size follows from the styles.
  pendingClientWidth_ = w;
  pendingClientHeight_ = h;
  DWORD style = 0, exStyle = 0;
  FrameStyles(style, exStyle);
  RECT r{0, 0, w, h};
  AdjustWindowRectEx(&r, style, ShowsOwnMenu() ? TRUE : FALSE, exStyle);
  TControl::SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

bool TCustomForm::Showing() const { return HandleAllocated() && Visible(); }

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  if (HandleAllocated() && !HasState(csLoading)) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons v) {
  if (v == borderIcons_) return;
  borderIcons_ = v;
  if (HandleAllocated() && !HasState(csLoading)) RecreateWnd();
}

void TCustomForm::SetPosition(TPosition v) {
  if (v == position_) return;
  position_ = v;
  if (!HasState(csLoading) && Visible()) {
    positioned_ = false;
    ApplyPosition();
  }
}

void TCustomForm::ApplyPosition() {
  if (positioned_ || HasState(csDesigning)) return;
  positioned_ = true;
  if (position_ == poDesigned) return;
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT desktop = Screen ? Screen->DesktopRect() : screen;
  const RECT* center = nullptr;
  RECT centerRect{};
  TCustomForm* target = nullptr;
  if (position_ == poOwnerFormCenter) target = dynamic_cast<TCustomForm*>(Owner());
  if (!target && (position_ == poMainFormCenter || position_ == poOwnerFormCenter) && Application)
    target = Application->MainForm();
  if (target && target != this) {
    centerRect = target->BoundsRect();
    center = &centerRect;
  }
  POINT at = PositionFor(position_, {Left(), Top()}, {Width(), Height()}, screen, desktop, center);
  if (at.x == CW_USEDEFAULT) return;
  SetBounds(at.x, at.y, Width(), Height());
}

TWindowState TCustomForm::WindowState() const {
  if (HandleAllocated() && !HasState(csLoading)) {
    HWND h = const_cast<TCustomForm*>(this)->Handle();
    if (IsIconic(h)) return wsMinimized;
    if (IsZoomed(h)) return wsMaximized;
    if (IsWindowVisible(h)) return wsNormal;
  }
  return windowState_;
}

void TCustomForm::SetWindowState(TWindowState v) {
  windowState_ = v;
  if (HandleAllocated() && Visible()) {
    static const int kShow[] = {SW_RESTORE, SW_MINIMIZE, SW_SHOWMAXIMIZED};
    ShowWindow(Handle(), kShow[v]);
  }
}

void TCustomForm::SetActiveControl(TWinControl* v) {
  if (v == activeControl_) return;
  if (v && (v == this || v->GetParentForm() != this || (!HasState(csLoading) && !v->CanFocus())))
    throw EComponentError(L"Cannot focus a disabled or invisible window");
  activeControl_ = v;
  if (v) v->FreeNotification(this);
  if (!HasState(csLoading) && v && HandleAllocated() && GetActiveWindow() == Handle()) v->SetFocus();
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
  if (control == this) control = nullptr;
  if (Screen) Screen->activeControl_ = control, Screen->activeForm_ = this;
  if (control == focusedControl_) return;
  TWinControl* previous = focusedControl_;
  focusedControl_ = control;
  if (control) activeControl_ = control;
  if (previous) previous->Perform(CM_EXIT);
  if (control) control->Perform(CM_ENTER);
  BroadcastAll(CM_FOCUSCHANGED, 0, LPARAM(control));
}

void TCustomForm::ControlRemoved(TControl* control) {
  if (Screen && Screen->activeControl_ == control) Screen->activeControl_ = nullptr;
  if (activeControl_ == control) activeControl_ = nullptr;
  if (focusedControl_ == control) focusedControl_ = nullptr;
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove) {
    if (AComponent == menu_) SetMenu(nullptr);
    if (AComponent == activeControl_) activeControl_ = nullptr;
    if (AComponent == focusedControl_) focusedControl_ = nullptr;
  }
}

bool TCustomForm::DoKeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown()) OnKeyDown()(this, key, shift);
  return key == 0;
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || modal_) throw EComponentError(L"Cannot make a visible window modal");
  if (GetCapture()) SendMessageW(GetCapture(), WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  HWND active = GetActiveWindow();
  modal_ = true;
  modalResult_ = mrNone;
  {
    TaskWindowsDisabled disabled(HandleAllocated() ? Handle() : nullptr);
    try {
      Show();
      do {
        // An error in a hook or a close handler is reported as the main
        // loop would, and the window stays.
        try {
          ModalLoopStep();
        } catch (...) {
          Application->HandleException(std::current_exception());
        }
      } while (modalResult_ == mrNone);
    } catch (...) {
      modal_ = false;
      Hide();
      throw;
    }
  }
  modal_ = false;
  Hide();
  if (active && IsWindow(active)) SetActiveWindow(active);
  return modalResult_;
}

void TCustomForm::ModalLoopStep() {
  Application->HandleMessage();
  if (Application->Terminated()) {
    modalResult_ = mrCancel;
    return;
  }
  if (modalResult_ == mrNone) return;
  // The form may refuse or change the result in its close handlers; one
  // that fails refuses it.
  TCloseAction action = caHide;
  try {
    if (!CloseQuery()) action = caNone;
    else if (onClose_) onClose_(this, action);
  } catch (...) {
    modalResult_ = mrNone;
    throw;
  }
  if (action == caNone) modalResult_ = mrNone;
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (onCloseQuery_) onCloseQuery_(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = (Application && Application->MainForm() == this) ? caFree : caHide;
  if (formStyle_ == fsMDIChild) action = caMinimize;
  if (onClose_) onClose_(this, action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
  }
}

void TCustomForm::Release() {
  releasePending_ = true;
  PostMessageW(Handle(), CM_RELEASE, 0, 0);
}

// The message table of a form.
void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE: return WmClose(m);
    case WM_ACTIVATE: return WmActivate(m);
    case WM_MDIACTIVATE: return WmMdiActivate(m);
    case WM_SETFOCUS: return WmSetFocus(m);
    case WM_GETMINMAXINFO: return WmGetMinMaxInfo(m);
    case WM_COMMAND: return WmCommand(m);
    case WM_HSCROLL: case WM_VSCROLL: return WmScroll(m);
    case WM_SIZE: return WmSize(m);
    case WM_MEASUREITEM: return WmMeasureItem(m);
    case WM_DRAWITEM: return WmDrawItem(m);
    case CM_VISIBLECHANGED: return CmVisibleChanged(m);
    case CM_DIALOGKEY: return CmDialogKey(m);
    case CM_RELEASE: return CmRelease(m);
    default: return TWinControl::WndProc(m);
  }
}

void TCustomForm::WmClose(TMessage&) { Close(); }

void TCustomForm::WmScroll(TMessage& m) {
  if (m.LParam) return TWinControl::WndProc(m);  // a scroll bar control's
  (m.Msg == WM_HSCROLL ? horzScrollBar_ : vertScrollBar_).ScrollMessage(LOWORD(m.WParam));
}

void TCustomForm::WmSize(TMessage& m) {
  TWinControl::WndProc(m);  // the frame procedure would cover the whole client area
  PlaceClientWindow();
  UpdateScrollBars();
}

// The MDI client takes what the aligned controls leave of the client area.
void TCustomForm::PlaceClientWindow() {
  if (!clientHandle_) return;
  RECT r = ClientRect();
  AdjustClientRect(r);
  for (TControl* c : ControlList()) {
    if (!c->Visible()) continue;
    switch (c->Align()) {
      case alTop: r.top = std::max(r.top, LONG(c->Top() + c->Height())); break;
      case alBottom: r.bottom = std::min(r.bottom, LONG(c->Top())); break;
      case alLeft: r.left = std::max(r.left, LONG(c->Left() + c->Width())); break;
      case alRight: r.right = std::min(r.right, LONG(c->Left())); break;
      default: break;
    }
  }
  SetWindowPos(clientHandle_, HWND_BOTTOM, r.left, r.top, std::max(0L, r.right - r.left),
               std::max(0L, r.bottom - r.top), SWP_NOACTIVATE);
}

void TCustomForm::SetFormStyle(TFormStyle v) {
  if (v == formStyle_) return;
  if (HandleAllocated() && !HasState(csLoading) && (v == fsMDIForm || formStyle_ == fsMDIForm))
    throw EComponentError(L"Cannot change the MDI style of a form with a window");
  formStyle_ = v;
  if (HandleAllocated() && !HasState(csLoading)) RecreateWnd();
}

void TCustomForm::DestroyWnd() {
  clientHandle_ = nullptr;  // a child window, destroyed with ours
  TWinControl::DestroyWnd();
}

void TCustomForm::DefaultHandler(TMessage& m) {
  if (!HandleAllocated()) return;
  if (formStyle_ == fsMDIForm && clientHandle_ && m.Msg != WM_SIZE)
    m.Result = DefFrameProcW(Handle(), clientHandle_, m.Msg, m.WParam, m.LParam);
  else if (formStyle_ == fsMDIChild)
    m.Result = DefMDIChildProcW(Handle(), m.Msg, m.WParam, m.LParam);
  else
    TWinControl::DefaultHandler(m);
}

std::vector<TCustomForm*> TCustomForm::MDIChildList() {
  std::vector<TCustomForm*> children;
  if (!clientHandle_ || !Screen) return children;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->FormStyle() == fsMDIChild && f->HandleAllocated() && GetParent(f->Handle()) == clientHandle_)
      children.push_back(f);
  }
  return children;
}

TCustomForm* TCustomForm::ActiveMDIChild() {
  if (!clientHandle_) return nullptr;
  HWND active = reinterpret_cast<HWND>(SendMessageW(clientHandle_, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TCustomForm*>(TWinControl::FindControl(active));
}

int TCustomForm::MDIChildCount() { return int(MDIChildList().size()); }

TCustomForm* TCustomForm::MDIChildren(int i) { return MDIChildList().at(std::size_t(i)); }

void TCustomForm::SetAutoScroll(bool v) {
  if (v == autoScroll_) return;
  autoScroll_ = v;
  UpdateScrollBars();
}

void TCustomForm::UpdateScrollBars() {
  if (!HandleAllocated() || updatingScrollBars_ || HasState(csLoading | csDestroying)) return;
  updatingScrollBars_ = true;
  if (autoScroll_) {
    // The range covers every visible child, at its unscrolled place.
    int right = 0, bottom = 0;
    for (TControl* c : ControlList()) {
      if (!c->Visible() || c->Align() != alNone) continue;
      right = std::max(right, c->Left() + c->Width() + horzScrollBar_.Position());
      bottom = std::max(bottom, c->Top() + c->Height() + vertScrollBar_.Position());
    }
    horzScrollBar_.SetCalculatedRange(right);
    vertScrollBar_.SetCalculatedRange(bottom);
  } else {
    horzScrollBar_.SetCalculatedRange(0);
    vertScrollBar_.SetCalculatedRange(0);
  }
  // Twice: showing one bar narrows the client area for the other.
  for (int i = 0; i < 2; ++i) {
    horzScrollBar_.Update();
    vertScrollBar_.Update();
  }
  updatingScrollBars_ = false;
}

void TCustomForm::ScrollBy(int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  DisableAlign();
  for (TControl* c : ControlList()) c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
  EnableAlign();
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
}

// ---------------------------------------------------------------------------
// TControlScrollBar

KESTU_PUBLISH(TControlScrollBar) {
  p.Int("Range", &TControlScrollBar::Range, &TControlScrollBar::SetRange, 0);
  p.Int("Increment", &TControlScrollBar::Increment, &TControlScrollBar::SetIncrement, 8);
  p.Int("Position", &TControlScrollBar::Position, &TControlScrollBar::SetPosition, 0);
  p.Bool("Visible", &TControlScrollBar::Visible, &TControlScrollBar::SetVisible, true);
  p.Bool("Tracking", &TControlScrollBar::Tracking, &TControlScrollBar::SetTracking, false);
}

void TControlScrollBar::Assign(const TPersistent* source) {
  auto* b = dynamic_cast<const TControlScrollBar*>(source);
  if (!b) return TPersistent::Assign(source);
  range_ = b->range_, increment_ = b->increment_, visible_ = b->visible_, tracking_ = b->tracking_;
  form_->UpdateScrollBars();
}

int TControlScrollBar::ClientExtent() const {
  RECT r{};
  if (form_->HandleAllocated()) GetClientRect(form_->Handle(), &r);
  return bar_ == SB_HORZ ? int(r.right) : int(r.bottom);
}

int TControlScrollBar::EffectiveRange() const { return std::max(range_, calculatedRange_); }

void TControlScrollBar::SetRange(int v) {
  if (v == range_) return;
  range_ = std::max(v, 0);
  form_->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  form_->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int v) {
  const int limit = std::max(EffectiveRange() - ClientExtent(), 0);
  v = std::clamp(v, 0, limit);
  if (v == position_) return;
  const int delta = position_ - v;
  position_ = v;
  if (bar_ == SB_HORZ) form_->ScrollBy(delta, 0);
  else form_->ScrollBy(0, delta);
  if (form_->HandleAllocated()) SetScrollPos(form_->Handle(), bar_, position_, TRUE);
}

void TControlScrollBar::Update() {
  if (!form_->HandleAllocated()) return;
  const int extent = ClientExtent();
  const bool show = visible_ && EffectiveRange() > extent;
  if (!show && position_ != 0) SetPosition(0);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = show ? EffectiveRange() - 1 : 0;
  info.nPage = show ? UINT(extent) : 0;
  info.nPos = position_;
  if (show != shown_) {
    shown_ = show;
    ShowScrollBar(form_->Handle(), bar_, show);
  }
  if (show) SetScrollInfo(form_->Handle(), bar_, &info, TRUE);
  if (show) SetPosition(position_);  // the client may have grown
}

void TControlScrollBar::ScrollMessage(WORD code) {
  const int page = ClientExtent();
  switch (code) {
    case SB_LINEUP: SetPosition(position_ - increment_); break;
    case SB_LINEDOWN: SetPosition(position_ + increment_); break;
    case SB_PAGEUP: SetPosition(position_ - page); break;
    case SB_PAGEDOWN: SetPosition(position_ + page); break;
    case SB_TOP: SetPosition(0); break;
    case SB_BOTTOM: SetPosition(EffectiveRange()); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      if (code == SB_THUMBTRACK && !tracking_) break;
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(form_->Handle(), bar_, &info);
      SetPosition(info.nTrackPos);
      break;
    }
    default: break;
  }
}

void TCustomForm::WmCommand(TMessage& m) {
  if (m.LParam == 0 && HIWORD(m.WParam) <= 1 && menu_ && menu_->DispatchCommand(LOWORD(m.WParam))) return;
  TWinControl::WndProc(m);
}

void TCustomForm::WmMeasureItem(TMessage& m) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (measure->CtlType == ODT_MENU && menu_ && menu_->MeasureItem(*measure)) {
    m.Result = TRUE;
    return;
  }
  TWinControl::WndProc(m);
}

void TCustomForm::WmDrawItem(TMessage& m) {
  auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (draw->CtlType == ODT_MENU && menu_ && menu_->DrawItem(*draw)) {
    m.Result = TRUE;
    return;
  }
  TWinControl::WndProc(m);
}

void TCustomForm::SetMenu(TMainMenu* v) {
  if (v == menu_) return;
  // A menu shown merged in a host's bar is followed there by the new one.
  TMainMenu* mergedInto = menu_ ? menu_->MergedInto() : nullptr;
  if (menu_) {
    menu_->RemoveFreeNotification(this);
    menu_->SetWindowHandle(nullptr);
  }
  menu_ = v;
  if (v) v->FreeNotification(this);
  if (mergedInto) mergedInto->Merge(v);
  if (HandleAllocated() && !HasState(csLoading)) {
    const int cw = ClientWidth(), ch = ClientHeight();
    const bool own = ShowsOwnMenu();
    ::SetMenu(Handle(), own ? v->Handle() : nullptr);
    if (own) v->SetWindowHandle(Handle());
    SetClientSize(cw, ch);
  }
}

void TCustomForm::WmActivate(TMessage& m) {
  DefaultHandler(m);
  const bool active = LOWORD(m.WParam) != WA_INACTIVE;
  if (active) {
    if (Screen) Screen->activeForm_ = this;
    if (formStyle_ != fsMDIChild) MergeMenu(true);
    if (onActivate_) onActivate_(this);
  } else if (onDeactivate_) {
    onDeactivate_(this);
  }
  Perform(active ? CM_ACTIVATE : CM_DEACTIVATE);
}

void TCustomForm::WmSetFocus(TMessage& m) {
  DefaultHandler(m);
  // The form passes the focus on to its active control, or the first one.
  TWinControl* target = activeControl_;
  if (!target || !target->CanFocus()) target = FindNextControl(nullptr, true, true, false);
  if (target && target->CanFocus()) ::SetFocus(target->Handle());
}

void TCustomForm::WmGetMinMaxInfo(TMessage& m) {
  DefaultHandler(m);
  auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
  TSizeConstraints* c = Constraints();
  if (c->MinWidth() > 0) info->ptMinTrackSize.x = c->MinWidth();
  if (c->MinHeight() > 0) info->ptMinTrackSize.y = c->MinHeight();
  if (c->MaxWidth() > 0) info->ptMaxTrackSize.x = c->MaxWidth();
  if (c->MaxHeight() > 0) info->ptMaxTrackSize.y = c->MaxHeight();
}

void TCustomForm::CmVisibleChanged(TMessage& m) {
  if (HasState(csLoading | csDesigning)) return;
  const bool mainForm = Application && Application->MainForm() == this;
  if (Visible()) {
    HandleNeeded();
    ApplyPosition();
    if (mainForm) Application->ShowTaskButton(true);
    // A form shown minimised does not take the activation from whoever has it.
    static const int kShow[] = {SW_SHOWNORMAL, SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED};
    ShowWindow(Handle(), kShow[windowState_]);
    if (formStyle_ != fsMDIChild) MergeMenu(true);
    if (onShow_) onShow_(this);
  } else if (HandleAllocated()) {
    MergeMenu(false);
    if (onHide_) onHide_(this);
    ShowWindow(Handle(), SW_HIDE);
    if (mainForm) Application->ShowTaskButton(false);
  }
  TControl::WndProc(m);
}

void TCustomForm::CmDialogKey(TMessage& m) {
  const WORD key = WORD(m.WParam);
  const TShiftState shift = KeyDataToShiftState(m.LParam);
  switch (key) {
    case VK_TAB:
      if (shift & ssCtrl) break;
      SelectNext(activeControl_, !(shift & ssShift), true);
      m.Result = 1;
      return;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
      if (activeControl_ && activeControl_->Parent()) {
        const bool forward = key == VK_RIGHT || key == VK_DOWN;
        if (TWinControl* next = activeControl_->Parent()->FindNextControl(activeControl_, forward, false, true))
          next->SetFocus();
        m.Result = 1;
        return;
      }
      break;
    default: break;
  }
  TWinControl::WndProc(m);
}

// Posted by Release; a copy posted by anyone else finds no release pending.
void TCustomForm::CmRelease(TMessage&) {
  if (releasePending_) delete this;
}

void TCustomForm::PaintWindow(HDC dc) {
  if (!onPaint_) return;
  canvas_.FreeHandle();
  canvas_.SetHandle(dc);
  try {
    onPaint_(this);
  } catch (...) {
    canvas_.SetHandle(nullptr);
    throw;
  }
  canvas_.SetHandle(nullptr);
}

// ---------------------------------------------------------------------------
// TApplication

KESTU_PUBLISH(TApplication) {}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  if (HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")) icon_.SetHandle(icon);
}

TApplication::~TApplication() {
  Destroying();
  DestroyComponents();
  if (handle_) DestroyWindow(handle_);
}

void TApplication::AddInitProc(std::function<void()> proc) { InitProcs().push_back(std::move(proc)); }

void TApplication::Initialize() {
  for (auto& proc : InitProcs()) proc();
}

LRESULT CALLBACK TApplication::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    switch (msg) {
      case WM_CLOSE:
        if (Application && Application->mainForm_) Application->mainForm_->Close();
        return 0;
      case WM_ENDSESSION:
        if (wParam && Application) Application->Terminate();
        return 0;
      case WM_ACTIVATE:
        // Activated through its taskbar button: the window the user last
        // worked in takes over.
        if (LOWORD(wParam) != WA_INACTIVE) {
          HWND popup = GetLastActivePopup(window);
          if (popup != window && IsWindowVisible(popup) && IsWindowEnabled(popup)) SetActiveWindow(popup);
        }
        return 0;
      case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_RESTORE && Application) return Application->Restore(), 0;
        break;
      default: break;
    }
  } catch (...) {
    HandleCallbackException();
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

HWND TApplication::Handle() {
  if (!handle_) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, L"TApplication", &wc)) {
      wc = WNDCLASSEXW{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &TApplication::WndProc;
      wc.hInstance = instance;
      wc.hIcon = LoadIconW(instance, L"MAINICON");
      wc.hIconSm = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), LR_SHARED));
      wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
      wc.lpszClassName = L"TApplication";
      RegisterClassExW(&wc);
    }
    handle_ = CreateWindowExW(0, L"TApplication", title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                              nullptr, nullptr, instance, nullptr);
    if (icon_.Handle()) SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Handle()));
  }
  return handle_;
}

void TApplication::ShowTaskButton(bool show) {
  // The window has no size: shown, it is only the taskbar button (unowned,
  // no tool window), and the forms it owns get none of their own.
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TApplication::SetTitle(const String& value) {
  if (value == title_) return;
  title_ = value;
  SetWindowTextW(Handle(), title_.c_str());
}

int TApplication::StartupShowCommand() const {
  if (startupShowCommand_ >= 0) return startupShowCommand_;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  GetStartupInfoW(&si);
  return (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : SW_SHOWNORMAL;
}

void TApplication::Run() {
  running_ = true;
  if (mainForm_) {
    const int command = StartupShowCommand();
    if (command == SW_SHOWMAXIMIZED) mainForm_->SetWindowState(wsMaximized);
    else if (command == SW_SHOWMINNOACTIVE) mainForm_->SetWindowState(wsMinimized);
    if (mainForm_->WindowState() == wsMinimized) {
      mainForm_->SetVisible(true);
      Minimize();
    } else {
      mainForm_->SetVisible(true);
    }
  }
  while (!terminated_) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(std::current_exception());
    }
  }
  running_ = false;
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool handled = false;
  if (onMessage_) onMessage_(msg, handled);
  for (std::size_t i = 0; !handled && i < messageHooks_.size(); ++i) {
    MessageHook hook = messageHooks_[i].second;  // a hook may remove itself
    handled = hook(msg);
  }
  if (!handled && mainForm_ && mainForm_->ClientHandle() && TranslateMDISysAccel(mainForm_->ClientHandle(), &msg))
    handled = true;
  if (!handled) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg) && !terminated_) WaitMessage();
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

void TApplication::Minimize() {
  if (!mainForm_ || !mainForm_->HandleAllocated()) return;
  if (!IsWindowVisible(Handle())) {
    ShowWindow(mainForm_->Handle(), SW_MINIMIZE);  // no taskbar window: the form itself
    return;
  }
  // The window of the taskbar button goes down and takes the forms it owns
  // with it (the system does not hide them everywhere by itself).
  ShowWindow(Handle(), SW_MINIMIZE);
  ShowOwnedPopups(Handle(), FALSE);
}

void TApplication::Restore() {
  if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
  ShowOwnedPopups(Handle(), TRUE);
  if (mainForm_ && mainForm_->HandleAllocated() && IsIconic(mainForm_->Handle()))
    ShowWindow(mainForm_->Handle(), SW_RESTORE);
}

int TApplication::AddMessageHook(MessageHook hook) {
  messageHooks_.emplace_back(nextHookId_, std::move(hook));
  return nextHookId_++;
}

void TApplication::RemoveMessageHook(int id) {
  messageHooks_.erase(std::remove_if(messageHooks_.begin(), messageHooks_.end(),
                                     [id](const auto& h) { return h.first == id; }),
                      messageHooks_.end());
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == mainForm_) mainForm_ = nullptr;
}

String ErrorBoxText(const String& message) {
  if (message.empty()) return message;
  // The last character as a code point (a surrogate pair counts as one).
  std::uint32_t last = message.back();
  if (last >= 0xDC00 && last <= 0xDFFF && message.size() >= 2) {
    const std::uint32_t high = message[message.size() - 2];
    if (high >= 0xD800 && high <= 0xDBFF) last = 0x10000 + ((high - 0xD800) << 10) + (last - 0xDC00);
  }
  return last > L'.' ? message + L"." : message;
}

void TApplication::HandleException(std::exception_ptr error) {
  if (HWND capture = GetCapture()) SendMessageW(capture, WM_CANCELMODE, 0, 0);
  try {
    std::rethrow_exception(error);
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    if (onException_) onException_(this, e);
    else ShowException(e.Message());
  } catch (const std::exception& e) {
    const String text = Utf8ToString(e.what());
    if (onException_) onException_(this, Exception(text));
    else ShowException(text);
  } catch (...) {
    ShowException(L"Unknown error");
  }
}

int TApplication::MessageBox(const String& text, const String& caption, UINT flags) {
  HWND active = GetActiveWindow();
  HWND focus = GetFocus();
  int result;
  {
    TaskWindowsDisabled disabled(nullptr);
    if (messageBoxHook_) result = messageBoxHook_(Handle(), text, caption, flags);
    else result = ::MessageBoxW(Handle(), text.c_str(), caption.c_str(), flags);
  }
  if (active && IsWindow(active)) SetActiveWindow(active);
  if (focus && IsWindow(focus)) SetFocus(focus);
  return result;
}

void TApplication::ShowException(const String& message) {
  if (showingError_) {
    ++unshownErrors_;
    return;
  }
  String text = ErrorBoxText(message);
  if (unshownErrors_ > 0)
    text += L"\n\n(" + std::to_wstring(unshownErrors_) +
            (unshownErrors_ == 1 ? L" more error was" : L" more errors were") +
            L" not shown while the last message was up.)";
  unshownErrors_ = 0;
  UINT flags = MB_OK | MB_ICONSTOP;
  if (UseRightToLeftReading()) flags |= MB_RTLREADING;
  struct Showing {
    bool& flag;
    explicit Showing(bool& f) : flag(f) { flag = true; }
    ~Showing() { flag = false; }
  } showing(showingError_);
  MessageBox(text, title_, flags);
}

// ---------------------------------------------------------------------------
// TScreen

KESTU_PUBLISH(TScreen) {}

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {
  WindowDC screen(nullptr);
  if (screen.Get()) pixelsPerInch_ = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    menuFont_.AssignLogFont(metrics.lfMenuFont);
}

TScreen::~TScreen() = default;

HCURSOR TScreen::Cursors(TCursor cursor) {
  for (auto& [id, handle] : cursors_)
    if (id == cursor) return handle;
  static const struct {
    TCursor cursor;
    int resource;
  } kSystem[] = {{crArrow, 32512}, {crDefault, 32512}, {crIBeam, 32513}, {crHourGlass, 32514},
                 {crCross, 32515}, {crUpArrow, 32516}, {crSizeNWSE, 32642}, {crSizeNESW, 32643},
                 {crSizeWE, 32644}, {crSizeNS, 32645}, {crSizeAll, 32646}, {crNo, 32648},
                 {crHandPoint, 32649}, {crAppStart, 32650}, {crHelp, 32651}};
  for (const auto& s : kSystem)
    if (s.cursor == cursor) return LoadCursorW(nullptr, MAKEINTRESOURCEW(s.resource));
  return LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
}

void TScreen::SetCursors(TCursor cursor, HCURSOR handle) {
  for (auto& entry : cursors_)
    if (entry.first == cursor) return void(entry.second = handle);
  cursors_.emplace_back(cursor, handle);
}

void TScreen::SetCursor(TCursor v) {
  if (v == cursor_) return;
  cursor_ = v;
  POINT p;
  GetCursorPos(&p);
  ::SetCursor(Cursors(v == crDefault ? crArrow : v));
}

RECT TScreen::WorkAreaRect() const {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

RECT TScreen::DesktopRect() const {
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace kestu
