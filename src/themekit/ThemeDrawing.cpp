#include "themekit/ThemeDrawing.h"

#include <algorithm>
#include <memory>

#include "themekit/SUIMgr.h"

namespace kestu {

namespace {

constexpr TColor kKeyColour = TColor(0x00FF00FF);

HINSTANCE ExeModule() { return GetModuleHandleW(nullptr); }

// Copies `source` (a rectangle of the bitmap) stretched into a new bitmap of
// the given size.
void CopyStretched(TBitmap* bitmap, const PixRect& source, int width, int height, TBitmap& work) {
  work.SetSize(width, height);
  HDC dc = work.Canvas()->Handle();
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, width, height, bitmap->Canvas()->Handle(), source.Left, source.Top,
             source.Right - source.Left, source.Bottom - source.Top, SRCCOPY);
  GdiFlush();
}

}  // namespace

const std::vector<std::string>& UIStyleNames() {
  static const std::vector<std::string> names{"FromThemeFile", "MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass"};
  return names;
}

void LoadStyleBitmap(TsuiUIStyle style, int index, TBitmap* bitmap) {
  if (!bitmap) return;
  const wchar_t* name = StyleBitmapName(style, index);
  if (!name) return;
  bitmap->LoadFromResourceName(ExeModule(), name);
}

void LoadStyleStateImage(TsuiUIStyle style, int index, TBitmap* bitmap, int which, int count) {
  if (count == 0) return LoadStyleBitmap(style, index, bitmap);
  if (!bitmap || !StyleBitmapName(style, index)) return;
  TBitmap strip;
  LoadStyleBitmap(style, index, &strip);
  SplitStateImage(&strip, bitmap, count, which);
}

void SplitStateImage(TBitmap* source, TBitmap* dest, int count, int which) {
  if (!source || !dest) return;
  const PixRect slice = SplitStateImageSlice(source->Width(), source->Height(), count, which);
  const int w = slice.Right - slice.Left, h = slice.Bottom - slice.Top;
  TBitmap work(w, h);
  if (w > 0 && h > 0) {
    BitBlt(work.Canvas()->Handle(), 0, 0, w, h, source->Canvas()->Handle(), slice.Left, slice.Top, SRCCOPY);
    GdiFlush();
  }
  dest->Assign(&work);
}

void DrawDottedFocusRect(TCanvas* canvas, const RECT& r) {
  static const WORD kDots[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  GdiHandle<HBITMAP> pattern(CreateBitmap(8, 8, 1, 1, kDots));
  GdiHandle<HBRUSH> brush(CreatePatternBrush(pattern.Get()));
  HDC dc = canvas->Handle();
  SavedDC saved(dc);
  SelectObject(dc, brush.Get());
  SetBrushOrgEx(dc, 0, 0, nullptr);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  PatBlt(dc, r.left, r.top, w, 1, PATINVERT);
  if (h > 1) PatBlt(dc, r.left, r.bottom - 1, w, 1, PATINVERT);
  if (h > 2) {
    PatBlt(dc, r.left, r.top + 1, 1, h - 2, PATINVERT);
    if (w > 1) PatBlt(dc, r.right - 1, r.top + 1, 1, h - 2, PATINVERT);
  }
}

void DrawSlicedBitmap(TBitmap* bitmap, TCanvas* canvas, const RECT& dest, bool transparentCorners) {
  if (!bitmap || !canvas || bitmap->Empty()) return;
  const SlicePlan plan = PlanSlicedBitmap(bitmap->Width(), bitmap->Height(),
                                          PixRect{dest.left, dest.top, dest.right, dest.bottom}, transparentCorners);
  for (const SlicePiece& piece : plan) {
    const int w = piece.Dest.Right - piece.Dest.Left, h = piece.Dest.Bottom - piece.Dest.Top;
    TBitmap work;
    CopyStretched(bitmap, piece.Source, w, h, work);
    if (!piece.Stretched) {
      // A corner goes through a one-image list: opaque, or keyed on magenta.
      TImageList list(nullptr);
      list.SetWidth(w);
      list.SetHeight(h);
      if (piece.Transparent)
        list.AddMasked(&work, kKeyColour);
      else
        list.Add(&work);
      list.Draw(canvas, piece.Dest.Left, piece.Dest.Top, 0);
    } else {
      work.SetTransparent(true);
      work.SetTransparentColor(kKeyColour);
      canvas->Draw(piece.Dest.Left, piece.Dest.Top, &work);
    }
  }
}

void PaintParentBackground(TCanvas* canvas, TControl* control) {
  TWinControl* parent = control ? control->Parent() : nullptr;
  if (!parent || !canvas) return;
  HDC dc = canvas->Handle();
  SavedDC saved(dc);
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - control->Left(), origin.y - control->Top(), nullptr);
  const RECT clip = parent->ClientRect();
  IntersectClipRect(dc, 0, 0, clip.right - clip.left, clip.bottom - clip.top);
  parent->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
  parent->Perform(WM_PAINT, WPARAM(dc), 0);
}

