// Objects, events, published properties described once per class, and components with owner and name.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

#include "vcl/AnsiString.h"
#include "vcl/SysUtils.h"

class TObject;
class TPersistent;
class TComponent;
struct TClassInfo;

// ---- Events: an object and a function that calls one of its methods.
using AnyCode = void (*)();

template <class... Args>
class TEvent {
 public:
  using Code = void (*)(TObject*, Args...);
  TEvent() = default;
  TEvent(TObject* data, Code code) : data_(data), code_(code) {}
  explicit operator bool() const { return code_ != nullptr; }
  void operator()(Args... args) const {
    if (code_) code_(data_, args...);
  }
  TObject* Data() const { return data_; }
  Code GetCode() const { return code_; }
  friend bool operator==(const TEvent& a, const TEvent& b) { return a.data_ == b.data_ && a.code_ == b.code_; }

 private:
  TObject* data_ = nullptr;
  Code code_ = nullptr;
};

template <class M>
struct MethodTraits;
template <class C, class... A>
struct MethodTraits<void (C::*)(A...)> {
  using Class = C;
  using Event = TEvent<A...>;
  template <auto M>
  static void Call(TObject* self, A... args) {
    (static_cast<C*>(self)->*M)(args...);
  }
};

// Bind<&TForm1::FormShow>(form) makes the event that calls form->FormShow.
template <auto M>
typename MethodTraits<decltype(M)>::Event Bind(typename MethodTraits<decltype(M)>::Class* self) {
  using T = MethodTraits<decltype(M)>;
  return typename T::Event(self, &T::template Call<M>);
}

using TNotifyEvent = TEvent<TObject*>;

template <class M>
struct MemberTraits;
template <class C, class T>
struct MemberTraits<T C::*> {
  using Class = C;
  using Type = T;
};

// ---- Published properties
enum class PropKind { Integer, Bool, Enum, Set, IntIdent, String, Object, Event, Component };

// Names of an enumeration (by ordinal), a set (by bit) or an integer with named values.
struct IdentTable {
  std::vector<std::pair<const char*, std::int64_t>> entries;
  const char* NameOf(std::int64_t value) const;
  std::optional<std::int64_t> ValueOf(std::string_view name) const;  // case-insensitive
};

struct PropInfo {
  std::string name;
  PropKind kind = PropKind::Integer;
  const IdentTable* idents = nullptr;
  std::function<std::int64_t(TObject*)> getOrd;
  std::function<void(TObject*, std::int64_t)> setOrd;
  std::function<AnsiString(TObject*)> getStr;
  std::function<void(TObject*, const AnsiString&)> setStr;
  std::function<TPersistent*(TObject*)> getObj;
  std::function<TComponent*(TObject*)> getComp;
  std::function<void(TObject*, TComponent*)> setComp;
  const std::type_info* eventType = nullptr;
  std::function<std::pair<TObject*, AnyCode>(TObject*)> getEvent;
  std::function<void(TObject*, TObject*, AnyCode)> setEvent;
  std::optional<std::int64_t> def;       // the stored default: a value equal to it is not written
  std::function<bool(TObject*)> stored;  // a storage rule of its own (Font under ParentFont, ...)
};

// A method a form file may name as an event handler.
struct MethodInfo {
  std::string name;
  const std::type_info* eventType;
  AnyCode code;
};
// A published field that a form file fills with the component of the same name.
struct FieldInfo {
  std::string name;
  std::function<bool(TObject*, TComponent*)> assign;  // false when the component is of another class
  // The field's class. Naming it links that class's unit, and with it the unit's class registration, into a
  // program built from static libraries even where nothing else of the program calls into the unit.
  const TClassInfo& (*fieldClass)() = nullptr;
};

struct TClassInfo {
  const char* name;
  const TClassInfo* parent;
  TComponent* (*create)(TComponent* owner);  // null for classes a form file cannot create
  std::vector<PropInfo> props;               // own additions; a name already inherited replaces it in place
  std::vector<MethodInfo> methods;
  std::vector<FieldInfo> fields;

