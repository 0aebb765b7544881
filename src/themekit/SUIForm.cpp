#include "themekit/SUIForm.h"

#include <windowsx.h>

namespace kestu {

namespace {

// Shared by all frames: size messages seen while maximised at creation, the
// scroll flag of MDI children, and which frame owns the application hook.
int maximisedSizeCount = 0;
bool mdiScrollFlag = false;
bool applicationHooked = false;

constexpr int kHostMinHeight = 50;
constexpr int kHostMinWidth = 125;
constexpr int kMdiInset = 3;

}  // namespace

RECT FramePanelBounds(int CW, int CH, int BW, bool titleBarVisible, bool mdiChild) {
  const int t = titleBarVisible ? 0 : BW;
  const int inset = mdiChild ? kMdiInset : 0;
  return RECT{BW, t, CW - 2 * BW - inset, CH - BW - t - inset};
}

int FrameEdgeHitTest(int x, int y, int CW, int CH) {
  if (x <= 4 && y <= 4) return HTTOPLEFT;
  if (x > CW - 5 && y <= 4) return HTTOPRIGHT;
  if (x > CW - 5 && y > CH - 5) return HTBOTTOMRIGHT;
  if (x < 5 && y > CH - 5) return HTBOTTOMLEFT;
  if (x <= 4) return HTLEFT;
  if (y <= 4) return HTTOP;
  if (x > CW - 5) return HTRIGHT;
  if (y > CH - 5) return HTBOTTOM;
  return 0;
}

KESTU_PUBLISH(TsuiForm) {
  p.Enum("UIStyle", &TsuiForm::UIStyle, &TsuiForm::SetUIStyle, 3, UIStyleNames());
  p.Ref("FileTheme", &TsuiForm::FileTheme, &TsuiForm::SetFileTheme);
  p.Bool("UIStyleAutoUpdateSub", &TsuiForm::UIStyleAutoUpdateSub, &TsuiForm::SetUIStyleAutoUpdateSub, false);
  p.Color("BorderColor", &TsuiForm::BorderColor, &TsuiForm::SetBorderColor, clBlack);
  p.Int("BorderWidth", &TsuiForm::BorderWidth, &TsuiForm::SetBorderWidth, 1);
  p.Color("Color", &TsuiForm::Color, &TsuiForm::SetColor, clBtnFace);
  p.Bool("TitleBarVisible", &TsuiForm::TitleBarVisible, &TsuiForm::SetTitleBarVisible, true);
  p.Bool("TitleBarCustom", &TsuiForm::TitleBarCustom, &TsuiForm::SetTitleBarCustom, false);
  p.Str("Caption", &TsuiForm::Caption, &TsuiForm::SetCaption);
  p.Object("Font", &TsuiForm::Font);
  p.Collection("TitleBarButtons", &TsuiForm::TitleBarButtons);
  p.Collection("TitleBarSections", &TsuiForm::TitleBarSections);
  p.Bool("TitleBarDrawAppIcon", &TsuiForm::TitleBarDrawAppIcon, &TsuiForm::SetTitleBarDrawAppIcon, false);
  p.Int("RoundCorner", &TsuiForm::RoundCorner, &TsuiForm::SetRoundCorner, 0);
  p.Ref("Menu", &TsuiForm::Menu, &TsuiForm::SetMenu);
  p.Color("MenuBarColor", &TsuiForm::MenuBarColor, &TsuiForm::SetMenuBarColor, clBtnFace);
  p.Int("MenuBarHeight", &TsuiForm::MenuBarHeight, &TsuiForm::SetMenuBarHeight, 22);
  p.Ref("FormPanel", &TsuiForm::FormPanel, &TsuiForm::SetFormPanel);
  p.Int("Width", &TsuiForm::FrameWidth, &TsuiForm::SetFrameWidth, 0);
  p.Int("Height", &TsuiForm::FrameHeight, &TsuiForm::SetFrameHeight, 0);
  p.Str("Version", &TsuiForm::Version, &TsuiForm::SetVersion);
  p.Event("OnTitleBarCustomBtnsClick", &TsuiForm::SetOnTitleBarCustomBtnsClick);
  p.Event("OnTitleBarHelpBtnClick", &TsuiForm::SetOnTitleBarHelpBtnClick);
}

TsuiForm::TsuiForm(TComponent* AOwner) : TPanel(AOwner) {
  SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
  host_ = dynamic_cast<TCustomForm*>(AOwner);
  if (!host_) {
    titleBar_ = new TsuiTitleBar(this);
    titleBar_->SetParent(this);
    return;
  }
  const bool designing = HasState(csDesigning);
  if (!designing) {
    host_->Constraints()->SetMinHeight(kHostMinHeight);
    host_->Constraints()->SetMinWidth(kHostMinWidth);
  }
  host_->SetBorderWidth(0);
  restoreRect_ = host_->BoundsRect();
  maximisedAtCreation_ = host_->WindowState() == wsMaximized;
  titleBar_ = new TsuiTitleBar(this);
  titleBar_->SetParent(this);
  menuBarColor_ = TPanel::Color();
  menuBarHeight_ = 22;
  hostBorderStyle_ = host_->BorderStyle();
  SetUIStyle(TsuiUIStyle::DeepBlue);
  autoUpdateSub_ = false;
  hostFrameHeight_ = host_->Height() - host_->ClientHeight();
  hostFrameWidth_ = host_->Width() - host_->ClientWidth();
  SetBevelInner(bvNone);
  SetBevelOuter(bvNone);
  TWinControl::SetBorderWidth(0);
  SetAlign(alNone);
  SetCaption(host_->Caption());
  titleBar_->Show();
  TControl::SetText(L" ");
  for (TControl* c : host_->ControlList())
    if (dynamic_cast<TsuiForm*>(c)) throw EComponentError(kOneFrameError);
  host_->SetScaled(false);
  if (!designing) {
    if (!IsMdiChild() && host_->FormStyle() != fsMDIForm) host_->SetBorderStyle(bsNone);
    host_->SetAutoScroll(false);
    previousHostProc_ = host_->WindowProc();
    host_->SetWindowProc([this](TMessage& m) { HostWndProc(m); });
    if (host_->HandleAllocated())
      SetWindowLongPtrW(host_->Handle(), GWL_STYLE, GetWindowLongPtrW(host_->Handle(), GWL_STYLE) & ~LONG_PTR(WS_CAPTION));
    if (!applicationHooked && Application) {
      hookId_ = Application->AddMessageHook([this](MSG& msg) { return ApplicationHook(msg); });
      applicationHooked = true;
    }
  }
  SetParent(host_);
  Layout();
  // The border style change above made the host's window anew, without the
  // region the creation style cut.
  if (!designing) titleBar_->UpdateRegion();
}

TsuiForm::~TsuiForm() {
  if (hookId_) {
    if (Application) Application->RemoveMessageHook(hookId_);
    applicationHooked = false;
  }
  // The host owns the frame and outlives it; its window may still get
  // messages (WM_DESTROY) after the frame is gone.
  if (host_ && previousHostProc_) host_->SetWindowProc(previousHostProc_);
  if (fileTheme_) fileTheme_->RemoveFreeNotification(this);
  if (menu_) menu_->RemoveFreeNotification(this);
  if (auto* themed = dynamic_cast<TsuiMainMenu*>(menu_); themed && themed->Host() == this) themed->SetHost(nullptr);
  if (formPanel_) formPanel_->RemoveFreeNotification(this);
}

bool TsuiForm::IsMdiChild() const { return host_ && host_->FormStyle() == fsMDIChild; }

void TsuiForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: return WmEraseBkgnd(m);
    case WM_CREATE: TPanel::WndProc(m); return PaintBorder();
    default: return TPanel::WndProc(m);
  }
}

