#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <algorithm>
#include <array>
#include <random>
#include <climits>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/VLMXGbl/Run.h"
#include "engine/VLMXGbl/RunStart.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/Vellumix/FileMgr.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/SettingsKeys.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Buttons.h"
#include "framework/CheckLst.h"
#include "framework/Dialogs.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "framework/Printers.h"
#include "framework/headless/IniFiles.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/FileUtils.h"
#include "framework/headless/Printers.h"
#include "tests/support/HeadlessFixture.h"
#include "tests/support/ReportHostFixture.h"
#include "tests/support/TempDir.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPgrs/VLMXPgrs.h"
#include "windows/VLMXPrev/VLMXPrev.h"
#include "windows/VLMXPw/VLMXPw.h"

namespace {

using TKeys = std::vector<std::string>;

// The settings of an unattended run: nothing to wait for, no window of its own.
const TKeys Quiet = {"DisplayProgressWin=0", "PauseAfterPrinting=0", "DisplayReportOptionsWin=0", "PreviewFirst=0",
                    "NumFixedCols=0", "OutputQuality=0", "TxtCharsPageWid=80"};

TKeys With(TKeys Base, const TKeys& More) {
  Base.insert(Base.end(), More.begin(), More.end());
  return Base;
}

std::vector<std::string> Boxes(unsigned Icon) {
  std::vector<std::string> Texts;
  for (const auto& Box : Headless::MessageBoxes())
    if (Box.Flags == Icon) Texts.push_back(Box.Text);
  return Texts;
}

class SetupRunTest : public ReportHostTest {
protected:
  void SetUp() override {
    ReportHostTest::SetUp();
    Grid->SetColCount(3);
    Grid->SetRowCount(6);
    for (int R = 0; R < 6; ++R)
      for (int C = 0; C < 3; ++C) Grid->SetCells(C, R, R == 0 ? "Head" + std::to_string(C) : std::to_string(R * 10 + C));
    Screen->SetCursor(crDefault);
    Application->SetHelpFile("Own.hlp");
    Application->SetHintHidePause(1234);
    // The report shows hints by default: the program's own choice must come back after it.
    Application->SetShowHint(false);
    Printer()->SetTitle("Own job");
  }

  // Prints, playing the user: the setup window is left once the start is done (Shown tells
  // whether it stayed for the user), and every other modal window is cancelled.
  int Print() {
    Shown = false;
    Modal.clear();
    Headless::SetModalHandler([this](TCustomForm& Form) {
      Modal.push_back(Form.Name());
      if (&Form != fmVlxMain) {
        Form.SetModalResult(mrCancel);
        return;
      }
      // Out of sight until the start has decided whether the user sees it.
      EXPECT_EQ(Form.Top(), -5000);
      Application->ProcessMessages();
      Shown = Form.ModalResult() == mrNone && Form.Top() != -5000;
      if (Shown) Form.SetModalResult(mrCancel);
    });
    return Vlx->Print();
  }


  // Nothing of the run outlives Print, and the application's state is its own again.
  void ExpectCleanedUp() {
    EXPECT_EQ(fmVlxMain, nullptr);
    EXPECT_EQ(RptSettings, nullptr);
    EXPECT_EQ(PrintSettings, nullptr);
    EXPECT_EQ(RptStyles, nullptr);
    EXPECT_EQ(ObjInfo, nullptr);
    EXPECT_EQ(Application->HelpFile(), "Own.hlp");
    EXPECT_EQ(Application->HintHidePause(), 1234);
    EXPECT_FALSE(Application->ShowHint());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(PasswordCache.RptOptPW, "");
  }

