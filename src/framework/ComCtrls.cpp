#include "framework/ComCtrls.h"

#include <algorithm>

namespace kestu {

namespace {
UINT NextButtonCommand() {
  static UINT next = 0xE000;  // apart from menu item commands
  return next++;
}
}  // namespace

// ---------------------------------------------------------------------------
// TToolButton

KESTU_PUBLISH(TToolButton) {
  p.Str("Caption", &TToolButton::Caption, &TToolButton::SetCaption);
  p.Bool("Grouping", &TToolButton::Grouping, &TToolButton::SetGrouping, false);
  p.Enum("Style", &TToolButton::Style, &TToolButton::SetStyle, tbsButton,
         {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"});
  p.Bool("Enabled", &TToolButton::Enabled, &TToolButton::SetEnabled, true);
  p.Bool("Down", &TToolButton::Down, &TToolButton::SetDown, false);
  p.Int("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex, -1);
  p.Ref("MenuItem", &TToolButton::MenuItem, &TToolButton::SetMenuItem);
  p.Event("OnClick", &TToolButton::SetOnClick);
}

TToolButton::TToolButton(TComponent* AOwner) : TComponent(AOwner), command_(NextButtonCommand()) {}

TToolButton::~TToolButton() {
  Destroying();
  if (toolBar_) toolBar_->RemoveButton(this);
}

void TToolButton::SetToolBar(TToolBar* v) {
  if (v == toolBar_) return;
  if (toolBar_) toolBar_->RemoveButton(this);
  if (v) v->InsertButton(this);
}

void TToolButton::SetParentComponent(TComponent* value) {
  if (auto* bar = dynamic_cast<TToolBar*>(value)) SetToolBar(bar);
}

void TToolButton::Changed() {
  if (toolBar_ && !HasState(csLoading)) toolBar_->RebuildButtons();
}

void TToolButton::SetCaption(const String& v) {
  if (v == caption_) return;
  caption_ = v;
  Changed();
}
void TToolButton::SetGrouping(bool v) {
  if (v == grouping_) return;
  grouping_ = v;
  Changed();
}
void TToolButton::SetStyle(TToolButtonStyle v) {
  if (v == style_) return;
  style_ = v;
  Changed();
}
void TToolButton::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  if (toolBar_ && toolBar_->HandleAllocated())
    SendMessageW(toolBar_->Handle(), TB_ENABLEBUTTON, command_, MAKELPARAM(v, 0));
}
bool TToolButton::Down() const {
  if (toolBar_ && toolBar_->HandleAllocated())
    return SendMessageW(toolBar_->Handle(), TB_ISBUTTONCHECKED, command_, 0) != 0;
  return down_;
}
void TToolButton::SetDown(bool v) {
  down_ = v;
  if (toolBar_ && toolBar_->HandleAllocated())
    SendMessageW(toolBar_->Handle(), TB_CHECKBUTTON, command_, MAKELPARAM(v, 0));
}
void TToolButton::SetImageIndex(int v) {
  if (v == imageIndex_) return;
  imageIndex_ = v;
  Changed();
}

void TToolButton::SetMenuItem(TMenuItem* v) {
  if (v == menuItem_) return;
  if (menuItem_) menuItem_->RemoveFreeNotification(this);
  menuItem_ = v;
  if (v) {
    v->FreeNotification(this);
    caption_ = v->Caption();
    enabled_ = v->Enabled();
  }
  Changed();
}

void TToolButton::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == menuItem_) menuItem_ = nullptr;
}

int TToolButton::Index() const {
  if (!toolBar_) return -1;
  auto& list = toolBar_->buttons_;
  return int(std::find(list.begin(), list.end(), this) - list.begin());
}

RECT TToolButton::BoundsRect() const {
  RECT r{};
  if (toolBar_ && toolBar_->HandleAllocated())
    SendMessageW(toolBar_->Handle(), TB_GETRECT, command_, LPARAM(&r));
  return r;
}

void TToolButton::Click() {
  if (onClick_) onClick_(this);
  if (!menuItem_) return;
  if (menuItem_->Count() == 0) return menuItem_->Click();
  // Drop the item's submenu down below the button; the chosen item runs.
  RECT r = BoundsRect();
  POINT at{r.left, r.bottom};
  ClientToScreen(toolBar_->Handle(), &at);
  HWND owner = TPopupMenu::PopupWindow();
  const UINT command = UINT(TrackPopupMenu(menuItem_->Handle(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD,
                                           at.x, at.y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (TMenu* menu = menuItem_->GetParentMenu(); menu && command) menu->DispatchCommand(command);
}

// ---------------------------------------------------------------------------
// TToolBar

KESTU_PUBLISH(TToolBar) {
  p.Bool("Flat", &TToolBar::Flat, &TToolBar::SetFlat, true);
  p.Bool("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions, false);
  p.Set("EdgeBorders", &TToolBar::EdgeBorders, &TToolBar::SetEdgeBorders, ebTop,
        {"ebLeft", "ebTop", "ebRight", "ebBottom"});
  p.Int("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight, 22);
  p.Int("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth, 23);
  p.Ref("Images", &TToolBar::Images, &TToolBar::SetImages);
  p.Ref("Menu", &TToolBar::Menu, &TToolBar::SetMenu);
  p.Event("OnCustomDrawButton", &TToolBar::SetOnCustomDrawButton);
}

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
  SetColor(clBtnFace);
  controlStyle_ &= ~(csClickEvents | csCaptureMouse);
}

TToolBar::~TToolBar() {
  Destroying();
  for (TToolButton* b : std::vector<TToolButton*>(buttons_)) b->toolBar_ = nullptr;
  buttons_.clear();
  for (TToolButton* b : menuButtons_) delete b;
}

void TToolBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SubclassOf = TOOLBARCLASSNAMEW;
  p.WinClassName = L"TToolBar";
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_TOOLTIPS;
  if (flat_) p.Style |= TBSTYLE_FLAT | TBSTYLE_TRANSPARENT;
  if (showCaptions_) p.Style |= TBSTYLE_LIST;
}

void TToolBar::CreateHandleDone() {
  SendMessageW(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  if (showCaptions_) SendMessageW(Handle(), TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
  RebuildButtons();
}

void TToolBar::SetFlat(bool v) {
  if (v == flat_) return;
  flat_ = v;
  RecreateWnd();
}
void TToolBar::SetShowCaptions(bool v) {
  if (v == showCaptions_) return;
  showCaptions_ = v;
  RecreateWnd();
}
void TToolBar::SetEdgeBorders(TEdgeBorders v) {
  if (v == edgeBorders_) return;
  edgeBorders_ = v;
  Invalidate();
}
void TToolBar::SetButtonHeight(int v) {
  if (v == buttonHeight_) return;
  buttonHeight_ = v;
  RebuildButtons();
}
void TToolBar::SetButtonWidth(int v) {
  if (v == buttonWidth_) return;
  buttonWidth_ = v;
  RebuildButtons();
}

void TToolBar::SetImages(TImageList* v) {
  if (v == images_) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = v;
  if (v) v->FreeNotification(this);
  RebuildButtons();
}

void TToolBar::SetMenu(TMainMenu* v) {
  if (v == menu_) return;
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = v;
  for (TToolButton* b : menuButtons_) delete b;
  menuButtons_.clear();
  if (v) {
    v->FreeNotification(this);
    // Inserted at the front from the last item to the first: menu order.
    const std::vector<TMenuItem*> items = v->TopLevelItems();
    for (auto item = items.rbegin(); item != items.rend(); ++item) {
      auto* button = new TToolButton(nullptr);
      button->grouping_ = true;
      button->SetMenuItem(*item);
      InsertButton(button, 0);
      menuButtons_.push_back(button);
    }
  }
  RebuildButtons();
}

void TToolBar::RefreshMenuButtons() {
  for (TToolButton* b : buttons_)
    if (b->menuItem_) b->caption_ = b->menuItem_->Caption(), b->enabled_ = b->menuItem_->Enabled();
  RebuildButtons();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == images_) SetImages(nullptr);
  if (AComponent == menu_) SetMenu(nullptr);
}

void TToolBar::InsertButton(TToolButton* button, int index) {
  if (index < 0 || index > ButtonCount()) index = ButtonCount();
  buttons_.insert(buttons_.begin() + index, button);
  button->toolBar_ = this;
  RebuildButtons();
}

void TToolBar::RemoveButton(TToolButton* button) {
  auto it = std::find(buttons_.begin(), buttons_.end(), button);
  if (it == buttons_.end()) return;
  buttons_.erase(it);
  button->toolBar_ = nullptr;
  RebuildButtons();
}

void TToolBar::RebuildButtons() {
  if (!HandleAllocated() || HasState(csDestroying)) return;
  HWND h = Handle();
  SendMessageW(h, TB_SETIMAGELIST, 0, LPARAM(images_ ? images_->Handle() : nullptr));
  while (SendMessageW(h, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageW(h, TB_DELETEBUTTON, 0, 0);
  for (TToolButton* b : buttons_) {
    TBBUTTON tb{};
    tb.iBitmap = images_ ? b->imageIndex_ : I_IMAGENONE;
    tb.idCommand = int(b->command_);
    tb.fsState = BYTE((b->enabled_ ? TBSTATE_ENABLED : 0) | (b->down_ ? TBSTATE_CHECKED : 0));
    switch (b->style_) {
      case tbsSeparator:
      case tbsDivider: tb.fsStyle = BTNS_SEP; break;
      case tbsCheck: tb.fsStyle = BYTE(b->grouping_ ? BTNS_CHECKGROUP : BTNS_CHECK); break;
      case tbsDropDown: tb.fsStyle = BTNS_DROPDOWN; break;
      default: tb.fsStyle = BYTE(b->grouping_ ? BTNS_GROUP : BTNS_BUTTON); break;
    }
    tb.fsStyle |= BTNS_AUTOSIZE;
    if (showCaptions_) tb.fsStyle |= BTNS_SHOWTEXT;
    tb.iString = showCaptions_ ? INT_PTR(b->caption_.c_str()) : -1;
    SendMessageW(h, TB_ADDBUTTONSW, 1, LPARAM(&tb));
  }
  SendMessageW(h, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
  SendMessageW(h, TB_AUTOSIZE, 0, 0);
  Invalidate();
}

void TToolBar::ButtonClicked(UINT command) {
  for (TToolButton* b : std::vector<TToolButton*>(buttons_))
    if (b->command_ == command) return b->Click();
}

// NM_CUSTOMDRAW: the handler may draw a button itself.
// Runs draw with the bar's canvas on the custom-draw context.
void TToolBar::WithCanvas(HDC dc, const std::function<void()>& draw) {
  canvas_.FreeHandle();
  canvas_.SetHandle(dc);
  try {
    draw();
  } catch (...) {
    canvas_.SetHandle(nullptr);
    throw;
  }
  canvas_.SetHandle(nullptr);
}

void TToolBar::CustomDraw(TMessage& m) {
  auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(m.LParam);
  if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
    bool defaultDraw = true;
    if (onCustomDraw_) WithCanvas(cd->nmcd.hdc, [&] { onCustomDraw_(this, ClientRect(), defaultDraw); });
    m.Result = !defaultDraw ? CDRF_SKIPDEFAULT : onCustomDrawButton_ ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    return;
  }
  if (cd->nmcd.dwDrawStage != CDDS_ITEMPREPAINT || !onCustomDrawButton_) {
    m.Result = CDRF_DODEFAULT;
    return;
  }
  TToolButton* button = nullptr;
  for (TToolButton* b : buttons_)
    if (b->command_ == UINT(cd->nmcd.dwItemSpec)) button = b;
  if (!button) {
    m.Result = CDRF_DODEFAULT;
    return;
  }
  TCustomDrawState state = 0;
  const UINT s = cd->nmcd.uItemState;
  if (s & CDIS_SELECTED) state |= cdsSelected;
  if (s & CDIS_GRAYED) state |= cdsGrayed;
  if (s & CDIS_DISABLED) state |= cdsDisabled;
  if (s & CDIS_CHECKED) state |= cdsChecked;
  if (s & CDIS_FOCUS) state |= cdsFocused;
  if (s & CDIS_HOT) state |= cdsHot;
  if (s & CDIS_MARKED) state |= cdsMarked;
  bool defaultDraw = true;
  WithCanvas(cd->nmcd.hdc, [&] { onCustomDrawButton_(this, button, state, defaultDraw); });
  m.Result = defaultDraw ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
}

// A flat bar is transparent to the common control, which leaves erasing to
// the parent; custom-drawn parents erase nothing, so the bar's own colour is
// filled in, as for any other control.
void TToolBar::WmEraseBkgnd(TMessage& m) {
  RECT r;
  GetClientRect(Handle(), &r);
  GdiHandle<HBRUSH> brush(CreateSolidBrush(ColorToRGB(Color())));
  FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush.Get());
  m.Result = 1;
}

void TToolBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: return WmEraseBkgnd(m);
    case CN_COMMAND: return ButtonClicked(LOWORD(m.WParam));
    case CN_NOTIFY:
      if (reinterpret_cast<NMHDR*>(m.LParam)->code == UINT(NM_CUSTOMDRAW)) return CustomDraw(m);
      return TWinControl::WndProc(m);
    default: return TWinControl::WndProc(m);
  }
}

}  // namespace kestu