void TsuiForm::WmEraseBkgnd(TMessage& m) {
  PaintBorder();
  m.Result = 1;
}

// ---------------------------------------------------------------------------
// Layout and painting

void TsuiForm::Layout() {
  if (!host_) return;
  const RECT b = FramePanelBounds(host_->ClientWidth(), host_->ClientHeight(), borderWidth_, titleBar_->Visible(),
                                  IsMdiChild());
  SetBounds(b.left, b.top, b.right, b.bottom);
}

void TsuiForm::PaintBorder() {
  if (!host_ || !host_->HandleAllocated()) return;
  const int BW = borderWidth_;
  const int CW = host_->ClientWidth(), CH = host_->ClientHeight();
  WindowDC dc(host_->Handle());
  TCanvas canvas(dc.Get());
  canvas.Brush()->SetColor(borderColor_);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Pen()->SetColor(borderColor_);
  canvas.Pen()->SetStyle(psSolid);
  canvas.Pen()->SetWidth(BW);
  const bool mdi = IsMdiChild();
  const int inset = mdi ? kMdiInset : 0;
  canvas.FillRect(RECT{0, 0, BW, mdi ? CH - 2 : CH});
  canvas.FillRect(RECT{0, CH - BW - inset, CW, CH});
  canvas.FillRect(RECT{CW - BW - inset, 0, CW, CH});
  if (BW > 0) {
    canvas.MoveTo(0, 0);
    canvas.LineTo(CW, 0);
  }
}

