// The accessibility layer: what WM_GETOBJECT is answered with, how the object
// walks a description's parts (drawn ones and windows of their own), default
// actions that run later from the message loop and only while available,
// objects that outlive their control, names and shortcuts from captions.
#include <gtest/gtest.h>

#include <oleacc.h>

#include <cstdint>
#include <stdexcept>

#include "framework/Accessibility.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace kestu {

// A drawn control with two drawn parts and, between them, a standard button
// that is a window of its own.
class TDrawnProbe : public TCustomControl, public TAccessibleDescription {
  KESTU_CLASS(TDrawnProbe, TCustomControl)
 public:
  explicit TDrawnProbe(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
  TButton* Standard = nullptr;
  bool SecondAvailable = true;
  bool Throws = false;
  std::vector<int> Actions;

  TAccessibleElement AccessibleSelf() override {
    TAccessibleElement e;
    e.Role = ROLE_SYSTEM_GROUPING;
    e.Name = L"Probe";
    e.State = WindowStates(*this);
    e.Bounds = ScreenBoundsOf(Handle());
    return e;
  }
  std::vector<TAccessibleElement> AccessibleParts() override {
    TAccessibleElement second = PartButtonElement(L"Second", ClientToScreenRect(Handle(), {50, 0, 100, 20}), false, false);
    if (!SecondAvailable) second.State |= STATE_SYSTEM_UNAVAILABLE;
    return {PartButtonElement(L"First", ClientToScreenRect(Handle(), {0, 0, 50, 20}), false, true),
            WindowPart(Standard->Handle()), second};
  }
  void AccessibleDefaultAction(int child) override {
    Actions.push_back(child);
    if (Throws) throw std::runtime_error("the action failed");
  }
};
KESTU_PUBLISH(TDrawnProbe) {}

namespace {

VARIANT Id(long id) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

void Pump(int ms) {
  const DWORD end = GetTickCount() + DWORD(ms);
  while (GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(5);
  }
}

struct Accessible {
  IAccessible* object = nullptr;
  explicit Accessible(HWND window, LONG id = OBJID_CLIENT) {
    AccessibleObjectFromWindow(window, DWORD(id), __uuidof(IAccessible), reinterpret_cast<void**>(&object));
  }
  explicit Accessible(IDispatch* dispatch) {
    if (dispatch) dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&object));
  }
  ~Accessible() {
    if (object) object->Release();
  }
  IAccessible* operator->() const { return object; }

  std::wstring Name(long id = CHILDID_SELF) const {
    BSTR name = nullptr;
    object->get_accName(Id(id), &name);
    std::wstring out = name ? name : L"";
    SysFreeString(name);
    return out;
  }
  long Role(long id = CHILDID_SELF) const {
    VARIANT role;
    VariantInit(&role);
    object->get_accRole(Id(id), &role);
    return role.vt == VT_I4 ? role.lVal : -1;
  }
  long State(long id = CHILDID_SELF) const {
    VARIANT state;
    VariantInit(&state);
    object->get_accState(Id(id), &state);
    return state.vt == VT_I4 ? state.lVal : -1;
  }
};

class Layer : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();  // COM, as the program has it
    Application->SetOnException([this](TObject*, const Exception& e) { errors.push_back(e.Message()); });
    form = new TForm(nullptr);
    form->SetBounds(100, 100, 300, 150);
    probe = new TDrawnProbe(form);
    probe->SetParent(form);
    probe->SetBounds(10, 10, 200, 40);
    probe->Standard = new TButton(form);
    probe->Standard->SetParent(form);
    probe->Standard->SetBounds(10, 60, 80, 25);
    probe->Standard->SetCaption(L"&Install");
    form->Show();
    Pump(30);
  }
  void TearDown() override {
    delete form;
    Application->SetOnException(nullptr);
  }

  TForm* form = nullptr;
  TDrawnProbe* probe = nullptr;
  std::vector<String> errors;
};

TEST(AccessibleText, NamesDropTheAcceleratorAndShortcutsNameIt) {
  struct Case {
    const wchar_t* caption;
    const wchar_t* name;
    const wchar_t* shortcut;
  };
  for (const Case& c : {Case{L"&Install", L"Install", L"Alt+I"}, Case{L"Save &as", L"Save as", L"Alt+A"},
                        Case{L"A&&B", L"A&B", L""}, Case{L"A&&&b", L"A&b", L"Alt+B"},
                        Case{L"&First &Second", L"First Second", L"Alt+F"}, Case{L"trailing&", L"trailing", L""},
                        Case{L"确定(&O)", L"确定(O)", L"Alt+O"}, Case{L"安装数据文件到SQL Server", L"安装数据文件到SQL Server", L""},
                        Case{L"", L"", L""}}) {
    EXPECT_EQ(c.name, StripAccelerator(c.caption)) << c.caption;
    const String shortcut = AcceleratorShortcut(c.caption);
    EXPECT_EQ(c.shortcut, shortcut) << c.caption;
    // The shortcut names the key the control answers to.
    if (!shortcut.empty()) {
      EXPECT_TRUE(IsAccel(shortcut.back(), c.caption)) << c.caption;
      EXPECT_TRUE(IsAccel(wchar_t(towlower(shortcut.back())), c.caption)) << c.caption;
    }
  }
}

TEST_F(Layer, AnswersTheClientIdOnlyAndLeavesStandardControlsToTheSystem) {
  HWND window = probe->Handle();
  EXPECT_GT(SendMessageW(window, WM_GETOBJECT, 0, LPARAM(LONG(OBJID_CLIENT))), 0);
  // A sender of the other width puts the id in the low half only.
  EXPECT_GT(SendMessageW(window, WM_GETOBJECT, 0, LPARAM(std::uint32_t(OBJID_CLIENT))), 0);
  EXPECT_EQ(0, SendMessageW(window, WM_GETOBJECT, 0, LPARAM(LONG(OBJID_WINDOW))));
  EXPECT_EQ(0, SendMessageW(window, WM_GETOBJECT, 0, LPARAM(LONG(OBJID_TITLEBAR))));
  EXPECT_EQ(0, SendMessageW(window, WM_GETOBJECT, 0, LPARAM(LONG(OBJID_VSCROLL))));
  if constexpr (sizeof(LPARAM) == 8) {
    // Not an object id at all: the high half is neither zeros nor the sign.
    EXPECT_EQ(0, SendMessageW(window, WM_GETOBJECT, 0, LPARAM(0x12345678FFFFFFFCull)));
  }
  EXPECT_EQ(0, SendMessageW(probe->Standard->Handle(), WM_GETOBJECT, 0, LPARAM(LONG(OBJID_CLIENT))));

  // The standard button's object is the one the system makes for it.
  Accessible standard(probe->Standard->Handle());
  IAccessible* own = nullptr;
  ASSERT_EQ(S_OK, CreateStdAccessibleObject(probe->Standard->Handle(), OBJID_CLIENT, __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&own)));
  Accessible system(static_cast<IDispatch*>(own));
  own->Release();
  ASSERT_NE(standard.object, nullptr);
  EXPECT_EQ(system.Role(), standard.Role());
  EXPECT_EQ(L"Install", standard.Name());
}

TEST_F(Layer, WalksDrawnPartsAndWindowParts) {
  Accessible a(probe->Handle());
  ASSERT_NE(a.object, nullptr);
  EXPECT_EQ(ROLE_SYSTEM_GROUPING, a.Role());
  EXPECT_EQ(L"Probe", a.Name());
  long count = 0;
  EXPECT_EQ(S_OK, a->get_accChildCount(&count));
  EXPECT_EQ(3, count);
  EXPECT_EQ(L"First", a.Name(1));
  EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, a.Role(1));
  EXPECT_EQ(STATE_SYSTEM_HOTTRACKED, a.State(1));
  // The window part answers through its own object, also when asked by id.
  EXPECT_EQ(L"Install", a.Name(2));
  IDispatch* child = nullptr;
  EXPECT_EQ(S_FALSE, a->get_accChild(Id(1), &child));
  EXPECT_EQ(nullptr, child);
  ASSERT_EQ(S_OK, a->get_accChild(Id(2), &child));
  Accessible standard(child);
  child->Release();
  EXPECT_EQ(L"Install", standard.Name());
  for (long bad : {0L, 4L, -1L}) EXPECT_EQ(E_INVALIDARG, a->get_accChild(Id(bad), &child)) << bad;
  BSTR name = nullptr;
  EXPECT_EQ(E_INVALIDARG, a->get_accName(Id(4), &name));
  VARIANT text;
  text.vt = VT_BSTR;
  text.bstrVal = nullptr;
  EXPECT_EQ(E_INVALIDARG, a->get_accName(text, &name));

  // Locations are on the screen; hit tests find parts, windows and the rest.
  long l = 0, t = 0, w = 0, h = 0;
  ASSERT_EQ(S_OK, a->accLocation(&l, &t, &w, &h, Id(3)));
  const POINT origin = probe->ClientToScreen(POINT{0, 0});
  EXPECT_EQ(origin.x + 50, l);
  EXPECT_EQ(origin.y, t);
  EXPECT_EQ(50, w);
  EXPECT_EQ(20, h);
  VARIANT hit;
  ASSERT_EQ(S_OK, a->accHitTest(l + 5, t + 5, &hit));
  EXPECT_EQ(VT_I4, hit.vt);
  EXPECT_EQ(3, hit.lVal);
  ASSERT_EQ(S_OK, a->accHitTest(origin.x + 150, origin.y + 30, &hit));
  EXPECT_EQ(CHILDID_SELF, hit.lVal);
  const POINT onStandard = probe->Standard->ClientToScreen(POINT{5, 5});
  ASSERT_EQ(S_OK, a->accHitTest(onStandard.x, onStandard.y, &hit));
  ASSERT_EQ(VT_DISPATCH, hit.vt);
  EXPECT_EQ(L"Install", Accessible(hit.pdispVal).Name());
  VariantClear(&hit);
  EXPECT_EQ(S_FALSE, a->accHitTest(origin.x - 500, origin.y, &hit));
  EXPECT_EQ(VT_EMPTY, hit.vt);

  // Navigation runs through the parts in order.
  VARIANT to;
  ASSERT_EQ(S_OK, a->accNavigate(NAVDIR_FIRSTCHILD, Id(CHILDID_SELF), &to));
  EXPECT_EQ(1, to.lVal);
  ASSERT_EQ(S_OK, a->accNavigate(NAVDIR_NEXT, Id(1), &to));
  EXPECT_EQ(VT_DISPATCH, to.vt);
  VariantClear(&to);
  ASSERT_EQ(S_OK, a->accNavigate(NAVDIR_LASTCHILD, Id(CHILDID_SELF), &to));
  EXPECT_EQ(3, to.lVal);
  ASSERT_EQ(S_OK, a->accNavigate(NAVDIR_PREVIOUS, Id(3), &to));
  EXPECT_EQ(VT_DISPATCH, to.vt);
  VariantClear(&to);
  EXPECT_EQ(S_FALSE, a->accNavigate(NAVDIR_NEXT, Id(3), &to));
  EXPECT_EQ(S_FALSE, a->accNavigate(NAVDIR_PREVIOUS, Id(1), &to));

  // The focus: the control itself, then the window part that holds it.
  probe->SetFocus();
  VARIANT focus;
  ASSERT_EQ(S_OK, a->get_accFocus(&focus));
  EXPECT_EQ(VT_I4, focus.vt);
  EXPECT_EQ(CHILDID_SELF, focus.lVal);
  EXPECT_NE(0, a.State() & STATE_SYSTEM_FOCUSED);
  probe->Standard->SetFocus();
  ASSERT_EQ(S_OK, a->get_accFocus(&focus));
  EXPECT_EQ(VT_DISPATCH, focus.vt);
  VariantClear(&focus);
  EXPECT_EQ(0, a.State() & STATE_SYSTEM_FOCUSED);

  IDispatch* parent = nullptr;
  EXPECT_EQ(S_OK, a->get_accParent(&parent));
  ASSERT_NE(nullptr, parent);
  parent->Release();
}

