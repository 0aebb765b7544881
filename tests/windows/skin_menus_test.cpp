// The skin engine's menu painter with the internal skin: item kinds and the
// check mark's outline, item sizes (halves of 1.25 x the text height go to
// the even neighbour), taking menus over and giving them back without
// touching anybody else's handlers, main menus handed over by the manager,
// the menu-bar measure, check boxes and marks read back from memory bitmaps,
// and the pop-up backgrounds composed once per pop-up.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "skin/MenuBackgroundCache.h"
#include "skin/SkinGdi.h"
#include "skin/sSkinManager.h"
#include "skin/sSkinMenus.h"
#include "skin/sSkinProvider.h"

#include "SkinTestForm.h"

#include <cmath>

namespace kestu {

namespace {

// The item holds the painter's handler H.
template <class H> bool Holds(const TMenuItem* item, const TsSkinableMenus* painter) {
  const H* h = nullptr;
  if constexpr (std::is_invocable_v<H, TObject*, TCanvas*, int&, int&>) h = item->OnMeasureItem().target<H>();
  else h = item->OnAdvancedDrawItem().target<H>();
  return h && h->Painter == painter;
}

Bgr Colour(COLORREF c) { return BgrFromColor(c); }

void Pump(int ms = 100) {
  const DWORD end = GetTickCount() + DWORD(ms);
  while (GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(2);
  }
}

// The skin test form (internal skin loaded) with two pop-up menus.
class SkinMenus : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureSkinClasses();
    Application->SetOnException([](TObject*, const Exception& e) { ADD_FAILURE() << StringToUtf8(e.Message()); });
    savedMenuFont.Assign(Screen->MenuFont());
    form = CreateFormFromResource<TSkinTestForm>(Application);
    painter = form->sSkinManager1->SkinableMenus();
    ASSERT_NE(painter, nullptr);
    ASSERT_GE(TsSkinData::Instance().FindSectionIndex("MENUITEM"), 0);
    popup1 = new TPopupMenu(form);
    popup2 = new TPopupMenu(form);
    Open1 = Item(popup1, L"Open");
    Open1->SetShortCut(ShortCut('O', ssCtrl));
    N1 = Item(popup1, L"-");
    Tools1 = Item(popup1, L"-Tools-");
    Check1 = Item(popup1, L"Check");
    Check1->SetChecked(true);
    Own1 = Item(popup1, L"Own");
    Own1->SetOnMeasureItem([this](TObject*, TCanvas*, int& width, int& height) {
      log.push_back(L"own measure");
      width = 77;
      height = 33;
    });
    Own1->SetOnDrawItem([this](TObject*, TCanvas*, const RECT&, bool) { log.push_back(L"own draw"); });
    Other1 = Item(popup2, L"Other");
  }
  void TearDown() override {
    delete form;
    Screen->MenuFont()->Assign(&savedMenuFont);
  }
  TMenuItem* Item(TMenu* menu, const wchar_t* caption) {
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    menu->Items()->Add(item);
    return item;
  }
  // Makes the system menu font one whose "W" is exactly h pixels high
  // (which sizes a face offers depends on the machine's fonts).
  bool MenuTextHeight(int h) {
    for (const wchar_t* face : {L"", L"Tahoma", L"Arial", L"Courier New", L"Times New Roman"}) {
      if (*face) Screen->MenuFont()->SetName(face);
      for (int height = -40; height <= 40; ++height) {
        Screen->MenuFont()->SetHeight(height);
        probe.Canvas()->Font()->Assign(Screen->MenuFont());
        if (probe.Canvas()->TextHeight(L"W") == h) return true;
      }
    }
    return false;
  }
  std::pair<int, int> Measure(TMenuItem* item) {
    int width = 0, height = 0;
    item->MeasureItem(probe.Canvas(), width, height);
    return {width, height};
  }
  // Draws the item as its menu does for WM_DRAWITEM.
  void Draw(TMenuItem* item, TBitmap& target, RECT rect, UINT itemState = 0) {
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemData = reinterpret_cast<ULONG_PTR>(item);
    draw.itemState = itemState;
    draw.hDC = target.Canvas()->Handle();
    draw.rcItem = rect;
    ASSERT_TRUE(item->GetParentMenu()->DrawItem(draw));
  }
  TFont savedMenuFont;
  TBitmap probe{1, 1};
  TSkinTestForm* form = nullptr;
  TsSkinableMenus* painter = nullptr;
  TPopupMenu *popup1 = nullptr, *popup2 = nullptr;
  TMenuItem *Open1 = nullptr, *N1 = nullptr, *Tools1 = nullptr, *Check1 = nullptr, *Own1 = nullptr, *Other1 = nullptr;
  std::vector<String> log;
};

