#include "skin/sSkinProvider.h"

#include "skin/sMDIForm.h"

#include "skin/SkinGdi.h"
#include "skin/sSkinMenus.h"
#include "skin/core/SectionPaint.h"
#include "skin/sSystemMenu.h"

#include <windowsx.h>

#include <algorithm>

namespace kestu {
namespace {

// Providers by the form window they hooked (never destroyed: windows may
// still send messages while the program's statics go away).
std::vector<std::pair<HWND, TsSkinProvider*>>& HookedWindows() {
  static auto* windows = new std::vector<std::pair<HWND, TsSkinProvider*>>;
  return *windows;
}

TsSkinProvider* HookedProvider(HWND window) {
  for (auto& [w, provider] : HookedWindows())
    if (w == window) return provider;
  return nullptr;
}

FrameSystemMetrics SystemFrameMetrics() {
  FrameSystemMetrics s;
  s.CxFrame = GetSystemMetrics(SM_CXFRAME);
  s.CyFrame = GetSystemMetrics(SM_CYFRAME);
  s.CyCaption = GetSystemMetrics(SM_CYCAPTION);
  s.CySmCaption = GetSystemMetrics(SM_CYSMCAPTION);
  s.CyMenu = GetSystemMetrics(SM_CYMENU);
  s.CxSmIcon = GetSystemMetrics(SM_CXSMICON);
  s.CySmIcon = GetSystemMetrics(SM_CYSMICON);
  s.CxMenuSize = GetSystemMetrics(SM_CXMENUSIZE);
  return s;
}

TitleImageSize ImageSizeOf(int maskIndex) {
  const TsSkinData& skin = TsSkinData::Instance();
  TitleImageSize size;
  if (!skin.IsValidMask(maskIndex)) return size;
  const TsMaskData& m = skin.ma[std::size_t(maskIndex)];
  size.Present = true;
  size.Own = m.Bitmap != nullptr;
  size.Width = size.Own ? m.Bitmap->Width() : m.SourceRect.Width();
  size.Height = size.Own ? m.Bitmap->Height() : m.SourceRect.Height();
  size.ImageCount = m.ImageCount;
  size.MaskType = m.MaskType;
  return size;
}

// A copy of rows, so that a section can be painted over its own background.
PixelBuffer Snapshot(PixelRows rows, PixRect r) {
  PixelBuffer copy(r.Width(), r.Height());
  CopyRect(copy.Rows(), 0, 0, rows, r);
  return copy;
}

constexpr const char* kButtonImages[4] = {"BICONMIN", "BICONMAX", "BICONCLOSE", "BICONHELP"};
enum { kMin, kMax, kClose, kHelp, kMdiMin, kMdiMax, kMdiClose };

}  // namespace

// ---- construction

TsSkinProvider::TsSkinProvider(TComponent* AOwner)
    : TComponent(AOwner), form_(dynamic_cast<TCustomForm*>(AOwner)), skinState_(this, true) {
  if (form_) {
    captionForCursor_ = captionForText_ = form_->Caption();
    savedBorderStyle_ = form_->BorderStyle();
    savedBorderIcons_ = form_->BorderIcons();
    savedAutoScroll_ = form_->AutoScroll();
  }
  skinState_.SetSkinSection(L"FORM");
  skinState_.ControlKindCode = 224;
  if (form_ && !HasState(csDesigning)) form_->SetAutoScroll(false);
  manager_ = TsSkinManager::Current();
  const TsSkinData& skin = TsSkinData::Instance();
  if (form_ && skin.SkinLoaded && !skin.ma.empty()) form_->SetBorderIcons(0);
  systemMenu_ = new TsSystemMenu(this);
  if (form_) scrolling_ = std::make_unique<TsFormScrolling>(form_);
  if (form_) windowCreatedId_ = form_->AddWindowCreatedHandler([this] { HookWindow(); });
  HookWindow();
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  ReadIndexes();
}

TsSkinProvider::~TsSkinProvider() {
  if (form_) form_->RemoveWindowCreatedHandler(windowCreatedId_);
  UnhookWindow();
}

void TsSkinProvider::Loaded() {
  TComponent::Loaded();
  if (form_ && !mdi_ && form_->FormStyle() == fsMDIForm && !HasState(csDesigning))
    mdi_ = std::make_unique<TsMDIForm>(this, form_);
  if (makeSkinMenu_) systemMenu_->MakeSkinItems();
  systemMenu_->RefreshSystemMenu();
  const TsSkinData& skin = TsSkinData::Instance();
  for (int i = 0; i < titleButtons_.Count(); ++i) {
    TsTitleButton* b = titleButtons_.Button(i);
    b->ImageIndex = b->UseSkinData() ? skin.FindMaskIndex(skinState_.SectionIndex, "FORM", "TITLEBUTTON") : -1;
  }
}

void TsSkinProvider::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (auto* manager = dynamic_cast<TsSkinManager*>(AComponent)) {
    if (Operation == opRemove && manager == manager_) manager_ = nullptr;
    if (Operation == opInsert && !manager_) manager_ = manager;
  }
}

void TsSkinProvider::ReadIndexes() {
  skinState_.RefreshLookups();
  const TsSkinData& skin = TsSkinData::Instance();
  const int section = skinState_.SectionIndex;
  for (int i = 0; i < 4; ++i) buttons_[i].ImageIndex = skin.FindMaskIndex(section, "FORM", kButtonImages[i]);
  for (int i = 0; i < 3; ++i) buttons_[4 + i].ImageIndex = buttons_[i == 2 ? kClose : i].ImageIndex;
  frameInvalid_ = regionInvalid_ = menuChanged_ = true;
}

// ---- hooking

void TsSkinProvider::HookWindow() {
  if (!form_ || !form_->HandleAllocated()) return;
  HWND window = form_->Handle();
  auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (current == &HookProc && HookedProvider(window) == this) return;
  if (window_ && window_ != window) UnhookWindow();
  window_ = window;
  previous_ = current;
  std::erase_if(HookedWindows(), [window](const auto& e) { return e.first == window; });
  HookedWindows().emplace_back(window, this);
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookProc));
  frameInvalid_ = regionInvalid_ = true;
}

void TsSkinProvider::UnhookWindow() {
  if (!window_) return;
  if (IsWindow(window_) && reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window_, GWLP_WNDPROC)) == &HookProc)
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  std::erase_if(HookedWindows(), [this](const auto& e) { return e.second == this; });
  window_ = nullptr;
}

LRESULT CALLBACK TsSkinProvider::HookProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TsSkinProvider* provider = HookedProvider(window);
  if (!provider) return DefWindowProcW(window, msg, wParam, lParam);
  WNDPROC previous = provider->previous_;
  try {
    LRESULT result = provider->WindowProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) provider->UnhookWindow();
    return result;
  } catch (...) {
    HandleCallbackException();
    return previous ? CallWindowProcW(previous, window, msg, wParam, lParam) : 0;
  }
}

LRESULT TsSkinProvider::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
  return previous_ ? CallWindowProcW(previous_, window_, msg, wParam, lParam) : DefWindowProcW(window_, msg, wParam, lParam);
}

TsSkinProvider* TsSkinProvider::Of(HWND form) {
  if (!form) return nullptr;
  return reinterpret_cast<TsSkinProvider*>(SendMessageW(form, SKM_QUERYPROVIDER, 0, 0));
}

