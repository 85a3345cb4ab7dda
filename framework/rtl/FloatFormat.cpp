// Floating-point texts: the general, exponent, fixed, number and currency formats, the picture
// format of FormatFloat, and reading a number back.
//
// Rounding follows the classic runtime rather than the C library: the value is first taken to
// 18 significant digits, then rounded half away from zero on those decimal digits. So 0.125
// with two decimals gives "0.13" and 2.5 with none gives "3", where printf would give "0.12"
// and "2".
#include <algorithm>
#include <array>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <type_traits>
#include <vector>

#include "framework/rtl/SysUtils.h"

namespace {

constexpr int MaxDigits = 18;

// Value = 0.Digits * 10^Exponent; Digits has no trailing zeros and is empty for zero.
struct TDecimal {
  bool Negative = false;
  int Exponent = 0;
  std::string Digits;
};

// Rounds to Precision significant digits and to Decimals digits after the decimal point,
// whichever keeps fewer.
TDecimal FloatToDecimal(long double Value, int Precision, int Decimals) {
  TDecimal R;
  if (Value == 0) return R;
  char Buf[64];
  const long double Abs = std::fabs(Value);
  // A value that a double holds exactly reads its digits as a double, the cheaper way.
  const bool FitsDouble = Abs <= std::numeric_limits<double>::max() &&
                          static_cast<long double>(static_cast<double>(Abs)) == Abs;
  const auto Res =
      FitsDouble ? std::to_chars(Buf, Buf + sizeof Buf, static_cast<double>(Abs),
                                 std::chars_format::scientific, MaxDigits - 1)
                 : std::to_chars(Buf, Buf + sizeof Buf, Abs, std::chars_format::scientific,
                                 MaxDigits - 1);
  const std::string Text(Buf, Res.ptr);  // d.ddddddddddddddddde[+-]xx
  const size_t E = Text.find('e');
  std::string Digits = Text.substr(0, 1) + Text.substr(2, E - 2);
  int Exponent = std::atoi(Text.c_str() + E + 1) + 1;

  const long Keep = std::min<long>({static_cast<long>(Precision), MaxDigits,
                                    static_cast<long>(Exponent) + Decimals});
  if (Keep < 0) return R;
  const bool RoundUp = Keep < static_cast<long>(Digits.size()) && Digits[Keep] >= '5';
  Digits.resize(Keep);
  if (RoundUp) {
    long I = Keep - 1;
    while (I >= 0 && Digits[I] == '9') Digits[I--] = '0';
    if (I >= 0) {
      ++Digits[I];
    } else {
      Digits.insert(Digits.begin(), '1');
      ++Exponent;
    }
  }
  while (!Digits.empty() && Digits.back() == '0') Digits.pop_back();
  if (Digits.empty()) return R;
  R.Negative = Value < 0;
  R.Exponent = Exponent;
  R.Digits = Digits;
  return R;
}

char DigitAt(const TDecimal& D, long I) {
  return I >= 0 && I < static_cast<long>(D.Digits.size()) ? D.Digits[I] : '0';
}

std::string SpecialText(long double Value) {
  if (std::isnan(Value)) return "NAN";
  return Value < 0 ? "-INF" : "INF";
}

std::string ExponentText(int Exponent, int MinDigits, bool PlusSign) {
  std::string Num = std::to_string(Exponent < 0 ? -Exponent : Exponent);
  if (static_cast<int>(Num.size()) < MinDigits) Num.insert(0, MinDigits - Num.size(), '0');
  return std::string(Exponent < 0 ? "-" : PlusSign ? "+" : "") + Num;
}

std::string GroupThousands(const std::string& Int, char Separator) {
  std::string R;
  for (size_t I = 0; I < Int.size(); ++I) {
    R += Int[I];
    const size_t Left = Int.size() - 1 - I;
    if (Left > 0 && Left % 3 == 0) R += Separator;
  }
  return R;
}

// The unsigned text of D with a fixed number of decimals.
std::string FixedText(const TDecimal& D, int Decimals, bool Thousands) {
  std::string Int;
  for (long I = 0; I < D.Exponent; ++I) Int += DigitAt(D, I);
  if (Int.empty()) Int.push_back('0');
  if (Thousands) Int = GroupThousands(Int, FormatSettings.ThousandSeparator);
  if (Decimals <= 0) return Int;
  std::string R = Int + FormatSettings.DecimalSeparator;
  for (int I = 0; I < Decimals; ++I) R += DigitAt(D, D.Exponent + I);
  return R;
}

// Scientific text of D with exactly Precision digits, or without trailing zeros.
std::string ExponentForm(const TDecimal& D, int Precision, bool KeepZeros, int ExpDigits,
                         bool PlusSign) {
  std::string R(1, DigitAt(D, 0));
  const int Frac = KeepZeros ? Precision - 1 : static_cast<int>(D.Digits.size()) - 1;
  if (Frac > 0) {
    R += FormatSettings.DecimalSeparator;
    for (int I = 1; I <= Frac; ++I) R += DigitAt(D, I);
  }
  const int Exponent = D.Digits.empty() ? 0 : D.Exponent - 1;
  return R + "E" + ExponentText(Exponent, ExpDigits, PlusSign);
}

std::string GeneralText(const TDecimal& D, int Precision, int ExpDigits) {
  if (D.Digits.empty()) return "0";
  if (D.Exponent > Precision || D.Exponent < -3)
    return ExponentForm(D, Precision, false, ExpDigits, false);
  const int Decimals = std::max(0, static_cast<int>(D.Digits.size()) - D.Exponent);
  return FixedText(D, Decimals, false);
}

std::string CurrencyText(const std::string& Number, bool Negative) {
  const TFormatSettings& F = FormatSettings;
  const std::string& C = F.CurrencyString;
  if (!Negative) {
    switch (F.CurrencyFormat) {
      case 1: return Number + C;
      case 2: return C + " " + Number;
      case 3: return Number + " " + C;
      default: return C + Number;
    }
  }
  switch (F.NegCurrFormat) {
    case 1: return "-" + C + Number;
    case 2: return C + "-" + Number;
    case 3: return C + Number + "-";
    case 4: return "(" + Number + C + ")";
    case 5: return "-" + Number + C;
    case 6: return Number + "-" + C;
    case 7: return Number + C + "-";
    case 8: return "-" + Number + " " + C;
    case 9: return "-" + C + " " + Number;
    case 10: return Number + " " + C + "-";
    case 11: return C + " " + Number + "-";
    case 12: return C + " -" + Number;
    case 13: return Number + "- " + C;
    case 14: return "(" + C + " " + Number + ")";
    case 15: return "(" + Number + " " + C + ")";
    default: return "(" + C + Number + ")";
  }
}

}  // namespace

