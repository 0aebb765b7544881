// What the drawn controls tell screen readers, on test forms with every one
// of them: themed and skinned push buttons (names, shortcuts, states, the
// default action that clicks), the themed title bar's and the skinned
// frame's title buttons and their actions, the message dialog's text before
// its buttons, the skinned scroll bar's value and parts, the skinned panel. The same trees are read from another process by the
// accessibility client, which also presses a dialog button while the dialog
// runs modally.
#include <gtest/gtest.h>

#include <memory>

#include "../e2e/AccessibleTree.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "themekit/SUIButton.h"
#include "themekit/SUIDlg.h"
#include "themekit/SUIForm.h"
#include "themekit/frmMessage.h"
// After the toolkit: the skin engine's headers bring their own colour names.
#include "skin/sCustomButton.h"
#include "skin/sPanel.h"
#include "skin/sScrollBar.h"
#include "skin/sSkinProvider.h"

#include "SkinTestForm.h"

namespace kestu {
namespace {

using accessible_tree::ChildId;
using accessible_tree::FromWindow;
using accessible_tree::Object;

void Pump(int ms) {
  const DWORD end = GetTickCount() + DWORD(ms);
  while (GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(5);
  }
}

std::wstring Name(const Object& o, long id = CHILDID_SELF) {
  return accessible_tree::Text(&IAccessible::get_accName, o.Get(), id);
}
std::wstring Shortcut(const Object& o, long id = CHILDID_SELF) {
  return accessible_tree::Text(&IAccessible::get_accKeyboardShortcut, o.Get(), id);
}
std::wstring Value(const Object& o, long id = CHILDID_SELF) {
  return accessible_tree::Text(&IAccessible::get_accValue, o.Get(), id);
}
std::wstring Action(const Object& o, long id = CHILDID_SELF) {
  return accessible_tree::Text(&IAccessible::get_accDefaultAction, o.Get(), id);
}
long Role(const Object& o, long id = CHILDID_SELF) {
  return accessible_tree::Number(&IAccessible::get_accRole, o.Get(), id);
}
long State(const Object& o, long id = CHILDID_SELF) {
  return accessible_tree::Number(&IAccessible::get_accState, o.Get(), id);
}
long ChildCount(const Object& o) {
  long count = -1;
  o->get_accChildCount(&count);
  return count;
}
RECT Location(const Object& o, long id = CHILDID_SELF) {
  long l = 0, t = 0, w = 0, h = 0;
  o->accLocation(&l, &t, &w, &h, ChildId(id));
  return RECT{l, t, l + w, t + h};
}
Object Child(const Object& o, long id) {
  IDispatch* child = nullptr;
  if (o->get_accChild(ChildId(id), &child) != S_OK) return Object();
  Object out = accessible_tree::FromDispatch(child);
  child->Release();
  return out;
}
bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

// Runs the accessibility client beside this program, serving its calls
// while it runs; returns what it printed.
std::string RunClient(const std::wstring& arguments) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder = self;
  folder.resize(folder.find_last_of(L'\\') + 1);
  wchar_t output[MAX_PATH] = {};
  GetTempFileNameW(folder.c_str(), L"acc", 0, output);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileW(output, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdOutput = out;
  start.hStdError = out;
  PROCESS_INFORMATION process{};
  std::wstring command = L"\"" + folder + L"accessible_client.exe\" " + arguments;
  const bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process);
  CloseHandle(out);
  std::string printed;
  if (started) {
    const DWORD end = GetTickCount() + 60000;
    while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0 &&
           GetTickCount() < end)
      Application->ProcessMessages();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    HANDLE in = CreateFileW(output, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(in, buffer, sizeof buffer, &read, nullptr) && read) printed.append(buffer, read);
    CloseHandle(in);
  }
  DeleteFileW(output);
  while (!printed.empty() && (printed.back() == '\n' || printed.back() == '\r')) printed.pop_back();
  return printed;
}

