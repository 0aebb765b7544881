// Forms on the virtual display: building from the stored description,
// position, scaling, modal results, keyboard routing, mouse tracking and the
// error box.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace kestu {

class TTestForm : public TForm {
  KESTU_CLASS(TTestForm, TForm)
 public:
  using TForm::TForm;
  TPanel* Panel1 = nullptr;
  TLabel* Label1 = nullptr;
  TButton* Button2 = nullptr;
  TButton* Button3 = nullptr;
  TButton* OkButton = nullptr;
  TButton* CancelButton = nullptr;
  TImage* Image1 = nullptr;
  TTimer* Timer1 = nullptr;
  int created = 0;
  int applied = 0;
  void FormCreate(TObject*) { ++created; }
  void Button2Click(TObject*) { ++applied; }
};
KESTU_PUBLISH(TTestForm) {
  p.Field("Panel1", &TTestForm::Panel1);
  p.Field("Label1", &TTestForm::Label1);
  p.Field("Button2", &TTestForm::Button2);
  p.Field("Button3", &TTestForm::Button3);
  p.Field("OkButton", &TTestForm::OkButton);
  p.Field("CancelButton", &TTestForm::CancelButton);
  p.Field("Image1", &TTestForm::Image1);
  p.Field("Timer1", &TTestForm::Timer1);
  p.Handler("FormCreate", &TTestForm::FormCreate);
  p.Handler("Button2Click", &TTestForm::Button2Click);
}

namespace {

// Runs `step` from a timer inside whatever loop is running (a modal one).
void Later(TTimer* timer, std::function<void()> step) {
  timer->SetEnabled(false);
  timer->SetOnTimer([timer, step](TObject*) {
    timer->SetEnabled(false);
    step();
  });
  timer->SetEnabled(true);
}

void Pump(int ms = 50) {
  const DWORD end = GetTickCount() + DWORD(ms);
  while (GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(5);
  }
}

class Forms : public ::testing::Test {
 protected:
  void SetUp() override { form = CreateFormFromResource<TTestForm>(Application); }
  void TearDown() override { delete form; }
  TTestForm* form = nullptr;
};

TEST_F(Forms, BuildsFromTheStoredDescription) {
  EXPECT_EQ(form->created, 1);
  EXPECT_EQ(form->Caption(), L"测试窗口");
  EXPECT_EQ(form->BorderStyle(), bsSingle);
  EXPECT_EQ(form->BorderIcons(), TBorderIcons(biSystemMenu));
  ASSERT_NE(form->Button2, nullptr);
  EXPECT_EQ(form->Button2->Parent(), form->Panel1);
  EXPECT_EQ(form->Label1->Parent(), form->Panel1);
  EXPECT_EQ(form->Label1->FocusControl(), form->Button3);
  EXPECT_EQ(form->OkButton->Parent(), form);
  EXPECT_EQ(form->OkButton->ModalResult(), mrOk);
  EXPECT_EQ(form->CancelButton->ModalResult(), mrCancel);
  EXPECT_EQ(form->Timer1->Interval(), 20);
  // Children follow the form's font unless they have their own.
  EXPECT_EQ(form->Button2->Font()->Name(), L"SimSun");
  EXPECT_EQ(form->Button2->Font()->Height(), -12);
  // The image sized itself to the stored 2 x 3 bitmap, read past wrong header sizes.
  EXPECT_EQ(form->Image1->Width(), 2);
  EXPECT_EQ(form->Image1->Height(), 3);
  TBitmap* bitmap = form->Image1->Picture()->Bitmap();
  EXPECT_EQ(bitmap->Rows().At(0, 0), (Bgr{0, 0, 255}));  // top row red
  EXPECT_EQ(bitmap->Rows().At(1, 2), (Bgr{255, 0, 0}));  // bottom row blue
  // Window controls got real windows with the form's window as parent.
  form->HandleNeeded();
  EXPECT_EQ(GetParent(form->Button2->Handle()), form->Panel1->Handle());
  EXPECT_EQ(GetWindowString(form->Handle()), L"测试窗口");
  EXPECT_EQ(form->ClientWidth(), 300);
  EXPECT_EQ(form->ClientHeight(), 200);
  EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), Application->Handle());
}

