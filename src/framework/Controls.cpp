#include "framework/Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <map>

#include "framework/Accessibility.h"
#include "framework/ControlActionLink.h"
#include "framework/Forms.h"
#include "framework/Hints.h"
#include "framework/Menus.h"

namespace kestu {

namespace {

constexpr wchar_t kControlProp[] = L"KestuControl";
thread_local TWinControl* creatingControl = nullptr;

// Native procedures of the window classes we superclass, by our class name.
// Never destroyed: windows may still get messages while statics go away.
std::map<String, WNDPROC>& SuperclassProcs() {
  static auto* procs = new std::map<String, WNDPROC>;
  return *procs;
}

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST; }

}  // namespace

String GetWindowString(HWND window) {
  const int n = GetWindowTextLengthW(window);
  String s(std::size_t(n) + 1, L'\0');
  s.resize(std::size_t(GetWindowTextW(window, s.data(), n + 1)));
  return s;
}

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (keyData & 0x20000000) s |= ssAlt;
  return s;
}

bool IdentToCursor(std::string_view name, std::int64_t& value) {
  static const struct {
    const char* name;
    TCursor cursor;
  } kCursors[] = {{"crDefault", crDefault}, {"crNone", crNone}, {"crArrow", crArrow}, {"crCross", crCross},
                  {"crIBeam", crIBeam}, {"crSizeNESW", crSizeNESW}, {"crSizeNS", crSizeNS},
                  {"crSizeNWSE", crSizeNWSE}, {"crSizeWE", crSizeWE}, {"crUpArrow", crUpArrow},
                  {"crHourGlass", crHourGlass}, {"crNo", crNo}, {"crAppStart", crAppStart},
                  {"crHelp", crHelp}, {"crHandPoint", crHandPoint}, {"crSizeAll", crSizeAll}};
  for (const auto& c : kCursors)
    if (SameText(c.name, name)) return value = c.cursor, true;
  return false;
}

// ---------------------------------------------------------------------------
// TSizeConstraints

