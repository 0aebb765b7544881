#pragma once
// Windows side of the toolkit's styles: loading the built-in style bitmaps,
// reading an element from a theme file or the built-in tables, the sliced
// drawing, the parent background, work area and form helpers, the menu
// drawing helpers, and the start style of a new component.

#include <windows.h>

#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "themekit/core/SliceLayout.h"
#include "themekit/core/StyleTables.h"

namespace kestu {

class TsuiFileTheme;

// Value names of TsuiUIStyle as stored form descriptions write them.
const std::vector<std::string>& UIStyleNames();

// The element's bitmap resource into `bitmap` (nothing without a bitmap, or
// for an element that is not a bitmap). A missing resource raises.
void LoadStyleBitmap(TsuiUIStyle style, int index, TBitmap* bitmap);
// count 0: LoadStyleBitmap; otherwise image `which` of `count` of the strip.
void LoadStyleStateImage(TsuiUIStyle style, int index, TBitmap* bitmap, int which, int count);
// dest := image `which` (1-based) of `count` equal-width images of source.
void SplitStateImage(TBitmap* source, TBitmap* dest, int count, int which);
// The dotted focus frame: every other pixel of the one-pixel outline of r
// inverted.
void DrawDottedFocusRect(TCanvas* canvas, const RECT& r);
// Stretches the bitmap over `dest` by nine pieces (PlanSlicedBitmap).
void DrawSlicedBitmap(TBitmap* bitmap, TCanvas* canvas, const RECT& dest, bool transparentCorners);
// Paints what lies behind `control` (its parent's background and painting).
void PaintParentBackground(TCanvas* canvas, TControl* control);
void GetWorkArea(RECT& rect);
void SetFormBounds(TCustomForm* form, const RECT& rect);
bool IsFormActive(TCustomForm* form);

// Elements of a component's look, from the theme file when the component's
// style says so, else from the built-in tables.
FileThemeChoice ResolveFileThemeStyle(const TsuiFileTheme* fileTheme, TsuiUIStyle style);
void ElementBitmap(const TsuiFileTheme* fileTheme, TsuiUIStyle style, int index, TBitmap* bitmap);
void ElementStateImage(const TsuiFileTheme* fileTheme, TsuiUIStyle style, int index, TBitmap* bitmap, int which,
                       int count);
bool ElementBoolean(const TsuiFileTheme* fileTheme, TsuiUIStyle style, int index);
TColor ElementColour(const TsuiFileTheme* fileTheme, TsuiUIStyle style, int index);
int ElementInteger(const TsuiFileTheme* fileTheme, TsuiUIStyle style, int index);

// The UIStyle of the first TsuiForm among a form owner's direct children;
// DeepBlue otherwise.
TsuiUIStyle FindFormUIStyle(TComponent* owner);
// FileTheme, then UIStyle, onto each direct child that publishes both.
void ApplyStyleToControls(TWinControl* container, TsuiUIStyle style, TsuiFileTheme* fileTheme);

// Menu drawing.
void FrameColorRect(TCanvas* canvas, const RECT& rect, TColor colour);
void FillColorRect(TCanvas* canvas, const RECT& rect, TColor colour);
void DrawMenuSeparatorLine(TCanvas* canvas, const RECT& rect, TColor colour, int barWidth);
void DrawMacMenuBackground(TCanvas* canvas, const RECT& rect, int height);
void DrawMacMenuSelection(TCanvas* canvas, const RECT& rect);
void DrawMenuWindowBorder(HWND window, TColor outerColour, TColor shadowColour);
void CreateMenuFont(TFont* font);
void HookMenuDrawEvents(TMenuItem* item, const TMenuMeasureItemEvent& onMeasure, const TMenuDrawItemEvent& onDraw);

// The shared check-mark list of popup menus ("MENU_CHECKED", white keyed),
// created on first use and freed when the program ends.
TImageList* MenuCheckedImages();
// Adds "MENU_CHECKED" to a list keyed on white.
void AddMenuCheckedImage(TImageList* list);

}  // namespace kestu
