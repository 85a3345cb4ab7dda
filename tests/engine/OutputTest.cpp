// The output sinks on the fake printers and spooler and on real files.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/VLMXGbl/Output.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl0.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/Dialogs.h"
#include "framework/headless/Printers.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/HeadlessFixture.h"
#include "tests/support/TempDir.h"

namespace {

using TPages = std::vector<std::vector<std::string>>;

std::string Decode(const std::string& Text) {
  std::string Bytes;
  DecodePrinterString(Text, Bytes);
  return Bytes;
}

std::string ReadFile(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  std::stringstream S;
  S << In.rdbuf();
  return S.str();
}

void WriteFile(const std::string& Name, const std::string& Bytes) {
  std::ofstream(Name, std::ios::binary) << Bytes;
}

enum class TDest { None, Spooler, Printer, File };

class OutputTest : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    RptSettings = &FSettings;
    FSettings.ReportDesc = "Books";
    FSettings.OutputFileName = FDir / "out.txt";
    Fresh(TDest::None);
  }
  void TearDown() override {
    FPS.reset();
    PrintSettings = nullptr;
    RptSettings = nullptr;
    Headless::ResetPrinters();
    HeadlessTest::TearDown();
  }

  // A fresh run state on fresh fake printers, writing to Dest.
  void Fresh(TDest Dest) {
    Headless::ResetPrinters();
    FPS = std::make_unique<TvlxPrintSettings>();
    PrintSettings = FPS.get();
    FPS->UnitSet = 1;
    FPS->CanvasLineStep = 50;
    SetDest(Dest);
  }
  void SetDest(TDest Dest) {
    FPS->OutFastPrinterText = Dest == TDest::Spooler;
    FPS->OutPrinter = Dest == TDest::Spooler || Dest == TDest::Printer;
    FPS->OutAnyFile = FPS->OutTextFile = Dest == TDest::File;
  }

  // Runs the pages as the report run does: every step guarded, the output always closed. The
  // first error's text, or empty.
  std::string Run(const TPages& Pages, unsigned char EndState = rsCompletedNormally) {
    std::string Error;
    auto Guarded = [&](auto Step) {
      try {
        Step();
      } catch (const std::exception& E) {
        if (Error.empty()) Error = E.what();
        FPS->RunState = rsTerminatedWithError;
      }
    };
    FPS->RunState = rsActive;
    Guarded([&] {
      if (!FPS->OpenOutput()) return;
      for (std::size_t I = 0; I < Pages.size() && FPS->RunState == rsActive; ++I) {
        FPS->PageLines.Clear();
        for (const auto& Line : Pages[I]) FPS->PageLines.Add(Line);
        FPS->CurPageAcross = 1;
        FPS->CurVertPage = static_cast<int>(I) + 1;
        FPS->EmitPage(I + 1 == Pages.size(), false);
        ++FPS->PagesWritten;
      }
      if (FPS->RunState == rsActive) FPS->RunState = EndState;
    });
    Guarded([&] { FPS->CloseOutput(); });
    return Error;
  }

  TTempDir FDir;
  TvlxReportSettings FSettings;
  std::unique_ptr<TvlxPrintSettings> FPS = std::make_unique<TvlxPrintSettings>();
};

// Nothing of the spooler is left open, and nothing was closed that was not open.
void ExpectSpoolerClean() {
  EXPECT_EQ(Headless::OpenSpoolHandles(), 0);
  EXPECT_EQ(Headless::OpenSpoolDocuments(), 0);
  EXPECT_EQ(Headless::OpenSpoolPages(), 0);
  EXPECT_TRUE(Headless::SpoolerMisuses().empty()) << Headless::SpoolerMisuses().front();
}

}  // namespace

TEST(PrinterString, DecodesCodesAndEscapes) {
  const struct { const char* Text; std::string Bytes; } Cases[] = {
      {"#27#69", "\x1b" "E"}, {"##", "#"},       {"#0651", "A1"},  {"AB#", "AB"},
      {"###", "#"},           {"##27", "#27"},   {"#0", std::string(1, '\0')},
      {"x#1y", "x\x01y"},     {"#255", "\xff"},  {"", ""},         {"#12#", "\f"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Decode(C.Text), C.Bytes) << C.Text;
  EXPECT_THROW_MSG(Decode("#256"), Exception,
                   "Fast Printer Text Printer String:\r#256\rhas invalid ASCII character:256. ASCII numbers "
                   "must be between 0 and 255.");
  EXPECT_THROW_MSG(Decode("a#9999"), Exception,
                   "Fast Printer Text Printer String:\ra#9999\rhas invalid ASCII character:999. ASCII numbers "
                   "must be between 0 and 255.");
}

// A form feed goes before a later page of two lines or more.
TEST_F(OutputTest, RawSpoolerGetsTheFramedLinesOnTheDefaultPrinter) {
  Printer()->SetPrinterIndex(1);  // the run chose the dot matrix; raw text ignores that
  FSettings.InitPrinterStr = "#27#69";
  FSettings.FinishPrinterStr = "#27@";
  FSettings.SetItemOpt(ioFormFeeds, true);
  SetDest(TDest::Spooler);
  EXPECT_EQ(Run({{"A", "B"}, {"C", "D"}, {"E"}}), "");

  ASSERT_EQ(Headless::SpooledDocuments().size(), 1u);
  const auto& Doc = Headless::SpooledDocuments()[0];
  EXPECT_EQ(Doc.Printer, "Fake Laser");
  EXPECT_EQ(Doc.DocName, "Books");
  EXPECT_EQ(Doc.DataType, "RAW");
  EXPECT_EQ(Doc.Bytes, "\x1b" "EA\r\nB\r\n\fC\r\nD\r\nE\r\n\x1b@");
  EXPECT_EQ(Doc.PagesStarted, 3);
  EXPECT_TRUE(Doc.Ended);
  ExpectSpoolerClean();
}

// The spooler's form-feed rule is in the test above; a file also ends with a form-feed line.
TEST_F(OutputTest, FormFeedsInAFile) {
  for (const bool FormFeeds : {true, false}) {
    Fresh(TDest::File);
    FSettings.SetItemOpt(ioFormFeeds, FormFeeds);
    EXPECT_EQ(Run({{"a", "b"}, {"c", "d"}}), "");
    EXPECT_EQ(ReadFile(FSettings.OutputFileName), FormFeeds ? "a\r\nb\r\n\fc\r\nd\r\n\f\r\n" : "a\r\nb\r\nc\r\nd\r\n");
  }
}

TEST_F(OutputTest, PrinterCanvasDrawsTheLinesOnePagePerSheet) {
  // A run that ends in error or is cancelled throws its job away.
  const struct { unsigned char EndState; bool Ended; } Cases[] = {
      {rsCompletedNormally, true}, {rsTerminatedWithError, false}, {rsUserCancelled, false}};
  for (const auto& C : Cases) {
    Fresh(TDest::Printer);
    EXPECT_EQ(Run({{"one", "two"}, {"three"}}, C.EndState), "");
    ASSERT_EQ(Headless::PrintedDocuments().size(), 1u);
    const auto& Doc = Headless::PrintedDocuments()[0];
    EXPECT_EQ(Doc.Title, "Report: Books");
    EXPECT_EQ(Doc.Ended, C.Ended);
    EXPECT_EQ(Doc.Aborted, !C.Ended);
    ASSERT_EQ(Doc.Pages.size(), 2u) << "no blank sheet after the last page";
    ASSERT_EQ(Doc.Pages[0].TextOuts.size(), 2u);
    EXPECT_EQ(Doc.Pages[0].TextOuts[1].Text, "two");
    EXPECT_EQ(Doc.Pages[0].TextOuts[1].X, 0);
    EXPECT_EQ(Doc.Pages[0].TextOuts[1].Y, 50);
    ASSERT_EQ(Doc.Pages[1].TextOuts.size(), 1u);
    EXPECT_EQ(Doc.Pages[1].TextOuts[0].Text, "three");
    EXPECT_FALSE(Printer()->Printing());
  }
}

TEST_F(OutputTest, NextSheetWaitsForTheRangeEndTheTestPageOrThePendingFooter) {
  SetDest(TDest::Printer);
  FPS->RunState = rsActive;
  ASSERT_TRUE(FPS->OpenOutput());
  // Sheets: of the job afterwards.
  const struct { int PrintWhat; unsigned char Mode; int Page; bool PageEnd, FooterPending, Finished; int Sheets; }
      Cases[] = {
      {0, pmPrint, 1, false, false, false, 2},
      {6, pmPrint, 2, false, false, false, 3},  // range ends at page 3
      {6, pmPrint, 3, false, false, true, 3},
      {4, pmPrint, 1, false, false, true, 3},
      {0, pmPrint, 4, true, true, true, 4},      // the footer still needs a sheet
      {0, pmLayoutOnly, 5, false, false, false, 4},
      {1, pmPrint, 5, false, false, false, 4},
  };
  FPS->PrintRangeTo = {0, 3};
  for (const auto& C : Cases) {
    FSettings.PrintWhat = static_cast<uint8_t>(C.PrintWhat);
    FPS->PageMode = C.Mode;
    FPS->CurVertPage = C.Page;
    EXPECT_EQ(FPS->EmitPage(C.PageEnd, C.FooterPending), C.Finished) << C.PrintWhat << " page " << C.Page;
    EXPECT_EQ(Printer()->PageNumber(), C.Sheets) << C.PrintWhat << " page " << C.Page;
    EXPECT_EQ(FPS->LastEmittedPage, (TPoint{0, C.Page}));
  }
  FPS->CloseOutput();
}

TEST_F(OutputTest, ExistingFileIsOverwrittenAppendedOrTheUserIsAsked) {
  const std::string Question =
      "File \"" + FSettings.OutputFileName +
      "\" already exists\rOverwrite this file?\r\r  Yes   : Overwrites\r  No    : Appends to file\r"
      "  Cancel: Terminates Report";
  // Answer 0: no question expected. A file that is not there is made without a question.
  const struct { bool Exists; int IfExists; int Answer; bool Opened; std::string Bytes; } Cases[] = {
      {true, 0, 0, true, "new\r\n"},          {true, 1, 0, true, "old\r\nnew\r\n"},
      {true, 2, MsgBox::IdYes, true, "new\r\n"}, {true, 2, MsgBox::IdNo, true, "old\r\nnew\r\n"},
      {true, 2, MsgBox::IdCancel, false, "old\r\n"}, {false, 2, 0, true, "new\r\n"},
  };
  SetDest(TDest::File);
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.IfExists << " answer " << C.Answer);
    Headless::Reset();
    std::filesystem::remove(FSettings.OutputFileName);
    if (C.Exists) WriteFile(FSettings.OutputFileName, "old\r\n");
    FSettings.IfOutputFileExists = static_cast<uint8_t>(C.IfExists);
    if (C.Answer) Headless::QueueAnswer(C.Answer);
    FPS->PagesWritten = 0;
    EXPECT_EQ(Run({{"new"}}), "");
    EXPECT_EQ(ReadFile(FSettings.OutputFileName), C.Bytes);
    EXPECT_EQ(FPS->RunState, C.Opened ? rsCompletedNormally : rsUserCancelled);
    if (C.Answer) {
      ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
      EXPECT_EQ(Headless::MessageBoxes()[0].Text, Question);
      EXPECT_EQ(Headless::MessageBoxes()[0].Buttons, mbYesNoCancel);
      EXPECT_EQ(Headless::MessageBoxes()[0].HelpContext, 700);
    } else {
      EXPECT_TRUE(Headless::MessageBoxes().empty());
    }
  }
}

