#include "engine/VLMXGbl/LineDraw.h"
#include "engine/VLMXGbl/Memo.h"
#include "engine/VLMXGbl0.h"
#include "framework/Printers.h"
#include "tests/engine/TextReportFixture.h"

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
    Styles->BandInfo[bnTitles] = {1, Info->FixedRows, 0, false};
    Styles->BandInfo[bnData] = {1, Info->RowCount - Info->FixedRows, 0, false};
    Styles->BandInfo[bnTotals] = {1, Run->TotalRowCount(), 0, false};
    Run->RecordCounter = 0;
    Run->RunState = rsActive;
    Run->PageMode = pmPrint;
    Run->CheckMemosFitPage();
    if (!Info->First()) Styles->BandInfo[bnData].Finished = true;
  }

  V Lines() const {
    V Result;
    for (int I = 0; I < Run->PageLines.Count(); ++I) Result.push_back(Run->PageLines[I]);
    return Result;
  }
};

}  // namespace

TEST_F(PageComposeTest, NumberTooWideForItsCellPrintsStarsAndTextAndTitlesWrap) {
  Settings->SetItemOpt(ioBorders, true);
  Settings->SetItemOpt(ioVerticalLines, true);
  Settings->MaxStringLines = 3;
  auto* Grid = MakeGrid(3, 6, Cell);
  Grid->SetFixedCols(0);
  Start(Grid);
  Begin(30, 30);
  Grid->SetCells(1, 2, "123456789");
  Grid->SetCells(2, 2, "aa bb cc");
  Grid->SetCells(2, 0, "No|t");  // a title of two lines, as short as one, over one-line cells
  Run->PrintPage();
  const V Page = Lines();
  ASSERT_GE(Page.size(), 10u);
  EXPECT_EQ(V(Page.begin() + 1, Page.begin() + 3), (V{"|Name|Qty|No  |", "|    |   |t   |"}));
  EXPECT_EQ(V(Page.begin() + 5, Page.begin() + 10),
            (V{"|Row1|10 |n1  |", "|Row2|***|aa  |", "|    |   |bb  |", "|    |   |cc  |", "|Row3|30 |n3  |"}));
}

// A wide report replays a page's rows on its later pages across; a row whose record went in
// the meantime prints the error once across the row instead of its cells.
TEST_F(PageComposeTest, ARowWhoseRecordIsGoneShowsTheErrorOnce) {
  Settings->SetItemOpt(ioBorders, true);
  auto* Grid = MakeGrid(3, 6, Cell);
  Grid->SetFixedCols(0);
  Grid->SetCells(0, 0, std::string(30, 'N'));
  Grid->SetCells(2, 0, std::string(20, 'T'));
  Start(Grid);
  Begin(80, 30);
  Run->PageTop = Run->EdgePending = true;
  Run->CellRect.Bottom = -1;
  Run->BookmarkFailed = true;
  EXPECT_TRUE(Run->PrintBandRow(bnData, -1));
  EXPECT_EQ(Lines(), (V{std::string(55, '-'), "|*ERROR* Unable to retrieve record. Record deleted?" + std::string(4, ' ')}));
}

TEST_F(PageComposeTest, ReportAlignmentPlacesTheReportBetweenTheMargins) {
  auto* Grid = MakeGrid(3, 3, Cell);
  Grid->SetFixedCols(0);
  Start(Grid);
  Begin(100, 30);
  const int Width = Run->CalcReportWidth();
  // The whole report's width, which the width status shows, is no page's to change.
  Run->RptWidth = 4321;
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
    EXPECT_EQ(Run->PageRptWidth, Width);
    EXPECT_EQ(Run->RptWidth, 4321);
  }
}
