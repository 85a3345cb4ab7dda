// Whole reports where a second setting meets the layout of the page: only the selected rows
// and columns of a grid, group columns with their break lines, horizontal lines every few rows
// and rows of several lines, each crossed with panels across the sheet, pages across, repeated
// leading columns, borders, line numbers and totals. Every page is read back against a model
// computed from the grid alone: each row once on each page across, group values as the rows
// before them say, totals the sums of the rows printed, a row's further lines under it.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "framework/Grids.h"
#include "framework/headless/Printers.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/GoldenReports.h"
#include "tests/support/GridPages.h"
#include "tests/support/HeadlessFixture.h"
#include "tests/support/TempDir.h"

namespace {

using V = std::vector<std::string>;
using GoldenReports::TCase;
using GoldenReports::TReport;
using GridPages::NamedCell;
using GridPages::SameButTotals;
using GridPages::TPage;
using GridPages::Token;

constexpr int Rows = 41;
// Source columns: two group columns ("g" and "h" values), named cells, a number column, named
// cells again; the fifth column's cells run to three lines in a column ten characters wide.
const V Titles = {"GRP", "SUB", "ALPHA", "NUM", "ECHO", "FOXTROT", "GOLF"};
constexpr int NumCol = 3, WrapCol = 4;

std::string Outer(int R) { return "g" + std::to_string(R / 7); }
std::string Inner(int R) { return "h" + std::to_string(R / 3 % 3); }
int Number(int R) { return R * 3 % 11 + 1; }
std::string Second(int R) { return "w" + Token(R) + "x"; }
std::string Third(int R) { return "z" + Token(R) + "x"; }

std::string CellText(int C, int R) {
  switch (C) {
    case 0: return Outer(R);
    case 1: return Inner(R);
    case NumCol: return std::to_string(Number(R));
    case WrapCol: return NamedCell(C, R) + " " + Second(R) + " " + Third(R);
    default: return NamedCell(C, R);
  }
}

TStringGrid* MakeGrid(TForm& Owner) {
  auto* Grid = new TStringGrid(&Owner);
  Grid->SetFixedCols(0);
  Grid->SetColCount(static_cast<int>(Titles.size()));
  Grid->SetRowCount(Rows + 1);
  for (int C = 0; C < Grid->ColCount(); ++C) {
    Grid->SetCells(C, 0, Titles[C]);
    for (int R = 0; R < Rows; ++R) Grid->SetCells(C, R + 1, CellText(C, R));
  }
  return Grid;
}

using GridPages::Trim;

struct TOut {
  int Result = 0, PagesAcross = 0;
  std::vector<TPage> Pages;
  std::string Bytes;
};

// The report of Case over Grid into File: its pages read back and placed by their ids, or, for
// an export, the file's bytes.
TOut Print(TStringGrid* Grid, const TCase& Case, const std::string& File,
           TReport::TOutput To = TReport::TOutput::TextFile) {
  Headless::Reset();
  Headless::SetNow(EncodeDate(2026, 3, 14) + EncodeTime(9, 26, 53, 0));
  std::filesystem::remove(File);
  TOut Out;
  {
    TReport Report(Case, Grid);
    Out.Result = Report.Print(File, To);
    Out.PagesAcross = Report.Run.PagesAcross;
  }
  Out.Bytes = FileBytes(File);
  if (To == TReport::TOutput::AsciiExport) return Out;
  Out.Pages = GridPages::SplitPages(Out.Bytes);
  for (TPage& Page : Out.Pages)
    for (const std::string& Line : Page.Lines)
      if (const size_t At = Line.find("PAGE "); At != std::string::npos) GridPages::SetPageId(Page, Trim(Line.substr(At + 5)));
  return Out;
}

bool HasWord(const std::string& Line, const std::string& Word) {
  for (size_t At = Line.find(Word); At != std::string::npos; At = Line.find(Word, At + 1)) {
    const bool Before = At == 0 || !std::isalnum(static_cast<unsigned char>(Line[At - 1]));
    const size_t End = At + Word.size();
    const bool After = End >= Line.size() || !std::isalnum(static_cast<unsigned char>(Line[End]));
    if (Before && After) return true;
  }
  return false;
}

// N as a line number prints: its thousands apart.
std::string Thousands(int N) {
  const std::string Low = std::to_string(N % 1000);
  return N < 1000 ? Low : std::to_string(N / 1000) + "," + std::string(3 - Low.size(), '0') + Low;
}

// Each total stands on some line of the run, as a word of its own (the totals line may share
// its line with the rows of a panel before it, and the totals of other pages across stand on
// their own pages).
void ExpectTotals(const std::vector<TPage>& Pages, const V& Totals) {
  for (const std::string& Total : Totals) {
    bool Found = false;
    for (const TPage& Page : Pages)
      for (const std::string& Line : Page.Lines) Found = Found || HasWord(Line, Total);
    EXPECT_TRUE(Found) << "no total " << Total;
  }
}

}  // namespace

