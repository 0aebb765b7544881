// A form's menu shown in another form's menu bar: an MDI child's in its
// frame's while the child is active, an AutoMerge menu in the main form's
// while its form is shown.
#include "framework/Forms.h"
#include "framework/MessageOrigin.h"

namespace kestu {

TCustomForm* TCustomForm::MenuHost() const {
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (!main || main == this) return nullptr;
  if (formStyle_ == fsMDIChild) return main->FormStyle() == fsMDIForm ? main : nullptr;
  return menu_ && menu_->AutoMerge() ? main : nullptr;
}

bool TCustomForm::ShowsOwnMenu() const { return menu_ && !MenuHost(); }

void TCustomForm::MergeMenu(bool merge) {
  TCustomForm* host = MenuHost();
  TMainMenu* hostMenu = host ? host->Menu() : nullptr;
  if (!hostMenu) return;
  // An MDI child without a menu merges nothing: the last child's items go.
  if (merge) hostMenu->Merge(menu_);
  else hostMenu->Unmerge(menu_);
}

// Sent to the child losing the activation (lParam another child or none)
// and to the one gaining it (lParam itself). Only our own handle is compared.
void TCustomForm::WmMdiActivate(TMessage& m) {
  TWinControl::WndProc(m);
  if (formStyle_ != fsMDIChild || !SentByOwnThread()) return;
  MergeMenu(reinterpret_cast<HWND>(m.LParam) == Handle());
}

bool TCustomForm::IsShortCut(WORD key, TShiftState shift) {
  if (TCustomForm* host = formStyle_ == fsMDIChild ? MenuHost() : nullptr; host && host->Menu())
    return host->IsShortCut(key, shift);
  return menu_ && menu_->IsShortCut(ShortCut(key, shift));
}

}  // namespace kestu
