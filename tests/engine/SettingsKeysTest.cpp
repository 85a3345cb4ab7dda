#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/VLMXGbl/Run.h"
#include "engine/VLMXGbl0.h"
#include "engine/Vellumix/SettingsKeys.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/HeadlessFixture.h"

namespace {

const TDateTime Stamp = EncodeDate(2026, 12, 5) + EncodeTime(14, 30, 5, 0);
// The moment the tests load at.
const TDateTime LoadMoment = EncodeDate(2026, 3, 1) + EncodeTime(8, 15, 0, 0);

class SettingsKeys : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Headless::SetNow(LoadMoment);
  }

  // Applies one stored line the way the loader does.
  static void Apply(TvlxSettingsKeys& Keys, const std::string& Key, const std::string& Value) {
    const TrsfEntry* Entry = Keys.Find(Key);
    ASSERT_NE(Entry, nullptr) << Key;
    Keys.ApplySetting(*Entry, Value);
  }

  // The entries a save would write, key -> value.
  static std::map<std::string, std::string> Changed(TvlxSettingsKeys& Keys) {
    Keys.SettingsToKeyList();
    std::map<std::string, std::string> Result;
    for (const TrsfEntry& E : Keys.List())
      if (E.Changed()) Result[E.Key] = E.Data.Value;
    return Result;
  }

  static std::string Default(const TvlxSettingsKeys& Keys, const std::string& Key) {
    return Keys.Find(Key)->Data.Default;
  }
};

}  // namespace

TEST(SettingsCodecs, NumbersFallBackToTheDefault) {
  EXPECT_EQ(TextToInt("$1F", "7"), 31);
  EXPECT_EQ(TextToInt("12abc", "7"), 7);
  EXPECT_EQ(TextToInt("abc", "xyz"), 0);

  struct Case { std::string Value, Default; bool Expected; };
  const Case Bools[] = {{"0", "1", false}, {"1", "0", true}, {"2", "1", true}, {"2", "0", false}, {"yes", "x", false}};
  for (const Case& C : Bools)
    EXPECT_EQ(TextToBool(C.Value, C.Default), C.Expected) << C.Value << " / " << C.Default;

  // A short rect is the stored values' table's; here, the extra side and a default as bad.
  EXPECT_EQ(TextToRect("1,2,3,4,5", "250,250,250,250"), (TRect{1, 2, 3, 4}));
  EXPECT_EQ(TextToRect("1,,3,4", "250,250,250,250"), (TRect{250, 250, 250, 250}));
  EXPECT_EQ(TextToRect("bad", "9,x,7"), (TRect{9, 0, 7, 0}));
  EXPECT_EQ(TextToPoint("2,12,5", "0,1"), (TPoint{2, 12}));
  EXPECT_EQ(TextToPoint("12", "0,99999"), (TPoint{0, 99999}));
  EXPECT_EQ(RectToText({1, -2, 300, 4}), "1,-2,300,4");
  EXPECT_EQ(PointToText({0, 99999}), "0,99999");
}

TEST_F(SettingsKeys, DateTimesReadTheStampOrFallBack) {
  EXPECT_EQ(DateTimeToText(Stamp), "20261205.143005");
  // Before 1900 the days count down but the time of day does not.
  EXPECT_EQ(DateTimeToText(TextToDateTime("18500704.061500", "")), "18500704.061500");
  // A bad value falls back to a default in the locale's format, unless the default is just as
  // bad or the value is the default: then it reads as the moment of loading.
  const struct { const char* Value; const char* Default; TDateTime Expected; } Cases[] = {
      {"20261205.143005", "", Stamp},          {"20261205T14300599", "", Stamp},  // separator, tail unread
      {"", "20261205.143005", Stamp},          {"", "", LoadMoment},
      {"12/05/2026", "", LoadMoment},          {"20261205.250000", "", LoadMoment},
      {"20261305.143005", "12/5/2026", EncodeDate(2026, 12, 5)},
      {"junk", "other junk", LoadMoment},      {"junk", "junk", LoadMoment},
      {"junk", "14:30", EncodeTime(14, 30, 0, 0)},
  };
  for (const auto& C : Cases)
    EXPECT_DOUBLE_EQ(TextToDateTime(C.Value, C.Default), C.Expected) << C.Value << " / " << C.Default;
}

