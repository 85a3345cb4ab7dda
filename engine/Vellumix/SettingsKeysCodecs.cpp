// The value codecs of the settings keys: stored texts to field values and back.
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/SettingsKeys.h"
#include "framework/rtl/SysUtils.h"

namespace {

// The first Count comma-separated integers of Text; false when one is missing or bad, whose
// place then holds 0.
bool ReadInts(const std::string& Text, int* Out, int Count) {
  bool AllRead = true;
  size_t From = 0;
  for (int I = 0; I < Count; ++I) {
    if (From > Text.size()) {
      Out[I] = 0;
      AllRead = false;
      continue;
    }
    size_t To = Text.find(',', From);
    if (To == std::string::npos) To = Text.size();
    bool Error;
    Out[I] = StrToIntChecked(Text.substr(From, To - From), Error);
    AllRead = AllRead && !Error;
    From = To + 1;
  }
  return AllRead;
}

bool DecodeStamp(const std::string& Text, TDateTime& Result) {
  static constexpr struct { int From, Length; } Parts[] = {{1, 4}, {5, 2}, {7, 2}, {10, 2}, {12, 2}, {14, 2}};
  int N[6];
  for (int I = 0; I < 6; ++I) {
    bool Error;
    N[I] = StrToIntChecked(Copy(Text, Parts[I].From, Parts[I].Length), Error);
    if (Error) return false;
  }
  TDateTime Day, Time;
  if (!TryEncodeDate(N[0], N[1], N[2], Day) || !TryEncodeTime(N[3], N[4], N[5], 0, Time))
    return false;
  // Before 30 December 1899 the day counts down while the time of day still counts up.
  Result = Day < 0 ? Day - Time : Day + Time;
  return true;
}

}  // namespace

// ---- Codecs ----------------------------------------------------------------------------------

int TextToInt(const std::string& Value, const std::string& Default, TValueRange Range) {
  bool Error;
  const int N = StrToIntChecked(Value, Error);
  return Error || !Range.Contains(N) ? StrToIntChecked(Default, Error) : N;
}

bool TextToBool(const std::string& Value, const std::string& Default) {
  bool Error;
  const int N = StrToIntChecked(Value, Error);
  if (!Error && (N == 0 || N == 1)) return N == 1;
  return StrToIntChecked(Default, Error) != 0;
}

bool ReadsAsStored(TrsfForm Form, const std::string& Value) {
  int N[4];
  bool Error = false;
  switch (Form) {
    case rfInteger: StrToIntChecked(Value, Error); return !Error;
    case rfBoolean: N[0] = StrToIntChecked(Value, Error); return !Error && (N[0] == 0 || N[0] == 1);
    case rfRect: return ReadInts(Value, N, 4);
    case rfPair: return ReadInts(Value, N, 2) && N[0] >= 0 && N[1] >= 0;
    case rfString:
    case rfDateTime: break;
  }
  return true;
}

std::string PickValue(const std::string& Value, const std::string& Default) {
  return Value.empty() ? Default : Value;
}

TRect TextToRect(const std::string& Value, const std::string& Default) {
  int N[4];
  if (!ReadInts(Value, N, 4)) ReadInts(Default, N, 4);
  return {N[0], N[1], N[2], N[3]};
}

TPoint TextToPoint(const std::string& Value, const std::string& Default) {
  int N[2];
  if (!ReadInts(Value, N, 2)) ReadInts(Default, N, 2);
  return {N[0], N[1]};
}

TDateTime TextToDateTime(const std::string& Value, const std::string& Default) {
  const std::string Text = PickValue(Value, Default);
  if (Text.empty() || Text.find('/') != std::string::npos) return Now();
  TDateTime Result;
  if (DecodeStamp(Text, Result)) return Result;
  if (Text == Default) return Now();
  try {
    return StrToDateTime(Default);
  } catch (const EConvertError&) {
    return Now();
  }
}

std::string RectToText(const TRect& R) {
  return IntToStr(R.Left) + "," + IntToStr(R.Top) + "," + IntToStr(R.Right) + "," + IntToStr(R.Bottom);
}

std::string PointToText(TPoint P) { return IntToStr(P.X) + "," + IntToStr(P.Y); }

std::string DateTimeToText(TDateTime Value) {
  int Year, Month, Day, Hour, Min, Sec, MSec;
  DecodeDate(Value, Year, Month, Day);
  DecodeTime(Value, Hour, Min, Sec, MSec);
  return Format("%.4d%.2d%.2d.%.2d%.2d%.2d", {Year, Month, Day, Hour, Min, Sec});
}
