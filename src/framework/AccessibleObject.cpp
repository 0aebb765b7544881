#include "framework/AccessibleObject.h"

#include <new>

#include "framework/Controls.h"

namespace kestu {

namespace {

// Default actions asked for and not yet run; each holds a reference to its
// object, which may lose its description before the action runs.
struct PendingAction {
  AccessibleObject* Object;
  long Child;
};
std::vector<PendingAction> pendingActions;
UINT_PTR pendingTimer = 0;

void CALLBACK RunPendingActions(HWND, UINT, UINT_PTR, DWORD) {
  KillTimer(nullptr, pendingTimer);
  pendingTimer = 0;
  // An action may run a modal loop in which further actions are asked for.
  std::vector<PendingAction> actions;
  actions.swap(pendingActions);
  for (const PendingAction& action : actions) {
    try {
      action.Object->RunDefaultAction(action.Child);
    } catch (...) {
      HandleCallbackException();
    }
    action.Object->Release();
  }
}

HRESULT QueueDefaultAction(AccessibleObject* object, long child) {
  if (!pendingTimer) pendingTimer = SetTimer(nullptr, 0, 0, RunPendingActions);
  if (!pendingTimer) return E_FAIL;
  pendingActions.push_back({object, child});
  object->AddRef();
  return S_OK;
}

template <class F>
HRESULT Guarded(F body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT ReturnText(const String& text, BSTR* out) {
  if (text.empty()) return S_FALSE;
  *out = SysAllocStringLen(text.data(), UINT(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT ReturnLong(long value, VARIANT* out) {
  out->vt = VT_I4;
  out->lVal = value;
  return S_OK;
}

HRESULT ClientObjectOf(HWND window, REFIID riid, void** object) {
  return AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), riid, object);
}

VARIANT ChildId(long id) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

}  // namespace

template <class Own, class Forward>
HRESULT AccessibleObject::WithChild(const VARIANT& child, Own own, Forward forward) {
  if (!target_ || !IsWindow(window_)) return RPC_E_DISCONNECTED;
  if (child.vt != VT_I4) return E_INVALIDARG;
  if (child.lVal == CHILDID_SELF) return own(target_->AccessibleSelf());
  const std::vector<TAccessibleElement> parts = target_->AccessibleParts();
  if (child.lVal < 1 || std::size_t(child.lVal) > parts.size()) return E_INVALIDARG;
  const TAccessibleElement& part = parts[std::size_t(child.lVal) - 1];
  if (!part.Window) return own(part);
  IAccessible* object = nullptr;
  const HRESULT found = ClientObjectOf(part.Window, __uuidof(IAccessible), reinterpret_cast<void**>(&object));
  if (FAILED(found)) return found;
  const HRESULT result = forward(object, ChildId(CHILDID_SELF));
  object->Release();
  return result;
}

void AccessibleObject::RunDefaultAction(long child) {
  // The element may have changed since the reader asked.
  const HRESULT available = WithChild(
      ChildId(child),
      [](const TAccessibleElement& e) {
        return e.DefaultAction.empty() || (e.State & STATE_SYSTEM_UNAVAILABLE) ? S_FALSE : S_OK;
      },
      [](IAccessible*, VARIANT) { return S_FALSE; });
  if (available == S_OK) target_->AccessibleDefaultAction(int(child));
}

HRESULT AccessibleObject::PartVariant(const std::vector<TAccessibleElement>& parts, std::size_t index, VARIANT* out) {
  if (!parts[index].Window) return ReturnLong(long(index + 1), out);
  IDispatch* object = nullptr;
  const HRESULT found = ClientObjectOf(parts[index].Window, IID_IDispatch, reinterpret_cast<void**>(&object));
  if (FAILED(found)) return found;
  out->vt = VT_DISPATCH;
  out->pdispVal = object;
  return S_OK;
}

// --- IUnknown and IDispatch -------------------------------------------------

STDMETHODIMP AccessibleObject::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) AccessibleObject::AddRef() { return ULONG(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) AccessibleObject::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return ULONG(left);
}

STDMETHODIMP AccessibleObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP AccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP AccessibleObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP AccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

// --- the tree ---------------------------------------------------------------

STDMETHODIMP AccessibleObject::get_accParent(IDispatch** parent) {
  if (!parent) return E_POINTER;
  *parent = nullptr;
  if (!target_ || !IsWindow(window_)) return RPC_E_DISCONNECTED;
  return AccessibleObjectFromWindow(window_, DWORD(OBJID_WINDOW), IID_IDispatch, reinterpret_cast<void**>(parent));
}

STDMETHODIMP AccessibleObject::get_accChildCount(long* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return Guarded([&] {
    if (!target_ || !IsWindow(window_)) return RPC_E_DISCONNECTED;
    *count = long(target_->AccessibleParts().size());
    return S_OK;
  });
}

STDMETHODIMP AccessibleObject::get_accChild(VARIANT child, IDispatch** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  return Guarded([&] {
    if (!target_ || !IsWindow(window_)) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    const std::vector<TAccessibleElement> parts = target_->AccessibleParts();
    if (child.lVal < 1 || std::size_t(child.lVal) > parts.size()) return E_INVALIDARG;
    const HWND window = parts[std::size_t(child.lVal) - 1].Window;
    if (!window) return S_FALSE;  // a simple element: ask this object with its id
    return ClientObjectOf(window, IID_IDispatch, reinterpret_cast<void**>(object));
  });
}

STDMETHODIMP AccessibleObject::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  VariantInit(end);
  return Guarded([&] {
    if (!target_ || !IsWindow(window_)) return RPC_E_DISCONNECTED;
    if (start.vt != VT_I4) return E_INVALIDARG;
    const std::vector<TAccessibleElement> parts = target_->AccessibleParts();
    const long count = long(parts.size()), from = start.lVal;
    if (from < 0 || from > count) return E_INVALIDARG;
    long index = -1;  // 0-based part
    switch (direction) {
      case NAVDIR_FIRSTCHILD: if (from == CHILDID_SELF && count > 0) index = 0; break;
      case NAVDIR_LASTCHILD: if (from == CHILDID_SELF && count > 0) index = count - 1; break;
      case NAVDIR_NEXT: if (from != CHILDID_SELF && from < count) index = from; break;
      case NAVDIR_PREVIOUS: if (from > 1) index = from - 2; break;
      default: return DISP_E_MEMBERNOTFOUND;  // no spatial navigation
    }
    if (index < 0) return S_FALSE;
    return PartVariant(parts, std::size_t(index), end);
  });
}

STDMETHODIMP AccessibleObject::accHitTest(long x, long y, VARIANT* child) {
  if (!child) return E_POINTER;
  VariantInit(child);
  return Guarded([&] {
    if (!target_ || !IsWindow(window_)) return RPC_E_DISCONNECTED;
    const POINT p{x, y};
    const std::vector<TAccessibleElement> parts = target_->AccessibleParts();
    for (std::size_t i = 0; i < parts.size(); ++i) {
      const RECT bounds = parts[i].Window ? ScreenBoundsOf(parts[i].Window) : parts[i].Bounds;
      if (PtInRect(&bounds, p)) return PartVariant(parts, i, child);
    }
    const RECT self = target_->AccessibleSelf().Bounds;
    return PtInRect(&self, p) ? ReturnLong(CHILDID_SELF, child) : S_FALSE;
  });
}

STDMETHODIMP AccessibleObject::get_accFocus(VARIANT* focus) {
  if (!focus) return E_POINTER;
  VariantInit(focus);
  return Guarded([&] {
    if (!target_ || !IsWindow(window_)) return RPC_E_DISCONNECTED;
    if (target_->AccessibleSelf().State & STATE_SYSTEM_FOCUSED) return ReturnLong(CHILDID_SELF, focus);
    const HWND focused = GetFocus();
    const std::vector<TAccessibleElement> parts = target_->AccessibleParts();
    for (std::size_t i = 0; i < parts.size(); ++i) {
      const HWND w = parts[i].Window;
      const bool has = w ? focused && (focused == w || IsChild(w, focused)) : (parts[i].State & STATE_SYSTEM_FOCUSED) != 0;
      if (has) return PartVariant(parts, i, focus);
    }
    return S_FALSE;
  });
}

STDMETHODIMP AccessibleObject::get_accSelection(VARIANT* selection) {
  if (!selection) return E_POINTER;
  VariantInit(selection);
  return DISP_E_MEMBERNOTFOUND;
}

// --- what an element is -----------------------------------------------------

STDMETHODIMP AccessibleObject::get_accName(VARIANT child, BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  return Guarded([&] {
    return WithChild(
        child, [&](const TAccessibleElement& e) { return ReturnText(e.Name, name); },
        [&](IAccessible* o, VARIANT self) { return o->get_accName(self, name); });
  });
}

STDMETHODIMP AccessibleObject::get_accValue(VARIANT child, BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  return Guarded([&] {
    return WithChild(
        child,
        [&](const TAccessibleElement& e) { return e.Value.empty() ? DISP_E_MEMBERNOTFOUND : ReturnText(e.Value, value); },
        [&](IAccessible* o, VARIANT self) { return o->get_accValue(self, value); });
  });
}

STDMETHODIMP AccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
  if (!role) return E_POINTER;
  VariantInit(role);
  return Guarded([&] {
    return WithChild(
        child, [&](const TAccessibleElement& e) { return ReturnLong(e.Role, role); },
        [&](IAccessible* o, VARIANT self) { return o->get_accRole(self, role); });
  });
}