std::string FloatToStrF(long double Value, TFloatFormat Format, int Precision, int Digits) {
  if (!std::isfinite(Value)) return SpecialText(Value);
  Precision = std::clamp(Precision, 1, MaxDigits);
  if (Format == ffGeneral || Format == ffExponent) {
    Digits = std::clamp(Digits, 0, 4);
    const TDecimal D = FloatToDecimal(Value, Precision, 9999);
    const std::string Sign = D.Negative ? "-" : "";
    if (Format == ffGeneral) return Sign + GeneralText(D, Precision, Digits);
    return Sign + ExponentForm(D, Precision, true, Digits, true);
  }
  Digits = std::clamp(Digits, 0, MaxDigits);
  const TDecimal D = FloatToDecimal(Value, Precision, Digits);
  const std::string Sign = D.Negative ? "-" : "";
  // More integer digits than the precision holds: the fixed forms give up and show the
  // value in general form.
  if (D.Exponent > Precision)
    return Sign + GeneralText(FloatToDecimal(Value, Precision, 9999), Precision, 0);
  const std::string Number = FixedText(D, Digits, Format != ffFixed);
  if (Format == ffCurrency) return CurrencyText(Number, D.Negative);
  return Sign + Number;
}

std::string FloatToStr(double Value) { return FloatToStrF(Value, ffGeneral, 15, 0); }

// ---- FormatFloat -----------------------------------------------------------------------------

