#include "framework/Menus.h"

#include <algorithm>
#include <cwctype>

#include "framework/Forms.h"
#include "framework/ImgList.h"

namespace kestu {

namespace {

UINT NextCommand() {
  static UINT next = 100;
  if (next >= 0xF000) next = 100;  // command ids stay below the system commands
  return next++;
}

std::vector<TPopupMenu*>& PopupMenus() {
  static auto* menus = new std::vector<TPopupMenu*>;  // outlives menus freed after main
  return *menus;
}

const struct {
  WORD key;
  const wchar_t* name;
} kKeyNames[] = {{VK_BACK, L"BkSp"}, {VK_TAB, L"Tab"}, {VK_RETURN, L"Enter"}, {VK_ESCAPE, L"Esc"},
                 {VK_SPACE, L"Space"}, {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"}, {VK_END, L"End"},
                 {VK_HOME, L"Home"}, {VK_LEFT, L"Left"}, {VK_UP, L"Up"}, {VK_RIGHT, L"Right"},
                 {VK_DOWN, L"Down"}, {VK_INSERT, L"Ins"}, {VK_DELETE, L"Del"}};

}  // namespace

TShortCut ShortCut(WORD key, TShiftState shift) {
  TShortCut s = TShortCut(key & 0xFF);
  if (shift & ssShift) s |= scShift;
  if (shift & ssCtrl) s |= scCtrl;
  if (shift & ssAlt) s |= scAlt;
  return s;
}

String ShortCutToText(TShortCut shortCut) {
  const WORD key = shortCut & 0xFF;
  String name;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) name = String(1, wchar_t(key));
  else if (key >= VK_F1 && key <= VK_F24) name = L"F" + std::to_wstring(key - VK_F1 + 1);
  else
    for (const auto& k : kKeyNames)
      if (k.key == key) name = k.name;
  if (name.empty()) return {};
  String text;
  if (shortCut & scShift) text += L"Shift+";
  if (shortCut & scCtrl) text += L"Ctrl+";
  if (shortCut & scAlt) text += L"Alt+";
  return text + name;
}

TShortCut TextToShortCut(const String& text) {
  for (TShortCut s = 0; s < 0xFF; ++s) {
    const String name = ShortCutToText(s);
    if (name.empty()) continue;
    for (TShortCut mods : {TShortCut(0), TShortCut(scShift), TShortCut(scCtrl), TShortCut(scAlt),
                           TShortCut(scShift | scCtrl), TShortCut(scCtrl | scAlt), TShortCut(scShift | scAlt),
                           TShortCut(scShift | scCtrl | scAlt)})
      if (CompareStringOrdinal(ShortCutToText(TShortCut(s | mods)).c_str(), -1, text.c_str(), -1, TRUE) == CSTR_EQUAL)
        return TShortCut(s | mods);
  }
  return 0;
}

String StripHotkey(const String& caption) {
  String out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&') {
      if (i + 1 < caption.size() && caption[i + 1] == L'&') out += L'&';
      else if (i + 1 >= caption.size()) out += L'&';
      if (i + 1 < caption.size() && caption[i + 1] == L'&') ++i;
      continue;
    }
    out += caption[i];
  }
  return out;
}

std::vector<String> AssignHotkeys(const std::vector<String>& captions) {
  std::vector<String> out = captions;
  std::vector<wchar_t> used;
  auto mnemonicOf = [](const String& c) -> wchar_t {
    for (std::size_t i = 0; i + 1 < c.size(); ++i) {
      if (c[i] != L'&') continue;
      if (c[i + 1] == L'&') {
        ++i;
        continue;
      }
      return wchar_t(std::towupper(c[i + 1]));
    }
    return 0;
  };
  for (const String& c : captions)
    if (wchar_t m = mnemonicOf(c)) used.push_back(m);
  for (String& c : out) {
    if (c.empty() || c == L"-" || mnemonicOf(c)) continue;
    for (std::size_t i = 0; i < c.size(); ++i) {
      const wchar_t u = wchar_t(std::towupper(c[i]));
      if (!std::iswalnum(c[i]) || u > 0x7F || std::find(used.begin(), used.end(), u) != used.end()) continue;
      used.push_back(u);
      c.insert(i, 1, L'&');
      break;
    }
  }
  return out;
}

// ---------------------------------------------------------------------------
// TMenuItem