void TsuiForm::Paint() {
  TBitmap work(Width(), Height());
  const RECT client{0, 0, Width(), Height()};
  const wchar_t* tile = uiStyle_ == TsuiUIStyle::MacOS     ? L"MACOS_FORM_BACKGROUND"
                        : uiStyle_ == TsuiUIStyle::Protein ? L"PROTEIN_FORM_BACKGROUND"
                                                           : nullptr;
  if (tile) {
    TBitmap pattern;
    pattern.LoadFromResourceName(GetModuleHandleW(nullptr), tile);
    GdiHandle<HBRUSH> brush(CreatePatternBrush(pattern.Handle()));
    FillRect(work.Canvas()->Handle(), &client, brush.Get());
  } else {
    FillColorRect(work.Canvas(), client, TPanel::Color());
  }
  BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), work.Canvas()->Handle(), 0, 0, SRCCOPY);
  if (HasState(csDesigning)) Layout(), PaintBorder();
}

// ---------------------------------------------------------------------------
// Properties

void TsuiForm::SetUIStyle(TsuiUIStyle v) {
  const RECT hostBounds = host_ ? host_->BoundsRect() : RECT{};
  uiStyle_ = v;
  SetBorderColor(ElementColour(fileTheme_, v, TsuiElement::FormBorderColor));
  SetBorderWidth(ElementInteger(fileTheme_, v, TsuiElement::FormBorderWidthInt));
  SetColor(ElementColour(fileTheme_, v, TsuiElement::FormBackgroundColor));
  SetMenuBarColor(TPanel::Color());  // an existing menu bar takes it too
  if (menuBar_) menuBar_->Invalidate();
  titleBar_->SetFileTheme(fileTheme_);
  titleBar_->SetUIStyle(v);
  if (IsMdiChild()) titleBar_->SetRoundCorner(0);
  if (auto* themed = dynamic_cast<TsuiMainMenu*>(menu_)) {
    themed->SetFileTheme(fileTheme_);
    themed->SetUIStyle(v);
  }
  if (autoUpdateSub_) ApplyStyleToControls(this, v, fileTheme_);
  if (IsMdiChild() && host_)
    host_->SetBounds(hostBounds.left, hostBounds.top, hostBounds.right - hostBounds.left,
                     hostBounds.bottom - hostBounds.top);
  Layout();
  Invalidate();
  PaintBorder();
}

void TsuiForm::SetFileTheme(TsuiFileTheme* v) {
  if (v == fileTheme_) return;  // only a different theme applies the style again
  if (fileTheme_) fileTheme_->RemoveFreeNotification(this);
  fileTheme_ = v;
  if (v) v->FreeNotification(this);
  SetUIStyle(uiStyle_);
}

void TsuiForm::SetBorderColor(TColor v) {
  borderColor_ = v;
  Layout();
  PaintBorder();
}

void TsuiForm::SetBorderWidth(int v) {
  borderWidth_ = v;
  SetFrameWidth(Width());
  Layout();
  SetFrameHeight(Height());
  PaintBorder();
}

void TsuiForm::SetColor(TColor v) {
  TPanel::SetColor(v);
  Invalidate();
}

