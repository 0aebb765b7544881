#pragma once
// Walks accessibility trees as a screen reader does, through oleacc, and
// writes them as JSON: shared by the accessibility client (another process)
// and the tests that compare what it sees with what the objects say in their
// own process.
//
// A tree: {"role", "name", "state", "value", "shortcut", "action", "rect": [l, t, r, b],
// "children": [trees]}. A child object that cannot say what it is (the
// system's window object of a child window answers nothing under Wine) is
// replaced by the client object of its window.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "JsonText.h"

namespace accessible_tree {

using kestu::e2e::Json;
using kestu::e2e::Utf8;

constexpr int kDepthLimit = 12;

inline VARIANT ChildId(long id) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// Owns one interface reference.
class Object {
 public:
  Object() = default;
  explicit Object(IAccessible* object) : object_(object) {}
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  Object(Object&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
  ~Object() {
    if (object_) object_->Release();
  }
  IAccessible* operator->() const { return object_; }
  IAccessible* Get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  IAccessible* object_ = nullptr;
};

inline Object FromWindow(HWND window, LONG objectId) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, DWORD(objectId), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object))))
    return Object();
  return Object(object);
}

inline Object FromDispatch(IDispatch* dispatch) {
  IAccessible* object = nullptr;
  if (dispatch) dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&object));
  return Object(object);
}

inline std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), IAccessible* object, long id) {
  BSTR text = nullptr;
  std::wstring out;
  if ((object->*get)(ChildId(id), &text) == S_OK && text) out.assign(text, SysStringLen(text));
  SysFreeString(text);
  return out;
}

inline long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), IAccessible* object, long id,
            bool* known = nullptr) {
  VARIANT value;
  VariantInit(&value);
  const bool ok = SUCCEEDED((object->*get)(ChildId(id), &value)) && value.vt == VT_I4;
  if (known) *known = ok;
  const long number = ok ? value.lVal : 0;
  VariantClear(&value);
  return number;
}

// An object that says what it is, or the client object that stands in for
// a window object that does not.
inline Object Speaking(Object object) {
  bool known = false;
  Number(&IAccessible::get_accRole, object.Get(), CHILDID_SELF, &known);
  if (known) return object;
  HWND window = nullptr;
  if (FAILED(WindowFromAccessibleObject(object.Get(), &window)) || !window) return Object();
  return FromWindow(window, OBJID_CLIENT);
}

// Calls `visit(object, id)` for every element below and including (object, id), depth first.
template <class Visit>
bool Walk(IAccessible* object, long id, int depth, Visit& visit);

template <class Visit>
bool WalkChildren(IAccessible* object, int depth, Visit& visit) {
  long count = 0;
  if (FAILED(object->get_accChildCount(&count)) || count <= 0 || depth >= kDepthLimit) return false;
  std::vector<VARIANT> children(static_cast<std::size_t>(count));
  LONG got = 0;
  if (FAILED(AccessibleChildren(object, 0, count, children.data(), &got))) return false;
  bool stop = false;
  for (LONG i = 0; i < got; ++i) {
    VARIANT& child = children[std::size_t(i)];
    if (!stop && child.vt == VT_I4) {
      stop = Walk(object, child.lVal, depth + 1, visit);
    } else if (!stop && child.vt == VT_DISPATCH) {
      if (Object inner = Speaking(FromDispatch(child.pdispVal))) stop = Walk(inner.Get(), CHILDID_SELF, depth + 1, visit);
    }
    VariantClear(&child);
  }
  return stop;
}

template <class Visit>
bool Walk(IAccessible* object, long id, int depth, Visit& visit) {
  if (visit.Enter(object, id)) return true;
  const bool stop = id == CHILDID_SELF && WalkChildren(object, depth, visit);
  visit.Leave();
  return stop;
}

// Builds the JSON of a tree.
struct Printer {
  std::string out;
  std::vector<bool> first{true};

  bool Enter(IAccessible* object, long id) {
    long left = 0, top = 0, width = 0, height = 0;
    object->accLocation(&left, &top, &width, &height, ChildId(id));
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, "\"role\": %ld, \"state\": %ld, \"rect\": [%ld, %ld, %ld, %ld]",
                  Number(&IAccessible::get_accRole, object, id), Number(&IAccessible::get_accState, object, id),
                  left, top, left + width, top + height);
    if (!first.back()) out += ", ";
    first.back() = false;
    out += std::string("{") + numbers + ", \"name\": " + Json(Text(&IAccessible::get_accName, object, id)) +
           ", \"value\": " + Json(Text(&IAccessible::get_accValue, object, id)) +
           ", \"shortcut\": " + Json(Text(&IAccessible::get_accKeyboardShortcut, object, id)) +
           ", \"action\": " + Json(Text(&IAccessible::get_accDefaultAction, object, id)) + ", \"children\": [";
    first.push_back(true);
    return false;
  }
  void Leave() {
    first.pop_back();
    out += "]}";
  }
};

inline std::string TreeOf(Object object) {
  if (!object) return "null";
  Printer printer;
  Walk(object.Get(), CHILDID_SELF, 0, printer);
  return printer.out;
}

// Finds the first element of a name that has a default action and does it.
struct Presser {
  std::wstring name;
  HRESULT result = E_FAIL;
  bool Enter(IAccessible* object, long id) {
    if (Text(&IAccessible::get_accName, object, id) != name ||
        Text(&IAccessible::get_accDefaultAction, object, id).empty())
      return false;
    result = object->accDoDefaultAction(ChildId(id));
    return true;
  }
  void Leave() {}
};

}  // namespace accessible_tree