HWND stuckDialog = nullptr;
void CALLBACK CloseStuckDialog(HWND, UINT, UINT_PTR, DWORD) { PostMessageW(stuckDialog, WM_CLOSE, 0, 0); }

// What the client prints for a window, from the objects in this process.
std::string TreeHere(HWND window, const std::wstring& title) {
  return "{\"title\": " + accessible_tree::Json(title) + ", \"client\": " +
         accessible_tree::TreeOf(FromWindow(window, OBJID_CLIENT)) + ", \"titlebar\": " +
         accessible_tree::TreeOf(FromWindow(window, OBJID_TITLEBAR)) + "}";
}

// The test form: themed buttons (one default, one disabled), a skinned
// button, a standard button; a themed window with frame and title bar.
class DrawnControls : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    form = new TForm(nullptr);
    form->SetCaption(L"测试窗口");
    form->SetBounds(40, 40, 420, 160);
    apply = Themed(L"&Apply", 10);
    apply->SetDefault(true);
    apply->SetOnClick([this](TObject*) { ++applyClicks; });
    later = Themed(L"Later", 110);
    later->SetEnabled(false);
    later->SetOnClick([this](TObject*) { ++laterClicks; });
    skinned = new TsButton(form);
    skinned->SetParent(form);
    skinned->SetBounds(210, 10, 90, 25);
    skinned->SetCaption(L"&Skinned");
    skinned->SetOnClick([this](TObject*) { ++skinnedClicks; });
    standard = new TButton(form);
    standard->SetParent(form);
    standard->SetBounds(310, 10, 90, 25);
    standard->SetCaption(L"S&tandard");
    form->Show();

    themedWindow = new TForm(nullptr);
    themedWindow->SetBorderStyle(bsSizeable);
    themedWindow->SetBounds(40, 240, 320, 160);
    frame = new TsuiForm(themedWindow);
    frame->SetUIStyle(TsuiUIStyle::MacOS);
    frame->SetCaption(L"主题窗口");
    themedWindow->Show();
    Pump(50);
  }
  void TearDown() override {
    delete themedWindow;
    delete form;
  }

  TsuiButton* Themed(const wchar_t* caption, int left) {
    auto* b = new TsuiButton(form);
    b->SetParent(form);
    b->SetUIStyle(TsuiUIStyle::WinXP);
    b->SetBounds(left, 10, 90, 25);
    b->SetCaption(caption);
    return b;
  }

  TForm* form = nullptr;
  TsuiButton *apply = nullptr, *later = nullptr;
  TsButton* skinned = nullptr;
  TButton* standard = nullptr;
  int applyClicks = 0, laterClicks = 0, skinnedClicks = 0;
  TForm* themedWindow = nullptr;
  TsuiForm* frame = nullptr;
};