KESTU_PUBLISH(TMenuItem) {
  p.Str("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
  p.Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false);
  p.Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true);
  p.Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault, false);
  p.Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true);
  p.Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false);
  p.Int("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, 0);
  p.Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1);
  p.Int("ShortCut", &TMenuItem::ShortCutValue, &TMenuItem::SetShortCutValue, 0);
  p.Str("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
  p.Object("Bitmap", &TMenuItem::Bitmap);
  p.Event("OnClick", &TMenuItem::SetOnClick);
  p.Event("OnMeasureItem", &TMenuItem::SetOnMeasureItem);
  p.Event("OnDrawItem", &TMenuItem::SetOnDrawItem);
  p.Event("OnAdvancedDrawItem", &TMenuItem::SetOnAdvancedDrawItem);
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(NextCommand()) {
  bitmap_.SetOnChange([this](TObject*) { MenuChanged(true); });
}

TMenuItem::~TMenuItem() {
  Destroying();
  if (parent_) parent_->Remove(this);
  while (!items_.empty()) {
    TMenuItem* child = items_.back();
    items_.pop_back();
    child->parent_ = nullptr;
    if (!child->Owner()) delete child;  // children nobody owns go with us
  }
  DestroyHandle();
}

void TMenuItem::DestroyHandle() {
  if (handle_) DestroyMenu(handle_);
  handle_ = nullptr;
}

#define KESTU_MENU_SETTER(Name, field)  \
  void TMenuItem::Set##Name(decltype(field) v) { \
    if (v == field) return;                 \
    field = v;                              \
    MenuChanged(true);                      \
  }
void TMenuItem::SetCaption(const String& v) {
  if (v == caption_) return;
  caption_ = v;
  MenuChanged(true);
}
// Checking a radio item unchecks the radio items of its group beside it.
void TMenuItem::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  if (v && radioItem_ && parent_)
    for (TMenuItem* sibling : parent_->items_)
      if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_) sibling->checked_ = false;
  MenuChanged(true);
}
KESTU_MENU_SETTER(Enabled, enabled_)
KESTU_MENU_SETTER(Default, default_)
KESTU_MENU_SETTER(Visible, visible_)
KESTU_MENU_SETTER(RadioItem, radioItem_)
KESTU_MENU_SETTER(GroupIndex, groupIndex_)
KESTU_MENU_SETTER(ImageIndex, imageIndex_)
#undef KESTU_MENU_SETTER

void TMenuItem::SetShortCutValue(int v) {
  if (TShortCut(v) == shortCut_) return;
  shortCut_ = TShortCut(v);
  MenuChanged(true);
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (item->parent_) throw EComponentError(L"Menu item is already in a menu");
  items_.insert(items_.begin() + std::clamp(index, 0, Count()), item);
  item->parent_ = this;
  MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  MenuChanged(true);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const String& caption) const {
  const String wanted = StripHotkey(caption);
  for (TMenuItem* item : items_)
    if (CompareStringOrdinal(StripHotkey(item->caption_).c_str(), -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL)
      return item;
  return nullptr;
}

bool TMenuItem::InMenuBar() const { return parent_ && dynamic_cast<const TMainMenu*>(parent_->menu_); }

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

void TMenuItem::SetParentComponent(TComponent* value) {
  if (auto* menu = dynamic_cast<TMenu*>(value)) menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(value)) item->Add(this);
}

void TMenuItem::MenuChanged(bool rebuild) {
  if (HasState(csDestroying)) return;
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this, rebuild);
}

HMENU TMenuItem::Handle() {
  if (!handle_) {
    handle_ = CreatePopupMenu();
    TMenu* menu = GetParentMenu();
    FillMenu(handle_, items_, menu, menu && menu->OwnerDraw(), false);
  }
  return handle_;
}

