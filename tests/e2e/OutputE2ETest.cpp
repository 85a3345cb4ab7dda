// A real report run (report start, page loop, Execute) of a small string grid two pages wide,
// under Wine through the real sinks: raw text through Wine's spooler into the CUPS raw queue
// "VersoraRaw", whose socket printer on 127.0.0.1 is this test; the printer canvas on the CUPS
// PDF printer, whose PDF CheckPdf.sh reads back on the host; and the same report to a text file,
// which both are held against.
#include <winsock2.h>

#include "framework/win32/Win32Handles.h"

#include <winspool.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "engine/VLMXGbl/LineDraw.h"
#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/Printers.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/TempDir.h"

namespace {

const char* const RawPrinter = "VersoraRaw";
const char* const PdfPrinter = "PDF";

// Differs in every run, so a job left over from an earlier run is never taken for this one's.
std::string RunToken() {
  return "E2E" + std::to_string(GetCurrentProcessId()) + "T" + std::to_string(GetTickCount());
}

// The run objects of one report, with the process-wide pointers to them, as the setup window
// leaves them before Execute: seven rows of two columns of 40 characters, in text units on
// pages of 60 characters and 5 lines, so two pages across and three down.
struct TReport {
  TForm Form{nullptr};
  TvlxVellumix Vlx{nullptr};
  TvlxReportSettings Settings;
  TvlxPrintSettings PS;
  TRptStyles Styles;
  TObjInfo Info;

  TReport() {
    RptSettings = &Settings;
    PrintSettings = &PS;
    RptStyles = &Styles;
    ObjInfo = &Info;
    auto* Grid = new TStringGrid(&Form);
    Grid->SetName("grid");
    Grid->SetFixedCols(0);
    Grid->SetColCount(2);
    Grid->SetRowCount(8);
    for (int C = 0; C < 2; ++C) {
      Grid->SetCells(C, 0, C == 0 ? "Name" : "Writer");
      for (int R = 1; R < 8; ++R) Grid->SetCells(C, R, std::string(38, C == 0 ? 'n' : 'w') + std::to_string(R) + "x");
    }
    Vlx.SetName("vlx");
    Info.Component = &Vlx;
    Vlx.SetObjectToPrint(Grid);

    PS.PageSetupChanged = true;
    PS.GetResolutions();
    Settings.OutputQuality = 0;
    Settings.TextFontName = "DejaVu Sans Mono";
    Settings.HideColumns = "~Line#";
    Settings.MaxStringColWidTxt = Settings.MaxMemoColWidTxt = 999;
    Settings.GridChrsAscii = DefaultGridChrsAscii;
    Settings.GridChrsIbm = DefaultGridChrsIbm;
    Settings.SetItemOpt(ioColumnTitles, true);
    Settings.SetItemOpt(ioFormFeeds, true);
    PS.WorkFontSize = 12;
    PS.SetTextMode();
    PS.PageWidth = 60;
    PS.PageHeight = 5;
    PS.PanelsAcrossPage = 1;

    Info.Setup();
    Info.CountSelected();
    Info.CalcUsedExtent();
    int Count = Info.ColCount;
    Info.BuildColList(Count, true);
    Info.CheckEmpty();
    bool RescanPending = true;
    Info.ColumnScan(nullptr, nullptr, RescanPending);
    Info.CountTotalLines();
  }
  ~TReport() { ObjInfo = nullptr, RptStyles = nullptr, PrintSettings = nullptr, RptSettings = nullptr; }
  TReport(const TReport&) = delete;
  TReport& operator=(const TReport&) = delete;

  // The whole report, as the setup window's Print command runs it: 1 when it finished.
  int Print() {
    PS.SetPageRange(0, false, {}, {});
    return PS.Execute(false);
  }
};

// The report's bytes in a text file: each page's lines with CR LF, a form feed in front of each
// later page and a line of one form feed at the end.
std::string FileReport(const std::string& FileName) {
  TReport Report;
  Report.Settings.OutputFileName = FileName;
  Report.PS.OutAnyFile = Report.PS.OutTextFile = true;
  EXPECT_EQ(Report.Print(), 1);
  EXPECT_EQ(Report.PS.PagesWritten, 6);
  return FileBytes(FileName);
}

// The raw queue's socket printer: each job CUPS delivers is one connection, read to its end.
class TSocketPrinter {
public:
  explicit TSocketPrinter(int Port) {
    WSADATA Data;
    FStarted = WSAStartup(MAKEWORD(2, 2), &Data) == 0;
    FSocket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in Addr{};
    Addr.sin_family = AF_INET;
    Addr.sin_port = htons(static_cast<u_short>(Port));
    Addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    FListening = FSocket != INVALID_SOCKET && bind(FSocket, reinterpret_cast<sockaddr*>(&Addr), sizeof(Addr)) == 0 &&
                 listen(FSocket, 4) == 0;
  }
  ~TSocketPrinter() {
    if (FSocket != INVALID_SOCKET) closesocket(FSocket);
    if (FStarted) WSACleanup();
  }
  TSocketPrinter(const TSocketPrinter&) = delete;
  TSocketPrinter& operator=(const TSocketPrinter&) = delete;