TEST_F(Forms, PositionIsAppliedWhenShown) {
  form->Show();
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(form->Left(), (sw - form->Width()) / 2);
  EXPECT_EQ(form->Top(), (sh - form->Height()) / 2);
  RECT r;
  GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(r.left, form->Left());
  EXPECT_EQ(r.top, form->Top());
}

TEST(FormPosition, EveryValue) {
  const RECT screen{0, 0, 1280, 1024}, desktop{-100, 0, 1280, 1024}, main{100, 100, 500, 400};
  const POINT designed{404, 292};
  const SIZE size{300, 200};
  auto at = [&](TPosition p, const RECT* c = nullptr) { return PositionFor(p, designed, size, screen, desktop, c); };
  EXPECT_EQ(at(poDesigned).x, 404);
  EXPECT_EQ(at(poDesigned).y, 292);
  EXPECT_EQ(at(poDefault).x, CW_USEDEFAULT);
  EXPECT_EQ(at(poDefaultPosOnly).y, CW_USEDEFAULT);
  EXPECT_EQ(at(poDefaultSizeOnly).x, 404);
  EXPECT_EQ(at(poScreenCenter).x, 490);
  EXPECT_EQ(at(poScreenCenter).y, 412);
  EXPECT_EQ(at(poDesktopCenter).x, 440);
  EXPECT_EQ(at(poMainFormCenter, &main).x, 150);
  EXPECT_EQ(at(poMainFormCenter, &main).y, 150);
  EXPECT_EQ(at(poOwnerFormCenter, &main).x, 150);
  EXPECT_EQ(at(poOwnerFormCenter).x, 490);  // nothing to centre on: the screen
}

TEST(FormScaling, ADescriptionMadeAtAnotherDensityIsScaled) {
  Screen->SetPixelsPerInch(120);
  auto* form = CreateFormFromResource<TTestForm>(Application);
  Screen->SetPixelsPerInch(96);
  // Stored at 96 dpi; shown at 120: everything grows by 5/4.
  EXPECT_EQ(form->Panel1->Left(), 10);
  EXPECT_EQ(form->Panel1->Width(), 250);
  EXPECT_EQ(form->OkButton->Left(), 150);
  EXPECT_EQ(form->OkButton->Top(), 200);
  EXPECT_EQ(form->Font()->Height(), -15);
  EXPECT_EQ(form->ClientWidth(), 375);
  EXPECT_EQ(form->ClientHeight(), 250);
  EXPECT_EQ(form->PixelsPerInch(), 120);
  delete form;
}

