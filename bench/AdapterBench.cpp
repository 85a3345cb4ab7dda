// Walking a large object through the adapter, as the page composer does: every row by First and
// Next, every cell by GetCellText, with totals on two columns and one group-break column.
// Reported as cells per second.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/DB.h"
#include "framework/Forms.h"
#include "framework/Grids.h"

namespace {

constexpr int ColCount = 10;

std::string CellText(int Col, int Row) {
  if (Col == 0) return "Group " + std::to_string(Row / 100);  // a group of 100 rows
  if (Col % 3 == 1) return std::to_string(Row * 7 % 10007) + "." + std::to_string(Col);
  return "text " + std::to_string(Row) + "-" + std::to_string(Col);
}

struct TFixture {
  TForm Form{nullptr};
  TStringGrid* Grid = nullptr;
  TDataSet* DataSet = nullptr;

  explicit TFixture(int RowCount) {
    Grid = new TStringGrid(&Form);
    Grid->SetName("grid");
    Grid->SetColCount(ColCount);
    Grid->SetRowCount(RowCount + 1);
    Grid->SetFixedCols(0);
    for (int C = 0; C < ColCount; ++C) Grid->SetCells(C, 0, "Title " + std::to_string(C));
    for (int R = 1; R <= RowCount; ++R)
      for (int C = 0; C < ColCount; ++C) Grid->SetCells(C, R, CellText(C, R - 1));

    DataSet = new TDataSet(&Form);
    DataSet->SetName("ds");
    for (int C = 0; C < ColCount; ++C)
      DataSet->FieldDefs().Add("F" + std::to_string(C), C % 3 == 1 ? ftFloat : ftString, 24);
    DataSet->Open();
    std::vector<TFieldValue> Values(ColCount);
    for (int R = 0; R < RowCount; ++R) {
      for (int C = 0; C < ColCount; ++C) {
        if (C % 3 == 1) Values[C] = std::stod(CellText(C, R));
        else Values[C] = CellText(C, R);
      }
      DataSet->AppendRecord(Values);
    }
  }
};

// One object of each kind per row count, built once.
TFixture& Fixture(int RowCount) {
  static std::map<int, std::unique_ptr<TFixture>> Fixtures;
  auto& F = Fixtures[RowCount];
  if (!F) F = std::make_unique<TFixture>(RowCount);
  return *F;
}

// One report over Object: the start of a run, then every cell of every row.
long long WalkReport(TComponent* Object) {
  TvlxReportSettings Settings;
  TvlxPrintSettings Run;
  TRptStyles Styles;
  TvlxVellumix Vlx(nullptr);
  Settings.NumGrpBrkCols = 1;
  Settings.CountNumRcds = true;
  RptSettings = &Settings;
  PrintSettings = &Run;
  RptStyles = &Styles;
  long long Cells = 0;
  {
    TObjInfo Info;
    ObjInfo = &Info;
    Info.Component = &Vlx;
    Vlx.SetObjectToPrint(Object);
    Info.Setup();
    Info.CalcUsedExtent();
    int Count = Info.ColCount;
    Info.BuildColList(Count, true);
    Info.CheckEmpty();
    for (int C : {2, 5}) {  // totals on two numeric columns (after the line number)
      bool Changed = false;
      TColsListData& Column = *Info.ColsList->Items(C);
      Column.TotList = std::make_unique<TColTotList>();
      Column.TotList->SetKind(0, tkSum, Changed);
    }
    Info.ColsList->ResetTotals(true);
    Info.ResetPrevValues();
    std::string Text;
    const int Columns = Info.ColsList->Count();
    for (bool Found = Info.First(); Found && !Info.EndOfRows; Info.Next(2, false)) {
      for (int C = 0; C < Columns; ++C) {
        Info.GetCellText(2, C, Text, true, true);
        benchmark::DoNotOptimize(Text.data());
      }
      Cells += Columns;
    }
    ObjInfo = nullptr;
  }
  RptStyles = nullptr;
  PrintSettings = nullptr;
  RptSettings = nullptr;
  return Cells;
}

void Walk(benchmark::State& State, TComponent* Object) {
  long long Cells = 0;
  for (auto _ : State) Cells += WalkReport(Object);
  State.counters["cells/s"] = benchmark::Counter(static_cast<double>(Cells), benchmark::Counter::kIsRate);
  State.counters["cells"] = static_cast<double>(Cells) / State.iterations();
}

void BM_StringGridWalk(benchmark::State& State) { Walk(State, Fixture(State.range(0)).Grid); }
void BM_DataSetWalk(benchmark::State& State) { Walk(State, Fixture(State.range(0)).DataSet); }

// A quarter of the rows as well: the rate must not fall as the rows grow.
BENCHMARK(BM_StringGridWalk)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(50000)->Arg(200000);
BENCHMARK(BM_DataSetWalk)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(50000)->Arg(200000);

}  // namespace

BENCHMARK_MAIN();
