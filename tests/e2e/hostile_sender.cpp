// Sends the windows of another program every message whose parameters a
// careless receiver would follow as pointers or take as its objects, with
// garbage parameters, and posts the private ones too: the tests of what our
// windows do with messages from outside.
//
//   hostile_sender <title>...   every visible top-level window of each title
//                               and all of its descendants
//
// Prints one JSON line {"windows": n, "sent": n, "unanswered": n} and exits
// with 0, or with 1 when no window of any title was found. A message the
// receiver did not answer within a second counts as unanswered: a hang.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Search {
  std::wstring title;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectDescendant(HWND window, LPARAM context) {
  reinterpret_cast<Search*>(context)->windows.push_back(window);
  return TRUE;
}

BOOL CALLBACK FindTitle(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  wchar_t text[512] = {};
  GetWindowTextW(window, text, int(std::size(text)));
  if (IsWindowVisible(window) && search.title == text) {
    search.windows.push_back(window);
    EnumChildWindows(window, CollectDescendant, context);
  }
  return TRUE;
}

// The private ranges: the skin engine's messages and the component
// notifications with their reflections.
std::vector<UINT> PrivateMessages() {
  std::vector<UINT> messages;
  for (UINT msg = 0xA000; msg <= 0xA464; ++msg) messages.push_back(msg);
  for (UINT msg = 0xB000; msg <= 0xB0FF; ++msg) messages.push_back(msg);
  for (UINT msg = 0xBC00; msg <= 0xBFFF; ++msg) messages.push_back(msg);
  return messages;
}

const LPARAM kGarbage[] = {LPARAM(0x41414141), LPARAM(1), LPARAM(-1)};

struct Sender {
  int sent = 0;
  int unanswered = 0;
  void Send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR answer = 0;
    ++sent;
    if (!SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_ABORTIFHUNG, 1000, &answer) &&
        GetLastError() == ERROR_TIMEOUT)
      ++unanswered;
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("{\"error\": \"usage: hostile_sender <title>...\"}\n");
    return 1;
  }
  std::vector<HWND> windows;
  for (int i = 1; i < argc; ++i) {
    Search search{argv[i], {}};
    EnumWindows(FindTitle, reinterpret_cast<LPARAM>(&search));
    windows.insert(windows.end(), search.windows.begin(), search.windows.end());
  }
  if (windows.empty()) {
    std::printf("{\"error\": \"no window of those titles\"}\n");
    return 1;
  }
  // The system copies the structures of these messages into the receiver,
  // so they get a real structure of garbage; the others get garbage itself.
  static unsigned char structure[256];
  std::memset(structure, 0x41, sizeof structure);
  const UINT copied[] = {WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM,
                         WM_GETMINMAXINFO, WM_WINDOWPOSCHANGING, WM_NCCALCSIZE};
  const std::vector<UINT> privateMessages = PrivateMessages();
  Sender sender;
  for (HWND window : windows) {
    for (UINT msg : privateMessages)
      for (LPARAM garbage : kGarbage) sender.Send(window, msg, WPARAM(garbage), garbage);
    for (LPARAM garbage : kGarbage) sender.Send(window, WM_NOTIFY, 0, garbage);
    for (UINT msg : copied) sender.Send(window, msg, 0, LPARAM(structure));
    for (UINT msg : privateMessages) PostMessageW(window, msg, WPARAM(kGarbage[0]), kGarbage[0]);
  }
  std::printf("{\"windows\": %zu, \"sent\": %d, \"unanswered\": %d}\n", windows.size(), sender.sent,
              sender.unanswered);
  return 0;
}
