#include <random>

#include "engine/VLMXGbl0.h"
#include "framework/headless/Clock.h"
#include "framework/ExtCtrls.h"
#include "framework/Printers.h"
#include "tests/engine/AdapterFixture.h"
#include "windows/VLMXPgrs/VLMXPgrs.h"

namespace {

// A scan of a real string grid: one title row, data rows of given texts, no fixed grid column;
// the line-number column hidden, so that it is the first of the leading columns.
class ColumnScanTest : public AdapterTest {
protected:
  void SetUp() override {
    AdapterTest::SetUp();
    // The run state was made before the desktop's reset dropped the printer it measured with.
    Run->Canvas = Printer()->Canvas();
    Run->PageSetupChanged = true;
    Run->GetResolutions();  // 600 dpi; the screen: 96
    Settings->HideColumns = "~Line#";
    Settings->MaxStringColWidTxt = Settings->MaxMemoColWidTxt = 999;
    Label = Make<TLabel>("lbPagesAcross");
  }

  // Text units, no margins and no lines: a column's cell is as wide as its longest text.
  void CharacterOutput(int PageWidth) {
    Settings->OutputQuality = 0;
    Settings->TextFontName = "Courier New";
    Run->WorkFontSize = 12;
    Run->SetTextMode();
    Run->PageWidth = PageWidth;
  }
  // Device pixels, the canvas font of Height pixels (the fake printer: six tenths of it wide).
  void DeviceOutput(int PageWidth, int Height) {
    Settings->OutputQuality = 2;
    Run->SetTextMode();
    Run->PageWidth = PageWidth;
    Run->Canvas->Font().SetHeight(-Height);
  }

  // A grid whose columns' widest data are Widths characters of "x".
  TStringGrid* WidthsGrid(const std::vector<int>& Widths) {
    TRows Rows(2);
    for (size_t I = 0; I < Widths.size(); ++I) {
      Rows[0].push_back("T" + std::to_string(I));
      Rows[1].push_back(std::string(Widths[I], 'x'));
    }
    return GridOf(Rows);
  }

  void Scan() {
    bool RescanPending = true;
    Info->ColumnScan(nullptr, Label, RescanPending);
    EXPECT_FALSE(RescanPending);
  }

  TLabel* Label = nullptr;
  int Made = 0;
};

struct TPlaced {
  int Page, XPos, Cell, Ordinal;
  bool operator==(const TPlaced&) const = default;
};
std::ostream& operator<<(std::ostream& Out, const TPlaced& P) {
  return Out << "{page " << P.Page << ", x " << P.XPos << ", cell " << P.Cell << ", ordinal " << P.Ordinal << "}";
}

}  // namespace