TEST_F(OutputTest, FileThatCannotBeOpenedStopsTheRunWithItsMessage) {
  SetDest(TDest::File);
  const std::string Name = FSettings.OutputFileName;
  WriteFile(Name, "old\r\n");
  int Error = 0;
  const TLockHandle Held = LockFileOpen(Name, fmOpenReadWrite | fmShareExclusive, Error);
  ASSERT_NE(Held, InvalidLockHandle) << Error;
  EXPECT_EQ(Run({{"new"}}), "");
  LockFileRelease(Held, "");  // an empty name: only the handle is closed
  EXPECT_EQ(ReadFile(Name), "old\r\n") << "nothing written, nothing truncated";
  EXPECT_NE(FPS->RunState, rsUserCancelled) << "a failure, not the user's stop";
  ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(Headless::MessageBoxes()[0].Text,
            "Output file \"" + Name +
                "\" is locked by another application\r\nI/O Error=32\r\n\r\nSolution: Have the other "
                "application close the file or use a different output file name");
  EXPECT_EQ(Headless::MessageBoxes()[0].Flags, MsgBox::Ok);
  EXPECT_EQ(Headless::BeepSounds(), std::vector<unsigned>{MsgBox::IconInformation});

  Headless::Reset();
  FSettings.OutputFileName = FDir / "missing/out.txt";
  EXPECT_EQ(Run({{"new"}}), "");
  ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(Headless::MessageBoxes()[0].Text,
            "Cannot open output file \"" + FSettings.OutputFileName + "\"\r\nI/O Error=" + IntToStr(errFileNotFound));
}

