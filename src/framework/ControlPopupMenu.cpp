// A control's pop-up menu, shown where the context menu is asked for.
#include "framework/Menus.h"

#include <windowsx.h>

namespace kestu {

void TControl::SetPopupMenu(TPopupMenu* v) {
  if (v == popupMenu_) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = v;
  if (v) v->FreeNotification(this);
}

// Also asked for by children without a menu of their own. The point is in
// screen coordinates; (-1, -1) comes from the keyboard and
// means the middle of the control.
void TWinControl::WmContextMenu(TMessage& m) {
  TPopupMenu* menu = PopupMenu();
  if (!menu || HasState(csDesigning)) return DefaultHandler(m);
  POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  if (at.x == -1 && at.y == -1) at = ClientToScreen({Width() / 2, Height() / 2});
  menu->SetPopupComponent(this);
  menu->Popup(at.x, at.y);
  m.Result = 1;
}

}  // namespace kestu
