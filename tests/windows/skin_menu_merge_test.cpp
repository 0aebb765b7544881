// The skinned MDI frame's menu line with the active child's menu merged in:
// where the items stand, that they are painted and measured by the frame's
// menu painter, the window-control item staying first, and a destroyed
// child leaving nothing behind.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/sMDIForm.h"
#include "skin/sSkinMenus.h"
#include "skin/sSkinProvider.h"

#include "SkinTestForm.h"

namespace kestu {
namespace {

void Pump() {
  for (int i = 0; i < 8; ++i) {
    Application->ProcessMessages();
    Sleep(10);
  }
}

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const wchar_t* caption, int group) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  item->SetGroupIndex(group);
  parent->Add(item);
  return item;
}

// The items the menu line shows, by name (the window-control item) or caption.
std::vector<String> LineCaptions(TsSkinProvider* provider) {
  std::vector<String> out;
  for (const auto& [item, rect] : provider->MenuItemRects())
    out.push_back(item->Name().empty() ? item->Caption() : item->Name());
  return out;
}

const RECT* LineRect(TsSkinProvider* provider, const TMenuItem* item) {
  for (const auto& [shown, rect] : provider->MenuItemRects())
    if (shown == item) return &rect;
  return nullptr;
}

using Names = std::vector<String>;

class SkinMenuMerge : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureSkinClasses();
    Application->SetOnException([](TObject*, const Exception& e) { ADD_FAILURE() << StringToUtf8(e.Message()); });
    skinHolder = CreateFormFromResource<TSkinTestForm>(Application);  // the skin manager
    painter = skinHolder->sSkinManager1->SkinableMenus();
    previousMain = Application->MainForm();
    frame = new TForm(Application);
    frame->SetFormStyle(fsMDIForm);
    frame->SetPosition(poDesigned);
    frame->SetBounds(40, 40, 520, 360);
    auto* menu = new TMainMenu(frame);
    AddItem(frame, menu->Items(), L"File", 0);
    AddItem(frame, menu->Items(), L"Window", 9);
    frame->SetMenu(menu);
    provider = new TsSkinProvider(frame);
    provider->Loaded();
    Application->SetMainForm(frame);
    frame->Show();

    withMenu = new TForm(Application);
    withMenu->SetFormStyle(fsMDIChild);
    withMenu->SetBounds(10, 10, 200, 150);
    childMenu = new TMainMenu(withMenu);
    controls = AddItem(withMenu, childMenu->Items(), L"Controls", 2);
    reset = AddItem(withMenu, controls, L"Reset", 0);
    withMenu->SetMenu(childMenu);
    withMenu->Show();
    plain = new TForm(Application);
    plain->SetFormStyle(fsMDIChild);
    plain->SetBounds(40, 40, 200, 150);
    plain->Show();
    Pump();
  }
  void TearDown() override {
    delete plain;
    delete withMenu;
    Application->SetMainForm(previousMain);
    delete frame;
    delete skinHolder;
  }
  void Activate(TForm* child) {
    SendMessageW(frame->ClientHandle(), WM_MDIACTIVATE, WPARAM(child->Handle()), 0);
    Pump();
  }

  TSkinTestForm* skinHolder = nullptr;
  TsSkinableMenus* painter = nullptr;
  TCustomForm* previousMain = nullptr;
  TForm* frame = nullptr;
  TsSkinProvider* provider = nullptr;
  TForm *withMenu = nullptr, *plain = nullptr;
  TMainMenu* childMenu = nullptr;
  TMenuItem *controls = nullptr, *reset = nullptr;
};

TEST_F(SkinMenuMerge, TheLineShowsTheActiveChildsItemsPaintedByTheFramesPainter) {
  ASSERT_TRUE(provider->SkinActive());
  EXPECT_EQ(LineCaptions(provider), (Names{L"File", L"Window"}));
  Activate(withMenu);
  ASSERT_EQ(LineCaptions(provider), (Names{L"File", L"Controls", L"Window"}));
  const RECT file = provider->MenuItemRects()[0].second, shown = *LineRect(provider, controls);
  EXPECT_EQ(shown.left, file.right);
  EXPECT_EQ(shown.top, file.top);
  EXPECT_EQ(LineRect(provider, frame->Menu()->Items()->Items(1))->left, shown.right);
  // The caption is written over the menu line's background in the frame.
  TBitmap* bitmap = provider->FrameBitmap();
  TBitmap* line = provider->MenuLineBitmap();
  const int lineTop = provider->CaptionHeight() + provider->SysBorderY();
  int written = 0;
  for (int x = shown.left; x < shown.right; ++x)
    for (int y = shown.top; y < shown.bottom; ++y)
      if (!(bitmap->Rows().At(x, y) == line->Rows().At(x, y - lineTop))) ++written;
  EXPECT_GT(written, 10);

  Activate(plain);
  EXPECT_EQ(LineCaptions(provider), (Names{L"File", L"Window"}));
}

TEST_F(SkinMenuMerge, AMaximisedChildsWindowControlItemStaysFirst) {
  Activate(withMenu);
  SendMessageW(frame->ClientHandle(), WM_MDIMAXIMIZE, WPARAM(withMenu->Handle()), 0);
  Pump();
  ASSERT_TRUE(IsZoomed(withMenu->Handle()));
  EXPECT_EQ(LineCaptions(provider), (Names{L"sMDICII", L"File", L"Controls", L"Window"}));
  // A child item of the lowest group still goes after it.
  TMenuItem* early = AddItem(withMenu, childMenu->Items(), L"Early", -5);
  EXPECT_EQ(LineCaptions(provider), (Names{L"sMDICII", L"Early", L"File", L"Controls", L"Window"}));
  delete early;
  SendMessageW(frame->ClientHandle(), WM_MDIRESTORE, WPARAM(withMenu->Handle()), 0);
  Pump();
  EXPECT_EQ(LineCaptions(provider), (Names{L"File", L"Controls", L"Window"}));
}

// The system measures the drop-down items of a merged menu through the
// frame, which hands them to the painter like its own.
TEST_F(SkinMenuMerge, DropDownItemsOfTheMergedMenuAreMeasuredByThePainter) {
  Activate(withMenu);
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemID = reset->Command();
  measure.itemData = reinterpret_cast<ULONG_PTR>(reset);
  EXPECT_EQ(SendMessageW(frame->Handle(), WM_MEASUREITEM, 0, LPARAM(&measure)), TRUE);
  ASSERT_TRUE(reset->OnMeasureItem());
  TBitmap scratch(8, 8);
  EXPECT_EQ(int(measure.itemHeight), painter->MeasureItemHeight(reset, scratch.Canvas()));
  EXPECT_TRUE(controls->OnAdvancedDrawItem());  // the bar item's painter handler
}

TEST_F(SkinMenuMerge, ADestroyedActiveChildLeavesTheLineAsTheFramesOwn) {
  Activate(withMenu);
  ASSERT_EQ(LineCaptions(provider).size(), 3u);
  delete withMenu;
  withMenu = nullptr;
  Pump();
  EXPECT_EQ(LineCaptions(provider), (Names{L"File", L"Window"}));
  EXPECT_EQ(frame->Menu()->MergedMenu(), nullptr);
}

}  // namespace
}  // namespace kestu