void TsuiForm::SetFrameWidth(int v) {
  if (!host_) return TPanel::SetWidth(v);
  host_->SetWidth(v + 2 * borderWidth_ + (HasState(csDesigning) ? hostFrameWidth_ : 0));
  Layout();
}

// The host gets one and a half borders below the panel's height whether the
// title bar shows or not, which is not quite the inverse of Layout: the stored
// dialog's sizes were designed with this rule, and each write of the same
// 3-pixel border makes the host a pixel taller.
void TsuiForm::SetFrameHeight(int v) {
  if (!host_) return TPanel::SetHeight(v);
  const int BW = borderWidth_;
  host_->SetHeight(v + BW + BW / 2 + (HasState(csDesigning) ? hostFrameHeight_ : 0));
  Layout();
}

void TsuiForm::SetTitleBarVisible(bool v) {
  if (titleBar_->Visible() == v) return;
  titleBar_->SetVisible(v);
  titleBar_->SetTop(0);
  Layout();
  PaintBorder();
}

void TsuiForm::SetCaption(const String& v) {
  titleBar_->SetCaption(v);
  if (host_) host_->SetCaption(v);
}

void TsuiForm::SetRoundCorner(int v) {
  titleBar_->SetRoundCorner(IsMdiChild() ? 0 : v);
}

void TsuiForm::SetMenuBarColor(TColor v) {
  menuBarColor_ = v;
  if (menuBar_) menuBar_->SetColor(v);
}

void TsuiForm::SetMenuBarHeight(int v) {
  menuBarHeight_ = v;
  if (menuBar_) {
    menuBar_->SetHeight(v);
    menuBar_->SetButtonHeight(v);
  }
}

void TsuiForm::SetFormPanel(TWinControl* v) {
  if (v == this) {
    if (Application) Application->MessageBox(kFormPanelError, Application->Title(), MB_OK);
    return;
  }
  if (formPanel_) formPanel_->RemoveFreeNotification(this);
  formPanel_ = v;
  if (!v) return;
  v->FreeNotification(this);
  v->SetAlign(alClient);
  if (auto* panel = dynamic_cast<TPanel*>(v); panel && &panel->ClassType() == &TPanel::StaticClass()) {
    panel->SetBevelInner(bvNone);
    panel->SetBevelOuter(bvNone);
    panel->SetBorderWidth(0);
    panel->SetCaption(L"");
  }
}

void TsuiForm::Notification(TComponent* AComponent, TOperation Operation) {
  TPanel::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == fileTheme_) {
    fileTheme_ = nullptr;
    ApplyStyleToControls(this, TsuiUIStyle::DeepBlue, nullptr);
    SetUIStyle(TsuiUIStyle::DeepBlue);
  }
  if (AComponent == menu_) {
    menu_ = nullptr;
    SetMenu(nullptr);
  }
  if (AComponent == formPanel_) formPanel_ = nullptr;
}

// ---------------------------------------------------------------------------
// Menu bar

void TsuiForm::SetMenu(TMainMenu* v) {
  if (menu_ && menu_ != v) {
    menu_->RemoveFreeNotification(this);
    if (auto* themed = dynamic_cast<TsuiMainMenu*>(menu_); themed && themed->Host() == this) themed->SetHost(nullptr);
  }
  menu_ = v;
  if (v) {
    v->FreeNotification(this);
    if (auto* themed = dynamic_cast<TsuiMainMenu*>(v)) themed->SetHost(this);
  }
  RebuildMenuBar();
}

void TsuiForm::RebuildMenuBar() {
  if (!menu_) {
    delete menuBar_;
    menuBar_ = nullptr;
    return;
  }
  if (IsMdiChild()) return;
  if (!menuBar_) {
    menuBar_ = new TToolBar(this);
    menuBar_->SetParent(this);
    menuBar_->SetFlat(true);
    menuBar_->SetEdgeBorders(0);
    menuBar_->SetShowCaptions(true);
    menuBar_->SetAlign(alTop);
    menuBar_->SetTop(titleBar_->Height());
    menuBar_->SetHeight(menuBarHeight_);
    menuBar_->SetButtonHeight(menuBarHeight_);
    menuBar_->SetColor(menuBarColor_);
    menuBar_->SetOnCustomDraw([this](TToolBar* bar, const RECT& r, bool&) { DrawMenuBarBackground(bar, r); });
    menuBar_->SetOnCustomDrawButton(
        [this](TToolBar* bar, TToolButton* button, TCustomDrawState state, bool& defaultDraw) {
          DrawMenuButton(bar, button, state, defaultDraw);
        });
  }
  titleBar_->SetTop(0);
  menuBar_->SetMenu(nullptr);
  menuBar_->SetMenu(menu_);
  ApplyMenuFont();
}