KESTU_PUBLISH(TSizeConstraints) {
  p.Int("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight);
  p.Int("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth);
  p.Int("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight);
  p.Int("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth);
}

void TSizeConstraints::Assign(const TPersistent* source) {
  auto* c = dynamic_cast<const TSizeConstraints*>(source);
  if (!c) return TPersistent::Assign(source);
  minWidth_ = c->minWidth_, minHeight_ = c->minHeight_, maxWidth_ = c->maxWidth_, maxHeight_ = c->maxHeight_;
  Changed();
}
void TSizeConstraints::SetMinWidth(int v) {
  if (v == minWidth_) return;
  minWidth_ = v;
  Changed();
}
void TSizeConstraints::SetMinHeight(int v) {
  if (v == minHeight_) return;
  minHeight_ = v;
  Changed();
}
void TSizeConstraints::SetMaxWidth(int v) {
  if (v == maxWidth_) return;
  maxWidth_ = v;
  Changed();
}
void TSizeConstraints::SetMaxHeight(int v) {
  if (v == maxHeight_) return;
  maxHeight_ = v;
  Changed();
}
void TSizeConstraints::Apply(int& width, int& height) const {
  if (maxWidth_ > 0 && width > maxWidth_) width = maxWidth_;
  if (minWidth_ > 0 && width < minWidth_) width = minWidth_;
  if (maxHeight_ > 0 && height > maxHeight_) height = maxHeight_;
  if (minHeight_ > 0 && height < minHeight_) height = minHeight_;
}
void TSizeConstraints::Changed() {
  if (control_) control_->SetBounds(control_->Left(), control_->Top(), control_->Width(), control_->Height());
}

// ---------------------------------------------------------------------------
// TControl

KESTU_PUBLISH(TControl) {
  p.Int("Left", &TControl::Left, &TControl::SetLeft);
  p.Int("Top", &TControl::Top, &TControl::SetTop);
  p.Int("Width", &TControl::Width, &TControl::SetWidth);
  p.Int("Height", &TControl::Height, &TControl::SetHeight);
  p.Enum("Align", &TControl::Align, &TControl::SetAlign, alNone,
         {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"});
  p.Set("Anchors", &TControl::Anchors, &TControl::SetAnchors, akLeft | akTop,
        {"akLeft", "akTop", "akRight", "akBottom"});
  p.Object("Constraints", &TControl::Constraints);
  p.Bool("Visible", &TControl::Visible, &TControl::SetVisible, true);
  p.Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
  p.Str("Caption", &TControl::Caption, &TControl::SetCaption);
  p.Object("Font", &TControl::Font);
  p.Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true);
  p.Color("Color", &TControl::Color, &TControl::SetColor, clWindow);
  p.Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, false);
  p.Int("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault).Idents(&IdentToCursor);
  p.Enum("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode, bdLeftToRight,
         {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"});
  p.Bool("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode, true);
  p.Str("Hint", &TControl::Hint, &TControl::SetHint);
  p.Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, false);
  p.Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true);
  p.Ref("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
  p.Ref("Action", &TControl::Action, &TControl::SetAction);
  p.Event("OnClick", &TControl::SetOnClick);
  p.Event("OnDblClick", &TControl::SetOnDblClick);
  p.Event("OnMouseDown", &TControl::SetOnMouseDown);
  p.Event("OnMouseUp", &TControl::SetOnMouseUp);
  p.Event("OnMouseMove", &TControl::SetOnMouseMove);
  p.Event("OnMouseEnter", &TControl::SetOnMouseEnter);
  p.Event("OnMouseLeave", &TControl::SetOnMouseLeave);
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  windowProc_ = [this](TMessage& m) { WndProc(m); };
  font_.SetOnChange([this](TObject*) { FontChanged(); });
}

TControl::~TControl() {
  Destroying();
  THintPopup::Forget(this);
  DestroyComponents();
  if (parent_) parent_->RemoveControl(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  windowProc_(m);
  return m.Result;
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      THintPopup::Instance().MouseEntered(this);
      if (onMouseEnter_) onMouseEnter_(this);
      return DefaultHandler(m);
    case CM_MOUSELEAVE:
      THintPopup::Instance().MouseLeft(this);
      if (onMouseLeave_) onMouseLeave_(this);
      return DefaultHandler(m);
    case CM_PARENTFONTCHANGED: if (parentFont_) TakeParentFont(); return;
    case CM_PARENTCOLORCHANGED: if (parentColor_ && parent_) SetColor(parent_->Color()), parentColor_ = true; return;
    case CM_PARENTBIDIMODECHANGED: case CM_PARENTSHOWHINTCHANGED: return TakeParentValues();
    default:
      if (IsMouseMessage(m.Msg) && !HasState(csDesigning)) HandleMouse(m);
      return DefaultHandler(m);
  }
}

void TControl::HandleMouse(TMessage& m) {
  const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  const TShiftState shift = KeysToShiftState(m.WParam);
  // A press puts the hint away.
  if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN) THintPopup::Forget(this);
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (controlStyle_ & csCaptureMouse) SetMouseCapture(true);
      if (controlStyle_ & csClickEvents) SetControlStateFlag(csClicked, true);
      SetControlStateFlag(csLButtonDown, true);
      if (m.Msg == WM_LBUTTONDBLCLK && (controlStyle_ & csDoubleClicks) && onDblClick_) onDblClick_(this);
      MouseDown(mbLeft, shift | (m.Msg == WM_LBUTTONDBLCLK ? TShiftState(ssDouble) : 0), x, y);
      break;
    case WM_LBUTTONUP: {
      const bool clicked = controlState_ & csClicked;
      SetControlStateFlag(csClicked | csLButtonDown, false);
      if ((controlStyle_ & csCaptureMouse) && MouseCapture()) SetMouseCapture(false);
      if (clicked && x >= 0 && y >= 0 && x < width_ && y < height_) Click();
      MouseUp(mbLeft, shift, x, y);
      break;
    }
    case WM_RBUTTONDOWN: MouseDown(mbRight, shift, x, y); break;
    case WM_RBUTTONUP: MouseUp(mbRight, shift, x, y); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, shift, x, y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift, x, y); break;
    case WM_MOUSEMOVE: MouseMove(shift, x, y); break;
    default: break;
  }
}

void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
  if (onMouseDown_) onMouseDown_(this, b, s, x, y);
}
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
  if (onMouseUp_) onMouseUp_(this, b, s, x, y);
}
void TControl::MouseMove(TShiftState s, int x, int y) {
  if (onMouseMove_) onMouseMove_(this, s, x, y);
}

void TControl::Click() {
  if (onClick_) return onClick_(this);
  if (actionLink_ && !HasState(csDesigning)) actionLink_->Execute();
}

void TControl::SetParent(TWinControl* value) {
  if (value == parent_) return;
  if (value == this) throw EComponentError(L"A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (value) value->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* value) {
  if (auto* w = dynamic_cast<TWinControl*>(value)) SetParent(w);
}

void TControl::SetBounds(int l, int t, int w, int h) {
  constraints_.Apply(w, h);
  if (l == left_ && t == top_ && w == width_ && h == height_) return;
  const RECT old = BoundsRect();
  left_ = l, top_ = t, width_ = w, height_ = h;
  if (!dynamic_cast<TWinControl*>(this) && parent_ && parent_->HandleAllocated()) {
    InvalidateRect(parent_->Handle(), &old, TRUE);
    Invalidate();
  }
  if (parent_ && !parent_->anchoring_) UpdateAnchorRules();
  BoundsChanged();
  RequestAlign();
}

// Distances to the parent's right and bottom client edges, kept by anchors.
void TControl::UpdateAnchorRules() {
  if (!parent_) return;
  const RECT c = parent_->ClientRect();
  anchorRight_ = c.right - (left_ + width_);
  anchorBottom_ = c.bottom - (top_ + height_);
}

void TControl::ApplyAnchors() {
  if (align_ != alNone || !parent_) return;
  const RECT c = parent_->ClientRect();
  int l = left_, t = top_, w = width_, h = height_;
  if (anchors_ & akRight) {
    if (anchors_ & akLeft) w = c.right - anchorRight_ - l;
    else l = c.right - anchorRight_ - w;
  }
  if (anchors_ & akBottom) {
    if (anchors_ & akTop) h = c.bottom - anchorBottom_ - t;
    else t = c.bottom - anchorBottom_ - h;
  }
  SetBounds(l, t, std::max(w, 0), std::max(h, 0));
}

void TControl::RequestAlign() {
  if (parent_ && align_ != alNone && !parent_->HasState(csLoading)) parent_->Realign();
}

RECT TControl::ClientRect() { return {0, 0, width_, height_}; }

void TControl::SetClientSize(int w, int h) {
  const RECT c = ClientRect();
  SetBounds(left_, top_, width_ - c.right + w, height_ - c.bottom + h);
}

POINT TControl::ClientOrigin() {
  if (!parent_) return {left_, top_};
  POINT p = parent_->ClientOrigin();
  return {p.x + left_, p.y + top_};
}

POINT TControl::ClientToScreen(POINT p) {
  POINT o = ClientOrigin();
  return {p.x + o.x, p.y + o.y};
}

POINT TControl::ScreenToClient(POINT p) {
  POINT o = ClientOrigin();
  return {p.x - o.x, p.y - o.y};
}

void TControl::SetAlign(TAlign v) {
  if (v == align_) return;
  align_ = v;
  RequestAlign();
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Perform(CM_VISIBLECHANGED, v);
  RequestAlign();
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const String& v) {
  if (v == text_) return;
  text_ = v;
  Perform(CM_TEXTCHANGED);
  Invalidate();
}

void TControl::SetParentFont(bool v) {
  if (v == parentFont_) return;
  parentFont_ = v;
  if (v) TakeParentFont();
}

void TControl::TakeParentFont() {
  if (!parent_) return;
  takingParentFont_ = true;
  font_.Assign(parent_->Font());
  takingParentFont_ = false;
  parentFont_ = true;
}

void TControl::FontChanged() {
  if (!takingParentFont_) parentFont_ = false;
  Perform(CM_FONTCHANGED);
  Invalidate();
}

void TControl::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
  Invalidate();
}

void TControl::SetParentColor(bool v) {
  if (v == parentColor_) return;
  parentColor_ = v;
  if (v && parent_) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetCursor(TCursor v) {
  if (v == cursor_) return;
  cursor_ = v;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode v) {
  if (v == biDiMode_) return;
  biDiMode_ = v;
  parentBiDiMode_ = false;
  Perform(CM_BIDIMODECHANGED);
}

bool TControl::SysLocaleMiddleEast() { return GetSystemMetrics(SM_MIDEASTENABLED) != 0; }

bool TControl::MouseCapture() const {
  const HWND capture = GetCapture();
  if (!capture) return false;
  if (auto* w = dynamic_cast<const TWinControl*>(this)) return w->HandleAllocated() && capture == w->handle_;
  return parent_ && parent_->HandleAllocated() && capture == parent_->handle_ && parent_->mouseControl_ == this;
}

void TControl::SetMouseCapture(bool v) {
  if (v == MouseCapture()) return;
  if (!v) {
    ReleaseCapture();
    return;
  }
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    SetCapture(w->Handle());
  } else if (parent_) {
    parent_->mouseControl_ = this;
    SetCapture(parent_->Handle());
  }
}

void TControl::Invalidate() {
  if (parent_ && parent_->HandleAllocated() && visible_) {
    const RECT r = BoundsRect();
    InvalidateRect(parent_->handle_, &r, !(controlStyle_ & csOpaque));
  }
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::BringToFront() {
  if (parent_) {
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.push_back(this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
      SetWindowPos(w->handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated()) {
    SetWindowPos(w->handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  Invalidate();
}

void TControl::SendToBack() {
  if (parent_) {
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.insert(list.begin(), this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
      SetWindowPos(w->handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  Invalidate();
}

void TControl::ScaleBy(int M, int D) {
  const int right = anchorRight_, bottom = anchorBottom_;
  SetBounds(MulDiv(left_, M, D), MulDiv(top_, M, D), MulDiv(width_, M, D), MulDiv(height_, M, D));
  anchorRight_ = MulDiv(right, M, D);  // the parent is scaled too
  anchorBottom_ = MulDiv(bottom, M, D);
  if (!parentFont_) font_.SetHeight(MulDiv(font_.Height(), M, D));
}

TCustomForm* TControl::GetParentForm() {
  TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TCustomForm*>(c);
}

// ---------------------------------------------------------------------------
// TWinControl

KESTU_PUBLISH(TWinControl) {
  p.Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, -1);
  p.Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false);
  p.Int("BorderWidth", &TWinControl::BorderWidth, &TWinControl::SetBorderWidth, 0);
  p.Event("OnKeyDown", &TWinControl::SetOnKeyDown);
  p.Event("OnKeyUp", &TWinControl::SetOnKeyUp);
  p.Event("OnKeyPress", &TWinControl::SetOnKeyPress);
  p.Event("OnEnter", &TWinControl::SetOnEnter);
  p.Event("OnExit", &TWinControl::SetOnExit);
  p.Event("OnResize", &TWinControl::SetOnResize);
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  if (Screen && Screen->activeControl_ == this) Screen->activeControl_ = nullptr;
  Destroying();
  DestroyComponents();
  while (!controls_.empty()) controls_.back()->SetParent(nullptr);
  DestroyHandle();
}

TWinControl* TWinControl::FindControl(HWND window) {
  return window ? static_cast<TWinControl*>(GetPropW(window, kControlProp)) : nullptr;
}

LRESULT CALLBACK TWinControl::StdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = FindControl(window);
  if (!control && creatingControl) {
    control = creatingControl;
    creatingControl = nullptr;
    control->handle_ = window;
    SetPropW(window, kControlProp, control);
  }
  if (!control) {
    wchar_t name[256];
    GetClassNameW(window, name, 256);
    auto it = SuperclassProcs().find(name);
    return CallWindowProcW(it != SuperclassProcs().end() ? it->second : DefWindowProcW, window, msg, wParam, lParam);
  }
  TMessage m{msg, wParam, lParam, 0};
  try {
    if (CarriesPointers(msg) && !SentByOwnThread()) control->DefaultHandler(m);
    else control->WindowProc()(m);
  } catch (...) {
    HandleCallbackException();
  }
  return m.Result;
}

HWND TWinControl::Handle() {
  if (!handle_) {
    if (HasState(csDestroying)) throw EComponentError(L"Control " + Name() + L" is being destroyed");
    // Creating the parent's window creates its children's windows, this one's
    // among them; only a window still missing afterwards is created here.
    if (Parent()) Parent()->HandleNeeded();
    if (!handle_) CreateWnd();
  }
  return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = Text();
  p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  if (Visible() && !HasState(csDesigning | csLoading)) p.Style |= WS_VISIBLE;
  if (Visible() && HasState(csLoading)) p.Style |= WS_VISIBLE;
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (tabStop_) p.Style |= WS_TABSTOP;
  p.X = Left(), p.Y = Top(), p.Width = Width(), p.Height = Height();
  p.WinClassName = ClassName();
  if (Parent()) p.WndParent = Parent()->Handle();
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if (!p.WndParent && (p.Style & WS_CHILD))
    throw EComponentError(L"Control '" + Name() + L"' has no parent window");
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(instance, p.WinClassName.c_str(), &existing)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!p.SubclassOf.empty()) {
      if (!GetClassInfoExW(nullptr, p.SubclassOf.c_str(), &wc))
        throw EComponentError(L"Window class " + p.SubclassOf + L" not found");
      SuperclassProcs()[p.WinClassName] = wc.lpfnWndProc;
      wc.cbSize = sizeof wc;
    } else {
      wc.style = p.ClassStyle;
      wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    }
    wc.lpfnWndProc = StdWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = p.WinClassName.c_str();
    if (!RegisterClassExW(&wc)) throw EComponentError(L"Cannot register window class " + p.WinClassName);
  }
  auto it = SuperclassProcs().find(p.WinClassName);
  defWndProc_ = it != SuperclassProcs().end() ? it->second : DefWindowProcW;
  CreateWindowHandle(p);
  if (!handle_) throw EComponentError(L"Cannot create the window of " + Name());
  SendMessageW(handle_, WM_SETFONT, WPARAM(Font()->Handle()), 0);
  CreateHandleDone();
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
  Realign();
  for (auto& [id, handler] : std::vector(windowCreatedHandlers_)) handler();
}

int TWinControl::AddWindowCreatedHandler(std::function<void()> handler) {
  windowCreatedHandlers_.emplace_back(nextWindowCreatedId_, std::move(handler));
  return nextWindowCreatedId_++;
}

void TWinControl::RemoveWindowCreatedHandler(int id) {
  std::erase_if(windowCreatedHandlers_, [id](const auto& entry) { return entry.first == id; });
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  creatingControl = this;
  HWND h = CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                           p.Height, p.WndParent, nullptr, GetModuleHandleW(nullptr), nullptr);
  creatingControl = nullptr;
  if (h && !handle_) {  // no message reached us during creation
    handle_ = h;
    SetPropW(h, kControlProp, this);
  }
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  SetControlStateFlag(csDestroyingHandle, true);
  DestroyWnd();
  SetControlStateFlag(csDestroyingHandle, false);
}

void TWinControl::DestroyWnd() {
  if (handle_) DestroyWindow(handle_);
  handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  DestroyHandle();
  HandleNeeded();
}

// Text set on the window from outside (SetWindowText) becomes the Caption.
void TWinControl::WmSetText(TMessage& m) {
  DefaultHandler(m);
  const String text = m.LParam ? String(reinterpret_cast<const wchar_t*>(m.LParam)) : String();
  if (text == Text()) return;
  TControl::SetText(text);
}

void TWinControl::WmSysColorChange(TMessage& m) {
  DefaultHandler(m);
  BroadcastAll(CM_SYSCOLORCHANGE, 0, 0);
}

void TWinControl::BroadcastAll(UINT msg, WPARAM wParam, LPARAM lParam) {
  Perform(msg, wParam, lParam);
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->BroadcastAll(msg, wParam, lParam);
    else c->Perform(msg, wParam, lParam);
  }
}

void TWinControl::WmNcDestroy(TMessage& m) {
  DefaultHandler(m);
  if (handle_) RemovePropW(handle_, kControlProp);
  handle_ = nullptr;
}

// Controls that draw themselves describe themselves to screen readers; the
// others keep what the system says of them.
void TWinControl::WmGetObject(TMessage& m) {
  auto* description = dynamic_cast<TAccessibleDescription*>(this);
  m.Result = description ? description->AnswerGetObject(handle_, OBJID_CLIENT, m.WParam, m.LParam) : 0;
  if (!m.Result) DefaultHandler(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (handle_) m.Result = CallWindowProcW(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

// The message table of every window control.
void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: return WmPaint(m);
    case WM_ERASEBKGND: return WmEraseBkgnd(m);
    case WM_SIZE: return WmSize(m);
    case WM_WINDOWPOSCHANGED: return WmWindowPosChanged(m);
    case WM_SETCURSOR: return WmSetCursor(m);
    case WM_COMMAND: return WmCommand(m);
    case WM_NOTIFY: return WmNotify(m);
    case WM_DRAWITEM: return WmDrawItem(m);
    case WM_MEASUREITEM: return WmMeasureItem(m);
    case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: return WmCtlColor(m);
    case WM_HSCROLL: case WM_VSCROLL: return WmScroll(m);
    case WM_SETFOCUS: return WmSetFocus(m);
    case WM_KILLFOCUS: return WmKillFocus(m);
    case WM_KEYDOWN: case WM_SYSKEYDOWN: return WmKeyDown(m);
    case WM_KEYUP: case WM_SYSKEYUP: return WmKeyUp(m);
    case WM_CHAR: return WmChar(m);
    case WM_SYSCHAR: return WmSysChar(m);
    case WM_MOUSELEAVE: return WmMouseLeave(m);
    case WM_NCDESTROY: return WmNcDestroy(m);
    case WM_SETTEXT: return WmSetText(m);
    case WM_SYSCOLORCHANGE: return WmSysColorChange(m);
    case WM_GETOBJECT: return WmGetObject(m);
    case CM_ENABLEDCHANGED: return CmEnabledChanged(m);
    case CM_VISIBLECHANGED: return CmVisibleChanged(m);
    case CM_COLORCHANGED: return CmColorChanged(m);
    case CM_BIDIMODECHANGED: return CmParentValueChanged(m, CM_PARENTBIDIMODECHANGED);
    case CM_SHOWHINTCHANGED: return CmParentValueChanged(m, CM_PARENTSHOWHINTCHANGED);
    case WM_CONTEXTMENU: return WmContextMenu(m);
    case CM_DIALOGKEY: return CmDialogKey(m);
    case CM_DIALOGCHAR: return CmDialogChar(m);
    case CM_ENTER: return DoEnter();
    case CM_EXIT: return DoExit();
    default:
      if (IsMouseMessage(m.Msg)) return WmMouse(m);
      return TControl::WndProc(m);
  }
}

void TWinControl::WmPaint(TMessage& m) {
  if (m.WParam) {
    PaintWindow(reinterpret_cast<HDC>(m.WParam));
    PaintControls(reinterpret_cast<HDC>(m.WParam), nullptr);
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(handle_, &ps);
  try {
    PaintWindow(dc);
    PaintControls(dc, nullptr);
  } catch (...) {
    EndPaint(handle_, &ps);
    throw;
  }
  EndPaint(handle_, &ps);
}

void TWinControl::PaintWindow(HDC dc) {
  TMessage m{WM_PAINT, WPARAM(dc), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  auto start = std::find(controls_.begin(), controls_.end(), first);
  if (start == controls_.end()) start = controls_.begin();
  for (auto it = start; it != controls_.end(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    RECT r = c->BoundsRect(), clip{};
    if (GetClipBox(dc, &clip) != NULLREGION && !IntersectRect(&clip, &clip, &r)) continue;
    SavedDC saved(dc);
    SetViewportOrgEx(dc, c->Left(), c->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, WPARAM(dc), 0);
  }
}

void TWinControl::WmEraseBkgnd(TMessage& m) {
  if (defWndProc_ != DefWindowProcW) return DefaultHandler(m);
  RECT r;
  GetClientRect(handle_, &r);
  GdiHandle<HBRUSH> brush(CreateSolidBrush(ColorToRGB(Color())));
  FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush.Get());
  m.Result = 1;
}

void TWinControl::WmSize(TMessage& m) {
  DefaultHandler(m);
  Realign();
  Resize();
}

void TWinControl::Resize() {
  if (onResize_) onResize_(this);
}

void TWinControl::WmWindowPosChanged(TMessage& m) {
  DefaultHandler(m);
  if (Parent() || !handle_) return;
  // Windows without a parent control (top-level ones, and MDI children inside
  // the client window): take the bounds the system settled on, in the
  // coordinates of the window they are placed in.
  RECT r;
  GetWindowRect(handle_, &r);
  if (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD) MapWindowPoints(nullptr, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
  TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TWinControl::WmSetCursor(TMessage& m) {
  if (LOWORD(m.LParam) == HTCLIENT && reinterpret_cast<HWND>(m.WParam) == handle_) {
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(handle_, &p);
    TControl* target = ControlAtPos(p, false);
    TCursor cursor = target ? target->Cursor() : Cursor();
    if (cursor == crDefault) cursor = Cursor();
    if (cursor != crDefault && Screen) {
      ::SetCursor(Screen->Cursors(cursor));
      m.Result = 1;
      return;
    }
  }
  DefaultHandler(m);
}

void TWinControl::WmCommand(TMessage& m) {
  if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
    m.Result = child->Perform(CN_COMMAND, m.WParam, m.LParam);
    return;
  }
  DefaultHandler(m);
}

void TWinControl::WmNotify(TMessage& m) {
  auto* header = reinterpret_cast<NMHDR*>(m.LParam);
  if (TWinControl* child = FindControl(header->hwndFrom); child && child != this) {
    m.Result = child->Perform(CN_NOTIFY, m.WParam, m.LParam);
    return;
  }
  DefaultHandler(m);
}

void TWinControl::WmDrawItem(TMessage& m) {
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (item->CtlType != ODT_MENU)
    if (TWinControl* child = FindControl(item->hwndItem)) {
      m.Result = child->Perform(CN_DRAWITEM, m.WParam, m.LParam);
      return;
    }
  DefaultHandler(m);
}

void TWinControl::WmMeasureItem(TMessage& m) {
  auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (item->CtlType != ODT_MENU)
    if (TWinControl* child = FindControl(GetDlgItem(handle_, int(item->CtlID)))) {
      m.Result = child->Perform(CN_MEASUREITEM, m.WParam, m.LParam);
      return;
    }
  DefaultHandler(m);
}

void TWinControl::WmCtlColor(TMessage& m) {
  TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam));
  if (child && child != this) {
    // Reflected: the child answers with its own colours.
    m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    if (m.Result) return;
  }
  DefaultHandler(m);
}

void TWinControl::WmScroll(TMessage& m) {
  if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
    m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    return;
  }
  DefaultHandler(m);
}

void TWinControl::WmSetFocus(TMessage& m) {
  DefaultHandler(m);
  if (TCustomForm* form = GetParentForm()) form->SetFocusedControl(this);
}

void TWinControl::WmKillFocus(TMessage& m) { DefaultHandler(m); }

bool TWinControl::WantsKey(WORD key) {
  if (!handle_) return false;
  const LRESULT code = CallWindowProcW(defWndProc_, handle_, WM_GETDLGCODE, key, 0);
  if (code & DLGC_WANTALLKEYS) return key != VK_TAB || (code & DLGC_WANTTAB);
  switch (key) {
    case VK_TAB: return code & DLGC_WANTTAB;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: return code & DLGC_WANTARROWS;
    default: return false;
  }
}

bool TWinControl::DoKeyDown(WORD& key, TShiftState shift) {
  TCustomForm* form = GetParentForm();
  if (form && form != this && form->KeyPreview() && form->DoKeyDown(key, shift)) return true;
  if (onKeyDown_) onKeyDown_(this, key, shift);
  return key == 0;
}

void TWinControl::WmKeyDown(TMessage& m) {
  WORD key = WORD(m.WParam);
  const TShiftState shift = KeyDataToShiftState(m.LParam);
  if (DoKeyDown(key, shift)) return;
  if (TCustomForm* form = GetParentForm(); form && form->IsShortCut(key, shift)) return;
  switch (key) {
    case VK_TAB: case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_RETURN: case VK_ESCAPE: case VK_EXECUTE: case VK_CANCEL:
      if (!WantsKey(key))
        if (TCustomForm* form = GetParentForm())
          if (form->Perform(CM_DIALOGKEY, key, m.LParam)) return;
      break;
    default: break;
  }
  m.WParam = key;
  DefaultHandler(m);
}

void TWinControl::WmKeyUp(TMessage& m) {
  WORD key = WORD(m.WParam);
  TShiftState shift = KeyDataToShiftState(m.LParam);
  TCustomForm* form = GetParentForm();
  if (form && form != this && form->KeyPreview() && form->OnKeyUp()) form->OnKeyUp()(form, key, shift);
  if (key && onKeyUp_) onKeyUp_(this, key, shift);
  if (key) DefaultHandler(m);
}

bool TWinControl::DoKeyPress(wchar_t& key) {
  TCustomForm* form = GetParentForm();
  if (form && form != this && form->KeyPreview() && form->OnKeyPress()) form->OnKeyPress()(form, key);
  if (key && onKeyPress_) onKeyPress_(this, key);
  return key == 0;
}

void TWinControl::WmChar(TMessage& m) {
  wchar_t key = wchar_t(m.WParam);
  if (DoKeyPress(key)) return;
  // Controls that take no characters offer them as mnemonics.
  if (handle_ && key > L' ' && !(CallWindowProcW(defWndProc_, handle_, WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS))
    if (TCustomForm* form = GetParentForm())
      if (form->Perform(CM_DIALOGCHAR, key, m.LParam)) return;
  // Enter, Escape and Tab were offered as dialog keys already; a beep would follow.
  if (key == L'\r' || key == 27 || key == L'\t') {
    if (!WantsKey(key == L'\r' ? VK_RETURN : key == 27 ? VK_ESCAPE : VK_TAB)) return;
  }
  m.WParam = key;
  DefaultHandler(m);
}

void TWinControl::WmSysChar(TMessage& m) {
  if (TCustomForm* form = GetParentForm())
    if (m.WParam != VK_SPACE && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam)) return;
  DefaultHandler(m);
}

void TWinControl::WmMouse(TMessage& m) {
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  if (m.Msg == WM_MOUSEWHEEL || m.Msg == WM_MOUSEHWHEEL) return DefaultHandler(m);
  // Track enter and leave of this window.
  if (m.Msg == WM_MOUSEMOVE && !mouseInControl_) {
    mouseInControl_ = true;
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
    TrackMouseEvent(&t);
    Perform(CM_MOUSEENTER, 0, 0);
  }
  // A graphic child under the mouse (or holding the capture) gets the message.
  TControl* target = nullptr;
  if (GetCapture() == handle_ && mouseControl_) {
    target = mouseControl_;
  } else {
    TControl* c = ControlAtPos(p, false);
    target = (c && !dynamic_cast<TWinControl*>(c)) ? c : nullptr;
    if (target != mouseControl_ && GetCapture() != handle_) {
      if (mouseControl_) mouseControl_->mouseInControl_ = false, mouseControl_->Perform(CM_MOUSELEAVE);
      mouseControl_ = target;
      if (target) target->mouseInControl_ = true, target->Perform(CM_MOUSEENTER);
    }
  }
  if (target) {
    target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()));
    if (m.Msg == WM_LBUTTONUP && GetCapture() == handle_ && !(GetKeyState(VK_LBUTTON) < 0)) ReleaseCapture();
    return;
  }
  TControl::WndProc(m);
}

void TWinControl::WmMouseLeave(TMessage& m) {
  if (mouseControl_) {
    mouseControl_->mouseInControl_ = false;
    mouseControl_->Perform(CM_MOUSELEAVE);
    mouseControl_ = nullptr;
  }
  mouseInControl_ = false;
  Perform(CM_MOUSELEAVE, 0, 0);
  DefaultHandler(m);
}

void TWinControl::CmEnabledChanged(TMessage& m) {
  if (handle_) EnableWindow(handle_, Enabled());
  TControl::WndProc(m);
}

void TWinControl::CmVisibleChanged(TMessage& m) {
  if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
  TControl::WndProc(m);
}

void TWinControl::CmColorChanged(TMessage& m) {
  NotifyControls(CM_PARENTCOLORCHANGED);
  TControl::WndProc(m);
}

void TWinControl::CmParentValueChanged(TMessage& m, UINT childMessage) {
  NotifyControls(childMessage);
  TControl::WndProc(m);
}

void TWinControl::FontChanged() {
  if (handle_) SendMessageW(handle_, WM_SETFONT, WPARAM(Font()->Handle()), TRUE);
  TControl::FontChanged();
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CmDialogKey(TMessage& m) {
  Broadcast(m);
  if (!m.Result) TControl::WndProc(m);
}

void TWinControl::CmDialogChar(TMessage& m) {
  Broadcast(m);
  if (!m.Result) TControl::WndProc(m);
}

void TWinControl::Broadcast(TMessage& m) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    c->WindowProc()(m);
    if (m.Result) return;
  }
}

void TWinControl::NotifyControls(UINT msg) {
  for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(msg);
}

void TWinControl::SetBounds(int l, int t, int w, int h) {
  Constraints()->Apply(w, h);
  if (l == Left() && t == Top() && w == Width() && h == Height()) return;
  TControl::SetBounds(l, t, w, h);
}

void TWinControl::BoundsChanged() {
  if (handle_ && !HasState(csLoading))
    SetWindowPos(handle_, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  else if (!handle_)
    Realign();  // a window would get WM_SIZE and realign then
}

RECT TWinControl::ClientRect() {
  if (handle_) {
    RECT r;
    GetClientRect(handle_, &r);
    return r;
  }
  return TControl::ClientRect();
}

void TWinControl::SetClientSize(int w, int h) {
  if (!handle_) return TControl::SetClientSize(w, h);
  RECT window, client;
  GetWindowRect(handle_, &window);
  GetClientRect(handle_, &client);
  SetBounds(Left(), Top(), (window.right - window.left) - client.right + w,
            (window.bottom - window.top) - client.bottom + h);
}

POINT TWinControl::ClientOrigin() {
  if (!handle_) return TControl::ClientOrigin();
  POINT p{0, 0};
  ::ClientToScreen(handle_, &p);
  return p;
}

bool TWinControl::Showing() const { return handle_ && IsWindowVisible(handle_); }

void TWinControl::SetText(const String& v) {
  if (v == Text()) return;
  TControl::SetText(v);
  if (handle_) SetWindowTextW(handle_, v.c_str());
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, !(ControlStyle() & csOpaque));
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::ScaleBy(int M, int D) {
  DisableAlign();
  for (TControl* c : controls_) c->ScaleBy(M, D);
  TControl::ScaleBy(M, D);
  EnableAlign();
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    tabList_.push_back(w);
    if (handle_ && !HasState(csLoading)) w->HandleNeeded();
  }
  if (control->parentFont_) control->TakeParentFont();
  control->TakeParentValues();
  control->UpdateAnchorRules();
  if (control->parentColor_) control->Perform(CM_PARENTCOLORCHANGED);
  control->RequestAlign();
  control->Invalidate();
  Perform(CM_CONTROLLISTCHANGE, WPARAM(control), TRUE);
}

void TWinControl::RemoveControl(TControl* control) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  Perform(CM_CONTROLLISTCHANGE, WPARAM(control), FALSE);
  control->Invalidate();
  if (mouseControl_ == control) mouseControl_ = nullptr;
  controls_.erase(it);
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
    w->DestroyHandle();
  }
  control->parent_ = nullptr;
  if (TCustomForm* form = GetParentForm()) form->ControlRemoved(control);
  Realign();
}