TEST_F(DrawnControls, PushButtonsSayWhatTheyAreAndWhatTheyDo) {
  standard->SetFocus();
  Object a = FromWindow(apply->Handle(), OBJID_CLIENT);
  Object l = FromWindow(later->Handle(), OBJID_CLIENT);
  Object s = FromWindow(skinned->Handle(), OBJID_CLIENT);
  ASSERT_TRUE(a && l && s);
  for (const Object* o : {&a, &l, &s}) {
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, Role(*o));
    EXPECT_EQ(L"Press", Action(*o));
    EXPECT_EQ(0, ChildCount(*o));
  }
  EXPECT_EQ(L"Apply", Name(a));
  EXPECT_EQ(L"Alt+A", Shortcut(a));
  EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_DEFAULT, State(a));
  EXPECT_EQ(L"Later", Name(l));
  EXPECT_EQ(L"", Shortcut(l));
  EXPECT_EQ(STATE_SYSTEM_UNAVAILABLE, State(l));
  EXPECT_EQ(L"Skinned", Name(s));
  EXPECT_EQ(L"Alt+S", Shortcut(s));
  EXPECT_EQ(STATE_SYSTEM_FOCUSABLE, State(s));
  EXPECT_TRUE(Same(ScreenBoundsOf(apply->Handle()), Location(a)));
  EXPECT_TRUE(Same(ScreenBoundsOf(skinned->Handle()), Location(s)));

  // Focus, and a skinned default button that Enter would click.
  apply->SetFocus();
  EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_DEFAULT, State(a));
  skinned->SetDefault(true);
  EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_DEFAULT, State(s));
  skinned->SetFocus();
  EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_DEFAULT, State(s));
  apply->SetEnabled(false);
  EXPECT_EQ(STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_DEFAULT, State(a));
  apply->SetEnabled(true);

  // Pressing clicks, once, after the reader's call; a disabled button refuses.
  standard->SetFocus();
  EXPECT_EQ(S_OK, a->accDoDefaultAction(ChildId(CHILDID_SELF)));
  EXPECT_EQ(S_OK, s->accDoDefaultAction(ChildId(CHILDID_SELF)));
  EXPECT_EQ(E_FAIL, l->accDoDefaultAction(ChildId(CHILDID_SELF)));
  EXPECT_EQ(0, applyClicks);
  Pump(100);
  EXPECT_EQ(1, applyClicks);
  EXPECT_EQ(1, skinnedClicks);
  EXPECT_EQ(0, laterClicks);
  EXPECT_TRUE(skinned->Focused()) << "pressed as by the mouse, the skinned button takes the focus";

  // The standard button is the system's.
  EXPECT_EQ(0, SendMessageW(standard->Handle(), WM_GETOBJECT, 0, LPARAM(LONG(OBJID_CLIENT))));
}

TEST_F(DrawnControls, ThemedTitleBarNamesItsButtonsAndPressesThem) {
  TsuiTitleBar* bar = frame->TitleBar();
  Object t = FromWindow(bar->Handle(), OBJID_CLIENT);
  ASSERT_TRUE(t);
  EXPECT_EQ(ROLE_SYSTEM_TITLEBAR, Role(t));
  EXPECT_EQ(L"主题窗口", Name(t));
  const auto places = bar->LayoutFor(bar->Width()).Buttons;
  ASSERT_EQ(places.size(), std::size_t(ChildCount(t)));
  std::vector<std::wstring> names;
  for (long id = 1; id <= ChildCount(t); ++id) {
    names.push_back(Name(t, id));
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, Role(t, id));
    EXPECT_EQ(L"Press", Action(t, id));
    if (id > 1) {
      EXPECT_LT(Location(t, id - 1).left, Location(t, id).left) << "not left to right";
    }
  }
  EXPECT_EQ((std::vector<std::wstring>{L"System menu", L"Minimize", L"Maximize", L"Close"}), names);
  // Where the paint puts the close button, on the screen.
  for (const auto& [index, r] : places) {
    if (bar->Button(index)->ButtonType() == suiClose) {
      EXPECT_TRUE(Same(ClientToScreenRect(bar->Handle(), RECT{r.Left, r.Top, r.Right, r.Bottom}), Location(t, 4)));
    }
  }

  EXPECT_EQ(S_OK, t->accDoDefaultAction(ChildId(3)));
  Pump(100);
  EXPECT_TRUE(IsZoomed(themedWindow->Handle()));
  EXPECT_EQ(L"Restore", Name(t, 3));
  EXPECT_EQ(S_OK, t->accDoDefaultAction(ChildId(3)));
  Pump(100);
  EXPECT_FALSE(IsZoomed(themedWindow->Handle()));
  EXPECT_EQ(S_OK, t->accDoDefaultAction(ChildId(2)));
  Pump(100);
  EXPECT_TRUE(IsIconic(themedWindow->Handle()));
  ShowWindow(themedWindow->Handle(), SW_RESTORE);
  EXPECT_EQ(S_OK, t->accDoDefaultAction(ChildId(4)));
  Pump(100);
  EXPECT_FALSE(themedWindow->Visible()) << "Close did not close the window";
}

