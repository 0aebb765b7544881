#include "skin/sStyleSimply.h"

#include "framework/SysUtils.h"
#include "skin/SkinGdi.h"
#include "skin/sPanel.h"
#include "skin/sStyleActive.h"

#include <algorithm>

namespace kestu {
namespace {

int Clamp100(int v) { return std::clamp(v, 0, 100); }

}  // namespace

// ---- shadow

TsShadow::~TsShadow() { enabled_ = false; }

void TsShadow::SetTransparency(int value) {
  value = Clamp100(value);
  if (transparency_ == value) return;
  transparency_ = value;
  if (enabled_) style_->RepaintParent();
}

void TsShadow::SetDontUse(bool value) {
  if (dontUse_ == value) return;
  dontUse_ = value;
  if (value) SetEnabled(false);
}

void TsShadow::SetEnabled(bool value) {
  if (!value) enablePending_ = false;
  if (enabled_ == value) return;
  TControl* control = style_->Control();
  if (!value) {
    enabled_ = false;
    style_->RepaintParent();
    return;
  }
  // Only a control on a skinned parent, of a kind that casts shadows. While
  // the description is read the parent has no window to ask yet.
  if (!control || CastsNoShadow(style_->ControlKindCode)) return;
  if (!control->Parent() || !control->Parent()->HandleAllocated()) {
    enablePending_ = control->HasState(csLoading | csReading) || enablePending_;
    return;
  }
  enablePending_ = false;
  if (QueryStyleOf(control->Parent()->Handle()).Kind <= 0) return;
  dontUse_ = false;
  enabled_ = true;
  style_->RepaintParent();
}

void TsShadow::TryPendingEnable() {
  if (enablePending_) SetEnabled(true);
}

void TsShadow::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  style_->RepaintParent();
}
void TsShadow::SetOffset(int value) {
  if (offset_ == value) return;
  offset_ = value;
  style_->RepaintParent();
}
void TsShadow::SetBlur(int value) {
  if (blur_ == value) return;
  blur_ = value;
  style_->RepaintParent();
}

// ---- painting

void TsPainting::SetBevel(TsControlBevel value) {
  if (bevel_ == value) return;
  bevel_ = value;
  // A skinned panel's outer bevel is this bevel (its setter sets it back).
  if (auto* panel = dynamic_cast<TsCustomPanel*>(style_->Control())) panel->SetBevelOuter(value);
  style_->Invalidate();
}
void TsPainting::SetTransparency(int value) {
  if (transparency_ == value) return;
  transparency_ = value;
  style_->RepaintParent();
  style_->Invalidate();
}
void TsPainting::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  parentColor_ = false;
  if (TControl* c = style_->Control()) c->SetColor(value);
  style_->Invalidate();
}
void TsPainting::SetParentColor(bool value) {
  if (parentColor_ == value) return;
  parentColor_ = value;
  if (TControl* c = style_->Control(); value && c) {
    c->SetParentColor(true);
    if (c->Parent()) color_ = c->Parent()->Color();
  }
  style_->Invalidate();
}
void TsPainting::SetBevelWidth(int value) {
  if (bevelWidth_ == value) return;
  bevelWidth_ = value;
  style_->Invalidate();
}

// ---- background add-ons

void TsBGImage::SetImageName(const String& value) {
  if (imageName_ == value) return;
  imageName_ = value;
  if (!value.empty() && FileExists(value)) {
    image_.LoadFromFile(value);
    style_->Invalidate();
  }
}

void TsBGImage::SetPercent(int value) {
  value = Clamp100(value);
  if (percent_ == value) return;
  percent_ = value;
  TsBGGradient* gradient = owner_->Gradient();
  int g = gradient->Percent();
  if (owner_->IsPassiveBackground())
    if (auto* passive = dynamic_cast<TsPassiveBGStyle*>(style_)) g = passive->GetGradientPercent();
  if (percent_ + g > 100) gradient->SetPercent(100 - percent_);
  style_->Invalidate();
}