TEST(MenuArithmetic, ItemKindsHeightsAndTheCheckMarkOutline) {
  EXPECT_EQ(MenuItemTypeOf(L"-"), smDivider);
  EXPECT_EQ(MenuItemTypeOf(L"-Word-"), smCaption);
  EXPECT_EQ(MenuItemTypeOf(L"--"), smCaption);
  EXPECT_EQ(MenuItemTypeOf(L"-Word"), smNormal);
  EXPECT_EQ(MenuItemTypeOf(L"Word-"), smNormal);
  EXPECT_EQ(MenuItemTypeOf(L""), smNormal);

  // 1.25 x h: halves go to the even neighbour, other fractions to the nearest.
  EXPECT_EQ(ScaledTextHeight(14), 18);  // 17.5
  EXPECT_EQ(ScaledTextHeight(10), 12);  // 12.5
  EXPECT_EQ(ScaledTextHeight(6), 8);    // 7.5
  EXPECT_EQ(ScaledTextHeight(13), 16);  // 16.25
  EXPECT_EQ(ScaledTextHeight(15), 19);  // 18.75
  EXPECT_EQ(ScaledTextHeight(16), 20);

  using P = std::array<PixPoint, 6>;
  EXPECT_EQ(CheckMarkPolygon({4, 6, 20, 22}), (P{{{7, 15}, {10, 18}, {16, 12}, {16, 10}, {10, 16}, {9, 15}}}));
  EXPECT_EQ(CheckMarkPolygon({4, 10, 12, 18}), (P{{{6, 14}, {7, 15}, {9, 13}, {9, 12}, {7, 14}, {7, 14}}}));
  EXPECT_EQ(CheckMarkPolygon({0, 0, 24, 20}), (P{{{4, 11}, {8, 15}, {19, 8}, {19, 5}, {8, 12}, {7, 11}}}));
}

TEST_F(SkinMenus, ItemSizesFollowTheMenuFontTheGlyphTheShortcutAndTheMargin) {
  painter->HookAllMenus(true);
  TCanvas* c = probe.Canvas();
  c->Font()->Assign(Screen->MenuFont());
  EXPECT_EQ(Measure(Open1).first, 2 * 16 + c->TextWidth(L"OpenCtrl+O") + 3 * 4);
  EXPECT_EQ(Measure(Tools1).first, 2 * 16 + c->TextWidth(L"--Tools--") + 3 * 4);
  EXPECT_EQ(Measure(N1), std::make_pair(2 * 16 + 3 * 4, 2));
  ASSERT_TRUE(MenuTextHeight(14));
  EXPECT_EQ(Measure(Tools1).second, 18 + 8);
  EXPECT_EQ(Measure(Open1).second, 18 + 8);  // the text is higher than the 16-pixel glyph
  ASSERT_TRUE(MenuTextHeight(10));
  EXPECT_EQ(Measure(Tools1).second, 12 + 8);
  EXPECT_EQ(Measure(Open1).second, 16 + 8);  // now the glyph is higher
  TImageList small(nullptr);
  small.SetWidth(8);
  small.SetHeight(8);
  popup1->SetImages(&small);
  painter->SetMargin(2);
  EXPECT_EQ(Measure(Open1).second, 12 + 4);
  // The pop-up is as high as its visible items.
  Own1->SetVisible(false);
  EXPECT_EQ(painter->PopupHeight(Open1, probe.Canvas()), 3 * (12 + 4) + 2);
  popup1->SetImages(nullptr);
}