TEST_F(DrawnControls, MessageDialogReadsItsTextBeforeItsButtons) {
  TsuiMessageDialog dialog(nullptr);
  dialog.SetCaption(L"提醒");
  dialog.SetText(L"数据库安装成功！");
  dialog.SetButtonCount(3);
  dialog.SetButton1Caption(L"&Yes");
  dialog.SetButton2Caption(L"&No");
  dialog.SetButton3Caption(L"Cancel");
  std::unique_ptr<TfrmMsg> window(dialog.BuildWindow());
  window->Show();
  Pump(50);
  Object d = FromWindow(window->Handle(), OBJID_CLIENT);
  ASSERT_TRUE(d);
  EXPECT_EQ(ROLE_SYSTEM_DIALOG, Role(d));
  EXPECT_EQ(L"提醒", Name(d));
  ASSERT_EQ(5, ChildCount(d));
  Object bar = Child(d, 1);
  ASSERT_TRUE(bar);
  EXPECT_EQ(ROLE_SYSTEM_TITLEBAR, Role(bar));
  EXPECT_EQ(L"提醒", Name(bar));
  EXPECT_EQ(ROLE_SYSTEM_STATICTEXT, Role(d, 2));
  EXPECT_EQ(L"数据库安装成功！", Name(d, 2));
  EXPECT_TRUE(Same(ClientToScreenRect(window->suiForm1->Handle(), window->lbl->BoundsRect()), Location(d, 2)));
  EXPECT_EQ(L"Yes", Name(d, 3));
  EXPECT_EQ(L"No", Name(d, 4));
  EXPECT_EQ(L"Cancel", Name(d, 5));
  EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, Role(d, 5));
  EXPECT_EQ(L"Alt+N", Shortcut(d, 4));
  // The focus is on button 1, on the left.
  VARIANT focus;
  ASSERT_EQ(S_OK, d->get_accFocus(&focus));
  ASSERT_EQ(VT_DISPATCH, focus.vt);
  EXPECT_EQ(L"Yes", Name(accessible_tree::FromDispatch(focus.pdispVal)));
  VariantClear(&focus);
}

TEST(SkinnedParts, AScrollBarReadsItsValueAndPartsAPanelItsCaption) {
  Application->Initialize();
  std::unique_ptr<TForm> form(new TForm(nullptr));
  form->SetBounds(500, 40, 300, 260);
  auto* panel = new TsPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(10, 10, 150, 80);
  panel->SetCaption(L"选项");
  auto* inside = new TsButton(form.get());
  inside->SetParent(panel);
  inside->SetBounds(10, 40, 80, 25);
  inside->SetCaption(L"&Go");
  auto* bar = new TsScrollBar(form.get());
  bar->SetParent(form.get());
  bar->SetKind(sbVertical);
  bar->SetBounds(200, 10, 17, 200);
  bar->SetParams(50, 0, 200);
  bar->SetSmallChange(5);
  bar->SetLargeChange(20);
  form->Show();
  Pump(50);

  Object p = FromWindow(panel->Handle(), OBJID_CLIENT);
  ASSERT_TRUE(p);
  EXPECT_EQ(ROLE_SYSTEM_GROUPING, Role(p));
  EXPECT_EQ(L"选项", Name(p));
  ASSERT_EQ(1, ChildCount(p));
  EXPECT_EQ(L"Go", Name(Child(p, 1)));

  Object s = FromWindow(bar->Handle(), OBJID_CLIENT);
  ASSERT_TRUE(s);
  EXPECT_EQ(ROLE_SYSTEM_SCROLLBAR, Role(s));
  EXPECT_EQ(L"Vertical", Name(s));
  EXPECT_EQ(L"25", Value(s));  // 50 of 0..200
  ASSERT_EQ(5, ChildCount(s));
  std::vector<std::wstring> names;
  for (long id = 1; id <= 5; ++id) names.push_back(Name(s, id));
  EXPECT_EQ((std::vector<std::wstring>{L"Line up", L"Page up", L"Position", L"Page down", L"Line down"}), names);
  EXPECT_EQ(ROLE_SYSTEM_INDICATOR, Role(s, 3));
  EXPECT_EQ(L"", Action(s, 3));
  // The parts tile the bar from top to bottom, the slider where it is drawn.
  const RECT whole = ScreenBoundsOf(bar->Handle());
  EXPECT_EQ(whole.top, Location(s, 1).top);
  for (long id = 1; id < 5; ++id) EXPECT_EQ(Location(s, id).bottom, Location(s, id + 1).top) << id;
  EXPECT_EQ(whole.bottom, Location(s, 5).bottom);
  const ScrollBarGeometry g = bar->Geometry();
  EXPECT_EQ(whole.top + g.SliderStart(), Location(s, 3).top);

  // Pressing a part moves the position as a click on it does.
  EXPECT_EQ(S_OK, s->accDoDefaultAction(ChildId(4)));
  Pump(50);
  EXPECT_EQ(70, bar->Position());
  EXPECT_EQ(L"35", Value(s));
  EXPECT_EQ(S_OK, s->accDoDefaultAction(ChildId(1)));
  Pump(50);
  EXPECT_EQ(65, bar->Position());
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, s->accDoDefaultAction(ChildId(3)));
  bar->SetEnabled(false);
  EXPECT_NE(0, State(s, 5) & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(E_FAIL, s->accDoDefaultAction(ChildId(5)));
}