TEST_F(Layer, DefaultActionsRunFromTheMessageLoopWhileAvailable) {
  Accessible a(probe->Handle());
  ASSERT_NE(a.object, nullptr);
  EXPECT_EQ(S_OK, a->accDoDefaultAction(Id(1)));
  EXPECT_TRUE(probe->Actions.empty()) << "ran inside the reader's call";
  Pump(100);
  EXPECT_EQ(std::vector<int>{1}, probe->Actions);

  // Unavailable, or without an action: refused.
  probe->SecondAvailable = false;
  EXPECT_EQ(E_FAIL, a->accDoDefaultAction(Id(3)));
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, a->accDoDefaultAction(Id(CHILDID_SELF)));
  EXPECT_EQ(E_INVALIDARG, a->accDoDefaultAction(Id(9)));
  // Available when asked, unavailable when the loop gets to it: not run.
  probe->SecondAvailable = true;
  EXPECT_EQ(S_OK, a->accDoDefaultAction(Id(3)));
  probe->SecondAvailable = false;
  Pump(100);
  EXPECT_EQ(std::vector<int>{1}, probe->Actions);

  // A failing action reaches the application's error handling, as a
  // failing click does, and the next one still runs.
  probe->Throws = true;
  EXPECT_EQ(S_OK, a->accDoDefaultAction(Id(1)));
  EXPECT_EQ(S_OK, a->accDoDefaultAction(Id(1)));
  Pump(100);
  EXPECT_EQ((std::vector<int>{1, 1, 1}), probe->Actions);
  EXPECT_EQ(2u, errors.size());
}

TEST_F(Layer, AnObjectOutlivesItsControlWithoutReachingIt) {
  Accessible a(probe->Handle());
  ASSERT_NE(a.object, nullptr);
  EXPECT_EQ(S_OK, a->accDoDefaultAction(Id(1)));
  delete probe;  // before the action runs
  probe = nullptr;
  Pump(100);
  long count = 0;
  EXPECT_EQ(RPC_E_DISCONNECTED, a->get_accChildCount(&count));
  BSTR name = nullptr;
  EXPECT_EQ(RPC_E_DISCONNECTED, a->get_accName(Id(CHILDID_SELF), &name));
  EXPECT_EQ(RPC_E_DISCONNECTED, a->accDoDefaultAction(Id(1)));
}

TEST_F(Layer, ARecreatedWindowAnswersWithTheSameDescription) {
  Accessible before(probe->Handle());
  ASSERT_NE(before.object, nullptr);
  probe->RecreateWnd();
  Accessible after(probe->Handle());
  ASSERT_NE(after.object, nullptr);
  EXPECT_EQ(L"Probe", after.Name());
  EXPECT_EQ(L"Probe", before.Name());
}

}  // namespace
}  // namespace kestu
