#include "engine/VLMXGbl/PrintSettings.h"

#include <stdexcept>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/VLMXGbl0.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/DB.h"
#include "framework/StdCtrls.h"
#include "framework/headless/Printers.h"
#include "tests/engine/RunFixture.h"
#include "tests/support/HeadlessFixture.h"
#include "windows/VLMXASel/VLMXASel.h"

namespace {

using RunStateTest = RunTest;

template <class T = TRadioButton>
T& Child(TCustomForm& Form, const std::string& Name) {
  auto* Control = dynamic_cast<T*>(Form.FindComponent(Name));
  if (!Control) throw std::runtime_error("no control " + Name);
  return *Control;
}

}  // namespace

TEST(PrintSettings, UnitConversionsRoundAndNeverDivideByZero) {
  TvlxPrintSettings S;
  // Text units: a line of 1 character or 1 line whatever its stored width, and nothing for nothing.
  for (int Value : {1, 5000}) EXPECT_EQ(S.ToUnits(Value, true, true, 0), 1) << Value;
  for (int Value : {0, -5}) EXPECT_EQ(S.ToUnits(Value, true, true, 1), 0) << Value;
  // Before the character cell is known a size is 0, not MulDivRound's failure value.
  EXPECT_EQ(S.ToUnits(1000, true, false, 0), 0);
  EXPECT_EQ(S.ScaleXY(96, 0), 0);

  // Device units at 600 x 300 dpi and zoom 100: half-up inside MulDivRound, truncated by the final tenth.
  S.DevResX = 600;
  S.DevResY = 300;
  struct Case { int Value; bool AtLeastOne; int Expected; };
  const Case Device[] = {{1, true, 1}, {1, false, 0}, {1000, false, 600}, {9, false, 5}, {1001, false, 600}};
  for (const Case& C : Device) EXPECT_EQ(S.ToUnits(C.Value, false, C.AtLeastOne, 0), C.Expected) << C.Value;

  // Text units on a 120 x 72 dpi printer with 12 x 12 dot cells: 10 characters, 6 lines an inch.
  S.PrtResX = 120;
  S.PrtResY = 72;
  S.CharWidth = S.LineHeight = 12;
  EXPECT_EQ(S.ToUnits(1000, true, false, 0), 10);
  EXPECT_EQ(S.ToUnits(1000, true, false, 1), 6);
  EXPECT_EQ(S.ToUnits(250, true, false, 1), 2);  // 1.5 lines round away from zero

  S.ScrResX = 96;
  EXPECT_EQ(S.ScaleXY(96, 0), 600);
  EXPECT_EQ(S.ScaleXY(96, 1), 0);  // no screen resolution along y

  S.UnitSet = usText;
  EXPECT_EQ(S.PixToChars(95, false), 7);
  S.LineHeight = 0;
  EXPECT_EQ(S.PixToChars(95, true), 95);

  EXPECT_EQ(MulDivRound(-5, 1, 2), -3);
  EXPECT_EQ(MulDivRound(1 << 30, 4, 4), 1 << 30);  // the product may pass 32 bits, the result not
  EXPECT_EQ(MulDivRound(1 << 30, 4, 2), -1);
  EXPECT_EQ(MulDivRound(3, 4, 0), -1);
}

TEST_F(RunStateTest, FindPrinterIndexByNameThenByBeginning) {
  // The fake printers: 0 "Fake Laser", 1 "Fake Dot Matrix". The list's own lookup ignores case;
  // the beginning of a name must match exactly.
  struct Case { const char* Name; int Expected; };
  const Case Cases[] = {{"Fake Dot Matrix", 1}, {"fake dot matrix", 1}, {"Fake", 0}, {"Fake D", 1},
                        {"fake", -1}, {"Fake Laser Jet", -1}, {"", -1}, {"   ", -1}};
  for (const Case& C : Cases) EXPECT_EQ(FindPrinterIndex(C.Name), C.Expected) << '"' << C.Name << '"';

  SelectPrinterByName("Fake D");
  EXPECT_EQ(Printer()->PrinterIndex(), 1);
  SelectPrinterByName("nothing like it");  // -1: back to the default printer
  EXPECT_EQ(Printer()->PrinterIndex(), 0);
}

