// Main menus merged into others: order by group index, replaced groups and
// their return, commands and shortcuts of merged items, MDI children merging
// into their frame while active, AutoMerge forms, destruction of either side.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/Menus.h"

namespace kestu {
namespace {

void Pump() {
  for (int i = 0; i < 6; ++i) {
    Application->ProcessMessages();
    Sleep(10);
  }
}

// Top-level items named by caption and group; sub-items log their clicks.
TMenuItem* AddItem(TMenuItem* parent, const wchar_t* caption, int group, std::vector<String>* log = nullptr,
                   TShortCut shortCut = 0) {
  auto* item = new TMenuItem(parent->GetParentMenu()->Owner());
  item->SetName(String(caption) + L"Item");
  item->SetCaption(caption);
  item->SetGroupIndex(group);
  item->SetShortCut(shortCut);
  if (log) item->SetOnClick([log, caption](TObject*) { log->push_back(caption); });
  parent->Add(item);
  return item;
}

std::vector<String> Captions(const std::vector<TMenuItem*>& items) {
  std::vector<String> out;
  for (TMenuItem* item : items) out.push_back(item->Caption());
  return out;
}

// The items the native menu bar holds, by the item each entry carries.
std::vector<TMenuItem*> NativeItems(HMENU menu) {
  std::vector<TMenuItem*> out;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    GetMenuItemInfoW(menu, UINT(i), TRUE, &info);
    out.push_back(reinterpret_cast<TMenuItem*>(info.dwItemData));
  }
  return out;
}

using Names = std::vector<String>;

class MenuMerge : public ::testing::Test {
 protected:
  void SetUp() override {
    host = new TForm(Application);
    host->SetBounds(20, 20, 400, 300);
    menu = new TMainMenu(host);
    AddItem(menu->Items(), L"File", 0);
    view = AddItem(menu->Items(), L"View", 1);
    grid = AddItem(view, L"Grid", 0, &log, ShortCut('G', ssCtrl));
    AddItem(menu->Items(), L"Window", 5);
    AddItem(menu->Items(), L"Help", 9);
    host->SetMenu(menu);
    host->HandleNeeded();
    other = new TComponent(nullptr);
    guest = new TMainMenu(other);
    edit = AddItem(guest->Items(), L"Edit", 1);
    copy = AddItem(edit, L"Copy", 0, &log, ShortCut('C', ssCtrl));
    AddItem(guest->Items(), L"Controls", 3);
    AddItem(guest->Items(), L"Tools", 3);
  }
  void TearDown() override {
    delete other;
    delete host;
  }

