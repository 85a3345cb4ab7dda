#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/VLMXCols.h"
#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/headless/Headless.h"

#include "framework/Buttons.h"
#include "framework/CheckLst.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/Grids.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/headless/IniFiles.h"
#include "tests/support/TempDir.h"
#include "tests/engine/RunFixture.h"
#include "tests/support/HeadlessFixture.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPw/VLMXPw.h"

namespace {

std::vector<std::string> Lines(const TStrings& Items) {
  std::vector<std::string> lines;
  for (int i = 0; i < Items.Count(); ++i) lines.push_back(Items[i]);
  return lines;
}

bool Overlap(const TRect& A, const TRect& B) {
  return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

// Every shown control of Parent lies inside it and clear of its shown siblings; labels that
// size themselves to their text are left to the look of the real window.
void ExpectTidy(const TWinControl& Parent, std::vector<std::string>& Faults) {
  std::vector<const TControl*> shown;
  for (int i = 0; i < Parent.ControlCount(); ++i) {
    const TControl* c = Parent.Controls(i);
    auto* label = dynamic_cast<const TLabel*>(c);
    if (!c->Visible() || (label && label->AutoSize())) continue;
    const TRect r = c->BoundsRect();
    if (!dynamic_cast<const TTabSheet*>(c) &&
        (r.Left < 0 || r.Top < 0 || r.Right > Parent.ClientWidth() || r.Bottom > Parent.ClientHeight()))
      Faults.push_back(c->Name() + " sticks out of " + Parent.Name());
    for (const TControl* other : shown)
      if (Overlap(r, other->BoundsRect())) Faults.push_back(c->Name() + " overlaps " + other->Name());
    shown.push_back(c);
  }
  for (int i = 0; i < Parent.ControlCount(); ++i)
    if (auto* child = dynamic_cast<const TWinControl*>(Parent.Controls(i))) ExpectTidy(*child, Faults);
}

// The pages come in order with General in front, and no control overlaps another on any page.
// (The codes the controls stand for come back through the settings file in SetupRunTest.)
TEST_F(HeadlessTest, SetupWindowLayoutKeepsItsControlsApart) {
  std::unique_ptr<TfmVlxMain> Owned(new TfmVlxMain(nullptr));
  TfmVlxMain* Form = Owned.get();
  std::vector<std::string> captions;
  for (int i = 0; i < Form->pcOptions->PageCount(); ++i) captions.push_back(Form->pcOptions->Pages(i)->Caption());
  EXPECT_EQ(captions, (std::vector<std::string>{"General", "Output", "Style", "Titles", "Setup"}));
  EXPECT_EQ(Form->pcOptions->ActivePage(), Form->tsGeneral);
  EXPECT_EQ(Form->pcStyles->ActivePage(), Form->tsFixedSpacedFont);
  EXPECT_TRUE(Form->sbPrint->Flat() && Form->bvOutputFileName->Shape() == TBevelShape::bsLeftLine);
  // Every page is looked at, shown or not.
  std::vector<std::string> faults;
  ExpectTidy(*Form, faults);
  EXPECT_EQ(faults, std::vector<std::string>{});
}

// The window with its own run, as Print creates it, shown without a report: no start runs; on
// the printer, in the text regime, every rule's control holding a value that passes.
class SetupWindowRunTest : public ::testing::Test {
protected:
  // The window installs the line-draw font into the Windows directory as it is created.
  static TfmVlxMain* NewForm(const TTempDir& Dir) {
    Headless::Reset();
    Headless::SetWindowsDirectory(Dir.Sub("win"));
    auto* Form = new TfmVlxMain(nullptr);
    Form->OnShow = nullptr;
    // The window as the start's application-wide set-up leaves it.
    Form->InitAppForReport();
    return Form;
  }
  void SetUp() override {
    PS->Canvas = Printer()->Canvas();
    Info.ObjType = otStringGrid;
    Info.ColCount = 5;
    Info.ColsList = std::make_unique<TColsList>();
    for (int I = 0; I < 5; ++I) {
      auto Col = std::make_unique<TColsListData>();
      Col->Printed = true;
      Col->ColStrWid(bnData, 1).Width = 60;  // the widest data text: 60 characters
      Info.ColsList->Add(std::move(Col));
    }
    Settings.LinesPerpage = 60;
    Settings.TxtCharsPageWid = 80;
    Settings.TextFontSize = 10;
    Settings.DefaultPrinter = true;
    Form->cbxOutputQualityDropDown(nullptr);
    Form->cbxOutputQuality->SetText("ASCII LineDraw");
    Form->cbDefaultPrinter->SetChecked(true);
    Form->edTextFontName->SetText("Courier New");
    for (TEdit* Edit : {Form->edTextFontSize, Form->edMaxStringColWid, Form->edMaxMemoColWid, Form->edHorizLineFreq,
                        Form->edPanelsAcrossPage, Form->edLargestFontSize, Form->edSmallestFontSize, Form->edReplFontSize})
      Edit->SetText("10");
    // The refresh below selects the report title and loads its memo controls.
    Settings.RptMemo(RptTi)->XPosPer = Settings.RptMemo(RptTi)->WidPer = 10;
    Form->edMaxGrpBrkLines->SetText("2");
    Form->edLinesPerPage->SetText("60");
    Form->edTxtCharsPageWid->SetText("80");
    Form->ShowOutputDestOptions(nullptr, true);
    Form->Show();
    Screen->SetActiveForm(Form);
  }
  void TearDown() override {
    delete Form;
    Headless::Reset();
  }
  std::string Msg() const { return Form->paMsg->Caption(); }
  TTempDir Dir;
  TfmVlxMain* Form = NewForm(Dir);
  TvlxPrintSettings* const PS = PrintSettings;
  TObjInfo& Info = *ObjInfo;
  TvlxReportSettings& Settings = *RptSettings;
};

TEST_F(SetupWindowRunTest, EachRuleReportsItsFieldOnItsPage) {
  struct TCase {
    TControl* Changed;
    TWinControl* Edit;  // typed into, then put back
    std::string Typed;
    std::string Message;  // empty: the check passes
    TTabSheet* Page;      // in front afterwards; nullptr: the page stays
    bool Focus;
    bool Export = false;
  };
  TfmVlxMain& F = *Form;
  const std::vector<TCase> Cases = {
      {F.edTextTruncSymbol, F.edTextTruncSymbol, "****", "Text Truncation Symbol cannot exceed 3 characters",
       F.tsGeneral, true},
      {F.edTextFontName, F.edTextFontName, " ", "Font Name is missing", F.tsStyle, true},
      // Hidden: whatever it holds passes.
      {F.edVertHtAdjPer, F.edVertHtAdjPer, "10", "", nullptr, false},
      // The margins as typed count, not those the settings still hold; the page of the fake
      // laser printer holds 63 lines.
      {F.edPageMarginTop, F.edPageMarginBottom, "59", "Page Top Margin + Bottom Margin are too large for page length",
       F.tsOutput, false},
      {F.edPageMarginTop, F.edPageMarginBottom, "58", "", nullptr, false},
      // The quote holds "tab": names are compared without regard to case.
      {F.cmbExportFieldDelim, F.cmbExportFieldDelim, "TAB",
       "Export Field Delimeter and Export Quote fields cannot have the same value", F.tsOutput, true, true},
      {F.cmbExportFieldDelim, F.cmbExportFieldDelim, "9", "", nullptr, false, true},
      {F.cmbExportFieldDelim, F.cmbExportFieldDelim, "256",
       "Export Field Delimiter Character must be between 0 and 255 (Ascii Code)", F.tsOutput, true, true},
      // Last: leaving the memo edits stores every control in the settings.
      {F.edMemoWidPer, F.edMemoWidPer, "90", "", nullptr, false},  // to the page's edge
      {F.edMemoWidPer, F.edMemoWidPer, "95", "Report memo's \"Left Margin\" + \"Memo Width\" must be <= 100%",
       nullptr, false},
  };
  F.cmbExportFieldDelim->SetText("Comma");
  F.cmbExportQuote->SetText("tab");
  for (const TCase& C : Cases) {
    TWinControl* Typed = C.Edit;
    const std::string Before = Typed->Text();
    F.pcOptions->SetActivePage(F.tsSetup);
    F.SetActiveControl(F.cbShowHint);
    F.cbxOutputDest->SetText(C.Export ? "Export Data" : "Printer");
    Typed->SetText(C.Typed);
    EXPECT_EQ(F.ValidateOptions(C.Changed, false, true), C.Message.empty()) << C.Typed;
    EXPECT_EQ(Msg(), "  " + C.Message) << C.Typed;
    EXPECT_EQ(F.pcOptions->ActivePage(), C.Page ? C.Page : F.tsSetup) << C.Typed;
    EXPECT_EQ(F.ActiveControl(), C.Focus ? Typed : F.cbShowHint)
        << C.Typed << " " << (F.ActiveControl() ? F.ActiveControl()->Name() : "none");
    if (C.Page == F.tsStyle) {
      EXPECT_EQ(F.pcStyles->ActivePage(), F.tsFixedSpacedFont);
    }
    Typed->SetText(Before);
    ASSERT_TRUE(F.ValidateOptions(nullptr, true, false)) << Msg();
  }
  // During the start of a run a field error stands for 15 seconds.
  F.cbxOutputDest->SetText("Printer");
  F.edPageMarginLeft->SetText("-1");
  EXPECT_FALSE(F.ValidateOptions(F.edPageMarginLeft, false, false));
  EXPECT_EQ(F.Timer1->Interval(), 15000u);
  // A file's folder must exist, whichever separator the name uses; after a bare drive it does.
  F.edPageMarginLeft->SetText("0");
  F.cbxOutputDest->SetText("Text File");
  F.ShowOutputDestOptions(nullptr, true);
  F.edOutputFileName->SetText("/no/such/folder/r.txt");
  EXPECT_FALSE(F.ValidateOptions(F.edOutputFileName, false, false));
  EXPECT_EQ(Msg(), "  Directory does not exist for output file. Use Browse button to create directory.");
  F.edOutputFileName->SetText("C:r.txt");
  EXPECT_TRUE(F.ValidateOptions(F.edOutputFileName, false, false));
  F.cbxOutputDest->SetText("Printer");
  F.ShowOutputDestOptions(nullptr, true);
  // Fixed columns beyond the grid's are cut back without a message.
  F.edPageMarginLeft->SetText("0");
  F.edNumFixedColumns->SetText("99");
  EXPECT_TRUE(F.ValidateOptions(F.edNumFixedColumns, false, true));
  EXPECT_EQ(F.edNumFixedColumns->Text(), "4");
}

TEST_F(SetupWindowRunTest, NumericEditsTakeDigitsOnlyAndCheckOnExitAndEnter) {
  TfmVlxMain& F = *Form;
  std::string Kept;
  const int Beeps = Headless::BeepCount();
  for (char Key : {'1', '-', '.', '\b', char(27), 'a'}) {
    char K = Key;
    F.edPageMarginTop->OnKeyPress(F.edPageMarginTop, K);
    if (K) Kept += K;
  }
  EXPECT_EQ(Kept, std::string("1\b\x1b"));
  EXPECT_EQ(Headless::BeepCount() - Beeps, 3);

  // Leaving an edit checks it only after a change; the change marks the settings modified.
  F.paMsg->SetCaption("");
  F.edPageMarginLeft->SetText("500");
  F.edPageMarginLeft->SetModified(false);
  F.edPageMarginLeft->OnExit(F.edPageMarginLeft);
  EXPECT_EQ(Msg(), "");
  F.edPageMarginLeft->SetModified(true);
  F.edPageMarginLeft->OnExit(F.edPageMarginLeft);
  EXPECT_EQ(Msg(), "  Page Left Margin must be between 0 and 100 characters");
  EXPECT_TRUE(Settings.Modified);
  EXPECT_FALSE(F.edPageMarginLeft->Modified());
  F.edPageMarginLeft->SetText("1");
  char Enter = '\r';
  F.edPageMarginLeft->OnKeyPress(F.edPageMarginLeft, Enter);
  EXPECT_EQ(Msg(), "  ");

  // A combo box text that is none of its items blocks the tab change.
  F.cbxAutoSizze->SetText("cbxAutoSizze");
  F.cbxAutoSizze->OnExit(F.cbxAutoSizze);
  EXPECT_EQ(Msg(), "  Value is missing or invalid");
  EXPECT_EQ(F.pcOptions->ActivePage(), F.tsGeneral);
  EXPECT_EQ(F.ActiveControl(), F.cbxAutoSizze);
  bool Allow = true;
  F.pcOptionsChanging(F.pcOptions, Allow);
  EXPECT_FALSE(Allow);
  F.cbxAutoSizze->SetItemIndex(0);
  F.pcOptionsChanging(F.pcOptions, Allow);
  EXPECT_TRUE(Allow);
}

TEST_F(SetupWindowRunTest, DestinationDecidesTheControlsAndPanels) {
  TfmVlxMain& F = *Form;
  Settings.OutputFileName = "C:\\Rpt\\Rpt.asc";
  F.edOutputFileName->SetText(Settings.OutputFileName);
  F.rbPrintWhatWindowSnapshot->SetChecked(true);
  Settings.DefaultPrinter = false;
  Settings.PrinterName = "Gone Printer";
  struct TCase {
    std::string Dest;
    std::vector<TControl*> Enabled, Disabled, Shown, Hidden;
    std::string Destination, Dimensions, PagesAcross, FileName;
  };
  const std::vector<TCase> Cases = {
      {"Printer",
       {F.cbDefaultPrinter, F.rbPrintWhatWindowSnapshot, F.cbxOrientation},
       {F.gbExportOptions, F.edLinesPerPage, F.edPageMarginTop},
       {F.sbPrinterSetup, F.cmbSnapshotSize},
       {F.edOutputFileName, F.paPageDimensions, F.paPagesAcross},
       "Fake Laser", "", "Snapshot", "C:\\Rpt\\Rpt.asc"},
      {"Text File",
       {F.edLinesPerPage, F.edTxtCharsPageWid, F.edPageMarginTop, F.cbShrinkToPage, F.rbPrintWhatPageRange},
       {F.rbPrintWhatWindowSnapshot, F.cbDefaultPrinter, F.gbExportOptions, F.cbxOrientation},
       {F.edOutputFileName, F.paPageDimensions, F.paPagesAcross},
       {F.sbPrinterSetup, F.cmbSnapshotSize},
       "C:\\Rpt\\Rpt.TXT", "60 Lines h x 80 Chars w", "", "C:\\Rpt\\Rpt.TXT"},
      {"Export Data",
       {F.gbExportOptions, F.cmbExportQuote, F.edExportMaxStrLng},
       {F.edPageMarginTop, F.edCellMarginRight, F.edSmallestFontSize, F.edPanelsAcrossPage, F.rbPrintWhatPageRange,
        F.cbxReportAlignment, F.cbxColTitleAlignment,
        dynamic_cast<TControl*>(F.FindComponent("lbColTitleAlignment"))},
       {F.edOutputFileName},
       {F.paPageDimensions, F.paPagesAcross},
       "C:\\Rpt\\Rpt.ASC", "", "Export", "C:\\Rpt\\Rpt.ASC"},
  };
  for (const TCase& C : Cases) {
    F.cbxOutputDest->SetText(C.Dest);
    for (TControl* Ctl : C.Enabled) EXPECT_TRUE(Ctl->Enabled()) << C.Dest << " " << Ctl->Name();
    for (TControl* Ctl : C.Disabled) EXPECT_FALSE(Ctl->Enabled()) << C.Dest << " " << Ctl->Name();
    for (TControl* Ctl : C.Shown) EXPECT_TRUE(Ctl->Visible()) << C.Dest << " " << Ctl->Name();
    for (TControl* Ctl : C.Hidden) EXPECT_FALSE(Ctl->Visible()) << C.Dest << " " << Ctl->Name();
    EXPECT_EQ(F.paDestination->Caption(), C.Destination) << C.Dest;
    EXPECT_EQ(F.paPageDimensions->Caption(), C.Dimensions) << C.Dest;
    if (!C.PagesAcross.empty()) {
      EXPECT_EQ(F.paPagesAcross->Caption(), C.PagesAcross) << C.Dest;
    }
    EXPECT_EQ(Settings.OutputFileName, C.FileName) << C.Dest;
  }
  // A printer that is gone gave way to the default one, in the settings too.
  EXPECT_EQ(Settings.PrinterName, "Fake Laser");
  EXPECT_EQ(F.cmbPrinters->Text(), "Fake Laser");
  // The snapshot that a file cannot take fell back to the whole grid; Titles have no place in
  // an export.
  EXPECT_TRUE(F.rbPrintWhatAll->Checked());
  EXPECT_EQ(Settings.PrintWhat, pwAll);
  EXPECT_FALSE(F.tsTitles->TabVisible());
  EXPECT_TRUE(PS->OutAsciiFile && PS->OutAnyFile && !PS->OutPrinter);

  // Browsing for a text file: a name of any other kind keeps its extension.
  F.cbxOutputDest->SetText("Text File");
  std::string Title, Filter;
  Headless::QueueDialogAnswer([&](TCommonDialog& Dialog) {
    auto& Save = dynamic_cast<TSaveDialog&>(Dialog);
    Title = Save.Title();
    Filter = Save.Filter();
    Save.SetFileName("C:\\Out\\Rpt.log");
    return true;
  });
  F.buBrowseFile->OnClick(F.buBrowseFile);
  EXPECT_EQ(Title, "Save Report As");
  EXPECT_EQ(Filter, "Text Files|*.TXT");
  EXPECT_EQ(Settings.OutputFileName, "C:\\Out\\Rpt.log");
  EXPECT_EQ(F.paDestination->Caption(), "C:\\Out\\Rpt.log");

  // Fast printer text puts the text page on the printer: the dimensions follow the box.
  F.cbxOutputDest->SetText("Printer");
  F.cbAllowFastPrinterText->SetChecked(true);
  for (const bool Fast : {true, false}) {
    F.cbFastPrinterText->SetChecked(Fast);
    EXPECT_EQ(F.paPageDimensions->Caption(), Fast ? "60 Lines h x 80 Chars w" : "63 Lines h x 97 Chars w");
  }

  // A double click steps a list to its next item, from the last back to the first.
  for (TComboBox* Combo : {F.cbxOutputDest, F.cbxReportAlignment}) {
    Combo->SetItemIndex(Combo->Items().Count() - 1);
    Combo->OnDblClick(Combo);
    EXPECT_EQ(Combo->ItemIndex(), 0) << Combo->Name();
    Combo->OnDblClick(Combo);
    EXPECT_EQ(Combo->ItemIndex(), 1) << Combo->Name();
  }

  // Rows can be chosen in the grids, lists and list views that hold a selection, not in a
  // dataset or the cross-tab grid.
  for (const auto& [Kind, Selectable] : {std::pair{otStringGrid, true}, {otDBGrid, true}, {otListBox, true},
                                         {otListView, true}, {otTable, false}, {otDecisionGrid, false}}) {
    Info.ObjType = Kind;
    F.ShowOutputDestOptions(F.cbxOutputDest, false);
    EXPECT_EQ(F.rbPrintWhatSelectedRows->Enabled(), Selectable) << int(Kind);
  }
}

// Shrinking steps the size down to the smallest, then the panels across down to one;
// expanding alone with a report too wide stops at once.
TEST_F(SetupWindowRunTest, FontFitsThePageAndTheFittingEnds) {
  TfmVlxMain& F = *Form;
  F.cbxOutputDest->SetText("Printer");
  Info.ColScanResult = 2;
  Settings.SmallestFontSize = 6;
  Settings.LargestFontSize = 14;
  Settings.PanelsAcrossPage = 2;
  Settings.ShrinkToPage = true;
  F.ApplyFontScaling(false);
  const int Page = PS->PageWidth;
  EXPECT_EQ(PS->WorkFontSize, 6);
  EXPECT_EQ(PS->PanelsAcrossPage, 1);
  EXPECT_GT(PS->RptWidth, Page);
  EXPECT_EQ(F.gbOutputOptions->Caption(), "Output Options (Scaled by: 60% = 6 pts)");

  Settings.ShrinkToPage = false;
  Settings.ExpandToPage = true;
  F.ApplyFontScaling(false);
  EXPECT_EQ(PS->WorkFontSize, 10);
  EXPECT_EQ(F.gbOutputOptions->Caption(), "Output Options (10 pts)");

  // A narrow report grows to the largest size that still fits, never above the largest.
  for (int I = 1; I < 5; ++I) Info.ColsList->Items(I)->Printed = false;
  Settings.PanelsAcrossPage = 1;
  F.ApplyFontScaling(false);
  EXPECT_LE(PS->RptWidth, PS->PageWidth);
  EXPECT_EQ(PS->WorkFontSize, 14);
}

TEST_F(SetupWindowRunTest, FormatStringsAreTriedOnANumber) {
  struct TCase {
    const char* Fmt;
    bool Ok;
    std::string Sample;
  };
  const std::string Bad = "Format '%d' invalid or incompatible with argument";
  const TCase Cases[] = {
      {"%8.2f", true, " 1234.56"},
      {"Sum: %.0f", true, "Sum: 1235"},
      {"no percent", true, "no percent"},
      {"%d", false, "Format error: " + Bad},
      {"%f or %f", false, "Format error: No argument for format '%f or %f'"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Fmt);
    for (const bool Show : {false, true}) {
      Headless::Reset();
      std::string Sample;
      EXPECT_EQ(TfmVlxMain::ValidateFormatString(C.Fmt, Show, Sample), C.Ok);
      EXPECT_EQ(Sample, C.Sample);
      const auto& Boxes = Headless::MessageBoxes();
      ASSERT_EQ(Boxes.size(), !C.Ok && Show ? 1u : 0u);
      if (!Boxes.empty()) {
        EXPECT_EQ(Boxes[0].Text, "Formatting string \"FmtStr\" is invalid.\r" + C.Sample.substr(14));
      }
    }
  }
}

TEST_F(SetupWindowRunTest, PasswordBoxesChangeAPasswordOnlyOnEveryRightStep) {
  enum TPress { Ok, Cancel };
  struct TEntry {
    const char* Text;
    TPress Press;
  };
  struct TCase {
    const char* Name;
    TCheckBox* TfmVlxMain::*Box;
    std::string TvlxReportSettings::*Field;
    std::string Before;
    std::vector<TEntry> Entries;  // one per password window, in order
    std::vector<int> Answers;     // to the "do not agree" question
    std::string After;
    std::vector<std::string> Prompts;
    std::vector<std::string> Boxes;
  };
  const std::string New = "Enter  New Report Password:", Verify = "Verify  New Report Password:";
  const std::string Current = "Enter current Report Password:", Kept = "Report Password password not changed";
  const std::string Active = "New Report Password is now active", Differ = "Passwords do not agree -- try again";
  const TCase Cases[] = {
      {"none set: new twice, checked in another case", &TfmVlxMain::cbRptPW, &TvlxReportSettings::RptPW, "",
       {{"abc", Ok}, {"ABC", Ok}}, {}, "ABC", {New, Verify}, {Active}},
      {"wrong current password three times", &TfmVlxMain::cbRptPW, &TvlxReportSettings::RptPW, "old",
       {{"x", Ok}, {"y", Ok}, {"z", Ok}}, {}, "old", {Current}, {"Too many password violations", Kept}},
      {"current given, blank removes", &TfmVlxMain::cbRptPW, &TvlxReportSettings::RptPW, "old",
       {{"OLD", Ok}, {"  ", Ok}}, {}, "", {Current, New}, {"Report Password password has been removed."}},
      {"cancel at the current password", &TfmVlxMain::cbRptPW, &TvlxReportSettings::RptPW, "old",
       {{"old", Cancel}}, {}, "old", {Current}, {Kept}},
      {"eleven characters asked again", &TfmVlxMain::cbRptPW, &TvlxReportSettings::RptPW, "",
       {{"12345678901", Ok}, {" short ", Ok}, {"short", Ok}}, {}, "short", {New, New, Verify},
       {"Password cannot be more than 10 characters. Please try again.", Active}},
      {"different, then again from the start", &TfmVlxMain::cbRptPW, &TvlxReportSettings::RptPW, "",
       {{"a", Ok}, {"b", Ok}, {"c", Ok}, {"c", Ok}}, {mrOk}, "c", {New, Verify, New, Verify}, {Differ, Active}},
      {"different, then cancel", &TfmVlxMain::cbRptPW, &TvlxReportSettings::RptPW, "p",
       {{"p", Ok}, {"a", Ok}, {"b", Ok}}, {mrCancel}, "p", {Current, New, Verify}, {Differ, Kept}},
      {"cancel at the verification", &TfmVlxMain::cbRptPW, &TvlxReportSettings::RptPW, "",
       {{"a", Ok}, {"a", Cancel}}, {}, "", {New, Verify}, {Kept}},
      {"setup page password", &TfmVlxMain::cbRptSetupPW, &TvlxReportSettings::RptSetUpPW, "",
       {{"s1", Ok}, {"s1", Ok}}, {}, "s1", {"Enter  New Setup Page Password:", "Verify  New Setup Page Password:"},
       {"New Setup Page Password is now active"}},
      {"options password", &TfmVlxMain::cbRptOptPW, &TvlxReportSettings::RptOptPW, "o",
       {{"o", Ok}, {"", Ok}}, {}, "", {"Enter current Report Options Password:", "Enter  New Report Options Password:"},
       {"Report Options Password password has been removed."}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Headless::Reset();
    ClearPasswordCache();
    for (int Answer : C.Answers) Headless::QueueAnswer(Answer);
    Settings.*C.Field = C.Before;
    Settings.Modified = false;
    TCheckBox& Box = *(Form->*C.Box);
    const TNotifyEvent Click = Box.OnClick;
    Box.OnClick = nullptr;
    Box.SetChecked(!C.Before.empty());
    Box.OnClick = Click;
    std::vector<std::string> Prompts;
    size_t Next = 0;
    Headless::SetModalHandler([&](TCustomForm&) {
      TfmVlxPassword& W = *fmVlxPassword;
      Prompts.push_back(W.lbPWPrompt->Caption());
      // A wrong entry keeps the window open for the next one.
      while (Next < C.Entries.size() && W.ModalResult() == mrNone) {
        const TEntry& E = C.Entries[Next++];
        W.edPassword->PeerTextEdited(E.Text);
        (E.Press == Ok ? W.edOk : W.edCancel)->PeerClick();
      }
    });
    Box.PeerToggled();
    EXPECT_EQ(Next, C.Entries.size());
    EXPECT_EQ(Settings.*C.Field, C.After);
    EXPECT_EQ(Box.Checked(), !C.After.empty());
    EXPECT_EQ(Settings.Modified, C.After != C.Before);
    EXPECT_EQ(Prompts, C.Prompts);
    std::vector<std::string> Boxes;
    for (const auto& B : Headless::MessageBoxes()) Boxes.push_back(B.Text);
    EXPECT_EQ(Boxes, C.Boxes);
    // A password just given is not asked again in this call; one refused keeps the cache empty.
    const std::string& Cached = C.Box == &TfmVlxMain::cbRptPW      ? PasswordCache.RptPW
                                : C.Box == &TfmVlxMain::cbRptOptPW ? PasswordCache.RptOptPW
                                                                   : PasswordCache.RptSetUpPW;
    EXPECT_EQ(Cached, C.After != C.Before ? C.After : "");
  }
}


// The option list offers what the output and the printed object allow, checked as stored;
// Horizontal and Group Break lines exclude each other whichever one is clicked.
TEST_F(SetupWindowRunTest, StyleOptionsFollowOutputAndObjectKind) {
  TfmVlxMain& F = *Form;
  using TNames = std::vector<std::string>;
  const TNames Typeset = {"Field Format",  "Horizontal Lines", "Group Break Lines", "Vertical Lines",
                          "Borders",       "Column Titles",    "Column Totals",     "Boolean Checkmarks",
                          "Trim Grid Dimensions", "Exception On Empty Grid"};
  const TNames Text = {"Field Format",  "Horizontal Lines",     "Group Break Lines",    "Vertical Lines",
                       "Borders",       "Share Adjacent Borders", "Column Titles",      "Column Totals",
                       "Form Feeds",    "Boolean Checkmarks",   "Trim Grid Dimensions", "Exception On Empty Grid",
                       "Ask to print selected rows"};
  TNames TextNoTrim = Text;
  std::erase(TextNoTrim, "Trim Grid Dimensions");
  struct TCase {
    TObjKind Kind;
    uint8_t Quality;  // below 2: character output
    TNames Rows;
  };
  const std::vector<TCase> Cases = {{otStringGrid, 2, Typeset}, {otStringGrid, 0, Text}, {otListBox, 1, Text},
                                    {otDBGrid, 0, TextNoTrim},  {otNone, 0, {"Form Feeds", "Ask to print selected rows"}},
                                    {otNone, 2, {}}};
  Settings.ItemOpts = 1u << ioBorders | 1u << ioFormFeeds;
  for (const TCase& C : Cases) {
    Info.ObjType = C.Kind;
    Settings.OutputQuality = C.Quality;
    F.FillStyleOptsList(true);
    EXPECT_EQ(Lines(F.lbxStyleOpts->Items()), C.Rows) << C.Kind << " " << int(C.Quality);
    TNames Checked;
    for (int I = 0; I < F.lbxStyleOpts->ItemCount(); ++I)
      if (F.lbxStyleOpts->Checked(I)) Checked.push_back(F.lbxStyleOpts->Items()[I]);
    TNames Wanted;
    for (const char* Name : {"Borders", "Form Feeds"})
      if (std::find(C.Rows.begin(), C.Rows.end(), Name) != C.Rows.end()) Wanted.push_back(Name);
    EXPECT_EQ(Checked, Wanted) << C.Kind << " " << int(C.Quality);
  }
  // A quality chosen in its list is the report's at once, to be saved.
  for (const uint8_t Quality : {1, 0}) {
    Settings.Modified = false;
    F.cbxOutputQuality->PeerItemChosen(Quality);
    EXPECT_TRUE(Settings.Modified);
    EXPECT_EQ(Settings.OutputQuality, Quality);
  }

  Info.ObjType = otStringGrid;
  Settings.OutputQuality = 0;
  Settings.SetItemOpt(ioHorizontalLines, true);
  F.FillStyleOptsList(true);
  const auto Row = [&](const std::string& Name) { return F.lbxStyleOpts->Items().IndexOf(Name); };
  struct TClick {
    std::string Row;
    bool Horizontal, GroupBreak;
  };
  for (const TClick& Click : {TClick{"Group Break Lines", false, true}, TClick{"Horizontal Lines", true, false},
                              TClick{"Horizontal Lines", false, false}}) {
    Settings.Modified = false;
    F.lbxStyleOpts->PeerCheckToggled(Row(Click.Row));
    EXPECT_TRUE(Settings.Modified) << Click.Row;
    EXPECT_EQ(Settings.ItemOpt(ioHorizontalLines), Click.Horizontal) << Click.Row;
    EXPECT_EQ(Settings.ItemOpt(ioGrpBrkLines), Click.GroupBreak) << Click.Row;
    EXPECT_EQ(F.lbxStyleOpts->Checked(Row("Horizontal Lines")), Click.Horizontal) << Click.Row;
    EXPECT_EQ(F.lbxStyleOpts->Checked(Row("Group Break Lines")), Click.GroupBreak) << Click.Row;
  }
}

// Ctrl+Down walks the memos, keeping what was typed, and beeps at the last one; the strip
// shows the memo to scale with both margins, following the edits.
TEST_F(SetupWindowRunTest, TitlesStepThroughMemosAndDrawTheMarginStrip) {
  TfmVlxMain& F = *Form;
  for (int I = RptTi; I <= RptFtr; ++I) Settings.RptMemo(I)->WidPer = 100;
  TvlxRptMemo& Footer = *Settings.RptMemo(RptFtr);
  Footer.Text = "The End";
  Footer.XPosPer = 10;
  Footer.WidPer = 80;
  Footer.Visible = true;
  F.pcOptions->SetActivePage(F.tsTitles);
  F.SetActiveControl(F.memRptMemo);
  ASSERT_EQ(F.lbxMemoLocation->ItemIndex(), 0);
  F.memRptMemo->PeerTextEdited("Books");
  const int Beeps = Headless::BeepCount();
  for (int Step = 1; Step <= 7; ++Step) {
    unsigned short Key = 40;
    F.memRptMemo->PeerKeyDown(Key, ssCtrl);
    EXPECT_EQ(Key, 0) << Step;
    EXPECT_EQ(F.lbxMemoLocation->ItemIndex(), std::min(Step, 6)) << Step;
  }
  EXPECT_EQ(Headless::BeepCount() - Beeps, 1);
  EXPECT_EQ(Headless::BeepSounds().back(), 65535u);
  EXPECT_EQ(Settings.RptMemo(RptTi)->Text, "Books");
  EXPECT_EQ(F.memRptMemo->Text(), "The End");
  // Leaving the memo unchanged changes nothing.
  Settings.Modified = false;
  F.memRptMemo->OnExit(F.memRptMemo);
  EXPECT_FALSE(Settings.Modified);
  // Each format typed is a change to save; a time format shows its sample as it is typed.
  for (TEdit* Format : {F.edMemoDateFormatStr, F.edMemoPageFormatStr, F.edMemoTimeFormatStr}) {
    Settings.Modified = false;
    Format->PeerTextEdited("hh");
    EXPECT_TRUE(Settings.Modified) << Format->Name();
  }
  EXPECT_EQ(Msg().find("Sample Time Format: "), 2u) << Msg();

  const int W = F.pcOptions->Width();
  const auto ExpectStrip = [&](int Left, int Width, const std::string& LeftText, const std::string& RightText) {
    EXPECT_EQ(F.memRptMemo->Left(), Left);
    EXPECT_EQ(F.memRptMemo->Width(), Width);
    EXPECT_EQ(F.lbRptMemoLeftMargin->Width(), Left - 1);
    EXPECT_EQ(F.lbRptMemoRightMargin->Left(), Left + Width + 1);
    EXPECT_EQ(F.lbRptMemoRightMargin->Left() + F.lbRptMemoRightMargin->Width(), W);
    EXPECT_EQ(F.lbRptMemoLeftMargin->Caption(), LeftText);
    EXPECT_EQ(F.lbRptMemoRightMargin->Caption(), RightText);
  };
  EXPECT_EQ(F.edMemoXPosPer->Text(), "10");
  EXPECT_EQ(F.edMemoWidPer->Text(), "80");
  // 10% and 80% of 658 pixels, each to the nearest pixel.
  ASSERT_EQ(W, 658);
  ExpectStrip(66, 526, "Left Margin 10%", "Right Margin 10%");
  // A new width takes effect when the edit is left; an invisible memo shows on silver.
  F.edMemoWidPer->PeerTextEdited("50");
  F.edMemoWidPer->OnExit(F.edMemoWidPer);
  ExpectStrip(66, 329, "Left Margin 10%", "Right Margin 40%");
  EXPECT_EQ(F.memRptMemo->Color(), clWhite);
  F.cbMemoVisible->SetChecked(false);
  EXPECT_FALSE(Footer.Visible);
  EXPECT_EQ(F.memRptMemo->Color(), clSilver);
  // The text lines up as the memo will print, whichever way it is aligned: by its radio
  // button, or by the memo shown.
  const std::pair<TRadioButton*, TAlignment> Alignments[] = {{F.rbRptMemoCenterJustify, TAlignment::taCenter},
                                                             {F.rbRptMemoRightJustify, TAlignment::taRightJustify},
                                                             {F.rbRptMemoLeftJustify, TAlignment::taLeftJustify}};
  for (const auto& [Button, Alignment] : Alignments) {
    Button->SetChecked(true);
    EXPECT_EQ(F.memRptMemo->Alignment(), Alignment) << Button->Name();
  }
  // The memo chosen shows its own alignment (stored as 0 left, 1 right, 2 centred) and visibility.
  Settings.RptMemo(RptTi)->Visible = true;
  for (int Code = 0; Code <= 2; ++Code) {
    const auto& [Button, Alignment] = Alignments[2 - Code];
    Settings.RptMemo(RptTi)->Alignment = Code;
    F.lbxMemoLocation->SetItemIndex(RptTi);
    F.lbxMemoLocation->OnClick(F.lbxMemoLocation);
    EXPECT_EQ(F.memRptMemo->Alignment(), Alignment) << Code;
    EXPECT_TRUE(Button->Checked()) << Code;
  }
  EXPECT_TRUE(F.cbMemoVisible->Checked());
}

}  // namespace
