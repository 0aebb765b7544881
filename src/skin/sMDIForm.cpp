#include "skin/sMDIForm.h"

#include "skin/sPanel.h"
#include "skin/sScrollBar.h"

#include <algorithm>
#include <limits>

namespace kestu {
namespace {

const wchar_t kClientProperty[] = L"KestuMDIForm";
// Posted to the client window when its children need measuring again.
constexpr UINT kCalcChildScroll = 0x003F;

}  // namespace

TsMDIForm::TsMDIForm(TsSkinProvider* provider, TCustomForm* form) : provider_(provider), form_(form) {
  if (!form_) return;
  form_->HandleNeeded();
  BuildControlItem();
  client_ = form_->ClientHandle();
  if (!client_) return;
  SetPropW(client_, kClientProperty, this);
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(client_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TsMDIForm::ClientProc)));
}

TsMDIForm::~TsMDIForm() {
  if (client_ && IsWindow(client_)) {
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(client_, GWLP_WNDPROC)) == &TsMDIForm::ClientProc)
      SetWindowLongPtrW(client_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropW(client_, kClientProperty);
  }
  if (form_ && !form_->HasState(csDestroying)) {
    FreeBars();
    if (controlItem_ && controlItem_->Parent()) controlItem_->Parent()->Remove(controlItem_);
    delete controlItem_;
  }
}

// ---- the client window

LRESULT CALLBACK TsMDIForm::ClientProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<TsMDIForm*>(GetPropW(window, kClientProperty));
  if (!self) return DefWindowProcW(window, msg, wParam, lParam);
  try {
    return self->HandleClient(msg, wParam, lParam);
  } catch (...) {
    HandleCallbackException();
    return self->CallPrevious(msg, wParam, lParam);
  }
}

LRESULT TsMDIForm::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(previous_, client_, msg, wParam, lParam);
}

bool TsMDIForm::Skinned() { return provider_ && provider_->SkinActive(); }

LRESULT TsMDIForm::HandleClient(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!Skinned()) return CallPrevious(msg, wParam, lParam);
  switch (msg) {
    case WM_SIZE: case WM_HSCROLL: case WM_VSCROLL: {
      LRESULT r = CallPrevious(msg, wParam, lParam);
      InvalidateRect(client_, nullptr, TRUE);
      return r;
    }
    case kCalcChildScroll: case WM_MDIMAXIMIZE: case WM_MDIRESTORE: case WM_MDIACTIVATE:
    case WM_MDIDESTROY: {
      // The children or their state changed: the menu and the bars follow.
      LRESULT r = CallPrevious(msg, wParam, lParam);
      Refresh();
      return r;
    }
    case WM_ERASEBKGND:
      if (!ChildMaximized() && wParam && SentByOwnThread()) EraseClient(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_NCPAINT:
      if (!ChildMaximized()) PaintEdge();
      return 1;
    default: return CallPrevious(msg, wParam, lParam);
  }
}

int TsMDIForm::AlignedSize(TAlign align) {
  int size = 0;
  for (TControl* c : form_->ControlList()) {
    if (!c->Visible() || c->Align() != align) continue;
    size += align == alTop || align == alBottom ? c->Height() : c->Width();
  }
  return size;
}

MDIClientArea TsMDIForm::ClientArea() {
  const FrameMetrics m = provider_->Metrics();
  MDIClientArea a;
  a.Left = AlignedSize(alLeft) + m.ClientX();
  // The frame bitmap's client rows start one below the client origin (the
  // menu line's last row), as the cache query answers.
  a.Top = AlignedSize(alTop) + m.ClientY() + 1;
  a.Width = form_->ClientWidth() - AlignedSize(alLeft) - AlignedSize(alRight);
  a.Height = form_->ClientHeight() - AlignedSize(alTop) - AlignedSize(alBottom);
  return a;
}

