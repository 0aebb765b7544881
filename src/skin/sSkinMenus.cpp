#include "skin/sSkinMenus.h"

#include "framework/ImgList.h"
#include "skin/MenuBackgroundCache.h"
#include "skin/SkinGdi.h"
#include "skin/core/FrameGeometry.h"
#include "skin/core/PixelLib.h"
#include "skin/core/SkinData.h"
#include "skin/sSkinManager.h"
#include "skin/sSkinProvider.h"

#include <algorithm>

namespace kestu {

namespace {

// The item MDI support puts first on the menu bar of a maximised child.
constexpr const wchar_t* kMdiIconItem = L"sMDICII";

template <class Handler, class Event> bool Holds(const Event& event, const TsSkinableMenus* painter) {
  const Handler* handler = event.template target<Handler>();
  return handler && handler->Painter == painter;
}

bool OwnMeasure(const TMenuItem* item, const TsSkinableMenus* p) {
  return Holds<TsMenuItemMeasure>(item->OnMeasureItem(), p) || Holds<TsMenuBarMeasure>(item->OnMeasureItem(), p);
}
bool OwnDraw(const TMenuItem* item, const TsSkinableMenus* p) {
  return Holds<TsMenuItemDraw>(item->OnAdvancedDrawItem(), p) || Holds<TsMenuBarDraw>(item->OnAdvancedDrawItem(), p);
}

// Gives the item the painter's measure handler H unless it measures itself.
template <class H> bool PutMeasure(TMenuItem* item, TsSkinableMenus* p) {
  const auto& current = item->OnMeasureItem();
  if ((current && !OwnMeasure(item, p)) || Holds<H>(current, p)) return false;
  item->SetOnMeasureItem(H{p});
  return true;
}
// Gives the item the painter's draw handler H unless it draws itself.
template <class H> bool PutDraw(TMenuItem* item, TsSkinableMenus* p) {
  const auto& current = item->OnAdvancedDrawItem();
  if (item->OnDrawItem() || (current && !OwnDraw(item, p)) || Holds<H>(current, p)) return false;
  item->SetOnAdvancedDrawItem(H{p});
  return true;
}
template <class H> bool TakeMeasure(TMenuItem* item, const TsSkinableMenus* p) {
  if (!Holds<H>(item->OnMeasureItem(), p)) return false;
  item->SetOnMeasureItem(nullptr);
  return true;
}
template <class H> bool TakeDraw(TMenuItem* item, const TsSkinableMenus* p) {
  if (!Holds<H>(item->OnAdvancedDrawItem(), p)) return false;
  item->SetOnAdvancedDrawItem(nullptr);
  return true;
}

// Somebody else still measures or draws an item of this tree.
bool OthersDraw(const TMenuItem* item, const TsSkinableMenus* p) {
  if ((item->OnMeasureItem() && !OwnMeasure(item, p)) || item->OnDrawItem() ||
      (item->OnAdvancedDrawItem() && !OwnDraw(item, p)))
    return true;
  for (int i = 0; i < item->Count(); ++i)
    if (OthersDraw(item->Items(i), p)) return true;
  return false;
}

void UseMenuFont(TCanvas* canvas) {
  if (Screen) canvas->Font()->Assign(Screen->MenuFont());
}

TCustomForm* FormOwning(const TComponent* c) {
  for (; c; c = c->Owner())
    if (auto* form = dynamic_cast<const TCustomForm*>(c)) return const_cast<TCustomForm*>(form);
  return nullptr;
}

// The main menu whose bar shows the item's menu: the one it is merged into,
// else its own (none for items of other menus).
TMainMenu* BarMenuOf(const TMenuItem* item) {
  auto* menu = dynamic_cast<TMainMenu*>(item->GetParentMenu());
  return menu && menu->MergedInto() ? menu->MergedInto() : menu;
}

// The form the item belongs to: through its owners, else its menu's; for an
// item of a merged menu, the form whose bar shows it.
TCustomForm* FormOf(const TMenuItem* item) {
  if (TMainMenu* bar = BarMenuOf(item); bar && bar != item->GetParentMenu()) return FormOwning(bar);
  if (TCustomForm* form = FormOwning(item)) return form;
  return FormOwning(item->GetParentMenu());
}

TCustomForm* MdiParentOf(TCustomForm* form) {
  if (form && form->FormStyle() == fsMDIForm) return form;
  if (form && form->FormStyle() == fsMDIChild && Application && Application->MainForm() &&
      Application->MainForm()->FormStyle() == fsMDIForm)
    return Application->MainForm();
  return nullptr;
}

// The items beside the item on its bar, merged ones among them (its parent's
// items for an item of another menu).
std::vector<TMenuItem*> BarItemsBeside(const TMenuItem* item) {
  if (TMainMenu* bar = BarMenuOf(item)) return bar->TopLevelItems();
  std::vector<TMenuItem*> items;
  for (int i = 0; i < item->Parent()->Count(); ++i) items.push_back(item->Parent()->Items(i));
  return items;
}
bool IsFirstBarItem(const TMenuItem* item) {
  const std::vector<TMenuItem*> items = BarItemsBeside(item);
  return !items.empty() && items.front() == item;
}
bool IsLastBarItem(const TMenuItem* item) {
  const std::vector<TMenuItem*> items = BarItemsBeside(item);
  return !items.empty() && items.back() == item;
}

TsSkinProvider* ProviderOf(TCustomForm* form) {
  return form && form->HandleAllocated() ? TsSkinProvider::Of(form->Handle()) : nullptr;
}

const TsGeneralData* SectionData(const TsSkinData& skin, const char* name) {
  const int index = skin.FindSectionIndex(name);
  return skin.IsValidSection(index) ? &skin.gd[std::size_t(index)] : nullptr;
}

String ShortCutTextOf(const TMenuItem* item) { return item->ShortCut() ? ShortCutToText(item->ShortCut()) : String(); }

PixRect ToPix(const RECT& r) { return {int(r.left), int(r.top), int(r.right), int(r.bottom)}; }

void FillPolygon(HDC dc, const std::array<PixPoint, 6>& corners, int dx, int dy, COLORREF colour) {
  POINT points[6];
  for (std::size_t i = 0; i < corners.size(); ++i) points[i] = {corners[i].X + dx, corners[i].Y + dy};
  GdiHandle<HBRUSH> brush(CreateSolidBrush(colour));
  GdiHandle<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
  SelectedObject selectedBrush(dc, brush.Get());
  SelectedObject selectedPen(dc, pen.Get());
  Polygon(dc, points, 6);
}

// Black, or for a disabled item once offset in the 3-D light colour and then
// in place in the button shadow, like engraved text.
void DrawCheckMark(HDC dc, PixRect box, bool enabled) {
  const auto corners = CheckMarkPolygon(box);
  if (enabled) return FillPolygon(dc, corners, 0, 0, RGB(0, 0, 0));
  FillPolygon(dc, corners, 1, 1, GetSysColor(COLOR_3DLIGHT));
  FillPolygon(dc, corners, 0, 0, GetSysColor(COLOR_BTNSHADOW));
}

}  // namespace

TCustomForm* MaximizedChildWithIcon(TCustomForm* mdiParent) {
  TCustomForm* child = mdiParent ? mdiParent->ActiveMDIChild() : nullptr;
  if (!child || child->WindowState() != wsMaximized || child->Icon()->Empty()) return nullptr;
  return child;
}

// ---- handlers

void TsMenuItemMeasure::operator()(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height) const {
  Painter->MeasureItem(static_cast<TMenuItem*>(Sender), ACanvas, Width, Height);
}
void TsMenuItemDraw::operator()(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, TOwnerDrawState State) const {
  Painter->DrawItem(static_cast<TMenuItem*>(Sender), ACanvas, ARect, State);
}
void TsMenuBarMeasure::operator()(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height) const {
  Painter->MeasureBarItem(static_cast<TMenuItem*>(Sender), ACanvas, Width, Height);
}
void TsMenuBarDraw::operator()(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, TOwnerDrawState State) const {
  Painter->DrawBarItem(static_cast<TMenuItem*>(Sender), ACanvas, ARect, State);
}

// ---- the painter

KESTU_PUBLISH(TsSkinableMenus) {
  using M = TsSkinableMenus;
  p.Enum("Alignment", &M::Alignment, &M::SetAlignment, taLeftJustify, {"taLeftJustify", "taRightJustify", "taCenter"});
  p.Int("BevelWidth", &M::BevelWidth, &M::SetBevelWidth, 0);
  p.Int("BorderWidth", &M::BorderWidth, &M::SetBorderWidth, 0);
  p.Object("CaptionFont", &M::CaptionFont);
  p.Int("Margin", &M::Margin, &M::SetMargin, 4);
  p.Event("OnDrawItem", &M::SetOnDrawItem);
}

TsSkinableMenus::TsSkinableMenus(TsSkinManager* manager)
    : manager_(manager), hostForm_(manager ? manager->HostForm() : nullptr) {}

// Items must not keep handlers that point at a painter that is gone.
TsSkinableMenus::~TsSkinableMenus() {
  ForEachMenuComponent([this](TComponent* c) {
    if (auto* menu = dynamic_cast<TMenu*>(c)) ReleaseTree(menu->Items());
    else if (auto* item = dynamic_cast<TMenuItem*>(c)) ReleaseTree(item);
  });
}

bool TsSkinableMenus::Designing() const { return manager_ && manager_->HasState(csDesigning); }

// ---- taking menus over

// Both bar handlers (the draw handler only when asked), replacing the
// painter's others; true when something changed.
bool TsSkinableMenus::HookBarItem(TMenuItem* item, bool withDraw) {
  bool changed = TakeMeasure<TsMenuItemMeasure>(item, this) | TakeDraw<TsMenuItemDraw>(item, this);
  changed |= PutMeasure<TsMenuBarMeasure>(item, this);
  changed |= withDraw ? PutDraw<TsMenuBarDraw>(item, this) : TakeDraw<TsMenuBarDraw>(item, this);
  return changed;
}

bool TsSkinableMenus::ReleaseItem(TMenuItem* item) {
  bool changed = TakeMeasure<TsMenuItemMeasure>(item, this) | TakeDraw<TsMenuItemDraw>(item, this);
  changed |= TakeMeasure<TsMenuBarMeasure>(item, this) | TakeDraw<TsMenuBarDraw>(item, this);
  if (item == highlightedBarItem_) ForgetHighlightedBarItem();
  return changed;
}

void TsSkinableMenus::ReleaseTree(TMenuItem* item) {
  ReleaseItem(item);
  for (int i = 0; i < item->Count(); ++i) ReleaseTree(item->Items(i));
}

void TsSkinableMenus::HookMainMenu(TMainMenu* menu, bool on) {
  if (!menu) return;
  TMenuItem* bar = menu->Items();
  // The items the bar shows, merged ones among them; given back, the items
  // a merged menu hides now are given back too.
  std::vector<TMenuItem*> items = menu->TopLevelItems();
  if (!on)
    for (int i = 0; i < bar->Count(); ++i) items.push_back(bar->Items(i));
  bool changed = false;
  for (TMenuItem* item : items)
    changed |= on ? HookBarItem(item, TsSkinData::Instance().SkinLoaded) : ReleaseItem(item);
  const bool ownerDraw = on || OthersDraw(bar, this);
  if (menu->OwnerDraw() != ownerDraw) menu->SetOwnerDraw(ownerDraw);
  // The bar's items turn owner-drawn (or back) only when it is rebuilt.
  else if (changed) menu->MenuChanged(nullptr, true);
}

void TsSkinableMenus::HookPopupMenu(TMenu* menu, bool on) {
  if (!menu) return;
  HookMenuItems(menu->Items(), on);
  // Menus whose items others draw stay owner-drawn when given back.
  menu->SetOwnerDraw(on || OthersDraw(menu->Items(), this));
}

void TsSkinableMenus::HookMenuItems(TMenuItem* item, bool on) {
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem* child = item->Items(i);
    if (child->InMenuBar()) continue;
    HookItem(child, on);
    HookMenuItems(child, on);
  }
}

