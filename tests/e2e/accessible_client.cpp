// Looks at windows of another process as a screen reader does, through
// oleacc, and prints what it finds as one JSON line; or does the default
// action of one element. For the tests of what drawn controls tell readers.
//
//   accessible_client <title>                   the tree of the visible window of that title
//   accessible_client <title> --press <name>    the default action of the first element of
//                                               that name (client tree, then title bar)
//
// The tree: {"title", "client": tree, "titlebar": tree or null}, trees as
// AccessibleTree.h writes them. Prints {"error": ...} and exits with 1 when
// the window or the element is not there.
#include "AccessibleTree.h"

namespace {

using namespace accessible_tree;

struct Search {
  std::wstring title;
  HWND found = nullptr;
};

BOOL CALLBACK FindTitle(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  wchar_t text[512] = {};
  GetWindowTextW(window, text, int(std::size(text)));
  if (IsWindowVisible(window) && search.title == text) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

int Fail(const char* why) {
  std::printf("{\"error\": \"%s\"}\n", why);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2 && !(argc == 4 && std::wstring(argv[2]) == L"--press"))
    return Fail("usage: accessible_client <title> [--press <name>]");
  CoInitialize(nullptr);
  Search search{argv[1]};
  EnumWindows(FindTitle, reinterpret_cast<LPARAM>(&search));
  int code = 0;
  if (!search.found) {
    code = Fail("no such window");
  } else if (argc == 2) {
    const std::string client = TreeOf(FromWindow(search.found, OBJID_CLIENT));
    const std::string titleBar = TreeOf(FromWindow(search.found, OBJID_TITLEBAR));
    std::printf("{\"title\": %s, \"client\": %s, \"titlebar\": %s}\n", Json(search.title).c_str(), client.c_str(),
                titleBar.c_str());
  } else {
    Presser presser{argv[3]};
    bool pressed = false;
    for (LONG id : {LONG(OBJID_CLIENT), LONG(OBJID_TITLEBAR)})
      if (!pressed)
        if (Object root = FromWindow(search.found, id)) pressed = Walk(root.Get(), CHILDID_SELF, 0, presser);
    if (pressed)
      std::printf("{\"pressed\": %s, \"result\": %ld}\n", Json(presser.name).c_str(), long(presser.result));
    else
      code = Fail("no such element");
  }
  std::fflush(stdout);
  CoUninitialize();
  return code;
}
