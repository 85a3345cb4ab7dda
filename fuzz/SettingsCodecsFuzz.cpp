// The settings values' codecs. Any stored text reads as a value in the key's range or as the
// key's default, never a crash. Numbers, byte codes, rects, pairs and date-times read back as
// written; a string value (such as HideColumns or ColumnTotals) and a memo text, whatever
// their bytes, read back exactly and leave the sections around them as they were.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "engine/Vellumix/FileMgrText.h"
#include "engine/Vellumix/SettingsKeys.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/SysUtils.h"
#include "fuzz/FuzzCheck.h"
#include "tests/support/SettingsSection.h"

namespace {

// The section [A] made of Line, between two sections that must stay as they are.
std::vector<std::string> Around(const std::string& Lines, std::vector<std::string>& Others) {
  TvlxSettingsText Text("[Z]\r\nPrintWhat=2\r\n\r\n[A]\r\n" + Lines + "\r\n[B]\r\nPrintWhat=1\r\n");
  Others = ReadSection(Text, "[Z]");
  const std::vector<std::string> B = ReadSection(Text, "[B]");
  Others.insert(Others.end(), B.begin(), B.end());
  return ReadSection(Text, "[A]");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  FuzzedDataProvider In(Data, Size);
  const int N[4] = {In.ConsumeIntegral<int>(), In.ConsumeIntegral<int>(), In.ConsumeIntegral<int>(),
                    In.ConsumeIntegral<int>()};
  const TValueRange Range{std::min(N[0], N[1]), std::max(N[0], N[1])};
  const std::string Stored = In.ConsumeRandomLengthString(64);
  const std::string Default = In.ConsumeRandomLengthString(32);

  // Numbers: written texts read back; a stored text gives a number in range or the default's.
  Check(TextToInt(IntToStr(N[2]), "x") == N[2]);
  Check(static_cast<uint8_t>(TextToInt(IntToStr(N[2] & 0xFF), "")) == (N[2] & 0xFF));
  const int Read = TextToInt(Stored, Default, Range);
  Check(Range.Contains(Read) || Read == TextToInt(Default, ""));
  const TRect R{N[0], N[1], N[2], N[3]};
  Check(TextToRect(RectToText(R), "x") == R);
  Check(TextToPoint(PointToText({N[2], N[3]}), "x") == (TPoint{N[2], N[3]}));
  TextToRect(Stored, Default);
  TextToPoint(Stored, Default);

  // Date-times to the second, from 1 January 0001 to 31 December 9999.
  const TDateTime First = EncodeDate(1, 1, 1), Last = EncodeDate(9999, 12, 31);
  const int64_t Seconds = static_cast<int64_t>((Last - First + 1) * 86400);
  const int64_t Second = In.ConsumeIntegralInRange<int64_t>(0, Seconds - 1);
  const TDateTime Day = First + static_cast<double>(Second / 86400);
  const int S = static_cast<int>(Second % 86400);
  const TDateTime Time = EncodeTime(S / 3600, S / 60 % 60, S % 60, 0);
  const std::string Stamp = DateTimeToText(Day < 0 ? Day - Time : Day + Time);
  CheckEqual(DateTimeToText(TextToDateTime(Stamp, "")), Stamp);
  TextToDateTime(Stored, Default);

  // String values and memo texts, whatever their bytes.
  const std::string Value = In.ConsumeRemainingBytesAsString();
  std::vector<std::string> Others;
  for (const char* Key : {"HideColumns", "ColumnTotals", "Memo,RptTi,MemoFontName"}) {
    const std::vector<std::string> Lines = Around(SettingsLine(Key, Value), Others);
    Check(Lines.size() == 1 && Others == (std::vector<std::string>{"PrintWhat=2", "PrintWhat=1"}));
    std::string K, V;
    SplitSettingsLine(Lines[0], K, V);
    UnescapeSettingsLine(K, V);
    Check(K == Key && V == Value);
  }
  const std::vector<std::string> Memo = Around(MemoBlock("RptTi", Value), Others);
  Check(Memo.size() == 1 && Others == (std::vector<std::string>{"PrintWhat=2", "PrintWhat=1"}));
  std::string K, V;
  SplitSettingsLine(Memo[0], K, V);
  Check(Memo[0] == "memo RptTi:" + Value || (UnescapeSettingsLine(K, V) && IsMemoTextKey(K) && V == Value));
  return 0;
}
