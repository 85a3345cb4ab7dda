// The adapter's part of the start of a run, as the setup window makes it, and the walk through
// the rows that the page composer makes: shared by the headless adapter tests and the adapter's
// scenario in real windows under Wine.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "engine/VLMXGbl/Run.h"
#include "engine/VLMXGbl/RunStart.h"
#include "engine/Vellumix/Vellumix.h"

namespace AdapterRun {

using TRow = std::vector<std::string>;
using TRows = std::vector<TRow>;

// Counters as the report start sets them.
inline void StartReport(TvlxRun& Run) {
  Run.Adapter().ResetPrevValues();
  Run.Adapter().SelRowNdx = 0;
  Run.State.RecordCounter = 0;
  for (auto& Band : Run.Styles.BandInfo) Band = TBandInfo{};
}

// The start of a run of Vlx over Object, on the run's current adapter, up to its column list
// (Whole: with the styles, the output, the page and the column scan), on the settings as given.
inline void Start(TvlxRun& Run, TvlxVellumix& Vlx, TComponent* Object, bool Whole = false) {
  TvlxGivenSettingsSteps Given;
  Run.Adapter().Component = &Vlx;
  Vlx.SetObjectToPrint(Object);
  if (Whole) StartRun(Run, Given);
  else StartObject(Run, Given);
  StartReport(Run);
}

// The texts of the printed columns from FirstCol on, of the row where the adapter stands.
inline TRow RowTexts(TObjInfo& Info, int Level, int FirstCol = 0, bool Accumulate = false) {
  TRow Row;
  for (int C = FirstCol; C < Info.ColsList->Count(); ++C) {
    if (!Info.ColsList->Items(C)->Printed) continue;
    std::string Text;
    Info.GetCellText(Level, C, Text, Accumulate, true);
    Row.push_back(Text);
  }
  return Row;
}

// Every data row as the page composer reads it; AfterRow runs after each.
inline TRows Walk(TObjInfo& Info, int FirstCol = 0, bool Accumulate = false,
                  const std::function<void()>& AfterRow = {}) {
  TRows Rows;
  if (!Info.First()) return Rows;
  while (!Info.EndOfRows) {
    Rows.push_back(RowTexts(Info, 2, FirstCol, Accumulate));
    Info.Next(bnData, false);
    if (AfterRow) AfterRow();
  }
  return Rows;
}

}  // namespace AdapterRun
