// Format: the classic runtime's format-string interpreter. Format texts may be typed by the
// user (totals formats, the page word), so every read is bounds-checked, widths are capped and
// nothing here hands user text to the C library.
#include <cstdint>

#include "framework/rtl/SysUtils.h"

namespace {

// Widths and precisions beyond this are refused rather than padded: a typed "%999999999d"
// must not exhaust memory.
constexpr int MaxFormatWidth = 65536;

// The classic messages quote at most the first 31 characters of the format text.
[[noreturn]] void FormatError(bool Missing, const std::string& Fmt) {
  const std::string Shown = Fmt.substr(0, 31);
  if (Missing) throw EConvertError("No argument for format '" + Shown + "'");
  throw EConvertError("Format '" + Shown + "' invalid or incompatible with argument");
}

class TFormatter {
public:
  TFormatter(const std::string& Fmt, std::initializer_list<TVarRec> Args)
      : FFmt(Fmt), FArgs(Args.begin()), FArgCount(Args.size()) {}

  std::string Run() {
    std::string R;
    const size_t N = FFmt.size();
    while (FPos < N) {
      const size_t Percent = FFmt.find('%', FPos);
      if (Percent == std::string::npos) {
        R.append(FFmt, FPos, std::string::npos);
        break;
      }
      R.append(FFmt, FPos, Percent - FPos);
      FPos = Percent + 1;
      if (FPos < N && FFmt[FPos] == '%') {
        R += '%';
        ++FPos;
        continue;
      }
      R += Specifier();
    }
    return R;
  }

private:
  const std::string& FFmt;
  const TVarRec* FArgs;
  size_t FArgCount;
  size_t FArgIndex = 0;
  size_t FPos = 0;

  bool AtEnd() const { return FPos >= FFmt.size(); }
  char Current() const { return AtEnd() ? '\0' : FFmt[FPos]; }

  const TVarRec& NextArg() {
    if (FArgIndex >= FArgCount) FormatError(true, FFmt);
    return FArgs[FArgIndex++];
  }

  // Digits or "*"; false when neither is there.
  bool ReadNumber(int& Value) {
    if (Current() == '*') {
      ++FPos;
      const TVarRec& A = NextArg();
      if (A.VType != TVarRec::vtInteger) FormatError(false, FFmt);
      Value = A.VInteger;
    } else {
      if (Current() < '0' || Current() > '9') return false;
      Value = 0;
      while (Current() >= '0' && Current() <= '9') {
        Value = Value * 10 + (Current() - '0');
        if (Value > MaxFormatWidth) FormatError(false, FFmt);
        ++FPos;
      }
    }
    if (Value > MaxFormatWidth) FormatError(false, FFmt);
    return true;
  }

  std::string Specifier() {
    int Number = 0;
    bool HasNumber = ReadNumber(Number);
    if (Current() == ':') {
      ++FPos;
      if (!HasNumber) Number = 0;
      if (Number < 0) FormatError(true, FFmt);
      FArgIndex = static_cast<size_t>(Number);
      HasNumber = false;
    }
    bool Left = false;
    int Width = -1;
    if (HasNumber) {
      Width = Number;
    } else {
      if (Current() == '-') {
        Left = true;
        ++FPos;
      }
      if (ReadNumber(Number)) Width = Number;
    }
    int Prec = -1;
    if (Current() == '.') {
      ++FPos;
      if (!ReadNumber(Prec)) Prec = 0;
      if (Prec < 0) Prec = -1;
    }
    if (AtEnd()) FormatError(false, FFmt);
    char Type = FFmt[FPos++];
    if (Type >= 'a' && Type <= 'z') Type = static_cast<char>(Type - 32);
    if (std::string("DUEFGNMPSX").find(Type) == std::string::npos) FormatError(false, FFmt);

    std::string S = Convert(Type, NextArg(), Prec);
    if (Width > static_cast<int>(S.size())) {
      if (Left)
        S.append(Width - S.size(), ' ');
      else
        S.insert(0, Width - S.size(), ' ');
    }
    return S;
  }

  std::string Convert(char Type, const TVarRec& A, int Prec) {
    const bool IsInteger = A.VType == TVarRec::vtInteger || A.VType == TVarRec::vtInt64;
    switch (Type) {
      case 'D': case 'U': case 'X': {
        if (!IsInteger) break;
        const bool Wide = A.VType == TVarRec::vtInt64;
        const int64_t V = Wide ? A.VInt64 : A.VInteger;
        std::string Digits;
        bool Negative = false;
        if (Type == 'X') {
          Digits = Wide ? IntToHex(V, 0) : IntToHex(A.VInteger, 0);
        } else if (Type == 'U') {
          Digits = std::to_string(Wide ? static_cast<uint64_t>(V)
                                       : static_cast<uint64_t>(static_cast<uint32_t>(V)));
        } else {
          Negative = V < 0;
          Digits = std::to_string(Negative ? 0 - static_cast<uint64_t>(V)
                                           : static_cast<uint64_t>(V));
        }
        if (Prec > static_cast<int>(Digits.size())) Digits.insert(0, Prec - Digits.size(), '0');
        return Negative ? "-" + Digits : Digits;
      }
      case 'E': case 'F': case 'G': case 'N': case 'M': {
        if (A.VType != TVarRec::vtExtended) break;
        const long double V = A.VExtended;
        if (Type == 'E' || Type == 'G') {
          const int Precision = Prec < 0 ? 15 : Prec < 1 ? 1 : Prec > 18 ? 18 : Prec;
          return FloatToStrF(V, Type == 'E' ? ffExponent : ffGeneral, Precision, 3);
        }
        int Decimals = Prec;
        if (Decimals < 0) Decimals = Type == 'M' ? FormatSettings.CurrencyDecimals : 2;
        if (Decimals > 18) Decimals = 18;
        const TFloatFormat F = Type == 'F' ? ffFixed : Type == 'N' ? ffNumber : ffCurrency;
        return FloatToStrF(V, F, 18, Decimals);
      }
      case 'S': {
        std::string S;
        if (A.VType == TVarRec::vtAnsiString)
          S = *A.VAnsiString;
        else if (A.VType == TVarRec::vtPChar)
          S = A.VPChar ? A.VPChar : "";
        else if (A.VType == TVarRec::vtChar)
          S = std::string(1, A.VChar);
        else
          break;
        if (Prec >= 0 && Prec < static_cast<int>(S.size())) S.resize(Prec);
        return S;
      }
      case 'P': {
        if (A.VType != TVarRec::vtPointer) break;
        return IntToHex(static_cast<int64_t>(reinterpret_cast<uintptr_t>(A.VPointer)),
                        static_cast<int>(sizeof(void*) * 2));
      }
    }
    FormatError(false, FFmt);
  }
};

}  // namespace

std::string Format(const std::string& Fmt, std::initializer_list<TVarRec> Args) {
  return TFormatter(Fmt, Args).Run();
}