// Print What "Selected Rows" on a block of a string grid: the pages show the selected rows and
// columns alone, each once on every page across and in every panel, numbered from the starting
// line number; the totals are the sums over them; the export writes the same rows and numbers.
TEST(ReportCrossings, SelectedRowsPrintAndExportExactlyTheBlock) {
  TTempDir Dir;
  const std::string File = Dir / "selected.txt", Export = Dir / "selected.asc";
  TForm Owner(nullptr);
  TStringGrid* Grid = MakeGrid(Owner);
  std::mt19937 Random(20261207);
  auto Pick = [&](int Count) { return static_cast<int>(Random() % Count); };
  std::set<std::pair<int, int>> PanelsAndAcross;
  for (int N = 0; N < 54; ++N) {
    // The block: named columns and the numbers, always one named column among them.
    const int Left = 2 + Pick(3), Right = std::max(Left + 1, 4 + Pick(3));
    const int Top = 1 + Pick(20), Bottom = Top + 3 + Pick(Rows - Top - 3);
    Grid->SetSelection({Left, Top, Right, Bottom});
    const int Panels = 1 + N % 3, Start = std::vector<int>{1, 100, 995}[Pick(3)];
    const bool Borders = Pick(3) != 0, LineNumbers = Pick(2) == 1;
    const int PanelWidth = std::vector<int>{70, 36, 24}[N / 3 % 3] + Pick(5);
    const int Width = Panels * PanelWidth + (Panels - 1) * 2;
    const int Height = 14 + Pick(8), Fixed = Pick(3);
    TCase Case{"selected", GoldenReports::TSource::Numbers, {}, {{PgNum, "\rPAGE ^P"}}, {}};
    Case.Settings = {"OutputQuality=1", "PauseAfterPrinting=0", "DisplayProgressWin=0", "MaxStringLines=1",
                     "MaxStringColWidTxt=999", "PrintWhat=7", "StartingReportLineId=" + std::to_string(Start),
                     "LinesPerpage=" + std::to_string(Height), "TxtCharsPageWid=" + std::to_string(Width),
                     "NumFixedCols=" + std::to_string(Fixed), "HideColumns=" + std::string(LineNumbers ? "" : "~Line#"),
                     "PanelsAcrossPage=" + std::to_string(Panels), "InterPanelGapTxt=2", "ShrinkToPage=0",
                     "ioBorders=" + std::to_string(Borders), "ioVerticalLines=" + std::to_string(Borders)};
    const int Counted = Left == NumCol ? Left + 1 : Left;
    Case.Totals = {{"Col#" + std::to_string(Counted), 0, tkCount}};
    const bool Sums = Left <= NumCol && NumCol <= Right;
    if (Sums) Case.Totals.push_back({"Col#" + std::to_string(NumCol), 0, tkSum});
    SCOPED_TRACE(testing::Message() << "fixed " << Fixed << " block " << Left << "," << Top << ".." << Right << "," << Bottom << " panels "
                                    << Panels << " width " << Width << " height " << Height << " start " << Start
                                    << " borders " << Borders << " line numbers " << LineNumbers);
    const TOut Out = Print(Grid, Case, File);
    ASSERT_EQ(Out.Result, 1);
    PanelsAndAcross.insert({Panels, Out.PagesAcross});
    const int First = Top - 1, Count = Bottom - Top + 1;
    std::set<int> Printed;
    for (int C = Left; C <= Right; ++C)
      if (C != NumCol) Printed.insert(C);
    // The column list holds the line numbers and the block's columns: the first of them up to
    // the fixed-column count repeat.
    GridPages::TModel Model{Count, Printed, {}, Height, Width, Borders, First};
    for (int C = Left; C < Left + Fixed - 1; ++C)
      if (Printed.count(C)) Model.Fixed.insert(C);
    GridPages::CheckPages(Out.Pages, Out.PagesAcross, Model);
    int Sum = 0;
    for (int R = First; R < First + Count; ++R) Sum += Number(R);
    ExpectTotals(Out.Pages, Sums ? V{std::to_string(Count), std::to_string(Sum)} : V{std::to_string(Count)});
    // Each row's number is the starting number and its place in the block, on the line of its
    // cells on the first page across, where the numbers are.
    if (LineNumbers)
      for (const TPage& Page : Out.Pages)
        for (const std::string& Line : Page.Lines)
          for (const GridPages::TCellAt& Cell : GridPages::LineCells(Line))
            if (Page.Across == 1) {
              EXPECT_TRUE(HasWord(Line, Thousands(Start + Cell.Row - First))) << Line;
            }

    // The export: a title line, the rows of the block in order with their numbers, the totals.
    const TOut Exported = Print(Grid, Case, Export, TReport::TOutput::AsciiExport);
    ASSERT_EQ(Exported.Result, 1);
    V Lines;
    std::stringstream In(Exported.Bytes);
    for (std::string Line; std::getline(In, Line);) Lines.push_back(Line.substr(0, Line.find('\r')));
    ASSERT_EQ(static_cast<int>(Lines.size()), Count + 2);
    for (int I = 0; I < Count; ++I) {
      V Want;
      if (LineNumbers) Want.push_back(Thousands(Start + I));
      for (int C = Left; C <= Right; ++C) Want.push_back(CellText(C, First + I));
      std::string Joined;
      for (const std::string& Field : Want) Joined += (Joined.empty() ? "" : "\t") + Field;
      EXPECT_EQ(Lines[I + 1], Joined) << "exported row " << I;
    }
  }
  for (int Panels = 1; Panels <= 3; ++Panels)
    for (int Across = 1; Across <= 2; ++Across)
      EXPECT_TRUE(PanelsAndAcross.count({Panels, Across})) << Panels << " panels, " << Across << " pages across";
}