void TsSkinableMenus::HookItem(TMenuItem* item, bool on) {
  if (!item) return;
  if (!on) {
    TakeMeasure<TsMenuItemMeasure>(item, this);
    TakeDraw<TsMenuItemDraw>(item, this);
  } else if (item->InMenuBar()) {
    HookBarItem(item, true);
  } else {
    PutMeasure<TsMenuItemMeasure>(item, this);
    PutDraw<TsMenuItemDraw>(item, this);
  }
}

// Every component of the application, and the manager's own form when the
// application does not own it (forms made by tests and design surfaces).
void TsSkinableMenus::ForEachMenuComponent(const std::function<void(TComponent*)>& visit) const {
  std::function<void(TComponent*)> walk = [&](TComponent* owner) {
    for (TComponent* c : std::vector<TComponent*>(owner->ComponentList())) {
      visit(c);
      walk(c);
    }
  };
  if (Application) walk(Application);
  bool reached = false;
  for (const TComponent* c = hostForm_; c && Application; c = c->Owner()) reached |= c == Application;
  if (hostForm_ && !reached) {
    visit(hostForm_);
    walk(hostForm_);
  }
}

void TsSkinableMenus::HookAllMenus(bool on) {
  if (Designing()) return;
  ForEachMenuComponent([this, on](TComponent* c) {
    if (auto* main = dynamic_cast<TMainMenu*>(c)) HookMainMenu(main, on);
    else if (auto* popup = dynamic_cast<TPopupMenu*>(c)) HookPopupMenu(popup, on);
    else if (auto* item = dynamic_cast<TMenuItem*>(c); item && !dynamic_cast<TMainMenu*>(item->GetParentMenu()))
      HookMenuItems(item, on);
  });
}