// Columns no wider than a page across, some hidden, some leading ones repeated, against a
// model that packs the printed ones from the left: a hidden column takes no room and no page.
TEST_F(ColumnScanTest, PrintedColumnsPackIntoPagesAcrossAfterTheRepeatedOnes) {
  std::mt19937 Gen(1207);
  auto Pick = [&](int N) { return static_cast<int>(Gen() % N); };
  for (int Round = 0; Round < 150; ++Round) {
    // Column 0 is the line number's; NumFixed counts it.
    const int NumFixed = Pick(4), Cols = NumFixed + 2 + Pick(6), Page = 40 + Pick(80);
    std::vector<int> Widths;
    std::vector<bool> Hidden;
    std::string Hide;
    int FixedWidth = 0, FixedCount = 0;
    for (int C = 0; C < Cols; ++C) {
      // Any column but the line number may be hidden, a repeated one among them.
      Hidden.push_back(C > 0 && Pick(C < NumFixed ? 3 : 4) == 0);
      if (Hidden.back()) Hide += "Col#" + std::to_string(C - 1) + ",";
      // A body column fits beside the repeated ones.
      Widths.push_back(C == 0 ? 1 + Pick(4) : 3 + Pick(C < NumFixed ? Page / 8 : Page - 4 - FixedWidth));
      if (C < NumFixed && !Hidden.back()) FixedWidth += Widths.back(), ++FixedCount;
    }
    SCOPED_TRACE(testing::Message() << "round " << Round << ": page " << Page << ", fixed " << NumFixed
                                    << ", hide " << Hide);
    // The model: the repeated columns on page 1, then each column where it still fits.
    std::vector<TPlaced> Expected;
    int Across = 1, X = 1, Ordinal = 0;
    for (int C = 0; C < Cols; ++C) {
      if (Hidden[C]) continue;
      if (C >= NumFixed && X + Widths[C] > Page) ++Across, X = 1 + FixedWidth, Ordinal = FixedCount;
      Expected.push_back({Across, X, Widths[C], Ordinal++});
      X += Widths[C];
    }
    CharacterOutput(Page);
    const int Output = Pick(3);  // to the printer, to a file, to neither
    Run->OutPrinter = Output == 0;
    Run->OutAnyFile = Run->OutTextFile = Output == 1;
    Label->SetColor(clWindow);
    Settings->SetItemOpt(ioColumnTitles, false);
    Settings->NumFixedCols = NumFixed;
    // Laid out with every column first, then hidden as the user does it in the setup window.
    Settings->HideColumns = "";
    Start(WidthsGrid({Widths.begin() + 1, Widths.end()}));
    Info->LineNoSample = std::string(Widths[0], '9');
    Scan();
    Settings->HideColumns = Hide;
    Info->ResetColumns(true, true);
    Scan();
    std::vector<TPlaced> Placed;
    for (int I = 0; I < Info->ColsList->Count(); ++I)
      if (const TColsListData& C = *Info->ColsList->Items(I); C.Printed)
        Placed.push_back({C.HorzPage, C.XPos, C.CellWidth, C.PageOrdinal});
    EXPECT_EQ(Placed, Expected);
    EXPECT_EQ(Run->PagesAcross, Expected.back().Page);
    if (FixedCount == NumFixed) {
      EXPECT_EQ(Run->FixedColCount, NumFixed);
    }
    // The label tells the count, on yellow when more than one sheet is to be printed or filed.
    EXPECT_EQ(Label->Caption(), std::to_string(Across) + (Across == 1 ? " Page Across" : " Pages Across"));
    EXPECT_EQ(Label->Color(), Across > 1 && Output < 2 ? clYellow : clBtnFace);
    // The page loop finds the first column of each page across, and the last page past the end.
    for (int P = 2; P <= Across + 1; ++P) {
      int Asked = P;
      const TColsListData* First = Info->ColsList->Items(Info->NextUnplacedCol(Asked));
      EXPECT_TRUE(First->Printed);
      EXPECT_EQ(First->HorzPage, std::min(P, Across));
      EXPECT_EQ(Asked, std::min(P, Across));
    }
  }
}

TEST_F(ColumnScanTest, TitlesAreMeasuredButWidenTheColumnOnlyWhenTheyPrint) {
  for (const bool Titles : {false, true}) {
    CharacterOutput(200);
    Settings->SetItemOpt(ioColumnTitles, Titles);
    Start(GridOf({{"A title of 22 letters."}, {"ab"}, {"abcd"}, {"abc"}}));
    Scan();
    const TColsListData& Column = this->Column("Col#0");
    EXPECT_EQ(Column.Texts[1 * ColStrWidRecords + 1].Width, 22);
    EXPECT_EQ(Column.Texts[2 * ColStrWidRecords + 1].Text, "abcd");
    EXPECT_EQ(Column.CellWidth, Titles ? 22 : 4);
    EXPECT_EQ(Info->ColScanResult, 2);
    EXPECT_EQ(Info->RowsProcessed, 3);
    EXPECT_EQ(Run->RunState, rsCompletedNormally);
  }
  // A scan after the data shrank measures afresh: the column narrows again.
  Settings->SetItemOpt(ioColumnTitles, false);
  Info->StringGrid->SetCells(0, 2, "a");
  Info->ResetColumns(true, true);
  Scan();
  EXPECT_EQ(Column("Col#0").CellWidth, 3);
}

TEST_F(ColumnScanTest, CurrentColumnSizesGiveTheOnScreenWidthsScaledToThePrinter) {
  DeviceOutput(4800, 50);
  Settings->AutoSizze = 2;
  Settings->SetItemOpt(ioColumnTitles, true);
  TStringGrid* G = GridOf({{"Short", "T"}, {"a value far longer than its column", "b"}});
  G->SetColWidths(0, 96);
  G->SetColWidths(1, 48);
  Start(G);
  Scan();
  // 600 printer dots for each inch of 96 screen pixels, whatever the texts.
  EXPECT_EQ(Column("Col#0").CellWidth, 600);
  EXPECT_EQ(Column("Col#1").CellWidth, 300);
  // The title holds as many characters as the column shows: "x" is 6.4 screen pixels wide.
  EXPECT_EQ(Column("Col#0").Texts[1 * ColStrWidRecords + 1].Width, 15);
}

