// The preview window as the book-table program's user meets it under Wine: "&Print" with the
// default settings opens the preview first, and a user played by a system timer pages, zooms,
// copies, prints the current page on the PDF printer and asks for the report options; sends the
// report to a text file from the preview's own tool bar, types a bad page size there, browses
// for another file. A grid of generated rows shows the progress window of the last-page search.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/SysUtils.h"
#include "tests/e2e/UserScript.h"
#include "tests/support/TempDir.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPgrs/VLMXPgrs.h"
#include "windows/VLMXPrev/VLMXPrev.h"

namespace {

bool PreviewUp() {
  return fmVlxPreview && fmVlxPreview->HandleAllocated() && IsWindowVisible(PeerHandle(*fmVlxPreview)) &&
         !fmVlxPreview->Busy();
}
int Page() { return PrintSettings ? PrintSettings->CurVertPage : -1; }
std::string Shown() { return fmVlxPreview->memPreview->Text(); }
bool OnScreen(const TControl* Control) { return IsWindowVisible(PeerHandle(*Control)); }
// The panel's text is not cut: it fits the panel, measured in the panel's own font.
bool Fits(const TPanel* Panel) {
  return Backend::ScreenTextDevice().TextExtent(Panel->Caption(), Panel->Font()).cx < Panel->Width();
}

class PreviewWindow : public BookTableTest {
protected:
  void SetUp() override {
    BookTableTest::SetUp();
    CreateDirectoryA(Out.c_str(), nullptr);
  }
  // The report's section: only what the test needs differs from the defaults (options window
  // and preview first on).
  void Settings(const std::string& Keys) {
    WriteSettings(*frmVersora->VlxVellumix1, Out + "/Preview.txt",
                  "DefaultPrinter=1\r\nPauseAfterPrinting=0\r\nReportDesc=Preview " + Token + "\r\n" + Keys);
  }
  void Run(TUserScript& User) {
    PrintAndPlay(User);
    EXPECT_EQ(User.Boxes, std::vector<std::string>{});
  }

  const std::string Out = VERSORA_E2E_OUTPUT_DIR;
  const std::string Token = "PRV" + std::to_string(GetCurrentProcessId()) + "T" + std::to_string(GetTickCount());
};

}  // namespace

