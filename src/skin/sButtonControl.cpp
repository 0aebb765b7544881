#include "skin/sButtonControl.h"

#include "framework/Forms.h"
#include "skin/core/SectionPaint.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kestu {
namespace {

// Selects a GDI object into a DC for one scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

PixelBuffer CopyOf(PixelRows rows) {
  PixelBuffer out(rows.width, rows.height);
  PixelRows to = out.Rows();
  for (int y = 0; y < rows.height; ++y) std::memcpy(to.Row(y), rows.Row(y), std::size_t(rows.width) * 3);
  return out;
}

}  // namespace

// ---- fade timer

TFadeTimer::TFadeTimer(TComponent* AOwner) : TTimer(AOwner) {
  SetEnabled(false);
  SetOnTimer([this](TObject*) { Tick(); });
}

void TFadeTimer::Tick() {
  if (!Button || Button->HasState(csDestroying) || (Application && Application->Terminated())) Direction = 0;
  if (Button && Direction != 0) {
    const int N = Button->Fade().Iterations;
    if (Button->FadeStep() > N || Button->FadeStep() < 0) return Button->StopFade();
  }
  if (Direction == 0) return SetEnabled(false);
  Button->FadeFrame();
}

// ---- layout

CaptionLayout LayoutCaption(int W, int H, int TW, int TH, int margin, int alignment) {
  const int GW = 0, S = 0;
  CaptionLayout out;
  const int top = (H - TH) / 2;
  const int d = (W - GW - S - TW) / 2 - margin;
  out.d = d;
  out.rect.Top = top;
  out.rect.Bottom = H - top;
  switch (alignment) {
    case 0: out.rect.Left = GW + margin + S; out.rect.Right = W - margin - 2 * d; break;
    case 1: out.rect.Left = GW + 2 * d + margin + S; out.rect.Right = W - margin; break;
    default: out.rect.Left = GW + margin + d + S; out.rect.Right = W - margin - d; break;
  }
  return out;
}

// ---- button control

TsButtonControl::TsButtonControl(TComponent* AOwner) : TCustomControl(AOwner) {
  style_ = std::make_unique<TsActiveBGStyle>(this);
  style_->ControlKindCode = kButtonControlCode;
  SetControlStyle(csCaptureMouse | csSetCaption | csDoubleClicks);
  SetBounds(Left(), Top(), 84, 22);
  SetTabStop(false);
  fadeTimer_ = new TFadeTimer(this);
  fadeTimer_->Button = this;
}

TsButtonControl::~TsButtonControl() {
  if (fadeTimer_) {
    fadeTimer_->SetEnabled(false);
    fadeTimer_->Direction = 0;
    fadeTimer_->Button = nullptr;
  }
}

void TsButtonControl::Loaded() {
  TCustomControl::Loaded();
  style_->RefreshLookups();
}

void TsButtonControl::SetAutoSize(bool value) {
  if (autoSize_ == value) return;
  autoSize_ = value;
  SizeToContent();
  style_->Invalidate();
}
void TsButtonControl::SetBevelWidth(int value) {
  bevelWidth_ = value;
  SizeToContent();
  style_->Invalidate();
}
void TsButtonControl::SetDisabledKind(TsDisabledKind value) {
  if (disabledKind_ == value) return;
  disabledKind_ = value;
  style_->Invalidate();
}
void TsButtonControl::SetMargin(int value) {
  if (margin_ == value) return;
  margin_ = value;
  MarkChanged();
  Invalidate();
}
void TsButtonControl::SetShowCaption(bool value) {
  if (showCaption_ == value) return;
  showCaption_ = value;
  style_->Invalidate();
}
void TsButtonControl::SetDown(bool value) {
  if (down_ == value) return;
  down_ = value;
  style_->Invalidate();
}

int TsButtonControl::StateIndex() {
  if (down_) return 2;
  return style_->IsHot() ? 1 : 0;
}

TsButtonControl::FadeParams TsButtonControl::Fade() {
  if (const TsGeneralData* s = style_->Section())
    return {s->FadingEnabled, s->FadingIntervalIn, s->FadingIntervalOut, s->FadingIterations};
  TsFading* f = style_->BtnEffects()->Fading();
  return {f->Enabled(), f->IntervalIn(), f->IntervalOut(), f->Iterations()};
}

bool TsButtonControl::Fading() const {
  auto* self = const_cast<TsButtonControl*>(this);
  FadeParams f = self->Fade();
  return f.Enabled && f.Iterations > 0 && HandleAllocated() && Visible() && Enabled() && !down_ &&
         !HasState(csDesigning | csDestroying);
}

void TsButtonControl::SizeToContent() {
  if (!autoSize_ || down_ || HasState(csLoading) || !showCaption_ || Caption().empty() || !HandleAllocated()) return;
  HDC dc = Canvas()->Handle();
  Selected font(dc, Font()->Handle());
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, Caption().c_str(), -1, &r, DT_CALCRECT);
  SIZE w{};
  GetTextExtentPoint32W(dc, L"W", 1, &w);
  const int GH = 2 * bevelWidth_, GW = 2 * bevelWidth_;
  SetBounds(Left(), Top(), GW + r.right + 2 * margin_, std::max(GH, int(w.cy)) + 2 * margin_);
}

