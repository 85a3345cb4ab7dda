// Numbers written and read back. Every finite double's general text reads back as the double
// nearest to the value rounded to 15 significant digits (the largest double where that rounding
// lies above it); every integer's text, decimal or "$" hexadecimal, reads back as the integer;
// and whatever text StrToInt or StrToFloat accepts, its value round-trips the same way, a
// decimal integer text reading as the same number through both. A plain decimal, which may take
// a short exact path, reads as the C library reads it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/rtl/SysUtils.h"
#include "fuzz/FuzzCheck.h"

namespace {

// |X| rounded as the runtime rounds: to 18 significant digits, then half away from zero to
// 15, as a decimal text that from_chars reads.
std::string Rounded15(double X) {
  char Buf[64];
  const auto End = std::to_chars(Buf, Buf + sizeof Buf, std::fabs(X), std::chars_format::scientific, 17).ptr;
  const std::string Text(Buf, End);  // d.ddddddddddddddddde+xx
  std::string Digits = Text.substr(0, 1) + Text.substr(2, 17);
  int Exponent = std::atoi(Text.c_str() + Text.find('e') + 1);
  const bool Up = Digits[15] >= '5';
  Digits.resize(15);
  if (Up) {
    int I = 14;
    while (I >= 0 && Digits[I] == '9') Digits[I--] = '0';
    if (I >= 0) {
      ++Digits[I];
    } else {
      Digits.insert(Digits.begin(), '1');
      Digits.pop_back();
      ++Exponent;
    }
  }
  return "0." + Digits + "e" + std::to_string(Exponent + 1);
}

void CheckFloatRoundTrip(double X) {
  if (!std::isfinite(X)) return;
  const std::string Text = FloatToStr(X);
  double Back = 0;
  Check(TryStrToFloat(Text, Back));
  Check(std::isfinite(Back));
  const std::string Reference = Rounded15(X);
  double Expected = 0;
  const auto Res = std::from_chars(Reference.data(), Reference.data() + Reference.size(), Expected);
  if (Res.ec == std::errc::result_out_of_range) Expected = DBL_MAX;
  else Check(Res.ec == std::errc());
  if (X < 0) Expected = -Expected;
  Check(Back == Expected);
  Check(FloatToStr(Back) == Text);
}

void CheckIntRoundTrip(int N) {
  Check(StrToInt(IntToStr(N)) == N);
  Check(StrToInt("$" + IntToHex(N, 1)) == N);
  CheckFloatRoundTrip(N);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  FuzzedDataProvider In(Data, Size);
  FormatSettings.DecimalSeparator = In.ConsumeBool() ? '.' : ',';

  // Any bit pattern: subnormals, the largest values and the edges between decades.
  double X;
  const uint64_t Bits = In.ConsumeIntegral<uint64_t>();
  std::memcpy(&X, &Bits, sizeof X);
  CheckFloatRoundTrip(X);
  CheckIntRoundTrip(In.ConsumeIntegral<int>());

  const std::string Text = In.ConsumeRemainingBytesAsString();
  int N = 0;
  if (TryStrToInt(Text, N)) {
    CheckIntRoundTrip(N);
    if (Text.find_first_of("$xX") == std::string::npos) {
      double F = 0;
      Check(TryStrToFloat(Text, F) && F == N);
    }
  }
  double F = 0;
  if (TryStrToFloat(Text, F)) CheckFloatRoundTrip(F);

  // A text of sign, digits and "." only may take the short exact path: whatever it reads as, the
  // C library reads it alike, bit for bit.
  long double L = 0;
  if (FormatSettings.DecimalSeparator == '.' && !Text.empty() &&
      Text.find_first_not_of("+-.0123456789") == std::string::npos && TryStrToFloat(Text, L)) {
    const long double Library = std::strtold(Text.c_str(), nullptr);
    Check(L == Library && std::signbit(L) == std::signbit(Library));
  }
  return 0;
}
