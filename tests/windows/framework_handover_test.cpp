// Device contexts and window regions handed over and back: a measuring
// handler that fails still gives the screen's device context back, and a
// region a window does not take is deleted, one it takes is its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>

#include "framework/Forms.h"
#include "framework/Menus.h"

namespace kestu {
namespace {

// The screen device contexts the system hands out while `count` are held at
// once. A context given back is handed out again; one kept is not, so a
// leak shows as contexts not seen before.
std::set<HDC> ScreenDcsHeld(int count) {
  std::vector<HDC> held;
  for (int i = 0; i < count; ++i) held.push_back(GetDC(nullptr));
  for (HDC dc : held) ReleaseDC(nullptr, dc);
  return {held.begin(), held.end()};
}

TEST(Handover, AMeasuringHandlerThatFailsGivesTheScreenDcBack) {
  TForm form(nullptr);
  auto* menu = new TPopupMenu(&form);
  auto* item = new TMenuItem(&form);
  menu->Items()->Add(item);
  item->SetOnMeasureItem([](TObject*, TCanvas*, int&, int&) { throw Exception(L"cannot measure"); });
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemData = reinterpret_cast<ULONG_PTR>(item);
  const std::set<HDC> before = ScreenDcsHeld(40);
  for (int i = 0; i < 30; ++i) EXPECT_THROW(menu->MeasureItem(measure), Exception);
  const std::set<HDC> after = ScreenDcsHeld(40);
  std::vector<HDC> fresh;
  std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(fresh));
  EXPECT_TRUE(fresh.empty()) << fresh.size() << " device contexts were kept";
}

TEST(Handover, ARegionTheWindowRefusesIsDeletedAndOneItTakesIsItsOwn) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  EXPECT_TRUE(SetWindowRegion(window, GdiHandle<HRGN>(CreateRectRgn(0, 0, 10, 10)), false));
  GdiHandle<HRGN> copy(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(window, copy.Get()), SIMPLEREGION);
  EXPECT_TRUE(SetWindowRegion(window, GdiHandle<HRGN>(), false));  // no region again
  EXPECT_EQ(GetWindowRgn(window, copy.Get()), ERROR);
  DestroyWindow(window);

  HRGN refused = CreateRectRgn(0, 0, 10, 10);
  EXPECT_FALSE(SetWindowRegion(window, GdiHandle<HRGN>(refused), false));  // no such window now
  EXPECT_EQ(GetObjectType(refused), 0u);
}

}  // namespace
}  // namespace kestu
