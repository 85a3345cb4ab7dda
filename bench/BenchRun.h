// What the report benchmarks share: large generated objects (a string grid and a dataset of the
// same rows, built once per size) and the run objects of one report, set up as the start of a
// run sets them up.
#pragma once
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/VLMXGbl/PublishedRun.h"
#include "engine/VLMXGbl/Run.h"
#include "engine/VLMXGbl/RunStart.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/DB.h"
#include "framework/Forms.h"
#include "framework/Grids.h"

namespace BenchRun {

constexpr int ColCount = 10;

// The text of a generated cell; every third column (1, 4, 7) holds a number.
using TCellText = std::string (*)(int Col, int Row);

struct TObjects {
  TForm Form{nullptr};
  TStringGrid* Grid = nullptr;
  TDataSet* DataSet = nullptr;

  TObjects(int RowCount, TCellText Text, bool WithDataSet) {
    Grid = new TStringGrid(&Form);
    Grid->SetName("grid");
    Grid->SetColCount(ColCount);
    Grid->SetRowCount(RowCount + 1);
    Grid->SetFixedCols(0);
    for (int C = 0; C < ColCount; ++C) Grid->SetCells(C, 0, "Title " + std::to_string(C));
    for (int R = 1; R <= RowCount; ++R)
      for (int C = 0; C < ColCount; ++C) Grid->SetCells(C, R, Text(C, R - 1));
    if (!WithDataSet) return;
    DataSet = new TDataSet(&Form);
    DataSet->SetName("ds");
    for (int C = 0; C < ColCount; ++C)
      DataSet->FieldDefs().Add("F" + std::to_string(C), C % 3 == 1 ? ftFloat : ftString, 24);
    DataSet->Open();
    std::vector<TFieldValue> Values(ColCount);
    for (int R = 0; R < RowCount; ++R) {
      for (int C = 0; C < ColCount; ++C) {
        if (C % 3 == 1) Values[C] = std::stod(Text(C, R));
        else Values[C] = Text(C, R);
      }
      DataSet->AppendRecord(Values);
    }
  }
};

// A line "Key: n kB" of /proc/self/status; -1 when missing.
inline long StatusKb(const std::string& Key) {
  std::ifstream In("/proc/self/status");
  for (std::string Line; std::getline(In, Line);)
    if (Line.rfind(Key + ":", 0) == 0) return std::stol(Line.substr(Key.size() + 1));
  return -1;
}

// Starts the resident high-water mark (VmHWM) again from the present resident size, so that
// the peak of one run is seen apart from the fixture built before it. False when the kernel
// refused.
inline bool ResetPeakRss() {
  std::ofstream Out("/proc/self/clear_refs");
  Out << "5" << std::flush;
  return Out.good();
}

// Built once per row count, generator and kind.
inline TObjects& Objects(int RowCount, TCellText Text, bool WithDataSet) {
  static std::map<std::tuple<int, TCellText, bool>, std::unique_ptr<TObjects>> Built;
  auto& Entry = Built[{RowCount, Text, WithDataSet}];
  if (!Entry) Entry = std::make_unique<TObjects>(RowCount, Text, WithDataSet);
  return *Entry;
}

// The run of one report, published to the windows' references while this lives, started as
// the setup window starts a run, with the settings the benchmark sets on it beforehand.
struct TReport : TPublishedRun, TvlxGivenSettingsSteps {
  // Sums that the start sets on the column list: {column name, break level}.
  std::vector<std::pair<std::string, int>> Sums;

  void ColumnsBuilt() override {
    for (const auto& [Column, Level] : Sums) AddSum(Info.ColsList->IndexOfName(Column), Level);
  }

  // Classifies Object, measures it and builds its column list.
  void Start(TComponent* Object) {
    Vlx.SetObjectToPrint(Object);
    StartObject(TheRun, *this);
  }

  // Prints Object into FileName as the setup window prints it with the destination "Text
  // File": the start of the run, the Print command's preparation, the run; the run's result.
  int Print(TComponent* Object, const std::string& FileName) {
    Settings.OutputDest = odTextFile;
    Settings.OutputFileName = FileName;
    Vlx.SetObjectToPrint(Object);
    StartRun(TheRun, *this);
    bool RescanPending = false;
    PrepareToPrint(TheRun, *this, RescanPending);
    return Run.Execute(Settings.PauseAfterPrinting);
  }

  // A sum on one column of the column list at break Level (0: the report's).
  void AddSum(int Column, int Level = 0) {
    bool Changed = false;
    auto& List = Info.ColsList->Items(Column)->TotList;
    if (!List) List = std::make_unique<TColTotList>();
    List->SetKind(Level, tkSum, Changed);
  }

  // One delimited export of Object to FileName with the settings' working defaults (tab
  // delimited, quoted, column titles) and a sum on one column; the rows written.
  int ExportAscii(TComponent* Object, const std::string& FileName) {
    Settings.CountNumRcds = true;
    Settings.ExportFieldDelim = "9";
    Settings.ExportQuote = "\"";
    Settings.ExportMaxStrLng = Settings.ExportMaxMemoLng = 100;
    Settings.ExportOnlyPrintableChrs = true;
    Settings.SetItemOpt(ioColumnTitles, true);
    Settings.HideColumns = "~Line#";
    Start(Object);
    AddSum(2);
    Info.CountTotalLines();
    Run.TextFile.Open(FileName, false);
    Run.ExportAscii();
    Run.TextFile.Close();
    return Info.RowsProcessed;
  }
};

}  // namespace BenchRun
