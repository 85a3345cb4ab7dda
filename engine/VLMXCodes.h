// The coded values of a report and its run, each with the number it is stored, compared and
// shown as. Unscoped enums with a byte underneath: the names read as plain codes everywhere,
// and a stored number outside the list still fits the field.
#pragma once
#include <cstdint>

// What a report prints (the settings' PrintWhat).
enum TPrintWhat : uint8_t {
  pwAll = 0,               // the entire tree or grid
  pwCurrentPage = 1,       // one page from the current row
  pwCurrentBranch = 2,
  pwBranchDown = 3,
  pwTestPage = 4,          // one page, then the user decides
  pwSnapshot = 5,          // the window that holds the object, as a picture
  pwPageRange = 6,
  pwSelectedRows = 7,
  pwCompleteBranches = 8,
};
// The last vertical page of a print range that runs to the report's end.
constexpr int AllPagesEnd = 99999;

// Where a report goes (the settings' OutputDest).
enum TOutputDest : uint8_t {
  odPrinter = 0,
  odTextFile = 1,
  odAsciiExport = 2,  // delimited rows, no pages
  odRtfFile = 3,      // the text file's lines under an RTF name
};

// What is done with a composed page (the run's PageMode).
enum TvlxPageMode : uint8_t {
  pmPrint = 0,       // emitted to the output
  pmPreview = 1,     // its lines go to the preview memo
  pmLayoutOnly = 2,  // pages before the print range, the last-page search
  pmAsciiExport = 3,
  pmColumnScan = 5,
};

// The row bands of a report, the index of their styles and counters (BandInfo, LineWidths)
// and the band a row or a cell belongs to; 0 stands for no band.
enum TRowBand : uint8_t {
  bnTitles = 1,  // the column titles
  bnData = 2,    // the data rows, group headings among them
  bnTotals = 3,  // the totals rows
};

// How far a run got (the run's RunState).
enum TvlxRunState : uint8_t {
  rsInactive = 0,
  rsActive = 1,
  rsCompletedNormally = 2,
  rsTerminatedWithError = 3,
  rsUserCancelled = 4,  // at the existing-file question
};

// The units a page is laid out in (the run's UnitSet).
enum TUnitSet : uint8_t {
  usDevice = 0,  // dots of the canvas in use
  usText = 1,    // characters across, lines down
};

// The kind of the printed object (the adapter's ObjType), assigned once by its class.
enum TObjKind : uint8_t {
  otNone = 0,  // not classified yet
  otDBGrid = 5,
  otOtherDBGrid = 6,
  otListBox = 12,
  otListView = 13,
  otStringGrid = 14,
  otTable = 15,
  otQuery = 16,
  otDataSet = 17,
  otDecisionGrid = 18,
};
// The span of codes that name a kind; the codes below it classify nothing.
constexpr uint8_t FirstKindCode = 3;
constexpr bool IsKindInRange(TObjKind Kind) { return Kind >= FirstKindCode && Kind <= otDecisionGrid; }
constexpr bool IsDBGridKind(TObjKind Kind) { return Kind == otDBGrid || Kind == otOtherDBGrid; }
constexpr bool IsDataSetKind(TObjKind Kind) { return Kind >= otTable && Kind <= otDataSet; }
// The kinds whose rows come from a dataset: DB grids and datasets.
constexpr bool IsDatabaseKind(TObjKind Kind) { return IsDBGridKind(Kind) || IsDataSetKind(Kind); }
// The last column of a selection when the object has no column selection: every column.
constexpr int AllColumnsLast = 99999;

// The lines drawn around and between cells. The vertical kinds run down a column zone, the
// horizontal kinds across a row band.
enum TLineKind : uint8_t {
  lkLeftEdge = 0,    // left border edge of a column
  lkColSep = 1,      // a column's left line when it is no border edge
  lkRightEdge = 2,   // right border edge of a column
  lkTopEdge = 3,     // top border edge of a band
  lkRowRule = 4,     // rule between rows
  lkBottomEdge = 5,  // bottom border edge of a band
  lkGrpBrkRule = 6,  // group-break rule
  lkNone = 7,        // no line; its width is always 0
};
constexpr int LineKindCount = 8;