void TsBGGradient::SetData(const String& value) {
  String text = value.substr(0, 255);
  if (data_ == text) return;
  data_ = text;
  gradient_ = ParseGradient(StringToUtf8(text));
  style_->Invalidate();
}

void TsBGGradient::SetPercent(int value) {
  value = Clamp100(value);
  if (percent_ == value) return;
  percent_ = value;
  TsBGImage* image = owner_->Image();
  if (image->Percent() + percent_ > 100) image->SetPercent(100 - percent_);
  style_->Invalidate();
}

// ---- general style

TsGenStyle::TsGenStyle(TControl* owner) : control_(owner) {
  CacheBitmap = std::make_unique<TBitmap>();
  BackgroundDirty = !SkinChanging;
}

TsGenStyle::~TsGenStyle() {
  if (control_ && control_->Parent() && !control_->Parent()->HasState(csDestroying) && CastsShadow())
    RepaintParent();
}

void TsGenStyle::SetSoftControl(bool value) {
  if (softControl_ == value) return;
  softControl_ = value;
  Invalidate();
}

void TsGenStyle::SetSkinSection(const String& value) {
  if (skinSection_ == value) return;
  skinSection_ = value;
  const TsSkinData& skin = TsSkinData::Instance();
  std::string name = StringToUtf8(skinSection_);
  SectionIndex = skin.FindSectionIndex(name);
  BorderMaskIndex = skin.FindMaskIndex(SectionIndex, name, "BORDERSMASK");
  Invalidate();
}

const TsGeneralData* TsGenStyle::Section() const {
  const TsSkinData& skin = TsSkinData::Instance();
  return skin.IsValidSection(SectionIndex) ? &skin.gd[std::size_t(SectionIndex)] : nullptr;
}

void TsGenStyle::RefreshLookups() {
  BackgroundDirty = true;
  if (skinSection_.empty() && control_) skinSection_ = control_->ClassName();
  const TsSkinData& skin = TsSkinData::Instance();
  std::string name = StringToUtf8(skinSection_);
  SectionIndex = skin.FindSectionIndex(name);
  BorderMaskIndex = skin.FindMaskIndex(SectionIndex, name, "BORDERSMASK");
  effects_.Shadow()->TryPendingEnable();
}

const PixelBuffer* TsGenStyle::GetBorderBitmap() const {
  const TsSkinData& skin = TsSkinData::Instance();
  if (!Section() || BorderMaskIndex < 0 || std::size_t(BorderMaskIndex) >= skin.ma.size()) return nullptr;
  return skin.ma[std::size_t(BorderMaskIndex)].Bitmap.get();
}

void TsGenStyle::Invalidate() {
  if (SkinChanging) return;
  BackgroundDirty = true;
  if (control_ && control_->Visible() && !control_->HasState(csDestroying)) control_->Invalidate();
}

bool TsGenStyle::IsHot() {
  if (!control_ || control_->HasState(csDestroying)) return false;
  auto* button = dynamic_cast<TsStyledButton*>(control_);
  if (button && button->ActiveDefaultButton()) return true;
  if (!control_->Enabled() || control_->HasState(csDesigning)) return false;
  if (button && button->ButtonDown()) return true;
  if (NeverHot(ControlKindCode)) return false;
  if (HasFocus) return true;
  if (auto* w = dynamic_cast<TWinControl*>(control_); w && w->Focused()) return true;
  return MouseInside;
}

void TsGenStyle::PrepareCacheBitmap() {
  if (!CacheBitmap) CacheBitmap = std::make_unique<TBitmap>();
  if (control_ && (CacheBitmap->Width() != control_->Width() || CacheBitmap->Height() != control_->Height()))
    CacheBitmap->SetSize(control_->Width(), control_->Height());
}