// ---- state of the form

bool TsSkinProvider::SkinActive() {
  const TsSkinData& skin = TsSkinData::Instance();
  return form_ && manager_ && skin.SkinLoaded && skinState_.IsSkinned() && !form_->HasState(csDestroying) &&
         !HasState(csDesigning | csDestroying) && !givingIconsBack_;
}

bool TsSkinProvider::HasBorder() const { return form_ && form_->BorderStyle() != bsNone; }
bool TsSkinProvider::Iconic() const { return window_ && IsIconic(window_); }
bool TsSkinProvider::Maximized() const { return window_ && IsZoomed(window_); }
TMainMenu* TsSkinProvider::MainMenu() const { return form_ ? form_->Menu() : nullptr; }

bool TsSkinProvider::HasMenuLine() const {
  TMainMenu* menu = MainMenu();
  if (!menu || form_->BorderStyle() == bsDialog || form_->FormStyle() == fsMDIChild) return false;
  const std::vector<TMenuItem*> items = menu->TopLevelItems();
  return std::any_of(items.begin(), items.end(), [](TMenuItem* item) { return item->Visible(); });
}

TitleButtonSet TsSkinProvider::ButtonSet() const {
  const TWindowState state = form_ ? form_->WindowState() : wsNormal;
  return TitleButtonsFor(form_ ? int(form_->BorderStyle()) : 0, borderIcons_ & biSystemMenu,
                         borderIcons_ & biMinimize, borderIcons_ & biMaximize, borderIcons_ & biHelp,
                         state == wsMaximized, state == wsMinimized);
}

FrameMetrics TsSkinProvider::Metrics() {
  const int style = form_ ? int(form_->BorderStyle()) : 0;
  return ComputeFrameMetrics(style, SystemFrameMetrics(), ImageSizeOf(buttons_[kClose].ImageIndex),
                             MainMenu() != nullptr, HasMenuLine() ? menuLineCount_ : 0, showAppIcon_, ButtonSet(),
                             form_ ? form_->BorderWidth() : 0);
}

void TsSkinProvider::SetCaptionAlignment(TAlignment v) {
  if (v == captionAlignment_) return;
  captionAlignment_ = v;
  RepaintFrame();
}

void TsSkinProvider::SetShowAppIcon(bool v) {
  if (v == showAppIcon_) return;
  showAppIcon_ = v;
  RepaintFrame();
}

void TsSkinProvider::RepaintFrame() {
  frameInvalid_ = true;
  if (window_ && IsWindowVisible(window_)) SendMessageW(window_, WM_NCPAINT, 1, 0);
}

// ---- the window procedure

LRESULT TsSkinProvider::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == SKM_APPLYSKIN || msg == SKM_DROPSKIN || msg == SKM_RESETLOOKUPS || msg == SKM_REPAINTALL ||
      msg == SKM_QUERYPROVIDER || msg == SKM_QUERYCACHE) {
    // The reply carries our own addresses: only for our own thread.
    if (!SentByOwnThread()) return CallPrevious(msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    if (SkinActive() || msg == SKM_APPLYSKIN || msg == SKM_DROPSKIN) {
      SkinMessage(m);
      return m.Result;
    }
    return CallPrevious(msg, wParam, lParam);
  }
  if (!SkinActive()) return CallPrevious(msg, wParam, lParam);
  return ActiveWindowProc(msg, wParam, lParam);
}

void TsSkinProvider::SkinMessage(TMessage& m) {
  switch (m.Msg) {
    case SKM_APPLYSKIN: ApplySkin(); break;
    case SKM_DROPSKIN: DropSkin(); break;
    case SKM_RESETLOOKUPS: skinState_.SectionIndex = skinState_.BorderMaskIndex = -1; break;
    case SKM_QUERYPROVIDER: m.Result = reinterpret_cast<LRESULT>(this); break;
    case SKM_REPAINTALL: RepaintAll(); break;
    case SKM_QUERYCACHE: {
      const FrameMetrics fm = Metrics();
      CacheReply = {FrameBitmap()->Rows(), fm.ClientX(), fm.ClientY() + 1, true};
      break;
    }
    default: break;
  }
}

void TsSkinProvider::ApplySkin() {
  HookWindow();
  ReadIndexes();
  titleCache_.reset();
  if (!manager_) return;
  if (form_ && form_->BorderIcons() != 0) {
    savedBorderIcons_ = form_->BorderIcons();
    form_->SetBorderIcons(0);
  }
  manager_->RefreshMenuPainter();
  if (scrolling_) scrolling_->Broadcast(SKM_APPLYSKIN);
  frameInvalid_ = true;
  if (window_ && !PaintingSuspended()) SendMessageW(window_, WM_NCPAINT, 1, 0);
}

void TsSkinProvider::DropSkin() {
  skinState_.SectionIndex = skinState_.BorderMaskIndex = -1;
  frameInvalid_ = true;
  titleCache_.reset();
  if (!manager_ || HasState(csDesigning) || !form_) return;
  if (scrolling_) scrolling_->Update(false);
  manager_->ReleaseMenus();
  givingIconsBack_ = true;
  try {
    if (window_) SetWindowRgn(window_, nullptr, TRUE);
    if (form_->BorderIcons() != savedBorderIcons_)
      form_->SetBorderIcons(savedBorderIcons_);
    else if (form_->HandleAllocated())
      form_->RecreateWnd();
  } catch (...) {
    // The form keeps the frame it has; the skin is gone either way.
  }
  givingIconsBack_ = false;
}

void TsSkinProvider::RepaintAll() {
  if (HasState(csLoading) || !window_) return;
  frameInvalid_ = true;
  titleCache_.reset();
  SendMessageW(window_, WM_NCPAINT, 1, 0);
  InvalidateRect(window_, nullptr, TRUE);
  if (form_->FormStyle() == fsMDIForm && form_->ClientHandle()) {
    SendMessageW(form_->ClientHandle(), WM_SIZE, 0, 0);
    SendMessageW(form_->ClientHandle(), WM_NCPAINT, 1, 0);
  }
}

TsMDISupport* TsSkinProvider::FrameSupport() {
  if (mdi_) return mdi_.get();
  if (!form_ || form_->FormStyle() != fsMDIChild || !window_) return nullptr;
  HWND client = GetParent(window_);
  TsSkinProvider* frame = client ? Of(GetParent(client)) : nullptr;
  return frame && frame != this ? frame->mdi_.get() : nullptr;
}

void TsSkinProvider::UpdateScrollBars() {
  if (!scrolling_ || HasState(csLoading | csDestroying) || form_->HasState(csLoading | csDestroying) ||
      !form_->HandleAllocated() || (form_->ControlState() & csCreating) || form_->FormStyle() == fsMDIForm)
    return;
  scrolling_->Update(savedAutoScroll_ && SkinActive() && IsWindowVisible(window_));
}

void TsSkinProvider::CaptionCheck(String& saved) {
  if (!form_ || form_->Caption() == saved) return;
  saved = form_->Caption();
  RepaintFrame();
}

void TsSkinProvider::MenuRemeasure() {
  if (TMainMenu* menu = MainMenu(); menu && menu->Items()->Count() > 0) {
    TMenuItem* first = menu->Items()->Items(0);
    first->SetCaption(first->Caption());
  }
}

