// The application object from start to end of its message loop.
#include <gtest/gtest.h>

#include <objbase.h>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace kestu {

class TTestForm : public TForm {
  KESTU_CLASS(TTestForm, TForm)
 public:
  using TForm::TForm;
  TTimer* Timer1 = nullptr;
  TButton* Button2 = nullptr;
  void FormCreate(TObject*) {}
  void Button2Click(TObject*) {}
};
KESTU_PUBLISH(TTestForm) {
  p.Field("Timer1", &TTestForm::Timer1);
  p.Field("Button2", &TTestForm::Button2);
  p.Handler("FormCreate", &TTestForm::FormCreate);
  p.Handler("Button2Click", &TTestForm::Button2Click);
}

namespace {

TEST(Application, StartsAsTheEntryPointDoesAndKeepsRunningAfterErrors) {
  Application->Initialize();
  // COM is initialised for this thread: a second CoInitialize says so.
  const HRESULT again = CoInitialize(nullptr);
  EXPECT_EQ(again, S_FALSE);
  if (SUCCEEDED(again)) CoUninitialize();

  TTestForm* form = nullptr;
  Application->CreateForm(form);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Application->MainForm(), form);
  EXPECT_TRUE(form->HandleAllocated());  // created at once
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  TTestForm* second = nullptr;
  Application->CreateForm(second);
  EXPECT_EQ(Application->MainForm(), form);
  EXPECT_FALSE(second->HandleAllocated());

  Application->SetTitle(L"沐岚远帆印务管理系统数据库安装程序");
  EXPECT_EQ(GetWindowString(Application->Handle()), L"沐岚远帆印务管理系统数据库安装程序");
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));
  EXPECT_EQ(GetParent(Application->Handle()), nullptr);

  std::vector<String> boxes;
  Application->SetMessageBoxHook([&](HWND, const String& text, const String&, UINT) {
    boxes.push_back(text);
    return IDOK;
  });
  // Started with SW_SHOWMAXIMIZED: maximised though the frame has no
  // maximise box. An error in a handler is shown and the loop goes on; closing
  // the main window ends it.
  Application->SetStartupShowCommand(SW_SHOWMAXIMIZED);
  bool zoomed = false, stillRunning = false;
  int ticks = 0;
  form->Timer1->SetOnTimer([&](TObject*) {
    ++ticks;
    if (ticks == 1) {
      zoomed = IsZoomed(form->Handle()) && IsWindowVisible(form->Handle());
      form->Button2->SetOnClick([](TObject*) { throw Exception(L"Cannot open database Kestu"); });
      PostMessageW(form->Button2->Handle(), BM_CLICK, 0, 0);
    } else if (ticks == 3) {
      stillRunning = Application->Running() && IsWindowEnabled(form->Handle());
      form->Timer1->SetEnabled(false);
      PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    }
  });
  form->Timer1->SetEnabled(true);
  Application->Run();
  EXPECT_TRUE(zoomed);
  EXPECT_TRUE(stillRunning);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(boxes, std::vector<String>{L"Cannot open database Kestu."});
}

}  // namespace
}  // namespace kestu
