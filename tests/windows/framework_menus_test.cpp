// Menus: items from a description, commands, shortcuts, hotkeys, owner
// drawing of main and popup menus, change notification.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"

namespace kestu {

class TMenuForm : public TForm {
  KESTU_CLASS(TMenuForm, TForm)
 public:
  using TForm::TForm;
  TMainMenu* MainMenu1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* Open1 = nullptr;
  TMenuItem* Exit1 = nullptr;
  TMenuItem* Copy1 = nullptr;
  std::vector<String> log;
  void ItemClick(TObject* sender) { log.push_back(L"click " + static_cast<TComponent*>(sender)->Name()); }
  void ItemMeasure(TObject* sender, TCanvas*, int& width, int& height) {
    log.push_back(L"measure " + static_cast<TComponent*>(sender)->Name());
    width = 120;
    height = 30;
  }
  void ItemDraw(TObject* sender, TCanvas* canvas, const RECT& r, bool selected) {
    log.push_back(L"draw " + static_cast<TComponent*>(sender)->Name() + (selected ? L" selected" : L""));
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(r);
  }
};
KESTU_PUBLISH(TMenuForm) {
  p.Field("MainMenu1", &TMenuForm::MainMenu1);
  p.Field("PopupMenu1", &TMenuForm::PopupMenu1);
  p.Field("Open1", &TMenuForm::Open1);
  p.Field("Exit1", &TMenuForm::Exit1);
  p.Field("Copy1", &TMenuForm::Copy1);
  p.Handler("ItemClick", &TMenuForm::ItemClick);
  p.Handler("ItemMeasure", &TMenuForm::ItemMeasure);
  p.Handler("ItemDraw", &TMenuForm::ItemDraw);
}

// A component that notes the main menus it hears of.
class TMenuWatcher : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<TMainMenu*> seen;
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (auto* menu = dynamic_cast<TMainMenu*>(c); menu && op == opInsert) seen.push_back(menu);
  }
};

namespace {

const char* const kForm = R"(object MenuForm: TMenuForm
  Caption = 'Menus'
  ClientWidth = 300
  ClientHeight = 120
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    OwnerDraw = True
    object File1: TMenuItem
      Caption = 'File'
      object Open1: TMenuItem
        Caption = 'Open'
        ShortCut = 16463
        OnClick = ItemClick
        OnMeasureItem = ItemMeasure
        OnDrawItem = ItemDraw
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Exit1: TMenuItem
        Caption = 'E&xit'
        Enabled = False
        OnClick = ItemClick
      end
    end
  end
  object PopupMenu1: TPopupMenu
    OwnerDraw = True
    object Copy1: TMenuItem
      Caption = 'Copy'
      OnClick = ItemClick
      OnMeasureItem = ItemMeasure
      OnDrawItem = ItemDraw
    end
  end
end
)";

class Menus : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TMenuForm(Application);
    form->InitializeFromText(kForm);
  }
  void TearDown() override { delete form; }
  TMenuForm* form = nullptr;
};

TEST(MenuText, ShortCutsAndHotkeys) {
  EXPECT_EQ(ShortCut('O', ssCtrl), 16463);
  EXPECT_EQ(ShortCutToText(16463), L"Ctrl+O");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, ssShift | ssAlt)), L"Shift+Alt+F5");
  EXPECT_EQ(TextToShortCut(L"ctrl+del"), ShortCut(VK_DELETE, ssCtrl));
  EXPECT_EQ(TextToShortCut(L"Hyper+Q"), 0);
  EXPECT_EQ(StripHotkey(L"Save && E&xit"), L"Save & Exit");
  EXPECT_EQ(AssignHotkeys({L"File", L"Format", L"&Edit", L"-", L"Fit", L"E"}),
            (std::vector<String>{L"&File", L"F&ormat", L"&Edit", L"-", L"F&it", L"E"}));
}