LRESULT TsSkinProvider::ActiveWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == taskbarCreated_ && taskbarCreated_ != 0) return 0;
  switch (msg) {
    case WM_MOVE: {
      LRESULT r = CallPrevious(msg, wParam, lParam);
      if (form_->FormStyle() == fsMDIChild && !Maximized())
        if (TsMDISupport* frame = FrameSupport()) frame->RefreshFrame();
      return r;
    }
    case WM_SIZE: {
      LRESULT r = CallPrevious(msg, wParam, lParam);
      if (mdi_) mdi_->Refresh();
      else UpdateScrollBars();
      // A child maximised or restored changes its frame's menu and bars.
      if (!mdi_ && form_->FormStyle() == fsMDIChild)
        if (TsMDISupport* frame = FrameSupport()) frame->Refresh();
      return r;
    }
    case WM_ACTIVATE:
      frameInvalid_ = true;
      if (HasBorder()) {
        SendMessageW(window_, WM_NCPAINT, 1, 0);
        if (manager_) manager_->RefreshMenuPainter();
      }
      if (mdi_) mdi_->Refresh();
      else UpdateScrollBars();
      return CallPrevious(msg, wParam, lParam);
    case WM_GETTEXT: {
      LRESULT r = CallPrevious(msg, wParam, lParam);
      CaptionCheck(captionForText_);
      return r;
    }
    case WM_SETCURSOR: {
      LRESULT r = CallPrevious(msg, wParam, lParam);
      CaptionCheck(captionForCursor_);
      return r;
    }
    case WM_SETTEXT: {
      // The default procedure draws the system's caption on a text change;
      // the frame is drawn once more afterwards.
      captionForText_ = captionForCursor_ = form_->Caption();
      LRESULT r = CallPrevious(msg, wParam, lParam);
      RepaintFrame();
      return r;
    }
    case WM_PAINT:
      if (!PaintingSuspended() && IsWindowVisible(window_)) PaintClient();
      else ValidateRect(window_, nullptr);
      return 1;
    case WM_ERASEBKGND: return 1;
    case WM_SYSCOLORCHANGE: {
      LRESULT r = CallPrevious(msg, wParam, lParam);
      MenuRemeasure();
      return r;
    }
    case WM_GETMINMAXINFO: {
      RECT work{};
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
      if (auto* info = reinterpret_cast<MINMAXINFO*>(lParam); info && SentByOwnThread()) {
        info->ptMaxTrackSize = {work.right - work.left + 6, work.bottom - work.top + 6};
      }
      return CallPrevious(msg, wParam, lParam);
    }
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure && SentByOwnThread() && measure->CtlType == ODT_MENU && form_->FormStyle() != fsMDIChild)
        if (TMainMenu* menu = MainMenu(); menu && manager_)
          if (TMenuItem* item = menu->FindItem(measure->itemID)) manager_->HookMenuItem(item);
      return CallPrevious(msg, wParam, lParam);
    }
    case WM_WINDOWPOSCHANGING: {
      LRESULT r = CallPrevious(msg, wParam, lParam);
      if (scrolling_) scrolling_->MeasureContent();
      return r;
    }
    case WM_WINDOWPOSCHANGED:
    case WM_EXITSIZEMOVE: {
      regionInvalid_ = true;
      LRESULT r = CallPrevious(msg, wParam, lParam);
      TBitmap* frame = FrameBitmap();
      if (frame->Width() != form_->Width() || frame->Height() != form_->Height()) {
        frameInvalid_ = true;
        SendMessageW(window_, WM_NCPAINT, 1, 0);
        InvalidateRect(window_, nullptr, FALSE);
      }
      return r;
    }
    case WM_NCHITTEST: {
      if (!HasBorder()) return CallPrevious(msg, wParam, lParam);
      int code = HitTest({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      if (code == kHitNowhere || (code == kHitCaption && !Maximized())) {
        SetHotButton(0);
        return CallPrevious(msg, wParam, lParam);
      }
      return code;
    }
    case WM_NCPAINT:
      if (IsWindowVisible(window_) && !form_->HasState(csLoading) && !PaintingSuspended()) PaintFrame();
      regionApplied_ = false;
      return 1;
    case WM_NCACTIVATE: {
      LRESULT r = CallPrevious(msg, wParam, lParam);
      if (HasBorder()) {
        const bool active = wParam != 0;
        if (active != formActive_) frameInvalid_ = true;
        formActive_ = active;
      }
      SendMessageW(window_, WM_NCPAINT, 1, 0);
      if (HasBorder() && manager_) manager_->RefreshMenuPainter();
      if (!activatedOnce_) {
        activatedOnce_ = true;
        MenuRemeasure();
      }
      return r ? r : TRUE;
    }
    case WM_NCLBUTTONDOWN: NcButtonDown(int(wParam), lParam); return 1;
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP:
      if (msg == WM_LBUTTONUP && hotButton_ == 0) return CallPrevious(msg, wParam, lParam);
      NcButtonUp(msg == WM_LBUTTONUP ? hotButton_ : int(wParam), msg, wParam, lParam);
      return 1;
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCAPTION) {
        if (systemMenu_->MaxEnabled() || systemMenu_->RestoreEnabled()) {
          SendMessageW(window_, WM_SYSCOMMAND, Maximized() ? SC_RESTORE : SC_MAXIMIZE, 0);
          RefreshSystemMenu();
        }
      } else if (wParam == HTSYSMENU) {
        form_->Close();
      }
      return 1;
    case WM_NCRBUTTONDOWN:
      if (wParam != HTCAPTION && wParam != HTSYSMENU) CallPrevious(msg, wParam, lParam);
      return 1;
    case WM_NCRBUTTONUP:
      if (wParam == HTCAPTION || wParam == HTSYSMENU) {
        SetHotButton(0);
        ShowSystemMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      }
      return 1;
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_UPDATE) return 0;
      if (HIWORD(wParam) == EN_CHANGE) {
        LRESULT r = CallPrevious(msg, wParam, lParam);
        RepaintFrame();
        return r;
      }
      return CallPrevious(msg, wParam, lParam);
    case WM_SYSCOMMAND: {
      LRESULT r = CallPrevious(msg, wParam, lParam);
      const WPARAM command = wParam & 0xFFF0;
      const bool stateChange =
          command == SC_MINIMIZE || command == SC_MAXIMIZE || command == SC_RESTORE || command == SC_CLOSE;
      if (TsMDISupport* frame = stateChange ? FrameSupport() : nullptr) frame->RefreshFrame();
      if (stateChange && command != SC_CLOSE && IsWindow(window_)) RepaintFrame();
      return r;
    }
    case WM_SIZING: {
      LRESULT r = CallPrevious(msg, wParam, lParam);
      if (FrameBitmap()->Width() != form_->Width() || FrameBitmap()->Height() != form_->Height()) frameInvalid_ = true;
      if (mdi_) mdi_->Refresh();
      return r;
    }
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
      SetHotButton(0);
      return CallPrevious(msg, wParam, lParam);
    case WM_NCMOUSELEAVE:
      SetHotButton(0);
      return CallPrevious(msg, wParam, lParam);
    case CM_MENUCHANGED:
      if (form_->HasState(csLoading) || !SentByOwnThread()) return CallPrevious(msg, wParam, lParam);
      // Items merged in (or shown again) are painted like the form's own.
      if (manager_) manager_->HookFormMenu(MainMenu());
      if (IsWindowVisible(window_)) {
        menuChanged_ = true;
        RepaintFrame();
      }
      return CallPrevious(msg, wParam, lParam);
    case WM_GETOBJECT: {
      // The title bar is drawn here, so it is described here too.
      const LRESULT object = titleBarAccessible_.AnswerGetObject(window_, OBJID_TITLEBAR, wParam, lParam);
      return object ? object : CallPrevious(msg, wParam, lParam);
    }
    default: return CallPrevious(msg, wParam, lParam);
  }
}

