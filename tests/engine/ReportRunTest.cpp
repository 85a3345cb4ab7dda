#include <map>

#include "engine/VLMXGbl0.h"
#include "framework/Printers.h"
#include "framework/headless/Printers.h"
#include "tests/engine/ReportRunFixture.h"
#include "windows/VLMXPgrs/VLMXPgrs.h"

TEST_F(ReportRunTest, ResultTellsFinishedAndFailedRunsWithoutAMessageBox) {
  Prepare(3);
  ToFile(true);
  EXPECT_EQ(Print(pwAll), 1);
  EXPECT_EQ(Run->RunState, rsCompletedNormally);
  EXPECT_EQ(FileBytes(Name), "\"Name\"\r\nr1\r\nr2\r\nr3\r\n");
  EXPECT_EQ(Run->DestName, Name);

  // A failing handler inside the run ends it; the lines before it stay and the file is closed.
  Info->OnFieldEdit = [](TObject*, std::string& Text, TvlxFieldInfo*) {
    if (Text == "r2") throw Exception("handler failed");
  };
  EXPECT_EQ(Print(pwAll), 3);
  EXPECT_EQ(Run->RunState, rsTerminatedWithError);
  EXPECT_EQ(FileBytes(Name), "\"Name\"\r\nr1\r\n");
  EXPECT_FALSE(Run->TextFile.IsOpen());
  Info->OnFieldEdit = nullptr;

  // Memos that leave no room for the body: a setup error, caught like any other.
  ToFile();
  TvlxRptMemo& Header = *Settings->RptMemo(PgHdr);
  Header.Text = "1\r2\r3\r4";
  Header.Visible = true;
  Header.WidPer = 100;
  EXPECT_EQ(Print(pwAll), 3);
  EXPECT_EQ(Run->PagesWritten, 0);
  EXPECT_TRUE(Headless::MessageBoxes().empty());
  EXPECT_TRUE(Headless::ErrorBoxes().empty());
  EXPECT_FALSE(Run->TextFile.IsOpen());
}

TEST_F(ReportRunTest, ProgressWindowRunsWithTheReportAndGoesWithIt) {
  Prepare(2);
  ToFile(true);
  Settings->DisplayProgressWin = true;
  std::vector<std::string> Captions;
  Info->OnFieldEdit = [&](TObject*, std::string&, TvlxFieldInfo*) {
    Captions.push_back(fmVlxProgress ? fmVlxProgress->Caption() + "|" + fmVlxProgress->bbAbortOper->Caption() : "");
  };
  EXPECT_EQ(Print(pwAll), 1);
  EXPECT_EQ(Captions, std::vector<std::string>(3, "Report:Books|&Abort Report"));
  EXPECT_EQ(fmVlxProgress, nullptr);
}

TEST_F(ReportRunTest, SnapshotPrintsTheActiveWindowScaledAndPutsItBack) {
  Setup(MakeGrid(2, 2));
  Info->ActiveForm = &Form;
  Form.SetClientWidth(400);
  Form.SetClientHeight(300);
  Run->OutPrinter = Run->OutSnapshot = true;
  Settings->PrintWhat = pwSnapshot;
  struct TCase { std::string Size; int Width, Height; TWindowState During; };
  // The fake laser: 600 dpi, a printable page of 4800 x 6300 dots; the screen 96 dpi.
  const auto Max = TWindowState::wsMaximized, Normal = TWindowState::wsNormal;
  for (const TCase& C : std::vector<TCase>{{"MT", 4800, 3600, Max}, {"CP", 2500, 1875, Normal},
                                          {"CS", 400, 300, Normal}, {"", 4800, 3600, Normal},
                                          {"M", 4800, 3600, Max}}) {
    ResetPrinters();
    Settings->SnapShotSize = C.Size;
    std::vector<TWindowState> Shown;
    Form.OnShow = [&](TObject*) { Shown.push_back(Form.WindowState()); };
    EXPECT_EQ(Print(pwAll), 1) << C.Size;
    EXPECT_EQ(Shown, std::vector<TWindowState>{C.During}) << C.Size;
    const auto& Docs = Headless::PrintedDocuments();
    ASSERT_EQ(Docs.size(), 1u);
    EXPECT_EQ(Docs[0].Title, "Report: Book list");
    EXPECT_TRUE(Docs[0].Ended);
    ASSERT_EQ(Docs[0].Pages.size(), 1u);
    ASSERT_EQ(Docs[0].Pages[0].Images.size(), 1u);
    const Headless::TImageRecord& Image = Docs[0].Pages[0].Images[0];
    EXPECT_EQ(std::vector<int>({Image.X, Image.Y, Image.Width, Image.Height, Image.ImageWidth, Image.ImageHeight}),
              std::vector<int>({0, 0, C.Width, C.Height, 400, 300}))
        << C.Size;
    EXPECT_FALSE(Form.Visible());
    EXPECT_EQ(Form.WindowState(), Normal);
    EXPECT_EQ(Form.PrintScale(), TPrintScale::poProportional);
  }
}

