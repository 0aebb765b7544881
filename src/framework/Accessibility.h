#pragma once
// What screen readers learn about controls that draw themselves.
//
// The system's accessibility proxies see a self-drawn control as an
// anonymous window, and a frame drawn into the non-client area as nothing at
// all. A control (or a component drawing into a window) that paints itself
// implements TAccessibleDescription: what it is, the parts it draws in reading
// order, and what its default action does. This layer answers WM_GETOBJECT
// for it with an oleacc IAccessible that reads the description afresh on
// every call, so it never reports a stale state and needs no notifications.
//
// WM_GETOBJECT comes from other processes by design (screen readers); its
// parameters carry no pointer, and only the object id a description answers
// is honoured. Default actions run from the message loop, as a click does:
// the reader that asks for one is not held inside its call while the click
// does its work (an attach, a modal dialog).
//
// Interfaces are named with __uuidof(IAccessible): the IID_IAccessible of a
// static import library is its import thunk, not the GUID.

#include <windows.h>
#include <oleacc.h>

#include <vector>

#include "framework/Classes.h"

namespace kestu {

class TWinControl;
class AccessibleObject;

// One element as a screen reader sees it. Bounds are in screen coordinates.
struct TAccessibleElement {
  long Role = ROLE_SYSTEM_CLIENT;
  String Name;
  long State = 0;
  String Value;  // empty when the element has none
  String KeyboardShortcut;
  String DefaultAction;  // empty when the element has none
  RECT Bounds{};
  // A part that is a window of its own: readers are handed that window's
  // client object, which says what it is; the fields above go unused.
  HWND Window = nullptr;
};

class TAccessibleDescription {
 public:
  TAccessibleDescription() = default;
  TAccessibleDescription(const TAccessibleDescription&) = delete;
  TAccessibleDescription& operator=(const TAccessibleDescription&) = delete;
  // Disconnects the object handed out, so readers holding it get an error
  // instead of a call into a destroyed control.
  virtual ~TAccessibleDescription();

  virtual TAccessibleElement AccessibleSelf() = 0;
  // The parts in reading order; part i has child id i + 1.
  virtual std::vector<TAccessibleElement> AccessibleParts() { return {}; }
  // Does what the default action of the element (child 0) or of a part
  // says. Runs from the message loop, only while the element is available.
  virtual void AccessibleDefaultAction(int /*child*/) {}

  // The WM_GETOBJECT answer of `window`: this description's object when
  // lParam names `objectId`, else 0 (the message takes its default course).
  LRESULT AnswerGetObject(HWND window, LONG objectId, WPARAM wParam, LPARAM lParam);

 private:
  AccessibleObject* object_ = nullptr;
};

// "&Install" reads "Install", "&&" stands for "&".
String StripAccelerator(const String& caption);
// "&Install" gives "Alt+I"; no marked letter gives nothing.
String AcceleratorShortcut(const String& caption);

// The screen rectangle of a window.
RECT ScreenBoundsOf(HWND window);
// Rectangle `r` of a control's client area in screen coordinates.
RECT ClientToScreenRect(HWND window, RECT r);
// Focused, focusable, unavailable and invisible, as the control's window is.
long WindowStates(TWinControl& control);
// A push button drawn by `control`: its caption, shortcut and window states,
// and the default action "Press".
TAccessibleElement PushButtonElement(TWinControl& control, bool isDefault, bool pressed, bool hot);
// A part that is a window of its own.
TAccessibleElement WindowPart(HWND window);
// A push button drawn as part of something else (a title button).
TAccessibleElement PartButtonElement(const String& name, RECT screenBounds, bool pressed, bool hot);

}  // namespace kestu
