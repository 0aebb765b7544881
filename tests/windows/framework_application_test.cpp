// The application object from start to end of its message loop.
#include <gtest/gtest.h>

#include <objbase.h>

#include <cstdint>
#include <vector>

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

// Top-level windows of this process a desktop shell gives a taskbar button:
// visible, and unowned and no tool window, or marked as application windows.
BOOL CALLBACK CollectTaskbarWindow(HWND w, LPARAM out) {
  DWORD process = 0;
  GetWindowThreadProcessId(w, &process);
  const LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
  const bool eligible = (!GetWindow(w, GW_OWNER) && !(ex & WS_EX_TOOLWINDOW)) || (ex & WS_EX_APPWINDOW);
  if (process == GetCurrentProcessId() && IsWindowVisible(w) && eligible)
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
  return TRUE;
}

std::vector<HWND> TaskbarWindows() {
  std::vector<HWND> found;
  EnumWindows(CollectTaskbarWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The colour pixels of an icon, top row first.
std::vector<std::uint32_t> IconPixels(HICON icon, int size) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  std::vector<std::uint32_t> pixels(std::size_t(size) * std::size_t(size));
  BITMAPINFO request{};
  request.bmiHeader = {sizeof request.bmiHeader, size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC dc = GetDC(nullptr);
  const int rows = GetDIBits(dc, info.hbmColor, 0, UINT(size), pixels.data(), &request, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return rows == size ? pixels : std::vector<std::uint32_t>{};
}

TEST(Application, CarriesTheProgramIconOnItsWindow) {
  ASSERT_NE(Application->Icon()->Handle(), nullptr);
  const int size = Application->Icon()->Width() ? Application->Icon()->Width() : GetSystemMetrics(SM_CXICON);
  HICON own = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, 0));
  ASSERT_NE(own, nullptr);
  const std::vector<std::uint32_t> expected = IconPixels(own, size);
  DestroyIcon(own);
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(IconPixels(Application->Icon()->Handle(), size), expected) << "not MAINICON's picture";
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(Application->Handle(), WM_GETICON, ICON_BIG, 0)),
            Application->Icon()->Handle());
}

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
  std::vector<HWND> taskbar;
  RECT applicationRect{1, 1, 1, 1};
  bool minimizedHidesTheForm = false, restoredShowsIt = false;
  int ticks = 0;
  form->Timer1->SetOnTimer([&](TObject*) {
    ++ticks;
    if (ticks == 1) {
      zoomed = IsZoomed(form->Handle()) && IsWindowVisible(form->Handle());
      // One taskbar button, the application window's; it takes no room on screen.
      taskbar = TaskbarWindows();
      GetWindowRect(Application->Handle(), &applicationRect);
      Application->Minimize();
      minimizedHidesTheForm = IsIconic(Application->Handle()) && !IsWindowVisible(form->Handle());
      Application->Restore();
      restoredShowsIt = !IsIconic(Application->Handle()) && IsWindowVisible(form->Handle());
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
  EXPECT_EQ(taskbar, std::vector<HWND>{Application->Handle()});
  EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), Application->Handle());
  EXPECT_TRUE(IsRectEmpty(&applicationRect));
  EXPECT_TRUE(minimizedHidesTheForm);
  EXPECT_TRUE(restoredShowsIt);
  EXPECT_TRUE(stillRunning);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(boxes, std::vector<String>{L"Cannot open database Kestu."});
}

}  // namespace
}  // namespace kestu
