#include "framework/Layout.h"

#include <cctype>
#include <cstdint>
#include <map>

#include "framework/Controls.h"
#include "framework/RegisterClasses.h"
#include "framework/rtl/SysUtils.h"

namespace {

std::map<std::string, TComponentFactory>& Registry() {
  static std::map<std::string, TComponentFactory> registry;
  static bool builtins = false;
  if (!builtins) {
    builtins = true;
    RegisterFrameworkClasses();
  }
  return registry;
}

struct TPendingReference {
  TComponent* Target;
  std::string Property;
  TLayoutValue Value;
  int Line;
};

class TLayoutParser {
public:
  TLayoutParser(TComponent* Root, const std::string& Text) : FRoot(Root), FText(Text) {}

  void Run();

private:
  TComponent* FRoot;
  const std::string& FText;
  int FLine = 0;
  std::vector<TComponent*> FLoaded;
  std::vector<TPendingReference> FPending;

  [[noreturn]] void Fail(const std::string& Msg) const {
    throw ELayoutError("Layout line " + std::to_string(FLine) + ": " + Msg);
  }
  TLayoutValue ParseValue(const std::string& S, size_t& Pos, int Depth = 0) const;
  void SetProperty(TComponent* Target, const std::string& Name, TLayoutValue Value);
  TComponent* FindByName(const std::string& Name) const;
};

void SkipBlanks(const std::string& S, size_t& Pos) {
  while (Pos < S.size() && (S[Pos] == ' ' || S[Pos] == '\t')) ++Pos;
}

bool IsIdentChar(char C) {
  return std::isalnum(static_cast<unsigned char>(C)) || C == '_' || C == '.' || C == '~';
}

// Lists in lists go no deeper than this, so that no layout can exhaust the stack.
constexpr int MaxListDepth = 8;

TLayoutValue TLayoutParser::ParseValue(const std::string& S, size_t& Pos, int Depth) const {
  TLayoutValue v;
  v.Root = FRoot;
  SkipBlanks(S, Pos);
  if (Pos >= S.size()) Fail("a value is missing");
  char c = S[Pos];
  if (c == '"') {
    v.Kind = TLayoutValue::TKind::String;
    ++Pos;
    while (true) {
      if (Pos >= S.size()) Fail("a string is not closed");
      char ch = S[Pos++];
      if (ch == '"') break;
      if (ch != '\\') { v.Text += ch; continue; }
      if (Pos >= S.size()) Fail("a string is not closed");
      char e = S[Pos++];
      switch (e) {
        case 'r': v.Text += '\r'; break;
        case 'n': v.Text += '\n'; break;
        case 't': v.Text += '\t'; break;
        case '"': v.Text += '"'; break;
        case '\\': v.Text += '\\'; break;
        case 'x': {
          if (Pos + 2 > S.size() || !std::isxdigit(static_cast<unsigned char>(S[Pos])) ||
              !std::isxdigit(static_cast<unsigned char>(S[Pos + 1])))
            Fail("\\x needs two hexadecimal digits");
          v.Text += static_cast<char>(std::stoi(S.substr(Pos, 2), nullptr, 16));
          Pos += 2;
          break;
        }
        default: Fail(std::string("unknown escape \\") + e);
      }
    }
  } else if (c == '[') {
    v.Kind = TLayoutValue::TKind::List;
    if (Depth >= MaxListDepth) Fail("lists are nested too deeply");
    ++Pos;
    SkipBlanks(S, Pos);
    if (Pos < S.size() && S[Pos] == ']') { ++Pos; return v; }
    while (true) {
      v.Items.push_back(ParseValue(S, Pos, Depth + 1));
      SkipBlanks(S, Pos);
      if (Pos >= S.size()) Fail("a list is not closed");
      if (S[Pos] == ']') { ++Pos; break; }
      if (S[Pos] != ',') Fail("a list needs \",\" between its values");
      ++Pos;
    }
  } else if (c == '-' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
    v.Kind = TLayoutValue::TKind::Integer;
    bool neg = c == '-';
    if (neg) ++Pos;
    int base = 10;
    if (Pos < S.size() && S[Pos] == '$') { base = 16; ++Pos; }
    size_t start = Pos;
    auto isDigit = [base](char ch) {
      return base == 16 ? std::isxdigit(static_cast<unsigned char>(ch)) : std::isdigit(static_cast<unsigned char>(ch));
    };
    while (Pos < S.size() && isDigit(S[Pos])) ++Pos;
    if (start == Pos) Fail("a number has no digits");
    // "12ab" or "1e5" is no number cut short but an error.
    if (Pos < S.size() && IsIdentChar(S[Pos])) {
      size_t end = Pos;
      while (end < S.size() && IsIdentChar(S[end])) ++end;
      Fail("invalid number " + S.substr(start, end - start));
    }
    // Past 32 bits no property can hold it, and the digits could overflow the conversion.
    if (Pos - start > 10) Fail("number out of range " + S.substr(start, Pos - start));
    v.Int = std::stoll(S.substr(start, Pos - start), nullptr, base);
    // Hexadecimal numbers up to $FFFFFFFF are 32-bit patterns, colours among them.
    if (base == 16 && v.Int > INT32_MAX && v.Int <= UINT32_MAX) v.Int = static_cast<int32_t>(static_cast<uint32_t>(v.Int));
    if (neg) v.Int = -v.Int;
  } else if (IsIdentChar(c)) {
    v.Kind = TLayoutValue::TKind::Ident;
    while (Pos < S.size() && IsIdentChar(S[Pos])) v.Text += S[Pos++];
  } else {
    Fail(std::string("unexpected character '") + c + "'");
  }
  return v;
}

TComponent* TLayoutParser::FindByName(const std::string& Name) const {
  if (SameText(FRoot->Name(), Name)) return FRoot;
  return FRoot->FindComponent(Name);
}

void TLayoutParser::SetProperty(TComponent* Target, const std::string& Name, TLayoutValue Value) {
  TSetPropResult r;
  try {
    r = Target->SetProperty(Name, Value);
  } catch (const ELayoutError& e) {
    Fail(Name + ": " + e.Message());
  }
  if (r == TSetPropResult::Unknown) Fail("unknown property " + Name + " of " + Target->Name());
  if (r == TSetPropResult::NeedsReference) FPending.push_back({Target, Name, std::move(Value), FLine});
}

void TLayoutParser::Run() {
  struct TLevel { int Indent; TComponent* Component; };
  std::vector<TLevel> stack;
  size_t pos = 0;
  bool haveRoot = false;
  while (pos < FText.size()) {
    size_t eol = FText.find('\n', pos);
    std::string line = FText.substr(pos, eol == std::string::npos ? std::string::npos : eol - pos);
    pos = eol == std::string::npos ? FText.size() : eol + 1;
    ++FLine;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t p = 0;
    SkipBlanks(line, p);
    if (p >= line.size() || line[p] == '#') continue;
    int indent = static_cast<int>(p);

    size_t q = p;
    while (q < line.size() && IsIdentChar(line[q])) ++q;
    std::string first = line.substr(p, q - p);
    size_t r = q;
    SkipBlanks(line, r);
    if (first.empty()) Fail("a line must start with a name");

    if (r < line.size() && line[r] == '=') {
      while (!stack.empty() && stack.back().Indent >= indent) stack.pop_back();
      if (stack.empty()) Fail("a property outside any component");
      ++r;
      TLayoutValue v = ParseValue(line, r);
      SkipBlanks(line, r);
      if (r < line.size() && line[r] != '#') Fail("text after the value");
      SetProperty(stack.back().Component, first, std::move(v));
      continue;
    }

    // A component line: "ClassName Name".
    size_t n = r;
    while (n < line.size() && IsIdentChar(line[n])) ++n;
    std::string name = line.substr(r, n - r);
    if (name.empty()) Fail("a component line needs a class and a name");
    SkipBlanks(line, n);
    if (n < line.size() && line[n] != '#') Fail("text after the component's name");
    while (!stack.empty() && stack.back().Indent >= indent) stack.pop_back();

    TComponent* comp;
    if (!haveRoot) {
      if (!stack.empty() || indent != 0) Fail("the window must come first");
      haveRoot = true;
      comp = FRoot;
      comp->SetName(name);
    } else {
      if (stack.empty()) Fail("only one window per layout");
      auto& reg = Registry();
      auto it = reg.find(first);
      if (it == reg.end()) Fail("unknown class " + first);
      comp = it->second(FRoot);
      comp->SetName(name);
      comp->SetParentComponent(stack.back().Component);
    }
    comp->SetComponentStateBit(csLoading, true);
    FLoaded.push_back(comp);
    stack.push_back({indent, comp});
  }
  if (!haveRoot) Fail("the layout is empty");

  for (auto& ref : FPending) {
    FLine = ref.Line;
    if (ref.Value.Kind != TLayoutValue::TKind::Ident) Fail(ref.Property + " needs a component name");
    ref.Value.Reference = FindByName(ref.Value.Text);
    if (!ref.Value.Reference) Fail("no component named " + ref.Value.Text);
    if (ref.Target->SetProperty(ref.Property, ref.Value) != TSetPropResult::Done)
      Fail("cannot set " + ref.Property);
  }
  for (TComponent* c : FLoaded) c->Loaded();
}

}  // namespace

