// The preview window as the book-table program's user meets it under Wine: "&Print" with the
// default settings opens the preview first, and a user played by a system timer pages, zooms,
// copies, prints the current page on the PDF printer and asks for the report options. A grid
// of generated rows shows the progress window of the last-page search.
#include "app/VersoraMain.h"
#include "framework/win32/Win32Handles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPgrs/VLMXPgrs.h"
#include "windows/VLMXPrev/VLMXPrev.h"

namespace {

constexpr DWORD GiveUpMs = 90000;

// The user, one step per timer tick: each step waits for what it expects, then acts and
// returns true. Message boxes are a failure the user had to answer: their texts are kept.
class TUser {
public:
  using TStep = std::function<bool()>;
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
  std::vector<std::string> Boxes;
  size_t GaveUpAt = 0;

private:
  static inline TUser* Current = nullptr;
  std::vector<TStep> FSteps;
  size_t FNext = 0;
  DWORD FStart = 0;
  UINT_PTR FTimer = 0;
  bool FBusy = false;

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TUser* User = Current;
    if (!User || User->FBusy) return;
    User->FBusy = true;
    if (HWND Box = FindWindowA("#32770", nullptr)) {
      char Text[1024] = {};
      GetDlgItemTextA(Box, 0xFFFF, Text, sizeof Text);
      User->Boxes.push_back(Text);
      PostMessageA(Box, WM_COMMAND, IDOK, 0);
    } else if (User->FNext < User->FSteps.size()) {
      if (User->FSteps[User->FNext]()) ++User->FNext;
      else if (GetTickCount() - User->FStart > GiveUpMs) User->GiveUp();
    }
    User->FBusy = false;
  }
  // Ends a run that did not go as expected, whichever window it waits in.
  void GiveUp() {
    GaveUpAt = FNext;
    if (fmVlxPreview) {
      SaveWindowScreenshot(PeerHandle(*fmVlxPreview), "preview-gave-up");
      ADD_FAILURE() << "page " << PrintSettings->CurPageAcross << "-" << PrintSettings->CurVertPage << " of "
                    << PrintSettings->PagesAcross << ", label " << fmVlxPreview->paPageNum->Caption() << ", next "
                    << fmVlxPreview->sbNextPage->Enabled() << ", prev " << fmVlxPreview->sbPrevPage->Enabled()
                    << ", mode " << int(PrintSettings->PageMode) << ", state " << int(PrintSettings->RunState)
                    << ", progress " << (fmVlxProgress != nullptr);
    }
    FNext = FSteps.size() + 1;
    if (fmVlxPreview) fmVlxPreview->SetModalResult(mrCancel);
    else if (fmVlxMain) fmVlxMain->SetModalResult(mrCancel);
  }
};

// Clicks a speed button of the preview's tool bars where the user would.
void ClickButton(const TControl& Button) { PostClick(PeerHandle(Button), Button.Width() / 2, Button.Height() / 2); }

bool PreviewUp() {
  return fmVlxPreview && fmVlxPreview->HandleAllocated() && IsWindowVisible(PeerHandle(*fmVlxPreview)) &&
         !fmVlxPreview->Busy();
}
int Page() { return PrintSettings ? PrintSettings->CurVertPage : -1; }
std::string Shown() { return fmVlxPreview->memPreview->Text(); }

std::string ClipboardText() {
  std::string Text;
  if (!OpenClipboard(nullptr)) return Text;
  if (HANDLE Data = GetClipboardData(CF_TEXT)) {
    Text = static_cast<const char*>(GlobalLock(Data));
    GlobalUnlock(Data);
  }
  CloseClipboard();
  return Text;
}

