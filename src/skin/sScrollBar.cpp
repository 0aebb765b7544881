#include "skin/sScrollBar.h"

#include "framework/Forms.h"
#include "skin/core/SectionPaint.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace kestu {

std::function<void(const String& text)> ScrollRangeReport = [](const String& text) {
  MessageBoxW(nullptr, text.c_str(), Application ? Application->Title().c_str() : L"", MB_OK);
};

namespace {

constexpr UINT kRepeatInterval = 100;

// The section names of a bar of one kind.
struct BarSections {
  const char* TrackBefore;
  const char* TrackAfter;
  const char* FirstButton;
  const char* SecondButton;
  const char* Slider;
};
const BarSections kHorizontal{"SCROLLBAR1H", "SCROLLBAR2H", "SCROLLBTNLEFT", "SCROLLBTNRIGHT", "SCROLLSLIDERH"};
const BarSections kVertical{"SCROLLBAR1V", "SCROLLBAR2V", "SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLSLIDERV"};

// One frame of a strip glyph, centred in rect.
void DrawCentredGlyph(PixelRows image, const TsSkinData& skin, int section, const char* name, PixRect rect,
                      int state, int shift) {
  const int index = skin.FindMaskIndex(section, name, "GLYPHMASK");
  if (!skin.IsValidMask(index)) return;
  const MaskImage glyph = skin.MaskImageOf(index);
  const int w = glyph.area.Width() / glyph.frames, h = glyph.area.Height() / glyph.halves;
  const PixPoint at{rect.Left + (rect.Width() - w) / 2 + shift, rect.Top + (rect.Height() - h) / 2 + shift};
  DrawStripGlyph(image, at, std::min(state, glyph.frames - 1), glyph, 1);
}

}  // namespace

TsScrollBar::TsScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  skinData_ = std::make_unique<TsCommonData>(this, true);
  skinData_->ControlKindCode = 142;
  SetControlStyle(ControlStyle() | csOpaque | csDoubleClicks);
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
  timer_ = new TTimer(this);
  timer_->SetEnabled(false);
  timer_->SetInterval(int(kRepeatInterval));
  timer_->SetOnTimer([this](TObject*) { RepeatTick(); });
}

TsScrollBar::~TsScrollBar() {
  StopRepeat();
  timer_->SetOnTimer(nullptr);
}

void TsScrollBar::Loaded() {
  TWinControl::Loaded();
  skinData_->Loaded();
}

void TsScrollBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SubclassOf = L"SCROLLBAR";
  p.WinClassName = L"TsScrollBar";
  p.Style |= kind_ == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TsScrollBar::CreateHandleDone() { MirrorToNative(); }

bool TsScrollBar::Skinned() const { return TsSkinData::Instance().SkinLoaded; }

int TsScrollBar::TrackSection() const {
  return TsSkinData::Instance().FindSectionIndex(kind_ == sbHorizontal ? kHorizontal.TrackBefore
                                                                        : kVertical.TrackBefore);
}

bool TsScrollBar::CanFocus() { return TWinControl::CanFocus() && TabStop(); }

bool TsScrollBar::WantsKey(WORD key) {
  return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN || TWinControl::WantsKey(key);
}

// ---- the range model

