// Format texts that users type (totals formats, the page word, memo date and time formats)
// reach Format, FormatFloat and FormatDateTime. Whatever the text and the arguments, the
// result is a string or an EConvertError: never a crash, an overread or another exception.
// Pictures and date formats built of known parts must also give what those parts say: the
// number rounded to the picture's decimals with its zeros and separators, each date and time
// part with its digits, the quoted texts as they stand.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "framework/rtl/DateUtils.h"
#include "framework/rtl/SysUtils.h"
#include "fuzz/FuzzCheck.h"

namespace {

// Builds up to four arguments of fuzzer-chosen kinds; the strings live in Texts.
std::vector<TVarRec> MakeArgs(FuzzedDataProvider& In, std::vector<std::string>& Texts) {
  std::vector<TVarRec> Args;
  const int Count = In.ConsumeIntegralInRange(0, 4);
  Texts.reserve(Count);
  for (int I = 0; I < Count; ++I) {
    switch (In.ConsumeIntegralInRange(0, 6)) {
      case 0: Args.emplace_back(In.ConsumeIntegral<int>()); break;
      case 1: Args.emplace_back(In.ConsumeIntegral<int64_t>()); break;
      case 2: Args.emplace_back(In.ConsumeFloatingPoint<double>()); break;
      case 3: Args.emplace_back(In.ConsumeIntegral<char>()); break;
      case 4: Args.emplace_back(In.ConsumeBool()); break;
      case 5: Args.emplace_back(static_cast<const void*>(&Texts)); break;
      default:
        Texts.push_back(In.ConsumeRandomLengthString(16));
        Args.emplace_back(Texts.back());
    }
  }
  return Args;
}

// Fuzzed text in quotes, without the quote character itself.
std::string Quoted(FuzzedDataProvider& In, std::string& Text) {
  const char Quote = In.ConsumeBool() ? '"' : '\'';
  Text = In.ConsumeRandomLengthString(8);
  std::erase(Text, Quote);
  return Quote + Text + Quote;
}

// A picture of digit placeholders between two quoted texts, against the fixed text of the
// value: leading zeros cut to the picture's zeros, trailing decimals to its last "0".
void CheckPicture(FuzzedDataProvider& In) {
  std::string Prefix, Suffix;
  std::string Picture = Quoted(In, Prefix);
  const int IntCount = In.ConsumeIntegralInRange(0, 6);
  int MinInt = 0;
  for (int I = 0; I < IntCount; ++I) {
    const bool Zero = MinInt > 0 || In.ConsumeBool();
    if (Zero && MinInt == 0) MinInt = IntCount - I;
    Picture += Zero ? '0' : '#';
  }
  const bool Thousands = IntCount > 0 && In.ConsumeBool();
  if (Thousands) Picture.insert(Picture.size() - IntCount + 1, ",");
  const int FracCount = In.ConsumeIntegralInRange(0, 8);
  const int FracZeros = In.ConsumeIntegralInRange(0, FracCount);
  if (FracCount > 0) Picture += "." + std::string(FracZeros, '0') + std::string(FracCount - FracZeros, '#');
  Picture += Quoted(In, Suffix);
  const double Value = In.ConsumeFloatingPointInRange(0.0, 1e14);

  const std::string Fixed = FloatToStrF(Value, ffFixed, 15, FracCount);
  const size_t Point = Fixed.find(FormatSettings.DecimalSeparator);
  std::string Int = Fixed.substr(0, Point);
  std::string Frac = Point == std::string::npos ? "" : Fixed.substr(Point + 1);
  Int.erase(0, Int.find_first_not_of('0'));
  if (static_cast<int>(Int.size()) < MinInt) Int.insert(0, MinInt - Int.size(), '0');
  while (static_cast<int>(Frac.size()) > FracZeros && Frac.back() == '0') Frac.pop_back();
  std::string Number;
  for (size_t I = 0; I < Int.size(); ++I) {
    Number += Int[I];
    const size_t Left = Int.size() - 1 - I;
    if (Thousands && Left > 0 && Left % 3 == 0) Number += FormatSettings.ThousandSeparator;
  }
  if (!Frac.empty()) Number += FormatSettings.DecimalSeparator + Frac;
  // Without a placeholder or a point nothing shows the number.
  if (IntCount == 0 && FracCount == 0) Number.clear();
  CheckEqual(FormatFloat(Picture, Value) + " for " + Picture, Prefix + Number + Suffix + " for " + Picture);
}

std::string Padded(int N, int Digits) {
  std::string S = std::to_string(N);
  if (static_cast<int>(S.size()) < Digits) S.insert(0, Digits - S.size(), '0');
  return S;
}

// A date format of numeric parts, separators and quoted texts, against the parts the date
// was made of.
void CheckDateFormat(FuzzedDataProvider& In) {
  const int Year = In.ConsumeIntegralInRange(1, 9999), Month = In.ConsumeIntegralInRange(1, 12);
  const int Day = In.ConsumeIntegralInRange(1, 28), Hour = In.ConsumeIntegralInRange(0, 23);
  const int Min = In.ConsumeIntegralInRange(0, 59), Sec = In.ConsumeIntegralInRange(0, 59);
  const int MSec = In.ConsumeIntegralInRange(0, 999);
  const TDateTime Date = EncodeDate(Year, Month, Day), Time = EncodeTime(Hour, Min, Sec, MSec);
  // Before the epoch the time counts away from zero too.
  const TDateTime Value = Date < 0 ? Date - Time : Date + Time;

  static const char* const Parts[] = {"yyyy", "yy", "m", "mm", "d", "dd", "h", "hh", "n",
                                      "nn", "s", "ss", "z", "zzz", "/", ":", "'"};
  std::string Fmt, Expected;
  char Last = ' ';  // the letter of the last part, which makes "m" after "h" the minutes
  const int Count = In.ConsumeIntegralInRange(0, 12);
  for (int I = 0; I < Count; ++I) {
    std::string Part = Parts[In.ConsumeIntegralInRange<size_t>(0, std::size(Parts) - 1)];
    if (Part == "'") {
      std::string Text;
      Fmt += Quoted(In, Text);
      Expected += Text;
      continue;
    }
    if (Part == "/" || Part == ":") {
      Fmt += Part;
      Expected += Part == "/" ? FormatSettings.DateSeparator : FormatSettings.TimeSeparator;
      continue;
    }
    // A part right after one of the same letter would run into it.
    if (!Fmt.empty() && std::toupper(Fmt.back()) == std::toupper(Part[0])) Fmt += "''";
    if (In.ConsumeBool())
      for (char& C : Part) C = static_cast<char>(std::toupper(C));
    Fmt += Part;
    const int N = static_cast<int>(Part.size());
    char Letter = static_cast<char>(std::toupper(Part[0]));
    if (Letter == 'M' && Last == 'H') Letter = 'N';
    Last = Letter;
    switch (Letter) {
      case 'Y': Expected += N <= 2 ? Padded(Year % 100, 2) : Padded(Year, 4); break;
      case 'M': Expected += Padded(Month, N); break;
      case 'D': Expected += Padded(Day, N); break;
      case 'H': Expected += Padded(Hour, N); break;
      case 'N': Expected += Padded(Min, N); break;
      case 'S': Expected += Padded(Sec, N); break;
      default: Expected += Padded(MSec, N); break;
    }
  }
  // An empty format is the "c" format, which is another matter.
  if (!Fmt.empty()) CheckEqual(FormatDateTime(Fmt, Value) + " for " + Fmt, Expected + " for " + Fmt);
}

template <class F>
void Guarded(F&& Body) {
  try {
    Body();
  } catch (const EConvertError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  FuzzedDataProvider In(Data, Size);
  switch (In.ConsumeIntegralInRange(0, 2)) {
    case 1: return CheckPicture(In), 0;
    case 2: return CheckDateFormat(In), 0;
    default: break;
  }
  std::vector<std::string> Texts;
  const std::vector<TVarRec> Args = MakeArgs(In, Texts);
  const double Value = In.ConsumeFloatingPoint<double>();
  const std::string Fmt = In.ConsumeRemainingBytesAsString();

  // Format takes an initializer list, so each argument count gets its own call.
  Guarded([&] {
    switch (Args.size()) {
      case 0: Format(Fmt, {}); break;
      case 1: Format(Fmt, {Args[0]}); break;
      case 2: Format(Fmt, {Args[0], Args[1]}); break;
      case 3: Format(Fmt, {Args[0], Args[1], Args[2]}); break;
      default: Format(Fmt, {Args[0], Args[1], Args[2], Args[3]});
    }
  });
  Guarded([&] { FormatFloat(Fmt, Value); });
  Guarded([&] { FormatDateTime(Fmt, Value); });
  Guarded([&] { StrToFloat(Fmt); });
  Guarded([&] { StrToDateTime(Fmt); });
  return 0;
}