void TsMDIForm::EraseClient(HDC dc) {
  TBitmap* frame = provider_->FrameBitmap();
  if (!frame || !frame->Handle()) return;
  const MDIClientArea a = ClientArea();
  BitBlt(dc, 0, 0, a.Width + 4, a.Height + 4, frame->Canvas()->Handle(), a.Left + 2, a.Top + 2, SRCCOPY);
}

void TsMDIForm::PaintEdge() {
  TBitmap* frame = provider_->FrameBitmap();
  if (!frame || !frame->Handle()) return;
  RECT r;
  GetWindowRect(client_, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const MDIClientArea a = ClientArea();
  HDC dc = GetWindowDC(client_);
  HDC source = frame->Canvas()->Handle();
  const RECT strips[4] = {{0, 0, w, 2}, {0, 0, 2, h}, {0, h - 2, w, h}, {w - 2, 0, w, h}};
  for (const RECT& s : strips)
    BitBlt(dc, s.left, s.top, s.right - s.left, s.bottom - s.top, source, a.Left + s.left, a.Top + s.top, SRCCOPY);
  ReleaseDC(client_, dc);
}

// ---- state of the children

bool TsMDIForm::ChildMaximized() {
  TCustomForm* child = form_ ? form_->ActiveMDIChild() : nullptr;
  return child && child->HandleAllocated() && IsZoomed(child->Handle());
}

void TsMDIForm::RefreshFrame() {
  if (!provider_ || !form_ || !form_->HandleAllocated()) return;
  provider_->InvalidateFrame();
  SendMessageW(form_->Handle(), WM_NCPAINT, 1, 0);
}

void TsMDIForm::Refresh() {
  UpdateControlItem();
  if (!busy_) UpdateScrollBars();
}

// ---- the window-control menu

void TsMDIForm::BuildControlItem() {
  controlItem_ = new TMenuItem(form_);  // freed with the form when it goes first
  controlItem_->SetName(L"sMDICII");
  // Ahead of every group: no merged child menu replaces it or goes before it.
  controlItem_->SetGroupIndex(std::numeric_limits<int>::min());
  struct Entry {
    const wchar_t* name;
    const wchar_t* caption;
    WPARAM command;
  };
  const Entry entries[] = {{L"ItemMDIRestore", L"Restore", SC_RESTORE},
                           {L"ItemMDIMinimize", L"Minimize", SC_MINIMIZE},
                           {L"", L"-", 0},
                           {L"ItemMDIClose", L"Close", SC_CLOSE}};
  for (const Entry& e : entries) {
    auto* item = new TMenuItem(controlItem_);
    if (*e.name) item->SetName(e.name);
    item->SetCaption(e.caption);
    if (e.command) item->SetOnClick([this, command = e.command](TObject*) { CommandActiveChild(command); });
    if (e.command == SC_CLOSE) item->SetShortCut(ShortCut(VK_F4, ssCtrl));
    controlItem_->Add(item);
  }
}

void TsMDIForm::CommandActiveChild(WPARAM command) {
  if (TCustomForm* child = form_->ActiveMDIChild(); child && child->HandleAllocated())
    SendMessageW(child->Handle(), WM_SYSCOMMAND, command, 0);
}

void TsMDIForm::UpdateControlItem() {
  TMainMenu* menu = form_ ? form_->Menu() : nullptr;
  if (!menu || !controlItem_) return;
  TMenuItem* items = menu->Items();
  const bool first = items->Count() > 0 && items->Items(0) == controlItem_;
  const bool maximized = ChildMaximized();
  if (maximized == first) return;
  // The menu line changes either way: with the item it also shows the
  // child's icon and buttons.
  if (maximized) {
    items->Insert(0, controlItem_);
    // Measured and drawn by the menu painter like the other bar items (its
    // room keeps the child's icon in the menu line clear).
    if (TsSkinManager* manager = provider_->Manager()) manager->HookMenuItem(controlItem_);
  } else {
    items->Remove(controlItem_);
  }
  provider_->InvalidateFrame(true);
  if (form_->HandleAllocated()) SendMessageW(form_->Handle(), WM_NCPAINT, 1, 0);
}

// ---- skinned scroll bars

void TsMDIForm::FreeBars() {
  delete vert_;
  vert_ = nullptr;
  delete horz_;
  horz_ = nullptr;
  delete grip_;
  grip_ = nullptr;
}

void TsMDIForm::UpdateBar(TsScrollBar*& bar, bool vertical) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  SCROLLBARINFO bars{};
  bars.cbSize = sizeof bars;
  bool wanted = GetScrollInfo(client_, vertical ? SB_VERT : SB_HORZ, &info) &&
                GetScrollBarInfo(client_, vertical ? OBJID_VSCROLL : OBJID_HSCROLL, &bars) &&
                !(bars.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE));
  // Positions from 0; the highest position, not the range's end.
  const int m = info.nMin;
  const int max = info.nMax - int(info.nPage) - m + 1;
  const int position = info.nPos - m;
  (vertical ? vertMin_ : horzMin_) = m;
  RECT r = bars.rcScrollBar;
  if (vertical) r.top -= 2, r.bottom += 2;
  else r.left -= 1, r.right += 2;
  if (max <= 0) wanted = false;  // nothing to scroll (and no inverted range)
  if (!wanted) {
    if (bar) {
      delete bar;
      bar = nullptr;
      InvalidateRect(form_->Handle(), nullptr, FALSE);
    }
    return;
  }
  if (!bar) {
    bar = new TsScrollBar(form_);
    bar->SetVisible(false);
    bar->SetKind(vertical ? sbVertical : sbHorizontal);
    bar->SetParent(form_);
    bar->SetOnChange([this, vertical](TsScrollBar* sender, int) {
      if (busy_ || sender->HasState(csDestroying)) return;
      busy_ = true;
      sender->MouseScrolling = true;
      const int at = sender->Position() + (vertical ? vertMin_ : horzMin_);
      const UINT msg = vertical ? WM_VSCROLL : WM_HSCROLL;
      SendMessageW(client_, msg, MAKEWPARAM(SB_THUMBPOSITION, at), 0);
      // Some MDI clients (Wine's) take the thumb position only in the older
      // form, from the low word of lParam, and ignore the message above.
      if (GetScrollPos(client_, vertical ? SB_VERT : SB_HORZ) != at)
        SendMessageW(client_, msg, SB_THUMBPOSITION, LPARAM(LOWORD(at)));
      sender->MouseScrolling = false;
      busy_ = false;
    });
  }
  bar->MouseScrolling = true;
  bar->SetParams(bar->Position(), 0, max);
  bar->SetPageSize(int(info.nPage));
  bar->SetParams(position, 0, max);
  bar->MouseScrolling = false;
  const POINT topLeft = form_->ScreenToClient(POINT{r.left, r.top});
  bar->SetBounds(topLeft.x, topLeft.y, r.right - r.left, r.bottom - r.top);
  bar->SetVisible(true);
  bar->BringToFront();
}

void TsMDIForm::UpdateScrollBars() {
  if (busy_ || !form_ || !client_ || !IsWindow(client_) || form_->HasState(csDestroying)) return;
  if (!Skinned() || ChildMaximized()) return FreeBars();
  busy_ = true;
  UpdateBar(vert_, true);
  UpdateBar(horz_, false);
  if (vert_ && horz_) {
    if (!grip_) {
      grip_ = new TsGrip(form_);
      grip_->LinkedForm = form_;
      grip_->SetParent(form_);
    }
    grip_->SetBounds(vert_->Left() + 1, horz_->Top() + 1, vert_->Width() - 1, horz_->Height() - 1);
    grip_->SetVisible(true);
    grip_->BringToFront();
  } else {
    delete grip_;
    grip_ = nullptr;
  }
  busy_ = false;
}

KESTU_PUBLISH(TsMDIForm) {}

}  // namespace kestu
