#pragma once
// Arithmetic of a skinned window frame: border and caption sizes from the
// system metrics, the title-button slots counted from the right edge, hit
// codes of the title band, the wrapping menu line, and the corner cuts of the
// window region taken from the title's border mask. Pure integer arithmetic,
// so every rule can be checked without a window.

#include "base/PixRect.h"
#include "skin/core/PixelLib.h"

#include <array>
#include <utility>
#include <vector>

namespace kestu {

// The system metrics the frame is built from.
struct FrameSystemMetrics {
  int CxFrame = 4, CyFrame = 4;
  int CyCaption = 19, CySmCaption = 15;
  int CyMenu = 19;
  int CxSmIcon = 16, CySmIcon = 16;
  int CxMenuSize = 19;
};

// What a title-button picture looks like: an image of its own (three states
// side by side above their masks) or a rectangle of the master bitmap.
struct TitleImageSize {
  bool Present = false;
  bool Own = true;
  int Width = 0, Height = 0;
  int ImageCount = 1, MaskType = 0;
};

// Which standard buttons the frame offers (from the provider's border icons
// and the form's border style and state).
struct TitleButtonSet {
  bool SystemMenu = false, Help = false;
  bool MaxVisible = false, MinVisible = false;
  bool MaxEnabled = false, MinEnabled = false;
  bool RestoreEnabled = false;
};
// The visibility and enablement tests for a border style (0 none .. 5
// sizeable tool window) and window state.
TitleButtonSet TitleButtonsFor(int borderStyle, bool sysMenu, bool minimize, bool maximize, bool help,
                               bool maximized, bool minimized);

struct FrameMetrics {
  int SysBorderX = 0, SysBorderY = 0, CaptionHeight = 0;
  int TitleButtonWidth = 21, TitleButtonHeight = 21;
  int ButtonTopRaw = 0;  // before the small-button correction
  int ButtonTop = 0;
  int MenuLineHeight = 0;
  int MenuLineCount = 0;
  PixRect IconRect;  // Right = Left + width, Bottom = Top + height
  int VisibleButtonCount = 0;
  int BorderWidth = 0;

  int ClientX() const { return SysBorderX + BorderWidth; }
  int ClientY() const { return SysBorderY + CaptionHeight + MenuLineCount * MenuLineHeight + BorderWidth; }
  // Left edge of slot k (1 = rightmost) of a window W pixels wide.
  int SlotLeft(int W, int k) const { return W - SysBorderX - k * (TitleButtonWidth + 1); }
  // Rows of the title band and the menu line at the top of the window.
  int TopRows() const { return ClientY(); }
};

FrameMetrics ComputeFrameMetrics(int borderStyle, const FrameSystemMetrics& sys, const TitleImageSize& close,
                                 bool hasMenu, int menuLineCount, bool showAppIcon, const TitleButtonSet& buttons,
                                 int borderWidth);

// Hit codes of the frame.
enum : int {
  kHitNowhere = 0, kHitClient = 1, kHitCaption = 2, kHitSysMenu = 3, kHitMin = 8, kHitMax = 9,
  kHitBottomRight = 17, kHitClose = 20, kHitHelp = 21, kHitMdiClose = 101, kHitMdiRestore = 102,
  kHitMdiMin = 103, kHitUserFirst = 1000, kHitMaximizedEdge = -1,
};
inline bool IsTitleButtonHit(int code) {
  return code == kHitMin || code == kHitMax || code == kHitClose || code == kHitHelp ||
         (code >= kHitMdiClose && code <= kHitMdiMin) || code >= kHitUserFirst;
}

struct TitleHitInput {
  FrameMetrics m;
  int W = 0, H = 0;
  TitleButtonSet buttons;
  std::vector<bool> userEnabled;  // one entry per user title button
  bool maximized = false;
  bool grip = false;  // a size grip is shown at GripPoint
  PixPoint gripPoint;
  std::vector<std::pair<int, PixRect>> mdiButtons;  // code and rectangle (inclusive), close first
};
// The hit code of point p (window coordinates).
int HitTestFrame(const TitleHitInput& in, PixPoint p);

// One top-level menu item as the menu line lays it out.
struct MenuLineEntry {
  int Width = 0;  // from the item's measure handler
  bool Shown = true;
};
// Room the menu painter keeps right of the last bar item while the active MDI
// child is maximised: the child's three buttons are drawn there.
inline constexpr int kMdiButtonsRoom = 40;
// The maximised MDI child's buttons in the room of the last bar item's
// rectangle: squares side by side, minimise, restore and close rightmost,
// returned close first as hit tests take them.
std::array<std::pair<int, PixRect>, 3> MdiChildButtons(const PixRect& lastItem);

struct MenuLineLayout {
  std::vector<PixRect> Rects;  // one per entry; empty rectangle for entries not shown
  int Rows = 1;
};
MenuLineLayout LayoutMenuLine(const std::vector<MenuLineEntry>& items, int W, const FrameMetrics& m,
                              int cxMenuSize);

// Runs of key-colour pixels in the top-left and top-right corner cells of
// the first frame of a title border mask, as one-row rectangles of a window
// `width` pixels wide (Right and Bottom exclusive).
RegionCuts CornerCuts(const MaskImage& mask, int width);

}  // namespace kestu
