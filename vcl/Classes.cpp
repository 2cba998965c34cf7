// Class descriptions, the class registry and the component tree.
#include "vcl/Classes.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

struct NoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
  }
};

std::map<std::string, const TClassInfo*, NoCaseLess>& Registry() {
  static std::map<std::string, const TClassInfo*, NoCaseLess> registry;
  return registry;
}

bool IsIdent(const AnsiString& name) {
  std::string_view s = name.View();
  if (s.empty()) return true;
  auto alpha = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; };
  if (!alpha(s[0])) return false;
  return std::all_of(s.begin(), s.end(),
                     [&](char c) { return alpha(c) || std::isdigit(static_cast<unsigned char>(c)); });
}

}  // namespace

const char* IdentTable::NameOf(std::int64_t value) const {
  for (const auto& [name, v] : entries)
    if (v == value) return name;
  return nullptr;
}

std::optional<std::int64_t> IdentTable::ValueOf(std::string_view name) const {
  for (const auto& [n, v] : entries)
    if (SameText(n, name)) return v;
  return std::nullopt;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->parent)
    if (c == &other) return true;
  return false;
}

std::vector<const PropInfo*> TClassInfo::AllProps() const {
  std::vector<const PropInfo*> all = parent ? parent->AllProps() : std::vector<const PropInfo*>{};
  for (const PropInfo& p : props) {
    auto same = std::find_if(all.begin(), all.end(), [&](const PropInfo* q) { return q->name == p.name; });
    if (same != all.end())
      *same = &p;
    else
      all.push_back(&p);
  }
  return all;
}

const PropInfo* TClassInfo::FindProp(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent)
    for (const PropInfo& p : c->props)
      if (SameText(p.name, name)) return &p;
  return nullptr;
}

const MethodInfo* TClassInfo::FindMethod(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent)
    for (const MethodInfo& m : c->methods)
      if (SameText(m.name, name)) return &m;
  return nullptr;
}

const MethodInfo* TClassInfo::FindMethodByCode(AnyCode code) const {
  for (const TClassInfo* c = this; c; c = c->parent)
    for (const MethodInfo& m : c->methods)
      if (m.code == code) return &m;
  return nullptr;
}

const FieldInfo* TClassInfo::FindField(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent)
    for (const FieldInfo& f : c->fields)
      if (SameText(f.name, name)) return &f;
  return nullptr;
}

void RegisterComponentClass(const TClassInfo& info) { Registry()[info.name] = &info; }

const TClassInfo* FindClass(std::string_view name) {
  auto it = Registry().find(std::string(name));
  return it == Registry().end() ? nullptr : it->second;
}

// ---- TObject, TPersistent

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info{"TObject", nullptr, nullptr, {}, {}, {}};
  return info;
}

const TClassInfo& TPersistent::StaticClass() {
  static const TClassInfo info{"TPersistent", &TObject::StaticClass(), nullptr, {}, {}, {}};
  return info;
}

void TPersistent::Assign(const TPersistent&) { throw EInvalidCast(msg::kInvalidCast); }

// ---- TComponent

const TClassInfo& TComponent::StaticClass() {
  static const TClassInfo info{
      "TComponent", &TPersistent::StaticClass(),
      nullptr,      {props::Ord("Tag", PropKind::Integer, &TComponent::Tag, &TComponent::SetTag, 0)},
      {},           {}};
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  state_ |= csDestroying;
  if (owner_) owner_->NotifyTree(this, TOperation::opRemove);
  while (!components_.empty()) {
    TComponent* last = components_.back();
    RemoveComponent(last);
    delete last;
  }
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::NotifyTree(TComponent* component, TOperation operation) {
  Notification(component, operation);
  for (TComponent* c : components_)
    if (c != component) c->Notification(component, operation);
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::SetName(const AnsiString& name) {
  if (name == name_) return;
  if (!IsIdent(name)) throw EComponentError(Fmt(msg::kInvalidName, {name}));
  if (owner_ && !name.IsEmpty()) {
    TComponent* same = owner_->FindComponent(name.View());
    if (same && same != this) throw EComponentError(Fmt(msg::kDuplicateName, {name}));
  }
  name_ = name;
}

void TComponent::SetDesigning(bool on) {
  if (on)
    state_ |= csDesigning;
  else
    state_ &= ~csDesigning;
  for (TComponent* c : components_) c->SetDesigning(on);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->name_.View(), name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->owner_) component->owner_->RemoveComponent(component);
  components_.push_back(component);
  component->owner_ = this;
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it == components_.end()) return;
  components_.erase(it);
  component->owner_ = nullptr;
}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::GetChildren(std::vector<TComponent*>&, TComponent*) {}

void TComponent::Loaded() { state_ &= ~csLoading; }
