// The book table's golden report (tests/engine/golden), composed by a real report run under
// Wine and sent through the real sinks: raw text through Wine's spooler into the CUPS raw queue
// "VersoraRaw", whose socket printer on 127.0.0.1 is this test, and the printer canvas on the
// CUPS PDF printer, whose PDF CheckPdf.sh reads back on the host. Both must hold the golden
// text file's pages.
#include <winsock2.h>

#include "framework/win32/Win32Handles.h"

#include <winspool.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "framework/Printers.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/GoldenReports.h"
#include "tests/support/TempDir.h"

namespace {

const char* const RawPrinter = "VersoraRaw";
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

TEST(OutputE2E, RawTextReachesTheSocketPrinterAsTheGoldenFileHoldsTheReport) {
  ASSERT_GE(Printer()->Printers().IndexOf(RawPrinter), 0)
      << "Wine lists no printer " << RawPrinter << ": scripts/setup makes the CUPS raw queue; "
      << "is cupsd running and libcups2:i386 installed?";
  std::string Pages = GoldenPages();
  ASSERT_GE(Pages.size(), 3u);
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
    TReport Report(GoldenReports::Find(GoldenReports::WineCase));
    Report.Settings.ReportDesc = "OutputE2E raw " + Token;
    Report.Settings.InitPrinterStr = "#27E" + Token + "#13#10";
    Report.Settings.FinishPrinterStr = "#27#069";
    ASSERT_EQ(Report.Print("", TReport::TOutput::RawSpooler), 1);
    EXPECT_EQ(Report.Run.PagesWritten, GoldenPageCount);
  }
  std::string Received;
  ASSERT_TRUE(SocketPrinter.ReceiveJob(Token, 90000, Received)) << "CUPS delivered no job of this run";
  EXPECT_EQ(Received, Init + Pages + Finish);
}

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
