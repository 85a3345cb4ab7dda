// The working state of one report run, made of its parts (RunStateParts.h): the page geometry
// and units, the print range, the composition of the page and the output; with the page mode,
// the run state code, the bookmarks of the rows printed on the current vertical page and the
// operations of the run.
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/VLMXCodes.h"
#include "engine/VLMXGbl/RunPart.h"
#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Printers.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/StringList.h"
#include "engine/VLMXGbl/Borders.h"
#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/RunStateParts.h"

class TvlxPrintSettings;

// One printed row, kept so that the same row prints again on each further page across.
class TBMData : public TObject {
public:
  std::string Bookmark;  // the dataset's bookmark; empty for in-memory objects
  int RcdCounter = 0;
  TPoint Cell;           // the object's current cell {column, row} for in-memory objects
  TListItem* ListItem = nullptr;  // a list view's current item
  int SelRowNdx = 0;     // the selected-row cursor after the row: where the next selected row is sought
  // The group columns' previous values before the row, and its group-break column with the one
  // of the row before: a later page across, which may show none of the group columns, rules and
  // suppresses as the first did.
  TPrevValues GroupsBefore;
  int GrpBrkCol = -1, PrevGrpBrkCol = -1;
  TRect Rect;
  int Band2Line = 0;     // rows of the data band emitted before this one
  int RowHeight = 0;
  int Panel = 1;         // the panel across the sheet the row printed in
};

// The rows printed on the current vertical page, in print order. Owned by its run state.
class TBMLineList : public TObject {
public:
  explicit TBMLineList(TvlxPrintSettings& Owner) : FOwner(Owner) {}
  ~TBMLineList() override { Clear(); }
  TBMLineList(const TBMLineList&) = delete;
  TBMLineList& operator=(const TBMLineList&) = delete;

  int Count() const { return static_cast<int>(FItems.size()); }
  // nullptr outside the list.
  TBMData* Items(int Index) const;

  // Records the row just printed; GroupsBefore and PrevGrpBrkCol: the group state before it.
  void AddCurrent(const TPrevValues& GroupsBefore, int PrevGrpBrkCol);
  // Puts the run, the styles and the object back on entry Index so that the row prints again
  // at its recorded top. False, with Height -1, for an index outside the list.
  bool GotoEntry(int Index, int& Height);
  void Clear();

  // The group columns' previous values after the page's last row: every page across leaves
  // them behind as the first did, so that a repeated value prints the same on the next page.
  TPrevValues GroupsAtEnd;
  // Whether the data had ended after the page's last row: a replayed row has rows after it
  // until the last one, so a later page across sees the end where the first one saw it.
  bool EndedAtEnd = false;

private:
  TvlxPrintSettings& FOwner;
  std::vector<std::unique_ptr<TBMData>> FItems;
};