void TsGenStyle::CopyCache(HDC dc, int x, int y, int width, int height) {
  if (CacheBitmap && CacheBitmap->Handle()) {
    int saved = SaveDC(dc);
    HDC source = CacheBitmap->Canvas()->Handle();
    BitBlt(dc, x, y, width, height, source, x, y, SRCCOPY);
    RestoreDC(dc, saved);
  }
  BackgroundDirty = false;
}

void TsGenStyle::RepaintParent() {
  if (!control_ || !control_->Parent() || !control_->Parent()->HandleAllocated()) return;
  SendMessageW(control_->Parent()->Handle(), SKM_BGDIRTY, 0, -1);
  control_->Parent()->Repaint();
}

bool TsGenStyle::CastsShadow() const {
  if (const TsGeneralData* s = Section()) return s->ShadowEnabled;
  return const_cast<TsEffects&>(effects_).Shadow()->Enabled();
}

void TsGenStyle::MouseChanged() { Invalidate(); }

void TsGenStyle::WndProc(TMessage& m) {
  switch (m.Msg) {
    case SKM_QUERYSTYLE:
      // The reply goes where WParam points: only for our own thread.
      if (!SentByOwnThread()) return;
      if (m.WParam) *reinterpret_cast<StyleQueryReply*>(m.WParam) = {StyleKind(), this};
      m.Result = 1;
      return;
    case CM_MOUSEENTER: case CM_MOUSELEAVE: {
      m.Result = 1;
      if (NeverHot(ControlKindCode)) return;
      MouseInside = m.Msg == CM_MOUSEENTER;
      auto* w = dynamic_cast<TWinControl*>(control_);
      if (HasFocus || (w && w->Focused()) || (control_ && control_->HasState(csDesigning))) return;
      MouseChanged();
      return;
    }
    case WM_SETFOCUS: case CM_ENTER:
      HasFocus = true;
      if (ControlKindCode < 1 || ControlKindCode > 15) Invalidate();
      return;
    case WM_KILLFOCUS: case CM_EXIT: HasFocus = false; Invalidate(); return;
    case WM_FONTCHANGE: case CM_ENABLEDCHANGED: Invalidate(); return;
    case CM_VISIBLECHANGED: if (control_ && !control_->Visible() && CastsShadow()) RepaintParent(); return;
    case WM_CREATE: return effects_.Shadow()->TryPendingEnable();  // the parent's window exists now
    case WM_MOVE: case WM_SIZE:
      if (!SkinChanging) BackgroundDirty = true;
      if (CastsShadow()) RepaintParent();
      return RepaintWhole();
    default:
      if (IsSkinMessage(m.Msg) && m.WParam == WPARAM(baseGroup_) && SentByOwnThread()) SkinMessage(m);
      if (IsGroupMessage(m.Msg) && SentByOwnThread()) GroupMessage(m);
      return;
  }
}

// A button's borders sit at its edges, and its window class does not redraw
// on size: without this the old right and bottom borders stay on screen.
void TsGenStyle::RepaintWhole() {
  auto* w = dynamic_cast<TWinControl*>(control_);
  const bool button = ControlKindCode == kButtonControlCode || ControlKindCode == kButtonCode;
  if (w && w->HandleAllocated() && (button || w->HasState(csDesigning))) w->Invalidate();
}

