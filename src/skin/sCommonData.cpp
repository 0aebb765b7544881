#include "skin/sCommonData.h"

#include <commctrl.h>

#include "skin/sStyleSimply.h"

#include <algorithm>
#include <cstdint>

namespace kestu {

bool SkinChanging = false;
ParentCacheRef CacheReply;
std::string SectionToRepaint;

namespace {
int suspendedPainting = 0;
}

bool PaintingSuspended() { return suspendedPainting > 0; }
SuspendPainting::SuspendPainting() { ++suspendedPainting; }
SuspendPainting::~SuspendPainting() { --suspendedPainting; }

bool NeverHot(int code) { return (code >= 51 && code <= 74) || code == 110 || (code >= 141 && code <= 161); }
bool MaySeeThrough(int code) {
  return (code >= 51 && code <= 68) || (code >= 91 && code <= 95) || code == 141 || code == 151 || code == 161 ||
         code == 165;
}
bool PaintsChildShadows(int code) { return (code >= 51 && code <= 68) || code == 151; }
bool CastsNoShadow(int code) { return code == 57 || code == 74 || code == 110 || code == 141 || code == 151; }
bool OffersNoCache(int code) { return code == 7 || code == 8 || code == 78 || code == 83 || code == 96; }

int ShadowTransparency(int s, int p) {
  const int hundredths = (100 - s) * p + 100 * s;
  const int whole = hundredths / 100, rest = hundredths % 100;
  return rest > 50 || (rest == 50 && whole % 2 == 1) ? whole + 1 : whole;
}

PixRect ShadowBounds(RECT bounds, int offset, int dx, int dy, int tabHeight) {
  const std::int64_t limit = std::int64_t(1) << 27;  // GDI's 32-bit coordinate range
  const auto moved = [limit](std::int64_t v) { return int(std::clamp(v, -limit, limit)); };
  const std::int64_t x = std::int64_t(offset) + dx, y = std::int64_t(offset) + dy;
  return {moved(bounds.left + x), moved(std::int64_t(bounds.top) + tabHeight + y), moved(bounds.right + x),
          moved(bounds.bottom + y)};
}

int TabHeightOf(TControl* control) {
  auto* w = dynamic_cast<TWinControl*>(control);
  if (!w || !w->HandleAllocated()) return 0;
  // Our own window: the tab messages have a range of their own that no
  // other control of ours answers (a control superclassing the native tab
  // control keeps a class name of its own, so the name cannot tell).
  RECT tab{};
  if (!SendMessageW(w->Handle(), TCM_GETITEMRECT, 0, LPARAM(&tab))) return 0;
  return std::max(0, int(tab.bottom));
}

bool ReadyForPainting(TControl* control) {
  return control && !control->HasState(csLoading | csDestroying) && control->Parent() && control->Visible();
}

ParentCacheRef QueryParentCacheOf(TControl* control) {
  if (!control || !control->Parent() || !control->Parent()->HandleAllocated()) return {};
  CacheReply = {};
  SendMessageW(control->Parent()->Handle(), SKM_QUERYCACHE, 0, 0);
  ParentCacheRef reply = CacheReply;
  CacheReply = {};
  return reply;
}

namespace {
// The control-type code of a skinned control's style (0 when unskinned).
int KindCodeOf(TControl* control) {
  StyleQueryReply reply = QueryStyleOf(control);
  if (reply.Kind <= 0 || !reply.Style) return -1;
  return static_cast<TsGenStyle*>(reply.Style)->ControlKindCode;
}
}  // namespace

void NotifySkinnedChildren(TWinControl* container, bool backgroundChanged) {
  if (!container) return;
  for (TControl* child : std::vector(container->ControlList())) {
    if (!ReadyForPainting(child)) continue;
    const int code = KindCodeOf(child);
    if (code < 0) continue;
    const LPARAM flag = backgroundChanged ? 1 : 0;
    if ((code >= 51 && code <= 57) || code == 68 || code == 74) {
      child->Perform(SKM_BGDIRTY, 0, flag);
      child->Repaint();
    } else if ((code >= 91 && code <= 95) || code == 141 || code == 142) {
      if (!backgroundChanged) continue;
      child->Perform(SKM_BGDIRTY, 0, 1);
      child->Repaint();
    } else if (code == 161 || code == 165) {
      if (!backgroundChanged) continue;
      child->Perform(SKM_BGDIRTY, 0, 1);
      child->Invalidate();
    }
  }
}

void PaintChildrenFromCache(TWinControl* container, HDC dc, bool backgroundChanged) {
  if (!container) return;
  const LPARAM flag = backgroundChanged ? 1 : 0;
  for (TControl* child : std::vector(container->ControlList())) {
    const bool graphic = dynamic_cast<TWinControl*>(child) == nullptr;
    if (!graphic || (!child->Visible() && !child->HasState(csDesigning))) {
      child->Perform(SKM_BGDIRTY, 0, flag);
      if (child->Visible()) child->Repaint();
      continue;
    }
    if (!child->Visible()) continue;
    const RECT bounds = child->BoundsRect();
    if (!RectVisible(dc, &bounds)) {
      child->Perform(SKM_BGDIRTY, 0, flag);
      child->Invalidate();
      continue;
    }
    SavedDC saved(dc);
    SetViewportOrgEx(dc, child->Left(), child->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
    child->Perform(SKM_BGDIRTY, 0, flag);
    child->Perform(WM_PAINT, WPARAM(dc), 0);
  }
}

StyleQueryReply QueryStyleOf(HWND window) {
  StyleQueryReply reply;
  if (window) SendMessageW(window, SKM_QUERYSTYLE, reinterpret_cast<WPARAM>(&reply), 0);
  return reply;
}

StyleQueryReply QueryStyleOf(TControl* control) {
  StyleQueryReply reply;
  if (control) control->Perform(SKM_QUERYSTYLE, reinterpret_cast<WPARAM>(&reply), 0);
  return reply;
}

TsCommonData::TsCommonData(TObject* owner, bool withCache)
    : NoCache(!withCache), OwnerControl(dynamic_cast<TControl*>(owner)), OwnerObject(owner) {
  if (withCache) CacheBitmap = std::make_unique<TBitmap>();
}

TsCommonData::~TsCommonData() {
  OwnerControl = nullptr;
  OwnerObject = nullptr;
}

void TsCommonData::SetSkinSection(const String& value) {
  if (skinSection_ == value) return;
  skinSection_ = value.empty() && OwnerObject ? OwnerObject->ClassName() : value;
  RefreshLookups();
  Invalidate();
}

void TsCommonData::Loaded() {
  if (!skinSection_.empty()) RefreshLookups();
  else if (OwnerObject) SetSkinSection(OwnerObject->ClassName());
}

void TsCommonData::RefreshLookups() {
  BackgroundDirty = true;
  const TsSkinData& skin = TsSkinData::Instance();
  std::string name = StringToUtf8(skinSection_);
  SectionIndex = skin.FindSectionIndex(name);
  if (SectionIndex < 0) {
    int fallback = skin.FindSectionIndex("SIMPLYEDIT");
    if (fallback >= 0) {
      SectionIndex = fallback;
      skinSection_ = L"SIMPLYEDIT";
      name = "SIMPLYEDIT";
    }
  }
  BorderMaskIndex = SectionIndex >= 0 ? skin.FindMaskIndex(SectionIndex, name, "BORDERSMASK") : -1;
}

bool TsCommonData::IsSkinned() const { return TsSkinData::Instance().IsValidSection(SectionIndex); }

void TsCommonData::Invalidate() {
  BackgroundDirty = true;
  if (ReadyForPainting(OwnerControl)) OwnerControl->Invalidate();
}

void TsCommonData::PrepareCacheBitmap() {
  if (!CacheBitmap) CacheBitmap = std::make_unique<TBitmap>();
  if (OwnerControl && (CacheBitmap->Width() != OwnerControl->Width() || CacheBitmap->Height() != OwnerControl->Height()))
    CacheBitmap->SetSize(OwnerControl->Width(), OwnerControl->Height());
}

ParentCacheRef TsCommonData::QueryParentCache() { return QueryParentCacheOf(OwnerControl); }

bool TsCommonData::ControlLooksActive() {
  if (!ReadyForPainting(OwnerControl) || OwnerControl->HasState(csDesigning) || NeverHot(ControlKindCode))
    return false;
  if (HasFocus) return true;
  if (auto* w = dynamic_cast<TWinControl*>(OwnerControl); w && w->Focused()) return true;
  return MouseInside;
}

void TsCommonData::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOVE: case WM_SIZE: case WM_WINDOWPOSCHANGED: BackgroundDirty = true; return;
    case WM_SETFOCUS: case CM_ENTER: {
      BackgroundDirty = true;
      auto* w = dynamic_cast<TWinControl*>(OwnerControl);
      HasFocus = w && w->TabStop() && w->CanFocus();
      return;
    }
    case WM_KILLFOCUS: case CM_EXIT: BackgroundDirty = true; HasFocus = false; return;
    case WM_FONTCHANGE: case CM_ENABLEDCHANGED: Invalidate(); return;
    case CM_MOUSEENTER: case CM_MOUSELEAVE:
      if (!NeverHot(ControlKindCode)) MouseInside = m.Msg == CM_MOUSEENTER;
      m.Result = 1;
      return;
    default:
      if (IsSkinMessage(m.Msg) && SentByOwnThread()) SkinMessage(m), m.Result = 2;
      return;
  }
}

