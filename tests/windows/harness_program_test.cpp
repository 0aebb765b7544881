// The built program starts under Wine, shows its window and one taskbar
// button with the application title, carries the common-controls manifest,
// and closes with exit code 0.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring ProgramBesideThisTest() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.erase(folder.find_last_of(L"\\/") + 1);
  return folder + L"KestuSetup.exe";
}

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindVisibleWindowOf(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t caption[64] = {};
  GetWindowTextW(window, caption, 64);
  if (process == search->process && IsWindowVisible(window) && std::wstring(caption) == L"安装数据库文件") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// Top-level windows of the process a desktop shell gives a taskbar button:
// visible, and unowned and no tool window, or marked as application windows.
struct TaskbarSearch {
  DWORD process;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTaskbarWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<TaskbarSearch*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  const LONG_PTR ex = GetWindowLongPtrW(window, GWL_EXSTYLE);
  const bool eligible = (!GetWindow(window, GW_OWNER) && !(ex & WS_EX_TOOLWINDOW)) || (ex & WS_EX_APPWINDOW);
  if (process == search->process && IsWindowVisible(window) && eligible) search->found.push_back(window);
  return TRUE;
}

std::wstring TitleOf(HWND window) {
  wchar_t text[128] = {};
  GetWindowTextW(window, text, 128);
  return text;
}

TEST(HarnessProgram, ManifestRequestsCommonControlsSix) {
  HMODULE program = LoadLibraryExW(ProgramBesideThisTest().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr);
  HRSRC resource = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(resource, nullptr);
  const char* text = static_cast<const char*>(LockResource(LoadResource(program, resource)));
  const std::string manifest(text, SizeofResource(program, resource));
  EXPECT_NE(manifest.find(R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"), std::string::npos);
  EXPECT_NE(manifest.find(R"(publicKeyToken="6595b64144ccf1df")"), std::string::npos);
  EXPECT_NE(FindResourceW(program, L"MAINICON", MAKEINTRESOURCEW(14)), nullptr) << "icon group";
  FreeLibrary(program);
}

TEST(HarnessProgram, StartsShowsItsWindowAndClosesCleanly) {
  std::wstring command = L"\"" + ProgramBesideThisTest() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  Search search{process.dwProcessId, nullptr};
  for (int tries = 0; tries < 200 && !search.found; ++tries) {
    Sleep(50);
    EnumWindows(FindVisibleWindowOf, reinterpret_cast<LPARAM>(&search));
  }
  ASSERT_NE(search.found, nullptr) << "no visible window titled 安装数据库文件";

  RECT client;
  GetClientRect(search.found, &client);
  EXPECT_EQ(client.right, 288);
  EXPECT_EQ(client.bottom, 118);

  // One taskbar button: the application window, with the title, taking no
  // room on screen; the installer window is owned by it. (Its icon is checked
  // in-process: this Wine answers WM_GETICON from another process with none.)
  TaskbarSearch taskbar{process.dwProcessId, {}};
  EnumWindows(CollectTaskbarWindow, reinterpret_cast<LPARAM>(&taskbar));
  ASSERT_EQ(taskbar.found.size(), 1u);
  HWND application = taskbar.found[0];
  EXPECT_EQ(TitleOf(application), L"沐岚远帆印务管理系统数据库安装程序");
  EXPECT_EQ(GetWindow(search.found, GW_OWNER), application);
  RECT bounds;
  GetWindowRect(application, &bounds);
  EXPECT_TRUE(IsRectEmpty(&bounds));

  PostMessageW(search.found, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace
