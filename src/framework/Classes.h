#pragma once
// Objects, persistent objects, components, collections, and the class
// registry with published properties.
//
// Every class with published properties says so next to its declaration:
//
//   class TLabel : public TGraphicControl {
//     KESTU_CLASS(TLabel, TGraphicControl)
//    public: ...
//   };
//   KESTU_PUBLISH(TLabel) {          // in the .cpp, one line per property
//     p.Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false);
//   }
//
// The same registry creates classes by name, answers HasPublishedProperty,
// sets properties by name and drives the form reader.

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "base/TextUtil.h"  // SameText
#include "framework/Exception.h"

namespace kestu {

class TObject;
class TPersistent;
class TComponent;
class TCollection;
class TCollectionItem;
template <class T> class ClassBuilder;

using TNotifyEvent = std::function<void(TObject* Sender)>;
using Bytes = std::vector<std::uint8_t>;

class EConvertError : public Exception {
 public:
  using Exception::Exception;
};
class EReadError : public Exception {
 public:
  using Exception::Exception;
};
class EComponentError : public Exception {
 public:
  using Exception::Exception;
};

// ---------------------------------------------------------------------------
// Class registry

enum class PropKind { Integer, Boolean, Enum, Set, String, Color, Object, Collection, Component, Event, Binary };

struct PropInfo {
  std::string name;
  PropKind kind = PropKind::Integer;
  std::int64_t defaultValue = 0;
  std::vector<std::string> names;        // Enum and Set: value names, in value order
  const struct TClass* refClass = nullptr; // Component: class the reference must have
  std::function<std::int64_t(TObject*)> getOrd;
  std::function<void(TObject*, std::int64_t)> setOrd;
  std::function<String(TObject*)> getStr;
  std::function<void(TObject*, const String&)> setStr;
  std::function<TObject*(TObject*)> getObj;         // Object, Collection, Component
  std::function<void(TObject*, TObject*)> setObj;   // Component
  std::function<void(TObject*, const std::any&)> setEvent;
  const std::type_info* eventType = nullptr;
  std::function<void(TObject*, const Bytes&)> setBytes;
  // Identifiers an ordinal property accepts besides numbers (clBtnFace, crHandPoint).
  bool (*fromIdent)(std::string_view, std::int64_t&) = nullptr;
};

// Colour names (clBtnFace, clWhite, ...): Graphics.cpp.
bool IdentToColor(std::string_view name, std::int64_t& value);

// A handler method of a form class, bound to an instance on demand.
struct HandlerInfo {
  std::string name;
  const std::type_info* type = nullptr;
  std::function<std::any(TObject* self)> bind;
};

// A component pointer field of a form class, filled in when the component of
// that name is read.
struct FieldInfo {
  std::string name;
  std::function<void(TObject* self, TComponent* value)> set;
};

struct TClass {
  std::string name;
  const TClass* parent = nullptr;
  std::function<TComponent*(TComponent* owner)> createComponent;
  std::function<TCollectionItem*(TCollection* collection)> createItem;
  std::vector<PropInfo> properties;
  std::vector<HandlerInfo> handlers;
  std::vector<FieldInfo> fields;