namespace {

// One section of a picture, as counted before the value is placed into it.
struct TPicture {
  std::string Text;
  int IntCount = 0;        // digit placeholders before the decimal point
  int FirstIntZero = -1;   // index among them of the first "0"
  int FracCount = 0;       // digit placeholders after it
  int LastFracZero = 0;    // 1-based index among those of the last "0"
  bool Thousands = false;
  bool Scientific = false;
};

TPicture ScanPicture(const std::string& Text) {
  TPicture P;
  P.Text = Text;
  bool SeenPoint = false;
  for (size_t I = 0; I < Text.size(); ++I) {
    const char C = Text[I];
    if (C == '\'' || C == '"') {
      const size_t Close = Text.find(C, I + 1);
      I = Close == std::string::npos ? Text.size() : Close;
    } else if (C == '0' || C == '#') {
      if (SeenPoint) {
        ++P.FracCount;
        if (C == '0') P.LastFracZero = P.FracCount;
      } else {
        if (C == '0' && P.FirstIntZero < 0) P.FirstIntZero = P.IntCount;
        ++P.IntCount;
      }
    } else if (C == '.') {
      SeenPoint = true;
    } else if (C == ',') {
      P.Thousands = true;
    } else if ((C == 'E' || C == 'e') && I + 1 < Text.size() &&
               (Text[I + 1] == '+' || Text[I + 1] == '-')) {
      P.Scientific = true;
      break;
    }
  }
  return P;
}

// Splits at ";" outside quotes; at most three sections count.
std::vector<std::string> PictureSections(const std::string& Fmt) {
  std::vector<std::string> R(1);
  for (size_t I = 0; I < Fmt.size(); ++I) {
    const char C = Fmt[I];
    if (C == '\'' || C == '"') {
      const size_t Close = Fmt.find(C, I + 1);
      const size_t End = Close == std::string::npos ? Fmt.size() : Close + 1;
      R.back().append(Fmt, I, End - I);
      I = End - 1;
    } else if (C == ';') {
      if (R.size() == 3) break;
      R.emplace_back();
    } else {
      R.back() += C;
    }
  }
  return R;
}

std::string ApplyPicture(const TPicture& P, double Value, bool Sign) {
  const TFormatSettings& F = FormatSettings;
  const int DigitCount = P.IntCount + P.FracCount;
  TDecimal D;
  std::string Int, Frac;
  int Exponent = 0;
  if (P.Scientific) {
    D = FloatToDecimal(Value, std::clamp(DigitCount, 1, 15), 9999);
    for (int I = 0; I < P.IntCount; ++I) Int += DigitAt(D, I);
    for (int I = 0; I < P.FracCount; ++I) Frac += DigitAt(D, P.IntCount + I);
    if (!D.Digits.empty()) Exponent = D.Exponent - P.IntCount;
  } else {
    D = FloatToDecimal(Value, 15, P.FracCount);
    for (long I = 0; I < D.Exponent; ++I) Int += DigitAt(D, I);
    const int MinInt = P.FirstIntZero < 0 ? 0 : P.IntCount - P.FirstIntZero;
    if (static_cast<int>(Int.size()) < MinInt) Int.insert(0, MinInt - Int.size(), '0');
    for (int I = 0; I < P.FracCount; ++I) Frac += DigitAt(D, D.Exponent + I);
  }
  while (static_cast<int>(Frac.size()) > P.LastFracZero && Frac.back() == '0') Frac.pop_back();

  std::string R = Sign ? "-" : "";
  const std::string& T = P.Text;
  const int IntLen = static_cast<int>(Int.size());
  int IntSeen = 0, FracSeen = 0;
  bool InFraction = false, ExponentDone = false, IntFlushed = false;
  // Integer digits beyond the placeholders all go where the first placeholder (or the
  // decimal point) stands.
  auto PutIntDigits = [&](int Upto) {
    for (int J = 0; J < Upto && J < IntLen; ++J) {
      R += Int[J];
      const int Left = IntLen - 1 - J;
      if (P.Thousands && !P.Scientific && Left > 0 && Left % 3 == 0) R += F.ThousandSeparator;
    }
  };
  for (size_t I = 0; I < T.size(); ++I) {
    const char C = T[I];
    if (C == '\'' || C == '"') {
      const size_t Close = T.find(C, I + 1);
      const size_t End = Close == std::string::npos ? T.size() : Close;
      R.append(T, I + 1, End - I - 1);
      I = End;
    } else if ((C == '0' || C == '#') && !ExponentDone) {
      if (!InFraction) {
        const int Position = IntLen - (P.IntCount - IntSeen);  // digit index in Int
        if (!IntFlushed) {
          PutIntDigits(Position + 1);
          IntFlushed = true;
        } else if (Position >= 0) {
          R += Int[Position];
          const int Left = IntLen - 1 - Position;
          if (P.Thousands && !P.Scientific && Left > 0 && Left % 3 == 0)
            R += F.ThousandSeparator;
        }
        ++IntSeen;
      } else {
        if (FracSeen < static_cast<int>(Frac.size())) R += Frac[FracSeen];
        ++FracSeen;
      }
    } else if (C == '.' && !InFraction && !ExponentDone) {
      if (!IntFlushed) {
        PutIntDigits(IntLen);
        IntFlushed = true;
      }
      InFraction = true;
      if (!Frac.empty()) R += F.DecimalSeparator;
    } else if (C == ',' && !ExponentDone) {
    } else if ((C == 'E' || C == 'e') && P.Scientific && !ExponentDone && I + 1 < T.size() &&
               (T[I + 1] == '+' || T[I + 1] == '-')) {
      if (!IntFlushed) {
        PutIntDigits(IntLen);
        IntFlushed = true;
      }
      int ExpDigits = 0;
      size_t J = I + 2;
      while (J < T.size() && T[J] == '0') ++ExpDigits, ++J;
      R += C;
      R += ExponentText(Exponent, std::min(ExpDigits, 4), T[I + 1] == '+');
      I = J - 1;
      ExponentDone = true;
    } else {
      R += C;
    }
  }
  return R;
}

}  // namespace