TEST_F(Forms, ModalResultsCloseOrKeepTheForm) {
  // A button with result 1 closes the form with 1.
  Later(form->Timer1, [&] { SendMessageW(form->OkButton->Handle(), BM_CLICK, 0, 0); });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  // A button with result 0 keeps it open; closing it otherwise gives 2.
  Later(form->Timer1, [&] {
    SendMessageW(form->Button2->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->applied, 1);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(form->ModalResult(), mrNone);
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST_F(Forms, OtherWindowsAreDisabledWhileModal) {
  auto* other = new TForm(Application);
  other->Show();
  bool disabledMeanwhile = false;
  Later(form->Timer1, [&] {
    disabledMeanwhile = !IsWindowEnabled(other->Handle()) && IsWindowEnabled(form->Handle());
    form->SetModalResult(mrAbort);
  });
  EXPECT_EQ(form->ShowModal(), mrAbort);
  EXPECT_TRUE(disabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(other->Handle()));
  delete other;
}

TEST_F(Forms, KeyboardRoutingAsADialogExpects) {
  form->Show();
  SetForegroundWindow(form->Handle());
  form->OkButton->SetFocus();
  Pump();
  ASSERT_TRUE(form->OkButton->Focused());
  auto key = [&](WORD vk) {
    HWND focus = GetFocus();
    SendMessageW(focus, WM_KEYDOWN, vk, 1);
    SendMessageW(focus, WM_KEYUP, vk, LPARAM(0xC0000001));
  };
  // Tab follows the tab order: OK (0), Cancel (1), then into the panel (2)
  // whose buttons are ordered Button2 (0), Button3 (1).
  key(VK_TAB);
  EXPECT_TRUE(form->CancelButton->Focused());
  key(VK_TAB);
  EXPECT_TRUE(form->Button2->Focused());
  key(VK_TAB);
  EXPECT_TRUE(form->Button3->Focused());
  EXPECT_EQ(form->ActiveControl(), form->Button3);
  // Arrows move among the controls of the same parent, tab stops or not.
  key(VK_LEFT);
  EXPECT_TRUE(form->Button2->Focused());
  key(VK_RIGHT);
  EXPECT_TRUE(form->Button3->Focused());
  // Enter on a button that is neither default nor focused-with-result: the
  // focused button is clicked; here it has no result, so the form stays.
  key(VK_RETURN);
  EXPECT_EQ(form->ModalResult(), mrNone);
  // Focus on a non-button: Enter goes to the default button.
  form->Panel1->SetTabStop(true);
  form->Panel1->SetFocus();
  Pump();
  key(VK_RETURN);
  EXPECT_EQ(form->ModalResult(), mrOk);
  form->SetModalResult(mrNone);
  // Escape clicks the cancel button.
  key(VK_ESCAPE);
  EXPECT_EQ(form->ModalResult(), mrCancel);
  form->SetModalResult(mrNone);
  // Mnemonics: Alt+A clicks "&Apply"; "&Name" on the label focuses its control.
  SendMessageW(GetFocus(), WM_SYSCHAR, L'a', LPARAM(0x20000001));
  EXPECT_EQ(form->applied, 1);
  SendMessageW(GetFocus(), WM_SYSCHAR, L'N', LPARAM(0x20000001));
  EXPECT_TRUE(form->Button3->Focused());
}

TEST_F(Forms, KeyPreviewShowsKeysToTheFormFirst) {
  form->Show();
  SetForegroundWindow(form->Handle());
  form->Button2->SetFocus();
  std::vector<std::string> seen;
  form->SetOnKeyDown([&](TObject*, WORD& key, TShiftState) {
    seen.push_back("form");
    if (key == 'X') key = 0;
  });
  form->Button2->SetOnKeyDown([&](TObject*, WORD&, TShiftState) { seen.push_back("button"); });
  SendMessageW(form->Button2->Handle(), WM_KEYDOWN, 'Y', 1);
  EXPECT_EQ(seen, std::vector<std::string>{"button"});
  form->SetKeyPreview(true);
  seen.clear();
  SendMessageW(form->Button2->Handle(), WM_KEYDOWN, 'Y', 1);
  SendMessageW(form->Button2->Handle(), WM_KEYDOWN, 'X', 1);
  EXPECT_EQ(seen, (std::vector<std::string>{"form", "button", "form"}));
}

TEST_F(Forms, MouseEnterAndLeaveFromRealMouseTracking) {
  form->Show();
  SetForegroundWindow(form->Handle());
  SetCursorPos(0, 0);  // start away from the form
  Pump(150);
  std::vector<std::string> events;
  form->Panel1->SetOnMouseEnter([&](TObject*) { events.push_back("panel enter"); });
  form->Panel1->SetOnMouseLeave([&](TObject*) { events.push_back("panel leave"); });
  form->Label1->SetOnMouseEnter([&](TObject*) { events.push_back("label enter"); });
  form->Label1->SetOnMouseLeave([&](TObject*) { events.push_back("label leave"); });
  std::vector<UINT> messages;
  form->Panel1->SetWindowProc([&, old = form->Panel1->WindowProc()](TMessage& m) {
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) messages.push_back(m.Msg);
    old(m);
  });
  auto move = [&](TControl* c, int x, int y) {
    POINT p = c->ClientToScreen({x, y});
    SetCursorPos(p.x, p.y);
    Pump(150);
  };
  move(form->Panel1, 150, 80);  // panel, away from the label
  move(form->Panel1, 10, 8);    // on the label (a graphic control in the panel)
  move(form->Panel1, 150, 80);
  move(form, 250, 120);         // off the panel, still on the form
  EXPECT_EQ(events, (std::vector<std::string>{"panel enter", "label enter", "label leave", "panel leave"}));
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages.front(), 0xB013u);
  EXPECT_EQ(messages.back(), 0xB014u);
}

// A window procedure put in the native slot: it must have the window
// procedure's calling convention (stdcall on 32-bit x86), which a lambda
// converted to a function pointer does not.
WNDPROC previousProc = nullptr;
std::vector<UINT>* subclassLog = nullptr;
LRESULT CALLBACK SubclassProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_USER + 5) subclassLog->push_back(0);
  return CallWindowProcW(previousProc, w, m, wp, lp);
}

