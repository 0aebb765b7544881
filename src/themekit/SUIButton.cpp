#include "themekit/SUIButton.h"

#include "framework/ActnList.h"
#include "framework/ImgList.h"
#include "themekit/SUIMgr.h"
#include "themekit/ThemeDrawing.h"

namespace kestu {

namespace {

constexpr int kFallbackImageWidth = 74;
constexpr int kFallbackImageHeight = 21;
constexpr TColor kDisabledShadow = clWhite;
constexpr TColor kDisabledText = TColor(0x00808080);

String Trimmed(const String& s) {
  const auto first = s.find_first_not_of(L" \t\r\n");
  if (first == String::npos) return {};
  return s.substr(first, s.find_last_not_of(L" \t\r\n") - first + 1);
}

}  // namespace

GlyphPlacement PlaceGlyph(TButtonLayout layout, int width, int height, int GW, int GH, int TW, int TH, int spacing) {
  GlyphPlacement p;
  switch (layout) {
    case blGlyphLeft:
      p.Glyph = {(width - GW - TW - spacing) / 2, (height - GH) / 2};
      p.Text = {p.Glyph.x + GW + spacing, (height - TH) / 2};
      break;
    case blGlyphRight:
      p.Glyph = {(width + TW + spacing - GW) / 2, (height - GH) / 2};
      p.Text = {p.Glyph.x - TW - spacing, (height - TH) / 2};
      break;
    case blGlyphTop:
      p.Glyph = {(width - GW) / 2, (height - TH - GH - spacing) / 2};
      p.Text = {(width - TW) / 2, p.Glyph.y + GH + spacing};
      break;
    case blGlyphBottom:
      p.Glyph = {(width - GW) / 2, (height + TH + spacing - GH) / 2};
      p.Text = {(width - TW) / 2, p.Glyph.y - TH - spacing};
      break;
  }
  return p;
}

// ---------------------------------------------------------------------------
// TsuiCustomButton

KESTU_PUBLISH(TsuiCustomButton) {
  p.Bool("AutoSize", &TsuiCustomButton::AutoSize, &TsuiCustomButton::SetAutoSize, false);
  p.Bool("TabStop", &TsuiCustomButton::TabStop, &TsuiCustomButton::SetTabStop, true);
  p.Int("MouseContinuouslyDownInterval", &TsuiCustomButton::MouseContinuouslyDownInterval,
        &TsuiCustomButton::SetMouseContinuouslyDownInterval, 100);
  p.Event("OnMouseContinuouslyDown", &TsuiCustomButton::SetOnMouseContinuouslyDown);
  p.Event("OnMouseExit", &TsuiCustomButton::SetOnMouseExit);
}

TsuiCustomButton::TsuiCustomButton(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle((ControlStyle() | csCaptureMouse | csClickEvents | csOpaque) & ~(csAcceptsControls | csDoubleClicks));
  SetTabStop(true);
  SetParentColor(true);
}

TsuiCustomButton::~TsuiCustomButton() = default;

void TsuiCustomButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: return WmEraseBkgnd(m);
    case WM_KEYDOWN: return WmKeyDown(m);
    case WM_KEYUP: return WmKeyUp(m);
    case WM_SETFOCUS: return WmFocus(m);
    case WM_KILLFOCUS: return WmFocus(m);
    case CM_MOUSEENTER: return CmMouseEnter(m);
    case CM_MOUSELEAVE: return CmMouseLeave(m);
    case CM_ENABLEDCHANGED: return CmEnabledChanged(m);
    case CM_TEXTCHANGED: return CmTextChanged(m);
    case CM_DIALOGCHAR: return CmDialogChar(m);
    case CM_FOCUSCHANGED: return CmFocusChanged(m);
    default: return TCustomControl::WndProc(m);
  }
}

void TsuiCustomButton::SetAutoSize(bool v) {
  autoSize_ = v;
  AutoSizeToStyle();
}

void TsuiCustomButton::SetTransparent(bool v) {
  if (transparent_ == v) return;
  transparent_ = v;
  TransparentChanged();
}

void TsuiCustomButton::AutoSizeToStyle() {}

void TsuiCustomButton::FontChanged() {
  TCustomControl::FontChanged();
  Canvas()->Font()->Assign(Font());
  Invalidate();
}

// The timer is only stopped, never freed here: a repeat handler that clicks
// or leaves the button runs inside the timer's own tick.
void TsuiCustomButton::StopRepeat() {
  if (repeatTimer_) repeatTimer_->SetEnabled(false);
}

