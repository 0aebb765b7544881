// Values controls take from their parents (ShowHint, BiDiMode), the hint
// shown where the mouse rests, and the pop-up menu a context-menu request
// shows.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/Hints.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"

#include <commctrl.h>

namespace kestu {
namespace {

TEST(ControlParentValues, ShowHintFollowsTheParentUntilSetOfItsOwn) {
  TForm form(nullptr);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  auto* label = new TLabel(&form);
  label->SetParent(panel);
  EXPECT_TRUE(label->ParentShowHint());
  form.SetShowHint(true);
  EXPECT_TRUE(panel->ShowHint());
  EXPECT_TRUE(label->ShowHint());  // through the panel
  label->SetShowHint(false);
  EXPECT_FALSE(label->ParentShowHint());
  form.SetShowHint(false);
  form.SetShowHint(true);
  EXPECT_FALSE(label->ShowHint());
  // Switched back on, the parent's value is taken at once.
  label->SetParentShowHint(true);
  EXPECT_TRUE(label->ShowHint());
  // A control put on a new parent takes that parent's value.
  auto* other = new TPanel(&form);
  other->SetShowHint(false);
  label->SetParent(other);
  EXPECT_FALSE(label->ShowHint());
}

TEST(ControlParentValues, BiDiModeFollowsTheParentUntilSetOfItsOwn) {
  TForm form(nullptr);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  auto* button = new TButton(&form);
  button->SetParent(panel);
  form.SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(panel->BiDiMode(), bdRightToLeft);
  EXPECT_EQ(button->BiDiMode(), bdRightToLeft);
  button->SetBiDiMode(bdLeftToRight);
  EXPECT_FALSE(button->ParentBiDiMode());
  form.SetBiDiMode(bdRightToLeftReadingOnly);
  EXPECT_EQ(panel->BiDiMode(), bdRightToLeftReadingOnly);
  EXPECT_EQ(button->BiDiMode(), bdLeftToRight);
  button->SetParentBiDiMode(true);
  EXPECT_EQ(button->BiDiMode(), bdRightToLeftReadingOnly);
}

void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  while (GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(5);
  }
}

String TipText(HWND tip) {
  wchar_t text[80] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = tip;
  tool.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 80, LPARAM(&tool));
  return text;
}

TEST(ControlHints, HintShowsAfterTheMouseRestsAndGoesWhenItLeaves) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  auto* quiet = new TButton(&form);
  quiet->SetParent(&form);
  quiet->SetHint(L"Never shown");
  auto* button = new TButton(&form);
  button->SetParent(&form);
  button->SetTop(60);
  button->SetHint(L"Attach the files");
  form.SetShowHint(true);  // the button takes it; the other has its own
  quiet->SetShowHint(false);
  form.Show();
  THintPopup& hints = THintPopup::Instance();

  quiet->Perform(CM_MOUSEENTER);
  Pump(THintPopup::kPauseMs + 200);
  EXPECT_EQ(hints.Shown(), nullptr);
  quiet->Perform(CM_MOUSELEAVE);

  button->Perform(CM_MOUSEENTER);
  Pump(THintPopup::kPauseMs / 4);
  EXPECT_EQ(hints.Shown(), nullptr);  // not before the pause
  Pump(THintPopup::kPauseMs + 200);
  ASSERT_EQ(hints.Shown(), button);
  ASSERT_NE(hints.Window(), nullptr);
  EXPECT_TRUE(IsWindowVisible(hints.Window()));
  EXPECT_EQ(TipText(hints.Window()), L"Attach the files");
  button->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(hints.Shown(), nullptr);
  EXPECT_FALSE(IsWindowVisible(hints.Window()));

  // A press puts it away; so does the control going.
  button->Perform(CM_MOUSEENTER);
  Pump(THintPopup::kPauseMs + 200);
  ASSERT_EQ(hints.Shown(), button);
  button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(hints.Shown(), nullptr);
  button->Perform(CM_MOUSEENTER);
  delete button;
  Pump(THintPopup::kPauseMs + 200);
  EXPECT_EQ(hints.Shown(), nullptr);
}

// Closes a shown pop-up menu from its own loop.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

TEST(ControlPopupMenu, ContextRequestsShowTheMenuOfTheControlOrOfItsParent) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  auto* menu = new TPopupMenu(&form);
  auto* item = new TMenuItem(&form);
  item->SetCaption(L"Item");
  menu->Items()->Add(item);
  std::vector<TComponent*> shownFor;
  menu->SetOnPopup([&](TObject*) {
    shownFor.push_back(menu->PopupComponent());
    SetTimer(nullptr, 0, 50, CloseMenu);
  });
  auto* own = new TPanel(&form);
  own->SetParent(&form);
  own->SetBounds(0, 0, 100, 50);
  own->SetPopupMenu(menu);
  auto* without = new TPanel(&form);
  without->SetParent(&form);
  without->SetBounds(0, 60, 100, 50);
  form.Show();
  // From the keyboard (no point) and by a right click's point.
  SendMessageW(own->Handle(), WM_CONTEXTMENU, WPARAM(own->Handle()), MAKELPARAM(-1, -1));
  SendMessageW(own->Handle(), WM_CONTEXTMENU, WPARAM(own->Handle()), MAKELPARAM(150, 150));
  ASSERT_EQ(shownFor.size(), 2u);
  EXPECT_EQ(shownFor[1], own);
  // A control without a menu hands the request to its parent, which has none.
  SendMessageW(without->Handle(), WM_CONTEXTMENU, WPARAM(without->Handle()), MAKELPARAM(150, 150));
  EXPECT_EQ(shownFor.size(), 2u);
  form.SetPopupMenu(menu);
  SendMessageW(without->Handle(), WM_CONTEXTMENU, WPARAM(without->Handle()), MAKELPARAM(150, 150));
  ASSERT_EQ(shownFor.size(), 3u);
  EXPECT_EQ(shownFor[2], &form);
  // A menu that goes is forgotten by everyone who showed it.
  delete menu;
  EXPECT_EQ(own->PopupMenu(), nullptr);
  EXPECT_EQ(form.PopupMenu(), nullptr);
  SendMessageW(own->Handle(), WM_CONTEXTMENU, WPARAM(own->Handle()), MAKELPARAM(150, 150));
}

}  // namespace
}  // namespace kestu
