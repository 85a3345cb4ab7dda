// The number and string routines shared by the engine and the report windows.
#include <algorithm>
#include <climits>

#include "engine/VLMXUtil.h"
#include "framework/rtl/SysUtils.h"

int StrToIntChecked(const std::string& S, bool& Error) {
  int Value = 0;
  try {
    Error = !TryStrToInt(S, Value);
  } catch (...) {
    Error = true;
  }
  return Error ? 0 : Value;
}

int MaxInt2(int A, int B) { return A > B ? A : B; }
int MinInt2(int A, int B) { return A < B ? A : B; }

std::string ReverseStr(const std::string& S) { return std::string(S.rbegin(), S.rend()); }

std::string GetToken(const std::string& S, int Index, const std::string& Delim,
                     const std::string& Default) {
  std::string Text = S;
  std::string D = Delim.empty() ? "," : Delim;
  // From the end: the text and the delimiter are reversed, so a delimiter of several
  // characters is still found.
  const bool FromEnd = Index <= 0;
  if (FromEnd) {
    Text = ReverseStr(Text);
    D = ReverseStr(D);
    Index = Index == INT_MIN ? INT_MAX : -Index;
  }
  Text += D;
  size_t From = 0;
  for (int I = 1; I <= Index; ++I) {
    const size_t At = Text.find(D, From);
    if (At == std::string::npos) return Default;
    if (I == Index) {
      const std::string Field = Text.substr(From, At - From);
      return FromEnd ? ReverseStr(Field) : Field;
    }
    From = At + D.size();
  }
  return Default;
}

bool ReadTextLine(const std::string& Text, int& Pos, std::string& Line) {
  const int Length = static_cast<int>(Text.size());
  if (Length <= Pos) return false;
  Line.clear();
  // Positions count from 1: the line starts at Pos + 1, which is index Pos.
  for (int I = std::max(Pos, 0); I < Length; ++I) {
    if (Text[I] == '\r') {
      Pos = I + 1;
      return true;
    }
    if (Text[I] != '\n') Line += Text[I];
  }
  Pos = Length + 1;
  return !Line.empty();
}

int DelimitedIndexOf(const std::string& Item, const std::string& List, char Sep) {
  const std::string Wanted = Sep + UpperCase(Item) + Sep;
  const std::string Within = Sep + UpperCase(List) + Sep;
  const size_t At = Within.find(Wanted);
  if (At == std::string::npos) return 0;
  // The separators from the start up to and including the one that opens the match.
  return static_cast<int>(std::count(Within.begin(), Within.begin() + At + 1, Sep));
}

TCharSet MakeCharSet(std::string_view Chars) {
  TCharSet Set;
  for (char C : Chars) Set.set(static_cast<unsigned char>(C));
  return Set;
}

std::string KeepCharsInSet(const std::string& S, const TCharSet& CharSet) {
  std::string R;
  for (char C : S)
    if (CharSet.test(static_cast<unsigned char>(C))) R += C;
  return R;
}

std::string ReplaceCharBy(const std::string& S, char C, const std::string& Repl) {
  std::string R;
  for (char Ch : S) {
    if (Ch != C) R += Ch;
    else if (!Repl.empty()) R += Repl[0];
  }
  return R;
}

void StripCurrencyAndSeparators(std::string& S) {
  const std::string& Currency = FormatSettings.CurrencyString;
  if (!Currency.empty())
    if (const size_t At = S.find(Currency); At != std::string::npos) S.erase(At, Currency.size());
  std::erase(S, FormatSettings.ThousandSeparator);
}

namespace {
// Whether C may be part of a text that TryStrToFloat reads, its trimmed blanks included.
bool CanBeInNumber(char C) {
  switch (C) {
    case '+':
    case '-':
    case 'e':
    case 'E': return true;
    default:
      return static_cast<unsigned char>(C) <= ' ' || (C >= '0' && C <= '9') ||
             C == FormatSettings.DecimalSeparator;
  }
}

// Whether no text that reads as a number can hold the locale's thousands separator or currency
// string: then IsNumericStr strips nothing from such a text.
bool NumbersHoldNoSeparators() {
  const std::string& Currency = FormatSettings.CurrencyString;
  return !CanBeInNumber(FormatSettings.ThousandSeparator) &&
         (Currency.empty() || !std::all_of(Currency.begin(), Currency.end(), CanBeInNumber));
}
}  // namespace

bool IsNumericStr(const std::string& S) {
  double Value;
  try {
    // The column scan asks this of every cell of a column still taken for numbers. Where no
    // number can hold what is stripped, a text that reads as it stands is one without the
    // search for a separator or the currency.
    const bool ReadFirst = NumbersHoldNoSeparators();
    if (ReadFirst && TryStrToFloat(S, Value)) return true;
    const std::string& Currency = FormatSettings.CurrencyString;
    const bool Plain = S.find(FormatSettings.ThousandSeparator) == std::string::npos &&
                       (Currency.empty() || S.find(Currency) == std::string::npos);
    if (Plain) return !ReadFirst && TryStrToFloat(S, Value);
    std::string Rest = S;
    StripCurrencyAndSeparators(Rest);
    return TryStrToFloat(Rest, Value);
  } catch (...) {
    return false;
  }
}

namespace {
// The settings' code of each style bit.
const struct {
  TFontStyle Style;
  int Code;
} StyleCodes[] = {{fsBold, 8}, {fsItalic, 4}, {fsUnderline, 2}, {fsStrikeOut, 1}};
}  // namespace

TFontStyles IntToFontStyles(int Value) {
  TFontStyles Styles = 0;
  for (auto& S : StyleCodes)
    if (Value & S.Code) Styles |= S.Style;
  return Styles;
}

int FontStylesToInt(TFontStyles Styles) {
  int Value = 0;
  for (auto& S : StyleCodes)
    if (Styles & S.Style) Value += S.Code;
  return Value;
}

std::string ExpandTitleMacros(bool OmitLeft, const std::string& S, const std::string& DateText,
                              const std::string& TimeText) {
  std::string R = S;
  if (const size_t Bar = S.find('|'); Bar != std::string::npos)
    R = OmitLeft ? S.substr(Bar + 1) : S.substr(0, Bar) + " " + S.substr(Bar + 1);
  // The macro and the one character after it give way to the text.
  if (const size_t At = R.find("^D"); At != std::string::npos)
    R.replace(At, 3, DateText);
  else if (const size_t At = R.find("^T"); At != std::string::npos)
    R.replace(At, 3, TimeText);
  return R;
}
