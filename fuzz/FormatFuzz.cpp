// Format texts that users type (totals formats, the page word, memo date and time formats)
// reach Format, FormatFloat and FormatDateTime. Whatever the text and the arguments, the
// result is a string or an EConvertError: never a crash, an overread or another exception.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "framework/rtl/DateUtils.h"
#include "framework/rtl/SysUtils.h"

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
