#pragma once
// The skin engine's private window messages, the process-wide skin-change
// flag, the shared reply record of the cache query, and TsCommonData: the
// skin state of controls that have no style object.

#include "framework/Controls.h"
#include "skin/core/PixelLib.h"
#include "skin/core/SkinData.h"

#include <memory>

namespace kestu {

enum : UINT {
  SKM_QUERYSTYLE = 0xA000,
  SKM_FIRST = 0xA001,  // first of the range a control's state answers
  SKM_BGDIRTY = 0xA401,
  SKM_APPLYSKIN = 0xA402,
  SKM_DROPSKIN = 0xA403,
  SKM_RESETLOOKUPS = 0xA404,
  SKM_QUERYPROVIDER = 0xA406,
  SKM_REPAINTALL = 0xA407,
  SKM_QUERYCACHE = 0xA408,
  SKM_SECTIONREPAINT = 0xA409,
  SKM_PARENTBGDIRTY = 0xA40A,
  SKM_LAST = 0xA414,  // last skin message of the range
  // Group property messages: WParam the group, LParam the value.
  SKM_GROUPFIRST = 0xA433,
  SKM_GROUP_SOFTCONTROL = 0xA433,
  SKM_GROUP_PAINTINGCOLOR = 0xA43D,
  SKM_GROUP_BGIMAGE = 0xA447,        // LParam: a TBitmap
  SKM_GROUP_SHADOWENABLED = 0xA451,
  SKM_GROUP_SHADOWCOLOR = 0xA452,
  SKM_GROUP_SHADOWTRANSPARENCY = 0xA453,
  SKM_GROUP_SHADOWOFFSET = 0xA454,
  SKM_GROUP_SHADOWBLUR = 0xA455,
  SKM_GROUP_CHILDSHADOWS = 0xA456,
  SKM_GROUP_COPYSTYLE = 0xA464,      // LParam: the style object to copy
  SKM_GROUPLAST = 0xA464,
};
inline bool IsGroupMessage(UINT msg) { return msg >= SKM_GROUPFIRST && msg <= SKM_GROUPLAST; }

// Kind codes a receiver of SKM_QUERYSTYLE answers with.
enum : int { kStyleGeneral = 1, kStylePassiveBG = 12, kStyleActiveBG = 13 };
// SKM_QUERYSTYLE carries in WParam the address of this record (or 0); a
// skinned receiver writes its kind and itself into it and returns 1.
struct StyleQueryReply {
  int Kind = 0;
  void* Style = nullptr;
};
// Asks a window for its style; Kind stays 0 when it has none.
StyleQueryReply QueryStyleOf(HWND window);
StyleQueryReply QueryStyleOf(TControl* control);

// True while a new skin is being announced; backgrounds are not marked dirty then.
extern bool SkinChanging;
// Painting of skinned windows is held back while a skin change is under way
// (the change ends with a repaint of everything); guards nest.
bool PaintingSuspended();
class SuspendPainting {
 public:
  SuspendPainting();
  ~SuspendPainting();
  SuspendPainting(const SuspendPainting&) = delete;
  SuspendPainting& operator=(const SuspendPainting&) = delete;
};
// The reply of SKM_QUERYCACHE: the sender clears Valid, sends, copies.
extern ParentCacheRef CacheReply;
// The section name SKM_SECTIONREPAINT compares with (upper case; nothing sets it).
extern std::string SectionToRepaint;

inline bool IsSkinMessage(UINT msg) { return msg >= SKM_FIRST && msg <= SKM_LAST; }

// Control-type codes of the skinned button controls and of TsButton.
inline constexpr int kButtonControlCode = 91;
inline constexpr int kButtonCode = 93;
// The control-type code of tab controls, whose shadow starts below the tabs.
inline constexpr int kTabControlCode = 141;

// Control-type code sets shared by the state objects and style objects.
bool NeverHot(int code);
bool MaySeeThrough(int code);
bool PaintsChildShadows(int code);
bool CastsNoShadow(int code);
bool OffersNoCache(int code);

// A shadow's transparency over a see-through control: (100 - s) * p / 100 + s
// for shadow transparency s and painting transparency p (both 0..100),
// rounded with halves going to the even neighbour.
int ShadowTransparency(int s, int p);
// The control's bounds moved by the shadow offset right and down, then by
// (dx, dy); a hostile offset saturates at GDI's coordinate limit instead of
// wrapping round.
// A tab control's shadow (control-type code 141) starts below its tabs: the
// top is lowered by tabHeight.
PixRect ShadowBounds(RECT bounds, int offset, int dx, int dy, int tabHeight = 0);
// Height of the tab row of a control built on the native tab control (0 for
// any other control, or one without tabs).
int TabHeightOf(TControl* control);

// A control ready for painting: exists, not loading or being destroyed, has
// a parent and is visible.
bool ReadyForPainting(TControl* control);

// Asks the parent window of control for its cached background.
ParentCacheRef QueryParentCacheOf(TControl* control);

// After a skinned container has painted: tells its skinned children, by the
// control-type code of their style, that the background they show changed.
void NotifySkinnedChildren(TWinControl* container, bool backgroundChanged);
// Paints the container's graphic children into dc (already holding the
// container's background); windowed children are told and repainted.
void PaintChildrenFromCache(TWinControl* container, HDC dc, bool backgroundChanged);

class TsCommonData : public TPersistent {
  KESTU_CLASS(TsCommonData, TPersistent)
 public:
  TsCommonData(TObject* owner, bool withCache);
  ~TsCommonData() override;

  const String& SkinSection() const { return skinSection_; }
  void SetSkinSection(const String& value);

  int BorderMaskIndex = -1;
  int SectionIndex = -1;
  bool BackgroundDirty = false;
  bool NoCache = false;
  TControl* OwnerControl = nullptr;
  TObject* OwnerObject = nullptr;
  std::unique_ptr<TBitmap> CacheBitmap;
  int ControlKindCode = 0;
  bool HasFocus = false;
  bool MouseInside = false;

  void Loaded();
  void RefreshLookups();
  bool IsSkinned() const;
  void Invalidate();
  void PrepareCacheBitmap();
  ParentCacheRef QueryParentCache();
  bool ControlLooksActive();
  // Called first for every message the control receives.
  void WndProc(TMessage& message);

 private:
  void SkinMessage(TMessage& message);
  String skinSection_;
};

}  // namespace kestu