// ---- mouse on the frame

void TsSkinProvider::NcButtonDown(int code, LPARAM lParam) {
  const FrameMetrics m = Metrics();
  RECT bounds{};
  GetWindowRect(window_, &bounds);
  if (code == HTSYSMENU) {
    SetHotButton(0);
    ShowSystemMenu(bounds.left + m.SysBorderX, bounds.top + m.SysBorderY + m.IconRect.Height());
  } else if (code == kHitMin || code == kHitMax || code == kHitClose || code == kHitHelp ||
             (code >= kHitMdiClose && code <= kHitMdiMin)) {
    SetPressedButton(code);
  } else if (code >= kHitUserFirst && code - kHitUserFirst < titleButtons_.Count()) {
    SetPressedButton(code);
    TsTitleButton* b = titleButtons_.Button(code - kHitUserFirst);
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (b->OnMouseDown()) b->OnMouseDown()(b, mbLeft, 0, p.x, p.y);
  } else if (Iconic()) {
    SendMessageW(window_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
    SendMessageW(window_, WM_NCLBUTTONUP, WPARAM(code), lParam);
  } else {
    SetHotButton(0);
    const int y = GET_Y_LPARAM(lParam) - bounds.top;
    if (Maximized() && y < m.SysBorderY + m.CaptionHeight) return;
    CallPrevious(WM_NCLBUTTONDOWN, WPARAM(code), lParam);
  }
}

void TsSkinProvider::NcButtonUp(int code, UINT msg, WPARAM wParam, LPARAM lParam) {
  // A release counts on the button that was pressed, and only over it.
  const bool pressed = hotButton_ == code && RecordOf(code) && RecordOf(code)->State == 2;
  switch (pressed ? code : 0) {
    case kHitMin:
      SetHotButton(0);
      MinimizeForm();
      RefreshSystemMenu();
      frameInvalid_ = true;
      if (IsWindow(window_)) {
        InvalidateRect(window_, nullptr, FALSE);
        SendMessageW(window_, WM_NCPAINT, 1, 0);
      }
      return;
    case kHitMax:
      SetHotButton(0);
      SendMessageW(window_, WM_SYSCOMMAND, Maximized() ? SC_RESTORE : SC_MAXIMIZE, 0);
      RefreshSystemMenu();
      return;
    case kHitClose:
      buttons_[kClose].State = 0;
      hotButton_ = 0;
      SendMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    case kHitHelp:
      SendMessageW(window_, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
      SetHotButton(0);
      RefreshSystemMenu();
      return;
    case kHitMdiClose: case kHitMdiRestore: case kHitMdiMin:
      if (TCustomForm* child = form_->ActiveMDIChild(); child && child->HandleAllocated()) {
        static constexpr WPARAM kCommands[3] = {SC_CLOSE, SC_RESTORE, SC_MINIMIZE};
        SendMessageW(child->Handle(), WM_SYSCOMMAND, kCommands[code - kHitMdiClose], 0);
      }
      SetHotButton(0);
      return;
    default: break;
  }
  if (pressed && code >= kHitUserFirst && code - kHitUserFirst < titleButtons_.Count()) {
    TsTitleButton* b = titleButtons_.Button(code - kHitUserFirst);
    if (b->OnMouseUp()) b->OnMouseUp()(b, mbLeft, 0, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    SetHotButton(0);
    return;
  }
  if (hotButton_ != 0 && RecordOf(hotButton_) && RecordOf(hotButton_)->State == 2) SetHotButton(0);
  CallPrevious(msg, wParam, lParam);
}

void TsSkinProvider::PressTitleButton(int code) {
  const TitleButtonRecord* r = RecordOf(code);
  if (!r || !r->Laid) return;
  RECT bounds{};
  GetWindowRect(window_, &bounds);
  const LPARAM at = MAKELPARAM(bounds.left + (r->Rect.left + r->Rect.right) / 2,
                               bounds.top + (r->Rect.top + r->Rect.bottom) / 2);
  NcButtonDown(code, at);
  NcButtonUp(code, WM_NCLBUTTONUP, WPARAM(code), at);
}

void TsSkinProvider::MinimizeForm() {
  if (Application && Application->MainForm() == form_) Application->Minimize();
  else form_->SetWindowState(wsMinimized);
}

void TsSkinProvider::RefreshSystemMenu() { systemMenu_->RefreshSystemMenu(); }

void TsSkinProvider::ShowSystemMenu(int x, int y) {
  RefreshSystemMenu();
  HWND window = window_;
  systemMenu_->PopUp(x, y);
  // The menu ran in a window of its own; the form takes the activation back.
  if (IsWindow(window) && IsWindowVisible(window) && !IsIconic(window)) SetForegroundWindow(window);
}

int TsSkinProvider::HitTest(POINT screen) {
  RECT bounds{};
  GetWindowRect(window_, &bounds);
  TitleHitInput in;
  in.m = Metrics();
  in.W = bounds.right - bounds.left;
  in.H = bounds.bottom - bounds.top;
  in.buttons = ButtonSet();
  // The minimise button moves into the maximise slot when that slot is empty.
  in.buttons.MaxVisible = buttons_[kMax].Laid;
  for (int i = 0; i < titleButtons_.Count(); ++i) in.userEnabled.push_back(titleButtons_.Button(i)->Enabled());
  in.maximized = Maximized();
  const int grip = TsSkinData::Instance().FindMaskIndex(skinState_.SectionIndex, "FORM", "GRIPIMAGE");
  if (gripMode_ == gmRightBottom && grip >= 0) {
    const TitleImageSize g = ImageSizeOf(grip);
    const int gw = g.Width / (g.Own ? 3 : std::max(1, g.ImageCount));
    const int gh = g.Height / (g.Own ? 2 : std::max(0, g.MaskType) + 1);
    in.grip = true;
    in.gripPoint = {in.W - gw - in.m.SysBorderX, in.H - gh - in.m.SysBorderY};
  }
  for (int code : {kHitMdiClose, kHitMdiRestore, kHitMdiMin})
    if (const TitleButtonRecord* r = RecordOf(code); r->Laid)
      in.mdiButtons.emplace_back(code, PixRect{r->Rect.left, r->Rect.top, r->Rect.right - 1, r->Rect.bottom - 1});
  const int code = HitTestFrame(in, {int(screen.x - bounds.left), int(screen.y - bounds.top)});
  if (IsTitleButtonHit(code)) SetHotButton(code);
  else SetHotButton(0);
  return code;
}

TitleButtonRecord* TsSkinProvider::RecordOf(int code) {
  switch (code) {
    case kHitMin: return &buttons_[kMin];
    case kHitMax: return &buttons_[kMax];
    case kHitClose: return &buttons_[kClose];
    case kHitHelp: return &buttons_[kHelp];
    case kHitMdiMin: return &buttons_[kMdiMin];
    case kHitMdiRestore: return &buttons_[kMdiMax];
    case kHitMdiClose: return &buttons_[kMdiClose];
    default: break;
  }
  if (code >= kHitUserFirst && code - kHitUserFirst < titleButtons_.Count()) {
    TsTitleButton* b = titleButtons_.Button(code - kHitUserFirst);
    userRecord_ = {b->State, b->ImageIndex, b->Rect, b->Laid};
    return &userRecord_;
  }
  return nullptr;
}

void TsSkinProvider::SetButtonState(int code, int state) {
  if (code >= kHitUserFirst && code - kHitUserFirst < titleButtons_.Count()) {
    titleButtons_.Button(code - kHitUserFirst)->State = state;
  } else if (TitleButtonRecord* r = RecordOf(code)) {
    r->State = state;
  }
}

void TsSkinProvider::SetHotButton(int code) { ChangeButton(code, 1); }

void TsSkinProvider::SetPressedButton(int code) {
  ChangeButton(code, 2);
  MSG msg;
  while (PeekMessageW(&msg, window_, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&msg);
}

void TsSkinProvider::ChangeButton(int code, int state) {
  if (manager_) manager_->RedrawHighlightedBarItem(this);
  // Hovering the button under the mouse changes nothing (a pressed one stays
  // pressed); a press may turn the hot button into the pressed one.
  if (code == hotButton_) {
    const TitleButtonRecord* current = RecordOf(code);
    if (state == 1 || code == 0 || !current || current->State == state) return;
    SetButtonState(code, state);
    RedrawTitleButton(code);
    return;
  }
  if (hotButton_ != 0) {
    SetButtonState(hotButton_, 0);
    RedrawTitleButton(hotButton_);
  }
  hotButton_ = code;
  if (code != 0) {
    SetButtonState(code, state);
    RedrawTitleButton(code);
  }
}

// ---- composing the frame

MaskImage TsSkinProvider::MaskOf(int index) const {
  const TsSkinData& skin = TsSkinData::Instance();
  return skin.IsValidMask(index) ? skin.MaskImageOf(index) : MaskImage{};
}

void TsSkinProvider::RedrawTitleButton(int code) {
  TitleButtonRecord* r = RecordOf(code);
  if (!r || !r->Laid || !window_ || !FrameBitmap() || FrameBitmap()->Width() == 0) return;
  const FrameMetrics m = Metrics();
  const bool mdi = IsMdiChildButton(code);
  if (!mdi && r->Rect.left <= m.IconRect.Right) return;
  const bool user = code >= kHitUserFirst;
  if (mdi) DrawMdiChildButton(code);
  else DrawButtonFace(code, m);
  if (user) {
    if (!titleButtons_.Button(code - kHitUserFirst)->Glyph()->Empty()) DrawUserGlyph(code - kHitUserFirst, m);
  }
  WindowDC dc(window_, true);
  BitBlt(dc.Get(), r->Rect.left, r->Rect.top, r->Rect.right - r->Rect.left, r->Rect.bottom - r->Rect.top,
         FrameBitmap()->Canvas()->Handle(), r->Rect.left, r->Rect.top, SRCCOPY);
}

void TsSkinProvider::DrawButtonFace(int code, const FrameMetrics& m) {
  TitleButtonRecord* r = RecordOf(code);
  if (!r) return;
  PixelRows frame = FrameBitmap()->Rows();
  // The title bar behind the button comes back first.
  const int bgLeft = frame.width - buttonBackground_.Width() - 1;
  if (buttonBackground_.Width() > 0) {
    const PixRect area{r->Rect.left, r->Rect.top, r->Rect.right, r->Rect.bottom};
    CopyRect(frame, area.Left, area.Top, buttonBackground_.Rows(),
             {area.Left - bgLeft, area.Top, area.Right - bgLeft, area.Bottom});
  }
  int image = r->ImageIndex;
  if (code == kHitMax && Maximized()) image = TsSkinData::Instance().FindMaskIndex(skinState_.SectionIndex, "FORM", "BICONNORM");
  const bool user = code >= kHitUserFirst;
  if (user && !titleButtons_.Button(code - kHitUserFirst)->UseSkinData()) return;
  const MaskImage mask = MaskOf(image);
  if (!mask.Present()) return;
  int mode = 1;
  if (user) mode = formActive_ && titleButtons_.Button(code - kHitUserFirst)->Enabled() ? 1 : 2;
  else if (r->State == 0 && !formActive_) mode = 2;
  DrawStripGlyph(frame, {r->Rect.left, r->Rect.top}, r->State, mask, mode);
  (void)m;
}

void TsSkinProvider::DrawUserGlyph(int i, const FrameMetrics& m) {
  TsTitleButton* b = titleButtons_.Button(i);
  TBitmap* glyph = b->Glyph();
  if (glyph->Empty()) return;
  PixelRows g = glyph->Rows();
  const std::uint32_t key = ColorFromBgr(g.At(0, g.height - 1));
  const int shift = b->State == 2 ? 1 : 0;
  CopyTransparent(FrameBitmap()->Rows(), g, b->Rect.left + (m.TitleButtonWidth - g.width) / 2 + shift, key,
                  b->Rect.top + (m.TitleButtonHeight - g.height) / 2 + shift);
}

void TsSkinProvider::LayoutButtons(const FrameMetrics& m) {
  for (int i = kMin; i <= kHelp; ++i) buttons_[i].Laid = false;  // the MDI child's go with the menu line
  for (int i = 0; i < titleButtons_.Count(); ++i) titleButtons_.Button(i)->Laid = false;
  if (!(borderIcons_ & biSystemMenu)) return;
  const int W = FrameBitmap()->Width();
  const TsSkinData& skin = TsSkinData::Instance();
  auto place = [&](int record, int left) {
    TitleButtonRecord& r = buttons_[record];
    r.Rect = {left, m.ButtonTop, left + m.TitleButtonWidth, m.ButtonTop + m.TitleButtonHeight};
    r.Laid = true;
  };
  const TitleButtonSet s = ButtonSet();
  const int closeCode = kHitClose;
  if (skin.IsValidMask(buttons_[kClose].ImageIndex)) {
    place(kClose, W - m.SysBorderX - m.TitleButtonWidth - 1);
    DrawButtonFace(closeCode, m);
  }
  int a = 2;
  if (s.MaxVisible) {
    const int norm = skin.FindMaskIndex(skinState_.SectionIndex, "FORM", "BICONNORM");
    if (!Maximized() && s.MaxEnabled && skin.IsValidMask(buttons_[kMax].ImageIndex)) {
      place(kMax, m.SlotLeft(W, 2));
    } else if (Maximized() && skin.IsValidMask(norm)) {
      place(kMax, m.SlotLeft(W, 2));
    }
    if (buttons_[kMax].Laid) {
      DrawButtonFace(kHitMax, m);
      a = 3;
    }
  }
  if (s.MinVisible && skin.IsValidMask(buttons_[kMin].ImageIndex)) {
    place(kMin, m.SlotLeft(W, a));
    DrawButtonFace(kHitMin, m);
    ++a;
  }
  if (s.Help && skin.IsValidMask(buttons_[kHelp].ImageIndex)) {
    place(kHelp, m.SlotLeft(W, a));
    DrawButtonFace(kHitHelp, m);
  }
  for (int i = 0; i < titleButtons_.Count(); ++i) {
    TsTitleButton* b = titleButtons_.Button(i);
    const int left = m.SlotLeft(W, i + 5);
    b->Rect = {left, m.ButtonTop, left + m.TitleButtonWidth, m.ButtonTop + m.TitleButtonHeight};
    if (left <= m.IconRect.Right) continue;
    b->Laid = true;
    DrawButtonFace(kHitUserFirst + i, m);
    DrawUserGlyph(i, m);
  }
}

void TsSkinProvider::PaintIcon(const FrameMetrics& m) {
  if (m.IconRect.Width() <= 0) return;
  HDC dc = FrameBitmap()->Canvas()->Handle();
  const PixRect r = m.IconRect;
  TBitmap* glyph = titleIcon_.Glyph();
  if (!glyph->Empty()) {
    const int w = titleIcon_.Width() ? titleIcon_.Width() : glyph->Width();
    const int h = titleIcon_.Height() ? titleIcon_.Height() : glyph->Height();
    TransparentBlt(dc, r.Left, r.Top, w, h, glyph->Canvas()->Handle(), 0, 0, glyph->Width(), glyph->Height(),
                   RGB(255, 0, 255));
    return;
  }
  HICON icon = form_->Icon()->Handle();
  int w = titleIcon_.Width(), h = titleIcon_.Height();
  if (icon) {
    if (!w) w = form_->Icon()->Width();
    if (!h) h = form_->Icon()->Height();
  } else if (Application && Application->Icon()->Handle()) {
    icon = Application->Icon()->Handle();
    if (!w) w = m.CaptionHeight - r.Top;
    if (!h) h = m.CaptionHeight - r.Top;
  } else {
    icon = LoadIconW(nullptr, IDI_APPLICATION);
    if (!w) w = r.Width();
    if (!h) h = r.Height();
  }
  DrawIconEx(dc, r.Left, r.Top, icon, w, h, 0, nullptr, DI_NORMAL);
}

void TsSkinProvider::PaintTitle(const FrameMetrics& m, int targetWidth, bool iconic) {
  const TsSkinData& skin = TsSkinData::Instance();
  PixelRows frame = FrameBitmap()->Rows();
  const PixRect band{0, 0, targetWidth, iconic ? frame.height : m.CaptionHeight + m.SysBorderY};
  const int title = skin.FindSectionIndex("FORMTITLE");
  if (title >= 0 && band.Width() > 0 && band.Height() > 0) {
    PixelBuffer behind = Snapshot(frame, band);
    PaintSectionItem(skin, title, "FORMTITLE", {behind.Rows(), 0, 0, true}, frame, {0, 0}, band, formActive_, true);
  }
  if (iconic) return;
  PaintIcon(m);
  const int bar = skin.FindMaskIndex(skinState_.SectionIndex, "FORM", "TITLEBAR");
  if (m.VisibleButtonCount > 0 && skin.IsValidMask(bar)) {
    const TsMaskData& md = skin.ma[std::size_t(bar)];
    const int w = md.Bitmap ? (md.Bitmap->Width() / 9) * 2 + m.VisibleButtonCount * m.TitleButtonWidth
                            : (md.SourceRect.Width() / (3 * std::max<int>(1, md.ImageCount))) * 2 +
                                  m.VisibleButtonCount * m.TitleButtonWidth;
    const PixRect r{frame.width - w, 0, frame.width, m.CaptionHeight + m.SysBorderY};
    PixelBuffer behind = Snapshot(frame, r);
    PaintSkinBorders(frame, r, true, formActive_ ? 1 : 0, skin.MaskImageOf(bar),
                     ParentCacheRef{behind.Rows(), -r.Left, -r.Top, true});
  }
}

void TsSkinProvider::PaintMenuLine(const FrameMetrics& m0) {
  TMainMenu* menu = MainMenu();
  if (!menu) return;
  const TsSkinData& skin = TsSkinData::Instance();
  TBitmap* frame = FrameBitmap();
  TCanvas* canvas = frame->Canvas();
  if (Screen) canvas->Font()->Assign(Screen->MenuFont());
  // Measure the bar items and lay them out (the row count decides the band).
  // The items of a menu merged into the form's (an active MDI child's) too.
  const std::vector<TMenuItem*> items = menu->TopLevelItems();
  std::vector<MenuLineEntry> entries;
  for (TMenuItem* item : items) {
    MenuLineEntry e;
    e.Shown = item->Visible() && item->OnMeasureItem() && item->OnAdvancedDrawItem();
    if (e.Shown) {
      int w = 10, h = 19;
      item->OnMeasureItem()(item, canvas, w, h);
      e.Width = w;
    }
    entries.push_back(e);
  }
  FrameMetrics m = m0;
  m.MenuLineCount = 1;
  MenuLineLayout layout = LayoutMenuLine(entries, frame->Width(), m, GetSystemMetrics(SM_CXMENUSIZE));
  menuLineCount_ = layout.Rows;
  m.MenuLineCount = layout.Rows;
  const int top = m.CaptionHeight + m.SysBorderY;
  const PixRect band{0, top, frame->Width(), std::min(frame->Height(), top + m.MenuLineHeight * layout.Rows + 1)};
  const int line = skin.FindSectionIndex("MENULINE");
  if (line >= 0 && band.Height() > 0) {
    PixelBuffer behind = Snapshot(frame->Rows(), band);
    PaintSectionItem(skin, line, "MENULINE", {behind.Rows(), 0, -top, true}, frame->Rows(), {0, 0}, band, false,
                     true);
  }
  menuLineBitmap_.SetSize(band.Width(), std::max(0, band.Height()));
  if (band.Height() > 0) CopyRect(menuLineBitmap_.Rows(), 0, 0, frame->Rows(), band);
  TCustomForm* maximizedChild = form_->FormStyle() == fsMDIForm ? MaximizedChildWithIcon(form_) : nullptr;
  if (maximizedChild) {
    const int side = m.MenuLineHeight - 2;
    DrawIconEx(canvas->Handle(), m.SysBorderX + 1, top + 1, maximizedChild->Icon()->Handle(), side, side, 0, nullptr,
               DI_NORMAL);
  }
  menuItemRects_.clear();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!entries[i].Shown) continue;
    const PixRect& r = layout.Rects[i];
    const RECT rect{r.Left, r.Top, r.Right, r.Bottom};
    menuItemRects_.emplace_back(items[i], rect);
    items[i]->OnAdvancedDrawItem()(items[i], canvas, rect, 0);
  }
  // The child's buttons in the room the painter kept right of the last item.
  for (int i = kMdiMin; i <= kMdiClose; ++i) buttons_[i].Laid = false;
  if (maximizedChild && !entries.empty() && entries.back().Shown) {
    for (const auto& [code, r] : MdiChildButtons(layout.Rects.back())) {
      TitleButtonRecord* record = RecordOf(code);
      record->Rect = {r.Left, r.Top, r.Right, r.Bottom};
      record->Laid = r.Width() > 0;
      if (record->Laid) DrawMdiChildButton(code);
    }
  }
}

bool TsSkinProvider::IsMdiChildButton(int code) { return code >= kHitMdiClose && code <= kHitMdiMin; }

// The title-button pictures are larger than the menu line: each is drawn at
// its own size over the menu line's background scaled up to it, and the
// result scaled down into the button's square.
void TsSkinProvider::DrawMdiChildButton(int code) {
  TitleButtonRecord* r = RecordOf(code);
  TBitmap* frame = FrameBitmap();
  const int top = Metrics().CaptionHeight + Metrics().SysBorderY;
  const int w = r->Rect.right - r->Rect.left, h = r->Rect.bottom - r->Rect.top;
  if (w <= 0 || h <= 0) return;
  HDC target = frame->Canvas()->Handle();
  SetStretchBltMode(target, HALFTONE);
  StretchBlt(target, r->Rect.left, r->Rect.top, w, h, menuLineBitmap_.Canvas()->Handle(), r->Rect.left,
             r->Rect.top - top, w, h, SRCCOPY);
  int image = r->ImageIndex;
  const int restore = TsSkinData::Instance().FindMaskIndex(skinState_.SectionIndex, "FORM", "BICONNORM");
  if (code == kHitMdiRestore && TsSkinData::Instance().IsValidMask(restore)) image = restore;
  const MaskImage mask = MaskOf(image);
  if (!mask.Present()) return;
  const int gw = mask.area.Width() / std::max(1, mask.frames), gh = mask.area.Height() / std::max(1, mask.halves);
  if (gw <= 0 || gh <= 0) return;
  TBitmap face;
  face.SetSize(gw, gh);
  HDC faceDc = face.Canvas()->Handle();
  SetStretchBltMode(faceDc, COLORONCOLOR);
  StretchBlt(faceDc, 0, 0, gw, gh, menuLineBitmap_.Canvas()->Handle(), r->Rect.left, r->Rect.top - top, w, h, SRCCOPY);
  GdiFlush();  // the glyph is drawn into the bits directly
  DrawStripGlyph(face.Rows(), {0, 0}, r->State, mask, formActive_ ? 1 : 2);
  StretchBlt(target, r->Rect.left, r->Rect.top, w, h, faceDc, 0, 0, gw, gh, SRCCOPY);
}

void TsSkinProvider::RedrawMenuItem(TMenuItem* item, const RECT& rect, TOwnerDrawState state) {
  if (!item || !item->OnAdvancedDrawItem() || !window_ || FrameBitmap()->Width() == 0) return;
  TCanvas* canvas = FrameBitmap()->Canvas();
  if (Screen) canvas->Font()->Assign(Screen->MenuFont());
  item->OnAdvancedDrawItem()(item, canvas, rect, state);
  WindowDC dc(window_, true);
  BitBlt(dc.Get(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, canvas->Handle(), rect.left,
         rect.top, SRCCOPY);
}

void TsSkinProvider::PaintCaption(const FrameMetrics& m, bool iconic) {
  TBitmap* frame = FrameBitmap();
  TCanvas* canvas = frame->Canvas();
  canvas->Font()->Assign(form_->Font());
  canvas->Font()->SetStyle(form_->Font()->Style() | fsBold);
  const int userCount = titleButtons_.Count();
  const int allowance = userCount > 0 ? (userCount + 4) * (m.TitleButtonWidth + 1)
                                      : m.VisibleButtonCount * (m.TitleButtonWidth + 1);
  const int available = iconic ? 160 - m.IconRect.Right - 8 : frame->Width() - m.IconRect.Right - allowance - 16;
  HDC dc = canvas->Handle();
  SelectObject(dc, canvas->Font()->Handle());
  const String text = ShortenText(dc, form_->Caption(), available);
  if (text.empty()) return;
  const PixRect r{m.IconRect.Width() + m.SysBorderX + 4, m.SysBorderY, frame->Width() - allowance - 16,
                  m.CaptionHeight};
  static constexpr UINT kAlign[3] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT format = kAlign[captionAlignment_] | DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE;
  if (form_->UseRightToLeftReading()) format |= DT_RTLREADING;
  const TsSkinData& skin = TsSkinData::Instance();
  const int title = skin.FindSectionIndex("FORMTITLE");
  DrawSkinCaption(dc, text, true, formActive_, title >= 0 ? &skin.gd[std::size_t(title)] : nullptr, format, r);
}

void TsSkinProvider::BuildFrame() {
  if (!form_ || !window_) return;
  const TsSkinData& skin = TsSkinData::Instance();
  const int section = skinState_.SectionIndex;
  if (!skin.IsValidSection(section)) return;
  const TsGeneralData& formSection = skin.gd[std::size_t(section)];
  RECT bounds{};
  GetWindowRect(window_, &bounds);
  const int W = bounds.right - bounds.left, H = bounds.bottom - bounds.top;
  const bool iconic = Iconic();
  const FrameMetrics m = Metrics();
  const PixRect target = iconic ? PixRect{0, 0, 160, m.CaptionHeight + m.SysBorderY + 1} : PixRect{0, 0, W, H};
  TBitmap* frame = FrameBitmap();
  if (!menuChanged_ && formSection.ReservedBoolean && titleCache_ && titleCache_->Width() == W &&
      frame->Height() == H && frame->Width() == W && HasBorder() && !iconic) {
    CopyRect(frame->Rows(), 0, 0, titleCache_->Rows(), {0, 0, W, titleCache_->Height()});
    PaintTitleAndButtons(m, target.Width(), iconic);
    frameInvalid_ = false;
    ++fastCompositions_;
    return;
  }
  ++fullCompositions_;
  regionInvalid_ = true;
  frame->SetSize(target.Width(), target.Height());
  PixelRows rows = frame->Rows();
  if (HasBorder())
    PaintSectionItem(skin, section, "FORM", EmptyCacheRef, rows, {0, 0}, target, false, true);
  else
    PaintSectionBackground(skin, section, "FORM", EmptyCacheRef, rows, {0, 0}, target, false);
  const int grip = skin.FindMaskIndex(section, "FORM", "GRIPIMAGE");
  if (gripMode_ == gmRightBottom && skin.IsValidMask(grip)) {
    const MaskImage g = skin.MaskImageOf(grip);
    const int gw = g.area.Width() / g.frames, gh = g.area.Height() / g.halves;
    DrawStripGlyph(rows, {rows.width - gw - m.SysBorderX, rows.height - gh - m.SysBorderY}, 0, g, 1);
  }
  if (formSection.ReservedBoolean && !iconic && (!titleCache_ || titleCache_->Width() != W)) {
    titleCache_ = std::make_unique<TBitmap>();
    titleCache_->SetSize(W, std::min(H, m.SysBorderY + m.CaptionHeight));
    CopyRect(titleCache_->Rows(), 0, 0, rows, {0, 0, W, titleCache_->Height()});
  }
  if (HasBorder()) PaintTitleAndButtons(m, target.Width(), iconic);
  if (!iconic && HasMenuLine() && m.MenuLineHeight > 0) PaintMenuLine(m);
  if (form_->FormStyle() == fsMDIForm && form_->ClientHandle() && !(mdi_ && mdi_->ChildMaximized())) {
    const int area = skin.FindSectionIndex("MDIAREA");
    RECT client{};
    GetWindowRect(form_->ClientHandle(), &client);
    const PixRect r{client.left - bounds.left, client.top - bounds.top, client.right - bounds.left,
                    client.bottom - bounds.top};
    if (area >= 0 && r.Left >= 0 && r.Top >= 0 && r.Right <= rows.width && r.Bottom <= rows.height)
      PaintSectionBackground(skin, area, "MDIAREA", EmptyCacheRef, rows, {0, 0}, r, false);
  }
  if (form_->FormStyle() != fsMDIForm || !(mdi_ && mdi_->ChildMaximized())) menuChanged_ = false;
  frameInvalid_ = false;
}

void TsSkinProvider::PaintTitleAndButtons(const FrameMetrics& m, int targetWidth, bool iconic) {
  PaintTitle(m, targetWidth, iconic);
  if (!iconic) {
    TBitmap* frame = FrameBitmap();
    const int userCount = titleButtons_.Count();
    const int bw = (userCount + m.VisibleButtonCount + 1) * (m.TitleButtonWidth + 1) + m.SysBorderX;
    const int bh = std::min(frame->Height(), m.SysBorderY + m.CaptionHeight + m.MenuLineCount * m.MenuLineHeight +
                                                 m.BorderWidth + 1);
    buttonBackground_.SetSize(std::min(bw, frame->Width()), bh);
    CopyRect(buttonBackground_.Rows(), 0, 0, frame->Rows(),
             {frame->Width() - buttonBackground_.Width() - 1, 0, frame->Width() - 1, bh});
    LayoutButtons(m);
  }
  PaintCaption(m, iconic);
}

void TsSkinProvider::CutFromMask(int width) {
  const TsSkinData& skin = TsSkinData::Instance();
  const int title = skin.FindSectionIndex("FORMTITLE");
  const int mask = title >= 0 ? skin.FindMaskIndex(title, "FORMTITLE", "BORDERSMASK") : -1;
  cutRects_ = skin.IsValidMask(mask) ? CornerCuts(skin.MaskImageOf(mask), width) : RegionCuts{};
}

void TsSkinProvider::UpdateRegion() {
  if (settingRegion_ || !window_) return;
  RECT bounds{};
  GetWindowRect(window_, &bounds);
  GdiHandle<HRGN> region(CreateRectRgn(0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top));
  CutRegion(region.Get(), cutRects_);
  settingRegion_ = true;
  // The window owns the region once it is set.
  if (SetWindowRgn(window_, region.Get(), TRUE)) region.Release();
  settingRegion_ = false;
  regionApplied_ = true;
}

void TsSkinProvider::PaintFrame() {
  if (!window_) return;
  if (regionInvalid_ && HasBorder()) {
    RECT bounds{};
    GetWindowRect(window_, &bounds);
    CutFromMask(Iconic() ? 160 : bounds.right - bounds.left);
    regionInvalid_ = false;
    UpdateRegion();
  }
  if (frameInvalid_) BuildFrame();
  CopyFrameToWindow(Metrics());
}

void TsSkinProvider::CopyFrameToWindow(const FrameMetrics& m) {
  TBitmap* frame = FrameBitmap();
  if (frame->Width() == 0) return;
  const int W = frame->Width(), H = frame->Height();
  int top = m.SysBorderY + m.CaptionHeight + m.MenuLineCount * m.MenuLineHeight + m.BorderWidth;
  if (m.MenuLineCount > 0) ++top;
  if (Iconic()) ++top;
  top = std::min(top, H);
  const int side = m.SysBorderX + m.BorderWidth;
  const int bottom = m.SysBorderY + m.BorderWidth;
  WindowDC dc(window_, true);
  SavedDC saved(dc.Get());
  HDC src = frame->Canvas()->Handle();
  BitBlt(dc.Get(), 0, 0, W, top, src, 0, 0, SRCCOPY);
  BitBlt(dc.Get(), 0, top, side, H - top, src, 0, top, SRCCOPY);
  BitBlt(dc.Get(), W - side, top, side, H - top, src, W - side, top, SRCCOPY);
  BitBlt(dc.Get(), side, H - bottom, W - 2 * side, bottom, src, side, H - bottom, SRCCOPY);
}

void TsSkinProvider::PaintClient() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  if (!dc) return;
  struct EndPaintGuard {
    HWND w;
    PAINTSTRUCT* ps;
    ~EndPaintGuard() { EndPaint(w, ps); }
  } endPaint{window_, &ps};
  SavedDC saved(dc);
  for (TControl* c : form_->ControlList())
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible() && (w->ControlStyle() & csOpaque)) {
      const RECT r = w->BoundsRect();
      ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
  if (form_->HasState(csDestroying)) return;
  const TsSkinData& skin = TsSkinData::Instance();
  const TsGeneralData& s = skin.gd[std::size_t(skinState_.SectionIndex)];
  const bool wasInvalid = frameInvalid_;
  const FrameMetrics m = Metrics();
  RECT client{};
  GetClientRect(window_, &client);
  if (s.GradientPercent != 0 || s.ImagePercent != 0) {
    if (frameInvalid_) BuildFrame();
    BitBlt(dc, 0, 0, client.right, client.bottom, FrameBitmap()->Canvas()->Handle(), m.ClientX(), m.ClientY(),
           SRCCOPY);
  } else {
    if (frameInvalid_) BuildFrame();
    FillDeviceRect(dc, {0, 0, int(client.right), int(client.bottom)}, s.PaintingColor);
    // The grip shows where the frame has it, as on image and gradient forms.
    const int grip = skin.FindMaskIndex(skinState_.SectionIndex, "FORM", "GRIPIMAGE");
    if (gripMode_ == gmRightBottom && skin.IsValidMask(grip)) {
      const MaskImage g = skin.MaskImageOf(grip);
      const int gw = g.area.Width() / g.frames, gh = g.area.Height() / g.halves;
      TBitmap* frame = FrameBitmap();
      const int x = frame->Width() - gw - m.SysBorderX, y = frame->Height() - gh - m.SysBorderY;
      BitBlt(dc, x - m.ClientX(), y - m.ClientY(), gw, gh, frame->Canvas()->Handle(), x, y, SRCCOPY);
    }
  }
  PaintChildrenFromCache(form_, dc, wasInvalid);
}

KESTU_PUBLISH(TsSkinProvider) {
  using P = TsSkinProvider;
  p.Set("BorderIcons", &P::BorderIcons, &P::SetBorderIcons, biSystemMenu | biMinimize | biMaximize,
        {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"});
  p.Enum("CaptionAlignment", &P::CaptionAlignment, &P::SetCaptionAlignment, taLeftJustify,
         {"taLeftJustify", "taRightJustify", "taCenter"});
  p.Enum("GripMode", &P::GripMode, &P::SetGripMode, gmNone, {"gmNone", "gmRightBottom"});
  p.Bool("MakeSkinMenu", &P::MakeSkinMenu, &P::SetMakeSkinMenu, true);
  p.Bool("ShowAppIcon", &P::ShowAppIcon, &P::SetShowAppIcon, true);
  p.Collection("TitleButtons", &P::TitleButtons);
  p.Object("TitleIcon", &P::TitleIcon);
}

}  // namespace kestu
