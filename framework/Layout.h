// Window layouts: the stored properties of a window and of everything it owns, kept as text and
// linked into the program. The layout reader creates the components by class name, sets their
// properties while they are loading, resolves references to other components once all exist,
// then calls Loaded on each.
//
// The format, one item per line, nesting by indentation (two spaces a level):
//
//   # a comment
//   TfrmVersora frmVersora              the window itself: class and name
//     Caption = "Versora - click"        a property of the enclosing component
//     Font.Name = "MS Sans Serif"        a property of a property
//     TStringGrid strgrd                 a component owned by the window; when it is a control
//       Left = 0                         its parent is the enclosing control (a menu item's, the
//                                        enclosing menu or item: SetParentComponent)
//       ColWidths = [115, 115, 123]      a list
//       Options = [goFixedVertLine]      a set
//       OnMouseUp = strgrdMouseUp        an event: a method the window registered by that name
//
// Values: whole numbers (decimal, or hexadecimal after "$"; 32 bits, "$FFFFFFFF" being -1; a
// number followed by letters, such as 12ab or 1e5, is an error), "strings" (with the escapes \",
// \\, \r, \n, \t and \xHH), identifiers (enumeration values, true and false, names of components and
// methods) and [lists] of values, nested at most 8 deep. A line may end in a "# comment"; any
// other text after a value or a component's name is an error.
#pragma once
#include <any>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "framework/Classes.h"

class ELayoutError : public Exception { using Exception::Exception; };

class TLayoutValue {
public:
  enum class TKind { Integer, String, Ident, List };

  TKind Kind = TKind::Integer;
  long long Int = 0;
  std::string Text;                 // a string's text or an identifier
  std::vector<TLayoutValue> Items;  // a list's values
  TComponent* Root = nullptr;       // the window being loaded, which holds the event methods
  TComponent* Reference = nullptr;  // the named component, once references are resolved

  int AsInteger() const;
  const std::string& AsString() const;
  const std::string& AsIdent() const;
  bool AsBoolean() const;
  std::vector<int> AsIntegerList() const;

  template <class E>
  E AsEnum(std::initializer_list<std::pair<const char*, E>> Names) const {
    for (auto& [name, value] : Names)
      if (AsIdent() == name) return value;
    throw ELayoutError("Invalid property value: " + Text);
  }

  // A set of flags, each identifier one bit (or bits) of the result.
  unsigned AsSet(std::initializer_list<std::pair<const char*, unsigned>> Names) const;

  // The window's registered method named by this value, as the event type F.
  template <class F>
  F AsEvent() const {
    const std::any* m = Root ? Root->FindMethod(AsIdent()) : nullptr;
    if (!m) throw ELayoutError("Method " + Text + " not found");
    const F* f = std::any_cast<F>(m);
    if (!f) throw ELayoutError("Method " + Text + " does not fit the event");
    return *f;
  }
};

using TComponentFactory = std::function<TComponent*(TComponent* Owner)>;

// Makes a class creatable by name from layouts. The framework's own classes are known already.
void RegisterComponentClass(const std::string& ClassName, TComponentFactory Factory);

template <class T>
void RegisterComponentClass(const std::string& ClassName) {
  RegisterComponentClass(ClassName, [](TComponent* Owner) -> TComponent* { return new T(Owner); });
}

// Reads the layout text into Root, which is already constructed: the first line names Root's
// class and name; the components below are created owned by Root.
void ReadLayoutText(TComponent* Root, const std::string& Text);

// Reads the layout linked into the program under Name.
void ReadLayout(TComponent* Root, const std::string& LayoutName);

// The text of a linked layout, or empty when there is none (supplied by the backend).
std::string LinkedLayoutText(const std::string& LayoutName);
