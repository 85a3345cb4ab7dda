// The book-table window as its user meets it under Wine: the real window, the Print button, and
// a screenshot of what the screen shows. Its prints reach the CUPS PDF printer and the CUPS raw
// queue "VersoraRaw", whose socket printer on 127.0.0.1 is this test. (The heading's sort is
// VersoraMainTest's, on the mouse releases that the backend test sees delivered.)
#include <winsock2.h>

#include "framework/win32/Win32Handles.h"

#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/BookTable.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "framework/Grids.h"
#include "framework/Printers.h"
#include "windows/VLMXASel/VLMXASel.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPw/VLMXPw.h"

#include "tests/e2e/BorrowedState.h"
#include "tests/e2e/UserScript.h"
#include "tests/support/TempDir.h"

namespace {

class VersoraWindow : public BookTableTest {
protected:
  // Clicks "&Print" with the report's settings file holding the lines every print here shares
  // (no options window, no preview, no progress window: it prints at once and the setup window
  // closes by itself) and then Settings; Print's result. A message box would be a failure that
  // the user had to answer; with Error, the error the run shows is answered and kept there.
  int PrintBooks(const std::string& Settings, std::string* Error = nullptr) {
    CreateDirectoryA(Out.c_str(), nullptr);
    WriteSettings(*frmVersora->VlxVellumix1, Out + "/VersoraPrint.txt",
                  "DisplayReportOptionsWin=0\r\nPreviewFirst=0\r\nDisplayProgressWin=0\r\nPauseAfterPrinting=0\r\n"
                  "OutputQuality=0\r\nNumFixedCols=0\r\nHideColumns=~Line#\r\nTextFontSize=7\r\n"
                  "Memo,PgTi=START\r\nTHE 66 BOOKS\r\nMemo,PgTi=END\r\nMemo,PgNum=START\r\nPage ^P\r\n"
                  "Memo,PgNum=END\r\n" + Settings);
    // Print's result is the run result that the setup window holds when it is freed.
    int Result = -1;
    TUserScript Script(90000);
    Script.Step("the setup window", [&] {
      if (!fmVlxMain) return false;
      fmVlxMain->OnDestroy = [&, Destroy = fmVlxMain->OnDestroy](TObject* Sender) {
        Result = fmVlxMain->RunResult();
        Destroy(Sender);
      };
      return true;
    });
    if (Error)
      Script.Step("the error", [&] {
        TCustomForm* Dialog = MessageDialog();
        if (!Dialog) return false;
        *Error = MessageText(*Dialog);
        SaveWindowScreenshot(PeerHandle(*Dialog), "versora-print-error");
        ClickDialogButton(*Dialog, "OKButton");
        return true;
      });
    Script.Step("the setup window gone", [] { return !fmVlxMain; });
    PrintAndPlay(Script);
    EXPECT_EQ(Script.Boxes, std::vector<std::string>{});
    EXPECT_EQ(FindWindowA(nullptr, "Report Options"), nullptr);
    EXPECT_FALSE(Printer()->Printing());
    return Result;
  }

