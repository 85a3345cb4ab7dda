// The setup window as the user sees it, behind the book table's "&Print" with the options window
// on: its frame, each of its five pages brought to the front by a click on its tab, a field error
// that stops Print, a text file printed, the options saved and the close question answered,
// photographed for a person to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/VLMXGbl/PrintSettings.h"
#include "framework/Buttons.h"
#include "framework/CheckLst.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/SysUtils.h"
#include "tests/e2e/UserScript.h"
#include "tests/support/TempDir.h"
#include "windows/VLMXASel/VLMXASel.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPgrs/VLMXPgrs.h"
#include "windows/VLMXPrev/VLMXPrev.h"
#include "windows/VLMXPw/VLMXPw.h"

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

// The screen's 0xRRGGBB of a system colour.
std::uint32_t ScreenColour(int Index) {
  const COLORREF C = GetSysColor(Index);
  return GetRValue(C) << 16 | GetGValue(C) << 8 | GetBValue(C);
}

// Whether the screen shows the disabled tool-bar button engraved: nothing of its picture's own
// colours left. The screen shows what a window painted a moment later: the steps wait for it.
bool Engraved(const TControl& Button) {
  EXPECT_FALSE(IsWindowEnabled(PeerHandle(Button))) << Button.Name();
  const TScreenImage Shot = CaptureWindow(PeerHandle(Button));
  return std::all_of(Shot.Pixels.begin(), Shot.Pixels.end(), [](std::uint32_t Pixel) {
    return Pixel == ScreenColour(COLOR_BTNFACE) || Pixel == ScreenColour(COLOR_BTNHIGHLIGHT) ||
           Pixel == ScreenColour(COLOR_BTNSHADOW);
  });
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
    if (!F || F->StartPending() || F->Top() < 0) return false;
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
      ClickTab(*F->pcOptions, I);
      return true;
    });
    Script.Step("page " + std::to_string(I), [&, I] {
      if (F->pcOptions->ActivePage() != F->pcOptions->Pages(I)) return false;
      SaveWindowScreenshot(Options, "setup-print-" + std::to_string(I + 1) + "-" + F->pcOptions->Pages(I)->Caption());
      EXPECT_EQ(ClippedTexts(Options), std::vector<std::string>{}) << F->pcOptions->Pages(I)->Caption();
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
      if (!HasFocus(*F->cbxOutputDest)) return false;
      Press(Arrow);
      return true;
    });
  };
  // A margin out of range stops Print: the message stands, the Output page in front, the focus
  // back in the edit, and nothing printed.
  Script.Step("the Output tab", [&] {
    ClickTab(*F->pcOptions, 1);
    return true;
  });
  // The margin takes digits only: the letter typed among them is dropped.
  TypeInto(Script, [&] { return F->edPageMarginRight; }, "15a0");
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
  TypeInto(Script, [&] { return F->edOutputFileName; }, Report);
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
  // A label's letter takes the focus to its edit, its text selected: the digits typed next
  // replace it.
  const auto LabelThenDigits = [&](char Letter, TEdit* TfmVlxMain::*Edit, std::string Digits) {
    Script.Step(std::string("Alt+") + Letter, [&, Letter] {
      if (F->pcOptions->ActivePage() != F->tsGeneral) return false;
      PressWith(VK_MENU, Letter);
      return true;
    });
    Script.Step(std::string("digits after Alt+") + Letter, [&, Edit, Digits] {
      if (GetFocus() != PeerHandle(*(F->*Edit))) return false;
      TypeText(Digits);
      return true;
    });
    Script.Step(std::string("the digits in the edit of Alt+") + Letter, [&, Edit, Digits] {
      return WindowText(PeerHandle(*(F->*Edit))) == Digits && (F->*Edit)->Text() == Digits;
    });
  };
  LabelThenDigits('I', &TfmVlxMain::edInterPanelGap, "2");
  LabelThenDigits('A', &TfmVlxMain::edPanelsAcrossPage, "1");
  Script.Step("into the Print What group", [&] {
    if (F->pcOptions->ActivePage() != F->tsGeneral) return false;
    SaveWindowScreenshot(Options, "setup-print-label-accelerators");
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
    ClickTab(*F->pcOptions, 4);
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
    ClickTab(*F->pcOptions, 2);
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
    // An export is not previewed: its button shows it, and a click on it opens nothing.
    if (F->cbxOutputDest->Text() != "Export Data" || !Engraved(*F->sbPreview)) return false;
    EXPECT_EQ(SendMessageA(PeerHandle(*F->pcOptions), TCM_GETITEMCOUNT, 0, 0), 4);
    // Nor does Ctrl+W, the File menu's Preview.
    ClickMiddle(*F->sbPreview);
    PressWith(VK_CONTROL, 'W');
    return true;
  });
  Script.Step("no preview", [&] { return !fmVlxPreview; });
  ChooseDestination(VK_UP);
  ChooseDestination(VK_UP);
  // Letters typed into the destination while a print to the PDF printer runs change nothing.
  Script.Step("Print, typing meanwhile", [&] {
    if (F->cbxOutputDest->Text() != "Printer" || !HasFocus(*F->cbxOutputDest)) return false;
    PrintSettings->RunResult = 0;
    ClickMiddle(*F->sbPrint);
    TypeText("TF");
    return true;
  });
  Script.Step("printed; nothing typed", [&] {
    if (F->RunResult() != 1) return false;
    EXPECT_EQ(WindowText(PeerHandle(*F->cbxOutputDest)) + "," + F->cbxOutputDest->Text(), "Printer,Printer");
    SaveWindowScreenshot(Options, "setup-print-keys-during-print");
    return true;
  });
  // The frame's close box asks as the Close button does; Esc keeps the window.
  Script.Step("the close box", [&] {
    if (F->cbxOutputDest->Text() != "Printer") return false;
    PostMessageA(Options, WM_CLOSE, 0, 0);
    return true;
  });
  TCustomForm* Question = nullptr;
  Script.Step("the save question", [&] {
    if (!(Question = MessageDialog())) return false;
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

// A report whose settings the user cannot save, with a Setup password, the Style page hidden and
// the page title's margin and width adding up to more than the page: the window opens on that
// memo; the user corrects it, meets both passwords, hides every page and brings them back, asks
// for selected rows and thinks better of it, prints, and leaves.
TEST_F(SetupWindowE2E, GuardedReportFromCorrectionToPrint) {
  const std::string Out = SETUP_E2E_OUTPUT_DIR;
  const std::string SettingsFile = Out + "/Guarded.txt";
  const std::string Report = WindowsPath(Out + "/guarded-report.txt");
  SetFileAttributesA(SettingsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
  WriteSettings(*frmVersora->VlxVellumix1, SettingsFile,
                "DisplayReportOptionsWin=1\r\nPreviewFirst=0\r\nDisplayProgressWin=1\r\nPauseAfterPrinting=1\r\n"
                "CloseWinAfterPrinting=0\r\nOutputDest=1\r\nOutputFileName=" + Report +
                    "\r\nIfOutputFileExists=0\r\nDefaultPrinter=1\r\nHidePages=Style\r\nRptSetUpPW=s1\r\n"
                    "ioAskToPrintSelectedRows=1\r\nTxtCharsPageWid=200\r\nMemo,PgTi,MemoXPosPer=5\r\n"
                    "Memo,PgTi,MemoWidPer=99\r\nMemo,PgTi,MemoAlignment=0\r\nMemo,PgTi=START\r\nGUARDED\r\n"
                    "Memo,PgTi=END\r\nMemo,RptHdr,MemoVisible=0\r\nioColumnTitles=1\r\n");
  SetFileAttributesA(SettingsFile.c_str(), FILE_ATTRIBUTE_READONLY);
  const char* const TooWide = "  Report memo's \"Left Margin\" + \"Memo Width\" must be <= 100%";
  TfmVlxMain* F = nullptr;
  HWND Options = nullptr, Tabs = nullptr;
  const auto OnPage = [&](TTabSheet* TfmVlxMain::*Page) { return F->pcOptions->ActivePage() == F->*Page; };
  const auto Click = [](TControl* Control) { ClickMiddle(*Control); };
  TUserScript S;
  S.Step("the window on the memo that does not fit", [&] {
    F = fmVlxMain;
    if (!F || F->StartPending() || !IsWindowVisible(PeerHandle(*F))) return false;
    // The warning painted yellow, not only written.
    const TScreenImage Warning = CaptureWindow(PeerHandle(*F->paMsg));
    if (std::count(Warning.Pixels.begin(), Warning.Pixels.end(), 0xFFFF00u) < 1000) return false;
    Options = PeerHandle(*F);
    Tabs = PeerHandle(*F->pcOptions);
    EXPECT_TRUE(OnPage(&TfmVlxMain::tsTitles));
    EXPECT_EQ(F->lbxMemoLocation->ItemIndex(), int(PgTi));
    EXPECT_EQ(WindowText(PeerHandle(*F->paMsg)), TooWide);
    EXPECT_EQ(SendMessageA(Tabs, TCM_GETITEMCOUNT, 0, 0), 4);
    SaveWindowScreenshot(Options, "guarded-1-memo-out-of-page");
    Click(F->sbPrint);
    return true;
  });
  S.Step("Print refused; Save disabled", [&] {
    if (F->RunResult() != 0 || F->paMsg->Caption() != TooWide || !Engraved(*F->sbSaveOpts)) return false;
    Click(F->edMemoWidPer);
    return true;
  });
  // A width typed, then Ctrl with an arrow from the memo's text.
  const auto WidthThenMove = [&](std::string Width, WORD Arrow) {
    S.Step("width " + Width, [&, Width] {
      if (GetFocus() != PeerHandle(*F->edMemoWidPer)) return false;
      Retype(Width);
      return true;
    });
    S.Step("into the memo's text", [&, Width] {
      if (F->edMemoWidPer->Text() != Width) return false;
      Click(F->memRptMemo);
      return true;
    });
    S.Step("Ctrl+arrow from there", [&, Arrow] {
      if (GetFocus() != PeerHandle(*F->memRptMemo)) return false;
      PressWith(VK_CONTROL, Arrow);
      return true;
    });
  };
  // Still too wide: Ctrl+Down stays on this memo, and says why.
  WidthThenMove("98", VK_DOWN);
  S.Step("still on the page title", [&] {
    if (F->paMsg->Caption() != TooWide) return false;
    EXPECT_EQ(F->lbxMemoLocation->ItemIndex(), int(PgTi));
    Click(F->edMemoWidPer);
    return true;
  });
  WidthThenMove("95", VK_UP);
  S.Step("drawn on silver; the Setup tab", [&] {
    if (F->lbxMemoLocation->ItemIndex() != int(RptHdr)) return false;
    const TScreenImage Memo = CaptureWindow(PeerHandle(*F->memRptMemo));
    if (Memo.At(Memo.Width / 2, Memo.Height - 6) != 0xC0C0C0u) return false;
    EXPECT_EQ(RptSettings->RptMemo(PgTi)->WidPer, 95);
    SaveWindowScreenshot(Options, "guarded-2-invisible-memo");
    ClickTab(*F->pcOptions, 3);
    return true;
  });
  // A wrong Setup password is cleared for the next try; Esc gives up and goes back.
  const auto EnterPassword = [&](std::string Typed) {
    S.Step("the password " + Typed, [Typed] {
      if (!Showing(fmVlxPassword)) return false;
      TypeText(Typed);
      Press(VK_RETURN);
      return true;
    });
  };
  EnterPassword("zz");
  S.Step("refused and cleared; Esc", [&] {
    if (!Showing(fmVlxPassword) || fmVlxPassword->paStatus->Caption() != "Password is Incorrect") return false;
    EXPECT_EQ(WindowText(PeerHandle(*fmVlxPassword->edPassword)), "");
    EXPECT_EQ(ClippedTexts(PeerHandle(*fmVlxPassword)), std::vector<std::string>{});
    SaveWindowScreenshot(PeerHandle(*fmVlxPassword), "guarded-3-password-refused");
    Press(VK_ESCAPE);
    return true;
  });
  S.Step("back where the user came from; Ctrl+F10", [&] {
    if (fmVlxPassword || !OnPage(&TfmVlxMain::tsTitles)) return false;
    PressWith(VK_CONTROL, VK_F10);
    return true;
  });
  EnterPassword("S1");
  S.Step("every page, the Setup page with its controls", [&] {
    if (fmVlxPassword || !OnPage(&TfmVlxMain::tsSetup)) return false;
    EXPECT_EQ(SendMessageA(Tabs, TCM_GETITEMCOUNT, 0, 0), 5);
    EXPECT_TRUE(IsWindowVisible(PeerHandle(*F->cbShowGeneralPage)));
    return true;
  });
  // Every page unticked, then Ctrl+F10 twice: no page, and all of them back.
  for (TCheckBox* TfmVlxMain::*Box : {&TfmVlxMain::cbShowGeneralPage, &TfmVlxMain::cbShowOutputPage,
                                      &TfmVlxMain::cbShowTitlesPage, &TfmVlxMain::cbShowSetupPage})
    S.Step("a page unticked", [&, Box] {
      if (!(F->*Box)->Checked()) return true;
      Click(F->*Box);
      return false;
    });
  S.Step("Ctrl+F10: no page", [&] {
    if (RptSettings->HidePages != "General,Output,Style,Titles,Setup") return false;
    PressWith(VK_CONTROL, VK_F10);
    return true;
  });
  RECT Whole{};
  S.Step("the bars only; Ctrl+F10", [&] {
    if (F->paMiddle->Visible()) return false;
    SaveWindowScreenshot(Options, "guarded-4-no-page");
    PressWith(VK_CONTROL, VK_F10);
    return true;
  });
  S.Step("the pages and the whole status bar back", [&] {
    if (!F->paMiddle->Visible()) return false;
    // Their texts drawn, not only their places kept.
    for (TPanel* Panel : {F->paRptStatus, F->paDestination, F->paPagesAcross}) {
      const TScreenImage Shot = CaptureWindow(PeerHandle(*Panel));
      if (std::count(Shot.Pixels.begin(), Shot.Pixels.end(), 0u) == 0) return false;
    }
    RECT Bar{}, Dest{};
    GetWindowRect(PeerHandle(*F->paBottom), &Bar);
    GetWindowRect(PeerHandle(*F->paDestination), &Dest);
    EXPECT_TRUE(IsWindowVisible(PeerHandle(*F->paDestination)) && IsWindowVisible(PeerHandle(*F->paRptStatus)));
    EXPECT_EQ(Dest.right, Bar.right - 0) << "the destination panel is not at the bar's right end";
    EXPECT_GE(Dest.right - Dest.left, 40);
    GetClientRect(Options, &Whole);
    EXPECT_EQ(Whole.bottom, 431);
    SaveWindowScreenshot(Options, "guarded-5-pages-back");
    ClickTab(*F->pcOptions, 2);
    return true;
  });
  // The Style page, hidden until now, shows each option's tick as it is stored from its first
  // paint: a tick is dark pixels inside the row's box.
  S.Step("the Style page's ticks", [&] {
    if (!OnPage(&TfmVlxMain::tsStyle)) return false;
    HWND List = PeerHandle(*F->lbxStyleOpts);
    const TScreenImage Shot = CaptureWindow(List);
    RECT Frame{};
    GetWindowRect(List, &Frame);
    POINT Origin{0, 0};
    ClientToScreen(List, &Origin);
    for (int Row = 0; Row < F->lbxStyleOpts->Items().Count(); ++Row) {
      RECT Item{};
      SendMessageA(List, LB_GETITEMRECT, Row, reinterpret_cast<LPARAM>(&Item));
      const int Middle = Origin.y - Frame.top + (Item.top + Item.bottom) / 2;
      int Dark = 0;
      for (int Y = Middle - 3; Y <= Middle + 3; ++Y)
        for (int X = Origin.x - Frame.left + 6; X <= Origin.x - Frame.left + 11; ++X)
          Dark += Shot.At(X, Y) == 0u;
      if ((Dark > 0) != F->lbxStyleOpts->Checked(Row)) return false;
    }
    for (int Row = 0; Row < F->lbxStyleOpts->Items().Count(); ++Row) {
      const auto* Option = dynamic_cast<TStyleOptsData*>(F->lbxStyleOpts->Items().Objects(Row));
      EXPECT_EQ(F->lbxStyleOpts->Checked(Row), RptSettings->ItemOpt(Option->Index)) << F->lbxStyleOpts->Items()[Row];
    }
    SaveWindowScreenshot(Options, "guarded-5c-style");
    EXPECT_EQ(ClippedTexts(Options), std::vector<std::string>{});
    const int Row = F->lbxStyleOpts->Items().IndexOf("Column Titles");
    PostClick(List, ListBoxItemPoint(List, Row));
    return true;
  });
  S.Step("Column Titles unticked by a click on its box", [&] {
    if (RptSettings->ItemOpt(ioColumnTitles)) return false;
    ClickTab(*F->pcOptions, 0);
    return true;
  });
  // The selected rows asked for, and the question cancelled: Print What is as it was.
  S.Step("Selected Rows", [&] {
    if (!OnPage(&TfmVlxMain::tsGeneral)) return false;
    SaveWindowScreenshot(Options, "guarded-5b-general");
    PostClick(PeerHandle(*F->rbPrintWhatSelectedRows), 6, 8);
    return true;
  });
  S.Step("the question; Cancel Report", [&] {
    if (!Showing(fmvlxAskSelectedRows)) return false;
    EXPECT_EQ(ClippedTexts(PeerHandle(*fmvlxAskSelectedRows)), std::vector<std::string>{});
    SaveWindowScreenshot(PeerHandle(*fmvlxAskSelectedRows), "guarded-6-selected-rows");
    Press(VK_ESCAPE);
    return true;
  });
  S.Step("Print What as before; the pages-across panel", [&] {
    if (fmvlxAskSelectedRows) return false;
    EXPECT_TRUE(F->rbPrintWhatAll->Checked());
    EXPECT_TRUE(Shown(F->rbPrintWhatAll) && !Shown(F->rbPrintWhatSelectedRows));
    EXPECT_EQ(RptSettings->PrintWhat, pwAll);
    Click(F->paPagesAcross);
    return true;
  });
  S.Step("the report's id in the caption; Print", [&] {
    if (WindowText(Options).find("...ReportId: \"") == std::string::npos) return false;
    Click(F->sbPrint);
    return true;
  });
  S.Step("the summary", [&] {
    if (!Showing(fmVlxProgress) || !fmVlxProgress->bbOk->Visible()) return false;
    EXPECT_EQ(ClippedTexts(PeerHandle(*fmVlxProgress)), std::vector<std::string>{});
    SaveWindowScreenshot(PeerHandle(*fmVlxProgress), "guarded-7-summary");
    Press(VK_RETURN);
    return true;
  });
  // Help without its file shows nothing; the user leaves.
  S.Step("Help", [&] {
    if (fmVlxProgress || F->RunResult() != 1) return false;
    PostMessageA(Options, WM_COMMAND, GetMenuItemID(GetMenu(Options), 2), 0);
    return true;
  });
  S.Step("leave", [&] {
    RptSettings->Modified = false;
    F->SetModalResult(mrCancel);
    return true;
  });
  PrintAndPlay(S);
  SetFileAttributesA(SettingsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(S.Boxes, std::vector<std::string>{});
  // What the user chose reached the report: the books without their column headings, the page
  // title at 5% of its 200 characters.
  const std::string Printed = FileBytes(Report);
  EXPECT_NE(Printed.find("Genesis"), std::string::npos) << Printed.substr(0, 2000);
  EXPECT_EQ(Printed.find("NAME"), std::string::npos) << Printed.substr(0, 2000);
  const size_t Title = Printed.find("GUARDED");
  ASSERT_NE(Title, std::string::npos) << Printed.substr(0, 2000);
  const size_t LineStart = Printed.rfind('\n', Title) + 1;
  EXPECT_EQ(Printed.substr(LineStart, Title - LineStart), std::string(10, ' '));
}

// A report stored with a typeset quality the window does not offer, printing to a file: the
// start opens the window (not only its errors) with the quality named on the Style page, and
// the user prints to a file in the drive's root.
TEST_F(SetupWindowE2E, AStoredQualityTheWindowDoesNotOfferOpensItAndARootFilePrints) {
  const std::string Out = SETUP_E2E_OUTPUT_DIR;
  const std::string SettingsFile = Out + "/StoredQuality.txt";
  const std::string RootFile = "C:\\out.txt";
  DeleteFileA(RootFile.c_str());
  WriteSettings(*frmVersora->VlxVellumix1, SettingsFile,
                "DisplayReportOptionsWin=0\r\nPreviewFirst=0\r\nDisplayProgressWin=0\r\nPauseAfterPrinting=0\r\n"
                "CloseWinAfterPrinting=0\r\nOutputQuality=2\r\nOutputDest=1\r\nIfOutputFileExists=0\r\n"
                "NumFixedCols=0\r\n");
  TUserScript Script;
  TfmVlxMain* F = nullptr;
  HWND Options = nullptr;
  Script.Step("the options window with the quality named", [&] {
    F = fmVlxMain;
    if (!F || F->StartPending() || F->Top() < 0) return false;
    Options = PeerHandle(*F);
    if (!Options || !IsWindowVisible(Options)) return false;
    EXPECT_EQ(WindowText(PeerHandle(*F->paMsg)), "  Output Quality \"2\" is invalid. Please choose a different one.");
    EXPECT_EQ(F->pcOptions->ActivePage(), F->tsStyle);
    EXPECT_EQ(F->cbxOutputQuality->Text(), "IBM LineDraw");
    SaveWindowScreenshot(Options, "stored-quality-refused");
    return true;
  });
  TypeInto(Script, [&] { return F->edOutputFileName; }, RootFile);
  Script.Step("out of the file name", [&] {
    Press(VK_TAB);
    return true;
  });
  Script.Step("Print to the root", [&] {
    if (RptSettings->OutputFileName != RootFile) return false;
    ClickMiddle(*F->sbPrint);
    return true;
  });
  Script.Step("the root's file printed", [&] {
    if (F->RunResult() == 0) return false;
    EXPECT_EQ(F->RunResult(), 1) << WindowText(PeerHandle(*F->paMsg));
    SaveWindowScreenshot(Options, "stored-quality-root-file-printed");
    RptSettings->Modified = false;
    F->SetModalResult(mrCancel);
    return true;
  });
  PrintAndPlay(Script);
  EXPECT_EQ(Script.Boxes, std::vector<std::string>{});
  EXPECT_NE(FileBytes(RootFile).find("Genesis"), std::string::npos) << FileBytes(RootFile).substr(0, 400);
  DeleteFileA(RootFile.c_str());
}
