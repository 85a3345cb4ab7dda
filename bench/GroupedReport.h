// The report of the whole-report benchmarks: a generated grid with a group column and number
// columns, printed with group breaks and sums, so that a run carries previous values and totals.
#pragma once
#include <string>

#include "bench/BenchRun.h"
#include "engine/VLMXGbl/LineDraw.h"
#include "engine/Vellumix/SettingsKeys.h"

namespace GroupedReport {

// Column 0 breaks every 100 rows; columns 1, 4 and 7 hold numbers, the rest text.
inline std::string CellText(int Col, int Row) {
  if (Col == 0) return "Group " + std::to_string(Row / 100);
  if (Col % 3 == 1) return std::to_string(Row * 7 % 10007) + "." + std::to_string(Col % 10);
  return "text " + std::to_string(Row % 99991) + "-" + std::to_string(Col);
}

// Sets Report up for the report over the keys' defaults: IBM line drawing on a page wide
// enough for every column, one group-break column, sums of two number columns for each group
// and for the report, page numbers, the progress window as asked.
inline void Configure(BenchRun::TReport& Report, bool Progress = false) {
  TvlxReportSettings& S = Report.Settings;
  TvlxSettingsKeys(&S).ApplyDefaults();
  S.OutputQuality = 1;
  S.PauseAfterPrinting = false;
  S.DisplayProgressWin = Progress;
  S.NumFixedCols = 0;
  S.HideColumns = "~Line#";
  S.TxtCharsPageWid = 160;
  S.LinesPerpage = 60;
  S.NumGrpBrkCols = 1;
  S.RptMemo(PgNum)->Text = "\rPage ^P";
  S.GridChrsAscii = DefaultGridChrsAscii;
  S.GridChrsIbm = DefaultGridChrsIbm;
  Report.Sums = {{"Col#1", 0}, {"Col#4", 0}, {"Col#1", 1}, {"Col#4", 1}};
}

}  // namespace GroupedReport
