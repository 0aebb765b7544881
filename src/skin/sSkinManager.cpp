#include "skin/sSkinManager.h"

#include "framework/SysUtils.h"
#include "skin/SkinGdi.h"
#include "skin/sCommonData.h"
#include "skin/sSkinMenus.h"
#include "skin/sSkinProvider.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace kestu {
namespace {

PixelBuffer CopyPixels(TBitmap* bitmap) {
  PixelBuffer out;
  if (!bitmap || bitmap->Width() <= 0 || bitmap->Height() <= 0) return out;
  PixelRows from = bitmap->Rows();
  out.Resize(from.width, from.height);
  PixelRows to = out.Rows();
  for (int y = 0; y < to.height; ++y) std::memcpy(to.Row(y), from.Row(y), std::size_t(to.width) * 3);
  return out;
}

void DefaultWarning(const String& text) { ShowMessageBox(text, L"", MB_OK | MB_ICONWARNING); }

}  // namespace

std::function<void(const String&)> TsSkinManager::ShowWarning = DefaultWarning;

// ---- stored skins

TsStoredSkin::TsStoredSkin(TCollection* collection)
    : TCollectionItem(collection),
      generalData_(TsSkinGeneral::StaticClass(), this),
      images_(TsSkinImage::StaticClass(), this),
      patterns_(TsSkinPattern::StaticClass(), this) {}

TsStoredSkinData TsStoredSkin::ToData() {
  TsStoredSkinData data;
  data.Name = StringToUtf8(name_);
  for (int i = 0; i < generalData_.Count(); ++i) data.GeneralData.push_back(generalData_.Item<TsSkinGeneral>(i)->Data);
  for (int i = 0; i < images_.Count(); ++i) {
    TsSkinImage* item = images_.Item<TsSkinImage>(i);
    TsStoredImage image;
    image.SectionName = StringToUtf8(item->SectionName());
    image.Image = CopyPixels(item->Image());
    image.Name = StringToUtf8(item->Name());
    image.PropertyName = StringToUtf8(item->PropertyName());
    image.Left = item->Left();
    image.Top = item->Top();
    image.Right = item->Right();
    image.Bottom = item->Bottom();
    image.ImageCount = item->ImageCount();
    image.MaskType = item->MaskType();
    data.Images.push_back(std::move(image));
  }
  for (int i = 0; i < patterns_.Count(); ++i) {
    TsSkinPattern* item = patterns_.Item<TsSkinPattern>(i);
    TsStoredPattern pattern;
    pattern.SectionName = StringToUtf8(item->SectionName());
    pattern.Image = CopyPixels(item->Image()->Bitmap());
    pattern.Name = StringToUtf8(item->Name());
    pattern.PropertyName = StringToUtf8(item->PropertyName());
    data.Patterns.push_back(std::move(pattern));
  }
  data.MasterBitmap = CopyPixels(&masterBitmap_);
  return data;
}

// ---- manager

TsSkinManager::TsSkinManager(TComponent* AOwner)
    : TComponent(AOwner), internalSkins_(TsStoredSkin::StaticClass(), this) {
  active_ = true;
  TsSkinData& skin = TsSkinData::Instance();
  skin.ResolveSystemColour = ResolveColor;
  if (!skin.Manager) skin.Manager = this;
  else ShowWarning(L"Please be sure, that only one exemplar of TsSkinManager component is loaded in project.");
  for (TComponent* c = AOwner; c; c = c->Owner())
    if (auto* form = dynamic_cast<TCustomForm*>(c)) {
      hostForm_ = form;
      break;
    }
  menus_ = std::make_unique<TsSkinableMenus>(this);
}

TsSkinManager::~TsSkinManager() {
  internalSkins_.Clear();
  if (Registered()) {
    RemoveSkin();
    TsSkinData::Instance().Manager = nullptr;
  }
}

TsStoredSkin* TsSkinManager::FindInternalSkin(const String& name) const {
  for (int i = 0; i < internalSkins_.Count(); ++i)
    if (auto* s = internalSkins_.Item<TsStoredSkin>(i); s->Name() == name) return s;
  return nullptr;
}

String TsSkinManager::ResolveSkinDirectory() const {
  String dir = skinDirectory_;
  String program = ExtractFilePath(ProgramPath());
  if (dir.starts_with(L".\\") || dir.starts_with(L"./")) return program + dir.substr(2);
  if (dir.find(L':') == String::npos) return program + dir;
  return dir;
}