void TsuiCustomButton::Click() {
  if (pressed_) {
    StopRepeat();
    pressed_ = false;
    Invalidate();
  }
  if (TabStop() && CanFocus() && Enabled()) SetFocus();
  if (Parent()) HandModalResult();
  TCustomControl::Click();
}

void TsuiCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    pressed_ = true;
    if (!repeatTimer_) {
      repeatTimer_ = std::make_unique<TTimer>(nullptr);
      repeatTimer_->SetEnabled(false);
      repeatTimer_->SetOnTimer([this](TObject*) {
        if (onRepeat_) onRepeat_(this);
      });
    }
    if (!repeatTimer_->Enabled()) {
      repeatTimer_->SetInterval(std::max(repeatInterval_, 0));
      repeatTimer_->SetEnabled(true);
    }
    Invalidate();
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TsuiCustomButton::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (x < 0 || y < 0 || x > Width() || y > Height()) {
    mouseOver_ = false;
    pressed_ = false;
    Invalidate();
  }
}

void TsuiCustomButton::WmKeyDown(TMessage& m) {
  WORD key = WORD(m.WParam);
  const bool presses = (key == VK_SPACE || key == VK_RETURN) && Focused() && Enabled();
  if (presses && key == VK_RETURN) {
    // OnKeyDown and the form's key preview see Enter first, then a default
    // button elsewhere on the form takes it; only then does this one go down.
    if (DoKeyDown(key, KeyDataToShiftState(m.LParam))) return;
    if (TCustomForm* form = GetParentForm(); form && form->Perform(CM_DIALOGKEY, key, m.LParam)) return;
  }
  if (presses) {
    pressed_ = true;
    Invalidate();
    if (key == VK_RETURN) return;
  }
  TCustomControl::WndProc(m);
}

void TsuiCustomButton::WmKeyUp(TMessage& m) {
  const WORD key = WORD(m.WParam);
  TCustomControl::WndProc(m);
  if ((key == VK_SPACE || key == VK_RETURN) && Focused() && pressed_ && Enabled()) {
    pressed_ = false;
    Invalidate();
    Click();
  }
}

void TsuiCustomButton::WmFocus(TMessage& m) {
  TCustomControl::WndProc(m);
  Invalidate();
}

void TsuiCustomButton::CmMouseEnter(TMessage& m) {
  if (!HasState(csDesigning)) {
    mouseOver_ = true;
    Invalidate();
  }
  TCustomControl::WndProc(m);  // fires OnMouseEnter
}

void TsuiCustomButton::CmMouseLeave(TMessage& m) {
  mouseOver_ = false;
  pressed_ = false;
  StopRepeat();
  Invalidate();
  TCustomControl::WndProc(m);
  if (onMouseExit_) onMouseExit_(this);
}

void TsuiCustomButton::CmEnabledChanged(TMessage& m) {
  TCustomControl::WndProc(m);
  EnabledChanged();
  Invalidate();
}

void TsuiCustomButton::CmTextChanged(TMessage& m) {
  TCustomControl::WndProc(m);
  CaptionChanged();
  Invalidate();
}

void TsuiCustomButton::CmDialogChar(TMessage& m) {
  if (IsAccel(wchar_t(m.WParam), Caption()) && Enabled() && Showing()) {
    Click();
    m.Result = 1;
    return;
  }
  TCustomControl::WndProc(m);
}

void TsuiCustomButton::CmFocusChanged(TMessage& m) {
  TCustomControl::WndProc(m);
  Invalidate();
}

void TsuiCustomButton::Paint() {
  // The state image: disabled before pressed before mouse over.
  TBitmap image;
  try {
    if (!Enabled())
      GetDisabledImage(&image);
    else if (pressed_)
      GetMouseDownImage(&image);
    else if (mouseOver_)
      GetMouseOnImage(&image);
    else
      GetNormalImage(&image);
  } catch (const Exception&) {
    TBitmap blank(kFallbackImageWidth, kFallbackImageHeight);
    image.Assign(&blank);
  }
  image.SetTransparent(transparent_);

  TBitmap work(Width(), Height());
  TCanvas* canvas = work.Canvas();
  const RECT client{0, 0, Width(), Height()};
  if (transparent_)
    PaintParentBackground(canvas, this);
  else
    FillColorRect(canvas, client, Color());
  DrawFace(canvas, &image);
  if (Focused() && TabStop()) DrawFocus(canvas);
  canvas->Font()->Assign(Font());
  if (!Trimmed(Caption()).empty()) DrawCaption(canvas, Caption());
  BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), canvas->Handle(), 0, 0, SRCCOPY);
}

void TsuiCustomButton::DrawFace(TCanvas* canvas, TBitmap* image) {
  if (image->Empty()) return;
  if (transparent_) image->SetTransparentColor(image->Canvas()->Pixel(0, 0));
  canvas->Draw(0, 0, image);
}

