// The setup window as the user sees it, behind the book table's "&Print" with the options window
// on: its frame, each of its five pages brought to the front by a click on its tab, a field error
// that stops Print, a text file printed, the options saved and the close question answered,
// photographed for a person to look at.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/VLMXGbl/PrintSettings.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/SysUtils.h"
#include "tests/e2e/UserScript.h"
#include "tests/support/TempDir.h"
#include "windows/VLMXMain/VLMXMain.h"

namespace {

// The visible tooltip's current tool, or nullptr when no tip shows.
HWND ShownTipTool() {
  HWND Tip = nullptr;
  while ((Tip = FindWindowExA(nullptr, Tip, TOOLTIPS_CLASSA, nullptr)))
    if (IsWindowVisible(Tip)) {
      TOOLINFOA Info{};
      Info.cbSize = sizeof(Info);
      if (SendMessageA(Tip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&Info)))
        return reinterpret_cast<HWND>(Info.uId);
    }
  return nullptr;
}

bool Shown(TWinControl* Button) { return SendMessageA(PeerHandle(*Button), BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A common dialog in front of the setup window: the one whose loop runs the script now.
HWND CommonDialog(HWND Owner) {
  HWND Dialog = GetActiveWindow();
  return Dialog && Dialog != Owner && IsWindowVisible(Dialog) ? Dialog : nullptr;
}

using SetupWindowE2E = BookTableTest;

}  // namespace

// "&Print" of the book table with the options window on: the user looks at every page, sends
// the report to a text file by hand, prints, saves the options, and thinks better of closing
// after one more change.
TEST_F(SetupWindowE2E, PrintFromTheOptionsWindowToATextFileThenSaveAndKeepTheWindowOnCancel) {
  const std::string Out = SETUP_E2E_OUTPUT_DIR;
  const std::string SettingsFile = Out + "/SetupWindow.txt";
  // Typed as a user of the system writes it, with backslashes.
  const std::string Report = WindowsPath(Out + "/books-from-window.txt");
  DeleteFileA(Report.c_str());
  TvlxVellumix& Vlx = *frmVersora->VlxVellumix1;
  Vlx.SetDialogTitle("Books of the Bible");
  WriteSettings(Vlx, SettingsFile,
                "DisplayReportOptionsWin=1\r\nPreviewFirst=0\r\nDisplayProgressWin=0\r\nPauseAfterPrinting=0\r\n"
                "CloseWinAfterPrinting=0\r\nOutputQuality=0\r\nOutputDest=0\r\nDefaultPrinter=1\r\n"
                "NumFixedCols=0\r\nHideColumns=~Line#\r\nTxtCharsPageWid=132\r\nTextFontSize=7\r\n"
                "IfOutputFileExists=0\r\nMemo,PgTi=START\r\nTHE 66 BOOKS\r\nMemo,PgTi=END\r\n"
                "Memo,PgNum=START\r\n\r\nPage ^P\r\nMemo,PgNum=END\r\n");

  std::vector<int> Help;
  Application->OnHelp = [&](int Context, bool& CallHelp) {
    Help.push_back(Context);
    CallHelp = false;
  };
  TUserScript Script;
  TfmVlxMain* F = nullptr;
  HWND Options = nullptr;
  Script.Step("the options window", [&] {
    F = fmVlxMain;
    if (!F || F->FStartPending || F->Top() < 0) return false;
    Options = PeerHandle(*F);
    return Options && IsWindowVisible(Options);
  });
  Script.Step("its frame, caption and status", [&] {
    EXPECT_EQ(WindowText(Options), "Report Options: Books of the Bible");
    RECT Client{};
    GetClientRect(Options, &Client);
    EXPECT_EQ(Client.right, 658);
    EXPECT_EQ(Client.bottom, 431);
    const LONG Style = GetWindowLongA(Options, GWL_STYLE);
    EXPECT_TRUE(Style & WS_SYSMENU);
    EXPECT_FALSE(Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_NE(GetMenu(Options), nullptr);
    // Modal over the book table, which takes no input meanwhile.
    EXPECT_EQ(GetWindow(Options, GW_OWNER), Window);
    EXPECT_FALSE(IsWindowEnabled(Window));
    EXPECT_EQ(SendMessageA(PeerHandle(*F->pcOptions), TCM_GETITEMCOUNT, 0, 0), 5);
    EXPECT_EQ(WindowText(PeerHandle(*F->paPagesAcross)), "1 Page Across");
    const std::string Width = WindowText(PeerHandle(*F->paRptStatus));
    EXPECT_EQ(Width.find("  Total Report Width: "), 0u) << Width;
    EXPECT_EQ(Width.find(": 0 "), std::string::npos) << Width;
    RECT Bar{}, Dest{};
    GetWindowRect(PeerHandle(*F->paBottom), &Bar);
    GetWindowRect(PeerHandle(*F->paDestination), &Dest);
    EXPECT_LE(Dest.right, Bar.right) << "the destination panel is cut off";
    EXPECT_GE(Dest.right - Dest.left, 40);
    return true;
  });
  for (int I = 4; I >= 0; --I) {
    Script.Step("tab " + std::to_string(I), [&, I] {
      HWND Tabs = PeerHandle(*F->pcOptions);
      PostClick(Tabs, TabPoint(Tabs, I));
      return true;
    });
    Script.Step("page " + std::to_string(I), [&, I] {
      if (F->pcOptions->ActivePage() != F->pcOptions->Pages(I)) return false;
      SaveWindowScreenshot(Options, "setup-print-" + std::to_string(I + 1) + "-" + F->pcOptions->Pages(I)->Caption());
      return true;
    });
  }
  // The menu's Ctrl+O puts the focus on the destination list, whose next or previous entry the
  // arrow key chooses.
  const auto ChooseDestination = [&](WORD Arrow) {
    Script.Step("Ctrl+O to the destination", [&] {
      PressWith(VK_CONTROL, 'O');
      return true;
    });
    Script.Step("an arrow key in the list", [&, Arrow] {
      HWND List = PeerHandle(*F->cbxOutputDest);
      if (GetFocus() != List && !IsChild(List, GetFocus())) return false;
      Press(Arrow);
      return true;
    });
  };
  // A click into the edit once it shows, then its text typed anew.
  const auto TypeInto = [&](TEdit* TfmVlxMain::*Edit, std::string Text) {
    Script.Step("a click into the edit", [&, Edit] {
      if (!IsWindowVisible(PeerHandle(*(F->*Edit)))) return false;
      PostClick(PeerHandle(*(F->*Edit)), 5, 5);
      return true;
    });
    Script.Step("typed: " + Text, [&, Edit, Text] {
      if (GetFocus() != PeerHandle(*(F->*Edit))) return false;
      Retype(Text);
      return true;
    });
  };
  // A margin out of range stops Print: the message stands, the Output page in front, the focus
  // back in the edit, and nothing printed.
  Script.Step("the Output tab", [&] {
    HWND Tabs = PeerHandle(*F->pcOptions);
    PostClick(Tabs, TabPoint(Tabs, 1));
    return true;
  });
  // The margin takes digits only: the letter typed among them is dropped.
  TypeInto(&TfmVlxMain::edPageMarginRight, "15a0");
  // The keys reach the edit before the click is sent: a posted click would overtake them.
  Script.Step("Print", [&] {
    if (F->edPageMarginRight->Text() != "150") return false;
    ClickMiddle(*F->sbPrint);
    return true;
  });
  Script.Step("the margin refused", [&] {
    if (WindowText(PeerHandle(*F->paMsg)) != "  Page Right Margin must be between 0 and 100 characters") return false;
    EXPECT_EQ(F->pcOptions->ActivePage(), F->tsOutput);
    EXPECT_EQ(GetFocus(), PeerHandle(*F->edPageMarginRight));
    EXPECT_EQ(F->RunResult(), 0);
    SaveWindowScreenshot(Options, "setup-print-margin-error");
    Retype("0");
    return true;
  });
  Script.Step("the margin back to 0", [&] { return F->edPageMarginRight->Text() == "0"; });
  ChooseDestination(VK_DOWN);
  Script.Step("Text File", [&] { return F->cbxOutputDest->Text() == "Text File"; });
  TypeInto(&TfmVlxMain::edOutputFileName, Report);
  Script.Step("out of the file name", [&] {
    Press(VK_TAB);
    return true;
  });
  Script.Step("Print to the file", [&] {
    if (RptSettings->OutputFileName != Report) return false;
    SaveWindowScreenshot(Options, "setup-print-text-file-chosen");
    ClickMiddle(*F->sbPrint);
    return true;
  });
  Script.Step("the printed file", [&] {
    if (F->RunResult() == 0) return false;
    EXPECT_EQ(F->RunResult(), 1);
    return true;
  });
  Script.Step("Save Options", [&] {
    ClickMiddle(*F->sbSaveOpts);
    return true;
  });
  Script.Step("the saved section", [&] {
    const std::string Saved = FileBytes(SettingsFile);
    if (Saved.find("OutputDest=1") == std::string::npos) return false;
    EXPECT_NE(Saved.find("OutputFileName=" + Report), std::string::npos) << Saved;
    EXPECT_FALSE(RptSettings->Modified);
    ClickMiddle(*F->buBrowseFile);
    return true;
  });
  // After the print, the rest of the pages' controls as the keyboard and the mouse reach them.
  // Browsing for the file: a name typed without extension gets the text files' one.
  const std::string Browsed = WindowsPath(Out + "/browsed");
  Script.Step("a name in the save dialog", [&] {
    HWND Dialog = CommonDialog(Options);
    HWND Name = Dialog ? GetDlgItem(Dialog, 0x480) : nullptr;  // the file name box
    if (Dialog && !Name) Name = GetDlgItem(Dialog, 0x47C);    // or its combo box
    if (!Name) return false;
    SetWindowTextA(Name, Browsed.c_str());
    PostMessageA(Dialog, WM_COMMAND, IDOK, 0);
    return true;
  });
  Script.Step("Alt+V, G: the General page from the menu", [&] {
    if (CommonDialog(Options)) return false;
    EXPECT_TRUE(SameText(RptSettings->OutputFileName, Browsed + ".txt")) << RptSettings->OutputFileName;
    PressWith(VK_MENU, 'V');
    Press('G');
    return true;
  });
  Script.Step("into the Print What group", [&] {
    if (F->pcOptions->ActivePage() != F->tsGeneral) return false;
    PostClick(PeerHandle(*F->rbPrintWhatAll), 6, 8);
    return true;
  });
  // The arrows go round the group: Up from the first button to the last, Down back.
  TWinControl* Last = nullptr;
  Script.Step("Up", [&] {
    if (GetFocus() != PeerHandle(*F->rbPrintWhatAll)) return false;
    Press(VK_UP);
    return true;
  });
  Script.Step("the last button; Down", [&] {
    if (F->rbPrintWhatAll->Checked()) return false;
    Last = F->ActiveControl();
    EXPECT_TRUE(Last && Last != F->rbPrintWhatAll && Shown(Last));
    EXPECT_FALSE(Shown(F->rbPrintWhatAll));
    Press(VK_DOWN);
    return true;
  });
  Script.Step("the first again; the Setup page", [&] {
    if (!F->rbPrintWhatAll->Checked()) return false;
    EXPECT_EQ(RptSettings->PrintWhat, pwAll);
    EXPECT_FALSE(Last && Shown(Last));
    PostClick(PeerHandle(*F->pcOptions), TabPoint(PeerHandle(*F->pcOptions), 4));
    return true;
  });
  // Space checks a box, Alt with its underlined letter unchecks it.
  Script.Step("Space on Pause after printing", [&] {
    if (F->pcOptions->ActivePage() != F->tsSetup) return false;
    SetFocus(PeerHandle(*F->cbPauseAfterPrinting));
    Press(VK_SPACE);
    return true;
  });
  Script.Step("Alt+A", [&] {
    if (!F->cbPauseAfterPrinting->Checked() || !Shown(F->cbPauseAfterPrinting)) return false;
    PressWith(VK_MENU, 'A');
    return true;
  });
  Script.Step("unchecked; the Style page", [&] {
    if (F->cbPauseAfterPrinting->Checked() || Shown(F->cbPauseAfterPrinting)) return false;
    EXPECT_FALSE(RptSettings->PauseAfterPrinting);
    PostClick(PeerHandle(*F->pcOptions), TabPoint(PeerHandle(*F->pcOptions), 2));
    return true;
  });
  // The up-down steps the number in its edit.
  RECT Arrows{};
  Script.Step("the group break columns' up arrow", [&] {
    if (F->pcOptions->ActivePage() != F->tsStyle) return false;
    GetClientRect(PeerHandle(*F->spNumGrpBrkCols), &Arrows);
    PostClick(PeerHandle(*F->spNumGrpBrkCols), Arrows.right / 2, 3);
    return true;
  });
  Script.Step("1; the down arrow", [&] {
    if (WindowText(PeerHandle(*F->edNumGrpBrkCols)) != "1") return false;
    EXPECT_EQ(F->spNumGrpBrkCols->Position(), 1);
    PostClick(PeerHandle(*F->spNumGrpBrkCols), Arrows.right / 2, Arrows.bottom - 3);
    return true;
  });
  // A right click on the columns grid opens its pop-up menu; Down and Enter choose.
  Script.Step("0; a right click on the columns grid", [&] {
    if (F->edNumGrpBrkCols->Text() != "0") return false;
    PostMessageA(PeerHandle(*F->dgColumns), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 30));
    PostMessageA(PeerHandle(*F->dgColumns), WM_RBUTTONUP, 0, MAKELPARAM(30, 30));
    return true;
  });
  Script.Step("the pop-up menu", [&] {
    HWND Menu = FindWindowA("#32768", nullptr);
    if (!Menu || !IsWindowVisible(Menu)) return false;
    SaveWindowScreenshot(Options, "setup-print-columns-popup");
    Press(VK_DOWN);
    Press(VK_RETURN);
    return true;
  });
  // The font dialog offers the fixed-pitch fonts from the text font's name, and hands it back.
  std::string FontName;
  Script.Step("field names shown; the text font's button", [&] {
    if (!F->itmDisplayFieldNames->Checked()) return false;
    FontName = F->edTextFontName->Text();
    ClickMiddle(*F->buTextFontName);
    return true;
  });
  Script.Step("OK in the font dialog", [&] {
    HWND Dialog = CommonDialog(Options);
    if (!Dialog) return false;
    SaveWindowScreenshot(Dialog, "setup-print-font-dialog");
    PostMessageA(Dialog, WM_COMMAND, IDOK, 0);
    return true;
  });
  // The mouse over a speed button, once the status line is free again: its long hint there,
  // its short one popped up.
  Script.Step("the mouse over Save Options", [&] {
    if (CommonDialog(Options) || F->Timer1->Enabled()) return false;
    EXPECT_EQ(F->edTextFontName->Text(), FontName);
    HWND Save = PeerHandle(*F->sbSaveOpts);
    RECT R;
    GetWindowRect(Save, &R);
    SetCursorPos((R.left + R.right) / 2, (R.top + R.bottom) / 2);
    PostMessageA(Save, WM_MOUSEMOVE, 0, MAKELPARAM((R.right - R.left) / 2, (R.bottom - R.top) / 2));
    return true;
  });
  Script.Step("its hints", [&] {
    if (ShownTipTool() != PeerHandle(*F->sbSaveOpts)) return false;
    EXPECT_EQ(F->paMsg->Caption(), " Save current report options (Disabled when Report Options are ReadOnly)");
    SaveWindowScreenshot(Options, "setup-print-hint");
    // The Help item of the menu bar asks for the window's help.
    PostMessageA(Options, WM_COMMAND, GetMenuItemID(GetMenu(Options), 2), 0);
    return true;
  });
  // An export has no titles: their page loses its tab.
  ChooseDestination(VK_DOWN);
  Script.Step("Export Data without the Titles tab", [&] {
    if (F->cbxOutputDest->Text() != "Export Data") return false;
    EXPECT_EQ(SendMessageA(PeerHandle(*F->pcOptions), TCM_GETITEMCOUNT, 0, 0), 4);
    return true;
  });
  ChooseDestination(VK_UP);
  ChooseDestination(VK_UP);
  // The frame's close box asks as the Close button does; Esc keeps the window.
  Script.Step("the close box", [&] {
    if (F->cbxOutputDest->Text() != "Printer") return false;
    PostMessageA(Options, WM_CLOSE, 0, 0);
    return true;
  });
  TCustomForm* Question = nullptr;
  Script.Step("the save question", [&] {
    Question = Screen->ActiveForm();
    if (!Question || Question->Name() != "MessageDialog" || !IsWindowVisible(PeerHandle(*Question))) return false;
    EXPECT_EQ(WindowText(PeerHandle(*Question)), MessageDlgCaption(TMsgDlgType::mtConfirmation));
    SaveWindowScreenshot(PeerHandle(*Question), "setup-print-save-question");
    Press(VK_F1);
    return true;
  });
  Script.Step("its help; Esc", [&] {
    if (Help.size() < 2) return false;
    Press(VK_ESCAPE);
    return true;
  });
  Script.Step("the window still open", [&] {
    if (Screen->ActiveForm() != F) return false;
    EXPECT_TRUE(IsWindowVisible(Options));
    EXPECT_EQ(F->ModalResult(), mrNone);
    SaveWindowScreenshot(Options, "setup-print-after-cancel");
    // The user leaves without saving, as No would.
    RptSettings->Modified = false;
    F->SetModalResult(mrCancel);
    return true;
  });
  PrintAndPlay(Script);
  EXPECT_TRUE(IsWindowEnabled(Window)) << "the book table was not enabled again";
  Application->OnHelp = nullptr;
  EXPECT_EQ(Help, (std::vector<int>{200, 999}));
  EXPECT_EQ(Script.Boxes, std::vector<std::string>{});
  // The same report as the engine's golden page: the window adds nothing and loses nothing.
  EXPECT_EQ(FileBytes(Report), FileBytes(SETUP_E2E_GOLDEN));
}