void TsScrollBar::SetKind(TScrollBarKind value) {
  if (value == kind_) return;
  kind_ = value;
  if (HasState(csLoading)) return;
  SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TsScrollBar::SetMin(int value) {
  SetParams(model_.Position, value, model_.Max);
  Invalidate();
}

void TsScrollBar::SetMax(int value) {
  SetParams(model_.Position, model_.Min, value);
  Invalidate();
}

void TsScrollBar::SetPageSize(int value) {
  if (value < 0 || value == model_.PageSize) return;
  model_.PageSize = value;
  MirrorToNative();
  Invalidate();
}

void TsScrollBar::SetDisabledKind(TsDisabledKind value) {
  if (value == disabledKind_) return;
  disabledKind_ = value;
  skinData_->Invalidate();
}

void TsScrollBar::SetParams(int position, int min, int max) {
  // An empty range (Min = Max) is a bar with nothing to scroll; only an
  // inverted one is reported, and not while a description sets the values
  // one by one.
  if (min > max && !HasState(csLoading))
    ScrollRangeReport(L"Scrollbar property out of range\n\rMax = " + std::to_wstring(max));
  position = std::clamp(position, min, std::max(min, max));
  model_.Min = min;
  model_.Max = max;
  const int previous = model_.Position;
  if (position != previous) {
    model_.Position = position;
    if (Skinned()) needsRepaint_ = true;
  }
  MirrorToNative();
  if (position != previous) RaiseChange(previous);
}

void TsScrollBar::SetPosition(int value) {
  if (HasState(csDestroying) || value == model_.Position) return;
  if (model_.Position == model_.Min && value < model_.Min) return;
  if (model_.Position == model_.Max && value >= model_.Max) return;
  SetParams(value, model_.Min, model_.Max);
  EndScrollStep();
}

void TsScrollBar::RaiseChange(int previous) {
  if (!changePending_ && onChange_) onChange_(this, previous);
}

void TsScrollBar::MirrorToNative() {
  if (!HandleAllocated()) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  info.nMin = model_.Min;
  info.nMax = model_.Max;
  info.nPage = UINT(model_.PageSize);
  info.nPos = Direction() < 0 ? model_.Max - model_.Position : model_.Position;
  // A skinned bar must not let the native one draw over it.
  SetScrollInfo(Handle(), SB_CTL, &info, Skinned() ? FALSE : TRUE);
}

ScrollBarGeometry TsScrollBar::Geometry() const {
  const bool horizontal = kind_ == sbHorizontal;
  const int arrow = GetSystemMetrics(horizontal ? SM_CXHSCROLL : SM_CYVSCROLL);
  int minButton = 0;
  const TsSkinData& skin = TsSkinData::Instance();
  const char* buttonName = horizontal ? kHorizontal.FirstButton : kVertical.FirstButton;
  const int section = skin.FindSectionIndex(buttonName);
  if (skin.IsValidSection(section) && skin.gd[std::size_t(section)].ReservedBoolean) {
    const int mask = skin.FindMaskIndex(section, buttonName, "BORDERSMASK");
    if (skin.IsValidMask(mask)) {
      const MaskImage m = skin.MaskImageOf(mask);
      minButton = horizontal ? m.area.Width() / m.frames : m.area.Height() / m.halves;
    }
  }
  return MeasureScrollBar(horizontal ? Width() : Height(), arrow, minButton, model_, Enabled());
}

// ---- part states

void TsScrollBar::SetPartState(TsScrollPart part, int state) {
  if (parts_[part] == state) return;
  parts_[part] = state;
  needsRepaint_ = true;
  if (state == 0) return;
  if (part == spTrackBefore || part == spTrackAfter) {
    parts_[spFirstButton] = parts_[spSecondButton] = parts_[spSlider] = 0;
    parts_[part == spTrackBefore ? spTrackAfter : spTrackBefore] = 1;
  } else {
    for (TsScrollPart other : {spFirstButton, spSecondButton, spSlider})
      if (other != part) parts_[other] = 0;
    parts_[spTrackBefore] = parts_[spTrackAfter] = 1;
  }
}

void TsScrollBar::EndScrollStep() {
  MouseScrolling = false;
  if (needsRepaint_ && HandleAllocated() && Skinned()) {
    HDC dc = GetDC(Handle());
    PaintSkinned(dc);
    ReleaseDC(Handle(), dc);
  }
}

// ---- the repeat timer

void TsScrollBar::StartRepeat(RepeatKind kind) {
  repeating_ = kind;
  timer_->SetEnabled(false);
  timer_->SetEnabled(true);
}

void TsScrollBar::StopRepeat() {
  repeating_ = rtNone;
  if (timer_) timer_->SetEnabled(false);
}

void TsScrollBar::RepeatTick() {
  if (HasState(csDestroying) || repeating_ == rtNone) return StopRepeat();
  const ScrollBarGeometry g = Geometry();
  const int under = PositionAt(g, model_, Along(lastMouse_.X, lastMouse_.Y));
  MouseScrolling = true;
  switch (repeating_) {
    case rtButton:
      if (parts_[spFirstButton] == 2) SetPosition(model_.Position - smallChange_);
      else if (parts_[spSecondButton] == 2) SetPosition(model_.Position + smallChange_);
      else StopRepeat();
      break;
    case rtTrack:
      // Only while the held half still lies between the slider and the mouse.
      if (parts_[spTrackBefore] == 2 && under < model_.Position) SetPosition(model_.Position - largeChange_);
      else if (parts_[spTrackAfter] == 2 && under > model_.Position) SetPosition(model_.Position + largeChange_);
      else StopRepeat();
      break;
    case rtDrag:
      if (parts_[spSlider] != 2) { StopRepeat(); break; }
      SetPosition(under - dragOffset_);
      SetMouseCapture(true);
      break;
    case rtNone: break;
  }
  EndScrollStep();
}

// ---- mouse

void TsScrollBar::LeftDown(int x, int y) {
  lastMouse_ = {x, y};
  dragOffset_ = 0;
  if (CanFocus() && !Focused()) SetFocus();
  const ScrollBarGeometry g = Geometry();
  const int p = Along(x, y);
  switch (PartAt(g, p)) {
    case spFirstButton:
      if (parts_[spFirstButton] == 2) break;
      SetPartState(spFirstButton, 2);
      if (model_.Position != model_.Min) {
        MouseScrolling = true;
        SetPosition(model_.Position - smallChange_);
        StartRepeat(rtButton);
      }
      break;
    case spSecondButton:
      if (parts_[spSecondButton] == 2) break;
      SetPartState(spSecondButton, 2);
      if (model_.Position != model_.Max) {
        MouseScrolling = true;
        SetPosition(model_.Position + smallChange_);
        StartRepeat(rtButton);
      }
      break;
    case spSlider:
      if (parts_[spSlider] == 2) break;
      if (!smooth_) {
        changePending_ = true;
        dragStart_ = model_.Position;
      }
      dragOffset_ = PositionAt(g, model_, p) - model_.Position;
      SetPartState(spSlider, 2);
      StartRepeat(rtDrag);
      SetMouseCapture(true);
      break;
    case spTrackBefore:
    case spTrackAfter: {
      const bool before = PartAt(g, p) == spTrackBefore;
      const TsScrollPart half = before ? spTrackBefore : spTrackAfter;
      if (parts_[half] == 2) break;
      SetPartState(half, 2);
      SetPartState(before ? spTrackAfter : spTrackBefore, 0);
      MouseScrolling = true;
      SetPosition(model_.Position + (before ? -largeChange_ : largeChange_));
      StartRepeat(rtTrack);
      break;
    }
    case spCount: break;
  }
  EndScrollStep();
}

void TsScrollBar::LeftUp(int x, int y) {
  lastMouse_ = {x, y};
  StopRepeat();
  const ScrollBarGeometry g = Geometry();
  const TsScrollPart under = PartAt(g, Along(x, y));
  if (parts_[spSlider] == 2) {
    SetPartState(spTrackBefore, 0);
    SetPartState(spTrackAfter, 0);
    MouseScrolling = true;
    SetPosition(PositionAt(g, model_, Along(x, y)) - dragOffset_);
    SetPartState(spSlider, PartAt(Geometry(), Along(x, y)) == spSlider ? 1 : 0);
    if (changePending_) {
      changePending_ = false;
      if (model_.Position != dragStart_) RaiseChange(dragStart_);
    }
  }
  // Every pressed part lets go: a button under the mouse stays hot.
  for (TsScrollPart button : {spFirstButton, spSecondButton})
    if (parts_[button] == 2) SetPartState(button, button == under ? 1 : 0);
  for (TsScrollPart half : {spTrackBefore, spTrackAfter})
    if (parts_[half] == 2) SetPartState(half, 0);
  EndScrollStep();
  SetMouseCapture(false);
}

void TsScrollBar::Hover(int x, int y) {
  lastMouse_ = {x, y};
  const ScrollBarGeometry g = Geometry();
  const int p = Along(x, y);
  if (parts_[spSlider] == 2) {
    const int wanted = PositionAt(g, model_, p) - dragOffset_;
    if (wanted != model_.Position) {
      MouseScrolling = true;
      SetPosition(wanted);
    }
  } else {
    const TsScrollPart part = PartAt(g, p);
    if (part == spSlider || part == spFirstButton || part == spSecondButton) {
      if (parts_[part] != 2) SetPartState(part, 1);
    } else {
      for (TsScrollPart other : {spFirstButton, spSecondButton, spSlider})
        if (parts_[other] != 2) SetPartState(other, 0);
    }
  }
  EndScrollStep();
}

void TsScrollBar::MouseEntered() {
  SetPartState(spTrackBefore, 1);
  SetPartState(spTrackAfter, 1);
  EndScrollStep();
}

void TsScrollBar::MouseLeft() {
  SetPartState(spFirstButton, 0);
  SetPartState(spSecondButton, 0);
  if (parts_[spSlider] != 2) {
    SetPartState(spSlider, 0);
    SetPartState(spTrackBefore, 0);
    SetPartState(spTrackAfter, 0);
  }
  EndScrollStep();
}

// ---- keyboard and scroll messages

void TsScrollBar::KeyDown(WORD key) {
  switch (key) {
    case VK_PRIOR: SetPosition(model_.Position - largeChange_); break;
    case VK_NEXT: SetPosition(model_.Position + largeChange_); break;
    case VK_END: SetPosition(model_.Max); break;
    case VK_HOME: SetPosition(model_.Min); break;
    case VK_RIGHT: case VK_DOWN: SetPosition(model_.Position + smallChange_); break;
    case VK_LEFT: case VK_UP: SetPosition(model_.Position - smallChange_); break;
    default: break;
  }
}

void TsScrollBar::Scroll(int code) {
  static const TScrollCode kCodes[] = {scLineUp, scLineDown, scPageUp, scPageDown, scPosition,
                                       scTrack,  scTop,      scBottom, scEndScroll};
  if (code < 0 || code > SB_ENDSCROLL) return;
  int position = model_.Position;
  switch (code) {
    case SB_LINEUP: position -= smallChange_ * Direction(); break;
    case SB_LINEDOWN: position += smallChange_ * Direction(); break;
    case SB_PAGEUP: position -= largeChange_ * Direction(); break;
    case SB_PAGEDOWN: position += largeChange_ * Direction(); break;
    case SB_TOP: position = model_.Min; break;
    case SB_BOTTOM: position = model_.Max; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(Handle(), SB_CTL, &info);
      position = Direction() < 0 ? model_.Max - info.nTrackPos : info.nTrackPos;
      break;
    }
    default: break;
  }
  position = std::clamp(position, model_.Min, std::max(model_.Min, model_.Max));
  if (onScroll_) onScroll_(this, kCodes[code], position);
  SetPosition(position);
}

