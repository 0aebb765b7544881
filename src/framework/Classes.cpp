#include "framework/Classes.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <map>

namespace kestu {

// ---------------------------------------------------------------------------
// Text helpers

String Utf8ToString(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  String out(std::size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
  return out;
}

std::string StringToUtf8(const String& s) {
  if (s.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(std::size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.data(), int(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// ---------------------------------------------------------------------------
// Class registry

namespace {

struct NoCase {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
  }
};

struct Registry {
  std::vector<std::unique_ptr<TClass>> classes;
  std::map<std::string, const TClass*, NoCase> byName;
};

// Never destroyed: components freed after main still ask for their class.
Registry& TheRegistry() {
  static auto* r = new Registry;
  return *r;
}

}  // namespace

void EnsureFrameworkClasses();  // Registration.cpp: touches every framework class

const TClass& RegisterClassObject(std::unique_ptr<TClass> c) {
  Registry& r = TheRegistry();
  const TClass* raw = c.get();
  r.classes.push_back(std::move(c));
  r.byName[raw->name] = raw;
  return *raw;
}

const TClass* FindClass(std::string_view name) {
  EnsureFrameworkClasses();
  Registry& r = TheRegistry();
  auto it = r.byName.find(std::string(name));
  return it == r.byName.end() ? nullptr : it->second;
}

const TClass& GetClass(std::string_view name) {
  if (const TClass* c = FindClass(name)) return *c;
  throw EReadError(L"Class " + Utf8ToString(name) + L" not found");
}

bool TClass::InheritsFrom(const TClass& other) const {
  for (const TClass* c = this; c; c = c->parent)
    if (c == &other) return true;
  return false;
}

const PropInfo* TClass::FindProperty(std::string_view name) const {
  for (const TClass* c = this; c; c = c->parent)
    for (const PropInfo& p : c->properties)
      if (SameText(p.name, name)) return &p;
  return nullptr;
}

const HandlerInfo* TClass::FindHandler(std::string_view name) const {
  for (const TClass* c = this; c; c = c->parent)
    for (const HandlerInfo& h : c->handlers)
      if (SameText(h.name, name)) return &h;
  return nullptr;
}

const FieldInfo* TClass::FindField(std::string_view name) const {
  for (const TClass* c = this; c; c = c->parent)
    for (const FieldInfo& f : c->fields)
      if (SameText(f.name, name)) return &f;
  return nullptr;
}

const TClass& TObject::StaticClass() {
  static const TClass& c = [] () -> const TClass& {
    auto root = std::make_unique<TClass>();
    root->name = "TObject";
    return RegisterClassObject(std::move(root));
  }();
  return c;
}

// ---------------------------------------------------------------------------
// Property access by name

const PropInfo* FindPropInfo(const TObject* object, std::string_view name) {
  return object ? object->ClassType().FindProperty(name) : nullptr;
}

bool HasPublishedProperty(const TObject* object, std::string_view name) {
  return FindPropInfo(object, name) != nullptr;
}

namespace {

const PropInfo& NeedProp(const TObject* object, std::string_view name) {
  const PropInfo* p = FindPropInfo(object, name);
  if (!p)
    throw EConvertError(L"Property " + Utf8ToString(name) + L" does not exist in " +
                        (object ? object->ClassName() : L"nil"));
  return *p;
}

[[noreturn]] void WrongKind(const PropInfo& p) {
  throw EConvertError(L"Property " + Utf8ToString(p.name) + L" has another type");
}

}  // namespace

std::int64_t GetOrdProp(TObject* object, std::string_view name) {
  const PropInfo& p = NeedProp(object, name);
  if (!p.getOrd) WrongKind(p);
  return p.getOrd(object);
}

void SetOrdProp(TObject* object, std::string_view name, std::int64_t value) {
  const PropInfo& p = NeedProp(object, name);
  if (!p.setOrd) WrongKind(p);
  p.setOrd(object, value);
}

String GetStrProp(TObject* object, std::string_view name) {
  const PropInfo& p = NeedProp(object, name);
  if (!p.getStr) WrongKind(p);
  return p.getStr(object);
}

void SetStrProp(TObject* object, std::string_view name, const String& value) {
  const PropInfo& p = NeedProp(object, name);
  if (!p.setStr) WrongKind(p);
  p.setStr(object, value);
}

TObject* GetObjectProp(TObject* object, std::string_view name) {
  const PropInfo& p = NeedProp(object, name);
  if (!p.getObj) WrongKind(p);
  return p.getObj(object);
}

void SetObjectProp(TObject* object, std::string_view name, TObject* value) {
  const PropInfo& p = NeedProp(object, name);
  if (p.kind == PropKind::Component) {
    if (value && !value->InheritsFrom(*p.refClass))
      throw EConvertError(L"Property " + Utf8ToString(p.name) + L" needs a " + Utf8ToString(p.refClass->name));
    p.setObj(object, value);
  } else if (p.kind == PropKind::Object || p.kind == PropKind::Collection) {
    auto* target = dynamic_cast<TPersistent*>(p.getObj(object));
    if (target) target->Assign(dynamic_cast<TPersistent*>(value));
  } else {
    WrongKind(p);
  }
}

void SetEnumProp(TObject* object, std::string_view name, std::string_view valueName) {
  const PropInfo& p = NeedProp(object, name);
  if (p.kind != PropKind::Enum) WrongKind(p);
  for (std::size_t i = 0; i < p.names.size(); ++i) {
    if (SameText(p.names[i], valueName)) {
      p.setOrd(object, std::int64_t(i));
      return;
    }
  }
  throw EConvertError(L"Invalid value " + Utf8ToString(valueName) + L" for " + Utf8ToString(p.name));
}

// Copies every readable published property from one object to another of the
// same class: values, references, and sub-objects by assignment, or property
// by property where the sub-object's class has no assignment of its own.
static void CopyPublished(const TClass& cls, TObject* from, TObject* to) {
  for (const TClass* c = &cls; c; c = c->parent) {
    for (const PropInfo& p : c->properties) {
      if (p.getOrd && p.setOrd) {
        p.setOrd(to, p.getOrd(from));
      } else if (p.getStr && p.setStr) {
        p.setStr(to, p.getStr(from));
      } else if (p.kind == PropKind::Component && p.setObj) {
        p.setObj(to, p.getObj(from));
      } else if (p.kind == PropKind::Object || p.kind == PropKind::Collection) {
        auto* target = dynamic_cast<TPersistent*>(p.getObj(to));
        auto* source = dynamic_cast<TPersistent*>(p.getObj(from));
        if (!target || !source) continue;
        try {
          target->Assign(source);
        } catch (const EConvertError&) {
          if (!source->ClassType().InheritsFrom(target->ClassType())) throw;
          CopyPublished(target->ClassType(), source, target);
        }
      }
    }
  }
}

// ---------------------------------------------------------------------------
// TPersistent

KESTU_PUBLISH(TPersistent) {}

void TPersistent::Assign(const TPersistent* source) {
  if (source) {
    source->AssignTo(this);
  } else {
    throw EConvertError(L"Cannot assign nil to a " + ClassName());
  }
}

void TPersistent::AssignTo(TPersistent* dest) const {
  throw EConvertError(L"Cannot assign a " + ClassName() + L" to a " + dest->ClassName());
}

// ---------------------------------------------------------------------------
// TComponent

KESTU_PUBLISH(TComponent) {
  p.Str("Name", &TComponent::Name, &TComponent::SetName);
  p.Int("Tag", &TComponent::Tag, &TComponent::SetTag, 0);
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) {
    if (AOwner->HasState(csDesigning)) state_ |= csDesigning;
    AOwner->InsertComponent(this);
  }
}

TComponent::~TComponent() {
  Destroying();
  // Tell everyone who asked; each may remove itself from our list meanwhile.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& back = other->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Destroying() {
  if (state_ & csDestroying) return;
  state_ |= csDestroying;
  for (TComponent* c : components_) c->Destroying();
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    RemoveComponent(last);
    delete last;
  }
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->owner_) component->owner_->RemoveComponent(component);
  if (!component->name_.empty()) ValidateRename(component->name_);
  components_.push_back(component);
  component->owner_ = this;
  NotifyOwned(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it == components_.end()) return;
  components_.erase(it);
  component->owner_ = nullptr;
  NotifyOwned(component, opRemove);
}

void TComponent::NotifyOwned(TComponent* component, TOperation operation) {
  Notification(component, operation);
  for (TComponent* c : std::vector<TComponent*>(components_))
    if (c != component) c->Notification(component, operation);
}

void TComponent::AnnounceInsertion() {
  if (owner_) owner_->NotifyOwned(this, opInsert);
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  return int(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(const String& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (CompareStringOrdinal(c->name_.c_str(), int(c->name_.size()), name.c_str(), int(name.size()), TRUE) ==
        CSTR_EQUAL)
      return c;
  return nullptr;
}

void TComponent::ValidateRename(const String& name) const {
  for (wchar_t ch : name)
    if (!(std::iswalnum(ch) || ch == L'_') || ch > 0x7F)
      throw EComponentError(L"\"" + name + L"\" is not a valid component name");
  if (!name.empty() && (name[0] >= L'0' && name[0] <= L'9'))
    throw EComponentError(L"\"" + name + L"\" is not a valid component name");
}

void TComponent::SetName(const String& value) {
  if (value == name_) return;
  ValidateRename(value);
  if (owner_) {
    TComponent* existing = owner_->FindComponent(value);
    if (existing && existing != this)
      throw EComponentError(L"A component named " + value + L" already exists");
  }
  name_ = value;
}

void TComponent::SetDesigning(bool value) {
  if (value) state_ |= csDesigning;
  else state_ &= ~csDesigning;
  for (TComponent* c : components_) c->SetDesigning(value);
}

void TComponent::SetLoading(bool value) {
  if (value) state_ |= csLoading;
  else state_ &= ~csLoading;
}

void TComponent::SetReading(bool value) {
  if (value) state_ |= csReading;
  else state_ &= ~csReading;
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  auto add = [](std::vector<TComponent*>& list, TComponent* c) {
    if (std::find(list.begin(), list.end(), c) == list.end()) list.push_back(c);
  };
  add(AComponent->freeNotifies_, this);
  add(freeNotifies_, AComponent);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  auto& a = AComponent->freeNotifies_;
  a.erase(std::remove(a.begin(), a.end(), this), a.end());
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), AComponent), freeNotifies_.end());
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::Loaded() { state_ &= ~csLoading; }

// ---------------------------------------------------------------------------
// Collections

KESTU_PUBLISH(TCollectionItem) {}
KESTU_PUBLISH(TCollection) {}

void TCollectionItem::Assign(const TPersistent* source) {
  if (!source) return TPersistent::Assign(source);
  CopyPublishedProperties(source, this);
}

int TCollectionItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void TCollectionItem::Changed() {
  if (collection_) collection_->Update(this);
}

TCollection::TCollection(const TClass& itemClass, TPersistent* owner) : itemClass_(&itemClass), owner_(owner) {}

TCollection::~TCollection() = default;

TCollectionItem* TCollection::Add() {
  if (!itemClass_->createItem) throw EConvertError(L"Cannot create items of " + Utf8ToString(itemClass_->name));
  items_.emplace_back(itemClass_->createItem(this));
  Update(nullptr);
  return items_.back().get();
}

void TCollection::Delete(int index) {
  items_.erase(items_.begin() + index);
  Update(nullptr);
}

void TCollection::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Update(nullptr);
}

int TCollection::IndexOf(const TCollectionItem* item) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return int(i);
  return -1;
}

void TCollection::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TCollection*>(source);
  if (!other) return TPersistent::Assign(source);
  if (other == this) return;
  items_.clear();
  for (const auto& item : other->items_) {
    TCollectionItem* copy = Add();
    copy->Assign(item.get());
  }
  Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {
  if (onChange_) onChange_(this);
}

}  // namespace kestu

// Collection items copy their published properties by default.
namespace kestu {
void CopyPublishedProperties(const TPersistent* from, TPersistent* to) {
  if (from->ClassType().InheritsFrom(to->ClassType()))
    CopyPublished(to->ClassType(), const_cast<TPersistent*>(from), to);
  else
    throw EConvertError(L"Cannot assign a " + from->ClassName() + L" to a " + to->ClassName());
}
}  // namespace kestu