namespace {

// A word of a line: a group value, "*" and a group value, or a named cell.
struct TWord {
  std::string Text;
  size_t X;
};
std::vector<TWord> GroupWords(const std::string& Line) {
  std::vector<TWord> Words;
  for (size_t X = 0; X < Line.size(); ++X) {
    const size_t From = X;
    if (Line[X] == '*') ++X;
    if (X + 1 >= Line.size() || (Line[X] != 'g' && Line[X] != 'h') ||
        !std::isdigit(static_cast<unsigned char>(Line[X + 1])) ||
        (From > 0 && std::isalnum(static_cast<unsigned char>(Line[From - 1]))))
      continue;
    size_t End = X + 1;
    while (End < Line.size() && std::isdigit(static_cast<unsigned char>(Line[End]))) ++End;
    if (End < Line.size() && std::isalnum(static_cast<unsigned char>(Line[End]))) continue;
    Words.push_back({Line.substr(From, End - From), From});
    X = End;
  }
  return Words;
}

// The group values a page shows for row R: a value that repeats the row before (within the
// same outer group) prints blank, or marked with "*" on the first row of a panel.
V WantedGroups(int Groups, int R, bool Top, bool OuterShown, bool InnerShown) {
  V Want;
  const bool OuterNew = R == 0 || Outer(R) != Outer(R - 1);
  const bool InnerNew = R == 0 || Inner(R) != Inner(R - 1) || (Groups >= 1 && OuterNew);
  auto Add = [&](bool Group, bool New, const std::string& Value) {
    if (!Group || New) Want.push_back(Value);
    else if (Top) Want.push_back("*" + Value);
  };
  if (OuterShown) Add(Groups >= 1, OuterNew, Outer(R));
  if (InnerShown) Add(Groups >= 2, InnerNew, Inner(R));
  return Want;
}

// The group values on each page as the model says, and each row's further lines right under
// its first: the second and third words of the wrapping column, as many as MaxLines allows.
void CheckGroupsAndLines(const std::vector<TPage>& Pages, int Groups, int MaxLines) {
  std::map<int, int> Seconds, Thirds, Wraps;  // by row
  for (const TPage& Page : Pages) {
    std::string All;
    for (const std::string& Line : Page.Lines) All += Line + "\n";
    const bool OuterShown = All.find("GRP") != std::string::npos, InnerShown = All.find("SUB") != std::string::npos;
    // Where each row's first cell stands on the page: a row is a panel's first when the row
    // before it is not in that panel of the page.
    std::map<int, std::pair<size_t, size_t>> FirstAt;  // row: {line, position}
    for (size_t L = 0; L < Page.Lines.size(); ++L)
      for (const GridPages::TCellAt& Cell : GridPages::LineCells(Page.Lines[L]))
        if (!FirstAt.count(Cell.Row) || FirstAt[Cell.Row].second > Cell.X) FirstAt[Cell.Row] = {L, Cell.X};
    for (size_t L = 0; L < Page.Lines.size(); ++L) {
      const std::string& Line = Page.Lines[L];
      const std::vector<GridPages::TCellAt> Cells = GridPages::LineCells(Line);
      // A group value belongs to the row whose first cell follows it on the line.
      std::map<int, V> Got;
      size_t Next = 0;
      for (const TWord& Word : GroupWords(Line)) {
        while (Next < Cells.size() && Cells[Next].X < Word.X) ++Next;
        if (Next < Cells.size()) Got[Cells[Next].Row].push_back(Word.Text);
      }
      std::set<int> RowsHere;
      for (const GridPages::TCellAt& Cell : Cells) RowsHere.insert(Cell.Row);
      for (int R : RowsHere) {
        const bool Top = !FirstAt.count(R - 1) || FirstAt[R - 1].second != FirstAt[R].second;
        EXPECT_EQ(Got[R], WantedGroups(Groups, R, Top, OuterShown, InnerShown))
            << "group values of row " << R << " on page " << Page.Vert << "-" << Page.Across << ": " << Line;
      }
      for (const GridPages::TCellAt& Cell : Cells) {
        if (Cell.Col != WrapCol) continue;
        ++Wraps[Cell.Row];
        auto Below = [&](size_t By) {
          return L + By < Page.Lines.size() ? Page.Lines[L + By].substr(std::min(Cell.X, Page.Lines[L + By].size()), 5) : "";
        };
        const std::string Where = "page " + std::to_string(Page.Vert) + "-" + std::to_string(Page.Across);
        EXPECT_EQ(Below(1) == Second(Cell.Row), MaxLines >= 2) << Where;
        EXPECT_EQ(Below(2) == Third(Cell.Row), MaxLines >= 3) << Where;
      }
      for (int R = 0; R < Rows; ++R) {
        Seconds[R] += Line.find(Second(R)) != std::string::npos;
        Thirds[R] += Line.find(Third(R)) != std::string::npos;
      }
    }
  }
  // No further line of a row anywhere else: not cut off onto another page, nor printed twice.
  for (int R = 0; R < Rows; ++R) {
    EXPECT_EQ(Seconds[R], MaxLines >= 2 ? Wraps[R] : 0) << "row " << R;
    EXPECT_EQ(Thirds[R], MaxLines >= 3 ? Wraps[R] : 0) << "row " << R;
  }
}

}  // namespace

