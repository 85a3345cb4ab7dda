// The report of the whole-report benchmarks: a generated grid with a group column and number
// columns, printed with group breaks and sums, so that a run carries previous values and totals.
#pragma once
#include <string>

#include "tests/support/GoldenReports.h"

namespace GroupedReport {

// Column 0 breaks every 100 rows; columns 1, 4 and 7 hold numbers, the rest text.
inline std::string CellText(int Col, int Row) {
  if (Col == 0) return "Group " + std::to_string(Row / 100);
  if (Col % 3 == 1) return std::to_string(Row * 7 % 10007) + "." + std::to_string(Col % 10);
  return "text " + std::to_string(Row % 99991) + "-" + std::to_string(Col);
}

// IBM line drawing on a page wide enough for every column, one group-break column, sums of two
// number columns for each group and for the report, page numbers, no progress window. The
// source is the grid given to the report, not the case's own.
inline const GoldenReports::TCase Case = {
    "bench-grid",
    GoldenReports::TSource::Numbers,
    {"OutputQuality=1", "PauseAfterPrinting=0", "DisplayProgressWin=0", "NumFixedCols=0", "HideColumns=~Line#",
     "TxtCharsPageWid=160", "LinesPerpage=60", "NumGrpBrkCols=1"},
    {{PgNum, "\rPage ^P"}},
    {{"Col#1", 0, tkSum}, {"Col#4", 0, tkSum}, {"Col#1", 1, tkSum}, {"Col#4", 1, tkSum}}};

}  // namespace GroupedReport
