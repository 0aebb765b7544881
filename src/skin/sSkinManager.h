#pragma once
// The skin manager: the one component of the process that selects a skin
// (from the skins stored in the form description or from a skin folder),
// has the skin tables load it, and announces skin changes to every form and
// the controls they own. Also the persistent shape of stored skins.

#include "framework/Forms.h"
#include "skin/core/SkinData.h"

#include <functional>
#include <memory>
#include <vector>

namespace kestu {

class TsSkinableMenus;
class TsSkinProvider;

// Properties of a stored section or image that map one-to-one onto a field.
#define KESTU_STORED_FIELD(Type, Name, Field) \
  Type Name() const { return Field; }          \
  void Set##Name(Type v) { Field = v; }

class TsSkinGeneral : public TCollectionItem {
  KESTU_CLASS(TsSkinGeneral, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  TsStoredGeneral Data;

  String SectionName() const { return Utf8ToString(Data.SectionName); }
  void SetSectionName(const String& v) { Data.SectionName = StringToUtf8(v); }
  String ParentClassName() const { return Utf8ToString(Data.ParentClassName); }
  void SetParentClassName(const String& v) { Data.ParentClassName = StringToUtf8(v); }
  String FontColor() const { return Utf8ToString(Data.FontColor); }
  void SetFontColor(const String& v) { Data.FontColor = StringToUtf8(v); }
  String HotFontColor() const { return Utf8ToString(Data.HotFontColor); }
  void SetHotFontColor(const String& v) { Data.HotFontColor = StringToUtf8(v); }
  String GradientData() const { return Utf8ToString(Data.GradientData); }
  void SetGradientData(const String& v) { Data.GradientData = StringToUtf8(v); }
  String HotGradientData() const { return Utf8ToString(Data.HotGradientData); }
  void SetHotGradientData(const String& v) { Data.HotGradientData = StringToUtf8(v); }
  String Name() const { return Utf8ToString(Data.Name); }
  void SetName(const String& v) { Data.Name = StringToUtf8(v); }
  KESTU_STORED_FIELD(std::int32_t, PaintingColor, Data.PaintingColor)
  KESTU_STORED_FIELD(std::uint8_t, PaintingBevel, Data.PaintingBevel)
  KESTU_STORED_FIELD(std::int32_t, PaintingBevelWidth, Data.PaintingBevelWidth)
  KESTU_STORED_FIELD(std::int32_t, ShadowBlur, Data.ShadowBlur)
  KESTU_STORED_FIELD(std::int32_t, ShadowColor, Data.ShadowColor)
  KESTU_STORED_FIELD(bool, ShadowDontUse, Data.ShadowDontUse)
  KESTU_STORED_FIELD(bool, ShadowEnabled, Data.ShadowEnabled)
  KESTU_STORED_FIELD(bool, ReservedBoolean, Data.ReservedBoolean)
  KESTU_STORED_FIELD(std::int32_t, ShadowOffset, Data.ShadowOffset)
  KESTU_STORED_FIELD(std::int32_t, ShadowTransparency, Data.ShadowTransparency)
  KESTU_STORED_FIELD(std::int32_t, PaintingTransparency, Data.PaintingTransparency)
  KESTU_STORED_FIELD(std::int32_t, GradientPercent, Data.GradientPercent)
  KESTU_STORED_FIELD(std::int32_t, ImagePercent, Data.ImagePercent)
  KESTU_STORED_FIELD(bool, ShowFocus, Data.ShowFocus)
  KESTU_STORED_FIELD(bool, FadingEnabled, Data.FadingEnabled)
  KESTU_STORED_FIELD(std::int32_t, FadingIntervalIn, Data.FadingIntervalIn)
  KESTU_STORED_FIELD(std::int32_t, FadingIntervalOut, Data.FadingIntervalOut)
  KESTU_STORED_FIELD(std::int32_t, FadingIterations, Data.FadingIterations)
  KESTU_STORED_FIELD(std::int32_t, HotPaintingColor, Data.HotPaintingColor)
  KESTU_STORED_FIELD(std::int32_t, HotPaintingTransparency, Data.HotPaintingTransparency)
  KESTU_STORED_FIELD(std::uint8_t, HotPaintingBevel, Data.HotPaintingBevel)
  KESTU_STORED_FIELD(std::int32_t, HotPaintingBevelWidth, Data.HotPaintingBevelWidth)
  KESTU_STORED_FIELD(std::int32_t, HotGradientPercent, Data.HotGradientPercent)
  KESTU_STORED_FIELD(std::int32_t, HotImagePercent, Data.HotImagePercent)
  KESTU_STORED_FIELD(std::int32_t, PaintingColorBorderTop, Data.PaintingColorBorderTop)
  KESTU_STORED_FIELD(std::int32_t, PaintingColorBorderBottom, Data.PaintingColorBorderBottom)
  KESTU_STORED_FIELD(std::uint8_t, SelectionBorderBevel, Data.SelectionBorderBevel)
  KESTU_STORED_FIELD(std::int32_t, SelectionBorderWidth, Data.SelectionBorderWidth)
  KESTU_STORED_FIELD(std::int32_t, SelectionColor, Data.SelectionColor)
};

class TsSkinImage : public TCollectionItem {
  KESTU_CLASS(TsSkinImage, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  String SectionName() const { return sectionName_; }
  void SetSectionName(const String& v) { sectionName_ = v; }
  TBitmap* Image() { return &image_; }
  String Name() const { return name_; }
  void SetName(const String& v) { name_ = v; }
  String PropertyName() const { return propertyName_; }
  void SetPropertyName(const String& v) { propertyName_ = v; }
  KESTU_STORED_FIELD(int, Left, left_)
  KESTU_STORED_FIELD(int, Top, top_)
  KESTU_STORED_FIELD(int, Right, right_)
  KESTU_STORED_FIELD(int, Bottom, bottom_)
  KESTU_STORED_FIELD(int, ImageCount, imageCount_)
  KESTU_STORED_FIELD(int, MaskType, maskType_)

 private:
  String sectionName_, name_, propertyName_;
  TBitmap image_;
  int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0, imageCount_ = 0, maskType_ = 0;
};

class TsSkinPattern : public TCollectionItem {
  KESTU_CLASS(TsSkinPattern, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  String SectionName() const { return sectionName_; }
  void SetSectionName(const String& v) { sectionName_ = v; }
  TJPEGImage* Image() { return &image_; }
  String Name() const { return name_; }
  void SetName(const String& v) { name_ = v; }
  String PropertyName() const { return propertyName_; }
  void SetPropertyName(const String& v) { propertyName_ = v; }

 private:
  String sectionName_, name_, propertyName_;
  TJPEGImage image_;
};

class TsStoredSkin : public TCollectionItem {
  KESTU_CLASS(TsStoredSkin, TCollectionItem)
 public:
  explicit TsStoredSkin(TCollection* collection);
  String Name() const { return name_; }
  void SetName(const String& v) { name_ = v; }
  TCollection* GeneralData() { return &generalData_; }
  TCollection* Images() { return &images_; }
  TCollection* Patterns() { return &patterns_; }
  TBitmap* MasterBitmap() { return &masterBitmap_; }

