#pragma once
// The IAccessible that the accessibility layer hands to screen readers for
// one description (see Accessibility.h). It holds no state of the control:
// every call reads the description, and once the description is gone every
// call answers RPC_E_DISCONNECTED. No C++ exception leaves a method.

#include "framework/Accessibility.h"

namespace kestu {

class AccessibleObject final : public IAccessible {
 public:
  AccessibleObject(TAccessibleDescription& target, HWND window) : target_(&target), window_(window) {}
  void SetWindow(HWND window) { window_ = window; }
  void Disconnect() { target_ = nullptr; }
  // The queued default action, now from the message loop.
  void RunDefaultAction(long child);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IDispatch: no type information; readers use the IAccessible methods.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
  // IAccessible
  STDMETHODIMP get_accParent(IDispatch** parent) override;
  STDMETHODIMP get_accChildCount(long* count) override;
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override;
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  STDMETHODIMP get_accFocus(VARIANT* focus) override;
  STDMETHODIMP get_accSelection(VARIANT* selection) override;
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
  STDMETHODIMP accSelect(long flags, VARIANT child) override;
  STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
  STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
  STDMETHODIMP accHitTest(long x, long y, VARIANT* child) override;
  STDMETHODIMP accDoDefaultAction(VARIANT child) override;
  STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
  STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

 private:
  ~AccessibleObject() = default;
  // Runs `own` on the element a child id names, or `forward` on the object
  // of a part that is a window; answers the errors of a bad id or a gone
  // description.
  template <class Own, class Forward>
  HRESULT WithChild(const VARIANT& child, Own own, Forward forward);
  // The VARIANT that names part `index` (0-based) to a reader.
  HRESULT PartVariant(const std::vector<TAccessibleElement>& parts, std::size_t index, VARIANT* out);

  LONG references_ = 1;
  TAccessibleDescription* target_;
  HWND window_;
};

}  // namespace kestu
