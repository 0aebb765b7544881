// Prints the visible top-level windows of this Wine prefix as JSON lines, for
// the end-to-end tests: title, class, outer rectangle, client size, style,
// whether enabled, the owner's title, and the children (class, text, rectangle,
// whether a static shows an icon), and every window nested inside it
// ("descendants", for windows drawn by the themed toolkit inside a frame
// panel). With --clipboard it prints the clipboard's text as one JSON string
// instead; with --start <show command> <program> it starts the program with
// that show command in its start information, as a shortcut would. Reads
// only; all input comes from real X events.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "JsonText.h"

namespace {

using kestu::e2e::Json;
using kestu::e2e::Utf8;

std::wstring TextOf(HWND window) {
  wchar_t buffer[1024] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, WPARAM(std::size(buffer)), LPARAM(buffer),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  return buffer;
}

std::wstring ClassOf(HWND window) {
  wchar_t buffer[256] = {};
  GetClassNameW(window, buffer, int(std::size(buffer)));
  return buffer;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM context) {
  std::string& out = *reinterpret_cast<std::string*>(context);
  if (GetParent(child) != GetAncestor(child, GA_ROOT)) return TRUE;
  const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
  RECT rect{};
  GetWindowRect(child, &rect);
  char bounds[96];
  std::snprintf(bounds, sizeof bounds, ", \"rect\": [%ld, %ld, %ld, %ld]", rect.left, rect.top,
                rect.right, rect.bottom);
  std::string entry = "{\"class\": " + Json(ClassOf(child)) + ", \"text\": " + Json(TextOf(child)) +
                      ", \"visible\": " + ((style & WS_VISIBLE) ? "true" : "false") +
                      ", \"enabled\": " + (IsWindowEnabled(child) ? "true" : "false") + bounds;
  if ((style & SS_TYPEMASK) == SS_ICON && ClassOf(child) == L"Static") entry += ", \"icon\": true";
  out += (out.size() > 1 ? ", " : "") + entry + "}";
  return TRUE;
}

BOOL CALLBACK PrintDescendant(HWND child, LPARAM context) {
  std::string& out = *reinterpret_cast<std::string*>(context);
  RECT rect{};
  GetWindowRect(child, &rect);
  char bounds[96];
  std::snprintf(bounds, sizeof bounds, ", \"rect\": [%ld, %ld, %ld, %ld]", rect.left, rect.top,
                rect.right, rect.bottom);
  out += (out.size() > 1 ? ", " : "") + std::string("{\"class\": ") + Json(ClassOf(child)) +
         ", \"text\": " + Json(TextOf(child)) + ", \"visible\": " +
         (IsWindowVisible(child) ? "true" : "false") + ", \"enabled\": " +
         (IsWindowEnabled(child) ? "true" : "false") + bounds + "}";
  return TRUE;
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  RECT rect{};
  GetWindowRect(window, &rect);
  RECT client{};
  GetClientRect(window, &client);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  const HWND owner = GetWindow(window, GW_OWNER);
  std::string children = "[";
  EnumChildWindows(window, PrintChild, reinterpret_cast<LPARAM>(&children));
  children += "]";
  std::string descendants = "[";
  EnumChildWindows(window, PrintDescendant, reinterpret_cast<LPARAM>(&descendants));
  descendants += "]";
  std::printf(
      "{\"title\": %s, \"class\": %s, \"pid\": %lu, \"rect\": [%ld, %ld, %ld, %ld], "
      "\"client\": [%ld, %ld], \"style\": %lu, "
      "\"enabled\": %s, \"owner\": %s, \"foreground\": %s, \"children\": %s, \"descendants\": %s}\n",
      Json(TextOf(window)).c_str(), Json(ClassOf(window)).c_str(), process, rect.left, rect.top,
      rect.right, rect.bottom, client.right, client.bottom,
      static_cast<unsigned long>(GetWindowLongPtrW(window, GWL_STYLE)), IsWindowEnabled(window) ? "true" : "false",
      owner ? Json(TextOf(owner)).c_str() : "null",
      GetForegroundWindow() == window ? "true" : "false", children.c_str(), descendants.c_str());
  return TRUE;
}

}  // namespace

void PrintClipboard() {
  std::wstring text;
  if (OpenClipboard(nullptr)) {
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
        text = chars;
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
  }
  std::printf("%s\n", Json(text).c_str());
}

// Wine's own start command knows only some show commands (its /min is
// SW_SHOWMINIMIZED, where a shortcut set to run minimised gives
// SW_SHOWMINNOACTIVE).
int StartProgram(const char* show, const char* program) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = WORD(std::atoi(show));
  std::string commandLine = std::string("\"") + program + "\"";
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return 1;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return 0;
}

int main(int argc, char** argv) {
  if (argc > 3 && std::string(argv[1]) == "--start") return StartProgram(argv[2], argv[3]);
  if (argc > 1 && std::string(argv[1]) == "--clipboard") {
    PrintClipboard();
    std::fflush(stdout);
    return 0;
  }
  EnumWindows(PrintTopLevel, 0);
  std::fflush(stdout);
  return 0;
}
