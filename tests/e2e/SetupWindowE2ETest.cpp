// The setup window as the user sees it, behind the book table's "&Print" with the options window
// on: its frame, each of its five pages brought to the front by a click on its tab, a field error
// that stops Print, a text file printed, the options saved and the close question answered,
// photographed for a person to look at.
#include <gtest/gtest.h>

#include "framework/win32/Win32Handles.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/VersoraMain.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/Vellumix/Vellumix.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"
#include "windows/VLMXMain/VLMXMain.h"

namespace {

std::string Bytes(const std::string& Name) {
  std::ifstream File(Name, std::ios::binary);
  std::ostringstream Text;
  Text << File.rdbuf();
  return Text.str();
}

// Types Text as the keyboard does, shifted characters with Shift held.
void Type(const std::string& Text) {
  for (char C : Text) {
    const SHORT Code = VkKeyScanA(C);
    if (Code & 0x100) PressWith(VK_SHIFT, LOBYTE(Code));
    else Press(LOBYTE(Code));
  }
}

// Replaces the text of the focused edit as the keyboard does: everything selected, then typed.
void Retype(const std::string& Text) {
  Press(VK_END);
  PressWith(VK_SHIFT, VK_HOME);
  Type(Text);
}

// A click in the middle of a speed button of the command bar.
void ClickBarButton(TSpeedButton* Button) {
  PostClick(PeerHandle(*Button), Button->Width() / 2, Button->Height() / 2);
}

// Steps run one after the other from a timer inside the loops the test does not run (the
// options window's, the question's); a step that waits returns false until its condition
// holds. A step that waits too long fails the test and ends the window.
class TScript {
public:
  void Then(std::string Name, std::function<bool()> Step) { FSteps.push_back({std::move(Name), std::move(Step)}); }
  void Start() {
    RunInsideNextLoop([this] {
      if (FNext == FSteps.size()) return true;
      if (FSteps[FNext].second()) {
        ++FNext;
        FSince = GetTickCount();
      } else if (GetTickCount() - FSince > 20000) {
        ADD_FAILURE() << "waited in vain: " << FSteps[FNext].first;
        FNext = FSteps.size();
        if (fmVlxMain) {
          RptSettings->Modified = false;
          fmVlxMain->SetModalResult(mrCancel);
        }
      }
      // Done: the timer stops now, before the script it calls goes out of scope.
      return FNext == FSteps.size();
    });
  }
  bool Done() const { return FNext == FSteps.size(); }

private:
  std::vector<std::pair<std::string, std::function<bool()>>> FSteps;
  size_t FNext = 0;
  DWORD FSince = GetTickCount();
};

}  // namespace

