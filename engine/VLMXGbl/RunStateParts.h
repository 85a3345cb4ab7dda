// The parts of a run's state, each of one concern: the page geometry and its units, the print
// range, the composition of the current page, and the output. The run state is made of them
// (TvlxPrintSettings), so every field keeps its name there.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/VLMXCodes.h"
#include "engine/VLMXGbl/Output.h"
#include "engine/VLMXGbl/OutputFile.h"
#include "framework/Controls.h"
#include "framework/Printers.h"
#include "framework/rtl/StringList.h"

// Left edge and width of one column group of the page across.
struct TGroupSpan {
  int Left = 0;
  int Width = 0;
};

// The device's resolutions, the character cell, the unit set and the page's measures in it,
// with the conversions between stored sizes (thousandths of an inch) and those units.
struct TPageGeometry {
  // Value (thousandths of an inch) along Axis (0 horizontal, 1 vertical) in text units
  // (characters across, lines down) or in device units of the device in use at the zoom.
  // AtLeastOne keeps a positive Value from vanishing: in text units any positive Value is then
  // one unit. 0 while the character cell or the resolution is unknown.
  int ToUnits(int Value, bool TextUnits, bool AtLeastOne, int Axis) const;
  // Value unchanged in text units, else ToUnits.
  int ToUnitsIfTypeset(int Value, bool TextUnits, bool AtLeastOne, int Axis) const;
  // Screen pixels along Axis as device dots; 0 while the screen's resolution is unknown.
  int ScaleXY(int Value, int Axis) const;
  // In text units: printer dots as whole lines (Vertical) or characters; otherwise Value.
  int PixToChars(int Value, bool Vertical) const;
  // Device pixels along Axis (0 x, 1 y) in thousandths of an inch; 0 without a resolution.
  int PixToThousandths(int Value, int Axis) const;
  // Once the page setup changed: the screen's and the printer's dots per inch read again, the
  // printer's becoming the device's in use.
  void GetResolutions();

  // Dots per inch: the device in use, the printer, the screen.
  int DevResX = 0, DevResY = 0;
  int PrtResX = 0, PrtResY = 0;
  int ScrResX = 0, ScrResY = 0;
  // Printer dots of one character cell and one text line.
  int CharWidth = 0, LineHeight = 0;
  int ZoomPercent = 100;
  TUnitSet UnitSet = usDevice;
  int WorkFontSize = 0;
  // In the unit set: characters per line and lines per page in text units.
  int PageWidth = 0, PageHeight = 0;
  int LeftMargin = 0, RightEdge = 0;
  // The report body is laid out this many times side by side on a sheet.
  int PanelsAcrossPage = 0;
  int PanelStep = 0;   // from one panel across the page to the next, on the current page across
  int PanelGap = 0;
  // Every printed column side by side plus the panel gap: one panel of the whole report, which
  // the font fitting and the setup window's width status measure.
  int PanelWidth = 0;
  bool PageSetupChanged = false;  // the resolutions are to be read again
};

// Which pages and rows the run prints.
struct TPrintRange {
  // Pages as {page across, vertical page}.
  TPoint PrintRangeFrom{1, 1};
  TPoint PrintRangeTo{9999, 32000};
  bool AllPages = true;
  // The run starts on a restart point of the preview, which put back the previous values, the
  // totals and the selection position as they stood there: the report start keeps them.
  bool FromRestartPoint = false;
  // Only the rows selected in the object are printed.
  bool SelectedRowsOnly = false;
};

// Where the page being composed stands: the page and panel, the row and column being printed,
// the rectangles of the cell and its text, the rules and the places of the report's end.
struct TCompositionState {
  // Clears the group heading row in progress and its caption.
  void ClearSelRows() {
    GrpHdrRow = false;
    GrpHdrCaption.clear();
  }
  // The current page as {page across, vertical page}.
  TPoint CurPagePos() const { return {CurPageAcross, CurVertPage}; }

  // Number of pages across a wide report, and the page across being composed (from 1).
  int PagesAcross = 0;
  int CurPageAcross = 0;
  int CurVertPage = 0;
  // Number of the row being printed: the line-number column shows it.
  int RecordCounter = 0;
  // The list index below which the columns repeat on every page across: the fixed columns asked
  // for (a hidden one among them is not printed, the others still repeat), 0 when they leave
  // no room to repeat them.
  int FixedColCount = 0;
  // Column ColNdx of the list is one of the leading columns repeated on every page across.
  bool IsRepeatedCol(int ColNdx) const { return ColNdx < FixedColCount; }
  // Level of the group heading row being printed.
  int GrpLevel = 0;
  // No row printed yet on the page.
  bool PageTop = false;
  // No data row printed yet on the page, whatever titles stand above.
  bool BodyTop = false;
  // A group heading row is being printed, with this caption.
  bool GrpHdrRow = false;
  std::string GrpHdrCaption;
  // The preview composes again a page whose values the totals already hold.
  bool ReRendering = false;
  // A memo rather than a cell is being laid out: OnFieldAlign is for cells only.
  bool DrawingMemo = false;
  // The rows of the page are printed again on a later page across: their values are in the
  // totals already.
  bool ReplayingRows = false;

