// Report pages through the real sinks under Wine: raw text through Wine's spooler into the CUPS
// raw queue "VersoraRaw", whose socket printer on 127.0.0.1 is a listener of this test; the
// printer canvas on the CUPS PDF printer, whose PDF CheckPdf.sh reads back on the host once CUPS
// has delivered it; and a text file, which must hold the spooler's bytes without their framing.
#include <winsock2.h>

#include "framework/win32/Win32Handles.h"

#include <winspool.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/Printers.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

namespace {

using TPages = std::vector<std::vector<std::string>>;

const TPages Pages = {
    {"VERSORA OUTPUT PAGE ONE", "  Genesis     Moses", "  Exodus      Moses"},
    {"VERSORA OUTPUT PAGE TWO", "  Leviticus   Moses"},
    {"VERSORA OUTPUT PAGE THREE", "  Numbers     Moses", "  Deuteronomy Moses"},
};
const char* const RawPrinter = "VersoraRaw";
const char* const PdfPrinter = "PDF";

// What every run of this program writes differs, so a job left over from an earlier run is
// never taken for this one's.
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

std::string ReadFile(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  std::stringstream S;
  S << In.rdbuf();
  return S.str();
}

// The run objects of one report run, with the process-wide pointers to them.
class TRun {
public:
  TRun() {
    RptSettings = &FSettings;
    PrintSettings = FPS.get();
    FPS->UnitSet = 1;
    FSettings.SetItemOpt(ioFormFeeds, true);
  }
  ~TRun() {
    FPS.reset();
    PrintSettings = nullptr;
    RptSettings = nullptr;
  }
  TvlxReportSettings& Settings() { return FSettings; }
  TvlxPrintSettings& PS() { return *FPS; }

  // The pages through OpenOutput, the page emission and CloseOutput, as the report run drives
  // them: the first error's text, or empty.
  std::string Print() {
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
      for (std::size_t I = 0; I < Pages.size(); ++I) {
        FPS->PageLines.Clear();
        for (const auto& Line : Pages[I]) FPS->PageLines.Add(Line);
        FPS->CurPageAcross = 1;
        FPS->CurVertPage = static_cast<int>(I) + 1;
        FPS->EmitPage(I + 1 == Pages.size(), false);
        ++FPS->PagesWritten;
      }
      FPS->RunState = rsCompletedNormally;
    });
    Guarded([&] { FPS->CloseOutput(); });
    return Error;
  }

private:
  TvlxReportSettings FSettings;
  std::unique_ptr<TvlxPrintSettings> FPS = std::make_unique<TvlxPrintSettings>();
};

// The socket printer of the raw queue: a listening socket on 127.0.0.1 that takes each job
// CUPS delivers as one connection, read until CUPS has sent everything.
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

// Makes Name this process's default printer and puts the previous one back afterwards. Wine
// takes its default from CUPS in each new process, so nothing outlives the test.
class TDefaultPrinter {
public:
  explicit TDefaultPrinter(const std::string& Name) {
    char Buffer[512] = {};
    DWORD Size = sizeof(Buffer);
    if (GetDefaultPrinterA(Buffer, &Size)) FPrevious = Buffer;
    FSet = SetDefaultPrinterA(Name.c_str());
  }
  ~TDefaultPrinter() {
    if (FSet && !FPrevious.empty()) SetDefaultPrinterA(FPrevious.c_str());
  }
  TDefaultPrinter(const TDefaultPrinter&) = delete;
  TDefaultPrinter& operator=(const TDefaultPrinter&) = delete;
  bool Set() const { return FSet; }

private:
  std::string FPrevious;
  bool FSet = false;
};

int RawPort() {
  const char* Port = std::getenv("VERSORA_RAW_PORT");
  return Port && *Port ? std::atoi(Port) : 9137;
}

}  // namespace

TEST(OutputE2E, RawTextReachesTheSocketPrinterAndTheFileGetsTheSameLines) {
  ASSERT_GE(Printer()->Printers().IndexOf(RawPrinter), 0)
      << "Wine lists no printer " << RawPrinter << ": scripts/setup makes the CUPS raw queue";
  TSocketPrinter SocketPrinter(RawPort());
  ASSERT_TRUE(SocketPrinter.Listening()) << "port " << RawPort() << " is taken";
  // The run chooses the PDF printer; raw text must go to the default printer all the same.
  Printer()->SetPrinterIndex(Printer()->Printers().IndexOf(PdfPrinter));
  TDefaultPrinter Default(RawPrinter);
  ASSERT_TRUE(Default.Set());

  const std::string Token = RunToken();
  const std::string Init = "\x1b" "E" + Token + "\r\n", Finish = "\x1b" "E";
  std::string Received;
  {
    TRun Run;
    Run.Settings().ReportDesc = "OutputE2E raw " + Token;
    Run.Settings().InitPrinterStr = "#27E" + Token + "#13#10";
    Run.Settings().FinishPrinterStr = "#27#069";
    Run.PS().OutFastPrinterText = Run.PS().OutPrinter = true;
    ASSERT_EQ(Run.Print(), "");
  }
  ASSERT_TRUE(SocketPrinter.ReceiveJob(Token, 90000, Received)) << "CUPS delivered no job of this run";
  EXPECT_EQ(Received, Init + Body() + Finish);

  const std::string FileName = std::filesystem::temp_directory_path().string() + "\\OutputE2E-" + Token + ".txt";
  {
    TRun Run;
    Run.Settings().OutputFileName = FileName;
    Run.Settings().InitPrinterStr = "#27E";  // the spooler's framing is no part of a file
    Run.PS().OutAnyFile = Run.PS().OutTextFile = true;
    ASSERT_EQ(Run.Print(), "");
  }
  const std::string FileBytes = ReadFile(FileName);
  DeleteFileA(FileName.c_str());
  // The file ends with a line of one form feed where the spooler's closing string is.
  EXPECT_EQ(FileBytes, Received.substr(Init.size(), Received.size() - Init.size() - Finish.size()) + "\f\r\n");
}

TEST(OutputE2E, PrinterCanvasPrintsEachPageOnItsOwnSheetOfThePdfPrinter) {
  const int Index = Printer()->Printers().IndexOf(PdfPrinter);
  ASSERT_GE(Index, 0) << "Wine lists no printer " << PdfPrinter;
  Printer()->SetPrinterIndex(Index);
  const std::string Token = RunToken();
  {
    TRun Run;
    Run.Settings().ReportDesc = "OutputE2E " + Token;
    TCanvas* Canvas = Run.PS().Canvas;
    Canvas->Font().SetName("DejaVu Sans Mono");
    Canvas->Font().SetSize(12);
    const TTextMetric Metric = Canvas->TextMetrics();
    ASSERT_GT(Metric.tmHeight, 0);
    Run.PS().CanvasLineStep = Metric.tmHeight + Metric.tmExternalLeading;
    Run.PS().OutPrinter = true;
    ASSERT_EQ(Run.Print(), "");
    EXPECT_FALSE(Printer()->Printing());
  }

  // What CheckPdf.sh must find: the token of the job's title, then each page's lines as
  // pdftotext gives them, trimmed, each page closed by a separator line.
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
