// The progress window of a real report run under Wine: 5,000 rows printed to a text file with
// the window and the pause after printing on. The run blocks this thread, so the user is played
// by a system timer whose callback the window's own message processing runs: it looks at the
// real windows, takes screenshots and posts the keys and clicks a user would.
#include "framework/win32/Win32Handles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"
#include "tests/support/GoldenReports.h"
#include "tests/support/TempDir.h"
#include "windows/VLMXPgrs/VLMXPgrs.h"

namespace {

constexpr int Rows = 5000;
constexpr DWORD GiveUpMs = 60000;

using GoldenReports::TReport;

// The generated grid grown to Rows data rows, each item numbered.
void GrowGrid(TReport& Report) {
  auto* Grid = dynamic_cast<TStringGrid*>(Report.Vlx.ObjectToPrint());
  ASSERT_NE(Grid, nullptr);
  const int Pattern = Grid->RowCount() - 1;
  Grid->SetRowCount(Rows + 1);
  for (int R = Pattern + 1; R <= Rows; ++R)
    for (int C = 0; C < Grid->ColCount(); ++C) Grid->SetCells(C, R, Grid->Cells(C, (R - 1) % Pattern + 1));
  char Item[24];
  for (int R = 1; R <= Rows; ++R) {
    std::snprintf(Item, sizeof Item, "Item %04d", R);
    Grid->SetCells(2, R, Item);
  }
  Report.Settings.DisplayProgressWin = true;
  Report.Settings.PauseAfterPrinting = true;
  // Small pages, many of them, and the program's own cell hook taking a moment now and then,
  // as on a slower machine: the run lasts seconds, long enough for the window's repaints (a
  // Wine run of these rows alone takes a fraction of the 500 ms between two).
  Report.Settings.LinesPerpage = 20;
  Report.Info.OnFieldEdit = [Calls = 0](TObject*, std::string&, TvlxFieldInfo*) mutable {
    if (PrintSettings->PageMode == pmPrint && ++Calls % 10 == 0) Sleep(1);
  };
}

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

// The user, one step per timer tick: each step waits for what it expects on screen, then acts
// and moves on. A step that never comes is given up after a while, ending the run.
class TUser {
public:
  using TStep = std::function<bool(TfmVlxProgress& Form)>;

  explicit TUser(std::vector<TStep> Steps) : FSteps(std::move(Steps)) {
    Current = this;
    FStart = GetTickCount();
    FTimer = SetTimer(nullptr, 0, 100, Tick);
  }
  ~TUser() {
    KillTimer(nullptr, FTimer);
    Current = nullptr;
  }

  bool Done() const { return FNext == FSteps.size(); }
  size_t StepsDone() const { return FNext; }

private:
  static inline TUser* Current = nullptr;
  std::vector<TStep> FSteps;
  size_t FNext = 0;
  DWORD FStart = 0;
  UINT_PTR FTimer = 0;
  bool FBusy = false;

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TUser* User = Current;
    if (!User || User->FBusy || !fmVlxProgress) return;
    User->FBusy = true;
    if (User->FNext < User->FSteps.size()) {
      if (User->FSteps[User->FNext](*fmVlxProgress)) ++User->FNext;
      else if (GetTickCount() - User->FStart > GiveUpMs) GiveUp(*fmVlxProgress);
    }
    User->FBusy = false;
  }

  // Ends a run that did not go as expected, whichever window it waits in.
  static void GiveUp(TfmVlxProgress& Form) {
    for (TBitBtn* Button : {Form.bbAbortOper, Form.bbOk, Form.bbCancel})
      if (Button->Visible() && Button->HandleAllocated()) {
        PostClick(PeerHandle(*Button), 10, 10);
        return;
      }
  }
};

POINT Middle(const TControl& Control) { return {Control.Width() / 2, Control.Height() / 2}; }

