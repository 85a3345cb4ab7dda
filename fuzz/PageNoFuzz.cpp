// Page ids: the label of any page reads back as that page, and a typed id is valid only when
// its page part is there and both parts are whole numbers. Page ranges typed into the two
// edits: an accepted range is two valid ids in order, with nothing said; a refused one is told
// to the user in exactly one box.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "engine/VLMXGbl/PageNumbers.h"
#include "engine/VLMXGbl/Run.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/headless/Headless.h"
#include "framework/rtl/SysUtils.h"
#include "fuzz/FuzzCheck.h"
#include "windows/ReportWindows.h"

namespace {

TPoint Parsed(const std::string& Text) {
  TPoint P{-1, -1};
  ParsePageNo(Text, P);
  return P;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  // The warnings reach the user through the report windows, as in the program.
  static const bool Windows = (RegisterReportWindows(), true);
  (void)Windows;
  FuzzedDataProvider In(Data, Size);
  Headless::Reset();
  TvlxRun Whole;
  TvlxRunScope Scope(Whole);
  TvlxReportSettings& Settings = Whole.Settings;
  TvlxPrintSettings& Run = Whole.State;

  // The label of a page, without and with a page word.
  Run.PagesAcross = In.ConsumeIntegralInRange(0, 3);
  Run.CurVertPage = In.ConsumeIntegralInRange(0, INT_MAX);
  Run.CurPageAcross = In.ConsumeIntegralInRange(0, INT_MAX);
  const TPoint Page{Run.PagesAcross < 2 ? 0 : Run.CurPageAcross, Run.CurVertPage};
  std::string Label;
  Run.FormatPageNo(Label);
  Check(IsValidPageNo(Label));
  Check(Parsed(Label) == Page);
  Settings.MemoPageFormatStr = In.ConsumeRandomLengthString(16);
  std::string Worded;
  Run.FormatPageNo(Worded);
  if (Settings.MemoPageFormatStr.find('%') == std::string::npos)
    Check(Worded == (Settings.MemoPageFormatStr.empty() ? "" : Settings.MemoPageFormatStr + " ") + Label);

  // Typed ids and ranges.
  const std::string FromText = In.ConsumeRandomLengthString(24);
  const std::string ToText = In.ConsumeRemainingBytesAsString();
  for (const std::string& Text : {FromText, ToText}) {
    if (!IsValidPageNo(Text)) continue;
    const size_t Dash = Text.find('-');
    const std::string PagePart = Text.substr(0, Dash);
    Check(!PagePart.empty());
    bool Error = true;
    Check(Parsed(Text).Y == PageNoPartToInt(Text, true, Error) && !Error);
  }
  TForm Form(nullptr);
  auto* From = new TEdit(&Form);
  auto* To = new TEdit(&Form);
  From->SetText(FromText);
  To->SetText(ToText);
  Check(ValidatePageRangeEdits(false, From, To));
  Check(Headless::MessageBoxes().empty());
  if (ValidatePageRangeEdits(true, From, To)) {
    Check(IsValidPageNo(FromText) && IsValidPageNo(ToText));
    Check(ComparePageNo(Parsed(FromText), Parsed(ToText)) <= 0);
    Check(Headless::MessageBoxes().empty());
  } else {
    Check(Headless::MessageBoxes().size() == 1);
    Check(!IsValidPageNo(FromText) || !IsValidPageNo(ToText) ||
          ComparePageNo(Parsed(FromText), Parsed(ToText)) > 0);
  }
  return 0;
}
