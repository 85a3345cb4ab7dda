#include <functional>

#include "engine/VLMXGbl/LineDraw.h"
#include "engine/VLMXGbl/Memo.h"
#include "engine/VLMXGbl0.h"
#include "framework/Printers.h"
#include "tests/engine/TextReportFixture.h"
#include "tests/support/TempDir.h"

namespace {

// Rows and pages of a real string grid composed as a report run composes them: the column
// scan lays the columns out and the run's counters start as at a report start.
class PageComposeTest : public TextReportTest {
protected:
  void SetUp() override {
    TextReportTest::SetUp();
    Settings->LineDrawSet = 0;
    Run->SetTextMode();
  }

  static std::string Cell(int C, int R) {
    if (R == 0) return C == 0 ? "Name" : C == 1 ? "Qty" : "Note";
    if (C == 0) return "Row" + std::to_string(R);
    if (C == 1) return std::to_string(R * 10);
    return "n" + std::to_string(R);
  }

  // A grid of a title row and Rows data rows, no fixed column, on a page Width x Height.
  // After Start: the column scan and the counters of a report start.
  void Begin(int Width, int Height) {
    Run->Borders = Settings->ItemOpt(ioBorders);
    Run->HorizontalLines = Settings->ItemOpt(ioHorizontalLines);
    Run->VerticalLines = Settings->ItemOpt(ioVerticalLines);
    Run->ShareAdjBorders = Settings->ItemOpt(ioShareAdjBorders);
    Styles->CalcLineWidths();
    Info->CountTotalLines();
    bool RescanPending = true;
    Run->PageWidth = Width;
    Info->ColumnScan(nullptr, nullptr, RescanPending);
    Info->ColsList->ResetTotals(true);
    Run->PageHeight = Height;
    Run->LeftMargin = 0;
    Run->RightEdge = Width;
    Run->LastCol = Info->ColsList->Count() - 1;
    Run->CurVertPage = 1;
    Run->CurPageAcross = 1;
    Run->TotalsPage = -1;
    Run->RptFtrPos = {-99, -99};
    Styles->BandInfo[1] = {1, Info->FixedRows, 0, false};
    Styles->BandInfo[2] = {1, Info->RowCount - Info->FixedRows, 0, false};
    Styles->BandInfo[3] = {1, Run->TotalRowCount(), 0, false};
    Run->RecordCounter = 0;
    Run->RunState = rsActive;
    Run->PageMode = pmPrint;
    Run->CheckMemosFitPage();
    if (!Info->First()) Styles->BandInfo[2].Finished = true;
  }

  V Lines() const {
    V Result;
    for (int I = 0; I < Run->PageLines.Count(); ++I) Result.push_back(Run->PageLines[I]);
    return Result;
  }
};

// Whole reports run as the Print command runs them: the options copied to the run, the report
// start and the page loop, the pages written to a text file and read back page by page.
class ReportPagesTest : public PageComposeTest {
protected:
  void SetUp() override {
    PageComposeTest::SetUp();
    Settings->SetItemOpt(ioFormFeeds, true);
    Run->PanelsAcrossPage = 1;
  }

  // The pages of Grid's report on a page of Width x Height; Prepare runs once the columns are
  // listed, before the columns are measured.
  std::vector<V> Pages(TStringGrid* Grid, int Width, int Height, const std::function<void()>& Prepare = {}) {
    Run->Borders = Settings->ItemOpt(ioBorders);
    Run->VerticalLines = Settings->ItemOpt(ioVerticalLines);
    Run->ShareAdjBorders = Settings->ItemOpt(ioShareAdjBorders);
    Run->PageWidth = Run->RightEdge = Width;
    Run->PageHeight = Height;
    Start(Grid);
    if (Prepare) Prepare();
    Styles->CalcLineWidths();
    bool RescanPending = true;
    Info->ColumnScan(nullptr, nullptr, RescanPending);
    Info->CountTotalLines();
    Run->OutAnyFile = Run->OutTextFile = true;
    Settings->OutputFileName = File;
    Run->SetPageRange(pwAll, false, {}, {});
    EXPECT_EQ(Run->Execute(false), 1);
    std::vector<V> Result(1);
    std::string Line;
    for (char C : FileBytes(File)) {
      if (C == '\f') Result.emplace_back();
      else if (C == '\n') Result.back().push_back(Line), Line.clear();
      else if (C != '\r') Line += C;
    }
    Result.pop_back();  // the closing form feed
    return Result;
  }