TEST_F(PreviewWindow, PagesZoomsCopiesPrintsTheCurrentPageAndReturnsToTheOptions) {
  // A tall page title leaves room for some 25 books a page: the report has three pages or more.
  std::string Title = "Memo,PgTi=START\r\nTHE 66 BOOKS\r\n";
  for (int Line = 1; Line < 52; ++Line) Title += "~ " + std::to_string(Line) + "\r\n";
  // Pages are compared as text: their footer carries the page number, not the clock.
  Settings("DisplayProgressWin=0\r\n" + Title + "Memo,PgTi=END\r\nMemo,PgNum=START\r\n\r^PC\r\nMemo,PgNum=END\r\n");
  std::vector<std::string> Pages(4);
  std::string Last;
  int Size = 0;
  TfmVlxPreview* P = nullptr;
  TUserScript User;
  User.Steps({
      // Page 1 first, the setup window out of sight.
      [&] {
        if (!PreviewUp() || Page() != 1 || Shown().empty()) return false;
        P = fmVlxPreview;
        EXPECT_EQ(fmVlxMain->Top(), -5000);
        EXPECT_EQ(WindowText(PeerHandle(*P)).substr(0, 14), "Report Preview");
        EXPECT_EQ(P->paPageNum->Caption().back(), '1');
        EXPECT_FALSE(P->sbPrevPage->Enabled());
        EXPECT_FALSE(IsWindowEnabled(PeerHandle(*P->sbPrevPage))) << "a disabled button's window takes clicks";
        // The page keys work at once: the text box has the focus.
        EXPECT_EQ(GetFocus(), PeerHandle(*P->memPreview));
        Pages[1] = Shown();
        SaveWindowScreenshot(PeerHandle(*P), "preview-page1");
        // The printer's tool bar: its setup button, no file to name; a status line told whole.
        EXPECT_TRUE(OnScreen(P->sbPrinterSetup));
        EXPECT_FALSE(OnScreen(P->edOutputFileName) || OnScreen(P->buBrowseFile) || OnScreen(P->cbxIfOutputFileExists));
        EXPECT_EQ(P->paDestination->Caption(), fmVlxMain->paDestination->Caption());
        EXPECT_EQ(P->paRptWidMsg->Caption().rfind("Total Report Width: ", 0), 0u) << P->paRptWidMsg->Caption();
        EXPECT_EQ(P->paMsg->Caption().rfind(" Font: ", 0), 0u) << P->paMsg->Caption();
        for (const TPanel* Panel : {P->paDestination, P->paRptWidMsg, P->paMsg})
          EXPECT_TRUE(Fits(Panel)) << Panel->Name() << ": " << Panel->Caption();
        ClickMiddle(*P->sbNextPage);
        return true;
      },
      [&] {
        if (Page() != 2) return false;
        Pages[2] = Shown();
        EXPECT_NE(Pages[2], Pages[1]);
        // The mouse over a button: its long hint in the preview's message line.
        const HWND Print = PeerHandle(*P->sbPrint);
        PostMessageA(Print, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        return true;
      },
      [&] {
        if (P->paMsg->Caption() != " Print the report to the Output Destination") return false;
        ClickMiddle(*P->sbNextPage);
        return true;
      },
      // Going back over the pages is the restart points' test's (RestartCompositionTest).
      [&] {
        if (Page() != 3) return false;
        ClickMiddle(*P->sbLastPage);
        return true;
      },
      [&] {
        // The search lets messages through while it runs: the last page stands once its status
        // message is gone.
        if (P->sbNextPage->Enabled() || P->paMsg->Caption().find("Searching") != std::string::npos) return false;
        Last = Shown();
        EXPECT_FALSE(P->sbLastPage->Enabled());
        EXPECT_GE(Page(), 3);
        SaveWindowScreenshot(PeerHandle(*P), "preview-last");
        // "150" typed into the zoom combo takes effect at its third character.
        Size = P->memPreview->Font().Size();
        P->cmbZoomLevel->SetFocus();
        P->cmbZoomLevel->SetText("");
        Press('1');
        Press('5');
        return true;
      },
      [&] {
        if (P->cmbZoomLevel->Text() != "15") return false;
        EXPECT_EQ(P->memPreview->Font().Size(), Size);
        Press('0');
        return true;
      },
      [&] {
        if (P->memPreview->Font().Size() == Size) return false;
        EXPECT_EQ(P->memPreview->Font().Size(), P->BaseFontSize * 150 / 100);
        // "10%" chosen from the list beeps and keeps the zoom.
        Size = P->memPreview->Font().Size();
        HWND Combo = PeerHandle(*P->cmbZoomLevel);
        SendMessageA(Combo, CB_SETCURSEL, 15, 0);
        SendMessageA(GetParent(Combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Combo), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Combo));
        return true;
      },
      [&] {
        if (P->cmbZoomLevel->Text() != "10%") return false;
        EXPECT_EQ(P->memPreview->Font().Size(), Size);
        ClickMiddle(*P->sbFitPage);
        return true;
      },
      // Fitted in the window: one line more than the page holds fills the box, and the zoom
      // shown is not applied again in whole points.
      [&] {
        if (P->cmbZoomLevel->Text() == "10%") return false;
        Size = static_cast<int>(P->memPreview->ClientHeight() / (PrintSettings->PageHeight + 1.0) + 0.5);
        EXPECT_EQ(P->memPreview->Font().Height(), Size);
        // Leaving the zoom combo as the fit left it keeps the fit.
        P->memPreview->SetFocus();
        return true;
      },
      [&] {
        if (GetFocus() != PeerHandle(*P->memPreview)) return false;
        EXPECT_EQ(P->memPreview->Font().Height(), Size);
        ClickMiddle(*P->sbClipBoard);
        return true;
      },
      [&] {
        if (P->paMsg->Caption().find("copied") == std::string::npos) return false;
        EXPECT_EQ(P->paMsg->Caption(), "  Page has been copied to Windows clipboard");
        EXPECT_EQ(ClipboardText(), Shown());
        // The current page, chosen with the keyboard, to the PDF printer.
        P->cbxPrintWhatPages->SetFocus();
        Press(VK_HOME);
        Press(VK_DOWN);
        return true;
      },
      [&] {
        if (P->cbxPrintWhatPages->ItemIndex() != 1) return false;
        // The sheet must show the page as the preview does (PreviewE2EPdfCheck).
        std::ofstream(Out + "/pdf-job.txt", std::ios::binary | std::ios::trunc) << Token << "\n";
        std::ofstream(Out + "/page.txt", std::ios::binary | std::ios::trunc) << Last << "\f";
        PrintSettings->RunResult = 0;
        ClickMiddle(*P->sbPrint);
        return true;
      },
      [&] {
        if (PrintSettings->RunResult == 0) return false;
        EXPECT_EQ(PrintSettings->RunResult, 1);
        EXPECT_EQ(Shown(), Last) << "printing leaves the preview on its page";
        // Ctrl+Down moves the caret a line down, and the row and column panel follows it.
        P->memPreview->SetFocus();
        P->memPreview->SetCaretPos({0, 0});
        PressWith(VK_CONTROL, VK_DOWN);
        return true;
      },
      [&] {
        if (P->paRowCol->Caption() != "    2:   1") return false;
        EXPECT_EQ(P->memPreview->CaretPos(), (TPoint{0, 1}));
        // Ctrl+M maximizes the window, and again gives it its size back.
        PressWith(VK_CONTROL, 'M');
        return true;
      },
      [&] {
        if (!IsZoomed(PeerHandle(*P))) return false;
        PressWith(VK_CONTROL, 'M');
        return true;
      },
      [&] {
        if (IsZoomed(PeerHandle(*P))) return false;
        PressWith(VK_CONTROL, 'O');
        return true;
      },
      // "Report Options" closes the preview and shows the setup window.
      [&] {
        if (fmVlxPreview || !fmVlxMain || fmVlxMain->Top() == -5000 || !IsWindowVisible(PeerHandle(*fmVlxMain)))
          return false;
        SaveWindowScreenshot(PeerHandle(*fmVlxMain), "preview-options");
        // The setup window's own Preview command opens it again on page 1; Esc comes back.
        ClickMiddle(*fmVlxMain->sbPreview);
        return true;
      },
      [&] {
        if (!PreviewUp() || Page() != 1 || Shown() != Pages[1]) return false;
        Press(VK_ESCAPE);
        return true;
      },
      [&] {
        if (fmVlxPreview || !IsWindowVisible(PeerHandle(*fmVlxMain))) return false;
        EXPECT_EQ(fmVlxMain->cbxOutputDest->Text(), "Printer");
        fmVlxMain->SetModalResult(mrCancel);
        return true;
      },
  });
  Run(User);
}

