// The column scan of a large string grid: every row measured once in character output, then
// the layout over pages across. Reported as rows per second, with the bytes the scan keeps per
// column, which must not grow with the rows.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Forms.h"
#include "framework/Grids.h"

namespace {

constexpr int ColCount = 10;

std::string CellText(int Col, int Row) {
  if (Col % 3 == 1) return std::to_string(Row * 7 % 10007) + "." + std::to_string(Col);
  return "text " + std::to_string(Row % 997) + std::string(Row % 13, '-') + std::to_string(Col);
}

struct TFixture {
  TForm Form{nullptr};
  TStringGrid* Grid = nullptr;

  explicit TFixture(int RowCount) {
    Grid = new TStringGrid(&Form);
    Grid->SetName("grid");
    Grid->SetColCount(ColCount);
    Grid->SetRowCount(RowCount + 1);
    Grid->SetFixedCols(0);
    for (int C = 0; C < ColCount; ++C) Grid->SetCells(C, 0, "Title " + std::to_string(C));
    for (int R = 1; R <= RowCount; ++R)
      for (int C = 0; C < ColCount; ++C) Grid->SetCells(C, R, CellText(C, R - 1));
  }
};

TFixture& Fixture(int RowCount) {
  static std::map<int, std::unique_ptr<TFixture>> Fixtures;
  auto& F = Fixtures[RowCount];
  if (!F) F = std::make_unique<TFixture>(RowCount);
  return *F;
}

// One scan over Grid; the bytes of the texts kept for the columns.
size_t ScanOnce(TStringGrid* Grid, int& Rows) {
  TvlxReportSettings Settings;
  TvlxPrintSettings Run;
  TRptStyles Styles;
  TvlxVellumix Vlx(nullptr);
  Settings.OutputQuality = 0;  // character output
  Settings.MaxStringColWidTxt = 40;
  Settings.NumFixedCols = 1;
  Run.SetTextMode();
  Run.PageWidth = 132;
  RptSettings = &Settings;
  PrintSettings = &Run;
  RptStyles = &Styles;
  size_t Kept = 0;
  {
    TObjInfo Info;
    ObjInfo = &Info;
    Info.Component = &Vlx;
    Vlx.SetObjectToPrint(Grid);
    Info.Setup();
    Info.CalcUsedExtent();
    int Count = Info.ColCount;
    Info.BuildColList(Count, true);
    Info.CheckEmpty();
    bool RescanPending = true;
    Info.ColumnScan(nullptr, nullptr, RescanPending);
    Rows = Info.RowsProcessed;
    for (int C = 0; C < Info.ColsList->Count(); ++C)
      for (const TColStrWid& Record : Info.ColsList->Items(C)->Texts) Kept += Record.Text.size();
    ObjInfo = nullptr;
  }
  RptStyles = nullptr;
  PrintSettings = nullptr;
  RptSettings = nullptr;
  return Kept;
}

void BM_StringGridColumnScan(benchmark::State& State) {
  TStringGrid* Grid = Fixture(static_cast<int>(State.range(0))).Grid;
  long long Rows = 0;
  size_t Kept = 0;
  for (auto _ : State) {
    int Scanned = 0;
    Kept = ScanOnce(Grid, Scanned);
    Rows += Scanned;
  }
  State.counters["rows/s"] = benchmark::Counter(static_cast<double>(Rows), benchmark::Counter::kIsRate);
  State.counters["kept bytes"] = static_cast<double>(Kept);
  State.SetComplexityN(State.range(0));
}

// A quarter and the whole: linear time shows as an equal rate, constant memory as equal kept bytes.
BENCHMARK(BM_StringGridColumnScan)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Arg(50000)
    ->Arg(200000)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
