// A report run of a small string grid in text units on the fake laser printer, started as the
// setup window starts it on a text page of 60 x 8 (or as a test sets the page before Prepare),
// with its output to a text file, the printer or the spooler.
#pragma once
#include <string>
#include <vector>

#include "framework/headless/Printers.h"
#include "tests/engine/TextReportFixture.h"
#include "tests/support/TempDir.h"

class ReportRunTest : public TextReportTest {
protected:
  void SetUp() override {
    TextReportTest::SetUp();
    Settings->SetItemOpt(ioFormFeeds, true);
    Settings->ExportFieldDelim = "9";
    Settings->ExportQuote = "\"";
    Settings->ReportTitle = "Books";
    Settings->ReportDesc = "Book list";
    Settings->OutputDest = odTextFile;
    Settings->TxtCharsPageWid = 60;
    Settings->LinesPerpage = 8;
    Settings->PanelsAcrossPage = 1;
    Settings->TextFontSize = 12;
  }

  // Rows "r1".."rN" under the title "Name", each cell of column C led by Pad letters C.
  void Prepare(int Rows, int Cols = 1, int Pad = 0) {
    auto* G = Make<TStringGrid>("grid" + std::to_string(++Made));
    G->SetFixedCols(0);
    G->SetColCount(Cols);
    G->SetRowCount(Rows + 1);
    for (int C = 0; C < Cols; ++C) {
      G->SetCells(C, 0, "Name");
      for (int R = 1; R <= Rows; ++R) G->SetCells(C, R, std::string(Pad, 'a' + C) + "r" + std::to_string(R));
    }
    Start(G, true);
  }

  // Fresh fake printers, and with Desktop a clean headless desktop; the run draws on the new
  // printer's canvas.
  void ResetPrinters(bool Desktop = false) {
    if (Desktop) Headless::Reset();
    else Headless::ResetPrinters();
    Run->Canvas = Printer()->Canvas();
  }

  void ToSpooler() {
    Run->OutPrinter = Run->OutFastPrinterText = true;
    Run->OutAnyFile = Run->OutTextFile = Run->OutAsciiFile = false;
  }
  void ToPrinter() {
    Run->OutPrinter = true;
    Run->OutFastPrinterText = Run->OutAnyFile = Run->OutTextFile = Run->OutAsciiFile = false;
  }
  void ToFile(bool Export = false) {
    Run->OutPrinter = Run->OutFastPrinterText = false;
    Run->OutAnyFile = true;
    Run->OutTextFile = !Export;
    Run->OutAsciiFile = Export;
    Settings->OutputFileName = Name;
  }

  // As the setup window's Print command: the print-what choice is the kind of range.
  int Print(TPrintWhat Kind, TPoint From = {}, TPoint To = {}) {
    if (Settings->PrintWhat != pwSnapshot) Settings->PrintWhat = Kind;
    Run->SetPageRange(Kind, false, From, To);
    return Run->Execute(false);
  }

  TTempDir Dir;
  std::string Name = Dir / "out.txt";
  int Made = 0;
};