TEST_F(SkinMenus, TakingMenusOverAndBackLeavesEveryoneElsesHandlersInPlace) {
  painter->UpdateMenus();  // a skin is loaded: take over
  EXPECT_TRUE(popup1->OwnerDraw());
  EXPECT_TRUE(Holds<TsMenuItemMeasure>(Open1, painter));
  EXPECT_TRUE(Holds<TsMenuItemDraw>(Open1, painter));
  EXPECT_TRUE(Holds<TsMenuItemDraw>(Other1, painter));
  EXPECT_EQ(Measure(Own1), std::make_pair(77, 33));
  // Another painter's handler is not this painter's to take away.
  TsSkinableMenus other(nullptr);
  Other1->SetOnAdvancedDrawItem(TsMenuItemDraw{&other});
  painter->HookAllMenus(false);
  EXPECT_FALSE(Open1->OnMeasureItem());
  EXPECT_FALSE(Open1->OnAdvancedDrawItem());
  EXPECT_TRUE(Holds<TsMenuItemDraw>(Other1, &other));
  log.clear();
  EXPECT_EQ(Measure(Own1), std::make_pair(77, 33));
  TBitmap target(50, 20);
  Draw(Own1, target, {0, 0, 50, 20});
  EXPECT_EQ(log, (std::vector<String>{L"own measure", L"own draw"}));
  // A menu whose items others still draw stays owner-drawn.
  EXPECT_TRUE(popup1->OwnerDraw());
  EXPECT_TRUE(popup2->OwnerDraw());
  Other1->SetOnAdvancedDrawItem(nullptr);
  painter->HookPopupMenu(popup2, false);
  EXPECT_FALSE(popup2->OwnerDraw());
}

// A main menu on no form yet: two top-level items, the second with a
// drop-down item; the items belong to `form`.
TMainMenu* NewMainMenu(TComponent* form) {
  auto* menu = new TMainMenu(nullptr);
  for (const wchar_t* caption : {L"&File", L"&Edit"}) {
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  auto* copy = new TMenuItem(form);
  copy->SetCaption(L"Copy");
  menu->Items()->Items(1)->Add(copy);
  return menu;
}

bool OwnerDrawnInBar(HMENU bar, int index) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(bar, UINT(index), TRUE, &info);
  return info.fType & MFT_OWNERDRAW;
}

TEST_F(SkinMenus, TheManagerHandsMainMenusAddedToItsFormToThePainter) {
  TMainMenu* menu = NewMainMenu(form);
  TMenuItem* file = menu->Items()->Items(0);
  TMenuItem* copy = menu->Items()->Items(1)->Items(0);
  form->InsertComponent(menu);
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_TRUE(Holds<TsMenuBarMeasure>(file, painter));
  EXPECT_TRUE(Holds<TsMenuBarDraw>(file, painter));
  EXPECT_FALSE(copy->OnMeasureItem());  // drop-down items are taken over one at a time
  // Taken over, the bar's items are drawn by their owner in the native bar.
  form->SetMenu(menu);
  form->HandleNeeded();
  HMENU bar = GetMenu(form->Handle());
  EXPECT_TRUE(OwnerDrawnInBar(bar, 0));
  EXPECT_TRUE(OwnerDrawnInBar(bar, 1));
  painter->HookItem(copy, true);
  EXPECT_TRUE(Holds<TsMenuItemDraw>(copy, painter));

  form->RemoveComponent(menu);
  EXPECT_FALSE(menu->OwnerDraw());
  EXPECT_FALSE(file->OnMeasureItem());
  EXPECT_FALSE(file->OnAdvancedDrawItem());
  EXPECT_FALSE(OwnerDrawnInBar(GetMenu(form->Handle()), 0));
  form->SetMenu(nullptr);

  // Without a skin only the measure handler is given.
  form->sSkinManager1->SetActive(false);
  ASSERT_FALSE(TsSkinData::Instance().SkinLoaded);
  form->InsertComponent(menu);
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_TRUE(Holds<TsMenuBarMeasure>(file, painter));
  EXPECT_FALSE(file->OnAdvancedDrawItem());
  form->RemoveComponent(menu);
  delete menu;

  // A main menu made on the form is recognised as soon as it is built.
  auto* built = new TMainMenu(form);
  EXPECT_TRUE(built->OwnerDraw());
}