// The run state: its parts (page geometry, print range, composition, output) with the page mode,
// the run state code and the row bookmarks, and the operations of a run on them.
class TvlxPrintSettings : public TObject,
                          public TvlxRunPart,
                          public TPageGeometry,
                          public TPrintRange,
                          public TCompositionState,
                          public TOutputState {
public:
  TvlxPrintSettings() = default;
  TvlxPrintSettings(const TvlxPrintSettings&) = delete;
  TvlxPrintSettings& operator=(const TvlxPrintSettings&) = delete;

  // Unit set 1 (text units) for text-style output, else 0 (device units).
  void SetTextMode();
  // Whether to print only the rows selected in the object: asks the user (RunUI) when the
  // report prints selected rows and the style option says to ask. Cancel ends the report with
  // eVlxUserTermRpt and run state 3.
  void AskSelectedRows();

  TvlxPageMode PageMode = pmPrint;
  TvlxRunState RunState = rsInactive;
  // What the last print from the setup window gave (Execute's result); 0 before any print.
  int RunResult = 0;
  // Why the last Execute ended with an error, for its caller to tell the user; empty when it
  // ended otherwise, by the user's abort, or when its progress summary told the failure.
  std::string FailureText;

  // ---- Memos around the body and the text layout (Memo.cpp, MemoLayout.cpp) ----
  // Measures (Measure) or draws memo Index at the current line. False when a memo of the body
  // does not fit above the footer and AllowClip is off, or for the report footer while totals
  // rows are due and it has nothing to print.
  bool PrintMemoRegion(int Index, bool Measure, bool AllowClip);
  // 0 for a memo that does not print; else its measured height, with its spacing on request.
  int GetMemoHeight(int Index, bool WithSpacing) const;
  // Height above the body: memos, top page margin and, WithRules, the body's top rule.
  int CalcHeaderHeight(bool WithRules, bool FirstPage) const;
  // Height of the footer block, WithTotals also the rule below the body; clears the footer
  // reserve.
  int CalcFooterHeight(bool WithTotals);
  // eVlxSUError when the memos leave fewer than 5 units for the body, or too few for the column
  // titles and a data row of one line.
  void CheckMemosFitPage();
  void CheckRowFitsPage() const;
  // The setup error of a page Short units too short for a data row of one line.
  [[noreturn]] void RaiseRowTooLarge(int Short) const;
  // eVlxSUError when the side margins (and the gaps between panels) leave a page across no
  // room for one unit of a column's content.
  void CheckColumnsFitPage() const;
  void PrintReportTitleMemos();
  // Lays out (DT_CALCRECT in Flags: measures) the first Length characters of Text in the text
  // rectangle; the height used. Truncate marks text that does not fit with TextTruncSymbol.
  // Plain: the caller knows that Text holds no line break and no macro.
  int DrawMemoText(const std::string& Text, int Length, bool Truncate, unsigned Flags,
                   bool Plain = false);
  // The text-unit layout engine: writes Text into the page lines inside the text rectangle;
  // the number of lines it takes.
  int CountMemoLines(bool Measure, const std::string& Text, uint8_t AlignCode, bool Truncate,
                     bool Plain = false);
  // The run's date-time from the clock, and the texts of the date and time macros from the
  // memo formats.
  void MakeRunDateTexts();

  // ---- Output (Output.cpp) and page numbers (PageNumbers.cpp) ----
  // Opens the sink of the output flags into Sink; false when the run is to stop quietly (the
  // user cancelled at the existing-file question, or the file could not be opened).
  bool OpenOutput();
  // Ends what OpenOutput opened: every part of the sink is ended even when one of them fails,
  // whose error is passed on afterwards.
  void CloseOutput();
  // Sends the composed page lines to the sink and starts the next sheet. PageEnd: the page
  // composition found the end of the report on this page; FooterPending: the report footer is
  // visible and has not printed yet.
  void EmitPage(bool PageEnd, bool FooterPending);
  // Whether the page just composed ends its sheet. A finished report (its end, the test page,
  // the range's last page) sets the styles' totals band finished, which ends the page loop.
  bool NewSheetDue(bool PageEnd, bool FooterPending);
  // The current page's label: the page word, then the page id.
  void FormatPageNo(std::string& S) const;
  // The widest label a page of this report can carry, for measuring the memos that print it.
  void FormatWidestPageNo(std::string& S) const;
  // The last page of the print range: a range end without a page across ends on that vertical
  // page's last page across.
  TPoint PrintRangeLast() const;

  // ---- Report run and page loop (ReportRun.cpp) ----
  // One run: opens the output, then prints the window snapshot, exports or runs the page loop,
  // and closes the output. 1 finished, 2 cancelled at the existing-file question, 3 error or
  // abort; an exception of the run ends it with run state 3, only a failing close is passed on.
  // ShowSummary keeps the progress window open as a summary.
  int Execute(bool ShowSummary);
  // The print range for a print-what Kind. All: every page. Current page: page 1, every page
  // across, from the row the object stands on. Test page: the first page across of page 1.
  // Page range: FromPage to ToPage as {page across, vertical page}, page across 0: every one.
  // Other kinds keep the range.
  void SetPageRange(TPrintWhat Kind, bool UsePreviewPages, TPoint FromPage, TPoint ToPage);
  // Clamps the print range to the pages across; a range ending before it starts becomes its
  // start page.
  void NormalizePageRange();
  // Resets the counters, totals and bands of a new report and puts the object on its first row
  // to print (a restart inside the report leaves it where it is).
  void StartReport();
  // Composes the pages of the report, emitting those in the print range.
  void PrintPages();
  // Prints the window that was active when the report was asked for as a picture on the printer.
  void PrintSnapshot();
  void ResetPagePositions();
  void ResetBandCounters();

  // ---- Delimited export (AsciiExport.cpp) ----
  // Writes the report's title, data and totals rows to the open text file, one delimited line
  // each, instead of composing pages.
  void ExportAscii();
  // Builds and writes the line of the object's current row in Band (1 titles, 2 data, 3 totals).
  void ExportAsciiRow(int Band, const std::string& Quote, const std::string& Delim);

  // ---- Borders and rules of text-style output (Borders.cpp) ----
  // Writes Start, Fill and End into the columns FirstCol..LastCol (from 1) of each page line
  // FirstRow..LastRow (from 0), appending blank lines as needed.
  // Appends an empty line to the page's lines, on a spare line's storage when there is one.
  std::string& AddPageLine();
  // Clears the page's lines, keeping their storage for the next page's.
  void ClearPageLines();
  void PutLineChars(char Start, char Fill, char End, int FirstRow, int LastRow, int FirstCol,
                    int LastCol);
  // Where a column's edges start and end on the page across: the one rule for the cells of a
  // row and for the rules across the page.
  TLineFlags ColumnLineFlags(const TColsListData& Col) const;
  void PickLineDrawChars(uint8_t Band, TLineKind Kind, const TLineFlags& Flags, char& Start,
                         char& Fill, char& End) const;
  // One edge of a cell, when its line kind is on in the styles and the output is in text units.
  void DrawTextFrame(uint8_t Band, TLineKind Kind, const TRect& Inset, const TRect& Cell,
                     const TLineFlags& Flags);
  // The edges of one cell of a row; Row keeps what the row's earlier cells picked.
  void DrawCellBorders(const TRect& Inset, const TRect& Cell, const TLineFlags& Flags,
                       const TCellLineKinds& Kinds, uint8_t Band, TRowEdgeChars& Row);
  // A bottom rule on the current line across the printed columns of the page across, when Kind
  // is on for the band.
  void DrawBandRule(uint8_t Band, TLineKind Kind);
  // The band's closing rule on Line, which then moves down by one in every case.
  void DrawBandEndRule(uint8_t Band, int& Line);
  bool IsHorzLineRow() const;
  bool IsGroupBreakRow(uint8_t Band) const;
  // First printed column whose value differs from the group's same-value text; -1 none.
  int FindGroupBreakColumn(uint8_t Band) const;
  void CalcGroupSpans();

  // ---- Band rows, cells and page composition (BandRows.cpp, PageCompose.cpp) ----
  // One row of Band (1 titles, 2 data, 3 totals) at the current line; Height -1 measures it.
  // False, the page untouched, when the row does not fit above the footer reserve.
  bool PrintBandRow(uint8_t Band, int Height);
  // The current column's text into the text rectangle.
  void PrintCell(uint8_t Band, uint8_t ColumnKind);
  int CalcBandRowHeight(uint8_t Band);
  // Text-drawing flags of an alignment code; the title band follows ColTitleAlignment.
  unsigned GetCellAlignment(uint8_t Band, uint8_t Alignment) const;
  // Device units: fills Rect with the canvas brush, no outline.
  void BlankRect(const TRect& Rect);
  // Totals rows of the report: 0 when the totals region is absent.
  int TotalRowCount() const;
  // Rectangle of a group heading row of Level starting at line Top.
  void CellCharPos(int Top, int Level, TRect& Rect) const;
  // Composes the current page (page across, vertical page) and hands it to EmitPage.
  void PrintPage();
  void StartPage();
  void PrintBodyRows();
  // Band end rule, the report end when due, the footer memos.
  bool EndPage();
  // False when a totals row does not fit.
  bool PrintTotalRows();
  void PrintReportEnd();
  // Whether the report end lies on or before the current page; Panel counts from 1.
  bool IsPageEndReached(bool UseFooterPosition, bool ComparePagesAcross, int Panel) const;
  // The width of the current page across: its columns and the repeated ones, one panel's worth.
  int PageAcrossWidth(bool WithZoneBorders = false) const;
  // The sheet's width of the current page across: every panel across the sheet, with the gaps.
  int CalcReportWidth() const;
  // The report's left offset, its width and the panel step of the current page across.
  void CalcLeftOffset();

  // ---- Row bookmarks and the run's clock ----
  // The rows printed on the current vertical page.
  TBMLineList BMLineList{*this};
  TDateTime RunStart = 0;
  std::string RunDateText, RunTimeText;  // values of the memo macros ^D and ^T
};

// Value * Multiplier / Divisor through 64 bits, rounded half away from zero; -1 when Divisor
// is 0 or the result leaves the 32-bit range, as the system's own multiply-divide answers.
int MulDivRound(int Value, int Multiplier, int Divisor);

// 1 when page A lies after page B, -1 before, 0 the same: the vertical page counts first,
// then the page across. X is the page across, Y the vertical page.
int ComparePageNo(TPoint A, TPoint B);
// Position of the printer Name in the printer list; else, for a name not blank, the first
// printer whose name begins with Name, letter case counting; -1 when none.
int FindPrinterIndex(const std::string& Name);
void SelectPrinterByName(const std::string& Name);

// The state of the run in progress; empty when no run is being set up.
extern TvlxPrintSettings* PrintSettings;