STDMETHODIMP AccessibleObject::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  VariantInit(state);
  return Guarded([&] {
    return WithChild(
        child, [&](const TAccessibleElement& e) { return ReturnLong(e.State, state); },
        [&](IAccessible* o, VARIANT self) { return o->get_accState(self, state); });
  });
}

STDMETHODIMP AccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  if (!shortcut) return E_POINTER;
  *shortcut = nullptr;
  return Guarded([&] {
    return WithChild(
        child, [&](const TAccessibleElement& e) { return ReturnText(e.KeyboardShortcut, shortcut); },
        [&](IAccessible* o, VARIANT self) { return o->get_accKeyboardShortcut(self, shortcut); });
  });
}

STDMETHODIMP AccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (!action) return E_POINTER;
  *action = nullptr;
  return Guarded([&] {
    return WithChild(
        child, [&](const TAccessibleElement& e) { return ReturnText(e.DefaultAction, action); },
        [&](IAccessible* o, VARIANT self) { return o->get_accDefaultAction(self, action); });
  });
}

STDMETHODIMP AccessibleObject::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
  if (!left || !top || !width || !height) return E_POINTER;
  *left = *top = *width = *height = 0;
  return Guarded([&] {
    return WithChild(
        child,
        [&](const TAccessibleElement& e) {
          *left = e.Bounds.left, *top = e.Bounds.top;
          *width = e.Bounds.right - e.Bounds.left, *height = e.Bounds.bottom - e.Bounds.top;
          return S_OK;
        },
        [&](IAccessible* o, VARIANT self) { return o->accLocation(left, top, width, height, self); });
  });
}

STDMETHODIMP AccessibleObject::accDoDefaultAction(VARIANT child) {
  return Guarded([&] {
    return WithChild(
        child,
        [&](const TAccessibleElement& e) {
          if (e.DefaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
          if (e.State & STATE_SYSTEM_UNAVAILABLE) return E_FAIL;
          return QueueDefaultAction(this, child.lVal);
        },
        [&](IAccessible* o, VARIANT self) { return o->accDoDefaultAction(self); });
  });
}

// --- what the drawn controls do not have ---------------------------------------

STDMETHODIMP AccessibleObject::get_accDescription(VARIANT, BSTR* description) {
  if (description) *description = nullptr;
  return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP AccessibleObject::get_accHelp(VARIANT, BSTR* help) {
  if (help) *help = nullptr;
  return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP AccessibleObject::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
  if (file) *file = nullptr;
  if (topic) *topic = -1;
  return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP AccessibleObject::accSelect(long, VARIANT) { return DISP_E_MEMBERNOTFOUND; }

STDMETHODIMP AccessibleObject::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

STDMETHODIMP AccessibleObject::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

}  // namespace kestu