// Enough rows for the last-page search to outlast the progress window's 500 ms between repaints
// on a fast machine: it shows the page it scans; a second request, after the search completed,
// shows the last page at once.
TEST_F(PreviewWindow, LastPageSearchShowsItsProgressOverManyRows) {
  constexpr int Rows = 120000;
  TStringGrid& Grid = *frmVersora->strgrd;
  Grid.SetRowCount(Rows + 1);
  for (int R = 1; R <= Rows; ++R)
    for (int C = 0; C < Grid.ColCount(); ++C) Grid.SetCells(C, R, "R" + std::to_string(R) + "C" + std::to_string(C));
  Settings("DisplayProgressWin=1\r\n");
  bool ProgressSeen = false;
  int LastPage = 0;
  // A busy machine may take a minute or two over the rows: as long as the whole run may last.
  TUserScript User(150000);
  User.Steps({
      [&] {
        if (!PreviewUp() || Page() != 1) return false;
        ClickMiddle(*fmVlxPreview->sbLastPage);
        return true;
      },
      [&] {
        if (!ProgressSeen && fmVlxProgress && fmVlxProgress->HandleAllocated() &&
            IsWindowVisible(PeerHandle(*fmVlxProgress)) && !fmVlxProgress->lbPageNum->Caption().empty()) {
          ProgressSeen = true;
          EXPECT_EQ(WindowText(PeerHandle(*fmVlxProgress)), "Searching for last report page");
          EXPECT_EQ(fmVlxProgress->lbPageNum->Caption().rfind("Scanning: Page ", 0), 0u)
              << fmVlxProgress->lbPageNum->Caption();
          SaveWindowScreenshot(PeerHandle(*fmVlxProgress), "preview-search-progress");
        }
        if (fmVlxPreview->Busy() || fmVlxPreview->sbNextPage->Enabled()) return false;
        LastPage = Page();
        EXPECT_TRUE(fmVlxPreview->LastPageKnown);
        EXPECT_NE(Shown().find("R" + std::to_string(Rows) + "C0"), std::string::npos);
        ClickMiddle(*fmVlxPreview->sbFirstPage);
        return true;
      },
      [&] {
        if (Page() != 1) return false;
        ClickMiddle(*fmVlxPreview->sbLastPage);
        // Known already: no search and no progress window.
        EXPECT_EQ(fmVlxProgress, nullptr);
        return true;
      },
      [&] {
        if (Page() != LastPage) return false;
        EXPECT_EQ(fmVlxProgress, nullptr);
        fmVlxPreview->Close();
        return true;
      },
  });
  Run(User);
  EXPECT_TRUE(ProgressSeen);
}

