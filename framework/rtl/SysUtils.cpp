// String, integer and random-number routines; Format and the floating-point texts live in
// Format.cpp and FloatFormat.cpp.
#include "framework/rtl/SysUtils.h"

#include <algorithm>
#include <utility>

#include "framework/rtl/DateUtils.h"

TFormatSettings FormatSettings = SystemFormatSettings();

namespace {

bool IsTrimmed(char C) { return static_cast<unsigned char>(C) <= ' '; }

char AsciiUpper(char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 32) : C; }
char AsciiLower(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C + 32) : C; }

// Code page 1252: a-z, à-þ but not ÷, and the three letters whose capitals sit in 0x80-0x9F.
unsigned char AnsiUpperChar(unsigned char C) {
  if ((C >= 'a' && C <= 'z') || (C >= 0xE0 && C <= 0xFE && C != 0xF7)) return C - 32;
  switch (C) {
    case 0x9A: return 0x8A;  // š
    case 0x9C: return 0x8C;  // œ
    case 0x9E: return 0x8E;  // ž
    case 0xFF: return 0x9F;  // ÿ
    default: return C;
  }
}

unsigned char AnsiLowerChar(unsigned char C) {
  if ((C >= 'A' && C <= 'Z') || (C >= 0xC0 && C <= 0xDE && C != 0xD7)) return C + 32;
  switch (C) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return C;
  }
}

template <class Fold>
int CompareFolded(const std::string& S1, const std::string& S2, Fold F) {
  const size_t N = std::min(S1.size(), S2.size());
  for (size_t I = 0; I < N; ++I) {
    const int A = F(static_cast<unsigned char>(S1[I]));
    const int B = F(static_cast<unsigned char>(S2[I]));
    if (A != B) return A - B;
  }
  return S1.size() < S2.size() ? -1 : S1.size() > S2.size() ? 1 : 0;
}

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  C = AsciiUpper(C);
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

std::string HexText(uint64_t Value, int Digits) {
  std::string R;
  do {
    R.insert(R.begin(), "0123456789ABCDEF"[Value & 15]);
    Value >>= 4;
  } while (Value != 0);
  if (Digits > 32) Digits = 32;
  if (static_cast<int>(R.size()) < Digits) R.insert(0, Digits - R.size(), '0');
  return R;
}

}  // namespace

namespace {
// Where S starts and ends without its leading and trailing blanks and control characters.
std::pair<size_t, size_t> TrimmedBounds(const std::string& S) {
  size_t First = 0, End = S.size();
  while (End > 0 && IsTrimmed(S[End - 1])) --End;
  while (First < End && IsTrimmed(S[First])) ++First;
  return {First, End};
}
}  // namespace

std::string Trim(const std::string& S) {
  const auto [First, End] = TrimmedBounds(S);
  return S.substr(First, End - First);
}

void TrimEndsInPlace(std::string& S) {
  const auto [First, End] = TrimmedBounds(S);
  if (End < S.size()) S.erase(End);
  if (First > 0) S.erase(0, First);
}

std::string TrimLeft(const std::string& S) {
  size_t I = 0;
  while (I < S.size() && IsTrimmed(S[I])) ++I;
  return S.substr(I);
}

std::string TrimRight(const std::string& S) {
  size_t N = S.size();
  while (N > 0 && IsTrimmed(S[N - 1])) --N;
  return S.substr(0, N);
}

std::string UpperCase(const std::string& S) {
  std::string R = S;
  for (char& C : R) C = AsciiUpper(C);
  return R;
}

std::string LowerCase(const std::string& S) {
  std::string R = S;
  for (char& C : R) C = AsciiLower(C);
  return R;
}

std::string AnsiUpperCase(const std::string& S) {
  std::string R = S;
  for (char& C : R) C = static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(C)));
  return R;
}

std::string AnsiLowerCase(const std::string& S) {
  std::string R = S;
  for (char& C : R) C = static_cast<char>(AnsiLowerChar(static_cast<unsigned char>(C)));
  return R;
}

int CompareStr(const std::string& S1, const std::string& S2) {
  return CompareFolded(S1, S2, [](unsigned char C) { return C; });
}

int CompareText(const std::string& S1, const std::string& S2) {
  return CompareFolded(S1, S2, [](unsigned char C) {
    return static_cast<unsigned char>(AsciiUpper(static_cast<char>(C)));
  });
}

bool SameText(const std::string& S1, const std::string& S2) {
  return S1.size() == S2.size() && CompareText(S1, S2) == 0;
}

