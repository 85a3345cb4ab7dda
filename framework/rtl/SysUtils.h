// Strings and numbers with the classic runtime's exact results: the texts every report prints
// are built by these. Strings are code-page-1252 byte strings; positions are 1-based where the
// classic routine's are. The dates and the clock (DateUtils.h) come with it, as they did with
// the classic unit.
#pragma once
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

#include "framework/rtl/DateUtils.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/Locale.h"

// ---- Strings ---------------------------------------------------------------------------------

// Removes every character up to and including the blank (control characters too).
std::string Trim(const std::string& S);
// Trim without a copy, for a text read only to be trimmed. The test for nothing to trim is
// inline: a report reads every cell through it, and nearly none has blanks around it.
void TrimEndsInPlace(std::string& S);
inline void TrimInPlace(std::string& S) {
  if (S.empty() || (static_cast<unsigned char>(S.front()) > ' ' && static_cast<unsigned char>(S.back()) > ' '))
    return;
  TrimEndsInPlace(S);
}
std::string TrimLeft(const std::string& S);
std::string TrimRight(const std::string& S);

// ASCII letters only.
std::string UpperCase(const std::string& S);
std::string LowerCase(const std::string& S);
// Every letter of code page 1252.
std::string AnsiUpperCase(const std::string& S);
std::string AnsiLowerCase(const std::string& S);

// Ordinal, by byte value: < 0, 0 or > 0.
int CompareStr(const std::string& S1, const std::string& S2);
// Ordinal after folding ASCII letters to upper case.
int CompareText(const std::string& S1, const std::string& S2);
bool SameText(const std::string& S1, const std::string& S2);
// Ordinal after folding every code-page-1252 letter to upper case.
int AnsiCompareText(const std::string& S1, const std::string& S2);
bool AnsiSameText(const std::string& S1, const std::string& S2);

// 'S' with each quote doubled.
std::string QuotedStr(const std::string& S);

using TReplaceFlags = unsigned;
constexpr TReplaceFlags rfReplaceAll = 1;
constexpr TReplaceFlags rfIgnoreCase = 2;
std::string StringReplace(const std::string& S, const std::string& OldPattern,
                          const std::string& NewPattern, TReplaceFlags Flags);

// 1-based position of the first SubStr in S; 0 when absent or SubStr is empty.
int Pos(const std::string& SubStr, const std::string& S);
// Count characters from 1-based Index, clipped to S.
std::string Copy(const std::string& S, int Index, int Count);

// ---- Integers --------------------------------------------------------------------------------

std::string IntToStr(int Value);
std::string IntToStr(int64_t Value);
// Upper-case hexadecimal, at least Digits digits; a negative int shows its 32-bit pattern.
std::string IntToHex(int Value, int Digits);
std::string IntToHex(int64_t Value, int Digits);

// Leading blanks, an optional sign, then decimal digits or "$"/"0x" and hexadecimal digits,
// nothing after. EConvertError "'S' is not a valid integer value" otherwise.
int StrToInt(const std::string& S);
int StrToIntDef(const std::string& S, int Default);
bool TryStrToInt(const std::string& S, int& Value);

// ---- Floating point --------------------------------------------------------------------------

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Precision: significant digits (at most 18). Digits: minimum exponent digits for ffGeneral
// and ffExponent, decimals for the others. Takes the extended type, so that a value a double
// cannot hold keeps its digits.
std::string FloatToStrF(long double Value, TFloatFormat Format, int Precision, int Digits);
// General format with 15 significant digits: "0.333333333333333", "1E20", "1.5E-5", "INF".
std::string FloatToStr(double Value);
// The picture format: 0 # . , E+ E- e+ e- 'text' "text", sections positive;negative;zero.
std::string FormatFloat(const std::string& Fmt, double Value);

// Blanks around, an optional sign, digits with FormatSettings.DecimalSeparator, an optional
// exponent. EConvertError "'S' is not a valid floating point value" otherwise.
double StrToFloat(const std::string& S);
bool TryStrToFloat(const std::string& S, double& Value);
// The same text read into the extended type, digits beyond a double's kept.
bool TryStrToFloat(const std::string& S, long double& Value);

// ---- Format ----------------------------------------------------------------------------------

// One argument of Format, keeping the kind of value the caller passed: a floating-point
// specifier given an integer is a mismatch, as it is in the classic runtime.
struct TVarRec {
  enum TVType : unsigned char {
    vtInteger, vtInt64, vtBoolean, vtChar, vtExtended, vtPChar, vtAnsiString, vtPointer
  };
  TVType VType;
  union {
    int VInteger;
    int64_t VInt64;
    bool VBoolean;
    char VChar;
    long double VExtended;
    const char* VPChar;
    const std::string* VAnsiString;
    const void* VPointer;
  };

  // As in the classic runtime the static type decides: 64-bit integers are always vtInt64,
  // so "%x" of int64_t{-1} shows 16 digits; an unsigned 32-bit value above the int range
  // is widened rather than wrapped.
  template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>)
  TVarRec(T Value) {
    if (sizeof(T) <= sizeof(int) && std::in_range<int>(Value)) {
      VType = vtInteger;
      VInteger = static_cast<int>(Value);
    } else {
      VType = vtInt64;
      VInt64 = static_cast<int64_t>(Value);
    }
  }
  template <std::floating_point T>
  TVarRec(T Value) : VType(vtExtended), VExtended(static_cast<long double>(Value)) {}
  TVarRec(bool Value) : VType(vtBoolean), VBoolean(Value) {}
  TVarRec(char Value) : VType(vtChar), VChar(Value) {}
  TVarRec(const char* Value) : VType(vtPChar), VPChar(Value) {}
  TVarRec(const std::string& Value) : VType(vtAnsiString), VAnsiString(&Value) {}
  TVarRec(const void* Value) : VType(vtPointer), VPointer(Value) {}
};

// "%" [index ":"] ["-"] [width] ["." precision] type, type one of d u e f g n m p s x (either
// case); index, width and precision may be "*" (taken from the arguments); "%%" is a percent
// sign. Default precision: 15 for e and g, 2 for f and n, CurrencyDecimals for m.
// A specifier that does not match its argument raises EConvertError "Format '...' invalid or
// incompatible with argument"; a missing argument "No argument for format '...'".
std::string Format(const std::string& Fmt, std::initializer_list<TVarRec> Args);

// ---- Random numbers --------------------------------------------------------------------------

// The classic linear congruential generator, so a seed replays the same sequence.
extern int32_t RandSeed;
// 0 <= result < Range.
int Random(int Range);
// Seeds from the tick count.
void Randomize();