  // A title row and Rows rows of Cols cells made by Text(column, row), no fixed column.
  TStringGrid* Grid(int Cols, int Rows, std::string (*Text)(int, int) = Cell) {
    TRows Cells(Rows + 1, V(Cols));
    for (int R = 0; R <= Rows; ++R)
      for (int C = 0; C < Cols; ++C) Cells[R][C] = Text(C, R);
    return GridOf(Cells);
  }

  TvlxRptMemo& Memo(RptMemoIndex Index, const std::string& Text, int WidPer = 100, uint8_t Alignment = 0) {
    TvlxRptMemo& M = *Settings->RptMemo(Index);
    M.Text = Text;
    M.Visible = true;
    M.WidPer = WidPer;
    M.Alignment = Alignment;
    return M;
  }

  TTempDir Dir;
  std::string File = Dir / "report.txt";
};

}  // namespace

TEST_F(PageComposeTest, RowThatDoesNotFitLeavesThePageAsItWas) {
  Settings->SetItemOpt(ioBorders, true);
  Settings->MaxStringLines = 3;
  auto* Grid = MakeGrid(3, 6, Cell);
  Grid->SetFixedCols(0);
  Start(Grid);
  Begin(30, 12);
  Grid->SetCells(2, 2, "aa bb cc");  // row 2 now needs three lines
  Run->CurVertPage = 1;
  Run->PrintPage();
  Run->PageTop = Run->EdgePending = false;
  // Room for one more one-line row, not for the three lines of row 2.
  Run->CellRect.Bottom = Run->BodyBottom - 3;
  const V Before = Lines();
  Info->First();
  Info->Next(2, false);
  EXPECT_FALSE(Run->PrintBandRow(2, -1));
  EXPECT_EQ(Lines(), Before);
  EXPECT_EQ(Run->CellRect.Bottom, Run->BodyBottom - 3);
  Info->First();
  EXPECT_TRUE(Run->PrintBandRow(2, -1));
  EXPECT_EQ(Run->CellRect.Bottom, Run->BodyBottom - 2);
  EXPECT_EQ(Run->PageLines[Run->BodyBottom - 2], "|Row110 n1  |");
}

TEST_F(PageComposeTest, NumberTooWideForItsCellPrintsStarsAndTextWraps) {
  Settings->SetItemOpt(ioBorders, true);
  Settings->SetItemOpt(ioVerticalLines, true);
  Settings->MaxStringLines = 3;
  auto* Grid = MakeGrid(3, 6, Cell);
  Grid->SetFixedCols(0);
  Start(Grid);
  Begin(30, 30);
  Grid->SetCells(1, 2, "123456789");
  Grid->SetCells(2, 2, "aa bb cc");
  Run->PrintPage();
  const V Page = Lines();
  ASSERT_GE(Page.size(), 9u);
  EXPECT_EQ(V(Page.begin() + 4, Page.begin() + 9),
            (V{"|Row1|10 |n1  |", "|Row2|***|aa  |", "|    |   |bb  |", "|    |   |cc  |", "|Row3|30 |n3  |"}));
}