  bool InheritsFrom(const TClass& other) const;
  // Searches this class and its ancestors; names compare case-insensitively.
  const PropInfo* FindProperty(std::string_view name) const;
  const HandlerInfo* FindHandler(std::string_view name) const;
  const FieldInfo* FindField(std::string_view name) const;
};

const TClass& RegisterClassObject(std::unique_ptr<TClass> c);
// Finds a registered class by name (case-insensitive); nullptr when unknown.
const TClass* FindClass(std::string_view name);
// Like FindClass, but raises EReadError naming the class.
const TClass& GetClass(std::string_view name);
template <class... C> void RegisterClasses() { (C::StaticClass(), ...); }

String Utf8ToString(std::string_view utf8);
std::string StringToUtf8(const String& s);

namespace detail {
template <class M> struct MemberArg;
template <class C, class R, class A> struct MemberArg<R (C::*)(A)> { using type = std::decay_t<A>; };
template <class C, class R, class A> struct MemberArg<R (C::*)(A) const> { using type = std::decay_t<A>; };
template <class M> struct MemberHandler;
template <class C, class R, class... A> struct MemberHandler<R (C::*)(A...)> {
  using Function = std::function<R(A...)>;
};
}  // namespace detail

template <class T> class ClassBuilder {
 public:
  explicit ClassBuilder(TClass& c) : c_(c) {}

  template <class G, class S> ClassBuilder& Int(const char* name, G get, S set, std::int64_t def = 0) {
    return Ord(name, PropKind::Integer, get, set, def);
  }
  template <class G, class S> ClassBuilder& Bool(const char* name, G get, S set, bool def = false) {
    return Ord(name, PropKind::Boolean, get, set, def);
  }
  template <class G, class S> ClassBuilder& Color(const char* name, G get, S set, std::int64_t def) {
    Ord(name, PropKind::Color, get, set, def);
    c_.properties.back().fromIdent = &IdentToColor;
    return *this;
  }
  // Lets the property just added accept identifiers (cursor names, ...).
  ClassBuilder& Idents(bool (*fromIdent)(std::string_view, std::int64_t&)) {
    c_.properties.back().fromIdent = fromIdent;
    return *this;
  }
  template <class G, class S>
  ClassBuilder& Enum(const char* name, G get, S set, std::int64_t def, std::vector<std::string> names) {
    Ord(name, PropKind::Enum, get, set, def);
    c_.properties.back().names = std::move(names);
    return *this;
  }
  template <class G, class S>
  ClassBuilder& Set(const char* name, G get, S set, std::int64_t def, std::vector<std::string> names) {
    Ord(name, PropKind::Set, get, set, def);
    c_.properties.back().names = std::move(names);
    return *this;
  }
  template <class G, class S> ClassBuilder& Str(const char* name, G get, S set) {
    PropInfo p = Make(name, PropKind::String, 0);
    p.getStr = [get](TObject* o) { return String((static_cast<T*>(o)->*get)()); };
    p.setStr = [set](TObject* o, const String& v) { (static_cast<T*>(o)->*set)(v); };
    return Add(std::move(p));
  }
  // An owned sub-object reached by dotted paths (Font.Height).
  template <class G> ClassBuilder& Object(const char* name, G get) {
    PropInfo p = Make(name, PropKind::Object, 0);
    p.getObj = [get](TObject* o) -> TObject* { return (static_cast<T*>(o)->*get)(); };
    return Add(std::move(p));
  }
  template <class G> ClassBuilder& Collection(const char* name, G get) {
    PropInfo p = Make(name, PropKind::Collection, 0);
    p.getObj = [get](TObject* o) -> TObject* { return (static_cast<T*>(o)->*get)(); };
    return Add(std::move(p));
  }
  // A reference to another component, resolved after reading.
  template <class G, class S> ClassBuilder& Ref(const char* name, G get, S set) {
    using Ptr = typename detail::MemberArg<S>::type;
    using C = std::remove_pointer_t<Ptr>;
    PropInfo p = Make(name, PropKind::Component, 0);
    p.refClass = &C::StaticClass();
    p.getObj = [get](TObject* o) -> TObject* { return (static_cast<T*>(o)->*get)(); };
    p.setObj = [set](TObject* o, TObject* v) { (static_cast<T*>(o)->*set)(static_cast<Ptr>(v)); };
    return Add(std::move(p));
  }
  template <class S> ClassBuilder& Event(const char* name, S set) {
    using F = typename detail::MemberArg<S>::type;
    PropInfo p = Make(name, PropKind::Event, 0);
    p.eventType = &typeid(F);
    p.setEvent = [set](TObject* o, const std::any& v) { (static_cast<T*>(o)->*set)(std::any_cast<F>(v)); };
    return Add(std::move(p));
  }
  template <class S> ClassBuilder& Binary(const char* name, S set) {
    PropInfo p = Make(name, PropKind::Binary, 0);
    p.setBytes = [set](TObject* o, const Bytes& v) { (static_cast<T*>(o)->*set)(v); };
    return Add(std::move(p));
  }
  // A handler method that descriptions may name in event properties.
  template <class M> ClassBuilder& Handler(const char* name, M method) {
    using F = typename detail::MemberHandler<M>::Function;
    HandlerInfo h;
    h.name = name;
    h.type = &typeid(F);
    h.bind = [method](TObject* self) {
      T* t = static_cast<T*>(self);
      return std::any(F([t, method](auto&&... a) { return (t->*method)(std::forward<decltype(a)>(a)...); }));
    };
    c_.handlers.push_back(std::move(h));
    return *this;
  }
  // A component pointer member filled in with the component of that name.
  template <class C> ClassBuilder& Field(const char* name, C* T::*member) {
    FieldInfo f;
    f.name = name;
    f.set = [member](TObject* self, TComponent* v) { static_cast<T*>(self)->*member = dynamic_cast<C*>(v); };
    c_.fields.push_back(std::move(f));
    return *this;
  }

 private:
  static PropInfo Make(const char* name, PropKind kind, std::int64_t def) {
    PropInfo p;
    p.name = name;
    p.kind = kind;
    p.defaultValue = def;
    return p;
  }
  template <class G, class S>
  ClassBuilder& Ord(const char* name, PropKind kind, G get, S set, std::int64_t def) {
    using A = typename detail::MemberArg<S>::type;
    PropInfo p = Make(name, kind, def);
    p.getOrd = [get](TObject* o) { return std::int64_t((static_cast<T*>(o)->*get)()); };
    p.setOrd = [set](TObject* o, std::int64_t v) { (static_cast<T*>(o)->*set)(static_cast<A>(v)); };
    return Add(std::move(p));
  }
  ClassBuilder& Add(PropInfo p) {
    c_.properties.push_back(std::move(p));
    return *this;
  }
  TClass& c_;
};

template <class T> const TClass& DefineClass(const char* name, void (*publish)(ClassBuilder<T>&)) {
  auto c = std::make_unique<TClass>();
  c->name = name;
  c->parent = &T::Inherited::StaticClass();
  if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                std::is_constructible_v<T, TComponent*>) {
    c->createComponent = [](TComponent* owner) -> TComponent* { return new T(owner); };
  }
  if constexpr (std::is_base_of_v<TCollectionItem, T> && !std::is_abstract_v<T> &&
                std::is_constructible_v<T, TCollection*>) {
    c->createItem = [](TCollection* collection) -> TCollectionItem* { return new T(collection); };
  }
  ClassBuilder<T> builder(*c);
  publish(builder);
  return RegisterClassObject(std::move(c));
}