std::string FormatFloat(const std::string& Fmt, double Value) {
  if (!std::isfinite(Value)) return SpecialText(Value);
  if (Fmt.empty()) return FloatToStr(Value);
  const std::vector<std::string> Sections = PictureSections(Fmt);
  auto Section = [&](size_t I) -> const std::string* {
    return I < Sections.size() && !Sections[I].empty() ? &Sections[I] : nullptr;
  };

  const TDecimal Whole = FloatToDecimal(Value, 15, 9999);
  size_t Index = Whole.Digits.empty() ? 2 : Whole.Negative ? 1 : 0;
  const std::string* Chosen = Section(Index);
  if (!Chosen) Chosen = &Sections[0];
  TPicture P = ScanPicture(*Chosen);
  // A value that the chosen section rounds to zero is shown by the zero section.
  if (Index != 2) {
    const TDecimal Rounded = P.Scientific ? Whole : FloatToDecimal(Value, 15, P.FracCount);
    if (Rounded.Digits.empty()) {
      Index = 2;
      if (Section(2)) P = ScanPicture(Sections[2]);
      else if (Chosen != &Sections[0]) P = ScanPicture(Sections[0]);
    }
  }
  const bool UsesOwnSign = Index == 1 && Section(1);
  return ApplyPicture(P, std::fabs(Index == 2 ? 0.0 : Value), Value < 0 && Index == 1 && !UsesOwnSign);
}

// ---- Reading ---------------------------------------------------------------------------------

