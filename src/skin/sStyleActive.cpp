#include "skin/sStyleActive.h"

#include "skin/SkinGdi.h"

#include <algorithm>

namespace kestu {

void TsHotPainting::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  style_->Invalidate();
}
void TsHotPainting::SetFontColor(TColor value) {
  if (fontColor_ == value) return;
  fontColor_ = value;
  style_->Invalidate();
}
void TsHotPainting::SetFontStyle(TFontStyles value) {
  if (fontStyle_ == value) return;
  fontStyle_ = value;
  style_->Invalidate();
}
void TsHotPainting::SetTransparency(int value) {
  value = std::clamp(value, 0, 100);
  if (transparency_ == value) return;
  transparency_ = value;
  style_->Invalidate();
}
void TsHotPainting::SetBevel(TsControlBevel value) {
  if (bevel_ == value) return;
  bevel_ = value;
  style_->Invalidate();
}
void TsHotPainting::SetBevelWidth(int value) {
  if (bevelWidth_ == value) return;
  bevelWidth_ = value;
  style_->Invalidate();
}

void TsMaskedBorders::SetMask(TBitmap* value) {
  mask_.Assign(value);
  predefined_ = pdCustom;
  style_->Invalidate();
}
void TsMaskedBorders::SetPredefined(TsPredefinedBorders value) {
  if (predefined_ == value) return;
  predefined_ = value;
  style_->Invalidate();
}
void TsMaskedBorders::SetTransparentColor(TColor value) {
  if (transparentColor_ == value) return;
  transparentColor_ = value;
  style_->Invalidate();
}
void TsMaskedBorders::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  style_->Invalidate();
}

// ---- active background style

bool TsActiveBGStyle::IsHot() { return TsGenStyle::IsHot(); }

std::uint32_t TsActiveBGStyle::GetColor() {
  if (!IsHot()) return TsPassiveBGStyle::GetColor();
  if (const TsGeneralData* s = Section()) return s->HotPaintingColor;
  return ResolveColor(std::uint32_t(hotStyle_.HotPainting()->Color()));
}
TsControlBevel TsActiveBGStyle::GetBevel() {
  if (!IsHot()) return TsPassiveBGStyle::GetBevel();
  if (const TsGeneralData* s = Section()) return TsControlBevel(s->HotPaintingBevel);
  return hotStyle_.HotPainting()->Bevel();
}
int TsActiveBGStyle::GetBevelWidth() {
  if (!IsHot()) return TsPassiveBGStyle::GetBevelWidth();
  if (const TsGeneralData* s = Section()) return s->HotPaintingBevelWidth;
  return hotStyle_.HotPainting()->BevelWidth();
}
int TsActiveBGStyle::GetGradientPercent() {
  if (!IsHot()) return TsPassiveBGStyle::GetGradientPercent();
  if (const TsGeneralData* s = Section()) return s->HotGradientPercent;
  return hotStyle_.HotBackground()->Gradient()->Percent();
}
const TsGradArray& TsActiveBGStyle::GetGradient() {
  if (!IsHot()) return TsPassiveBGStyle::GetGradient();
  if (const TsGeneralData* s = Section()) return s->HotGradient;
  return hotStyle_.HotBackground()->Gradient()->Gradient();
}
int TsActiveBGStyle::GetImagePercent() {
  if (!IsHot()) return TsPassiveBGStyle::GetImagePercent();
  if (const TsGeneralData* s = Section()) return s->HotImagePercent;
  return hotStyle_.HotBackground()->Image()->Percent();
}
PixelRows TsActiveBGStyle::GetImage() {
  if (!IsHot()) return TsPassiveBGStyle::GetImage();
  if (Section()) return SectionImage("HOTIMAGEFILE");
  TBitmap* image = hotStyle_.HotBackground()->Image()->Image();
  return image->Width() > 0 ? image->Rows() : PixelRows{};
}
int TsActiveBGStyle::GetTransparency() {
  if (!IsHot()) return TsPassiveBGStyle::GetTransparency();
  if (const TsGeneralData* s = Section()) return s->HotPaintingTransparency;
  return hotStyle_.HotPainting()->Transparency();
}

