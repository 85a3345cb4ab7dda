#include <map>

#include "engine/VLMXGbl0.h"
#include "framework/Printers.h"
#include "framework/headless/Printers.h"
#include "tests/engine/ReportRunFixture.h"
#include "windows/VLMXPgrs/VLMXPgrs.h"

namespace {

using Range = std::pair<TPoint, TPoint>;

}  // namespace

TEST_F(ReportRunTest, PageRangeByKindAndItsClampToThePagesAcross) {
  Settings->StartingReportLineId = 7;
  Run->CurVertPage = 5;
  struct TCase { TPrintWhat Kind; bool AllPages; Range Expected; };
  const TPoint From{2, 3}, To{1, 4};
  for (const TCase& C : std::vector<TCase>{{pwAll, true, {{0, 1}, {0, 99999}}},
                                          {pwCurrentPage, false, {{0, 1}, {0, 1}}},
                                          {pwTestPage, true, {{1, 1}, {1, 1}}},
                                          {pwPageRange, true, {From, To}}}) {
    Run->AllPages = !C.AllPages;
    Run->SetPageRange(C.Kind, true, From, To);
    EXPECT_EQ(Run->AllPages, C.AllPages) << C.Kind;
    EXPECT_EQ(Range(Run->PrintRangeFrom, Run->PrintRangeTo), C.Expected) << C.Kind;
    EXPECT_EQ(Run->CurVertPage, 0);
    EXPECT_EQ(Run->RecordCounterStart, 7);
  }
  // Any other kind keeps the range.
  Run->SetPageRange(pwBranchDown, false, {9, 9}, {9, 9});
  EXPECT_EQ(Range(Run->PrintRangeFrom, Run->PrintRangeTo), Range({2, 3}, {1, 4}));

  Run->PagesAcross = 3;
  for (const auto& [Given, Expected] : std::vector<std::pair<Range, Range>>{
           {{{-1, 0}, {5, 2}}, {{0, 1}, {3, 2}}},
           {{{0, 3}, {0, 1}}, {{0, 3}, {0, 3}}},
           {{{2, 3}, {0, 3}}, {{2, 3}, {0, 3}}},  // every panel from the second on
           {{{3, 3}, {1, 3}}, {{3, 3}, {3, 3}}},
           {{{4, 2}, {1, 4}}, {{3, 2}, {1, 4}}},
       }) {
    Run->PrintRangeFrom = Given.first;
    Run->PrintRangeTo = Given.second;
    Run->NormalizePageRange();
    EXPECT_EQ(Range(Run->PrintRangeFrom, Run->PrintRangeTo), Expected);
  }
}

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