// The window shows a bar that moved and its page text; Esc is posted to it.
TUser::TStep SeeRunningThenEsc(const std::string& Screenshot, int& PagesSeen) {
  return [&PagesSeen, Screenshot, Seen = false](TfmVlxProgress& Form) mutable {
    HWND Window = PeerHandle(Form);
    if (Form.Modal() || !IsWindowVisible(Window) || WindowText(PeerHandle(*Form.paProgressBar)).empty() ||
        Form.paProgressBar->Width() == 0)
      return false;
    // Wine hands what a window painted to the X server a moment later: the picture is taken
    // a tick after the first repaint is seen.
    if (!Seen) {
      Seen = true;
      return false;
    }
    const TScreenImage Image = CaptureWindow(Window);
    if (!Screenshot.empty()) SaveBmp(Image, Screenshot);
    EXPECT_EQ(PanelColor(Image, Window, *Form.paProgressBar), 0x80FF80u);  // light green
    EXPECT_EQ(WindowText(Window), "Report:" + RptSettings->ReportTitle);
    EXPECT_EQ(WindowText(PeerHandle(*Form.paStatusBar)), "Printing...Please Wait!");
    EXPECT_EQ(WindowText(PeerHandle(*Form.lbPageNum)).rfind("Printing: Page ", 0), 0u);
    EXPECT_EQ(WindowText(PeerHandle(*Form.lbOutputDestination)).rfind("Output: ", 0), 0u);
    PagesSeen = PrintSettings->PagesWritten;
    PostMessageA(Window, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(Window, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    return true;
  };
}

// The suspended window, modal, with its black status line; then a click on Button.
TUser::TStep SeeSuspendedThenClick(TBitBtn* TfmVlxProgress::*Button, const std::string& Screenshot) {
  return [Button, Screenshot](TfmVlxProgress& Form) {
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
    PostClick(PeerHandle(Target), Middle(Target));
    return true;
  };
}

// The summary: its status line in Colour with Status, the run's message; then Ok.
TUser::TStep SeeSummaryThenOk(const std::string& Status, std::uint32_t Colour, const std::string& Screenshot) {
  return [=](TfmVlxProgress& Form) {
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
    PostClick(PeerHandle(*Form.bbOk), Middle(*Form.bbOk));
    return true;
  };
}

TEST(ProgressE2E, EscSuspendsThenResumeCompletesAndAbortEndsInError) {
  TTempDir Dir;
  const auto& Case = GoldenReports::Find("numbers-totals");
  {
    SCOPED_TRACE("resume");
    TReport Report(Case);
    GrowGrid(Report);
    int PagesSeen = 0;
    TUser User({SeeRunningThenEsc("progress-running", PagesSeen),
                SeeSuspendedThenClick(&TfmVlxProgress::bbResumeOper, "progress-suspended"),
                SeeSummaryThenOk("Report Completed Normally", 0x008000, "progress-completed")});
    const std::string File = Dir / "resumed.txt";
    EXPECT_EQ(Report.Print(File), 1);
    EXPECT_TRUE(User.Done()) << "steps done: " << User.StepsDone();
    EXPECT_EQ(Report.Run.RunState, rsCompletedNormally);
    EXPECT_GT(PagesSeen, 0);
    EXPECT_GT(Report.Run.PagesWritten, PagesSeen);
    EXPECT_EQ(fmVlxProgress, nullptr);
    const std::string Text = FileBytes(File);
    EXPECT_EQ(CountOf(Text, "Item "), Rows);
    EXPECT_EQ(CountOf(Text, "Item 5000"), 1);
  }
  {
    SCOPED_TRACE("abort");
    TReport Report(Case);
    GrowGrid(Report);
    int PagesSeen = 0;
    TUser User({SeeRunningThenEsc("", PagesSeen), SeeSuspendedThenClick(&TfmVlxProgress::bbAbortOper, ""),
                SeeSummaryThenOk("Report --Terminated With Error--", 0xFF0000, "progress-aborted")});
    const std::string File = Dir / "aborted.txt";
    EXPECT_EQ(Report.Print(File), 3);
    EXPECT_TRUE(User.Done()) << "steps done: " << User.StepsDone();
    EXPECT_EQ(Report.Run.RunState, rsTerminatedWithError);
    EXPECT_EQ(fmVlxProgress, nullptr);
    // The pages up to the abort are in the file, no more.
    const int Printed = CountOf(FileBytes(File), "Item ");
    EXPECT_GT(Printed, 0);
    EXPECT_LT(Printed, Rows);
  }
}

}  // namespace