TEST_F(PageComposeTest, GroupHeadingsOutdentByLevelAndFailedBookmarkShowsTheErrorOnce) {
  Settings->SetItemOpt(ioBorders, true);
  Settings->NumGrpBrkCols = 3;
  Settings->GrpBrkOutdentChars = 3;
  Settings->MaxGrpBrkLines = 1;
  Settings->ReportAlignment = 1;
  auto* Grid = MakeGrid(3, 6, Cell);
  Grid->SetFixedCols(0);
  Grid->SetCells(0, 0, std::string(30, 'N'));
  Grid->SetCells(2, 0, std::string(20, 'T'));
  Start(Grid);
  Begin(80, 30);
  Run->CalcLeftOffset();
  ASSERT_EQ(Run->RptLeftOffset, 80 - 55);
  Run->PageTop = Run->EdgePending = true;
  Run->CellRect.Bottom = -1;
  for (int Level : {0, 2}) {
    Run->GrpHdrRow = true;
    Run->GrpLevel = Level;
    EXPECT_TRUE(Run->PrintBandRow(2, -1));
  }
  Run->GrpHdrRow = false;
  Run->BookmarkFailed = true;
  EXPECT_TRUE(Run->PrintBandRow(2, -1));
  // Level 0 starts the outdent of two inner levels and one character more left of the report's
  // left offset; level 2 starts 6 characters to its right.
  const std::string Blank(25, ' ');
  EXPECT_EQ(Lines(), (V{Blank + std::string(55, '-'),
                        std::string(17, ' ') + "Row1" + std::string(59, ' '),
                        std::string(23, ' ') + "n1" + std::string(55, ' '),
                        Blank + std::string(55, '-'),
                        Blank + "|*ERROR* Unable to retrieve record. Record deleted?" + std::string(4, ' ')}));
}

TEST_F(PageComposeTest, ReportAlignmentPlacesTheReportBetweenTheMargins) {
  auto* Grid = MakeGrid(3, 3, Cell);
  Grid->SetFixedCols(0);
  Start(Grid);
  Begin(100, 30);
  const int Width = Run->CalcReportWidth();
  const struct { uint8_t Alignment; int Left, Right, Offset; } Cases[] = {
      {0, 5, 85, 5}, {1, 5, 85, 85 - Width}, {2, 5, 5 + 40 + Width, 25},
      {7, 5, 85, 0},           // an unknown code starts at the sheet's edge
      {1, 5, Width - 3, 5},    // no room: the left margin rather than a negative offset
  };
  for (const auto& C : Cases) {
    Settings->ReportAlignment = C.Alignment;
    Run->LeftMargin = C.Left;
    Run->RightEdge = C.Right;
    Run->CalcLeftOffset();
    EXPECT_EQ(Run->RptLeftOffset, C.Offset) << int(C.Alignment);
    EXPECT_EQ(Run->RptWidth, Width);
  }
  Run->PanelsAcrossPage = 2;
  Run->PanelGap = 3;
  EXPECT_EQ(Run->CalcReportWidth(), 2 * Width + 3);
}

TEST_F(PageComposeTest, PageEndIsReachedOnOrAfterTheReportEnd) {
  Run->PagesAcross = 2;
  const struct {
    int TotalsPage, FooterPage, Across, Vert, Panel;
    bool UseFooter, ComparePagesAcross, Reached;
  } Cases[] = {
      {-1, -99, 1, 1, 1, false, false, false},  // nothing placed yet
      {3, -99, 2, 3, 1, false, false, true},    // totals out on this page, last page across
      {3, -99, 1, 3, 1, false, true, false},    // the page across before the totals' last one
      {3, -99, 1, 3, 1, false, false, true},    // vertical pages only
      {3, -99, 2, 2, 1, false, false, false},
      {-1, 4, 1, 4, 1, true, true, false},      // the footer is on page across 2
      {-1, 4, 1, 5, 1, true, true, true},
  };
  for (const auto& C : Cases) {
    Run->TotalsPage = C.TotalsPage;
    Run->RptFtrPos = {2, C.FooterPage};
    Run->CurPageAcross = C.Across;
    Run->CurVertPage = C.Vert;
    EXPECT_EQ(Run->IsPageEndReached(C.UseFooter, C.ComparePagesAcross, C.Panel), C.Reached)
        << C.TotalsPage << "/" << C.FooterPage << " at " << C.Across << "-" << C.Vert;
  }
}