int AnsiCompareText(const std::string& S1, const std::string& S2) {
  return CompareFolded(S1, S2, AnsiUpperChar);
}

bool AnsiSameText(const std::string& S1, const std::string& S2) {
  // Equal bytes, the usual case of a repeated value, need no folding.
  return S1.size() == S2.size() && (S1 == S2 || AnsiCompareText(S1, S2) == 0);
}

std::string QuotedStr(const std::string& S) {
  std::string R = "'";
  for (char C : S) {
    R += C;
    if (C == '\'') R += C;
  }
  return R + "'";
}

std::string StringReplace(const std::string& S, const std::string& OldPattern,
                          const std::string& NewPattern, TReplaceFlags Flags) {
  if (OldPattern.empty()) return S;
  const bool IgnoreCase = Flags & rfIgnoreCase;
  const std::string SearchIn = IgnoreCase ? AnsiUpperCase(S) : S;
  const std::string Pattern = IgnoreCase ? AnsiUpperCase(OldPattern) : OldPattern;
  std::string R;
  size_t From = 0;
  for (;;) {
    const size_t At = SearchIn.find(Pattern, From);
    if (At == std::string::npos) break;
    R.append(S, From, At - From);
    R += NewPattern;
    From = At + Pattern.size();
    if (!(Flags & rfReplaceAll)) break;
  }
  R.append(S, From, std::string::npos);
  return R;
}

int Pos(const std::string& SubStr, const std::string& S) {
  if (SubStr.empty()) return 0;
  const size_t At = S.find(SubStr);
  return At == std::string::npos ? 0 : static_cast<int>(At) + 1;
}

std::string Copy(const std::string& S, int Index, int Count) {
  if (Index < 1) Index = 1;
  if (Count <= 0 || static_cast<size_t>(Index) > S.size()) return "";
  return S.substr(Index - 1, Count);
}

std::string IntToStr(int Value) { return std::to_string(Value); }
std::string IntToStr(int64_t Value) { return std::to_string(Value); }

std::string IntToHex(int Value, int Digits) {
  return HexText(static_cast<uint32_t>(Value), Digits);
}

std::string IntToHex(int64_t Value, int Digits) {
  return HexText(static_cast<uint64_t>(Value), Digits);
}

bool TryStrToInt(const std::string& S, int& Value) {
  size_t I = 0;
  while (I < S.size() && S[I] == ' ') ++I;
  bool Negative = false;
  if (I < S.size() && (S[I] == '+' || S[I] == '-')) Negative = S[I++] == '-';
  bool Hex = false;
  if (I < S.size() && (S[I] == '$' || S[I] == 'x' || S[I] == 'X')) {
    Hex = true;
    ++I;
  } else if (I + 1 < S.size() && S[I] == '0' && (S[I + 1] == 'x' || S[I + 1] == 'X')) {
    Hex = true;
    I += 2;
  }
  if (I >= S.size()) return false;
  // Decimal must stay within the signed range; hexadecimal may use all 32 bits ("$FFFFFFFF"
  // is -1), as the classic conversion allows.
  uint64_t N = 0;
  for (; I < S.size(); ++I) {
    const int D = Hex ? HexDigit(S[I]) : (S[I] >= '0' && S[I] <= '9' ? S[I] - '0' : -1);
    if (D < 0) return false;
    N = N * (Hex ? 16 : 10) + D;
    if (N > (Hex ? 0xFFFFFFFFull : 0x80000000ull)) return false;
  }
  if (!Hex && !Negative && N > 0x7FFFFFFFull) return false;
  const uint32_t Bits = static_cast<uint32_t>(Negative ? 0 - N : N);
  Value = static_cast<int32_t>(Bits);
  return true;
}

int StrToInt(const std::string& S) {
  int Value;
  if (!TryStrToInt(S, Value)) throw EConvertError("'" + S + "' is not a valid integer value");
  return Value;
}

int StrToIntDef(const std::string& S, int Default) {
  int Value;
  return TryStrToInt(S, Value) ? Value : Default;
}

int32_t RandSeed = 0;

int Random(int Range) {
  const uint32_t Seed = static_cast<uint32_t>(RandSeed) * 134775813u + 1u;
  RandSeed = static_cast<int32_t>(Seed);
  return static_cast<int>((static_cast<uint64_t>(Seed) * static_cast<uint32_t>(Range)) >> 32);
}

void Randomize() { RandSeed = static_cast<int32_t>(TickCount()); }