void TsGenStyle::SkinMessage(TMessage& m) {
  switch (m.Msg) {
    case SKM_BGDIRTY: if (!SkinChanging) BackgroundDirty = BackgroundDirty || m.LParam != 0; return;
    case SKM_APPLYSKIN: RefreshLookups(); SkinChanging = false; return;
    case SKM_DROPSKIN: SectionIndex = BorderMaskIndex = -1; Invalidate(); return;
    case SKM_RESETLOOKUPS: SectionIndex = BorderMaskIndex = -1; return;
    case SKM_REPAINTALL: BackgroundDirty = true; Invalidate(); return;
    case SKM_QUERYCACHE:
      CacheReply = {};
      if (CacheBitmap && CacheBitmap->Width() > 0 && !OffersNoCache(ControlKindCode))
        CacheReply = {CacheBitmap->Rows(), 0, 0, true};
      return;
    case SKM_SECTIONREPAINT:
      if (!SectionToRepaint.empty() && UpperCase(StringToUtf8(skinSection_)) == SectionToRepaint) {
        SkinChanging = false;
        Invalidate();
        if (auto* w = dynamic_cast<TWinControl*>(control_); w && w->HandleAllocated())
          SendMessageW(w->Handle(), WM_PAINT, 0, 0);
      }
      return;
    default: return;
  }
}

// ---- painting style

void TsPaintStyle::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_PARENTCOLORCHANGED: case CM_SYSCOLORCHANGE: return TakeParentColor();
    default: return TsGenStyle::WndProc(m);
  }
}

void TsPaintStyle::GroupMessage(TMessage& m) {
  const bool base = m.WParam == WPARAM(GroupIndex());
  TsShadow* shadow = Effects()->Shadow();
  switch (m.Msg) {
    case SKM_GROUP_SOFTCONTROL: if (base) SetSoftControl(m.LParam != 0); return;
    case SKM_GROUP_PAINTINGCOLOR: if (InPaintGroup(m.WParam)) painting_.SetColor(TColor(m.LParam)); return;
    case SKM_GROUP_SHADOWENABLED:
      if (!base) return;
      if (!m.LParam) return shadow->SetEnabled(false);
      if (CastsNoShadow(ControlKindCode) || !control_ || !control_->Visible() || shadow->DontUse()) return;
      return shadow->SetEnabled(true);
    case SKM_GROUP_SHADOWCOLOR: if (base) shadow->SetColor(TColor(m.LParam)); return;
    case SKM_GROUP_SHADOWTRANSPARENCY: if (base) shadow->SetTransparency(int(m.LParam)); return;
    case SKM_GROUP_SHADOWOFFSET: if (base) shadow->SetOffset(int(m.LParam)); return;
    case SKM_GROUP_SHADOWBLUR: if (base) shadow->SetBlur(int(m.LParam)); return;
    case SKM_GROUP_CHILDSHADOWS: if (base && PaintsChildShadows(ControlKindCode)) Invalidate(); return;
    case SKM_GROUP_COPYSTYLE: {
      // From our own thread only (checked by the caller), so LParam is a style object.
      auto* source = reinterpret_cast<TsGenStyle*>(m.LParam);
      if (!InPaintGroup(m.WParam) || !source || source == this || !source->InheritsFrom(ClassType())) return;
      CopyPublishedProperties(source, this);
      Invalidate();
      return;
    }
    default: return;
  }
}

void TsPaintStyle::TakeParentColor() {
  if (!painting_.ParentColor() || !control_ || !control_->Parent()) return;
  painting_.AdoptColor(control_->Parent()->Color());
  Invalidate();
}

void TsPaintStyle::PaintShadow(HDC dc, int dx, int dy) {
  if (!control_) return;
  const TsGeneralData* s = Section();
  int transparency = s ? s->PaintingTransparency : painting_.Transparency();
  if (s ? (!s->ShadowEnabled || transparency > 100) : transparency > 100) return;
  TsShadow* own = Effects()->Shadow();
  const int offset = s ? s->ShadowOffset : own->Offset();
  const int shadowTransparency = s ? s->ShadowTransparency : own->Transparency();
  const std::uint32_t colour = s ? s->ShadowColor : std::uint32_t(own->Color());
  const int blur = s ? s->ShadowBlur : own->Blur();
  const int tabHeight = ControlKindCode == kTabControlCode ? TabHeightOf(control_) : 0;
  const PixRect rect = ShadowBounds(control_->BoundsRect(), offset, dx, dy, tabHeight);
  const int p = MaySeeThrough(ControlKindCode) && transparency > 0 ? transparency : 0;
  const int t = ShadowTransparency(std::clamp(shadowTransparency, 0, 100), p);
  PaintSoftShadow(dc, rect, dc, SoftControl() ? 6 : 0, 0, blur, ResolveColor(colour), t, {rect.Left, rect.Top});
}