void TsSkinManager::SetSkinDirectory(const String& value) {
  if (skinDirectory_ == value) return;
  skinDirectory_ = value;
  TsSkinData::Instance().SkinPath = StringToUtf8(ResolveSkinDirectory());
}

void TsSkinManager::SetSkinName(const String& value) {
  skinName_ = value;
  if (!active_ || !Registered()) return;
  Changing();
  if (value.empty()) skinDirectory_.clear();
  LoadSkin();
  AnnounceSkin();
  Changed();
}

void TsSkinManager::LoadSkin() {
  TsSkinData& skin = TsSkinData::Instance();
  menus_->FreeMenuCache();  // pop-up backgrounds are composed once per skin
  skin.SkinLoaded = false;
  skin.IniFile.reset();
  String folder = ResolveSkinDirectory() + L"\\" + skinName_ + L"\\";
  String options = folder + L"Options.dat";
  // An empty name probes the folder itself, as any other name would.
  if (FileExists(options)) {
    skin.IniFile = std::make_unique<IniFile>(IniFile::Load(StringToUtf8(options)));
    skin.SkinPath = StringToUtf8(folder);
  } else {
    skin.SkinPath.clear();
    if (!FindInternalSkin(skinName_) && internalSkins_.Count() > 0)
      skinName_ = internalSkins_.Item<TsStoredSkin>(0)->Name();
  }
  TsStoredSkinData stored;
  const TsStoredSkinData* source = nullptr;
  if (!skin.IniFile)
    if (TsStoredSkin* s = FindInternalSkin(skinName_)) {
      stored = s->ToData();
      source = &stored;
    }
  skin.LoadSkinMasks(source);
  skin.LoadSkinPatterns(source);
  skin.LoadSectionRecords(source);
}

void TsSkinManager::AnnounceSkin() {
  TsSkinData& skin = TsSkinData::Instance();
  {
    // Windows repaint once, at the end, in the new skin.
    SuspendPainting suspended;
    skin.SkinLoaded = false;
    SkinChanging = true;
    BroadcastSkinMessage(SKM_RESETLOOKUPS);
    skin.SkinLoaded = true;
    BroadcastSkinMessage(SKM_APPLYSKIN);
    SkinChanging = false;
  }
  if (HasState(csLoading | csReading)) return;
  BroadcastSkinMessage(SKM_REPAINTALL);
}

void TsSkinManager::RemoveSkin() {
  TsSkinData& skin = TsSkinData::Instance();
  skin.SkinLoaded = false;
  BroadcastSkinMessage(SKM_DROPSKIN);
  skin.FreeSkinMasks();
  menus_->FreeMenuCache();
}

void TsSkinManager::SetActive(bool value) {
  if (active_ == value) return;
  active_ = value;
  if (value) {
    SetSkinName(skinName_);
    return;
  }
  Changing();
  if (!HasState(csLoading)) RemoveSkin();
  Changed();
}

void TsSkinManager::Loaded() {
  TComponent::Loaded();
  if (!active_ || skinName_.empty() || !Registered()) return;
  if (HasState(csDesigning) && HasState(csLoading | csReading)) return;
  SkinChanging = false;
  BroadcastSkinMessage(SKM_APPLYSKIN);
  BroadcastSkinMessage(SKM_REPAINTALL);
}

void TsSkinManager::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (!menus_) return;
  if (Operation == opRemove) menus_->ComponentRemoved(AComponent);
  auto* menu = dynamic_cast<TMainMenu*>(AComponent);
  if (!menu || HasState(csDesigning)) return;
  if (Operation == opRemove && menu->HasState(csDestroying)) return;  // its items go with it
  menus_->HookMainMenu(menu, Operation == opInsert);
}

void TsSkinManager::RefreshMenuPainter() { menus_->UpdateMenus(); }

void TsSkinManager::ReleaseMenus() { menus_->HookAllMenus(false); }

void TsSkinManager::HookMenuItem(TMenuItem* item) { menus_->HookItem(item, true); }

void TsSkinManager::HookFormMenu(TMainMenu* menu) {
  if (!HasState(csDesigning)) menus_->HookMainMenu(menu, TsSkinData::Instance().SkinLoaded);
}

void TsSkinManager::RedrawHighlightedBarItem(TsSkinProvider* provider) {
  TMenuItem* item = menus_->HighlightedBarItem();
  TMainMenu* menu = provider->Form() ? provider->Form()->Menu() : nullptr;
  if (!item || !menu || !menu->HoldsItem(item)) return;
  const RECT rect = menus_->HighlightedBarRect();
  menus_->ForgetHighlightedBarItem();
  provider->RedrawMenuItem(item, rect, 0);
}

