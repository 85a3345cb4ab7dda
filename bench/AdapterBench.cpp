// Walking a large object through the adapter, as the page composer does: every row by First and
// Next, every cell by GetCellText, with totals on two columns and one group-break column.
// Reported as cells per second.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchRun.h"

namespace {

std::string CellText(int Col, int Row) {
  if (Col == 0) return "Group " + std::to_string(Row / 100);  // a group of 100 rows
  if (Col % 3 == 1) return std::to_string(Row * 7 % 10007) + "." + std::to_string(Col);
  return "text " + std::to_string(Row) + "-" + std::to_string(Col);
}

// One report over Object: the start of a run, then every cell of every row.
long long WalkReport(TComponent* Object) {
  BenchRun::TReport Report;
  Report.Settings.NumGrpBrkCols = 1;
  Report.Settings.CountNumRcds = true;
  Report.Start(Object);
  TObjInfo& Info = Report.Info;
  for (int C : {2, 5}) Report.AddSum(C);  // two numeric columns (after the line number)
  Info.ColsList->ResetTotals(true);
  Info.ResetPrevValues();
  long long Cells = 0;
  std::string Text;
  const int Columns = Info.ColsList->Count();
  for (bool Found = Info.First(); Found && !Info.EndOfRows; Info.Next(bnData, false)) {
    for (int C = 0; C < Columns; ++C) {
      Info.GetCellText(bnData, C, Text, true, true);
      benchmark::DoNotOptimize(Text.data());
    }
    Cells += Columns;
  }
  return Cells;
}

void Walk(benchmark::State& State, TComponent* Object) {
  long long Cells = 0;
  for (auto _ : State) Cells += WalkReport(Object);
  State.counters["cells/s"] = benchmark::Counter(static_cast<double>(Cells), benchmark::Counter::kIsRate);
  State.counters["cells"] = static_cast<double>(Cells) / State.iterations();
}

BenchRun::TObjects& Objects(benchmark::State& State) {
  return BenchRun::Objects(static_cast<int>(State.range(0)), CellText, true);
}

void BM_StringGridWalk(benchmark::State& State) { Walk(State, Objects(State).Grid); }
void BM_DataSetWalk(benchmark::State& State) { Walk(State, Objects(State).DataSet); }

// A quarter of the rows as well: the rate must not fall as the rows grow.
BENCHMARK(BM_StringGridWalk)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(50000)->Arg(200000);
BENCHMARK(BM_DataSetWalk)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(50000)->Arg(200000);

}  // namespace

BENCHMARK_MAIN();
