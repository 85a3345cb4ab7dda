// The cross-tab printed and exported whole: one or two row and column dimensions, subtotals on
// or off, panels, pages across, borders and the export's delimiter and quote, read back against
// the cube's own cells: every row line once on every page across with its headings beside it,
// every data column on exactly one page across, and every cell exported once in order, the
// headings quoted and the sums bare.
#include <filesystem>
#include <random>
#include <sstream>

#include "framework/DecisionGrid.h"
#include "framework/Forms.h"
#include "framework/headless/Printers.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/GoldenReports.h"
#include "tests/support/GridPages.h"
#include "tests/support/HeadlessFixture.h"
#include "tests/support/TempDir.h"

namespace {

using GoldenReports::TCase;
using TOutput = GoldenReports::TReport::TOutput;
using V = std::vector<std::string>;

// Row keys "R0nn" on the inner row dimension and column keys "K0nn" on the inner column
// dimension name every line and column of the cube once.
TDecisionGrid* MakeCube(TForm& Owner, int RowDims, int ColDims, int Rows, int Cols, bool Subtotals) {
  auto* Source = new TDecisionSource(&Owner);
  Source->SetName("src");
  V RowNames = {"Region", "Town"}, ColNames = {"Year", "Kind"};
  RowNames.resize(RowDims);
  ColNames.resize(ColDims);
  Source->SetDimensions(RowNames, ColNames, "Sales");
  for (int R = 0; R < Rows; ++R)
    for (int C = 0; C < Cols; ++C) {
      V RowKeys = {"G" + std::to_string(R / 3), "R" + GridPages::Token(R)};
      V ColKeys = {"Y" + std::to_string(C / 2), "K" + GridPages::Token(C)};
      if (RowDims == 1) RowKeys = {RowKeys[1]};
      if (ColDims == 1) ColKeys = {ColKeys[1]};
      Source->AddValue(RowKeys, ColKeys, 1 + R * Cols + C);
    }
  for (int D = 0; D < RowDims; ++D) Source->Dimension(TDimAxis::Rows, D).SetSubtotals(Subtotals);
  for (int D = 0; D < ColDims; ++D) Source->Dimension(TDimAxis::Columns, D).SetSubtotals(Subtotals);
  auto* Grid = new TDecisionGrid(&Owner);
  Grid->SetName("cube");
  Grid->SetDecisionSource(Source);
  return Grid;
}

std::string TrimBlanks(const std::string& S) {
  const size_t B = S.find_first_not_of(' '), E = S.find_last_not_of(' ');
  return B == std::string::npos ? "" : S.substr(B, E - B + 1);
}

int Count(const std::string& Line, const std::string& Word) {
  int N = 0;
  for (size_t At = Line.find(Word); At != std::string::npos; At = Line.find(Word, At + 1)) ++N;
  return N;
}

struct TOut {
  int Result = 0, PagesAcross = 0;
  std::string Bytes;
};

TOut PrintCube(TDecisionGrid* Grid, const V& Settings, const std::string& File, TOutput To) {
  Headless::Reset();
  std::filesystem::remove(File);
  TCase Case{"cube", GoldenReports::TSource::Numbers, Settings, {{PgNum, "\rPAGE ^P"}}, {}};
  TOut Out;
  {
    GoldenReports::TReport Report(Case, Grid);
    Out.Result = Report.Print(File, To);
    Out.PagesAcross = Report.Run.PagesAcross;
  }
  Out.Bytes = FileBytes(File);
  return Out;
}

}  // namespace