void TsSkinableMenus::UpdateMenus() { HookAllMenus(TsSkinData::Instance().SkinLoaded); }

void TsSkinableMenus::FreeMenuCache() { MenuBackgroundCache::Instance().Clear(); }

void TsSkinableMenus::ComponentRemoved(TComponent* component) {
  if (component == highlightedBarItem_) ForgetHighlightedBarItem();
  MenuBackgroundCache::Instance().Forget(component);
}

// ---- measuring

SIZE TsSkinableMenus::GetGlyphSize(TMenuItem* item) const {
  if (!item->Bitmap()->Empty()) return {item->Bitmap()->Width(), item->Bitmap()->Height()};
  if (TMenu* menu = item->GetParentMenu(); menu && menu->Images())
    return {menu->Images()->Width(), menu->Images()->Height()};
  return {16, 16};
}

int TsSkinableMenus::MeasureItemHeight(TMenuItem* item, TCanvas* canvas) const {
  UseMenuFont(canvas);
  switch (MenuItemTypeOf(item->Caption())) {
    case smDivider: return 2;
    case smCaption: return ScaledTextHeight(canvas->TextHeight(L"W")) + 2 * margin_;
    default: return std::max(ScaledTextHeight(canvas->TextHeight(L"W")), int(GetGlyphSize(item).cy)) + 2 * margin_;
  }
}