// ---- painting

void TsScrollBar::ComposeTrack(PixelRows cache, const ScrollBarGeometry& g, bool before) {
  const bool horizontal = kind_ == sbHorizontal;
  const BarSections& names = horizontal ? kHorizontal : kVertical;
  const char* name = before ? names.TrackBefore : names.TrackAfter;
  const int from = before ? 0 : g.C, to = before ? g.C : g.L;
  if (to <= from) return;
  const TsSkinData& skin = TsSkinData::Instance();
  const int state = Enabled() ? parts_[before ? spTrackBefore : spTrackAfter] : 0;
  const PixRect rect = horizontal ? PixRect{from, 0, to, Height()} : PixRect{0, from, Width(), to};
  PaintSectionItemInState(skin, skin.FindSectionIndex(name), name, skinData_->QueryParentCache(), cache,
                          {Left(), Top()}, rect, state, true);
}

void TsScrollBar::ComposeButton(PixelRows image, const ScrollBarGeometry& g, bool first) {
  const bool horizontal = kind_ == sbHorizontal;
  const BarSections& names = horizontal ? kHorizontal : kVertical;
  const char* name = first ? names.FirstButton : names.SecondButton;
  const int from = first ? 0 : g.SecondStart, to = first ? g.FirstEnd : g.L;
  if (to <= from) return;
  const TsSkinData& skin = TsSkinData::Instance();
  const int section = skin.FindSectionIndex(name);
  const int state = parts_[first ? spFirstButton : spSecondButton];
  const PixRect rect = horizontal ? PixRect{from, 0, to, Height()} : PixRect{0, from, Width(), to};
  // The button's see-through pixels keep the track already painted below.
  const ParentCacheRef self{image, 0, 0, true};
  PaintSectionItemInState(skin, section, name, self, image, {0, 0}, rect, state, true);
  DrawCentredGlyph(image, skin, section, name, rect, state, 0);
}

void TsScrollBar::ComposeSlider(PixelRows image, const ScrollBarGeometry& g) {
  if (!g.SliderFits()) return;
  const bool horizontal = kind_ == sbHorizontal;
  const char* name = horizontal ? kHorizontal.Slider : kVertical.Slider;
  const TsSkinData& skin = TsSkinData::Instance();
  const int section = skin.FindSectionIndex(name);
  const int state = parts_[spSlider];
  const PixRect rect = horizontal ? PixRect{g.SliderStart(), 0, g.SliderEnd(), Height()}
                                  : PixRect{0, g.SliderStart(), Width(), g.SliderEnd()};
  if (rect.Left < 0 || rect.Top < 0) return;
  const ParentCacheRef self{image, 0, 0, true};
  PaintSectionItemInState(skin, section, name, self, image, {0, 0}, rect, state, true);
  DrawCentredGlyph(image, skin, section, name, rect, state, state == 2 ? 1 : 0);
}

void TsScrollBar::Compose() {
  needsRepaint_ = false;
  skinData_->PrepareCacheBitmap();
  PixelRows cache = skinData_->CacheBitmap->Rows();
  if (cache.Empty()) return;
  const int trackSection = TrackSection();
  if (trackSection < 0) return;  // the previous image stays
  const ScrollBarGeometry g = Geometry();
  ComposeTrack(cache, g, true);
  ComposeTrack(cache, g, false);
  image_ = PixelBuffer(cache.width, cache.height);
  PixelRows image = image_.Rows();
  for (int y = 0; y < cache.height; ++y) std::memcpy(image.Row(y), cache.Row(y), std::size_t(cache.width) * 3);
  ComposeButton(image, g, true);
  ComposeButton(image, g, false);
  ComposeSlider(image, g);
  if (!Enabled()) {
    const std::uint32_t colour = ResolveColor(std::uint32_t(TsSkinData::Instance().gd[std::size_t(trackSection)].PaintingColor));
    ApplyDisabledKind(image, disabledKind_, colour, {Left(), Top()}, skinData_->QueryParentCache());
  }
}

void TsScrollBar::PaintSkinned(HDC dc) {
  if (MouseScrolling || !ReadyForPainting(this)) return;
  Compose();
  PixelRows image = image_.Rows();
  if (image.Empty()) return;
  DibSection frame(image.width, image.height);
  if (!frame.Valid()) return;
  PixelRows to = frame.Rows();
  for (int y = 0; y < image.height; ++y) std::memcpy(to.Row(y), image.Row(y), std::size_t(image.width) * 3);
  BitBlt(dc, 0, 0, image.width, image.height, frame.Dc(), 0, 0, SRCCOPY);
}

// ---- messages

void TsScrollBar::WndProc(TMessage& m) {
  skinData_->WndProc(m);
  const bool skinned = Skinned() && !HasState(csLoading | csDestroying);
  switch (m.Msg) {
    case SKM_APPLYSKIN: case SKM_REPAINTALL:
      if (!SentByOwnThread()) return;
      if (HandleAllocated()) RecreateWnd();
      return;
    case CN_HSCROLL: case CN_VSCROLL: return Scroll(LOWORD(m.WParam));
    default: break;
  }
  if (!skinned) {
    if (IsSkinMessage(m.Msg)) return;
    return TWinControl::WndProc(m);
  }
  const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  switch (m.Msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(Handle(), &ps);
      PaintSkinned(dc);
      if (!m.WParam) EndPaint(Handle(), &ps);
      return;
    }
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_SETFOCUS: TWinControl::WndProc(m); DestroyCaret(); return;  // the native bar's flashing thumb
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
      LeftDown(x, y);
      return MouseDown(mbLeft, KeysToShiftState(m.WParam), x, y);
    case WM_LBUTTONUP:
      LeftUp(x, y);
      return MouseUp(mbLeft, KeysToShiftState(m.WParam), x, y);
    case WM_MOUSEMOVE: Hover(x, y); return TWinControl::WndProc(m);
    case CM_MOUSEENTER: MouseEntered(); return TWinControl::WndProc(m);
    case CM_MOUSELEAVE: MouseLeft(); return TWinControl::WndProc(m);
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(m.LParam) != Handle() && repeating_ != rtNone) StopRepeat();
      return;
    case WM_KEYDOWN: {
      WORD key = WORD(m.WParam);
      KeyDown(key);
      DoKeyDown(key, KeysToShiftState(0));
      return;
    }
    case WM_KEYUP: case WM_CHAR: return;  // the native bar would scroll again
    default:
      if (IsSkinMessage(m.Msg)) return;
      return TWinControl::WndProc(m);
  }
}

// While skinned the bar draws itself, and the native bar must not see the
// mouse: a themed native bar tracks it and paints its own hot looks over
// this one on moves and leaves.
void TsScrollBar::DefaultHandler(TMessage& m) {
  const bool mouse = (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) || m.Msg == WM_MOUSELEAVE ||
                     m.Msg == WM_MOUSEHOVER;
  if (mouse && HandleAllocated() && Skinned()) {
    m.Result = DefWindowProcW(Handle(), m.Msg, m.WParam, m.LParam);
    return;
  }
  TWinControl::DefaultHandler(m);
}

KESTU_PUBLISH(TsScrollBar) {
  using B = TsScrollBar;
  p.Enum("Kind", &B::Kind, &B::SetKind, sbHorizontal, {"sbHorizontal", "sbVertical"});
  p.Int("Min", &B::Min, &B::SetMin, 0);
  p.Int("Max", &B::Max, &B::SetMax, 100);
  p.Int("Position", &B::Position, &B::SetPosition, 0);
  p.Int("PageSize", &B::PageSize, &B::SetPageSize, 0);
  p.Int("SmallChange", &B::SmallChange, &B::SetSmallChange, 1);
  p.Int("LargeChange", &B::LargeChange, &B::SetLargeChange, 1);
  p.Bool("Smooth", &B::Smooth, &B::SetSmooth, true);
  p.Set("DisabledKind", &B::DisabledKind, &B::SetDisabledKind, dkBlended, {"dkBlended", "dkGrayed"});
  p.Event("OnChange", &B::SetOnChange);
  p.Event("OnScroll", &B::SetOnScroll);
}

}  // namespace kestu
