#include "windows/VLMXPgrs/VLMXPgrs.h"

#include <string>
#include <tuple>

#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "tests/engine/RunFixture.h"

namespace {

constexpr unsigned short vkCancel = 3, vkPause = 19, vkEscape = 27;

class ProgressTest : public RunTest {
protected:
  void SetUp() override {
    RunTest::SetUp();
    Settings.DisplayProgressWin = true;
    Info.ObjType = otStringGrid;
    PS->RunState = rsActive;
    PS->DestName = "C:\\Out\\report.txt";
  }
  void TearDown() override {
    Headless::SetModalHandler(nullptr);
    delete fmVlxProgress;
    fmVlxProgress = nullptr;
    RunTest::TearDown();
  }

  static TfmVlxProgress& Start() {
    ProgressStart(true, "Report:Books", "&Abort Report", "&Resume Report");
    EXPECT_NE(fmVlxProgress, nullptr);
    return *fmVlxProgress;
  }
  // The bar's count as shown, on the bar or beside it, never on both.
  static std::string BarText(const TfmVlxProgress& Form) {
    const std::string& On = Form.paProgressBar->Caption();
    const std::string& Beside = Form.paProgressBackground->Caption();
    EXPECT_TRUE(On.empty() || Beside.empty()) << On << " | " << Beside;
    return On + Beside;
  }
  // A repaint that is due: more than 500 ms after the last one.
  static void Advance(int Count, int& Total, TPoint PagePanel = {-1, -1}) {
    Headless::AdvanceClock(501);
    ProgressAdvance(fmVlxProgress, Count, Total, PagePanel);
  }
  // A key pressed on the window while the engine is busy: it arrives at the next repaint.
  static void PostKey(unsigned short Key, TShiftState Shift) {
    Application->Post(fmVlxProgress, [Key, Shift] {
      unsigned short K = Key;
      fmVlxProgress->PeerKeyDown(K, Shift);
    });
  }
};

TEST_F(ProgressTest, CountUnitAndBar) {
  TfmVlxProgress& Form = Start();
  // Rows of the printable kinds, records of anything else.
  for (auto [Type, Unit] : {std::pair{0, "Records"}, {2, "Records"}, {3, "Rows"}, {18, "Rows"}, {19, "Records"}}) {
    Info.ObjType = static_cast<TObjKind>(Type);
    EXPECT_EQ(TfmVlxProgress::CountUnitName(), Unit) << Type;
  }
  Info.ObjType = otStringGrid;

  // The bar against its 291-pixel frame; a Count beyond Total doubles the caller's Total.
  PS->PageMode = pmPrint;
  const struct {
    int Count, Total, TotalAfter, Width;
    const char* Caption;
  } Bars[] = {{0, 0, 0, 0, "0 Rows (  0%)"},
              {7, -3, -3, 0, "7 Rows (  0%)"},
              {50, 200, 200, 72, "50 Rows ( 25%)"},
              {200, 200, 200, 291, "200 Rows (100%)"},
              {300, 200, 400, 218, "300 Rows ( 75%)"}};
  for (const auto& B : Bars) {
    SCOPED_TRACE(B.Caption);
    int Total = B.Total;
    Advance(B.Count, Total);
    EXPECT_EQ(Total, B.TotalAfter);
    EXPECT_EQ(Form.paProgressBar->Width(), B.Width);
    EXPECT_EQ(BarText(Form), B.Caption);
    // An empty bar has no room for it; a full one has.
    if (B.Width == 0 || B.Width == 291) {
      EXPECT_EQ(Form.paProgressBar->Caption().empty(), B.Width == 0);
    }
  }

  // The page text names the vertical page first; (-1,-1) leaves it.
  int Total = 10;
  Advance(3, Total, {2, 7});
  EXPECT_EQ(Form.lbPageNum->Caption(), "Printing: Page 7-2");
  Advance(4, Total);
  EXPECT_EQ(Form.lbPageNum->Caption(), "Printing: Page 7-2");

  // At most one repaint per 500 ms, and only strictly after them.
  Headless::AdvanceClock(500);
  ProgressAdvance(fmVlxProgress, 25, Total, {1, 9});
  EXPECT_EQ(Total, 10);
  EXPECT_EQ(BarText(Form), "4 Rows ( 40%)");
  Headless::AdvanceClock(1);
  ProgressAdvance(fmVlxProgress, 25, Total, {1, 9});
  EXPECT_EQ(Total, 20);
  EXPECT_EQ(BarText(Form), "25 Rows (125%)");
  EXPECT_EQ(Form.lbPageNum->Caption(), "Printing: Page 9-1");
}

TEST_F(ProgressTest, OtherSuspendKeysAndTheSummaryOfEveryEnd) {
  // Without the option, or not asked to show, there is no window and nothing fails.
  Settings.DisplayProgressWin = false;
  ProgressStart(true, "Report:Books", "&Abort Report", "&Resume Report");
  Settings.DisplayProgressWin = true;
  ProgressStart(false, "Report:Books", "&Abort Report", "&Resume Report");
  EXPECT_EQ(fmVlxProgress, nullptr);
  int Total = 100;
  ProgressAdvance(fmVlxProgress, 1, Total, {1, 1});
  ProgressFinish(true, "ignored");
  EXPECT_TRUE(Headless::CursorChanges().empty());

  // Esc suspending, Resume and Abort on the suspended window and the aborted run's summary are
  // the Wine scenario's; here the other keys that suspend, and the close refused meanwhile.
  PS->PageMode = pmPrint;
  Screen->SetCursor(crArrow);
  TfmVlxProgress& Form = Start();
  EXPECT_EQ(Screen->Cursor(), crHourGlass);
  EXPECT_EQ(Form.lbOutputDestination->Caption(), "Output: C:\\Out\\report.txt");
  Form.PeerCloseRequested();
  EXPECT_TRUE(Form.Visible());
  EXPECT_EQ(Headless::BeepCount(), 1);
  int Modals = 0;
  // The status line as the user reads it: caption, background and text colour.
  const auto StatusLine = [](const TfmVlxProgress& W) {
    return std::tuple{W.paStatusBar->Caption(), W.paStatusBar->Color(), W.paStatusBar->Font().Color()};
  };
  const auto Offered = [](const TfmVlxProgress& W) {
    std::string Buttons;
    for (TControl* B : {W.bbOk, W.bbCancel, W.bbResumeOper, W.bbAbortOper})
      if (B->Visible() && B->Enabled()) Buttons += B->Name() + " ";
    return Buttons;
  };
  const auto Running = std::tuple{std::string("Printing...Please Wait!"), clBtnFace, clWindowText};
  EXPECT_EQ(StatusLine(Form), Running);
  EXPECT_EQ(Offered(Form), "bbCancel ");
  Headless::SetModalHandler([&](TCustomForm&) {
    ++Modals;
    EXPECT_EQ(StatusLine(Form), std::tuple(std::string("-- User Suspended Printing --"), clBlack, clWhite));
    EXPECT_EQ(Offered(Form), "bbResumeOper bbAbortOper ");
    Form.PeerCloseRequested();
    EXPECT_EQ(Form.ModalResult(), mrNone);
    Form.bbResumeOper->PeerClick();
  });
  // Ctrl+Pause comes as the Cancel key from most keyboards.
  for (auto [Key, Shift] : {std::pair{vkCancel, TShiftState{}}, {vkPause, ssCtrl}}) {
    PostKey(Key, Shift);
    Advance(10, Total);
  }
  EXPECT_EQ(Modals, 2);
  EXPECT_EQ(PS->RunState, rsActive);
  EXPECT_TRUE(Form.Visible());
  EXPECT_EQ(StatusLine(Form), Running);
  EXPECT_EQ(Offered(Form), "bbCancel ");
  ProgressFinish(false, "");
  EXPECT_EQ(fmVlxProgress, nullptr);
  EXPECT_EQ(Screen->Cursor(), crArrow);

  // The status line of every end of a run.
  Info.RowsProcessed = 20;
  const struct {
    uint8_t State, Mode;
    bool Ascii;
    int Pages;
    uint8_t PrintWhat;
    TColor Color;
    const char* Status;
  } Ends[] = {{rsCompletedNormally, pmPrint, false, 3, 0, clGreen, "Report Completed Normally"},
              {rsCompletedNormally, pmLayoutOnly, false, 0, 0, clRed, "No pages printed"},
              {rsCompletedNormally, pmPrint, false, 0, 6, clRed, "No pages found for page range"},
              {rsCompletedNormally, pmAsciiExport, true, 0, 0, clGreen, "Export Completed Normally"},
              {rsTerminatedWithError, pmPrint, false, 2, 0, clRed, "Report --Terminated With Error--"},
              {rsUserCancelled, pmPrint, false, 0, 0, clRed, "Report User Cancelled"}};
  for (const auto& E : Ends) {
    SCOPED_TRACE(E.Status);
    PS->RunState = rsActive;
    Start();
    PS->RunState = static_cast<TvlxRunState>(E.State);
    PS->PageMode = static_cast<TvlxPageMode>(E.Mode);
    PS->OutAsciiFile = E.Ascii;
    PS->PagesWritten = E.Pages;
    Settings.PrintWhat = static_cast<TPrintWhat>(E.PrintWhat);
    bool Shown = false;
    Headless::SetModalHandler([&](TCustomForm& Shown_) {
      auto& Summary = dynamic_cast<TfmVlxProgress&>(Shown_);
      Shown = true;
      EXPECT_EQ(StatusLine(Summary), std::tuple(std::string(E.Status), E.Color, clWhite));
      EXPECT_EQ(Offered(Summary), "bbOk ");
      EXPECT_TRUE(Summary.bbOk->Default());
      if (E.State == rsCompletedNormally) {
        EXPECT_EQ(Summary.paProgressBar->Width(), 291);
        EXPECT_EQ(BarText(Summary), "20 Rows  (100%)");
      }
      Summary.bbOk->PeerClick();
    });
    ProgressFinish(true, "");
    EXPECT_TRUE(Shown);
  }
  // Without the summary the window just goes, quietly.
  Headless::SetModalHandler([](TCustomForm&) { ADD_FAILURE() << "no summary asked for"; });
  Start();
  const int Beeps = Headless::BeepCount();
  ProgressFinish(false, "1 Pages Printed. ");
  EXPECT_EQ(fmVlxProgress, nullptr);
  EXPECT_EQ(Headless::BeepCount(), Beeps);
}

}  // namespace
