#pragma once
// The active background style of skinned buttons: a hot look (painting and
// background of its own), fading and masked borders, and the hot-aware
// effective values.

#include "skin/SkinResources.h"
#include "skin/sStyleSimply.h"

namespace kestu {

// What a style asks of the button that owns it.
class TsStyledButton {
 public:
  virtual ~TsStyledButton() = default;
  virtual bool ButtonDown() const = 0;
  virtual bool ActiveDefaultButton() const = 0;  // a TsButton that Enter would click
  virtual int ButtonBevelWidth() const = 0;
  virtual bool Fading() const = 0;           // effective fading enabled
  virtual void StartFade(bool fadeIn) = 0;
};

class TsHotPainting : public TPersistent {
  KESTU_CLASS(TsHotPainting, TPersistent)
 public:
  explicit TsHotPainting(TsGenStyle* style) : style_(style) {}
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor value);
  TFontStyles FontStyle() const { return fontStyle_; }
  void SetFontStyle(TFontStyles value);
  int Transparency() const { return transparency_; }
  void SetTransparency(int value);
  TsControlBevel Bevel() const { return bevel_; }
  void SetBevel(TsControlBevel value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);

 private:
  TsGenStyle* style_;
  TColor color_ = 13612943;
  TColor fontColor_ = 0;
  TFontStyles fontStyle_ = 0;
  int transparency_ = 0;
  TsControlBevel bevel_ = cbRaisedSoft;
  int bevelWidth_ = 5;
};

class TsHotStyle : public TPersistent {
  KESTU_CLASS(TsHotStyle, TPersistent)
 public:
  explicit TsHotStyle(TsGenStyle* style) : hotBackground_(style), hotPainting_(style) {}
  TsHotBackground* HotBackground() { return &hotBackground_; }
  TsHotPainting* HotPainting() { return &hotPainting_; }

 private:
  TsHotBackground hotBackground_;
  TsHotPainting hotPainting_;
};

class TsFading : public TPersistent {
  KESTU_CLASS(TsFading, TPersistent)
 public:
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  int Iterations() const { return iterations_; }
  void SetIterations(int value) { iterations_ = Clamp(value); }
  int IntervalIn() const { return intervalIn_; }
  void SetIntervalIn(int value) { intervalIn_ = Clamp(value); }
  int IntervalOut() const { return intervalOut_; }
  void SetIntervalOut(int value) { intervalOut_ = Clamp(value); }

 private:
  static int Clamp(int v) { return v < 0 ? 0 : v > 100 ? 100 : v; }
  bool enabled_ = true;
  int iterations_ = 5, intervalIn_ = 5, intervalOut_ = 5;
};

class TsMaskedBorders : public TPersistent {
  KESTU_CLASS(TsMaskedBorders, TPersistent)
 public:
  explicit TsMaskedBorders(TsGenStyle* style) : style_(style) {}
  TBitmap* Mask() { return &mask_; }
  void SetMask(TBitmap* value);
  TsPredefinedBorders Predefined() const { return predefined_; }
  void SetPredefined(TsPredefinedBorders value);
  TColor TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(TColor value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);

 private:
  TsGenStyle* style_;
  TBitmap mask_;
  TsPredefinedBorders predefined_ = pdBorder1;
  TColor transparentColor_ = 0xFF00FF;
  bool enabled_ = true;
};

class TsActiveEffects : public TPersistent {
  KESTU_CLASS(TsActiveEffects, TPersistent)
 public:
  explicit TsActiveEffects(TsGenStyle* style) : maskedBorders_(style) {}
  TsFading* Fading() { return &fading_; }
  TsMaskedBorders* MaskedBorders() { return &maskedBorders_; }

 private:
  TsFading fading_;
  TsMaskedBorders maskedBorders_;
};

class TsActiveBGStyle : public TsPassiveBGStyle {
  KESTU_CLASS(TsActiveBGStyle, TsPassiveBGStyle)
 public:
  explicit TsActiveBGStyle(TControl* owner) : TsPassiveBGStyle(owner) {}
  TsHotStyle* HotStyle() { return &hotStyle_; }
  TsActiveEffects* BtnEffects() { return &btnEffects_; }
  int StyleKind() const override { return kStyleActiveBG; }

  bool IsHot() override;
  std::uint32_t GetColor() override;
  TsControlBevel GetBevel() override;
  int GetBevelWidth() override;
  int GetGradientPercent() override;
  const TsGradArray& GetGradient() override;
  int GetImagePercent() override;
  PixelRows GetImage() override;
  int GetTransparency() override;

  // Hot composition into CacheBitmap while hot, else the passive one.
  void PaintBG(TBitmap* bitmap) override;
  // The bevel of the current state into CacheBitmap.
  void PaintBorder(PixRect rect);
  void MouseChanged() override;

 private:
  TsStyledButton* Button() const { return dynamic_cast<TsStyledButton*>(control_); }
  TsHotStyle hotStyle_{this};
  TsActiveEffects btnEffects_{this};
};

}  // namespace kestu
