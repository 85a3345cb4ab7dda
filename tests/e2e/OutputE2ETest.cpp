// Report pages through the real sinks under Wine: raw text through Wine's spooler into the CUPS
// raw queue "VersoraRaw", whose socket printer on 127.0.0.1 is this test; the printer canvas on
// the CUPS PDF printer, whose PDF CheckPdf.sh reads back on the host; and a text file.
#include <winsock2.h>

#include "framework/win32/Win32Handles.h"

#include <winspool.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/Printers.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/TempDir.h"

namespace {

using TPages = std::vector<std::vector<std::string>>;

const TPages Pages = {
    {"VERSORA OUTPUT PAGE ONE", "  Genesis     Moses", "  Exodus      Moses"},
    {"VERSORA OUTPUT PAGE TWO", "  Leviticus   Moses"},
    {"VERSORA OUTPUT PAGE THREE", "  Numbers     Moses", "  Deuteronomy Moses"},
};
const char* const RawPrinter = "VersoraRaw";
const char* const PdfPrinter = "PDF";

// Differs in every run, so a job left over from an earlier run is never taken for this one's.
std::string RunToken() {
  return "E2E" + std::to_string(GetCurrentProcessId()) + "T" + std::to_string(GetTickCount());
}

// The lines of the pages as the spooler and the file get them: CR LF after each line and, with
// form feeds on, a form feed in front of each later page.
std::string Body() {
  std::string Bytes;
  for (std::size_t P = 0; P < Pages.size(); ++P)
    for (std::size_t L = 0; L < Pages[P].size(); ++L) Bytes += (P > 0 && L == 0 ? "\f" : "") + Pages[P][L] + "\r\n";
  return Bytes;
}

// Clears the process-wide pointers once the run objects are gone.
struct TRunPointers {
  ~TRunPointers() { PrintSettings = nullptr, RptSettings = nullptr; }
};

// The run objects of one report run, with the process-wide pointers to them.
struct TRun : TRunPointers {
  TvlxReportSettings Settings;
  TvlxPrintSettings PS;
  TRun() {
    RptSettings = &Settings;
    PrintSettings = &PS;
    PS.UnitSet = 1;
    Settings.SetItemOpt(ioFormFeeds, true);
  }

  // The pages through OpenOutput, EmitPage and CloseOutput as a report run drives them: the
  // first error's text, or empty.
  std::string Print() {
    std::string Error;
    auto Guarded = [&](auto Step) {
      try {
        Step();
      } catch (const std::exception& E) {
        if (Error.empty()) Error = E.what();
        PS.RunState = rsTerminatedWithError;
      }
    };
    PS.RunState = rsActive;
    Guarded([&] {
      if (!PS.OpenOutput()) return;
      for (std::size_t I = 0; I < Pages.size(); ++I) {
        PS.PageLines.Clear();
        for (const auto& Line : Pages[I]) PS.PageLines.Add(Line);
        PS.CurPageAcross = 1;
        PS.CurVertPage = static_cast<int>(I) + 1;
        PS.EmitPage(I + 1 == Pages.size(), false);
        ++PS.PagesWritten;
      }
      PS.RunState = rsCompletedNormally;
    });
    Guarded([&] { PS.CloseOutput(); });
    return Error;
  }
};

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

TEST(OutputE2E, RawTextReachesTheSocketPrinterAndTheFileGetsTheSameLines) {
  ASSERT_GE(Printer()->Printers().IndexOf(RawPrinter), 0)
      << "Wine lists no printer " << RawPrinter << ": scripts/setup makes the CUPS raw queue; "
      << "is cupsd running and libcups2:i386 installed?";
  TSocketPrinter SocketPrinter(RawPort());
  ASSERT_TRUE(SocketPrinter.Listening()) << "port " << RawPort() << " is taken";
  // The run chooses the PDF printer; raw text must go to the default printer all the same.
  Printer()->SetPrinterIndex(Printer()->Printers().IndexOf(PdfPrinter));
  // Wine takes the default from CUPS in each new process, so this one outlives no test.
  ASSERT_TRUE(SetDefaultPrinterA(RawPrinter));

  const std::string Token = RunToken();
  const std::string Init = "\x1b" "E" + Token + "\r\n", Finish = "\x1b" "E";
  std::string Received;
  {
    TRun Run;
    Run.Settings.ReportDesc = "OutputE2E raw " + Token;
    Run.Settings.InitPrinterStr = "#27E" + Token + "#13#10";
    Run.Settings.FinishPrinterStr = "#27#069";
    Run.PS.OutFastPrinterText = Run.PS.OutPrinter = true;
    ASSERT_EQ(Run.Print(), "");
  }
  ASSERT_TRUE(SocketPrinter.ReceiveJob(Token, 90000, Received)) << "CUPS delivered no job of this run";
  EXPECT_EQ(Received, Init + Body() + Finish);

  TTempDir Dir;
  const std::string FileName = Dir / "OutputE2E.txt";
  {
    TRun Run;
    Run.Settings.OutputFileName = FileName;
    Run.Settings.InitPrinterStr = "#27E";  // the spooler's framing is no part of a file
    Run.PS.OutAnyFile = Run.PS.OutTextFile = true;
    ASSERT_EQ(Run.Print(), "");
  }
  // The file ends with a line of one form feed where the spooler's closing string is.
  EXPECT_EQ(FileBytes(FileName), Received.substr(Init.size(), Received.size() - Init.size() - Finish.size()) + "\f\r\n");
}

TEST(OutputE2E, PrinterCanvasPrintsEachPageOnItsOwnSheetOfThePdfPrinter) {
  const int Index = Printer()->Printers().IndexOf(PdfPrinter);
  ASSERT_GE(Index, 0) << "Wine lists no printer " << PdfPrinter;
  Printer()->SetPrinterIndex(Index);
  const std::string Token = RunToken();
  {
    TRun Run;
    Run.Settings.ReportDesc = "OutputE2E " + Token;
    TCanvas* Canvas = Run.PS.Canvas;
    Canvas->Font().SetName("DejaVu Sans Mono");
    Canvas->Font().SetSize(12);
    const TTextMetric Metric = Canvas->TextMetrics();
    ASSERT_GT(Metric.tmHeight, 0);
    Run.PS.CanvasLineStep = Metric.tmHeight + Metric.tmExternalLeading;
    Run.PS.OutPrinter = true;
    ASSERT_EQ(Run.Print(), "");
    EXPECT_FALSE(Printer()->Printing());
  }

  // What CheckPdf.sh must find: the job title's token, then each page's trimmed lines and a
  // separator line.
  const std::string Dir = VERSORA_E2E_OUTPUT_DIR;
  CreateDirectoryA(Dir.c_str(), nullptr);
  std::ofstream Marker(Dir + "/pdf-job.txt", std::ios::binary);
  Marker << Token << "\n";
  for (const auto& Page : Pages) {
    for (const auto& Line : Page) Marker << Trim(Line) << "\n";
    Marker << "--page--\n";
  }
  ASSERT_TRUE(Marker.good());
}
