#include "themekit/SUIMainMenu.h"

namespace kestu {

KESTU_PUBLISH(TsuiMainMenu) {
  p.Ref("Images", &TsuiMainMenu::Images, &TsuiMainMenu::SetImages);
  PublishMenuLook(p);
}

TsuiMainMenu::TsuiMainMenu(TComponent* AOwner) : TsuiMenuLook<TMainMenu>(AOwner) {
  ownChecks_ = new TImageList(this);
  AddMenuCheckedImage(ownChecks_);
  TMenu::SetImages(ownChecks_);
  AttachToFrame();
}

TsuiMainMenu::~TsuiMainMenu() = default;

// The owner form's native menu gives way, and the form's frame shows this one.
void TsuiMainMenu::AttachToFrame() {
  auto* form = dynamic_cast<TCustomForm*>(Owner());
  const TClass* frame = FindClass("TsuiForm");
  if (!form || !frame || host_) return;
  form->SetMenu(nullptr);
  for (TControl* c : form->ControlList())
    if (c->InheritsFrom(*frame)) return SetObjectProp(c, "Menu", this);
}

void TsuiMainMenu::Loaded() {
  TsuiMenuLook<TMainMenu>::Loaded();
  // A frame stored after the menu is found now.
  AttachToFrame();
  if (host_) host_->MenuItemsChanged(true);
}

void TsuiMainMenu::SetUseSystemFont(bool v) {
  TsuiMenuLook<TMainMenu>::SetUseSystemFont(v);
  if (host_) host_->MenuFontChanged();
}

void TsuiMainMenu::MenuChanged(TMenuItem* source, bool rebuild) {
  TsuiMenuLook<TMainMenu>::MenuChanged(source, rebuild);
  if (host_) host_->MenuItemsChanged(HasState(csDesigning) || rebuild);
}

}  // namespace kestu