// The kept widest texts were cut to the cap in force when they were read: measuring again reads
// every row once more, so that a wider cap, a changed text or another font measures what the
// rows hold now, and leaves the caller's print or preview mode as it found it.
TEST_F(ColumnScanTest, RemeasureReadsEveryRowOnceAndMeasuresWhatTheRowsHoldNow) {
  CharacterOutput(200);
  Settings->MaxStringColWidTxt = 20;
  TStringGrid* G = GridOf({{"T0", "T1"},
                           {"abcd", "Moses and the elders of"},
                           {"a", "BCE Over 140 years between 1657 and 1473"},
                           {"ab", "x"}});
  Start(G);
  Scan();
  EXPECT_EQ(Column("Col#1").CellWidth, 20);
  std::vector<int> Filtered;
  Info->OnFilterRecord = [&](TObject*, TDataSet*, int Row, bool&, bool&) { Filtered.push_back(Row); };
  Settings->MaxStringColWidTxt = 50;
  G->SetCells(0, 3, "a much longer text");
  Run->PageMode = pmPreview;
  Run->RunState = rsInactive;
  bool RescanPending = true;
  Info->Remeasure(Label, RescanPending);
  EXPECT_EQ(Filtered, (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(RescanPending);
  EXPECT_EQ(Column("Col#0").CellWidth, 18);
  EXPECT_EQ(Column("Col#1").CellWidth, 40);
  // Only the widest text of each column is kept, whatever the number of rows.
  EXPECT_EQ(Column("Col#1").ColStrWid(bnData, 1).Text, "BCE Over 140 years between 1657 and 1473");
  EXPECT_EQ(Run->PageMode, pmPreview);
  EXPECT_EQ(Run->RunState, rsInactive);

  // In device units the widest text by pixels is read again in the font now on the canvas.
  Info->OnFilterRecord = nullptr;
  DeviceOutput(4800, 50);  // 30 dots a character
  Settings->MaxStringColWidDev = 0;
  Info->Remeasure(Label, RescanPending);
  EXPECT_EQ(Column("Col#0").CellWidth, 18 * 30);
  Run->Canvas->Font().SetHeight(-100);  // 60 dots a character
  Info->Remeasure(Label, RescanPending);
  EXPECT_EQ(Column("Col#0").CellWidth, 18 * 60);
}

TEST_F(ColumnScanTest, ProgressWindowSuspendsTheScanUntilAbortOrResume) {
  std::vector<std::vector<TFieldValue>> Records;
  for (int I = 0; I < 250; ++I) Records.push_back({"n" + std::to_string(I), I, false});
  Settings->DisplayProgressWin = Settings->CountNumRcds = true;
  for (auto [Abort, Rows, Result, RunState] : {std::tuple{true, 50, 1, rsTerminatedWithError}, {false, 250, 2, rsCompletedNormally}}) {
    SCOPED_TRACE(Abort ? "abort" : "resume");
    CharacterOutput(200);
    Start(MakeDataSet("ds" + std::to_string(++Made), Records));
    bool Suspended = false;
    Info->OnFieldEdit = [&](TObject*, std::string&, TvlxFieldInfo*) {
      if (Info->RowsProcessed != 50 || Suspended) return;
      Suspended = true;
      ASSERT_NE(fmVlxProgress, nullptr);
      EXPECT_EQ(fmVlxProgress->bbAbortOper->Caption(), "&Abort Column Scan");
      EXPECT_EQ(fmVlxProgress->bbResumeOper->Caption(), "&Resume Column Scan");
      Headless::AdvanceClock(501);
      Application->Post(fmVlxProgress, [] { fmVlxProgress->bbCancel->PeerClick(); });
    };
    bool Shown = false, Summary = false;
    Headless::SetModalHandler([&](TCustomForm& Form) {
      auto& Progress = dynamic_cast<TfmVlxProgress&>(Form);
      // A stopped scan ends in the summary.
      if (Shown) {
        Summary = true;
        EXPECT_EQ(Progress.paStatusBar->Caption(), "Calculated Column Widths --Terminated With Error--");
        Progress.bbOk->PeerClick();
        return;
      }
      Shown = true;
      EXPECT_EQ(Progress.paStatusBar->Caption(), "-- User Suspended Calculating Column Widths --");
      EXPECT_EQ(Progress.paProgressBar->Caption() + Progress.paProgressBackground->Caption(), "50 Rows ( 20%)");
      (Abort ? Progress.bbAbortOper : Progress.bbResumeOper)->PeerClick();
    });
    Scan();
    EXPECT_TRUE(Shown);
    EXPECT_EQ(Summary, Abort);
    EXPECT_EQ(Info->RowsProcessed, Rows);
    EXPECT_EQ(Info->ColScanResult, Result);
    EXPECT_EQ(Run->RunState, RunState);
    EXPECT_EQ(fmVlxProgress, nullptr);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(Column("Name").HorzPage, 1);  // what was measured before the stop is laid out
    Headless::SetModalHandler(nullptr);
  }
}