bool TWinControl::ContainsControl(TControl* control) const {
  for (TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
    const RECT r = c->BoundsRect();
    if (PtInRect(&r, p)) return c;
  }
  return nullptr;
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int v) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  const int at = std::clamp(v, 0, int(list.size()));
  list.insert(list.begin() + at, this);
}

void TWinControl::SetTabStop(bool v) {
  if (v == tabStop_) return;
  tabStop_ = v;
  if (handle_) {
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    SetWindowLongPtrW(handle_, GWL_STYLE, v ? style | WS_TABSTOP : style & ~LONG_PTR(WS_TABSTOP));
  }
  Perform(CM_TABSTOPCHANGED);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
  for (TWinControl* c : tabList_) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop, bool checkParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int start = int(std::find(list.begin(), list.end(), current) - list.begin());
  if (start == int(list.size())) start = forward ? int(list.size()) - 1 : 0;
  int i = start;
  for (std::size_t n = 0; n < list.size(); ++n) {
    i = forward ? (i + 1) % int(list.size()) : (i + int(list.size()) - 1) % int(list.size());
    TWinControl* c = list[std::size_t(i)];
    if (c == current) break;
    if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) && c->CanFocus()) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, forward, checkTabStop, false)) next->SetFocus();
}

bool TWinControl::CanFocus() {
  if (!GetParentForm()) return false;
  for (TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm()) {
    if (form == this) {
      if (handle_) ::SetFocus(handle_);
      return;
    }
    form->SetActiveControl(this);
    if (form->HandleAllocated() && IsWindowVisible(form->Handle())) ::SetFocus(Handle());
  } else if (handle_) {
    ::SetFocus(handle_);
  }
}