  bool Shown = false;
  std::vector<std::string> Modal;
};

TEST_F(SetupRunTest, TheStartShowsTheWindowOrPrintsAtOnceAndPrintReturnsThatPrintsResult) {
  struct TCase {
    TKeys Settings;
    TShiftState Held;
    bool Shown;
    size_t Documents;
    int Result;
    bool Previewed = false;
  };
  const std::string Export = Dir / "Books.asc";
  const TCase Cases[] = {
      {Quiet, 0, false, 1, 1},
      {With(Quiet, {"DisplayReportOptionsWin=1"}), 0, true, 0, 0},
      // A preview first closed without asking for the options prints nothing and ends the run.
      {With(Quiet, {"PreviewFirst=1"}), 0, false, 0, 0, true},
      {Quiet, ssCtrl | ssShift, true, 0, 0},
      {Quiet, ssCtrl, false, 1, 1},
      // An export is never previewed; it keeps its choice to append to the existing file.
      {With(Quiet, {"PreviewFirst=1", "OutputDest=2", "IfOutputFileExists=1", "OutputFileName=" + Export}), 0,
       false, 0, 1},
  };
  std::ofstream(Export, std::ios::binary) << "KEEP\r\n";
  for (const TCase& Case : Cases) {
    Headless::Reset();
    Headless::SetKeyboardShiftState(Case.Held);
    Section(Case.Settings);
    const std::string Label = Case.Settings.back() + " keys " + std::to_string(Case.Held);
    EXPECT_EQ(Print(), Case.Result) << Label;
    EXPECT_EQ(Shown, Case.Shown) << Label;
    EXPECT_EQ(Headless::PrintedDocuments().size(), Case.Documents) << Label;
    std::vector<std::string> Expected{"fmVlxMain"};
    if (Case.Previewed) Expected.push_back("fmVlxPreview");
    EXPECT_EQ(Modal, Expected) << Label;
    EXPECT_TRUE(Headless::ErrorBoxes().empty()) << Label << ": " << Headless::ErrorBoxes().front();
    ExpectCleanedUp();
  }
  EXPECT_EQ(FileBytes(Export).substr(0, 6), "KEEP\r\n");
  EXPECT_GT(FileBytes(Export).size(), 6u);
}

TEST_F(SetupRunTest, EveryFailureOfCreationOrStartIsReportedOnceAndLeavesNothingBehind) {
  const std::string DueToErrors = "Vellumix! Setup Error: Due to errors, the report: \"Books\" cannot be printed.";
  struct TCase {
    std::string Name;
    std::function<void()> Prepare;
    TKeys Settings;
    int Result;
    std::vector<std::string> Warnings;
    std::vector<std::string> Errors;
  };
  const TCase Cases[] = {
      {"no default printer", [] { Headless::SetNoDefaultPrinter(); }, Quiet, 3, {},
       {"Vellumix! Setup Error: Windows does not have a Default Printer assigned."}},
      {"wrong options password", [] {}, With(Quiet, {"DisplayReportOptionsWin=1", "RptOptPW=secret"}), 0,
       {"Vellumix! Setup Error: Report Options Password Violation"}, {DueToErrors}},
      {"failing handler", [this] {
         Vlx->AfterOptionsLoaded = [](TObject*, TvlxReportSettings*&) { throw Exception("no options today"); };
       }, Quiet, 0, {"no options today"}, {DueToErrors}},
  };
  for (const TCase& Case : Cases) {
    Headless::Reset();
    Vlx->AfterOptionsLoaded = nullptr;
    Section(Case.Settings);
    Case.Prepare();
    EXPECT_EQ(Print(), Case.Result) << Case.Name;
    EXPECT_EQ(Boxes(MsgBox::IconWarning), Case.Warnings) << Case.Name;
    EXPECT_EQ(Headless::ErrorBoxes(), Case.Errors) << Case.Name;
    EXPECT_FALSE(Shown) << Case.Name;
    EXPECT_TRUE(Headless::PrintedDocuments().empty()) << Case.Name;
    ExpectCleanedUp();
  }
}

// Every page on the way to Control is in front.
bool PageInFront(TControl* Control) {
  for (; Control; Control = Control->Parent())
    if (auto* Sheet = dynamic_cast<TTabSheet*>(Control); Sheet && Sheet->PageControl()->ActivePage() != Sheet)
      return false;
  return true;
}

// A stored number the window would refuse is neither used nor silently replaced: the start
// shows the window with the field's message on its page, the number in its edit, and the
// settings holding the default meanwhile; a number no control shows is named in the panel.
TEST_F(SetupRunTest, AStoredNumberTheWindowWouldRefuseIsReportedOnItsPage) {
  const struct { std::string Key; TSettingSide Side; std::string Stored, Shown, Message; } Cases[] = {
      {"MaxStringLines", sWhole, "21000", "21000", "Max # of String Lines must be between 0 and 999 lines"},
      {"LargestFontSize", sWhole, "1001", "1001", "Largest Font Size must be between 1 and 1000 Points"},
      {"PageMarginTxt", sRight, "0,1,101,0", "101", "Page Right Margin must be between 0 and 100 characters"},
      {"Memo,PgTi,MemoFontSize", sWhole, "5000", "", "Memo Font Size must be between 1 and 1000 Points"},
  };
  for (const auto& C : Cases) {
    Section(With(Quiet, {"OutputDest=1", "OutputFileName=" + (Dir / "out.txt"), C.Key + "=" + C.Stored}));
    bool Ran = false;
    PrintWithWindow([&](TfmVlxMain& F) {
      Ran = true;
      EXPECT_NE(F.Top(), -5000) << C.Key;
      EXPECT_EQ(F.paMsg->Caption(), "  " + C.Message);
      TvlxSettingsKeys Keys(RptSettings);
      Keys.SettingsToKeyList();
      EXPECT_FALSE(Keys.Find(C.Key)->Changed()) << C.Key;
      if (TEdit* Edit = F.NumberEditOfKey(C.Key, C.Side)) {
        EXPECT_TRUE(PageInFront(Edit)) << C.Key;
        EXPECT_EQ(Edit->Text(), C.Shown) << C.Key;
        EXPECT_FALSE(F.ValidateOptions(nullptr, true, false)) << C.Key;
      }
    });
    EXPECT_TRUE(Ran);
    EXPECT_NE(FileBytes(Dir / "Books.txt").find(C.Key + "=" + C.Stored), std::string::npos) << "kept as stored";
  }
}

// A stored quality the window does not offer (a typeset one, or a number read as its low byte)
// neither locks the report nor changes unsaid: the window opens, also with Ctrl+Shift held,
// naming it on its page, the run's settings hold the default meanwhile, and a save writes the
// default back while the typeset sizes stay as stored.
TEST_F(SetupRunTest, AStoredQualityTheWindowDoesNotOfferOpensTheWindowAndASaveRepairsIt) {
  for (const int Stored : {2, 300, 255})
    for (const TShiftState Held : {TShiftState(0), TShiftState(ssCtrl | ssShift)}) {
      const std::string Label = std::to_string(Stored) + " keys " + std::to_string(Held);
      Headless::Reset();
      Headless::SetKeyboardShiftState(Held);
      Section(With(Quiet, {"OutputQuality=" + std::to_string(Stored), "PageMarginThous=1,2,3,4",
                           "MaxStringColWidThous=31000"}));
      bool Ran = false;
      const int Result = PrintWithWindow([&](TfmVlxMain& F) {
        Ran = true;
        EXPECT_NE(F.Top(), -5000) << Label;
        EXPECT_EQ(F.paMsg->Caption(),
                  "  Output Quality \"" + std::to_string(Stored % 256) + "\" is invalid. Please choose a different one.")
            << Label;
        EXPECT_TRUE(PageInFront(F.cbxOutputQuality)) << Label;
        EXPECT_EQ(RptSettings->OutputQuality, 1) << Label;
        EXPECT_EQ(F.cbxOutputQuality->ItemIndex(), 1) << Label;
        F.sbSaveOptsClick(nullptr);
        EXPECT_NE(F.paMsg->Caption().find("Saved"), std::string::npos) << Label << ": " << F.paMsg->Caption();
      });
      EXPECT_TRUE(Ran) << Label;
      EXPECT_EQ(Result, 0) << Label;
      EXPECT_TRUE(Headless::ErrorBoxes().empty()) << Label << ": " << Headless::ErrorBoxes().front();
      const std::string File = FileBytes(Dir / "Books.txt");
      EXPECT_EQ(File.find("OutputQuality="), std::string::npos) << Label;
      EXPECT_NE(File.find("PageMarginThous=1,2,3,4\r\n"), std::string::npos) << Label;
      EXPECT_NE(File.find("MaxStringColWidThous=31000\r\n"), std::string::npos) << Label;
      ExpectCleanedUp();
    }
}

// Every code key stored past its choices opens the window naming the stored byte on the page
// of its control (a memo's with that memo selected), and a save writes the default back.
TEST_F(SetupRunTest, EveryCodeStoredPastItsChoicesIsNamedOnItsPage) {
  const struct { std::string Key; int Stored; std::string Name; } Codes[] = {
      {"OutputDest", 3, "Output Destination"},
      {"PrintWhat", 265, "Print What"},
      {"IfOutputFileExists", 3, "When Output File Exists"},
      {"OutputQuality", 2, "Output Quality"},
      {"Orientation", 3, "Orientation"},
      {"ReportAlignment", 3, "Report Alignment"},
      {"ColTitleAlignment", 200, "Column Title Alignment"},
      {"AutoSizze", 3, "AutoSizing"},
      {"Memo,PgFtr,MemoAlignment", 3, "Memo Alignment"},
  };
  for (const auto& C : Codes) {
    Section(With(Quiet, {C.Key + "=" + std::to_string(C.Stored)}));
    bool Ran = false;
    PrintWithWindow([&](TfmVlxMain& F) {
      Ran = true;
      EXPECT_EQ(F.paMsg->Caption(),
                "  " + C.Name + " \"" + std::to_string(C.Stored % 256) + "\" is invalid. Please choose a different one.")
          << C.Key;
      TControl* Control = F.SettingControl(C.Key, sWhole);
      if (C.Key.starts_with("Memo,")) {
        EXPECT_EQ(F.lbxMemoLocation->ItemIndex(), static_cast<int>(PgFtr)) << C.Key;
        Control = F.lbxMemoLocation;
      }
      ASSERT_NE(Control, nullptr) << C.Key;
      EXPECT_TRUE(PageInFront(Control)) << C.Key;
      F.sbSaveOptsClick(nullptr);
      EXPECT_NE(F.paMsg->Caption().find("Saved"), std::string::npos) << C.Key << ": " << F.paMsg->Caption();
    });
    EXPECT_TRUE(Ran) << C.Key;
    EXPECT_EQ(FileBytes(Dir / "Books.txt").find(C.Key + "="), std::string::npos) << C.Key;
  }
}

// Several stored values out of range or unreadable at once: the start names one, and each save
// names the next one before it can write a default over it; a value in an edit stays refused
// until the user corrects it; once each has been told, the save goes through.
TEST_F(SetupRunTest, SeveralRefusedValuesAreEachNamedOnceBeforeASaveDropsThem) {
  const struct { std::string Line; std::string Message; } Stored[] = {
      {"MaxStringLines=21000", "Max # of String Lines must be between 0 and 999 lines"},
      // The typeset regime's margin, which no edit of the text regime shows.
      {"PageMarginThous=250,250,20000,250", "Page Right Margin must be between 0 and 10000 thousands of an inch"},
      {"Memo,PgTi,MemoXPosPer=95", "Report Memo Left Margin must be between 0 and 90 %"},
      {"Orientation=7", "Orientation \"7\" is invalid. Please choose a different one."},
      {"Memo,PgHdr,MemoFontSize=0", "Memo Font Size must be between 1 and 1000 Points"},
      {"LinesPerpage=abc", "Lines Per Page must be between 10 and 999 lines"},
      {"StartingReportLineId=", "Starting Line# must be between 0 and 999999999"},  // then taken as 0
      {"ShowHint=2", "ShowHint \"2\" is invalid. Please choose a different one."},
      {"PageMarginTxt=1,2,3", "PageMarginTxt \"1,2,3\" is invalid. Please choose a different one."},
      {"PageRangeFrom=0,-4", "PageRangeFrom \"0,-4\" is invalid. Please choose a different one."},
  };
  TKeys Lines = With(Quiet, {"OutputDest=1", "OutputFileName=" + (Dir / "out.txt")});
  for (const auto& S : Stored) Lines.push_back(S.Line);
  Section(Lines);
  const std::string Before = FileBytes(Dir / "Books.txt");
  std::vector<std::string> Told;
  bool Saved = false;
  PrintWithWindow([&](TfmVlxMain& F) {
    for (int Try = 0; Try < 20 && !Saved; ++Try) {
      const std::string Message = Trim(F.paMsg->Caption());
      Told.push_back(Message);
      // The user corrects what an edit shows; a value no edit shows is left to the default.
      if (Message.starts_with("Max # of String Lines")) F.edMaxStringLines->SetText("5");
      if (Message.starts_with("Report Memo Left Margin")) F.edMemoXPosPer->SetText("10");
      if (Message.starts_with("Lines Per Page")) F.edLinesPerPage->SetText("55");
      EXPECT_TRUE(!Message.starts_with("PageMarginTxt") || PageInFront(F.edPageMarginLeft));
      EXPECT_EQ(FileBytes(Dir / "Books.txt"), Before) << "saved before " << Message;
      F.sbSaveOptsClick(nullptr);
      Saved = F.paMsg->Caption().find("Saved") != std::string::npos;
    }
  });
  std::vector<std::string> Expected;
  for (const auto& S : Stored) Expected.push_back(S.Message);
  EXPECT_EQ(Told, Expected);
  EXPECT_TRUE(Saved);
  const std::string After = FileBytes(Dir / "Books.txt");
  for (const char* Key : {"MaxStringLines=2", "PageMarginThous=", "Memo,PgTi,MemoXPosPer=", "Orientation=",
                          "Memo,PgHdr,MemoFontSize=", "ShowHint=", "PageMarginTxt=", "PageRangeFrom="})
    EXPECT_EQ(After.find(Key), std::string::npos) << Key;
  EXPECT_NE(After.find("MaxStringLines=5\r\n"), std::string::npos);
  EXPECT_NE(After.find("LinesPerpage=55\r\n"), std::string::npos);
}

// The side margins are checked together against the page's width as the top and bottom ones
// are against its length, in text characters and in thousandths of an inch: a pair that
// leaves the page less than its narrowest body is refused on the left margin's page and kept
// out of the settings; any other pair is taken, and prints the grid's cells.
TEST_F(SetupRunTest, SideMarginsAreCheckedTogetherAgainstThePageWidthInBothRegimes) {
  const std::string Out = Dir / "out.txt";
  const std::string TooWide = "Page Left Margin + Right Margin are too large for page width";
  Section(With(Quiet, {"DisplayReportOptionsWin=1", "OutputDest=1", "OutputFileName=" + Out}));
  PrintWithWindow([&](TfmVlxMain& F) {
    for (const int Width : {20, 80, 200})
      for (const int Left : {0, 5, 40, 70, 100})
        for (const int Right : {0, 5, 30, 100}) {
          const std::string Label = std::to_string(Left) + "+" + std::to_string(Right) + " of " + std::to_string(Width);
          // The text page is as wide as typed; its narrowest body is the narrowest text page.
          const bool Refused = Left + Right > Width - 10;
          F.edTxtCharsPageWid->SetText(std::to_string(Width));
          F.edPageMarginLeft->SetText(std::to_string(Left));
          F.edPageMarginRight->SetText(std::to_string(Right));
          const TRect Before = RptSettings->PageMarginTxt;
          EXPECT_EQ(F.ValidateOptions(nullptr, true, false), !Refused) << Label;
          if (Refused) {
            EXPECT_EQ(F.paMsg->Caption(), "  " + TooWide) << Label;
            EXPECT_TRUE(PageInFront(F.edPageMarginLeft)) << Label;
            EXPECT_EQ(RptSettings->PageMarginTxt.Left, Before.Left) << Label;
          } else {
            EXPECT_EQ(RptSettings->PageMarginTxt.Left, Left) << Label;
            EXPECT_EQ(RptSettings->PageMarginTxt.Right, Right) << Label;
          }
        }
    // The example of a left margin wider than the page: refused as the user types it.
    F.edTxtCharsPageWid->SetText("80");
    F.edPageMarginRight->SetText("0");
    F.edPageMarginLeft->SetText("100");
    F.edPageMarginLeft->SetModified(true);
    F.edPageMarginLeft->OnExit(F.edPageMarginLeft);
    EXPECT_EQ(F.paMsg->Caption(), "  " + TooWide);
    F.edPageMarginLeft->SetText("30");
    F.edPageMarginRight->SetText("30");
    F.sbPrintClick(nullptr);
    EXPECT_EQ(F.RunResult(), 1) << PrintSettings->FailureText;
  });
  EXPECT_NE(FileBytes(Out).find("51"), std::string::npos) << FileBytes(Out);

  // Thousandths of an inch, only in force from settings a caller filled with a typeset quality:
  // the page less an inch is the narrowest body.
  std::unique_ptr<TfmVlxMain> Owned(new TfmVlxMain(nullptr));
  TfmVlxMain& F = *Owned;
  ASSERT_TRUE(F.RunReady());
  TvlxSettingsKeys Keys(RptSettings);
  Keys.ApplyDefaults();
  RptSettings->OutputQuality = 2;
  F.SettingsToForm();
  DeriveOutputFlags(PrintSettings->Run());
  MeasurePage(PrintSettings->Run(), nullptr);
  ASSERT_EQ(PrintSettings->UnitSet, usDevice);
  ASSERT_GT(PrintSettings->PageWidth, 0);
  const double Inches = double(Printer()->PageWidth()) / PrintSettings->DevResX;
  int Checked = 0;
  for (const int Left : {0, 1000, 3000, 6000, 9000})
    for (const int Right : {0, 500, 2500, 7000}) {
      const double Body = Inches - (Left + Right) / 1000.0;
      if (std::abs(Body - 1) < 0.05) continue;  // the rounding of the conversion decides there
      const std::string Label = std::to_string(Left) + "+" + std::to_string(Right) + " of " + std::to_string(Inches);
      RptSettings->OutputQuality = 2;
      F.SettingsToForm();
      F.edPageMarginLeft->SetText(std::to_string(Left));
      F.edPageMarginRight->SetText(std::to_string(Right));
      const bool Taken = F.ValidateOptions(F.edPageMarginRight, false, false);
      EXPECT_EQ(Taken, Body > 1) << Label;
      EXPECT_EQ(F.paMsg->Caption() == "  " + TooWide, Body < 1) << Label << ": " << F.paMsg->Caption();
      ++Checked;
    }
  EXPECT_GT(Checked, 12);
}

// Every setting the window edits, found from the key list so that none is left out: each value
// its control takes (a range's edges, awkward texts, every item of a list, both states of a
// box) is saved, shown again by a fresh window on the same file and used by a print; a value
// the window refuses gets a field message and leaves the file as it was, and a number outside
// its setting's range, or no number at all, gets the range's own message.
TEST_F(SetupRunTest, EveryValueTheWindowTakesComesBackAndEveryOtherIsRefused) {
  // The settings that no control of the window edits in any destination, and why.
  const std::set<std::string> NotOnTheWindow = {
      "CreatedAtRuntime", "NewRpt", "ComponentDeleted", "StyleName", "AppendToFile",  // the component's own
      "CreateDate", "LastSaveDate", "ReportDesc",                                  // kept by the saving
      "RptPW", "RptOptPW", "RptSetUpPW",                      // the password windows
      "HidePages",                                            // the page boxes, as one list
      "ColumnTotals", "HideColumns", "GroupColumns",          // the columns editor
      "CountNumRcds", "RcdEstimate",                          // datasets only
      "DMPaperSize", "DMCopies", "DMDuplex", "DMCollate",     // the printer's own setup
      "TextFontStyle", "TextFontColor", "ReplFontStyle", "ReplFontColor",  // the font dialogs
      "PreviewZoomLevel",                                     // the preview's
      "UseReportViewer",                                      // no report viewer to use
      // Shown only while a stored typeset quality is in force, which the first write-back
      // turns into a text quality.
      "InterPanelGapThous", "PageMarginThous", "CellMarginThous", "MaxStringColWidThous", "MaxMemoColWidThous",
      "VertHtAdjPer",
  };
  // The settings each control needs to be enabled, the first that enables it taken.
  const std::string File = "OutputFileName=" + (Dir / "out.txt");
  const TKeys Dests[] = {{"OutputDest=1", File},
                         {"OutputDest=0"},
                         {"OutputDest=2", "OutputFileName=" + (Dir / "out.asc")},
                         {"OutputDest=0", "PrintWhat=5"},
                         {"OutputDest=1", File, "PrintWhat=6"},
                         {"OutputDest=0", "DefaultPrinter=0", "PrinterName=Fake Laser"},
                         {"OutputDest=0", "AllowFastPrinterText=1", "FastPrinterText=1"}};
  const auto Base = [&](const TKeys& Dest) { return With(With(Quiet, {"DisplayReportOptionsWin=1"}), Dest); };
  const auto KeyText = [](const std::string& Key) {
    TvlxSettingsKeys Keys(RptSettings);
    Keys.SettingsToKeyList();
    return Keys.Find(Key)->Data.Value;
  };
  const auto Shown = [](TControl* C) -> std::string {
    if (auto* Box = dynamic_cast<TCheckBox*>(C)) return Box->Checked() ? "1" : "0";
    if (auto* Group = dynamic_cast<TGroupBox*>(C)) {
      for (int I = 0; I < Group->ControlCount(); ++I)
        if (auto* Radio = dynamic_cast<TRadioButton*>(Group->Controls(I)); Radio && Radio->Checked())
          return Radio->Name();
      return "";
    }
    return C->Text();
  };

  // Which control edits each setting, and in the first destination that enables it.
  struct TTarget {
    std::string Key;
    TSettingSide Side;
    int Dest;
  };
  std::vector<TTarget> Targets;
  const TvlxSettingsKeys AllKeys(nullptr);
  for (int D = 0; D < static_cast<int>(std::size(Dests)); ++D) {
    Section(Base(Dests[D]));
    PrintWithWindow([&](TfmVlxMain& F) {
      for (const TrsfEntry& E : AllKeys.List()) {
        // The memo controls edit the selected memo, the report title at first.
        if (NotOnTheWindow.count(E.Key) || (E.Key.compare(0, 5, "Memo,") == 0 && E.Key.compare(0, 11, "Memo,RptTi,") != 0))
          continue;
        for (const TSettingSide Side : E.Data.Form == rfRect ? std::vector<TSettingSide>{sLeft, sTop, sRight, sBottom}
                                                             : std::vector<TSettingSide>{sWhole}) {
          const TControl* C = F.SettingControl(E.Key, Side);
          const bool Known = std::any_of(Targets.begin(), Targets.end(),
                                         [&](const TTarget& T) { return T.Key == E.Key && T.Side == Side; });
          if (C && C->Enabled() && C->Visible() && !Known) Targets.push_back({E.Key, Side, D});
        }
      }
    });
  }
  for (const TrsfEntry& E : AllKeys.List())
    if (!NotOnTheWindow.count(E.Key) && E.Key.compare(0, 5, "Memo,") != 0 && E.Key.compare(0, 2, "io") != 0 &&
        std::none_of(Targets.begin(), Targets.end(), [&](const TTarget& T) { return T.Key == E.Key; }))
      ADD_FAILURE() << E.Key << " has no control on the window and is not said to be edited elsewhere";

  // A window snapshot prints the window the report was asked from.
  Screen->SetActiveForm(Host);
  for (const TTarget& T : Targets) {
    SCOPED_TRACE(T.Key + " side " + std::to_string(T.Side));
    const TSettingRange* Range = FindSettingRange(T.Key, T.Side);
    std::vector<std::string> Pending;
    Section(Base(Dests[T.Dest]));
    PrintWithWindow([&](TfmVlxMain& F) {
      TControl* C = F.SettingControl(T.Key, T.Side);
      if (auto* Combo = dynamic_cast<TComboBox*>(C)) {
        if (Combo->OnDropDown) Combo->OnDropDown(Combo);
        for (int I = 0; I < Combo->Items().Count(); ++I) Pending.push_back(Combo->Items()[I]);
      } else if (auto* Group = dynamic_cast<TGroupBox*>(C)) {
        for (int I = 0; I < Group->ControlCount(); ++I)
          if (Group->Controls(I)->Enabled()) Pending.push_back(Group->Controls(I)->Name());
      } else if (dynamic_cast<TCheckBox*>(C)) {
        Pending = {Shown(C) == "1" ? "0" : "1", Shown(C)};
      } else if (AllKeys.Find(T.Key)->Data.Form == rfPair) {
        Pending = {"abc", "0", "7-2", "3"};
      } else if (Range) {
        Pending = {"abc", "99999999999999", IntToStr(Range->Max), IntToStr(Range->Min)};
        if (Range->Max < INT_MAX) Pending.push_back(IntToStr(Range->Max + 1));
        if (Range->Min > INT_MIN) Pending.push_back(IntToStr(Range->Min - 1));
      } else {
        for (const char* Text : {"", "Start", "END", "[x]", "Memo,RptTi=END", "=%0A\"q\",c", "\xA0\xFF"})
          if (T.Key != "OutputFileName") Pending.push_back(Text);
          else if (*Text) Pending.push_back(Dir / Text);
      }
    });
    ASSERT_FALSE(Pending.empty());
    int Taken = 0;
    bool Check = false;
    std::string WasShown, WasSaved;
    while (!Pending.empty() || Check) {
      PrintWithWindow([&](TfmVlxMain& F) {
        TControl* C = F.SettingControl(T.Key, T.Side);
        if (Check) {
          Check = false;
          EXPECT_EQ(Shown(C), WasShown);
          EXPECT_EQ(KeyText(T.Key), WasSaved);
          F.sbPrintClick(nullptr);
          EXPECT_EQ(F.RunResult(), 1) << WasShown << " " << PrintSettings->FailureText;
          EXPECT_EQ(KeyText(T.Key), WasSaved) << WasShown;
        }
        while (!Pending.empty()) {
          const std::string Value = Pending.front();
          Pending.erase(Pending.begin());
          const std::string Before = FileBytes(Dir / "Books.txt");
          const size_t Boxes = Headless::MessageBoxes().size();
          if (auto* Win = dynamic_cast<TWinControl*>(C); Win && Win->CanFocus()) F.SetActiveControl(Win);
          if (auto* Box = dynamic_cast<TCheckBox*>(C)) {
            Box->SetChecked(Value == "1");
          } else if (auto* Group = dynamic_cast<TGroupBox*>(C)) {
            for (int I = 0; I < Group->ControlCount(); ++I)
              if (Group->Controls(I)->Name() == Value) dynamic_cast<TRadioButton*>(Group->Controls(I))->SetChecked(true);
          } else {
            C->SetText(Value);
            if (auto* Edit = dynamic_cast<TCustomEdit*>(C)) Edit->SetModified(true);
          }
          F.sbSaveOptsClick(nullptr);
          const std::string Message = F.paMsg->Caption();
          if (Message.find("Saved") != std::string::npos) {
            ++Taken;
            Check = true;
            WasShown = Shown(C);
            WasSaved = KeyText(T.Key);
            if (!dynamic_cast<TCheckBox*>(C) && !dynamic_cast<TGroupBox*>(C) && T.Key != "NumFixedCols") {
              EXPECT_TRUE(SameText(WasShown, Value)) << Value << " shown as " << WasShown;
            }
            break;
          }
          // The page numbers tell theirs in a box.
          EXPECT_TRUE(Trim(Message) != "" || Headless::MessageBoxes().size() > Boxes) << Value;
          EXPECT_EQ(FileBytes(Dir / "Books.txt"), Before) << Value;
          // A number out of range may meet another field's check first; no number meets its own.
          int N = 0;
          if (Range && !TryStrToInt(Value, N)) {
            EXPECT_EQ(Message.find(std::string(Range->Name) + " must be between " + IntToStr(Range->Min)), 2u)
                << Value << ": " << Message;
            EXPECT_TRUE(PageInFront(C)) << Value;
          }
        }
        F.ClearEditsModified();
      });
    }
    EXPECT_GT(Taken, 0);
  }
}

// The commands as the user meets them on the window: the pages the Setup boxes hide, the
// diagnostic caption, and the close question on every path.
TEST_F(SetupRunTest, TheWindowsCommandsAskToSaveOnlyWhatCanBeSavedAndShowTheirState) {
  const TKeys Shown = With(Quiet, {"DisplayReportOptionsWin=1"});
  Section(Shown);
  int Ran = 0;  // the pokes made while a print runs
  PrintWithWindow([&Ran](TfmVlxMain& F) {
    // The boxes name the pages to hide; the tabs follow when the settings are shown again.
    struct TPages {
      std::vector<TCheckBox*> Unchecked;
      std::string HidePages;
    };
    const TPages Pages[] = {{{}, ""},
                            {{F.cbShowGeneralPage}, "General"},
                            {{F.cbShowGeneralPage, F.cbShowOutputPage, F.cbShowStylePage, F.cbShowTitlesPage,
                              F.cbShowSetupPage},
                             "General,Output,Style,Titles,Setup"},
                            {{F.cbShowTitlesPage, F.cbShowSetupPage}, "Titles,Setup"}};
    const int FullHeight = F.ClientHeight();
    for (const TPages& Row : Pages) {
      for (TCheckBox* Box : {F.cbShowGeneralPage, F.cbShowOutputPage, F.cbShowStylePage, F.cbShowTitlesPage,
                             F.cbShowSetupPage})
        Box->SetChecked(std::find(Row.Unchecked.begin(), Row.Unchecked.end(), Box) == Row.Unchecked.end());
      EXPECT_EQ(RptSettings->HidePages, Row.HidePages);
      F.SettingsToForm();
      for (TTabSheet* Page : {F.tsGeneral, F.tsOutput, F.tsTitles, F.tsSetup})
        EXPECT_EQ(Page->TabVisible(), Row.HidePages.find(Page->Name().substr(2)) == std::string::npos)
            << Row.HidePages << " " << Page->Name();
      // With every page hidden the window shrinks to its command bar and status area.
      const bool AnyPage = Row.Unchecked.size() < 5;
      EXPECT_EQ(F.ClientHeight(), AnyPage ? FullHeight : F.paTop->ClientHeight() + F.paBottom->ClientHeight());
      if (AnyPage) {
        EXPECT_TRUE(F.pcOptions->ActivePage()->TabVisible()) << Row.HidePages;
      }
    }

    // The View menu's items find their pages by caption, the Styles item its own way.
    for (const auto& [Item, Page] : {std::pair{F.itmOutputTab, F.tsOutput}, std::pair{F.itmStylesTab, F.tsStyle},
                                     std::pair{F.itmGeneralTab, F.tsGeneral}}) {
      Item->Click();
      EXPECT_EQ(F.pcOptions->ActivePage(), Page) << Item->Caption();
    }

    F.paPagesAcross->OnClick(F.paPagesAcross);
    EXPECT_EQ(F.Caption(), "Report Options: Books...ReportId: \"Books (001.001)\", ObjectToPrint:strgrd");
    EXPECT_NE(F.paMsg->Caption().find(" ReportSettings File: "), std::string::npos);
    F.paPagesAcross->OnClick(F.paPagesAcross);
    EXPECT_EQ(F.Caption(), "Report Options: Books");
    EXPECT_EQ(F.paMsg->Caption(), "");
    // After the start a field error stands for the usual 5 seconds, not the start's 15.
    F.edPageMarginLeft->SetText("-1");
    EXPECT_FALSE(F.ValidateOptions(F.edPageMarginLeft, false, false));
    EXPECT_EQ(F.Timer1->Interval(), 5000u);
    // A preview that the check refuses hands the arrow back.
    F.sbPreviewClick(nullptr);
    EXPECT_EQ(Screen->Cursor(), crArrow);
    F.edPageMarginLeft->SetText("0");

    // Shown again after the start (hidden by a print or a preview), the window keeps what the
    // user changed and has not saved: the start, which reads the file, runs once.
    F.edTextTruncSymbol->SetText("~");
    F.FormToSettings();
    F.SetVisible(false);
    F.SetVisible(true);
    Application->ProcessMessages();
    EXPECT_EQ(F.edTextTruncSymbol->Text(), "~");

    // While a print runs the window takes no input (a key into the destination, Ctrl+W, Close)
    // and answers again once it is over; the preview likewise, the progress window alone
    // taking input meanwhile.
    Application->Post(Application, [&F, &Ran] {
      Ran += !F.Enabled() && PrintSettings->RunState == rsActive;
      unsigned short Key = 'W';
      F.cbxOutputDest->PeerTextEdited("TF");
      F.cbxOutputDest->PeerKeyDown(Key, ssCtrl);
      F.sbClose->PeerClick();
    });
    F.sbPrint->PeerClick();
    EXPECT_TRUE(F.Enabled() && F.ModalResult() == mrNone && Headless::MessageBoxes().empty());
    EXPECT_EQ(F.cbxOutputDest->Text(), "Printer");
    F.cbDisplayProgressWin->SetChecked(true);
    F.sbPreviewClick(nullptr);
    EXPECT_TRUE(F.Enabled());
    EXPECT_EQ(Ran, 2);
  }, [&Ran](TfmVlxPreview& P) {
    // One page: no page move by button, menu item or short cut.
    P.mnView->Click();
    EXPECT_FALSE(P.itmFirstPage->Enabled() || P.itmLastPage->Enabled());
    Application->Post(&P, [&P, &Ran] {
      Ran += !P.Enabled() && !fmVlxMain->Enabled() && fmVlxProgress && fmVlxProgress->Enabled();
      P.sbExit->PeerClick();
    });
    P.sbPrint->Click();
    EXPECT_TRUE(P.Enabled() && P.ModalResult() == mrNone);
  });

  struct TCase {
    std::string Name;
    TKeys Settings;
    bool FileReadOnly;
    bool SaveFirst;
    int Answer;  // to the question, when it is asked
    bool Asked, Closed, Saved;
    bool SaveOffered = true;
  };
  const TCase Cases[] = {
      {"Cancel keeps the window", Shown, false, false, mrCancel, true, false, false},
      {"No closes unsaved", Shown, false, false, mrNo, true, true, false},
      {"Yes saves and closes", Shown, false, false, mrYes, true, true, true},
      {"saved changes are no question", Shown, false, true, mrCancel, false, true, true},
      {"read-only settings never ask", With(Shown, {"SettingsReadOnly=1"}), false, false, mrYes, false, true, false,
       false},
      {"a write-protected file never asks", Shown, true, false, mrYes, false, true, false, false},
  };
  for (const TCase& Case : Cases) {
    Headless::Reset();
    Section(Case.Settings);
    if (Case.FileReadOnly) std::filesystem::permissions(Dir / "Books.txt", std::filesystem::perms::owner_write,
                                                        std::filesystem::perm_options::remove);
    Headless::QueueAnswer(Case.Answer);
    bool Closed = false;
    int Beeps = 0;
    PrintWithWindow([&](TfmVlxMain& F) {
      F.edTextTruncSymbol->SetText("~");
      F.edTextTruncSymbol->SetModified(true);
      if (Case.SaveFirst) F.sbSaveOpts->Click();
      // Passing through a list on the way changes nothing.
      F.SetActiveControl(F.cbxOutputDest);
      F.SetActiveControl(F.cbShowHint);
      // Save is offered only where it can write; where it is not, Ctrl+S writes nothing either.
      EXPECT_EQ(F.sbSaveOpts->Enabled(), Case.SaveOffered) << Case.Name;
      unsigned short CtrlS = 'S';
      if (!Case.SaveOffered) F.edTextTruncSymbol->PeerKeyDown(CtrlS, ssCtrl);
      Beeps = Headless::BeepCount();
      F.sbClose->Click();
      Closed = F.ModalResult() != mrNone;
      Beeps = Headless::BeepCount() - Beeps;
    });
    std::vector<std::string> Questions;
    for (const auto& Box : Headless::MessageBoxes())
      if (Box.Text.find("Save New Report Settings?") != std::string::npos) Questions.push_back(Box.Text);
    EXPECT_EQ(Questions.size(), Case.Asked ? 1u : 0u) << Case.Name;
    EXPECT_EQ(Closed, Case.Closed) << Case.Name;
    // The question beeps before it shows; a refused close beeps once more.
    EXPECT_EQ(Beeps, (Case.Asked ? 1 : 0) + (Case.Closed ? 0 : 1)) << Case.Name;
    EXPECT_EQ(FileBytes(Dir / "Books.txt").find("TextTruncSymbol=~") != std::string::npos, Case.Saved) << Case.Name;
    std::filesystem::permissions(Dir / "Books.txt", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    ExpectCleanedUp();
  }
}

// A start stopped before the controls are loaded (the selected-rows question cancelled, with an
// options password that a field check would ask for) closes the window after its one message:
// no field check, no password, no beep, no second error.
TEST_F(SetupRunTest, AStartStoppedEarlyClosesAfterItsOneMessage) {
  Section(With(Quiet, {"DisplayReportOptionsWin=1", "RptOptPW=secret", "PrintWhat=7", "ioAskToPrintSelectedRows=1"}));
  std::vector<std::string> Windows;
  bool Closed = false;
  Headless::SetModalHandler([&](TCustomForm& Form) {
    Windows.push_back(Form.Name());
    if (&Form != fmVlxMain) return Form.SetModalResult(mrCancel);
    // The focus where the real window puts it, on its first control.
    fmVlxMain->cbxOutputDest->SetFocus();
    Application->ProcessMessages();
    Closed = Form.ModalResult() != mrNone;
  });
  EXPECT_EQ(Vlx->Print(), 0);
  EXPECT_TRUE(Closed);
  EXPECT_EQ(Windows, (std::vector<std::string>{"fmVlxMain", "fmvlxAskSelectedRows"}));
  EXPECT_EQ(Boxes(MsgBox::IconWarning), std::vector<std::string>{"Vellumix! User Terminated Report"});
  EXPECT_TRUE(Headless::ErrorBoxes().empty()) << Headless::ErrorBoxes().front();
  const auto& Sounds = Headless::BeepSounds();
  EXPECT_EQ(std::count(Sounds.begin(), Sounds.end(), 64u), 0) << "a field check beeped";
  ExpectCleanedUp();
}

// Selected Rows prints the rows of the block selected in the grid, each once, with the block's
// columns (and the fixed column, which every page repeats), whichever block it is.
TEST_F(SetupRunTest, SelectedRowsPrintsTheSelectedBlock) {
  const std::string Out = Dir / "selected.txt";
  Grid->SetRowCount(9);
  for (int R = 1; R < 9; ++R)
    for (int C = 0; C < 3; ++C) Grid->SetCells(C, R, "R" + std::to_string(R) + "C" + std::to_string(C));
  // Stored, or chosen on the setup window: a Cancel in the question keeps the whole grid
  // chosen, and with the question off the choice counts the rows and builds the columns again.
  for (const TGridRect Block : {TGridRect{0, 2, 1, 4}, TGridRect{1, 1, 2, 1}, TGridRect{0, 6, 2, 8}})
  for (const bool Chosen : {false, true}) {
    Headless::Reset();
    const TKeys Output = {"OutputDest=1", "OutputFileName=" + Out, "HideColumns=~Line#"};
    Section(With(With(Quiet, Output), Chosen ? TKeys{"DisplayReportOptionsWin=1", "ioAskToPrintSelectedRows=1"}
                                             : TKeys{"PrintWhat=7"}));
    Grid->SetSelection(Block);
    bool WholeAfterCancel = false;
    EXPECT_EQ(!Chosen ? Print() : PrintWithWindow([&](TfmVlxMain& F) {
                F.rbPrintWhatSelectedRows->PeerChecked();
                WholeAfterCancel = F.rbPrintWhatAll->Checked() && RptSettings->PrintWhat == pwAll;
                RptSettings->SetItemOpt(ioAskToPrintSelectedRows, false);
                F.rbPrintWhatSelectedRows->PeerChecked();
                F.sbPrintClick(nullptr);
              }),
              1);
    EXPECT_EQ(WholeAfterCancel, Chosen);
    const std::string Printed = FileBytes(Out);
    for (int R = 1; R < 9; ++R)
      for (int C = 0; C < 3; ++C) {
        const std::string Cell = "R" + std::to_string(R) + "C" + std::to_string(C);
        const bool Selected = R >= Block.Top && R <= Block.Bottom && (C == 0 || (C >= Block.Left && C <= Block.Right));
        EXPECT_EQ(Printed.find(Cell) != std::string::npos && Printed.find(Cell) == Printed.rfind(Cell), Selected)
            << Cell << "\n" << Printed;
      }
  }
}

// A run that fails tells the user once: in an error box when it fails before its progress
// window opens, in the progress summary's red line (and no box) when it fails after.
TEST_F(SetupRunTest, APrintThatFailsSaysWhyOnce) {
  TKeys Settings = With(Quiet, {"OutputDest=1", "OutputFileName=" + (Dir / "Books.txt.out"), "Memo,PgTi=START"});
  for (int Line = 0; Line < 100; ++Line) Settings.push_back("Title line " + std::to_string(Line));
  Settings.push_back("Memo,PgTi=END");
  Section(Settings);
  EXPECT_EQ(Print(), 3);
  const auto Errors = Headless::ErrorBoxes();
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_NE(Errors[0].find("Report Memos are too large for page size"), std::string::npos) << Errors[0];
  ExpectCleanedUp();

  for (const bool Summary : {true, false}) {
    Headless::Reset();
    Section(With(Quiet, {"FastPrinterText=1", "AllowFastPrinterText=1", "DisplayProgressWin=1",
                         Summary ? "PauseAfterPrinting=1" : "PauseAfterPrinting=0"}));
    Headless::SpoolerFailAt("WritePrinter", 1);
    EXPECT_EQ(Print(), 3);
    const std::vector<std::string> Windows = {"fmVlxMain", "fmVlxProgress"};
    EXPECT_EQ(Modal, std::vector<std::string>(Windows.begin(), Windows.begin() + (Summary ? 2 : 1)));
    EXPECT_EQ(Headless::ErrorBoxes().size(), Summary ? 0u : 1u) << Summary;
    ExpectCleanedUp();
  }
}

TEST_F(SetupRunTest, ColumnsGridTogglesVisibilityAndSetsTotalsAndFormats) {
  Section(With(Quiet, {"DisplayReportOptionsWin=1"}));
  bool Ran = false;
  Headless::SetModalHandler([&](TCustomForm& Form) {
    if (&Form != fmVlxMain) return Form.SetModalResult(mrCancel);
    Application->ProcessMessages();
    Form.SetModalResult(mrCancel);
    TfmVlxMain& F = *fmVlxMain;
    TDrawGrid& G = *F.dgColumns;
    const auto Cols = []() -> TColsList& { return *ObjInfo->ColsList; };
    const auto Name = [&](int I) { return Cols().Items(I)->FieldName; };
    const auto Press = [](TWinControl& Control, unsigned short Key) { Control.PeerKeyDown(Key, 0); };
    F.pcOptions->SetActivePage(F.tsStyle);
    // The line-number column and the grid's three, under the fixed column; no break rows.
    ASSERT_EQ(G.ColCount(), 5);
    ASSERT_EQ(G.RowCount(), 4);

    G.SetCol(2);
    G.SetRow(1);
    Press(G, ' ');
    EXPECT_EQ(RptSettings->HideColumns, Name(1));
    // A double click on a column's name flips it as one on its visible cell does.
    const TRect Head = G.CellRect(3, 0);
    G.PeerMouseDown(TMouseButton::mbLeft, 0, Head.Left + 2, Head.Top + 2);
    G.PeerDblClick();
    EXPECT_EQ(RptSettings->HideColumns, Name(1) + "," + Name(2));
    EXPECT_EQ(G.Col(), 3);
    // One on the line numbers has nothing to flip.
    G.PeerMouseDown(TMouseButton::mbLeft, 0, 2, Head.Top + 2);
    G.PeerDblClick();
    G.SetCol(2);
    Press(G, ' ');
    EXPECT_EQ(RptSettings->HideColumns, Name(2));
    F.itmHideallColumns->Click();
    EXPECT_EQ(RptSettings->HideColumns, Name(0) + "," + Name(1) + "," + Name(2) + "," + Name(3));
    // Nothing to print: Print is grey by its button, its File menu item and Ctrl+P alike.
    unsigned short CtrlP = 'P';
    G.PeerKeyDown(CtrlP, ssCtrl);
    F.itmPrint->Click();
    EXPECT_TRUE(!F.itmPrint->Enabled() && !F.itmPreview->Enabled() && Headless::PrintedDocuments().empty());
    F.itmToggleColumnVisibility->Click();
    EXPECT_EQ(RptSettings->HideColumns, "");

    // The report total: the kind combo over its own cell (one pixel in, three larger), its list
    // as wide as the longest kind; then down to the format row's edit.
    G.SetRow(2);
    ASSERT_TRUE(F.cmbColumns->Visible());
    EXPECT_EQ(F.cmbColumns->Text(), "None");
    const TRect C = G.CellRect(2, 2);
    EXPECT_EQ(F.cmbColumns->BoundsRect(),
              (TRect{G.Left() + C.Left + 1, G.Top() + C.Top + 1, G.Left() + C.Right + 4, G.Top() + C.Bottom + 4}));
    EXPECT_GE(F.cmbColumns->DroppedWidth(), G.Canvas().TextWidth("Variance (Population)"));
    F.cmbColumns->PeerItemChosen(tkCount);
    ASSERT_TRUE(Cols().Items(1)->TotList);
    EXPECT_EQ(Cols().Items(1)->TotList->Items(0)->Kind, tkCount);
    EXPECT_FALSE(Cols().Items(2)->TotList) << "the neighbour's total";
    // Right and Left from the kind combo go to the next column's total and back.
    Press(*F.cmbColumns, 0x27);
    EXPECT_EQ(G.Col(), 3);
    EXPECT_EQ(F.cmbColumns->Text(), "None");
    Press(*F.cmbColumns, 0x25);
    EXPECT_EQ(G.Col(), 2);
    EXPECT_EQ(F.cmbColumns->Text(), "Count");
    Press(*F.cmbColumns, 0x28);
    EXPECT_EQ(G.Row(), 3);
    EXPECT_FALSE(F.cmbColumns->Visible());
    ASSERT_TRUE(F.edColumns->Visible());
    char Quote = '"';
    F.edColumns->PeerKeyPress(Quote);
    EXPECT_EQ(Quote, 0);
    EXPECT_EQ(Headless::BeepCount(), 2);
    // A format that cannot format a number is refused with its reason and dropped.
    F.edColumns->PeerTextEdited("%d");
    Press(*F.edColumns, '\r');
    EXPECT_FALSE(F.edColumns->Visible());
    ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(Headless::MessageBoxes()[0].Text,
              "Formatting string \"FmtStr\" is invalid.\rFormat '%d' invalid or incompatible with argument");
    EXPECT_EQ(Cols().Items(1)->TotalText, "");
    Press(G, '\r');
    ASSERT_TRUE(F.edColumns->Visible());
    F.edColumns->PeerTextEdited("N=%.0f");
    Press(*F.edColumns, 0x26);
    EXPECT_EQ(G.Row(), 2);
    EXPECT_TRUE(F.cmbColumns->Visible());
    EXPECT_EQ(Cols().Items(1)->TotalText, "N=%.0f");
    // Rebuilding the columns (here for check marks) keeps the totals set on them.
    F.lbxStyleOpts->PeerCheckToggled(F.lbxStyleOpts->Items().IndexOf("Boolean Checkmarks"));
    F.FormToSettings();
    EXPECT_EQ(RptSettings->ColumnTotals, Name(1) + ",,Count,\"N=%.0f\"");
    // A total's format wider than its column widens the report once the grid is left.
    F.SetActiveControl(F.cbShowHint);
    F.dgColumns->OnExit(F.dgColumns);
    const std::string Width = F.paRptStatus->Caption();
    Cols().Items(1)->TotalText = "Books counted: %.0f";
    F.dgColumns->OnExit(F.dgColumns);
    EXPECT_NE(F.paRptStatus->Caption(), Width);
    Ran = true;
  });
  Vlx->Print();
  EXPECT_TRUE(Ran);
}

}  // namespace

// A report's stored settings reach its run alike through the setup window's start and through
// the start without a window: the same text file, stored totals, line numbers and all, its name
// following the destination.
TEST_F(SetupRunTest, AStoredReportPrintsAlikeThroughTheWindowAndWithoutIt) {
  const TKeys Stored = With(Quiet, {"OutputDest=1", "TxtCharsPageWid=16", "LinesPerpage=12", "HideColumns=",
                                    "StartingReportLineId=1000", "NumFixedCols=1",
                                    "ColumnTotals=Col#1,,Sum,\"\";Col#2,,Max,\"\"", "Memo,PgTi=START", "BOOKS",
                                    "Memo,PgTi=END"});
  Section(With(Stored, {"OutputFileName=" + (Dir / "window.asc")}));
  ASSERT_EQ(Print(), 1);
  Section(With(Stored, {"OutputFileName=" + (Dir / "engine.asc")}));
  {
    TvlxRun Run;
    TvlxRunScope Scope(Run);
    Run.Adapter().Component = Vlx;
    Run.Settings.ReportId = Vlx->ReportId();
    Run.Settings.ReportTitle = Vlx->DialogTitle();
    Vlx->FileMgr()->SetReportSettings(&Run.Settings);
    TvlxStartSteps Steps;
    EXPECT_TRUE(StartRun(Run, Steps));
    bool RescanPending = false;
    PrepareToPrint(Run, Steps, RescanPending);
    EXPECT_EQ(Run.State.Execute(false), 1);
    Vlx->FileMgr()->SetReportSettings(nullptr);
  }
  const std::string Printed = FileBytes(Dir / "window.TXT");
  for (const char* Text : {"BOOKS", "1,004", "155", "52"}) EXPECT_NE(Printed.find(Text), std::string::npos) << Printed;
  EXPECT_EQ(FileBytes(Dir / "engine.TXT"), Printed);
}

namespace {

// Rows R1C0.. down to Rows - 1, under the headings: a report of several pages.
void GrowGrid(TForm& Host, int Rows) {
  auto* Grid = dynamic_cast<TStringGrid*>(Host.FindComponent("strgrd"));
  Grid->SetRowCount(Rows);
  for (int R = 1; R < Rows; ++R)
    for (int C = 0; C < 3; ++C) Grid->SetCells(C, R, "R" + std::to_string(R) + "C" + std::to_string(C));
}

// Types Text into Edit as the user does: focus in, the text, then Enter or the focus on to Next.
void Type(TCustomEdit* Edit, const std::string& Text, TWinControl* Next, bool Enter = false) {
  Edit->PeerFocusChanged(true);
  Edit->PeerTextEdited(Text);
  char Key = '\r';
  if (Enter) Edit->PeerKeyPress(Key);
  else Next->PeerFocusChanged(true);
}

// The setup window runs its start and closes by itself after the preview it opened first; it
// never stays for the user here. Every other window is cancelled.
void Leave(TCustomForm& Form) {
  if (&Form == fmVlxMain) Application->ProcessMessages();
  EXPECT_NE(Form.ModalResult(), mrNone) << Form.Name() << " stayed open";
  if (Form.ModalResult() == mrNone) Form.SetModalResult(mrCancel);
}

int Questions() {
  int N = 0;
  for (const auto& Box : Headless::MessageBoxes())
    N += Box.Text == "Report Settings have been modified.\r\rSave New Report Settings?";
  return N;
}

// The output settings the preview's tool bar changes, as the model keeps them.
struct TOutput {
  int Dest = 0;  // 0 printer, 1 text file, 2 export
  std::string FileName;
  int IfExists = 0;
  int Lines = 60, Width = 80;
  bool operator==(const TOutput&) const = default;
};

const char* const DestNames[] = {"Printer", "Text File", "Export Data"};

// A file name follows its destination's extension when it has one of the known ones.
std::string FollowExt(const std::string& Name, int Dest) {
  if (Dest == 0) return Name;
  const std::string Ext = UpperCase(ExtractFileExt(Name));
  const std::string Wanted = Dest == 1 ? ".TXT" : ".ASC";
  if ((Ext != ".ASC" && Ext != ".TXT" && Ext != ".RTF") || Ext == Wanted) return Name;
  return ChangeFileExt(Name, Wanted);
}

// A key's value in a saved section; a key at its default is not written.
std::string Value(const std::string& File, const std::string& Key, const std::string& Default = "") {
  const size_t At = File.find("\r\n" + Key + "=");
  if (At == std::string::npos) return Default;
  const size_t From = At + Key.size() + 3;
  return File.substr(From, File.find("\r\n", From) - From);
}

}  // namespace


// Random sequences of the preview's own controls (destination, file name typed or browsed,
// existing-file choice, text page size, with page moves, zooms and prints between), then the
// preview that the start opened first is closed and the question answered: the question comes
// exactly when a setting changed, Cancel keeps the preview open, Yes writes what the model
// holds and No leaves the file as it was; the next Print shows the saved choices and prints
// what the preview printed with them.
TEST_F(SetupRunTest, ThePreviewsChangesArePrintedOfferedAndSavedAsTheModelSays) {
  GrowGrid(*Host, 40);
  std::mt19937 Random(7);
  const auto Pick = [&](int N) { return static_cast<int>(Random() % N); };
  const std::string Names[] = {Dir / "a.txt", Dir / "b.asc", Dir / "c.txt"};
  for (int Case = 0; Case < 60; ++Case) {
    Headless::Reset();
    TOutput Stored;
    Stored.Dest = Pick(2);
    Stored.FileName = FollowExt(Names[0], Stored.Dest);
    Section({"NumFixedCols=0", "OutputQuality=0", "DisplayProgressWin=0", "PauseAfterPrinting=0",
             "OutputDest=" + std::to_string(Stored.Dest), "OutputFileName=" + Stored.FileName, "LinesPerpage=60",
             "TxtCharsPageWid=80", "IfOutputFileExists=0"});
    const std::string Before = FileBytes(Dir / "Books.txt");
    TOutput Model = Stored;
    bool Changed = false;
    std::string Trace, Printed;
    const int Answer = std::array{mrYes, mrNo, mrCancel}[Pick(3)];
    int Asked = 0, Zoom = 0;
    bool KeptOpen = false;
    Headless::SetModalHandler([&](TCustomForm& Form) {
      if (&Form != fmVlxPreview) return Leave(Form);
      TfmVlxPreview& P = *fmVlxPreview;
      Zoom = StrToIntDef(StringReplace(P.cmbZoomLevel->Text(), "%", "", true), -1);
      // The page's columns line up only in a font whose characters are all one width.
      EXPECT_EQ(P.memPreview->Font().Pitch(), TFontPitch::fpFixed);
      // The vertical page the status line shows, after the page word when there is one.
      const auto PageShown = [&] {
        const std::string& Label = P.paPageNum->Caption();
        return StrToIntDef(Label.substr(Label.rfind(' ') + 1), -1);
      };
      const auto Set = [&](auto& Field, auto Value) {
        Changed = Changed || Field != Value;
        Field = Value;
      };
      for (int Step = 0, Steps = 1 + Pick(5); Step < Steps; ++Step) {
        const bool File = Model.Dest != 0;
        switch (Pick(10)) {
          case 0: {
            const int Dest = Pick(3);
            Trace += " dest " + std::to_string(Dest);
            if (Dest == Model.Dest) break;
            P.cbxOutputDest->PeerItemChosen(Dest);
            Set(Model.Dest, Dest);
            Set(Model.FileName, FollowExt(Model.FileName, Dest));
            break;
          }
          case 1:
            if (!File) break;
            Trace += " name";
            Type(P.edOutputFileName, Names[Pick(3)], P.memPreview);
            Set(Model.FileName, FollowExt(P.edOutputFileName->Text(), Model.Dest));
            break;
          case 2: {
            if (!File) break;
            const std::string Name = Names[Pick(3)];
            Trace += " browse";
            Headless::QueueDialogAnswer([&](TCommonDialog& Dialog) {
              dynamic_cast<TSaveDialog&>(Dialog).SetFileName(Name);
              return true;
            });
            P.buBrowseFile->Click();
            // A name confirmed in the dialog is the user's choice even when it was the same.
            Changed = true;
            Set(Model.FileName, FollowExt(Name, Model.Dest));
            break;
          }
          case 3: {
            if (!File) break;
            const int Choice = Pick(2);
            Trace += " exists " + std::to_string(Choice);
            if (Choice == Model.IfExists) break;
            P.cbxIfOutputFileExists->PeerItemChosen(Choice);
            Set(Model.IfExists, Choice);
            break;
          }
          case 4:
          case 5: {
            if (Model.Dest != 1) break;
            // Left, ended with Enter, or left in the edit for what comes next to take.
            const bool Lines = Pick(2);
            const int Way = Pick(3);
            const int Number = Lines ? 20 + Pick(50) : 50 + Pick(60);
            Trace += (Lines ? " lines " : " width ") + std::to_string(Number) + std::array{"", " enter", " kept"}[Way];
            TEdit* Edit = Lines ? P.edLinesPerPage : P.edTxtCharsPageWid;
            Type(Edit, std::to_string(Number), Way == 2 ? static_cast<TWinControl*>(Edit) : P.memPreview, Way == 1);
            if (Way != 2) {
              EXPECT_EQ(Lines ? RptSettings->LinesPerpage : RptSettings->TxtCharsPageWid, Number) << Trace;
            }
            Set(Lines ? Model.Lines : Model.Width, Number);
            break;
          }
          case 6: {
            // Next goes one page on while there is one, and beeps at the last.
            Trace += " next";
            const int Before = PageShown();
            const bool More = P.sbNextPage->Enabled();
            const int Beeps = Headless::BeepCount();
            P.sbNextPage->Click();
            EXPECT_EQ(PageShown(), Before + More) << Trace;
            EXPECT_EQ(Headless::BeepCount() - Beeps, More ? 0 : 1) << Trace;
            break;
          }
          case 7: {
            // A zoom from 25% to 500% of the opening font, held within 2 to 30 points; a
            // choice outside either range beeps, and one outside the first changes nothing.
            const int Item = Pick(P.cmbZoomLevel->Items().Count());
            const int Percent = StrToInt(StringReplace(P.cmbZoomLevel->Items()[Item], "%", "", true));
            Trace += " zoom " + std::to_string(Percent);
            const int Asked = P.BaseFontSize * Percent / 100, Beeps = Headless::BeepCount();
            const bool Taken = Percent >= 25 && Percent <= 500;
            const int Size = Taken ? std::clamp(Asked, 2, 30) : P.memPreview->Font().Size();
            P.cmbZoomLevel->PeerItemChosen(Item);
            EXPECT_EQ(P.memPreview->Font().Size(), Size) << Trace;
            EXPECT_EQ(Headless::BeepCount() - Beeps, Taken && Size == Asked ? 0 : 1) << Trace;
            if (!Taken) break;
            Zoom = (Size * 200 / P.BaseFontSize + 1) / 2;
            EXPECT_EQ(P.cmbZoomLevel->Text(), std::to_string(Zoom) + "%") << Trace;
            break;
          }
          case 8: {
            // Chosen in the File menu, the combo or by a double click that steps the combo on,
            // the pages to print are ticked in the menu.
            const int What = Pick(3), Way = Pick(3);
            TMenuItem* const Items[] = {P.itmAllPages, P.itmCurrentPage, P.itmPageRange};
            if (Way == 0) Items[What]->Click();
            else P.cbxPrintWhatPages->PeerItemChosen(Way == 1 ? What : (What + 2) % 3);
            if (Way == 2) P.cbxPrintWhatPages->PeerDblClick();
            P.mnFile->Click();
            for (int I = 0; I < 3; ++I) EXPECT_EQ(Items[I]->Checked(), I == What) << Trace;
            EXPECT_EQ(P.edFromPageNum->Visible(), What == 2) << Trace;
            Trace += " print " + std::to_string(What);
            std::filesystem::remove(Model.FileName);
            P.sbPrint->Click();
            ASSERT_EQ(PrintSettings->RunResult, 1) << Trace;
            break;
          }
          case 9: {
            Trace += " copy";
            const int Beeps = Headless::BeepCount();
            P.sbClipBoard->Click();
            EXPECT_EQ(Headless::ClipboardText(), P.memPreview->Text());
            EXPECT_EQ(P.paMsg->Caption(), "  Page has been copied to Windows clipboard");
            EXPECT_EQ(Headless::BeepCount() - Beeps, 1);
            break;
          }
        }
        // The status line names where the output goes: the printer, or the file (its folder
        // shortened to fit).
        const std::string Where = P.paDestination->Caption();
        const std::string Name = std::filesystem::path(Model.FileName).filename().string();
        EXPECT_TRUE(Model.Dest == 0 ? Where == "Fake Laser"
                                    : Where.size() >= Name.size() && SameText(Where.substr(Where.size() - Name.size()), Name))
            << Trace << ": " << Where;
        EXPECT_EQ(P.sbPrinterSetup->Visible(), Model.Dest == 0) << Trace;
        EXPECT_EQ(P.edOutputFileName->Visible(), Model.Dest != 0) << Trace;
        // Back and First are offered exactly off the first page.
        const bool AtFirst = PageShown() == 1;
        EXPECT_EQ(P.sbPrevPage->Enabled(), !AtFirst) << Trace;
        EXPECT_EQ(P.sbFirstPage->Enabled(), !AtFirst) << Trace;
      }
      SCOPED_TRACE(Trace);
      // What the preview prints with its choices, to compare with the next Print.
      if (Model.Dest != 0) std::filesystem::remove(Model.FileName);
      const size_t Docs = Headless::PrintedDocuments().size();
      P.cbxPrintWhatPages->PeerItemChosen(0);
      P.sbPrint->Click();
      ASSERT_EQ(PrintSettings->RunResult, 1);
      Printed = Model.Dest != 0 ? FileBytes(Model.FileName) : std::to_string(Headless::PrintedDocuments().size() - Docs);
      Headless::QueueAnswer(Answer);
      P.sbExit->Click();
      Asked = Questions();
      KeptOpen = Form.ModalResult() == mrNone;
      if (KeptOpen) {
        Headless::QueueAnswer(mrNo);
        P.sbExit->Click();
      }
    });
    EXPECT_EQ(Vlx->Print(), 1);
    SCOPED_TRACE(Trace + " answer " + std::to_string(Answer));
    EXPECT_EQ(Asked, Changed ? 1 : 0);
    EXPECT_EQ(KeptOpen, Changed && Answer == mrCancel);
    // One question for one close: the setup window behind the preview does not ask again.
    EXPECT_EQ(Questions(), Changed ? 1 + KeptOpen : 0);
    EXPECT_EQ(fmVlxMain, nullptr);
    const bool Saved = Changed && Answer == mrYes;
    const TOutput Expected = Saved ? Model : Stored;
    const std::string After = FileBytes(Dir / "Books.txt");
    if (!Saved) {
      EXPECT_EQ(After, Before);
    } else {
      EXPECT_EQ(Value(After, "OutputDest", "0"), std::to_string(Expected.Dest));
      EXPECT_TRUE(SameText(Value(After, "OutputFileName"), Expected.FileName)) << Value(After, "OutputFileName");
      EXPECT_EQ(Value(After, "IfOutputFileExists", "0"), std::to_string(Expected.IfExists));
      EXPECT_EQ(Value(After, "LinesPerpage", "60"), std::to_string(Expected.Lines));
      EXPECT_EQ(Value(After, "TxtCharsPageWid", "80"), std::to_string(Expected.Width));
      // The zoom in force as the preview closed is kept with what the question saved.
      EXPECT_EQ(Value(After, "PreviewZoomLevel", "100"), std::to_string(Zoom));
    }

    // The next Print opens the preview on the saved choices, and prints what the first did.
    Headless::Reset();
    TOutput Shown;
    std::string Again;
    // An export is never previewed: the setup window shows instead, with the same choices.
    const auto Read = [&](TComboBox* Dest, TEdit* Name, TComboBox* Exists, TEdit* Lines, TEdit* Width) {
      Shown = {Dest->ItemIndex(), Name->Text(), Exists->ItemIndex(), StrToIntDef(Lines->Text(), -1),
               StrToIntDef(Width->Text(), -1)};
      if (Expected.Dest != 0) std::filesystem::remove(Expected.FileName);
    };
    const auto Output = [&] {
      return Expected.Dest != 0 ? FileBytes(Expected.FileName) : std::to_string(Headless::PrintedDocuments().size());
    };
    Headless::SetModalHandler([&](TCustomForm& Form) {
      if (&Form == fmVlxMain && Expected.Dest == 2) {
        Application->ProcessMessages();
        TfmVlxMain& F = *fmVlxMain;
        Read(F.cbxOutputDest, F.edOutputFileName, F.cbxIfOutputFileExists, F.edLinesPerPage, F.edTxtCharsPageWid);
        F.sbPrintClick(nullptr);
        Again = Output();
        return F.sbClose->Click();
      }
      if (&Form != fmVlxPreview) return Leave(Form);
      TfmVlxPreview& P = *fmVlxPreview;
      Read(P.cbxOutputDest, P.edOutputFileName, P.cbxIfOutputFileExists, P.edLinesPerPage, P.edTxtCharsPageWid);
      P.cbxPrintWhatPages->PeerItemChosen(0);
      P.sbPrint->Click();
      Again = Output();
      P.sbExit->Click();
    });
    Vlx->Print();
    EXPECT_EQ(Shown.Dest, Expected.Dest);
    EXPECT_TRUE(SameText(Shown.FileName, Expected.FileName)) << Shown.FileName;
    EXPECT_EQ(Shown.IfExists, Expected.IfExists);
    EXPECT_EQ(Shown.Lines, Expected.Lines);
    EXPECT_EQ(Shown.Width, Expected.Width);
    EXPECT_TRUE(Headless::MessageBoxes().empty()) << Headless::MessageBoxes().front().Text;
    if (Saved || !Changed) {
      EXPECT_EQ(Again, Printed);
    }
  }
}

// A change made in the preview that cannot be saved (a file in a folder that does not exist):
// Yes in the question keeps the preview open with the field's message on its status line and
// the focus on the file name, where the user corrects it; the next close saves the correction.
TEST_F(SetupRunTest, AChangeThatCannotBeSavedKeepsThePreviewOpenUntilCorrected) {
  Section({"NumFixedCols=0", "OutputQuality=0", "DisplayProgressWin=0", "PauseAfterPrinting=0"});
  const std::string Good = Dir / "good.txt";
  std::string Message;
  bool OpenAfterFirst = false, Focused = false;
  Headless::SetModalHandler([&](TCustomForm& Form) {
    if (&Form != fmVlxPreview) return Leave(Form);
    TfmVlxPreview& P = *fmVlxPreview;
    P.cbxOutputDest->PeerItemChosen(1);
    Type(P.edOutputFileName, Dir / "missing/out.txt", P.memPreview);
    Headless::QueueAnswer(mrYes);
    P.sbExit->Click();
    OpenAfterFirst = Form.ModalResult() == mrNone;
    Message = P.paMsg->Caption();
    Focused = P.ActiveControl() == P.edOutputFileName;
    Type(P.edOutputFileName, Good, P.memPreview);
    Headless::QueueAnswer(mrYes);
    P.sbExit->Click();
  });
  Vlx->Print();
  EXPECT_TRUE(OpenAfterFirst);
  EXPECT_TRUE(Focused);
  EXPECT_NE(Message.find("Directory does not exist"), std::string::npos) << Message;
  std::vector<std::string> Texts;
  for (const auto& Box : Headless::MessageBoxes()) Texts.push_back(Box.Text);
  const std::string Question = "Report Settings have been modified.\r\rSave New Report Settings?";
  EXPECT_EQ(Texts, (std::vector<std::string>{Question, "Unable to save report settings", Question}));
  EXPECT_EQ(fmVlxMain, nullptr);
  const std::string Saved = FileBytes(Dir / "Books.txt");
  EXPECT_EQ(Value(Saved, "OutputFileName"), Good);
  EXPECT_EQ(Value(Saved, "OutputDest"), "1");
}



// With Export Data chosen the Preview button is grey, and so is every other way to a preview:
// the File menu's item and Ctrl+W open none, and the export prints. With Text File chosen each
// way previews the text file's pages again.
TEST_F(SetupRunTest, NoWayPreviewsAnExportAndEveryWayPreviewsAFile) {
  const std::string Export = Dir / "rows.asc";
  Section({"NumFixedCols=0", "OutputQuality=0", "DisplayProgressWin=0", "PauseAfterPrinting=0", "OutputDest=2",
           "OutputFileName=" + Export, "PreviewFirst=0"});
  std::vector<std::string> Previewed;
  Headless::SetModalHandler([&](TCustomForm& Form) {
    if (&Form == fmVlxPreview) {
      Previewed.push_back(fmVlxPreview->cbxOutputDest->Text());
      return fmVlxPreview->sbExit->Click();
    }
    if (&Form != fmVlxMain) return Form.SetModalResult(mrCancel);
    Application->ProcessMessages();
    TfmVlxMain& F = *fmVlxMain;
    for (const char* Destination : {"Export Data", "Text File"}) {
      F.cbxOutputDest->PeerItemChosen(F.cbxOutputDest->Items().IndexOf(Destination));
      F.mnFileClick(nullptr);
      EXPECT_EQ(F.itmPreview->Enabled(), F.sbPreview->Enabled()) << Destination;
      unsigned short Key = 'W';
      F.cbxOutputDest->PeerKeyDown(Key, ssCtrl);
      F.itmPreview->Click();
      if (Previewed.empty()) F.sbPrintClick(nullptr);
    }
    Headless::QueueAnswer(mrNo);
    F.sbClose->Click();
  });
  Vlx->Print();
  EXPECT_EQ(Previewed, std::vector<std::string>(2, "Text File"));
  EXPECT_EQ(FileBytes(Export).rfind("\"#\"\t\"Head0\"", 0), 0u) << FileBytes(Export);
  EXPECT_TRUE(Headless::PrintedDocuments().empty());
  EXPECT_EQ(fmVlxMain, nullptr);
}