  // Going back to a recorded row's dataset bookmark failed: the row prints an error text.
  bool BookmarkFailed = false;
  TRect SavedBodyOrigin;  // cell rectangle after the page's title memos; later panels start there
  // The cell or row being printed; its Bottom is the last used unit of the page.
  TRect CellRect;
  TRect MaxRect;   // cell area handed to OnFieldAlign
  TRect TextRect;  // where text is drawn: OnFieldAlign's DataRect, memo rectangles
  unsigned char ExtentFlag = 0;
  std::array<TGroupSpan, 4> GroupSpans{};  // one per column group of the page across

  int CurPanel = 0;    // from 1
  int FirstCol = 0;    // first column of the current page across
  int GrpBrkCol = -1;  // column whose value changed on this row; -1 none
  int PrevGrpBrkCol = 0;
  int CurCol = 0;
  int LastCol = 0;     // last column of the page across
  std::array<int, 2> RememberedCols{-1, -1};
  int PagesLaidOut = 0;
  TPoint RptFtrPos;    // {page across, vertical page} where the report footer printed
  int RowsSinceRule = 0;
  // By column index: the row's height check found the cell's text one plain line, and so the
  // print of the row finds it; the print need not look for breaks and macros again.
  std::vector<unsigned char> OneLineCells;
  int RptLeftOffset = 0;  // left edge of the report on the sheet
  // The whole report: one panel of every column side by side, times the panels (the font
  // fitting and the width status read it); and what the page across being composed takes of
  // the sheet, its panels included. Composing a page never changes the first.
  int RptWidth = 0;
  int PageRptWidth = 0;
  int BodyBottom = 0;     // last unit that body rows may use
  int FooterReserve = 0;  // units kept free above the footer for totals
  // Vertical pages where the report end was placed; -1 none.
  int LastPageClamp = -1, TotalsPage = -1, RptFtrPage = -1;
  int BMCursor = 0;       // index in the row bookmarks while replaying
  int RecordCounterStart = 0;

  bool NewPagePos = false;  // the page lies after the last emitted one
  // The vertical page began after the report's end, its totals included: every page across of
  // it holds the report footer's page and nothing of the body.
  bool PastReportEnd = false;
  // Line options, copied from the style options when the run starts.
  bool ShareAdjBorders = false, Borders = false, HorizontalLines = false, VerticalLines = false,
       GrpBrkLines = false;
  bool GrpBrkRow = false;    // the current row starts a group
  bool EdgePending = false;  // a border rule is pending
  bool RowNotAdvanced = false;  // cleared when the object advances
  bool PrevRowGrpHdr = false;   // the row before was a group heading
  int RptFtrPanel = 0, PgFtrPanel = 0;  // panels of the report and page footers on their pages
};

// Where the composed pages go and what has gone there.
struct TOutputState {
  // The text file of the file destinations and the ASCII export.
  TvlxTextFile TextFile;
  // Where the pages go while the output is open; nullptr otherwise. A preview puts the sink of
  // its memo here.
  std::unique_ptr<TvlxPageSink> Sink;
  // The printer's canvas; the preview's image canvas while a preview renders.
  TCanvas* Canvas = Printer()->Canvas();
  // The text lines of the page being composed (text units).
  TStringList PageLines;
  // The last page's lines, emptied, whose storage the next page's lines take over: every page
  // has about as many lines as long as the last, and a new one for each would be allocated.
  std::vector<std::string> SpareLines;
  TPoint LastEmittedPage{0, 0};
  int PagesWritten = 0;
  // Output flags, set by the setup window from the destination, what is printed and the fast
  // printer text option.
  bool OutTextFile = false, OutRtfFile = false, OutAsciiFile = false, OutAnyFile = false,
       OutSnapshot = false, OutPrinter = false, OutFastPrinterText = false;
  // The export's row total as the progress window shows it; the window may double it.
  int ExportProgressTotal = 0;
  int PrinterIndex = -2;  // printer chosen for the run
  std::string DestName;   // printer or output file shown in the progress window
  bool RenderingPreview = false;
};