bool TWinControl::Focused() { return handle_ && GetFocus() == handle_; }

void TWinControl::DoEnter() {
  if (onEnter_) onEnter_(this);
}

void TWinControl::DoExit() {
  if (onExit_) onExit_(this);
}

void TWinControl::SetBorderWidth(int v) {
  if (v == borderWidth_) return;
  borderWidth_ = v;
  Realign();
  Invalidate();
}

void TWinControl::EnableAlign() {
  if (--alignLevel_ == 0) Realign();
}

void TWinControl::Realign() {
  if (alignLevel_ > 0 || HasState(csLoading | csDestroying)) return;
  RECT r = ClientRect();
  AdjustClientRect(r);
  AlignControls(nullptr, r);
}

void TWinControl::AdjustClientRect(RECT& r) { InflateRect(&r, -borderWidth_, -borderWidth_); }

bool IsAccel(wchar_t key, const String& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    return CharUpperW(reinterpret_cast<LPWSTR>(std::uintptr_t(caption[i + 1]))) ==
           CharUpperW(reinterpret_cast<LPWSTR>(std::uintptr_t(key)));
  }
  return false;
}

// Top, bottom, left, right, then client, each in list order; the remaining
// rectangle shrinks as controls take their edges.
void TWinControl::AlignControls(TControl*, RECT& rect) {
  ++alignLevel_;
  for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : controls_) {
      if (c->Align() != kind || !c->Visible()) continue;
      int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
      switch (kind) {
        case alTop: l = rect.left, t = rect.top, w = rect.right - rect.left; break;
        case alBottom: l = rect.left, t = rect.bottom - h, w = rect.right - rect.left; break;
        case alLeft: l = rect.left, t = rect.top, h = rect.bottom - rect.top; break;
        case alRight: l = rect.right - w, t = rect.top, h = rect.bottom - rect.top; break;
        default: l = rect.left, t = rect.top, w = rect.right - rect.left, h = rect.bottom - rect.top; break;
      }
      c->SetBounds(l, t, w, h);
      switch (kind) {
        case alTop: rect.top += c->Height(); break;
        case alBottom: rect.bottom -= c->Height(); break;
        case alLeft: rect.left += c->Width(); break;
        case alRight: rect.right -= c->Width(); break;
        default: break;
      }
    }
  }
  anchoring_ = true;
  for (TControl* c : controls_)
    if (c->anchors_ != (akLeft | akTop)) c->ApplyAnchors();
  anchoring_ = false;
  --alignLevel_;
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