namespace {

// Whether 0.Digits * 10^Magnitude is at most the largest TNum rounded to FloatToStr's 15
// digits, which lies above the value itself ("1.79769313486232E308" for a double).
template <class TNum>
bool WithinWrittenMaximum(std::string Digits, long Magnitude) {
  static const TDecimal Max = FloatToDecimal(std::numeric_limits<TNum>::max(), 15, 9999);
  while (!Digits.empty() && Digits.back() == '0') Digits.pop_back();
  return Magnitude < Max.Exponent || (Magnitude == Max.Exponent && Digits <= Max.Digits);
}

// The digits of a mantissa ("-0012.50") from its first non-zero one ("1250").
std::string SignificantDigits(const std::string& Mantissa) {
  std::string Digits;
  for (const char C : Mantissa)
    if (C >= '0' && C <= '9' && (C != '0' || !Digits.empty())) Digits += C;
  return Digits;
}

// Whether an operation on TNum rounds once, to TNum's own mantissa. The x87 unit, which does
// long double arithmetic (and double arithmetic where FLT_EVAL_METHOD is not 0), rounds to its
// precision control instead, which a runtime or a loaded library may lower: it is read at each
// use, one instruction.
template <class TNum>
bool RoundsInType() {
  if constexpr (std::is_same_v<TNum, double>) {
    return FLT_EVAL_METHOD == 0;
  } else {
#if defined(__i386__) || defined(__x86_64__)
    static_assert(std::numeric_limits<long double>::digits == 64);
    unsigned short Control = 0;
    __asm__ volatile("fnstcw %0" : "=m"(Control));
    return (Control & 0x300) == 0x300;
#else
    return false;
#endif
  }
}

// The largest n with 10^n exact in TNum: 5^n must fit in the mantissa (2^n goes to the
// exponent). 27 for a 64-bit mantissa, the most a uint64_t counts here.
template <class TNum>
constexpr int ExactPowersOfTen() {
  constexpr int Bits = std::numeric_limits<TNum>::digits;
  constexpr uint64_t Largest = Bits >= 64 ? UINT64_MAX : (uint64_t{1} << Bits) - 1;
  int N = 0;
  for (uint64_t Five = 5; N < 27 && Five <= Largest; Five *= 5) ++N;
  return N;
}

template <class TNum>
constexpr std::array<TNum, ExactPowersOfTen<TNum>() + 1> PowersOfTen() {
  std::array<TNum, ExactPowersOfTen<TNum>() + 1> Powers{};
  TNum Power = 1;
  for (TNum& P : Powers) {
    P = Power;
    Power *= 10;
  }
  return Powers;
}

// A plain decimal ("-12.50": sign, digits, one separator, nothing else) whose digits and power
// of ten are both exact in TNum: one division then rounds once, to the nearest value, which is
// what the full conversion returns. Most numbers in a report are such, and the full conversion
// costs ten times as much. False leaves the text to the full conversion.
template <class TNum>
bool ReadShortDecimal(const std::string& S, TNum& Value) {
  // Digits below 10^15 are exact in a double, below 10^19 in a 64-bit mantissa; leading zeros
  // count too, which only sends a few more texts the full way.
  constexpr size_t MaxDigits = std::numeric_limits<TNum>::digits >= 64 ? 19 : 15;
  static constexpr auto Powers = PowersOfTen<TNum>();
  if (!RoundsInType<TNum>()) return false;
  const size_t N = S.size();
  const size_t First = N > 0 && (S[0] == '-' || S[0] == '+') ? 1 : 0;
  const char Separator = FormatSettings.DecimalSeparator;
  size_t Point = std::string::npos;
  uint64_t Digits = 0;  // wraps past 19 digits, which are refused below
  for (size_t I = First; I < N; ++I) {
    const auto Digit = static_cast<unsigned>(static_cast<unsigned char>(S[I]) - '0');
    if (Digit <= 9) {
      Digits = Digits * 10 + Digit;
    } else if (S[I] == Separator && Point == std::string::npos) {
      Point = I;
    } else {
      return false;
    }
  }
  const size_t Count = N - First - (Point != std::string::npos);
  const size_t Fraction = Point == std::string::npos ? 0 : N - Point - 1;
  if (Count == 0 || Count > MaxDigits || Fraction >= Powers.size()) return false;
  TNum V = static_cast<TNum>(Digits);
  if (Fraction > 0) V /= Powers[Fraction];
  Value = S[0] == '-' ? -V : V;
  return true;
}

template <class TNum>
bool ReadFloat(const std::string& S, TNum& Value) {
  if (ReadShortDecimal(S, Value)) return true;
  const std::string T = Trim(S);
  std::string Plain;  // the number rewritten for from_chars: optional "-", digits, ".", "e"
  Plain.reserve(T.size() + 1);
  size_t I = 0;
  if (I < T.size() && (T[I] == '+' || T[I] == '-')) {
    if (T[I] == '-') Plain += '-';
    ++I;
  }
  // Counted, not collected: the digits themselves matter only to a value out of range.
  int MantissaDigits = 0, IntDigits = 0, LeadingFracZeros = 0;
  for (; I < T.size() && T[I] >= '0' && T[I] <= '9'; ++I, ++MantissaDigits) {
    Plain += T[I];
    if (T[I] != '0' || IntDigits > 0) ++IntDigits;
  }
  size_t Point = std::string::npos;
  if (I < T.size() && T[I] == FormatSettings.DecimalSeparator) {
    Point = Plain.size();
    Plain += '.';
    bool Significant = IntDigits > 0;
    for (++I; I < T.size() && T[I] >= '0' && T[I] <= '9'; ++I, ++MantissaDigits) {
      Plain += T[I];
      if (T[I] != '0') Significant = true;
      else if (!Significant) ++LeadingFracZeros;
    }
  }
  if (MantissaDigits == 0) return false;
  const size_t MantissaEnd = Plain.size();
  long Exponent = 0;
  if (I < T.size() && (T[I] == 'E' || T[I] == 'e')) {
    Plain += 'e';
    ++I;
    bool NegativeExponent = false;
    if (I < T.size() && (T[I] == '+' || T[I] == '-')) {
      NegativeExponent = T[I] == '-';
      Plain += T[I++];
    }
    const size_t ExpStart = I;
    for (; I < T.size() && T[I] >= '0' && T[I] <= '9'; ++I) {
      Plain += T[I];
      if (Exponent < 100000) Exponent = Exponent * 10 + (T[I] - '0');
    }
    if (I == ExpStart) return false;
    if (NegativeExponent) Exponent = -Exponent;
  }
  if (I != T.size()) return false;
  TNum V = 0;
  bool OutOfRange = false;
  if constexpr (std::is_same_v<TNum, double>) {
    const auto Res = std::from_chars(Plain.data(), Plain.data() + Plain.size(), V);
    if (Res.ptr != Plain.data() + Plain.size()) return false;
    if (Res.ec != std::errc() && Res.ec != std::errc::result_out_of_range) return false;
    OutOfRange = Res.ec == std::errc::result_out_of_range;
  } else {
    // from_chars reads a long double through a double on some targets; strtold keeps every
    // digit. It reads the C library's decimal point.
    if (Point != std::string::npos) Plain[Point] = *std::localeconv()->decimal_point;
    char* End = nullptr;
    errno = 0;
    V = std::strtold(Plain.c_str(), &End);
    if (End != Plain.c_str() + Plain.size()) return false;
    OutOfRange = errno == ERANGE && (V == 0 || std::isinf(V));
  }
  if (OutOfRange) {
    // Too small is zero. Too large fails, except up to the largest value as FloatToStr
    // writes it: that text reads as the largest value, so whatever is written reads back.
    const long Magnitude = Exponent + (IntDigits > 0 ? IntDigits : -LeadingFracZeros);
    const bool Negative = Plain[0] == '-';
    if (Magnitude <= 0) {
      V = Negative ? -0.0 : 0.0;
    } else if (WithinWrittenMaximum<TNum>(SignificantDigits(Plain.substr(0, MantissaEnd)), Magnitude)) {
      V = Negative ? -std::numeric_limits<TNum>::max() : std::numeric_limits<TNum>::max();
    } else {
      return false;
    }
  }
  Value = V;
  return true;
}

}  // namespace

bool TryStrToFloat(const std::string& S, double& Value) { return ReadFloat(S, Value); }
bool TryStrToFloat(const std::string& S, long double& Value) { return ReadFloat(S, Value); }

double StrToFloat(const std::string& S) {
  double V;
  if (!TryStrToFloat(S, V)) throw EConvertError("'" + S + "' is not a valid floating point value");
  return V;
}