  TForm* host = nullptr;
  TMainMenu* menu = nullptr;
  TMenuItem *view = nullptr, *grid = nullptr;
  TComponent* other = nullptr;
  TMainMenu* guest = nullptr;
  TMenuItem *edit = nullptr, *copy = nullptr;
  std::vector<String> log;
};

TEST_F(MenuMerge, GroupsAreReplacedOrInsertedInOrderAndComeBackOnUnmerge) {
  menu->Merge(guest);
  EXPECT_EQ(Captions(menu->TopLevelItems()), (Names{L"File", L"Edit", L"Controls", L"Tools", L"Window", L"Help"}));
  EXPECT_EQ(NativeItems(GetMenu(host->Handle())), menu->TopLevelItems());
  // Ownership and the item trees stay as they were.
  EXPECT_EQ(menu->Items()->Count(), 4);
  EXPECT_EQ(guest->Items()->Count(), 3);
  EXPECT_EQ(edit->GetParentMenu(), guest);
  EXPECT_EQ(guest->MergedInto(), menu);

  menu->Unmerge(guest);
  EXPECT_EQ(Captions(menu->TopLevelItems()), (Names{L"File", L"View", L"Window", L"Help"}));
  EXPECT_EQ(NativeItems(GetMenu(host->Handle())), menu->TopLevelItems());
  EXPECT_EQ(guest->MergedInto(), nullptr);
}

TEST_F(MenuMerge, ASecondMenuTakesThePlaceOfTheFirstAndNothingMergedIsAnUnmerge) {
  auto* second = new TMainMenu(other);
  AddItem(second->Items(), L"Data", 0);
  AddItem(second->Items(), L"Extras", 12);
  menu->Merge(guest);
  menu->Merge(second);
  EXPECT_EQ(guest->MergedInto(), nullptr);
  EXPECT_EQ(Captions(menu->TopLevelItems()), (Names{L"Data", L"View", L"Window", L"Help", L"Extras"}));
  EXPECT_EQ(NativeItems(GetMenu(host->Handle())), menu->TopLevelItems());
  menu->Unmerge(guest);  // not the merged one: nothing changes
  EXPECT_EQ(menu->MergedMenu(), second);
  menu->Merge(nullptr);
  EXPECT_EQ(Captions(menu->TopLevelItems()), (Names{L"File", L"View", L"Window", L"Help"}));
  // A merged menu merging a third, or a menu merged into itself, is refused.
  menu->Merge(guest);
  EXPECT_THROW(guest->Merge(second), EComponentError);
  EXPECT_THROW(second->Merge(menu), EComponentError);
  EXPECT_THROW(second->Merge(second), EComponentError);
}

TEST_F(MenuMerge, CommandsAndShortcutsReachMergedItemsAndNotReplacedOnes) {
  menu->Merge(guest);
  SendMessageW(host->Handle(), WM_COMMAND, MAKEWPARAM(copy->Command(), 0), 0);
  EXPECT_EQ(log, Names{L"Copy"});
  EXPECT_EQ(menu->FindItem(copy->Command()), copy);
  EXPECT_TRUE(host->IsShortCut('C', ssCtrl));
  // View is replaced by Edit: its item's shortcut and command are not taken.
  EXPECT_FALSE(host->IsShortCut('G', ssCtrl));
  EXPECT_EQ(menu->FindItem(grid->Command()), nullptr);
  EXPECT_EQ(log, (Names{L"Copy", L"Copy"}));

  menu->Unmerge(guest);
  EXPECT_FALSE(host->IsShortCut('C', ssCtrl));
  EXPECT_TRUE(host->IsShortCut('G', ssCtrl));
  SendMessageW(host->Handle(), WM_COMMAND, MAKEWPARAM(copy->Command(), 0), 0);
  EXPECT_EQ(log, (Names{L"Copy", L"Copy", L"Grid"}));
}

TEST_F(MenuMerge, ChangesToTheMergedMenuAndItsDestructionReachTheBar) {
  menu->Merge(guest);
  TMenuItem* reports = AddItem(guest->Items(), L"Reports", 7);
  EXPECT_EQ(NativeItems(GetMenu(host->Handle())).size(), 7u);
  EXPECT_EQ(NativeItems(GetMenu(host->Handle()))[5], reports);
  delete reports;
  EXPECT_EQ(NativeItems(GetMenu(host->Handle())), menu->TopLevelItems());
  EXPECT_EQ(menu->TopLevelItems().size(), 6u);

  delete guest;
  guest = nullptr;
  EXPECT_EQ(menu->MergedMenu(), nullptr);
  EXPECT_EQ(Captions(NativeItems(GetMenu(host->Handle()))), (Names{L"File", L"View", L"Window", L"Help"}));
}

TEST_F(MenuMerge, TheHostMenuGoingFirstLeavesTheMergedMenuFree) {
  menu->Merge(guest);
  delete host;
  host = nullptr;
  EXPECT_EQ(guest->MergedInto(), nullptr);
  guest->Items()->Add(new TMenuItem(other));  // would reach the host's menu if it were still linked
}

// A normal main form and a form whose AutoMerge menu shows in the main form's
// bar while it is shown, with no bar of its own.
TEST_F(MenuMerge, AnAutoMergeFormMergesIntoTheMainFormWhileShown) {
  TCustomForm* previousMain = Application->MainForm();
  Application->SetMainForm(host);
  auto* form = new TForm(Application);
  auto* own = new TMainMenu(form);
  own->SetAutoMerge(true);
  AddItem(own->Items(), L"Query", 2);
  form->SetMenu(own);
  form->SetBounds(60, 60, 200, 150);
  form->Show();
  Pump();
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  EXPECT_EQ(Captions(menu->TopLevelItems()), (Names{L"File", L"View", L"Query", L"Window", L"Help"}));
  form->Hide();
  EXPECT_EQ(menu->MergedMenu(), nullptr);
  form->Show();
  Pump();
  EXPECT_EQ(menu->MergedMenu(), own);
  delete form;
  EXPECT_EQ(menu->MergedMenu(), nullptr);
  EXPECT_EQ(NativeItems(GetMenu(host->Handle())), menu->TopLevelItems());
  Application->SetMainForm(previousMain);
}

// An MDI frame with two children, one with a menu and one without.
class MdiMenuMerge : public ::testing::Test {
 protected:
  void SetUp() override {
    previousMain = Application->MainForm();
    frame = new TForm(Application);
    frame->SetFormStyle(fsMDIForm);
    frame->SetBounds(30, 30, 480, 360);
    frameMenu = new TMainMenu(frame);
    AddItem(frameMenu->Items(), L"File", 0);
    AddItem(frameMenu->Items(), L"Window", 5, &log, ShortCut('W', ssCtrl));
    frame->SetMenu(frameMenu);
    Application->SetMainForm(frame);
    frame->Show();
    withMenu = NewChild(L"With menu", true);
    plain = NewChild(L"Plain", false);
    Pump();
  }
  void TearDown() override {
    delete plain;
    delete withMenu;
    Application->SetMainForm(previousMain);
    delete frame;
  }
  TForm* NewChild(const wchar_t* caption, bool menu) {
    auto* child = new TForm(Application);
    child->SetFormStyle(fsMDIChild);
    child->SetCaption(caption);
    child->SetBounds(10, 10, 200, 150);
    if (menu) {
      childMenu = new TMainMenu(child);
      TMenuItem* controls = AddItem(childMenu->Items(), L"Controls", 3);
      reset = AddItem(controls, L"Reset", 0, &log, ShortCut('R', ssCtrl));
      child->SetMenu(childMenu);
    }
    child->Show();
    return child;
  }
  void Activate(TForm* child) {
    SendMessageW(frame->ClientHandle(), WM_MDIACTIVATE, WPARAM(child->Handle()), 0);
    Pump();
  }

