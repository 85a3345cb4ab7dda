#include "framework/Classes.h"

#include <algorithm>

#include "framework/Layout.h"
#include "framework/PropertyTable.h"
#include "framework/rtl/SysUtils.h"

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Whoever asked to be told forgets this component before it goes.
  auto notifies = std::move(FFreeNotifies);
  for (TComponent* c : notifies) {
    c->RemoveFreeNotification(this);
    c->Notification(this, TOperation::opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::SetName(const std::string& Value) {
  if (Value == FName) return;
  if (!Value.empty() && FOwner) {
    TComponent* other = FOwner->FindComponent(Value);
    if (other && other != this)
      throw EComponentError("A component named " + Value + " already exists");
  }
  FName = Value;
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FComponents[Index];
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, AName)) return c;
  return nullptr;
}

void TComponent::SetComponentStateBit(TComponentStateBit Bit, bool On) {
  if (On) FComponentState |= Bit;
  else FComponentState &= ~static_cast<unsigned>(Bit);
}

void TComponent::Loaded() { SetComponentStateBit(csLoading, false); }

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
    FFreeNotifies.push_back(AComponent);
  auto& theirs = AComponent->FFreeNotifies;
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  // Both sides forget the link, or the other one would later notify a destroyed component.
  std::erase(FFreeNotifies, AComponent);
  if (AComponent) std::erase(AComponent->FFreeNotifies, this);
}

void TComponent::InsertComponent(TComponent* AComponent) {
  FW_ASSERT(AComponent && !AComponent->FOwner);
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (it == FComponents.end()) return;
  FComponents.erase(it);
  AComponent->FOwner = nullptr;
  Notification(AComponent, TOperation::opRemove);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* last = FComponents.back();
    RemoveComponent(last);
    delete last;
  }
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  // The owner passes a removal on to everything it owns, so that references between siblings
  // are cleared before the removed component is gone.
  if (Operation == TOperation::opRemove && AComponent)
    RemoveFreeNotification(AComponent);
  if (Operation != TOperation::opRemove) return;
  auto owned = FComponents;
  for (TComponent* c : owned)
    if (c != AComponent) c->Notification(AComponent, Operation);
}

TSetPropResult TComponent::SetProperty(const std::string& PropName, const TLayoutValue& Value) {
  const TPropertyTable::TSetter* set = PropertyTable().Find(PropName);
  return set ? (*set)(*this, Value) : TSetPropResult::Unknown;
}

const TPropertyTable& TComponent::PropertyTable() const {
  static const TPropertyTable Table(nullptr, {
      {"Name", StringProperty(&TComponent::SetName)},
      {"Tag", Setter<TComponent>([](TComponent& C, const TLayoutValue& V) { C.Tag = V.AsInteger(); })},
  });
  return Table;
}

// ---------------------------------------------------------------------------------------------
// TPropertyTable

std::vector<std::string> StringListValue(const TLayoutValue& Value) {
  if (Value.Kind != TLayoutValue::TKind::List) throw ELayoutError("a list is expected");
  std::vector<std::string> out;
  for (auto& item : Value.Items) out.push_back(item.AsString());
  return out;
}

bool TPropertyTable::TTextLess::operator()(const std::string& A, const std::string& B) const {
  return CompareText(A, B) < 0;
}

TPropertyTable::TPropertyTable(const TPropertyTable* Base, std::initializer_list<TEntry> Entries)
    : FBase(Base) {
  for (const TEntry& e : Entries) FSetters.emplace(e.Name, e.Set);
}

const TPropertyTable::TSetter* TPropertyTable::Find(const std::string& Name) const {
  for (const TPropertyTable* table = this; table; table = table->FBase)
    if (auto it = table->FSetters.find(Name); it != table->FSetters.end()) return &it->second;
  return nullptr;
}

void TComponent::RegisterMethod(const std::string& MethodName, std::any Handler) {
  FMethods[MethodName] = std::move(Handler);
}

const std::any* TComponent::FindMethod(const std::string& MethodName) const {
  auto it = FMethods.find(MethodName);
  return it == FMethods.end() ? nullptr : &it->second;
}
