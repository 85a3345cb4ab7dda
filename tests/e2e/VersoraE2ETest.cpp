// The book-table window as its user meets it under Wine: the real window, real mouse messages on
// the heading, the Print button, and a screenshot of what the screen shows.
#include "app/VersoraMain.h"
#include "framework/win32/Win32Handles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/BookTable.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Printers.h"
#include "windows/VLMXMain/VLMXMain.h"

#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"

namespace {

std::function<void()>* TimerTask = nullptr;
void CALLBACK RunTimerTask(HWND, UINT, UINT_PTR, DWORD) { (*TimerTask)(); }

class VersoraWindow : public ::testing::Test {
protected:
  void SetUp() override {
    Application->CreateForm(frmVersora);
    Application->MainForm()->Show();
    Window = PeerHandle(*frmVersora);
    ASSERT_NE(Window, nullptr);
    SetForegroundWindow(Window);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Window) && GetFocus() != nullptr; }));
  }

  void TearDown() override {
    delete frmVersora;
    frmVersora = nullptr;
    Application->ProcessMessages();
  }

  void ClickHeading(int Col) {
    TRect r = frmVersora->strgrd->CellRect(Col, 0);
    PostClick(PeerHandle(*frmVersora->strgrd), (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    Application->ProcessMessages();
  }

  std::string Cell(int Col, int Row) const { return frmVersora->strgrd->Cells(Col, Row); }

  HWND Window = nullptr;
};

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
  PumpUntil([] { return false; }, 300);
  EXPECT_FALSE(SaveWindowScreenshot(Window, "versora-main").empty());
}

TEST_F(VersoraWindow, HeadingReleaseSortsAndASecondReverses) {
  ClickHeading(0);
  EXPECT_EQ(Cell(0, 0), "NAME");
  EXPECT_EQ(Cell(0, 1), "1 Chronicles");
  EXPECT_EQ(Cell(0, 66), "Zephaniah");
  EXPECT_EQ(Cell(1, 1), "Ezra") << "a book's writer travels with it";
  ClickHeading(0);
  EXPECT_EQ(Cell(0, 1), "Zephaniah");
  EXPECT_EQ(Cell(0, 66), "1 Chronicles");
  EXPECT_EQ(Screen->Cursor(), crDefault);
  PumpUntil([] { return false; }, 300);
  SaveWindowScreenshot(Window, "versora-sorted");
}

TEST_F(VersoraWindow, PrintButtonReachesTheComponent) {
  // With no object to print, the component's setup error comes up in the program's error box,
  // which a posted task reads and closes.
  frmVersora->VlxVellumix1->SetObjectToPrint(nullptr);
  std::string boxText;
  std::function<void()> answerBox = [&] {
    HWND box = FindWindowA("#32770", nullptr);
    if (!box) return Application->Post(Application, answerBox);  // not up yet
    char text[512] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    boxText = text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  };
  Application->Post(Application, answerBox);
  PostClick(PeerHandle(*frmVersora->btnPrint), 10, 10);
  ASSERT_TRUE(PumpUntil([&] { return !boxText.empty(); }, 10000));
  EXPECT_EQ(boxText, "Vellumix! Setup Error: VlxVellumix1.ObjectToPrint not assigned. Report cannot continue.");
  EXPECT_EQ(Cell(0, 1), "Genesis") << "printing leaves the table as it was";
}