void TsuiForm::ApplyMenuFont() {
  if (!menuBar_) return;
  if (auto* themed = dynamic_cast<TsuiMainMenu*>(menu_)) {
    if (themed->UseSystemFont()) {
      CreateMenuFont(menuBar_->Font());
    } else {
      menuBar_->Font()->SetName(themed->FontName());
      menuBar_->Font()->SetSize(themed->FontSize());
      menuBar_->Font()->SetCharset(themed->FontCharset());
    }
  }
  menuBar_->Invalidate();
}

void TsuiForm::MenuItemsChanged(bool rebuild) {
  if (!menuBar_) return;
  if (rebuild)
    RebuildMenuBar();
  else
    menuBar_->RefreshMenuButtons();
}

void TsuiForm::MenuFontChanged() { ApplyMenuFont(); }

TsuiUIStyle TsuiForm::MenuStyle(const TsuiFileTheme*& theme) const {
  if (auto* themed = dynamic_cast<TsuiMainMenu*>(menu_)) {
    theme = themed->FileTheme();
    return themed->UIStyle();
  }
  theme = fileTheme_;
  return uiStyle_;
}

void TsuiForm::DrawMenuBarBackground(TToolBar* bar, const RECT& r) {
  if (HasState(csDesigning)) return;
  const TsuiFileTheme* theme = nullptr;
  const TsuiUIStyle style = MenuStyle(theme);
  const FileThemeChoice resolved = ResolveFileThemeStyle(theme, style);
  if (resolved.UseFile || resolved.Style != TsuiUIStyle::MacOS) return;  // the bar's colour shows
  TBitmap background;
  background.LoadFromResourceName(GetModuleHandleW(nullptr), L"MACOS_MENU_BAR");
  bar->Canvas()->StretchDraw(r, &background);
}