TEST_F(ReportRunTest, ProgressWindowRunsWithTheReportAndACloseFailureReachesTheCaller) {
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
  Info->OnFieldEdit = nullptr;

  // The spooler refuses the closing printer string: the caller gets that error, not a result.
  Settings->DisplayProgressWin = false;
  Run->OutAnyFile = Run->OutAsciiFile = false;
  Run->OutFastPrinterText = Run->OutPrinter = Run->OutSnapshot = true;
  Settings->FinishPrinterStr = "#12";
  Headless::SpoolerFailAt("WritePrinter", 1);
  EXPECT_THROW_MSG(Print(pwAll), eVlxPrtError,
                   "Vellumix! Printing Error: Using Fast Printer Text. Error writing printer closing string to "
                   "print spooler.");
  EXPECT_EQ(Run->RunState, rsTerminatedWithError);
  EXPECT_EQ(Headless::OpenSpoolHandles(), 0);
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

TEST_F(ReportRunTest, PageLoopEmitsOnlyThePrintRangeToATextFile) {
  Settings->LinesPerpage = 5;
  Prepare(7);
  ToFile();
  EXPECT_EQ(Print(pwAll), 1);
  const std::vector<std::string> All = FilePages();
  ASSERT_EQ(All.size(), 4u);  // three pages and the closing form feed
  EXPECT_EQ(All[0], "Name\r\nr1  \r\nr2  \r\nr3  \r\n");
  EXPECT_EQ(Run->PagesWritten, 3);
  EXPECT_EQ(Run->PagesLaidOut, 3);

  // The rows of the pages before the range are consumed without being written.
  struct TCase { TPrintWhat Kind; Range Pages; std::vector<std::string> Expected; };
  for (const TCase& C : std::vector<TCase>{{pwPageRange, {{0, 2}, {0, 2}}, {All[1], "\r\n"}},
                                          {pwPageRange, {{0, 2}, {0, 9}}, {All[1], All[2], "\r\n"}},
                                          {pwPageRange, {{0, 3}, {0, 1}}, {All[2], "\r\n"}},
                                          {pwCurrentPage, {}, {All[0], "\r\n"}},
                                          {pwTestPage, {}, {All[0], "\r\n"}}}) {
    EXPECT_EQ(Print(C.Kind, C.Pages.first, C.Pages.second), 1);
    EXPECT_EQ(FilePages(), C.Expected) << C.Pages.first.Y << "-" << C.Pages.second.Y;
    EXPECT_EQ(Run->PagesWritten, static_cast<int>(C.Expected.size()) - 1);
  }

  // No data row: one page with the column titles.
  Prepare(0);
  EXPECT_EQ(Print(pwAll), 1);
  EXPECT_EQ(FilePages(), std::vector<std::string>({"Name\r\n", "\r\n"}));
}

TEST_F(ReportRunTest, PageLoopOnTheFakePrinterPrintsTheRangesPagesAcross) {
  // Two columns of 40 characters on a 60-character page: two pages across.
  Settings->LinesPerpage = 5;
  Prepare(7, 2, 38);
  ASSERT_EQ(Run->PagesAcross, 2);
  ToPrinter();

  auto Texts = [](const Headless::TPrintedPage& Page) {
    std::string Text;
    for (const auto& Out : Page.TextOuts) Text += Out.Text + "|";
    return Text;
  };
  EXPECT_EQ(Print(pwAll), 1);
  ASSERT_EQ(Headless::PrintedDocuments().size(), 1u);
  std::vector<std::string> All;
  for (const auto& Page : Headless::PrintedDocuments()[0].Pages) All.push_back(Texts(Page));
  // Pages 1-1, 1-2, 2-1, 2-2, 3-1, 3-2.
  ASSERT_EQ(All.size(), 6u);
  EXPECT_EQ(Run->PagesWritten, 6);
  EXPECT_EQ(Run->PagesLaidOut, 3);
  EXPECT_NE(All[2].find(std::string(38, 'a') + "r4"), std::string::npos);
  EXPECT_NE(All[3].find(std::string(38, 'b') + "r4"), std::string::npos);

  // Each page across is a sheet of its own on the printer and a page of its own on the spooler,
  // also on a range's last page given without a page across and on the current page.
  struct TCase { TPrintWhat Kind; Range Pages; std::vector<std::string> Expected; };
  for (const TCase& C : std::vector<TCase>{{pwPageRange, {{2, 2}, {0, 2}}, {All[3]}},
                                          {pwPageRange, {{0, 2}, {1, 3}}, {All[2], All[3], All[4]}},
                                          {pwPageRange, {{2, 1}, {1, 2}}, {All[1], All[2]}},
                                          {pwPageRange, {{0, 2}, {0, 2}}, {All[2], All[3]}},
                                          {pwCurrentPage, {}, {All[0], All[1]}}}) {
    SCOPED_TRACE(testing::Message() << C.Kind << " " << C.Pages.first.Y << "-" << C.Pages.second.Y);
    ResetPrinters();
    ToPrinter();
    EXPECT_EQ(Print(C.Kind, C.Pages.first, C.Pages.second), 1);
    std::vector<std::string> Printed;
    for (const auto& Page : Headless::PrintedDocuments().at(0).Pages) Printed.push_back(Texts(Page));
    EXPECT_EQ(Printed, C.Expected);
    EXPECT_TRUE(Headless::PrintedDocuments()[0].Ended);

    ToSpooler();
    EXPECT_EQ(Print(C.Kind, C.Pages.first, C.Pages.second), 1);
    std::string Bytes;
    for (std::size_t I = 0; I < C.Expected.size(); ++I) {
      Bytes += I > 0 ? "\f" : "";
      for (char Ch : C.Expected[I]) Bytes += Ch == '|' ? std::string("\r\n") : std::string(1, Ch);
    }
    ASSERT_EQ(Headless::SpooledDocuments().size(), 1u);
    EXPECT_EQ(Headless::SpooledDocuments()[0].Bytes, Bytes);
    EXPECT_EQ(Headless::SpooledDocuments()[0].PagesStarted, static_cast<int>(C.Expected.size()));
    EXPECT_TRUE(Headless::SpoolerMisuses().empty());
  }
}

TEST_F(ReportRunTest, AbortBetweenPagesEndsTheRunAfterTheReportFooter) {
  Settings->LinesPerpage = 5;
  Prepare(7);
  ToFile();
  TvlxRptMemo& Footer = *Settings->RptMemo(RptFtr);
  Footer.Text = "END";
  Footer.Visible = true;
  Footer.WidPer = 100;
  // The progress window's Abort, as it arrives while the second page is composed.
  Info->OnFieldEdit = [&](TObject*, std::string& Text, TvlxFieldInfo*) {
    if (Text == "r5") Application->Post(&Form, [&] { Run->RunState = rsTerminatedWithError; });
  };
  EXPECT_EQ(Print(pwAll), 3);
  EXPECT_EQ(Run->PagesWritten, 2);
  const std::vector<std::string> Pages = FilePages();
  ASSERT_EQ(Pages.size(), 4u);
  EXPECT_EQ(Pages[1].find("r7"), std::string::npos);
  EXPECT_NE(Pages[2].find("END"), std::string::npos);
  EXPECT_EQ(Pages[1].find("END"), std::string::npos);
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