TEST_F(SettingsKeys, KeysAreFoundWithoutCaseAndDefaultsLeaveOnlyTheDatesChanged) {
  TvlxSettingsKeys Unbound(nullptr);
  EXPECT_FALSE(Unbound.Contains("Memo,Draft,MemoVisible"));
  EXPECT_THROW_MSG(Unbound.SetKeyValueText("NoSuchKey", "1"), eVlxSUError,
                   "Vellumix! Setup Error: Report settings key \"NoSuchKey\" is unknown");
  Unbound.SetKeyValueText("printWHAT", "6");
  EXPECT_EQ(Unbound.Find("PrintWhat")->Data.Value, "6");
  // Unbound, nothing is applied or rendered.
  Unbound.ApplyDefaults();
  Unbound.SettingsToKeyList();
  for (const TrsfEntry& E : Unbound.List()) EXPECT_EQ(E.Changed(), E.Key == "PrintWhat") << E.Key;

  TvlxReportSettings S;
  S.RptMemo(RptTi)->Text = "Last report's title";
  S.ItemOpts = 0xFFFF;
  TvlxSettingsKeys Keys(&S);
  Keys.ApplyDefaults();
  EXPECT_EQ(S.ItemOpts, 0x0FF9) << "only the defaults' bits remain of what was set before";
  EXPECT_EQ(S.RptMemo(RptTi)->Text, "");
  // Only the dates differ from their (empty) defaults after loading nothing.
  EXPECT_EQ(Changed(Keys), (std::map<std::string, std::string>{{"CreateDate", "20260301.081500"},
                                                               {"LastSaveDate", "20260301.081500"}}));
}

TEST_F(SettingsKeys, DefaultsComputedFromADecisionGrid) {
  TvlxRun Run;
  TvlxRunScope Scope(Run);
  TObjInfo& Grid = Run.Adapter();
  Grid.ObjType = otDecisionGrid;
  Grid.FixedCols = 3;
  Grid.SortedBySQL = true;
  Grid.SortFields = "Region,Year";

  TvlxReportSettings S;
  TvlxSettingsKeys Keys(&S);
  EXPECT_EQ(Default(Keys, "NumGrpBrkCols"), "3");
  EXPECT_EQ(Default(Keys, "AdjGrpBrkLines"), "2");
  Keys.ApplyDefaults();
  EXPECT_FALSE(S.CountNumRcds);
  EXPECT_EQ(S.GroupColumns, "Region,Year");
  EXPECT_EQ(S.HidePages, "~Line#");
  EXPECT_TRUE(S.ItemOpt(ioGrpBrkLines));
  // For a decision grid the adapter owns these two fields: neither defaults nor stored values
  // reach them.
  S.NumGrpBrkCols = 5;
  S.AdjGrpBrkLines = 4;
  Keys.ApplyDefaults();
  Apply(Keys, "NumGrpBrkCols", "7");
  Apply(Keys, "AdjGrpBrkLines", "6");
  EXPECT_EQ(S.NumGrpBrkCols, 5);
  EXPECT_EQ(S.AdjGrpBrkLines, 4);
  Apply(Keys, "GroupColumns", "");  // empty reads as the computed default
  EXPECT_EQ(S.GroupColumns, "Region,Year");
  // Keys built unbound compute the group-break defaults as for any other object.
  EXPECT_EQ(Default(TvlxSettingsKeys(nullptr), "AdjGrpBrkLines"), "0");

  // Another kind of object: the plain defaults, and stored values are applied.
  Grid.ObjType = otStringGrid;
  TvlxReportSettings S2;
  TvlxSettingsKeys Keys2(&S2);
  EXPECT_EQ(Default(Keys2, "NumGrpBrkCols"), "0");
  EXPECT_EQ(Default(Keys2, "HidePages"), "");
  Apply(Keys2, "NumGrpBrkCols", "7");
  EXPECT_EQ(S2.NumGrpBrkCols, 7);
}