// ---------------------------------------------------------------------------
// Canvases and the two painted kinds of control

void TControlCanvas::CreateHandle() {
  auto* w = dynamic_cast<TWinControl*>(control_);
  window_ = w ? w->Handle() : (control_->Parent() ? control_->Parent()->Handle() : nullptr);
  if (!window_) return;
  ownDc_ = GetDCEx(window_, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  if (!w) {  // a graphic control paints at its place in the parent
    SetViewportOrgEx(ownDc_, control_->Left(), control_->Top(), nullptr);
    IntersectClipRect(ownDc_, 0, 0, control_->Width(), control_->Height());
  }
  SetHandle(ownDc_);
}

void TControlCanvas::FreeHandle() {
  if (!ownDc_) return;
  SetHandle(nullptr);
  ReleaseDC(window_, ownDc_);
  ownDc_ = nullptr;
}

KESTU_PUBLISH(TCustomControl) {}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TCustomControl::PaintWindow(HDC dc) {
  canvas_.FreeHandle();
  canvas_.SetHandle(dc);
  try {
    Paint();
  } catch (...) {
    canvas_.SetHandle(nullptr);
    throw;
  }
  canvas_.SetHandle(nullptr);
}

KESTU_PUBLISH(TGraphicControl) {}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

TGraphicControl::~TGraphicControl() { canvas_.FreeHandle(); }

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg != WM_PAINT) return TControl::WndProc(m);
  canvas_.FreeHandle();
  canvas_.SetHandle(reinterpret_cast<HDC>(m.WParam));
  try {
    Paint();
  } catch (...) {
    canvas_.SetHandle(nullptr);
    throw;
  }
  canvas_.SetHandle(nullptr);
}

}  // namespace kestu
