// The progress window of a real report run under Wine, printed through the component's Print as
// a program's print command does: 400,000 generated rows to a text file, with no options window
// and no preview first, but the progress window and the pause after printing on. The rows make
// the run outlast the window's 500 ms between repaints on a fast machine; a slow or busy one
// only makes it longer, which every wait allows for. The run blocks this thread, so the user is
// played by a system timer whose callback the window's own message processing runs: it looks at
// the real windows, takes screenshots and posts the keys and clicks a user would.
#include "framework/win32/Win32Handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/Printers.h"
#include "framework/StdCtrls.h"
#include "tests/e2e/BorrowedState.h"
#include "tests/e2e/UserScript.h"
#include "tests/support/TempDir.h"
#include "windows/VLMXPgrs/VLMXPgrs.h"

namespace {

constexpr int Rows = 400000;
// Each step's ceiling: a whole run on a machine busy with other work.
constexpr unsigned StepMs = 180000;

// A program's window holding a grid of Rows numbered items and the component that prints it,
// its settings file in Dir.
class TItemsReport {
public:
  explicit TItemsReport(const TTempDir& Dir) : FDir(Dir) {
    Grid = new TStringGrid(&Form);
    Grid->SetName("grdItems");
    Grid->SetFixedCols(0);
    Grid->SetColCount(4);
    Grid->SetRowCount(Rows + 1);
    const char* const Titles[] = {"GROUP", "AMOUNT", "ITEM", "NOTE"};
    for (int C = 0; C < 4; ++C) Grid->SetCells(C, 0, Titles[C]);
    char Item[24];
    for (int R = 1; R <= Rows; ++R) {
      std::snprintf(Item, sizeof Item, "Item %06d", R);
      Grid->SetCells(0, R, "Group " + std::to_string(R / 250));
      Grid->SetCells(1, R, std::to_string(R * 7 % 1009) + ".25");
      Grid->SetCells(2, R, Item);
      Grid->SetCells(3, R, R % 3 ? "in stock" : "on order");
    }
    Vlx = new TvlxVellumix(&Form);
    Vlx->SetName("VlxItems");
    Vlx->SetObjectToPrint(Grid);
    Vlx->SetReportId("Items (123.456)");
    Vlx->SetDialogTitle("Items");
  }

  // Prints to FileName as a program's print command does; Print's result.
  int Print(const std::string& FileName) {
    // Small pages, many of them.
    WriteSettings(*Vlx, FDir / "Items.ini",
                  "DisplayReportOptionsWin=0\r\nPreviewFirst=0\r\nDisplayProgressWin=1\r\nPauseAfterPrinting=1\r\n"
                  "OutputDest=1\r\nOutputFileName=" + FileName + "\r\nOutputQuality=0\r\nNumFixedCols=0\r\n"
                  "HideColumns=~Line#\r\nLinesPerpage=20\r\n");
    return Vlx->Print();
  }

