#include "skin/TitleBarAccessible.h"

#include <algorithm>

#include "skin/sSkinProvider.h"

namespace kestu {

namespace {

// The provider's standard records in their order, with their hit codes.
constexpr int kStandardCodes[4] = {kHitMin, kHitMax, kHitClose, kHitHelp};

}  // namespace

std::vector<TsTitleBarAccessible::Button> TsTitleBarAccessible::DrawnButtons() {
  std::vector<Button> buttons;
  const bool maximised = IsZoomed(provider_.Form()->Handle());
  const wchar_t* names[4] = {L"Minimize", maximised ? L"Restore" : L"Maximize", L"Close", L"Help"};
  for (int i = 0; i < 4; ++i) {
    const TitleButtonRecord& r = provider_.StandardButton(i);
    if (r.Laid) buttons.push_back({kStandardCodes[i], names[i], r.Rect, r.State, true});
  }
  TsTitleButtons* user = provider_.TitleButtons();
  for (int i = 0; i < user->Count(); ++i) {
    TsTitleButton* b = user->Button(i);
    const String name = b->Name().empty() ? L"Title button " + std::to_wstring(i + 1) : b->Name();
    if (b->Laid) buttons.push_back({kHitUserFirst + i, name, b->Rect, b->State, b->Enabled()});
  }
  std::stable_sort(buttons.begin(), buttons.end(), [](const Button& a, const Button& b) { return a.Rect.left < b.Rect.left; });
  return buttons;
}

TAccessibleElement TsTitleBarAccessible::AccessibleSelf() {
  HWND window = provider_.Form()->Handle();
  const FrameMetrics m = provider_.Metrics();
  TAccessibleElement e;
  e.Role = ROLE_SYSTEM_TITLEBAR;
  e.Name = provider_.Form()->Caption();
  if (!IsWindowVisible(window)) e.State |= STATE_SYSTEM_INVISIBLE;
  e.Bounds = ScreenBoundsOf(window);
  e.Bounds.bottom = e.Bounds.top + m.SysBorderY + m.CaptionHeight;
  return e;
}

std::vector<TAccessibleElement> TsTitleBarAccessible::AccessibleParts() {
  RECT window{};
  GetWindowRect(provider_.Form()->Handle(), &window);
  std::vector<TAccessibleElement> parts;
  for (const Button& b : DrawnButtons()) {
    RECT onScreen = b.Rect;
    OffsetRect(&onScreen, window.left, window.top);
    TAccessibleElement e = PartButtonElement(b.Name, onScreen, b.State == 2, b.State == 1);
    if (!b.Enabled) e.State |= STATE_SYSTEM_UNAVAILABLE;
    parts.push_back(e);
  }
  return parts;
}

void TsTitleBarAccessible::AccessibleDefaultAction(int child) {
  const std::vector<Button> buttons = DrawnButtons();
  if (child >= 1 && std::size_t(child) <= buttons.size()) provider_.PressTitleButton(buttons[std::size_t(child) - 1].HitCode);
}

}  // namespace kestu