void TsuiCustomButton::DrawCaption(TCanvas* canvas, const String& caption) {
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->Assign(Font());
  if (boldCaption_) canvas->Font()->SetStyle(canvas->Font()->Style() | fsBold);
  RECT r{0, 0, Width(), Height()};
  constexpr UINT format = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
  if (!Enabled()) {
    RECT shadow = r;
    OffsetRect(&shadow, 1, 1);
    canvas->Font()->SetColor(kDisabledShadow);
    canvas->DrawText(caption, shadow, format);
    canvas->Font()->SetColor(kDisabledText);
  } else if (pressed_) {
    OffsetRect(&r, 1, 1);
  }
  canvas->DrawText(caption, r, format);
  boldCaption_ = false;
}

void TsuiCustomButton::DrawFocus(TCanvas* canvas) {
  RECT r{2, 2, Width() - 2, Height() - 2};
  canvas->Brush()->SetStyle(bsSolid);
  DrawDottedFocusRect(canvas, r);
}

// ---------------------------------------------------------------------------
// TsuiButton

KESTU_PUBLISH(TsuiButton) {
  p.Enum("UIStyle", &TsuiButton::UIStyle, &TsuiButton::SetUIStyle, 3, UIStyleNames());
  p.Ref("FileTheme", &TsuiButton::FileTheme, &TsuiButton::SetFileTheme);
  p.Bool("Transparent", &TsuiButton::Transparent, &TsuiButton::SetTransparent, false);
  p.Bool("Cancel", &TsuiButton::Cancel, &TsuiButton::SetCancel, false);
  p.Bool("Default", &TsuiButton::Default, &TsuiButton::SetDefault, false);
  p.Int("ModalResult", &TsuiButton::ModalResult, &TsuiButton::SetModalResult, 0).Idents(&IdentToModalResult);
  p.Int("FocusedRectMargin", &TsuiButton::FocusedRectMargin, &TsuiButton::SetFocusedRectMargin, 2);
  p.Object("Glyph", &TsuiButton::Glyph);
  p.Enum("Layout", &TsuiButton::Layout, &TsuiButton::SetLayout, blGlyphLeft,
         {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
  p.Int("Spacing", &TsuiButton::Spacing, &TsuiButton::SetSpacing, 4);
  p.Int("ResHandle", &TsuiButton::ResHandle, &TsuiButton::SetResHandle, 0);
}

TsuiButton::TsuiButton(TComponent* AOwner) : TsuiCustomButton(AOwner) {
  SetBounds(Left(), Top(), 80, 27);
  glyph_.SetOnChange([this](TObject*) { Invalidate(); });
  uiStyle_ = FindFormUIStyle(AOwner);
  UIStyleChanged();
}

TsuiButton::~TsuiButton() {
  if (fileTheme_) fileTheme_->RemoveFreeNotification(this);
}

TAccessibleElement TsuiButton::AccessibleSelf() { return PushButtonElement(*this, Default(), IsPressed(), IsMouseOver()); }

void TsuiButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGKEY: return CmDialogKey(m);
    default: return TsuiCustomButton::WndProc(m);
  }
}

void TsuiButton::SetUIStyle(TsuiUIStyle v) {
  uiStyle_ = v;
  UIStyleChanged();
  Invalidate();
}

void TsuiButton::SetFileTheme(TsuiFileTheme* v) {
  if (fileTheme_ && fileTheme_ != v) fileTheme_->RemoveFreeNotification(this);
  fileTheme_ = v;
  if (v) v->FreeNotification(this);
  SetUIStyle(uiStyle_);
}

void TsuiButton::Notification(TComponent* AComponent, TOperation Operation) {
  TsuiCustomButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == fileTheme_) {
    fileTheme_ = nullptr;
    SetUIStyle(TsuiUIStyle::DeepBlue);
  }
}

void TsuiButton::SetDefault(bool v) {
  default_ = v;
  if (HandleAllocated())
    if (TCustomForm* form = GetParentForm())
      form->BroadcastAll(CM_FOCUSCHANGED, 0, LPARAM(form->ActiveControl()));
}

void TsuiButton::SetFocusedRectMargin(int v) {
  if (focusedRectMargin_ == v) return;
  focusedRectMargin_ = v;
  Invalidate();
}

void TsuiButton::SetGlyph(TBitmap* v) {
  glyph_.Assign(v);
  Invalidate();
}