namespace {

// The grid's three columns framed with the bars B: titles, data rows 1..3 and a totals row.
V Framed(const std::string& B, std::initializer_list<int> Rows) {
  V Lines;
  for (int R : Rows) {
    const std::string Name = R == 0 ? "Name" : R < 0 ? "    " : "Row" + std::to_string(R);
    const std::string Qty = R == 0 ? "Qty" : R < 0 ? "60 " : std::to_string(R * 10) + " ";
    const std::string Note = R == 0 ? "Note" : R < 0 ? "    " : "n" + std::to_string(R) + "  ";
    Lines.push_back(B + Name + B + Qty + B + Note + B);
  }
  return Lines;
}

// A rule across the three columns: its left end, fill, joints and right end.
std::string Rule(const std::string& L, const std::string& F, const std::string& J, const std::string& R) {
  std::string Fill4, Fill3;
  for (int I = 0; I < 4; ++I) Fill4 += F;
  for (int I = 0; I < 3; ++I) Fill3 += F;
  return L + Fill4 + J + Fill3 + J + Fill4 + R;
}

V Join(std::initializer_list<V> Parts) {
  V Lines;
  for (const V& P : Parts) Lines.insert(Lines.end(), P.begin(), P.end());
  return Lines;
}

}  // namespace

// The data rows close their box on the line below the last one; the totals follow on lines of
// their own (or share that rule with shared borders) and the report footer comes after both.
// No row is overwritten, every corner is the one its place asks for, and totals that move to
// the next page leave a closed box behind and do not print twice.
TEST_F(ReportPagesTest, BordersCloseTheBodyAndFrameTheTotalsAndFooter) {
  const std::string H = "\xC4", V1 = "\xB3";
  const std::string Top = Rule("\xDA", H, "\xC2", "\xBF"), Mid = Rule("\xC3", H, "\xC5", "\xB4"),
                    Bottom = Rule("\xC0", H, "\xC1", "\xD9");
  const std::string Dashes(15, '-'), Cross = "|----+---+----|", Blank(15, ' '), End = "END" + std::string(17, ' ');
  const V Titles = Framed(V1, {0}), Rows = Framed(V1, {1, 2, 3}), Totals = Framed(V1, {-1});
  struct TCase { uint8_t Set; bool Share, Totals; int Height; std::vector<V> Expected; };
  const std::vector<TCase> Cases = {
      {0, false, false, 20, {Join({{Dashes}, Framed("|", {0}), {Dashes, Dashes}, Framed("|", {1, 2, 3}), {Dashes, End}})}},
      {0, true, true, 20,
       {Join({{Dashes}, Framed("|", {0}), {Cross}, Framed("|", {1, 2, 3}), {Cross}, Framed("|", {-1}), {Dashes, End}})}},
      {1, false, true, 20, {Join({{Top}, Titles, {Bottom, Top}, Rows, {Bottom, Top}, Totals, {Bottom, End}})}},
      {1, true, true, 20, {Join({{Top}, Titles, {Mid}, Rows, {Mid}, Totals, {Bottom, End}})}},
      {1, true, false, 20, {Join({{Top}, Titles, {Mid}, Rows, {Bottom, End}})}},
      // The footer does not fit below the totals: its own page does not repeat them.
      {1, false, true, 11, {Join({{Top}, Titles, {Bottom, Top}, Rows, {Bottom, Top}, Totals, {Bottom}}), {"", End}}},
      // The totals do not fit below the rows.
      {1, false, true, 10, {Join({{Top}, Titles, {Bottom, Top}, Rows, {Bottom}}),
                            Join({{Top}, Titles, {Bottom, Blank, Top}, Totals, {Bottom, End}})}},
      {1, true, true, 8, {Join({{Top}, Titles, {Mid}, Rows, {Bottom}}), Join({{Top}, Titles, {Mid}, Totals, {Bottom, End}})}},
  };
  for (const TCase& C : Cases) {
    Settings->LineDrawSet = C.Set;
    Settings->SetItemOpt(ioBorders, true);
    Settings->SetItemOpt(ioVerticalLines, true);
    Settings->SetItemOpt(ioShareAdjBorders, C.Share);
    Settings->SetItemOpt(ioColumnTotals, C.Totals);
    Memo(RptFtr, "END");
    EXPECT_EQ(Pages(Grid(3, 3), 20, C.Height, [&] {
                if (C.Totals) SetTotal("Col#1", tkSum).KindChanged = true;
              }),
              C.Expected)
        << int(C.Set) << C.Share << C.Totals << " height " << C.Height;
  }
}
