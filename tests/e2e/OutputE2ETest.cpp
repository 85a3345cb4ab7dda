// The book table's golden report (tests/engine/golden), composed by a real report run under
// Wine and drawn on the printer canvas of the CUPS PDF printer, whose PDF CheckPdf.sh reads back
// on the host: it must hold the golden text file's pages. (Raw text through the spooler is
// printed by the program itself, VersoraE2ETest.)
#include "framework/win32/Win32Handles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "framework/Printers.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/GoldenReports.h"
#include "tests/support/TempDir.h"

namespace {

const char* const PdfPrinter = "PDF";

// Differs in every run, so a job left over from an earlier run is never taken for this one's.
std::string RunToken() {
  return "E2E" + std::to_string(GetCurrentProcessId()) + "T" + std::to_string(GetTickCount());
}

using GoldenReports::TReport;

// The golden text file of the report printed here: each page's lines with CR LF, a form feed in
// front of each later page and a line of one form feed at the end.
std::string GoldenPages() {
  const std::string Pages = FileBytes(std::string(VERSORA_GOLDEN_DIR) + "/" + GoldenReports::WineCase + ".txt");
  EXPECT_FALSE(Pages.empty()) << "no golden file for " << GoldenReports::WineCase;
  return Pages;
}

const int GoldenPageCount = 2;

}  // namespace

// CheckPdf.sh, run by ctest once this test is done, holds the PDF's text (pdftotext) against
// the marker written here: the golden file's pages, one sheet each.
TEST(OutputE2E, PrinterCanvasPrintsTheGoldenPagesEachOnItsOwnSheetOfThePdfPrinter) {
  const int Index = Printer()->Printers().IndexOf(PdfPrinter);
  ASSERT_GE(Index, 0) << "Wine lists no printer " << PdfPrinter;
  const std::string File = GoldenPages();

  Printer()->SetPrinterIndex(Index);
  const std::string Token = RunToken();
  {
    TReport Report(GoldenReports::Find(GoldenReports::WineCase));
    Report.Settings.ReportDesc = "OutputE2E " + Token;
    ASSERT_EQ(Report.Print("", TReport::TOutput::PrinterCanvas), 1);
    EXPECT_EQ(Report.Run.PagesWritten, GoldenPageCount);
    EXPECT_EQ(Report.Run.RunState, rsCompletedNormally);
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_FALSE(Printer()->Aborted());
  }

  // The job title's token, then each page's lines as pdftotext gives them (trimmed, blank runs
  // as one, empty lines left out) and a separator line.
  const std::string Out = VERSORA_E2E_OUTPUT_DIR;
  CreateDirectoryA(Out.c_str(), nullptr);
  std::ofstream Marker(Out + "/pdf-job.txt", std::ios::binary);
  Marker << Token << "\n";
  std::string Line;
  int Pages = 0;
  for (std::size_t I = 0; I < File.size(); ++I) {
    const char C = File[I];
    if (C == '\f') {
      if (I + 3 < File.size()) {  // not the closing form feed
        Marker << "--page--\n";
        ++Pages;
      }
    } else if (C == '\n') {
      if (!Trim(Line).empty()) Marker << Trim(Line) << "\n";
      Line.clear();
    } else if (C != '\r') {
      Line += C;
    }
  }
  Marker << "--page--\n";
  EXPECT_EQ(Pages + 1, GoldenPageCount);
  ASSERT_TRUE(Marker.good());
}