// The output choices of the preview's tool bar are the ones its Print uses and the setup window
// shows: a text file named and appended to there, a page size refused in the preview's own
// message line with its edit focused, a file chosen with "..." shown in both windows.
TEST_F(PreviewWindow, OutputChoicesMadeInThePreviewAreWhatItsPrintUses) {
  Settings("DisplayProgressWin=0\r\n");
  const std::string Report = WindowsPath(Out + "/appended.txt"), Browsed = WindowsPath(Out + "/browsed");
  std::ofstream(Report, std::ios::binary | std::ios::trunc) << "FIRST LINE\r\n";
  const std::string Refused = "  Lines Per Page must be between 10 and 999 lines";
  TfmVlxPreview* P = nullptr;
  TUserScript User;
  // A keyboard choice in one of the preview's lists, its text once it has the focus.
  const auto Choose = [&](TComboBox* TfmVlxPreview::*List, std::vector<WORD> Keys) {
    User.Step("into the list", [&, List] {
      if (!PreviewUp()) return false;
      P = fmVlxPreview;
      (P->*List)->SetFocus();
      return true;
    });
    User.Step("keys in the list", [&, List, Keys] {
      if (!HasFocus(*(P->*List))) return false;
      for (WORD Vk : Keys) Press(Vk);
      return true;
    });
  };
  Choose(&TfmVlxPreview::cbxOutputDest, {VK_DOWN});
  TypeInto(User, [&] { return P->edOutputFileName; }, Report);
  User.Step("the file's controls", [&] {
    if (P->cbxOutputDest->Text() != "Text File" || P->edOutputFileName->Text() != Report) return false;
    EXPECT_EQ(fmVlxMain->cbxOutputDest->Text(), "Text File");
    EXPECT_FALSE(OnScreen(P->sbPrinterSetup));
    EXPECT_TRUE(OnScreen(P->buBrowseFile) && OnScreen(P->cbxIfOutputFileExists) && OnScreen(P->edLinesPerPage));
    return true;
  });
  Choose(&TfmVlxPreview::cbxIfOutputFileExists, {VK_DOWN});
  User.Step("Print to the file, appended", [&] {
    if (P->cbxIfOutputFileExists->Text() != "Append") return false;
    // Leaving the name for the list handed it to the setup window.
    EXPECT_EQ(fmVlxMain->edOutputFileName->Text(), Report);
    EXPECT_EQ(fmVlxMain->cbxIfOutputFileExists->Text(), "Append");
    EXPECT_EQ(P->paDestination->Caption(), fmVlxMain->paDestination->Caption());
    EXPECT_TRUE(Fits(P->paDestination)) << P->paDestination->Caption();
    SaveWindowScreenshot(PeerHandle(*P), "preview-text-file");
    PrintSettings->RunResult = 0;
    // The second click comes while the first print runs: it starts no print of its own.
    ClickMiddle(*P->sbPrint);
    ClickMiddle(*P->sbPrint);
    return true;
  });
  User.Step("the file appended to", [&] {
    if (PrintSettings->RunResult == 0) return false;
    EXPECT_EQ(PrintSettings->RunResult, 1);
    const std::string Text = FileBytes(Report);
    EXPECT_EQ(Text.rfind("FIRST LINE\r\n", 0), 0u) << Text.substr(0, 200);
    const size_t Last = Text.find("Revelation");
    EXPECT_NE(Last, std::string::npos);
    EXPECT_EQ(Text.find("Revelation", Last + 1), std::string::npos) << "printed once";
    return true;
  });
  TypeInto(User, [&] { return P->edLinesPerPage; }, "5", VK_RETURN);
  User.Step("the page size refused in the preview", [&] {
    if (P->paMsg->Caption() != Refused) return false;
    EXPECT_EQ(GetFocus(), PeerHandle(*P->edLinesPerPage));
    // The user's own change: the message stands 5 seconds, not the 15 of the start.
    EXPECT_EQ(fmVlxMain->Timer1->Interval(), 5000u);
    SaveWindowScreenshot(PeerHandle(*P), "preview-field-error");
    // Print says so again, and prints nothing.
    P->paMsg->SetCaption("");
    PrintSettings->RunResult = 0;
    ClickMiddle(*P->sbPrint);
    return true;
  });
  User.Step("Print refused", [&] {
    if (P->paMsg->Caption() != Refused) return false;
    EXPECT_EQ(PrintSettings->RunResult, 0);
    EXPECT_EQ(GetFocus(), PeerHandle(*P->edLinesPerPage));
    Retype("60");
    Press(VK_RETURN);
    return true;
  });
  // The keys reach the edit before the click is posted: a click posted with them would overtake.
  User.Step("the page size taken; ...", [&] {
    if (fmVlxMain->edLinesPerPage->Text() != "60" || P->paMsg->Caption() == Refused) return false;
    ClickMiddle(*P->buBrowseFile);
    return true;
  });
  User.Step("a name in the save dialog", [&] {
    HWND Dialog = GetActiveWindow();
    if (!Dialog || Dialog == PeerHandle(*P) || !IsWindowVisible(Dialog)) return false;
    HWND Name = GetDlgItem(Dialog, 0x480);    // the file name box
    if (!Name) Name = GetDlgItem(Dialog, 0x47C);  // or its combo box
    if (!Name) return false;
    SetWindowTextA(Name, Browsed.c_str());
    PostMessageA(Dialog, WM_COMMAND, IDOK, 0);
    return true;
  });
  User.Step("the chosen name in both windows", [&] {
    if (!SameText(P->edOutputFileName->Text(), Browsed + ".txt")) return false;
    EXPECT_EQ(fmVlxMain->edOutputFileName->Text(), P->edOutputFileName->Text());
    EXPECT_EQ(RptSettings->OutputFileName, P->edOutputFileName->Text());
    EXPECT_EQ(P->paDestination->Caption(), fmVlxMain->paDestination->Caption());
    return true;
  });
  // Export: the name takes the export's extension, in both windows.
  Choose(&TfmVlxPreview::cbxOutputDest, {VK_DOWN});
  User.Step("the export's file", [&] {
    if (P->cbxOutputDest->Text() != "Export Data") return false;
    EXPECT_TRUE(SameText(P->edOutputFileName->Text(), Browsed + ".ASC")) << P->edOutputFileName->Text();
    EXPECT_EQ(fmVlxMain->edOutputFileName->Text(), P->edOutputFileName->Text());
    EXPECT_FALSE(OnScreen(P->sbPrinterSetup) || OnScreen(P->edLinesPerPage));
    SaveWindowScreenshot(PeerHandle(*P), "preview-export");
    return true;
  });
  Choose(&TfmVlxPreview::cbxOutputDest, {VK_UP, VK_UP});
  User.Step("the printer's tool bar again", [&] {
    if (P->cbxOutputDest->Text() != "Printer" || !OnScreen(P->sbPrinterSetup)) return false;
    EXPECT_FALSE(OnScreen(P->edOutputFileName) || OnScreen(P->edLinesPerPage));
    EXPECT_EQ(fmVlxMain->cbxOutputDest->Text(), "Printer");
    return true;
  });
  // Back to the text file, and the preview closed: closing it asks about what the user changed
  // in the preview. Cancel keeps the preview open, on screen and answering, with the setup
  // window still out of sight; Yes at the next close keeps the change for the next Print, and
  // the setup window closes behind the preview without asking again.
  Choose(&TfmVlxPreview::cbxOutputDest, {VK_DOWN});
  std::string Kept;
  User.Step("Close", [&] {
    if (P->cbxOutputDest->Text() != "Text File") return false;
    Kept = P->edOutputFileName->Text();
    ClickMiddle(*P->sbExit);
    return true;
  });
  // The save question, answered with Button once it shows.
  const auto AnswerSaveQuestion = [&](const std::string& Button) {
    return [&, Button] {
      TCustomForm* Dialog = MessageDialog();
      if (!Dialog) return false;
      EXPECT_EQ(MessageText(*Dialog), "Report Settings have been modified.\r\n\r\nSave New Report Settings?");
      if (Button == "YesButton") SaveWindowScreenshot(PeerHandle(*Dialog), "preview-save-question");
      ClickDialogButton(*Dialog, Button);
      return true;
    };
  };
  User.Step("the save question; Cancel", AnswerSaveQuestion("CancelButton"));
  std::string Label;
  User.Step("the preview kept open; another page", [&] {
    if (MessageDialog() || !PreviewUp() || GetActiveWindow() != PeerHandle(*P)) return false;
    EXPECT_EQ(fmVlxMain->Top(), -5000);
    EXPECT_TRUE(IsWindowEnabled(PeerHandle(*P)));
    Label = P->paPageNum->Caption();
    ClickMiddle(P->sbNextPage->Enabled() ? *P->sbNextPage : *P->sbFirstPage);
    return true;
  });
  User.Step("the page turned; Close again", [&] {
    if (P->paPageNum->Caption() == Label || !PreviewUp()) return false;
    SaveWindowScreenshot(PeerHandle(*P), "preview-close-cancelled");
    ClickMiddle(*P->sbExit);
    return true;
  });
  User.Step("the save question; Yes", AnswerSaveQuestion("YesButton"));
  Run(User);
  const std::string Saved = FileBytes(Out + "/Preview.txt");
  EXPECT_NE(Saved.find("OutputDest=1"), std::string::npos) << Saved;
  EXPECT_NE(Saved.find("OutputFileName=" + Kept), std::string::npos) << Kept << "\n" << Saved;

  // The next Print previews with the saved choice, and asks nothing when nothing changed.
  TUserScript Again;
  Again.Step("the saved choice in the preview", [&] {
    if (!PreviewUp()) return false;
    EXPECT_EQ(fmVlxPreview->cbxOutputDest->Text(), "Text File");
    EXPECT_EQ(fmVlxPreview->edOutputFileName->Text(), Kept);
    EXPECT_TRUE(OnScreen(fmVlxPreview->edOutputFileName));
    ClickMiddle(*fmVlxPreview->sbExit);
    return true;
  });
  Run(Again);
}