String TsSkinManager::ListAvailableSkins(std::vector<String>& list) const {
  list.clear();
  String first;
  for (int i = 0; i < internalSkins_.Count(); ++i) list.push_back(internalSkins_.Item<TsStoredSkin>(i)->Name());
  if (!list.empty()) first = list.front();
  String dir = ResolveSkinDirectory();
  if (!DirectoryExists(dir)) return first;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((dir + L"\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return first;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.cFileName[0] != L'.') {
      list.push_back(data.cFileName);
      if (first.empty()) first = data.cFileName;
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return first;
}

void TsSkinManager::BroadcastSkinMessage(UINT message) {
  std::vector<TCustomForm*> forms;
  if (HasState(csDesigning)) {
    if (Screen)
      for (int i = 0; i < Screen->FormCount(); ++i) forms.push_back(Screen->Forms(i));
  } else if (Application) {
    for (TComponent* c : Application->ComponentList())
      if (auto* form = dynamic_cast<TCustomForm*>(c); form && !form->HasState(csDestroying)) forms.push_back(form);
  }
  // Forms made without the application object (tests, design surfaces) are
  // reached through the manager's own form.
  if (hostForm_ && std::find(forms.begin(), forms.end(), hostForm_) == forms.end() &&
      !hostForm_->HasState(csDestroying))
    forms.push_back(hostForm_);
  for (TCustomForm* form : forms) {
    try {
      SendToForm(form, message);
    } catch (...) {
      // One form's failure does not keep the others in the old skin.
    }
  }
}

void TsSkinManager::SendToForm(TCustomForm* form, UINT message) {
  LPARAM self = reinterpret_cast<LPARAM>(this);
  if (message == SKM_REPAINTALL && form->HandleAllocated()) SendMessageW(form->Handle(), message, 0, self);
  if (form->FormStyle() == fsMDIForm && form->ClientHandle()) SendMessageW(form->ClientHandle(), message, 0, self);
  std::vector<TComponent*> owned = form->ComponentList();
  for (TComponent* c : owned) {
    if (c->HasState(csDestroying | csReading)) break;
    if (auto* target = dynamic_cast<TsSkinMessageTarget*>(c)) {
      if (message == SKM_REPAINTALL) continue;
      TMessage m{message, 0, self, 0};
      target->SkinMessage(m);
    } else if (auto* w = dynamic_cast<TWinControl*>(c); w && w->HandleAllocated()) {
      SendMessageW(w->Handle(), message, 0, self);
    } else if (auto* control = dynamic_cast<TControl*>(c)) {
      // A control without a window yet gets the message through its handler:
      // creating a child's window before its form's makes the framework
      // build that child's window twice.
      control->Perform(message, 0, self);
    }
  }
}

KESTU_PUBLISH(TsSkinGeneral) {
  using G = TsSkinGeneral;
  const std::vector<std::string> bevels(std::begin(kControlBevelNames), std::end(kControlBevelNames));
  p.Str("SectionName", &G::SectionName, &G::SetSectionName);
  p.Str("ParentClassName", &G::ParentClassName, &G::SetParentClassName);
  p.Color("PaintingColor", &G::PaintingColor, &G::SetPaintingColor, 0);
  p.Enum("PaintingBevel", &G::PaintingBevel, &G::SetPaintingBevel, 0, bevels);
  p.Int("PaintingBevelWidth", &G::PaintingBevelWidth, &G::SetPaintingBevelWidth);
  p.Int("ShadowBlur", &G::ShadowBlur, &G::SetShadowBlur);
  p.Color("ShadowColor", &G::ShadowColor, &G::SetShadowColor, 0);
  p.Bool("ShadowDontUse", &G::ShadowDontUse, &G::SetShadowDontUse);
  p.Bool("ShadowEnabled", &G::ShadowEnabled, &G::SetShadowEnabled);
  p.Bool("ReservedBoolean", &G::ReservedBoolean, &G::SetReservedBoolean);
  p.Int("ShadowOffset", &G::ShadowOffset, &G::SetShadowOffset);
  p.Int("ShadowTransparency", &G::ShadowTransparency, &G::SetShadowTransparency);
  p.Str("FontColor", &G::FontColor, &G::SetFontColor);
  p.Str("HotFontColor", &G::HotFontColor, &G::SetHotFontColor);
  p.Int("PaintingTransparency", &G::PaintingTransparency, &G::SetPaintingTransparency);
  p.Int("GradientPercent", &G::GradientPercent, &G::SetGradientPercent);
  p.Str("GradientData", &G::GradientData, &G::SetGradientData);
  p.Int("ImagePercent", &G::ImagePercent, &G::SetImagePercent);
  p.Bool("ShowFocus", &G::ShowFocus, &G::SetShowFocus);
  p.Bool("FadingEnabled", &G::FadingEnabled, &G::SetFadingEnabled);
  p.Int("FadingIntervalIn", &G::FadingIntervalIn, &G::SetFadingIntervalIn);
  p.Int("FadingIntervalOut", &G::FadingIntervalOut, &G::SetFadingIntervalOut);
  p.Int("FadingIterations", &G::FadingIterations, &G::SetFadingIterations);
  p.Color("HotPaintingColor", &G::HotPaintingColor, &G::SetHotPaintingColor, 0);
  p.Int("HotPaintingTransparency", &G::HotPaintingTransparency, &G::SetHotPaintingTransparency);
  p.Enum("HotPaintingBevel", &G::HotPaintingBevel, &G::SetHotPaintingBevel, 0, bevels);
  p.Int("HotPaintingBevelWidth", &G::HotPaintingBevelWidth, &G::SetHotPaintingBevelWidth);
  p.Int("HotGradientPercent", &G::HotGradientPercent, &G::SetHotGradientPercent);
  p.Str("HotGradientData", &G::HotGradientData, &G::SetHotGradientData);
  p.Int("HotImagePercent", &G::HotImagePercent, &G::SetHotImagePercent);
  p.Color("PaintingColorBorderTop", &G::PaintingColorBorderTop, &G::SetPaintingColorBorderTop, 0);
  p.Color("PaintingColorBorderBottom", &G::PaintingColorBorderBottom, &G::SetPaintingColorBorderBottom, 0);
  p.Enum("SelectionBorderBevel", &G::SelectionBorderBevel, &G::SetSelectionBorderBevel, 0,
         {std::begin(kEditorBevelNames), std::end(kEditorBevelNames)});
  p.Int("SelectionBorderWidth", &G::SelectionBorderWidth, &G::SetSelectionBorderWidth);
  p.Color("SelectionColor", &G::SelectionColor, &G::SetSelectionColor, 0);
  p.Str("Name", &G::Name, &G::SetName);
}

KESTU_PUBLISH(TsSkinImage) {
  using I = TsSkinImage;
  p.Str("SectionName", &I::SectionName, &I::SetSectionName);
  p.Object("Image", &I::Image);
  p.Str("Name", &I::Name, &I::SetName);
  p.Str("PropertyName", &I::PropertyName, &I::SetPropertyName);
  p.Int("Left", &I::Left, &I::SetLeft);
  p.Int("Top", &I::Top, &I::SetTop);
  p.Int("Right", &I::Right, &I::SetRight);
  p.Int("Bottom", &I::Bottom, &I::SetBottom);
  p.Int("ImageCount", &I::ImageCount, &I::SetImageCount);
  p.Int("MaskType", &I::MaskType, &I::SetMaskType);
}

KESTU_PUBLISH(TsSkinPattern) {
  using P = TsSkinPattern;
  p.Str("SectionName", &P::SectionName, &P::SetSectionName);
  p.Object("Image", &P::Image);
  p.Str("Name", &P::Name, &P::SetName);
  p.Str("PropertyName", &P::PropertyName, &P::SetPropertyName);
}

KESTU_PUBLISH(TsStoredSkin) {
  p.Str("Name", &TsStoredSkin::Name, &TsStoredSkin::SetName);
  p.Collection("GeneralData", &TsStoredSkin::GeneralData);
  p.Collection("Images", &TsStoredSkin::Images);
  p.Collection("Patterns", &TsStoredSkin::Patterns);
  p.Object("MasterBitmap", &TsStoredSkin::MasterBitmap);
}

KESTU_PUBLISH(TsSkinManager) {
  using M = TsSkinManager;
  p.Bool("Active", &M::Active, &M::SetActive, true);
  p.Collection("InternalSkins", &M::InternalSkins);
  p.Str("SkinDirectory", &M::SkinDirectory, &M::SetSkinDirectory);
  p.Str("SkinName", &M::SkinName, &M::SetSkinName);
  p.Event("OnAfterChange", &M::SetOnAfterChange);
  p.Event("OnBeforeChange", &M::SetOnBeforeChange);
}

}  // namespace kestu