TEST_F(Menus, ItemsAreBuiltFromTheDescription) {
  TMenuItem* root = form->MainMenu1->Items();
  ASSERT_EQ(root->Count(), 1);
  TMenuItem* file = root->Items(0);
  ASSERT_EQ(file->Count(), 3);
  EXPECT_EQ(file->Items(0), form->Open1);
  EXPECT_TRUE(file->Items(1)->IsLine());
  EXPECT_EQ(form->Open1->GetParentMenu(), form->MainMenu1);
  EXPECT_EQ(file->Find(L"exit"), form->Exit1);
  form->HandleNeeded();
  HMENU bar = GetMenu(form->Handle());
  ASSERT_EQ(bar, form->MainMenu1->Handle());
  ASSERT_EQ(GetMenuItemCount(bar), 1);
  wchar_t text[64];
  GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&File");  // automatic hotkey
  HMENU sub = GetSubMenu(bar, 0);
  ASSERT_EQ(GetMenuItemCount(sub), 3);
  GetMenuStringW(sub, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Open\tCtrl+O");
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE;
  GetMenuItemInfoW(sub, 2, TRUE, &info);
  EXPECT_TRUE(info.fState & MFS_GRAYED);
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  EXPECT_EQ(form->ClientHeight(), 120);  // the bar is outside the client area
}

TEST_F(Menus, BarItemsAreOwnerDrawnOnlyWhenMeasuredForTheBar) {
  // Components beside a new main menu hear of it as a main menu.
  auto* watcher = new TMenuWatcher(form);
  auto* other = new TMainMenu(form);
  EXPECT_EQ(watcher->seen, std::vector<TMainMenu*>{other});
  form->HandleNeeded();
  TMenuItem* file = form->MainMenu1->Items()->Items(0);
  auto barType = [&] {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(GetMenu(form->Handle()), 0, TRUE, &info);
    return info.fType;
  };
  EXPECT_FALSE(barType() & MFT_OWNERDRAW);  // the menu is owner-drawn, but nobody measures File for the bar
  file->SetOnMeasureItem([](TObject*, TCanvas*, int& width, int&) { width += 6; });
  form->MainMenu1->Rebuild();
  EXPECT_TRUE(barType() & MFT_OWNERDRAW);
  // Measured as a bar item: its text, without the room popup items keep for marks.
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemData = reinterpret_cast<ULONG_PTR>(file);
  ASSERT_TRUE(form->MainMenu1->MeasureItem(measure));
  TBitmap probe(1, 1);
  probe.Canvas()->Font()->Assign(Screen->MenuFont());
  EXPECT_EQ(int(measure.itemWidth), probe.Canvas()->TextWidth(L"File") + 6);
  EXPECT_EQ(int(measure.itemHeight), GetSystemMetrics(SM_CYMENU));
}

TEST_F(Menus, CommandsShortCutsAndChangeNotification) {
  form->HandleNeeded();
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(form->Open1->Command(), 0), 0);
  EXPECT_EQ(form->log, std::vector<String>{L"click Open1"});
  form->log.clear();
  // Ctrl+O pressed in any control of the form runs the item; a disabled one doesn't.
  auto* button = new TButton(form);
  button->SetParent(form);
  EXPECT_TRUE(form->IsShortCut('O', ssCtrl));
  EXPECT_FALSE(form->IsShortCut('P', ssCtrl));
  form->Exit1->SetShortCut(ShortCut('Q', ssCtrl));
  EXPECT_FALSE(form->IsShortCut('Q', ssCtrl));
  EXPECT_EQ(form->log, std::vector<String>{L"click Open1"});
  // Changing an item rebuilds the native menu and tells the form.
  std::vector<UINT> messages;
  form->SetWindowProc([&, old = form->WindowProc()](TMessage& m) {
    if (m.Msg == CM_MENUCHANGED) messages.push_back(m.Msg);
    old(m);
  });
  int changes = 0;
  form->MainMenu1->SetOnChange([&](TObject*, TMenuItem* source, bool rebuild) {
    EXPECT_EQ(source, form->Exit1);
    EXPECT_TRUE(rebuild);
    ++changes;
  });
  form->Exit1->SetCaption(L"Quit");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(messages.size(), 1u);
  wchar_t text[64];
  GetMenuStringW(GetSubMenu(GetMenu(form->Handle()), 0), 2, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Quit\tCtrl+Q");
  // Removing an item's component takes it out of the menu.
  form->MainMenu1->SetOnChange(nullptr);
  delete form->Exit1;
  EXPECT_EQ(form->MainMenu1->Items()->Items(0)->Count(), 2);
}

TEST_F(Menus, OwnerDrawnItemsAreMeasuredAndDrawnByTheirHandlers) {
  form->HandleNeeded();
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemID = form->Open1->Command();
  measure.itemData = reinterpret_cast<ULONG_PTR>(form->Open1);
  EXPECT_EQ(SendMessageW(form->Handle(), WM_MEASUREITEM, 0, LPARAM(&measure)), TRUE);
  EXPECT_EQ(measure.itemWidth, 120u);
  EXPECT_EQ(measure.itemHeight, 30u);
  TBitmap bitmap(50, 20);
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.itemData = reinterpret_cast<ULONG_PTR>(form->Open1);
  draw.itemState = ODS_SELECTED;
  draw.hDC = bitmap.Canvas()->Handle();
  draw.rcItem = {0, 0, 50, 20};
  SendMessageW(form->Handle(), WM_DRAWITEM, 0, LPARAM(&draw));
  EXPECT_EQ(form->log, (std::vector<String>{L"measure Open1", L"draw Open1 selected"}));
  EXPECT_EQ(bitmap.Rows().At(25, 10), (Bgr{0, 0, 255}));
}

TEST_F(Menus, MeasureAndDrawRequestsFromAnotherThreadAreNotTaken) {
  form->HandleNeeded();
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemData = reinterpret_cast<ULONG_PTR>(form->Open1);
  LRESULT result = -1;
  std::atomic<bool> done = false;
  std::thread sender([&] {
    result = SendMessageW(form->Handle(), WM_MEASUREITEM, 0, LPARAM(&measure));
    done = true;
  });
  for (MSG msg; !done; Sleep(1)) PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // takes the send
  sender.join();
  EXPECT_EQ(result, FALSE);
  EXPECT_EQ(measure.itemWidth, 0u);
  EXPECT_TRUE(form->log.empty());
}

TEST_F(Menus, APopupMenuShownForRealMeasuresDrawsAndRunsTheChosenItem) {
  form->Show();
  auto* timer = new TTimer(form);
  timer->SetInterval(100);
  int ticks = 0;
  timer->SetOnTimer([&](TObject*) {
    HWND popup = TPopupMenu::PopupWindow();
    if (++ticks == 1) {
      PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
    } else {
      EndMenu();  // never leave the test hanging in the menu loop
    }
  });
  timer->SetEnabled(true);
  form->PopupMenu1->Popup(100, 100);
  timer->SetEnabled(false);
  ASSERT_FALSE(form->log.empty());
  EXPECT_EQ(form->log.front(), L"measure Copy1");
  EXPECT_NE(std::find(form->log.begin(), form->log.end(), L"draw Copy1 selected"), form->log.end());
  EXPECT_EQ(form->log.back(), L"click Copy1");
}

TEST_F(Menus, RadioGroupsAndImagesOfOwnerDrawnItems) {
  TMenuItem* file = form->MainMenu1->Items()->Items(0);
  std::vector<TMenuItem*> radios;
  for (int i = 0; i < 3; ++i) {
    auto* item = new TMenuItem(form);
    item->SetCaption(L"Choice " + std::to_wstring(i));
    item->SetRadioItem(true);
    item->SetGroupIndex(i < 2 ? 1 : 2);
    file->Add(item);
    radios.push_back(item);
  }
  radios[0]->SetChecked(true);
  radios[2]->SetChecked(true);
  radios[1]->SetChecked(true);
  EXPECT_FALSE(radios[0]->Checked());  // same group
  EXPECT_TRUE(radios[1]->Checked());
  EXPECT_TRUE(radios[2]->Checked());   // its own group
  // The default drawing puts the item's image from the menu's list at the left.
  TImageList images(nullptr);
  images.SetWidth(8);
  images.SetHeight(8);
  TBitmap green(8, 8);
  green.Canvas()->Brush()->SetColor(clLime);
  green.Canvas()->FillRect({0, 0, 8, 8});
  images.Add(&green);
  form->MainMenu1->SetImages(&images);
  radios[1]->SetImageIndex(0);
  TBitmap target(100, 20);
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.itemData = reinterpret_cast<ULONG_PTR>(radios[1]);
  draw.hDC = target.Canvas()->Handle();
  draw.rcItem = {0, 0, 100, 20};
  EXPECT_TRUE(form->MainMenu1->DrawItem(draw));
  EXPECT_EQ(target.Rows().At(5, 10), (Bgr{0, 255, 0}));
  EXPECT_EQ(target.Rows().At(60, 2), BgrFromColor(ColorToRGB(clMenu)));
  form->MainMenu1->SetImages(nullptr);
}

TEST_F(Menus, AToolBarStandsInForTheMenuBar) {
  auto* bar = new TToolBar(form);
  bar->SetParent(form);
  bar->SetShowCaptions(true);
  bar->SetEdgeBorders(0);
  auto* edit = new TMenuItem(form);
  edit->SetCaption(L"Edit");
  form->MainMenu1->Items()->Add(edit);
  bar->SetMenu(form->MainMenu1);
  form->Show();
  // Grouped buttons bound to the top-level items, in menu order.
  ASSERT_EQ(bar->ButtonCount(), 2);
  EXPECT_EQ(bar->Buttons(0)->MenuItem(), form->MainMenu1->Items()->Items(0));
  EXPECT_EQ(bar->Buttons(1)->Caption(), L"Edit");
  EXPECT_TRUE(bar->Buttons(0)->Grouping());
  RECT first = bar->Buttons(0)->BoundsRect(), second = bar->Buttons(1)->BoundsRect();
  EXPECT_GT(first.right, first.left);
  EXPECT_GE(second.left, first.right);
  edit->SetCaption(L"Bearbeiten");
  edit->SetEnabled(false);
  bar->RefreshMenuButtons();
  EXPECT_EQ(bar->Buttons(1)->Caption(), L"Bearbeiten");
  EXPECT_FALSE(SendMessageW(bar->Handle(), TB_ISBUTTONENABLED, bar->Buttons(1)->Command(), 0));
  // The custom draw handler sees the hot button and may draw it itself.
  std::vector<std::pair<TToolButton*, TCustomDrawState>> drawn;
  bar->SetOnCustomDrawButton([&](TToolBar*, TToolButton* button, TCustomDrawState state, bool& defaultDraw) {
    drawn.emplace_back(button, state);
    if (state & cdsHot) defaultDraw = false;
  });
  SendMessageW(bar->Handle(), TB_SETHOTITEM, 0, 0);
  RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  bool hotSeen = false;
  for (auto& [button, state] : drawn) hotSeen |= button == bar->Buttons(0) && (state & cdsHot);
  EXPECT_TRUE(hotSeen);
  // A flat bar shows its own colour, not what its parent erases (or leaves).
  bar->SetColor(clRed);
  RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetDC(bar->Handle());
  EXPECT_EQ(GetPixel(dc, bar->ClientWidth() - 3, 2), RGB(255, 0, 0));
  ReleaseDC(bar->Handle(), dc);
  // Deleting the menu frees the bound buttons.
  delete form->MainMenu1;
  EXPECT_EQ(bar->ButtonCount(), 0);
  EXPECT_EQ(bar->Menu(), nullptr);
}

}  // namespace
}  // namespace kestu