  bool Listening() const { return FListening; }

  // The bytes of the first job that holds Token; jobs without it are left-overs and dropped.
  bool ReceiveJob(const std::string& Token, unsigned TimeoutMs, std::string& Bytes) {
    const DWORD Deadline = GetTickCount() + TimeoutMs;
    while (static_cast<int>(Deadline - GetTickCount()) > 0) {
      if (!WaitReadable(FSocket, Deadline)) return false;
      SOCKET Job = accept(FSocket, nullptr, nullptr);
      if (Job == INVALID_SOCKET) return false;
      Bytes.clear();
      char Buffer[4096];
      int N = 0;
      while (WaitReadable(Job, Deadline) && (N = recv(Job, Buffer, sizeof(Buffer), 0)) > 0) Bytes.append(Buffer, N);
      closesocket(Job);
      if (Bytes.find(Token) != std::string::npos) return true;
    }
    return false;
  }

private:
  static bool WaitReadable(SOCKET S, DWORD Deadline) {
    const int Left = static_cast<int>(Deadline - GetTickCount());
    if (Left <= 0) return false;
    fd_set Set;
    FD_ZERO(&Set);
    FD_SET(S, &Set);
    timeval Wait{Left / 1000, (Left % 1000) * 1000};
    return select(0, &Set, nullptr, nullptr, &Wait) == 1;
  }

  bool FStarted = false;
  SOCKET FSocket = INVALID_SOCKET;
  bool FListening = false;
};

int RawPort() {
  const char* Port = std::getenv("VERSORA_RAW_PORT");
  return Port && *Port ? std::atoi(Port) : 9137;
}

}  // namespace

TEST(OutputE2E, RawTextReachesTheSocketPrinterAsTheFileHoldsTheReport) {
  ASSERT_GE(Printer()->Printers().IndexOf(RawPrinter), 0)
      << "Wine lists no printer " << RawPrinter << ": scripts/setup makes the CUPS raw queue; "
      << "is cupsd running and libcups2:i386 installed?";
  TTempDir Dir;
  std::string Pages = FileReport(Dir / "OutputE2E.txt");
  ASSERT_EQ(Pages.substr(Pages.size() - 3), "\f\r\n");
  // The spooler's closing string stands where the file's closing form feed is.
  Pages.resize(Pages.size() - 3);

  TSocketPrinter SocketPrinter(RawPort());
  ASSERT_TRUE(SocketPrinter.Listening()) << "port " << RawPort() << " is taken";
  // The run chooses the PDF printer; raw text must go to the default printer all the same.
  Printer()->SetPrinterIndex(Printer()->Printers().IndexOf(PdfPrinter));
  // Wine takes the default from CUPS in each new process, so this one outlives no test.
  ASSERT_TRUE(SetDefaultPrinterA(RawPrinter));

  const std::string Token = RunToken();
  const std::string Init = "\x1b" "E" + Token + "\r\n", Finish = "\x1b" "E";
  {
    TReport Report;
    Report.Settings.ReportDesc = "OutputE2E raw " + Token;
    Report.Settings.InitPrinterStr = "#27E" + Token + "#13#10";
    Report.Settings.FinishPrinterStr = "#27#069";
    Report.PS.OutFastPrinterText = Report.PS.OutPrinter = true;
    ASSERT_EQ(Report.Print(), 1);
    EXPECT_EQ(Report.PS.PagesWritten, 6);
  }
  std::string Received;
  ASSERT_TRUE(SocketPrinter.ReceiveJob(Token, 90000, Received)) << "CUPS delivered no job of this run";
  EXPECT_EQ(Received, Init + Pages + Finish);
}

// CheckPdf.sh, run by ctest once this test is done, holds the PDF's text (pdftotext) against
// the marker written here: the file's pages, one sheet each.
TEST(OutputE2E, PrinterCanvasPrintsTheFilesPagesEachOnItsOwnSheetOfThePdfPrinter) {
  const int Index = Printer()->Printers().IndexOf(PdfPrinter);
  ASSERT_GE(Index, 0) << "Wine lists no printer " << PdfPrinter;
  TTempDir Dir;
  const std::string File = FileReport(Dir / "OutputE2E.txt");

  Printer()->SetPrinterIndex(Index);
  const std::string Token = RunToken();
  {
    TReport Report;
    Report.Settings.ReportDesc = "OutputE2E " + Token;
    Report.PS.OutPrinter = true;
    ASSERT_EQ(Report.Print(), 1);
    EXPECT_EQ(Report.PS.PagesWritten, 6);
    EXPECT_EQ(Report.PS.RunState, rsCompletedNormally);
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
  EXPECT_EQ(Pages + 1, 6);
  ASSERT_TRUE(Marker.good());
}