// ---- passive background style

void TsPassiveBGStyle::GroupMessage(TMessage& m) {
  if (m.Msg != SKM_GROUP_BGIMAGE) return TsPaintStyle::GroupMessage(m);
  // From our own thread only (checked by the caller), so LParam is a bitmap.
  auto* image = reinterpret_cast<TBitmap*>(m.LParam);
  if (!background_.ListenMSG() || !MaySeeThrough(ControlKindCode) || !InPaintGroup(m.WParam) || !image) return;
  background_.Image()->Image()->Assign(image);
  Invalidate();
}

std::uint32_t TsPassiveBGStyle::GetColor() {
  if (const TsGeneralData* s = Section()) return s->PaintingColor;
  return ResolveColor(std::uint32_t(Painting()->Color()));
}
TsControlBevel TsPassiveBGStyle::GetBevel() {
  if (const TsGeneralData* s = Section()) return TsControlBevel(s->PaintingBevel);
  return Painting()->Bevel();
}
int TsPassiveBGStyle::GetBevelWidth() {
  if (const TsGeneralData* s = Section()) return s->PaintingBevelWidth;
  return Painting()->BevelWidth();
}
int TsPassiveBGStyle::GetGradientPercent() {
  if (const TsGeneralData* s = Section()) return s->GradientPercent;
  return background_.Gradient()->Percent();
}
const TsGradArray& TsPassiveBGStyle::GetGradient() {
  if (const TsGeneralData* s = Section()) return s->Gradient;
  return background_.Gradient()->Gradient();
}
int TsPassiveBGStyle::GetImagePercent() {
  if (const TsGeneralData* s = Section()) return s->ImagePercent;
  return background_.Image()->Percent();
}
PixelRows TsPassiveBGStyle::GetImage() {
  if (Section()) return SectionImage("IMAGEFILE");
  TBitmap* image = background_.Image()->Image();
  return image->Width() > 0 ? image->Rows() : PixelRows{};
}
int TsPassiveBGStyle::GetTransparency() {
  if (const TsGeneralData* s = Section()) return s->PaintingTransparency;
  return Painting()->Transparency();
}

PixelRows TsPassiveBGStyle::SectionImage(const char* property) {
  const TsSkinData& skin = TsSkinData::Instance();
  int index = skin.FindMaskIndex(SectionIndex, StringToUtf8(SkinSection()), property);
  if (!skin.IsValidMask(index) || !skin.ma[std::size_t(index)].Bitmap) return {};
  return skin.ma[std::size_t(index)].Bitmap->Rows();
}

OwnBackground TsPassiveBGStyle::Values(bool hot) {
  OwnBackground bg;
  bg.ImagePercent = GetImagePercent();
  bg.GradientPercent = GetGradientPercent();
  bg.Color = GetColor();
  bg.Transparency = GetTransparency();
  bg.Image = GetImage();
  bg.Gradient = &GetGradient();
  bg.ParentColor = control_ && control_->Parent() ? ResolveColor(std::uint32_t(control_->Parent()->Color())) : bg.Color;
  bg.Hot = hot;
  return bg;
}