// "&Print" of the book table with the options window on: the user looks at every page, sends
// the report to a text file by hand, prints, saves the options, and thinks better of closing
// after one more change.
TEST(SetupWindowE2E, PrintFromTheOptionsWindowToATextFileThenSaveAndKeepTheWindowOnCancel) {
  const std::string Out = SETUP_E2E_OUTPUT_DIR;
  const std::string SettingsFile = Out + "/SetupWindow.txt";
  // Typed as a user of the system writes it, with backslashes.
  std::string Report = Out + "/books-from-window.txt";
  std::replace(Report.begin(), Report.end(), '/', '\\');
  DeleteFileA(Report.c_str());
  frmVersora = new TfrmVersora(Application);
  frmVersora->Show();
  TvlxVellumix& Vlx = *frmVersora->VlxVellumix1;
  Vlx.SetDialogTitle("Books of the Bible");
  Vlx.SetReportSettingsFileName(SettingsFile);
  {
    std::ofstream Settings(SettingsFile, std::ios::binary | std::ios::trunc);
    Settings << "[" << Vlx.ReportId() << "]\r\n"
             << "DisplayReportOptionsWin=1\r\nPreviewFirst=0\r\nDisplayProgressWin=0\r\nPauseAfterPrinting=0\r\n"
             << "CloseWinAfterPrinting=0\r\nOutputQuality=0\r\nOutputDest=0\r\nDefaultPrinter=1\r\n"
             << "NumFixedCols=0\r\nHideColumns=~Line#\r\nTxtCharsPageWid=132\r\nTextFontSize=7\r\n"
             << "IfOutputFileExists=0\r\n"
             << "Memo,PgTi=START\r\nTHE 66 BOOKS\r\nMemo,PgTi=END\r\n"
             << "Memo,PgNum=START\r\n\r\nPage ^P\r\nMemo,PgNum=END\r\n";
  }

  TScript Script;
  TfmVlxMain* F = nullptr;
  HWND Window = nullptr;
  Script.Then("the options window", [&] {
    F = fmVlxMain;
    if (!F || F->FStartPending || F->Top() < 0) return false;
    Window = PeerHandle(*F);
    return Window && IsWindowVisible(Window);
  });
  Script.Then("its frame, caption and status", [&] {
    EXPECT_EQ(WindowText(Window), "Report Options: Books of the Bible");
    RECT Client{};
    GetClientRect(Window, &Client);
    EXPECT_EQ(Client.right, 658);
    EXPECT_EQ(Client.bottom, 431);
    const LONG Style = GetWindowLongA(Window, GWL_STYLE);
    EXPECT_TRUE(Style & WS_SYSMENU);
    EXPECT_FALSE(Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_NE(GetMenu(Window), nullptr);
    EXPECT_EQ(SendMessageA(PeerHandle(*F->pcOptions), TCM_GETITEMCOUNT, 0, 0), 5);
    EXPECT_EQ(WindowText(PeerHandle(*F->paPagesAcross)), "1 Page Across");
    EXPECT_EQ(WindowText(PeerHandle(*F->paRptStatus)).find("  Total Report Width: "), 0u);
    RECT Bar{}, Dest{};
    GetWindowRect(PeerHandle(*F->paBottom), &Bar);
    GetWindowRect(PeerHandle(*F->paDestination), &Dest);
    EXPECT_LE(Dest.right, Bar.right) << "the destination panel is cut off";
    EXPECT_GE(Dest.right - Dest.left, 40);
    return true;
  });
  for (int I = 4; I >= 0; --I) {
    Script.Then("tab " + std::to_string(I), [&, I] {
      HWND Tabs = PeerHandle(*F->pcOptions);
      PostClick(Tabs, TabPoint(Tabs, I));
      return true;
    });
    Script.Then("page " + std::to_string(I), [&, I] {
      if (F->pcOptions->ActivePage() != F->pcOptions->Pages(I)) return false;
      SaveWindowScreenshot(Window, "setup-print-" + std::to_string(I + 1) + "-" + F->pcOptions->Pages(I)->Caption());
      return true;
    });
  }
  // The menu's Ctrl+O puts the focus on the destination list, whose next or previous entry the
  // arrow key chooses.
  const auto ChooseDestination = [&](WORD Arrow) {
    Script.Then("Ctrl+O to the destination", [&] {
      PressWith(VK_CONTROL, 'O');
      return true;
    });
    Script.Then("an arrow key in the list", [&, Arrow] {
      HWND List = PeerHandle(*F->cbxOutputDest);
      if (GetFocus() != List && !IsChild(List, GetFocus())) return false;
      Press(Arrow);
      return true;
    });
  };
  // A click into the edit once it shows, then its text typed anew.
  const auto TypeInto = [&](TEdit* TfmVlxMain::*Edit, std::string Text) {
    Script.Then("a click into the edit", [&, Edit] {
      if (!IsWindowVisible(PeerHandle(*(F->*Edit)))) return false;
      PostClick(PeerHandle(*(F->*Edit)), 5, 5);
      return true;
    });
    Script.Then("typed: " + Text, [&, Edit, Text] {
      if (GetFocus() != PeerHandle(*(F->*Edit))) return false;
      Retype(Text);
      return true;
    });
  };
  // A margin out of range stops Print: the message stands, the Output page in front, the focus
  // back in the edit, and nothing printed.
  Script.Then("the Output tab", [&] {
    HWND Tabs = PeerHandle(*F->pcOptions);
    PostClick(Tabs, TabPoint(Tabs, 1));
    return true;
  });
  TypeInto(&TfmVlxMain::edPageMarginRight, "150");
  // The keys reach the edit before the click is sent: a posted click would overtake them.
  Script.Then("Print", [&] {
    if (F->edPageMarginRight->Text() != "150") return false;
    ClickBarButton(F->sbPrint);
    return true;
  });
  Script.Then("the margin refused", [&] {
    if (WindowText(PeerHandle(*F->paMsg)) != "  Page Right Margin must be between 0 and 100 characters") return false;
    EXPECT_EQ(F->pcOptions->ActivePage(), F->tsOutput);
    EXPECT_EQ(GetFocus(), PeerHandle(*F->edPageMarginRight));
    EXPECT_EQ(F->RunResult(), 0);
    SaveWindowScreenshot(Window, "setup-print-margin-error");
    Retype("0");
    return true;
  });
  Script.Then("the margin back to 0", [&] { return F->edPageMarginRight->Text() == "0"; });
  ChooseDestination(VK_DOWN);
  Script.Then("Text File", [&] { return F->cbxOutputDest->Text() == "Text File"; });
  TypeInto(&TfmVlxMain::edOutputFileName, Report);
  Script.Then("out of the file name", [&] {
    Press(VK_TAB);
    return true;
  });
  Script.Then("Print to the file", [&] {
    if (RptSettings->OutputFileName != Report) return false;
    SaveWindowScreenshot(Window, "setup-print-text-file-chosen");
    ClickBarButton(F->sbPrint);
    return true;
  });
  Script.Then("the printed file", [&] {
    if (F->RunResult() == 0) return false;
    EXPECT_EQ(F->RunResult(), 1);
    return true;
  });
  Script.Then("Save Options", [&] {
    ClickBarButton(F->sbSaveOpts);
    return true;
  });
  Script.Then("the saved section", [&] {
    const std::string Saved = Bytes(SettingsFile);
    if (Saved.find("OutputDest=1") == std::string::npos) return false;
    EXPECT_NE(Saved.find("OutputFileName=" + Report), std::string::npos) << Saved;
    EXPECT_FALSE(RptSettings->Modified);
    return true;
  });
  ChooseDestination(VK_UP);
  Script.Then("Close", [&] {
    if (F->cbxOutputDest->Text() != "Printer") return false;
    ClickBarButton(F->sbClose);
    return true;
  });
  TCustomForm* Question = nullptr;
  Script.Then("the save question", [&] {
    Question = Screen->ActiveForm();
    if (!Question || Question->Name() != "MessageDialog" || !IsWindowVisible(PeerHandle(*Question))) return false;
    EXPECT_EQ(WindowText(PeerHandle(*Question)), MessageDlgCaption(TMsgDlgType::mtConfirmation));
    SaveWindowScreenshot(PeerHandle(*Question), "setup-print-save-question");
    Press(VK_ESCAPE);
    return true;
  });
  Script.Then("the window still open", [&] {
    if (Screen->ActiveForm() != F) return false;
    EXPECT_TRUE(IsWindowVisible(Window));
    EXPECT_EQ(F->ModalResult(), mrNone);
    SaveWindowScreenshot(Window, "setup-print-after-cancel");
    // The user leaves without saving, as No would.
    RptSettings->Modified = false;
    F->SetModalResult(mrCancel);
    return true;
  });
  Script.Start();
  PostClick(PeerHandle(*frmVersora->btnPrint), 10, 10);
  EXPECT_TRUE(PumpUntil([&] { return Script.Done() && !fmVlxMain; }, 120000));
  // The same report as the engine's golden page: the window adds nothing and loses nothing.
  EXPECT_EQ(Bytes(Report), Bytes(SETUP_E2E_GOLDEN));
  delete frmVersora;
  frmVersora = nullptr;
  Application->ProcessMessages();
}