// A skinned window with every standard title button and two user buttons,
// the second disabled.
class SkinnedFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    EnsureSkinClasses();
    form = CreateFormFromResource<TSkinTestForm>(Application);
    form->SetBorderStyle(bsSizeable);
    form->SetPosition(poDesigned);
    form->SetBounds(480, 240, 400, 200);
    form->SetCaption(L"皮肤窗口");
    form->SetBorderIcons(0);
    provider = new TsSkinProvider(form);
    provider->SetBorderIcons(biSystemMenu | biMinimize | biMaximize | biHelp);
    for (const wchar_t* name : {L"Pin", L"Later"}) {
      auto* b = static_cast<TsTitleButton*>(provider->TitleButtons()->Add());
      b->SetName(name);
    }
    provider->TitleButtons()->Button(0)->SetOnMouseUp([this](TObject*, TMouseButton, TShiftState, int, int) { ++pins; });
    provider->TitleButtons()->Button(1)->SetEnabled(false);
    provider->Loaded();
    form->Show();
    Pump(100);
  }
  void TearDown() override { delete form; }

  TSkinTestForm* form = nullptr;
  TsSkinProvider* provider = nullptr;
  int pins = 0;
};

TEST_F(SkinnedFrame, TitleBarNamesTheDrawnButtonsAndPressesThem) {
  ASSERT_TRUE(provider->SkinActive());
  // The client area stays the system's; the title bar is the frame's.
  EXPECT_EQ(0, SendMessageW(form->Handle(), WM_GETOBJECT, 0, LPARAM(LONG(OBJID_CLIENT))));
  Object t = FromWindow(form->Handle(), OBJID_TITLEBAR);
  ASSERT_TRUE(t);
  EXPECT_EQ(ROLE_SYSTEM_TITLEBAR, Role(t));
  EXPECT_EQ(L"皮肤窗口", Name(t));
  std::vector<std::wstring> names;
  for (long id = 1; id <= ChildCount(t); ++id) {
    names.push_back(Name(t, id));
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, Role(t, id));
    EXPECT_EQ(L"Press", Action(t, id));
  }
  EXPECT_EQ((std::vector<std::wstring>{L"Later", L"Pin", L"Help", L"Minimize", L"Maximize", L"Close"}), names);
  EXPECT_EQ(STATE_SYSTEM_UNAVAILABLE, State(t, 1));
  EXPECT_EQ(0, State(t, 2));
  // Where the frame drew the close button, on the screen.
  RECT close = provider->StandardButton(2).Rect;
  const RECT window = ScreenBoundsOf(form->Handle());
  OffsetRect(&close, window.left, window.top);
  EXPECT_TRUE(Same(close, Location(t, 6)));
  const RECT bar = Location(t);
  EXPECT_EQ(window.top, bar.top);
  EXPECT_EQ(window.top + provider->SysBorderY() + provider->CaptionHeight(), bar.bottom);

  EXPECT_EQ(E_FAIL, t->accDoDefaultAction(ChildId(1)));
  EXPECT_EQ(S_OK, t->accDoDefaultAction(ChildId(2)));
  Pump(100);
  EXPECT_EQ(1, pins);
  EXPECT_EQ(S_OK, t->accDoDefaultAction(ChildId(5)));
  Pump(200);
  EXPECT_TRUE(IsZoomed(form->Handle()));
  EXPECT_EQ(L"Restore", Name(t, 5));
  EXPECT_EQ(S_OK, t->accDoDefaultAction(ChildId(5)));
  Pump(200);
  EXPECT_FALSE(IsZoomed(form->Handle()));
  EXPECT_EQ(S_OK, t->accDoDefaultAction(ChildId(6)));
  Pump(200);
  EXPECT_FALSE(IsWindowVisible(form->Handle())) << "Close did not close the window";
}