void TsuiForm::DrawMenuButton(TToolBar* bar, TToolButton* button, TCustomDrawState state, bool& defaultDraw) {
  if (HasState(csDesigning) || !(state & (cdsHot | cdsSelected))) return;
  defaultDraw = false;
  const TsuiFileTheme* theme = nullptr;
  const TsuiUIStyle style = MenuStyle(theme);
  TColor textColour = ElementColour(theme, style, TsuiElement::MenuSelectedFontColor);
  if (auto* themed = dynamic_cast<TsuiMainMenu*>(menu_); themed && !themed->UseSystemFont())
    textColour = themed->FontColor();
  TCanvas* canvas = bar->Canvas();
  RECT r = button->BoundsRect();
  canvas->Font()->Assign(bar->Font());
  canvas->Font()->SetColor(textColour);
  const FileThemeChoice resolved = ResolveFileThemeStyle(theme, style);
  if (!resolved.UseFile && resolved.Style == TsuiUIStyle::MacOS) {
    TBitmap face(r.right - r.left, r.bottom - r.top);
    TBitmap select;
    select.LoadFromResourceName(GetModuleHandleW(nullptr), L"MACOS_MENU_SELECT");
    face.Canvas()->StretchDraw(RECT{0, 0, face.Width(), face.Height()}, &select);
    face.Canvas()->Font()->Assign(canvas->Font());
    face.Canvas()->Brush()->SetStyle(bsClear);
    RECT text{0, 0, face.Width(), face.Height() + 2};
    face.Canvas()->DrawText(button->Caption(), text, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    canvas->Draw(r.left, r.top, &face);
    return;
  }
  const bool selected = state & cdsSelected;
  if (selected) r.right -= 2;
  FillColorRect(canvas, r, ElementColour(theme, style, TsuiElement::MenuSelectedBackgroundColor));
  FrameColorRect(canvas, r, ElementColour(theme, style, TsuiElement::MenuSelectedBorderColor));
  if (selected) r.left += 2;
  r.top += 2;
  canvas->Brush()->SetStyle(bsClear);
  canvas->DrawText(button->Caption(), r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

// ---------------------------------------------------------------------------
// The host's window procedure and the application hook

void TsuiForm::HostWndProc(TMessage& m) {
  if (m.Msg == WM_SIZE) return HostSize(m);
  previousHostProc_(m);
  switch (m.Msg) {
    case WM_ACTIVATE: titleBar_->SetFormActive(LOWORD(m.WParam) != WA_INACTIVE); break;
    case WM_MDIACTIVATE: {
      const bool self = HWND(m.LParam) == host_->Handle();
      TCustomForm* main = Application ? Application->MainForm() : nullptr;
      if (self && main && main->ClientHandle()) SendMessageW(main->ClientHandle(), 0x1330, 0, 0);
      titleBar_->SetFormActive(self);
      break;
    }
    case WM_KEYDOWN: m.Result = MenuShortCut(WORD(m.WParam), KeyDataToShiftState(m.LParam)); break;
    case WM_SHOWWINDOW:
      if (host_->HandleAllocated() && GetMenu(host_->Handle())) ::SetMenu(host_->Handle(), nullptr);
      break;
    case WM_DESTROY:
      if (IsMdiChild())
        if (TCustomForm* main = Application ? Application->MainForm() : nullptr; main && main->ClientHandle()) {
          SendMessageW(main->ClientHandle(), 0x1330, 0, 0);
          if (IsZoomed(host_->Handle())) SendMessageW(main->ClientHandle(), 0x1332, 0, 0);
        }
      break;
    case WM_ERASEBKGND: PaintBorder(); break;
    case WM_NCHITTEST: HostHitTest(m); break;
    default: break;
  }
}

void TsuiForm::HostSize(TMessage& m) {
  const bool zoomed = host_->HandleAllocated() && IsZoomed(host_->Handle());
  if (maximisedAtCreation_) {
    if (!zoomed) {
      host_->SetBounds(restoreRect_.left, restoreRect_.top, restoreRect_.right - restoreRect_.left,
                       restoreRect_.bottom - restoreRect_.top);
      maximisedAtCreation_ = false;
    } else if (maximisedSizeCount >= 2) {
      host_->SetWindowState(wsMaximized);
    } else {
      ++maximisedSizeCount;
    }
    mdiScrollFlag = true;
  }
  if (zoomed && !IsMdiChild() && hostBorderStyle_ != bsNone) {
    RECT work;
    GetWorkArea(work);
    SetFormBounds(host_, work);
  }
  Layout();
  PaintBorder();
  titleBar_->RefreshMaxButtons();
  titleBar_->UpdateRegion();
  previousHostProc_(m);
}

void TsuiForm::HostHitTest(TMessage& m) {
  if (IsZoomed(host_->Handle())) return;
  if (host_->FormStyle() == fsMDIForm && m.Result == HTCLIENT) m.Result = HTTRANSPARENT;
  if (hostBorderStyle_ != bsSizeable) return;
  const POINT p = host_->ScreenToClient(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
  if (const int edge = FrameEdgeHitTest(p.x, p.y, host_->ClientWidth(), host_->ClientHeight())) m.Result = edge;
}

bool TsuiForm::MenuShortCut(WORD key, TShiftState shift) {
  if (!menu_ || !host_ || !host_->HandleAllocated()) return false;
  if (!IsFormActive(host_) || GetActiveWindow() != host_->Handle()) return false;
  return menu_->IsShortCut(ShortCut(key, shift));
}

bool TsuiForm::ApplicationHook(MSG& msg) {
  if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_SPACE) {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    const int x = main ? main->Left() : 0, y = (main ? main->Top() : 0) + titleBar_->Height();
    titleBar_->PopupSystemMenu(x, y);
    return true;
  }
  if (msg.message == WM_KEYDOWN) return MenuShortCut(WORD(msg.wParam), KeyDataToShiftState(msg.lParam));
  return false;
}

}  // namespace kestu
