#include "skin/sSystemMenu.h"

#include "skin/sSkinProvider.h"

namespace kestu {

TsSystemMenu::TsSystemMenu(TsSkinProvider* provider) : TPopupMenu(provider), provider_(provider) {
  ItemRestore = AddItem(L"ItemRestore", L"Restore", [this](TObject*) {
    SystemCommand(SC_RESTORE);
    RefreshSystemMenu();
  });
  ItemMove = AddItem(L"ItemMove", L"Move", [this](TObject*) { SystemCommand(SC_MOVE); });
  ItemSize = AddItem(L"Itemsize", L"Size", [this](TObject*) { SystemCommand(SC_SIZE); });
  ItemMinimize = AddItem(L"ItemMinimize", L"Minimize", [this](TObject*) {
    provider_->MinimizeForm();
    RefreshSystemMenu();
  });
  ItemMaximize = AddItem(L"ItemMaximize", L"Maximize", [this](TObject*) {
    SystemCommand(SC_MAXIMIZE);
    RefreshSystemMenu();
  });
  AddItem(L"", L"-", nullptr);
  ItemClose = AddItem(L"ItemClose", L"Close", [this](TObject*) { SystemCommand(SC_CLOSE); });
  ItemClose->SetShortCut(scAlt | VK_F4);
}

TMenuItem* TsSystemMenu::AddItem(const wchar_t* name, const wchar_t* caption, TNotifyEvent click) {
  auto* item = new TMenuItem(this);
  if (*name) item->SetName(name);
  item->SetCaption(caption);
  item->SetOnClick(std::move(click));
  Items()->Add(item);
  return item;
}

TCustomForm* TsSystemMenu::Form() const { return provider_->Form(); }
int TsSystemMenu::Style() const { return Form() ? int(Form()->BorderStyle()) : 0; }

void TsSystemMenu::SystemCommand(WPARAM command) {
  if (TCustomForm* form = Form(); form && form->HandleAllocated())
    SendMessageW(form->Handle(), WM_SYSCOMMAND, command, 0);
}

void TsSystemMenu::MakeSkinItems() {
  TsSkinManager* manager = provider_->Manager();
  if (!manager || SkinSelectItem) return;
  std::vector<String> skins;
  manager->ListAvailableSkins(skins);
  if (skins.empty()) return;
  SkinSelectItem = new TMenuItem(this);
  SkinSelectItem->SetName(L"SkinSelectItem");
  SkinSelectItem->SetCaption(L"Available skins");
  Items()->Insert(0, SkinSelectItem);
  auto* separator = new TMenuItem(this);
  separator->SetCaption(L"-");
  Items()->Insert(1, separator);
  for (std::size_t i = 0; i < skins.size(); ++i) {
    auto* item = new TMenuItem(this);
    item->SetName(L"SkinSelectItem" + std::to_wstring(i));
    item->SetCaption(skins[i]);
    item->SetOnClick([this](TObject* sender) { SkinClick(sender); });
    SkinSelectItem->Add(item);
  }
}

void TsSystemMenu::SkinClick(TObject* sender) {
  TsSkinManager* manager = provider_->Manager();
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!manager || !item) return;
  String name = item->Caption();
  std::erase(name, L'&');
  manager->SetSkinName(name);
  if (!manager->Active()) manager->SetActive(true);
}

bool TsSystemMenu::CloseVisible() const { return provider_->BorderIcons() & biSystemMenu; }
bool TsSystemMenu::MaxVisible() const { return CloseVisible() && Style() == bsSizeable; }
bool TsSystemMenu::MinVisible() const { return CloseVisible() && (Style() == bsSingle || Style() == bsSizeable); }
bool TsSystemMenu::SizeVisible() const {
  return Style() == bsSingle || Style() == bsSizeable || Style() == bsSizeToolWin;
}
bool TsSystemMenu::MaxEnabled() const {
  return (provider_->BorderIcons() & biMaximize) && Form() && Form()->WindowState() != wsMaximized;
}
bool TsSystemMenu::MinEnabled() const {
  return (provider_->BorderIcons() & biMinimize) && Form() && Form()->WindowState() != wsMinimized;
}
bool TsSystemMenu::RestoreEnabled() const {
  return (provider_->BorderIcons() & biMaximize) && Form() && Form()->WindowState() != wsNormal;
}
bool TsSystemMenu::MoveEnabled() const { return Form() && Form()->WindowState() != wsMaximized; }
bool TsSystemMenu::SizeEnabled() const { return Style() != bsSingle; }

void TsSystemMenu::RefreshSystemMenu() {
  ItemRestore->SetVisible(RestoreVisible());
  ItemMove->SetVisible(true);
  ItemSize->SetVisible(SizeVisible());
  ItemMinimize->SetVisible(MinVisible());
  ItemMaximize->SetVisible(MaxVisible());
  ItemClose->SetVisible(CloseVisible());
  ItemRestore->SetEnabled(RestoreEnabled());
  ItemMove->SetEnabled(MoveEnabled());
  ItemSize->SetEnabled(SizeEnabled());
  ItemMinimize->SetEnabled(MinEnabled());
  ItemMaximize->SetEnabled(MaxEnabled());
  ItemClose->SetEnabled(true);
}

KESTU_PUBLISH(TsSystemMenu) {}

}  // namespace kestu