// The whole run behind "&Print" with a report that asks nothing: no options window, no preview,
// no progress window. It prints at once on the default printer (the CUPS PDF printer), the
// setup window closes by itself, and the host reads the PDF back (VersoraE2EPdfCheck).
TEST_F(VersoraWindow, PrintButtonPrintsTheBooksAtOnceWhenNothingIsToBeAsked) {
  const std::string Out = VERSORA_E2E_OUTPUT_DIR;
  CreateDirectoryA(Out.c_str(), nullptr);
  const std::string Token = "E2E" + std::to_string(GetCurrentProcessId()) + "T" + std::to_string(GetTickCount());
  TvlxVellumix& Vlx = *frmVersora->VlxVellumix1;
  Vlx.SetReportSettingsFileName(Out + "/VersoraPrint.txt");
  {
    std::ofstream Settings(Out + "/VersoraPrint.txt", std::ios::binary | std::ios::trunc);
    Settings << "[" << Vlx.ReportId() << "]\r\n"
             << "DisplayReportOptionsWin=0\r\nPreviewFirst=0\r\nDisplayProgressWin=0\r\nPauseAfterPrinting=0\r\n"
             << "OutputQuality=0\r\nOutputDest=0\r\nDefaultPrinter=1\r\nNumFixedCols=0\r\nHideColumns=~Line#\r\n"
             << "TextFontSize=7\r\nReportDesc=Versora " << Token << "\r\n"
             << "Memo,PgTi=START\r\nTHE 66 BOOKS\r\nMemo,PgTi=END\r\n"
             << "Memo,PgNum=START\r\nPage ^P\r\nMemo,PgNum=END\r\n";
  }

  // Print's result is the run result that the setup window holds when it is freed. A message
  // box would be a failure that the user had to answer: its text is kept and the box closed.
  int Result = -1;
  bool WindowSeen = false;
  std::vector<std::string> BoxTexts;
  std::string Stuck;
  const DWORD Start = GetTickCount();
  std::function<void()> watch = [&] {
    if (fmVlxMain && !WindowSeen) {
      WindowSeen = true;
      fmVlxMain->OnDestroy = [&, Destroy = fmVlxMain->OnDestroy](TObject* Sender) {
        Result = fmVlxMain->RunResult();
        Destroy(Sender);
      };
    }
    if (fmVlxMain && GetTickCount() - Start > 90000) {
      Stuck = "start pending " + std::to_string(fmVlxMain->FStartPending) + ", in progress " +
              std::to_string(fmVlxMain->FStartInProgress) + ", top " + std::to_string(fmVlxMain->Top());
      fmVlxMain->SetModalResult(mrCancel);
    }
    if (HWND Box = FindWindowA("#32770", nullptr)) {
      char Text[1024] = {};
      GetDlgItemTextA(Box, 0xFFFF, Text, sizeof Text);
      BoxTexts.push_back(Text);
      PostMessageA(Box, WM_COMMAND, IDOK, 0);
    }
  };
  // A timer, not a task that posts itself: the run's own message processing must find the
  // queue empty at some point.
  TimerTask = &watch;
  const UINT_PTR Timer = SetTimer(nullptr, 0, 50, RunTimerTask);
  PostClick(PeerHandle(*frmVersora->btnPrint), 10, 10);
  const bool Closed = PumpUntil([&] { return WindowSeen && !fmVlxMain; }, 120000);
  KillTimer(nullptr, Timer);
  EXPECT_EQ(BoxTexts, std::vector<std::string>{});
  ASSERT_TRUE(Closed) << "the setup window stayed open";
  EXPECT_EQ(Stuck, "");
  EXPECT_EQ(Result, 1);
  EXPECT_EQ(FindWindowA(nullptr, "Report Options"), nullptr);
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_FALSE(Printer()->Printing());

  // What the host must find in the PDF: the title, the headings, every book in its framed row,
  // the frame's rules and the page numbers.
  std::ofstream Marker(Out + "/pdf-job.txt", std::ios::binary | std::ios::trunc);
  Marker << Token << "\n#lines\nTHE 66 BOOKS\n| NAME | WRITER(S) | PLACE WRITTEN | WRITING COMPLETED| TIME COVERED |\n"
         << "|----------------+---------------------+\n-----------------------------------\nPage 1\n";
  for (int Row = 1; Row < BookTableRows; ++Row) Marker << "| " << BookTable[Row][0] << "\n";
}
