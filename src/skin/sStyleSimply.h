#pragma once
// Style objects of skinned controls, the passive half: the general style
// (section lookups, state, skin messages), the painting style (colour,
// bevel, transparency, shadow) and the passive background style (gradient
// and tiled image composed into the control's cached background).

#include "framework/Controls.h"
#include "skin/core/Gradient.h"
#include "skin/core/PixelLib.h"
#include "skin/sCommonData.h"
#include "skin/sStyleUtil.h"

#include <memory>

namespace kestu {

class TsGenStyle;

class TsShadow : public TPersistent {
  KESTU_CLASS(TsShadow, TPersistent)
 public:
  explicit TsShadow(TsGenStyle* style) : style_(style) {}
  ~TsShadow() override;
  int Transparency() const { return transparency_; }
  void SetTransparency(int value);
  bool DontUse() const { return dontUse_; }
  void SetDontUse(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Offset() const { return offset_; }
  void SetOffset(int value);
  int Blur() const { return blur_; }
  void SetBlur(int value);
  // A shadow asked for while the description was read waits for a parent
  // that can answer whether it is skinned; tried again with each lookup.
  bool EnablePending() const { return enablePending_; }
  void TryPendingEnable();

 private:
  TsGenStyle* style_;
  bool enablePending_ = false;
  int transparency_ = 60;
  bool dontUse_ = true;
  bool enabled_ = false;
  TColor color_ = 0;
  int offset_ = 8;
  int blur_ = 4;
};

class TsEffects : public TPersistent {
  KESTU_CLASS(TsEffects, TPersistent)
 public:
  explicit TsEffects(TsGenStyle* style) : shadow_(style) {}
  TsShadow* Shadow() { return &shadow_; }

 private:
  TsShadow shadow_;
};

class TsPainting : public TPersistent {
  KESTU_CLASS(TsPainting, TPersistent)
 public:
  explicit TsPainting(TsGenStyle* style) : style_(style) {}
  TsControlBevel Bevel() const { return bevel_; }
  void SetBevel(TsControlBevel value);
  int Transparency() const { return transparency_; }
  void SetTransparency(int value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  // Takes the parent's colour while ParentColor is set (ParentColor stays).
  void AdoptColor(TColor value) { color_ = value; }

 private:
  TsGenStyle* style_;
  TsControlBevel bevel_ = cbRaisedSoft;
  int transparency_ = 0;
  TColor color_ = 13288119;
  bool parentColor_ = true;
  int bevelWidth_ = 2;
};

class TsBGImage : public TPersistent {
  KESTU_CLASS(TsBGImage, TPersistent)
 public:
  TsBGImage(TsGenStyle* style, class TsHotBackground* owner) : style_(style), owner_(owner) {}
  TBitmap* Image() { return &image_; }
  const String& ImageName() const { return imageName_; }
  void SetImageName(const String& value);
  int Percent() const { return percent_; }
  void SetPercent(int value);

 private:
  TsGenStyle* style_;
  TsHotBackground* owner_;
  TBitmap image_;
  String imageName_;
  int percent_ = 0;
};

class TsBGGradient : public TPersistent {
  KESTU_CLASS(TsBGGradient, TPersistent)
 public:
  TsBGGradient(TsGenStyle* style, TsHotBackground* owner) : style_(style), owner_(owner) {}
  const String& Data() const { return data_; }
  void SetData(const String& value);
  int Percent() const { return percent_; }
  void SetPercent(int value);
  const TsGradArray& Gradient() const { return gradient_; }

 private:
  TsGenStyle* style_;
  TsHotBackground* owner_;
  String data_;
  int percent_ = 70;
  TsGradArray gradient_;
};

class TsHotBackground : public TPersistent {
  KESTU_CLASS(TsHotBackground, TPersistent)
 public:
  explicit TsHotBackground(TsGenStyle* style) : image_(style, this), gradient_(style, this) {}
  TsBGImage* Image() { return &image_; }
  TsBGGradient* Gradient() { return &gradient_; }
  // True for the normal background of a passive style (the image share then
  // also respects the style's effective gradient share).
  virtual bool IsPassiveBackground() const { return false; }

 private:
  TsBGImage image_;
  TsBGGradient gradient_;
};

class TsBackground : public TsHotBackground {
  KESTU_CLASS(TsBackground, TsHotBackground)
 public:
  using TsHotBackground::TsHotBackground;
  bool ListenMSG() const { return listenMsg_; }
  void SetListenMSG(bool value) { listenMsg_ = value; }
  bool IsPassiveBackground() const override { return true; }