void TsPassiveBGStyle::PaintBG(TBitmap* bitmap) {
  if (!bitmap || !control_) return;
  PixelRows target = bitmap->Rows();
  ComposeBackground(target, Values(false), QueryParentCache(), {control_->Left(), control_->Top()});
  if (!PaintsChildShadows(ControlKindCode)) return;
  auto* container = dynamic_cast<TWinControl*>(control_);
  if (!container) return;
  HDC dc = bitmap->Canvas()->Handle();
  for (TControl* child : container->ControlList()) {
    if (child->HasState(csDestroying)) break;
    if (!child->Visible()) continue;
    StyleQueryReply reply = QueryStyleOf(child);
    if (reply.Kind <= 0 || !reply.Style) continue;
    auto* style = static_cast<TsGenStyle*>(reply.Style);
    const TsGeneralData* s = style->Section();
    bool wanted = s ? s->ShadowEnabled : style->ControlKindCode > 0 && style->Effects()->Shadow()->Enabled();
    if (wanted) style->PaintShadow(dc, 0, 0);
  }
}

KESTU_PUBLISH(TsShadow) {
  p.Int("Transparency", &TsShadow::Transparency, &TsShadow::SetTransparency, 60);
  p.Bool("DontUse", &TsShadow::DontUse, &TsShadow::SetDontUse, true);
  p.Bool("Enabled", &TsShadow::Enabled, &TsShadow::SetEnabled, false);
  p.Color("Color", &TsShadow::Color, &TsShadow::SetColor, 0);
  p.Int("Offset", &TsShadow::Offset, &TsShadow::SetOffset, 8);
  p.Int("Blur", &TsShadow::Blur, &TsShadow::SetBlur, 4);
}
KESTU_PUBLISH(TsEffects) { p.Object("Shadow", &TsEffects::Shadow); }
KESTU_PUBLISH(TsPainting) {
  p.Enum("Bevel", &TsPainting::Bevel, &TsPainting::SetBevel, cbRaisedSoft,
         {"cbNone", "cbRaisedSoft", "cbLoweredSoft", "cbRaisedHard", "cbLoweredHard"});
  p.Int("Transparency", &TsPainting::Transparency, &TsPainting::SetTransparency, 0);
  p.Color("Color", &TsPainting::Color, &TsPainting::SetColor, 13288119);
  p.Bool("ParentColor", &TsPainting::ParentColor, &TsPainting::SetParentColor, true);
}
KESTU_PUBLISH(TsBGImage) {
  p.Object("Image", &TsBGImage::Image);
  p.Str("ImageName", &TsBGImage::ImageName, &TsBGImage::SetImageName);
  p.Int("Percent", &TsBGImage::Percent, &TsBGImage::SetPercent, 0);
}
KESTU_PUBLISH(TsBGGradient) {
  p.Str("Data", &TsBGGradient::Data, &TsBGGradient::SetData);
  p.Int("Percent", &TsBGGradient::Percent, &TsBGGradient::SetPercent, 70);
}
KESTU_PUBLISH(TsHotBackground) {
  p.Object("Image", &TsHotBackground::Image);
  p.Object("Gradient", &TsHotBackground::Gradient);
}
KESTU_PUBLISH(TsBackground) { p.Bool("ListenMSG", &TsBackground::ListenMSG, &TsBackground::SetListenMSG, false); }
KESTU_PUBLISH(TsGenStyle) {
  p.Object("Effects", &TsGenStyle::Effects);
  p.Event("OnMouseEnter", &TsGenStyle::SetOnMouseEnter);
  p.Bool("SoftControl", &TsGenStyle::SoftControl, &TsGenStyle::SetSoftControl, true);
  p.Int("GroupIndex", &TsGenStyle::GroupIndex, &TsGenStyle::SetGroupIndex, -1);
  p.Str("SkinSection", &TsGenStyle::SkinSection, &TsGenStyle::SetSkinSection);
}
KESTU_PUBLISH(TsPaintStyle) {
  p.Object("Painting", &TsPaintStyle::Painting);
  p.Int("GroupIndex", &TsPaintStyle::PaintGroupIndex, &TsPaintStyle::SetPaintGroupIndex, -1);
}
KESTU_PUBLISH(TsPassiveBGStyle) { p.Object("Background", &TsPassiveBGStyle::Background); }

}  // namespace kestu