TEST_F(SkinMenus, BarItemsAreMeasuredWithoutTheMnemonicMarkAndNeedAProviderToBeDrawn) {
  TMainMenu* menu = NewMainMenu(form);
  form->InsertComponent(menu);
  TMenuItem* file = menu->Items()->Items(0);
  TMenuItem* plain = Item(menu, L"File");
  painter->HookItem(plain, true);
  TCanvas* c = probe.Canvas();
  c->Font()->Assign(Screen->MenuFont());
  const int expected = c->TextWidth(L"File") + 4 + 5;
  for (TMenuItem* item : {file, plain}) {
    int width = 10, height = 19;  // as the provider asks
    item->OnMeasureItem()(item, c, width, height);
    EXPECT_EQ(width, expected);
    EXPECT_EQ(height, GetSystemMetrics(SM_CYMENU) - 1);
  }
  form->SetMenu(menu);  // as the native bar asks
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemData = reinterpret_cast<ULONG_PTR>(file);
  EXPECT_EQ(SendMessageW(form->Handle(), WM_MEASUREITEM, 0, LPARAM(&measure)), TRUE);
  EXPECT_EQ(int(measure.itemWidth), expected);
  // Without a skin provider on the form nothing is drawn, not even the user's part.
  int calls = 0;
  painter->SetOnDrawItem([&](TObject*, TCanvas*, const RECT&, TOwnerDrawState, TsMenuItemType) { ++calls; });
  TBitmap target(60, 20);
  target.Canvas()->Brush()->SetColor(clRed);
  target.Canvas()->FillRect({0, 0, 60, 20});
  file->DrawItem(target.Canvas(), {0, 0, 60, 20}, odSelected);
  for (int x = 0; x < 60; x += 7)
    for (int y = 0; y < 20; y += 3) ASSERT_EQ(target.Rows().At(x, y), (Bgr{0, 0, 255}));
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(painter->HighlightedBarItem(), nullptr);
  // The MDI icon item is narrow.
  file->SetName(L"sMDICII");
  int width = 10, height = 19;
  file->OnMeasureItem()(file, c, width, height);
  EXPECT_EQ(width, 8);
  form->SetMenu(nullptr);
  form->RemoveComponent(menu);
  delete menu;
}

