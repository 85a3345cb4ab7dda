// The column settings strings: whatever a settings file holds, reading it into the columns
// and writing it back gives a string that reads back into the same kinds and formats and
// writes again unchanged; written from a list that lacks some columns for the moment, it
// keeps their choices for the whole list to read again.
#include <fuzzer/FuzzedDataProvider.h>

#include <memory>
#include <string>

#include "engine/VLMXCols.h"
#include "engine/Vellumix/ReportSettings.h"
#include "fuzz/FuzzCheck.h"
#include "engine/VLMXGbl/ColumnTotals.h"

namespace {

std::unique_ptr<TColsList> Columns(bool LastHidden, int Count = 4) {
  auto List = std::make_unique<TColsList>();
  for (const char* Name : {"~Line#", "Amount", "Qty", "Region"}) {
    if (List->Count() == Count) break;
    auto Entry = std::make_unique<TColsListData>();
    Entry->FieldName = Name;
    Entry->Printed = true;
    List->Add(std::move(Entry));
  }
  List->Items(List->Count() - 1)->Printed = !LastHidden;
  return List;
}

// Every column's format and its kinds level by level.
std::string Describe(const TColsList& List) {
  std::string S;
  for (int I = 0; I < List.Count(); ++I) {
    const TColsListData& C = *List.Items(I);
    S += C.FieldName + '\0' + C.TotalText + '\0';
    for (int L = 0; C.TotList && L < C.TotList->Count(); ++L)
      if (const TColTotListData* T = C.TotList->Items(L))
        S += std::to_string(L) + TotalKindNames[T->Kind];
    S += '\n';
  }
  return S;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  FuzzedDataProvider In(Data, Size);
  const bool LastHidden = In.ConsumeBool();
  const int InList = In.ConsumeIntegralInRange(1, 3);  // columns in the list for the moment
  TvlxReportSettings S;
  S.GroupColumns = In.ConsumeRandomLengthString(32);
  S.ColumnTotals = In.ConsumeRemainingBytesAsString();

  const auto First = Columns(LastHidden);
  LoadColumnTotals(*First, S);
  SaveColumnTotals(*First, S);
  CheckEqual(S.HideColumns, LastHidden ? "Region" : "");
  const std::string Saved = S.ColumnTotals;

  // The saved string keeps every nameable total: read into fresh columns, the levels, kinds
  // and formats it carries come back the same, and it writes again unchanged.
  const auto Second = Columns(LastHidden);
  LoadColumnTotals(*Second, S);
  Check(!SaveColumnTotals(*Second, S).Columns);
  CheckEqual(S.ColumnTotals, Saved);
  const auto Third = Columns(LastHidden);
  LoadColumnTotals(*Third, S);
  CheckEqual(Describe(*Third), Describe(*Second));

  // The last columns out of the list for the moment, and back.
  const auto Part = Columns(false, InList);
  LoadColumnTotals(*Part, S);
  SaveColumnTotals(*Part, S);
  CheckEqual(S.HideColumns, LastHidden ? "Region" : "");
  const auto Whole = Columns(LastHidden);
  LoadColumnTotals(*Whole, S);
  CheckEqual(Describe(*Whole), Describe(*Second));
  return 0;
}
