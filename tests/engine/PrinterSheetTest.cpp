// Reports printed on the printer as the user leaves the destination: text lines drawn on the
// canvas of the printer the settings choose, in the font size the fitting chooses, over panels,
// pages across, fixed columns, borders, totals, ranges, the current and the test page. Each
// sheet must hold the page that a text file of the same measure holds, line for line, each line
// on its own row of the sheet and inside it, in the font the run chose; every job ends.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>

#include "engine/VLMXGbl/RunStart.h"
#include "framework/Grids.h"
#include "framework/Printers.h"
#include "framework/headless/Printers.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/GoldenReports.h"
#include "tests/support/GridPages.h"
#include "tests/support/HeadlessFixture.h"
#include "tests/support/TempDir.h"

namespace {

using GoldenReports::TCase;
using GoldenReports::TReport;
using GridPages::TPage;
using V = std::vector<std::string>;

constexpr int Cols = 8, Rows = 90;

struct TConfig {
  std::string PrinterName;  // empty: the system's default printer
  int Orientation = 0;
  int FontSize = 10, Smallest = 6, Largest = 20;
  bool Shrink = false, Expand = false;
  int Panels = 1, Fixed = 0;
  bool Borders = true, LineNumbers = false, Totals = false, Footer = false;
  int VertAdjust = 100;
  int PrintWhat = 0, From = 1, To = 1;  // a range's vertical pages
};

std::string Describe(const TConfig& C) {
  return "printer '" + C.PrinterName + "' orientation " + std::to_string(C.Orientation) + " font " +
         std::to_string(C.FontSize) + " (" + std::to_string(C.Smallest) + ".." + std::to_string(C.Largest) +
         ") shrink " + std::to_string(C.Shrink) + " expand " + std::to_string(C.Expand) + " panels " +
         std::to_string(C.Panels) + " fixed " + std::to_string(C.Fixed) + " borders " + std::to_string(C.Borders) +
         " line numbers " + std::to_string(C.LineNumbers) +  " totals " + std::to_string(C.Totals) + " footer " + std::to_string(C.Footer) + " height " +
         std::to_string(C.VertAdjust) + "% print what " + std::to_string(C.PrintWhat) + " pages " +
         std::to_string(C.From) + ".." + std::to_string(C.To);
}

// The settings of C; Measure: a text file of that many characters and lines, and the font,
// panels and fitting set to what the printer run chose.
TCase CaseOf(const TConfig& C) {
  TCase Case{"printer", GoldenReports::TSource::Books, {}, {{PgTi, "TITLE ^P"}, {PgNum, "\rPAGE ^P"}}, {}};
  Case.Settings = {"OutputQuality=1", "PauseAfterPrinting=0", "DisplayProgressWin=0", "MaxStringLines=1",
                   "MaxStringColWidTxt=999", "ReportDesc=Sheets",
                   "DefaultPrinter=" + std::to_string(C.PrinterName.empty()), "PrinterName=" + C.PrinterName,
                   "Orientation=" + std::to_string(C.Orientation), "TextFontSize=" + std::to_string(C.FontSize),
                   "SmallestFontSize=" + std::to_string(C.Smallest), "LargestFontSize=" + std::to_string(C.Largest),
                   "ShrinkToPage=" + std::to_string(C.Shrink), "ExpandToPage=" + std::to_string(C.Expand),
                   "PanelsAcrossPage=" + std::to_string(C.Panels), "InterPanelGapTxt=2",
                   "NumFixedCols=" + std::to_string(C.Fixed), "HideColumns=" + std::string(C.LineNumbers ? "" : "~Line#"),
                   "ioBorders=" + std::to_string(C.Borders), "ioVerticalLines=" + std::to_string(C.Borders),
                   "VertHtAdjPer=" + std::to_string(C.VertAdjust), "PrintWhat=" + std::to_string(C.PrintWhat),
                   "PageRangeFrom=0," + std::to_string(C.From), "PageRangeTo=0," + std::to_string(C.To)};
  if (C.Totals) Case.Totals = {{"Col#1", 0, tkCount}};
  if (C.Footer) Case.Memos.push_back({RptFtr, "END OF REPORT"});
  return Case;
}

TStringGrid* MakeGrid(TComponent* Owner) {
  auto* Grid = new TStringGrid(Owner);
  Grid->SetName("strgrd");
  Grid->SetFixedCols(0);
  Grid->SetColCount(Cols);
  Grid->SetRowCount(Rows + 1);
  for (int C = 0; C < Cols; ++C) Grid->SetCells(C, 0, std::string(1, static_cast<char>('A' + C)));
  for (int R = 0; R < Rows; ++R)
    for (int C = 0; C < Cols; ++C) Grid->SetCells(C, R + 1, GridPages::NamedCell(C, R));
  return Grid;
}

// The pages ids as the page-number memo prints them.
void SetIds(std::vector<TPage>& Pages) {
  for (TPage& Page : Pages)
    for (const std::string& Line : Page.Lines)
      if (const size_t At = Line.find("PAGE "); At != std::string::npos && Line.find("TITLE") == std::string::npos)
        GridPages::SetPageId(Page, Trim(Line.substr(At + 5)));
}

// What the printer run chose and drew.
struct TPrinted {
  int Result = 0, FontSize = 0, Panels = 0, PageWidth = 0, PageHeight = 0, PanelWidth = 0, Gap = 0;
  int PagesAcross = 0;
  std::vector<TPage> Pages;
};

TPrinted PrintOnPrinter(const TConfig& C, const std::string& File) {
  Headless::ResetPrinters();
  TPrinted Out;
  const TCase Case = CaseOf(C);
  {
    TForm Owner(nullptr);
    TReport Report(Case, MakeGrid(&Owner));
    Out.Result = Report.Print(File, TReport::TOutput::Printer);
    Out.FontSize = Report.Run.WorkFontSize;
    Out.Panels = Report.Run.PanelsAcrossPage;
    Out.PageWidth = Report.Run.PageWidth;
    Out.PageHeight = Report.Run.PageHeight;
    Out.PanelWidth = Report.Run.PanelWidth;
    Out.Gap = Report.Run.PanelGap;
    Out.PagesAcross = Report.Run.PagesAcross;
    EXPECT_FALSE(Printer()->Printing()) << "a job left open";
  }
  const auto& Docs = Headless::PrintedDocuments();
  EXPECT_LE(Docs.size(), 1u);
  if (Docs.empty()) return Out;
  const Headless::TPrintedDocument& Doc = Docs.front();
  EXPECT_EQ(Doc.Title, "Report: Sheets");
  EXPECT_EQ(Doc.Printer, C.PrinterName.empty() ? PrinterBackend::DefaultPrinterName() : C.PrinterName);
  EXPECT_EQ(Doc.Orientation, C.Orientation == 1 ? TPrinterOrientation::poLandscape : TPrinterOrientation::poPortrait);
  // A job that printed a page ends; one that printed none is dropped rather than eject a blank sheet.
  const bool Inked = std::any_of(Doc.Pages.begin(), Doc.Pages.end(), [](const auto& P) { return !P.TextOuts.empty(); });
  EXPECT_EQ(Doc.Ended, Inked);
  EXPECT_EQ(Doc.Aborted, !Inked);
  if (Doc.Aborted) return Out;

  // The sheet as the printer measures it, and the report's font on it.
  const int SheetWidth = Printer()->PageWidth(), SheetHeight = Printer()->PageHeight();
  TCanvas& Canvas = *Printer()->Canvas();
  Canvas.Font().SetSize(Out.FontSize);
  const int CharWidth = Canvas.TextWidth("X");
  const int LineStep = static_cast<int>(std::lround(Canvas.TextHeight("X") * C.VertAdjust / 100.0));
  const int FontHeight = -static_cast<int>(std::lround(Out.FontSize * Printer()->DeviceCaps(dcLogPixelsY) / 72.0));
  for (size_t S = 0; S < Doc.Pages.size(); ++S) {
    TPage& Page = Out.Pages.emplace_back();
    const auto& TextOuts = Doc.Pages[S].TextOuts;
    for (size_t L = 0; L < TextOuts.size(); ++L) {
      const Headless::TTextOutRecord& T = TextOuts[L];
      Page.Lines.push_back(T.Text);
      const std::string Where = "sheet " + std::to_string(S + 1) + " line " + std::to_string(L);
      EXPECT_EQ(T.X, 0) << Where;
      EXPECT_EQ(T.Y, static_cast<int>(L) * LineStep) << Where << ": not on its own row";
      EXPECT_LE(T.Y + LineStep, SheetHeight) << Where << ": below the sheet";
      const size_t Inked = T.Text.find_last_not_of(' ') + 1;
      EXPECT_LE(static_cast<int>(Inked) * CharWidth, SheetWidth) << Where << ": beyond the sheet's right edge";
      EXPECT_EQ(T.FontHeight, FontHeight) << Where << ": not in the font size the run chose";
      EXPECT_EQ(T.FontName, "Letter Gothic Line") << Where;
    }
  }
  SetIds(Out.Pages);
  return Out;
}

// The text file of the printer run's measure: its characters and lines, font and panels.
std::vector<TPage> PrintToText(const TConfig& C, const TPrinted& Printed, const std::string& File) {
  TCase Case = CaseOf(C);
  Case.Settings.insert(Case.Settings.end(),
                       {"TxtCharsPageWid=" + std::to_string(Printed.PageWidth),
                        "LinesPerpage=" + std::to_string(Printed.PageHeight),
                        "PanelsAcrossPage=" + std::to_string(Printed.Panels),
                        "TextFontSize=" + std::to_string(Printed.FontSize), "ShrinkToPage=0", "ExpandToPage=0",
                        "ioFormFeeds=1"});
  std::filesystem::remove(File);
  {
    TForm Owner(nullptr);
    TReport Report(Case, MakeGrid(&Owner));
    EXPECT_EQ(Report.Print(File, TReport::TOutput::TextFile), Printed.Result);
  }
  std::vector<TPage> Pages = GridPages::SplitPages(FileBytes(File));
  SetIds(Pages);
  return Pages;
}

// Characters across the printer's sheet in a font of Size points.
int SheetChars(int Size) {
  TCanvas& Canvas = *Printer()->Canvas();
  Canvas.Font().SetSize(Size);
  return Printer()->PageWidth() / std::max(1, Canvas.TextWidth("X"));
}

// The fitting's choice against the sheet: a shrunk report fits unless nothing smaller is
// allowed, an expanded one is as large as fits, and without either the font is the user's.
void CheckFitting(const TConfig& C, const TPrinted& P) {
  const int OnePanel = P.PanelWidth - P.Gap;
  auto Width = [&](int Panels) { return Panels * OnePanel + (Panels - 1) * (Panels < 2 ? 0 : 2); };
  const int Fits = Width(P.Panels) <= SheetChars(P.FontSize);
  EXPECT_EQ(P.PageWidth, SheetChars(P.FontSize)) << "the page measured in another font than printed";
  EXPECT_LE(P.Panels, C.Panels);
  if (!C.Shrink && !C.Expand) {
    EXPECT_EQ(P.FontSize, C.FontSize);
    EXPECT_EQ(P.Panels, C.Panels);
    return;
  }
  if (C.Shrink) {
    EXPECT_TRUE(Fits || (P.FontSize == C.Smallest && P.Panels == 1)) << "shrunk and still too wide";
    EXPECT_GE(P.FontSize, std::min(C.Smallest, C.FontSize));
    if (P.Panels < C.Panels) {
      EXPECT_GT(Width(P.Panels + 1), SheetChars(C.Smallest)) << "a panel dropped that fits in the smallest font";
    }
  }
  if (C.Expand && P.FontSize > C.FontSize) {
    EXPECT_TRUE(Fits) << "expanded beyond the sheet";
    EXPECT_TRUE(P.FontSize == C.Largest || Width(P.Panels) > SheetChars(P.FontSize + 1)) << "not expanded as far as fits";
  }
  if (!C.Shrink) {
    EXPECT_GE(P.FontSize, std::min(C.FontSize, C.Largest));
  }
}

class PrinterSheetTest : public HeadlessTest {};

TEST_F(PrinterSheetTest, EverySheetHoldsTheTextFilesPageOnItsRowsInTheChosenFont) {
  TTempDir Dir;
  std::mt19937 Random(5);
  auto Pick = [&](int Low, int High) { return std::uniform_int_distribution<int>(Low, High)(Random); };
  const V PrinterNames = {"", "Fake Laser", "Fake Dot Matrix"};
  const int PrintWhats[] = {0, 0, 6, 1, 4};
  for (int Case = 0; Case < 60; ++Case) {
    TConfig C;
    C.PrinterName = PrinterNames[Pick(0, 2)];
    C.Orientation = Pick(0, 1);
    C.FontSize = Pick(7, 22);
    C.Smallest = Pick(5, 9);
    C.Largest = Pick(14, 26);
    C.Shrink = Pick(0, 1);
    C.Expand = Pick(0, 2) == 0;
    C.Panels = Pick(1, 3);
    C.Fixed = Pick(0, 2);
    C.Borders = Pick(0, 2) != 0;
    C.LineNumbers = Pick(0, 1);
    C.Totals = Pick(0, 1);
    C.Footer = Pick(0, 2) == 0;
    C.VertAdjust = Pick(0, 2) == 0 ? Pick(80, 150) : 100;
    C.PrintWhat = PrintWhats[Pick(0, 4)];
    C.From = Pick(1, 3);
    C.To = C.From + Pick(0, 2);
    SCOPED_TRACE(Describe(C));
    const std::string File = (Dir.Path() / "sheets.txt").string();
    const TPrinted Printed = PrintOnPrinter(C, File);
    ASSERT_EQ(Printed.Result, 1);
    CheckFitting(C, Printed);
    const std::vector<TPage> Text = PrintToText(C, Printed, File);
    ASSERT_EQ(Printed.Pages.size(), Text.size());
    for (size_t I = 0; I < Text.size(); ++I) EXPECT_EQ(Printed.Pages[I].Lines, Text[I].Lines) << "sheet " << I + 1;
    if (C.PrintWhat != 0) continue;
    GridPages::TModel Model;
    Model.Rows = Rows;
    for (int Col = 0; Col < Cols; ++Col) Model.Printed.insert(Col);
    // The line-number column leads the column list, printed or not.
    for (int Col = 0; Col < C.Fixed - 1; ++Col) Model.Fixed.insert(Col);
    Model.Height = Printed.PageHeight;
    Model.Width = Printed.PageWidth;
    Model.Borders = C.Borders;
    // The report footer's own page, past the rows, comes once rather than on each page across.
    int LastBody = 0;
    for (const TPage& Page : Printed.Pages)
      for (const std::string& Line : Page.Lines)
        if (!GridPages::LineCells(Line).empty()) LastBody = std::max(LastBody, Page.Vert);
    std::vector<TPage> Body = Printed.Pages;
    Body.erase(std::remove_if(Body.begin(), Body.end(), [&](const TPage& Page) { return Page.Vert > LastBody; }),
               Body.end());
    GridPages::CheckPages(Body, Printed.PagesAcross, Model);
  }
}

}  // namespace
