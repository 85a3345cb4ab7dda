// The output sinks, driven by real report runs on the fake printers and spooler and on real
// files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/VLMXGbl/Output.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/VLMXGbl0.h"
#include "framework/Dialogs.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "tests/engine/ReportRunFixture.h"
#include "windows/ReportWindows.h"

namespace {

std::string Decode(const std::string& Text) {
  std::string Bytes;
  DecodePrinterString(Text, Bytes);
  return Bytes;
}

void WriteFile(const std::string& Name, const std::string& Bytes) {
  std::ofstream(Name, std::ios::binary) << Bytes;
}

// Nothing of the spooler is left open, and nothing was closed that was not open.
void ExpectSpoolerClean() {
  EXPECT_EQ(Headless::OpenSpoolHandles(), 0);
  EXPECT_EQ(Headless::OpenSpoolDocuments(), 0);
  EXPECT_EQ(Headless::OpenSpoolPages(), 0);
  EXPECT_TRUE(Headless::SpoolerMisuses().empty()) << Headless::SpoolerMisuses().front();
}

// Seven rows on pages of five lines: three pages of a title line and up to three rows.
class OutputTest : public ReportRunTest {
protected:
  void SetUp() override {
    ReportRunTest::SetUp();
    Settings->LinesPerpage = 5;
  }

  // A fresh run state on fresh fake printers, for a report of Rows rows.
  void Fresh(int Rows = 7) {
    ResetPrinters();
    Prepare(Rows);
  }