void GetWorkArea(RECT& rect) { SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0); }

void SetFormBounds(TCustomForm* form, const RECT& rect) {
  if (!form) return;
  form->SetLeft(rect.left);
  form->SetTop(rect.top);
  form->SetWidth(rect.right - rect.left);
  form->SetHeight(rect.bottom - rect.top);
}

namespace {
bool OwnActiveFlag(TCustomForm* form) {
  return form && form->HandleAllocated() && GetActiveWindow() == form->Handle();
}
}  // namespace

bool IsFormActive(TCustomForm* form) {
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (!main) return OwnActiveFlag(form);
  if (main->FormStyle() == fsMDIForm && form == main) return true;
  const HWND foreground = GetForegroundWindow();
  DWORD process = 0;
  if (foreground) GetWindowThreadProcessId(foreground, &process);
  if (process != GetCurrentProcessId()) return false;
  if (!form || form == main) return true;
  if (main->FormStyle() == fsMDIForm && main->ClientHandle() && form->HandleAllocated() &&
      HWND(SendMessageW(main->ClientHandle(), WM_MDIGETACTIVE, 0, 0)) == form->Handle())
    return true;
  return OwnActiveFlag(form);
}

FileThemeChoice ResolveFileThemeStyle(const TsuiFileTheme* fileTheme, TsuiUIStyle style) {
  return ResolveFileThemeStyle(fileTheme != nullptr, fileTheme && fileTheme->IsThemeLoaded(), style);
}

void ElementBitmap(const TsuiFileTheme* fileTheme, TsuiUIStyle style, int index, TBitmap* bitmap) {
  const FileThemeChoice c = ResolveFileThemeStyle(fileTheme, style);
  if (c.UseFile)
    fileTheme->ThemeBitmap(index, bitmap);
  else
    LoadStyleBitmap(c.Style, index, bitmap);
}

void ElementStateImage(const TsuiFileTheme* fileTheme, TsuiUIStyle style, int index, TBitmap* bitmap, int which,
                       int count) {
  const FileThemeChoice c = ResolveFileThemeStyle(fileTheme, style);
  if (c.UseFile)
    fileTheme->ThemeStateImage(index, bitmap, which, count);
  else
    LoadStyleStateImage(c.Style, index, bitmap, which, count);
}

bool ElementBoolean(const TsuiFileTheme* fileTheme, TsuiUIStyle style, int index) {
  const FileThemeChoice c = ResolveFileThemeStyle(fileTheme, style);
  return c.UseFile ? fileTheme->ThemeBoolean(index) : StyleBoolean(c.Style, index);
}

TColor ElementColour(const TsuiFileTheme* fileTheme, TsuiUIStyle style, int index) {
  const FileThemeChoice c = ResolveFileThemeStyle(fileTheme, style);
  return TColor(c.UseFile ? fileTheme->ThemeColour(index) : StyleColour(c.Style, index));
}

int ElementInteger(const TsuiFileTheme* fileTheme, TsuiUIStyle style, int index) {
  const FileThemeChoice c = ResolveFileThemeStyle(fileTheme, style);
  return c.UseFile ? fileTheme->ThemeInteger(index) : StyleInteger(c.Style, index);
}