// Group columns (repeated values blank, marked at the top of a panel, break lines at any
// adjacent level), horizontal lines every few rows and rows of up to three lines, over panels,
// pages across, repeated columns and borders: each row once on each page across, the group
// values the model gives, a row's lines together on one page, the totals the sums of the rows;
// a range, the current page and the test page print the full run's pages.
TEST(ReportCrossings, GroupColumnsLinesAndTallRowsOnEveryLayout) {
  TTempDir Dir;
  const std::string File = Dir / "groups.txt";
  TForm Owner(nullptr);
  TStringGrid* Grid = MakeGrid(Owner);
  std::mt19937 Random(20261208);
  auto Pick = [&](int Count) { return static_cast<int>(Random() % Count); };
  std::set<std::pair<int, int>> PanelsAndAcross;
  for (int N = 0; N < 54; ++N) {
    const int Panels = 1 + N % 3, Groups = N / 3 % 3, MaxLines = 1 + Pick(3), Fixed = Pick(5);
    const bool Borders = Pick(3) != 0, GroupLines = Pick(3) != 0, Horizontal = Pick(3) == 0, LineNumbers = Pick(2);
    const int PanelWidth = std::vector<int>{80, 42, 28}[N / 9 % 3] + Pick(5);
    const int Width = Panels * PanelWidth + (Panels - 1) * 2, Height = 16 + Pick(10);
    TCase Case{"groups", GoldenReports::TSource::Numbers, {}, {{PgNum, "\rPAGE ^P"}}, {}};
    Case.Settings = {"OutputQuality=1", "PauseAfterPrinting=0", "DisplayProgressWin=0",
                     "MaxStringLines=" + std::to_string(MaxLines), "MaxStringColWidTxt=10",
                     "LinesPerpage=" + std::to_string(Height), "TxtCharsPageWid=" + std::to_string(Width),
                     "NumFixedCols=" + std::to_string(Fixed), "HideColumns=" + std::string(LineNumbers ? "" : "~Line#"),
                     "PanelsAcrossPage=" + std::to_string(Panels), "InterPanelGapTxt=2", "ShrinkToPage=0",
                     "NumGrpBrkCols=" + std::to_string(Groups), "GrpBrkSameValue=",
                     "AdjGrpBrkLines=" + std::to_string(Pick(3)), "ioGrpBrkLines=" + std::to_string(GroupLines),
                     "ioHorizontalLines=" + std::to_string(Horizontal), "HorizLineFreq=" + std::to_string(1 + Pick(4)),
                     "ioBorders=" + std::to_string(Borders), "ioVerticalLines=" + std::to_string(Borders || Pick(2))};
    Case.Totals = {{"Col#3", 0, tkSum}, {"Col#3", 1, tkSum}, {"Col#2", 0, tkCount}};
    SCOPED_TRACE(testing::Message() << N << " panels " << Panels << " groups " << Groups << " lines " << MaxLines << " fixed "
                                    << Fixed << " borders " << Borders << " group lines " << GroupLines
                                    << " horizontal " << Horizontal << " width " << Width << " height " << Height);
    auto Run = [&](const std::string& PrintWhat, int From, int To) {
      TCase Part = Case;
      Part.Settings.insert(Part.Settings.end(), {"PrintWhat=" + PrintWhat, "PageRangeFrom=0," + std::to_string(From),
                                                 "PageRangeTo=0," + std::to_string(To)});
      return Print(Grid, Part, File);
    };
    const TOut Full = Run("0", 1, 1);
    ASSERT_EQ(Full.Result, 1);
    PanelsAndAcross.insert({Panels, Full.PagesAcross});
    GridPages::TModel Model{Rows, {2, WrapCol, 5, 6}, {}, Height, Width, Borders};
    for (int C : Model.Printed)
      if (C < Fixed - 1) Model.Fixed.insert(C);
    GridPages::CheckPages(Full.Pages, Full.PagesAcross, Model);
    CheckGroupsAndLines(Full.Pages, Groups, MaxLines);
    int Sum = 0;
    for (int R = 0; R < Rows; ++R) Sum += Number(R);
    ExpectTotals(Full.Pages, {std::to_string(Sum), std::to_string(Rows)});

    const int LastVert = Full.Pages.back().Vert;
    struct TPart {
      std::string PrintWhat;
      int From, To;
    };
    for (const TPart& P : {TPart{"1", 1, 1}, TPart{"4", 1, 1}, TPart{"6", 2, 2}, TPart{"6", 2, LastVert}}) {
      if (P.From > LastVert) continue;
      SCOPED_TRACE("print what " + P.PrintWhat + " " + std::to_string(P.From) + ".." + std::to_string(P.To));
      const TOut Got = Run(P.PrintWhat, P.From, P.To);
      EXPECT_EQ(Got.Result, 1);
      std::vector<const TPage*> Want;
      for (const TPage& Page : Full.Pages)
        if (Page.Vert >= P.From && Page.Vert <= P.To && (P.PrintWhat != "4" || Page.Across == 1)) Want.push_back(&Page);
      ASSERT_EQ(Got.Pages.size(), Want.size());
      for (size_t I = 0; I < Want.size(); ++I) {
        EXPECT_TRUE(SameButTotals(Got.Pages[I].Lines, Want[I]->Lines)) << "page " << Want[I]->Vert << "-" << Want[I]->Across;
        if (Borders) GridPages::ExpectBoxesClosed(Got.Pages[I]);
      }
    }
  }
  for (int Panels = 1; Panels <= 3; ++Panels)
    for (int Across = 1; Across <= 3; ++Across)
      EXPECT_TRUE(PanelsAndAcross.count({Panels, Across})) << Panels << " panels, " << Across << " pages across";
}