  // The report's bytes as the text file gets them.
  std::string FileReport() {
    ToFile();
    EXPECT_EQ(Print(pwAll), 1);
    return FileBytes(Name);
  }
};

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

// A run that fails on the printer throws its job away rather than leave half a report queued.
TEST_F(OutputTest, AFailedRunAbortsItsPrinterJob) {
  Fresh();
  ToPrinter();
  Info->OnFieldEdit = [&](TObject*, std::string& Text, TvlxFieldInfo*) {
    if (Text == "r5") throw Exception("handler failed");
  };
  EXPECT_EQ(Print(pwAll), 3);
  const auto& Doc = Headless::PrintedDocuments().at(0);
  EXPECT_TRUE(Doc.Aborted);
  EXPECT_FALSE(Doc.Ended);
  EXPECT_FALSE(Printer()->Printing());
  // The user's next print still reaches the printer.
  Info->OnFieldEdit = nullptr;
  EXPECT_EQ(Print(pwAll), 1);
  EXPECT_TRUE(Headless::PrintedDocuments().back().Ended);
}

TEST_F(OutputTest, ExistingFileIsOverwrittenAppendedOrTheUserIsAsked) {
  Fresh(1);
  Settings->SetItemOpt(ioFormFeeds, false);
  const std::string Page = FileReport();
  const std::string Question =
      "File \"" + Name +
      "\" already exists\rOverwrite this file?\r\r  Yes   : Overwrites\r  No    : Appends to file\r"
      "  Cancel: Terminates Report";
  // Answer 0: no question expected. A file that is not there is made without a question. With
  // no user to ask (no run interface registered) the file is left alone and the run stops.
  const struct { bool Exists; int IfExists; int Answer; int Result; std::string Bytes; bool NoUser = false; } Cases[] = {
      {true, 0, 0, 1, Page},          {true, 1, 0, 1, "old\r\n" + Page},
      {true, 2, MsgBox::IdYes, 1, Page}, {true, 2, MsgBox::IdNo, 1, "old\r\n" + Page},
      {true, 2, MsgBox::IdCancel, 2, "old\r\n"}, {false, 2, 0, 1, Page},
      {true, 2, 0, 2, "old\r\n", true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.IfExists << " answer " << C.Answer << " no user " << C.NoUser);
    struct TUserBack {
      ~TUserBack() { RegisterReportWindows(); }
    } UserBack;
    if (C.NoUser) SetRunUI(nullptr);
    ResetPrinters(true);
    std::filesystem::remove(Name);
    if (C.Exists) WriteFile(Name, "old\r\n");
    Settings->IfOutputFileExists = static_cast<uint8_t>(C.IfExists);
    if (C.Answer) Headless::QueueAnswer(C.Answer);
    EXPECT_EQ(Print(pwAll), C.Result);
    EXPECT_EQ(FileBytes(Name), C.Bytes);
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
  Fresh(1);
  ToFile();
  WriteFile(Name, "old\r\n");
  int Error = 0;
  const TLockHandle Held = LockFileOpen(Name, fmOpenReadWrite | fmShareExclusive, Error);
  ASSERT_NE(Held, InvalidLockHandle) << Error;
  EXPECT_EQ(Print(pwAll), 3) << "a failure, not the user's stop";
  LockFileRelease(Held, "");  // an empty name: only the handle is closed
  EXPECT_EQ(FileBytes(Name), "old\r\n") << "nothing written, nothing truncated";
  EXPECT_EQ(Run->PagesWritten, 0);
  ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(Headless::MessageBoxes()[0].Text,
            "Output file \"" + Name +
                "\" is locked by another application\r\nI/O Error=32\r\n\r\nSolution: Have the other "
                "application close the file or use a different output file name");
  EXPECT_EQ(Headless::MessageBoxes()[0].Flags, MsgBox::Ok);
  EXPECT_EQ(Headless::BeepSounds(), std::vector<unsigned>{MsgBox::IconInformation});

  ResetPrinters(true);
  Settings->OutputFileName = Dir / "missing/out.txt";
  EXPECT_EQ(Run->Execute(false), 3);
  ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(Headless::MessageBoxes()[0].Text,
            "Cannot open output file \"" + Settings->OutputFileName + "\"\r\nI/O Error=" + IntToStr(errFileNotFound));
}

// Four rows: a page of a title and three rows, and a page of a title and one row. A failure
// ends the run with its text for the caller; the closing string's error reaches the caller.
TEST_F(OutputTest, SpoolerFailingAtAnyCallEndsTheRunAndClosesExactlyWhatWasOpened) {
  const std::string Prefix = "Vellumix! Printing Error: ", Fast = Prefix + "Using Fast Printer Text. ";
  const std::string Spooler = Prefix + "Print Spooler Error **\r", Page = Prefix + "\rError writing to print spooler. Page:";
  const struct { const char* Call; int Occurrence; int Result; std::string Error; } Cases[] = {
      {"OpenPrinter", 1, 3, Spooler + "Unable to get printer for spooling (WinSpool.OpenPrinter)"},
      {"StartDocPrinter", 1, 3, Spooler + "Using Fast Printer Text. Unable to start document printing (StartDocPrinter)"},
      {"WritePrinter", 1, 3, Fast + "Error writing printer initialization string to print spooler."},
      {"StartPagePrinter", 2, 3, Page + "2"}, {"WritePrinter", 3, 3, Page + "1"}, {"WritePrinter", 7, 3, Page + "2"},
      {"WritePrinter", 8, 0, Fast + "Error writing printer closing string to print spooler."},
      {"EndPagePrinter", 1, 1, ""}, {"EndPagePrinter", 2, 1, ""}, {"EndDocPrinter", 1, 1, ""}, {"ClosePrinter", 1, 1, ""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Call << " #" << C.Occurrence);
    Fresh(4);
    ToSpooler();
    Settings->InitPrinterStr = "#27E";
    Settings->FinishPrinterStr = "#12";
    Headless::SpoolerFailAt(C.Call, C.Occurrence);
    if (C.Result) {
      EXPECT_EQ(Print(pwAll), C.Result);
      EXPECT_EQ(Run->FailureText, C.Error);
    } else {
      EXPECT_THROW_MSG(Print(pwAll), eVlxPrtError, C.Error);
    }
    ExpectSpoolerClean();
    EXPECT_EQ(Run->Sink, nullptr);
    if (C.Result == 1) {  // the pages between the printer's own strings
      const std::string& Bytes = Headless::SpooledDocuments().at(0).Bytes;
      EXPECT_EQ(Bytes.substr(0, 8), "\x1b" "EName\r\n");
      EXPECT_EQ(Bytes.back(), '\f');
    }
  }
}

TEST_F(OutputTest, WithoutAnOutputFlagOpeningIsAnInternalError) {
  EXPECT_THROW_MSG(Run->OpenOutput(), eVlxIntError,
                   "Vellumix! Internal Error: Open Output Internal Error **\rOutput destination not specified.");
}

// Side margins that leave a page across no room for a character of a column end the run in an
// error before a page is written, never in pages of borders reported as a completed report.
TEST_F(OutputTest, SideMarginsThatLeaveNoRoomForAColumnEndTheRunInAnError) {
  // The page is 60 characters wide and a cell has a left margin of 1: a column needs 2.
  const struct { int Left, Right, Panels, Result; } Cases[] = {
      {0, 0, 1, 1}, {29, 29, 1, 1}, {30, 29, 1, 3}, {100, 0, 1, 3}, {0, 100, 1, 3},
      {27, 28, 2, 1}, {28, 28, 2, 3},  // two panels share the room left, less a gap of 1
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Left << "+" << C.Right << " x" << C.Panels);
    Settings->PageMarginTxt = {C.Left, 0, C.Right, 0};
    Settings->PanelsAcrossPage = C.Panels;
    Settings->CellMarginTxt = {1, 0, 0, 0};
    Settings->InterPanelGapTxt = 1;
    Fresh(3);
    ToFile();
    EXPECT_EQ(Print(pwAll), C.Result);
    if (C.Result == 3) {
      EXPECT_EQ(FileBytes(Name).find("r1"), std::string::npos);
      EXPECT_NE(Run->FailureText.find("Page Left Margin + Right Margin are too large for page width"),
                std::string::npos)
          << Run->FailureText;
    } else {
      EXPECT_GT(Run->PagesWritten, 0);
      EXPECT_EQ(Run->FailureText, "");
    }
  }
}