TEST_F(SkinMenus, CheckedItemsShowTheMarkOrTheLightenedFramedBoxBehindTheirImage) {
  painter->HookAllMenus(true);
  const int W = 120;
  const int H = Measure(Check1).second;
  const int boxTop = (H - 16) / 2;
  const auto mark = CheckMarkPolygon({4, boxTop, 20, boxTop + 16});
  // A point inside the stroke: between its lower corners.
  const PixPoint inside{mark[1].X, (mark[1].Y + mark[4].Y) / 2};
  TBitmap checked(W, H);
  Draw(Check1, checked, {0, 0, W, H});
  EXPECT_EQ(checked.Rows().At(inside.X, inside.Y), (Bgr{0, 0, 0}));
  EXPECT_EQ(checked.Rows().At(4, boxTop), Colour(0x808080));  // the box's frame
  // Disabled: the shadow colour in place, the 3-D light colour one pixel off.
  Check1->SetEnabled(false);
  TBitmap disabled(W, H);
  Draw(Check1, disabled, {0, 0, W, H}, ODS_GRAYED);
  EXPECT_EQ(disabled.Rows().At(inside.X, inside.Y), Colour(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_EQ(disabled.Rows().At(mark[2].X + 1, mark[2].Y + 1), Colour(GetSysColor(COLOR_3DLIGHT)));
  Check1->SetEnabled(true);

  // With an image from the menu's list: no mark, the box lightened and framed.
  TImageList images(nullptr);
  images.SetWidth(8);
  images.SetHeight(8);
  TBitmap green(8, 8);
  green.Canvas()->Brush()->SetColor(clLime);
  green.Canvas()->FillRect({0, 0, 8, 8});
  images.Add(&green);
  popup1->SetImages(&images);
  Check1->SetImageIndex(0);
  const int h = Measure(Check1).second;
  const int top = (h - 8) / 2, imageAt = (h - 8) / 2;
  Check1->SetChecked(false);
  TBitmap plain(W, h);
  Draw(Check1, plain, {0, 0, W, h});
  Check1->SetChecked(true);
  TBitmap boxed(W, h);
  Draw(Check1, boxed, {0, 0, W, h});
  EXPECT_EQ(boxed.Rows().At(imageAt + 1, imageAt + 1), (Bgr{0, 255, 0}));
  EXPECT_EQ(boxed.Rows().At(4, top), Colour(0x808080));
  EXPECT_EQ(boxed.Rows().At(5, top), Colour(0x808080));
  auto lighter = [](std::uint8_t v) { return std::uint8_t(std::nearbyint(0.5 * v + 127.5)); };
  for (int x = 5; x < imageAt; ++x)
    for (int y = top + 1; y < top + 7; ++y) {
      const Bgr p = plain.Rows().At(x, y);
      ASSERT_EQ(boxed.Rows().At(x, y), (Bgr{lighter(p.b), lighter(p.g), lighter(p.r)})) << x << "," << y;
    }
  popup1->SetImages(nullptr);
}

TEST_F(SkinMenus, DividersAreEtchedLinesAndTheUsersDrawingComesLast) {
  painter->HookAllMenus(true);
  painter->SetBorderWidth(3);
  std::vector<TsMenuItemType> drawn;
  std::vector<RECT> rects;
  painter->SetOnDrawItem([&](TObject*, TCanvas*, const RECT& r, TOwnerDrawState, TsMenuItemType type) {
    drawn.push_back(type);
    rects.push_back(r);
  });
  TBitmap target(100, 30);
  target.Canvas()->Brush()->SetColor(clRed);
  target.Canvas()->FillRect({0, 0, 100, 30});
  Draw(N1, target, {0, 10, 100, 12});
  const int inset = 3 + 4;
  EXPECT_EQ(target.Rows().At(inset - 1, 10), (Bgr{0, 0, 255}));
  EXPECT_EQ(target.Rows().At(inset, 10), Colour(0x808080));
  EXPECT_EQ(target.Rows().At(inset, 11), Colour(0xFFFFFF));
  EXPECT_EQ(target.Rows().At(100 - inset, 10), (Bgr{0, 0, 255}));
  Draw(Tools1, target, {0, 0, 100, 10});
  EXPECT_NE(target.Rows().At(1, 5), (Bgr{0, 0, 255}));  // a heading is drawn on the pop-up's background
  Draw(Open1, target, {0, 12, 100, 30});
  EXPECT_EQ(drawn, (std::vector<TsMenuItemType>{smDivider, smCaption, smNormal}));
  // A normal item is drawn on its own bitmap before it reaches the menu.
  EXPECT_EQ(rects.back().top, 0);
  EXPECT_EQ(rects.back().bottom, 18);
  EXPECT_NE(target.Rows().At(50, 20), (Bgr{0, 0, 255}));
}

TEST_F(SkinMenus, APopupsBackgroundIsComposedOnceAndFreedWithTheCache) {
  painter->HookAllMenus(true);
  MenuBackgroundCache& cache = MenuBackgroundCache::Instance();
  painter->FreeMenuCache();
  const int before = cache.Compositions();
  TBitmap target(100, 30);
  Draw(Open1, target, {0, 0, 100, 24});
  Draw(Check1, target, {0, 26, 100, 50});
  Draw(Open1, target, {0, 0, 100, 24}, ODS_SELECTED);
  EXPECT_EQ(cache.Compositions(), before + 1);
  Draw(Other1, target, {0, 0, 100, 24});
  EXPECT_EQ(cache.Compositions(), before + 2);
  EXPECT_EQ(cache.Count(), 2);
  // A pop-up that grew past its background gets a larger one.
  Draw(Open1, target, {0, 400, 100, 424});
  EXPECT_EQ(cache.Compositions(), before + 3);
  EXPECT_EQ(cache.Count(), 2);
  painter->FreeMenuCache();
  EXPECT_EQ(cache.Count(), 0);
  Draw(Open1, target, {0, 0, 100, 24});
  EXPECT_EQ(cache.Compositions(), before + 4);
  // A new skin starts over.
  form->sSkinManager1->SetSkinName(L"MacOS (internal)");
  EXPECT_EQ(cache.Count(), 0);
}

// The same form with a skin provider, which draws the menu line.
class SkinMenusOnAProviderForm : public SkinMenus {
 protected:
  void SetUp() override {
    SkinMenus::SetUp();
    new TsSkinProvider(form);
  }
};

TEST_F(SkinMenusOnAProviderForm, BarItemsShowTheMenuLineAndTheLastHighlightedOneIsRemembered) {
  TMainMenu* menu = NewMainMenu(form);
  form->InsertComponent(menu);
  form->SetMenu(menu);
  form->Show();
  Pump();
  TsSkinProvider* provider = TsSkinProvider::Of(form->Handle());
  ASSERT_NE(provider, nullptr);
  TBitmap* line = provider->MenuLineBitmap();
  ASSERT_GT(line->Height(), 4);
  TMenuItem* file = menu->Items()->Items(0);
  ASSERT_TRUE(Holds<TsMenuBarDraw>(file, painter));
  std::vector<TsMenuItemType> types;
  painter->SetOnDrawItem([&](TObject*, TCanvas*, const RECT&, TOwnerDrawState, TsMenuItemType type) {
    types.push_back(type);
  });
  // In window coordinates, the menu line starts below the caption.
  const int lineTop = provider->CaptionHeight() + provider->SysBorderY();
  const RECT R{40, lineTop, 90, lineTop + line->Height() - 1};
  TBitmap target(form->Width(), lineTop + line->Height());
  file->DrawItem(target.Canvas(), R, 0);
  // Left of the text the see-through item shows the menu line under it.
  for (int y = int(R.top); y < R.bottom; ++y)
    ASSERT_EQ(target.Rows().At(R.left + 1, y), line->Rows().At(R.left + 1, y - lineTop)) << y;
  EXPECT_EQ(painter->HighlightedBarItem(), nullptr);

  file->DrawItem(target.Canvas(), R, odHotLight);
  EXPECT_NE(target.Rows().At(R.left + 1, R.top + 2), line->Rows().At(R.left + 1, 2));
  EXPECT_EQ(painter->HighlightedBarItem(), file);
  EXPECT_EQ(painter->HighlightedBarRect().left, R.left);
  EXPECT_EQ(painter->HighlightedBarRect().bottom, R.bottom);
  // The provider has it drawn plainly again and forgotten.
  form->sSkinManager1->RedrawHighlightedBarItem(provider);
  EXPECT_EQ(painter->HighlightedBarItem(), nullptr);
  EXPECT_FALSE(types.empty());
  EXPECT_EQ(std::count(types.begin(), types.end(), smTopLine), std::ptrdiff_t(types.size()));
  // An item that goes away is not remembered any longer.
  file->DrawItem(target.Canvas(), R, odSelected);
  ASSERT_EQ(painter->HighlightedBarItem(), file);
  delete file;
  EXPECT_EQ(painter->HighlightedBarItem(), nullptr);
  form->SetMenu(nullptr);
  form->RemoveComponent(menu);
  delete menu;
}

}  // namespace
}  // namespace kestu