// The page as pdftotext reads it back: each line without its margins, blank runs as one, empty
// lines left out, the line-draw bytes as the box-drawing characters they draw, and the sheet's
// end.
std::string PdfLines(const std::string& Page) {
  std::string Out;
  size_t Start = 0;
  while (Start < Page.size()) {
    size_t End = Page.find("\r\n", Start);
    if (End == std::string::npos) End = Page.size();
    std::string Line = Page.substr(Start, End - Start);
    Start = End + 2;
    const size_t First = Line.find_first_not_of(' '), Last = Line.find_last_not_of(' ');
    if (First == std::string::npos) continue;
    Line = Line.substr(First, Last - First + 1);
    std::string Squeezed;
    for (const char C : Line)
      if (C != ' ' || Squeezed.empty() || Squeezed.back() != ' ') Squeezed += C;
    std::wstring Wide(Squeezed.size(), L' ');
    Wide.resize(MultiByteToWideChar(437, 0, Squeezed.data(), static_cast<int>(Squeezed.size()), Wide.data(),
                                    static_cast<int>(Wide.size())));
    std::string Utf8(Wide.size() * 3, ' ');
    Utf8.resize(WideCharToMultiByte(CP_UTF8, 0, Wide.data(), static_cast<int>(Wide.size()), Utf8.data(),
                                    static_cast<int>(Utf8.size()), nullptr, nullptr));
    Out += Utf8 + "\n";
  }
  return Out + "--page--\n";
}

class PreviewWindow : public ::testing::Test {
protected:
  void SetUp() override {
    Application->CreateForm(frmVersora);
    Application->MainForm()->Show();
    Window = PeerHandle(*frmVersora);
    SetForegroundWindow(Window);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Window) && GetFocus() != nullptr; }));
    CreateDirectoryA(Out.c_str(), nullptr);
    Token = "PRV" + std::to_string(GetCurrentProcessId()) + "T" + std::to_string(GetTickCount());
  }
  void TearDown() override {
    delete frmVersora;
    frmVersora = nullptr;
    Application->ProcessMessages();
  }
  // The report's section: only what the test needs differs from the defaults (options window
  // and preview first on).
  void Settings(const std::string& Keys) {
    TvlxVellumix& Vlx = *frmVersora->VlxVellumix1;
    Vlx.SetReportSettingsFileName(Out + "/Preview.txt");
    std::ofstream File(Out + "/Preview.txt", std::ios::binary | std::ios::trunc);
    File << "[" << Vlx.ReportId() << "]\r\nDefaultPrinter=1\r\nPauseAfterPrinting=0\r\nReportDesc=Preview " << Token
         << "\r\n" << Keys;
  }
  // Clicks "&Print" and plays User until the setup window is gone.
  void Run(TUser& User) {
    PostClick(PeerHandle(*frmVersora->btnPrint), 10, 10);
    EXPECT_TRUE(PumpUntil([&] { return User.StepsDone() > 0 && !fmVlxMain; }, 150000));
    EXPECT_TRUE(User.Done()) << "gave up at step " << User.GaveUpAt;
    EXPECT_EQ(User.Boxes, std::vector<std::string>{});
  }

  HWND Window = nullptr;
  const std::string Out = VERSORA_E2E_OUTPUT_DIR;
  std::string Token;
};

}  // namespace