int TsSkinableMenus::PopupHeight(TMenuItem* item, TCanvas* canvas) const {
  TMenuItem* popup = item->Parent();
  if (!popup) return MeasureItemHeight(item, canvas);
  int height = 0;
  for (int i = 0; i < popup->Count(); ++i)
    if (popup->Items(i)->Visible()) height += MeasureItemHeight(popup->Items(i), canvas);
  return height;
}

void TsSkinableMenus::MeasureItem(TMenuItem* item, TCanvas* canvas, int& width, int& height) const {
  UseMenuFont(canvas);
  String text;
  switch (MenuItemTypeOf(item->Caption())) {
    case smCaption: text = L"-" + item->Caption() + L"-"; break;
    case smDivider: break;
    default: text = item->Caption() + ShortCutTextOf(item); break;
  }
  width = 2 * int(GetGlyphSize(item).cx) + canvas->TextWidth(text) + 3 * margin_;
  height = MeasureItemHeight(item, canvas);
}

void TsSkinableMenus::MeasureBarItem(TMenuItem* item, TCanvas* canvas, int& width, int& height) const {
  height = GetSystemMetrics(SM_CYMENU) - 1;
  if (item->Name() == kMdiIconItem) {
    width = 8;
    return;
  }
  UseMenuFont(canvas);
  const String text = item->Caption() + ShortCutTextOf(item);
  int w = canvas->TextWidth(text) + margin_ + 5;
  // The mnemonic mark is not shown.
  if (text.find(L'&') != String::npos) w -= canvas->TextWidth(L"&");
  TCustomForm* child = item->Parent() ? MaximizedChildWithIcon(MdiParentOf(FormOf(item))) : nullptr;
  if (child && IsFirstBarItem(item)) w += child->Icon()->Width();
  if (child && IsLastBarItem(item)) w += kMdiButtonsRoom;
  width = std::max(width, w);
}

// ---- drawing

