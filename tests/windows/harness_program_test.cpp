// The built program starts under Wine, shows its window, carries the common-controls manifest, and closes with exit code 0.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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

  PostMessageW(search.found, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace
