#include "framework/Accessibility.h"

#include <cstdint>

#include "framework/AccessibleObject.h"
#include "framework/Controls.h"

namespace kestu {

namespace {

// The letter after the first single "&" (the rule IsAccel follows), or 0.
wchar_t AcceleratorLetter(const String& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] != L'&') return caption[i + 1];
    ++i;
  }
  return 0;
}

// Whether lParam of WM_GETOBJECT is `objectId`. The id travels in the low 32
// bits; a sender of the other width fills the high half with zeros or with
// the sign, and anything else is no object id at all.
bool NamesObject(LPARAM lParam, LONG objectId) {
  const auto bits = static_cast<std::uint64_t>(static_cast<std::int64_t>(lParam));
  const std::uint64_t high = bits >> 32;
  return (high == 0 || high == 0xFFFFFFFFu) && static_cast<DWORD>(bits) == static_cast<DWORD>(objectId);
}

}  // namespace

TAccessibleDescription::~TAccessibleDescription() {
  if (!object_) return;
  object_->Disconnect();
  CoDisconnectObject(object_, 0);  // readers in other processes let go of it
  object_->Release();
}

LRESULT TAccessibleDescription::AnswerGetObject(HWND window, LONG objectId, WPARAM wParam, LPARAM lParam) {
  if (!NamesObject(lParam, objectId) || !IsWindow(window)) return 0;
  if (!object_)
    object_ = new AccessibleObject(*this, window);
  else
    object_->SetWindow(window);  // the control's window may have been recreated
  return LresultFromObject(__uuidof(IAccessible), wParam, object_);
}

String StripAccelerator(const String& caption) {
  String name;
  name.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != L'&') {
      name += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == L'&') {
      name += L'&';
      ++i;
    }
  }
  return name;
}

String AcceleratorShortcut(const String& caption) {
  wchar_t letter[2] = {AcceleratorLetter(caption), 0};
  if (!letter[0]) return {};
  CharUpperBuffW(letter, 1);
  return String(L"Alt+") + letter;
}

RECT ScreenBoundsOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

RECT ClientToScreenRect(HWND window, RECT r) {
  MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

long WindowStates(TWinControl& control) {
  long state = 0;
  if (!control.Enabled()) state |= STATE_SYSTEM_UNAVAILABLE;
  if (control.CanFocus()) state |= STATE_SYSTEM_FOCUSABLE;
  if (control.Focused()) state |= STATE_SYSTEM_FOCUSED;
  if (!control.HandleAllocated() || !IsWindowVisible(control.Handle())) state |= STATE_SYSTEM_INVISIBLE;
  return state;
}

TAccessibleElement PushButtonElement(TWinControl& control, bool isDefault, bool pressed, bool hot) {
  TAccessibleElement e;
  e.Role = ROLE_SYSTEM_PUSHBUTTON;
  e.Name = StripAccelerator(control.Caption());
  e.KeyboardShortcut = AcceleratorShortcut(control.Caption());
  e.State = WindowStates(control);
  if (isDefault) e.State |= STATE_SYSTEM_DEFAULT;
  if (pressed) e.State |= STATE_SYSTEM_PRESSED;
  if (hot) e.State |= STATE_SYSTEM_HOTTRACKED;
  e.DefaultAction = L"Press";
  if (control.HandleAllocated()) e.Bounds = ScreenBoundsOf(control.Handle());
  return e;
}

TAccessibleElement WindowPart(HWND window) {
  TAccessibleElement e;
  e.Window = window;
  return e;
}

TAccessibleElement PartButtonElement(const String& name, RECT screenBounds, bool pressed, bool hot) {
  TAccessibleElement e;
  e.Role = ROLE_SYSTEM_PUSHBUTTON;
  e.Name = name;
  if (pressed) e.State |= STATE_SYSTEM_PRESSED;
  if (hot) e.State |= STATE_SYSTEM_HOTTRACKED;
  e.DefaultAction = L"Press";
  e.Bounds = screenBounds;
  return e;
}

}  // namespace kestu