TEST_F(OutputTest, SpoolerFailingAtAnyCallClosesExactlyWhatWasOpened) {
  const std::string Prefix = "Vellumix! Printing Error: ";
  const struct { const char* Call; int Occurrence; std::string Error; } Cases[] = {
      {"OpenPrinter", 1, Prefix + "Print Spooler Error **\rUnable to get printer for spooling (WinSpool.OpenPrinter)"},
      {"StartDocPrinter", 1,
       Prefix + "Print Spooler Error **\rUsing Fast Printer Text. Unable to start document printing (StartDocPrinter)"},
      {"WritePrinter", 1,
       Prefix + "Using Fast Printer Text. Error writing printer initialization string to print spooler."},
      {"StartPagePrinter", 2, Prefix + "\rError writing to print spooler. Page:2"},
      {"WritePrinter", 3, Prefix + "\rError writing to print spooler. Page:1"},
      {"WritePrinter", 5, Prefix + "\rError writing to print spooler. Page:2"},
      {"WritePrinter", 6, Prefix + "Using Fast Printer Text. Error writing printer closing string to print spooler."},
      {"EndPagePrinter", 1, ""}, {"EndPagePrinter", 2, ""}, {"EndDocPrinter", 1, ""}, {"ClosePrinter", 1, ""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Call << " #" << C.Occurrence);
    Fresh(TDest::Spooler);
    FSettings.InitPrinterStr = "#27E";
    FSettings.FinishPrinterStr = "#12";
    Headless::SpoolerFailAt(C.Call, C.Occurrence);
    EXPECT_EQ(Run({{"a", "b"}, {"c", "d"}}), C.Error);
    ExpectSpoolerClean();
    EXPECT_EQ(FPS->SpoolJob, nullptr);
  }
}

TEST_F(OutputTest, WithoutAnOutputFlagOpeningIsAnInternalError) {
  EXPECT_THROW_MSG(FPS->OpenOutput(), eVlxIntError,
                   "Vellumix! Internal Error: Open Output Internal Error **\rOutput destination not specified.");
}
