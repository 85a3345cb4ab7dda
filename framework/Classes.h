// The component model: ownership, names, loading state and removal notification. Every
// window, control and non-visual part of the program is a TComponent.
#pragma once
#include <any>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/rtl/Exceptions.h"

class TObject {
public:
  virtual ~TObject() = default;
};

class TComponent;
class TLayoutValue;
class TPropertyTable;

using TNotifyEvent = std::function<void(TObject* Sender)>;

enum class TOperation { opInsert, opRemove };

// Bits of TComponent::ComponentState.
enum TComponentStateBit : unsigned {
  csLoading = 1,     // the layout reader is setting its stored properties
  csReading = 2,     // its properties are being read from a stream
  csWriting = 4,     // its properties are being written to a stream
  csDestroying = 8,
  csDesigning = 16,  // edited in a form designer, not run
};
using TComponentState = unsigned;

// What a component's SetProperty did with a stored property of a window layout.
enum class TSetPropResult {
  Done,           // stored
  Unknown,        // no such property
  NeedsReference  // a reference to another component: ask again once every component exists
};

class EComponentError : public Exception { using Exception::Exception; };

class TComponent : public TObject {
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  virtual void SetName(const std::string& Value);

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;
  // Case-insensitive, among the components this one owns.
  TComponent* FindComponent(const std::string& AName) const;

  TComponentState ComponentState() const { return FComponentState; }
  bool IsLoading() const { return FComponentState & csLoading; }
  bool IsReadingOrLoading() const { return FComponentState & (csLoading | csReading); }
  bool IsWriting() const { return FComponentState & csWriting; }
  bool IsDestroying() const { return FComponentState & csDestroying; }
  bool IsDesigning() const { return FComponentState & csDesigning; }
  void SetComponentStateBit(TComponentStateBit Bit, bool On);

  // Ends loading: the layout reader calls it on every component once all stored properties,
  // references included, are set.
  virtual void Loaded();
  // The layout reader tells each component the component it is nested in (a control's parent,
  // a menu item's menu).
  virtual void SetParentComponent(TComponent* /*Value*/) {}

  // Asks to be told (Notification opRemove) when AComponent is destroyed, across owners.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  // Destroys every owned component, the last created first.
  void DestroyComponents();

  // A stored property of a window layout, by name (in any case): looked up in the class's
  // property table, then in its base classes'.
  virtual TSetPropResult SetProperty(const std::string& PropName, const TLayoutValue& Value);
  // The table of the stored properties of the component's class (see PropertyTable.h).
  virtual const TPropertyTable& PropertyTable() const;

  // Event handlers that a window layout can name (a window registers its own methods).
  void RegisterMethod(const std::string& MethodName, std::any Handler);
  const std::any* FindMethod(const std::string& MethodName) const;

  // Any value the program wants to keep with the component.
  int Tag = 0;

protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  void Destroying() { FComponentState |= csDestroying; }

private:
  TComponent* FOwner = nullptr;
  std::string FName;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState = 0;
  std::map<std::string, std::any> FMethods;
};

// Casts a component to a class, or nullptr: the framework's spelling of "is" and "as".
template <class T>
T* As(TObject* Obj) { return dynamic_cast<T*>(Obj); }
template <class T>
bool Is(const TObject* Obj) { return dynamic_cast<const T*>(Obj) != nullptr; }

// Gives a variable a value for the life of a scope and puts the old one back however the scope
// ends, an exception included.
template <class T>
class TScopedValue {
public:
  TScopedValue(T& Variable, T Value) : FVariable(Variable), FSaved(std::move(Variable)) {
    FVariable = std::move(Value);
  }
  ~TScopedValue() { FVariable = std::move(FSaved); }
  TScopedValue(const TScopedValue&) = delete;
  TScopedValue& operator=(const TScopedValue&) = delete;

private:
  T& FVariable;
  T FSaved;
};