// The question itself is the Wine scenarios'; without it the selection decides alone.
TEST_F(RunStateTest, SelectedRowsWithoutTheQuestion) {
  Headless::SetModalHandler([](TCustomForm&) { ADD_FAILURE() << "asked"; });
  const struct { TPrintWhat PrintWhat; int Selected; bool Expected; } Cases[] = {
      {pwAll, 3, false}, {pwSelectedRows, 3, true}, {pwSelectedRows, 0, false}};
  for (const auto& C : Cases) {
    Settings.PrintWhat = C.PrintWhat;
    Settings.SetItemOpt(ioAskToPrintSelectedRows, C.PrintWhat == pwAll);
    Info.SelRowCount = C.Selected;
    PS->SelectedRowsOnly = !C.Expected;
    PS->AskSelectedRows();
    EXPECT_EQ(PS->SelectedRowsOnly, C.Expected) << C.PrintWhat << " " << C.Selected;
  }
}

TEST_F(RunStateTest, AskSelectedRowsCancelEndsTheReportAndFreesItsWindow) {
  Settings.PrintWhat = pwSelectedRows;
  Settings.SetItemOpt(ioAskToPrintSelectedRows, true);
  Info.SelRowCount = 4;
  const int FormsBefore = Screen->FormCount();
  // The Cancel Report button and closing the window stop the report as the user's stop; a
  // failure while the question is shown passes on. The window goes every time.
  const std::function<void(TCustomForm&)> Ends[] = {
      [](TCustomForm& Form) { Child<TButton>(Form, "bbCancel").PeerClick(); },
      [](TCustomForm& Form) { Form.PeerCloseRequested(); },
      [](TCustomForm&) { throw std::runtime_error("lost the desktop"); }};
  for (int I = 0; I < 3; ++I) {
    PS->RunState = rsActive;
    Headless::SetModalHandler(Ends[I]);
    if (I < 2) EXPECT_THROW_MSG(PS->AskSelectedRows(), eVlxUserTermRpt, "Vellumix! User Terminated Report");
    else EXPECT_THROW(PS->AskSelectedRows(), std::runtime_error);
    EXPECT_EQ(PS->RunState, I < 2 ? rsTerminatedWithError : rsActive) << I;
    EXPECT_FALSE(PS->SelectedRowsOnly);
    EXPECT_EQ(fmvlxAskSelectedRows, nullptr);
    EXPECT_EQ(Screen->FormCount(), FormsBefore);
  }
}

TEST_F(RunStateTest, RowBookmarksReplayDatasetRowsAndReportALostRecord) {
  TDataSet Data(nullptr);
  Data.FieldDefs().Add("Name", ftString);
  Data.Open();
  for (const char* Name : {"Genesis", "Exodus", "Leviticus"}) Data.AppendRecord({std::string(Name)});
  Info.DataSet = &Data;
  Info.RowsInMemory = false;

  Data.First();
  PS->BMLineList.AddCurrent({}, -1);
  Data.Next();
  PS->BMLineList.AddCurrent({}, -1);
  Data.Last();
  int Height = 0;
  ASSERT_TRUE(PS->BMLineList.GotoEntry(1, Height));
  EXPECT_FALSE(PS->BookmarkFailed);
  EXPECT_EQ(Data.RecNo(), 2);

  Data.SetRecNo(1);
  Data.Delete();  // the first recorded row is gone
  ASSERT_TRUE(PS->BMLineList.GotoEntry(0, Height));
  EXPECT_TRUE(PS->BookmarkFailed);
  ASSERT_TRUE(PS->BMLineList.GotoEntry(1, Height));
  EXPECT_FALSE(PS->BookmarkFailed);
  EXPECT_EQ(Data.FieldByName("Name")->AsString(), "Exodus");
}

// A settings file may hold a rule frequency of 0: horizontal lines then rule no row.
TEST_F(RunStateTest, NoRuleFrequencyRulesNoRowAndDividesByNothing) {
  PS->HorizontalLines = true;
  Settings.HorizLineFreq = 0;
  PS->RowsSinceRule = 1;
  EXPECT_FALSE(PS->IsHorzLineRow());
}