TEST_F(SkinnedFrame, AReaderInAnotherProcessSeesTheTitleBar) {
  const std::string here = TreeHere(form->Handle(), L"皮肤窗口");
  EXPECT_NE(std::string::npos, here.find("\"titlebar\": {\"role\": 1,")) << here;
  EXPECT_EQ(here, RunClient(L"皮肤窗口"));
  EXPECT_EQ("{\"pressed\": \"Pin\", \"result\": 0}", RunClient(L"皮肤窗口 --press Pin"));
  Pump(100);
  EXPECT_EQ(1, pins);
}

TEST_F(DrawnControls, AReaderInAnotherProcessSeesTheSameTrees) {
  for (auto [window, title] : {std::pair{form->Handle(), std::wstring(L"测试窗口")},
                               std::pair{themedWindow->Handle(), std::wstring(L"主题窗口")}}) {
    const std::string here = TreeHere(window, title);
    EXPECT_NE(std::string::npos, here.find("\"role\": 43")) << here;
    EXPECT_EQ(here, RunClient(L"\"" + title + L"\"")) << "the tree from another process differs";
  }
  EXPECT_EQ("{\"pressed\": \"Apply\", \"result\": 0}", RunClient(L"\"测试窗口\" --press Apply"));
  Pump(100);
  EXPECT_EQ(1, applyClicks);
  EXPECT_EQ("{\"error\": \"no such element\"}", RunClient(L"\"测试窗口\" --press Nothing"));
}

TEST_F(DrawnControls, AReaderInAnotherProcessPressesAModalDialogsButton) {
  TsuiMessageDialog dialog(nullptr);
  dialog.SetCaption(L"提醒");
  dialog.SetText(L"数据库安装成功！");
  dialog.SetButtonCount(2);
  dialog.SetButton1Caption(L"&Yes");
  dialog.SetButton1ModalResult(mrYes);
  dialog.SetButton2Caption(L"&No");
  dialog.SetButton2ModalResult(mrNo);
  std::string tree, pressed;
  dialog.SetOnShowWindow([&](TfrmMsg* window) {
    stuckDialog = window->Handle();
    tree = RunClient(L"提醒");
    pressed = RunClient(L"提醒 --press No");
  });
  const UINT_PTR guard = SetTimer(nullptr, 0, 30000, CloseStuckDialog);  // a stuck test ends with 2
  EXPECT_EQ(mrNo, dialog.ShowModal());
  KillTimer(nullptr, guard);
  EXPECT_NE(std::string::npos, tree.find("\"role\": 18, ")) << tree;
  const std::size_t text = tree.find("\"name\": \"数据库安装成功！\"");
  const std::size_t yes = tree.find("\"name\": \"Yes\"");
  EXPECT_NE(std::string::npos, text) << tree;
  EXPECT_LT(text, yes) << "the text is not read before the buttons";
  EXPECT_EQ("{\"pressed\": \"No\", \"result\": 0}", pressed);
}

}  // namespace
}  // namespace kestu
