// TsScrollBar as screen readers see it: a scroll bar whose value is the
// position as a percentage of its range, with the five parts a click acts
// on, from the top (or the left): a line back, a page back, the slider, a
// page on, a line on. Pressing a part moves the position as clicking it does.
#include "skin/sScrollBar.h"

namespace kestu {

namespace {

struct PartOfBar {
  const wchar_t* vertical;
  const wchar_t* horizontal;
  TsScrollPart part;
};
constexpr PartOfBar kParts[5] = {{L"Line up", L"Column left", spFirstButton},
                                 {L"Page up", L"Page left", spTrackBefore},
                                 {L"Position", L"Position", spSlider},
                                 {L"Page down", L"Page right", spTrackAfter},
                                 {L"Line down", L"Column right", spSecondButton}};
constexpr int kSliderPart = 3;  // child id of the slider

}  // namespace

TAccessibleElement TsScrollBar::AccessibleSelf() {
  TAccessibleElement e;
  e.Role = ROLE_SYSTEM_SCROLLBAR;
  e.Name = kind_ == sbVertical ? L"Vertical" : L"Horizontal";
  e.State = WindowStates(*this);
  const int range = model_.Max - model_.Min;
  e.Value = std::to_wstring(range > 0 ? RoundQuotient(std::int64_t(model_.Position - model_.Min) * 100, range) : 0);
  e.Bounds = ScreenBoundsOf(Handle());
  return e;
}

std::vector<TAccessibleElement> TsScrollBar::AccessibleParts() {
  const ScrollBarGeometry g = Geometry();
  const int sliderStart = g.SliderFits() ? g.SliderStart() : g.C;
  const int sliderEnd = g.SliderFits() ? g.SliderEnd() : g.C;
  const int edges[6] = {0, g.FirstEnd, sliderStart, sliderEnd, g.SecondStart, g.L};
  const bool vertical = kind_ == sbVertical;
  std::vector<TAccessibleElement> parts;
  for (int i = 0; i < 5; ++i) {
    const int from = edges[i], to = std::max(edges[i], edges[i + 1]);
    const RECT along = vertical ? RECT{0, from, Width(), to} : RECT{from, 0, to, Height()};
    TAccessibleElement e =
        PartButtonElement(vertical ? kParts[i].vertical : kParts[i].horizontal, ClientToScreenRect(Handle(), along),
                          parts_[kParts[i].part] == 2, parts_[kParts[i].part] == 1);
    if (i + 1 == kSliderPart) {
      e.Role = ROLE_SYSTEM_INDICATOR;
      e.DefaultAction.clear();
    }
    if (!Enabled()) e.State |= STATE_SYSTEM_UNAVAILABLE;
    if (from == to) e.State |= STATE_SYSTEM_INVISIBLE;
    parts.push_back(e);
  }
  return parts;
}

void TsScrollBar::AccessibleDefaultAction(int child) {
  switch (child) {
    case 1: return SetPosition(model_.Position - smallChange_);
    case 2: return SetPosition(model_.Position - largeChange_);
    case 4: return SetPosition(model_.Position + largeChange_);
    case 5: return SetPosition(model_.Position + smallChange_);
    default: return;
  }
}

}  // namespace kestu
