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

std::string FileBytes(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  std::stringstream S;
  S << In.rdbuf();
  return S.str();
}

std::string Trim(const std::string& S) {
  const size_t B = S.find_first_not_of(' '), E = S.find_last_not_of(' ');
  return B == std::string::npos ? "" : S.substr(B, E - B + 1);
}

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