TEST_F(Forms, WindowProcSeesMessagesFirstAndTheNativeSlotCanBeReplaced) {
  form->HandleNeeded();
  std::vector<UINT> order;
  form->SetWindowProc([&, old = form->WindowProc()](TMessage& m) {
    if (m.Msg == WM_USER + 5) order.push_back(1);
    old(m);
  });
  subclassLog = &order;
  const WNDPROC replacement = &SubclassProc;  // fails to compile for a procedure of another convention
  previousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacement)));
  SendMessageW(form->Handle(), WM_USER + 5, 0, 0);
  EXPECT_EQ(order, (std::vector<UINT>{0, 1}));
  EXPECT_EQ(TWinControl::FindControl(form->Handle()), form);
  SetWindowLongPtrW(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
}

TEST_F(Forms, NotificationsUseTheirValues) {
  std::vector<UINT> seen;
  form->OkButton->SetWindowProc([&, old = form->OkButton->WindowProc()](TMessage& m) {
    if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100) seen.push_back(m.Msg);
    old(m);
  });
  form->OkButton->SetEnabled(false);
  form->OkButton->SetVisible(false);
  form->SetColor(clWhite);
  form->OkButton->SetParentColor(true);
  form->SetColor(clRed);
    // Enabled, visible, parent colour (ignored: own colour), parent colour
  // taken (colour changed), then a parent colour change followed.
  EXPECT_EQ(seen, (std::vector<UINT>{0xB00C, 0xB00B, 0xB009, 0xB009, 0xB00D, 0xB009, 0xB00D}));
  EXPECT_EQ(form->OkButton->Color(), clRed);
}

TEST(MDI, ChildFormsLiveInTheFramesClientWindow) {
  auto* frame = new TForm(Application);
  frame->SetFormStyle(fsMDIForm);
  frame->SetClientSize(400, 300);
  auto* bar = new TPanel(frame);
  bar->SetParent(frame);
  bar->SetHeight(30);
  bar->SetAlign(alTop);
  TCustomForm* previousMain = Application->MainForm();
  Application->SetMainForm(frame);
  frame->Show();
  ASSERT_NE(frame->ClientHandle(), nullptr);
  RECT client;
  GetWindowRect(frame->ClientHandle(), &client);
  POINT origin = frame->ClientToScreen({0, 0});
  EXPECT_EQ(client.top - origin.y, 30);  // below the aligned panel
  auto* first = new TForm(Application);
  first->SetFormStyle(fsMDIChild);
  first->SetCaption(L"One");
  first->Show();
  auto* second = new TForm(Application);
  second->SetFormStyle(fsMDIChild);
  second->Show();
  EXPECT_EQ(GetParent(first->Handle()), frame->ClientHandle());
  EXPECT_EQ(frame->MDIChildCount(), 2);
  EXPECT_EQ(frame->ActiveMDIChild(), second);
  SendMessageW(frame->ClientHandle(), WM_MDIACTIVATE, WPARAM(first->Handle()), 0);
  EXPECT_EQ(frame->ActiveMDIChild(), first);
  delete first;
  delete second;
  EXPECT_EQ(frame->MDIChildCount(), 0);
  Application->SetMainForm(previousMain);
  delete frame;
}