void TMenuItem::FillMenu(HMENU menu, const std::vector<TMenuItem*>& items, const TMenu* hotkeysOf, bool ownerDraw,
                         bool menuBar) {
  std::vector<String> captions;
  for (TMenuItem* item : items) captions.push_back(item->caption_);
  if (!hotkeysOf || hotkeysOf->AutoHotkeys() == maAutomatic) captions = AssignHotkeys(captions);
  for (std::size_t i = 0; i < items.size(); ++i) {
    TMenuItem* item = items[i];
    if (!item->visible_) continue;
    String text = captions[i];
    if (item->shortCut_ && !menuBar) text += L"\t" + ShortCutToText(item->shortCut_);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
    info.fType = item->IsLine() ? MFT_SEPARATOR : 0;
    // The menu bar keeps its own look for items nobody measures for it.
    if (ownerDraw && (!menuBar || item->onMeasureItem_)) info.fType |= MFT_OWNERDRAW;
    if (item->radioItem_) info.fType |= MFT_RADIOCHECK;
    info.fState = (item->enabled_ ? MFS_ENABLED : MFS_GRAYED) | (item->checked_ ? MFS_CHECKED : 0) |
                  (item->default_ ? MFS_DEFAULT : 0);
    info.wID = item->command_;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    info.dwTypeData = text.data();
    if (!ownerDraw && !item->bitmap_.Empty()) {
      info.fMask |= MIIM_BITMAP;
      info.hbmpItem = item->bitmap_.Handle();
    }
    if (!item->items_.empty()) {
      item->DestroyHandle();
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = item->Handle();
      item->handle_ = nullptr;  // now owned by `menu`, destroyed with it
    }
    InsertMenuItemW(menu, UINT(GetMenuItemCount(menu)), TRUE, &info);
  }
}

void TMenuItem::Click() {
  if (onClick_) onClick_(this);
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
  if (InMenuBar()) {
    width = canvas->TextWidth(StripHotkey(caption_));
    height = GetSystemMetrics(SM_CYMENU);
  } else if (IsLine()) {
    width = 0;
    height = GetSystemMetrics(SM_CYMENU) / 2;
  } else {
    String text = StripHotkey(caption_);
    if (shortCut_) text += L"   " + ShortCutToText(shortCut_);
    const SIZE s = canvas->TextExtent(text);
    width = int(s.cx) + GetSystemMetrics(SM_CXMENUCHECK) * 2;
    height = std::max(int(s.cy) + 4, GetSystemMetrics(SM_CYMENU));
  }
  if (onMeasureItem_) onMeasureItem_(this, canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas* canvas, const RECT& rect, TOwnerDrawState state) {
  if (onAdvancedDrawItem_) return onAdvancedDrawItem_(this, canvas, rect, state);
  if (onDrawItem_) return onDrawItem_(this, canvas, rect, (state & odSelected) != 0);
  if (InMenuBar()) return DrawBarItem(canvas, rect, state);
  const bool selected = state & odSelected;
  canvas->Brush()->SetColor(selected ? clHighlight : clMenu);
  canvas->FillRect(rect);
  if (IsLine()) {
    RECT line{rect.left, (rect.top + rect.bottom) / 2 - 1, rect.right, (rect.top + rect.bottom) / 2 + 1};
    DrawEdge(canvas->Handle(), &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  TMenu* menu = GetParentMenu();
  const int checkWidth = GetSystemMetrics(SM_CXMENUCHECK);
  if (menu && menu->Images() && imageIndex_ >= 0) {
    TImageList* images = menu->Images();
    menu->Images()->Draw(canvas, rect.left + 2, rect.top + (rect.bottom - rect.top - images->Height()) / 2,
                         imageIndex_, !(state & (odDisabled | odGrayed)));
  } else if (!bitmap_.Empty()) {
    canvas->Draw(rect.left + 2, rect.top + (rect.bottom - rect.top - bitmap_.Height()) / 2, &bitmap_);
  } else if (checked_) {
    RECT mark{rect.left, rect.top, rect.left + checkWidth + 4, rect.bottom};
    canvas->Font()->SetColor(selected ? clHighlightText : clMenuText);
    canvas->Brush()->SetStyle(bsClear);
    canvas->DrawText(radioItem_ ? L"\x25CF" : L"\x2713", mark, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  canvas->Font()->SetColor((state & (odDisabled | odGrayed)) ? clGrayText : selected ? clHighlightText : clMenuText);
  canvas->Brush()->SetStyle(bsClear);
  RECT r = rect;
  r.left += GetSystemMetrics(SM_CXMENUCHECK) + 4;
  canvas->DrawText(caption_, r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
  if (shortCut_) {
    r.right -= 8;
    canvas->DrawText(ShortCutToText(shortCut_), r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
}

// The caption centred, without the gutter of check marks and images.
void TMenuItem::DrawBarItem(TCanvas* canvas, const RECT& rect, TOwnerDrawState state) {
  const bool highlighted = state & (odSelected | odHotLight);
  canvas->Brush()->SetColor(highlighted ? clHighlight : clMenuBar);
  canvas->FillRect(rect);
  canvas->Font()->SetColor((state & (odDisabled | odGrayed)) ? clGrayText
                           : highlighted                      ? clHighlightText
                                                              : clMenuText);
  canvas->Brush()->SetStyle(bsClear);
  RECT r = rect;
  canvas->DrawText(caption_, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

// ---------------------------------------------------------------------------
// TMenu

KESTU_PUBLISH(TMenu) {
  p.Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw, false);
  p.Ref("Images", &TMenu::Images, &TMenu::SetImages);
  p.Enum("AutoHotkeys", &TMenu::AutoHotkeys, &TMenu::SetAutoHotkeys, maAutomatic,
         {"maAutomatic", "maManual", "maParent"});
}

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner) { items_.menu_ = this; }

TMenu::~TMenu() {
  Destroying();
  // Items owned elsewhere stay alive; they only leave this menu.
  while (items_.Count() > 0) items_.Remove(items_.Items(items_.Count() - 1));
  DestroyHandle();
}

void TMenu::DestroyHandle() {
  if (handle_) DestroyMenu(handle_);
  handle_ = nullptr;
}

void TMenu::SetOwnerDraw(bool v) {
  if (v == ownerDraw_) return;
  ownerDraw_ = v;
  MenuChanged(nullptr, true);
}

void TMenu::SetImages(TImageList* v) {
  if (v == images_) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = v;
  if (v) v->FreeNotification(this);
  MenuChanged(nullptr, true);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == images_) images_ = nullptr;
}

void TMenu::SetAutoHotkeys(TMenuAutoFlag v) {
  if (v == autoHotkeys_) return;
  autoHotkeys_ = v;
  MenuChanged(nullptr, true);
}

HMENU TMenu::Handle() {
  if (!handle_) {
    handle_ = CreateMenuHandle();
    TMenuItem::FillMenu(handle_, TopLevelItems(), this, ownerDraw_, IsMenuBar());
  }
  return handle_;
}

void TMenu::Rebuild() {
  if (!handle_) return;
  while (GetMenuItemCount(handle_) > 0) DeleteMenu(handle_, 0, MF_BYPOSITION);  // frees the submenus
  TMenuItem::FillMenu(handle_, TopLevelItems(), this, ownerDraw_, IsMenuBar());
}

std::vector<TMenuItem*> TMenu::TopLevelItems() const { return items_.items_; }

bool TMenu::HoldsItem(const TMenuItem* item) const { return item->GetParentMenu() == this; }

void TMenu::MenuChanged(TMenuItem* source, bool rebuild) {
  if (HasState(csLoading | csDestroying)) return;
  if (rebuild) Rebuild();
  if (onChange_) onChange_(this, source, rebuild);
}

TMenuItem* TMenu::FindItem(UINT command) {
  std::vector<TMenuItem*> pending = TopLevelItems();
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    if (item->command_ == command) return item;
    for (TMenuItem* child : item->items_) pending.push_back(child);
  }
  return nullptr;
}

bool TMenu::DispatchCommand(UINT command) {
  TMenuItem* item = FindItem(command);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::IsShortCut(TShortCut shortCut) {
  if (!shortCut) return false;
  std::vector<TMenuItem*> pending = TopLevelItems();
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    if (item->shortCut_ == shortCut && item->enabled_ && item->visible_) {
      item->Click();
      return true;
    }
    if (item->enabled_ && item->visible_)
      for (TMenuItem* child : item->items_) pending.push_back(child);
  }
  return false;
}

bool TMenu::MeasureItem(MEASUREITEMSTRUCT& measure) {
  if (!SentByOwnThread()) return false;
  auto* item = reinterpret_cast<TMenuItem*>(measure.itemData);
  if (!item || !HoldsItem(item)) return false;
  WindowDC screen(nullptr);  // released also when the handler fails
  if (!screen.Get()) return false;
  TCanvas canvas(screen.Get());
  if (Screen) canvas.Font()->Assign(Screen->MenuFont());
  int width = 0, height = 0;
  item->MeasureItem(&canvas, width, height);
  measure.itemWidth = UINT(std::max(width, 0));
  measure.itemHeight = UINT(std::max(height, 0));
  return true;
}

bool TMenu::DrawItem(const DRAWITEMSTRUCT& draw) {
  if (!SentByOwnThread()) return false;
  auto* item = reinterpret_cast<TMenuItem*>(draw.itemData);
  if (!item || !HoldsItem(item)) return false;
  SavedDC saved(draw.hDC);
  TCanvas canvas(draw.hDC);
  if (Screen) canvas.Font()->Assign(Screen->MenuFont());
  TOwnerDrawState state = 0;
  if (draw.itemState & ODS_SELECTED) state |= odSelected;
  if (draw.itemState & ODS_GRAYED) state |= odGrayed;
  if (draw.itemState & ODS_DISABLED) state |= odDisabled;
  if (draw.itemState & ODS_CHECKED) state |= odChecked;
  if (draw.itemState & ODS_FOCUS) state |= odFocused;
  if (draw.itemState & ODS_DEFAULT) state |= odDefault;
  if (draw.itemState & ODS_HOTLIGHT) state |= odHotLight;
  if (draw.itemState & ODS_NOACCEL) state |= odNoAccel;
  item->DrawItem(&canvas, draw.rcItem, state);
  return true;
}

// ---------------------------------------------------------------------------
// TMainMenu, TPopupMenu

KESTU_PUBLISH(TMainMenu) { p.Bool("AutoMerge", &TMainMenu::AutoMerge, &TMainMenu::SetAutoMerge, false); }

// The components beside the menu learn of it as a main menu only now.
TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) { AnnounceInsertion(); }

void TMainMenu::MenuChanged(TMenuItem* source, bool rebuild) {
  TMenu::MenuChanged(source, rebuild);
  if (HasState(csLoading | csDestroying)) return;
  if (mergedInto_) mergedInto_->MenuChanged(source, rebuild);  // its bar shows our items
  if (!window_) return;
  DrawMenuBar(window_);
  // Sent, not performed: the window's subclasses (a skin's frame) hear of it too.
  SendMessageW(window_, CM_MENUCHANGED, 0, 0);
}

KESTU_PUBLISH(TPopupMenu) {}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) { PopupMenus().push_back(this); }

TPopupMenu::~TPopupMenu() {
  auto& menus = PopupMenus();
  menus.erase(std::remove(menus.begin(), menus.end(), this), menus.end());
}

namespace {

LRESULT CALLBACK PopupWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    switch (msg) {
      case WM_COMMAND:
        for (TPopupMenu* menu : std::vector<TPopupMenu*>(PopupMenus()))
          if (menu->DispatchCommand(LOWORD(wParam))) return 0;
        return 0;
      // Owner-drawn items of any of our menus (popup menus, and submenus of
      // main menus dropped down from a tool bar) carry their item.
      case WM_MEASUREITEM: {
        if (!SentByOwnThread()) break;
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        auto* item = reinterpret_cast<TMenuItem*>(measure->itemData);
        if (measure->CtlType == ODT_MENU && item && item->GetParentMenu() &&
            item->GetParentMenu()->MeasureItem(*measure))
          return TRUE;
        break;
      }
      case WM_DRAWITEM: {
        if (!SentByOwnThread()) break;
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        auto* item = reinterpret_cast<TMenuItem*>(draw->itemData);
        if (draw->CtlType == ODT_MENU && item && item->GetParentMenu() && item->GetParentMenu()->DrawItem(*draw))
          return TRUE;
        break;
      }
      default: break;
    }
  } catch (...) {
    HandleCallbackException();
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

HWND TPopupMenu::PopupWindow() {
  static HWND window = [] {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PopupWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"KestuPopupMenuWindow";
    RegisterClassExW(&wc);
    return CreateWindowExW(0, L"KestuPopupMenuWindow", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                           nullptr);
  }();
  return window;
}

void TPopupMenu::Popup(int x, int y) {
  if (onPopup_) onPopup_(this);
  Rebuild();
  HWND window = PopupWindow();
  SetForegroundWindow(window);
  const UINT command = UINT(TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0,
                                           window, nullptr));
  PostMessageW(window, WM_NULL, 0, 0);
  if (command) DispatchCommand(command);
}

}  // namespace kestu