void TsCommonData::SkinMessage(TMessage& m) {
  switch (m.Msg) {
    case SKM_APPLYSKIN: RefreshLookups(); return;
    case SKM_DROPSKIN: BorderMaskIndex = SectionIndex = -1; return;
    case SKM_REPAINTALL: Invalidate(); return;
    case SKM_QUERYCACHE:
      CacheReply.Valid = false;
      if (CacheBitmap) CacheReply = {CacheBitmap->Rows(), 0, 0, true};
      return;
    case SKM_SECTIONREPAINT:
      if (!SectionToRepaint.empty() && UpperCase(StringToUtf8(skinSection_)) == SectionToRepaint) {
        Invalidate();
        if (auto* w = dynamic_cast<TWinControl*>(OwnerControl); w && w->HandleAllocated())
          SendMessageW(w->Handle(), WM_PAINT, 0, 0);
      }
      return;
    case SKM_PARENTBGDIRTY:
      if (OwnerControl && IsSkinned() &&
          TsSkinData::Instance().gd[std::size_t(SectionIndex)].PaintingTransparency > 0) {
        BackgroundDirty = true;
        OwnerControl->Repaint();
      }
      return;
    default: return;
  }
}

KESTU_PUBLISH(TsCommonData) { p.Str("SkinSection", &TsCommonData::SkinSection, &TsCommonData::SetSkinSection); }

}  // namespace kestu