TEST_F(Forms, MessageHooksSeePostedMessagesBeforeDispatch) {
  form->HandleNeeded();
  std::vector<UINT> hooked, delivered;
  const int id = Application->AddMessageHook([&](MSG& msg) {
    if (msg.hwnd != form->Handle() || msg.message < WM_APP) return false;
    hooked.push_back(msg.message);
    return msg.message == WM_APP + 1;  // handled here: never dispatched
  });
  form->SetWindowProc([&, old = form->WindowProc()](TMessage& m) {
    if (m.Msg >= WM_APP && m.Msg < WM_APP + 10) delivered.push_back(m.Msg);
    old(m);
  });
  PostMessageW(form->Handle(), WM_APP + 1, 0, 0);
  PostMessageW(form->Handle(), WM_APP + 2, 0, 0);
  Application->ProcessMessages();
  Application->RemoveMessageHook(id);
  PostMessageW(form->Handle(), WM_APP + 3, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(hooked, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
  EXPECT_EQ(delivered, (std::vector<UINT>{WM_APP + 2, WM_APP + 3}));
}

TEST_F(Forms, CloseQueryAndCloseActionsCanKeepAModalFormOpen) {
  int queries = 0;
  form->SetOnCloseQuery([&](TObject*, bool& canClose) { canClose = ++queries > 1; });
  Later(form->Timer1, [&] {
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);  // refused by CloseQuery
    PostMessageW(form->OkButton->Handle(), BM_CLICK, 0, 0);  // accepted
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_EQ(queries, 2);
  form->SetOnCloseQuery(nullptr);
  int closes = 0;
  form->SetOnClose([&](TObject*, TCloseAction& action) {
    if (++closes == 1) action = caNone;
  });
  Later(form->Timer1, [&] {
    form->SetModalResult(mrYes);  // the handler says no the first time
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_EQ(closes, 2);
  // A form that is not the main form hides when closed.
  form->Show();
  form->Close();
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_FALSE(Application->Terminated());
}

TEST_F(Forms, FocusSkipsHiddenDisabledAndNonTabStopControls) {
  form->Show();
  SetForegroundWindow(form->Handle());
  form->OkButton->SetFocus();
  form->CancelButton->SetEnabled(false);
  form->Button2->SetTabStop(false);
  EXPECT_FALSE(IsWindowEnabled(form->CancelButton->Handle()));
  EXPECT_FALSE(form->CancelButton->CanFocus());
  SendMessageW(form->OkButton->Handle(), WM_KEYDOWN, VK_TAB, 1);
  EXPECT_TRUE(form->Button3->Focused());
  form->Panel1->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(form->Button3->Handle()));
  EXPECT_FALSE(form->Button3->CanFocus());
  SendMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
  EXPECT_TRUE(form->OkButton->Focused());
  // Enter and exit follow the focus.
  std::vector<std::string> events;
  form->OkButton->SetOnExit([&](TObject*) { events.push_back("ok exit"); });
  form->Panel1->SetVisible(true);
  form->Button3->SetOnEnter([&](TObject*) { events.push_back("3 enter"); });
  form->Button3->SetFocus();
  EXPECT_EQ(events, (std::vector<std::string>{"ok exit", "3 enter"}));
}

TEST_F(Forms, ParentFontFollowsUntilAControlSetsItsOwn) {
  form->Font()->SetHeight(-16);
  EXPECT_EQ(form->Button2->Font()->Height(), -16);  // through the panel
  EXPECT_TRUE(form->Button2->ParentFont());
  form->Button3->Font()->SetStyle(fsBold);
  EXPECT_FALSE(form->Button3->ParentFont());
  form->Font()->SetHeight(-20);
  EXPECT_EQ(form->Button2->Font()->Height(), -20);
  EXPECT_EQ(form->Button3->Font()->Height(), -16);
  form->Button3->SetParentFont(true);
  EXPECT_EQ(form->Button3->Font()->Height(), -20);
  EXPECT_EQ(form->Button3->Font()->Style(), TFontStyles(0));
  // The window gets the new font too.
  form->HandleNeeded();
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(form->Button3->Handle(), WM_GETFONT, 0, 0)),
            form->Button3->Font()->Handle());
}

TEST_F(Forms, TimersFireOnTheMessageLoopAndErrorsInThemAreHandled) {
  std::vector<String> boxes;
  Application->SetMessageBoxHook([&](HWND, const String& text, const String&, UINT) {
    boxes.push_back(text);
    return IDOK;
  });
  int ticks = 0;
  form->Timer1->SetOnTimer([&](TObject*) {
    if (++ticks == 2) throw Exception(L"tick");
  });
  form->Timer1->SetEnabled(true);
  const DWORD end = GetTickCount() + 2000;
  while (ticks < 3 && GetTickCount() < end) Application->HandleMessage();
  form->Timer1->SetEnabled(false);
  Application->SetMessageBoxHook(nullptr);
  EXPECT_GE(ticks, 3);
  EXPECT_EQ(boxes, std::vector<String>{L"tick."});
}

TEST(ErrorBox, FullStopRule) {
  EXPECT_EQ(ErrorBoxText(L"数据库安装失败"), L"数据库安装失败.");
  EXPECT_EQ(ErrorBoxText(L"Login failed"), L"Login failed.");
  EXPECT_EQ(ErrorBoxText(L"Error 42"), L"Error 42.");
  EXPECT_EQ(ErrorBoxText(L"Stop!"), L"Stop!");
  EXPECT_EQ(ErrorBoxText(L"(code 5)"), L"(code 5)");
  EXPECT_EQ(ErrorBoxText(L"Done."), L"Done.");
  EXPECT_EQ(ErrorBoxText(L""), L"");
  EXPECT_EQ(ErrorBoxText(L"emoji \U0001F600"), L"emoji \U0001F600.");
}

TEST_F(Forms, ErrorsInHandlersReachTheErrorBoxNotTheCaller) {
  Application->SetTitle(L"沐岚远帆印务管理系统数据库安装程序");
  form->Show();
  struct Box {
    HWND owner;
    String text, caption;
    UINT flags;
    bool formEnabled;
  };
  std::vector<Box> boxes;
  Application->SetMessageBoxHook([&](HWND owner, const String& text, const String& caption, UINT flags) {
    boxes.push_back({owner, text, caption, flags, IsWindowEnabled(form->Handle()) != FALSE});
    return IDOK;
  });
  form->Button2->SetOnClick([](TObject*) { throw Exception(L"数据库连接失败"); });
  SendMessageW(form->Button2->Handle(), BM_CLICK, 0, 0);  // through the window procedure
  form->Button2->SetOnClick([](TObject*) { throw EAbort(); });
  SendMessageW(form->Button2->Handle(), BM_CLICK, 0, 0);  // silent
  Application->SetMessageBoxHook(nullptr);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].owner, Application->Handle());
  EXPECT_EQ(boxes[0].text, L"数据库连接失败.");
  EXPECT_EQ(boxes[0].caption, L"沐岚远帆印务管理系统数据库安装程序");
  EXPECT_EQ(boxes[0].flags, 0x10u);
  EXPECT_FALSE(boxes[0].formEnabled);
  EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

TEST_F(Forms, TheRealErrorBoxDisablesTheFormAndEnablesItAfterwards) {
  Application->SetTitle(L"Kestu error box");
  form->Show();
  bool disabledMeanwhile = false, boxFound = false;
  Later(form->Timer1, [&] {
    HWND box = FindWindowW(L"#32770", L"Kestu error box");
    boxFound = box != nullptr;
    disabledMeanwhile = !IsWindowEnabled(form->Handle());
    if (box) {
      EXPECT_EQ(GetWindow(box, GW_OWNER), Application->Handle());
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  });
  Application->HandleException(std::make_exception_ptr(Exception(L"Failed")));
  EXPECT_TRUE(boxFound);
  EXPECT_TRUE(disabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

}  // namespace
}  // namespace kestu
