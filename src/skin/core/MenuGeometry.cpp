#include "skin/core/MenuGeometry.h"

namespace kestu {

TsMenuItemType MenuItemTypeOf(std::wstring_view caption) {
  if (caption == L"-") return smDivider;
  if (caption.size() > 1 && caption.front() == L'-' && caption.back() == L'-') return smCaption;
  return smNormal;
}

int ScaledTextHeight(int textHeight) {
  // 1.25 x h = 5h / 4: the remainder tells which neighbour is nearer.
  const int fiveH = 5 * textHeight;
  const int q = fiveH / 4, r = fiveH % 4;
  if (r > 2) return q + 1;
  if (r == 2) return q + (q & 1);
  return q;
}

std::array<PixPoint, 6> CheckMarkPolygon(PixRect box) {
  const int d = box.Width() / 8;
  const int L = box.Left + d + 1, T = box.Top + d + 1, Rt = box.Right - d, Bt = box.Bottom - d;
  const int h = Bt - T, third = h / 3, q = h / 4;
  return {{{L, Bt - third - 2},
           {L + third, Bt - 2},
           {Rt - 2, T + third},
           {Rt - 2, T + third - q},
           {L + third, Bt - q - 2},
           {L + q, Bt - third - 2}}};
}

}  // namespace kestu
