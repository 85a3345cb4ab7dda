// The Style and Titles pages of the setup window as the book-table program's user meets them
// behind "&Print": a style option unchecked by a click on its box, the report title's margins
// typed and drawn to scale, then Print writes the text file that shows both.
#include "app/VersoraMain.h"
#include "framework/win32/Win32Handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/VLMXGbl/RunUI.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Buttons.h"
#include "framework/CheckLst.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "windows/VLMXMain/VLMXMain.h"

#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"

namespace {

std::function<void()>* TimerTask = nullptr;
void CALLBACK RunTimerTask(HWND, UINT, UINT_PTR, DWORD) { (*TimerTask)(); }

// Types Text over the whole content of an edit that has the focus, then leaves it by Tab.
void RetypeAndLeave(HWND Edit, const std::string& Text) {
  SendMessageA(Edit, EM_SETSEL, 0, -1);
  for (char C : Text) Press(static_cast<WORD>(C));
  Press(VK_TAB);
}

}  // namespace

TEST(StyleTitlesE2E, UncheckedOptionAndTitleMarginsReachThePrintedFile) {
  const std::string Out = VERSORA_E2E_OUTPUT_DIR;
  CreateDirectoryA(Out.c_str(), nullptr);
  // The window checks the output folder as a Windows path: backslashes.
  std::string Report = Out + "/StyleTitles.txt";
  std::replace(Report.begin(), Report.end(), '/', '\\');
  DeleteFileA(Report.c_str());
  Application->CreateForm(frmVersora);
  Application->MainForm()->Show();
  HWND Main = PeerHandle(*frmVersora);
  ASSERT_NE(Main, nullptr);
  SetForegroundWindow(Main);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Main) && GetFocus() != nullptr; }));
  TvlxVellumix& Vlx = *frmVersora->VlxVellumix1;
  Vlx.SetReportSettingsFileName(Out + "/StyleTitlesSettings.txt");
  {
    // The title starts at the page's left edge, across the whole width, left-aligned.
    std::ofstream Settings(Out + "/StyleTitlesSettings.txt", std::ios::binary | std::ios::trunc);
    Settings << "[" << Vlx.ReportId() << "]\r\n"
             << "DisplayReportOptionsWin=1\r\nPreviewFirst=0\r\nDisplayProgressWin=0\r\nPauseAfterPrinting=0\r\n"
             << "CloseWinAfterPrinting=1\r\nOutputQuality=0\r\nOutputDest=1\r\nOutputFileName=" << Report << "\r\n"
             << "IfOutputFileExists=0\r\nDefaultPrinter=1\r\nNumFixedCols=0\r\nHideColumns=~Line#\r\n"
             << "TxtCharsPageWid=200\r\nLinesPerPage=66\r\nioColumnTitles=1\r\n"
             << "Memo,RptTi,MemoXPosPer=0\r\nMemo,RptTi,MemoWidPer=100\r\nMemo,RptTi,MemoAlignment=0\r\n"
             << "Memo,RptTi,MemoVisible=1\r\nMemo,RptTi=START\r\nSTYLE AND TITLES\r\nMemo,RptTi=END\r\n";
  }

  // The user's steps, each taken once the window shows the result of the one before.
  int Stage = 0;
  std::string Failure;
  std::vector<std::string> BoxTexts;
  std::string LeftCaption, RightCaption, WidthShown;
  int MemoLeft = -1, MemoWidth = -1, PageWidth = -1;
  bool TitlesChecked = true, WindowSeen = false;
  HWND Window = nullptr, Tabs = nullptr;
  const DWORD Start = GetTickCount();
  std::function<void()> Step = [&] {
    if (HWND Box = FindWindowA("#32770", nullptr)) {
      char Text[1024] = {};
      GetDlgItemTextA(Box, 0xFFFF, Text, sizeof Text);
      BoxTexts.push_back(Text);
      PostMessageA(Box, WM_COMMAND, IDOK, 0);
    }
    // Closing after the print asks whether to keep the changed options: not this time.
    if (TCustomForm* Question = Screen->ActiveForm(); Question && Question->Name() == "MessageDialog") {
      Question->SetModalResult(mrNo);
      return;
    }
    TfmVlxMain* F = fmVlxMain;
    if (!F) return;
    WindowSeen = true;
    if (GetTickCount() - Start > 90000 && Failure.empty()) {
      Failure = "stuck at step " + std::to_string(Stage);
      F->SetModalResult(mrCancel);
      return;
    }
    switch (Stage) {
      case 0:  // the window stays for the user: to the Style page
        if (F->FStartPending || F->Top() < 0 || !IsWindowVisible(PeerHandle(*F))) return;
        Window = PeerHandle(*F);
        Tabs = PeerHandle(*F->pcOptions);
        SetForegroundWindow(Window);
        PostClick(Tabs, TabPoint(Tabs, 2));
        ++Stage;
        return;
      case 1: {  // a click on the box of "Column Titles"
        if (F->pcOptions->ActivePage() != F->tsStyle) return;
        HWND List = PeerHandle(*F->lbxStyleOpts);
        const int Row = F->lbxStyleOpts->Items().IndexOf("Column Titles");
        if (Row < 0) {
          Failure = "no Column Titles row";
          F->SetModalResult(mrCancel);
          return;
        }
        PostClick(List, ListBoxItemPoint(List, Row));
        ++Stage;
        return;
      }
      case 2:
        if (RptSettings->ItemOpt(ioColumnTitles)) return;
        TitlesChecked = F->lbxStyleOpts->Checked(F->lbxStyleOpts->Items().IndexOf("Column Titles"));
        RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        SaveWindowScreenshot(Window, "style-titles-1-style-page");
        PostClick(Tabs, TabPoint(Tabs, 3));
        ++Stage;
        return;
      case 3:  // the Titles page opens on the report title: the width first, so the sum fits
        if (F->pcOptions->ActivePage() != F->tsTitles || F->lbxMemoLocation->ItemIndex() != 0) return;
        PostClick(PeerHandle(*F->edMemoWidPer), 5, 5);
        ++Stage;
        return;
      case 4:
        if (GetFocus() != PeerHandle(*F->edMemoWidPer)) return;
        RetypeAndLeave(GetFocus(), "80");
        ++Stage;
        return;
      case 5:
        if (RptSettings->RptMemo(RptTi)->WidPer != 80) return;
        PostClick(PeerHandle(*F->edMemoXPosPer), 5, 5);
        ++Stage;
        return;
      case 6:
        if (GetFocus() != PeerHandle(*F->edMemoXPosPer)) return;
        RetypeAndLeave(GetFocus(), "10");
        ++Stage;
        return;
      case 7:
        if (RptSettings->RptMemo(RptTi)->XPosPer != 10) return;
        WidthShown = WindowText(PeerHandle(*F->edMemoWidPer));
        LeftCaption = F->lbRptMemoLeftMargin->Caption();
        RightCaption = F->lbRptMemoRightMargin->Caption();
        MemoLeft = F->memRptMemo->Left();
        MemoWidth = F->memRptMemo->Width();
        PageWidth = F->pcOptions->Width();
        RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        SaveWindowScreenshot(Window, "style-titles-2-titles-page");
        // Print, from the tool bar.
        PostClick(PeerHandle(*F->sbPrint), 10, 10);
        ++Stage;
        return;
      default: return;
    }
  };
  TimerTask = &Step;
  const UINT_PTR Timer = SetTimer(nullptr, 0, 100, RunTimerTask);
  PostClick(PeerHandle(*frmVersora->btnPrint), 10, 10);
  const bool Closed = PumpUntil([&] { return WindowSeen && !fmVlxMain; }, 120000);
  KillTimer(nullptr, Timer);
  delete frmVersora;
  frmVersora = nullptr;
  Application->ProcessMessages();

  EXPECT_EQ(Failure, "");
  EXPECT_EQ(BoxTexts, std::vector<std::string>{});
  ASSERT_TRUE(Closed) << "the setup window stayed open at step " << Stage;
  EXPECT_EQ(Stage, 8);
  EXPECT_FALSE(TitlesChecked);
  EXPECT_EQ(WidthShown, "80");
  EXPECT_EQ(LeftCaption, "Left Margin 10%");
  EXPECT_EQ(RightCaption, "Right Margin 10%");
  EXPECT_EQ(MemoLeft, (PageWidth + 5) / 10);
  EXPECT_EQ(MemoWidth, (PageWidth * 8 + 5) / 10);

  std::ifstream File(Report, std::ios::binary);
  ASSERT_TRUE(File) << Report;
  std::stringstream Text;
  Text << File.rdbuf();
  const std::string Printed = Text.str();
  // The books are there, the column headings are not; the title stands off the left edge.
  EXPECT_NE(Printed.find("Genesis"), std::string::npos) << Printed.substr(0, 2000);
  EXPECT_EQ(Printed.find("NAME"), std::string::npos) << Printed.substr(0, 2000);
  const size_t Title = Printed.find("STYLE AND TITLES");
  ASSERT_NE(Title, std::string::npos) << Printed.substr(0, 2000);
  const size_t LineStart = Printed.rfind('\n', Title);
  const std::string Lead = Printed.substr(LineStart == std::string::npos ? 0 : LineStart + 1,
                                          Title - (LineStart == std::string::npos ? 0 : LineStart + 1));
  EXPECT_EQ(Lead, std::string(20, ' ')) << "10% of 200 characters";
}