TEST(CrossTabReport, EveryLineOnEveryPageAcrossWithItsHeadingsAndEveryCellExportedOnce) {
  TTempDir Dir;
  const std::string File = Dir / "cube.txt", Export = Dir / "cube.asc";
  std::mt19937 Random(20260601);
  auto Pick = [&](int N) { return static_cast<int>(Random() % N); };
  std::set<int> AcrossSeen;
  for (int N = 0; N < 24; ++N) {
    TForm Owner(nullptr);
    const int RowDims = 1 + N % 2, ColDims = 1 + N / 2 % 2, Rows = 2 + Pick(9), Cols = 2 + Pick(8);
    const bool Subtotals = N / 4 % 2 == 0;
    TDecisionGrid* Grid = MakeCube(Owner, RowDims, ColDims, Rows, Cols, Subtotals);
    const int Panels = 1 + Pick(3), Borders = Pick(2), PanelWidth = 40 + Pick(50);
    const int Width = Panels * PanelWidth + (Panels - 1) * 2;
    const V Delims = {"\t", ",", "59", "||", "300"}, Quotes = {"\"", "'", "39", "~~"};
    const std::string Delim = Delims[Pick(5)], Quote = Quotes[Pick(4)];
    const V Settings = {"OutputQuality=1", "PauseAfterPrinting=0", "DisplayProgressWin=0",
                        "LinesPerpage=" + std::to_string(60 + Pick(20)), "TxtCharsPageWid=" + std::to_string(Width),
                        "PanelsAcrossPage=" + std::to_string(Panels), "InterPanelGapTxt=2", "ShrinkToPage=0",
                        "ioBorders=" + std::to_string(Borders), "ioVerticalLines=" + std::to_string(Borders),
                        "ExportFieldDelim=" + Delim, "ExportQuote=" + Quote};
    SCOPED_TRACE(testing::Message() << "dims " << RowDims << "x" << ColDims << " cube " << Rows << "x" << Cols
                                    << " subtotals " << Subtotals << " panels " << Panels << " width " << Width
                                    << " borders " << Borders);
    const TOut Out = PrintCube(Grid, Settings, File, TOutput::TextFile);
    ASSERT_EQ(Out.Result, 1);
    AcrossSeen.insert(Out.PagesAcross);
    std::vector<GridPages::TPage> Pages = GridPages::SplitPages(Out.Bytes);
    for (GridPages::TPage& Page : Pages)
      for (const std::string& Line : Page.Lines)
        if (const size_t At = Line.find("PAGE "); At != std::string::npos)
          GridPages::SetPageId(Page, TrimBlanks(Line.substr(At + 5)));
    // Each row line's key once on every page across; each column key on one page across only.
    std::map<int, std::map<std::string, int>> Seen;  // page across -> key -> times
    for (const GridPages::TPage& Page : Pages) {
      ASSERT_GE(Page.Across, 1);
      for (const std::string& Line : Page.Lines) {
        EXPECT_LE(static_cast<int>(Line.size()), Width) << Line;
        for (int R = 0; R < Rows; ++R) Seen[Page.Across]["R" + GridPages::Token(R)] += Count(Line, "R" + GridPages::Token(R));
        for (int C = 0; C < Cols; ++C) Seen[Page.Across]["K" + GridPages::Token(C)] += Count(Line, "K" + GridPages::Token(C));
      }
    }
    ASSERT_EQ(static_cast<int>(Seen.size()), Out.PagesAcross);
    for (int C = 0; C < Cols; ++C) {
      int Times = 0;
      for (auto& [Across, Keys] : Seen) Times += Keys["K" + GridPages::Token(C)];
      EXPECT_EQ(Times, 1) << "column K" << GridPages::Token(C);
    }
    for (auto& [Across, Keys] : Seen)
      for (int R = 0; R < Rows; ++R)
        EXPECT_EQ(Keys["R" + GridPages::Token(R)], 1) << "row R" << GridPages::Token(R) << " on page across " << Across;

    // The export: the cube's title rows, then its lines, each cell in column order.
    const TOut Exported = PrintCube(Grid, Settings, Export, TOutput::AsciiExport);
    ASSERT_EQ(Exported.Result, 1);
    auto Code = [](const std::string& S) {
      int Value = 0;
      return TryStrToInt(S, Value) && Value >= 0 && Value <= 255 ? std::string(1, static_cast<char>(Value)) : S;
    };
    const std::string D = Code(Delim), Q = Code(Quote);
    std::string Want;
    const int Fixed = Grid->FixedCols() - 1, FixedRows = Grid->FixedRows();
    for (int R = -FixedRows; R < Grid->RowCount() - FixedRows; ++R) {
      std::string Line;
      for (int C = -Fixed; C < Grid->ColCount() - Grid->FixedCols(); ++C) {
        const bool Quoted = R < 0 || C < 0;
        Line += (C == -Fixed ? "" : D) + (Quoted ? Q : "") + TrimBlanks(Grid->Cells(C, R)) + (Quoted ? Q : "");
      }
      Want += Line + "\r\n";
    }
    EXPECT_EQ(Exported.Bytes, Want);
  }
  EXPECT_TRUE(AcrossSeen.count(1) && AcrossSeen.count(2)) << "pages across 1 and 2 both reached";
}