// Every code key, as the setup window lists its choices: a stored byte among them is kept (a
// larger number by its low byte), one past them reads as the default and is refused under the
// low byte it was read as.
TEST_F(SettingsKeys, ACodePastItsChoicesIsRefused) {
  const struct { const char* Key; int Choices; const char* Default; } Codes[] = {
      {"OutputDest", 3, "0"},        {"PrintWhat", 9, "0"},         {"IfOutputFileExists", 3, "0"},
      {"OutputQuality", 2, "1"},     {"Orientation", 3, "0"},       {"ReportAlignment", 3, "2"},
      {"ColTitleAlignment", 3, "2"}, {"AutoSizze", 3, "1"},         {"Memo,PgFtr,MemoAlignment", 3, "2"},
  };
  for (const auto& C : Codes) {
    for (const int Stored : {0, C.Choices - 1, C.Choices, 255, 256 + C.Choices - 1, 256 + C.Choices, -1}) {
      TvlxReportSettings S;
      TvlxSettingsKeys Keys(&S);
      Keys.ApplyDefaults();
      Apply(Keys, C.Key, std::to_string(Stored));
      Keys.SettingsToKeyList();
      const int Byte = Stored & 0xFF;
      const bool Offered = Byte < C.Choices;
      const std::string Label = std::string(C.Key) + "=" + std::to_string(Stored);
      EXPECT_EQ(Keys.Find(C.Key)->Data.Value, Offered ? std::to_string(Byte) : C.Default) << Label;
      ASSERT_EQ(S.Refused.size(), Offered ? 0u : 1u) << Label;
      if (!Offered) {
        EXPECT_EQ(S.Refused[0].Value, std::to_string(Byte)) << Label;
        EXPECT_NE(CheckRefusedSettings(S).find("\"" + std::to_string(Byte) + "\" is invalid."), std::string::npos)
            << Label;
      }
    }
  }
}