#define KESTU_CLASS(Self, Base)                                                  \
 public:                                                                         \
  using Inherited = Base;                                                        \
  static const ::kestu::TClass& StaticClass();                                   \
  const ::kestu::TClass& ClassType() const override { return StaticClass(); }    \
                                                                                 \
 private:                                                                        \
  static void Publish(::kestu::ClassBuilder<Self>& p);                           \
                                                                                 \
 public:

// Defines StaticClass and registers the class when the program starts (for
// classes in libraries: as soon as anything of their object file is linked).
#define KESTU_PUBLISH(Self)                                                      \
  namespace {                                                                    \
  [[maybe_unused]] const bool kestuRegistered##Self = (Self::StaticClass(), true); \
  }                                                                              \
  const ::kestu::TClass& Self::StaticClass() {                                   \
    static const ::kestu::TClass& c = ::kestu::DefineClass<Self>(#Self, &Self::Publish); \
    return c;                                                                    \
  }                                                                              \
  void Self::Publish([[maybe_unused]] ::kestu::ClassBuilder<Self>& p)

// ---------------------------------------------------------------------------
// Objects

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClass& StaticClass();
  virtual const TClass& ClassType() const { return StaticClass(); }
  String ClassName() const { return Utf8ToString(ClassType().name); }
  bool InheritsFrom(const TClass& c) const { return ClassType().InheritsFrom(c); }
};

class TPersistent : public TObject {
  KESTU_CLASS(TPersistent, TObject)
 public:
  // Copies the source's published state; raises EConvertError for sources it
  // does not know.
  virtual void Assign(const TPersistent* source);

 protected:
  virtual void AssignTo(TPersistent* dest) const;
};

