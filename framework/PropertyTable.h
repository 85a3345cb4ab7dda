// The stored properties that a window layout sets by name: one small table per class, name to
// setter, that names its base class's table to be searched next. Names match in any case.
//
//   const TPropertyTable& TButton::PropertyTable() const {
//     static const TPropertyTable Table(&TWinControl::PropertyTable(), {
//         {"Default", BooleanProperty(&TButton::SetDefault)},
//         {"OnClick", EventProperty(&TControl::OnClick)}});
//     return Table;
//   }
#pragma once
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/Classes.h"
#include "framework/Layout.h"

class TPropertyTable {
public:
  using TSetter = std::function<TSetPropResult(TComponent& Target, const TLayoutValue& Value)>;
  struct TEntry {
    const char* Name;
    TSetter Set;
  };

  TPropertyTable(const TPropertyTable* Base, std::initializer_list<TEntry> Entries);

  // The setter of the property from this table or the nearest base class's, or nullptr.
  const TSetter* Find(const std::string& Name) const;

private:
  struct TTextLess {
    bool operator()(const std::string& A, const std::string& B) const;
  };
  const TPropertyTable* FBase;
  std::map<std::string, TSetter, TTextLess> FSetters;
};

// A [list] of strings.
std::vector<std::string> StringListValue(const TLayoutValue& Value);

// A setter of class T's table: Set takes the T and the value, and returns nothing (stored) or
// a TSetPropResult.
template <class T, class F>
TPropertyTable::TSetter Setter(F Set) {
  return [Set](TComponent& Target, const TLayoutValue& Value) {
    T& target = static_cast<T&>(Target);
    if constexpr (std::is_void_v<std::invoke_result_t<const F&, T&, const TLayoutValue&>>) {
      Set(target, Value);
      return TSetPropResult::Done;
    } else {
      return Set(target, Value);
    }
  };
}

template <class T>
TPropertyTable::TSetter IntegerProperty(void (T::*Set)(int)) {
  return Setter<T>([Set](T& Target, const TLayoutValue& Value) { (Target.*Set)(Value.AsInteger()); });
}

template <class T>
TPropertyTable::TSetter BooleanProperty(void (T::*Set)(bool)) {
  return Setter<T>([Set](T& Target, const TLayoutValue& Value) { (Target.*Set)(Value.AsBoolean()); });
}

template <class T>
TPropertyTable::TSetter StringProperty(void (T::*Set)(const std::string&)) {
  return Setter<T>([Set](T& Target, const TLayoutValue& Value) { (Target.*Set)(Value.AsString()); });
}

// An event: the window's registered method of that name.
template <class T, class E>
TPropertyTable::TSetter EventProperty(E T::*Event) {
  return Setter<T>([Event](T& Target, const TLayoutValue& Value) { Target.*Event = Value.AsEvent<E>(); });
}

// A reference to another component of class R, set once every component of the layout exists;
// What names the class in the error ("a dataset").
template <class T, class R>
TPropertyTable::TSetter ReferenceProperty(void (T::*Set)(R*), const char* What) {
  return Setter<T>([Set, What](T& Target, const TLayoutValue& Value) {
    if (!Value.Reference) return TSetPropResult::NeedsReference;
    auto* component = As<R>(Value.Reference);
    if (!component) throw ELayoutError(Value.Text + " is not " + What);
    (Target.*Set)(component);
    return TSetPropResult::Done;
  });
}