  // The skin as plain values for the skin tables.
  TsStoredSkinData ToData();

 private:
  String name_;
  TCollection generalData_;
  TCollection images_;
  TCollection patterns_;
  TBitmap masterBitmap_;
};

class TsSkinManager : public TComponent {
  KESTU_CLASS(TsSkinManager, TComponent)
 public:
  explicit TsSkinManager(TComponent* AOwner);
  ~TsSkinManager() override;

  bool Active() const { return active_; }
  void SetActive(bool value);
  TCollection* InternalSkins() { return &internalSkins_; }
  void SetInternalSkins(TCollection* value) { internalSkins_.Assign(value); }
  const String& SkinDirectory() const { return skinDirectory_; }
  void SetSkinDirectory(const String& value);
  const String& SkinName() const { return skinName_; }
  void SetSkinName(const String& value);
  const TNotifyEvent& OnAfterChange() const { return onAfterChange_; }
  void SetOnAfterChange(TNotifyEvent e) { onAfterChange_ = std::move(e); }
  const TNotifyEvent& OnBeforeChange() const { return onBeforeChange_; }
  void SetOnBeforeChange(TNotifyEvent e) { onBeforeChange_ = std::move(e); }

  TCustomForm* HostForm() const { return hostForm_; }
  bool Registered() const { return TsSkinData::Instance().Manager == this; }
  // The menu painter, owned by the manager.
  TsSkinableMenus* SkinableMenus() const { return menus_.get(); }
  // What form providers ask of the menu painter: take the menus over or
  // give them back by whether a skin is loaded, give them all back, take
  // over one item the platform measures or the bar items of one form's menu
  // (merged ones with them), and redraw plainly the menu-bar item of the
  // provider's form last drawn highlighted (then forget it).
  void RefreshMenuPainter();
  void ReleaseMenus();
  void HookMenuItem(TMenuItem* item);
  void HookFormMenu(TMainMenu* menu);
  void RedrawHighlightedBarItem(TsSkinProvider* provider);

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  String ResolveSkinDirectory() const;
  String ListAvailableSkins(std::vector<String>& list) const;
  void BroadcastSkinMessage(UINT message);

  // The manager registered in this process, or none.
  static TsSkinManager* Current() { return static_cast<TsSkinManager*>(TsSkinData::Instance().Manager); }
  // How design-time misuse is reported (a warning message box; tests replace it).
  static std::function<void(const String& text)> ShowWarning;

 private:
  TsStoredSkin* FindInternalSkin(const String& name) const;
  void LoadSkin();
  void AnnounceSkin();
  void RemoveSkin();
  void SendToForm(TCustomForm* form, UINT message);
  void Changing() { if (onBeforeChange_) onBeforeChange_(this); }
  void Changed() { if (onAfterChange_) onAfterChange_(this); }

  bool active_ = true;
  TCollection internalSkins_;
  String skinDirectory_;
  String skinName_;
  TNotifyEvent onAfterChange_, onBeforeChange_;
  TCustomForm* hostForm_ = nullptr;
  std::unique_ptr<TsSkinableMenus> menus_;
};

// Registers every class of the skin engine (manager, stored skins, styles,
// buttons) so that stored form descriptions can name them; call once before
// the first form that uses them is read.
void EnsureSkinClasses();

// A form-level object (the form skin provider) that takes the manager's
// broadcasts through a handler of its own rather than as window messages.
class TsSkinMessageTarget {
 public:
  virtual ~TsSkinMessageTarget() = default;
  virtual void SkinMessage(TMessage& message) = 0;
};

}  // namespace kestu