TEST_F(PreviewWindow, PagesZoomsCopiesPrintsTheCurrentPageAndReturnsToTheOptions) {
  // A tall page title leaves room for some 25 books a page: the report has three pages or more.
  std::string Title = "Memo,PgTi=START\r\nTHE 66 BOOKS\r\n";
  for (int Line = 1; Line < 52; ++Line) Title += "~ " + std::to_string(Line) + "\r\n";
  Settings("DisplayProgressWin=0\r\n" + Title + "Memo,PgTi=END\r\n");
  std::vector<std::string> Pages(4);
  std::string Last;
  int Size = 0;
  TfmVlxPreview* P = nullptr;
  TUser User({
      // Page 1 first, the setup window out of sight.
      [&] {
        if (!PreviewUp() || Page() != 1 || Shown().empty()) return false;
        P = fmVlxPreview;
        EXPECT_EQ(fmVlxMain->Top(), -5000);
        EXPECT_EQ(WindowText(PeerHandle(*P)).substr(0, 14), "Report Preview");
        EXPECT_EQ(P->paPageNum->Caption().back(), '1');
        EXPECT_FALSE(P->sbPrevPage->Enabled());
        // The page keys work at once: the text box has the focus.
        EXPECT_EQ(GetFocus(), PeerHandle(*P->memPreview));
        Pages[1] = Shown();
        SaveWindowScreenshot(PeerHandle(*P), "preview-page1");
        ClickButton(*P->sbNextPage);
        return true;
      },
      [&] {
        if (Page() != 2) return false;
        Pages[2] = Shown();
        EXPECT_NE(Pages[2], Pages[1]);
        ClickButton(*P->sbNextPage);
        return true;
      },
      [&] {
        if (Page() != 3) return false;
        Pages[3] = Shown();
        ClickButton(*P->sbPrevPage);
        return true;
      },
      // Back to page 2 and forward again: the same texts, page 3 from its restart point.
      [&] {
        if (Page() != 2) return false;
        EXPECT_EQ(Shown(), Pages[2]);
        ClickButton(*P->sbNextPage);
        return true;
      },
      [&] {
        if (Page() != 3) return false;
        EXPECT_EQ(Shown(), Pages[3]);
        ClickButton(*P->sbLastPage);
        return true;
      },
      [&] {
        if (P->sbNextPage->Enabled()) return false;
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
        ClickButton(*P->sbClipBoard);
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
        std::ofstream(Out + "/pdf-job.txt", std::ios::binary | std::ios::trunc) << Token << "\n" << PdfLines(Last);
        PrintSettings->RunResult = 0;
        ClickButton(*P->sbPrint);
        return true;
      },
      [&] {
        if (PrintSettings->RunResult == 0) return false;
        EXPECT_EQ(PrintSettings->RunResult, 1);
        EXPECT_EQ(Shown(), Last) << "printing leaves the preview on its page";
        P->memPreview->SetFocus();
        PressWith(VK_CONTROL, 'O');
        return true;
      },
      // "Report Options" closes the preview and shows the setup window.
      [&] {
        if (fmVlxPreview || !fmVlxMain || fmVlxMain->Top() == -5000 || !IsWindowVisible(PeerHandle(*fmVlxMain)))
          return false;
        PumpUntil([] { return false; }, 300);
        SaveWindowScreenshot(PeerHandle(*fmVlxMain), "preview-options");
        fmVlxMain->SetModalResult(mrCancel);
        return true;
      },
  });
  Run(User);
}

// Several hundred rows: the last-page search shows its progress window; a second request,
// after the search completed, shows the last page at once.
TEST_F(PreviewWindow, LastPageSearchShowsItsProgressOverManyRows) {
  constexpr int Rows = 600;
  TStringGrid& Grid = *frmVersora->strgrd;
  Grid.SetRowCount(Rows + 1);
  for (int R = 1; R <= Rows; ++R)
    for (int C = 0; C < Grid.ColCount(); ++C) Grid.SetCells(C, R, "R" + std::to_string(R) + "C" + std::to_string(C));
  Settings("DisplayProgressWin=1\r\n");
  bool ProgressSeen = false;
  int LastPage = 0;
  TUser User({
      [&] {
        if (!PreviewUp() || Page() != 1) return false;
        // Slow enough to be seen: each data row takes a moment, as on a slower machine.
        ObjInfo->OnFieldEdit = [](TObject*, std::string&, TvlxFieldInfo*) { Sleep(1); };
        ClickButton(*fmVlxPreview->sbLastPage);
        return true;
      },
      [&] {
        if (!ProgressSeen && fmVlxProgress && fmVlxProgress->HandleAllocated() &&
            IsWindowVisible(PeerHandle(*fmVlxProgress))) {
          ProgressSeen = true;
          EXPECT_EQ(WindowText(PeerHandle(*fmVlxProgress)), "Searching for last report page");
          SaveWindowScreenshot(PeerHandle(*fmVlxProgress), "preview-search-progress");
        }
        if (fmVlxPreview->Busy() || fmVlxPreview->sbNextPage->Enabled()) return false;
        LastPage = Page();
        ObjInfo->OnFieldEdit = nullptr;
        EXPECT_TRUE(fmVlxPreview->LastPageKnown);
        EXPECT_NE(Shown().find("R600C0"), std::string::npos);
        ClickButton(*fmVlxPreview->sbFirstPage);
        return true;
      },
      [&] {
        if (Page() != 1) return false;
        ClickButton(*fmVlxPreview->sbLastPage);
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