  bool InheritsFrom(const TClassInfo& other) const;
  // Every published property, base classes first.
  std::vector<const PropInfo*> AllProps() const;
  const PropInfo* FindProp(std::string_view name) const;
  const MethodInfo* FindMethod(std::string_view name) const;
  const MethodInfo* FindMethodByCode(AnyCode code) const;
  const FieldInfo* FindField(std::string_view name) const;
};

// Declares the class's description; define it in the source with VCL_DEFINE_CLASS.
#define VCL_DECLARE_CLASS(Self)                                          \
 public:                                                                 \
  static const TClassInfo& StaticClass();                                \
  const TClassInfo& ClassType() const override { return StaticClass(); } \
                                                                         \
 private:

// Builders of property descriptors, over getters and setters or plain fields.
namespace props {
// The getter and the setter may come from different classes of one hierarchy (a setter overridden lower down).
template <class G, class S, class T, class U>
PropInfo Ord(const char* name, PropKind kind, T (G::*get)() const, void (S::*set)(U),
             std::optional<std::int64_t> def = std::nullopt, const IdentTable* idents = nullptr) {
  PropInfo p;
  p.name = name;
  p.kind = kind;
  p.idents = idents;
  p.getOrd = [get](TObject* o) { return static_cast<std::int64_t>((static_cast<G*>(o)->*get)()); };
  p.setOrd = [set](TObject* o, std::int64_t v) { (static_cast<S*>(o)->*set)(static_cast<U>(v)); };
  p.def = def;
  return p;
}
template <class C, class T>
PropInfo OrdField(const char* name, PropKind kind, T C::*field, std::optional<std::int64_t> def = std::nullopt,
                  const IdentTable* idents = nullptr) {
  PropInfo p;
  p.name = name;
  p.kind = kind;
  p.idents = idents;
  p.getOrd = [field](TObject* o) { return static_cast<std::int64_t>(static_cast<C*>(o)->*field); };
  p.setOrd = [field](TObject* o, std::int64_t v) { static_cast<C*>(o)->*field = static_cast<T>(v); };
  p.def = def;
  return p;
}
template <class G, class S>
PropInfo Str(const char* name, AnsiString (G::*get)() const, void (S::*set)(const AnsiString&)) {
  PropInfo p;
  p.name = name;
  p.kind = PropKind::String;
  p.getStr = [get](TObject* o) { return (static_cast<G*>(o)->*get)(); };
  p.setStr = [set](TObject* o, const AnsiString& v) { (static_cast<S*>(o)->*set)(v); };
  return p;
}
template <class C, class T>
PropInfo Obj(const char* name, T* (C::*get)() const, bool (C::*stored)() const = nullptr) {
  PropInfo p;
  p.name = name;
  p.kind = PropKind::Object;
  p.getObj = [get](TObject* o) -> TPersistent* { return (static_cast<C*>(o)->*get)(); };
  if (stored) p.stored = [stored](TObject* o) { return (static_cast<C*>(o)->*stored)(); };
  return p;
}
template <class C, class... A>
PropInfo Event(const char* name, TEvent<A...> C::*field) {
  PropInfo p;
  p.name = name;
  p.kind = PropKind::Event;
  p.eventType = &typeid(TEvent<A...>);
  p.getEvent = [field](TObject* o) {
    const TEvent<A...>& e = static_cast<C*>(o)->*field;
    return std::pair<TObject*, AnyCode>(e.Data(), reinterpret_cast<AnyCode>(e.GetCode()));
  };
  p.setEvent = [field](TObject* o, TObject* data, AnyCode code) {
    static_cast<C*>(o)->*field = TEvent<A...>(data, reinterpret_cast<typename TEvent<A...>::Code>(code));
  };
  return p;
}
template <class C, class T>
PropInfo Comp(const char* name, T* (C::*get)() const, void (C::*set)(T*)) {
  PropInfo p;
  p.name = name;
  p.kind = PropKind::Component;
  p.getComp = [get](TObject* o) -> TComponent* { return (static_cast<C*>(o)->*get)(); };
  p.setComp = [set](TObject* o, TComponent* c) {
    T* typed = dynamic_cast<T*>(c);
    if (c && !typed) throw EInvalidCast(msg::kInvalidCast);
    (static_cast<C*>(o)->*set)(typed);
  };
  return p;
}
// Adds an extra storage rule to a descriptor.
template <class C>
PropInfo StoredIf(PropInfo p, bool (C::*stored)() const) {
  p.stored = [stored](TObject* o) { return (static_cast<C*>(o)->*stored)(); };
  return p;
}
}  // namespace props