TsuiUIStyle FindFormUIStyle(TComponent* owner) {
  auto* form = dynamic_cast<TCustomForm*>(owner);
  const TClass* frame = FindClass("TsuiForm");
  if (!form || !frame) return TsuiUIStyle::DeepBlue;
  for (TControl* c : form->ControlList())
    if (c->InheritsFrom(*frame)) return TsuiUIStyle(GetOrdProp(c, "UIStyle"));
  return TsuiUIStyle::DeepBlue;
}

void ApplyStyleToControls(TWinControl* container, TsuiUIStyle style, TsuiFileTheme* fileTheme) {
  if (!container) return;
  const std::vector<TControl*> children = container->ControlList();
  for (TControl* c : children) {
    if (!HasPublishedProperty(c, "FileTheme") || !HasPublishedProperty(c, "UIStyle")) continue;
    SetObjectProp(c, "FileTheme", fileTheme);
    SetOrdProp(c, "UIStyle", std::int64_t(style));
  }
}

void FrameColorRect(TCanvas* canvas, const RECT& rect, TColor colour) {
  canvas->Brush()->SetColor(colour);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FrameRect(rect);
}

void FillColorRect(TCanvas* canvas, const RECT& rect, TColor colour) {
  canvas->Brush()->SetColor(colour);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(rect);
}

void DrawMenuSeparatorLine(TCanvas* canvas, const RECT& rect, TColor colour, int barWidth) {
  canvas->Pen()->SetColor(colour);
  canvas->MoveTo(rect.left + barWidth + 4, rect.top + 2);
  canvas->LineTo(rect.right - 2, rect.top + 2);
}

void DrawMacMenuBackground(TCanvas* canvas, const RECT& rect, int height) {
  TBitmap bar;
  bar.LoadFromResourceName(ExeModule(), L"MACOS_MENU_BAR");
  bar.SetHeight(height);
  canvas->StretchDraw(rect, &bar);
}

void DrawMacMenuSelection(TCanvas* canvas, const RECT& rect) {
  TBitmap select;
  select.LoadFromResourceName(ExeModule(), L"MACOS_MENU_SELECT");
  select.SetHeight(20);
  canvas->StretchDraw(rect, &select);
}

void DrawMenuWindowBorder(HWND window, TColor outerColour, TColor shadowColour) {
  WindowDC desktop(GetDesktopWindow(), true);  // released also when drawing fails
  if (!desktop.Get()) return;
  TCanvas canvas(desktop.Get());
  RECT R{};
  GetWindowRect(window, &R);
  RECT outer{R.left, R.top + 1, R.right - 1, R.bottom - 1};
  FrameColorRect(&canvas, outer, outerColour);
  InflateRect(&outer, -1, -1);
  FrameColorRect(&canvas, outer, clWhite);
  canvas.Pen()->SetColor(shadowColour);
  const POINT line[5] = {{R.left, R.bottom - 1}, {R.right - 1, R.bottom - 1}, {R.right - 1, R.top},
                         {R.right, R.top}, {R.left, R.top}};
  canvas.Polyline(line, 5);
}

void CreateMenuFont(TFont* font) {
  if (!font) return;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return;
  font->AssignLogFont(metrics.lfMenuFont);
  font->SetColor(clMenuText);
}

void HookMenuDrawEvents(TMenuItem* item, const TMenuMeasureItemEvent& onMeasure, const TMenuDrawItemEvent& onDraw) {
  if (!item) return;
  item->SetOnMeasureItem(onMeasure);
  item->SetOnDrawItem(onDraw);
  for (int i = 0; i < item->Count(); ++i) HookMenuDrawEvents(item->Items(i), onMeasure, onDraw);
}

void AddMenuCheckedImage(TImageList* list) {
  TBitmap check;
  check.LoadFromResourceName(ExeModule(), L"MENU_CHECKED");
  list->SetWidth(check.Width());
  list->SetHeight(check.Height());
  list->AddMasked(&check, clWhite);
}

TImageList* MenuCheckedImages() {
  static std::unique_ptr<TImageList> shared;
  if (!shared) {
    auto list = std::make_unique<TImageList>(nullptr);
    AddMenuCheckedImage(list.get());
    shared = std::move(list);
  }
  return shared.get();
}

}  // namespace kestu
