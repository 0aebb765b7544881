// Repainting a skinned window and switching skins leaves no GDI or USER
// object behind. Windows counts them with GetGuiResources; Wine's is a stub,
// so there the live handles are counted from the handle tables, whose
// lookups accept a handle without its generation (high word 0).
// (Checked by making the provider keep every window region it sets: the
// second test then counts 221 more GDI objects.)
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "skin/sSkinProvider.h"

#include "SkinTestForm.h"

namespace kestu {
namespace {

bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

struct GuiObjects {
  int gdi = 0, windows = 0, menus = 0, icons = 0;
  friend bool operator==(const GuiObjects&, const GuiObjects&) = default;
};

std::ostream& operator<<(std::ostream& out, const GuiObjects& o) {
  return out << "gdi " << o.gdi << ", windows " << o.windows << ", menus " << o.menus << ", icons " << o.icons;
}

GuiObjects Count() {
  GuiObjects o;
  if (!UnderWine()) {
    o.gdi = int(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    o.windows = int(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
    return o;
  }
  for (UINT_PTR i = 1; i <= 0xFFFF; ++i) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++o.gdi;
    // USER handles step by two: each object answers to one even low word.
    if (i % 2) continue;
    HWND w = reinterpret_cast<HWND>(i);
    if (IsWindow(w) && GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) ++o.windows;
    if (IsMenu(reinterpret_cast<HMENU>(i))) ++o.menus;
    ICONINFO info{};
    if (GetIconInfo(reinterpret_cast<HICON>(i), &info)) {
      ++o.icons;
      if (info.hbmMask) DeleteObject(info.hbmMask);
      if (info.hbmColor) DeleteObject(info.hbmColor);
    }
  }
  return o;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

TEST(GuiObjectCount, SeesOneLeakedObjectOfEachKind) {
  const GuiObjects before = Count();
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HMENU menu = CreatePopupMenu();
  GuiObjects after = Count();
  EXPECT_EQ(after.gdi, before.gdi + 1);
  if (UnderWine()) EXPECT_EQ(after.menus, before.menus + 1);
  DeleteObject(brush);
  DestroyMenu(menu);
  EXPECT_EQ(Count(), before);
}

TEST(SkinnedWindow, RepaintsAndSkinSwitchesLeaveNoObjectBehind) {
  EnsureSkinClasses();
  auto* form = CreateFormFromResource<TSkinTestForm>(Application);
  form->SetBorderStyle(bsSizeable);
  auto* provider = new TsSkinProvider(form);
  provider->Loaded();
  form->Show();
  TsSkinManager* manager = form->sSkinManager1;
  std::vector<String> skins;
  manager->ListAvailableSkins(skins);
  ASSERT_GE(skins.size(), 2u) << "the disk skin beside the test program is missing";
  auto exercise = [&](int repaints, int switches) {
    for (int i = 0; i < repaints; ++i) {
      provider->InvalidateFrame(i % 2 == 0);
      RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
      Pump();
    }
    for (int i = 0; i < switches; ++i) {
      manager->SetSkinName(skins[i % 2 == 0 ? 1 : 0]);
      Pump();
    }
    manager->SetSkinName(skins[0]);
    Pump();
  };
  // One round first: caches that live as long as the program fill up here.
  exercise(4, 2);
  const GuiObjects before = Count();
  exercise(200, 20);
  EXPECT_EQ(Count(), before);
  delete form;
}

}  // namespace
}  // namespace kestu