int TLayoutValue::AsInteger() const {
  if (Kind != TKind::Integer) throw ELayoutError("a number is expected");
  if (Int < INT32_MIN || Int > INT32_MAX) throw ELayoutError("number out of range " + std::to_string(Int));
  return static_cast<int>(Int);
}

const std::string& TLayoutValue::AsString() const {
  if (Kind != TKind::String) throw ELayoutError("a string is expected");
  return Text;
}

const std::string& TLayoutValue::AsIdent() const {
  if (Kind != TKind::Ident) throw ELayoutError("a name is expected");
  return Text;
}

bool TLayoutValue::AsBoolean() const {
  return AsEnum<bool>({{"true", true}, {"false", false}});
}

std::vector<int> TLayoutValue::AsIntegerList() const {
  if (Kind != TKind::List) throw ELayoutError("a list is expected");
  std::vector<int> out;
  for (auto& item : Items) out.push_back(item.AsInteger());
  return out;
}

unsigned TLayoutValue::AsSet(std::initializer_list<std::pair<const char*, unsigned>> Names) const {
  if (Kind != TKind::List) throw ELayoutError("a set is expected");
  unsigned bits = 0;
  for (auto& item : Items) {
    bool found = false;
    for (auto& [name, bit] : Names)
      if (item.AsIdent() == name) { bits |= bit; found = true; }
    if (!found) throw ELayoutError("Invalid set element: " + item.Text);
  }
  return bits;
}

void RegisterComponentClass(const std::string& ClassName, TComponentFactory Factory) {
  Registry()[ClassName] = std::move(Factory);
}

void ReadLayoutText(TComponent* Root, const std::string& Text) {
  TLayoutParser(Root, Text).Run();
}

void ReadLayout(TComponent* Root, const std::string& LayoutName) {
  std::string text = LinkedLayoutText(LayoutName);
  if (text.empty()) throw ELayoutError("Resource " + LayoutName + " not found");
  ReadLayoutText(Root, text);
}