  TForm Form{nullptr};
  TStringGrid* Grid = nullptr;
  TvlxVellumix* Vlx = nullptr;

private:
  const TTempDir& FDir;
};

// What the user saw of the run: the pages written when Esc was pressed and, at the summary,
// the run's state and pages (the run's objects are gone once Print returns).
struct TSeen {
  int PagesRunning = 0;
  int PagesWritten = 0;
  int RunState = -1;
};

int CountOf(const std::string& Text, const std::string& What) {
  int N = 0;
  for (size_t At = Text.find(What); At != std::string::npos; At = Text.find(What, At + 1)) ++N;
  return N;
}

// The colour a panel paints at its top left, inside its bevel, where no text reaches.
std::uint32_t PanelColor(const TScreenImage& Image, HWND Form, const TControl& Panel) {
  RECT F, P;
  GetWindowRect(Form, &F);
  GetWindowRect(PeerHandle(Panel), &P);
  return Image.At(P.left - F.left + 3, P.top - F.top + 3);
}

// The window shows a bar that moved and its page text; Esc is posted to it.
TUserScript::TStep SeeRunningThenEsc(const std::string& Screenshot, TSeen& Run) {
  return [&Run, Screenshot] {
    if (!fmVlxProgress) return false;
    TfmVlxProgress& Form = *fmVlxProgress;
    HWND Window = PeerHandle(Form);
    // The count shows on the bar, or beside it while the bar is too narrow for it.
    if (Form.Modal() || !IsWindowVisible(Window) ||
        WindowText(PeerHandle(*Form.paProgressBar)) + WindowText(PeerHandle(*Form.paProgressBackground)) == "" ||
        Form.paProgressBar->Width() == 0)
      return false;
    // Wine hands what a window painted to the X server a moment later: the step waits until the
    // screen shows the bar in its light green.
    const TScreenImage Image = CaptureWindow(Window);
    if (PanelColor(Image, Window, *Form.paProgressBar) != 0x80FF80u) return false;
    if (!Screenshot.empty()) SaveBmp(Image, Screenshot);
    EXPECT_EQ(WindowText(Window), "Report:" + RptSettings->ReportTitle);
    EXPECT_EQ(WindowText(PeerHandle(*Form.paStatusBar)), "Printing...Please Wait!");
    EXPECT_EQ(WindowText(PeerHandle(*Form.lbPageNum)).rfind("Printing: Page ", 0), 0u);
    EXPECT_EQ(WindowText(PeerHandle(*Form.lbOutputDestination)).rfind("Output: ", 0), 0u);
    Run.PagesRunning = PrintSettings->PagesWritten;
    PostMessageA(Window, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(Window, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    return true;
  };
}

// The suspended window, modal, with its black status line; then a click on Button.
TUserScript::TStep SeeSuspendedThenClick(TBitBtn* TfmVlxProgress::*Button, const std::string& Screenshot) {
  return [Button, Screenshot] {
    if (!fmVlxProgress) return false;
    TfmVlxProgress& Form = *fmVlxProgress;
    HWND Window = PeerHandle(Form);
    TBitBtn& Target = *(Form.*Button);
    if (!Form.Modal() || !IsWindowVisible(Window) || !Target.HandleAllocated() ||
        !IsWindowVisible(PeerHandle(Target)))
      return false;
    RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_EQ(WindowText(PeerHandle(*Form.paStatusBar)), "-- User Suspended Printing --");
    EXPECT_FALSE(IsWindowVisible(PeerHandle(*Form.bbCancel)));
    const TScreenImage Image = CaptureWindow(Window);
    EXPECT_EQ(PanelColor(Image, Window, *Form.paStatusBar), 0x000000u);
    if (!Screenshot.empty()) SaveBmp(Image, Screenshot);
    ClickMiddle(Target);
    return true;
  };
}

// The summary: its status line in Colour with Status, the run's message; then Ok.
TUserScript::TStep SeeSummaryThenOk(const std::string& Status, std::uint32_t Colour, const std::string& Screenshot,
                              TSeen& Run) {
  return [=, &Run] {
    if (!fmVlxProgress) return false;
    TfmVlxProgress& Form = *fmVlxProgress;
    HWND Window = PeerHandle(Form);
    if (!Form.Modal() || !Form.bbOk->Visible() || !Form.bbOk->HandleAllocated() || !IsWindowVisible(Window))
      return false;
    RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_EQ(WindowText(PeerHandle(*Form.paStatusBar)), Status);
    const std::string Pages = std::to_string(PrintSettings->PagesWritten) + " Pages Printed. Elapsed Time: ";
    EXPECT_EQ(WindowText(PeerHandle(*Form.lbPageNum)).rfind(Pages, 0), 0u) << WindowText(PeerHandle(*Form.lbPageNum));
    EXPECT_FALSE(IsWindowVisible(PeerHandle(*Form.bbCancel)));
    const TScreenImage Image = CaptureWindow(Window);
    EXPECT_EQ(PanelColor(Image, Window, *Form.paStatusBar), Colour);
    SaveBmp(Image, Screenshot);
    Run.PagesWritten = PrintSettings->PagesWritten;
    Run.RunState = PrintSettings->RunState;
    ClickMiddle(*Form.bbOk);
    return true;
  };
}

// Each Print gives the program's state back, however its run ended.
TEST(ProgressE2E, EscSuspendsThenResumeCompletesAndAbortEndsInError) {
  TTempDir Dir;
  TItemsReport Report(Dir);
  const int PrinterIndex = std::max(0, Printer()->Printers().IndexOf("VersoraRaw"));
  {
    SCOPED_TRACE("resume");
    TBorrowedState Borrowed(PrinterIndex);
    TSeen Run;
    TUserScript User(StepMs);
    User.Steps({SeeRunningThenEsc("progress-running", Run),
                SeeSuspendedThenClick(&TfmVlxProgress::bbResumeOper, "progress-suspended"),
                SeeSummaryThenOk("Report Completed Normally", 0x008000, "progress-completed", Run)});
    const std::string File = Dir / "resumed.txt";
    EXPECT_EQ(Report.Print(File), 1);
    EXPECT_EQ(User.Stuck(), "");
    EXPECT_EQ(Run.RunState, rsCompletedNormally);
    EXPECT_GT(Run.PagesRunning, 0);
    EXPECT_GT(Run.PagesWritten, Run.PagesRunning);
    EXPECT_EQ(fmVlxProgress, nullptr);
    Borrowed.ExpectGivenBack();
    const std::string Text = FileBytes(File);
    EXPECT_EQ(CountOf(Text, "Item "), Rows);
    EXPECT_EQ(CountOf(Text, "Item " + std::to_string(Rows)), 1);
  }
  {
    SCOPED_TRACE("abort");
    TBorrowedState Borrowed(PrinterIndex);
    TSeen Run;
    TUserScript User(StepMs);
    User.Steps({SeeRunningThenEsc("", Run), SeeSuspendedThenClick(&TfmVlxProgress::bbAbortOper, ""),
                SeeSummaryThenOk("Report --Terminated With Error--", 0xFF0000, "progress-aborted", Run)});
    const std::string File = Dir / "aborted.txt";
    EXPECT_EQ(Report.Print(File), 3);
    EXPECT_EQ(User.Stuck(), "");
    EXPECT_EQ(Run.RunState, rsTerminatedWithError);
    EXPECT_EQ(fmVlxProgress, nullptr);
    Borrowed.ExpectGivenBack();
    // The pages up to the abort are in the file, no more.
    const int Printed = CountOf(FileBytes(File), "Item ");
    EXPECT_GT(Printed, 0);
    EXPECT_LT(Printed, Rows);
  }
}

}  // namespace
