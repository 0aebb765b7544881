#include "skin/sButtonControl.h"

#include "framework/Forms.h"
#include "skin/core/ButtonLayout.h"
#include "skin/core/SectionPaint.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kestu {
namespace {

PixelBuffer CopyOf(PixelRows rows) {
  PixelBuffer out(rows.width, rows.height);
  PixelRows to = out.Rows();
  for (int y = 0; y < rows.height; ++y) std::memcpy(to.Row(y), rows.Row(y), std::size_t(rows.width) * 3);
  return out;
}

// Caption size with word break in the given width.
SIZE MeasureCaption(HDC dc, const String& caption, int width) {
  RECT r{0, 0, std::max(width, 1), 0};
  DrawTextW(dc, caption.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  return {r.right, r.bottom};
}

int TextHeight(HDC dc, const wchar_t* sample) {
  SIZE size{};
  GetTextExtentPoint32W(dc, sample, 1, &size);
  return size.cy;
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

// ---- action link

TsButtonActionLink::TsButtonActionLink(TsButtonControl* button) : TControlActionLink(button), button_(button) {}

bool TsButtonActionLink::IsImageIndexLinked() const {
  TAction* a = FullAction();
  return a && button_->ImageIndex() == a->ImageIndex();
}
void TsButtonActionLink::SetImageIndex(int v) { button_->SetImageIndex(v); }

bool TsButtonActionLink::IsCheckedLinked() const {
  TAction* a = FullAction();
  return a && button_->Down() == a->Checked();
}
void TsButtonActionLink::SetChecked(bool v) { button_->SetDown(v); }

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
  // The free notifications go with the component; the change links here.
  if (images_) images_->RemoveChangeHandler(imagesChangeId_);
  if (disabledImages_) disabledImages_->RemoveChangeHandler(disabledImagesChangeId_);
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
void TsButtonControl::SetAlignment(int value) {
  if (alignment_ == value) return;
  alignment_ = value;
  style_->Invalidate();
}
void TsButtonControl::SetLayout(int value) {
  if (layout_ == value) return;
  layout_ = value;
  SizeToContent();
  style_->Invalidate();
}
void TsButtonControl::SetSpacing(int value) {
  if (spacing_ == value) return;
  spacing_ = value;
  SizeToContent();
  style_->Invalidate();
}
void TsButtonControl::SetImageIndex(int value) {
  imageIndex_ = value;
  SizeToContent();
  style_->Invalidate();
}
void TsButtonControl::SetGrayed(bool value) {
  if (grayed_ == value) return;
  grayed_ = value;
  style_->Invalidate();
}
void TsButtonControl::SetBlend(int value) {
  if (blend_ == value) return;
  blend_ = value;
  style_->Invalidate();
}
void TsButtonControl::SetImages(TImageList* value) { SetImageList(images_, imagesChangeId_, value); }
void TsButtonControl::SetDisabledImages(TImageList* value) {
  SetImageList(disabledImages_, disabledImagesChangeId_, value);
}

// Either list: told when it goes, and of each change through its change link.
void TsButtonControl::SetImageList(TImageList*& field, int& changeId, TImageList* value) {
  if (field == value) return;
  if (field) {
    field->RemoveChangeHandler(changeId);
    field->RemoveFreeNotification(this);
  }
  field = value;
  if (value) {
    changeId = value->AddChangeHandler([this] { SizeToContent(), style_->Invalidate(); });
    value->FreeNotification(this);
  }
  SizeToContent();
  style_->Invalidate();
}

void TsButtonControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove || (AComponent != images_ && AComponent != disabledImages_)) return;
  // The list is being destroyed: its change links went with it.
  if (AComponent == images_) images_ = nullptr;
  if (AComponent == disabledImages_) disabledImages_ = nullptr;
  SizeToContent();
  style_->Invalidate();
}

std::unique_ptr<TControlActionLink> TsButtonControl::CreateActionLink() {
  return std::make_unique<TsButtonActionLink>(this);
}

// The action's images and image index are taken while the button has none.
void TsButtonControl::ActionChange(TBasicAction* sender, bool checkDefaults) {
  TCustomControl::ActionChange(sender, checkDefaults);
  auto* action = dynamic_cast<TAction*>(sender);
  if (!action) return;
  if (!images_ && action->ActionList()) SetImages(action->ActionList()->Images());
  if (imageIndex_ < 0) SetImageIndex(action->ImageIndex());
  if (!checkDefaults || !down_) SetDown(action->Checked());
}

TImageList* TsButtonControl::GlyphList() const {
  TImageList* list = !Enabled() && disabledImages_ ? disabledImages_ : images_;
  if (!list || imageIndex_ < 0 || imageIndex_ >= list->Count()) return nullptr;
  return list;
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
  TImageList* glyphs = GlyphList();
  const bool hasCaption = showCaption_ && !Caption().empty();
  if (!autoSize_ || down_ || HasState(csLoading) || !(glyphs || hasCaption) || !HandleAllocated()) return;
  HDC dc = Canvas()->Handle();
  SelectedObject font(dc, Font()->Handle());
  RECT text{0, 0, 0, 0};
  if (hasCaption) DrawTextW(dc, Caption().c_str(), -1, &text, DT_CALCRECT);
  ButtonAutoSizeInput in;
  in.GW = glyphs ? glyphs->Width() : 0;
  in.GH = glyphs ? glyphs->Height() : 0;
  in.TW = text.right;
  in.charH = TextHeight(dc, L"W");
  in.S = EffectiveSpacing(spacing_, glyphs != nullptr, hasCaption);
  in.BevelWidth = bevelWidth_;
  in.Margin = margin_;
  in.Layout = layout_;
  in.HasCaption = hasCaption;
  const PixPoint size = ButtonAutoSize(in);
  SetBounds(Left(), Top(), size.X, size.Y);
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
  ComposeContent();
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

void TsButtonControl::ComposeContent() {
  TImageList* glyphs = GlyphList();
  const bool hasCaption = showCaption_ && !Caption().empty();
  if (!glyphs && !hasCaption) return;
  TBitmap* cache = style_->CacheBitmap.get();
  HDC dc = cache->Canvas()->Handle();
  SelectedObject font(dc, Font()->Handle());
  ButtonContentInput in;
  in.W = Width();
  in.H = Height();
  in.GW = glyphs ? glyphs->Width() : 0;
  in.GH = glyphs ? glyphs->Height() : 0;
  in.S = EffectiveSpacing(spacing_, glyphs != nullptr, hasCaption);
  in.Margin = margin_;
  in.Alignment = alignment_;
  in.Layout = layout_;
  in.Down = down_;
  if (hasCaption) {
    const SIZE text = MeasureCaption(dc, Caption(), CaptionMeasureWidth(in.W, in.GW, margin_, in.S));
    in.TW = text.cx;
    in.TH = text.cy;
  }
  const ButtonContentLayout layout = LayoutButtonContent(in);
  if (glyphs) ComposeGlyph(glyphs, layout.Glyph);
  if (!hasCaption) return;

  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  const PixRect rect = layout.Caption;
  UINT format = layout.TextFormat == tfRight ? DT_RIGHT : layout.TextFormat == tfCentre ? DT_CENTER : DT_LEFT;
  if (rect.Height() > TextHeight(dc, L"T") + 6) format = DT_CENTER;
  format |= DT_WORDBREAK | DT_EXPANDTABS;
  if (UseRightToLeftReading()) format |= DT_RTLREADING | DT_RIGHT;
  const bool active = StateIndex() != 0;
  DrawSkinCaption(dc, Caption(), Enabled(), active, style_->Section(), format, rect);
  if (Focused() && WantsFocusFrame()) {
    const int m = FocusFrameMargin();
    PaintDottedFrame(dc, {rect.Left - m, rect.Top - m, rect.Right + m, rect.Bottom + m});
  }
}

// The glyph over the list's background colour (fuchsia when it has none);
// its bottom-left pixel is the key colour left out of every copy.
void TsButtonControl::ComposeGlyph(TImageList* list, PixPoint at) {
  TBitmap glyph(list->Width(), list->Height());
  const TColor background = list->BkColor() == clNone ? clFuchsia : list->BkColor();
  FillDeviceRect(glyph.Canvas()->Handle(), {0, 0, glyph.Width(), glyph.Height()}, ColorToRGB(background));
  ImageList_Draw(list->Handle(), imageIndex_, glyph.Canvas()->Handle(), 0, 0, ILD_TRANSPARENT);
  PixelRows picture = glyph.Rows();
  PixelRows cache = style_->CacheBitmap->Rows();
  const std::uint32_t key = ColorFromBgr(picture.At(0, picture.height - 1));
  const PixRect whole{0, 0, picture.width, picture.height};
  const bool active = StateIndex() != 0;
  if (Enabled() || list == disabledImages_) {
    if (grayed_ && list == images_ && !active) GrayBitmapExcept(picture, key);
    if (active || blend_ < 1)
      CopyTransparentRect(cache, picture, at.X, key, whole, at.Y);
    else
      BlendTransparent(cache, at.X, at.Y, key, std::min(blend_, 100) / 100.0, whole, picture);
    return;
  }
  if (disabledKind_ & dkGrayed) GrayBitmapExcept(picture, key);
  if (disabledKind_ & dkBlended)
    BlendTransparent(cache, at.X, at.Y, key, 0.5, whole, picture);
  else
    CopyTransparentRect(cache, picture, at.X, key, whole, at.Y);
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
  p.Int("Alignment", &B::Alignment, &B::SetAlignment, 2);
  p.Int("Layout", &B::Layout, &B::SetLayout, 0);
  p.Int("Spacing", &B::Spacing, &B::SetSpacing, 3);
  p.Ref("Images", &B::Images, &B::SetImages);
  p.Ref("DisabledImages", &B::DisabledImages, &B::SetDisabledImages);
  p.Int("ImageIndex", &B::ImageIndex, &B::SetImageIndex, -1);
  p.Bool("Grayed", &B::Grayed, &B::SetGrayed, false);
  p.Int("Blend", &B::Blend, &B::SetBlend, 0);
  p.Event("OnMouseEnter", &B::SetOnMouseEnter);
  p.Event("OnMouseLeave", &B::SetOnMouseLeave);
}

}  // namespace kestu