TEST_F(SettingsKeys, StoredValuesGoThroughTheirFieldsCodec) {
  TvlxReportSettings S;
  TvlxSettingsKeys Keys(&S);
  Keys.ApplyDefaults();
  // The value stored for a key, and the text the settings render for it afterwards. Byte-wide
  // fields keep the low byte, and a byte that is none of the code's choices reads as the
  // default; a number (or a rect's side) outside its range reads as the
  // default and is noted as refused; empty reads as the default only for the keys that say so;
  // short strings keep their first characters; memo keys reach their own memo only.
  const struct { const char* Key; const char* Stored; const char* Rendered; } Cases[] = {
      {"OutputQuality", "300", "1"},          {"Orientation", "-1", "0"},
      {"Orientation", "258", "2"},
      {"RcdEstimate", "300", "300"},          {"PreviewFirst", "0", "0"},
      {"PreviewFirst", "2", "1"},             {"ioBorders", "0", "0"},
      {"PageMarginThous", "100,200,300", "250,250,250,250"},
      {"FinishPrinterStr", "", ""},           {"ReportDesc", "", ""},
      {"ExportFieldDelim", "", ""},           {"SnapShotSize", "MSX", "MS"},
      {"SnapShotSize", "", ""},               {"ExportQuote", "'''''", "'''"},
      {"CreateDate", "20261205.143005", "20261205.143005"},
      {"memo,pgftr,MemoXPosPer", "25", "25"}, {"Memo,PgFtr,MemoFontName", "", "Arial"},
      {"Memo,PgNum,MemoAlignment", "257", "1"},
      {"NumGrpBrkCols", "2147483647", "0"},   {"MaxMemoColWidTxt", "2000000000", "20"},
      {"PanelsAcrossPage", "0", "1"},         {"PanelsAcrossPage", "10", "10"},
      {"RcdEstimate", "8", "100000"},         {"TextFontSize", "73", "10"},
      {"PageMarginThous", "0,5001,0,0", "0,250,0,0"},
      {"PageMarginThous", "10000,5000,0,-0", "10000,5000,0,0"},
      {"CellMarginTxt", "26,0,0,0", "1,0,0,0"},
      {"Memo,PgTi,MemoMarginTxt", "0,11,0,0", "0,0,0,0"},
  };
  for (const auto& C : Cases) {
    Apply(Keys, C.Key, C.Stored);
    Keys.SettingsToKeyList();
    EXPECT_EQ(Keys.Find(C.Key)->Data.Value, C.Rendered) << C.Key << "=" << C.Stored;
  }
  EXPECT_EQ(S.RptMemo(PgFtr)->XPosPer, 25);
  EXPECT_EQ(S.RptMemo(RptTi)->XPosPer, 10);
  std::vector<std::string> Refused;
  for (const TRefusedSetting& R : S.Refused)
    Refused.push_back(R.Key + ":" + std::to_string(R.Side) + "=" + R.Value);
  EXPECT_EQ(Refused, (std::vector<std::string>{
                         "OutputQuality:-1=44", "Orientation:-1=255", "PreviewFirst:-1=2",
                         "PageMarginThous:-1=100,200,300", "NumGrpBrkCols:-1=2147483647",
                         "MaxMemoColWidTxt:-1=2000000000", "PanelsAcrossPage:-1=0", "RcdEstimate:-1=8",
                         "TextFontSize:-1=73", "PageMarginThous:1=5001", "CellMarginTxt:0=26",
                         "Memo,PgTi,MemoMarginTxt:1=11"}));
  // Each refused value is told once, in the order read, until none is left untold.
  std::vector<std::string> Told;
  const TRefusedSetting* Next = nullptr;
  for (std::string Message; !(Message = CheckRefusedSettings(S, &Next)).empty();) {
    Told.push_back(Message);
    const_cast<TRefusedSetting*>(Next)->Told = true;
  }
  EXPECT_EQ(Told, (std::vector<std::string>{
                      "Output Quality \"44\" is invalid. Please choose a different one.",
                      "Orientation \"255\" is invalid. Please choose a different one.",
                      "PreviewFirst \"2\" is invalid. Please choose a different one.",
                      "PageMarginThous \"100,200,300\" is invalid. Please choose a different one.",
                      "Number of Group Break Columns must be between 0 and 999 columns",
                      "Max Memo Column Width must be between 3 and 999 characters",
                      "Panels Across Page must be between 1 and 10 ",
                      "Record Estimate must be between 9 and 2147483647 records",
                      "Text Font Size must be between 2 and 72 Points",
                      "Page Top Margin must be between 0 and 5000 thousands of an inch",
                      "Cell Left Margin must be between 0 and 25 characters",
                      "Space Above Memo must be between 0 and 10 text lines"}));
  Keys.ApplyDefaults();
  EXPECT_EQ(CheckRefusedSettings(S), "");
  // Every key of a number, Boolean, rect or pair form refuses each text its form cannot read:
  // the field keeps its default, and the text is named as stored.
  std::map<TrsfForm, std::vector<std::string>> Unreadable = {
      {rfInteger, {"abc", "", "99999999999"}}, {rfBoolean, {"2", "yes"}}, {rfRect, {"1,2,3", "1,x,3,4"}}, {rfPair, {"7", "0,-4"}}};
  for (const TrsfEntry& E : Keys.List())
    for (const std::string& Text : Unreadable[E.Data.Form]) {
      Keys.ApplyDefaults();
      Apply(Keys, E.Key, Text);
      ASSERT_EQ(S.Refused.size(), 1u) << E.Key << "=" << Text;
      EXPECT_TRUE(Changed(Keys).count(E.Key) == 0 && S.Refused[0].Value == Text) << E.Key << "=" << Text;
      EXPECT_NE(CheckRefusedSettings(S).find(FindSettingRange(E.Key) ? " must be between " : "\"" + Text + "\" is invalid."),
                std::string::npos) << E.Key << "=" << Text;
    }

  // A key naming no memo reaches the report title.
  const TrsfEntry* Entry = Keys.Find("Memo,PgTi,MemoWidPer");
  Keys.ApplySetting(Entry->Data.PropertyNumber, "Memo,Draft,MemoWidPer", Entry->Data.Default, "33");
  EXPECT_EQ(S.RptMemo(RptTi)->WidPer, 33);
  EXPECT_EQ(S.RptMemo(PgTi)->WidPer, 80);

  // A memo that no longer exists is passed over, loading and saving.
  S.RptMemos[RptHdr].reset();
  Apply(Keys, "Memo,RptHdr,MemoWidPer", "50");
  Keys.ApplyDefaults();
  EXPECT_EQ(Changed(Keys).count("Memo,RptHdr,MemoWidPer"), 0u);

  EXPECT_THROW_MSG(Keys.ApplySetting(250, "X", "", "1"), eVlxIntError,
                   "Vellumix! Internal Error: [ApplySetting] PropertyNumber:250 is invalid");
}