TEST_F(ReportRunTest, SnapshotNeedsAWindowAndThePrinter) {
  Setup(MakeGrid(2, 2));
  Settings->PrintWhat = pwSnapshot;
  Run->OutPrinter = Run->OutSnapshot = true;
  EXPECT_THROW_MSG(Run->PrintSnapshot(), eVlxSUError, "TvlxVellumix Setup Error\r\rvlx does not have a form");
  EXPECT_EQ(Print(pwAll), 3);

  Info->ActiveForm = &Form;
  Run->OutPrinter = false;
  ToFile();
  const std::string NotPrinter =
      "TvlxVellumix Setup Error\r\rAttempted to print snapshot without using printer as Output Destination";
  EXPECT_THROW_MSG(Run->PrintSnapshot(), eVlxSUError, NotPrinter);
  EXPECT_EQ(Print(pwAll), 3);
  Run->OutAnyFile = Run->OutTextFile = false;
  Run->OutPrinter = Run->OutFastPrinterText = true;
  EXPECT_THROW_MSG(Run->PrintSnapshot(), eVlxSUError, NotPrinter);

  EXPECT_TRUE(Headless::PrintedDocuments().empty());
  EXPECT_TRUE(Headless::MessageBoxes().empty());
  EXPECT_FALSE(Form.Visible());
}

// Device units draw the page on the printer while it is composed: a page laid out before the
// range must not reach the sheet, and a row replayed on a later page across prints at its place.
TEST_F(ReportRunTest, DeviceUnitsReplayRowsInPlaceAndKeepLaidOutPagesOffTheSheet) {
  Settings->OutputQuality = 2;
  Run->SetTextMode();
  ASSERT_EQ(Run->UnitSet, usDevice);
  Run->PageWidth = 100;
  Run->PageHeight = 1200;
  Settings->SetItemOpt(ioColumnTitles, false);
  TvlxRptMemo& Title = *Settings->RptMemo(PgTi);
  Title.Text = "Title";
  Title.Visible = true;
  Title.WidPer = 100;
  TRows Rows(1, V{"", ""});
  for (int R = 1; R < 30; ++R) Rows.push_back(V{"a" + std::to_string(R), "b" + std::to_string(R)});
  Start(GridOf(Rows));
  bool Rescan = true;
  Info->ColumnScan(nullptr, nullptr, Rescan);
  Info->CountTotalLines();
  ASSERT_EQ(Run->PagesAcross, 2);
  // The top of each printed cell by {page across, vertical page}; the cells stay blank.
  std::map<std::pair<int, int>, std::vector<int>> Tops;
  Info->OnFieldEdit = [&](TObject*, std::string& Text, TvlxFieldInfo*) {
    Tops[{Run->CurPageAcross, Run->CurVertPage}].push_back(Run->CellRect.Top);
    Text.clear();
  };
  ToPrinter();
  EXPECT_EQ(Print(pwPageRange, {0, 2}, {0, 3}), 1);

  const auto& Sheets = Headless::PrintedDocuments().at(0).Pages;
  ASSERT_EQ(Sheets.size(), 4u);
  for (const auto& Sheet : Sheets) {
    ASSERT_EQ(Sheet.TextOuts.size(), 1u);
    EXPECT_EQ(Sheet.TextOuts[0].Text, "Title");
  }
  std::vector<int> Full;
  for (int Top = 80; Top <= 1040; Top += 80) Full.push_back(Top);
  EXPECT_EQ(Tops[std::pair(1, 1)], Full);
  EXPECT_EQ(Tops[std::pair(1, 2)], Full);
  EXPECT_EQ(Tops[std::pair(2, 2)], Full);
  EXPECT_EQ(Tops[std::pair(2, 3)], (std::vector<int>{80, 160, 240}));
}

// A page label in a title memo prints whole on every page, also where the label is wider than
// the first page's: on reports two and three pages across and more than nine pages down, with
// the label landing at every place near the memo's right edge.
TEST_F(ReportRunTest, APageLabelInAMemoIsNeverCut) {
  Settings->MemoPageFormatStr = "Pg";
  Settings->LinesPerpage = 12;
  TvlxRptMemo& Title = *Settings->RptMemo(PgTi);
  Title.Visible = true;
  Title.XPosPer = 0;
  Title.WidPer = 100;
  for (const int Across : {2, 3}) {
    // Each column is wider than half the page: one page across each.
    Prepare(150, Across, 40);
    ToFile();
    for (int Fill = 45; Fill <= 60; ++Fill) {
      Title.Text = std::string(Fill, '=') + "^P";
      SCOPED_TRACE(testing::Message() << Across << " across, label after " << Fill << " characters");
      ASSERT_EQ(Print(pwAll), 1);
      ASSERT_EQ(Run->PagesAcross, Across);
      std::vector<std::string> Pages;
      const std::string Text = FileBytes(Name);
      for (size_t From = 0, At; From < Text.size(); From = At + 1) {
        At = Text.find('\f', From);
        if (At == std::string::npos) At = Text.size();
        Pages.push_back(Text.substr(From, At - From));
      }
      if (!Pages.empty() && Pages.back().find_first_not_of("\r\n ") == std::string::npos) Pages.pop_back();
      ASSERT_GT(Pages.size(), static_cast<size_t>(10 * Across));
      for (size_t K = 0; K < Pages.size(); ++K) {
        // The memo's lines down to the column titles, joined without blanks: a label that ran
        // past the edge goes on on the next line.
        std::string Memo;
        for (size_t From = 0, At; From < Pages[K].size() && Pages[K].compare(From, 4, "Name") != 0; From = At + 1) {
          At = Pages[K].find('\n', From);
          if (At == std::string::npos) At = Pages[K].size();
          for (const char C : Pages[K].substr(From, At - From))
            if (C != ' ' && C != '\r') Memo += C;
        }
        const std::string Label = "Pg" + std::to_string(K / Across + 1) + "-" + std::to_string(K % Across + 1);
        EXPECT_EQ(Memo, std::string(Fill, '=') + Label) << "page " << K << ":\n" << Pages[K];
      }
    }
  }
}