void TsButtonControl::Compose() {
  style_->PrepareCacheBitmap();
  TBitmap* cache = style_->CacheBitmap.get();
  if (cache->Width() == 0 || cache->Height() == 0) return;
  const TsSkinData& skin = TsSkinData::Instance();
  const int state = StateIndex();
  const ParentCacheRef parent = style_->QueryParentCache();
  if (style_->Section())
    PaintSectionBackground(skin, style_->SectionIndex, StringToUtf8(style_->SkinSection()), parent, cache->Rows(),
                           {Left(), Top()}, {0, 0, Width(), Height()}, state != 0);
  else
    style_->PaintBG(cache);
  ComposeBorders();
  ComposeCaption();
  if (!Enabled())
    ApplyDisabledKind(cache->Rows(), disabledKind_, ResolveColor(std::uint32_t(Color())), {Left(), Top()}, parent);
}

void TsButtonControl::ComposeBorders() {
  TBitmap* cache = style_->CacheBitmap.get();
  const TsSkinData& skin = TsSkinData::Instance();
  const int state = StateIndex();
  GdiHandle<HRGN> region;
  if (regionChanged_) region = GdiHandle<HRGN>(CreateRectRgn(0, 0, Width(), Height()));
  const PixRect client{0, 0, Width(), Height()};
  auto* customMask = style_->BtnEffects()->MaskedBorders();
  if (style_->Section() && skin.IsValidMask(style_->BorderMaskIndex)) {
    PaintMaskedBordersRgn(cache->Rows(), region.Get(), true, state, skin.MaskImageOf(style_->BorderMaskIndex));
  } else if (!style_->Section() && customMask->Enabled()) {
    PixelRows own = customMask->Mask()->Width() > 0 ? customMask->Mask()->Rows() : PixelRows{};
    PixelRows mask = PredefinedBorderMask(customMask->Predefined(), own);
    if (!mask.Empty())
      PaintMaskedBorders(cache->Rows(), MaskImage::Own(mask), state, true,
                         std::uint32_t(customMask->TransparentColor()), region.Get());
    else
      style_->PaintBorder(client);
  } else {
    style_->PaintBorder(client);
  }
  // The region is applied once painting is over (ApplyRegion): changing a
  // window's shape between BeginPaint and EndPaint leaves it asking to be
  // painted again and again.
  if (regionChanged_ && !HasState(csDesigning) && HandleAllocated()) pendingRegion_ = std::move(region);
}

void TsButtonControl::ApplyRegion() {
  if (!pendingRegion_.Get() || !HandleAllocated()) return;
  // Applying a region makes the window re-announce its size; regionSize_
  // keeps that from cutting the same region again.
  regionSize_ = {Width(), Height()};
  // A region the window does not take is deleted, and cut again next time.
  regionChanged_ = !SetWindowRegion(Handle(), std::move(pendingRegion_), true);
}

bool TsButtonControl::WantsFocusFrame() { return false; }

void TsButtonControl::SizeChanged(int width, int height) {
  if (width != regionSize_.X || height != regionSize_.Y) regionChanged_ = true;
}