  TCustomForm* previousMain = nullptr;
  TForm* frame = nullptr;
  TMainMenu* frameMenu = nullptr;
  TForm *withMenu = nullptr, *plain = nullptr;
  TMainMenu* childMenu = nullptr;
  TMenuItem* reset = nullptr;
  std::vector<String> log;
};

TEST_F(MdiMenuMerge, TheActiveChildsMenuShowsInTheFrameAndGoesWithTheActivation) {
  ASSERT_EQ(frame->ActiveMDIChild(), plain);
  EXPECT_EQ(frameMenu->MergedMenu(), nullptr);
  Activate(withMenu);
  ASSERT_EQ(frame->ActiveMDIChild(), withMenu);
  EXPECT_EQ(frameMenu->MergedMenu(), childMenu);
  EXPECT_EQ(Captions(NativeItems(GetMenu(frame->Handle()))), (Names{L"File", L"Controls", L"Window"}));
  EXPECT_EQ(childMenu->WindowHandle(), nullptr);  // the child shows no bar of its own
  Activate(plain);
  EXPECT_EQ(frameMenu->MergedMenu(), nullptr);
  EXPECT_EQ(Captions(NativeItems(GetMenu(frame->Handle()))), (Names{L"File", L"Window"}));
}

TEST_F(MdiMenuMerge, KeysInAChildReachTheMergedBar) {
  Activate(withMenu);
  EXPECT_TRUE(withMenu->IsShortCut('R', ssCtrl));
  EXPECT_TRUE(withMenu->IsShortCut('W', ssCtrl));  // the frame's own item
  SendMessageW(frame->Handle(), WM_COMMAND, MAKEWPARAM(reset->Command(), 0), 0);
  EXPECT_EQ(log, (Names{L"Reset", L"Window", L"Reset"}));
  Activate(plain);
  EXPECT_FALSE(plain->IsShortCut('R', ssCtrl));
}

TEST_F(MdiMenuMerge, ADestroyedActiveChildLeavesNoItemInTheFrame) {
  Activate(withMenu);
  ASSERT_EQ(frameMenu->MergedMenu(), childMenu);
  delete withMenu;
  withMenu = nullptr;
  EXPECT_EQ(frameMenu->MergedMenu(), nullptr);
  EXPECT_EQ(Captions(frameMenu->TopLevelItems()), (Names{L"File", L"Window"}));
  EXPECT_EQ(NativeItems(GetMenu(frame->Handle())), frameMenu->TopLevelItems());
  Pump();  // the next child's activation arrives
  EXPECT_EQ(frameMenu->MergedMenu(), nullptr);
}

TEST_F(MdiMenuMerge, ANewMenuOfTheActiveChildReplacesTheMergedOne) {
  Activate(withMenu);
  auto* replacement = new TMainMenu(withMenu);
  AddItem(replacement->Items(), L"Tables", 4);
  withMenu->SetMenu(replacement);
  EXPECT_EQ(Captions(NativeItems(GetMenu(frame->Handle()))), (Names{L"File", L"Tables", L"Window"}));
  withMenu->SetMenu(nullptr);
  EXPECT_EQ(frameMenu->MergedMenu(), nullptr);
}

}  // namespace
}  // namespace kestu