TEST_F(SettingsKeys, OnlyValuesThatDifferFromTheirDefaultAreWritten) {
  TvlxReportSettings S;
  TvlxSettingsKeys Keys(&S);
  Keys.ApplyDefaults();
  S.CreateDate = Stamp;
  S.LastSaveDate = Stamp;
  S.PrintWhat = pwPageRange;
  S.PageRangeTo = {0, 12};
  S.PreviewFirst = true;        // equal to the default: not written
  S.FinishPrinterStr = "";      // the reader would restore "#12", but it was changed
  S.SetItemOpt(ioBorders, false);
  S.RptMemo(RptTi)->FontSize = 14;
  S.RptMemo(PgNum)->Text = "";  // memo texts travel in blocks, never as keys

  EXPECT_EQ(Changed(Keys), (std::map<std::string, std::string>{
                               {"CreateDate", "20261205.143005"}, {"LastSaveDate", "20261205.143005"},
                               {"PrintWhat", "6"}, {"PageRangeTo", "0,12"}, {"FinishPrinterStr", ""},
                               {"ioBorders", "0"}, {"Memo,RptTi,MemoFontSize", "14"}}));
}

// What a save writes, a load gives back: every memo's key names lead back to that memo.
TEST_F(SettingsKeys, WrittenValuesReadBackToTheSameTexts) {
  TvlxReportSettings Saved;
  TvlxSettingsKeys SaveKeys(&Saved);
  SaveKeys.ApplyDefaults();
  Saved.PageRangeFrom = {3, 4};
  Saved.CreateDate = Stamp;
  Saved.SetItemOpt(ioExceptionOnEmpty, true);
  for (int Memo = 0; Memo < RptMemoCount; ++Memo) {
    Saved.RptMemo(Memo)->MarginThous = {Memo, 6, 7, 8};
    Saved.RptMemo(Memo)->Visible = Memo % 2;
  }
  SaveKeys.SettingsToKeyList();

  TvlxReportSettings Loaded;
  TvlxSettingsKeys LoadKeys(&Loaded);
  LoadKeys.ApplyDefaults();
  for (const TrsfEntry& E : SaveKeys.List())
    if (E.Changed()) LoadKeys.ApplySetting(*LoadKeys.Find(E.Key), E.Data.Value);
  LoadKeys.SettingsToKeyList();
  for (int I = 0; I < SaveKeys.List().Count(); ++I)
    EXPECT_EQ(LoadKeys.List()[I].Data.Value, SaveKeys.List()[I].Data.Value) << SaveKeys.List()[I].Key;
}