  const std::string Out = VERSORA_E2E_OUTPUT_DIR;
  // Differs in every run, so a job left over from an earlier run is never taken for this one's.
  const std::string Token = "E2E" + std::to_string(GetCurrentProcessId()) + "T" + std::to_string(GetTickCount());
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

// The system's default printer is Name while this lives. Wine takes the default from CUPS only
// when a process starts, so the change would otherwise outlive the test in this process.
class TDefaultPrinter {
public:
  explicit TDefaultPrinter(const char* Name) {
    char Before[256] = {};
    DWORD Size = sizeof Before;
    if (GetDefaultPrinterA(Before, &Size)) FBefore = Before;
    FSet = SetDefaultPrinterA(Name);
  }
  ~TDefaultPrinter() {
    if (!FBefore.empty()) SetDefaultPrinterA(FBefore.c_str());
  }
  TDefaultPrinter(const TDefaultPrinter&) = delete;
  TDefaultPrinter& operator=(const TDefaultPrinter&) = delete;
  bool Set() const { return FSet; }

private:
  std::string FBefore;
  bool FSet = false;
};

const char* const RawPrinter = "VersoraRaw";
const char* const PdfPrinter = "PDF";

}  // namespace

TEST_F(VersoraWindow, OpensCentredWithItsCaptionAndCannotBeResized) {
  EXPECT_EQ(WindowText(Window), "Versora - click on columns to sort");
  RECT client, frame;
  GetClientRect(Window, &client);
  GetWindowRect(Window, &frame);
  EXPECT_EQ(client.right, 592);
  EXPECT_EQ(client.bottom, 576);
  EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 2);
  LONG style = GetWindowLongA(Window, GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  MINMAXINFO limits = {};
  SendMessageA(Window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMaxTrackSize.x, frame.right - frame.left);
  EXPECT_EQ(limits.ptMinTrackSize.y, frame.bottom - frame.top);
  EXPECT_FALSE(SaveWindowScreenshot(Window, "versora-main").empty());
}

// The whole run behind "&Print" on the default printer (the CUPS PDF printer), drawn on its
// canvas; the host reads the PDF back (VersoraE2EPdfCheck). The run switches from the printer
// selected before to the default one, and gives the selection back.
TEST_F(VersoraWindow, PrintButtonPrintsTheBooksAtOnceWhenNothingIsToBeAsked) {
  TBorrowedState Borrowed(std::max(0, Printer()->Printers().IndexOf(RawPrinter)));
  EXPECT_EQ(PrintBooks("OutputDest=0\r\nDefaultPrinter=1\r\nReportDesc=Versora " + Token + "\r\n"), 1);
  Borrowed.ExpectGivenBack();

  // What the host must find in the PDF: the title, the headings, every book in its framed row,
  // the frame's rules and the page numbers.
  std::ofstream Marker(Out + "/pdf-job.txt", std::ios::binary | std::ios::trunc);
  Marker << Token << "\n#lines\nTHE 66 BOOKS\n| NAME | WRITER(S) | PLACE WRITTEN | WRITING COMPLETED| TIME COVERED |\n"
         << "|----------------+---------------------+\n-----------------------------------\nPage 1\n";
  for (int Row = 1; Row < BookTableRows; ++Row) Marker << "| " << BookTable[Row][0] << "\n";
}

// Two panels across the sheet and a page range, on the default printer: the printer's canvas
// gets the range's one sheet, both panels of it with their frames, the rows running on from the
// first panel into the second, the page number at its foot (VersoraPanelsE2EPdfCheck). The lines
// are drawn twice their height apart, so the sheet holds few of them and the table takes pages.
TEST_F(VersoraWindow, TwoPanelsAndARangePrintTheRangesSheetOnThePrinter) {
  TBorrowedState Borrowed(std::max(0, Printer()->Printers().IndexOf(RawPrinter)));
  EXPECT_EQ(PrintBooks("OutputDest=0\r\nDefaultPrinter=1\r\nReportDesc=Versora panels " + Token +
                       "\r\nHideColumns=~Line#,Col#1,Col#2,Col#3,Col#4\r\nPanelsAcrossPage=2\r\nInterPanelGapTxt=3\r\n"
                       "TextFontSize=14\r\nShrinkToPage=0\r\nVertHtAdjPer=200\r\n"
                       "PrintWhat=6\r\nPageRangeFrom=0,2\r\nPageRangeTo=0,2\r\n"),
            1);
  Borrowed.ExpectGivenBack();
  const std::string Panels = Out + "/panels";
  CreateDirectoryA(Panels.c_str(), nullptr);
  std::ofstream Marker(Panels + "/pdf-job.txt", std::ios::binary | std::ios::trunc);
  Marker << Token << "\n#lines\nTHE 66 BOOKS\n| NAME | | NAME |\n| Revelation |\nPage 2\n";
}

// Cell margins above and below each row: every book once, on sheets no longer than the page;
// a page too short for the column titles and a row is refused before a sheet prints, with why.
TEST_F(VersoraWindow, CellMarginsKeepEveryBookOnItsSheetAndAPageTooShortIsRefused) {
  const std::string File = Out + "/margins.txt";
  const std::string Text = "OutputDest=1\r\nIfOutputFileExists=0\r\nOutputFileName=" + WindowsPath(File) + "\r\n";
  EXPECT_EQ(PrintBooks(Text + "LinesPerpage=24\r\nCellMarginTxt=1,5,0,1\r\n"), 1);
  std::ifstream In(File, std::ios::binary);
  const std::string Pages((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  std::vector<std::string> Lines;  // the first cell of each line between the borders
  for (size_t From = 0, At; (At = Pages.find('\f', From)) != std::string::npos; From = At + 1) {
    EXPECT_LE(std::count(Pages.begin() + From, Pages.begin() + At, '\n'), 24);
    for (size_t Line = From, End; Line < At; Line = End + 1) {
      End = Pages.find('\n', Line);
      const size_t Bar = Pages.find('|', Line);
      if (Bar >= End) continue;
      const size_t Next = Pages.find('|', Bar + 1), Last = Pages.find_last_not_of(' ', Next - 1);
      if (Next < End && Last > Bar + 1) Lines.push_back(Pages.substr(Bar + 2, Last - Bar - 1));
    }
  }
  // Each book's row opens with its name in the first column.
  for (int Row = 1; Row < BookTableRows; ++Row)
    EXPECT_EQ(std::count(Lines.begin(), Lines.end(), std::string(BookTable[Row][0])), 1) << BookTable[Row][0];
  In.close();
  DeleteFileA(File.c_str());
  std::string Error;
  EXPECT_EQ(PrintBooks(Text + "LinesPerpage=11\r\nCellMarginTxt=1,1,0,1\r\n", &Error), 3);
  EXPECT_EQ(Error, "Vellumix! Setup Error: *WARNING* Report Rows are too large for page size. \r\n\r\nDecrease size of "
                   "Cell Top Margin + Cell Bottom Margin, Titles & Memos or increase Lines Per Page.\r\nAnother 1 lines "
                   "required.");
  std::ifstream Refused(File, std::ios::binary);
  EXPECT_TRUE(!Refused || Refused.peek() == std::ifstream::traits_type::eof());
}

// "Fast Printer Text": the same report as raw text through Wine's spooler to the default
// printer, the raw queue, whatever printer the settings name. Its socket printer must receive
// the report's text file byte for byte, framed by the printer's strings: the initialization
// string first, and the closing string where the file ends in its closing form feed.
TEST_F(VersoraWindow, FastPrinterTextSendsTheTextFileFramedByThePrinterStrings) {
  ASSERT_GE(Printer()->Printers().IndexOf(RawPrinter), 0)
      << "Wine lists no printer " << RawPrinter << ": scripts/setup makes the CUPS raw queue; "
      << "is cupsd running and libcups2:i386 installed?";
  TSocketPrinter SocketPrinter(RawPort());
  ASSERT_TRUE(SocketPrinter.Listening()) << "port " << RawPort() << " is taken";
  TDefaultPrinter Default(RawPrinter);
  ASSERT_TRUE(Default.Set());
  TBorrowedState Borrowed(Printer()->Printers().IndexOf(PdfPrinter));

  const std::string Framing = "InitPrinterStr=#27E" + Token + "#13#10\r\nFinishPrinterStr=#27#069\r\n";
  // In Windows' own spelling: the setup window looks for the file's folder before the last "\\".
  std::string TextFile = Out + "/VersoraPrint-" + Token + ".txt";
  std::replace(TextFile.begin(), TextFile.end(), '/', '\\');
  ASSERT_EQ(PrintBooks(Framing + "OutputDest=1\r\nOutputFileName=" + TextFile + "\r\n"), 1);
  Borrowed.ExpectGivenBack();
  std::string Pages = FileBytes(TextFile);
  DeleteFileA(TextFile.c_str());
  ASSERT_GE(Pages.size(), 3u);
  ASSERT_EQ(Pages.substr(Pages.size() - 3), "\f\r\n");
  Pages.resize(Pages.size() - 3);
  EXPECT_NE(Pages.find("Zephaniah"), std::string::npos) << "the file holds the whole table";

  ASSERT_EQ(PrintBooks(Framing + "OutputDest=0\r\nDefaultPrinter=0\r\nPrinterName=" + PdfPrinter +
                       "\r\nAllowFastPrinterText=1\r\nFastPrinterText=1\r\nReportDesc=Versora raw " + Token +
                       "\r\n"),
            1);
  Borrowed.ExpectGivenBack();
  std::string Received;
  ASSERT_TRUE(SocketPrinter.ReceiveJob(Token, 90000, Received)) << "CUPS delivered no job of this run";
  std::ofstream(Out + "/raw-job.txt", std::ios::binary | std::ios::trunc) << Received;
  EXPECT_EQ(Received, "\x1b" "E" + Token + "\r\n" + Pages + "\x1b" "E");
  SaveWindowScreenshot(Window, "versora-after-raw-print");
}

namespace {

// A client point inside the grid's cell, as the window shows it now.
POINT CellPoint(const TStringGrid& Grid, int Col, int Row) {
  const TRect Cell = Grid.CellRect(Col, Row);
  return {Cell.Left + 5, Cell.Top + Cell.Height() / 2};
}

}  // namespace

// A start stopped before the options window shows (the selected-rows question cancelled, with a
// report-options password saved) says so once and lets the book table go: no password, no
// second error, and a click on a heading sorts at once.
TEST_F(VersoraWindow, CancellingTheSelectedRowsQuestionGivesTheBookTableBack) {
  CreateDirectoryA(Out.c_str(), nullptr);
  WriteSettings(*frmVersora->VlxVellumix1, Out + "/VersoraStopped.txt",
                "DisplayReportOptionsWin=1\r\nPreviewFirst=1\r\nRptOptPW=secret\r\nPrintWhat=7\r\n"
                "ioAskToPrintSelectedRows=1\r\nOutputQuality=0\r\n");
  bool AskedPassword = false;
  TUserScript Script;
  Script.Step("the question; Esc", [&] {
    if (!Showing(fmvlxAskSelectedRows)) return false;
    SaveWindowScreenshot(PeerHandle(*fmvlxAskSelectedRows), "versora-stopped-1-question");
    Press(VK_ESCAPE);
    return true;
  });
  Script.Step("the one message; OK", [&] {
    TCustomForm* Dialog = MessageDialog();
    if (!Dialog) return false;
    EXPECT_EQ(MessageText(*Dialog), "Vellumix! User Terminated Report");
    ClickDialogButton(*Dialog, "OKButton");
    return true;
  });
  Script.Step("the setup window gone", [&] {
    AskedPassword = AskedPassword || fmVlxPassword;
    return !fmVlxMain && !MessageDialog();
  });
  PrintAndPlay(Script);
  EXPECT_FALSE(AskedPassword);
  EXPECT_EQ(Script.Boxes, std::vector<std::string>{});
  EXPECT_TRUE(IsWindowEnabled(Window));
  // No second message comes up, and the heading's click sorts the books.
  TStringGrid& Grid = *frmVersora->strgrd;
  PostClick(PeerHandle(Grid), CellPoint(Grid, 0, 0));
  EXPECT_TRUE(PumpUntil([&] { return Grid.Cells(0, 1) == "1 Chronicles"; }));
  EXPECT_EQ(MessageDialog(), nullptr);
  EXPECT_EQ(Grid.Cells(0, BookTableRows - 1), "Zephaniah");
  SaveWindowScreenshot(Window, "versora-stopped-2-sorted");
}

// Shift with Down grows the selection from the current cell; a drag over three rows and two
// columns selects that block, drawn highlighted, and Selected Rows prints those three books with
// those two columns, after the question that counts them.
TEST_F(VersoraWindow, ADraggedBlockOfRowsPrintsAsSelectedRows) {
  TStringGrid& Grid = *frmVersora->strgrd;
  const HWND Cells = PeerHandle(Grid);
  PostClick(Cells, CellPoint(Grid, 2, 10));
  ASSERT_TRUE(PumpUntil([&] { return Grid.Row() == 10 && GetFocus() == Cells; }));
  PressWith(VK_SHIFT, VK_DOWN);
  PressWith(VK_SHIFT, VK_DOWN);
  EXPECT_TRUE(PumpUntil([&] { return Grid.Selection() == TGridRect{2, 10, 2, 12}; }))
      << Grid.Selection().Top << ".." << Grid.Selection().Bottom;

  const POINT From = CellPoint(Grid, 0, 2), Over = CellPoint(Grid, 1, 3), To = CellPoint(Grid, 1, 4);
  PostMessageA(Cells, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(From.x, From.y));
  PostMessageA(Cells, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(Over.x, Over.y));
  PostMessageA(Cells, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(To.x, To.y));
  PostMessageA(Cells, WM_LBUTTONUP, 0, MAKELPARAM(To.x, To.y));
  ASSERT_TRUE(PumpUntil([&] { return Grid.Selection() == TGridRect{0, 2, 1, 4}; }));
  // The block is drawn in the highlight colour, the cell beside it is not.
  const auto Highlighted = [&](int Col, int Row) {
    const TScreenImage Shot = CaptureWindow(Cells);
    const POINT At = CellPoint(Grid, Col, Row);
    const COLORREF C = GetSysColor(COLOR_HIGHLIGHT);
    return Shot.At(At.x - 3, At.y) == (static_cast<std::uint32_t>(GetRValue(C)) << 16 | GetGValue(C) << 8 | GetBValue(C));
  };
  EXPECT_TRUE(PumpUntil([&] { return Highlighted(0, 3) && Highlighted(1, 2) && !Highlighted(2, 3); }));
  SaveWindowScreenshot(Window, "versora-selected-1-block");

  const std::string Report = WindowsPath(Out + "/selected-rows-" + Token + ".txt");
  CreateDirectoryA(Out.c_str(), nullptr);
  WriteSettings(*frmVersora->VlxVellumix1, Out + "/VersoraSelected.txt",
                "DisplayReportOptionsWin=0\r\nPreviewFirst=0\r\nDisplayProgressWin=0\r\nPauseAfterPrinting=0\r\n"
                "OutputQuality=0\r\nNumFixedCols=0\r\nHideColumns=~Line#\r\nPrintWhat=7\r\n"
                "ioAskToPrintSelectedRows=1\r\nOutputDest=1\r\nIfOutputFileExists=0\r\nOutputFileName=" + Report + "\r\n");
  TUserScript Script;
  Script.Step("the question counts three rows; OK", [&] {
    if (!Showing(fmvlxAskSelectedRows)) return false;
    EXPECT_EQ(fmvlxAskSelectedRows->rbPrintSelectedRows->Caption(), "Print 3 selected rows");
    EXPECT_TRUE(fmvlxAskSelectedRows->rbPrintSelectedRows->Checked());
    SaveWindowScreenshot(PeerHandle(*fmvlxAskSelectedRows), "versora-selected-2-question");
    ClickMiddle(*fmvlxAskSelectedRows->bbOk);
    return true;
  });
  Script.Step("the setup window gone", [] { return !fmVlxMain; });
  PrintAndPlay(Script);
  EXPECT_EQ(Script.Boxes, std::vector<std::string>{});
  const std::string Printed = FileBytes(Report);
  DeleteFileA(Report.c_str());
  for (int Row = 1; Row < BookTableRows; ++Row) {
    const bool Selected = Row >= 2 && Row <= 4;
    EXPECT_EQ(Printed.find(std::string("| ") + BookTable[Row][0]) != std::string::npos, Selected)
        << BookTable[Row][0] << "\n" << Printed.substr(0, 3000);
  }
  EXPECT_NE(Printed.find("WRITER(S)"), std::string::npos) << Printed.substr(0, 3000);
  EXPECT_EQ(Printed.find("PLACE WRITTEN"), std::string::npos) << "only the selected columns";
  EXPECT_EQ(Printed.find("Wilderness and Plains of Moab"), std::string::npos);
}