void TsActiveBGStyle::PaintBG(TBitmap* bitmap) {
  if (!IsHot()) return TsPassiveBGStyle::PaintBG(bitmap);
  if (!control_) return;
  PrepareCacheBitmap();
  PixelRows target = CacheBitmap->Rows();
  PixPoint position{control_->Left(), control_->Top()};
  TsStyledButton* button = Button();
  if (button && button->ButtonDown()) position = {position.X + 1, position.Y + 1};
  ComposeBackground(target, Values(true), QueryParentCache(), position);
}

void TsActiveBGStyle::PaintBorder(PixRect rect) {
  if (!CacheBitmap || CacheBitmap->Width() == 0) return;
  PixelRows target = CacheBitmap->Rows();
  TsStyledButton* button = Button();
  const bool down = button && button->ButtonDown();
  if (IsHot()) {
    if (down) PaintBevel(target, rect, GetBevelWidth() / 4 + 1, SoftControl(), cbLoweredSoft);
    else PaintBevel(target, rect, GetBevelWidth(), SoftControl(), GetBevel());
  } else {
    const int width = button ? button->ButtonBevelWidth() : 1;
    TsControlBevel kind = GetBevel();
    if (down && kind == cbRaisedSoft) kind = cbLoweredSoft;
    if (down && kind == cbRaisedHard) kind = cbLoweredHard;
    if (kind != cbNone) PaintBevel(target, rect, width, SoftControl(), kind);
  }
  if (button && button->ActiveDefaultButton())
    PaintFrameLines(target, rect, clBlack, clBlack, false, 3, 1, 0);
}

void TsActiveBGStyle::MouseChanged() {
  TsStyledButton* button = Button();
  if (button && button->Fading()) button->StartFade(MouseInside);
  else Invalidate();
}

KESTU_PUBLISH(TsHotPainting) {
  using H = TsHotPainting;
  p.Color("Color", &H::Color, &H::SetColor, 13612943);
  p.Color("FontColor", &H::FontColor, &H::SetFontColor, 0);
  p.Set("FontStyle", &H::FontStyle, &H::SetFontStyle, 0, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
  p.Int("Transparency", &H::Transparency, &H::SetTransparency, -1);
  p.Enum("Bevel", &H::Bevel, &H::SetBevel, cbRaisedSoft,
         {"cbNone", "cbRaisedSoft", "cbLoweredSoft", "cbRaisedHard", "cbLoweredHard"});
  p.Int("BevelWidth", &H::BevelWidth, &H::SetBevelWidth, 5);
}
KESTU_PUBLISH(TsHotStyle) {
  p.Object("HotBackground", &TsHotStyle::HotBackground);
  p.Object("HotPainting", &TsHotStyle::HotPainting);
}
KESTU_PUBLISH(TsFading) {
  p.Bool("Enabled", &TsFading::Enabled, &TsFading::SetEnabled, true);
  p.Int("Iterations", &TsFading::Iterations, &TsFading::SetIterations, 5);
  p.Int("IntervalIn", &TsFading::IntervalIn, &TsFading::SetIntervalIn, 5);
  p.Int("IntervalOut", &TsFading::IntervalOut, &TsFading::SetIntervalOut, 5);
}
KESTU_PUBLISH(TsMaskedBorders) {
  using M = TsMaskedBorders;
  p.Object("Mask", &M::Mask);
  p.Enum("Predefined", &M::Predefined, &M::SetPredefined, pdBorder1,
         {"pdBorder1", "pdBorder2", "pdBorder3", "pdBorder4", "pdBorder5", "pdBorder6", "pdCustom"});
  p.Color("TransparentColor", &M::TransparentColor, &M::SetTransparentColor, 0xFF00FF);
  p.Bool("Enabled", &M::Enabled, &M::SetEnabled, true);
}
KESTU_PUBLISH(TsActiveEffects) {
  p.Object("Fading", &TsActiveEffects::Fading);
  p.Object("MaskedBorders", &TsActiveEffects::MaskedBorders);
}
KESTU_PUBLISH(TsActiveBGStyle) {
  p.Object("HotStyle", &TsActiveBGStyle::HotStyle);
  p.Object("BtnEffects", &TsActiveBGStyle::BtnEffects);
}

}  // namespace kestu