 private:
  bool listenMsg_ = false;
};

class TsGenStyle : public TPersistent {
  KESTU_CLASS(TsGenStyle, TPersistent)
 public:
  explicit TsGenStyle(TControl* owner);
  ~TsGenStyle() override;

  TsEffects* Effects() { return &effects_; }
  const TNotifyEvent& OnMouseEnter() const { return onMouseEnter_; }
  void SetOnMouseEnter(TNotifyEvent e) { onMouseEnter_ = std::move(e); }
  bool SoftControl() const { return softControl_; }
  void SetSoftControl(bool value);
  int GroupIndex() const { return baseGroup_; }
  void SetGroupIndex(int value) { baseGroup_ = value; }
  const String& SkinSection() const { return skinSection_; }
  void SetSkinSection(const String& value);

  TControl* Control() const { return control_; }
  std::unique_ptr<TBitmap> CacheBitmap;
  int SectionIndex = -1;
  int BorderMaskIndex = -1;
  bool BackgroundDirty = false;
  int ControlKindCode = 0;
  bool HasFocus = false;
  bool MouseInside = false;

  // The section record while the section is valid, else none.
  const TsGeneralData* Section() const;
  void RefreshLookups();
  // The own bitmap of the section's "BORDERSMASK" entry, or nullptr (none,
  // no section, or an entry cut from the master bitmap).
  virtual const PixelBuffer* GetBorderBitmap() const;
  virtual void Invalidate();
  virtual bool IsHot();
  virtual int StyleKind() const { return kStyleGeneral; }
  virtual void PaintShadow(HDC, int, int) {}
  void CopyCache(HDC dc, int x, int y, int width, int height);
  ParentCacheRef QueryParentCache() { return QueryParentCacheOf(control_); }
  void RepaintParent();
  // The owning control passes every message here first.
  virtual void WndProc(TMessage& message);
  // Mouse enter and leave; fading buttons override the default invalidation.
  virtual void MouseChanged();
  bool CastsShadow() const;
  void PrepareCacheBitmap();

 protected:
  virtual void SkinMessage(TMessage& message);
  // One of the group property messages ($A433-$A464).
  virtual void GroupMessage(TMessage&) {}
  TControl* control_;

 private:
  void RepaintWhole();
  TsEffects effects_{this};
  TNotifyEvent onMouseEnter_;
  bool softControl_ = true;
  int baseGroup_ = 0;
  String skinSection_;
};

class TsPaintStyle : public TsGenStyle {
  KESTU_CLASS(TsPaintStyle, TsGenStyle)
 public:
  explicit TsPaintStyle(TControl* owner) : TsGenStyle(owner) {}
  TsPainting* Painting() { return &painting_; }
  int PaintGroupIndex() const { return groupIndex_; }
  void SetPaintGroupIndex(int value) { groupIndex_ = value; }
  void PaintShadow(HDC dc, int dx, int dy) override;
  void WndProc(TMessage& message) override;

 protected:
  void GroupMessage(TMessage& message) override;
  // The group the painting colour, the background image and the copying of
  // settings answer to (the published GroupIndex; passive styles add 21).
  virtual bool InPaintGroup(WPARAM group) const { return group == WPARAM(groupIndex_); }

 private:
  void TakeParentColor();
  TsPainting painting_{this};
  int groupIndex_ = 0;
};

class TsPassiveBGStyle : public TsPaintStyle {
  KESTU_CLASS(TsPassiveBGStyle, TsPaintStyle)
 public:
  explicit TsPassiveBGStyle(TControl* owner) : TsPaintStyle(owner) {}
  TsBackground* Background() { return &background_; }
  int StyleKind() const override { return kStylePassiveBG; }

  // Effective values: the section's while it is valid, else the own ones.
  virtual std::uint32_t GetColor();
  virtual TsControlBevel GetBevel();
  virtual int GetBevelWidth();
  virtual int GetGradientPercent();
  virtual const TsGradArray& GetGradient();
  virtual int GetImagePercent();
  virtual PixelRows GetImage();
  virtual int GetTransparency();

  // Composes the background into the bitmap (the control's size).
  virtual void PaintBG(TBitmap* bitmap);

 protected:
  OwnBackground Values(bool hot);
  PixelRows SectionImage(const char* property);
  void GroupMessage(TMessage& message) override;
  bool InPaintGroup(WPARAM group) const override { return group == 21 || TsPaintStyle::InPaintGroup(group); }

 private:
  TsBackground background_{this};
};

}  // namespace kestu