template <auto M>
MethodInfo PublishedMethod(const char* name) {
  using T = MethodTraits<decltype(M)>;
  return MethodInfo{name, &typeid(typename T::Event), reinterpret_cast<AnyCode>(&T::template Call<M>)};
}
template <auto F>
FieldInfo PublishedField(const char* name) {
  return FieldInfo{name,
                   [](TObject* self, TComponent* c) {
                     using Owner = typename MemberTraits<decltype(F)>::Class;
                     using Field = typename MemberTraits<decltype(F)>::Type;
                     auto* typed = dynamic_cast<Field>(c);
                     if (c && !typed) return false;
                     static_cast<Owner*>(self)->*F = typed;
                     return true;
                   },
                   &std::remove_pointer_t<typename MemberTraits<decltype(F)>::Type>::StaticClass};
}

// ---- The class registry that form files create components from.
void RegisterComponentClass(const TClassInfo& info);
const TClassInfo* FindClass(std::string_view name);  // case-insensitive; null when unknown
struct ClassRegistration {
  explicit ClassRegistration(const TClassInfo& info) { RegisterComponentClass(info); }
};

// ---- Objects
class TObject {
 public:
  virtual ~TObject() = default;
  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }
  const char* ClassName() const { return ClassType().name; }
  bool InheritsFrom(const TClassInfo& info) const { return ClassType().InheritsFrom(info); }
};

class TPersistent : public TObject {
  VCL_DECLARE_CLASS(TPersistent)
 public:
  virtual void Assign(const TPersistent& source);
};

enum class TOperation { opInsert, opRemove };

// Component state bits.
enum : unsigned { csLoading = 1, csReading = 2, csWriting = 4, csDestroying = 8, csDesigning = 16 };

class TComponent : public TPersistent {
  VCL_DECLARE_CLASS(TComponent)
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const AnsiString& Name() const { return name_; }
  virtual void SetName(const AnsiString& name);
  AnsiString GetName() const { return name_; }
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  unsigned ComponentState() const { return state_; }
  bool Loading() const { return (state_ & csLoading) != 0; }
  bool Designing() const { return (state_ & csDesigning) != 0; }
  void SetDesigning(bool on);

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_[static_cast<std::size_t>(index)]; }
  TComponent* FindComponent(std::string_view name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  // The position a designer gave a component that has no bounds of its own.
  int DesignLeft() const { return designLeft_; }
  int DesignTop() const { return designTop_; }
  void SetDesignPos(int left, int top) {
    designLeft_ = left;
    designTop_ = top;
  }

  // Form files: the component that holds this one in the file (a control's parent, a menu item's menu).
  virtual bool HasParent() const { return false; }
  // Components without bounds of their own keep the position a designer gave them.
  virtual bool HasDesignPos() const { return true; }
  virtual void SetParentComponent(TComponent* parent);
  // The components written nested inside this one, in file order.
  virtual void GetChildren(std::vector<TComponent*>& children, TComponent* root);
  // Called once a form file has been read completely.
  virtual void Loaded();
  void BeginLoading() { state_ |= csLoading | csReading; }
  void EndLoading() { state_ &= ~(csLoading | csReading); }

 protected:
  // Told when a component of the same owner tree goes away, so references to it can be cleared.
  virtual void Notification(TComponent* component, TOperation operation);

 private:
  void NotifyTree(TComponent* component, TOperation operation);
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  AnsiString name_;
  int tag_ = 0;
  unsigned state_ = 0;
  int designLeft_ = 0;
  int designTop_ = 0;
};

// Checked downcast, raising the library's invalid-cast error.
template <class T>
T* As(TObject* object) {
  T* result = dynamic_cast<T*>(object);
  if (object && !result) throw EInvalidCast(msg::kInvalidCast);
  return result;
}
