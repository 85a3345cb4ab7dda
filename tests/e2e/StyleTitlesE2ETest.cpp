// The Style and Titles pages of the setup window as the book-table program's user meets them
// behind "&Print": a style option unchecked by a click on its box, the report title's margins
// typed and drawn to scale, then Print writes the text file that shows both.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/CheckLst.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "tests/e2e/UserScript.h"
#include "tests/support/TempDir.h"
#include "windows/VLMXMain/VLMXMain.h"

namespace {

using StyleTitlesE2E = BookTableTest;

void Redraw(HWND Window) {
  RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace

TEST_F(StyleTitlesE2E, UncheckedOptionAndTitleMarginsReachThePrintedFile) {
  const std::string Out = VERSORA_E2E_OUTPUT_DIR;
  CreateDirectoryA(Out.c_str(), nullptr);
  // The window checks the output folder as a Windows path: backslashes.
  const std::string Report = WindowsPath(Out + "/StyleTitles.txt");
  DeleteFileA(Report.c_str());
  // The title starts at the page's left edge, across the whole width, left-aligned.
  WriteSettings(*frmVersora->VlxVellumix1, Out + "/StyleTitlesSettings.txt",
                "DisplayReportOptionsWin=1\r\nPreviewFirst=0\r\nDisplayProgressWin=0\r\nPauseAfterPrinting=0\r\n"
                "CloseWinAfterPrinting=1\r\nOutputQuality=0\r\nOutputDest=1\r\nOutputFileName=" + Report +
                    "\r\nIfOutputFileExists=0\r\nDefaultPrinter=1\r\nNumFixedCols=0\r\nHideColumns=~Line#\r\n"
                    "TxtCharsPageWid=200\r\nLinesPerPage=66\r\nioColumnTitles=1\r\nioAskToPrintSelectedRows=1\r\n"
                    "Memo,RptTi,MemoXPosPer=0\r\nMemo,RptTi,MemoWidPer=100\r\nMemo,RptTi,MemoAlignment=0\r\n"
                    "Memo,RptTi,MemoVisible=1\r\nMemo,RptTi=START\r\nSTYLE AND TITLES\r\nMemo,RptTi=END\r\n");

  // The user's steps, each taken once the window shows the result of the one before.
  TfmVlxMain* F = nullptr;
  HWND Window = nullptr, Tabs = nullptr;
  int Row = -1;
  TUserScript S;
  S.Step("the window stays for the user: to the Style page", [&] {
    F = fmVlxMain;
    if (!F || F->StartPending() || F->Top() < 0 || !IsWindowVisible(PeerHandle(*F))) return false;
    Window = PeerHandle(*F);
    Tabs = PeerHandle(*F->pcOptions);
    SetForegroundWindow(Window);
    PostClick(Tabs, TabPoint(Tabs, 2));
    return true;
  });
  S.Step("a click on the box of Column Titles", [&] {
    if (F->pcOptions->ActivePage() != F->tsStyle) return false;
    Row = F->lbxStyleOpts->Items().IndexOf("Column Titles");
    if (Row < 0) throw std::runtime_error("no Column Titles row");
    PostClick(PeerHandle(*F->lbxStyleOpts), ListBoxItemPoint(PeerHandle(*F->lbxStyleOpts), Row));
    return true;
  });
  S.Step("unchecked; to the Titles page", [&] {
    if (RptSettings->ItemOpt(ioColumnTitles)) return false;
    EXPECT_FALSE(F->lbxStyleOpts->Checked(Row));
    Redraw(Window);
    SaveWindowScreenshot(Window, "style-titles-1-style-page");
    PostClick(Tabs, TabPoint(Tabs, 3));
    return true;
  });
  // The Titles page opens on the report title: the width first, so the sum fits.
  S.Step("into the width", [&] {
    if (F->pcOptions->ActivePage() != F->tsTitles || F->lbxMemoLocation->ItemIndex() != 0) return false;
    PostClick(PeerHandle(*F->edMemoWidPer), 5, 5);
    return true;
  });
  S.Step("80", [&] {
    if (GetFocus() != PeerHandle(*F->edMemoWidPer)) return false;
    Retype("80");
    Press(VK_TAB);
    return true;
  });
  S.Step("into the left margin", [&] {
    if (RptSettings->RptMemo(RptTi)->WidPer != 80) return false;
    PostClick(PeerHandle(*F->edMemoXPosPer), 5, 5);
    return true;
  });
  S.Step("10", [&] {
    if (GetFocus() != PeerHandle(*F->edMemoXPosPer)) return false;
    Retype("10");
    Press(VK_TAB);
    return true;
  });
  S.Step("the strip to scale; Print", [&] {
    if (RptSettings->RptMemo(RptTi)->XPosPer != 10) return false;
    const int PageWidth = F->pcOptions->Width();
    EXPECT_EQ(WindowText(PeerHandle(*F->edMemoWidPer)), "80");
    EXPECT_EQ(F->lbRptMemoLeftMargin->Caption(), "Left Margin 10%");
    EXPECT_EQ(F->lbRptMemoRightMargin->Caption(), "Right Margin 10%");
    EXPECT_EQ(F->memRptMemo->Left(), (PageWidth + 5) / 10);
    EXPECT_EQ(F->memRptMemo->Width(), (PageWidth * 8 + 5) / 10);
    Redraw(Window);
    SaveWindowScreenshot(Window, "style-titles-2-titles-page");
    ClickMiddle(*F->sbPrint);
    return true;
  });
  // Closing after the print asks whether to keep the changed options: not this time.
  S.Step("no to the question", [&] {
    TCustomForm* Question = Screen->ActiveForm();
    if (!Question || Question->Name() != "MessageDialog") return !fmVlxMain;
    Question->SetModalResult(mrNo);
    return true;
  });
  PrintAndPlay(S);
  EXPECT_EQ(S.Boxes, std::vector<std::string>{});

  const std::string Printed = FileBytes(Report);
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