// An action gives the button its caption, and its image as the glyph while
// the button has none.
void TsuiButton::ActionChange(TBasicAction* sender, bool checkDefaults) {
  TsuiCustomButton::ActionChange(sender, checkDefaults);
  auto* action = dynamic_cast<TAction*>(sender);
  if (!action) return;
  SetCaption(action->Caption());
  TImageList* images = action->ActionList() ? action->ActionList()->Images() : nullptr;
  const int index = action->ImageIndex();
  if (glyph_.Width() > 0 || !images || index < 0 || index >= images->Count()) return;
  TBitmap image;
  images->GetBitmap(index, &image);
  SetGlyph(&image);
}

void TsuiButton::SetLayout(TButtonLayout v) {
  if (layout_ == v) return;
  layout_ = v;
  Invalidate();
}

void TsuiButton::SetSpacing(int v) {
  if (spacing_ == v) return;
  spacing_ = v;
  Invalidate();
}

void TsuiButton::HandModalResult() {
  if (TCustomForm* form = GetParentForm()) form->SetModalResult(modalResult_);
}

void TsuiButton::UIStyleChanged() { SetTransparent(ElementBoolean(fileTheme_, uiStyle_, TsuiElement::ButtonTransparentBool)); }

void TsuiButton::StateImage(TBitmap* b, int which) {
  ElementStateImage(fileTheme_, uiStyle_, TsuiElement::ButtonImage, b, which, 3);
}

void TsuiButton::AutoSizeToStyle() {
  if (!AutoSize()) return;
  TBitmap strip;
  try {
    LoadStyleBitmap(uiStyle_, TsuiElement::ButtonImage, &strip);
  } catch (const Exception&) {
  }
  const int H = strip.Height() ? strip.Height() : kFallbackImageHeight;
  const int W = strip.Width() ? strip.Width() : kFallbackImageWidth;
  SetBounds(Left(), Top(), W / 3, H);
}

void TsuiButton::DrawFace(TCanvas* canvas, TBitmap* image) {
  canvas->Font()->Assign(Font());
  DrawSlicedBitmap(image, canvas, RECT{0, 0, Width(), Height()}, Transparent());
  if (!glyph_.Empty()) DrawGlyph(canvas);
}

void TsuiButton::DrawGlyph(TCanvas* canvas) {
  const SIZE text = canvas->TextExtent(Caption());
  int GW = glyph_.Width();
  const int GH = glyph_.Height();
  const bool twoImages = GW == 2 * GH;
  if (twoImages) GW = GH;
  const GlyphPlacement at = PlaceGlyph(layout_, Width(), Height(), GW, GH, int(text.cx), int(text.cy), spacing_);
  textPos_ = at.Text;
  int x = at.Glyph.x, y = at.Glyph.y;
  if (pressed_) ++x, ++y;
  TImageList list(nullptr);
  list.SetWidth(GW);
  list.SetHeight(GH);
  list.AddMasked(&glyph_, glyph_.Canvas()->Pixel(0, 0));
  if (twoImages)
    list.Draw(canvas, x, y, Enabled() ? 0 : 1, true);
  else
    list.Draw(canvas, x, y, 0, Enabled());
}

void TsuiButton::DrawCaption(TCanvas* canvas, const String& caption) {
  if (glyph_.Empty()) return TsuiCustomButton::DrawCaption(canvas, caption);
  canvas->Brush()->SetStyle(bsClear);
  constexpr UINT format = DT_SINGLELINE;
  RECT r{textPos_.x, textPos_.y, Width(), Height()};
  if (!Enabled()) {
    RECT shadow = r;
    OffsetRect(&shadow, 1, 1);
    canvas->Font()->SetColor(kDisabledShadow);
    canvas->DrawText(caption, shadow, format);
    canvas->Font()->SetColor(kDisabledText);
  } else if (pressed_) {
    OffsetRect(&r, 1, 1);
  }
  canvas->DrawText(caption, r, format);
}

void TsuiButton::DrawFocus(TCanvas* canvas) {
  if (uiStyle_ == TsuiUIStyle::MacOS || uiStyle_ == TsuiUIStyle::BlueGlass) {
    boldCaption_ = true;
    return;
  }
  const int m = focusedRectMargin_;
  RECT r{m, m, ClientWidth() - m, ClientHeight() - m};
  canvas->Brush()->SetStyle(bsSolid);
  DrawDottedFocusRect(canvas, r);
}

void TsuiButton::CmDialogKey(TMessage& m) {
  const WORD key = WORD(m.WParam);
  if (((key == VK_RETURN && default_) || (key == VK_ESCAPE && cancel_)) && KeyDataToShiftState(m.LParam) == 0 &&
      CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  TsuiCustomButton::WndProc(m);
}

}  // namespace kestu