// The book table two panels across the sheet with four repeated columns that leave no room to
// repeat them, a count total and a range of the first page, to a text file: printed from the
// preview that opens first (on its second page across, with Ctrl+P) it is the file a print at
// once writes, and no sheet carries columns of another page across beside its own.
TEST_F(PreviewWindow, PanelsAndARangePrintFromThePreviewAsAtOnce) {
  const std::string File = WindowsPath(Out + "/panels-range.txt");
  const std::string Keys =
      "DisplayProgressWin=0\r\nOutputDest=1\r\nOutputQuality=0\r\nIfOutputFileExists=0\r\nOutputFileName=" + File +
      "\r\nPanelsAcrossPage=2\r\nNumFixedCols=4\r\nTxtCharsPageWid=100\r\nLinesPerpage=30\r\n"
      "PageMarginTxt=4,1,5,0\r\nCellMarginTxt=2,0,1,0\r\nShrinkToPage=0\r\nColumnTotals=Col#0,,Count,\"\"\r\n"
      "PrintWhat=6\r\nPageRangeFrom=0,1\r\nPageRangeTo=0,1\r\n";
  Settings(Keys);
  DeleteFileA(File.c_str());
  TfmVlxPreview* P = nullptr;
  TUserScript User;
  User.Steps({
      [&] {
        if (!PreviewUp() || Page() != 1 || Shown().empty()) return false;
        P = fmVlxPreview;
        ClickMiddle(*P->sbNextPage);
        return true;
      },
      [&] {
        if (PrintSettings->CurPageAcross != 2 || P->Busy()) return false;
        SaveWindowScreenshot(PeerHandle(*P), "preview-panels-page-across-2");
        PrintSettings->RunResult = 0;
        P->memPreview->SetFocus();
        PressWith(VK_CONTROL, 'P');
        return true;
      },
      [&] {
        if (PrintSettings->RunResult == 0) return false;
        EXPECT_EQ(PrintSettings->RunResult, 1);
        RptSettings->Modified = false;
        P->Close();
        return true;
      },
  });
  Run(User);
  const std::string FromPreview = FileBytes(File);
  std::ofstream(Out + "/panels-range-preview.txt", std::ios::binary | std::ios::trunc) << FromPreview;

  Settings(Keys + "DisplayReportOptionsWin=0\r\nPreviewFirst=0\r\n");
  DeleteFileA(File.c_str());
  TUserScript AtOnce;
  AtOnce.Step("the print at once over", [] { return !fmVlxMain; });
  Run(AtOnce);
  const std::string Printed = FileBytes(File);
  EXPECT_EQ(FromPreview, Printed);

  // The first page's sheets, one a page across: no line wider than the page, and each book on
  // the first sheet once.
  std::vector<std::string> Sheets{""};
  for (const char Ch : Printed) {
    if (Ch == '\f') Sheets.emplace_back();
    else Sheets.back() += Ch;
  }
  Sheets.pop_back();
  ASSERT_GE(Sheets.size(), 2u) << Printed;
  for (const std::string& Sheet : Sheets)
    for (size_t From = 0, To; (To = Sheet.find("\r\n", From)) != std::string::npos; From = To + 2)
      EXPECT_LE(To - From, 100u) << Sheet.substr(From, To - From);
  for (const char* Book : {"Genesis", "Exodus", "Leviticus"}) {
    const size_t At = Sheets[0].find(Book);
    EXPECT_NE(At, std::string::npos) << Book;
    EXPECT_EQ(Sheets[0].find(Book, At + 1), std::string::npos) << Book << " twice";
  }
}