// Published-property access by name (HasPublishedProperty is the query the
// toolkit uses before pushing FileTheme and UIStyle onto a child).
const PropInfo* FindPropInfo(const TObject* object, std::string_view name);
bool HasPublishedProperty(const TObject* object, std::string_view name);
std::int64_t GetOrdProp(TObject* object, std::string_view name);
void SetOrdProp(TObject* object, std::string_view name, std::int64_t value);
String GetStrProp(TObject* object, std::string_view name);
void SetStrProp(TObject* object, std::string_view name, const String& value);
TObject* GetObjectProp(TObject* object, std::string_view name);
// Component references are stored; owned sub-objects are assigned (copied).
void SetObjectProp(TObject* object, std::string_view name, TObject* value);
void SetEnumProp(TObject* object, std::string_view name, std::string_view valueName);
// Copies every published property of `from` into `to` (same class or a descendant of it).
void CopyPublishedProperties(const TPersistent* from, TPersistent* to);

// ---------------------------------------------------------------------------
// Components

using TComponentState = std::uint32_t;
enum : TComponentState {
  csLoading = 1u << 0,
  csReading = 1u << 1,
  csWriting = 1u << 2,
  csDestroying = 1u << 3,
  csDesigning = 1u << 4,
  csUpdating = 1u << 5,
};
enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  KESTU_CLASS(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  const String& Name() const { return name_; }
  void SetName(const String& value);
  std::int64_t Tag() const { return tag_; }
  void SetTag(std::int64_t value) { tag_ = value; }

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return int(components_.size()); }
  TComponent* Components(int index) const { return components_.at(std::size_t(index)); }
  const std::vector<TComponent*>& ComponentList() const { return components_; }
  int ComponentIndex() const;
  TComponent* FindComponent(const String& name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  void DestroyComponents();

  TComponentState ComponentState() const { return state_; }
  bool HasState(TComponentState flags) const { return (state_ & flags) != 0; }
  // Design mode for this component and everything it owns.
  void SetDesigning(bool value);
  void SetLoading(bool value);
  void SetReading(bool value);

  // Asks to be told (Notification with opRemove) when AComponent goes away.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // Called once after all properties and references have been read.
  virtual void Loaded();
  // Called by the reader on components nested inside this one in a description.
  virtual void SetParentComponent(TComponent*) {}
  // Marks this component and what it owns as being destroyed.
  void Destroying();

 protected:
  // Tells the owner and what it owns, once more, of this component's
  // insertion. TComponent's constructor inserts a component before any
  // derived class exists; a class whose neighbours must recognise it calls
  // this at the end of its own constructor.
  void AnnounceInsertion();
  void SetState(TComponentState flags) { state_ |= flags; }
  void ClearState(TComponentState flags) { state_ &= ~flags; }

 private:
  void ValidateRename(const String& name) const;
  // The owner and everything it owns hear of component.
  void NotifyOwned(TComponent* component, TOperation operation);

  String name_;
  std::int64_t tag_ = 0;
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  TComponentState state_ = 0;
};

// ---------------------------------------------------------------------------
// Collections

class TCollectionItem : public TPersistent {
  KESTU_CLASS(TCollectionItem, TPersistent)
 public:
  explicit TCollectionItem(TCollection* collection) : collection_(collection) {}
  TCollection* Collection() const { return collection_; }
  // Copies the published properties of an item of the same class.
  void Assign(const TPersistent* source) override;
  int Index() const;

 protected:
  void Changed();

 private:
  friend class TCollection;
  TCollection* collection_;
};

class TCollection : public TPersistent {
  KESTU_CLASS(TCollection, TPersistent)
 public:
  TCollection(const TClass& itemClass, TPersistent* owner = nullptr);
  ~TCollection() override;

  const TClass& ItemClass() const { return *itemClass_; }
  TPersistent* Owner() const { return owner_; }
  int Count() const { return int(items_.size()); }
  TCollectionItem* Items(int index) const { return items_.at(std::size_t(index)).get(); }
  template <class I> I* Item(int index) const { return static_cast<I*>(Items(index)); }
  TCollectionItem* Add();
  void Delete(int index);
  void Clear();
  int IndexOf(const TCollectionItem* item) const;
  // Copies the items of another collection of the same item class.
  void Assign(const TPersistent* source) override;

  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(TNotifyEvent e) { onChange_ = std::move(e); }
  virtual void Update(TCollectionItem* item);

 private:
  const TClass* itemClass_;
  TPersistent* owner_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
  TNotifyEvent onChange_;
};

}  // namespace kestu
