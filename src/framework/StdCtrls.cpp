#include "framework/StdCtrls.h"

#include <algorithm>

namespace kestu {

namespace {
const std::vector<std::string> kAlignments{"taLeftJustify", "taRightJustify", "taCenter"};
const std::vector<std::string> kBevels{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
}  // namespace

// ---------------------------------------------------------------------------
// TLabel

KESTU_PUBLISH(TLabel) {
  p.Enum("Alignment", &TLabel::Alignment, &TLabel::SetAlignment, taLeftJustify, kAlignments);
  p.Enum("Layout", &TLabel::Layout, &TLabel::SetLayout, tlTop, {"tlTop", "tlCenter", "tlBottom"});
  p.Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false);
  p.Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, false);
  p.Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true);
  p.Bool("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar, true);
  p.Ref("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
}

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
}

void TLabel::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  Invalidate();
}
void TLabel::SetLayout(TTextLayout v) {
  if (v == layout_) return;
  layout_ = v;
  Invalidate();
}
void TLabel::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  Invalidate();
}
void TLabel::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  AdjustBounds();
  Invalidate();
}
void TLabel::SetAutoSize(bool v) {
  if (v == autoSize_) return;
  autoSize_ = v;
  AdjustBounds();
}
void TLabel::SetShowAccelChar(bool v) {
  if (v == showAccelChar_) return;
  showAccelChar_ = v;
  AdjustBounds();
  Invalidate();
}
void TLabel::SetFocusControl(TWinControl* v) {
  if (v == focusControl_) return;
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = v;
  if (v) v->FreeNotification(this);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

UINT TLabel::TextFormat() const {
  static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT format = DT_EXPANDTABS | kAlign[alignment_];
  if (wordWrap_) format |= DT_WORDBREAK;
  if (!showAccelChar_) format |= DT_NOPREFIX;
  return format;
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || HasState(csLoading | csDestroying)) return;
  RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
  {
    WindowDC screen(nullptr);
    if (!screen.Get()) return;
    SelectedObject font(screen.Get(), Font()->Handle());
    String text = Caption();
    if (text.empty() || (showAccelChar_ && text.size() > 1 && text[0] == L'&' && text[1] == 0)) text = L" ";
    DrawTextW(screen.Get(), text.c_str(), int(text.size()), &r, TextFormat() | DT_CALCRECT);
  }
  int width = wordWrap_ ? Width() : int(r.right);
  int left = Left();
  if (!wordWrap_ && alignment_ == taRightJustify) left += Width() - width;
  SetBounds(left, Top(), width, int(r.bottom));
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      AdjustBounds();
      Invalidate();
      return TGraphicControl::WndProc(m);
    case CM_DIALOGCHAR:
      if (focusControl_ && showAccelChar_ && Enabled() && IsAccel(wchar_t(m.WParam), Caption()) &&
          focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        m.Result = 1;
        return;
      }
      return TGraphicControl::WndProc(m);
    default:
      return TGraphicControl::WndProc(m);
  }
}

void TLabel::Paint() {
  TCanvas* canvas = Canvas();
  RECT r = ClientRect();
  if (!transparent_) {
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(r);
  }
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->Assign(Font());
  if (layout_ != tlTop) {
    RECT calc = r;
    canvas->DrawText(Caption(), calc, TextFormat() | DT_CALCRECT);
    const int offset = (r.bottom - r.top) - (calc.bottom - calc.top);
    r.top += layout_ == tlBottom ? offset : offset / 2;
  }
  if (!Enabled()) {
    OffsetRect(&r, 1, 1);
    canvas->Font()->SetColor(clBtnHighlight);
    canvas->DrawText(Caption(), r, TextFormat());
    OffsetRect(&r, -1, -1);
    canvas->Font()->SetColor(clBtnShadow);
  }
  canvas->DrawText(Caption(), r, TextFormat());
}

// ---------------------------------------------------------------------------
// TButton

KESTU_PUBLISH(TButton) {
  p.Bool("Default", &TButton::Default, &TButton::SetDefault, false);
  p.Bool("Cancel", &TButton::Cancel, &TButton::SetCancel, false);
  p.Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, 0).Idents(&IdentToModalResult);
}

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  // Clicks and the mouse capture belong to the native button.
  controlStyle_ &= ~(csClickEvents | csCaptureMouse);
}

void TButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SubclassOf = L"BUTTON";
  p.WinClassName = L"TButton";
  p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  if (modalResult_ != mrNone)
    if (TCustomForm* form = GetParentForm()) form->SetModalResult(modalResult_);
  TWinControl::Click();
}

void TButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      return;
    case CM_DIALOGKEY: {
      const WORD key = WORD(m.WParam);
      bool press = false;
      if (key == VK_RETURN) {
        // The focused button takes Enter; otherwise the default button does,
        // unless another button has the focus.
        TCustomForm* form = GetParentForm();
        TWinControl* focused = form ? form->ActiveControl() : nullptr;
        press = Focused() || (default_ && !dynamic_cast<TButton*>(focused));
      } else if (key == VK_ESCAPE) {
        press = cancel_;
      }
      if (press && KeyDataToShiftState(m.LParam) == 0 && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      return TWinControl::WndProc(m);
    }
    case CM_DIALOGCHAR:
      if (IsAccel(wchar_t(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      return TWinControl::WndProc(m);
    default:
      return TWinControl::WndProc(m);
  }
}

// ---------------------------------------------------------------------------
// TPanel

KESTU_PUBLISH(TPanel) {
  p.Enum("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner, bvNone, kBevels);
  p.Enum("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter, bvRaised, kBevels);
  p.Int("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth, 1);
  p.Enum("Alignment", &TPanel::Alignment, &TPanel::SetAlignment, taCenter, kAlignments);
}

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
  controlStyle_ |= csAcceptsControls | csOpaque;
}

void TPanel::SetBevelInner(TBevelCut v) {
  if (v == bevelInner_) return;
  bevelInner_ = v;
  Realign();
  Invalidate();
}
void TPanel::SetBevelOuter(TBevelCut v) {
  if (v == bevelOuter_) return;
  bevelOuter_ = v;
  Realign();
  Invalidate();
}
void TPanel::SetBevelWidth(int v) {
  if (v == bevelWidth_) return;
  bevelWidth_ = v;
  Realign();
  Invalidate();
}
void TPanel::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  Invalidate();
}

void TPanel::AdjustClientRect(RECT& r) {
  TCustomControl::AdjustClientRect(r);
  int bevel = 0;
  if (bevelOuter_ != bvNone) bevel += bevelWidth_;
  if (bevelInner_ != bvNone) bevel += bevelWidth_;
  InflateRect(&r, -bevel, -bevel);
}

void TPanel::WndProc(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;  // Paint covers every pixel
    return;
  }
  TCustomControl::WndProc(m);
}

void TPanel::Paint() {
  TCanvas* canvas = Canvas();
  RECT r = ClientRect();
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    const bool raised = cut == bvRaised;
    Frame3D(canvas, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight,
            bevelWidth_);
  };
  bevel(bevelOuter_);
  Frame3D(canvas, r, Color(), Color(), BorderWidth());
  bevel(bevelInner_);
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(r);
  if (!Caption().empty()) {
    static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->Assign(Font());
    canvas->DrawText(Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | kAlign[alignment_]);
  }
}

// ---------------------------------------------------------------------------
// TImage

KESTU_PUBLISH(TImage) {
  p.Object("Picture", &TImage::Picture);
  p.Bool("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize, false);
  p.Bool("Stretch", &TImage::Stretch, &TImage::SetStretch, false);
  p.Bool("Center", &TImage::Center, &TImage::SetCenter, false);
  p.Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent, false);
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 105, 105);
  picture_.SetOnChange([this](TObject*) { PictureChanged(); });
}

void TImage::PictureChanged() {
  if (TGraphic* g = picture_.Graphic()) g->SetTransparent(transparent_);
  if (autoSize_ && picture_.Width() > 0 && picture_.Height() > 0)
    SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
  Invalidate();
}

void TImage::SetAutoSize(bool v) {
  if (v == autoSize_) return;
  autoSize_ = v;
  PictureChanged();
}
void TImage::SetStretch(bool v) {
  if (v == stretch_) return;
  stretch_ = v;
  Invalidate();
}
void TImage::SetCenter(bool v) {
  if (v == center_) return;
  center_ = v;
  Invalidate();
}
void TImage::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  PictureChanged();
}

void TImage::Paint() {
  TGraphic* g = picture_.Graphic();
  if (!g || g->Empty()) return;
  RECT r{0, 0, g->Width(), g->Height()};
  if (stretch_) {
    r = ClientRect();
  } else if (center_) {
    OffsetRect(&r, (Width() - g->Width()) / 2, (Height() - g->Height()) / 2);
  }
  Canvas()->StretchDraw(r, g);
}

