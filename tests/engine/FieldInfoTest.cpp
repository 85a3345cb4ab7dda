#include "engine/VLMXGbl0.h"
#include "framework/rtl/Locale.h"
#include "tests/engine/AdapterFixture.h"

TEST_F(AdapterTest, CellTextsConvertToNumbersKeepingOnlyDigitsSignAndDecimal) {
  TvlxFieldInfo& FI = *Info->FieldInfo;
  V Events;
  Vlx->OnCnvtFldError = [&](TObject* Sender, const std::string& FldStr, TvlxFieldInfo* Info) {
    EXPECT_EQ(Sender, Vlx.get());
    EXPECT_EQ(Info, &FI);
    EXPECT_TRUE(Info->InCnvtError);
    Events.push_back(FldStr);
  };
  const struct { const char* Text; double Value; bool Valid; } Cases[] = {
      {"-1,234.50", -1234.5, true}, {"12 kg", 12, true}, {"abc", 0, true}, {"$ +7", 7, true},
      {"", 0, true},                {"1-2", 0, false},   {"-", 0, false},  {"1.2.3", 0, false},
  };
  for (const auto& C : Cases) {
    Events.clear();
    FI.Clear();
    FI.CnvtFldStrToNum(Vlx.get(), C.Text);
    EXPECT_EQ(static_cast<double>(FI.Values[0]), C.Value) << C.Text;
    EXPECT_EQ(FI.NumValid, C.Valid) << C.Text;
    EXPECT_EQ(Events, C.Valid ? V{} : V{C.Text});
    EXPECT_FALSE(FI.InCnvtError);
  }
  // A failure leaves the value it found, and the next cell converts normally.
  Events.clear();
  FI.Values[0] = 5;
  FI.CnvtFldStrToNum(Vlx.get(), "1-2");
  EXPECT_EQ(static_cast<double>(FI.Values[0]), 5.0);
  FI.CnvtFldStrToNum(nullptr, "3");
  EXPECT_EQ(static_cast<double>(FI.Values[0]), 3.0);
  EXPECT_TRUE(FI.NumValid);
  // A null field is -2, not valid, and no event.
  FI.FieldNull = true;
  FI.CnvtFldStrToNum(Vlx.get(), "1-2");
  EXPECT_EQ(static_cast<double>(FI.Values[0]), -2.0);
  EXPECT_FALSE(FI.NumValid);
  EXPECT_EQ(Events.size(), 1u);

  // With a comma as the decimal separator the full stop is a thousands separator.
  FI.FieldNull = false;
  const char SavedDecimal = FormatSettings.DecimalSeparator;
  FormatSettings.DecimalSeparator = ',';
  FI.CnvtFldStrToNum(nullptr, "1.234,5");
  FormatSettings.DecimalSeparator = SavedDecimal;
  EXPECT_EQ(static_cast<double>(FI.Values[0]), 1234.5);
}

TEST_F(AdapterTest, ConversionFromInsideTheErrorEventIsRefused) {
  TvlxFieldInfo& FI = *Info->FieldInfo;
  auto* DS = MakeDataSet("ds", {{"a", 1, true}});
  std::string Raised;
  Vlx->OnCnvtFldError = [&](TObject*, const std::string&, TvlxFieldInfo* Info) {
    try {
      Info->CnvtFldStrToNum(Vlx.get(), "1");
    } catch (const eVlxSUError& E) {
      Raised = E.what();
    }
    Info->CnvtFldToNum(Vlx.get(), DS->FieldByName("Qty"), true);
  };
  EXPECT_THROW_MSG(FI.CnvtFldStrToNum(Vlx.get(), "1-2"), eVlxSUError,
                   "Vellumix! Setup Error: Cannot call FieldInfo.CnvtFldToNum from TvlxVellumix.OnCnvtFldError event");
  EXPECT_EQ(Raised,
            "Vellumix! Setup Error: Cannot call TvlxFieldInfo.CnvtFldStrToNum from TvlxVellumix.OnCnvtFldError event");
  // The guard does not outlive the event, even one that raised.
  EXPECT_FALSE(FI.InCnvtError);
  Vlx->OnCnvtFldError = nullptr;
  FI.CnvtFldStrToNum(Vlx.get(), "4");
  EXPECT_EQ(static_cast<double>(FI.Values[0]), 4.0);
}

TEST_F(AdapterTest, FieldValuesConvertThroughTheirNumber) {
  TvlxFieldInfo& FI = *Info->FieldInfo;
  auto* DS = Make<TDataSet>("ds");
  DS->FieldDefs().Add("Qty", ftInteger);
  DS->FieldDefs().Add("When", ftDate);
  DS->FieldDefs().Add("Name", ftString);
  DS->FieldDefs().Add("Big", ftLargeint);
  DS->Open();
  DS->AppendRecord({42, 36526.0, "x", int64_t{12345678901234567}});
  const std::tuple<const char*, bool, long double, bool> Cases[] = {
      {"Qty", true, 42, true},   {"When", true, 36526, true},
      {"Qty", false, 0, false},  {"Name", true, 0, false},
      {"Big", true, 12345678901234567.0L, true},  // more digits than a double holds
  };
  for (const auto& [Field, CheckType, Value, Valid] : Cases) {
    FI.Clear();
    FI.CnvtFldToNum(Vlx.get(), DS->FieldByName(Field), CheckType);
    EXPECT_EQ(FI.NumValid, Valid) << Field;
    EXPECT_EQ(FI.Values[0], Value) << Field;
  }
}
