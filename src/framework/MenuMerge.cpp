// Merging one main menu into another: the merged menu keeps its items, the
// menu it is merged into only lists them among its own top-level items.
#include <algorithm>

#include "framework/Menus.h"

namespace kestu {

TMainMenu::~TMainMenu() {
  Destroying();
  // Neither menu may keep showing or pointing at the other once one is gone.
  if (mergedInto_) mergedInto_->Unmerge(this);
  DetachMerged();
}

std::vector<TMenuItem*> TMainMenu::TopLevelItems() const {
  std::vector<TMenuItem*> items = TMenu::TopLevelItems();
  if (!merged_) return items;
  const std::vector<TMenuItem*> incoming = merged_->TMenu::TopLevelItems();
  auto mergedGroup = [&](int group) {
    return std::any_of(incoming.begin(), incoming.end(), [group](TMenuItem* i) { return i->GroupIndex() == group; });
  };
  std::erase_if(items, [&](TMenuItem* item) { return mergedGroup(item->GroupIndex()); });
  // What is left of a group the merged menu also has is nothing, so "after
  // the last item of a lower group" is also after the merged items of the
  // same group that went in before: the merged items keep their order.
  for (TMenuItem* item : incoming) {
    auto after = std::find_if(items.rbegin(), items.rend(),
                              [item](TMenuItem* i) { return i->GroupIndex() <= item->GroupIndex(); });
    items.insert(after.base(), item);
  }
  return items;
}

bool TMainMenu::HoldsItem(const TMenuItem* item) const {
  return TMenu::HoldsItem(item) || (merged_ && merged_->TMenu::HoldsItem(item));
}

void TMainMenu::Merge(TMainMenu* menu) {
  if (menu == merged_) return;
  // One level only: a menu shown in another bar shows no third one, which
  // also keeps change notices from running in a circle.
  if (menu && (menu == this || mergedInto_ || menu->merged_))
    throw EComponentError(L"A merged menu cannot have menus merged into it");
  if (menu && menu->mergedInto_) menu->mergedInto_->Unmerge(menu);
  DetachMerged();
  merged_ = menu;
  if (menu) {
    menu->mergedInto_ = this;
    FreeNotification(menu);
  }
  MenuChanged(nullptr, true);
}

void TMainMenu::Unmerge(TMainMenu* menu) {
  if (!menu || menu != merged_) return;
  DetachMerged();
  MenuChanged(nullptr, true);
}

void TMainMenu::DetachMerged() {
  if (!merged_) return;
  merged_->mergedInto_ = nullptr;
  RemoveFreeNotification(merged_);
  merged_ = nullptr;
}

void TMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == merged_) Unmerge(merged_);
  if (AComponent == mergedInto_) mergedInto_ = nullptr;
}

}  // namespace kestu