void TsButtonControl::ComposeCaption() {
  if (!showCaption_ || Caption().empty()) return;
  TBitmap* cache = style_->CacheBitmap.get();
  HDC dc = cache->Canvas()->Handle();
  Selected font(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  const int W = Width(), H = Height();
  RECT measure{0, 0, std::max(W - 2 * margin_, 1), 0};
  DrawTextW(dc, Caption().c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  CaptionLayout layout = LayoutCaption(W, H, measure.right, measure.bottom, margin_, alignment_);
  PixRect rect{layout.rect.Left - 1, layout.rect.Top, layout.rect.Right + 2, layout.rect.Bottom};
  if (down_) rect = {rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1};
  UINT format = DT_LEFT;
  SIZE t{};
  GetTextExtentPoint32W(dc, L"T", 1, &t);
  if (rect.Height() > t.cy + 6) format = DT_CENTER;
  format |= DT_WORDBREAK | DT_EXPANDTABS;
  if (UseRightToLeftReading()) format |= DT_RTLREADING | DT_RIGHT;
  const bool active = StateIndex() != 0;
  DrawSkinCaption(dc, Caption(), Enabled(), active, style_->Section(), format, rect);
  if (Focused() && WantsFocusFrame()) {
    const int m = FocusFrameMargin();
    PaintDottedFrame(dc, {rect.Left - m, rect.Top - m, rect.Right + m, rect.Bottom + m});
  }
}

void TsButtonControl::Paint() {
  if (HasState(csDestroying) || !Parent() || !Canvas()->Handle()) return;
  const bool fading = fadeTimer_ && fadeTimer_->Direction != 0;
  if (style_->BackgroundDirty && !fading) Compose();
  style_->CopyCache(Canvas()->Handle(), 0, 0, Width(), Height());
}

void TsButtonControl::DrawToWindow(PixelRows image) {
  if (!HandleAllocated()) return;
  WindowDC window(Handle());
  DibSection frame(image.width, image.height);
  if (!window.Get() || !frame.Valid()) return;
  PixelRows to = frame.Rows();
  for (int y = 0; y < image.height; ++y) std::memcpy(to.Row(y), image.Row(y), std::size_t(image.width) * 3);
  BitBlt(window.Get(), 0, 0, image.width, image.height, frame.Dc(), 0, 0, SRCCOPY);
}

void TsButtonControl::StartFade(bool fadeIn) {
  style_->PrepareCacheBitmap();
  if (style_->CacheBitmap->Width() == 0) return style_->Invalidate();
  previous_ = CopyOf(style_->CacheBitmap->Rows());
  fadeTimer_->Direction = 0;  // compose the new state, not a fade frame
  Compose();
  const FadeParams f = Fade();
  const int interval = fadeIn ? f.IntervalIn : f.IntervalOut;
  // A timer of no interval never fires: such a skin gets no fading at all.
  if (interval <= 0) {
    fadeStep_ = fadeIn ? f.Iterations : 0;
    return StopFade();
  }
  if (fadeIn) fadeStep_ = 1;
  fadeTimer_->SetInterval(interval);
  fadeTimer_->Direction = fadeIn ? 1 : 2;
  fadeTimer_->SetEnabled(true);
}

void TsButtonControl::FadeFrame() {
  const int N = Fade().Iterations;
  if (N <= 0 || previous_.Width() != style_->CacheBitmap->Width() ||
      previous_.Height() != style_->CacheBitmap->Height())
    return StopFade();
  const int k = int(std::int64_t(fadeStep_) * 255 / N), b = 255 - k;
  PixelRows cache = style_->CacheBitmap->Rows();
  if (fadeTimer_->Direction == 1) {
    PixelBuffer frame = CopyOf(previous_.Rows());
    BlendBitmaps(frame.Rows(), cache, b);
    DrawToWindow(frame.Rows());
    ++fadeStep_;
  } else {
    PixelBuffer frame = CopyOf(cache);
    BlendBitmaps(frame.Rows(), previous_.Rows(), b);
    DrawToWindow(frame.Rows());
    --fadeStep_;
  }
}

void TsButtonControl::StopFade() {
  const int N = Fade().Iterations;
  if (fadeStep_ > N) fadeStep_ = N;
  if (fadeStep_ < 0) fadeStep_ = 0;
  fadeTimer_->Direction = 0;
  fadeTimer_->SetEnabled(false);
  MarkChanged();
  Repaint();
}

void TsButtonControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  pressed_ = true;
  TCustomControl::MouseDown(button, shift, x, y);
  fadeTimer_->Direction = 0;
  fadeTimer_->SetEnabled(false);
  fadeStep_ = std::max(Fade().Iterations, 1) - 1;
  if (button == mbLeft && Enabled() && !down_) {
    SetDown(true);
    Repaint();
  }
}

void TsButtonControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (!pressed_) return;
  pressed_ = false;
  TCustomControl::MouseUp(button, shift, x, y);
  fadeStep_ = std::max(Fade().Iterations, 1) - 1;
  fadeTimer_->Direction = 0;
  fadeTimer_->SetEnabled(false);
  if (button == mbLeft && Enabled()) {
    MarkChanged();
    SetDown(false);
    if (x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight()) Click();
  }
  Repaint();
}

void TsButtonControl::WndProc(TMessage& m) {
  style_->WndProc(m);
  switch (m.Msg) {
    case SKM_QUERYSTYLE: return;
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_PAINT: TCustomControl::WndProc(m); return ApplyRegion();
    case WM_SIZE: SizeChanged(LOWORD(m.LParam), HIWORD(m.LParam)); return TCustomControl::WndProc(m);
    case SKM_REPAINTALL: regionChanged_ = true; return;
    case CM_EXIT: if (down_) SetDown(false); return TCustomControl::WndProc(m);
    case CM_TEXTCHANGED: MarkChanged(); style_->Invalidate(); SizeToContent(); return TCustomControl::WndProc(m);
    case CM_MOUSEENTER: case CM_MOUSELEAVE: return TCustomControl::WndProc(m);
    default:
      if (IsSkinMessage(m.Msg)) return;
      return TCustomControl::WndProc(m);
  }
}

KESTU_PUBLISH(TFadeTimer) {}

KESTU_PUBLISH(TsButtonControl) {
  using B = TsButtonControl;
  p.Bool("AutoSize", &B::AutoSize, &B::SetAutoSize, false);
  p.Int("BevelWidth", &B::BevelWidth, &B::SetBevelWidth, 2);
  p.Set("DisabledKind", &B::DisabledKind, &B::SetDisabledKind, dkBlended, {"dkBlended", "dkGrayed"});
  p.Object("sStyle", &B::sStyle);
  p.Int("Margin", &B::Margin, &B::SetMargin, 0);
  p.Event("OnMouseEnter", &B::SetOnMouseEnter);
  p.Event("OnMouseLeave", &B::SetOnMouseLeave);
}

}  // namespace kestu