// ---------------------------------------------------------------------------
// TScrollBar

KESTU_PUBLISH(TScrollBar) {
  p.Enum("Kind", &TScrollBar::Kind, &TScrollBar::SetKind, sbHorizontal, {"sbHorizontal", "sbVertical"});
  p.Int("Min", &TScrollBar::Min, &TScrollBar::SetMin, 0);
  p.Int("Max", &TScrollBar::Max, &TScrollBar::SetMax, 100);
  p.Int("Position", &TScrollBar::Position, &TScrollBar::SetPosition, 0);
  p.Int("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize, 0);
  p.Int("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange, 1);
  p.Int("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange, 1);
  p.Event("OnChange", &TScrollBar::SetOnChange);
  p.Event("OnScroll", &TScrollBar::SetOnScroll);
}

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
  controlStyle_ &= ~(csClickEvents | csCaptureMouse);
}

void TScrollBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SubclassOf = L"SCROLLBAR";
  p.WinClassName = L"TScrollBar";
  p.Style |= kind_ == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateHandleDone() { UpdateNative(); }

void TScrollBar::SetKind(TScrollBarKind v) {
  if (v == kind_) return;
  kind_ = v;
  if (!HasState(csLoading)) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TScrollBar::SetPageSize(int v) {
  if (v == pageSize_ || v < 0) return;
  pageSize_ = v;
  SetParams(position_, min_, max_);
  UpdateNative();
}

void TScrollBar::SetParams(int position, int min, int max) {
  if (max < min) max = min;
  const int last = std::max(min, max - std::max(pageSize_ - 1, 0));
  position = std::clamp(position, min, last);
  const bool moved = position != position_;
  if (!moved && min == min_ && max == max_) return;
  min_ = min, max_ = max, position_ = position;
  UpdateNative();
  if (moved && onChange_) onChange_(this);
}

void TScrollBar::UpdateNative() {
  if (!HandleAllocated()) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  info.nMin = min_;
  info.nMax = max_;
  info.nPage = UINT(pageSize_);
  info.nPos = position_;
  SetScrollInfo(Handle(), SB_CTL, &info, TRUE);
}

void TScrollBar::DoScroll(TMessage& m) {
  static const TScrollCode kCodes[] = {scLineUp, scLineDown, scPageUp, scPageDown, scPosition,
                                       scTrack, scTop, scBottom, scEndScroll};
  const int code = LOWORD(m.WParam);
  if (code < 0 || code > SB_ENDSCROLL) return;
  int pos = position_;
  switch (code) {
    case SB_LINEUP: pos -= smallChange_; break;
    case SB_LINEDOWN: pos += smallChange_; break;
    case SB_PAGEUP: pos -= largeChange_; break;
    case SB_PAGEDOWN: pos += largeChange_; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(Handle(), SB_CTL, &info);
      pos = info.nTrackPos;
      break;
    }
    case SB_TOP: pos = min_; break;
    case SB_BOTTOM: pos = max_; break;
    default: break;
  }
  if (onScroll_) onScroll_(this, kCodes[code], pos);
  SetPosition(pos);
}

void TScrollBar::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) return DoScroll(m);
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TTimer

KESTU_PUBLISH(TTimer) {
  p.Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true);
  p.Int("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000);
  p.Event("OnTimer", &TTimer::SetOnTimer);
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer() {
  if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK TTimer::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) {
    auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    try {
      if (timer && timer->onTimer_) timer->onTimer_(timer);
    } catch (...) {
      HandleCallbackException();
    }
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

void TTimer::UpdateTimer() {
  if (window_) KillTimer(window_, 1);
  if (!enabled_ || interval_ <= 0 || !onTimer_ || HasState(csDesigning | csLoading)) return;
  if (!window_) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, L"KestuTimerWindow", &wc)) {
      wc.lpfnWndProc = &TTimer::WndProc;
      wc.hInstance = instance;
      wc.lpszClassName = L"KestuTimerWindow";
      RegisterClassExW(&wc);
    }
    window_ = CreateWindowExW(0, L"KestuTimerWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  if (!SetTimer(window_, 1, UINT(interval_), nullptr)) throw Exception(L"Not enough timers available");
}

void TTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  UpdateTimer();
}
void TTimer::SetInterval(int v) {
  if (v == interval_) return;
  interval_ = v;
  UpdateTimer();
}
void TTimer::SetOnTimer(TNotifyEvent e) {
  onTimer_ = std::move(e);
  UpdateTimer();
}
void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

}  // namespace kestu
