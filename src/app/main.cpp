// Program entry and the installer window on plain Win32, until the component
// framework carries TForm1 from its stored description. Everything the user
// does here is real: the button attaches the database through the command
// component, the server's refusal is shown in the error box.
#include <windows.h>
#include <objbase.h>

#include <memory>
#include <type_traits>

#include "app/Attach.h"
#include "app/MessageStandIn.h"
#include "db/ADOCommand.h"
#include "framework/Exception.h"

namespace {

using kestu::String;

constexpr wchar_t kWindowClass[] = L"TForm1";
constexpr int kClientWidth = 288;
constexpr int kClientHeight = 118;
constexpr int kButton1Id = 1;
constexpr COLORREF kBlue = RGB(0, 0, 255);

struct FontDeleter {
  void operator()(HFONT font) const { DeleteObject(font); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

Font MakeFont(int height) {
  return Font(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, L"宋体"));
}

struct Window {
  HWND handle = nullptr;
  Font font12;
  Font font14;
  kestu::TADOCommand command;
};

Window* window = nullptr;

// The error box: the message, with a full stop added when its last character
// sorts after "." (compared by code point), the application title as caption,
// OK and the stop icon.
void ShowError(const String& message) {
  String text = message;
  if (!text.empty() && text.back() > L'.') text += L'.';
  if (HWND captured = GetCapture()) SendMessageW(captured, WM_CANCELMODE, 0, 0);
  MessageBoxW(window->handle, text.c_str(), kestu::app::kApplicationTitle, MB_OK | MB_ICONSTOP);
}

void Button1Click() {
  try {
    kestu::app::AttachDatabase(window->command);
  } catch (const kestu::EAbort&) {
    return;
  } catch (const kestu::Exception& error) {
    ShowError(error.Message());
    return;
  }
  kestu::app::TMessageStandIn success;
  success.SetCaption(L"提醒");
  success.SetText(L"数据库安装成功！");
  success.SetButton1Caption(L"确定");
  success.ShowModal(window->handle);
}

HWND AddChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int left,
              int top, int width, int height, int id, HFONT font) {
  HWND child = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, left, top, width,
                               height, parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                               GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

void CreateChildren(HWND handle) {
  AddChild(handle, L"STATIC", L"请确认您已经安装了Sql Server 2000！", SS_LEFT, 48, 40, 210, 12, 0,
           window->font12.get());
  AddChild(handle, L"STATIC", L"说明：", SS_LEFT, 48, 19, 42, 14, 0, window->font14.get());
  HWND button = AddChild(handle, L"BUTTON", L"安装数据文件到SQL Server",
                         WS_TABSTOP | BS_PUSHBUTTON, 56, 72, 193, 25, kButton1Id,
                         window->font12.get());
  SetFocus(button);
}

LRESULT ColorLabel(HDC dc) {
  SetTextColor(dc, kBlue);
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT CALLBACK WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: CreateChildren(handle); return 0;
    case WM_CTLCOLORSTATIC: return ColorLabel(reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
      if (LOWORD(wParam) == kButton1Id && HIWORD(wParam) == BN_CLICKED) Button1Click();
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return DefWindowProcW(handle, message, wParam, lParam);
}

int StartupShowCommand(int fallback) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : fallback;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  const bool comReady = SUCCEEDED(CoInitialize(nullptr));

  Window main;
  window = &main;
  main.font12 = MakeFont(-12);
  main.font14 = MakeFont(-14);
  main.command.SetConnectionString(
      L"Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False");

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, L"MAINICON");
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);

  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  main.handle = CreateWindowExW(0, kWindowClass, L"安装数据库文件", style,
                                (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                nullptr, nullptr, instance, nullptr);
  switch (StartupShowCommand(showCommand)) {
    case SW_SHOWMAXIMIZED: ShowWindow(main.handle, SW_SHOWMAXIMIZED); break;
    case SW_SHOWMINNOACTIVE: ShowWindow(main.handle, SW_SHOWMINNOACTIVE); break;
    default: ShowWindow(main.handle, SW_SHOWNORMAL); break;
  }

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(main.handle, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  window = nullptr;
  if (comReady) CoUninitialize();
  return 0;
}