UINT TsSkinableMenus::AlignmentFormat() const {
  switch (alignment_) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

void TsSkinableMenus::DoDrawItem(TMenuItem* item, TCanvas* canvas, const RECT& rect, TOwnerDrawState state,
                                 TsMenuItemType type) {
  if (onDrawItem_) onDrawItem_(item, canvas, rect, state, type);
}

void TsSkinableMenus::DrawItem(TMenuItem* item, TCanvas* canvas, const RECT& rect, TOwnerDrawState state) {
  switch (MenuItemTypeOf(item->Caption())) {
    case smDivider: {
      // An etched line straight on the menu.
      const int inset = borderWidth_ + margin_;
      const PixRect line{int(rect.left) + inset, int(rect.top), int(rect.right) - inset, int(rect.bottom)};
      PaintEdgeFrame(canvas->Handle(), line, 1, 0x808080, 0xFFFFFF);
      return DoDrawItem(item, canvas, rect, state, smDivider);
    }
    case smCaption: return PaintCaptionItem(item, canvas, rect, state);
    default: return PaintNormalItem(item, canvas, rect, state);
  }
}

// The pop-up's background under the item, then the "MENUITEM" section over it.
void TsSkinableMenus::PaintPopupBackground(TMenuItem* item, TCanvas* canvas, const RECT& R, TBitmap* B, bool hot) {
  const TsSkinData& skin = TsSkinData::Instance();
  const int width = B->Width(), height = B->Height();
  TMenuItem* popup = item->Parent();
  const TMenuItem* key = popup && popup->Count() > 0 ? popup->Items(0) : item;
  // Wide and high enough for the item, whatever the pop-up measured.
  const int cacheWidth = std::max(int(R.right), width);
  const int cacheHeight = std::max(PopupHeight(item, canvas), int(R.bottom));
  TBitmap* cache = MenuBackgroundCache::Instance().Get(key, cacheWidth, cacheHeight, [&skin](TBitmap* bitmap) {
    const PixRect all{0, 0, bitmap->Width(), bitmap->Height()};
    HDC dc = bitmap->Canvas()->Handle();
    // A skin without the section still gives a readable menu.
    FillDeviceRect(dc, all, ResolveColor(clMenu));
    if (int section = skin.FindSectionIndex("MAINMENU"); section >= 0)
      PaintSectionToDC(skin, section, "MAINMENU", EmptyCacheRef, dc, {0, 0}, all, false, false);
  });
  HDC dc = B->Canvas()->Handle();
  BitBlt(dc, 0, 0, width, height, cache->Canvas()->Handle(), R.left, R.top, SRCCOPY);
  if (int section = skin.FindSectionIndex("MENUITEM"); section >= 0)
    PaintSectionToDC(skin, section, "MENUITEM", ParentCacheRef{cache->Rows(), 0, 0, true}, dc,
                     {int(R.left), int(R.top)}, {0, 0, width, height}, hot, true);
}

void TsSkinableMenus::PaintCheckBox(TMenuItem* item, TBitmap* B, SIZE glyph) {
  const int gw = glyph.cx, gh = glyph.cy, h = B->Height();
  const PixRect box{margin_, (h - gh) / 2, margin_ + gw, (h - gh) / 2 + gh};
  BlendRectWithColor(B->Rows(), {box.Left, box.Top, box.Right - 1, box.Bottom - 1}, 50, 0xFFFFFF);
  HDC dc = B->Canvas()->Handle();
  PaintEdgeFrame(dc, box, 1, 0x808080, 0xFFFFFF);
  TMenu* menu = item->GetParentMenu();
  const bool hasImage = (menu && menu->Images() && item->ImageIndex() >= 0) || !item->Bitmap()->Empty();
  if (!hasImage) DrawCheckMark(dc, box, item->Enabled());
}

void TsSkinableMenus::PaintGlyph(TMenuItem* item, TBitmap* B, SIZE glyph, TOwnerDrawState state) {
  const int h = B->Height();
  TMenu* menu = item->GetParentMenu();
  if (!item->Bitmap()->Empty()) {
    const int at = (h - int(glyph.cy)) / 2;
    B->Canvas()->Draw(at, at, item->Bitmap());
  } else if (menu && menu->Images() && item->ImageIndex() >= 0) {
    const int at = (h - menu->Images()->Height()) / 2;
    menu->Images()->Draw(B->Canvas(), at, at, item->ImageIndex(), !(state & odGrayed));
  }
}

namespace {

void WriteText(TCanvas* canvas, const String& text, const RECT& rect, UINT format, bool enabled, bool hot,
               const char* sectionName) {
  HDC dc = canvas->Handle();
  SelectedObject font(dc, canvas->Font()->Handle());
  SetTextColor(dc, ColorToRGB(clMenuText));  // the colour without a section
  DrawSkinCaption(dc, text, enabled, hot, SectionData(TsSkinData::Instance(), sectionName),
                  format | DT_VCENTER | DT_SINGLELINE, ToPix(rect));
}

}  // namespace

void TsSkinableMenus::PaintTexts(TMenuItem* item, TCanvas* canvas, const RECT& captionRect,
                                 const RECT& shortCutRect, bool hot, const char* sectionName) {
  WriteText(canvas, item->Caption(), captionRect, AlignmentFormat(), item->Enabled(), hot, sectionName);
  if (const String shortCut = ShortCutTextOf(item); !shortCut.empty())
    WriteText(canvas, shortCut, shortCutRect, DT_RIGHT, item->Enabled(), hot, sectionName);
}

// A heading: the words between the dashes, centred on the pop-up's background.
void TsSkinableMenus::PaintCaptionItem(TMenuItem* item, TCanvas* canvas, const RECT& R, TOwnerDrawState state) {
  const int width = R.right - R.left, h = R.bottom - R.top;
  if (width <= 0 || h <= 0) return;
  TBitmap B(width, h);
  PaintPopupBackground(item, canvas, R, &B, false);
  UseMenuFont(B.Canvas());
  const String& caption = item->Caption();
  WriteText(B.Canvas(), caption.substr(1, caption.size() - 2), {0, 0, width, h}, DT_CENTER, true, false, "MENUITEM");
  DoDrawItem(item, B.Canvas(), {0, 0, width, h}, state, smCaption);
  BitBlt(canvas->Handle(), R.left, R.top, width, h, B.Canvas()->Handle(), 0, 0, SRCCOPY);
}

// Composed off-screen and copied to the menu in one transfer.
void TsSkinableMenus::PaintNormalItem(TMenuItem* item, TCanvas* canvas, const RECT& R, TOwnerDrawState state) {
  const int width = R.right - R.left, h = R.bottom - R.top;
  if (width <= 0 || h <= 0) return;
  TBitmap B(width, h);
  PaintPopupBackground(item, canvas, R, &B, state & odSelected);
  const SIZE glyph = GetGlyphSize(item);
  const int gw = glyph.cx;
  if (item->Checked()) PaintCheckBox(item, &B, glyph);
  PaintGlyph(item, &B, glyph, state);
  UseMenuFont(B.Canvas());
  if (state & odDefault) B.Canvas()->Font()->SetStyle(B.Canvas()->Font()->Style() | fsBold);
  PaintTexts(item, B.Canvas(), {gw + 2 * margin_, 0, width, h}, {width - gw - 2 * margin_, 0, width - 8, h},
             state & (odSelected | odHotLight), "MENUITEM");
  DoDrawItem(item, B.Canvas(), {0, 0, width, h}, state, smNormal);
  BitBlt(canvas->Handle(), R.left, R.top, width, h, B.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TsSkinableMenus::DrawBarItem(TMenuItem* item, TCanvas* canvas, RECT R, TOwnerDrawState state) {
  if (item->Name() == kMdiIconItem || !item->Parent()) return;
  const RECT given = R;
  TCustomForm* form = FormOf(item);
  TCustomForm* mdiParent = MdiParentOf(form);
  if (IsLastBarItem(item) && MaximizedChildWithIcon(mdiParent)) R.right -= kMdiButtonsRoom;
  TsSkinProvider* provider = ProviderOf(mdiParent ? mdiParent : form);
  if (!provider) return;
  const bool hot = state & (odSelected | odHotLight);
  const TsSkinData& skin = TsSkinData::Instance();
  if (int section = skin.FindSectionIndex("MENUITEM"); section >= 0) {
    // R is in window coordinates; the menu line starts below the caption.
    const int lineTop = provider->CaptionHeight() + provider->SysBorderY();
    PaintSectionToDC(skin, section, "MENUITEM", ParentCacheRef{provider->MenuLineBitmap()->Rows(), 0, 0, true},
                     canvas->Handle(), {0, -lineTop}, ToPix(R), hot, true);
  }
  UseMenuFont(canvas);
  if (item->Default()) canvas->Font()->SetStyle(canvas->Font()->Style() | fsBold);
  PaintTexts(item, canvas, {R.left + margin_, R.top, R.right - margin_, R.bottom},
             {R.left + margin_, R.top, R.right - 8, R.bottom}, hot, "MENULINE");
  DoDrawItem(item, canvas, R, state, smTopLine);
  if (hot) {
    highlightedBarItem_ = item;
    highlightedBarRect_ = given;
  } else if (item == highlightedBarItem_) {
    ForgetHighlightedBarItem();
  }
}

}  // namespace kestu
